// The player engines (the page you.html in the web engine, ...) playing clips from the companion
// server, each through the functions the player calls.
#include <gtest/gtest.h>

#include <string>

#include "page_support.h"
#include "playback/script_answer.h"
#include "support/companion_server.h"
#include "support/player_engines.h"
#include "support/test_paths.h"

namespace tunova {
namespace {

using testing::CompanionServer;
using testing::PlayerEngine;
using testing::PumpUntil;
using Type = plat::ScriptValue::Type;

// One engine in its window, called by the page's function names.
struct EnginePage {
    const PlayerEngine& engine;
    testing::EngineHost host{engine};
    bool Start(const std::string& feedHost) {
        return host.Start(tunova::testing::RunDir(), feedHost);
    }
    plat::ScriptValue Call(const std::string& name, const std::vector<std::string>& args = {}) {
        return host.page->CallFunction(name, args).value;
    }
    int State() { return IntegerField(Call("getPlayerState")); }
    double Time() { return NumberOf(Call("getCurrentTime")); }
    bool WaitForState(int state, int timeoutMs = 20000) {
        return PumpUntil([&] { return State() == state; }, timeoutMs);
    }
    int Error() { return IntegerField(Call("getPlayerError")); }
    std::string Source() { return engine.source(*host.page); }
    // What the page's getPlayerState answers right after a call of `name`.
    int StateRightAfter(const std::string& name, const std::vector<std::string>& args) {
        Call(name, args);
        return State();
    }
};

class PlayerPageTest : public ::testing::TestWithParam<PlayerEngine> {};

// Load, play, pause, volume, mute, seek, the end and a cue, as the player reads them.
TEST_P(PlayerPageTest, StatesVolumeSeekEndAndCue) {
    CompanionServer server({6, 4});
    ASSERT_TRUE(server.Running()) << server.Error();
    const std::string first = server.VideoIds()[0];
    const std::string second = server.VideoIds()[1];

    EnginePage page{GetParam()};
    ASSERT_TRUE(page.Start(server.Host()));
    EXPECT_EQ(IntegerField(page.Call("testAlert")), 1);
    EXPECT_EQ(page.State(), -1);
    EXPECT_EQ(page.Call("getCurrentTime").type, Type::kInt);  // 0, answered at once

    // -1 at once inside the load, then playing.
    EXPECT_EQ(page.StateRightAfter("loadNewVideo", {first, "1"}), -1);
    EXPECT_EQ(page.Source(), "http://" + server.Host() + "/media/" + first);
    ASSERT_TRUE(PumpUntil([&] { return page.State() == 1 && page.Time() > 0.3; }, 20000))
        << "state " << page.State();

    page.Call("pause");
    EXPECT_EQ(page.State(), 2);
    const double pausedAt = page.Time();
    testing::PumpEvents(300);
    EXPECT_DOUBLE_EQ(page.Time(), pausedAt);

    // Volume: integers 0 to 100, given as text.
    EXPECT_EQ(page.Call("getVolume").type, Type::kInt);
    EXPECT_EQ(IntegerField(page.Call("getVolume")), 100);
    page.Call("setVolume", {"40"});
    EXPECT_EQ(IntegerField(page.Call("getVolume")), 40);
    EXPECT_DOUBLE_EQ(page.engine.outputVolume(*page.host.page), 0.4);
    page.Call("setVolume", {"150"});
    EXPECT_EQ(IntegerField(page.Call("getVolume")), 100);
    page.Call("setVolume", {"-3"});
    EXPECT_EQ(IntegerField(page.Call("getVolume")), 0);
    page.Call("setVolume", {"loud"});
    EXPECT_EQ(IntegerField(page.Call("getVolume")), 0);
    page.Call("mute");
    EXPECT_TRUE(page.engine.muted(*page.host.page));
    page.Call("unMute");
    EXPECT_FALSE(page.engine.muted(*page.host.page));

    // A paused video stays paused at the new second.
    page.Call("seekTo", {"3"});
    ASSERT_TRUE(PumpUntil([&] { return page.Time() >= 2.99 && page.Time() < 3.2; }, 10000));
    EXPECT_EQ(page.State(), 2);
    page.Call("play");
    ASSERT_TRUE(page.WaitForState(1));
    EXPECT_GE(page.Time(), 3.0);

    // The end.
    const double length = page.engine.length(*page.host.page);
    EXPECT_NEAR(length, 6.0, 0.2);
    page.Call("seekTo", {std::to_string(length - 0.4)});
    ASSERT_TRUE(page.WaitForState(0));
    EXPECT_EQ(page.Error(), 0) << "a clip with its picture, played to its end";

    // A cue loads without playing.
    EXPECT_EQ(page.StateRightAfter("cueNewVideo", {second, "1"}), -1);
    ASSERT_TRUE(page.WaitForState(5));
    testing::PumpEvents(400);
    EXPECT_EQ(page.State(), 5);
    EXPECT_EQ(page.Time(), 0);
    // Play after a cue starts the cued video.
    page.Call("play");
    ASSERT_TRUE(page.WaitForState(1));

    // A second asked for before the length is known is where the video starts (the video of a
    // page loaded again after a renderer death).
    page.Call("loadNewVideo", {first, "1"});
    page.Call("seekTo", {"4"});
    ASSERT_TRUE(page.WaitForState(1))
        << "state " << page.State() << ", error " << page.Error() << " at " << page.Time() << " s";
    EXPECT_GE(page.Time(), 4.0);
}

// A video the page cannot play ends, with the reason: a file gone from the library (the server
// answers 404), a container the web engine does not read (AVI), and a video whose picture it
// cannot decode (HEVC), which plays its sound over a black picture and raises no media error.
// An engine that plays them shows their picture. Play does not start a failed video again; the
// next load starts afresh.
TEST_P(PlayerPageTest, AVideoThatCannotBePlayedEndsWithItsReason) {
    CompanionServer server(
        {{"clip-1.webm", "Clip 1", 3}, {"clip-2.mkv", "Clip 2", 6}, {"clip-3.avi", "Clip 3", 6}});
    ASSERT_TRUE(server.Running()) << server.Error();
    ASSERT_TRUE(server.DeleteClip(0));
    EnginePage page{GetParam()};
    ASSERT_TRUE(page.Start(server.Host()));
    EXPECT_EQ(page.Error(), 0);

    page.Call("loadNewVideo", {server.VideoIds()[0], "1"});
    ASSERT_TRUE(page.WaitForState(0, 10000)) << "state " << page.State();
    EXPECT_EQ(page.Error(), 4);  // the source cannot be played
    page.Call("play");
    testing::PumpEvents(300);
    EXPECT_EQ(page.State(), 0);

    if (page.engine.playsDesktopFormats) {
        for (const int clip : {1, 2}) {
            page.Call("loadNewVideo", {server.VideoIds()[clip], "1"});
            ASSERT_TRUE(page.WaitForState(1)) << "clip " << clip << ": state " << page.State();
            const long before = page.engine.framesShown(*page.host.page);
            EXPECT_TRUE(PumpUntil(
                [&] { return page.engine.framesShown(*page.host.page) > before + 2; }, 5000))
                << "clip " << clip;
        }
        return;
    }
    page.Call("loadNewVideo", {server.VideoIds()[2], "1"});
    ASSERT_TRUE(page.WaitForState(0, 10000)) << "state " << page.State();
    EXPECT_EQ(page.Error(), 4);

    page.Call("loadNewVideo", {server.VideoIds()[1], "1"});
    EXPECT_EQ(page.Error(), 0);
    ASSERT_TRUE(page.WaitForState(0, 15000)) << "state " << page.State();
    EXPECT_EQ(page.Error(), 5);
    const double stoppedAt = page.Time();
    EXPECT_LT(stoppedAt, 4.0) << "found within its first seconds, not at its end";
    testing::PumpEvents(500);
    EXPECT_DOUBLE_EQ(page.Time(), stoppedAt) << "the sound stops";
}

// Ids are cut at '&' and must be plain id characters; anything else loads nothing and reports
// -1, as does a call that lost its id (a link without "v=").
TEST_P(PlayerPageTest, RefusesIdsThatAreNotIds) {
    CompanionServer server({3});
    ASSERT_TRUE(server.Running()) << server.Error();
    const std::string id = server.VideoIds()[0];
    EnginePage page{GetParam()};
    ASSERT_TRUE(page.Start(server.Host()));

    page.Call("loadNewVideo", {id + "&feature=youtube_gdata", "1"});
    EXPECT_EQ(page.Source(), "http://" + server.Host() + "/media/" + id);
    ASSERT_TRUE(page.WaitForState(1));
    // A feed's link as the player reads it ("v=ID&amp;feature=...") arrives split at ';'.
    page.Call("loadNewVideo", {id + "&amp", "feature=youtube_gdata", "1"});
    EXPECT_EQ(page.Source(), "http://" + server.Host() + "/media/" + id);

    const std::vector<std::vector<std::string>> refused = {
        {"x\");alert(1);//", "1"},
        {"../../etc/passwd", "1"},
        {std::string(33, 'a'), "1"},
        {"", "1"},
        {"1"},  // "loadNewVideo('', 1)" after the split: the id is gone
        {"노래", "1"},
    };
    for (const auto& args : refused) {
        page.Call("loadNewVideo", {id, "1"});
        page.Call("loadNewVideo", args);
        EXPECT_EQ(page.State(), -1) << args[0];
        EXPECT_EQ(page.Source(), "") << args[0];
        EXPECT_EQ(page.Time(), 0);
        page.Call("cueNewVideo", args);
        EXPECT_EQ(page.State(), -1) << args[0];
    }
    testing::PumpEvents(300);
    EXPECT_EQ(page.State(), -1);
    // Commands with nothing loaded do nothing.
    page.Call("play");
    page.Call("seekTo", {"2"});
    EXPECT_EQ(page.State(), -1);
}

INSTANTIATE_TEST_SUITE_P(Engines, PlayerPageTest, ::testing::ValuesIn(testing::PlayerEngines()),
                         testing::EngineName);

}  // namespace
}  // namespace tunova
