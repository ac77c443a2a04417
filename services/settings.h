// The user's two settings: starting with the desktop session (the Run key's "tunova_player",
// an autostart entry) and what a double-click on a search result does ("setting_click").
// Plain functions the settings dialog and start-up call, each on the settings store it is given;
// nothing here shows a window.
#pragma once

#include <string>
#include <string_view>

#include "platform/desktop/machine_services.h"

namespace tunova {

// What the settings dialog shows and saves.
struct MenuSettings {
    bool autostart = false;  // the autostart check box
    int clickSelection = 0;  // the double-click combo: 0 plays at once, 1 adds to the playlist
};

// True when `stored`, lower-cased (ASCII letters only; double-byte characters stay), contains
// `lowerNeedle` anywhere.
bool StoredTextContains(std::string_view stored, std::string_view lowerNeedle);

// The double-click action flag from "setting_click": 1 (add to the playlist) when the value,
// lower-cased, contains "true"; 0 when it does not or is absent.
int LoadClickSetting(const plat::SettingsStore& store);

// The command that starts the program at `executablePath` as a user would: for an installed
// player (PREFIX/libexec/tunova/NAME) its launcher PREFIX/bin/NAME when that file exists, which
// gives the user's data folder before it runs the program; otherwise (a build folder) the
// executable itself.
std::string AutostartProgram(const std::string& executablePath);

// The autostart entry's command line for the program at `executablePath`: AutostartProgram()
// quoted for a desktop entry, then " /run" (so the autostart start is known and skips the usage
// count).
std::string AutostartCommandLine(const std::string& executablePath);

// True when the autostart entry exists and, lower-cased, names the executable's file name.
bool IsAutostartOn(const plat::SettingsStore& store, const std::string& executablePath);

// Rereads both settings from the store, as the dialog does each time it opens.
MenuSettings LoadSettings(const plat::SettingsStore& store, const std::string& executablePath);

// Stores both settings: writes or removes the autostart entry and writes "setting_click" as
// "true" or "false". Returns the double-click action flag the main window takes on (1 when
// the selection is not 0). Store failures are logged and otherwise ignored.
int SaveSettings(const plat::SettingsStore& store, const MenuSettings& settings,
                 const std::string& executablePath);

}  // namespace tunova
