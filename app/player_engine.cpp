#include "app/player_engine.h"

#include <string>

#include "platform/core/log.h"
#include "platform/mpv/mpv_video.h"
#include "playback/mpv_page.h"
#include "playback/web_browser.h"

namespace tunova {

std::unique_ptr<PlayerPage> MakePlayerEngine(std::string_view name, std::string_view mpvRender) {
    if (name == "mpv") {
        if (MpvPage::Available()) {
            if (mpvRender != "auto" && mpvRender != "opengl" && mpvRender != "software") {
                plat::LogError("player", "unknown mpv_render '" + std::string(mpvRender) +
                                             "' in tunova.conf: taken as auto");
            }
            return std::make_unique<MpvPage>(
                plat::MpvSettings{.openGl = MpvDrawsWithOpenGl(mpvRender)});
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

bool MpvDrawsWithOpenGl(std::string_view mpvRender) {
    if (mpvRender == "opengl" || mpvRender == "software") {
        return mpvRender == "opengl";
    }
    return plat::MpvVideo::MachineHasGpu();
}

bool PlayerEngineNeedsOpenGl(std::string_view name, std::string_view mpvRender) {
    return PlayerEngineIsPage(name) || MpvDrawsWithOpenGl(mpvRender);
}

}  // namespace tunova
