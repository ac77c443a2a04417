#include "lists/playlist_transfer.h"

#include <cerrno>
#include <optional>
#include <utility>

#include "lists/library_lookup.h"
#include "lists/list_file.h"
#include "lists/playlist.h"
#include "lists/video_links.h"
#include "platform/core/codepage.h"
#include "platform/core/files.h"
#include "platform/core/profile.h"

namespace tunova {
namespace {

TransferResult Failed(const std::string& path, const std::string& reason) {
    TransferResult result;
    result.message = path + ": " + reason;
    return result;
}

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// How many skipped entries the message names.
constexpr int kNamedSkips = 3;

// What an imported entry becomes in the playlist (title and link in CP949).
struct ImportedEntry {
    std::string title;
    std::string link;
    int seconds = 0;
};

// `link` as the entry's link when it is a watch link: kept as it is while the player reads the
// same id from it (the text after its first "v=", up to '&'), else written anew on `feedHost`.
std::optional<std::string> WatchLinkEntry(const std::string& link, std::string_view feedHost) {
    const std::string id = WatchLinkVideoId(link);
    if (id.empty()) {
        return std::nullopt;
    }
    const std::size_t at = link.find("v=");
    if (link.substr(at + 2, link.find('&', at) - at - 2) == id) {
        return link;
    }
    return WatchLinkOf(feedHost, id);
}

std::optional<ImportedEntry> EntryFor(const plat::PlaylistTrack& track, LibraryLookup& library) {
    const std::string& host = library.FeedHost();
    const std::string title = plat::Utf8ToCp949(track.title);
    for (const std::string* link : {&track.page, &track.link}) {
        if (std::optional<std::string> watch = WatchLinkEntry(*link, host)) {
            return ImportedEntry{title, std::move(*watch), track.seconds};
        }
    }
    if (const std::string id = MediaAddressVideoId(track.link, host); !id.empty()) {
        return ImportedEntry{title, WatchLinkOf(host, id), track.seconds};
    }
    // An untitled entry's title is its location, which says nothing the file name does not.
    const std::string_view ownTitle =
        track.title == track.link ? std::string_view() : std::string_view(track.title);
    if (std::optional<VideoItem> video = library.Find(LocationFileName(track.link), ownTitle)) {
        return ImportedEntry{std::move(video->title), std::move(video->link), video->seconds};
    }
    return std::nullopt;
}

// What the message calls a skipped entry: its file name, else its title. A decoded name may hold
// control characters ("%1B"), which must not reach a terminal: they are shown as '?'.
std::string SkipName(const plat::PlaylistTrack& track) {
    std::string name = LocationFileName(track.link);
    if (name.empty()) {
        name = track.title;
    }
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        c = u < 0x20 || u == 0x7F ? '?' : c;
    }
    return "\"" + name + "\"";
}

}  // namespace

std::vector<plat::PlaylistTrack> PlayableTracks(std::vector<plat::PlaylistTrack> tracks,
                                                std::string_view feedHost) {
    for (plat::PlaylistTrack& track : tracks) {
        if (const std::string id = WatchLinkVideoId(track.link); !id.empty()) {
            track.page = std::move(track.link);
            track.link = MediaAddressOf(feedHost, id);
        }
    }
    return tracks;
}

std::vector<plat::PlaylistTrack> TracksOf(const Playlist& playlist) {
    std::vector<plat::PlaylistTrack> tracks;
    for (int row = 0; row < playlist.RowCount(); ++row) {
        if (const PlaylistEntry* entry = playlist.Find(playlist.EntryNumberAt(row))) {
            tracks.push_back(
                {plat::Cp949ToUtf8(entry->title), plat::Cp949ToUtf8(entry->link), entry->seconds});
        }
    }
    return tracks;
}

