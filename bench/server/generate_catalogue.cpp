// Writes a catalogue of generated videos for load tests, as the server's ingest would (in
// batches of 50,000, each a transaction that the search index follows), and prints how long
// that took. With QUERIES_FILE, also writes the feed requests a load test should send, one
// path a line.
//
// usage: tunova-bench-catalogue DB_FILE [COUNT=10000] [tiny|zipf] [QUERIES_FILE]
//   tiny: 20 words a language, every word in about a tenth of all videos (worst for ranking)
//   zipf: tens of thousands of words a language, falling off in frequency as in real titles
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "bench/server/generated_videos.h"
#include "bench/server/zipf_videos.h"
#include "bench/support/player_words.h"
#include "server/catalogue.h"

using namespace tunova::server;

namespace {

constexpr int kBatch = 50000;

using tunova::support::PlayerEncoded;

// The feed requests for `words`: first and second pages, all languages and one each.
void WriteQueries(const std::string& file, const std::vector<std::string>& words) {
    static const char* const kSuffixes[] = {"", "&lr=ko", "&lr=en", "&lr=ja", "&lr=zh"};
    std::ofstream out(file);
    int n = 0;
    for (const std::string& word : words) {
        const std::string suffix = kSuffixes[n++ % 5];
        out << "/feeds/api/videos/-/Music?vq=" << PlayerEncoded(word)
            << "&orderby=relevance&max-results=30&start-index=1" << suffix << "\n";
        out << "/feeds/api/videos/-/Music?q=" << PlayerEncoded(word)
            << "&orderby=relevance&max-results=30&start-index=31" << suffix << "\n";
    }
    out << "/feeds/api/videos/-/Music?orderby=rating&max-results=50&start-index=1&lr=ko"
           "&time=this_month\n";
}

std::vector<std::string> TinyQueries() {
    std::vector<std::string> words = {"official", "nothingmatches", "music"};
    for (const auto* list : {&bench::KoreanWords(), &bench::EnglishWords(), &bench::JapaneseWords(),
                             &bench::ChineseWords()}) {
        words.insert(words.end(), list->begin(), list->end());
    }
    words.push_back(bench::KoreanWords()[0] + " " + bench::KoreanWords()[1]);
    words.push_back(bench::EnglishWords()[1] + " " + bench::EnglishWords()[2]);
    return words;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DB_FILE [COUNT=10000] [tiny|zipf] [QUERIES_FILE]\n",
                     argv[0]);
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    const std::string vocabulary = argc > 3 ? argv[3] : "tiny";
    if (count < 0 || (vocabulary != "tiny" && vocabulary != "zipf")) {
        std::fprintf(stderr, "COUNT must not be negative; the vocabulary is tiny or zipf\n");
        return 2;
    }
    if (argc > 4) {
        WriteQueries(argv[4], vocabulary == "zipf" ? bench::ZipfQueries(200) : TinyQueries());
    }
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    auto catalogue = Catalogue::Open(argv[1], error);
    if (!catalogue) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::int64_t now = std::time(nullptr);
    // The tiny vocabulary's generator is one sequence; it is cut into batches after the fact.
    const std::vector<VideoRecord> tiny =
        vocabulary == "tiny" ? bench::GeneratedVideos(count, now) : std::vector<VideoRecord>();
    for (int first = 0; first < count; first += kBatch) {
        const int size = std::min(kBatch, count - first);
        const std::vector<VideoRecord> batch =
            vocabulary == "zipf"
                ? bench::ZipfVideos(first, size, now)
                : std::vector<VideoRecord>(tiny.begin() + first, tiny.begin() + first + size);
        if (!catalogue->Apply(batch, {}, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::fprintf(stderr, "\r%d videos", first + size);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("\n%d %s videos written to %s and indexed in %.1f s\n", count, vocabulary.c_str(),
                argv[1], seconds);
    return 0;
}
