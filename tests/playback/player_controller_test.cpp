// The player controller against a scripted page on the manual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "player_rig.h"

namespace tunova {
namespace {

using testing::PlayerRig;
using Calls = std::vector<std::string>;
using plat::ScriptValue;
constexpr int kHoldMs = 4000;  // a started playlist entry does not advance sooner

TEST(PlayerController, TransportCommandsSendTheirCallsAndSwapButtons) {
    PlayerRig rig;
    rig.state.pageReady = true;
    rig.controller.StartVideo("http://h/watch?v=abc", "Title", 100, VideoSource::kSearchResult);
    rig.page.Take();
    EXPECT_TRUE(rig.ShowsPause());

    rig.controller.Pause();
    EXPECT_EQ(rig.page.Take(), Calls{"pause()"});
    EXPECT_TRUE(rig.ShowsPlay());

    rig.controller.Mute();
    EXPECT_EQ(rig.page.Take(), Calls{"mute()"});
    EXPECT_TRUE(rig.unmuteButton.IsVisible());
    EXPECT_FALSE(rig.muteButton.IsVisible());
    rig.controller.Unmute();
    EXPECT_EQ(rig.page.Take(), Calls{"unMute()"});
    EXPECT_TRUE(rig.muteButton.IsVisible());
    EXPECT_FALSE(rig.unmuteButton.IsVisible());

    rig.controller.SeekToStart();
    EXPECT_EQ(rig.page.Take(), Calls{"seekTo(0)"});

    // Stop resets the display only; the page keeps playing its video.
    rig.controller.ShowPlaying(true);
    rig.view.asked.clear();
    rig.controller.Stop();
    EXPECT_TRUE(rig.page.Take().empty());
    EXPECT_TRUE(rig.ShowsPlay());
    EXPECT_EQ(rig.state.nowPlayingTitle, "");
    EXPECT_EQ(rig.state.durationText, "");
    EXPECT_EQ(rig.view.asked, (Calls{"title", "duration"}));
}

TEST(PlayerController, BeforeThePageIsReadyNothingReachesIt) {
    PlayerRig rig;
    rig.state.playerState = kPlayerPaused;
    rig.controller.Play();
    rig.controller.Pause();
    rig.controller.Mute();
    rig.controller.VolumeUp();
    rig.controller.StartVideo("http://h/watch?v=abc", "Title", 100, VideoSource::kSearchResult);
    EXPECT_TRUE(rig.page.calls.empty());
    EXPECT_EQ(rig.state.nowPlayingTitle, "Title");  // the display still follows
}

TEST(PlayerController, VolumeStepsStopAtTheLimitsAndLeaveTheSlider) {
    PlayerRig rig;
    rig.state.pageReady = true;
    const auto step = [&](ScriptValue answer, bool up) {
        rig.page.answers["getVolume"] = answer;
        up ? rig.controller.VolumeUp() : rig.controller.VolumeDown();
        return rig.page.Take();
    };
    EXPECT_EQ(step(ScriptValue::Int(97), true), (Calls{"getVolume()", "setVolume(100)"}));
    EXPECT_EQ(step(ScriptValue::Int(95), true), (Calls{"getVolume()", "setVolume(100)"}));
    EXPECT_EQ(step(ScriptValue::Int(50), true), (Calls{"getVolume()", "setVolume(55)"}));
    EXPECT_EQ(step(ScriptValue::Int(3), false), (Calls{"getVolume()", "setVolume(0)"}));
    EXPECT_EQ(step(ScriptValue::Int(5), false), (Calls{"getVolume()", "setVolume(0)"}));
    EXPECT_EQ(step(ScriptValue::Int(40), false), (Calls{"getVolume()", "setVolume(35)"}));
    // An answer that is not a number reads as 0.
    EXPECT_EQ(step(ScriptValue::String("70"), true), (Calls{"getVolume()", "setVolume(5)"}));
    EXPECT_EQ(step(ScriptValue::Double(1e12), true), (Calls{"getVolume()", "setVolume(5)"}));
    EXPECT_EQ(rig.volumeSlider.GetPosition(), 40);
    EXPECT_EQ(rig.state.volume, 40);
}

TEST(PlayerController, PlayResumesWhenPausedAndStartsFromThePlaylistOtherwise) {
    PlayerRig rig;
    rig.state.playerState = kPlayerPaused;
    rig.controller.Play();  // not ready yet
    EXPECT_TRUE(rig.page.calls.empty());
    rig.state.pageReady = true;
    rig.controller.Play();
    EXPECT_EQ(rig.page.Take(), Calls{"play()"});
    for (int state : {kPlayerEnded, kPlayerPlaying, kPlayerCued}) {
        rig.state.playerState = state;
        rig.controller.Play();
    }
    EXPECT_EQ(rig.queue.playFromPlaylist, 3);
    for (int state : {kPlayerNotStarted, kPlayerBuffering, 4}) {
        rig.state.playerState = state;
        rig.controller.Play();
    }
    EXPECT_EQ(rig.queue.playFromPlaylist, 3);
    EXPECT_TRUE(rig.page.calls.empty());
}

TEST(PlayerController, StartVideoLoadsTheIdAndSetsUpTheDisplays) {
    PlayerRig rig;
    rig.state.pageReady = true;
    rig.positionSlider.SetPosition(50);
    rig.controller.StartVideo("http://h/watch?v=abc_D-9&feature=youtube_gdata", "노래 제목", 3725,
                              VideoSource::kSearchResult);
    EXPECT_EQ(rig.page.Take(), Calls{"loadNewVideo(abc_D-9&feature=youtube_gdata,1)"});
    EXPECT_TRUE(rig.ShowsPause());
    EXPECT_EQ(rig.state.nowPlayingTitle, "노래 제목");
    EXPECT_EQ(rig.state.durationText, "62:05");
    EXPECT_EQ(rig.positionSlider.Minimum(), 0);
    EXPECT_EQ(rig.positionSlider.Maximum(), 3725);
    EXPECT_EQ(rig.positionSlider.GetPosition(), 50);
    EXPECT_EQ(rig.window.TimerPeriod(res::kTimerPoll.id), 500u);
    EXPECT_EQ(rig.window.TimerPeriod(res::kTimerPosition.id), 1000u);
    EXPECT_FALSE(rig.window.HasTimer(res::kTimerHoldRelease.id));
    EXPECT_FALSE(rig.state.autoAdvanceHold);
    EXPECT_EQ(rig.view.asked, (Calls{"place", "title scroll", "title", "duration"}));

    // A link without "v=" loads an empty id, which the page refuses.
    rig.controller.StartVideo("http://h/watch", "x", 10, VideoSource::kSearchResult);
    EXPECT_EQ(rig.page.Take(), Calls{"loadNewVideo(1)"});
    EXPECT_EQ(VideoIdOf("http://h/watch?a=1&v=xyz"), "xyz");
    EXPECT_EQ(VideoIdOf(""), "");
}

TEST(PlayerController, PollAndPositionTimersFollowThePage) {
    PlayerRig rig;
    rig.state.pageReady = true;
    rig.page.answers["getCurrentTime"] = ScriptValue::Double(3725.9);
    rig.page.answers["getPlayerState"] = ScriptValue::Int(kPlayerPlaying);
    rig.controller.StartVideo("http://h/watch?v=a", "t", 4000, VideoSource::kSearchResult);
    rig.page.Take();
    rig.view.asked.clear();

    rig.clock.Advance(500);  // poll
    EXPECT_EQ(rig.page.Take(), (Calls{"getCurrentTime()", "getPlayerState()"}));
    EXPECT_EQ(rig.state.currentTimeText, "01:02:05");
    EXPECT_EQ(rig.state.playerState, kPlayerPlaying);
    EXPECT_TRUE(rig.view.asked.empty());  // the poll stores the text; timer 21 shows it

    rig.clock.Advance(500);  // poll and position
    EXPECT_EQ(rig.page.Take(), (Calls{"getCurrentTime()", "getPlayerState()", "getCurrentTime()",
                                      "getPlayerState()"}));
    EXPECT_EQ(rig.view.asked, Calls{"digits"});
    EXPECT_EQ(rig.positionSlider.GetPosition(), 3725);

    // Paused: the buttons swap and the thumb stays.
    rig.page.answers["getPlayerState"] = ScriptValue::Int(kPlayerPaused);
    rig.page.answers["getCurrentTime"] = ScriptValue::Int(12);
    rig.clock.Advance(1000);
    EXPECT_TRUE(rig.ShowsPlay());
    EXPECT_EQ(rig.state.currentTimeText, "00:00:12");
    EXPECT_EQ(rig.positionSlider.GetPosition(), 3725);
    // Buffering shows pause, as playing does.
    rig.page.answers["getPlayerState"] = ScriptValue::Int(kPlayerBuffering);
    rig.clock.Advance(500);
    EXPECT_TRUE(rig.ShowsPause());

    // Times no int can hold, and answers that are not numbers.
    const auto timeText = [&](ScriptValue answer) {
        rig.page.answers["getCurrentTime"] = answer;
        rig.clock.Advance(500);
        return rig.state.currentTimeText;
    };
    EXPECT_EQ(timeText(ScriptValue::Double(std::nan(""))), "00:00:00");
    EXPECT_EQ(timeText(ScriptValue::Double(-7.5)), "00:00:00");
    EXPECT_EQ(timeText(ScriptValue::Double(1e300)), "596523:14:07");
    EXPECT_EQ(timeText(ScriptValue::String("99")), "00:00:00");
    EXPECT_EQ(timeText(ScriptValue{}), "00:00:00");

    // The thumb is clamped into the slider's range.
    rig.page.answers["getPlayerState"] = ScriptValue::Int(kPlayerPlaying);
    rig.page.answers["getCurrentTime"] = ScriptValue::Double(1e300);
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.positionSlider.GetPosition(), 4000);

