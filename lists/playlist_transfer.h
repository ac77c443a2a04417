// The playlist to and from the files other players use (Extended M3U and XSPF): export of the
// view's rows or of a saved playlist.ini as files other players can play, and import of what the
// program can play from such files through the playlist's own add rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/playlist_formats.h"

namespace tunova {

class LibraryLookup;
class Playlist;

// The playlist's rows in view order as file tracks (titles converted to UTF-8).
std::vector<plat::PlaylistTrack> TracksOf(const Playlist& playlist);
// The entries a saved playlist file (playlist.ini) holds, at most 500, as file tracks. A missing
// or unreadable file gives none.
std::vector<plat::PlaylistTrack> TracksOfListFile(const std::string& listFilePath);

// Outcome of an export or import: `message` is one line for the user either way.
struct TransferResult {
    bool ok = false;
    std::string message;   // UTF-8
    int added = 0;         // import: entries added
    int duplicates = 0;    // import: entries refused as already in the playlist
    int overCapacity = 0;  // import: entries refused because the playlist was full
    int skipped = 0;       // import: entries that are no video of the library
    explicit operator bool() const { return ok; }
};

// `tracks` as other players can play them: an entry whose link is a watch link gets the media
// address of its video on `feedHost` as its location and keeps the watch link as its page;
// other entries stay as they are.
std::vector<plat::PlaylistTrack> PlayableTracks(std::vector<plat::PlaylistTrack> tracks,
                                                std::string_view feedHost);

// Writes PlayableTracks(`tracks`, `feedHost`) to `path`, as XSPF when it ends in ".xspf" and as
// Extended M3U otherwise, replacing the file whole (a failed write leaves the old file as it
// was).
TransferResult ExportTracks(const std::vector<plat::PlaylistTrack>& tracks, const std::string& path,
                            std::string_view feedHost);

// Reads the file at `path` and appends what it holds of the library to `playlist` in file order.
// A file that cannot be read, is neither M3U nor XSPF, is refused by its reader or holds no
// entries changes nothing and fails with the reason. Otherwise each entry is taken as:
//  - its page or location when that is a watch link (with a valid video id), as it is;
//  - the watch link of its video when its location is a media address of the library's host;
//  - else (a local file, another web link) the video `library` finds for its file name or
//    title, with that video's title, link and length;
//  - else it is skipped.
// Entries are added as AddEntry does (titles converted to CP949), and the message counts those
// added, refused and skipped, and names the first few skipped.
TransferResult ImportFile(Playlist& playlist, const std::string& path, LibraryLookup& library);
// The two halves of ImportFile: reading and checking the file (`tracks` holds its entries on
// success, none on failure), then adding the entries, `path` naming the file in the message.
TransferResult ReadImportFile(const std::string& path, std::vector<plat::PlaylistTrack>& tracks);
TransferResult AddImportedTracks(Playlist& playlist, const std::vector<plat::PlaylistTrack>& tracks,
                                 const std::string& path, LibraryLookup& library);

}  // namespace tunova
