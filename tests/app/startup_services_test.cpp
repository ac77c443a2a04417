// The services in the real main window's start-up: the update server probe and the
// no-connection path, the updater beside the player and the wait for it, the version check and
// its notice, the double-click setting, the day's usage count, and the web links.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "controls/connect_no.h"
#include "main_window_fixture.h"
#include "platform/controls/web_link.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/window/application.h"
#include "services/update_check.h"
#include "services/usage_counter.h"
#include "support/raw_listener.h"
#include "support/test_paths.h"

extern char** environ;

namespace tunova::testing {
namespace {

std::vector<ServerRequest> RequestsTo(const LoopbackServer& server, const std::string& path) {
    std::vector<ServerRequest> matching;
    for (const ServerRequest& request : server.Requests()) {
        if (request.target.starts_with(path)) {
            matching.push_back(request);
        }
    }
    return matching;
}

class StartupServicesTest : public MainWindowTest {
  protected:
    void TearDown() override {
        plat::ReplaceFile(plat::DataFile("release"), "");  // a waiting updater ends
        PumpUntil([] { return !IsUpdaterRunning(); }, 10'000);
        plat::DeleteFile(plat::DataFile("tnu_update.exe"));
        plat::DeleteFile(plat::DataFile("release"));
        plat::DeleteFile(plat::DataFile("started"));
        MainWindowTest::TearDown();
    }
    // Puts an updater beside the player that runs until the test writes "release".
    static void PlaceWaitingUpdater() {
        const std::string dir = plat::DataDir();
        const std::string path = plat::DataFile("tnu_update.exe");
        ASSERT_TRUE(plat::ReplaceFile(path, "#!/bin/sh\ntouch '" + dir +
                                                "/started'\nwhile [ ! -e '" + dir +
                                                "/release' ]; do sleep 0.02; done\n:\n"));
        ::chmod(path.c_str(), 0755);
    }
    static bool UpdaterStarted() { return plat::FileExists(plat::DataFile("started")); }
};

TEST_F(StartupServicesTest, NoUpdateServerShowsTheNoticeWhoseButtonEndsThePlayer) {
    UseHost(RefusedHost());
    CTunovaDlg dlg(Services());
    bool noticeShown = false;
    plat::testing::RunSoon([&] {
        auto* notice = dynamic_cast<CConnectNo*>(plat::testing::ActiveModalDialog());
        ASSERT_NE(notice, nullptr) << "the notice runs inside start-up";
        noticeShown = true;
        EXPECT_TRUE(notice->IsVisible());
        EXPECT_FALSE(dlg.IsVisible());
        const plat::Rect button = notice->ConfirmButton().ClientRect();
        plat::testing::MouseClick(notice->ConfirmButton(),
                                  {button.Width() / 2, button.Height() / 2});
    });
    bool bodyRan = false;
    EXPECT_EQ(Run(dlg, [&](CTunovaDlg&) { bodyRan = true; }), plat::kIdCancel);
    EXPECT_TRUE(noticeShown);
    EXPECT_FALSE(bodyRan) << "start-up stopped at the probe";
    EXPECT_FALSE(dlg.IsVisible());
    EXPECT_EQ(clock.TickCount(), 1100u) << "eleven attempts, 100 ms after each";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(StartupServicesTest, AnOutdatedPlayerShowsTheNoticeAndEnds) {
    *serverVersion = "2";
    ASSERT_TRUE(plat::SettingsKey::Open("SOFTWARE\\tunova").WriteString("tunova_verup", "x"));
    CTunovaDlg dlg(Services());
    Run(dlg, [this](CTunovaDlg& d) {
        clock.Advance(res::kTimerUpdaterWait.periodMs);
        EXPECT_TRUE(d.HasEnded());
        clock.Advance(10'000);
        EXPECT_FALSE(d.IsVisible()) << "an outdated player never shows its window";
    });
    ASSERT_EQ(boxes.size(), 1u) << "timer 50 stopped before the notice";
    EXPECT_EQ(boxes[0].caption, "투노바");
    EXPECT_EQ(boxes[0].text, VersionNoticeText(updateServer.Host()));
    EXPECT_EQ(boxes[0].flags, plat::kMbOk | plat::kMbIconExclamation | plat::kMbTopmost);
    EXPECT_FALSE(plat::SettingsKey::Open("SOFTWARE\\tunova").ReadString("tunova_verup"));
}

TEST_F(StartupServicesTest, TheWindowWaitsForARealUpdaterAndShowsWhenItEnds) {
    PlaceWaitingUpdater();
    CTunovaDlg dlg(Services());
    Run(dlg, [this](CTunovaDlg& d) {
        ASSERT_TRUE(PumpUntil([] { return UpdaterStarted() && IsUpdaterRunning(); }, 10'000));
        clock.Advance(10 * res::kTimerUpdaterWait.periodMs);
        EXPECT_EQ(d.WindowRect().Width(), 0) << "hidden while the updater runs";
        EXPECT_TRUE(RequestsTo(updateServer, "/update/player_ver.php").empty());
        ASSERT_TRUE(plat::ReplaceFile(plat::DataFile("release"), ""));
        ASSERT_TRUE(PumpUntil([] { return !IsUpdaterRunning(); }, 10'000))
            << "a finished updater is gone, not a zombie";
        clock.Advance(res::kTimerUpdaterWait.periodMs + res::kTimerShowWindow.periodMs);
        EXPECT_TRUE(d.IsVisible());
        EXPECT_EQ(RequestsTo(updateServer, "/update/player_ver.php").size(), 1u);
    });
    EXPECT_TRUE(boxes.empty());
}

TEST_F(StartupServicesTest, AnUpdaterThatNeverEndsIsWaitedForAboutThreeMinutes) {
    PlaceWaitingUpdater();
    *serverVersion = "2";  // would end the player, but the version is not checked after the wait
    CTunovaDlg dlg(Services());
    Run(dlg, [this](CTunovaDlg& d) {
        ASSERT_TRUE(PumpUntil([] { return UpdaterStarted() && IsUpdaterRunning(); }, 10'000));
        clock.Advance(600 * res::kTimerUpdaterWait.periodMs);
        EXPECT_EQ(d.WindowRect().Width(), 0);
        clock.Advance(res::kTimerUpdaterWait.periodMs + res::kTimerShowWindow.periodMs);
        EXPECT_TRUE(d.IsVisible());
        EXPECT_FALSE(d.HasEnded());
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(RequestsTo(updateServer, "/update/player_ver.php").empty());
}

TEST_F(StartupServicesTest, TheDoubleClickSettingIsReadAtStart) {
    RunShown([](CTunovaDlg& d) { EXPECT_FALSE(d.Search().DoubleClickAdds()); });
    ASSERT_TRUE(
        plat::SettingsKey::Open("SOFTWARE\\tunova\\setting").WriteString("setting_click", "TRUE"));
    RunShown([](CTunovaDlg& d) { EXPECT_TRUE(d.Search().DoubleClickAdds()); });
}

TEST_F(StartupServicesTest, OneUsageCountADayWithThePartnerIdAndAddress) {
    ASSERT_TRUE(plat::SettingsKey::Open("SOFTWARE\\tunova").WriteString("pid", "shop 1&x-my"));
    RunShown([](CTunovaDlg&) {});
    const std::vector<ServerRequest> counts = RequestsTo(updateServer, "/web/counter/");
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts[0].target,
              "/web/counter/insert.php?in_pcode=21&in_pid=shop%201%26x"
              "&in_kind=6&in_mac=" +
                  ReadMacAddress());
    RunShown([](CTunovaDlg&) {});
    EXPECT_EQ(RequestsTo(updateServer, "/web/counter/").size(), 1u) << "once a day";
    clock.SetNow({2026, 12, 9, 9, 0, 0});
    RunShown([](CTunovaDlg&) {});
    EXPECT_EQ(RequestsTo(updateServer, "/web/counter/").size(), 2u) << "the next day, again";
}

TEST_F(StartupServicesTest, TheLinkCommandsOpenTheVendorPages) {
    std::vector<std::string> opened;
    plat::testing::InterceptBrowser([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    RunShown([](CTunovaDlg& d) {
        for (int id : {res::kIdcHomePage, res::kCmdHomePage, res::kCmdHomePage2, res::kIdcQnaBoard,
                       res::kCmdQnaBoard, res::kCmdQnaBoard2}) {
            d.SendCommand(id);
        }
    });
    plat::testing::InterceptBrowser(nullptr);
    const std::string home = "http://" + updateServer.Host() + "/";
    const std::string board =
        "http://" + updateServer.Host() + "/web/bbs/board.php?bo_table=freeboard";
    EXPECT_EQ(opened, (std::vector<std::string>{home, home, home, board, board, board}));
}

// Real player processes: an autostart start ("/run") probes once and sends no count; a start by
// the user sends the day's count.
class PlayerProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AnswerAsUpdateServer(server, std::make_shared<std::string>("1"));
        UseHost(server.Host());
        InstallPlayerVersion("1");
    }
    void TearDown() override { UseHost(kNoHost); }

    // Starts the built player (or `program`, a link to it) with `arguments`, waits until its
    // start-up reached the version check (so the count, sent before it, would have arrived),
    // then stops it.
    void StartAndStop(std::vector<std::string> arguments,
                      std::string player = tunova::testing::RunDir() + "/tunova") {
        std::vector<char*> argv = {player.data()};
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t pid = -1;
        ASSERT_EQ(posix_spawn(&pid, player.c_str(), nullptr, nullptr, argv.data(), environ), 0);
        const std::size_t before = RequestsTo(server, "/update/player_ver.php").size();
        const bool checked = PumpUntil(
            [&] { return RequestsTo(server, "/update/player_ver.php").size() > before; }, 60'000);
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(checked) << "the player never reached its version check";
    }

    LoopbackServer server;
};

TEST_F(PlayerProcessTest, AnAutostartStartSendsNoCountAndAUserStartDoes) {
    StartAndStop({"/run"});
    EXPECT_EQ(RequestsTo(server, "/update/update_tunova.php").size(), 1u);
    EXPECT_TRUE(RequestsTo(server, "/web/counter/").empty());
    EXPECT_FALSE(plat::SettingsKey::Open("SOFTWARE\\tunova\\count").ReadString("count_exe"))
        << "an autostart start leaves the day alone";
    StartAndStop({});
    EXPECT_EQ(RequestsTo(server, "/web/counter/").size(), 1u);
    EXPECT_TRUE(plat::SettingsKey::Open("SOFTWARE\\tunova\\count").ReadString("count_exe"));
}

// "run" in the program's folder or in a search word is a start by the user: the probe may retry
// and the day's count goes out.
TEST_F(PlayerProcessTest, OnlyTheAutostartArgumentItselfMakesAnAutostartStart) {
    const std::string folder = plat::DataDir() + "/home/user/rerun";
    std::filesystem::create_directories(folder);
    const std::string link = folder + "/tunova";
    ASSERT_EQ(::symlink((tunova::testing::RunDir() + "/tunova").c_str(), link.c_str()), 0);
    StartAndStop({"--search", "running"}, link);
    EXPECT_EQ(RequestsTo(server, "/web/counter/").size(), 1u);
    EXPECT_TRUE(plat::SettingsKey::Open("SOFTWARE\\tunova\\count").ReadString("count_exe"));
}

}  // namespace
}  // namespace tunova::testing
