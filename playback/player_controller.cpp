#include "playback/player_controller.h"

#include <cstdio>
#include <string>

#include "platform/core/log.h"
#include "playback/time_text.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

std::string CallWithNumber(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool IsPlayingCode(const ScriptAnswer& answer) {
    return answer.type == ScriptAnswer::Type::kInt && answer.intValue == kPlayerPlaying;
}

}  // namespace

std::string_view VideoIdOf(std::string_view link) {
    const std::size_t at = link.find("v=");
    return at == std::string_view::npos ? std::string_view() : link.substr(at + 2);
}

PlayerController::PlayerController(ScriptBridge& bridge, PlaybackState& state, PlaybackView& view,
                                   PlayerControls controls)
    : bridge_(bridge), state_(state), view_(view), controls_(controls) {
    bridge_.OnPageReloaded([this] { RestoreAfterReload(); });
}

void PlayerController::ShowControl(int id, bool visible) {
    if (plat::Window* control = controls_.window.Child(id)) {
        control->Show(visible);
    }
}

void PlayerController::ShowPlaying(bool playing) {
    ShowControl(res::kIdcPlay, !playing);
    ShowControl(res::kIdcPause, playing);
}

void PlayerController::Play() {
    if (!state_.pageReady) {
        return;
    }
    switch (state_.playerState) {
        case kPlayerPaused:
            bridge_.ScriptCall("play()");
            break;
        case kPlayerEnded:
        case kPlayerPlaying:
        case kPlayerCued:
            if (queue_ != nullptr) {
                queue_->PlayFromPlaylist();
            }
            break;
        default:  // not started or buffering
            break;
    }
}

void PlayerController::Pause() {
    ShowPlaying(false);
    bridge_.ScriptCall("pause()");
}

void PlayerController::ResetDisplay() {
    ShowPlaying(false);
    state_.nowPlayingTitle.clear();
    state_.nowPlayingLink.clear();
    state_.durationText.clear();
    view_.RedrawTitle();
    view_.RedrawDuration();
}

void PlayerController::Stop() {
    ResetDisplay();
}

void PlayerController::VolumeUp() {
    if (const auto answer = bridge_.Ask("getVolume()")) {
        const int v = IntegerField(*answer);
        SetPageVolume(v > 95 ? 100 : v + 5);
    }
}

void PlayerController::VolumeDown() {
    if (const auto answer = bridge_.Ask("getVolume()")) {
        const int v = IntegerField(*answer);
        SetPageVolume(v < 5 ? 0 : v - 5);
    }
}

void PlayerController::SetPageVolume(int volume) {
    state_.pageVolume = volume;
    bridge_.ScriptCall(CallWithNumber("setVolume(%d)", volume));
}

void PlayerController::Mute() {
    state_.muted = true;
    ShowControl(res::kIdcUnmute, true);
    ShowControl(res::kIdcMute, false);
    bridge_.ScriptCall("mute()");
}

void PlayerController::Unmute() {
    state_.muted = false;
    ShowControl(res::kIdcMute, true);
    ShowControl(res::kIdcUnmute, false);
    bridge_.ScriptCall("unMute()");
}

void PlayerController::SeekToStart() {
    bridge_.ScriptCall(CallWithNumber("seekTo(%d)", 0));
}

void PlayerController::OnSliderMoving(int sliderId) {
    if (sliderId == res::kIdcVolumeSlider) {
        state_.volume = controls_.volumeSlider.GetPosition();
        SetPageVolume(state_.volume);
        view_.RedrawVolume();
    } else if (sliderId == res::kIdcPositionSlider) {
        // The thumb stops following the video while it is dragged.
        controls_.window.KillTimer(res::kTimerPosition.id);
    }
}

void PlayerController::OnSliderReleased(int sliderId) {
    if (sliderId == res::kIdcVolumeSlider) {
        CSkinSlider& slider = controls_.volumeSlider;
        slider.SetPosition(slider.GetPosition());
        slider.Invalidate();
    } else if (sliderId == res::kIdcPositionSlider) {
        state_.seekPosition = controls_.positionSlider.GetPosition();
        bridge_.ScriptCall(CallWithNumber("seekTo(%d)", state_.seekPosition));
        controls_.window.SetTimer(res::kTimerPosition.id, res::kTimerPosition.periodMs);
    }
}

