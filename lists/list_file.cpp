#include "lists/list_file.h"

#include <algorithm>
#include <cstdio>

#include "platform/core/profile.h"

namespace tunova {
namespace {

void AppendNumber(std::string& text, int value) {
    char digits[16];
    const int length = std::snprintf(digits, sizeof(digits), "%d", value);
    text.append(digits, static_cast<std::size_t>(length));
}

}  // namespace

std::string ListFileValue(std::string_view value) {
    std::string written(value);
    std::replace_if(
        written.begin(), written.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; },
        ' ');
    // Readers drop one pair of surrounding quotes: such a value goes inside one more pair (of
    // the other kind, which reads the same and shows better).
    if (written.size() >= 2 && (written.front() == '"' || written.front() == '\'') &&
        written.back() == written.front()) {
        const char outer = written.front() == '"' ? '\'' : '"';
        written.insert(written.begin(), outer);
        written.push_back(outer);
    }
    return written;
}

ListFileWriter::ListFileWriter(int count) {
    text_ = "[SETTING]\r\ncount=";
    AppendNumber(text_, count);
    text_ += "\r\n\r\n";
}

void ListFileWriter::Append(std::string_view name, int seconds, std::string_view url) {
    text_ += "[LIST";
    AppendNumber(text_, ++sections_);
    text_ += "]\r\nname=";
    text_ += ListFileValue(name);
    text_ += "\r\ntime=";
    AppendNumber(text_, seconds);
    text_ += "\r\nurl=";
    text_ += ListFileValue(url);
    text_ += "\r\n\r\n";
}

int ListFileCount(const plat::Profile& file) {
    return file.Int("SETTING", "count", 0);
}

std::vector<ListFileRow> ReadListFileRows(const plat::Profile& file, int maxRows) {
    const int count = std::min(ListFileCount(file), maxRows);
    std::vector<ListFileRow> rows;
    rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 1; i <= count; ++i) {
        const std::string section = "LIST" + std::to_string(i);
        ListFileRow row;
        row.name = file.String(section, "name");
        row.seconds = file.Int(section, "time", 0);
        row.url = file.String(section, "url");
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tunova
