// The player controller on a scripted page (support/scripted_page.h) and the manual clock: a
// real window owning the timers, the four transport buttons and the two sliders, routing the
// player's timers as the main window does.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "controls/skin_slider.h"
#include "page_host.h"
#include "platform/core/clock.h"
#include "playback/player_controller.h"
#include "playback/script_bridge.h"
#include "res/resource_ids.h"
#include "support/scripted_page.h"

namespace tunova::testing {

// Records what the controller hands to play sequencing.
class RecordingQueue : public PlayQueue {
  public:
    int playFromPlaylist = 0;
    int advances = 0;
    int failures = 0;
    void PlayFromPlaylist() override { ++playFromPlaylist; }
    void Advance() override { ++advances; }
    void AdvanceAfterFailure() override { ++failures; }
};

// `Page`: ScriptedPage (answers what the test sets) or FakePlayerPage (plays like the real page).
template <typename Page>
struct PlayerRigOf {
    plat::ManualClock clock;
    plat::Window window;
    plat::Window playButton, pauseButton, muteButton, unmuteButton;
    CSkinSlider volumeSlider, positionSlider;
    Page page;
    PlaybackState state;
    RecordingView view;
    ScriptBridge bridge{page, state, view, window};
    PlayerController controller{bridge, state, view, {window, volumeSlider, positionSlider}};
    RecordingQueue queue;

    PlayerRigOf() {
        plat::InstallClock(&clock);
        window.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 400, 300));
        const plat::Rect small = plat::Rect::FromXYWH(0, 0, 20, 20);
        playButton.Create(&window, res::kIdcPlay, small);
        pauseButton.Create(&window, res::kIdcPause, small);
        muteButton.Create(&window, res::kIdcMute, small);
        unmuteButton.Create(&window, res::kIdcUnmute, small);
        pauseButton.Show(false);
        unmuteButton.Show(false);
        volumeSlider.Create(&window, res::kIdcVolumeSlider, plat::Rect::FromXYWH(0, 40, 66, 10));
        positionSlider.Create(&window, res::kIdcPositionSlider,
                              plat::Rect::FromXYWH(0, 60, 200, 10));
        volumeSlider.SetPosition(state.volume);
        controller.SetQueue(&queue);
        plat::MessageMap& map = window.Messages();
        map.OnTimer(res::kTimerPoll.id, [this] { controller.OnPollTimer(); });
        map.OnTimer(res::kTimerVolumeRestore.id, [this] { controller.OnVolumeRestoreTimer(); });
        map.OnTimer(res::kTimerPosition.id, [this] { controller.OnPositionTimer(); });
        map.OnTimer(res::kTimerHoldRelease.id, [this] { controller.OnHoldReleaseTimer(); });
        map.OnTimer(res::kTimerPageProbe.id, [this] { bridge.OnPageProbeTimer(); });
        map.OnTimer(res::kTimerPageReady.id, [this] { bridge.OnPageReadyTimer(); });
        window.Show(true);
    }
    ~PlayerRigOf() {
        window.Destroy();
        plat::InstallClock(nullptr);
    }
    // True when play is shown and pause hidden (the player is not playing).
    bool ShowsPlay() const { return playButton.IsVisible() && !pauseButton.IsVisible(); }
    bool ShowsPause() const { return !playButton.IsVisible() && pauseButton.IsVisible(); }
};

using PlayerRig = PlayerRigOf<ScriptedPage>;

}  // namespace tunova::testing
