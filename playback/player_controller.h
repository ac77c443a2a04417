// The player controller: the transport commands and slider messages turned into script calls,
// the timers that follow the page (poll 1, volume restore 10, position 21, end-of-start hold
// 42), and the texts and controls that show where the player is. It starts every video.
#pragma once

#include <string_view>

#include "controls/skin_slider.h"
#include "platform/window/window.h"
#include "playback/playback_state.h"
#include "playback/playback_view.h"
#include "playback/script_bridge.h"

namespace tunova {

// Where a started video comes from: a playlist entry holds back the advance for 4 seconds.
enum class VideoSource { kPlaylistEntry, kSearchResult };

// What the controller hands to play sequencing.
class PlayQueue {
  public:
    virtual ~PlayQueue() = default;
    // The play command while the player is ended, playing or cued: start from the playlist.
    virtual void PlayFromPlaylist() = 0;
    // A video ended: the next one by the play mode.
    virtual void Advance() = 0;
    // The page could not play the video (missing, unreachable, not decodable, no picture): the
    // next one, as at an end, unless every video tried since the last one that played failed.
    virtual void AdvanceAfterFailure() = 0;
};

// The main window's parts the controller drives: the window owns the timers and the play,
// pause, mute and unmute buttons (kIdcPlay, kIdcPause, kIdcMute, kIdcUnmute); the volume and
// position sliders.
struct PlayerControls {
    plat::Window& window;
    CSkinSlider& volumeSlider;
    CSkinSlider& positionSlider;
};

class PlayerController {
  public:
    PlayerController(ScriptBridge& bridge, PlaybackState& state, PlaybackView& view,
                     PlayerControls controls);
    void SetQueue(PlayQueue* queue) { queue_ = queue; }

    // Commands.
    void Play();         // kIdcPlay
    void Pause();        // kIdcPause
    void Stop();         // kIdcStop: the display only; the page keeps its video
    void VolumeUp();     // kIdcVolumeUp: the page's volume only
    void VolumeDown();   // kIdcVolumeDown
    void Mute();         // kIdcMute
    void Unmute();       // kIdcUnmute
    void SeekToStart();  // kIdcSeekStart

    // The slider messages kWmSliderMoving and kWmSliderReleased, by the slider's control id.
    void OnSliderMoving(int sliderId);
    void OnSliderReleased(int sliderId);

    // Starts `link` (a watch link; the video id follows its first "v=") with the title and the
    // length in seconds to show.
    void StartVideo(std::string_view link, std::string_view title, int seconds, VideoSource source);

    // Timers.
    void OnPollTimer();           // 1
    void OnVolumeRestoreTimer();  // 10
    void OnPositionTimer();       // 21
    void OnHoldReleaseTimer();    // 42

    // Shows the play button (and hides pause) when `playing` is false, and the reverse.
    void ShowPlaying(bool playing);
    // Stop's display reset: play shown, title and play time emptied.
    void ResetDisplay();
    // A page loaded again has lost what the old one held: it gets the volume and the mute back,
    // and the video shown starts again at the second the page last reported.
    void RestoreAfterReload();

  private:
    void ShowControl(int id, bool visible);
    // Asks the page for the current time; when it answers, notes the second and the time text.
    bool ReadCurrentTime();
    // Hands on the end the poll saw: a failure once per video, a true end every time.
    void HandleEnd();
    // Gives the page `volume` (0 to 100) and notes it in PlaybackState::pageVolume.
    void SetPageVolume(int volume);

    ScriptBridge& bridge_;
    PlaybackState& state_;
    PlaybackView& view_;
    PlayerControls controls_;
    PlayQueue* queue_ = nullptr;
    bool awaitingPlayback_ = false;  // a video was started and has not been seen playing yet
    int lastSeconds_ = 0;            // the playing video's second the page last reported
    bool failureHandled_ = false;    // the page's failure of this video was handed on
};

// The video id in a watch link: the text after its first "v=", empty when there is none.
std::string_view VideoIdOf(std::string_view link);

}  // namespace tunova
