#include "lists/playlist_transfer.h"

#include <cerrno>
#include <utility>

#include "lists/list_file.h"
#include "lists/playlist.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/profile.h"

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

}  // namespace

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

TransferResult ExportTracks(const std::vector<plat::PlaylistTrack>& tracks,
                            const std::string& path) {
    const plat::FileResult written = plat::ReplaceFile(path, plat::WritePlaylistFile(path, tracks));
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

TransferResult ImportFile(Playlist& playlist, const std::string& path) {
    std::vector<plat::PlaylistTrack> tracks;
    const TransferResult read = ReadImportFile(path, tracks);
    return read ? AddImportedTracks(playlist, tracks, path) : read;
}

TransferResult AddImportedTracks(Playlist& playlist, const std::vector<plat::PlaylistTrack>& tracks,
                                 const std::string& path) {
    TransferResult result;
    for (const plat::PlaylistTrack& track : tracks) {
        switch (playlist.AddEntry(plat::Utf8ToCp949(track.title), track.link, track.seconds)) {
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
    if (result.overCapacity > 0) {
        result.message += ", " + std::to_string(result.overCapacity) +
                          " left out (the playlist holds at most " +
                          std::to_string(kPlaylistCapacity) + ")";
    }
    return result;
}

}  // namespace tunova
