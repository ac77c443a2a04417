// A search index that is missing, damaged, built for another catalogue or behind the catalogue
// after a crash: rebuilt (with one log line) or caught up, and never served half-built.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "server/catalogue.h"
#include "server/sqlite_handle.h"
#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

namespace fs = std::filesystem;

VideoRecord Video(const std::string& id, const std::string& title) {
    VideoRecord video;
    video.id = id;
    video.path = id + ".webm";
    video.title = title;
    video.language = "en";
    video.published = kNow;
    return video;
}

class IndexRepairTest : public ::testing::Test {
  protected:
    // Opens the catalogue, collecting its log lines.
    std::unique_ptr<Catalogue> Open() {
        CatalogueOptions options;
        options.log = [this](const std::string& line) { lines_.push_back(line); };
        std::string error;
        auto catalogue = Catalogue::Open(database_.string(), error, options);
        EXPECT_TRUE(catalogue) << error;
        return catalogue;
    }

    // The catalogue with three videos, closed again; the log is cleared.
    void Populate() {
        auto catalogue = Open();
        ASSERT_TRUE(catalogue);
        std::string error;
        ASSERT_TRUE(catalogue->Apply(
            {Video("a", "river song"), Video("b", "river dance"), Video("c", "mountain song")}, {},
            error))
            << error;
        lines_.clear();
    }

    int Total(Catalogue& catalogue, const std::string& word) {
        FeedQuery query;
        query.word = word;
        query.wordKey = WordKey::Vq;
        std::string error;
        const auto page = catalogue.Search(query, kNow, error);
        EXPECT_TRUE(page) << error;
        return page ? page->total : -1;
    }

    TempFolder folder_;
    fs::path database_ = folder_.path() / "catalogue.sqlite";
    fs::path index_ = folder_.path() / "catalogue.sqlite.index";
    std::vector<std::string> lines_;
};

TEST_F(IndexRepairTest, AMissingIndexIsBuiltFromTheCatalogueWithOneLine) {
    Populate();
    ASSERT_TRUE(fs::is_directory(index_));
    fs::remove_all(index_);
    auto catalogue = Open();
    ASSERT_TRUE(catalogue);
    ASSERT_EQ(lines_.size(), 1u);
    EXPECT_NE(lines_[0].find("missing"), std::string::npos) << lines_[0];
    EXPECT_EQ(Total(*catalogue, "river"), 2);
    EXPECT_EQ(Total(*catalogue, "song"), 2);
}

TEST_F(IndexRepairTest, ADamagedIndexIsRebuiltWithOneLine) {
    Populate();
    for (const auto& file : fs::directory_iterator(index_)) {
        std::ofstream damage(file.path(), std::ios::binary | std::ios::trunc);
        damage << std::string(5000, '\x5A');
    }
    auto catalogue = Open();
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(lines_.size(), 1u);
    EXPECT_EQ(Total(*catalogue, "river"), 2);
    EXPECT_EQ(Total(*catalogue, "mountain"), 1);
    EXPECT_EQ(lines_.size(), 1u) << "searches on the rebuilt index log nothing";
}

TEST_F(IndexRepairTest, AnIndexOfAnotherCatalogueIsRebuilt) {
    Populate();
    {
        // Another catalogue whose index is copied over this one's.
        TempFolder other;
        std::string error;
        auto stranger = Catalogue::Open((other.path() / "other.sqlite").string(), error,
                                        {.indexFolder = "", .log = [](const std::string&) {}});
        ASSERT_TRUE(stranger) << error;
        ASSERT_TRUE(stranger->Apply({Video("z", "river river river")}, {}, error)) << error;
        stranger.reset();
        fs::remove_all(index_);
        fs::copy(other.path() / "other.sqlite.index", index_);
    }
    auto catalogue = Open();
    ASSERT_TRUE(catalogue);
    ASSERT_EQ(lines_.size(), 1u);
    EXPECT_NE(lines_[0].find("another catalogue"), std::string::npos) << lines_[0];
    EXPECT_EQ(Total(*catalogue, "river"), 2);
}

TEST_F(IndexRepairTest, ALeftoverHalfBuiltIndexIsNeverServed) {
    Populate();
    // A rebuild that died half-way leaves "<index>.new" or "<index>.compact" beside a missing
    // index.
    fs::remove_all(index_);
    for (const char* leftover : {".new", ".compact"}) {
        fs::create_directories(fs::path(index_.string() + leftover));
        std::ofstream(fs::path(index_.string() + leftover) / "iamglass") << "half";
    }
    auto catalogue = Open();
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(Total(*catalogue, "song"), 2);
    EXPECT_FALSE(fs::exists(index_.string() + ".new"));
    EXPECT_FALSE(fs::exists(index_.string() + ".compact"));
}

TEST_F(IndexRepairTest, ChangesLoggedBeforeACrashAreCaughtUpWithoutARebuild) {
    Populate();
    {
        // A writer that committed to the catalogue and died before updating the index.
        SqliteDatabase db;
        std::string error;
        ASSERT_TRUE(db.Open(database_.string(), error)) << error;
        ASSERT_TRUE(db.Execute(
            "BEGIN;"
            "INSERT INTO videos(id, path, title, description, seconds, language, rating, raters,"
            " published, updated, file_size, file_mtime, meta_sig)"
            " VALUES('d', 'd.webm', 'river delta', '', 60, 'en', 3, 0, 1, 1, 0, 0, '');"
            "INSERT INTO index_log(rowid) SELECT rowid FROM videos WHERE id = 'd';"
            "DELETE FROM videos WHERE id = 'a';"
            "INSERT INTO index_log(rowid) VALUES(1);"
            "COMMIT;",
            error))
            << error;
    }
    auto catalogue = Open();
    ASSERT_TRUE(catalogue);
    EXPECT_TRUE(lines_.empty()) << lines_.front();
    EXPECT_EQ(Total(*catalogue, "delta"), 1);
    EXPECT_EQ(Total(*catalogue, "river"), 2);  // "a" gone, "d" added
}

TEST_F(IndexRepairTest, AnUpdatedVideoKeepsItsPlaceAndLosesItsOldWords) {
    auto catalogue = Open();
    ASSERT_TRUE(catalogue);
    std::string error;
    ASSERT_TRUE(catalogue->Apply({Video("a", "river song"), Video("b", "lake song")}, {}, error));
    VideoRecord renamed = Video("a", "ocean song");
    ASSERT_TRUE(catalogue->Apply({renamed}, {}, error)) << error;
    EXPECT_EQ(Total(*catalogue, "river"), 0);
    EXPECT_EQ(Total(*catalogue, "ocean"), 1);
    EXPECT_EQ(Total(*catalogue, "song"), 2);
    // The same rowid: ties still fall to "a" first.
    FeedQuery query;
    query.word = "song";
    query.wordKey = WordKey::Vq;
    query.order = FeedOrder::Rating;
    const auto page = catalogue->Search(query, kNow, error);
    ASSERT_TRUE(page) << error;
    ASSERT_EQ(page->entries.size(), 2u);
    EXPECT_EQ(page->entries[0].id, "a");
}

}  // namespace
}  // namespace tunova::server::testing
