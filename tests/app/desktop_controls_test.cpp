// The desktop's media panel driving the real main window on a player page that plays on the
// manual clock, over a session bus of the test's own: each call does what the matching button
// or slider does, the panel hears when a video starts, pauses and ends, and its volume follows
// the volume buttons and the volume slider.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/desktop/media_controls.h"
#include "platform/window/application.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/private_bus.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

constexpr char kBusName[] = "org.mpris.MediaPlayer2.tunova";
constexpr char kPlayer[] = "org.mpris.MediaPlayer2.Player.";
constexpr char kProperties[] = "org.freedesktop.DBus.Properties.";

class DesktopControlsTest : public MainWindowTest {
  protected:
    void SetUp() override {
        ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
        MainWindowTest::SetUp();
        UseHost(server.Host());
        server.Serve(ResultsPage(20, 1, 20));  // "Song N", N seconds long, id "vN"
    }
    void TearDown() override {
        UseHost(kNoHost);
        MainWindowTest::TearDown();
    }
    // The page ready, a search's rows shown, and row `row` double-clicked: it plays.
    void PlayRow(CTunovaDlg& d, int row) {
        clock.Advance(res::kTimerPageProbe.periodMs + res::kTimerPageReady.periodMs);
        d.SearchEdit().SetFocus();
        plat::testing::TypeText(d.SearchEdit(), "song");
        plat::testing::PressKey(d.SearchEdit(), plat::kVkReturn);
        ASSERT_TRUE(PumpUntil([&] { return !d.Search().IsSearchRunning(); }, 10000));
        ASSERT_EQ(d.ResultList().ItemCount(), 20);
        const plat::Rect rect = d.ResultList().ItemRect(row);
        plat::testing::MouseDoubleClick(d.ResultList(),
                                        {rect.left + 60, (rect.top + rect.bottom) / 2});
        plat::Application::ProcessEvents();
    }
    CommandRun Call(const std::string& member, const std::vector<std::string>& args = {}) {
        CommandRun run = CallOnBus(kBusName, member, args);
        EXPECT_TRUE(run.ended && run.status == 0) << member << ": " << run.errors;
        // The call posted the window's command; let the window carry it out.
        plat::Application::ProcessEvents();
        return run;
    }
    void SetVolume(const std::string& value) {
        Call(std::string(kProperties) + "Set",
             {"string:org.mpris.MediaPlayer2.Player", "string:Volume", "variant:double:" + value});
    }
    bool Called(const std::string& call) const {
        return std::find(page.calls.begin(), page.calls.end(), call) != page.calls.end();
    }
    // The player's Volume as the desktop reads it; -1 when it cannot be read.
    double BusVolume() {
        const CommandRun run = CallOnBus(kBusName, std::string(kProperties) + "Get",
                                         {"string:org.mpris.MediaPlayer2.Player", "string:Volume"});
        const std::size_t at = run.output.find("double ");
        return at == std::string::npos ? -1 : std::atof(run.output.c_str() + at + 7);
    }

    PrivateBus bus;  // before the window, which joins the bus as it starts
    LoopbackServer server;
};

TEST_F(DesktopControlsTest, CallsDoWhatTheButtonsAndSlidersDo) {
    RunShown([this](CTunovaDlg& d) {
        ASSERT_TRUE(d.DesktopControls().Controls().IsRegistered());
        PlayRow(d, 15);  // "Song 16", 16 seconds
        clock.Advance(res::kTimerPoll.periodMs);
        ASSERT_EQ(page.state, 1);

        Call(std::string(kPlayer) + "PlayPause");  // playing: the pause button
        EXPECT_EQ(page.state, 2);
        EXPECT_TRUE(d.Child(res::kIdcPlay)->IsVisible());
        clock.Advance(res::kTimerPoll.periodMs);
        Call(std::string(kPlayer) + "PlayPause");  // paused: the play button
        EXPECT_EQ(page.state, 1);
        Call(std::string(kPlayer) + "Pause");
        EXPECT_EQ(page.state, 2);
        Call(std::string(kPlayer) + "Play");
        EXPECT_EQ(page.state, 1);

        // A position past the end is the end; the position slider moves there and the page seeks.
        clock.Advance(res::kTimerPoll.periodMs);
        const std::string track =
            "objpath:" + plat::MediaTrackPath(d.DesktopControls().Controls().Published().track);
        page.calls.clear();
        Call(std::string(kPlayer) + "SetPosition", {track, "int64:5000000"});
        EXPECT_TRUE(Called("seekTo(5)"));
        EXPECT_EQ(d.PositionSlider().GetPosition(), 5);
        Call(std::string(kPlayer) + "SetPosition", {track, "int64:999000000"});
        EXPECT_TRUE(Called("seekTo(16)"));
        Call(std::string(kPlayer) + "Seek", {"int64:-99000000"});
        EXPECT_TRUE(Called("seekTo(0)"));

        // The volume: the slider, the window's volume and the page's, as a drag sets them.
        SetVolume("0.3");
        EXPECT_EQ(d.VolumeSlider().GetPosition(), 30);
        EXPECT_EQ(d.Playback().volume, 30);
        EXPECT_EQ(page.volume, 30);
        SetVolume("nan");
        EXPECT_EQ(page.volume, 30);
        SetVolume("12");
        EXPECT_EQ(page.volume, 100);

        // Stop clears the display as the stop command does; next with an empty playlist asks for
        // entries as the next button does.
        Call(std::string(kPlayer) + "Stop");
        EXPECT_EQ(d.Playback().nowPlayingTitle, "");
        boxes.clear();
        Call(std::string(kPlayer) + "Next");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "나의 리스트에 재생하실 동영상을 추가해 주세요");

        // Quit closes the window as its exit command does.
        Call("org.mpris.MediaPlayer2.Quit");
        EXPECT_TRUE(d.HasEnded());
    });
}

