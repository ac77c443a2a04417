// Where the program's data files lie: the player page "you.html", the "skin" folder, the host
// configuration "tunova.conf" and the files the program writes ("playlist.ini", "today50.ini").
// They lie in the executable's folder unless the environment variable TUNOVA_DATA_DIR names
// another folder (a test gives each of its processes its own; a user can keep a second set).
#pragma once

#include <string>
#include <string_view>

namespace plat {

// Folder of the running executable, without a trailing slash ("." if it cannot be read).
std::string ExecutableDir();
// TUNOVA_DATA_DIR when set and not empty (read at every call), else ExecutableDir(). No
// trailing slash.
std::string DataDir();
// DataDir() + "/" + `name`.
std::string DataFile(std::string_view name);

}  // namespace plat
