// Named mutexes as exclusive file locks in the runtime folder.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/core/runtime_dir_impl.h"
#include "platform/core/system.h"

namespace plat {
namespace {

bool IsPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 0077) == 0;
}

}  // namespace

std::string RuntimeDir() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && xdg[0] == '/') {
        struct stat info {};
        if (::stat(xdg, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()) {
            return xdg;
        }
    }
    const std::string fallback = "/tmp/tunova-" + std::to_string(::getuid());
    if (::mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    // Another user may have planted the folder (or a link) first: never use it then.
    return IsPrivateFolder(fallback) ? fallback : std::string();
}

std::string SafeFileName(const std::string& name) {
    std::string safe = name;
    for (char& c : safe) {
        const auto u = static_cast<unsigned char>(c);
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                        (u >= '0' && u <= '9') || u == '-' || u == '_' || u == '.';
        if (!ok) {
            c = '_';
        }
    }
    if (safe.empty() || safe == "." || safe == "..") {
        safe = "_" + safe;
    }
    return safe;
}

NamedMutex::NamedMutex(std::string_view name) : path_(name) {}

NamedMutex::~NamedMutex() {
    if (fd_ >= 0) {
        ::close(fd_);  // releases the lock
    }
}

bool NamedMutex::Create() {
    if (fd_ >= 0) {
        return true;
    }
    const std::string dir = RuntimeDir();
    if (dir.empty()) {
        return false;
    }
    const std::string file = dir + "/tunova-" + SafeFileName(path_) + ".lock";
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            alreadyExists_ = true;
            return true;
        }
        return false;
    }
    alreadyExists_ = false;
    fd_ = fd;
    return true;
}

std::int64_t CurrentProcessId() {
    return ::getpid();
}

}  // namespace plat
