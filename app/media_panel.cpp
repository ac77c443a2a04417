#include "app/media_panel.h"

#include <cmath>

#include "platform/core/messages.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

constexpr std::int64_t kMicrosecondsPerSecond = 1'000'000;

plat::MediaStatus StatusOf(const PlaybackState& state) {
    // Stop empties the title and leaves the page as it is: with no video shown, nothing plays
    // as far as the desktop is concerned.
    if (state.nowPlayingTitle.empty()) {
        return plat::MediaStatus::kStopped;
    }
    switch (state.playerState) {
        case kPlayerPlaying:
        case kPlayerBuffering:
            return plat::MediaStatus::kPlaying;
        case kPlayerPaused:
            return plat::MediaStatus::kPaused;
        default:
            return plat::MediaStatus::kStopped;
    }
}

}  // namespace

int PlayPauseCommand(const PlaybackState& state) {
    const bool playing =
        state.playerState == kPlayerPlaying || state.playerState == kPlayerBuffering;
    return playing ? res::kIdcPause : res::kIdcPlay;
}

MediaPanel::MediaPanel(Player player) : player_(player), controls_(*this) {}

void MediaPanel::Refresh() {
    const PlaybackState& state = player_.state;
    plat::MediaState now;
    now.status = StatusOf(state);
    if (!state.nowPlayingTitle.empty()) {
        now.track = state.videoStarts;
        now.title = state.nowPlayingTitle;
        now.url = state.nowPlayingLink;
        now.lengthUs = std::int64_t{player_.positionSlider.Maximum()} * kMicrosecondsPerSecond;
    }
    now.volume = state.pageVolume / 100.0;
    now.canPlay = state.pageReady;
    now.canPause = state.pageReady;
    now.canGoNext = player_.playlist.RowCount() > 0;
    now.canGoPrevious = now.canGoNext;
    controls_.Publish(now);
}

void MediaPanel::PostCommand(int id) {
    player_.window.PostMessage(plat::kWmCommand, plat::MakeWParam(id, plat::kBnClicked), 0);
}

void MediaPanel::DragSlider(CSkinSlider& slider, int position, bool moving) {
    slider.SetPosition(position);
    const auto id = static_cast<plat::WParam>(slider.ControlId());
    const auto at = static_cast<plat::LParam>(slider.GetPosition());
    if (moving) {
        player_.window.PostMessage(res::kWmSliderMoving, id, at);
    }
    player_.window.PostMessage(res::kWmSliderReleased, id, at);
}

void MediaPanel::Raise() {
    PostCommand(res::kCmdOpenPlayer);
}

void MediaPanel::Quit() {
    PostCommand(res::kCmdExit);
}

void MediaPanel::PlayPause() {
    PostCommand(PlayPauseCommand(player_.state));
}

void MediaPanel::Play() {
    PostCommand(res::kIdcPlay);
}

void MediaPanel::Pause() {
    PostCommand(res::kIdcPause);
}

void MediaPanel::Stop() {
    PostCommand(res::kIdcStop);
}

void MediaPanel::Next() {
    PostCommand(res::kIdcNext);
}

void MediaPanel::Previous() {
    PostCommand(res::kIdcPrevious);
}

void MediaPanel::SetPositionUs(std::int64_t positionUs) {
    // The position slider counts whole seconds of the video.
    DragSlider(player_.positionSlider, static_cast<int>(positionUs / kMicrosecondsPerSecond),
               false);
}

void MediaPanel::SetVolume(double volume) {
    DragSlider(player_.volumeSlider, static_cast<int>(std::lround(volume * 100)), true);
}

std::int64_t MediaPanel::PositionUs() {
    return std::int64_t{player_.positionSlider.GetPosition()} * kMicrosecondsPerSecond;
}

}  // namespace tunova
