// Every command, notification, message and timer of the main window's tables reaches its slot.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/testing.h"
#include "recording_dialog.h"

namespace tunova::testing {
namespace {

class MessageTablesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::InstallClock(&clock);
        plat::testing::InterceptMenus([](const plat::testing::TrackedMenu&) { return 0; });
    }
    void TearDown() override {
        plat::testing::InterceptMenus(nullptr);
        plat::InstallClock(nullptr);
    }
    plat::ManualClock clock;
};

TEST_F(MessageTablesTest, EveryCommandReachesItsSlot) {
    const std::vector<std::pair<int, std::string>> table = {
        {1126, "OnPlay"},           {1104, "OnPause"},
        {1101, "OnStop"},           {1105, "OnVolumeStep:5"},
        {1106, "OnVolumeStep:-5"},  {1107, "OnMute"},
        {1108, "OnUnmute"},         {1116, "OnSeekStart"},
        {1123, "OnNext"},           {1122, "OnPrevious"},
        {1005, "OnPlayMode:1005"},  {1006, "OnPlayMode:1006"},
        {1007, "OnPlayMode:1007"},  {1124, "StartSearch"},
        {1137, "RequestNextPage"},  {1136, "DeletePlaylistSelection"},
        {1129, "MoveUp"},           {1130, "MoveDown"},
        {1127, "OnMaximize"},       {1128, "OnMiniSize"},
        {1131, "OnNormalSize"},     {1132, "OnToggleBigVideo"},
        {1135, "OnToggleBigVideo"}, {1133, "OpenHomePage"},
        {32790, "OpenHomePage"},    {32800, "OpenHomePage"},
        {1138, "OpenQnaBoard"},     {32794, "OpenQnaBoard"},
        {32801, "OpenQnaBoard"},    {1134, "OpenSettings"},
        {32799, "OpenSettings"},    {1120, "OnMinimizeCommand"},
        {1119, "OnHideToTray"},     {1109, "OnCountryButton"},
        {1110, "OnCountryButton"},  {1111, "OnCountryButton"},
        {1112, "OnCountryButton"},  {1113, "OnCountryButton"},
        {32789, "OnOpenPlayer"},    {32792, "OnOpenPlayer"},
    };
    RecordingDialog dlg;
    dlg.body = [&](RecordingDialog& d) {
        for (const auto& [id, slot] : table) {
            d.ClearCalls();
            d.SendCommand(id);
            ASSERT_FALSE(d.calls.empty()) << id;
            EXPECT_EQ(d.calls.front(), slot) << id;
            EXPECT_FALSE(d.HasEnded()) << id;
        }
    };
    dlg.Run();
}

TEST_F(MessageTablesTest, BothExitCommandsEndTheDialogAndSaveThePlaylist) {
    for (int id : {32791, 32802}) {
        RecordingDialog dlg;
        dlg.body = [id](RecordingDialog& d) {
            d.ClearCalls();
            d.SendCommand(id);
            EXPECT_TRUE(d.HasEnded());
        };
        EXPECT_EQ(dlg.Run(), plat::kIdCancel);
        EXPECT_EQ(dlg.calls, (std::vector<std::string>{"OnExit", "SavePlaylist", "ReleaseSkin"}));
    }
}

TEST_F(MessageTablesTest, NotificationsAndMessagesReachTheirSlots) {
    RecordingDialog dlg;
    dlg.body = [](RecordingDialog& d) {
        d.ClearCalls();
        plat::ItemActivate click;
        click.hdr = {&d.resultList, 1000, plat::kNmClick};
        click.item = 4;
        d.SendMessage(plat::kWmNotify, 1000, reinterpret_cast<plat::LParam>(&click));
        click.hdr.code = plat::kNmDblClk;
        click.item = 5;
        d.SendMessage(plat::kWmNotify, 1000, reinterpret_cast<plat::LParam>(&click));
        plat::ListViewNotify drag;
        drag.hdr = {&d.resultList, 1000, plat::kLvnBeginDrag};
        drag.item = 6;
        d.SendMessage(plat::kWmNotify, 1000, reinterpret_cast<plat::LParam>(&drag));
        click.hdr = {&d.playlistView, 1001, plat::kNmDblClk};
        click.item = 7;
        d.SendMessage(plat::kWmNotify, 1001, reinterpret_cast<plat::LParam>(&click));
        // A click on the playlist is the list's own business.
        click.hdr.code = plat::kNmClick;
        d.SendMessage(plat::kWmNotify, 1001, reinterpret_cast<plat::LParam>(&click));
        d.SendMessage(0x28D1, 1009, 42);
        d.SendMessage(0x28D2, 1008, 55);
        d.SendMessage(0x1105, 128, 0x0205);
        d.SendMessage(plat::kWmSysCommand, 16 | 0x3, 0);
        EXPECT_EQ(d.calls, (std::vector<std::string>{
                               "OnResultClick:4", "OnResultDoubleClick:5", "OnResultBeginDrag:6",
                               "OnPlaylistDoubleClick:7", "OnSliderMoving:1009:42",
                               "OnSliderReleased:1008:55", "OnTrayNotify:517", "ShowAboutBox"}));
    };
    dlg.Run();
}

TEST_F(MessageTablesTest, SystemMenuCarriesTheAboutItem) {
    RecordingDialog dlg;
    dlg.body = [](RecordingDialog& d) {
        const auto& items = d.SystemMenu().Items();
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].id, 0) << "a separator first";
        EXPECT_EQ(items[1].id, 16);
        EXPECT_EQ(items[1].text, "Tunova 정보(&A)...");
        plat::testing::InterceptMenus([](const plat::testing::TrackedMenu&) { return 16; });
        d.ClearCalls();
        d.ShowSystemMenu();
        EXPECT_EQ(d.calls, std::vector<std::string>{"ShowAboutBox"});
    };
    dlg.Run();
}

TEST_F(MessageTablesTest, EveryTimerReachesItsSlot) {
    const std::vector<std::pair<int, std::string>> table = {
        {1, "OnPollTimer"},       {3, "CheckScrollPaging"},     {6, "OnTitleScrollTimer"},
        {7, "OnTitlePauseTimer"}, {10, "OnVolumeRestoreTimer"}, {21, "OnPositionTimer"},
        {34, "ProbePage"},        {42, "OnHoldReleaseTimer"},   {50, "CheckVersion"},
    };
    RecordingDialog dlg;
    dlg.body = [&](RecordingDialog& d) {
        for (const auto& [id, slot] : table) {
            d.ClearCalls();
            d.SendMessage(plat::kWmTimer, static_cast<plat::WParam>(id));
            ASSERT_FALSE(d.calls.empty()) << id;
            EXPECT_EQ(d.calls.front(), slot) << id;
        }
        d.SendMessage(plat::kWmTimer, 35);
        EXPECT_TRUE(d.playback.pageReady);
        d.SendMessage(plat::kWmTimer, 33);
        EXPECT_TRUE(d.IsVisible());
    };
    dlg.Run();
}

TEST_F(MessageTablesTest, TimersFireAtTheirPeriods) {
    RecordingDialog dlg;
    dlg.body = [this](RecordingDialog& d) {
        d.ClearCalls();
        clock.Advance(299);
        EXPECT_FALSE(d.Called("CheckScrollPaging"));
        clock.Advance(1);
        EXPECT_TRUE(d.Called("CheckScrollPaging"));
        d.ClearCalls();
        clock.Advance(4200);  // 4500 ms since start-up
        EXPECT_TRUE(d.Called("OnVolumeRestoreTimer"));
    };
    dlg.Run();
}

}  // namespace
}  // namespace tunova::testing
