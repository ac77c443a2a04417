// Where tunova-server takes its settings when it is started with no options, as the user
// service is: the user's config file and the user's videos folder.
#pragma once

#include <string>

#include "server/server_options.h"

namespace tunova::server {

// $XDG_CONFIG_HOME/tunova/server.conf, or ~/.config/tunova/server.conf.
std::string ServerConfigPath();

// The user's videos folder as `xdg-user-dir VIDEOS` names it: XDG_VIDEOS_DIR of
// $XDG_CONFIG_HOME/user-dirs.dirs ("$HOME/..." or an absolute path); ~/Videos when the file
// does not name one, or names the home folder itself (the folder switched off).
std::string UserVideosFolder();

// The options of a start without flags: the defaults, the library the user's videos folder,
// then the lines of the config file at `path` ("key = value"; '#' starts a comment line):
// library (a folder; "~/" is the home folder), port (0 to 65535; unused when the socket is
// handed over by systemd), cache_entries (rendered feeds kept, 0 to 1000000), media_cache (the
// folder of playable copies; "~/" as for library) and media_cache_limit (a size such as 20G; 0
// for no cap). A missing file
// leaves the defaults; an unknown key or a bad value is an error naming its line.
OptionsParse ReadServerConfig(const std::string& path);

}  // namespace tunova::server
