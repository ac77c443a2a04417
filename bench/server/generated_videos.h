// Generated videos (metadata only, no media files) for the search load test and for the tests
// that check the in-memory search index against the FTS5 query: titles and descriptions drawn
// from Korean, English, Japanese and Chinese word lists, spread over languages, ratings and two
// years of dates before `now`. The same count and `now` always give the same videos.
#pragma once

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "server/catalogue.h"

namespace tunova::server::bench {

// The word lists, UTF-8 whatever the execution character set of the including file.
inline std::vector<std::string> GeneratedWords(std::initializer_list<std::u8string_view> words) {
    std::vector<std::string> out;
    for (const std::u8string_view word : words) {
        out.emplace_back(reinterpret_cast<const char*>(word.data()), word.size());
    }
    return out;
}

inline const std::vector<std::string>& KoreanWords() {
    static const auto words =
        GeneratedWords({u8"사랑", u8"이별", u8"눈물", u8"그리움", u8"바다", u8"하늘", u8"별빛",
                        u8"노래", u8"여름", u8"겨울", u8"봄날",   u8"가을", u8"우리", u8"마음",
                        u8"추억", u8"시간", u8"꿈",   u8"밤",     u8"아침", u8"행복"});
    return words;
}

inline const std::vector<std::string>& EnglishWords() {
    static const auto words = GeneratedWords(
        {u8"love",  u8"night",   u8"dream", u8"heart", u8"summer", u8"rain", u8"dance",
         u8"light", u8"forever", u8"baby",  u8"fire",  u8"star",   u8"home", u8"blue",
         u8"young", u8"magic",   u8"road",  u8"city",  u8"moon",   u8"party"});
    return words;
}

inline const std::vector<std::string>& JapaneseWords() {
    static const auto words =
        GeneratedWords({u8"桜", u8"夏祭り", u8"恋心", u8"夜空", u8"未来", u8"約束", u8"涙"});
    return words;
}

inline const std::vector<std::string>& ChineseWords() {
    static const auto words =
        GeneratedWords({u8"月亮", u8"爱情", u8"青春", u8"梦想", u8"星空", u8"思念", u8"永远"});
    return words;
}

inline std::string GeneratedPhrase(const std::string& language, std::mt19937& random, int words) {
    const auto& list = language == "ko"   ? KoreanWords()
                       : language == "ja" ? JapaneseWords()
                       : language == "zh" ? ChineseWords()
                                          : EnglishWords();
    const auto pick = [&random](const std::vector<std::string>& from) {
        return from[random() % from.size()];
    };
    std::string out;
    for (int i = 0; i < words; ++i) {
        if (!out.empty()) {
            out += ' ';
        }
        // One word in four is English whatever the language, as in real music titles.
        out += random() % 4 == 0 ? pick(EnglishWords()) : pick(list);
    }
    return out;
}

// `count` videos with ids "gen00000000" on and paths "generated/N.webm".
inline std::vector<VideoRecord> GeneratedVideos(int count, std::int64_t now) {
    static const char* const kLanguages[] = {"ko", "ko", "ko", "en", "en", "ja", "zh"};
    std::mt19937 random(20261207);
    std::vector<VideoRecord> videos;
    for (int i = 0; i < count; ++i) {
        VideoRecord video;
        video.path = "generated/" + std::to_string(i) + ".webm";
        char id[16];
        std::snprintf(id, sizeof id, "gen%08d", i);
        video.id = id;
        video.language = kLanguages[random() % 7];
        video.title = GeneratedPhrase(video.language, random, 2 + static_cast<int>(random() % 3));
        video.description =
            GeneratedPhrase(video.language, random, 8 + static_cast<int>(random() % 10)) +
            " official music video";
        video.seconds = 120 + static_cast<int>(random() % 300);
        video.rating = 1.0 + (random() % 401) / 100.0;
        video.raters = static_cast<int>(random() % 100000);
        video.published = now - static_cast<std::int64_t>(random() % (2 * 365 * 86400));
        video.updated = video.published;
        video.metaSig = "generated";
        videos.push_back(std::move(video));
    }
    return videos;
}

}  // namespace tunova::server::bench
