#include "services/host_config.h"

#include <cstdlib>
#include <fstream>

#include "platform/core/data_dir.h"

namespace tunova {

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

}  // namespace

HostConfig LoadHostConfig(const std::string& path) {
    HostConfig config;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        const std::string key = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        if (value.empty()) {
            continue;
        }
        if (key == "feed_host") {
            config.feedHost = value;
        } else if (key == "update_host") {
            config.updateHost = value;
        } else if (key == "web_host") {
            config.webHost = value;
        } else if (key == "player_engine") {
            config.playerEngine = value;
        } else if (key == "mpv_render") {
            config.mpvRender = value;
        }
    }
    return config;
}

std::string HostConfigPath(const std::string& folder) {
    return folder + "/tunova.conf";
}

HostConfig LoadHosts() {
    HostConfig config = LoadHostConfig(HostConfigPath(plat::DataDir()));
    if (const char* host = std::getenv("TUNOVA_HOST"); host != nullptr && host[0] != '\0') {
        config.feedHost = config.updateHost = config.webHost = host;
    }
    return config;
}

}  // namespace tunova
