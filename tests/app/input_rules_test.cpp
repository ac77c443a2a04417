// The keyboard and mouse rules applied before dispatch, the country selection and the search
// box placeholder, driven by real input events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/clock.h"
#include "platform/testing.h"
#include "recording_dialog.h"

namespace tunova::testing {
namespace {

class InputRulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::InstallClock(&clock);
        plat::testing::InterceptMenus([this](const plat::testing::TrackedMenu& menu) {
            menus.push_back(menu);
            return 0;
        });
    }
    void TearDown() override {
        plat::testing::InterceptMenus(nullptr);
        plat::InstallClock(nullptr);
    }
    // Runs the dialog and brings it on screen before `body` runs.
    void RunShown(std::function<void(RecordingDialog&)> body) {
        RecordingDialog dlg;
        dlg.body = [&](RecordingDialog& d) {
            clock.Advance(500);
            ASSERT_TRUE(d.IsVisible());
            d.ClearCalls();
            body(d);
        };
        dlg.Run();
    }
    plat::ManualClock clock;
    std::vector<plat::testing::TrackedMenu> menus;
};

std::vector<int> ItemIds(const std::vector<plat::PopupMenu::Item>& items) {
    std::vector<int> ids;
    for (const auto& item : items) {
        ids.push_back(item.id);
    }
    return ids;
}

TEST_F(InputRulesTest, EnterInTheSearchBoxSearchesAndNeverClosesTheWindow) {
    RunShown([](RecordingDialog& d) {
        plat::testing::PressKey(d.searchEdit, plat::kVkReturn);
        EXPECT_EQ(d.calls, std::vector<std::string>{"StartSearch"});
        EXPECT_FALSE(d.HasEnded());
        d.ClearCalls();
        plat::testing::PressKey(d.resultList, plat::kVkReturn);
        plat::testing::PressKey(d.resultList, plat::kVkEscape);
        plat::testing::PressKey(d.searchEdit, plat::kVkEscape);
        plat::testing::PressKey(d.playlistView, plat::kVkReturn);
        EXPECT_TRUE(d.calls.empty());
        EXPECT_FALSE(d.HasEnded());
    });
}

TEST_F(InputRulesTest, DeleteActsOnlyOnThePlaylist) {
    RunShown([](RecordingDialog& d) {
        plat::testing::PressKey(d.resultList, plat::kVkDelete);
        EXPECT_TRUE(d.calls.empty());
        plat::testing::PressKey(d.playlistView, plat::kVkDelete);
        EXPECT_EQ(d.calls, std::vector<std::string>{"DeletePlaylistSelection"});
    });
}

TEST_F(InputRulesTest, RightClickAnywhereOpensTheSameMenuAtTheCursor) {
    RunShown([this](RecordingDialog& d) {
        std::vector<plat::Window*> targets = {&d.resultList, &d.playlistView, &d, d.Child(1126)};
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

TEST_F(InputRulesTest, ChoosingExitFromTheRightClickMenuEndsTheProgram) {
    plat::testing::InterceptMenus([](const plat::testing::TrackedMenu&) { return 32802; });
    RecordingDialog dlg;
    dlg.body = [](RecordingDialog& d) {
        d.ClearCalls();
        plat::testing::MouseDown(d, {50, 50}, 2);
        plat::Application::ProcessEvents();
        EXPECT_TRUE(d.HasEnded());
    };
    dlg.Run();
    EXPECT_TRUE(dlg.Called("OnExit"));
    EXPECT_TRUE(dlg.Called("SavePlaylist"));
}

TEST_F(InputRulesTest, CountryMenuShowsOneButtonAndChecksTheChosenCountry) {
    RunShown([this](RecordingDialog& d) {
        d.SendCommand(32781);  // 중국검색
        EXPECT_EQ(d.search.countryIndex, 4);
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
        EXPECT_EQ(d.search.countryIndex, 0);
        EXPECT_EQ(d.VisibleCountryButton(), 1109);
        d.SendCommand(32779);
        EXPECT_EQ(d.VisibleCountryButton(), 1112);
        d.SendCommand(32780);  // inside the range but no country: back to all
        EXPECT_EQ(d.search.countryIndex, 0);
        EXPECT_EQ(d.VisibleCountryButton(), 1109);
    });
}

TEST_F(InputRulesTest, HiddenComboSetsTheCountryWithoutTouchingTheButtons) {
    RunShown([](RecordingDialog& d) {
        d.countryCombo.SelectByUser(2);
        EXPECT_EQ(d.search.countryIndex, 2);
        EXPECT_EQ(d.VisibleCountryButton(), 1109);
    });
}

TEST_F(InputRulesTest, PlaceholderClearsOnFirstFocusOnly) {
    RunShown([](RecordingDialog& d) {
        EXPECT_EQ(d.searchEdit.Text(), kSearchPlaceholder);
        d.searchEdit.SetFocus();
        plat::Application::ProcessEvents();
        EXPECT_FALSE(d.search.placeholderActive);
        EXPECT_EQ(d.searchEdit.Text(), "");
        plat::testing::TypeText(d.searchEdit, "abba");
        d.resultList.SetFocus();
        plat::Application::ProcessEvents();
        d.searchEdit.SetFocus();
        plat::Application::ProcessEvents();
        EXPECT_EQ(d.searchEdit.Text(), "abba");
    });
}

TEST_F(InputRulesTest, MinimizeHideAndOpenThePlayer) {
    RunShown([](RecordingDialog& d) {
        d.SendCommand(1119);
        plat::Application::ProcessEvents();
        EXPECT_FALSE(d.IsVisible());
        d.SendCommand(32789);
        plat::Application::ProcessEvents();
        EXPECT_TRUE(d.IsVisible());
        EXPECT_FALSE(d.IsMinimized());
    });
}

}  // namespace
}  // namespace tunova::testing
