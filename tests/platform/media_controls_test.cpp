// The desktop media controls on a session bus of the test's own, called the way a desktop's
// media panel calls them (dbus-send): every call reaches the program, positions and volumes out
// of range arrive as the nearest valid value, and the properties and their change signals follow
// what the program publishes.
#include "platform/desktop/media_controls.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/log.h"
#include "support/private_bus.h"

namespace plat {
namespace {

using tunova::testing::BusMonitor;
using tunova::testing::CallOnBus;
using tunova::testing::CommandRun;
using tunova::testing::CountOf;
using tunova::testing::PrivateBus;

constexpr char kPlayer[] = "org.mpris.MediaPlayer2.Player";
constexpr char kProperties[] = "org.freedesktop.DBus.Properties";

// Records what the desktop asked for.
class RecordingCommands : public MediaCommands {
  public:
    void Raise() override { calls.push_back("Raise"); }
    void Quit() override { calls.push_back("Quit"); }
    void PlayPause() override { calls.push_back("PlayPause"); }
    void Play() override { calls.push_back("Play"); }
    void Pause() override { calls.push_back("Pause"); }
    void Stop() override { calls.push_back("Stop"); }
    void Next() override { calls.push_back("Next"); }
    void Previous() override { calls.push_back("Previous"); }
    void SetPositionUs(std::int64_t us) override { positions.push_back(us); }
    void SetVolume(double volume) override { volumes.push_back(volume); }
    std::int64_t PositionUs() override { return position; }

    std::vector<std::string> calls;
    std::vector<std::int64_t> positions;
    std::vector<double> volumes;
    std::int64_t position = 0;
};

// A video of 200 s, playing, at 70 % volume.
MediaState PlayingState() {
    MediaState state;
    state.status = MediaStatus::kPlaying;
    state.track = 3;
    state.title = "\xC7\xD1\xB1\xB9 title";  // "한국" in CP949
    state.lengthUs = 200'000'000;
    state.url = "http://127.0.0.1:8080/watch?v=abc";
    state.volume = 0.7;
    state.canPlay = state.canPause = state.canGoNext = state.canGoPrevious = true;
    return state;
}

class MediaControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
        ASSERT_TRUE(controls.Register("tunovatest"));
        name = controls.BusName();
        ASSERT_EQ(name, "org.mpris.MediaPlayer2.tunovatest");
    }
    CommandRun Call(const std::string& member, const std::vector<std::string>& args = {}) {
        CommandRun run = CallOnBus(name, member, args);
        EXPECT_TRUE(run.ended && run.status == 0) << member << ": " << run.errors;
        return run;
    }
    CommandRun Get(const std::string& property) {
        return Call(std::string(kProperties) + ".Get",
                    {std::string("string:") + kPlayer, "string:" + property});
    }
    void SetVolume(const std::string& value) {
        Call(std::string(kProperties) + ".Set",
             {std::string("string:") + kPlayer, "string:Volume", "variant:double:" + value});
    }

    PrivateBus bus;
    RecordingCommands program;
    MediaControls controls{program};
    std::string name;
};

TEST_F(MediaControlsTest, EveryTransportCallReachesTheProgram) {
    for (const char* member : {"PlayPause", "Play", "Pause", "Stop", "Next", "Previous"}) {
        Call(std::string(kPlayer) + "." + member);
    }
    Call("org.mpris.MediaPlayer2.Raise");
    Call("org.mpris.MediaPlayer2.Quit");
    EXPECT_EQ(program.calls, (std::vector<std::string>{"PlayPause", "Play", "Pause", "Stop", "Next",
                                                       "Previous", "Raise", "Quit"}));
    EXPECT_NE(Call(std::string(kProperties) + ".Get",
                   {"string:org.mpris.MediaPlayer2", "string:Identity"})
                  .output.find("\"Tunova\""),
              std::string::npos);
}

TEST_F(MediaControlsTest, PositionsOutsideTheVideoArriveAsTheNearestEnd) {
    controls.Publish(PlayingState());
    const std::string track = "objpath:" + MediaTrackPath(3);
    program.position = 50'000'000;
    Call(std::string(kPlayer) + ".SetPosition", {track, "int64:120000000"});
    Call(std::string(kPlayer) + ".SetPosition", {track, "int64:900000000"});
    Call(std::string(kPlayer) + ".SetPosition", {track, "int64:-5"});
    // A position for a track no longer shown is stale and changes nothing.
    Call(std::string(kPlayer) + ".SetPosition", {"objpath:" + MediaTrackPath(2), "int64:1"});
    Call(std::string(kPlayer) + ".Seek", {"int64:10000000"});
    Call(std::string(kPlayer) + ".Seek", {"int64:9223372036854775807"});
    Call(std::string(kPlayer) + ".Seek", {"int64:-9223372036854775808"});
    EXPECT_EQ(program.positions,
              (std::vector<std::int64_t>{120'000'000, 200'000'000, 0, 60'000'000, 200'000'000, 0}));

    // Without a video there is nothing to seek in.
    controls.Publish(MediaState{});
    Call(std::string(kPlayer) + ".Seek", {"int64:1000000"});
    EXPECT_EQ(program.positions.size(), 6u);
    EXPECT_NE(Get("CanSeek").output.find("boolean false"), std::string::npos);
}