    // A state answer that is not an integer changes nothing.
    rig.page.answers["getPlayerState"] = ScriptValue::String("2");
    rig.clock.Advance(500);
    EXPECT_EQ(rig.state.playerState, kPlayerPlaying);
}

TEST(PlayerController, EndOfVideoAdvancesOnlyAfterThePlaylistHold) {
    PlayerRig rig;
    rig.state.pageReady = true;
    rig.page.answers["getCurrentTime"] = ScriptValue::Int(0);
    rig.page.answers["getPlayerState"] = ScriptValue::Int(kPlayerEnded);
    rig.controller.StartVideo("http://h/watch?v=a", "t", 60, VideoSource::kPlaylistEntry);
    EXPECT_TRUE(rig.state.autoAdvanceHold);
    EXPECT_EQ(rig.window.TimerPeriod(res::kTimerHoldRelease.id), 4000u);
    rig.clock.Advance(3900);
    EXPECT_EQ(rig.queue.advances, 0);  // seven polls saw the end, all held
    rig.clock.Advance(100);            // at 4000 ms the hold ends, then the poll sees the end
    EXPECT_FALSE(rig.state.autoAdvanceHold);
    EXPECT_FALSE(rig.window.HasTimer(res::kTimerHoldRelease.id));
    EXPECT_EQ(rig.queue.advances, 1);

    // A search result holds nothing back: its end advances at the next poll.
    rig.queue.advances = 0;
    rig.controller.StartVideo("http://h/watch?v=b", "t", 60, VideoSource::kSearchResult);
    rig.clock.Advance(500);
    EXPECT_EQ(rig.queue.advances, 1);
}

// A page that is busy, slow, reloading or broken says nothing about the video: the state, the
// time, the buttons and the thumb stay, nothing advances, the volume buttons change nothing.
TEST(PlayerController, AnAnswerThatIsNotAnAnswerChangesNothing) {
    using plat::ScriptCallStatus;
    for (const ScriptCallStatus failure :
         {ScriptCallStatus::kBusy, ScriptCallStatus::kTimedOut, ScriptCallStatus::kNoPage,
          ScriptCallStatus::kInsidePaint, ScriptCallStatus::kNoFunction,
          ScriptCallStatus::kThrew}) {
        PlayerRig rig;
        rig.state.pageReady = true;
        rig.page.answers["getCurrentTime"] = ScriptValue::Int(12);
        rig.page.answers["getPlayerState"] = ScriptValue::Int(kPlayerPlaying);
        rig.controller.StartVideo("http://h/watch?v=a", "t", 60, VideoSource::kPlaylistEntry);
        rig.clock.Advance(kHoldMs);
        ASSERT_EQ(rig.positionSlider.GetPosition(), 12);

        rig.page.failure = failure;
        rig.clock.Advance(5000);
        rig.controller.VolumeUp();
        rig.controller.VolumeDown();
        EXPECT_EQ(rig.state.playerState, kPlayerPlaying);
        EXPECT_EQ(rig.state.currentTimeText, "00:00:12");
        EXPECT_TRUE(rig.ShowsPause());
        EXPECT_EQ(rig.positionSlider.GetPosition(), 12);
        EXPECT_EQ(rig.queue.advances, 0);
        EXPECT_EQ(rig.state.pageVolume, 40);
        for (const std::string& call : rig.page.Take()) {
            EXPECT_EQ(call.find("setVolume"), std::string::npos) << call;
        }
        // An end seen before a new start is not this video's end.
        rig.page.failure = ScriptCallStatus::kAnswered;
        rig.page.answers["getPlayerState"] = ScriptValue::Int(kPlayerEnded);
        rig.clock.Advance(500);
        ASSERT_EQ(rig.queue.advances, 1);
        rig.controller.StartVideo("http://h/watch?v=b", "t", 60, VideoSource::kSearchResult);
        rig.page.failure = failure;
        rig.clock.Advance(2000);
        EXPECT_EQ(rig.queue.advances, 1);
    }
}

// A page loaded again after its renderer died has no video: the one shown starts again at the
// second last reported, before any other call reaches the new page, and nothing advances.
TEST(PlayerController, AReloadedPageStartsTheVideoAgainAtItsSecond) {
    testing::PlayerRigOf<testing::FakePlayerPage> rig;
    rig.state.pageReady = true;
    rig.controller.StartVideo("http://h/watch?v=abc", "Title", 60, VideoSource::kPlaylistEntry);
    rig.clock.Advance(30000);
    ASSERT_EQ(rig.state.currentTimeText, "00:00:30");
    const unsigned starts = rig.state.videoStarts;
    rig.page.Take();

    rig.page.Reload();
    rig.clock.Advance(500);
    const Calls calls = rig.page.Take();
    const auto load = std::find(calls.begin(), calls.end(), "loadNewVideo(abc,1)");
    ASSERT_TRUE(load != calls.end() && load + 1 != calls.end());
    EXPECT_EQ(*(load + 1), "seekTo(30)");
    EXPECT_TRUE(load < std::find(calls.begin(), calls.end(), "getCurrentTime()"))
        << "before the poll's own calls";
    EXPECT_EQ(rig.page.loadedId, "abc");
    EXPECT_EQ(rig.state.nowPlayingTitle, "Title");
    EXPECT_EQ(rig.state.videoStarts, starts);
    EXPECT_EQ(rig.queue.advances, 0);
    rig.clock.Advance(2000);
    EXPECT_EQ(rig.state.currentTimeText, "00:00:32");
    EXPECT_EQ(rig.state.playerState, kPlayerPlaying);

    // Once noticed, the same load restores nothing more; after stop there is nothing to start.
    rig.clock.Advance(1000);
    EXPECT_EQ(std::count(rig.page.calls.begin(), rig.page.calls.end(), "loadNewVideo(abc,1)"), 0);
    rig.controller.Stop();
    rig.page.Reload();
    rig.clock.Advance(500);
    EXPECT_EQ(rig.page.loadedId, "");
}

// Every new page gets the volume and the mute the window shows: the first page when mute was
// pressed before it was ready, and a page loaded again after its renderer died, whether or not
// a video plays.
TEST(PlayerController, EveryNewPageGetsTheVolumeAndTheMute) {
    testing::PlayerRigOf<testing::FakePlayerPage> rig;
    rig.controller.Mute();  // the page is not ready: the call does not reach it
    EXPECT_FALSE(rig.page.muted);
    rig.window.SetTimer(res::kTimerVolumeRestore.id, res::kTimerVolumeRestore.periodMs);
    rig.state.pageReady = true;
    rig.clock.Advance(res::kTimerVolumeRestore.periodMs);
    EXPECT_TRUE(rig.page.muted);
    EXPECT_EQ(rig.page.volume, 40);

    rig.volumeSlider.SetPosition(70);
    rig.controller.OnSliderMoving(res::kIdcVolumeSlider);
    rig.controller.VolumeDown();
    ASSERT_EQ(rig.page.volume, 65);
    rig.page.Reload();
    rig.controller.StartVideo("http://h/watch?v=abc", "t", 60, VideoSource::kSearchResult);
    EXPECT_EQ(rig.page.volume, 65);
    EXPECT_TRUE(rig.page.muted);
    EXPECT_EQ(rig.page.loadedId, "abc");

    // After stop nothing plays, and the next page still gets its volume.
    rig.controller.Stop();
    rig.page.Reload();
    rig.clock.Advance(500);
    EXPECT_EQ(rig.page.volume, 65);
    EXPECT_TRUE(rig.page.muted);
    EXPECT_EQ(rig.page.loadedId, "");
    EXPECT_EQ(rig.volumeSlider.GetPosition(), 70) << "the slider keeps its own value";
}

TEST(PlayerController, SlidersSetVolumeAndSeek) {
    PlayerRig rig;
    rig.state.pageReady = true;
    rig.controller.StartVideo("http://h/watch?v=a", "t", 300, VideoSource::kSearchResult);
    rig.page.Take();
    rig.view.asked.clear();

    rig.volumeSlider.SetPosition(70);
    rig.controller.OnSliderMoving(res::kIdcVolumeSlider);
    EXPECT_EQ(rig.state.volume, 70);
    EXPECT_EQ(rig.page.Take(), Calls{"setVolume(70)"});
    EXPECT_EQ(rig.view.asked, Calls{"volume"});
    rig.controller.OnSliderReleased(res::kIdcVolumeSlider);
    EXPECT_TRUE(rig.page.Take().empty());
    EXPECT_EQ(rig.volumeSlider.GetPosition(), 70);

    // Dragging the position thumb stops it following; releasing seeks and follows again.
    rig.controller.OnSliderMoving(res::kIdcPositionSlider);
    EXPECT_FALSE(rig.window.HasTimer(res::kTimerPosition.id));
    EXPECT_TRUE(rig.page.Take().empty());
    rig.positionSlider.SetPosition(120);
    rig.controller.OnSliderReleased(res::kIdcPositionSlider);
    EXPECT_EQ(rig.state.seekPosition, 120);
    EXPECT_EQ(rig.page.Take(), Calls{"seekTo(120)"});
    EXPECT_EQ(rig.window.TimerPeriod(res::kTimerPosition.id), 1000u);
}

TEST(PlayerController, VolumeRestoreWaitsForThePageThenAppliesTheStoredVolume) {
    PlayerRig rig;
    rig.window.SetTimer(res::kTimerVolumeRestore.id, res::kTimerVolumeRestore.periodMs);
    rig.page.answers["getVolume"] = ScriptValue::Int(100);
    rig.clock.Advance(4500);
    EXPECT_EQ(rig.window.TimerPeriod(res::kTimerVolumeRestore.id), 300u);
    EXPECT_FALSE(rig.state.playerInitialised);
    rig.state.pageReady = true;
    rig.volumeSlider.SetPosition(10);
    rig.clock.Advance(300);
    EXPECT_TRUE(rig.state.playerInitialised);
    EXPECT_EQ(rig.page.Take(), (Calls{"getVolume()", "setVolume(40)"}));
    EXPECT_EQ(rig.volumeSlider.GetPosition(), 40);
    EXPECT_FALSE(rig.window.HasTimer(res::kTimerVolumeRestore.id));
    EXPECT_EQ(rig.view.Count("lower"), 1);
}

TEST(PlayerController, VolumeRestoreSkipsAnAnswerOutOfRange) {
    for (const ScriptValue& answer :
         {ScriptValue::Int(101), ScriptValue::Int(-1), ScriptValue::String("50")}) {
        PlayerRig rig;
        rig.state.pageReady = true;
        rig.page.answers["getVolume"] = answer;
        rig.volumeSlider.SetPosition(25);
        rig.window.SetTimer(res::kTimerVolumeRestore.id, res::kTimerVolumeRestore.periodMs);
        rig.clock.Advance(4500);
        EXPECT_EQ(rig.page.Take(), Calls{"getVolume()"});
        EXPECT_EQ(rig.volumeSlider.GetPosition(), 25);
        EXPECT_TRUE(rig.state.playerInitialised);
        EXPECT_FALSE(rig.window.HasTimer(res::kTimerVolumeRestore.id));
    }
}

TEST(PlayerController, ReadinessProbeThenSettlingTime) {
    PlayerRig rig;
    rig.page.answers["testAlert"] = ScriptValue::Int(0);
    rig.window.SetTimer(res::kTimerPageProbe.id, res::kTimerPageProbe.periodMs);
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.page.Take().size(), 5u);
    EXPECT_TRUE(rig.window.HasTimer(res::kTimerPageProbe.id));
    rig.page.answers["testAlert"] = ScriptValue::Int(1);
    rig.clock.Advance(200);
    EXPECT_FALSE(rig.window.HasTimer(res::kTimerPageProbe.id));
    EXPECT_EQ(rig.window.TimerPeriod(res::kTimerPageReady.id), 2800u);
    rig.clock.Advance(2799);
    EXPECT_FALSE(rig.state.pageReady);
    rig.clock.Advance(1);
    EXPECT_TRUE(rig.state.pageReady);
    EXPECT_FALSE(rig.window.HasTimer(res::kTimerPageReady.id));
    EXPECT_EQ(rig.page.Take(), Calls{"testAlert()"});
}

}  // namespace
}  // namespace tunova