std::vector<plat::PlaylistTrack> TracksOfListFile(const std::string& listFilePath) {
    const plat::Profile file = plat::Profile::FromFile(listFilePath);
    std::vector<plat::PlaylistTrack> tracks;
    for (const ListFileRow& row : ReadListFileRows(file, kPlaylistCapacity)) {
        if (!row.name.empty() || !row.url.empty()) {
            tracks.push_back(
                {plat::Cp949ToUtf8(row.name), plat::Cp949ToUtf8(row.url), row.seconds});
        }
    }
    return tracks;
}

TransferResult ExportTracks(const std::vector<plat::PlaylistTrack>& tracks, const std::string& path,
                            std::string_view feedHost) {
    const plat::FileResult written =
        plat::ReplaceFile(path, plat::WritePlaylistFile(path, PlayableTracks(tracks, feedHost)));
    if (!written) {
        return Failed(path, written.description);
    }
    TransferResult result;
    result.ok = true;
    result.message =
        path + ": " + Counted(static_cast<int>(tracks.size()), "entry", "entries") + " written";
    return result;
}

TransferResult ReadImportFile(const std::string& path, std::vector<plat::PlaylistTrack>& tracks) {
    tracks.clear();
    std::string bytes;
    // One byte more than a reader takes, so that a larger file is refused by the reader's rule.
    const plat::FileResult read = plat::ReadFile(path, bytes, plat::kMaxPlaylistFileBytes + 1);
    if (!read) {
        return Failed(path, (read.error == EFBIG ? std::string("the file is larger than 8 MB")
                                                 : read.description) +
                                "; the playlist is unchanged");
    }
    plat::PlaylistReadResult file = plat::ReadPlaylistFile(path, bytes);
    if (!file) {
        return Failed(path, file.error + "; the playlist is unchanged");
    }
    if (file.tracks.empty()) {
        return Failed(path, "no entries; the playlist is unchanged");
    }
    tracks = std::move(file.tracks);
    TransferResult result;
    result.ok = true;
    return result;
}

TransferResult ImportFile(Playlist& playlist, const std::string& path, LibraryLookup& library) {
    std::vector<plat::PlaylistTrack> tracks;
    const TransferResult read = ReadImportFile(path, tracks);
    return read ? AddImportedTracks(playlist, tracks, path, library) : read;
}

TransferResult AddImportedTracks(Playlist& playlist, const std::vector<plat::PlaylistTrack>& tracks,
                                 const std::string& path, LibraryLookup& library) {
    TransferResult result;
    std::string skippedNames;
    for (const plat::PlaylistTrack& track : tracks) {
        const std::optional<ImportedEntry> entry = EntryFor(track, library);
        if (!entry) {
            if (++result.skipped <= kNamedSkips) {
                skippedNames += (result.skipped > 1 ? ", " : "") + SkipName(track);
            }
            continue;
        }
        switch (playlist.AddEntry(entry->title, entry->link, entry->seconds)) {
            case Playlist::AddOutcome::kAdded:
                ++result.added;
                break;
            case Playlist::AddOutcome::kDuplicate:
                ++result.duplicates;
                break;
            case Playlist::AddOutcome::kFull:
                ++result.overCapacity;
                break;
        }
    }
    result.ok = true;
    result.message = path + ": " + Counted(result.added, "entry", "entries") + " added";
    if (result.duplicates > 0) {
        result.message +=
            ", " + Counted(result.duplicates, "already in the playlist", "already in the playlist");
    }
    if (result.skipped > 0) {
        result.message += ", " + std::to_string(result.skipped) +
                          " skipped (not in the library): " + skippedNames;
        if (result.skipped > kNamedSkips) {
            result.message += " and " + std::to_string(result.skipped - kNamedSkips) + " more";
        }
    }
    if (result.overCapacity > 0) {
        result.message += ", " + std::to_string(result.overCapacity) +
                          " left out (the playlist holds at most " +
                          std::to_string(kPlaylistCapacity) + ")";
    }
    if (!library.Reachable()) {
        result.message += "; the library did not answer at " + library.FeedHost();
    }
    return result;
}

}  // namespace tunova
