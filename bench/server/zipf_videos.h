// Generated videos whose words fall off in frequency as in real titles (Zipf's law: the word of
// rank r turns up about 1/r as often as the most common one), over a vocabulary of made-up
// Korean, English, Japanese and Chinese words, plus the queries people would send for them:
// common, middling and rare words, two-word queries and Korean syllable pairs from inside longer
// words. The same count and `now` always give the same videos.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "server/catalogue.h"

namespace tunova::server::bench {

// One language's words, most common first, with the cumulative Zipf weights to draw them by.
class ZipfWords {
  public:
    ZipfWords(std::vector<std::string> words, double exponent) : words_(std::move(words)) {
        double sum = 0;
        for (std::size_t rank = 1; rank <= words_.size(); ++rank) {
            sum += 1.0 / std::pow(static_cast<double>(rank), exponent);
            cumulative_.push_back(sum);
        }
    }
    const std::string& Draw(std::mt19937& random) const {
        std::uniform_real_distribution<double> pick(0, cumulative_.back());
        const auto at = std::lower_bound(cumulative_.begin(), cumulative_.end(), pick(random));
        return words_[static_cast<std::size_t>(at - cumulative_.begin())];
    }
    const std::vector<std::string>& words() const { return words_; }

  private:
    std::vector<std::string> words_;
    std::vector<double> cumulative_;
};

inline void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// `count` distinct made-up words of `syllables` drawn by `syllable`, in a shuffled order.
template <typename Syllable>
std::vector<std::string> MadeUpWords(std::size_t count, std::mt19937& random, int minSyllables,
                                     int maxSyllables, Syllable syllable) {
    std::vector<std::string> words;
    std::vector<std::string> seen;
    while (words.size() < count) {
        std::string word;
        const int length =
            minSyllables + static_cast<int>(random() % (maxSyllables - minSyllables + 1));
        for (int i = 0; i < length; ++i) {
            word += syllable(random);
        }
        words.push_back(std::move(word));
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    std::shuffle(words.begin(), words.end(), random);
    return words;
}

struct ZipfVocabulary {
    ZipfWords korean, english, japanese, chinese;
};

inline const ZipfVocabulary& Vocabulary() {
    static const ZipfVocabulary vocabulary = [] {
        std::mt19937 random(7001);
        // Korean: syllables from the 400 most usual initial-vowel-final combinations.
        const auto hangul = [](std::mt19937& r) {
            static constexpr int kInitials[] = {0, 2, 3, 5, 6, 7, 9, 11, 12, 14, 15, 16, 17, 18};
            static constexpr int kFinals[] = {0, 0, 0, 0, 4, 8, 16, 17, 21, 1};
            const int initial = kInitials[r() % 14];
            const int vowel = static_cast<int>(r() % 21);
            const int final = kFinals[r() % 10];
            std::string s;
            AppendUtf8(s, static_cast<char32_t>(0xAC00 + (initial * 21 + vowel) * 28 + final));
            return s;
        };
        const auto latin = [](std::mt19937& r) {
            static const char* kParts[] = {"ka", "ro", "mi", "le",  "an",  "ter", "so",  "lu", "ne",
                                           "ri", "da", "vo", "in",  "el",  "or",  "sha", "ti", "be",
                                           "mo", "ja", "st", "ing", "ght", "ea",  "ou",  "py"};
            return std::string(kParts[r() % 26]);
        };
        const auto kana = [](std::mt19937& r) {
            std::string s;
            AppendUtf8(s, static_cast<char32_t>(0x3042 + r() % 80));
            return s;
        };
        const auto han = [](std::mt19937& r) {
            std::string s;
            AppendUtf8(s, static_cast<char32_t>(0x4E00 + r() % 3000));
            return s;
        };
        std::vector<std::string> english = MadeUpWords(30000, random, 1, 4, latin);
        // The words every music title has sit at the top of the English ranks.
        english.insert(english.begin(), {"official", "music", "video", "live", "mv"});
        return ZipfVocabulary{ZipfWords(MadeUpWords(30000, random, 2, 4, hangul), 1.0),
                              ZipfWords(std::move(english), 1.0),
                              ZipfWords(MadeUpWords(8000, random, 2, 4, kana), 1.0),
                              ZipfWords(MadeUpWords(8000, random, 1, 3, han), 1.0)};
    }();
    return vocabulary;
}

inline const ZipfWords& WordsOf(const std::string& language) {
    const ZipfVocabulary& v = Vocabulary();
    return language == "ko"   ? v.korean
           : language == "ja" ? v.japanese
           : language == "zh" ? v.chinese
                              : v.english;
}

inline std::string ZipfPhrase(const std::string& language, std::mt19937& random, int words) {
    std::string out;
    for (int i = 0; i < words; ++i) {
        if (!out.empty()) {
            out += ' ';
        }
        // One word in five is English whatever the language, as in real music titles.
        out += random() % 5 == 0 ? WordsOf("en").Draw(random) : WordsOf(language).Draw(random);
    }
    return out;
}

// `count` videos with ids "zipf00000000" on and paths "zipf/N.webm".
inline std::vector<VideoRecord> ZipfVideos(int first, int count, std::int64_t now) {
    static const char* const kLanguages[] = {"ko", "ko", "ko", "en", "en", "ja", "zh"};
    std::mt19937 random(20261208u + static_cast<unsigned>(first));
    std::vector<VideoRecord> videos;
    for (int i = first; i < first + count; ++i) {
        VideoRecord video;
        video.path = "zipf/" + std::to_string(i) + ".webm";
        char id[16];
        std::snprintf(id, sizeof id, "zipf%08d", i);
        video.id = id;
        video.language = kLanguages[random() % 7];
        video.title = ZipfPhrase(video.language, random, 2 + static_cast<int>(random() % 5));
        video.description =
            ZipfPhrase(video.language, random, 10 + static_cast<int>(random() % 21));
        video.seconds = 120 + static_cast<int>(random() % 300);
        video.rating = 1.0 + (random() % 401) / 100.0;
        video.raters = static_cast<int>(random() % 100000);
        video.published = now - static_cast<std::int64_t>(random() % (2 * 365 * 86400));
        video.updated = video.published;
        video.metaSig = "zipf";
        videos.push_back(std::move(video));
    }
    return videos;
}

// Search words as people send them: by the words' own frequencies (common words often, rare ones
// now and then), some two-word queries and Korean syllable pairs cut from longer words.
inline std::vector<std::string> ZipfQueries(int count) {
    std::mt19937 random(99);
    static const char* const kLanguages[] = {"ko", "ko", "ko", "en", "en", "ja", "zh"};
    std::vector<std::string> queries;
    for (int i = 0; i < count; ++i) {
        const std::string language = kLanguages[random() % 7];
        const ZipfWords& words = WordsOf(language);
        std::string query;
        switch (i % 5) {
            case 0:  // a common word
                query = words.words()[random() % 50];
                break;
            case 1:  // a middling one
                query = words.words()[50 + random() % 2000];
                break;
            case 2:  // anything, as often as it is used
                query = words.Draw(random);
                break;
            case 3:  // two words
                query = words.Draw(random) + " " + words.Draw(random);
                break;
            default: {  // the first two syllables of a longer Korean word
                const std::string& word = Vocabulary().korean.words()[random() % 5000];
                query = word.substr(0, 6);
                break;
            }
        }
        queries.push_back(query);
    }
    return queries;
}

}  // namespace tunova::server::bench
