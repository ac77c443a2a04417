// What the user copies of the video that plays: its title and its watch link.
#pragma once

#include <string>

#include "playback/playback_state.h"

namespace tunova {

// The playing video's title and watch link, one line each (CP949); empty when no video has
// been started or the playlist had nothing playable.
std::string NowPlayingText(const PlaybackState& state);

}  // namespace tunova
