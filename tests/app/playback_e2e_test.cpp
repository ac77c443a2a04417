// The whole road through the real program: the companion server with its clips, the player
// page in the web engine, a typed search, a double-click on a row, and the time moving; two
// playlist entries that play one after the other; a clip gone from the library passed over.
// Timers run on the manual clock; the page plays in real time.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <memory>
#include <string>

#include "main_window_fixture.h"
#include "platform/application.h"
#include "platform/data_dir.h"
#include "support/companion_server.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

class PlaybackEndToEndTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        server = std::make_unique<CompanionServer>(Clips());
        ASSERT_TRUE(server->Running()) << server->Error();
        UseHost(server->Host());
    }
    // The clips' lengths in seconds.
    virtual std::vector<int> Clips() const { return {8, 3}; }
    void TearDown() override {
        UseHost(kNoHost);
        server.reset();
        // The window saved the playlist at its exit; the next window in this process starts
        // without it.
        std::remove(plat::DataFile(kPlaylistFileName).c_str());
        MainWindowTest::TearDown();
    }
    // Moves the window's timers on by `ms` while the page plays in real time.
    void Play(int ms) {
        for (int done = 0; done < ms; done += 100) {
            clock.Advance(100);
            PumpUntil([] { return false; }, 100);
        }
    }
    // Shows the window, waits for the page and its readiness, and searches the clips.
    void ReadyWithClips(CTunovaDlg& d) {
        clock.Advance(res::kTimerUpdaterWait.periodMs + res::kTimerShowWindow.periodMs);
        ASSERT_TRUE(PumpUntil([&] { return d.Page().IsPageLoaded(); }, 30000));
        clock.Advance(res::kTimerPageProbe.periodMs + res::kTimerPageReady.periodMs);
        ASSERT_TRUE(d.playback.pageReady);
        d.searchEdit.SetFocus();
        plat::testing::TypeText(d.searchEdit, "tunovaclip");
        plat::testing::PressKey(d.searchEdit, plat::kVkReturn);
        ASSERT_TRUE(PumpUntil([&] { return !d.Search().IsSearchRunning(); }, 10000));
        ASSERT_EQ(d.resultList.ItemCount(), static_cast<int>(Clips().size()));
    }
    static int RowTitled(CTunovaDlg& d, const std::string& title) {
        for (int row = 0; row < d.resultList.ItemCount(); ++row) {
            if (d.resultList.ItemText(row, 1) == title) {
                return row;
            }
        }
        return -1;
    }
    std::unique_ptr<CompanionServer> server;
};

TEST_F(PlaybackEndToEndTest, ADoubleClickedResultPlaysAndItsTimeMoves) {
    CTunovaDlg dlg;  // the real player page, loaded by the browser control
    Run(dlg, [this](CTunovaDlg& d) {
        ReadyWithClips(d);
        const int row = RowTitled(d, "Clip 1");
        ASSERT_GE(row, 0);
        const plat::Rect rect = d.resultList.ItemRect(row);
        plat::testing::MouseDoubleClick(d.resultList,
                                        {rect.left + 60, (rect.top + rect.bottom) / 2});
        EXPECT_EQ(d.playback.nowPlayingTitle, "Clip 1");
        EXPECT_EQ(d.playback.durationText, "00:08");

        std::string first;
        for (int i = 0; i < 100 && first.empty(); ++i) {
            Play(500);
            if (d.playback.playerState == 1 && d.playback.currentTimeText != "00:00:00") {
                first = d.playback.currentTimeText;
            }
        }
        ASSERT_FALSE(first.empty()) << "state " << d.playback.playerState;
        EXPECT_TRUE(d.Child(res::kIdcPause)->IsVisible());
        std::string later = first;
        for (int i = 0; i < 40 && later == first; ++i) {
            Play(500);
            later = d.playback.currentTimeText;
        }
        EXPECT_GT(later, first);
        EXPECT_GT(d.positionSlider.GetPosition(), 0);
    });
}

TEST_F(PlaybackEndToEndTest, TwoPlaylistEntriesInModeAllPlayOneAfterTheOther) {
    CTunovaDlg dlg;
    Run(dlg, [this](CTunovaDlg& d) {
        ReadyWithClips(d);
        for (const char* title : {"Clip 2", "Clip 1"}) {  // the 3-second clip first
            const int row = RowTitled(d, title);
            ASSERT_GE(row, 0);
            ASSERT_TRUE(d.PlaylistEntries().AddResult(row, d.resultList, d.Search().Results(),
                                                      AddVariant::kClick));
        }
        ASSERT_EQ(d.playlistView.ItemCount(), 2);
        const int first = d.PlaylistEntries().EntryNumberAt(0);
        const int second = d.PlaylistEntries().EntryNumberAt(1);
        const plat::Rect rect = d.playlistView.ItemRect(0);
        plat::testing::MouseDoubleClick(d.playlistView,
                                        {rect.left + 40, (rect.top + rect.bottom) / 2});
        EXPECT_EQ(d.playback.currentEntryNumber, first);
        EXPECT_EQ(d.playback.nowPlayingTitle, "Clip 2");
        EXPECT_EQ(d.playlistView.HighlightTitle(), "Clip 2");

        // The first plays to its end; the second starts by itself and plays.
        for (int i = 0; i < 60 && d.playback.currentEntryNumber != second; ++i) {
            Play(500);
        }
        ASSERT_EQ(d.playback.currentEntryNumber, second) << "state " << d.playback.playerState;
        EXPECT_EQ(d.playback.nowPlayingTitle, "Clip 1");
        EXPECT_EQ(d.playlistView.HighlightTitle(), "Clip 1");
        EXPECT_EQ(d.playback.durationText, "00:08");
        bool moving = false;
        for (int i = 0; i < 60 && !moving; ++i) {
            Play(500);
            moving = d.playback.playerState == 1 && d.playback.currentTimeText != "00:00:00";
        }
        EXPECT_TRUE(moving) << "state " << d.playback.playerState;
    });
}

