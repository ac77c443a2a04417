// Stand-in for the playback subsystem (playback/: the bridge to the player page, the player
// controller, play sequencing) until it is built. It keeps the start-up and the main window's
// tables whole without pretending to play: the browser is a plain child window titled "DEzur"
// and the page counts as ready at the first probe; every command, slider message and timer tick
// of playback does nothing yet.
//
// To replace it: build the playback object in playback/, give it the same calls (or new ones)
// and put it in CTunovaDlg in place of `playback_` (app/tunova_dlg.h); the table rows in
// app/tunova_dlg.cpp that call `playback_` then call the real thing. Delete this file.
#pragma once

#include "app/dialog_state.h"
#include "controls/skin_slider.h"
#include "platform/window.h"
#include "res/resource_ids.h"

namespace tunova {

class PlaybackStandIn {
  public:
    PlaybackStandIn(plat::Window& window, plat::Window& browser, CSkinSlider& volumeSlider,
                    CSkinSlider& positionSlider, PlaybackState& state)
        : window_(window),
          browser_(browser),
          volumeSlider_(volumeSlider),
          positionSlider_(positionSlider),
          state_(state) {}

    // Start-up: the browser control 333 and its navigation, which starts timers 10 and 3.
    void CreateBrowserAndNavigate() {
        browser_.Create(&window_, res::kIdcBrowser, plat::Rect::FromXYWH(0, 0, 1, 1));
        browser_.SetText("DEzur");
        window_.SetTimer(res::kTimerVolumeRestore.id, res::kTimerVolumeRestore.periodMs);
        window_.SetTimer(res::kTimerPaging.id, res::kTimerPaging.periodMs);
    }
    void SetUpSliders() {
        positionSlider_.SetLimits(0, 100);
        positionSlider_.SetPosition(0);
        volumeSlider_.SetLimits(0, 100);
        volumeSlider_.SetPosition(state_.volume);
    }
    // Timer 34: the page's answer to "testAlert()"; 1 once the page is ready.
    int ProbePage() { return 1; }

    // Transport (commands 1126, 1104, 1101, 1105/1106, 1107/1108, 1116).
    void Play() {}
    void Pause() {}
    void Stop() {}
    void StepVolume(int) {}
    void Mute(bool) {}
    void SeekToStart() {}
    // Sequencing (commands 1123, 1122, 1005 to 1007).
    void Next() {}
    void Previous() {}
    void SetPlayMode(int) {}
    // A result row cued (click) or played (double-click): nothing until the player exists.
    void CueResult(int) {}
    void PlayResult(int) {}
    // A double-click on playlist row `row`.
    void PlayPlaylistRow(int) {}
    // Messages 0x28D1 and 0x28D2 from sliders 1008 and 1009.
    void OnSliderMoving(int, int) {}
    void OnSliderReleased(int, int) {}
    // Timers 1, 10, 21 and 42.
    void OnPollTimer() {}
    void OnVolumeRestoreTimer() {}
    void OnPositionTimer() {}
    void OnHoldReleaseTimer() {}

  private:
    plat::Window& window_;
    plat::Window& browser_;
    CSkinSlider& volumeSlider_;
    CSkinSlider& positionSlider_;
    PlaybackState& state_;
};

}  // namespace tunova
