// The mpv engine asked to draw with OpenGL. On the xcb platform under an X server with GLX (the
// MpvOpenGlUnderXvfb entry of tests/CMakeLists.txt runs it so in Xvfb) it draws with OpenGL;
// headless (offscreen, which shows no OpenGL widgets) it falls back to the software renderer.
// Either way the picture shows as the software path shows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "page_support.h"
#include "platform/testing/testing.h"
#include "support/companion_server.h"
#include "support/player_engines.h"
#include "support/test_paths.h"

namespace tunova {
namespace {

using testing::PumpUntil;

// Pixels of row `y` of `shot` that are not black.
int LitPixels(const plat::Bitmap& shot, int y) {
    int lit = 0;
    for (int x = 0; x < shot.Width(); ++x) {
        const plat::ColorRef c = shot.Pixel(x, y);
        lit += plat::RedOf(c) + plat::GreenOf(c) + plat::BlueOf(c) > 48 ? 1 : 0;
    }
    return lit;
}

TEST(MpvOpenGl, DrawsWithOpenGlWhereTheProgramHasItElseInSoftware) {
    if (!MpvPage::Available()) {
        GTEST_SKIP() << "built without libmpv";
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool openGl = platform != nullptr && std::string(platform) == "xcb";
    testing::CompanionServer server({4});
    ASSERT_TRUE(server.Running()) << server.Error();
    testing::PlayerEngine engine = testing::MpvEngine();
    engine.make = [] {
        return std::make_unique<MpvPage>(plat::MpvSettings{.sound = false, .openGl = true});
    };
    testing::EngineHost host(engine);
    ASSERT_TRUE(host.Start(testing::RunDir(), server.Host()));
    plat::MpvVideo& video = static_cast<MpvPage&>(*host.page).Video();
    EXPECT_EQ(video.DrawsWithOpenGl(), openGl);
    int doubleClicks = 0;
    host.page->onVideoDoubleClick = [&] { ++doubleClicks; };

    host.page->CallFunction("loadNewVideo", {server.VideoIds()[0], "1"});
    ASSERT_TRUE(PumpUntil([&] { return video.FramesDrawn() > 5; }, 20000));
    // The 16:9 clip in the 400x300 area: picture across the middle, black above and below.
    plat::Bitmap shot = plat::testing::GrabWindow(host.page->VideoWindow());
    ASSERT_EQ(shot.Width(), 400);
    EXPECT_GT(LitPixels(shot, 150), 300);
    EXPECT_EQ(LitPixels(shot, 10), 0);
    EXPECT_EQ(LitPixels(shot, 290), 0);

    // Resized taller than wide: frames go on at the new size, black left and right no more but
    // above and below.
    host.page->VideoWindow().Move(plat::Rect::FromXYWH(0, 0, 200, 300));
    const long before = video.FramesDrawn();
    ASSERT_TRUE(PumpUntil([&] { return video.FramesDrawn() > before + 3; }, 10000));
    testing::PumpEvents(100);
    shot = plat::testing::GrabWindow(host.page->VideoWindow());
    ASSERT_EQ(shot.Width(), 200);
    EXPECT_GT(LitPixels(shot, 150), 150);
    EXPECT_EQ(LitPixels(shot, 60), 0);

    plat::testing::MouseDoubleClick(host.page->VideoWindow(), {100, 150});
    EXPECT_EQ(doubleClicks, 1);

    // Closed: black, however long the last frame stays in the renderer.
    video.Close();
    testing::PumpEvents(200);
    EXPECT_EQ(LitPixels(plat::testing::GrabWindow(host.page->VideoWindow()), 150), 0);

    // A core that quits is started again, drawing as the first one drew.
    ASSERT_TRUE(video.Command({"quit"}));
    ASSERT_TRUE(PumpUntil([&] { return video.Starts() == 2; }, 10000));
    EXPECT_EQ(video.DrawsWithOpenGl(), openGl);
    const long beforeRestart = video.FramesDrawn();
    host.page->CallFunction("loadNewVideo", {server.VideoIds()[0], "1"});
    ASSERT_TRUE(PumpUntil([&] { return video.FramesDrawn() > beforeRestart + 5; }, 20000));
    testing::PumpEvents(100);
    EXPECT_GT(LitPixels(plat::testing::GrabWindow(host.page->VideoWindow()), 150), 150);
}

}  // namespace
}  // namespace tunova