// The page's renderer dies while a muted video plays: the page is loaded again, the video goes on
// from about where it was, muted and at the window's volume, and the window still shows it.
TEST_F(PlaybackEndToEndTest, AfterARendererCrashTheVideoGoesOnMutedAtItsVolume) {
    CTunovaDlg dlg;
    Run(dlg, [this](CTunovaDlg& d) {
        ReadyWithClips(d);
        const int row = RowTitled(d, "Clip 1");
        ASSERT_GE(row, 0);
        const plat::Rect rect = d.resultList.ItemRect(row);
        plat::testing::MouseDoubleClick(d.resultList,
                                        {rect.left + 60, (rect.top + rect.bottom) / 2});
        for (int i = 0; i < 60 && d.playback.currentTimeText < "00:00:02"; ++i) {
            Play(500);
        }
        ASSERT_GE(d.playback.currentTimeText, "00:00:02") << "state " << d.playback.playerState;
        d.SendCommand(res::kIdcMute);
        const std::string before = d.playback.currentTimeText;

        const std::int64_t renderer = d.Page().HelperProcessId();
        ASSERT_GT(renderer, 0);
        ASSERT_EQ(kill(static_cast<pid_t>(renderer), SIGKILL), 0);
        ASSERT_TRUE(
            PumpUntil([&] { return d.Page().PageLoads() == 2 && d.Page().IsPageLoaded(); }, 30000));
        bool going = false;
        for (int i = 0; i < 40 && !going; ++i) {
            Play(500);
            going = d.playback.playerState == 1 && d.playback.currentTimeText >= before;
        }
        EXPECT_TRUE(going) << "state " << d.playback.playerState << " at "
                           << d.playback.currentTimeText;
        const auto eval = [&](const std::string& expression) {
            return d.Page().CallFunction("eval", {expression}).value;
        };
        EXPECT_TRUE(eval("video.muted").boolValue);
        EXPECT_DOUBLE_EQ(eval("video.volume").doubleValue, 0.4);
        const std::string src = eval("video.getAttribute('src')").text;
        EXPECT_NE(src.find(server->VideoIds()[0]), std::string::npos) << src;
        EXPECT_EQ(d.playback.nowPlayingTitle, "Clip 1");
        EXPECT_TRUE(d.Child(res::kIdcUnmute)->IsVisible());
    });
}

class ThreeClipsEndToEndTest : public PlaybackEndToEndTest {
  protected:
    std::vector<int> Clips() const override { return {8, 8, 3}; }
};

// The first clip of the list is deleted from the library after it was listed: the page reports
// the missing file as soon as the server answers, and once the entry's 4-second hold is over the
// second entry plays and carries the mark.
TEST_F(ThreeClipsEndToEndTest, AClipGoneFromTheLibraryIsPassedOverInModeAll) {
    CTunovaDlg dlg;
    Run(dlg, [this](CTunovaDlg& d) {
        ReadyWithClips(d);
        for (const char* title : {"Clip 1", "Clip 2", "Clip 3"}) {
            const int row = RowTitled(d, title);
            ASSERT_GE(row, 0);
            ASSERT_TRUE(d.PlaylistEntries().AddResult(row, d.resultList, d.Search().Results(),
                                                      AddVariant::kClick));
        }
        ASSERT_TRUE(server->DeleteClip(0));
        ASSERT_EQ(d.playback.playMode, kPlayModeAll);
        const int second = d.PlaylistEntries().EntryNumberAt(1);
        const plat::Rect rect = d.playlistView.ItemRect(0);
        plat::testing::MouseDoubleClick(d.playlistView,
                                        {rect.left + 40, (rect.top + rect.bottom) / 2});
        ASSERT_EQ(d.playback.nowPlayingTitle, "Clip 1");
        ASSERT_EQ(d.playlistView.HighlightTitle(), "Clip 1");

        int waited = 0;
        for (; waited < 20000 && d.playback.currentEntryNumber != second; waited += 500) {
            Play(500);
        }
        ASSERT_EQ(d.playback.currentEntryNumber, second) << "state " << d.playback.playerState;
        EXPECT_LE(waited, res::kTimerHoldRelease.periodMs + 1000);
        EXPECT_EQ(d.playlistView.HighlightTitle(), "Clip 2");
        EXPECT_EQ(d.playback.nowPlayingTitle, "Clip 2");
        bool moving = false;
        for (int i = 0; i < 60 && !moving; ++i) {
            Play(500);
            moving = d.playback.playerState == 1 && d.playback.currentTimeText != "00:00:00";
        }
        EXPECT_TRUE(moving) << "state " << d.playback.playerState;
        EXPECT_EQ(d.playback.currentEntryNumber, second);
    });
}

}  // namespace
}  // namespace tunova::testing
