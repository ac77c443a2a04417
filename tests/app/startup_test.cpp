// The start-up sequence, the timers that bring the window on screen, and the shutdown order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "recording_dialog.h"

namespace tunova::testing {
namespace {

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { plat::InstallClock(&clock); }
    void TearDown() override { plat::InstallClock(nullptr); }
    plat::ManualClock clock;
};

const std::vector<std::string> kStartupOrder = {
    "AddAboutItemToSystemMenu",
    "CreateTrayIcon",
    "AnotherInstanceRunning",
    "DetectNewerWindows",
    "InitialiseCom",
    "ReadPartnerId",
    "ReadAdapterAddress",
    "ComputeLayout",
    "LoadSkin",
    "ProbeUpdateServer",
    "ReadDoubleClickSetting",
    "PrepareEncodingTable",
    "CreateBrowserAndNavigate",
    "SetUpResultList",
    "SetUpPlaylistView",
    "ComputeLayout",
    "DrawSkinStrips",
    "SetUpSliders",
    "PlaceControls",
    "LoadPlaylist",
    "FillCountryCombo",
    "StartUpdater",
    "IsChartCachedToday",
    "DownloadChart",
    "SendUsageCount:counter",
};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(StartupTest, RunsEveryStepInOrderThenShutsDownInOrder) {
    RecordingDialog dlg;
    std::vector<std::string> atBody;
    dlg.body = [&](RecordingDialog& d) { atBody = d.calls; };
    EXPECT_EQ(dlg.Run(), plat::kIdCancel);
    EXPECT_EQ(atBody, kStartupOrder);
    EXPECT_EQ(dlg.calls, Concat(kStartupOrder, {"SavePlaylist", "ReleaseSkin"}));
}

TEST_F(StartupTest, TrayIconIsRemovedFirstOnShutdownWhenItWasShown) {
    RecordingDialog dlg;
    dlg.trayCreated = true;
    dlg.body = [](RecordingDialog& d) { d.ClearCalls(); };
    dlg.Run();
    EXPECT_TRUE(dlg.tray.created);
    EXPECT_EQ(dlg.calls,
              (std::vector<std::string>{"RemoveTrayIcon", "SavePlaylist", "ReleaseSkin"}));
}

TEST_F(StartupTest, CachedChartIsLoadedInsteadOfDownloaded) {
    RecordingDialog dlg;
    dlg.chartCached = true;
    dlg.Run();
    EXPECT_TRUE(dlg.Called("LoadCachedChart"));
    EXPECT_FALSE(dlg.Called("DownloadChart"));
}

TEST_F(StartupTest, AutostartCommandLineSendsNoUsageCount) {
    for (const char* line : {"tunova /run", "tunova --running", "tunova run"}) {
        RecordingDialog dlg;
        dlg.commandLine = line;
        dlg.Run();
        EXPECT_FALSE(dlg.Called("SendUsageCount:counter")) << line;
        EXPECT_EQ(dlg.startup.commandLine, line);
    }
    RecordingDialog plain;
    plain.commandLine = "tunova /start";
    plain.Run();
    EXPECT_TRUE(plain.Called("SendUsageCount:counter"));
}

TEST_F(StartupTest, SecondInstanceRestoresTheFirstAndEndsBeforeAnythingElse) {
    RecordingDialog dlg;
    bool bodyRan = false;
    dlg.anotherInstance = true;
    dlg.body = [&](RecordingDialog&) { bodyRan = true; };
    EXPECT_EQ(dlg.Run(), plat::kIdCancel);
    EXPECT_FALSE(bodyRan);
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"AddAboutItemToSystemMenu", "CreateTrayIcon",
                                                   "AnotherInstanceRunning",
                                                   "RestoreRunningInstance", "ReleaseSkin"}))
        << "an instance that never loaded the playlist must not save over it";
    EXPECT_TRUE(dlg.Text().empty()) << "the title is set only after the instance check";
}

TEST_F(StartupTest, UnreachableServerShowsTheNoticeAndEnds) {
    RecordingDialog dlg;
    bool bodyRan = false;
    dlg.serverReachable = false;
    dlg.body = [&](RecordingDialog&) { bodyRan = true; };
    EXPECT_EQ(dlg.Run(), plat::kIdCancel);
    EXPECT_FALSE(bodyRan);
    ASSERT_GE(dlg.calls.size(), 2u);
    EXPECT_EQ(dlg.calls[dlg.calls.size() - 2], "ShowNoConnectionNotice");
    EXPECT_FALSE(dlg.Called("SavePlaylist"));
    EXPECT_FALSE(dlg.Called("ReadDoubleClickSetting"));
}

