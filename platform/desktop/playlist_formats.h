// Playlist files other players read and write: Extended M3U (UTF-8, "#EXTINF:seconds,title"
// followed by the location) and XSPF (XML, <track> with <location>, <title>, <info> and
// <duration> in milliseconds). All text here is UTF-8; the caller converts to and from the
// program's code page.
//
// An entry's location is what a player opens: a web address, a file:// address or a local path,
// as the file holds it. Its page is a web page about it, kept beside the location: XSPF's <info>
// and, in M3U, a "#TUNOVA-PAGE:" comment line before the location, which other players skip.
//
// Reading is strict about the file, because a file that is only partly understood must change
// nothing: any fault refuses the whole file with a reason and, where it helps, the line. Refused
// are files larger than kMaxPlaylistFileBytes, with more than kMaxPlaylistFileLines lines or
// kMaxPlaylistFileTracks tracks, bytes that are not UTF-8, titles longer than
// kMaxPlaylistTitleBytes, locations that are missing, longer than kMaxPlaylistLinkBytes or hold
// control characters, XML nested deeper than kMaxPlaylistXmlDepth, XML with a document type
// declaration (no entity expansion at all), and XML that is not well formed. What each location
// stands for is the caller's to judge. A page that is not an http(s) address of printable ASCII
// is left out. Control characters (and U+FEFF, U+FFFE, U+FFFF) in a title become spaces. A title
// that is missing or empty becomes the location.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

inline constexpr std::size_t kMaxPlaylistFileBytes = 8u << 20;
inline constexpr std::size_t kMaxPlaylistFileLines = 20000;
inline constexpr std::size_t kMaxPlaylistFileTracks = 5000;
inline constexpr std::size_t kMaxPlaylistTitleBytes = 4096;
inline constexpr std::size_t kMaxPlaylistLinkBytes = 2048;
inline constexpr int kMaxPlaylistXmlDepth = 16;

// One entry as the files hold it (UTF-8). `link` is the location; `seconds` is 0 when unknown;
// `page` is empty when the file names none.
struct PlaylistTrack {
    std::string title;
    std::string link;
    int seconds = 0;
    std::string page{};
    bool operator==(const PlaylistTrack&) const = default;
};

enum class PlaylistFormat { kUnknown, kM3u, kXspf };

// The format of a file from its name (".m3u", ".m3u8", ".xspf", any case) or, failing that,
// from its first bytes ("#EXTM3U", or an XML document whose first element is <playlist>).
PlaylistFormat DetectPlaylistFormat(std::string_view fileName, std::string_view bytes);

// Outcome of a read: the tracks in file order, or an empty list and the reason it was refused.
struct PlaylistReadResult {
    std::vector<PlaylistTrack> tracks;
    std::string error;  // empty on success; else one readable sentence (with the line if known)
    explicit operator bool() const { return error.empty(); }
};

PlaylistReadResult ReadM3u(std::string_view bytes);
PlaylistReadResult ReadXspf(std::string_view bytes);
// Detects the format and reads with the matching reader; an unknown format is refused.
PlaylistReadResult ReadPlaylistFile(std::string_view fileName, std::string_view bytes);

// The file texts. Control characters in titles are written as spaces; in locations and pages,
// spaces, control characters, bytes outside ASCII and a leading '#' are percent-encoded, so the
// result always reads back; a negative `seconds` is written as unknown.
std::string WriteM3u(const std::vector<PlaylistTrack>& tracks);
std::string WriteXspf(const std::vector<PlaylistTrack>& tracks);
// Chooses by the file name's extension: ".xspf" gives XSPF, anything else Extended M3U.
std::string WritePlaylistFile(std::string_view fileName, const std::vector<PlaylistTrack>& tracks);

}  // namespace plat
