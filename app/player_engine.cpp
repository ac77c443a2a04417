#include "app/player_engine.h"

#include <string>

#include "platform/core/log.h"
#include "playback/mpv_page.h"
#include "playback/web_browser.h"

namespace tunova {

std::unique_ptr<PlayerPage> MakePlayerEngine(std::string_view name) {
    if (name == "mpv") {
        if (MpvPage::Available()) {
            return std::make_unique<MpvPage>();
        }
        plat::LogError("player",
                       "player_engine=mpv, but this build has no libmpv: playing with "
                       "the page");
    } else if (name != "page") {
        plat::LogError("player", "unknown player_engine '" + std::string(name) +
                                     "' in tunova.conf: playing with the page");
    }
    return std::make_unique<CWebBrowser2>();
}

bool PlayerEngineIsPage(std::string_view name) {
    return name != "mpv" || !MpvPage::Available();
}

}  // namespace tunova
