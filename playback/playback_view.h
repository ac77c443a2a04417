// What playback asks of the main window: the displays it paints from the playback state and the
// layout that places the video. The window implements it; playback never draws.
#pragma once

namespace tunova {

class PlaybackView {
  public:
    virtual ~PlaybackView() = default;
    // The now-playing title strip changed (its text is PlaybackState::nowPlayingTitle).
    virtual void RedrawTitle() = 0;
    // A new title starts: the title scroll returns to its start and stops.
    virtual void ResetTitleScroll() = 0;
    // The play-time text changed (PlaybackState::durationText).
    virtual void RedrawDuration() = 0;
    // The time digits show PlaybackState::currentTimeText again.
    virtual void RedrawTimeDigits() = 0;
    // The volume gauge and its percentage show PlaybackState::volume again.
    virtual void RedrawVolume() = 0;
    // The play-mode indicator shows PlaybackState::playMode again.
    virtual void RedrawPlayMode() = 0;
    // Moves the browser to the video rectangle of the layout in force (normal or big video).
    virtual void PlaceBrowserInVideoRect() = 0;
    // Moves the browser to the normal layout's video rectangle.
    virtual void PlaceBrowserInNormalVideoRect() = 0;
    // Moves the bottom edge of the normal layout's video rectangle up by one pixel.
    virtual void LowerNormalVideoBottom() = 0;
};

}  // namespace tunova
