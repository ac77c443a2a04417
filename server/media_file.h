// Media files of the library: ids taken from request paths, and library paths resolved so that
// no request can reach a file outside the library root.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tunova::server {

inline constexpr std::size_t kVideoIdLimit = 32;

// The video id in `text` (the part of a /media/ path after the prefix, already URL-decoded).
// The player cuts ids from watch links up to the end, so "ID&feature=..." or
// "ID&amp;feature=..." give "ID". Empty optional unless the id is 1 to 32 characters of
// A-Z a-z 0-9 '-' '_'.
std::optional<std::string> MediaIdFromPath(std::string_view text);

// The MIME type for a media file by its extension; "application/octet-stream" when unknown.
std::string_view MediaContentType(std::string_view path);

struct LibraryFile {
    std::string absolutePath;
    std::int64_t size = 0;
};

// Resolves `relativePath` under `libraryRoot` (symbolic links followed). Empty optional when the
// path is absolute, has a ".." part, leaves the root after resolution, or is not a regular file.
std::optional<LibraryFile> ResolveLibraryFile(const std::string& libraryRoot,
                                              std::string_view relativePath);

}  // namespace tunova::server
