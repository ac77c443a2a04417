// The whole road through the real program, on each player engine (tunova.conf's player_engine):
// the companion server with its clips, the engine, a typed search, a double-click on a row, and
// the time moving; two playlist entries that play one after the other; the engine dying and
// coming back; a clip gone from the library passed over. Timers run on the manual clock; the
// engine plays in real time.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "main_window_fixture.h"
#include "platform/core/data_dir.h"
#include "platform/window/application.h"
#include "support/companion_server.h"
#include "support/loopback_server.h"
#include "support/player_engines.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

class PlaybackEndToEndTest : public MainWindowTest,
                             public ::testing::WithParamInterface<PlayerEngine> {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::ofstream(ConfPath()) << "player_engine=" << GetParam().name << "\n";
        server = std::make_unique<CompanionServer>(Clips());
        ASSERT_TRUE(server->Running()) << server->Error();
        UseHost(server->Host());
    }
    static std::string ConfPath() { return TestDataDir() + "/tunova.conf"; }
    // The clips' lengths in seconds.
    virtual std::vector<int> Clips() const { return {8, 3}; }
    void TearDown() override {
        UseHost(kNoHost);
        server.reset();
        // The window saved the playlist at its exit; the next window in this process starts
        // without it.
        std::remove(plat::DataFile(kPlaylistFileName).c_str());
        std::remove(ConfPath().c_str());
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
        ASSERT_TRUE(d.Playback().pageReady);
        d.SearchEdit().SetFocus();
        plat::testing::TypeText(d.SearchEdit(), "tunovaclip");
        plat::testing::PressKey(d.SearchEdit(), plat::kVkReturn);
        ASSERT_TRUE(PumpUntil([&] { return !d.Search().IsSearchRunning(); }, 10000));
        ASSERT_EQ(d.ResultList().ItemCount(), static_cast<int>(Clips().size()));
    }
    static int RowTitled(CTunovaDlg& d, const std::string& title) {
        for (int row = 0; row < d.ResultList().ItemCount(); ++row) {
            if (d.ResultList().ItemText(row, 1) == title) {
                return row;
            }
        }
        return -1;
    }
    std::unique_ptr<CompanionServer> server;
};

TEST_P(PlaybackEndToEndTest, ADoubleClickedResultPlaysAndItsTimeMovesInBothViews) {
    CTunovaDlg dlg(Services());  // the real player engine
    Run(dlg, [this](CTunovaDlg& d) {
        ReadyWithClips(d);
        const int row = RowTitled(d, "Clip 1");
        ASSERT_GE(row, 0);
        const plat::Rect rect = d.ResultList().ItemRect(row);
        plat::testing::MouseDoubleClick(d.ResultList(),
                                        {rect.left + 60, (rect.top + rect.bottom) / 2});
        EXPECT_EQ(d.Playback().nowPlayingTitle, "Clip 1");
        EXPECT_EQ(d.Playback().durationText, "00:08");

        std::string first;
        for (int i = 0; i < 100 && first.empty(); ++i) {
            Play(500);
            if (d.Playback().playerState == 1 && d.Playback().currentTimeText != "00:00:00") {
                first = d.Playback().currentTimeText;
            }
        }
        ASSERT_FALSE(first.empty()) << "state " << d.Playback().playerState;
        EXPECT_TRUE(d.Child(res::kIdcPause)->IsVisible());
        std::string later = first;
        for (int i = 0; i < 40 && later == first; ++i) {
            Play(500);
            later = d.Playback().currentTimeText;
        }
        EXPECT_GT(later, first);
        EXPECT_GT(d.PositionSlider().GetPosition(), 0);

        // A double-click on the picture shows the video big, and it goes on playing there.
        plat::Window& video = d.Page().VideoWindow();
        const int normalWidth = video.WindowRect().Width();
        const plat::Rect area = video.ClientRect();
        plat::testing::MouseDoubleClick(video, {area.Width() / 2, area.Height() / 2});
        EXPECT_FALSE(d.View().listShown);
        EXPECT_GT(video.WindowRect().Width(), normalWidth * 2);
        const long frames = GetParam().framesShown(d.Page());
        Play(1000);
        EXPECT_GT(GetParam().framesShown(d.Page()), frames);
        EXPECT_EQ(d.Playback().playerState, 1);
    });
}

TEST_P(PlaybackEndToEndTest, TwoPlaylistEntriesInModeAllPlayOneAfterTheOther) {
    CTunovaDlg dlg(Services());
    Run(dlg, [this](CTunovaDlg& d) {
        ReadyWithClips(d);
        for (const char* title : {"Clip 2", "Clip 1"}) {  // the 3-second clip first
            const int row = RowTitled(d, title);
            ASSERT_GE(row, 0);
            ASSERT_TRUE(d.PlaylistEntries().AddResult(row, d.ResultList(), d.Search().Results(),
                                                      AddVariant::kClick));
        }
        ASSERT_EQ(d.PlaylistView().ItemCount(), 2);
        const int first = d.PlaylistEntries().EntryNumberAt(0);
        const int second = d.PlaylistEntries().EntryNumberAt(1);
        const plat::Rect rect = d.PlaylistView().ItemRect(0);
        plat::testing::MouseDoubleClick(d.PlaylistView(),
                                        {rect.left + 40, (rect.top + rect.bottom) / 2});
        EXPECT_EQ(d.Playback().currentEntryNumber, first);
        EXPECT_EQ(d.Playback().nowPlayingTitle, "Clip 2");
        EXPECT_EQ(d.PlaylistView().HighlightTitle(), "Clip 2");

        // The first plays to its end; the second starts by itself and plays.
        for (int i = 0; i < 60 && d.Playback().currentEntryNumber != second; ++i) {
            Play(500);
        }
        ASSERT_EQ(d.Playback().currentEntryNumber, second) << "state " << d.Playback().playerState;
        EXPECT_EQ(d.Playback().nowPlayingTitle, "Clip 1");
        EXPECT_EQ(d.PlaylistView().HighlightTitle(), "Clip 1");
        EXPECT_EQ(d.Playback().durationText, "00:08");
        bool moving = false;
        for (int i = 0; i < 60 && !moving; ++i) {
            Play(500);
            moving = d.Playback().playerState == 1 && d.Playback().currentTimeText != "00:00:00";
        }
        EXPECT_TRUE(moving) << "state " << d.Playback().playerState;
    });
}

