#include "server/server_options.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace tunova::server {

bool ReadInt(const std::string& text, int low, int high, int& value) {
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

bool ReadByteSize(const std::string& text, std::int64_t& bytes) {
    std::int64_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || number < 0) {
        return false;
    }
    int shift = 0;
    if (stop != end) {
        constexpr std::string_view kUnits = "KMGT";
        const std::size_t unit = kUnits.find(static_cast<char>(std::toupper(*stop)));
        if (stop + 1 != end || unit == std::string_view::npos) {
            return false;
        }
        shift = 10 * static_cast<int>(unit + 1);
    }
    constexpr std::int64_t kLimit = std::int64_t{1} << 50;
    if (number > (kLimit >> shift)) {
        return false;
    }
    bytes = number << shift;
    return true;
}

OptionsParse ParseServerOptions(const std::vector<std::string>& arguments) {
    OptionsParse result;
    ServerOptions& options = result.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--ingest-only") {
            options.ingestOnly = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            result.error =
                name.rfind("--", 0) == 0 ? name + " needs a value" : "unexpected argument " + name;
            return result;
        }
        const std::string& value = arguments[++i];
        if (name == "--host") {
            options.host = value;
        } else if (name == "--port") {
            if (!ReadInt(value, 0, 65535, options.port)) {
                result.error = "--port must be 0 to 65535";
            }
        } else if (name == "--library") {
            options.library = value;
        } else if (name == "--db") {
            options.database = value;
        } else if (name == "--player-version") {
            options.playerVersion = value;
            if (value.empty() || value.size() > 100) {
                result.error = "--player-version must be 1 to 100 characters";
            }
        } else if (name == "--port-file") {
            options.portFile = value;
        } else if (name == "--threads") {
            if (!ReadInt(value, 1, 256, options.threads)) {
                result.error = "--threads must be 1 to 256";
            }
        } else if (name == "--cache-entries") {
            if (!ReadInt(value, 0, 1000000, options.cacheEntries)) {
                result.error = "--cache-entries must be 0 to 1000000";
            }
        } else if (name == "--head-deadline") {
            if (!ReadInt(value, 10, 600000, options.headDeadlineMs)) {
                result.error = "--head-deadline must be 10 to 600000 milliseconds";
            }
        } else if (name == "--keep-alive-idle") {
            if (!ReadInt(value, 10, 3600000, options.idleMs)) {
                result.error = "--keep-alive-idle must be 10 to 3600000 milliseconds";
            }
        } else if (name == "--max-connections") {
            if (!ReadInt(value, 1, 1000000, options.maxConnections)) {
                result.error = "--max-connections must be 1 to 1000000";
            }
        } else if (name == "--idle-exit") {
            if (!ReadInt(value, 0, 86400000, options.idleExitMs)) {
                result.error = "--idle-exit must be 0 to 86400000 milliseconds";
            }
        } else if (name == "--max-per-address") {
            if (!ReadInt(value, 0, 1000000, options.maxPerAddress)) {
                result.error = "--max-per-address must be 0 to 1000000";
            }
        } else if (name == "--media-cache") {
            options.mediaCache = value;
            if (value.empty()) {
                result.error = "--media-cache needs a folder";
            }
        } else if (name == "--media-cache-limit") {
            if (!ReadByteSize(value, options.mediaCacheLimit)) {
                result.error = "--media-cache-limit must be a size such as 500M or 20G (0: no cap)";
            }
        } else {
            result.error = "unknown option " + name;
        }
        if (!result) {
            return result;
        }
    }
    return result;
}

namespace {

// `variable` when set, else `underHome` below the home folder (or the current folder).
std::filesystem::path XdgFolder(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
        return value;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / underHome;
    }
    return ".";
}

}  // namespace

std::string DefaultDatabasePath() {
    const std::filesystem::path folder = XdgFolder("XDG_DATA_HOME", ".local/share") / "tunova";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return (folder / "catalogue.sqlite").string();
}

std::string DefaultMediaCachePath() {
    return (XdgFolder("XDG_CACHE_HOME", ".cache") / "tunova" / "media").string();
}

std::string UsageText() {
    return "usage: tunova-server [--host ADDR] [--port N] [--library DIR] [--db FILE]\n"
           "                     [--player-version TEXT] [--port-file FILE] [--threads N]\n"
           "                     [--cache-entries N] [--head-deadline MS] [--keep-alive-idle MS]\n"
           "                     [--max-connections N] [--max-per-address N] [--idle-exit MS]\n"
           "                     [--media-cache DIR] [--media-cache-limit SIZE] [--ingest-only]\n"
           "With no options: the library, port, cache_entries, media_cache and media_cache_limit "
           "of\n"
           "$XDG_CONFIG_HOME/tunova/server.conf, the library by default the videos folder.\n"
           "Started by systemd for its socket (tunova-server.socket), it serves that socket.\n"
           "  --host ADDR            address to listen on (default 127.0.0.1)\n"
           "  --port N               port (default 8080; 0 picks a free one)\n"
           "  --library DIR          media folder: ingested at start, served under /media/\n"
           "  --db FILE              catalogue database (default "
           "$XDG_DATA_HOME/tunova/catalogue.sqlite)\n"
           "  --player-version TEXT  answer of /update/player_ver.php (default 1)\n"
           "  --port-file FILE       write the bound port to FILE once listening\n"
           "  --threads N            request worker threads (default 16)\n"
           "  --cache-entries N      rendered feeds kept for 60 s (default 1024; 0: none)\n"
           "  --head-deadline MS     a request head must arrive whole within MS of its first\n"
           "                         byte, else 408 and close (default 10000)\n"
           "  --keep-alive-idle MS   close a kept-alive connection idle for MS (default 15000)\n"
           "  --max-connections N    open connections in all; more get 503 (default 4096)\n"
           "  --max-per-address N    open connections from one client address; more get 503\n"
           "                         (default 64; 0: no cap)\n"
           "  --idle-exit MS         started by its socket: exit once unused for MS; the socket\n"
           "                         starts it again (default 1800000; 0: never)\n"
           "  --media-cache DIR      playable copies of files the player's page cannot play as\n"
           "                         they are (default $XDG_CACHE_HOME/tunova/media)\n"
           "  --media-cache-limit SIZE  no new copy once the copies take SIZE (K, M, G, T;\n"
           "                         default 10G; 0: no cap)\n"
           "  --ingest-only          scan the library into the catalogue (making the copies it\n"
           "                         needs) and exit\n";
}

}  // namespace tunova::server
