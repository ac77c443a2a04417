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
    int volume = 40;  // 0 to 100: the volume slider's value, drawn by the volume gauge
    // 0 to 100: the volume last given to the page. The volume buttons change the page's volume
    // alone (the gauge keeps the slider's value); the slider and the stored volume set both.
    int pageVolume = 40;
    int seekPosition = 0;
    bool muted = false;  // mute was pressed last (unmute shown); given to every new page
    // The texts the window paints (painting reads them and never asks the page):
    // the title strip: the playing video's title (CP949); empty at start and after stop;
    std::string nowPlayingTitle;
    // the watch link of that video, emptied with the title;
    std::string nowPlayingLink;
    // the play time: the video's length as "%02d:%02d" of minutes and seconds, minutes not
    // wrapped into hours (3725 s gives "62:05"); empty at start and after stop;
    std::string durationText;
    // the time digits: the player's position as "HH:MM:SS" (fraction dropped, 3725.9 s gives
    // "01:02:05"), refreshed by the poll (kTimerPoll) and by kTimerPosition, which then asks
    // for the digits' redraw; it keeps its last value after stop.
    std::string currentTimeText = "00:00:00";
    bool firstClickAdjustmentDone = false;
    // How many videos were started: a video started again is a new start.
    unsigned videoStarts = 0;
};

}  // namespace tunova
