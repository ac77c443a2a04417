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

}  // namespace
}  // namespace tunova
