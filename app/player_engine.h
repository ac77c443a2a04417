// The player engine the window plays with, by tunova.conf's player_engine.
#pragma once

#include <memory>
#include <string_view>

#include "playback/player_page.h"

namespace tunova {

// "page": the web page in the browser control; "mpv": libmpv. Any other name, or "mpv" in a
// build without libmpv, gives the page and logs one line saying why.
std::unique_ptr<PlayerPage> MakePlayerEngine(std::string_view name);

// Whether MakePlayerEngine(name) gives the page, the one engine that needs the web engine and
// with it OpenGL.
bool PlayerEngineIsPage(std::string_view name);

}  // namespace tunova
