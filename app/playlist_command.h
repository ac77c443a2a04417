// --export-playlist and --import-playlist: the playlist file work a start with those options
// does instead of starting the player.
#pragma once

#include <string>
#include <string_view>

#include "app/app_services.h"
#include "app/command_line.h"
#include "lists/playlist_transfer.h"

namespace tunova {

// True when `options` ask for an export or an import.
bool WantsPlaylistCommand(const CommandLineOptions& options);

// Does the export or import and prints one line about it (standard output on success, standard
// error on failure). Returns the exit status: 0 done, 1 failed (nothing was changed).
//
// While another copy of the player runs, its playlist lives in that copy and is written to
// playlist.ini only when it ends, so both are handed to it over its command socket: it writes
// its playlist as it is now, or adds the file's entries as a file dropped onto its playlist is
// added. Should it not answer, an export writes the last saved playlist and says so, and an
// import is refused (it would be overwritten when that copy ends).
//
// With no copy running, export writes the saved playlist (playlist.ini in the data folder), and
// import loads playlist.ini into a playlist that is never shown, adds the file's entries through
// the playlist's own add rules and saves it.
//
// `services` are the program's: the feed host names the library's videos and answers the
// import's look-ups, the clock times the wait for a running copy's window.
int RunPlaylistCommand(const AppServices& services, const CommandLineOptions& options, int argc,
                       char** argv);

// The requests of the hand-over. The argument is the file's absolute path; the answer is
// PlaylistRequestAnswer() of the outcome.
inline constexpr char kExportPlaylistRequest[] = "export-playlist";
inline constexpr char kImportPlaylistRequest[] = "import-playlist";
// "ok\n" or "failed\n", then the outcome's message.
std::string PlaylistRequestAnswer(const TransferResult& result);
// The outcome an answer tells; an answer of another shape is a failure.
TransferResult ReadPlaylistRequestAnswer(std::string_view answer);

}  // namespace tunova