// The engine dies while a muted video plays (the page's renderer is killed; libmpv's core is told
// to quit): it comes back, the video goes on from about where it was, muted and at the window's
// volume, and the window still shows it.
TEST_P(PlaybackEndToEndTest, AfterTheEngineDiesTheVideoGoesOnMutedAtItsVolume) {
    CTunovaDlg dlg(Services());
    Run(dlg, [this](CTunovaDlg& d) {
        ReadyWithClips(d);
        const int row = RowTitled(d, "Clip 1");
        ASSERT_GE(row, 0);
        const plat::Rect rect = d.ResultList().ItemRect(row);
        plat::testing::MouseDoubleClick(d.ResultList(),
                                        {rect.left + 60, (rect.top + rect.bottom) / 2});
        for (int i = 0; i < 60 && d.Playback().currentTimeText < "00:00:02"; ++i) {
            Play(500);
        }
        ASSERT_GE(d.Playback().currentTimeText, "00:00:02") << "state " << d.Playback().playerState;
        d.SendCommand(res::kIdcMute);
        const std::string before = d.Playback().currentTimeText;

        if (auto* mpv = dynamic_cast<MpvPage*>(&d.Page())) {
            ASSERT_TRUE(mpv->Video().Command({"quit"}));
        } else {
            const std::int64_t renderer = d.Page().HelperProcessId();
            ASSERT_GT(renderer, 0);
            ASSERT_EQ(kill(static_cast<pid_t>(renderer), SIGKILL), 0);
        }
        ASSERT_TRUE(
            PumpUntil([&] { return d.Page().PageLoads() == 2 && d.Page().IsPageLoaded(); }, 30000));
        bool going = false;
        for (int i = 0; i < 40 && !going; ++i) {
            Play(500);
            going = d.Playback().playerState == 1 && d.Playback().currentTimeText >= before;
        }
        EXPECT_TRUE(going) << "state " << d.Playback().playerState << " at "
                           << d.Playback().currentTimeText;
        const PlayerEngine& engine = GetParam();
        EXPECT_TRUE(engine.muted(d.Page()));
        EXPECT_DOUBLE_EQ(engine.outputVolume(d.Page()), 0.4);
        const std::string src = engine.source(d.Page());
        EXPECT_NE(src.find(server->VideoIds()[0]), std::string::npos) << src;
        EXPECT_EQ(d.Playback().nowPlayingTitle, "Clip 1");
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
TEST_P(ThreeClipsEndToEndTest, AClipGoneFromTheLibraryIsPassedOverInModeAll) {
    CTunovaDlg dlg(Services());
    Run(dlg, [this](CTunovaDlg& d) {
        ReadyWithClips(d);
        for (const char* title : {"Clip 1", "Clip 2", "Clip 3"}) {
            const int row = RowTitled(d, title);
            ASSERT_GE(row, 0);
            ASSERT_TRUE(d.PlaylistEntries().AddResult(row, d.ResultList(), d.Search().Results(),
                                                      AddVariant::kClick));
        }
        ASSERT_TRUE(server->DeleteClip(0));
        ASSERT_EQ(d.Playback().playMode, kPlayModeAll);
        const int second = d.PlaylistEntries().EntryNumberAt(1);
        const plat::Rect rect = d.PlaylistView().ItemRect(0);
        plat::testing::MouseDoubleClick(d.PlaylistView(),
                                        {rect.left + 40, (rect.top + rect.bottom) / 2});
        ASSERT_EQ(d.Playback().nowPlayingTitle, "Clip 1");
        ASSERT_EQ(d.PlaylistView().HighlightTitle(), "Clip 1");

        int waited = 0;
        for (; waited < 20000 && d.Playback().currentEntryNumber != second; waited += 500) {
            Play(500);
        }
        ASSERT_EQ(d.Playback().currentEntryNumber, second) << "state " << d.Playback().playerState;
        EXPECT_LE(waited, res::kTimerHoldRelease.periodMs + 1000);
        EXPECT_EQ(d.PlaylistView().HighlightTitle(), "Clip 2");
        EXPECT_EQ(d.Playback().nowPlayingTitle, "Clip 2");
        bool moving = false;
        for (int i = 0; i < 60 && !moving; ++i) {
            Play(500);
            moving = d.Playback().playerState == 1 && d.Playback().currentTimeText != "00:00:00";
        }
        EXPECT_TRUE(moving) << "state " << d.Playback().playerState;
        EXPECT_EQ(d.Playback().currentEntryNumber, second);
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, PlaybackEndToEndTest, ::testing::ValuesIn(PlayerEngines()),
                         EngineName);
INSTANTIATE_TEST_SUITE_P(Engines, ThreeClipsEndToEndTest, ::testing::ValuesIn(PlayerEngines()),
                         EngineName);

}  // namespace
}  // namespace tunova::testing
