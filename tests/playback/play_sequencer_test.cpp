// Play sequencing on the manual clock: a page that plays like the real one (its videos end when
// their length is reached), the real playlist with its view, and real search results. Covers
// which entry plays in each mode, at the end of a video and on next and previous, the playing
// mark, the play command, and the cases where the playlist and the current entry disagree.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "lists/playlist.h"
#include "platform/testing/testing.h"
#include "playback/play_sequencer.h"
#include "player_rig.h"
#include "search/result_list.h"
#include "search/result_store.h"

namespace tunova::testing {
namespace {

constexpr int kHoldMs = 4000;  // a started entry does not advance sooner

struct SequencerRig : PlayerRigOf<FakePlayerPage> {
    plat::ListView resultList;
    CSkinList playlistView;
    plat::ImageList resultImages;
    ResultStore results;
    Playlist playlist;
    PlaySequencer sequencer{
        controller, bridge, state,
        view,       window, SequencerSources{playlist, playlistView, results, resultList},
        clock};
    std::vector<plat::testing::ShownMessageBox> boxes;

    SequencerRig() {
        resultList.Create(&window, res::kIdcResultList, plat::Rect::FromXYWH(0, 100, 400, 100));
        playlistView.Create(&window, res::kIdcPlaylist, plat::Rect::FromXYWH(0, 200, 400, 100));
        SetupResultList(resultList, resultImages);
        playlist.Bind(playlistView);
        playlist.SetupView();
        controller.SetQueue(&sequencer);
        plat::testing::InterceptMessageBoxes([this](const plat::testing::ShownMessageBox& box) {
            boxes.push_back(box);
            return 1;
        });
        state.pageReady = true;
        state.playerInitialised = true;
    }
    ~SequencerRig() { plat::testing::InterceptMessageBoxes(nullptr); }

    // Shows results "A", "B", ... of `seconds` each and adds the first `entries` of them to the
    // playlist: entry numbers 1, 2, ... in that order.
    void Fill(int count, int entries, int seconds = 10) {
        std::vector<VideoItem> items;
        for (int i = 0; i < count; ++i) {
            const std::string title(1, static_cast<char>('A' + i));
            items.push_back(
                {title, "http://host/watch?v=" + title, "2009-01-01T00:00:00.000Z", "", seconds});
        }
        Show(items, entries);
    }
    void Show(const std::vector<VideoItem>& items, int entries) {
        FeedPage feed;
        feed.read = true;
        feed.totalResultCount = static_cast<int>(items.size());
        feed.startIndex = 1;
        feed.pageCount = feed.totalResultCount;
        feed.items = items;
        for (const VideoItem& item : items) {
            page.lengths[std::string(VideoIdOf(item.link))] = item.seconds;
        }
        results.TakeSearchPage(feed, false);
        FillResultList(results, resultList, FillMode::kReplace);
        for (int row = 0; row < entries; ++row) {
            playlist.AddResult(row, resultList, results, AddVariant::kClick);
        }
        playlistView.SetItemState(-1, 0, plat::kLvisSelected);
    }
    // The id the page plays (or has cued).
    const std::string& Playing() const { return page.loadedId; }
    // Lets the playing video reach its end and the poll see it.
    void PlayToEnd() {
        page.NearEnd(0.1);
        clock.Advance(res::kTimerPoll.periodMs * 2);
    }
    // The title the playlist view draws as playing.
    std::string Mark() const { return playlistView.HighlightTitle(); }
};

TEST(PlaySequencer, ModeAllPlaysTheListThroughAndWrapsToTheFirstRow) {
    SequencerRig rig;
    rig.Fill(3, 3);
    ASSERT_TRUE(rig.sequencer.StartEntry(2));
    EXPECT_EQ(rig.Playing(), "B");
    EXPECT_EQ(rig.state.currentEntryNumber, 2);
    EXPECT_EQ(rig.state.nowPlayingTitle, "B");
    EXPECT_EQ(rig.Mark(), "B");

    // The end within the hold after the start does not advance; after it, the next row plays.
    rig.page.NearEnd(0.1);
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.page.state, 0);
    EXPECT_EQ(rig.Playing(), "B") << "held for 4 s after the start";
    rig.clock.Advance(kHoldMs);
    EXPECT_EQ(rig.Playing(), "C");
    EXPECT_EQ(rig.state.currentEntryNumber, 3);
    EXPECT_EQ(rig.page.state, 1);

