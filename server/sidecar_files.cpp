#include "server/sidecar_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "server/info_json_sidecar.h"
#include "server/nfo_sidecar.h"

namespace tunova::server {

namespace {

std::string FileSignature(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return {};
    }
    return std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
}

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// The whole file, or empty optional with `error` set.
std::optional<std::string> ReadBounded(const std::string& path, const std::string& libraryRoot,
                                       off_t limit, std::string& error) {
    const std::string real = RealPath(path);
    const std::string root = RealPath(libraryRoot);
    if (real.empty() || root.empty() || real.compare(0, root.size() + 1, root + "/") != 0) {
        error = "leads out of the library";
        return std::nullopt;
    }
    const int fd = open(real.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> text;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "not a regular file";
    } else if (info.st_size > limit) {
        error = "larger than " + std::to_string(limit) + " bytes";
    } else {
        text.emplace(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t done = 0;
        while (done < text->size()) {
            const ssize_t got = read(fd, text->data() + done, text->size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;  // shrank while reading: what was there is read
            }
            done += static_cast<std::size_t>(got);
        }
        text->resize(done);
    }
    close(fd);
    return text;
}

// `path` as the log names it: relative to the library root when it lies under it.
std::string LibraryName(const std::string& path, const std::string& libraryRoot) {
    const std::string root =
        libraryRoot.empty() || libraryRoot.back() == '/' ? libraryRoot : libraryRoot + "/";
    return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
}

}  // namespace

SidecarFiles FindSidecarFiles(const std::string& mediaPath) {
    SidecarFiles files;
    const std::size_t slash = mediaPath.rfind('/');
    const std::size_t dot = mediaPath.rfind('.');
    const std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                                 ? mediaPath.substr(0, dot)
                                 : mediaPath;
    for (const auto& [path, suffix] :
         {std::pair{&files.nfoPath, ".nfo"}, std::pair{&files.infoJsonPath, ".info.json"}}) {
        const std::string candidate = stem + suffix;
        const std::string signature = FileSignature(candidate);
        if (!signature.empty()) {
            *path = candidate;
            files.signature += std::string(suffix) + ":" + signature + ";";
        }
    }
    return files;
}

SidecarRead ReadSidecarFiles(const SidecarFiles& files, const std::string& libraryRoot) {
    SidecarRead read;
    const auto readOne = [&](const std::string& path, off_t limit, auto parse,
                             MediaMetadata& into) {
        if (path.empty()) {
            return;
        }
        std::string error;
        const auto text = ReadBounded(path, libraryRoot, limit, error);
        SidecarMetadata parsed;
        if (text) {
            parsed = parse(*text);
            error = parsed.error;
        }
        if (!error.empty()) {
            read.warnings.push_back(LibraryName(path, libraryRoot) + ": " + error + ", ignored");
            return;
        }
        into = std::move(parsed.metadata);
    };
    readOne(files.nfoPath, kNfoByteLimit, ParseNfo, read.nfo);
    readOne(files.infoJsonPath, kInfoJsonByteLimit, ParseInfoJson, read.infoJson);
    return read;
}

}  // namespace tunova::server
