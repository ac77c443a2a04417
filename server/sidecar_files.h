// The metadata files beside one media file: "NAME.nfo" (Kodi) and "NAME.info.json" (yt-dlp) for
// "NAME.EXT". Each is read only when it is a regular file inside the library (a symbolic link
// that leads out of it is refused) and no larger than its cap; one that cannot be used is
// reported once per change and ignored.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "server/media_metadata.h"

namespace tunova::server {

inline constexpr off_t kNfoByteLimit = 1 << 20;
inline constexpr off_t kInfoJsonByteLimit = 16 << 20;

struct SidecarFiles {
    std::string signature;  // sizes and times of the files present: a change changes it
    std::string nfoPath;    // absolute, empty when there is none
    std::string infoJsonPath;
};

// Looks for the sidecars of `mediaPath` (absolute) without reading them.
SidecarFiles FindSidecarFiles(const std::string& mediaPath);

struct SidecarRead {
    MediaMetadata nfo;
    MediaMetadata infoJson;
    std::vector<std::string> warnings;  // "NAME.nfo: why, ignored"
};

// Reads and parses the sidecars found; `libraryRoot` bounds where a symbolic link may lead.
SidecarRead ReadSidecarFiles(const SidecarFiles& files, const std::string& libraryRoot);

}  // namespace tunova::server
