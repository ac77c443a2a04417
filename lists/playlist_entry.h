// One record of the playlist's entry table; entry number 0 marks a free record.
#pragma once

#include <array>
#include <string>

namespace tunova {

inline constexpr int kPlaylistCapacity = 500;

struct PlaylistEntry {
    std::string title;
    std::string link;
    std::string updated;
    std::string content;
    int seconds = 0;
    int entryNumber = 0;  // unique while in use; 0 = free record
};

using PlaylistEntryTable = std::array<PlaylistEntry, kPlaylistCapacity>;

}  // namespace tunova
