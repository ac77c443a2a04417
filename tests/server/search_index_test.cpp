// The search index against FTS5 over the same index terms: the same matches and totals for
// many words, languages, time windows and pages over the generated catalogue plus rows that probe
// tokenizer and phrase edges, the same order where the order is a sort, and a relevance order
// that makes sense; an index that follows changes from another connection and from a writer
// running beside searching threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>

#include "bench/server/generated_videos.h"
#include "fts5_reference.h"
#include "server/catalogue.h"
#include "server/index_build.h"
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
        // Publication times on the edges of the time windows and of the day blocks.
        Video("edge-day-start", "boundary", "official", "ko", 2, kNow - 86400),
        Video("edge-day-before", "boundary", "official", "ko", 2, kNow - 86400 - 1),
        Video("edge-future", "boundary", "official", "ko", 4, kNow + 3 * 86400),
        Video("edge-far-future", "boundary", "official", "ko", 4, kNow + 400LL * 365 * 86400),
        Video("edge-before-epoch", "boundary", "official", "ko", 4, -3 * 86400 + 5),
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
    for (const char8_t* word : {u8"사",     u8"랑",        u8"桜",        u8"夏",
                                u8"祭",     u8"爱",        u8"月",        u8"夏祭",
                                u8"祭り",   u8"사랑 love", u8"love 사랑", u8"café",
                                u8"⺀",     u8"⺀ love",   u8"a⺀b",      u8"・",
                                u8"桜・夏", u8"사랑사랑",  u8"랑사랑",    u8"ㄱ",
                                u8"ㄱㄴ",   u8"ｌｏｖｅ",  u8"straße",    u8"ß",
                                u8"🎵",      u8"사랑을",    u8"별빛/노래", u8"그리움 눈물 official",
                                u8"사랑노", u8"사랑랑",    u8"사랑사랑사"}) {
        words.push_back(U8(word));
    }
    for (const auto* list : {&bench::KoreanWords(), &bench::EnglishWords(), &bench::JapaneseWords(),
                             &bench::ChineseWords()}) {
        words.insert(words.end(), list->begin(), list->end());
    }
    return words;
}

// Every id of every page of `query` from the catalogue, with the total each page reported.
std::vector<std::string> AllPages(Catalogue& catalogue, FeedQuery query, int& total) {
    std::vector<std::string> ids;
    total = -1;
    query.maxResults = 50;
    for (query.startIndex = 1;; query.startIndex += 50) {
        std::string error;
        const auto page = catalogue.Search(query, kNow, error);
        EXPECT_TRUE(page) << error;
        if (!page) {
            break;
        }
        EXPECT_TRUE(total < 0 || total == page->total) << "total moved between pages";
        total = page->total;
        for (const VideoRecord& video : page->entries) {
            ids.push_back(video.id);
        }
        if (page->entries.size() < 50u) {
            break;
        }
    }
    return ids;
}

std::string Describe(const FeedQuery& query) {
    return "word '" + query.word + "' order " + std::to_string(static_cast<int>(query.order)) +
           " lr '" + query.language + "' time " + std::to_string(static_cast<int>(query.time));
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
        // The index these tests search is a rebuild written in three parts and merged.
        delete catalogue_;
        std::filesystem::remove_all(folder_->path() / "catalogue.sqlite.index");
        std::vector<std::string> lines;
        catalogue_ =
            Catalogue::Open((folder_->path() / "catalogue.sqlite").string(), error,
                            {.indexFolder = "",
                             .log = [&](const std::string& line) { lines.push_back(line); },
                             .indexShards = 3})
                .release();
        ASSERT_NE(catalogue_, nullptr) << error;
        ASSERT_EQ(lines.size(), 1u);
        reference_ = new Fts5Reference(videos);
        // A deleted row leaves a gap in the rowids and changes the ranking statistics.
        ASSERT_TRUE(catalogue_->Apply({}, {"generated/7.webm"}, error)) << error;
        reference_->Remove("generated/7.webm");
    }
    static void TearDownTestSuite() {
        delete reference_;
        delete catalogue_;
        delete folder_;
    }

    // The query answered both ways: the same total and the same matches; for a sorted order,
    // the same sequence.
    static void ExpectSameMatches(const FeedQuery& query) {
        int total = 0;
        std::vector<std::string> found = AllPages(*catalogue_, query, total);
        std::vector<std::string> expected = reference_->Ids(query, kNow);
        ASSERT_EQ(total, static_cast<int>(expected.size())) << Describe(query);
        const bool sorted = query.order != FeedOrder::Relevance || query.wordKey == WordKey::None;
        if (!sorted) {
            std::sort(found.begin(), found.end());
            std::sort(expected.begin(), expected.end());
        }
        ASSERT_EQ(found, expected) << Describe(query);
    }

    static TempFolder* folder_;
    static Catalogue* catalogue_;
    static Fts5Reference* reference_;
};

TempFolder* SearchIndexTest::folder_ = nullptr;
Catalogue* SearchIndexTest::catalogue_ = nullptr;
Fts5Reference* SearchIndexTest::reference_ = nullptr;

TEST_F(SearchIndexTest, EveryWordAndLanguageMatchesWhatFts5Matches) {
    int compared = 0;
    for (const std::string& word : Words()) {
        for (const char* language : {"", "ko", "en", "ja", "zh", "xx"}) {
            FeedQuery query;
            query.word = word;
            query.wordKey = WordKey::Vq;
            query.language = language;
            ExpectSameMatches(query);
            ++compared;
            if (HasFatalFailure()) {
                return;
            }
        }
    }
    EXPECT_GT(compared, 500);
}