TEST_F(StartupTest, InitialStateAndControls) {
    RecordingDialog dlg;
    dlg.body = [](RecordingDialog& d) {
        EXPECT_EQ(d.Text(), kMainWindowTitle);
        EXPECT_EQ(d.WindowRect().Width(), 0) << "hidden at 0 x 0 until timer 33";
        EXPECT_EQ(d.search.searchText, kSearchPlaceholder);
        EXPECT_EQ(d.searchEdit.Text(), kSearchPlaceholder);
        EXPECT_TRUE(d.search.placeholderActive);
        EXPECT_EQ(d.search.countryIndex, 0);
        EXPECT_EQ(d.playback.playMode, 1);
        EXPECT_EQ(d.playback.currentEntryNumber, -1);
        EXPECT_EQ(d.playback.volume, 40);
        EXPECT_EQ(d.playback.currentTimeText, "00:00:00");
        EXPECT_FALSE(d.playback.pageReady);
        EXPECT_EQ(d.view.sizeMode, 3);
        EXPECT_TRUE(d.view.listShown);
        EXPECT_FALSE(d.settings.doubleClickAdds);
        EXPECT_EQ(d.volumeSlider.Pos(), 40);
        EXPECT_EQ(d.positionSlider.RangeMax(), 100);
        // Every control of the window exists under its id.
        for (int id :
             {1000, 1001, 1005, 1006, 1007, 1008, 1009, 1011, 1101, 1104, 1105, 1106, 1107,
              1108, 1109, 1110, 1111, 1112, 1113, 1119, 1120, 1122, 1123, 1124, 1125, 1126,
              1127, 1128, 1129, 1130, 1131, 1132, 1133, 1134, 1135, 1136, 1137, 1138, 333}) {
            EXPECT_NE(d.Child(id), nullptr) << id;
        }
        EXPECT_EQ(d.Child(333)->Text(), "DEzur");
        for (int hidden : {1011, 1101, 1105, 1106}) {
            EXPECT_FALSE(d.Child(hidden)->IsVisible()) << hidden;
        }
        // The hidden country combo box.
        EXPECT_EQ(d.countryCombo.Count(), 5);
        EXPECT_EQ(d.countryCombo.ItemText(0), "통합");
        EXPECT_EQ(d.countryCombo.ItemText(4), "중국");
        EXPECT_EQ(d.countryCombo.ItemHeight(3), 15);
        EXPECT_EQ(d.countryCombo.CurSel(), 0);
        EXPECT_EQ(d.VisibleCountryButton(), 1109);
    };
    dlg.Run();
}

TEST_F(StartupTest, TimerTableAfterStartUp) {
    RecordingDialog dlg;
    dlg.body = [](RecordingDialog& d) {
        EXPECT_EQ(d.TimerPeriod(50), 300u);
        EXPECT_EQ(d.TimerPeriod(3), 300u);
        EXPECT_EQ(d.TimerPeriod(10), 4500u);
        EXPECT_FALSE(d.HasTimer(1));
        EXPECT_FALSE(d.HasTimer(33));
    };
    dlg.Run();
}

TEST_F(StartupTest, WindowComesOnScreenThenThePageBecomesReady) {
    RecordingDialog dlg;
    dlg.body = [this](RecordingDialog& d) {
        d.ClearCalls();
        clock.Advance(300);  // timer 50: no updater, version check, timer 33
        EXPECT_TRUE(d.Called("CheckVersion"));
        EXPECT_FALSE(d.HasTimer(50));
        EXPECT_EQ(d.TimerPeriod(33), 200u);
        clock.Advance(200);  // timer 33 shows the window
        EXPECT_FALSE(d.HasTimer(33));
        EXPECT_TRUE(d.IsVisible());
        EXPECT_EQ(d.WindowRect().Width(), kNormalWidth);
        EXPECT_EQ(d.WindowRect().Height(), kNormalHeight);
        EXPECT_EQ(d.view.clientRectOnScreen.Width(), kNormalWidth);
        EXPECT_EQ(d.TimerPeriod(34), 200u);
        clock.Advance(200);  // timer 34: the page answers
        EXPECT_TRUE(d.Called("ProbePage"));
        EXPECT_FALSE(d.HasTimer(34));
        EXPECT_EQ(d.TimerPeriod(35), 2800u);
        clock.Advance(2799);
        EXPECT_FALSE(d.playback.pageReady);
        clock.Advance(1);
        EXPECT_TRUE(d.playback.pageReady);
        EXPECT_FALSE(d.HasTimer(35));
    };
    dlg.Run();
}

TEST_F(StartupTest, WindowAppearsWithoutVersionCheckAfterTheUpdaterWaitRunsOut) {
    RecordingDialog dlg;
    dlg.updaterRunning = true;
    dlg.body = [this](RecordingDialog& d) {
        clock.Advance(300 * kUpdaterWaitLimit);
        EXPECT_TRUE(d.HasTimer(50));
        EXPECT_FALSE(d.HasTimer(33));
        EXPECT_EQ(d.startup.updaterWaitTicks, kUpdaterWaitLimit);
        clock.Advance(300);
        EXPECT_FALSE(d.HasTimer(50));
        EXPECT_TRUE(d.HasTimer(33));
        EXPECT_FALSE(d.Called("CheckVersion"));
    };
    dlg.Run();
}

}  // namespace
}  // namespace tunova::testing
