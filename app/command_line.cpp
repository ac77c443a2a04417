#include "app/command_line.h"

#include <algorithm>
#include <string_view>

namespace tunova {
namespace {

struct OptionRow {
    std::string_view flag;
    std::string_view valueName;  // empty for a switch
    std::string_view help;
    void (*apply)(CommandLineOptions& options, std::string_view flag, std::string_view value);
};

// A command for the running copy, named after its option.
void SetRemote(CommandLineOptions& o, std::string_view flag, std::string_view) {
    if (!o.remoteCommand.empty()) {
        o.error = "give one of the player commands at a time";
        return;
    }
    o.remoteCommand = flag.substr(2);
}

constexpr OptionRow kOptions[] = {
    {"--play-pause", "", "pause the running player, or play", SetRemote},
    {"--next", "", "play the next video of the running player", SetRemote},
    {"--previous", "", "play the previous video of the running player", SetRemote},
    {"--stop", "", "stop the running player", SetRemote},
    {"--volume-up", "", "turn the running player's volume up", SetRemote},
    {"--volume-down", "", "turn the running player's volume down", SetRemote},
    {"--search", "WORD", "search for WORD in the running player, or start one that does",
     [](CommandLineOptions& o, std::string_view flag, std::string_view v) {
         SetRemote(o, flag, v);
         o.searchWord = v;
     }},
    {"--export-playlist", "FILE",
     "write the playlist to FILE (XSPF if it ends in .xspf, else M3U) and exit",
     [](CommandLineOptions& o, std::string_view, std::string_view v) { o.exportPlaylist = v; }},
    {"--import-playlist", "FILE",
     "add the entries of the M3U or XSPF playlist FILE to the playlist and exit",
     [](CommandLineOptions& o, std::string_view, std::string_view v) { o.importPlaylist = v; }},
    {"--help", "", "show this help and exit",
     [](CommandLineOptions& o, std::string_view, std::string_view) { o.help = true; }},
};

const OptionRow* FindOption(std::string_view flag) {
    if (flag == "-h") {
        flag = "--help";
    }
    for (const OptionRow& row : kOptions) {
        if (row.flag == flag) {
            return &row;
        }
    }
    return nullptr;
}

// One thing to do per start: a player command, an export or an import.
std::string ActionConflict(const CommandLineOptions& options) {
    const bool playlistFile = !options.exportPlaylist.empty() || !options.importPlaylist.empty();
    if (!options.exportPlaylist.empty() && !options.importPlaylist.empty()) {
        return "give --export-playlist or --import-playlist, not both";
    }
    if (playlistFile && !options.remoteCommand.empty()) {
        return "give a player command or a playlist file, not both";
    }
    return {};
}

}  // namespace

CommandLineOptions ParseCommandLine(int argc, const char* const* argv) {
    CommandLineOptions options;
    for (int i = 1; i < argc && options.error.empty(); ++i) {
        const std::string_view argument = argv[i];
        if (argument.empty() || argument.front() != '-') {
            continue;
        }
        const std::size_t equals = argument.find('=');
        const OptionRow* row = FindOption(argument.substr(0, equals));
        if (row == nullptr) {
            options.error = "unknown option " + std::string(argument.substr(0, equals));
            break;
        }
        std::string_view value;
        if (row->valueName.empty()) {
            if (equals != std::string_view::npos) {
                options.error = std::string(row->flag) + " takes no value";
            }
        } else if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        }
        if (!row->valueName.empty() && value.empty()) {
            options.error = std::string(row->flag) + " needs " + std::string(row->valueName);
        }
        if (options.error.empty()) {
            row->apply(options, row->flag, value);
        }
    }
    if (options.error.empty()) {
        options.error = ActionConflict(options);
    }
    return options;
}

std::string CommandLineHelp() {
    std::string text =
        "usage: tunova [OPTION]...\n"
        "Searches and plays music videos and keeps a playlist. Without options it starts the\n"
        "player; a second start brings the running copy to the front.\n\n";
    for (const OptionRow& row : kOptions) {
        std::string head = "  ";
        head += row.flag == "--help" ? std::string_view("-h, --help") : row.flag;
        if (!row.valueName.empty()) {
            head += ' ';
            head += row.valueName;
        }
        head.resize(std::max<std::size_t>(head.size() + 2, 26), ' ');
        text += head;
        text += row.help;
        text += '\n';
    }
    text +=
        "\nThe player commands are handed to the player already running and end at once; with\n"
        "no player running they fail, except --search, which starts one.\n"
        "The playlist options work on the running player's playlist, or on the saved one when\n"
        "no player runs. An export names each video by its media address, which other players\n"
        "play. An import takes watch links and media addresses as they are, and local files and\n"
        "other links as the one library video their file name or title finds; it skips the\n"
        "rest and names them. It follows the playlist's rules: at most 500 entries, and a\n"
        "title already in the playlist is left out. A file that is not a playlist, or is\n"
        "damaged, changes nothing.\n";
    return text;
}

}  // namespace tunova
