// Host names of the services the player talks to, read from "tunova.conf" in the data folder
// (platform/core/data_dir.h). Each host may carry a port ("127.0.0.1:8080"). Missing file or keys
// leave the defaults, which point at the local companion server. The environment variable
// TUNOVA_HOST, when set and not empty, replaces all three hosts (tests and benchmarks point a
// player at the server they started with it).
#pragma once

#include <string>

namespace tunova {

struct HostConfig {
    std::string feedHost = "127.0.0.1:8080";    // video feed service
    std::string updateHost = "127.0.0.1:8080";  // update server
    std::string webHost = "127.0.0.1:8080";     // vendor web pages and counter
    // The engine that plays the videos: "page" (the web page in the browser control) or "mpv"
    // (libmpv). Read as written; the window judges it.
    std::string playerEngine = "page";
    // How the mpv engine draws: "auto" (with OpenGL on a machine with a graphics card, else in
    // software), "opengl" or "software". Read as written; the window judges it.
    std::string mpvRender = "auto";
};

// Reads "key=value" lines (feed_host, update_host, web_host, player_engine, mpv_render) of `path`;
// '#' starts a comment, unknown keys and malformed lines are ignored.
HostConfig LoadHostConfig(const std::string& path);

// The configuration file's path in `folder`.
std::string HostConfigPath(const std::string& folder);

// The hosts in force: "tunova.conf" of the data folder, then TUNOVA_HOST.
HostConfig LoadHosts();

}  // namespace tunova
