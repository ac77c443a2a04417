// --import-playlist, --export-playlist and --help through real player processes (UTF-8: <chrono>):
// round trips through a fresh profile, the playlist's rules on import, and files that must change
// nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "lists/list_file.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/core/system.h"
#include "support/test_environment.h"
#include "support/test_paths.h"

extern char** environ;

namespace tunova {
namespace {

struct PlayerRun {
    int status = -1;  // exit status, -1 when it did not end on its own within the bound
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::string text;
    plat::ReadFile(path, text);
    return text;
}

// Runs the player with `args`, its output in files, for at most a minute.
PlayerRun RunPlayer(const std::vector<std::string>& args) {
    const std::string player = tunova::testing::RunDir() + "/tunova";
    const std::string outPath = testing::TestHome() + "/player.out";
    const std::string errPath = testing::TestHome() + "/player.err";
    std::vector<char*> argv{const_cast<char*>(player.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, player.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    PlayerRun run;
    if (spawned != 0) {
        return run;
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = Slurp(outPath);
    run.err = Slurp(errPath);
    return run;
}

std::string Golden(const std::string& name) {
    return tunova::testing::TestsSource() + "/platform/data/" + name;
}

class PlaylistCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A runtime folder of this test's own: no other player copy is seen.
        std::string runtime = testing::TestHome() + "/runtime-XXXXXX";
        ASSERT_NE(mkdtemp(runtime.data()), nullptr);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        plat::DeleteFile(listFile_);
        // The feed host of the golden files' media addresses.
        testing::UseHost("127.0.0.1:8080");
    }
    void TearDown() override { testing::UseHost(testing::kNoHost); }
    std::string Temp(const std::string& name) const { return testing::TestHome() + "/" + name; }

    const std::string listFile_ = plat::DataFile(kPlaylistFileName);
};

TEST_F(PlaylistCommandTest, HelpListsTheOptionsAndUnknownOptionsExitWithStatus2) {
    const PlayerRun help = RunPlayer({"--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("--export-playlist FILE"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--import-playlist FILE"), std::string::npos) << help.out;

    const PlayerRun bogus = RunPlayer({"--bogus"});
    EXPECT_EQ(bogus.status, 2);
    EXPECT_EQ(bogus.err.rfind("tunova: unknown option --bogus\n\nusage: tunova", 0), 0u)
        << bogus.err;
    EXPECT_FALSE(plat::FileExists(listFile_));
}

TEST_F(PlaylistCommandTest, ImportIntoAFreshProfileAndExportGiveTheSameFiles) {
    const PlayerRun imported = RunPlayer({"--import-playlist", Golden("playlist_golden.xspf")});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find(": 3 entries added\n"), std::string::npos) << imported.out;
    ASSERT_TRUE(plat::FileExists(listFile_));
    const std::string saved = Slurp(listFile_);
    // The Korean title is kept in the list file in the program's code page.
    EXPECT_NE(saved.find("name=\xBE\xC6\xC0\xCC\xC0\xAF - "), std::string::npos);

    for (const char* name : {"playlist_golden.xspf", "playlist_golden.m3u"}) {
        const std::string exported = Temp(std::string("out-") + name);
        const PlayerRun run = RunPlayer({"--export-playlist=" + exported});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find(": 3 entries written\n"), std::string::npos) << run.out;
        EXPECT_EQ(Slurp(exported), Slurp(Golden(name))) << name;
    }

    // The same entries again: every title is already there, so nothing changes.
    const PlayerRun again = RunPlayer({"--import-playlist", Golden("playlist_golden.m3u")});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find(": 0 entries added, 3 already in the playlist\n"), std::string::npos)
        << again.out;
    EXPECT_EQ(Slurp(listFile_), saved);
}

