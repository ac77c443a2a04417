// --export-playlist and --import-playlist: the playlist file work a start with those options
// does instead of starting the player.
#pragma once

#include "app/command_line.h"

namespace tunova {

// True when `options` ask for an export or an import.
bool WantsPlaylistCommand(const CommandLineOptions& options);

// Does the export or import and prints one line about it (standard output on success, standard
// error on failure). Returns the exit status: 0 done, 1 failed (nothing was changed).
//
// Export writes the saved playlist (playlist.ini in the data folder). Import loads playlist.ini
// into a playlist that is never shown, adds the file's entries through the playlist's own add
// rules and saves it. While another copy of the player runs, its playlist lives in that copy and
// is written only when it ends: an export then writes the last saved playlist and says so, and
// an import is refused (drop the file onto the running copy's playlist instead).
int RunPlaylistCommand(const CommandLineOptions& options, int argc, char** argv);

}  // namespace tunova