    rig.clock.Advance(kHoldMs);
    rig.PlayToEnd();
    EXPECT_EQ(rig.Playing(), "A") << "the last row wraps to the first";
    EXPECT_EQ(rig.Mark(), "A");
}

TEST(PlaySequencer, AResultPlaysWithoutTheMarkAndItsEndContinuesInThePlaylist) {
    SequencerRig rig;
    rig.Fill(4, 2);
    rig.sequencer.PlayResult(3);
    EXPECT_EQ(rig.Playing(), "D");
    EXPECT_EQ(rig.state.currentEntryNumber, -1);
    EXPECT_EQ(rig.Mark(), "noplayingitem");
    rig.PlayToEnd();  // no hold after a result
    EXPECT_EQ(rig.Playing(), "A") << "no entry started yet: the first row";

    // A result between entries leaves the current entry, and its end moves on from there.
    rig.clock.Advance(kHoldMs);
    rig.sequencer.PlayResult(2);
    rig.PlayToEnd();
    EXPECT_EQ(rig.Playing(), "B");
}

// A video the page cannot play counts as its end, once; when every entry has failed in a row,
// playback stops and the title display says so. A start the user asks for tries again.
TEST(PlaySequencer, FailedVideosAreEndsAndAListOfFailuresStops) {
    SequencerRig rig;
    rig.Fill(3, 3);
    rig.page.broken = {"A"};
    rig.sequencer.PlayPlaylistRow(0);
    rig.clock.Advance(kHoldMs);
    EXPECT_EQ(rig.Playing(), "B");
    EXPECT_EQ(rig.Mark(), "B");
    EXPECT_EQ(rig.state.nowPlayingTitle, "B");

    rig.page.broken = {"A", "B", "C"};
    const auto loads = [&] {
        int n = 0;
        for (const std::string& call : rig.page.Take()) {
            n += call.rfind("loadNewVideo", 0) == 0 ? 1 : 0;
        }
        return n;
    };
    loads();
    rig.sequencer.PlayPlaylistRow(0);
    rig.clock.Advance(3 * kHoldMs + 20000);
    EXPECT_EQ(loads(), 3) << "each entry tried once";
    EXPECT_EQ(rig.state.nowPlayingTitle, "재생할 수 있는 동영상이 없습니다");
    EXPECT_EQ(rig.state.durationText, "");
    EXPECT_TRUE(rig.ShowsPlay());
    EXPECT_EQ(rig.Mark(), "noplayingitem");

    // Play tries the list again; mode one stops at the first failure instead of retrying it.
    rig.controller.Play();
    EXPECT_EQ(rig.Playing(), "A");
    rig.sequencer.SetPlayMode(res::kIdcModeOne);
    rig.clock.Advance(kHoldMs + 5000);
    EXPECT_EQ(loads(), 1);
    EXPECT_EQ(rig.state.nowPlayingTitle, "재생할 수 있는 동영상이 없습니다");
}

TEST(PlaySequencer, ModeOneReplaysOnNextAndPreviousGoesUpButNeverWraps) {
    SequencerRig rig;
    rig.Fill(4, 4);
    rig.sequencer.SetPlayMode(res::kIdcModeOne);
    EXPECT_EQ(rig.state.playMode, kPlayModeOne);
    EXPECT_EQ(rig.view.Count("mode"), 1);
    rig.sequencer.StartEntry(4);
    rig.page.Take();
    rig.sequencer.Next();
    EXPECT_EQ(rig.page.Take(), std::vector<std::string>{"loadNewVideo(D,1)"});
    rig.sequencer.Previous();
    EXPECT_EQ(rig.Playing(), "C");
    rig.sequencer.Previous();
    EXPECT_EQ(rig.Playing(), "B");
    rig.sequencer.Previous();
    EXPECT_EQ(rig.Playing(), "A") << "from the second row: the first";
    rig.sequencer.Previous();
    EXPECT_EQ(rig.Playing(), "A") << "from the first row: the first again, not the last";

    // The end of the video replays it in mode one.
    rig.clock.Advance(kHoldMs);
    rig.page.Take();
    rig.PlayToEnd();
    EXPECT_EQ(rig.page.Take().front(), "getCurrentTime()");
    EXPECT_EQ(rig.Playing(), "A");
    EXPECT_EQ(rig.page.state, 1);
}

TEST(PlaySequencer, ModeRandomAlternatesBetweenTwoRowsWhileTheTickStandsStill) {
    SequencerRig rig;
    rig.Fill(2, 2);
    rig.sequencer.SetPlayMode(res::kIdcModeRandom);
    rig.sequencer.StartEntry(1);
    // Two rows alternate, also while the tick count stands still.
    for (int i = 0; i < 6; ++i) {
        rig.sequencer.Next();
        EXPECT_EQ(rig.Playing(), i % 2 == 0 ? "B" : "A");
    }
    rig.sequencer.Previous();
    EXPECT_EQ(rig.Playing(), "B");
}

TEST(PlaySequencer, RandomRowsOfALongerListAvoidTheCurrentRowAndReachTheOthers) {
    SequencerRig rig;
    rig.Fill(5, 5);
    rig.sequencer.StartEntry(3);  // row 2
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        const int row = rig.sequencer.RandomRow();
        ASSERT_NE(row, 2);
        ASSERT_GE(row, 0);
        ASSERT_LT(row, 5);
        seen.insert(row);
    }
    EXPECT_EQ(seen.size(), 4u);
}

