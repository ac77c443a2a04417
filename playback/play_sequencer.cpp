#include "playback/play_sequencer.h"

#include <string>

#include "platform/dialog.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

constexpr std::size_t kShownTitleLimit = 499;

}  // namespace

PlaySequencer::PlaySequencer(PlayerController& player, ScriptBridge& bridge, PlaybackState& state,
                             PlaybackView& view, plat::Window& owner, const ResultStore& results,
                             const plat::ListView& resultList)
    : player_(player),
      bridge_(bridge),
      state_(state),
      view_(view),
      owner_(owner),
      results_(results),
      resultList_(resultList) {}

void PlaySequencer::SetPlayMode(int buttonId) {
    switch (buttonId) {
        case res::kIdcModeAll:
            state_.playMode = kPlayModeAll;
            break;
        case res::kIdcModeOne:
            state_.playMode = kPlayModeOne;
            break;
        case res::kIdcModeRandom:
            state_.playMode = kPlayModeRandom;
            break;
        default:
            return;
    }
    view_.RedrawPlayMode();
}

bool PlaySequencer::TellWhenPlaylistEmpty() {
    // The playlist arrives with the lists subsystem; until then it has no rows.
    plat::ShowMessageBox(&owner_, kEmptyPlaylistMessage, kEmptyPlaylistCaption,
                         plat::kMbIconExclamation);
    return true;
}

void PlaySequencer::Next() {
    TellWhenPlaylistEmpty();
}

void PlaySequencer::Previous() {
    TellWhenPlaylistEmpty();
}

void PlaySequencer::PlayPlaylistRow(int) {}

void PlaySequencer::PlayFromPlaylist() {
    TellWhenPlaylistEmpty();
}

void PlaySequencer::Advance() {
    if (state_.playMode == kPlayModeAll || state_.playMode == kPlayModeRandom) {
        player_.ResetDisplay();
    }
}

void PlaySequencer::StartResult(int r) {
    const VideoItem* result = results_.At(r);
    if (result == nullptr) {
        return;
    }
    // The rows and the results agree unless the view has been reordered: the shown title wins.
    std::string shown = resultList_.ItemText(r, 1);
    if (shown.size() > kShownTitleLimit) {
        shown.resize(kShownTitleLimit);
    }
    if (shown != result->title) {
        const auto& items = results_.Items();
        for (std::size_t k = 0; k < items.size(); ++k) {
            if (items[k].title == shown) {
                result = &items[k];
                break;
            }
        }
    }
    player_.StartVideo(result->link, result->title, result->seconds, VideoSource::kSearchResult);
    view_.MarkPlaylistRow(kNoPlayingItem, -1);
}

void PlaySequencer::Cue(int r) {
    if (state_.playerState != kPlayerEnded && state_.playerState != kPlayerCued) {
        return;
    }
    const VideoItem* result = results_.At(r);
    if (result == nullptr) {
        return;
    }
    bridge_.ScriptCall("cueNewVideo('" + std::string(VideoIdOf(result->link)) + "', 1)");
}

void PlaySequencer::CueResult(int row) {
    if (row < 0 || !state_.playerInitialised) {
        return;
    }
    if (state_.pageReady && !state_.firstClickAdjustmentDone) {
        view_.LowerNormalVideoBottom();
        state_.firstClickAdjustmentDone = true;
        view_.PlaceBrowserInNormalVideoRect();
        view_.PlaceBrowserInNormalVideoRect();
    }
    Cue(row);
}

void PlaySequencer::PlayResult(int row) {
    if (row >= 0 && state_.pageReady) {
        StartResult(row);
    }
}

}  // namespace tunova