TEST_F(DesktopControlsTest, ThePanelHearsWhenAVideoStartsPausesAndEnds) {
    BusMonitor monitor("type='signal',member='PropertiesChanged'");
    ASSERT_TRUE(monitor.Started());
    RunShown([&](CTunovaDlg& d) {
        page.lengths["v3"] = 3;
        PlayRow(d, 2);  // "Song 3", 3 seconds
        clock.Advance(res::kTimerPoll.periodMs);
        ASSERT_TRUE(monitor.WaitToSee("\"Playing\""));
        std::string seen = monitor.Seen();
        EXPECT_NE(seen.find("\"Song 3\""), std::string::npos) << seen;
        EXPECT_NE(seen.find("int64 3000000"), std::string::npos) << seen;
        EXPECT_NE(seen.find("watch?v=v3"), std::string::npos) << seen;
        EXPECT_NE(seen.find("object path \"/org/tunova/track/"), std::string::npos) << seen;

        d.SendCommand(res::kIdcPause);  // the window's own button
        clock.Advance(res::kTimerPoll.periodMs);
        EXPECT_TRUE(monitor.WaitToSee("\"Paused\""));
        d.SendCommand(res::kIdcPlay);
        clock.Advance(res::kTimerPoll.periodMs);
        EXPECT_TRUE(monitor.WaitToSee("\"Playing\"", 2));

        clock.Advance(3000);  // the end, with nothing to play next
        ASSERT_EQ(d.Playback().playerState, 0);
        EXPECT_TRUE(monitor.WaitToSee("\"Stopped\""));
        const CommandRun metadata =
            CallOnBus(kBusName, std::string(kProperties) + "Get",
                      {"string:org.mpris.MediaPlayer2.Player", "string:Metadata"});
        EXPECT_EQ(metadata.output.find("xesam:title"), std::string::npos) << metadata.output;
    });
}

TEST_F(DesktopControlsTest, TheVolumeFollowsTheVolumeButtonsAndTheSlider) {
    BusMonitor monitor("type='signal',member='PropertiesChanged'");
    ASSERT_TRUE(monitor.Started());
    RunShown([&](CTunovaDlg& d) {
        // The stored volume given to the page once it is ready.
        clock.Advance(res::kTimerPageProbe.periodMs + res::kTimerPageReady.periodMs +
                      res::kTimerVolumeRestore.periodMs);
        ASSERT_EQ(page.volume, 40);
        EXPECT_DOUBLE_EQ(BusVolume(), 0.4);

        // The volume buttons change the page's volume alone; the desktop hears the new one.
        d.SendCommand(res::kIdcVolumeUp);
        EXPECT_EQ(page.volume, 45);
        EXPECT_EQ(d.Playback().volume, 40) << "the gauge keeps the slider's value";
        EXPECT_DOUBLE_EQ(BusVolume(), 0.45);
        EXPECT_TRUE(monitor.WaitToSee("double 0.45"));
        d.SendCommand(res::kIdcVolumeDown);
        d.SendCommand(res::kIdcVolumeDown);
        EXPECT_EQ(page.volume, 35);
        EXPECT_DOUBLE_EQ(BusVolume(), 0.35);
        EXPECT_TRUE(monitor.WaitToSee("double 0.35"));

        // A press at the volume slider's right end sets the page's volume there.
        CSkinSlider& volume = d.VolumeSlider();
        plat::testing::MouseDown(volume, {volume.ClientRect().Width() - 5, 2});
        plat::testing::MouseUp(volume, {volume.ClientRect().Width() - 5, 2});
        plat::Application::ProcessEvents();
        const int set = volume.GetPosition();
        ASSERT_GT(set, 90);
        EXPECT_EQ(page.volume, set);
        EXPECT_DOUBLE_EQ(BusVolume(), set / 100.0);

        // And the desktop's volume moves the slider as a drag does.
        SetVolume("0.2");
        EXPECT_EQ(volume.GetPosition(), 20);
        EXPECT_EQ(page.volume, 20);
        EXPECT_DOUBLE_EQ(BusVolume(), 0.2);
    });
}

}  // namespace
}  // namespace tunova::testing
