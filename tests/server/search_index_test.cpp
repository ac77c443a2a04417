// The in-memory search index against the FTS5 query it replaces: the same pages (entries, order,
// totals, rendered feed bytes) for many words over the generated catalogue plus rows that probe
// tokenizer and phrase edges; and an index that follows changes from another connection and
// from a writer running beside searching threads.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "bench/server/generated_videos.h"
#include "server/atom_feed.h"
#include "server/catalogue.h"
#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

VideoRecord Video(const std::string& id, const std::string& title, const std::string& description,
                  const std::string& language, double rating, std::int64_t published) {
    VideoRecord video;
    video.id = id;
    video.path = "edge/" + id + ".webm";
    video.title = title;
    video.description = description;
    video.language = language;
    video.rating = rating;
    video.published = published;
    video.updated = published;
    video.seconds = 100;
    return video;
}

// Rows whose text sits on the edges of the tokenizers: folding, separators that only one of the
// two splitters knows, overlapping and repeated phrases, stacked duplicates for ties.
std::vector<VideoRecord> EdgeVideos() {
    return {
        Video("edge-cafe", U8(u8"Café Déjà Vu"), "CAFE cafe caf\xC3\xA9 remix", "en", 4, kNow - 50),
        Video("edge-love3", "love love love", "love", "en", 2.5, kNow - 5000),
        Video("edge-radical", U8(u8"a⺀b ⺀"), "x y", "en", 3, kNow - 90000),
        Video("edge-kana", U8(u8"桜・夏祭り"), U8(u8"夏・桜"), "ja", 5, kNow - 3600),
        Video("edge-overlap", U8(u8"사랑사랑사랑"), U8(u8"랑사"), "ko", 1, kNow - 100),
        Video("edge-jamo", U8(u8"ㄱㄴㄷ 가"), U8(u8"ㄱ"), "ko", 2, kNow - 7 * 86400),
        Video("edge-wide", U8(u8"ＬＯＶＥ ｌｏｖｅ"), "love", "", 3.5, kNow - 86400),
        Video("edge-german", U8(u8"ÅNGSTRÖM ß straße"), U8(u8"Strasse Ångström"), "en", 4.2,
              kNow - 10),
        Video("edge-long", std::string(300, 'x') + " tail", std::string(200, 'x'), "en", 1, kNow),
        Video("edge-empty-title", "", "official", "zh", 5, kNow - 20),
        Video("edge-emoji", U8(u8"🎵love🎵 2024 Live"), U8(u8"사랑🎵노래"), "ko", 3, kNow - 30),
        Video("edge-twin-a", "twin song", "twin official", "en", 3, kNow - 40),
        Video("edge-twin-b", "twin song", "twin official", "en", 3, kNow - 40),
    };
}

std::vector<std::string> Words() {
    std::vector<std::string> words = {"official",       "music video",
                                      "video music",    "official music video",
                                      "nothingmatches", "love love",
                                      "cafe",           "CAF\xC3\x89",
                                      "deja",           "twin",
                                      "live 2024",      "strasse",
                                      "angstrom",       std::string(200, 'x'),
                                      "tail x"};
    for (const char8_t* word :
         {u8"사",     u8"랑",        u8"桜",        u8"夏",
          u8"祭",     u8"爱",        u8"月",        u8"夏祭",
          u8"祭り",   u8"사랑 love", u8"love 사랑", u8"café",
          u8"⺀",     u8"⺀ love",   u8"a⺀b",      u8"・",
          u8"桜・夏", u8"사랑사랑",  u8"랑사랑",    u8"ㄱ",
          u8"ㄱㄴ",   u8"ｌｏｖｅ",  u8"straße",    u8"ß",
          u8"🎵",      u8"사랑을",    u8"별빛/노래", u8"그리움 눈물 official"}) {
        words.push_back(U8(word));
    }
    for (const auto* list : {&bench::KoreanWords(), &bench::EnglishWords(), &bench::JapaneseWords(),
                             &bench::ChineseWords()}) {
        words.insert(words.end(), list->begin(), list->end());
    }
    return words;
}

class SearchIndexTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder();
        std::string error;
        catalogue_ =
            Catalogue::Open((folder_->path() / "catalogue.sqlite").string(), error).release();
        ASSERT_NE(catalogue_, nullptr) << error;
        std::vector<VideoRecord> videos = bench::GeneratedVideos(2000, kNow);
        for (VideoRecord& edge : EdgeVideos()) {
            videos.push_back(std::move(edge));
        }
        ASSERT_TRUE(catalogue_->Apply(videos, {}, error)) << error;
        // A deleted row leaves a gap in the rowids and changes the ranking statistics.
        ASSERT_TRUE(catalogue_->Apply({}, {"generated/7.webm"}, error)) << error;
    }
    static void TearDownTestSuite() {
        delete catalogue_;
        delete folder_;
    }

    // Runs `query` both ways and expects the same page and the same feed bytes.
    static void ExpectSameAnswer(const FeedQuery& query) {
        std::string error;
        const auto fromIndex = catalogue_->Search(query, kNow, error);
        ASSERT_TRUE(fromIndex) << error;
        const auto fromSql = catalogue_->SearchWithFullText(query, kNow, error);
        ASSERT_TRUE(fromSql) << error;
        const std::string what = "word '" + query.word + "' order " +
                                 std::to_string(static_cast<int>(query.order)) + " lr '" +
                                 query.language + "' start " + std::to_string(query.startIndex);
        ASSERT_EQ(fromIndex->total, fromSql->total) << what;
        ASSERT_EQ(fromIndex->entries.size(), fromSql->entries.size()) << what;
        for (std::size_t i = 0; i < fromSql->entries.size(); ++i) {
            ASSERT_EQ(fromIndex->entries[i].id, fromSql->entries[i].id) << what << " entry " << i;
        }
        EXPECT_EQ(RenderFeed(*fromIndex, query, "h:1", kNow),
                  RenderFeed(*fromSql, query, "h:1", kNow))
            << what;
    }

    static TempFolder* folder_;
    static Catalogue* catalogue_;
};

TempFolder* SearchIndexTest::folder_ = nullptr;
Catalogue* SearchIndexTest::catalogue_ = nullptr;

