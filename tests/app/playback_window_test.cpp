// Playback through the real main window on a player page that plays on the manual clock: a
// search's row double-clicked plays, the displays follow the page, the buttons and the sliders
// reach the page, the end of a video with an empty playlist clears the display, and a single
// click cues a result once the player has ended.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/desktop/clipboard.h"
#include "platform/window/application.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

class PlaybackWindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        UseHost(server.Host());
        server.Serve(ResultsPage(20, 1, 20));  // "Song N", N seconds long, id "vN"
    }
    void TearDown() override {
        UseHost(kNoHost);
        MainWindowTest::TearDown();
    }
    // Brings the page to ready and shows the rows of a search.
    void ReadyWithRows(CTunovaDlg& d) {
        clock.Advance(res::kTimerPageProbe.periodMs + res::kTimerPageReady.periodMs);
        ASSERT_TRUE(d.Playback().pageReady);
        d.SearchEdit().SetFocus();
        plat::testing::TypeText(d.SearchEdit(), "song");
        plat::testing::PressKey(d.SearchEdit(), plat::kVkReturn);
        ASSERT_TRUE(PumpUntil([&] { return !d.Search().IsSearchRunning(); }, 10000));
        ASSERT_EQ(d.ResultList().ItemCount(), 20);
    }
    static plat::Point RowPoint(CTunovaDlg& d, int row) {
        const plat::Rect rect = d.ResultList().ItemRect(row);
        return {rect.left + 60, (rect.top + rect.bottom) / 2};
    }
    void DoubleClickRow(CTunovaDlg& d, int row) {
        plat::testing::MouseDoubleClick(d.ResultList(), RowPoint(d, row));
        plat::Application::ProcessEvents();
    }
    bool Called(const std::string& call) const {
        return std::find(page.calls.begin(), page.calls.end(), call) != page.calls.end();
    }
    LoopbackServer server;
};

TEST_F(PlaybackWindowTest, DoubleClickingAResultPlaysItAndTheDisplaysFollow) {
    RunShown([this](CTunovaDlg& d) {
        ReadyWithRows(d);
        page.calls.clear();
        DoubleClickRow(d, 11);  // "Song 12"; its link keeps the feed's "&amp;", split at ';'
        EXPECT_TRUE(Called("loadNewVideo(v12&amp,feature=youtube_gdata,1)"));
        EXPECT_EQ(page.state, 1);
        EXPECT_EQ(d.Playback().nowPlayingTitle, "Song 12");
        EXPECT_EQ(d.Playback().durationText, "00:12");
        EXPECT_EQ(d.PlaylistView().HighlightTitle(), "noplayingitem");
        EXPECT_FALSE(d.Child(res::kIdcPlay)->IsVisible());
        EXPECT_TRUE(d.Child(res::kIdcPause)->IsVisible());
        EXPECT_EQ(d.PositionSlider().Maximum(), 12);

        clock.Advance(3000);
        EXPECT_EQ(d.Playback().currentTimeText, "00:00:03");
        EXPECT_EQ(d.PositionSlider().GetPosition(), 3);
        EXPECT_EQ(d.Playback().playerState, 1);
    });
}

// While a video plays the right-click menu offers to copy its title and watch link; before
// anything plays it does not (InputRulesTest checks that menu).
TEST_F(PlaybackWindowTest, TheRightClickMenuCopiesWhatPlays) {
    RunShown([this](CTunovaDlg& d) {
        ReadyWithRows(d);
        DoubleClickRow(d, 11);
        ASSERT_EQ(d.Playback().nowPlayingTitle, "Song 12");
        plat::SetClipboardText("before");
        menuChoice = res::kCmdCopyNowPlaying;
        plat::testing::MouseDown(d.PlaylistView(), {3, 4}, 2);
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_EQ(menus[0].items[0].id, res::kCmdCopyNowPlaying);
        EXPECT_EQ(menus[0].items.size(), 8u);
        plat::Application::ProcessEvents();
        EXPECT_EQ(plat::ClipboardText(), "Song 12\n" + d.Playback().nowPlayingLink);
    });
}

TEST_F(PlaybackWindowTest, TransportButtonsReachThePage) {
    RunShown([this](CTunovaDlg& d) {
        ReadyWithRows(d);
        DoubleClickRow(d, 15);
        clock.Advance(1000);
        page.calls.clear();

        plat::testing::MouseClick(*d.Child(res::kIdcPause), {5, 5});
        EXPECT_EQ(page.state, 2);
        EXPECT_TRUE(d.Child(res::kIdcPlay)->IsVisible());
        clock.Advance(500);
        EXPECT_EQ(d.Playback().playerState, 2);
        plat::testing::MouseClick(*d.Child(res::kIdcPlay), {5, 5});
        EXPECT_EQ(page.state, 1);
        plat::testing::MouseClick(*d.Child(res::kIdcMute), {5, 5});
        EXPECT_TRUE(page.muted);
        EXPECT_TRUE(d.Child(res::kIdcUnmute)->IsVisible());
        plat::testing::MouseClick(*d.Child(res::kIdcUnmute), {5, 5});
        EXPECT_FALSE(page.muted);
        d.SendCommand(res::kIdcVolumeDown);
        EXPECT_EQ(page.volume, 35);  // the stored 40 was applied by timer 10
        d.SendCommand(res::kIdcSeekStart);
        EXPECT_TRUE(Called("seekTo(0)"));
        d.SendCommand(res::kIdcStop);
        EXPECT_EQ(d.Playback().nowPlayingTitle, "");
        EXPECT_EQ(page.state, 1) << "stop leaves the page playing";
    });
}

