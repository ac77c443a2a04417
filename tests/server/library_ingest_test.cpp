// Library ingest: the sidecar, rescans that read only new or changed files, real durations from
// ffprobe, and a catalogue that keeps its rows when the process is killed.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "server/library_ingest.h"
#include "server/metadata_sidecar.h"
#include "server/sqlite_handle.h"
#include "server_fixture.h"
#include "support/test_paths.h"

extern char** environ;

namespace tunova::server::testing {
namespace {

namespace fs = std::filesystem;

// A prober that counts its calls and gives every file 12.6 seconds.
struct CountingProber {
    std::atomic<int> calls{0};
    MediaProber Prober() {
        return [this](const std::string&) {
            ++calls;
            ProbeResult result;
            result.seconds = 12.6;
            result.title = "Tag Title";
            return result;
        };
    }
};

class IngestTest : public ::testing::Test {
  protected:
    IngestTest() {
        std::string error;
        catalogue_ = Catalogue::Open((folder_.path() / "catalogue.sqlite").string(), error);
        EXPECT_TRUE(catalogue_) << error;
    }

    IngestReport Ingest() {
        return IngestLibrary(*catalogue_, library_.string(), prober_.Prober());
    }

    std::vector<VideoRecord> All() {
        FeedQuery query;
        query.maxResults = 50;
        query.order = FeedOrder::Published;
        std::string error;
        const auto page = catalogue_->Search(query, kNow, error);
        EXPECT_TRUE(page) << error;
        return page ? page->entries : std::vector<VideoRecord>{};
    }

    TempFolder folder_;
    fs::path library_ = folder_.path() / "library";
    std::unique_ptr<Catalogue> catalogue_;
    CountingProber prober_;
};

TEST_F(IngestTest, SidecarValuesWinAndFilesWithoutOneAreProbed) {
    WriteFile(library_ / "a.webm", "aaaa");
    WriteFile(library_ / "sub/My_Song.mp4", "bbbb");
    WriteFile(library_ / "notes.txt", "not media");
    WriteFile(library_ / ".hidden/x.webm", "hidden");
    WriteFile(library_ / "metadata.tsv",
              "file\ttitle\tseconds\tlanguage\trating\tpublished\tdescription\n"
              "a.webm\tTab\\there\t42\tko\t4.5\t2026-12-01\tline\\nbreak\n"
              "missing.webm\tGone\t1\ten\t1\t2026-01-01\t\n"
              "sub/My_Song.mp4\t\t\tfr\t9\tyesterday\t\n");
    const IngestReport report = Ingest();
    ASSERT_TRUE(report) << report.error;
    EXPECT_EQ(report.added, 2);
    EXPECT_EQ(report.warnings.size(), 3u);  // language, rating and date of the third row
    EXPECT_EQ(prober_.calls, 1);

    const auto videos = All();
    ASSERT_EQ(videos.size(), 2u);
    const VideoRecord& a = videos[0].path == "a.webm" ? videos[0] : videos[1];
    const VideoRecord& b = videos[0].path == "a.webm" ? videos[1] : videos[0];
    EXPECT_EQ(a.title, "Tab\there");
    EXPECT_EQ(a.description, "line\nbreak");
    EXPECT_EQ(a.seconds, 42);
    EXPECT_EQ(a.language, "ko");
    EXPECT_EQ(a.published, *ParseUtcDate("2026-12-01"));
    EXPECT_EQ(a.id, VideoIdForPath("a.webm"));
    EXPECT_EQ(b.title, "Tag Title");  // an empty field is no title: the tag gives it
    EXPECT_EQ(b.seconds, 13);
    EXPECT_EQ(b.language, "");
}

TEST_F(IngestTest, TitleFallsBackToTagThenFileName) {
    WriteFile(library_ / "Night_Drive.webm", "x");
    ASSERT_TRUE(Ingest());
    EXPECT_EQ(All().at(0).title, "Tag Title");

    TempFolder other;
    std::string error;
    auto bare = Catalogue::Open((other.path() / "c.sqlite").string(), error);
    ASSERT_TRUE(bare) << error;
    const auto noTag = [](const std::string&) {
        ProbeResult result;
        result.seconds = 3;
        return result;
    };
    ASSERT_TRUE(IngestLibrary(*bare, library_.string(), noTag));
    FeedQuery query;
    const auto page = bare->Search(query, kNow, error);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->entries.at(0).title, "Night Drive");
}

TEST_F(IngestTest, RescanReadsOnlyNewOrChangedFiles) {
    WriteFile(library_ / "one.webm", "1");
    WriteFile(library_ / "two.webm", "2");
    WriteFile(library_ / "three.webm", "3");
    ASSERT_TRUE(Ingest());
    EXPECT_EQ(prober_.calls, 3);

    const IngestReport again = Ingest();
    EXPECT_EQ(again.unchanged, 3);
    EXPECT_EQ(prober_.calls, 3);

    WriteFile(library_ / "two.webm", "two, longer now");
    fs::remove(library_ / "three.webm");
    WriteFile(library_ / "four.webm", "4");
    const IngestReport changed = Ingest();
    EXPECT_EQ(changed.updated, 1);
    EXPECT_EQ(changed.added, 1);
    EXPECT_EQ(changed.removed, 1);
    EXPECT_EQ(changed.unchanged, 1);
    EXPECT_EQ(prober_.calls, 5);

    // A sidecar edit updates metadata without reading an unchanged file again.
    WriteFile(library_ / "metadata.tsv", "file\ttitle\none.webm\tRenamed\n");
    const IngestReport renamed = Ingest();
    EXPECT_EQ(renamed.updated, 1);
    EXPECT_EQ(prober_.calls, 5);
    std::vector<std::string> titles;
    for (const auto& video : All()) {
        titles.push_back(video.title);
    }
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Renamed"), titles.end());
    EXPECT_EQ(titles.size(), 3u);
}

TEST_F(IngestTest, UnreadableFilesAreSkippedWithAWarning) {
    WriteFile(library_ / "broken.webm", "junk");
    const auto failing = [](const std::string&) {
        ProbeResult result;
        result.error = "not media";
        return result;
    };
    const IngestReport report = IngestLibrary(*catalogue_, library_.string(), failing);
    EXPECT_TRUE(report);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_TRUE(All().empty());
    EXPECT_FALSE(IngestLibrary(*catalogue_, (folder_.path() / "absent").string(), failing));
}

// A 2.5-second mono 8 kHz WAV file, written byte by byte.
std::string WavFile() {
    const std::uint32_t samples = 20000;
    std::string wav;
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            wav.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    };
    wav += "RIFF";
    put(36 + samples * 2, 4);
    wav += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(8000, 4);
    put(16000, 4);
    put(2, 2);
    put(16, 2);
    wav += "data";
    put(samples * 2, 4);
    wav.append(samples * 2, '\0');
    return wav;
}

