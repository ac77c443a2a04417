#include "platform/desktop/playlist_formats.h"

#include <algorithm>
#include <string>

#include "platform/desktop/playlist_text_impl.h"

namespace plat {
namespace {

std::string LowerExtension(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::string_view base =
        slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = base.find_last_of('.');
    std::string extension;
    if (dot != std::string_view::npos) {
        for (const char c : base.substr(dot + 1)) {
            extension += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        }
    }
    return extension;
}

}  // namespace

PlaylistFormat DetectPlaylistFormat(std::string_view fileName, std::string_view bytes) {
    const std::string extension = LowerExtension(fileName);
    if (extension == "m3u" || extension == "m3u8") {
        return PlaylistFormat::kM3u;
    }
    if (extension == "xspf") {
        return PlaylistFormat::kXspf;
    }
    std::string_view start = playlist_text::WithoutByteOrderMark(bytes);
    start.remove_prefix(std::min(start.size(), start.find_first_not_of(" \t\r\n")));
    if (start.substr(0, 7) == "#EXTM3U") {
        return PlaylistFormat::kM3u;
    }
    // An XML declaration and comments may come before the first element.
    if (start.substr(0, 1) == "<" &&
        start.substr(0, 1024).find("<playlist") != std::string_view::npos) {
        return PlaylistFormat::kXspf;
    }
    return PlaylistFormat::kUnknown;
}

PlaylistReadResult ReadPlaylistFile(std::string_view fileName, std::string_view bytes) {
    switch (DetectPlaylistFormat(fileName, bytes)) {
        case PlaylistFormat::kM3u:
            return ReadM3u(bytes);
        case PlaylistFormat::kXspf:
            return ReadXspf(bytes);
        case PlaylistFormat::kUnknown:
            break;
    }
    PlaylistReadResult refused;
    refused.error = "not an M3U or XSPF playlist";
    return refused;
}

std::string WritePlaylistFile(std::string_view fileName, const std::vector<PlaylistTrack>& tracks) {
    return LowerExtension(fileName) == "xspf" ? WriteXspf(tracks) : WriteM3u(tracks);
}

}  // namespace plat
