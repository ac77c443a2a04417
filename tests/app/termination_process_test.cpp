// A real player process ended by SIGTERM, SIGHUP or SIGINT closes through its normal exit path:
// it exits with status 0 and has saved its playlist. A player that ends before it has read its
// playlist (no connection to its server, or another copy already running) leaves the file as it
// was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "installed_player.h"
#include "lists/list_file.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"
#include "support/test_paths.h"

extern char** environ;

namespace tunova {
namespace {

// Starts the player with its standard error in `logPath`; -1 on failure.
pid_t SpawnPlayer(const std::string& logPath) {
    const std::string player = tunova::testing::RunDir() + "/tunova";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    char* argv[] = {const_cast<char*>(player.c_str()), nullptr};
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, player.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

std::string FileText(const std::string& path) {
    std::string text;
    plat::ReadFile(path, text);
    return text;
}

class TerminationProcessTest : public ::testing::TestWithParam<int> {};

TEST_P(TerminationProcessTest, TheSignalEndsThePlayerNormallyAndThePlaylistIsSaved) {
    const int signal = GetParam();
    // An installed player with its update server on loopback, so start-up runs whole.
    testing::LoopbackServer server;
    testing::AnswerAsUpdateServer(server, std::make_shared<std::string>("1"));
    testing::UseHost(server.Host());
    testing::InstallPlayerVersion("1");
    setenv("TUNOVA_TRACE", "1", 1);
    // A playlist written by hand with LF line ends: the save at exit writes it anew, with CR LF.
    const std::string playlist = plat::DataFile(kPlaylistFileName);
    ASSERT_TRUE(plat::ReplaceFile(playlist,
                                  "[SETTING]\ncount=2\n[LIST1]\nname=Alpha\ntime=61\nurl=u1\n"
                                  "[LIST2]\nname=Beta\ntime=7\nurl=u2\n"));
    const std::string log = testing::TestHome() + "/player-" + std::to_string(signal) + ".log";

    const pid_t pid = SpawnPlayer(log);
    ASSERT_GT(pid, 0);
    const bool shown = testing::WaitUntil(
        [&] { return FileText(log).find("main window shown") != std::string::npos; }, 120'000);
    if (shown) {
        kill(pid, signal);
    }
    int status = 0;
    const bool ended =
        testing::WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 60'000);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    testing::UseHost(testing::kNoHost);
    unsetenv("TUNOVA_TRACE");

    ASSERT_TRUE(shown) << "the player never showed its window:\n" << FileText(log);
    ASSERT_TRUE(ended) << "the player kept running after the signal";
    EXPECT_TRUE(WIFEXITED(status)) << "ended by a signal: " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(FileText(playlist),
              "[SETTING]\r\ncount=2\r\n\r\n[LIST1]\r\nname=Alpha\r\ntime=61\r\nurl=u1\r\n\r\n"
              "[LIST2]\r\nname=Beta\r\ntime=7\r\nurl=u2\r\n\r\n");
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationProcessTest,
                         ::testing::Values(SIGTERM, SIGHUP, SIGINT));

// A playlist written by hand with LF line ends: any save writes it anew with CR LF, and a save by
// a player that never read it writes an empty list.
constexpr char kHandWrittenPlaylist[] =
    "[SETTING]\ncount=1\n[LIST1]\nname=Alpha\ntime=61\nurl=u1\n";

// Waits for `pid` to end; its exit status, or -1 when it had to be killed.
int WaitForExit(pid_t pid, long long limitMs) {
    int status = 0;
    if (!testing::WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, limitMs)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class PlaylistKeptProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A runtime folder of this test's own: no other player of this process counts as running.
        std::string runtime = testing::TestHome() + "/kept-XXXXXX";
        ASSERT_NE(mkdtemp(runtime.data()), nullptr);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        testing::InstallPlayerVersion("1");
        setenv("TUNOVA_TRACE", "1", 1);
        setenv("TUNOVA_LOG", "error", 1);
        ASSERT_TRUE(plat::ReplaceFile(playlist, kHandWrittenPlaylist));
    }
    void TearDown() override {
        unsetenv("TUNOVA_LOG");
        unsetenv("TUNOVA_TRACE");
        testing::UseHost(testing::kNoHost);
    }
    std::string Log(const std::string& tag) const {
        return testing::TestHome() + "/kept-" + tag + ".log";
    }
    const std::string playlist = plat::DataFile(kPlaylistFileName);
};

TEST_F(PlaylistKeptProcessTest, TheNoConnectionExitLeavesThePlaylistAsItWas) {
    testing::UseHost(testing::kNoHost);  // the update server cannot be reached
    const std::string log = Log("no-connection");
    const pid_t pid = SpawnPlayer(log);
    ASSERT_GT(pid, 0);
    // The notice waits for its button; the signal closes it as the button would.
    const bool noticed = testing::WaitUntil(
        [&] { return FileText(log).find("no connection") != std::string::npos; }, 120'000);
    kill(pid, SIGTERM);
    const int status = WaitForExit(pid, 60'000);
    ASSERT_TRUE(noticed) << FileText(log);
    EXPECT_EQ(status, 0) << FileText(log);
    EXPECT_EQ(FileText(log).find("main window shown"), std::string::npos);
    EXPECT_EQ(FileText(playlist), kHandWrittenPlaylist);
}

TEST_F(PlaylistKeptProcessTest, TheSecondInstanceExitLeavesThePlaylistToTheRunningCopy) {
    testing::LoopbackServer server;
    testing::AnswerAsUpdateServer(server, std::make_shared<std::string>("1"));
    testing::UseHost(server.Host());
    const std::string firstLog = Log("first");
    const pid_t first = SpawnPlayer(firstLog);
    ASSERT_GT(first, 0);
    const bool shown = testing::WaitUntil(
        [&] { return FileText(firstLog).find("main window shown") != std::string::npos; }, 120'000);
    int secondStatus = -1;
    if (shown) {
        secondStatus = WaitForExit(SpawnPlayer(Log("second")), 60'000);
    }
    const std::string afterSecond = FileText(playlist);
    kill(first, SIGTERM);
    const int firstStatus = WaitForExit(first, 60'000);

    ASSERT_TRUE(shown) << FileText(firstLog);
    EXPECT_EQ(secondStatus, 0) << FileText(Log("second"));
    EXPECT_EQ(afterSecond, kHandWrittenPlaylist);
    EXPECT_EQ(firstStatus, 0);
    // The running copy read the list and saves it at its own exit.
    EXPECT_EQ(FileText(playlist),
              "[SETTING]\r\ncount=1\r\n\r\n[LIST1]\r\nname=Alpha\r\ntime=61\r\nurl=u1\r\n\r\n");
}

}  // namespace
}  // namespace tunova
