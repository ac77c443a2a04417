#include "server/server_config.h"

#include <cstdlib>
#include <fstream>

namespace tunova::server {

namespace {

std::string EnvironmentOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

std::string Home() {
    return EnvironmentOr("HOME", ".");
}

std::string ConfigHome() {
    return EnvironmentOr("XDG_CONFIG_HOME", Home() + "/.config");
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::string ServerConfigPath() {
    return ConfigHome() + "/tunova/server.conf";
}

std::string UserVideosFolder() {
    const std::string home = Home();
    const std::string fallback = home + "/Videos";
    std::ifstream dirs(ConfigHome() + "/user-dirs.dirs");
    std::string line;
    while (std::getline(dirs, line)) {
        line = Trim(line);
        constexpr std::string_view kKey = "XDG_VIDEOS_DIR=";
        if (line.compare(0, kKey.size(), kKey) != 0) {
            continue;
        }
        std::string value = line.substr(kKey.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.compare(0, 5, "$HOME") == 0) {
            value = home + value.substr(5);
        }
        while (value.size() > 1 && value.back() == '/') {
            value.pop_back();
        }
        if (value.empty() || value.front() != '/' || value == home) {
            return fallback;
        }
        return value;
    }
    return fallback;
}

OptionsParse ReadServerConfig(const std::string& path) {
    OptionsParse result;
    ServerOptions& options = result.options;
    options.library = UserVideosFolder();
    std::ifstream file(path);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        line = Trim(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = equals == std::string::npos ? "" : Trim(line.substr(equals + 1));
        const std::string where = path + ":" + std::to_string(number) + ": ";
        if (equals == std::string::npos) {
            result.error = where + "expected key = value";
        } else if (key == "library") {
            options.library = value.compare(0, 2, "~/") == 0 ? Home() + value.substr(1) : value;
            if (value.empty()) {
                result.error = where + "library needs a folder";
            }
        } else if (key == "port") {
            if (!ReadInt(value, 0, 65535, options.port)) {
                result.error = where + "port must be 0 to 65535";
            }
        } else if (key == "cache_entries") {
            if (!ReadInt(value, 0, 1000000, options.cacheEntries)) {
                result.error = where + "cache_entries must be 0 to 1000000";
            }
        } else if (key == "media_cache") {
            options.mediaCache = value.compare(0, 2, "~/") == 0 ? Home() + value.substr(1) : value;
            if (value.empty()) {
                result.error = where + "media_cache needs a folder";
            }
        } else if (key == "media_cache_limit") {
            if (!ReadByteSize(value, options.mediaCacheLimit)) {
                result.error = where + "media_cache_limit must be a size such as 500M or 20G";
            }
        } else {
            result.error = where + "unknown key " + key;
        }
        if (!result) {
            return result;
        }
    }
    return result;
}

}  // namespace tunova::server