TEST(PlaySequencer, OneRowReplaysInRandomAndAnEmptyListResetsTheDisplay) {
    SequencerRig rig;
    rig.Fill(1, 1);
    rig.sequencer.SetPlayMode(res::kIdcModeRandom);
    rig.sequencer.StartEntry(1);
    rig.clock.Advance(kHoldMs);
    rig.page.Take();
    rig.PlayToEnd();
    EXPECT_EQ(rig.Playing(), "A");
    EXPECT_EQ(rig.page.state, 1);

    rig.playlistView.SetItemState(0, plat::kLvisSelected, plat::kLvisSelected);
    rig.playlist.RemoveSelected();
    EXPECT_EQ(rig.sequencer.RandomRow(), -1);
    rig.clock.Advance(kHoldMs);
    rig.page.Take();
    rig.PlayToEnd();
    for (const std::string& call : rig.page.Take()) {
        EXPECT_NE(call.rfind("loadNewVideo", 0), 0u) << call;
    }
    EXPECT_EQ(rig.state.nowPlayingTitle, "");
    EXPECT_EQ(rig.state.durationText, "");
    EXPECT_TRUE(rig.ShowsPlay());
}

TEST(PlaySequencer, ADeletedCurrentEntryFallsBackToTheFirstRowAndModeOneStartsNothing) {
    SequencerRig rig;
    rig.Fill(3, 3);
    rig.sequencer.StartEntry(2);
    rig.playlistView.SetItemState(1, plat::kLvisSelected, plat::kLvisSelected);
    rig.playlist.RemoveSelected();
    EXPECT_EQ(rig.state.currentEntryNumber, 2) << "kept when its entry goes";
    EXPECT_FALSE(rig.sequencer.StartEntry(2));

    rig.sequencer.SetPlayMode(res::kIdcModeOne);
    rig.page.Take();
    rig.sequencer.Next();
    EXPECT_TRUE(rig.page.Take().empty());
    rig.sequencer.SetPlayMode(res::kIdcModeAll);
    rig.sequencer.Next();
    EXPECT_EQ(rig.Playing(), "A");
    rig.sequencer.StartEntry(3);
    rig.playlistView.SetItemState(-1, 0, plat::kLvisSelected);
    rig.playlistView.SetItemState(1, plat::kLvisSelected, plat::kLvisSelected);
    rig.playlist.RemoveSelected();
    rig.sequencer.Previous();
    EXPECT_EQ(rig.Playing(), "A");
}

TEST(PlaySequencer, RowsAreFollowedByEntryNumberAfterAMove) {
    SequencerRig rig;
    rig.Fill(3, 3);
    rig.playlistView.SetItemState(2, plat::kLvisSelected, plat::kLvisSelected);
    rig.playlist.MoveSelectedUp();  // rows: A, C, B
    rig.sequencer.StartEntry(1);
    rig.sequencer.Next();
    EXPECT_EQ(rig.Playing(), "C");
    EXPECT_EQ(rig.Mark(), "C");
    rig.sequencer.Next();
    EXPECT_EQ(rig.Playing(), "B");
    rig.sequencer.PlayPlaylistRow(0);
    EXPECT_EQ(rig.Playing(), "A");
}

