// The desktop session's autostart entries, read and written as the values of one settings-store
// key.
//
// Mapping on Linux: the settings store's key "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
// is the XDG autostart folder, $XDG_CONFIG_HOME/autostart (the config folder of the store in
// use). Its value NAME is the file "NAME.desktop" there (NAME lower-cased; letters, digits,
// '_', '-' and '.' only); the value's text is the entry's Exec= line, written with the Desktop
// Entry escapes and read back without them. An entry marked Hidden=true, or switched off with
// X-GNOME-Autostart-enabled=false (the desktop's own start-up settings do that), reads as
// absent. Deleting the value removes only that file; other entries stay.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// `argument` (a program path) as one argument of an Exec= command line: in double quotes,
// with '"', '`', '$' and '\' escaped by a backslash and '%' doubled.
std::string QuoteExecArgument(std::string_view argument);

}  // namespace plat