void PlayerController::StartVideo(std::string_view link, std::string_view title, int seconds,
                                  VideoSource source) {
    if (source == VideoSource::kPlaylistEntry) {
        state_.autoAdvanceHold = true;
        controls_.window.SetTimer(res::kTimerHoldRelease.id, res::kTimerHoldRelease.periodMs);
    }
    ShowPlaying(true);
    bridge_.ScriptCall("loadNewVideo('" + std::string(VideoIdOf(link)) + "', 1)");
    awaitingPlayback_ = true;
    failureHandled_ = false;
    lastSeconds_ = 0;
    view_.ResetTitleScroll();
    if (!state_.pollTimerStarted) {
        controls_.window.SetTimer(res::kTimerPoll.id, res::kTimerPoll.periodMs);
        state_.pollTimerStarted = true;
    }
    state_.nowPlayingTitle = std::string(title);
    state_.nowPlayingLink = std::string(link);
    ++state_.videoStarts;
    view_.RedrawTitle();
    controls_.positionSlider.SetLimits(0, seconds);
    controls_.window.SetTimer(res::kTimerPosition.id, res::kTimerPosition.periodMs);
    state_.durationText = DurationText(seconds);
    view_.RedrawDuration();
}

bool PlayerController::ReadCurrentTime() {
    const auto answer = bridge_.Ask("getCurrentTime()");
    if (!answer) {
        return false;
    }
    lastSeconds_ = WholeSeconds(NumberOf(*answer));
    state_.currentTimeText = CurrentTimeText(lastSeconds_);
    return true;
}

void PlayerController::OnPollTimer() {
    // A page that is busy, slow or reloading gives no answer: what was known stays, and only an
    // end the page itself reports moves on.
    ReadCurrentTime();
    const auto answer = bridge_.Ask("getPlayerState()");
    if (!answer) {
        return;
    }
    if (answer->type == ScriptAnswer::Type::kInt) {
        const int code = answer->intValue;
        state_.playerState = code;
        ShowPlaying(code == kPlayerPlaying || code == kPlayerBuffering);
        if (awaitingPlayback_ && code == kPlayerPlaying) {
            awaitingPlayback_ = false;
            plat::Trace(plat::kTracePlaybackStarted);
        }
    }
    if (state_.playerState == kPlayerEnded && !state_.autoAdvanceHold && queue_ != nullptr) {
        HandleEnd();
    }
}

void PlayerController::HandleEnd() {
    // A page without getPlayerError, or one that does not answer it, reports true ends only.
    const auto failure = bridge_.Ask("getPlayerError()");
    if (failure && IntegerField(*failure) != 0) {
        if (!failureHandled_) {
            failureHandled_ = true;
            plat::LogInfo("player", "the page could not play " + state_.nowPlayingLink +
                                        " (error " + std::to_string(IntegerField(*failure)) + ")");
            queue_->AdvanceAfterFailure();
        }
        return;
    }
    queue_->Advance();
}

void PlayerController::RestoreAfterReload() {
    SetPageVolume(state_.pageVolume);
    if (state_.muted) {
        bridge_.ScriptCall("mute()");
    }
    if (state_.nowPlayingLink.empty()) {
        return;
    }
    bridge_.ScriptCall("loadNewVideo('" + std::string(VideoIdOf(state_.nowPlayingLink)) + "', 1)");
    if (lastSeconds_ > 0) {
        bridge_.ScriptCall(CallWithNumber("seekTo(%d)", lastSeconds_));
    }
    awaitingPlayback_ = true;
    failureHandled_ = false;
}

void PlayerController::OnVolumeRestoreTimer() {
    plat::Window& window = controls_.window;
    if (!state_.pageReady) {
        window.SetTimer(res::kTimerVolumeRestore.id, res::kVolumeRestoreRetryMs);
        return;
    }
    state_.playerInitialised = true;
    const ScriptAnswer answer = bridge_.ScriptCall("getVolume()");
    const bool isNumber =
        answer.type == ScriptAnswer::Type::kInt || answer.type == ScriptAnswer::Type::kDouble;
    const int pageVolume = IntegerField(answer);
    if (isNumber && pageVolume >= 0 && pageVolume <= 100) {
        controls_.volumeSlider.SetPosition(state_.volume);
        SetPageVolume(state_.volume);
    }
    // Mute pressed before the page was ready never reached it.
    if (state_.muted) {
        bridge_.ScriptCall("mute()");
    }
    window.KillTimer(res::kTimerVolumeRestore.id);
    view_.LowerNormalVideoBottom();
}

void PlayerController::OnPositionTimer() {
    // The digits show the stored text; painting never asks the page.
    const bool answered = ReadCurrentTime();
    view_.RedrawTimeDigits();
    if (answered && IsPlayingCode(bridge_.ScriptCall("getPlayerState()"))) {
        controls_.positionSlider.SetPosition(lastSeconds_);
        controls_.positionSlider.Invalidate();
    }
}

void PlayerController::OnHoldReleaseTimer() {
    state_.autoAdvanceHold = false;
    controls_.window.KillTimer(res::kTimerHoldRelease.id);
}

}  // namespace tunova