TEST_F(SearchIndexTest, RatingAndPublicationOrdersAreTheFeedsSorts) {
    for (const std::string word : {"", "official", "love", "twin", "music video"}) {
        for (FeedOrder order : {FeedOrder::Rating, FeedOrder::Published}) {
            for (const char* language : {"", "ko"}) {
                FeedQuery query;
                query.word = word;
                query.wordKey = word.empty() ? WordKey::None : WordKey::Q;
                query.order = order;
                query.language = language;
                ExpectSameMatches(query);
                ASSERT_FALSE(HasFatalFailure());
            }
        }
    }
}

TEST_F(SearchIndexTest, TimeWindowsAndTheChartAgreeWithFts5) {
    for (TimeWindow time : {TimeWindow::Today, TimeWindow::ThisWeek, TimeWindow::ThisMonth}) {
        for (const char* word : {"", "official", "love", "twin", "boundary"}) {
            for (FeedOrder order :
                 {FeedOrder::Relevance, FeedOrder::Rating, FeedOrder::Published}) {
                FeedQuery query;
                query.word = word;
                query.wordKey = *word != '\0' ? WordKey::Q : WordKey::None;
                query.order = order;
                query.time = time;
                ExpectSameMatches(query);
                query.language = "ko";
                ExpectSameMatches(query);
                ASSERT_FALSE(HasFatalFailure());
            }
        }
    }
}

TEST_F(SearchIndexTest, PagesCutTheSameOrderAtEveryStart) {
    // One result a page walks the whole relevance order: each page is the next one of the
    // 50-a-page walk, and pages past the end are empty with the total kept.
    FeedQuery query;
    query.word = "love";
    query.wordKey = WordKey::Q;
    int total = 0;
    const std::vector<std::string> all = AllPages(*catalogue_, query, total);
    ASSERT_EQ(static_cast<int>(all.size()), total);
    query.maxResults = 1;
    for (int start : {1, 2, 3, 49, 50, 51, 52, total - 1, total, total + 1, 100000}) {
        query.startIndex = start;
        std::string error;
        const auto page = catalogue_->Search(query, kNow, error);
        ASSERT_TRUE(page) << error;
        EXPECT_EQ(page->total, total);
        if (start <= total) {
            ASSERT_EQ(page->entries.size(), 1u) << start;
            EXPECT_EQ(page->entries[0].id, all[static_cast<std::size_t>(start - 1)]) << start;
        } else {
            EXPECT_TRUE(page->entries.empty()) << start;
        }
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

TEST(IndexPartsTest, ARebuildUsesTheRequestedPartsOrOnePerCoreOnlyWhenLarge) {
    EXPECT_EQ(IndexShardCount(2018, 3), 3);
    EXPECT_EQ(IndexShardCount(2, 3), 2);  // never a part without a video
    EXPECT_EQ(IndexShardCount(0, 3), 1);
    EXPECT_EQ(IndexShardCount(30000, 0), 1);
    EXPECT_GE(IndexShardCount(10000000, 0), 1);
    EXPECT_LE(IndexShardCount(10000000, 0), 4);
}

TEST(SearchRankingTest, RelevanceMakesSense) {
    TempFolder folder;
    std::string error;
    auto catalogue = Catalogue::Open((folder.path() / "catalogue.sqlite").string(), error);
    ASSERT_TRUE(catalogue) << error;
    // Same lengths everywhere, so only where the words stand and how rare they are decides.
    ASSERT_TRUE(catalogue->Apply(
        {Video("in-description", "alpha beta gamma", "comet delta epsilon zeta", "en", 5, kNow),
         Video("in-title", "comet beta gamma", "alpha delta epsilon zeta", "en", 1, kNow - 9),
         Video("twice", "comet alpha gamma", "comet delta epsilon zeta", "en", 1, kNow - 9),
         Video("rare-in-title", "nova beta gamma", "alpha delta epsilon zeta", "en", 1, kNow),
         Video("common-in-title", "alpha beta gamma", "nova delta epsilon zeta", "en", 5, kNow),
         Video("filler-1", "alpha beta gamma", "delta epsilon zeta eta", "en", 1, kNow),
         Video("filler-2", "alpha beta gamma", "delta epsilon zeta eta", "en", 1, kNow)},
        {}, error))
        << error;
    const auto ids = [&](const std::string& word) {
        FeedQuery query;
        query.word = word;
        query.wordKey = WordKey::Vq;
        std::vector<std::string> out;
        std::string searchError;
        const auto page = catalogue->Search(query, kNow, searchError);
        EXPECT_TRUE(page) << searchError;
        for (const VideoRecord& video : page ? page->entries : std::vector<VideoRecord>()) {
            out.push_back(video.id);
        }
        return out;
    };
    // A title match outranks a description match, whatever the rating; more matches rank higher.
    EXPECT_EQ(ids("comet"), (std::vector<std::string>{"twice", "in-title", "in-description"}));
    // Of two words, the rarer one weighs more: "nova" in the title beats "alpha" there.
    EXPECT_EQ(ids("alpha nova"), (std::vector<std::string>{"rare-in-title", "common-in-title"}));
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
