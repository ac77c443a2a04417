// The query text of a feed request, read strictly: the three forms the player sends (first page
// with `vq`, later pages with `q`, the chart without a word) and nothing looser.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tunova::server {

enum class FeedOrder { Relevance, Rating, Published };
enum class TimeWindow { AllTime, Today, ThisWeek, ThisMonth };
enum class WordKey { None, Vq, Q };

inline constexpr int kMaxResultsLimit = 50;
inline constexpr int kStartIndexLimit = 100000;
inline constexpr std::size_t kWordByteLimit = 256;
inline constexpr std::size_t kQueryByteLimit = 2048;

struct FeedQuery {
    std::string word;                 // UTF-8 search word, '/' read as space; empty without one
    WordKey wordKey = WordKey::None;  // which key carried the word
    FeedOrder order = FeedOrder::Relevance;
    int maxResults = 25;   // 1 to 50
    int startIndex = 1;    // 1-based
    std::string language;  // "ko", "en", "ja", "zh" or empty for every language
    TimeWindow time = TimeWindow::AllTime;
};

struct FeedQueryParse {
    FeedQuery query;
    std::string error;  // short reason for a 400 answer; empty on success
    explicit operator bool() const { return error.empty(); }
};

// Reads the raw query text (after '?', still percent-encoded). Unknown or repeated keys, bad
// values, bad percent escapes, non-UTF-8 or control characters in the word, an empty or overlong
// word and both `vq` and `q` give an error. An unescaped '&' inside the word (the player sends
// "a&b" as it is) is kept in the word.
FeedQueryParse ParseFeedQuery(std::string_view rawQuery);

// Length of the window in seconds counted back from now; 0 for all time.
std::int64_t TimeWindowSeconds(TimeWindow window);

}  // namespace tunova::server