TEST_F(SearchIndexTest, EveryWordOrderLanguageAndPageAgreesWithFts5) {
    int compared = 0;
    for (const std::string& word : Words()) {
        for (FeedOrder order : {FeedOrder::Relevance, FeedOrder::Rating, FeedOrder::Published}) {
            for (const char* language : {"", "ko", "en", "ja", "zh", "xx"}) {
                for (int start : {1, 31}) {
                    FeedQuery query;
                    query.word = word;
                    query.wordKey = WordKey::Vq;
                    query.order = order;
                    query.language = language;
                    query.startIndex = start;
                    query.maxResults = 30;
                    ExpectSameAnswer(query);
                    ++compared;
                    if (HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 1500);
}

TEST_F(SearchIndexTest, TimeWindowsAndTheChartAgreeWithFts5) {
    for (TimeWindow time : {TimeWindow::Today, TimeWindow::ThisWeek, TimeWindow::ThisMonth}) {
        for (const char* word : {"", "official", "love", "twin"}) {
            for (FeedOrder order :
                 {FeedOrder::Relevance, FeedOrder::Rating, FeedOrder::Published}) {
                FeedQuery query;
                query.word = word;
                query.wordKey = *word != '\0' ? WordKey::Q : WordKey::None;
                query.order = order;
                query.time = time;
                query.maxResults = 50;
                ExpectSameAnswer(query);
                query.language = "ko";
                ExpectSameAnswer(query);
            }
        }
    }
}

TEST_F(SearchIndexTest, PagesThroughEveryMatchLikeFts5) {
    // Every page of the largest answer, the last partial page and one past the end.
    FeedQuery query;
    query.word = "official";
    query.wordKey = WordKey::Q;
    query.maxResults = 50;
    for (query.startIndex = 1; query.startIndex <= 2101; query.startIndex += 50) {
        ExpectSameAnswer(query);
    }
    query.maxResults = 1;
    for (int start : {1, 2, 1999, 2000, 2001, 2005, 2006, 100000}) {
        query.startIndex = start;
        ExpectSameAnswer(query);
    }
}

TEST_F(SearchIndexTest, TiesFallToTheLowerRowid) {
    FeedQuery query;
    query.word = "twin";
    query.wordKey = WordKey::Vq;
    std::string error;
    const auto page = catalogue_->Search(query, kNow, error);
    ASSERT_TRUE(page) << error;
    ASSERT_EQ(page->total, 2);
    EXPECT_EQ(page->entries[0].id, "edge-twin-a");
    EXPECT_EQ(page->entries[1].id, "edge-twin-b");
}

TEST(SearchIndexFreshnessTest, ChangesFromAnotherConnectionAreSeenAtTheNextSearch) {
    TempFolder folder;
    const std::string path = (folder.path() / "catalogue.sqlite").string();
    std::string error;
    auto server = Catalogue::Open(path, error);
    ASSERT_TRUE(server) << error;
    FeedQuery query;
    query.word = "zebra";
    query.wordKey = WordKey::Vq;
    ASSERT_EQ(server->Search(query, kNow, error)->total, 0);

    // A second catalogue on the same file stands for an ingest run in another process.
    auto ingest = Catalogue::Open(path, error);
    ASSERT_TRUE(ingest) << error;
    ASSERT_TRUE(ingest->Apply({Video("z1", "zebra crossing", "", "en", 3, kNow)}, {}, error));
    auto page = server->Search(query, kNow, error);
    ASSERT_TRUE(page) << error;
    EXPECT_EQ(page->total, 1);
    ASSERT_TRUE(ingest->Apply({}, {"edge/z1.webm"}, error));
    EXPECT_EQ(server->Search(query, kNow, error)->total, 0);
}

TEST(SearchIndexFreshnessTest, SearchesRunningBesideAWriterSeeWholeChangesOnly) {
    TempFolder folder;
    std::string error;
    auto catalogue = Catalogue::Open((folder.path() / "catalogue.sqlite").string(), error);
    ASSERT_TRUE(catalogue) << error;
    constexpr int kWrites = 12;
    std::atomic<bool> writing{true};
    std::atomic<int> failures{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r) {
        readers.emplace_back([&] {
            FeedQuery query;
            query.word = "pulse";
            query.wordKey = WordKey::Vq;
            query.maxResults = 50;
            int seen = 0;
            while (writing.load()) {
                std::string readError;
                const auto page = catalogue->Search(query, kNow, readError);
                // Each write adds two videos in one transaction: an odd total is a torn read.
                if (!page || page->total < seen || page->total % 2 != 0 ||
                    static_cast<int>(page->entries.size()) != page->total) {
                    ++failures;
                    return;
                }
                seen = page->total;
            }
        });
    }
    for (int i = 0; i < kWrites; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_TRUE(catalogue->Apply({Video("p" + n + "a", "pulse " + n, "", "en", 3, kNow),
                                      Video("p" + n + "b", "pulse beat " + n, "", "ko", 4, kNow)},
                                     {}, error))
            << error;
    }
    writing = false;
    for (std::thread& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(failures.load(), 0);
    FeedQuery query;
    query.word = "pulse";
    query.wordKey = WordKey::Vq;
    EXPECT_EQ(catalogue->Search(query, kNow, error)->total, 2 * kWrites);
}

}  // namespace
}  // namespace tunova::server::testing