TEST_F(PlaylistCommandTest, ImportStopsAt500Entries) {
    std::string m3u = "#EXTM3U\n";
    for (int i = 0; i < 600; ++i) {
        m3u += "#EXTINF:" + std::to_string(i + 1) + ",Song " + std::to_string(i) +
               "\nhttp://127.0.0.1:8080/watch?v=" + std::to_string(i) + "\n";
    }
    ASSERT_TRUE(plat::ReplaceFile(Temp("600.m3u"), m3u));
    const PlayerRun run = RunPlayer({"--import-playlist", Temp("600.m3u")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(": 500 entries added, 100 left out (the playlist holds at most 500)"),
              std::string::npos)
        << run.out;
    const std::string saved = Slurp(listFile_);
    EXPECT_EQ(saved.rfind("[SETTING]\r\ncount=500\r\n", 0), 0u);
    EXPECT_NE(saved.find("[LIST500]\r\nname=Song 499\r\ntime=500\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("Song 500"), std::string::npos);
}

TEST_F(PlaylistCommandTest, BrokenAndHostileFilesChangeNothing) {
    ASSERT_EQ(RunPlayer({"--import-playlist", Golden("playlist_golden.m3u")}).status, 0);
    const std::string before = Slurp(listFile_);

    std::string manyLines = "#EXTM3U\n";
    for (int i = 0; i < 100000; ++i) {
        manyLines += "http://h/" + std::to_string(i) + "\n";
    }
    std::string deep = "<playlist>";
    for (int i = 0; i < 100000; ++i) {
        deep += "<a>";
    }
    const std::vector<std::pair<std::string, std::string>> files = {
        {"lines.m3u", manyLines},
        {"title.m3u", "#EXTM3U\n#EXTINF:1," + std::string(10u << 20, 'a') + "\nhttp://h/1\n"},
        {"title.xspf", "<playlist><trackList><track><title>" + std::string(10u << 20, 'a')},
        {"deep.xspf", deep},
        {"cp949.m3u", "#EXTM3U\n#EXTINF:1,\xBE\xC6\xC0\xCC\xC0\xAF\nhttp://h/1\n"},
        {"control.m3u", "#EXTM3U\nhttp://h/new\nhttp://h/a\x1b[2J\n"},
        {"control.xspf",
         "<playlist><trackList><track><location>http://h/a&#x0A;b</location>"
         "</track></trackList></playlist>"},
        {"notes.txt", "shopping list\n"},
        {"empty.m3u", "#EXTM3U\n"},
    };
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(plat::ReplaceFile(Temp(name), bytes));
        const PlayerRun run = RunPlayer({"--import-playlist", Temp(name)});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(run.err.find("the playlist is unchanged"), std::string::npos)
            << name << ": " << run.err;
        EXPECT_EQ(Slurp(listFile_), before) << name;
    }
    const PlayerRun missing = RunPlayer({"--import-playlist", Temp("no-such-file.m3u")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no-such-file.m3u"), std::string::npos) << missing.err;
    EXPECT_EQ(Slurp(listFile_), before);
}

TEST_F(PlaylistCommandTest, WithARunningPlayerThatDoesNotAnswerImportIsRefusedAndExportIsSaved) {
    ASSERT_EQ(RunPlayer({"--import-playlist", Golden("playlist_golden.m3u")}).status, 0);
    const std::string before = Slurp(listFile_);
    // What a running copy holds for its whole life; it shows no window, so nothing answers.
    plat::NamedMutex running("tunova");
    ASSERT_TRUE(running.Create());

    const PlayerRun import = RunPlayer({"--import-playlist", Temp("x.m3u")});
    EXPECT_EQ(import.status, 1);
    EXPECT_NE(import.err.find("a player is running but does not answer"), std::string::npos)
        << import.err;
    EXPECT_EQ(Slurp(listFile_), before);

    const PlayerRun exported = RunPlayer({"--export-playlist", Temp("saved.m3u")});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_NE(exported.err.find("as it was last saved"), std::string::npos) << exported.err;
    EXPECT_EQ(Slurp(Temp("saved.m3u")), Slurp(Golden("playlist_golden.m3u")));
}

}  // namespace
}  // namespace tunova
