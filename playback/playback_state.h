// The playback state the main window holds, at its initial values. The bridge, the player
// controller and play sequencing read and write it; the window's painting reads the texts.
#pragma once

#include <string>

namespace tunova {

// Player state codes as the page reports them.
inline constexpr int kPlayerNotStarted = -1;
inline constexpr int kPlayerEnded = 0;
inline constexpr int kPlayerPlaying = 1;
inline constexpr int kPlayerPaused = 2;
inline constexpr int kPlayerBuffering = 3;
inline constexpr int kPlayerCued = 5;

// Play modes.
inline constexpr int kPlayModeAll = 1;
inline constexpr int kPlayModeOne = 2;
inline constexpr int kPlayModeRandom = 3;

struct PlaybackState {
    int playerState = 0;  // last integer answer of "getPlayerState()"
    int playMode = kPlayModeAll;
    int currentEntryNumber = -1;  // -1: no playlist entry started yet
    bool pageReady = false;
    bool playerInitialised = false;
    bool autoAdvanceHold = false;
    bool pollTimerStarted = false;
    int volume = 40;
    int seekPosition = 0;
    std::string nowPlayingTitle;
    std::string durationText;
    std::string currentTimeText = "00:00:00";
    bool firstClickAdjustmentDone = false;
};

}  // namespace tunova
