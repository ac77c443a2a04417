#include "platform/core/data_dir.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace plat {

std::string ExecutableDir() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0) {
        return ".";
    }
    std::string path(buffer, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

std::string DataDir() {
    if (const char* dir = std::getenv("TUNOVA_DATA_DIR"); dir != nullptr && dir[0] != '\0') {
        std::string folder = dir;
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return folder;
    }
    return ExecutableDir();
}

std::string DataFile(std::string_view name) {
    std::string path = DataDir();
    if (path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

}  // namespace plat
