// Whole-file reads and atomic replacement with POSIX calls.
#include "platform/core/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace plat {
namespace {

FileResult Failure(int error, const char* step, const std::string& path) {
    FileResult result;
    result.error = error != 0 ? error : EIO;
    result.description = std::string(step) + " " + path + ": " + std::strerror(result.error);
    return result;
}

struct PathParts {
    std::string folder;  // "." when the path has none
    std::string base;    // the last component
};

PathParts SplitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {std::string("."), path};
    }
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

std::string TemporaryPrefix(const std::string& folder, const std::string& base) {
    return (folder == "/" ? std::string() : folder) + "/." + base + ".tmp.";
}

// The file a replacement must land on: the target of a symbolic link, else `path` itself.
std::string ReplacementTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) {
            return resolved;
        }
    }
    return path;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

FileResult DeleteFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) {
        return Failure(errno, "delete", path);
    }
    return {};
}

FileResult ReadFile(const std::string& path, std::string& contents, std::size_t maxBytes) {
    contents.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Failure(errno, "open", path);
    }
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof(buffer));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            contents.clear();
            return Failure(error, "read", path);
        }
        if (n == 0) {
            break;
        }
        if (contents.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            contents.clear();
            return Failure(EFBIG, "read", path);
        }
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return {};
}

FileResult ReplaceFile(const std::string& path, std::string_view contents) {
    const std::string target = ReplacementTarget(path);
    const auto [folder, base] = SplitPath(target);
    if (base.empty()) {
        return Failure(EISDIR, "replace", path);
    }
    std::string temporary = TemporaryPrefix(folder, base) + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return Failure(errno, "create a temporary file beside", target);
    }
    auto abandon = [&](int error, const char* step) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return Failure(error, step, temporary);
    };
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    if (::fchmod(fd, mode) != 0) {
        return abandon(errno, "set the mode of");
    }
    if (!WriteAll(fd, contents)) {
        return abandon(errno, "write");
    }
    if (::fsync(fd) != 0) {
        return abandon(errno, "flush");
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Failure(error, "close", temporary);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Failure(error, "rename over", target);
    }
    // The new name is in place; flushing the folder makes it survive a power cut. A folder that
    // cannot be opened or flushed (some file systems refuse) leaves the replacement done.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}

FileResult RenameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return Failure(errno, "rename", from);
    }
    return {};
}

void RemoveStaleTemporaries(const std::string& path) {
    const auto [folder, base] = SplitPath(ReplacementTarget(path));
    const std::string prefix = "." + base + ".tmp.";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
            ::unlinkat(::dirfd(dir), name.c_str(), 0);
        }
    }
    ::closedir(dir);
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    char* folder = ::getcwd(nullptr, 0);
    if (folder == nullptr) {
        return {};
    }
    std::string absolute = folder;
    std::free(folder);
    if (absolute.back() != '/') {
        absolute += '/';
    }
    return absolute + path;
}

bool MakeFolders(const std::string& path, unsigned mode) {
    if (path.empty()) {
        return false;
    }
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), mode) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace plat
