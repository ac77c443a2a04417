// The desktop's media panel and media keys (platform/desktop/media_controls.h) as the main window
// sees them. Every call becomes what the window's own controls send: a transport call is the
// command of its button, a new position or volume is the slider set there and the messages a drag
// of the slider posts. Refresh() tells the desktop where the player is.
#pragma once

#include <cstdint>
#include <string>

#include "controls/skin_slider.h"
#include "lists/playlist.h"
#include "platform/desktop/media_controls.h"
#include "platform/window/window.h"
#include "playback/playback_state.h"

namespace tunova {

// The bus name's last part: org.mpris.MediaPlayer2.tunova.
inline constexpr char kMediaPlayerName[] = "tunova";

// The command a play-pause sends now: pause while a video plays (or loads), else play.
int PlayPauseCommand(const PlaybackState& state);

class MediaPanel : public plat::MediaCommands {
  public:
    // The window, its sliders and what the panel reads, as the main window owns them.
    struct Player {
        plat::Window& window;
        CSkinSlider& volumeSlider;
        CSkinSlider& positionSlider;
        const PlaybackState& state;
        const Playlist& playlist;
    };
    explicit MediaPanel(Player player);

    // Offers the controls on the session bus; false (logged) without one.
    bool Start() { return controls_.Register(kMediaPlayerName); }
    // Publishes the player's state now (status, the video shown with its title, length and watch
    // link, the page's volume, what can be done); the desktop hears of what changed. The window
    // calls it from the player's timers and after the commands that change the volume.
    void Refresh();
    const plat::MediaControls& Controls() const { return controls_; }

    // plat::MediaCommands: the desktop's calls, posted to the window as its controls do.
    void Raise() override;
    void Quit() override;
    void PlayPause() override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    void SetPositionUs(std::int64_t positionUs) override;
    void SetVolume(double volume) override;
    std::int64_t PositionUs() override;

  private:
    void PostCommand(int id);
    // Moves `slider` to `position` and posts its moving and released messages.
    void DragSlider(CSkinSlider& slider, int position, bool moving);

    Player player_;
    plat::MediaControls controls_;
};

}  // namespace tunova
