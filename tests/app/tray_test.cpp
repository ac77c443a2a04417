// The tray icon of the real main window, on the fake tray: hiding to it, coming back by a
// double-click, and quitting from its menu.
#include <gtest/gtest.h>

#include <string>

#include "lists/list_file.h"
#include "main_window_fixture.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/window/application.h"

namespace tunova::testing {
namespace {

using TrayTest = MainWindowTest;

TEST_F(TrayTest, HiddenToTheTrayTheWindowComesBackByADoubleClick) {
    plat::testing::FakeTray tray;
    RunShown([&](CTunovaDlg& d) {
        ASSERT_TRUE(d.Tray().created);
        ASSERT_EQ(tray.Icons().size(), 1u);
        EXPECT_EQ(tray.Icons()[0].id, 288);
        EXPECT_EQ(tray.Icons()[0].tip, "투노바");
        EXPECT_EQ(tray.Icons()[0].image, res::kIconMain);

        d.SendCommand(res::kIdcHideToTray);
        plat::Application::ProcessEvents();
        EXPECT_FALSE(d.IsVisible()) << "the tray keeps the window reachable";
        ASSERT_TRUE(tray.Click(288, plat::kWmLButtonDblClk));
        plat::Application::ProcessEvents();
        EXPECT_TRUE(d.IsVisible());
        EXPECT_FALSE(d.IsMinimized());
        EXPECT_FALSE(d.HasEnded());
    });
    EXPECT_TRUE(tray.Icons().empty()) << "the icon leaves the tray with the window";
}

TEST_F(TrayTest, TheTrayMenuOpensThePlayerAndQuitsSavingThePlaylist) {
    plat::testing::FakeTray tray;
    const std::string playlistFile = plat::DataFile(kPlaylistFileName);
    ASSERT_TRUE(plat::ReplaceFile(playlistFile,
                                  "[SETTING]\r\ncount=2\r\n\r\n[LIST1]\r\nname=One\r\ntime=61\r\n"
                                  "\r\n[LIST2]\r\nname=Two\r\ntime=62\r\n"));
    RunShown([&](CTunovaDlg& d) {
        ASSERT_EQ(d.PlaylistView().ItemCount(), 2);
        d.PlaylistView().SetItemState(0, plat::kLvisSelected, plat::kLvisSelected);
        plat::testing::PressKey(d.PlaylistView(), plat::kVkDelete);
        ASSERT_EQ(d.PlaylistView().ItemCount(), 1);
        d.SendCommand(res::kIdcHideToTray);
        menuChoice = res::kCmdOpenPlayer;
        ASSERT_TRUE(tray.Click(288, plat::kWmRButtonUp));
        plat::Application::ProcessEvents();
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_TRUE(menus[0].items[0].isDefault);
        EXPECT_TRUE(d.IsVisible());
        EXPECT_FALSE(d.IsMinimized());

        menuChoice = res::kCmdExit;
        ASSERT_TRUE(tray.Click(288, plat::kWmRButtonUp));
        EXPECT_TRUE(d.HasEnded()) << "quitting from the tray ends the program";
    });
    std::string saved;
    ASSERT_TRUE(plat::ReadFile(playlistFile, saved));
    EXPECT_EQ(saved.rfind("[SETTING]\r\ncount=1\r\n\r\n[LIST1]\r\nname=Two\r\n", 0), 0u)
        << "through the same exit as the window's own, which saves the playlist";
}

}  // namespace
}  // namespace tunova::testing
