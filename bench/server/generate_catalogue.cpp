// Writes a catalogue of generated videos (metadata only, no media files) for load tests:
// titles and descriptions drawn from Korean, English, Japanese and Chinese word lists, spread
// over languages, ratings and two years of dates.
//
// usage: tunova-bench-catalogue DB_FILE [COUNT=10000]
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "server/catalogue.h"

using namespace tunova::server;

namespace {

const std::vector<std::string> kKorean = {"사랑", "이별", "눈물", "그리움", "바다", "하늘", "별빛",
                                          "노래", "여름", "겨울", "봄날",   "가을", "우리", "마음",
                                          "추억", "시간", "꿈",   "밤",     "아침", "행복"};
const std::vector<std::string> kEnglish = {
    "love", "night", "dream", "heart", "summer", "rain",  "dance", "light", "forever", "baby",
    "fire", "star",  "home",  "blue",  "young",  "magic", "road",  "city",  "moon",    "party"};
const std::vector<std::string> kJapanese = {"桜", "夏祭り", "恋心", "夜空", "未来", "約束", "涙"};
const std::vector<std::string> kChinese = {"月亮", "爱情", "青春", "梦想", "星空", "思念", "永远"};
const char* kLanguages[] = {"ko", "ko", "ko", "en", "en", "ja", "zh"};

std::string Pick(const std::vector<std::string>& words, std::mt19937& random) {
    return words[random() % words.size()];
}

std::string Phrase(const std::string& language, std::mt19937& random, int words) {
    const auto& list = language == "ko"   ? kKorean
                       : language == "ja" ? kJapanese
                       : language == "zh" ? kChinese
                                          : kEnglish;
    std::string out;
    for (int i = 0; i < words; ++i) {
        if (!out.empty()) {
            out += ' ';
        }
        // One word in four is English whatever the language, as in real music titles.
        out += random() % 4 == 0 ? Pick(kEnglish, random) : Pick(list, random);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DB_FILE [COUNT=10000]\n", argv[0]);
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    std::string error;
    auto catalogue = Catalogue::Open(argv[1], error);
    if (!catalogue) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::mt19937 random(20261207);
    const std::int64_t now = std::time(nullptr);
    std::vector<VideoRecord> videos;
    for (int i = 0; i < count; ++i) {
        VideoRecord video;
        video.path = "generated/" + std::to_string(i) + ".webm";
        char id[16];
        std::snprintf(id, sizeof id, "gen%08d", i);
        video.id = id;
        video.language = kLanguages[random() % 7];
        video.title = Phrase(video.language, random, 2 + static_cast<int>(random() % 3));
        video.description = Phrase(video.language, random, 8 + static_cast<int>(random() % 10)) +
                            " official music video";
        video.seconds = 120 + static_cast<int>(random() % 300);
        video.rating = 1.0 + (random() % 401) / 100.0;
        video.raters = static_cast<int>(random() % 100000);
        video.published = now - static_cast<std::int64_t>(random() % (2 * 365 * 86400));
        video.updated = video.published;
        video.metaSig = "generated";
        videos.push_back(std::move(video));
    }
    if (!catalogue->Apply(videos, {}, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%d videos written to %s\n", count, argv[1]);
    return 0;
}
