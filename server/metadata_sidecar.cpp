#include "server/metadata_sidecar.h"

#include <charconv>
#include <ctime>
#include <fstream>
#include <sstream>

#include "server/utf8_text.h"

namespace tunova::server {

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t begin = 0;
    while (true) {
        const std::size_t tab = line.find('\t', begin);
        fields.push_back(line.substr(begin, tab == std::string_view::npos ? tab : tab - begin));
        if (tab == std::string_view::npos) {
            return fields;
        }
        begin = tab + 1;
    }
}

std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 1 < field.size()) {
            const char next = field[++i];
            out.push_back(next == 't' ? '\t' : next == 'n' ? '\n' : next);
        } else {
            out.push_back(field[i]);
        }
    }
    return RepairUtf8(out);
}

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Stores one field of a row; false when its value is unusable.
bool ApplyField(std::string_view column, const std::string& value, SidecarRow& row) {
    if (column == "title") {
        row.title = value;
    } else if (column == "artist") {
        row.artist = value;
    } else if (column == "description") {
        row.description = value;
    } else if (column == "language") {
        if (value != "ko" && value != "en" && value != "ja" && value != "zh" && !value.empty()) {
            return false;
        }
        row.language = value;
    } else if (column == "rating") {
        const auto rating = ReadNumber<double>(value);
        if (!rating || *rating < 0 || *rating > 5) {
            return false;
        }
        row.rating = rating;
    } else if (column == "raters") {
        const auto raters = ReadNumber<int>(value);
        if (!raters || *raters < 0) {
            return false;
        }
        row.raters = raters;
    } else if (column == "published") {
        row.published = ParseUtcDate(value);
        return row.published.has_value();
    } else if (column == "seconds") {
        const auto seconds = ReadNumber<int>(value);
        if (!seconds || *seconds < 0 || *seconds > 24 * 3600 * 10) {
            return false;
        }
        row.seconds = seconds;
    }
    return true;
}

}  // namespace

std::optional<std::int64_t> ParseUtcDate(std::string_view text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const std::string copy(text);
    int consumed = 0;
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &consumed) != 3 ||
        consumed != 10) {
        return std::nullopt;
    }
    if (copy.size() > 10) {
        int timeConsumed = 0;
        if (std::sscanf(copy.c_str() + 10, "T%2d:%2d:%2d%n", &hour, &minute, &second,
                        &timeConsumed) != 3) {
            return std::nullopt;
        }
        std::string_view rest = std::string_view(copy).substr(10 + timeConsumed);
        if (!rest.empty() && rest.front() == '.') {
            const std::size_t digitsEnd = rest.find_first_not_of("0123456789", 1);
            rest =
                digitsEnd == std::string_view::npos ? std::string_view() : rest.substr(digitsEnd);
        }
        if (rest != "Z") {
            return std::nullopt;
        }
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60 ||
        year < 1970) {
        return std::nullopt;
    }
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    return static_cast<std::int64_t>(timegm(&parts));
}

Sidecar ParseSidecar(std::string_view text) {
    Sidecar sidecar;
    std::vector<std::string> columns;
    int lineNumber = 0;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(begin, end - begin);
        begin = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto fields = SplitTabs(line);
        if (columns.empty()) {
            for (const auto field : fields) {
                columns.emplace_back(field);
            }
            continue;
        }
        SidecarRow row;
        row.signature = std::string(line);
        std::string file;
        for (std::size_t i = 0; i < fields.size() && i < columns.size(); ++i) {
            const std::string value = Unescape(fields[i]);
            if (columns[i] == "file") {
                file = value;
            } else if (value.empty()) {
                continue;  // an empty field leaves the value to the file or the defaults
            } else if (!ApplyField(columns[i], value, row)) {
                sidecar.warnings.push_back("line " + std::to_string(lineNumber) + ": bad " +
                                           columns[i] + " ignored");
            }
        }
        if (file.empty()) {
            sidecar.warnings.push_back("line " + std::to_string(lineNumber) + ": no file, skipped");
            continue;
        }
        sidecar.rows[file] = std::move(row);
    }
    return sidecar;
}

Sidecar ReadSidecarFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseSidecar(text.str());
}

}  // namespace tunova::server
