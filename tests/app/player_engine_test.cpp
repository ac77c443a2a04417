// The engine tunova.conf's player_engine names; anything else, the page.
#include <gtest/gtest.h>

#include "app/player_engine.h"
#include "platform/mpv/mpv_video.h"
#include "playback/mpv_page.h"
#include "playback/web_browser.h"

namespace tunova {
namespace {

TEST(PlayerEngine, MpvWhenAskedAndBuiltInElseThePage) {
    EXPECT_NE(dynamic_cast<CWebBrowser2*>(MakePlayerEngine("page").get()), nullptr);
    for (const char* unknown : {"", "MPV", "vlc", "mpv "}) {
        EXPECT_NE(dynamic_cast<CWebBrowser2*>(MakePlayerEngine(unknown).get()), nullptr) << unknown;
    }
    const auto mpv = MakePlayerEngine("mpv");
    if (MpvPage::Available()) {
        EXPECT_NE(dynamic_cast<MpvPage*>(mpv.get()), nullptr);
    } else {
        EXPECT_NE(dynamic_cast<CWebBrowser2*>(mpv.get()), nullptr);
    }
}

// A program started without OpenGL cannot show the page: the two must agree on every name.
TEST(PlayerEngine, OnlyThePageAsksForTheWebEngine) {
    for (const char* name : {"page", "mpv", "", "vlc", "MPV"}) {
        const bool page = dynamic_cast<CWebBrowser2*>(MakePlayerEngine(name).get()) != nullptr;
        EXPECT_EQ(PlayerEngineIsPage(name), page) << name;
    }
}

// mpv draws with OpenGL when told to, or by default on a machine with a graphics card; the
// program starts with OpenGL exactly when the page or that drawing needs it.
TEST(PlayerEngine, MpvDrawsWithOpenGlWhenToldOrOnAMachineWithAGraphicsCard) {
    EXPECT_TRUE(MpvDrawsWithOpenGl("opengl"));
    EXPECT_FALSE(MpvDrawsWithOpenGl("software"));
    for (const char* automatic : {"auto", "", "GL"}) {
        EXPECT_EQ(MpvDrawsWithOpenGl(automatic), plat::MpvVideo::MachineHasGpu()) << automatic;
    }
    EXPECT_TRUE(PlayerEngineNeedsOpenGl("page", "software"));
    EXPECT_TRUE(PlayerEngineNeedsOpenGl("mpv", "opengl"));
    EXPECT_EQ(PlayerEngineNeedsOpenGl("mpv", "software"), !MpvPage::Available());
}

}  // namespace
}  // namespace tunova