TEST(PlaySequencer, ThePlayCommandStartsTheSelectedOrFirstRowAndAsksForEntriesWhenEmpty) {
    SequencerRig rig;
    rig.Fill(3, 0);
    rig.state.playerState = kPlayerEnded;
    rig.controller.Play();
    rig.sequencer.Next();
    rig.sequencer.Previous();
    ASSERT_EQ(rig.boxes.size(), 3u);
    EXPECT_EQ(rig.boxes[0].text, "나의 리스트에 재생하실 동영상을 추가해 주세요");
    EXPECT_EQ(rig.boxes[0].caption, "Tunova");
    EXPECT_EQ(rig.Playing(), "");

    for (int row = 0; row < 3; ++row) {
        rig.playlist.AddResult(row, rig.resultList, rig.results, AddVariant::kClick);
    }
    rig.playlistView.SetItemState(-1, 0, plat::kLvisSelected);
    rig.controller.Play();
    EXPECT_EQ(rig.Playing(), "A") << "nothing selected: the first row";
    rig.playlistView.SetItemState(2, plat::kLvisSelected, plat::kLvisSelected);
    rig.clock.Advance(500);
    ASSERT_EQ(rig.state.playerState, kPlayerPlaying);
    rig.controller.Play();
    EXPECT_EQ(rig.Playing(), "C") << "play while playing restarts the selected entry";
    EXPECT_EQ(rig.boxes.size(), 3u);
}

// Sorted by title, the rows no longer follow the results: a click cues, and a double-click plays,
// the video whose title the row shows.
TEST(PlaySequencer, AClickOnASortedRowCuesTheVideoItShows) {
    SequencerRig rig;
    rig.Fill(3, 0);
    std::vector<std::string> titles;
    for (int row = 0; row < 3; ++row) {
        titles.push_back(rig.resultList.ItemText(row, 1));
    }
    rig.resultList.SortItems([&](int a, int b) { return titles[a] > titles[b]; });  // C, B, A
    ASSERT_EQ(rig.resultList.ItemText(0, 1), "C");
    rig.state.playerState = kPlayerEnded;
    rig.sequencer.CueResult(0);
    EXPECT_EQ(rig.Playing(), "C");
    EXPECT_EQ(rig.page.state, kPlayerCued);
    rig.state.playerState = kPlayerCued;
    rig.sequencer.CueResult(1);
    EXPECT_EQ(rig.Playing(), "B");
    rig.sequencer.PlayResult(2);
    EXPECT_EQ(rig.Playing(), "A");
    EXPECT_EQ(rig.state.nowPlayingTitle, "A");
}

TEST(PlaySequencer, NothingStartsBeforeThePageIsReady) {
    SequencerRig rig;
    rig.Fill(2, 2);
    rig.state.pageReady = false;
    rig.page.Take();
    rig.sequencer.Next();
    rig.sequencer.Previous();
    rig.sequencer.PlayPlaylistRow(0);
    rig.sequencer.PlayResult(0);
    EXPECT_TRUE(rig.page.Take().empty());
    EXPECT_EQ(rig.state.currentEntryNumber, -1);
}

TEST(PlaySequencer, AnEntryShowsTheTitleAndLengthOfTheFirstEntryWithItsLink) {
    SequencerRig rig;
    // Two titles of one video: the second entry shows the first one's title and length.
    rig.Show({{"First", "http://host/watch?v=same", "", "", 3725},
              {"Second", "http://host/watch?v=same", "", "", 20}},
             2);
    EXPECT_TRUE(rig.sequencer.StartEntry(2));
    EXPECT_EQ(rig.Playing(), "same");
    EXPECT_EQ(rig.state.nowPlayingTitle, "First");
    EXPECT_EQ(rig.state.durationText, "62:05");
    EXPECT_EQ(rig.positionSlider.Maximum(), 3725);
    EXPECT_EQ(rig.Mark(), "Second") << "the mark follows the entry started";
    EXPECT_FALSE(rig.sequencer.StartEntry(0));
    EXPECT_FALSE(rig.sequencer.StartEntry(77));
    EXPECT_EQ(rig.state.currentEntryNumber, 2);
}

}  // namespace
}  // namespace tunova::testing
