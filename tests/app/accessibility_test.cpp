// The main window to assistive technology: every control a name, a role and its state; result
// and playlist rows read as number, title and play time; Tab through the main controls in
// order, and Enter pressing the focused button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists/daily_chart.h"
#include "lists/list_file.h"
#include "main_window_fixture.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/desktop/settings_store.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "res/resource_ids.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

using plat::testing::ReadAccessible;

class AccessibilityTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        plat::DeleteFile(plat::DataFile(kPlaylistFileName));
        plat::DeleteFile(plat::DataFile(kChartFileName));
        plat::SettingsKey::Open(kChartDayKey).DeleteValue(kChartDayValue);
        UseHost(server.Host());
        server.SetHandler([](const ServerRequest&) {
            return ServerReply{ServerReply::Kind::kAnswer, 200,
                               FeedXml(3, 1, NumberedEntries(101, 3))};
        });
    }
    void TearDown() override {
        UseHost(kNoHost);
        MainWindowTest::TearDown();
    }
    LoopbackServer server;
};

TEST_F(AccessibilityTest, EveryShownControlHasANameARoleAndItsState) {
    RunShown([](CTunovaDlg& d) {
        struct Expected {
            int id;
            const char* role;
            const char* name;
        };
        const Expected expected[] = {
            {res::kIdcPlay, "button", "재생"},
            {res::kIdcSearch, "button", "UCC 검색"},
            {res::kIdcSettings, "button", "설정"},
            {res::kIdcCountryAll, "button", "국가 선택"},
            {res::kIdcModeAll, "radio button", "전곡듣기"},
            {res::kIdcVolumeSlider, "slider", "볼륨"},
            {res::kIdcPositionSlider, "slider", "재생 위치"},
            {res::kIdcSearchEdit, "edit", "검색어"},
            {res::kIdcResultList, "tree", "검색 결과"},
            {res::kIdcPlaylist, "tree", "재생목록"},
        };
        for (const Expected& e : expected) {
            plat::Window* control = d.Child(e.id);
            ASSERT_NE(control, nullptr) << e.id;
            const plat::testing::AccessibleView view = ReadAccessible(*control);
            EXPECT_EQ(view.role, e.role) << e.id;
            EXPECT_EQ(view.name, e.name) << e.id;
        }
        // A combo box is named by its shown item on Linux (Qt names it by a label beside it);
        // what it chooses goes into its description.
        const plat::testing::AccessibleView combo = ReadAccessible(d.CountryCombo());
        EXPECT_EQ(combo.role, "combo box");
        EXPECT_EQ(combo.name, "통합");
        EXPECT_TRUE(ReadAccessible(*d.Child(res::kIdcModeAll)).checked);
        EXPECT_FALSE(ReadAccessible(*d.Child(res::kIdcModeOne)).checked);
        EXPECT_TRUE(ReadAccessible(d.VolumeSlider()).hasValue);
        // No shown button is left without a name.
        for (const plat::Window* child : d.Children()) {
            auto* button = dynamic_cast<const plat::OwnerDrawButton*>(child);
            if (button != nullptr && button->IsVisible()) {
                EXPECT_NE(ReadAccessible(*const_cast<plat::Window*>(child)).name, "")
                    << child->ControlId();
            }
        }
    });
}

TEST_F(AccessibilityTest, ResultAndPlaylistRowsReadAsNumberTitleAndPlayTime) {
    RunShown([](CTunovaDlg& d) {
        ASSERT_EQ(d.ResultList().ItemCount(), 3);  // the day's chart
        EXPECT_EQ(plat::testing::ReadAccessibleRows(d.ResultList()),
                  (std::vector<std::string>{"1, Song 101, 01:41", "2, Song 102, 01:42",
                                            "3, Song 103, 01:43"}));
        Playlist& playlist = d.PlaylistEntries();
        ASSERT_EQ(playlist.AddEntry("봄날의 사랑", "http://x/watch?v=a", 215),
                  Playlist::AddOutcome::kAdded);
        ASSERT_EQ(playlist.AddEntry("Summer Love", "http://x/watch?v=b", 62),
                  Playlist::AddOutcome::kAdded);
        EXPECT_EQ(plat::testing::ReadAccessibleRows(d.PlaylistView()),
                  (std::vector<std::string>{"1, 봄날의 사랑, 03:35", "2, Summer Love, 01:02"}));
        // Numbers follow the rows as they stand.
        d.PlaylistView().SetItemState(-1, 0, plat::kLvisSelected);
        d.PlaylistView().SetItemState(0, plat::kLvisSelected, plat::kLvisSelected);
        playlist.RemoveSelected();
        ASSERT_EQ(d.PlaylistView().ItemCount(), 1);
        EXPECT_EQ(plat::testing::ReadAccessibleRows(d.PlaylistView()),
                  std::vector<std::string>{"1, Summer Love, 01:02"});
    });
}

TEST_F(AccessibilityTest, TabGoesThroughTheMainControlsInOrderAndEnterPresses) {
    RunShown([](CTunovaDlg& d) {
        plat::Application::ProcessEvents();  // what start-up posted (the play mode's check)
        d.SearchEdit().SetFocus();
        std::vector<int> visited;
        for (int i = 0; i < 7; ++i) {
            plat::Window* focused = plat::Window::Focused();
            ASSERT_NE(focused, nullptr);
            plat::testing::PressKey(*focused, plat::kVkTab);
            focused = plat::Window::Focused();
            ASSERT_NE(focused, nullptr);
            visited.push_back(focused->ControlId());
        }
        // Hidden controls (the other countries, more results, pause) are passed over.
        EXPECT_EQ(visited,
                  (std::vector<int>{res::kIdcSearch, res::kIdcCountryAll, res::kIdcResultList,
                                    res::kIdcPlaylist, res::kIdcMoveUp, res::kIdcMoveDown,
                                    res::kIdcDeleteEntries}));
        // Enter, like Space, presses the focused button: play mode "one".
        plat::Window* one = d.Child(res::kIdcModeOne);
        plat::testing::PressKey(*one, plat::kVkReturn);
        plat::Application::ProcessEvents();
        EXPECT_TRUE(ReadAccessible(*one).checked);
        EXPECT_FALSE(ReadAccessible(*d.Child(res::kIdcModeAll)).checked);
        plat::Window* random = d.Child(res::kIdcModeRandom);
        plat::testing::PressKey(*random, plat::kVkSpace);
        plat::Application::ProcessEvents();
        EXPECT_TRUE(ReadAccessible(*random).checked);
        EXPECT_FALSE(ReadAccessible(*one).checked);
    });
}

}  // namespace
}  // namespace tunova::testing
