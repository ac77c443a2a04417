#include "server/feed_query.h"

#include <array>
#include <optional>

#include "server/http_message.h"
#include "server/utf8_text.h"

namespace tunova::server {

namespace {

// Percent-decodes `raw`; '+' stays a plus sign. Empty optional on a broken escape.
std::optional<std::string> PercentDecode(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '%') {
            out.push_back(raw[i]);
            continue;
        }
        if (i + 2 >= raw.size()) {
            return std::nullopt;
        }
        const int high = HexDigitValue(raw[i + 1]);
        const int low = HexDigitValue(raw[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return out;
}

// A decimal count made of 1 to 6 digits only, within [low, high].
std::optional<int> ReadCount(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 6) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

enum class Key { Vq, Q, OrderBy, MaxResults, StartIndex, Lr, Time, Unknown };

Key KeyOf(std::string_view name) {
    if (name == "vq")
        return Key::Vq;
    if (name == "q")
        return Key::Q;
    if (name == "orderby")
        return Key::OrderBy;
    if (name == "max-results")
        return Key::MaxResults;
    if (name == "start-index")
        return Key::StartIndex;
    if (name == "lr")
        return Key::Lr;
    if (name == "time")
        return Key::Time;
    return Key::Unknown;
}

// Turns the raw word into text: '/' stands for a space, then percent escapes are decoded.
std::string DecodeWord(std::string_view raw, std::string& error) {
    std::string slashFree(raw);
    for (char& c : slashFree) {
        if (c == '/') {
            c = ' ';
        }
    }
    const auto decoded = PercentDecode(slashFree);
    if (!decoded) {
        error = "bad percent escape in search word";
        return {};
    }
    if (!IsValidUtf8(*decoded)) {
        error = "search word is not UTF-8";
        return {};
    }
    for (const char c : *decoded) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            error = "control character in search word";
            return {};
        }
    }
    if (decoded->size() > kWordByteLimit) {
        error = "search word too long";
        return {};
    }
    if (decoded->find_first_not_of(' ') == std::string::npos) {
        error = "empty search word";
        return {};
    }
    return *decoded;
}

bool ApplyValue(Key key, std::string_view value, FeedQuery& query, std::string& error) {
    switch (key) {
        case Key::OrderBy:
            if (value == "relevance") {
                query.order = FeedOrder::Relevance;
            } else if (value == "rating") {
                query.order = FeedOrder::Rating;
            } else if (value == "published") {
                query.order = FeedOrder::Published;
            } else {
                error = "orderby must be relevance, rating or published";
            }
            break;
        case Key::MaxResults:
            if (const auto count = ReadCount(value, 1, kMaxResultsLimit)) {
                query.maxResults = *count;
            } else {
                error = "max-results must be 1 to 50";
            }
            break;
        case Key::StartIndex:
            if (const auto index = ReadCount(value, 1, kStartIndexLimit)) {
                query.startIndex = *index;
            } else {
                error = "start-index must be 1 to 100000";
            }
            break;
        case Key::Lr:
            if (value == "ko" || value == "en" || value == "ja" || value == "zh") {
                query.language = std::string(value);
            } else {
                error = "lr must be ko, en, ja or zh";
            }
            break;
        case Key::Time:
            if (value == "today") {
                query.time = TimeWindow::Today;
            } else if (value == "this_week") {
                query.time = TimeWindow::ThisWeek;
            } else if (value == "this_month") {
                query.time = TimeWindow::ThisMonth;
            } else if (value == "all_time") {
                query.time = TimeWindow::AllTime;
            } else {
                error = "time must be today, this_week, this_month or all_time";
            }
            break;
        default:
            error = "unknown parameter";
            break;
    }
    return error.empty();
}

}  // namespace

FeedQueryParse ParseFeedQuery(std::string_view rawQuery) {
    FeedQueryParse result;
    if (rawQuery.size() > kQueryByteLimit) {
        result.error = "query too long";
        return result;
    }
    std::array<bool, 8> seen{};
    std::string rawWord;
    bool wordIsLast = false;  // segments without a known key continue the word after it
    std::size_t begin = 0;
    while (begin <= rawQuery.size()) {
        std::size_t end = rawQuery.find('&', begin);
        if (end == std::string_view::npos) {
            end = rawQuery.size();
        }
        const std::string_view segment = rawQuery.substr(begin, end - begin);
        begin = end + 1;
        const std::size_t eq = segment.find('=');
        const Key key = eq == std::string_view::npos ? Key::Unknown : KeyOf(segment.substr(0, eq));
        if (key == Key::Unknown) {
            if (wordIsLast) {
                rawWord += '&';
                rawWord += segment;
                continue;
            }
            if (segment.empty()) {
                continue;
            }
            result.error = "unknown parameter";
            return result;
        }
        auto& wasSeen = seen[static_cast<std::size_t>(key)];
        if (wasSeen) {
            result.error = "repeated parameter";
            return result;
        }
        wasSeen = true;
        const std::string_view rawValue = segment.substr(eq + 1);
        if (key == Key::Vq || key == Key::Q) {
            if (result.query.wordKey != WordKey::None) {
                result.error = "only one of vq and q";
                return result;
            }
            result.query.wordKey = key == Key::Vq ? WordKey::Vq : WordKey::Q;
            rawWord = std::string(rawValue);
            wordIsLast = true;
            continue;
        }
        wordIsLast = false;
        const auto value = PercentDecode(rawValue);
        if (!value) {
            result.error = "bad percent escape";
            return result;
        }
        if (!ApplyValue(key, *value, result.query, result.error)) {
            return result;
        }
    }
    if (result.query.wordKey != WordKey::None) {
        result.query.word = DecodeWord(rawWord, result.error);
    }
    return result;
}

std::int64_t TimeWindowSeconds(TimeWindow window) {
    constexpr std::int64_t kDay = 24 * 60 * 60;
    switch (window) {
        case TimeWindow::Today:
            return kDay;
        case TimeWindow::ThisWeek:
            return 7 * kDay;
        case TimeWindow::ThisMonth:
            return 30 * kDay;
        case TimeWindow::AllTime:
            break;
    }
    return 0;
}

}  // namespace tunova::server
