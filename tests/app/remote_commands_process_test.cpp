// Player commands between two real processes: a second start hands its command (or a playlist
// file to import or export) to the running copy and ends at once, and the running copy, read
// through its desktop media controls on a bus of the test's own, has moved; with no copy running
// only --search starts a player; unknown options end with the help and status 2.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/tunova_dlg.h"
#include "installed_player.h"
#include "lists/list_file.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/core/system.h"
#include "platform/desktop/playlist_formats.h"
#include "support/loopback_server.h"
#include "support/private_bus.h"
#include "support/test_environment.h"
#include "support/test_paths.h"

extern char** environ;

namespace tunova {
namespace {

// "사랑" as a terminal types it (UTF-8), and as the feed query carries it.
constexpr char kKoreanWordUtf8[] = "\xEC\x82\xAC\xEB\x9E\x91";
constexpr char kKoreanWordInQuery[] = "vq=%EC%82%AC%EB%9E%91";

std::string FileText(const std::string& path) {
    std::string text;
    plat::ReadFile(path, text);
    return text;
}

// The player with `args`, its standard output and error in files named after `tag`.
struct Player {
    pid_t pid = -1;
    std::string out;
    std::string err;
};

Player Start(const std::string& tag, const std::vector<std::string>& args) {
    Player player;
    player.out = testing::TestHome() + "/" + tag + ".out";
    player.err = testing::TestHome() + "/" + tag + ".err";
    const std::string path = tunova::testing::RunDir() + "/tunova";
    std::vector<char*> argv = {const_cast<char*>(path.c_str())};
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, player.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, player.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    if (posix_spawn(&player.pid, path.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        player.pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return player;
}

// Waits for `player` to end; its exit status, or -1 when it had to be killed.
int Finish(const Player& player, long long limitMs = 60'000) {
    int status = 0;
    if (!testing::WaitUntil([&] { return waitpid(player.pid, &status, WNOHANG) == player.pid; },
                            limitMs)) {
        kill(player.pid, SIGKILL);
        waitpid(player.pid, nullptr, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HasMainWindow(pid_t pid) {
    for (const auto& w : plat::EnumTopLevelWindows()) {
        if (w.processId == pid && w.title.rfind(kMainWindowTitle, 0) == 0) {
            return true;
        }
    }
    return false;
}

class RemoteCommandsProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::AnswerAsUpdateServer(server, std::make_shared<std::string>("1"));
        testing::UseHost(server.Host());
        testing::InstallPlayerVersion("1");
        // A runtime folder of this test's own: no other player's window is taken for ours.
        std::string runtime = testing::TestHome() + "/remote-XXXXXX";
        ASSERT_NE(mkdtemp(runtime.data()), nullptr);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    void TearDown() override { testing::UseHost(testing::kNoHost); }

    bool ServerSaw(const std::string& text) const {
        for (const testing::ServerRequest& request : server.Requests()) {
            if (request.target.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    testing::LoopbackServer server;
};

TEST_F(RemoteCommandsProcessTest, ASecondStartHandsItsCommandToTheRunningCopyAndEnds) {
    // Entries to go to, so next and previous have somewhere to go.
    ASSERT_TRUE(plat::ReplaceFile(plat::DataFile(kPlaylistFileName),
                                  "[SETTING]\ncount=2\n[LIST1]\nname=Alpha\ntime=61\n"
                                  "url=http://127.0.0.1:1/watch?v=alpha\n[LIST2]\nname=Beta\n"
                                  "time=7\nurl=http://127.0.0.1:1/watch?v=beta\n"));
    const Player running = Start("running", {});
    ASSERT_GT(running.pid, 0);
    const bool up = testing::WaitUntil([&] { return HasMainWindow(running.pid); }, 120'000);

    std::vector<int> statuses;
    std::string errors;
    if (up) {
        for (const char* command :
             {"--next", "--previous", "--play-pause", "--stop", "--volume-up", "--volume-down"}) {
            const Player second = Start(std::string("cmd") + command, {command});
            statuses.push_back(Finish(second));
            errors += FileText(second.err);
        }
        const Player search = Start("search", {"--search", kKoreanWordUtf8});
        statuses.push_back(Finish(search));
        errors += FileText(search.err);
    }
    const bool searched =
        up && testing::WaitUntil([&] { return ServerSaw(kKoreanWordInQuery); }, 60'000);
    const bool stillRunning = waitpid(running.pid, nullptr, WNOHANG) == 0;
    kill(running.pid, SIGTERM);
    const int runningStatus = Finish(running);

    ASSERT_TRUE(up) << "the running copy never showed its window:\n" << FileText(running.err);
    EXPECT_EQ(statuses, std::vector<int>(7, 0)) << errors;
    EXPECT_TRUE(searched) << "the running copy never searched for the word";
    EXPECT_TRUE(stillRunning);
    EXPECT_EQ(runningStatus, 0);
}

// A property of the running player as the desktop reads it (dbus-send's reply); empty when the
// player does not answer.
std::string PlayerProperty(const std::string& name) {
    const testing::CommandRun run =
        testing::CallOnBus("org.mpris.MediaPlayer2.tunova", "org.freedesktop.DBus.Properties.Get",
                           {"string:org.mpris.MediaPlayer2.Player", "string:" + name});
    return run.ended && run.status == 0 ? run.output : "";
}

// The title the running player shows, as its media controls tell it.
bool ShowsTitle(const std::string& title) {
    return PlayerProperty("Metadata").find("string \"" + title + "\"") != std::string::npos;
}

TEST_F(RemoteCommandsProcessTest, NextPreviousAndPlaylistFilesReachTheRunningPlayersPlaylist) {
    testing::PrivateBus bus;  // the players started below join it
    ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
    const std::string listFile = plat::DataFile(kPlaylistFileName);
    ASSERT_TRUE(plat::ReplaceFile(listFile,
                                  "[SETTING]\ncount=2\n[LIST1]\nname=Alpha\ntime=61\n"
                                  "url=http://127.0.0.1:1/watch?v=alpha\n[LIST2]\nname=Beta\n"
                                  "time=7\nurl=http://127.0.0.1:1/watch?v=beta\n"));
    const std::string saved = FileText(listFile);
    const Player running = Start("running", {});
    ASSERT_GT(running.pid, 0);
    // On screen, on the bus, and its page ready to play.
    const bool ready =
        testing::WaitUntil([&] { return HasMainWindow(running.pid); }, 120'000) &&
        testing::WaitUntil(
            [&] { return PlayerProperty("CanPlay").find("boolean true") != std::string::npos; },
            60'000);

    std::vector<int> statuses;
    std::vector<bool> titles;
    auto command = [&](const std::vector<std::string>& args) {
        const Player second = Start("second", args);
        statuses.push_back(Finish(second));
        return FileText(second.out) + FileText(second.err);
    };
    std::string imported;
    std::string exported;
    const std::string exportPath = testing::TestHome() + "/running.xspf";
    if (ready) {
        command({"--next"});
        titles.push_back(testing::WaitUntil([] { return ShowsTitle("Alpha"); }, 20'000));
        command({"--next"});
        titles.push_back(testing::WaitUntil([] { return ShowsTitle("Beta"); }, 20'000));
        command({"--previous"});
        titles.push_back(testing::WaitUntil([] { return ShowsTitle("Alpha"); }, 20'000));
        imported = command({"--import-playlist", tunova::testing::TestsSource() +
                                                     "/platform/data/playlist_golden.xspf"});
        // A name relative to the second start's working folder, which is not the running copy's.
        char* testFolder = getcwd(nullptr, 0);
        if (chdir(testing::TestHome().c_str()) == 0) {
            exported = command({"--export-playlist", "running.xspf"});
        }
        if (testFolder != nullptr && chdir(testFolder) != 0) {
            ADD_FAILURE() << "cannot go back to " << testFolder;
        }
        free(testFolder);
    }
    const std::string savedWhileRunning = FileText(listFile);
    kill(running.pid, SIGTERM);
    const int runningStatus = Finish(running);

    ASSERT_TRUE(ready) << "the running copy never came up ready:\n" << FileText(running.err);
    EXPECT_EQ(statuses, std::vector<int>(5, 0));
    EXPECT_EQ(titles, std::vector<bool>(3, true));
    EXPECT_NE(imported.find(": 3 entries added\n"), std::string::npos) << imported;
    EXPECT_NE(exported.find(": 5 entries written\n"), std::string::npos) << exported;
    // The export is the running copy's playlist as it is now: its own two entries and the three
    // imported; the saved file changes only when that copy ends.
    const plat::PlaylistReadResult read = plat::ReadXspf(FileText(exportPath));
    ASSERT_TRUE(read) << read.error;
    ASSERT_EQ(read.tracks.size(), 5u);
    EXPECT_EQ(read.tracks[0].title, "Alpha");
    EXPECT_EQ(read.tracks[1].title, "Beta");
    EXPECT_EQ(savedWhileRunning, saved);
    EXPECT_EQ(runningStatus, 0);
    EXPECT_EQ(FileText(listFile).rfind("[SETTING]\r\ncount=5\r\n", 0), 0u) << FileText(listFile);
}

TEST_F(RemoteCommandsProcessTest, WithNoCopyRunningOnlySearchStartsAPlayer) {
    const Player next = Start("alone-next", {"--next"});
    EXPECT_EQ(Finish(next), 1);
    EXPECT_EQ(FileText(next.err), "tunova: no player is running\n");

    const Player search = Start("alone-search", {"--search=arirang"});
    ASSERT_GT(search.pid, 0);
    const bool searched = testing::WaitUntil([&] { return ServerSaw("vq=arirang&"); }, 120'000);
    const bool window = HasMainWindow(search.pid);
    kill(search.pid, SIGTERM);
    EXPECT_EQ(Finish(search), 0);
    EXPECT_TRUE(searched) << FileText(search.err);
    EXPECT_TRUE(window);
}

TEST_F(RemoteCommandsProcessTest, UnknownOptionsPrintTheHelpAndEndWithStatusTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"--next=1"}, {"--search"}, {"--next", "--stop"}}) {
        const Player bad = Start("bad", args);
        EXPECT_EQ(Finish(bad), 2) << args[0];
        const std::string err = FileText(bad.err);
        EXPECT_EQ(err.rfind("tunova: ", 0), 0u) << err;
        EXPECT_NE(err.find("usage: tunova"), std::string::npos) << err;
        EXPECT_EQ(FileText(bad.out), "");
    }
    const Player help = Start("help", {"--help"});
    EXPECT_EQ(Finish(help), 0);
    const std::string text = FileText(help.out);
    for (const char* option : {"--play-pause", "--next", "--previous", "--stop", "--volume-up",
                               "--volume-down", "--search WORD", "--help"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option << "\n" << text;
    }
}

}  // namespace
}  // namespace tunova
