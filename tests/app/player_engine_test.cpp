// The engine tunova.conf's player_engine names; anything else, the page.
#include <gtest/gtest.h>

#include "app/player_engine.h"
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

}  // namespace
}  // namespace tunova