TEST_F(PlaybackWindowTest, DraggingTheSlidersSeeksAndSetsTheVolume) {
    RunShown([this](CTunovaDlg& d) {
        ReadyWithRows(d);
        DoubleClickRow(d, 19);  // "Song 20", 20 seconds
        page.calls.clear();

        // The position thumb sits at the left end; dragged to the middle it seeks to second 10.
        CSkinSlider& position = d.PositionSlider();
        const int y = position.ClientRect().Height() / 2;
        const int middle = position.ThumbCentreFor(10);
        plat::testing::MouseDown(position, {position.ThumbCentreFor(0), y});
        plat::testing::MouseMove(position, {middle, y}, 1);
        plat::Application::ProcessEvents();
        EXPECT_FALSE(d.HasTimer(res::kTimerPosition.id)) << "the thumb stops following";
        plat::testing::MouseUp(position, {middle, y});
        plat::Application::ProcessEvents();
        EXPECT_EQ(position.GetPosition(), 10);
        EXPECT_TRUE(Called("seekTo(10)"));
        EXPECT_EQ(d.Playback().seekPosition, 10);
        EXPECT_TRUE(d.HasTimer(res::kTimerPosition.id));
        clock.Advance(1000);
        EXPECT_EQ(d.Playback().currentTimeText, "00:00:11");

        // A press beside the volume thumb moves it there and sets the volume at once.
        CSkinSlider& volume = d.VolumeSlider();
        const int width = volume.ClientRect().Width();
        plat::testing::MouseDown(volume, {width - 5, 2});
        plat::Application::ProcessEvents();
        const int set = volume.GetPosition();
        EXPECT_GT(set, 90);
        EXPECT_EQ(d.Playback().volume, set);
        EXPECT_EQ(page.volume, set);
        plat::testing::MouseMove(volume, {-50, 2}, 1);  // past the left end
        plat::testing::MouseUp(volume, {-50, 2});
        plat::Application::ProcessEvents();
        EXPECT_EQ(volume.GetPosition(), 0);
        EXPECT_EQ(page.volume, 0);
    });
}

TEST_F(PlaybackWindowTest, AnEndWithAnEmptyPlaylistClearsTheDisplayAndAClickThenCues) {
    RunShown([this](CTunovaDlg& d) {
        ReadyWithRows(d);
        clock.Advance(res::kTimerVolumeRestore.periodMs);  // the player is initialised
        ASSERT_TRUE(d.Playback().playerInitialised);
        // The first click while a video plays moves the video up a pixel and cues nothing.
        const int heightBefore = d.Page().VideoWindow().WindowRect().Height();
        page.lengths["v3"] = 3;
        DoubleClickRow(d, 2);                     // "Song 3", 3 seconds
        clock.Advance(res::kTimerPoll.periodMs);  // the poll sees it playing
        page.calls.clear();
        plat::testing::MouseClick(d.ResultList(), RowPoint(d, 4));
        EXPECT_FALSE(Called("cueNewVideo(v5&amp,feature=youtube_gdata,1)"));
        EXPECT_TRUE(d.Playback().firstClickAdjustmentDone);
        EXPECT_EQ(d.Page().VideoWindow().WindowRect().Height(), heightBefore - 2)
            << "the volume restore and the first click each take a pixel";

        clock.Advance(3000);
        EXPECT_EQ(d.Playback().playerState, 0);
        EXPECT_EQ(d.Playback().nowPlayingTitle, "");
        EXPECT_EQ(d.Playback().durationText, "");
        EXPECT_TRUE(d.Child(res::kIdcPlay)->IsVisible());

        // After the end a click cues the result.
        plat::testing::MouseClick(d.ResultList(), RowPoint(d, 4));
        EXPECT_TRUE(Called("cueNewVideo(v5&amp,feature=youtube_gdata,1)"));
        EXPECT_EQ(page.state, 5);

        // Next and previous with an empty playlist ask for entries.
        boxes.clear();
        d.SendCommand(res::kIdcNext);
        d.SendCommand(res::kIdcPrevious);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text, "나의 리스트에 재생하실 동영상을 추가해 주세요");
        EXPECT_EQ(boxes[0].caption, "Tunova");
    });
}

}  // namespace
}  // namespace tunova::testing
