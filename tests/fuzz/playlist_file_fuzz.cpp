// Feeds arbitrary bytes to both playlist file readers. Whatever a reader accepts must obey the
// limits, and must come back through the writer and the reader of each format.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/desktop/playlist_formats.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void RoundTrip(const plat::PlaylistReadResult& read) {
    if (!read) {
        Check(read.tracks.empty());
        return;
    }
    Check(read.tracks.size() <= plat::kMaxPlaylistFileTracks);
    for (const plat::PlaylistTrack& track : read.tracks) {
        Check(!track.title.empty() && track.title.size() <= plat::kMaxPlaylistTitleBytes);
        Check(track.link.size() <= plat::kMaxPlaylistLinkBytes && track.seconds >= 0);
    }
    const plat::PlaylistReadResult m3u = plat::ReadM3u(plat::WriteM3u(read.tracks));
    const plat::PlaylistReadResult xspf = plat::ReadXspf(plat::WriteXspf(read.tracks));
    // Titles made only of blanks come back as the location, and locations come back with their
    // spaces and other bytes percent-encoded; lengths and pages come back as read, and a second
    // round trip changes nothing.
    Check(m3u && xspf && m3u.tracks == xspf.tracks && m3u.tracks.size() == read.tracks.size());
    for (std::size_t i = 0; i < read.tracks.size(); ++i) {
        Check(m3u.tracks[i].seconds == read.tracks[i].seconds);
        Check(m3u.tracks[i].page == read.tracks[i].page);
    }
    Check(plat::ReadM3u(plat::WriteM3u(m3u.tracks)).tracks == m3u.tracks);
    Check(plat::ReadXspf(plat::WriteXspf(m3u.tracks)).tracks == m3u.tracks);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RoundTrip(plat::ReadM3u(bytes));
    RoundTrip(plat::ReadXspf(bytes));
    return 0;
}
