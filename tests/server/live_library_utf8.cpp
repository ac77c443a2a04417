// The library of the running server program: --ingest-only makes the playable copies and names
// the file it skipped; once serving, files added, renamed and deleted reach the feed by
// themselves, and files the page cannot play are served from their copies as H.264 and AAC,
// which go when their files go.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "media_clips.h"
#include "server_fixture.h"
#include "support/test_paths.h"

extern char** environ;

namespace tunova::server::testing {
namespace {

namespace fs = std::filesystem;

class LiveLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveFfmpeg() || !fs::exists(Executable())) {
            GTEST_SKIP() << "needs ffmpeg and the built tunova-server";
        }
        fs::create_directories(library_);
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
    }

    static std::string Executable() { return tunova::testing::RunDir() + "/tunova-server"; }

    // Starts the server on the library with `extra` options, its log in server.log.
    pid_t Start(const std::vector<std::string>& extra) {
        std::vector<std::string> args = {Executable(),
                                         "--library",
                                         library_.string(),
                                         "--db",
                                         (folder_.path() / "db.sqlite").string(),
                                         "--media-cache",
                                         (folder_.path() / "cache").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, Log().c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        pid_t pid = -1;
        posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    std::string Log() const { return (folder_.path() / "server.log").string(); }

    // Waits up to `seconds` for `done`.
    template <typename Predicate>
    static bool WaitUntil(Predicate done, int seconds = 20) {
        for (int i = 0; i < seconds * 20; ++i) {
            if (done()) {
                return true;
            }
            usleep(50 * 1000);
        }
        return false;
    }

    // Title to video id of every video the feed lists.
    std::map<std::string, std::string> Listed() {
        const auto result = client_->Get(FeedPath("orderby=published&max-results=50"));
        std::map<std::string, std::string> listed;
        if (!result || result->status != 200) {
            return listed;
        }
        const std::string& body = result->body;
        for (std::size_t at = body.find("<entry>"); at != std::string::npos;
             at = body.find("<entry>", at + 1)) {
            const std::size_t title = body.find("<title type='text'>", at) + 19;
            const std::size_t id = body.find("/watch?v=", at) + 9;
            listed[body.substr(title, body.find('<', title) - title)] =
                body.substr(id, body.find('&', id) - id);
        }
        return listed;
    }

    std::set<std::string> Titles() {
        std::set<std::string> titles;
        for (const auto& [title, id] : Listed()) {
            titles.insert(title);
        }
        return titles;
    }

    // The codecs of the bytes the server sends for `title`, and their content type.
    std::string ServedCodecs(const std::string& title) {
        const auto result = client_->Get("/media/" + Listed()[title]);
        if (!result || result->status != 200) {
            return "no answer";
        }
        const fs::path copy = folder_.path() / "served";
        WriteFile(copy, result->body);
        return ProbeCodecs(copy) + " " + result->get_header_value("Content-Type");
    }

    TempFolder folder_;
    fs::path library_ = folder_.path() / "library";
    pid_t pid_ = -1;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(LiveLibraryTest, ChangesAndPlayableCopiesReachTheFeedWhileItRuns) {
    ASSERT_TRUE(MakeClip(library_ / "Some Band - First.mp4", ClipKind::H264AacMp4));
    ASSERT_TRUE(MakeClip(library_ / "hevc.mkv", ClipKind::HevcAacMkv));
    WriteFile(library_ / "broken.mp4", "not a video");

    // --ingest-only ends once the copy is made and listed.
    const pid_t ingest = Start({"--ingest-only"});
    int status = -1;
    ASSERT_EQ(waitpid(ingest, &status, 0), ingest);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string log = ReadFile(Log());
    EXPECT_NE(log.find("broken.mp4: "), std::string::npos) << log;
    EXPECT_NE(log.find(", 1 skipped"), std::string::npos) << log;
    EXPECT_NE(log.find("hevc.mkv: hevc video"), std::string::npos) << log;

    const std::string portFile = (folder_.path() / "port").string();
    pid_ = Start({"--port", "0", "--port-file", portFile, "--cache-entries", "100"});
    ASSERT_TRUE(WaitUntil([&] { return !ReadFile(portFile).empty(); }));
    client_ = std::make_unique<httplib::Client>("127.0.0.1", std::atoi(ReadFile(portFile).c_str()));
    EXPECT_EQ(Titles(), (std::set<std::string>{"First", "hevc"}));
    EXPECT_EQ(ServedCodecs("hevc"), "h264,aac video/mp4");
    EXPECT_EQ(ServedCodecs("First"), "h264,aac video/mp4");

    // A file moved in whole (as a finished download is) that needs a new container.
    ASSERT_TRUE(MakeClip(folder_.path() / "remux.mkv", ClipKind::H264AacMkv));
    fs::rename(folder_.path() / "remux.mkv", library_ / "remux.mkv");
    ASSERT_TRUE(WaitUntil([&] { return Titles().count("remux") == 1; })) << ReadFile(Log());
    EXPECT_EQ(ServedCodecs("remux"), "h264,aac video/mp4");

    fs::rename(library_ / "Some Band - First.mp4", library_ / "Some Band - Renamed.mp4");
    EXPECT_TRUE(WaitUntil([&] {
        return Titles() == std::set<std::string>{"Renamed", "hevc", "remux"};
    }));
    fs::remove(library_ / "hevc.mkv");
    EXPECT_TRUE(WaitUntil([&] { return Titles() == std::set<std::string>{"Renamed", "remux"}; }));
    // The copy of the file that went goes too; the remux's stays.
    std::vector<std::string> copies;
    for (const auto& entry : fs::directory_iterator(folder_.path() / "cache")) {
        copies.push_back(entry.path().extension().string());
    }
    EXPECT_EQ(copies, std::vector<std::string>{".mp4"});
}

}  // namespace
}  // namespace tunova::server::testing
