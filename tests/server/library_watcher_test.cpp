// The library watched with inotify: files added, renamed, replaced or deleted reach the
// catalogue by themselves, bursts are applied in a few rescans, and a watch limit that runs out
// falls back to periodic rescans.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <mutex>

#include "server/library_ingest.h"
#include "server/library_watcher.h"
#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

namespace fs = std::filesystem;

ProbeResult ThreeSeconds(const std::string&) {
    ProbeResult result;
    result.seconds = 3;
    return result;
}

class WatcherTest : public ::testing::Test {
  protected:
    WatcherTest() {
        std::string error;
        catalogue_ = Catalogue::Open((folder_.path() / "catalogue.sqlite").string(), error);
        EXPECT_TRUE(catalogue_) << error;
        fs::create_directories(library_);
    }

    LibraryWatcherOptions Options() {
        LibraryWatcherOptions options;
        options.root = library_.string();
        options.rescan = [this] { IngestLibrary(*catalogue_, library_.string(), ThreeSeconds); };
        options.log = [this](const std::string& line) {
            std::lock_guard lock(logMutex_);
            log_.push_back(line);
        };
        return options;
    }

    std::set<std::string> Paths() {
        FeedQuery query;
        query.maxResults = 50;
        std::string error;
        const auto page = catalogue_->Search(query, kNow, error);
        std::set<std::string> paths;
        for (const VideoRecord& video : page ? page->entries : std::vector<VideoRecord>{}) {
            paths.insert(video.path);
        }
        return paths;
    }

    // Waits up to 5 s for `done` to hold.
    template <typename Predicate>
    static bool WaitUntil(Predicate done) {
        for (int i = 0; i < 500; ++i) {
            if (done()) {
                return true;
            }
            usleep(10 * 1000);
        }
        return false;
    }

    // Waits up to 5 s for the catalogue to hold exactly `expected`.
    bool WaitFor(const std::set<std::string>& expected) {
        return WaitUntil([&] { return Paths() == expected; });
    }

    TempFolder folder_;
    fs::path library_ = folder_.path() / "library";
    std::unique_ptr<Catalogue> catalogue_;
    std::mutex logMutex_;
    std::vector<std::string> log_;
};

TEST_F(WatcherTest, AddRenameReplaceAndDeleteReachTheCatalogue) {
    LibraryWatcher watcher(Options());
    WriteFile(library_ / "one.webm", "1");
    ASSERT_TRUE(WaitFor({"one.webm"}));
    fs::create_directories(library_ / "new/deeper");
    WriteFile(library_ / "new/deeper/two.webm", "2");
    ASSERT_TRUE(WaitFor({"one.webm", "new/deeper/two.webm"}));
    fs::rename(library_ / "one.webm", library_ / "renamed.webm");
    ASSERT_TRUE(WaitFor({"renamed.webm", "new/deeper/two.webm"}));
    WriteFile(library_ / "metadata.tsv", "file\ttitle\nrenamed.webm\tFrom the table\n");
    EXPECT_TRUE(WaitUntil([&] {
        std::string error;
        FeedQuery query;
        query.word = "table";
        query.wordKey = WordKey::Vq;
        const auto page = catalogue_->Search(query, kNow, error);
        return page && page->total == 1;
    }));
    fs::remove_all(library_ / "new");
    ASSERT_TRUE(WaitFor({"renamed.webm"}));
    EXPECT_TRUE(watcher.Watching());
    std::lock_guard lock(logMutex_);
    EXPECT_TRUE(log_.empty());
}

TEST_F(WatcherTest, ABurstIsAppliedInAFewRescans) {
    LibraryWatcher watcher(Options());
    for (int i = 0; i < 300; ++i) {
        WriteFile(library_ / ("burst/clip-" + std::to_string(i) + ".webm"), "x");
    }
    ASSERT_TRUE(WaitUntil([&] {
        std::string error;
        return catalogue_->VideoCount(error) == 300;
    }));
    EXPECT_LE(watcher.Rescans(), 6);
}

TEST_F(WatcherTest, WithoutEnoughWatchesItSaysSoOnceAndRescansPeriodically) {
    fs::create_directories(library_ / "a");
    fs::create_directories(library_ / "b");
    LibraryWatcherOptions options = Options();
    options.maxWatches = 1;
    options.fallbackPeriodMs = 200;
    LibraryWatcher watcher(options);
    EXPECT_FALSE(watcher.Watching());
    WriteFile(library_ / "a/unwatched.webm", "1");
    ASSERT_TRUE(WaitFor({"a/unwatched.webm"}));
    // The folder goes: the scans fail and the watcher goes on.
    const int before = watcher.Rescans();
    fs::remove_all(library_);
    EXPECT_TRUE(WaitUntil([&] { return watcher.Rescans() >= before + 2; }));
    std::lock_guard lock(logMutex_);
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_NE(log_[0].find("watch limit"), std::string::npos) << log_[0];
}

}  // namespace
}  // namespace tunova::server::testing
