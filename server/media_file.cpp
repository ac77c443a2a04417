#include "server/media_file.h"

#include <sys/stat.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <utility>

namespace tunova::server {

namespace {

bool IsIdChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

std::optional<std::string> RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) {
        return std::nullopt;
    }
    return std::string(resolved);
}

bool HasParentPart(std::string_view path) {
    std::size_t begin = 0;
    while (begin <= path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (path.substr(begin, end - begin) == "..") {
            return true;
        }
        begin = end + 1;
    }
    return false;
}

}  // namespace

std::optional<std::string> MediaIdFromPath(std::string_view text) {
    const std::string_view id = text.substr(0, text.find('&'));
    if (id.empty() || id.size() > kVideoIdLimit) {
        return std::nullopt;
    }
    for (const char c : id) {
        if (!IsIdChar(c)) {
            return std::nullopt;
        }
    }
    return std::string(id);
}

std::string_view MediaContentType(std::string_view path) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 19> kTypes{{
        {".webm", "video/webm"},
        {".mp4", "video/mp4"},
        {".m4v", "video/mp4"},
        {".mkv", "video/x-matroska"},
        {".ogv", "video/ogg"},
        {".ogg", "audio/ogg"},
        {".opus", "audio/ogg"},
        {".mp3", "audio/mpeg"},
        {".m4a", "audio/mp4"},
        {".wav", "audio/wav"},
        // Containers the page cannot play: the library lists them with a copy it can.
        {".avi", "video/x-msvideo"},
        {".mov", "video/quicktime"},
        {".wmv", "video/x-ms-wmv"},
        {".flv", "video/x-flv"},
        {".mpg", "video/mpeg"},
        {".mpeg", "video/mpeg"},
        {".ts", "video/mp2t"},
        {".m2ts", "video/mp2t"},
        {".3gp", "video/3gpp"},
    }};
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos) {
        std::string extension(path.substr(dot));
        for (char& c : extension) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        for (const auto& [suffix, type] : kTypes) {
            if (extension == suffix) {
                return type;
            }
        }
    }
    return "application/octet-stream";
}

std::optional<LibraryFile> ResolveLibraryFile(const std::string& libraryRoot,
                                              std::string_view relativePath) {
    if (relativePath.empty() || relativePath.front() == '/' || HasParentPart(relativePath) ||
        relativePath.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const auto root = RealPath(libraryRoot);
    const auto file = RealPath(libraryRoot + "/" + std::string(relativePath));
    if (!root || !file || file->size() <= root->size() ||
        file->compare(0, root->size(), *root) != 0 || (*file)[root->size()] != '/') {
        return std::nullopt;
    }
    struct stat info {};
    if (stat(file->c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return LibraryFile{*file, static_cast<std::int64_t>(info.st_size)};
}

}  // namespace tunova::server