TEST_F(MediaControlsTest, VolumesOutsideZeroToOneAndNaNArriveAsTheNearestValidValue) {
    controls.Publish(PlayingState());
    SetVolume("0.25");
    SetVolume("7");
    SetVolume("-3");
    SetVolume("nan");
    SetVolume("inf");
    SetVolume("-inf");
    EXPECT_EQ(program.volumes, (std::vector<double>{0.25, 1.0, 0.0, 0.7, 1.0, 0.0}));
    EXPECT_EQ(ClampVolume(std::nan(""), std::nan("")), 0.0);
    EXPECT_EQ(ClampPositionUs(5, -1), 0);
}

TEST_F(MediaControlsTest, PropertiesAndTheirChangeSignalsFollowWhatIsPublished) {
    EXPECT_NE(Get("PlaybackStatus").output.find("\"Stopped\""), std::string::npos);
    BusMonitor monitor("type='signal',path='/org/mpris/MediaPlayer2'");
    ASSERT_TRUE(monitor.Started());

    // A video starts: status and metadata in one signal.
    controls.Publish(PlayingState());
    ASSERT_TRUE(monitor.WaitToSee("member=PropertiesChanged"));
    std::string seen = monitor.Seen();
    EXPECT_NE(seen.find("\"Playing\""), std::string::npos) << seen;
    EXPECT_NE(seen.find("\"xesam:title\""), std::string::npos) << seen;
    EXPECT_NE(seen.find("\"\xED\x95\x9C\xEA\xB5\xAD title\""), std::string::npos)
        << "the title reaches the desktop as UTF-8:\n"
        << seen;
    EXPECT_NE(seen.find("object path \"/org/tunova/track/3\""), std::string::npos) << seen;
    EXPECT_NE(seen.find("int64 200000000"), std::string::npos) << seen;
    EXPECT_NE(seen.find("\"http://127.0.0.1:8080/watch?v=abc\""), std::string::npos) << seen;

    // The same state again says nothing; a pause says only the status.
    controls.Publish(PlayingState());
    MediaState paused = PlayingState();
    paused.status = MediaStatus::kPaused;
    controls.Publish(paused);
    ASSERT_TRUE(monitor.WaitToSee("member=PropertiesChanged", 2));
    seen = monitor.Seen();
    const std::string second = seen.substr(seen.rfind("member=PropertiesChanged"));
    EXPECT_NE(second.find("\"Paused\""), std::string::npos) << second;
    EXPECT_EQ(second.find("xesam:title"), std::string::npos) << second;

    // The video ends: stopped, no track.
    controls.Publish(MediaState{});
    ASSERT_TRUE(monitor.WaitToSee("member=PropertiesChanged", 3));
    EXPECT_NE(Get("PlaybackStatus").output.find("\"Stopped\""), std::string::npos);
    EXPECT_EQ(Get("Metadata").output.find("xesam:title"), std::string::npos);
    EXPECT_EQ(CountOf(monitor.Seen(), "member=PropertiesChanged"), 3);

    // Properties read on demand: the position as the program has it now.
    controls.Publish(PlayingState());
    program.position = 42'000'000;
    EXPECT_NE(Get("Position").output.find("int64 42000000"), std::string::npos);
    EXPECT_NE(Get("Volume").output.find("double 0.7"), std::string::npos);
    EXPECT_NE(Get("CanGoNext").output.find("boolean true"), std::string::npos);

    // A seek is announced with where it went.
    Call(std::string(kPlayer) + ".Seek", {"int64:1000000"});
    ASSERT_TRUE(monitor.WaitToSee("member=Seeked"));
    seen = monitor.Seen();
    EXPECT_NE(seen.substr(seen.find("member=Seeked")).find("int64 43000000"), std::string::npos);
}

TEST(MediaControlsWithoutBusTest, RegisteringFailsWithOneLogLine) {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    ::setenv("TUNOVA_LOG", "info", 1);
    ReloadLogSettings();
    RecordingCommands program;
    ::testing::internal::CaptureStderr();
    {
        MediaControls controls(program);
        EXPECT_FALSE(controls.Register("tunova"));
        EXPECT_FALSE(controls.IsRegistered());
        controls.Publish(PlayingState());  // harmless without a bus
        EXPECT_EQ(controls.Published().status, MediaStatus::kPlaying);
    }
    // An address where no bus listens fails the same way.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tunova-bus", 1);
    {
        MediaControls controls(program);
        EXPECT_FALSE(controls.Register("tunova"));
    }
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string log = ::testing::internal::GetCapturedStderr();
    ::unsetenv("TUNOVA_LOG");
    ReloadLogSettings();
    EXPECT_EQ(CountOf(log, "\n"), 2) << log;
    EXPECT_EQ(CountOf(log, "desktop media controls are off"), 2) << log;
}

}  // namespace
}  // namespace plat
