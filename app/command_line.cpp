#include "app/command_line.h"

#include <algorithm>
#include <string_view>

namespace tunova {
namespace {

struct OptionRow {
    std::string_view flag;
    std::string_view valueName;  // empty for a switch
    std::string_view help;
    void (*apply)(CommandLineOptions& options, std::string_view value);
};

constexpr OptionRow kOptions[] = {
    {"--export-playlist", "FILE",
     "write the playlist to FILE (XSPF if it ends in .xspf, else M3U) and exit",
     [](CommandLineOptions& o, std::string_view v) { o.exportPlaylist = v; }},
    {"--import-playlist", "FILE",
     "add the entries of the M3U or XSPF playlist FILE to the playlist and exit",
     [](CommandLineOptions& o, std::string_view v) { o.importPlaylist = v; }},
    {"--help", "", "show this help and exit",
     [](CommandLineOptions& o, std::string_view) { o.help = true; }},
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
            row->apply(options, value);
        }
    }
    if (options.error.empty() && !options.exportPlaylist.empty() &&
        !options.importPlaylist.empty()) {
        options.error = "give --export-playlist or --import-playlist, not both";
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
        "\nAn import follows the playlist's rules: at most 500 entries, and a title already in\n"
        "the playlist is left out. A file that is not a playlist, or is damaged, changes "
        "nothing.\n";
    return text;
}

}  // namespace tunova
