// The player commands of a second start (tunova --next, --search WORD, ...): the start hands
// them to the running copy over its command socket, and the running copy carries them out
// through its main window's own commands.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/app_services.h"
#include "app/command_line.h"
#include "res/resource_ids.h"

namespace tunova {

// The request names of the player commands, as the options name them, and the main window
// command each one is. "play-pause" and "search" are handled apart: play-pause is the pause or
// the play command by the player's state; search fills the search box first.
struct RemoteCommandRow {
    std::string_view name;
    int command;
};
inline constexpr RemoteCommandRow kRemoteCommands[] = {
    {"next", res::kIdcNext},          {"previous", res::kIdcPrevious},      {"stop", res::kIdcStop},
    {"volume-up", res::kIdcVolumeUp}, {"volume-down", res::kIdcVolumeDown},
};
inline constexpr char kRemotePlayPause[] = "play-pause";
inline constexpr char kRemoteSearch[] = "search";
// A search word longer than this is cut (CP949 bytes, never inside a character).
inline constexpr std::size_t kMaxRemoteSearchBytes = 255;

// Hands `options.remoteCommand` to the running copy and prints one line on standard error when
// that fails. Returns the exit status (0 handed over, 1 not), or nullopt when no copy runs and
// this start is to become the player (--search).
std::optional<int> ForwardRemoteCommand(const AppServices& services,
                                        const CommandLineOptions& options);

// The search word of a command line (UTF-8 as typed) as the player holds it: CP949, cut.
std::string RemoteSearchWord(std::string_view utf8);

}  // namespace tunova
