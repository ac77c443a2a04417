// The player engine the window plays with, by tunova.conf's player_engine, and how the mpv
// engine draws, by its mpv_render.
#pragma once

#include <memory>
#include <string_view>

#include "playback/player_page.h"

namespace tunova {

// "page": the web page in the browser control; "mpv": libmpv, drawing as MpvDrawsWithOpenGl
// says. Any other name, or "mpv" in a build without libmpv, gives the page and logs one line
// saying why; so does an mpv_render other than "auto", "opengl" or "software", which is taken as
// "auto".
std::unique_ptr<PlayerPage> MakePlayerEngine(std::string_view name,
                                             std::string_view mpvRender = "auto");

// Whether MakePlayerEngine(name) gives the page, the one engine that needs the web engine.
bool PlayerEngineIsPage(std::string_view name);

// Whether the mpv engine draws with OpenGL: "opengl" yes, "software" no, "auto" (or anything
// else) when the machine has a graphics card. Without one OpenGL is the software driver, which
// costs about 50 MB and draws no faster than mpv's own software renderer.
bool MpvDrawsWithOpenGl(std::string_view mpvRender);

// Whether the program starts with OpenGL for the engine: the page, or mpv drawing with OpenGL.
bool PlayerEngineNeedsOpenGl(std::string_view name, std::string_view mpvRender);

}  // namespace tunova