TEST(MediaProbeTest, FfprobeReadsARealFilesDuration) {
    if (std::system("command -v ffprobe >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ffprobe is not installed";
    }
    TempFolder folder;
    WriteFile(folder.path() / "tone.wav", WavFile());
    const ProbeResult result = ProbeWithFfprobe((folder.path() / "tone.wav").string());
    ASSERT_TRUE(result) << result.error;
    EXPECT_NEAR(result.seconds, 2.5, 0.01);
    WriteFile(folder.path() / "junk.webm", "not a media file");
    EXPECT_FALSE(ProbeWithFfprobe((folder.path() / "junk.webm").string()));
}

// The tunova-server executable in the build's run folder, or empty when not built.
std::string ServerExecutable() {
    const fs::path candidate = fs::path(tunova::testing::RunDir()) / "tunova-server";
    return fs::exists(candidate) ? candidate.string() : std::string();
}

// Starts the server on a free port; returns its pid and fills `port` once it listens.
pid_t StartServerProcess(const std::string& executable, const fs::path& folder, int& port) {
    const std::string portFile = (folder / "port").string();
    std::vector<std::string> args = {executable,
                                     "--port",
                                     "0",
                                     "--port-file",
                                     portFile,
                                     "--db",
                                     (folder / "db.sqlite").string()};
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    port = -1;
    for (int attempt = 0; attempt < 500 && port <= 0; ++attempt) {  // at most 10 s
        usleep(20 * 1000);
        port = std::atoi(ReadFile(portFile).c_str());
    }
    return pid;
}

// Waits up to 10 s for `pid` to end; its wait status, or -1 on time-out (the process is killed).
int WaitForExit(pid_t pid) {
    int status = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {  // at most 10 s
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return status;
        }
        usleep(10 * 1000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

TEST(ServerProcessTest, StopsCleanlyOnSigtermAndSigint) {
    const std::string executable = ServerExecutable();
    if (executable.empty()) {
        GTEST_SKIP() << "tunova-server is not built";
    }
    for (const int signal : {SIGTERM, SIGINT}) {
        TempFolder folder;
        int port = 0;
        const pid_t pid = StartServerProcess(executable, folder.path(), port);
        ASSERT_GT(port, 0);
        httplib::Client client("127.0.0.1", port);
        const auto probe = client.Get("/update/update_tunova.php");
        ASSERT_TRUE(probe);
        EXPECT_EQ(probe->status, 200);
        kill(pid, signal);
        const int status = WaitForExit(pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "signal " << signal;
    }
}

TEST(ServerProcessTest, CounterRowsSurviveAKill) {
    const std::string executable = ServerExecutable();
    if (executable.empty()) {
        GTEST_SKIP() << "tunova-server is not built";
    }
    TempFolder folder;
    int port = 0;
    const pid_t pid = StartServerProcess(executable, folder.path(), port);
    ASSERT_GT(port, 0);
    httplib::Client client("127.0.0.1", port);
    for (int i = 0; i < 5; ++i) {
        const auto hit = client.Get("/web/counter/insert.php?in_pcode=21&in_pid=p" +
                                    std::to_string(i) + "&in_kind=6&in_mac=");
        ASSERT_TRUE(hit);
        ASSERT_EQ(hit->status, 200);
    }
    kill(pid, SIGKILL);
    WaitForExit(pid);

    SqliteDatabase db;
    std::string error;
    ASSERT_TRUE(db.Open((folder.path() / "db.sqlite").string(), error)) << error;
    auto count = db.Prepare("SELECT count(*) FROM counter_hits", error);
    ASSERT_TRUE(count && count.Step());
    EXPECT_EQ(count.ColumnInt(0), 5);
    auto mode = db.Prepare("PRAGMA journal_mode", error);
    ASSERT_TRUE(mode && mode.Step());
    EXPECT_EQ(mode.ColumnText(0), "wal");
}

}  // namespace
}  // namespace tunova::server::testing
