// The player's own command-line options, in one table (app/command_line.cpp) that the parser and
// the help text both read. To add an option: a field in CommandLineOptions and one row in the
// table; main() acts on the field.
//
// Arguments that do not begin with "-" are not options and stay on the process command line
// for the window's start-up (such as "/run" from the autostart entry). Every other argument must
// be a known option: "--flag VALUE" and "--flag=VALUE" both give a value.
#pragma once

#include <string>

namespace tunova {

struct CommandLineOptions {
    bool help = false;
    std::string exportPlaylist;  // --export-playlist FILE
    std::string importPlaylist;  // --import-playlist FILE
    // A command for the running copy: its option without the dashes ("next", "search", ...);
    // empty for none. searchWord goes with "search" (as typed, UTF-8).
    std::string remoteCommand;
    std::string searchWord;
    // Why the command line is not usable (unknown option, missing value, two actions at once);
    // empty when it is.
    std::string error;
};

// Reads argv[1 .. argc-1].
CommandLineOptions ParseCommandLine(int argc, const char* const* argv);

// The text of --help: usage, one line per option of the table.
std::string CommandLineHelp();

// Exit status for a command line that is not usable (after the help on standard error).
inline constexpr int kExitUsage = 2;

}  // namespace tunova
