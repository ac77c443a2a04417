#include "playback/now_playing.h"

#include "playback/play_sequencer.h"

namespace tunova {

std::string NowPlayingText(const PlaybackState& state) {
    if (state.nowPlayingLink.empty() || state.nowPlayingTitle == kNothingPlayableTitle) {
        return {};
    }
    return state.nowPlayingTitle + "\n" + state.nowPlayingLink;
}

}  // namespace tunova
