// The keyboard and mouse rules applied before dispatch, the country selection, the search box
// placeholder, and hiding and opening the window, driven by real input events on the real main
// window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/window/application.h"

namespace tunova::testing {
namespace {

using InputRulesTest = MainWindowTest;

std::vector<int> ItemIds(const std::vector<plat::PopupMenu::Item>& items) {
    std::vector<int> ids;
    for (const auto& item : items) {
        ids.push_back(item.id);
    }
    return ids;
}

TEST_F(InputRulesTest, EnterAndEscapeNeverCloseTheWindow) {
    RunShown([](CTunovaDlg& d) {
        plat::testing::PressKey(d.ResultList(), plat::kVkReturn);
        plat::testing::PressKey(d.ResultList(), plat::kVkEscape);
        plat::testing::PressKey(d.SearchEdit(), plat::kVkEscape);
        plat::testing::PressKey(d.PlaylistView(), plat::kVkReturn);
        plat::testing::PressKey(d, plat::kVkEscape);
        plat::Application::ProcessEvents();
        EXPECT_FALSE(d.HasEnded());
        EXPECT_TRUE(d.IsVisible());
    });
}

TEST_F(InputRulesTest, EnterWithAnEmptySearchBoxAsksForAWord) {
    RunShown([this](CTunovaDlg& d) {
        d.SearchEdit().SetFocus();
        plat::Application::ProcessEvents();
        ASSERT_EQ(d.SearchEdit().Text(), "");
        plat::testing::PressKey(d.SearchEdit(), plat::kVkReturn);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "검색어 입력해 주세요");
        EXPECT_FALSE(d.Search().IsSearchRunning());
        EXPECT_FALSE(d.HasEnded());
    });
}

TEST_F(InputRulesTest, RightClickAnywhereOpensTheSameMenuAtTheCursor) {
    RunShown([this](CTunovaDlg& d) {
        std::vector<plat::Window*> targets = {&d.ResultList(), &d.PlaylistView(), &d, d.Child(1126),
                                              &d.SearchEdit()};
        for (plat::Window* target : targets) {
            menus.clear();
            plat::testing::MouseDown(*target, {3, 4}, 2);
            ASSERT_EQ(menus.size(), 1u);
            EXPECT_EQ(ItemIds(menus[0].items),
                      (std::vector<int>{32799, 0, 32800, 32801, 0, 32802}));
            EXPECT_EQ(menus[0].items[0].text, "환경 설정");
            EXPECT_EQ(menus[0].items[5].text, "프로그램 종료");
            EXPECT_EQ(menus[0].screen, target->ClientToScreen({3, 4}));
        }
    });
}

TEST_F(InputRulesTest, NoMenuOverTheVideoArea) {
    RunShown([this](CTunovaDlg& d) {
        ASSERT_FALSE(d.Page().VideoWindow().WindowRect().IsEmpty());
        plat::testing::MouseDown(d.Page().VideoWindow(), {3, 4}, 2);
        plat::testing::MouseUp(d.Page().VideoWindow(), {3, 4}, 2);
        plat::Application::ProcessEvents();
        EXPECT_TRUE(menus.empty()) << "the player page takes its own clicks";
        plat::testing::MouseDown(d, {3, 4}, 2);
        EXPECT_EQ(menus.size(), 1u) << "beside it the menu still opens";
    });
}

TEST_F(InputRulesTest, ChoosingExitFromTheRightClickMenuEndsTheProgram) {
    menuChoice = 32802;
    CTunovaDlg dlg(Services(), &page);
    bool ended = false;
    Run(dlg, [&](CTunovaDlg& d) {
        plat::testing::MouseDown(d, {50, 50}, 2);
        plat::Application::ProcessEvents();
        ended = d.HasEnded();
    });
    EXPECT_TRUE(ended);
}

TEST_F(InputRulesTest, CountryMenuShowsOneButtonAndChecksTheChosenCountry) {
    RunShown([this](CTunovaDlg& d) {
        d.SendCommand(32781);  // 중국검색
        EXPECT_EQ(d.Search().CountryIndex(), 4);
        EXPECT_EQ(d.VisibleCountryButton(), 1113);
        int visible = 0;
        for (int id = 1109; id <= 1113; ++id) {
            visible += d.Child(id)->IsVisible() ? 1 : 0;
        }
        EXPECT_EQ(visible, 1);

        menus.clear();
        d.SendCommand(1113);
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_EQ(ItemIds(menus[0].items), (std::vector<int>{32777, 32776, 32778, 32779, 32781}));
        for (const auto& item : menus[0].items) {
            EXPECT_EQ(item.checked, item.id == 32781) << item.id;
        }
        const plat::Rect frame = d.WindowRect();
        EXPECT_EQ(menus[0].screen, (plat::Point{frame.left + 10, frame.top + 201}));

        d.SendCommand(32777);  // 통  합 (전 체)
        EXPECT_EQ(d.Search().CountryIndex(), 0);
        EXPECT_EQ(d.VisibleCountryButton(), 1109);
        d.SendCommand(32779);
        EXPECT_EQ(d.VisibleCountryButton(), 1112);
        d.SendCommand(32780);  // inside the range but no country: back to all
        EXPECT_EQ(d.Search().CountryIndex(), 0);
        EXPECT_EQ(d.VisibleCountryButton(), 1109);
    });
}

TEST_F(InputRulesTest, HiddenComboSetsTheCountryWithoutTouchingTheButtons) {
    RunShown([](CTunovaDlg& d) {
        d.CountryCombo().SelectByUser(2);
        EXPECT_EQ(d.Search().CountryIndex(), 2);
        EXPECT_EQ(d.VisibleCountryButton(), 1109);
    });
}

TEST_F(InputRulesTest, PlaceholderClearsOnFirstFocusOnly) {
    RunShown([](CTunovaDlg& d) {
        EXPECT_EQ(d.SearchEdit().Text(), kSearchPlaceholder);
        d.SearchEdit().SetFocus();
        plat::Application::ProcessEvents();
        EXPECT_FALSE(d.Search().PlaceholderActive());
        EXPECT_EQ(d.SearchEdit().Text(), "");
        plat::testing::TypeText(d.SearchEdit(), "abba");
        d.ResultList().SetFocus();
        plat::Application::ProcessEvents();
        d.SearchEdit().SetFocus();
        plat::Application::ProcessEvents();
        EXPECT_EQ(d.SearchEdit().Text(), "abba");
    });
}

TEST_F(InputRulesTest, HideToTrayMinimisesWhileThereIsNoTrayIcon) {
    RunShown([](CTunovaDlg& d) {
        ASSERT_FALSE(d.Tray().created) << "no tray icon on this desktop";
        d.SendCommand(1119);
        plat::Application::ProcessEvents();
        EXPECT_TRUE(d.IsMinimized());
        EXPECT_TRUE(d.IsVisible()) << "hidden, the window could not be reached again";
        d.SendCommand(32789);  // open the player
        plat::Application::ProcessEvents();
        EXPECT_TRUE(d.IsVisible());
        EXPECT_FALSE(d.IsMinimized());
    });
}

TEST_F(InputRulesTest, MinimizeAndOpenThePlayer) {
    RunShown([](CTunovaDlg& d) {
        d.SendCommand(1120);
        plat::Application::ProcessEvents();
        EXPECT_TRUE(d.IsMinimized());
        d.SendCommand(32792);
        plat::Application::ProcessEvents();
        EXPECT_FALSE(d.IsMinimized());
        EXPECT_TRUE(d.IsVisible());
    });
}

}  // namespace
}  // namespace tunova::testing
