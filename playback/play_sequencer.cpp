#include "playback/play_sequencer.h"

#include <string>

#include "platform/window/dialog.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

constexpr std::size_t kShownTitleLimit = 499;

}  // namespace

PlaySequencer::PlaySequencer(PlayerController& player, ScriptBridge& bridge, PlaybackState& state,
                             PlaybackView& view, plat::Window& owner, SequencerSources sources,
                             plat::Clock& clock)
    : player_(player),
      bridge_(bridge),
      state_(state),
      view_(view),
      owner_(owner),
      sources_(sources),
      clock_(clock) {}

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
    if (sources_.playlist.RowCount() > 0) {
        return false;
    }
    plat::ShowMessageBox(&owner_, kEmptyPlaylistMessage, kEmptyPlaylistCaption,
                         plat::kMbIconExclamation);
    return true;
}

bool PlaySequencer::StartEntry(int number) {
    const PlaylistEntry* entry = sources_.playlist.Find(number);
    if (entry == nullptr) {
        return false;
    }
    // The title and length shown are those of the first entry with the same link.
    for (const PlaylistEntry& same : sources_.playlist.Entries()) {
        if (same.entryNumber != 0 && same.link == entry->link) {
            entry = &same;
            break;
        }
    }
    player_.StartVideo(entry->link, entry->title, entry->seconds, VideoSource::kPlaylistEntry);
    state_.currentEntryNumber = number;
    sources_.playlist.MarkPlaying(number);
    return true;
}

bool PlaySequencer::StartRow(int row) {
    return StartEntry(sources_.playlist.EntryNumberAt(row));
}

void PlaySequencer::Advance() {
    failuresInRow_ = 0;
    AdvanceByMode();
}

void PlaySequencer::AdvanceAfterFailure() {
    ++failuresInRow_;
    if (state_.playMode == kPlayModeOne || failuresInRow_ >= sources_.playlist.RowCount()) {
        StopAfterFailures();
        return;
    }
    AdvanceByMode();
}

void PlaySequencer::StopAfterFailures() {
    player_.ResetDisplay();
    sources_.playlist.ClearPlayingMark();
    state_.nowPlayingTitle = kNothingPlayableTitle;
    view_.RedrawTitle();
}

void PlaySequencer::AdvanceByMode() {
    Playlist& playlist = sources_.playlist;
    const int rows = playlist.RowCount();
    switch (state_.playMode) {
        case kPlayModeAll: {
            const int current = playlist.RowOf(state_.currentEntryNumber);
            if (current >= 0 && current + 1 < rows && StartRow(current + 1)) {
                return;
            }
            if (rows == 0) {
                player_.ResetDisplay();
                return;
            }
            StartRow(0);  // round to the first row
            return;
        }
        case kPlayModeOne:
            StartEntry(state_.currentEntryNumber);
            return;
        case kPlayModeRandom:
            if (rows == 0) {
                player_.ResetDisplay();
                return;
            }
            StartRow(RandomRow());
            return;
        default:
            return;
    }
}

void PlaySequencer::Back() {
    failuresInRow_ = 0;
    Playlist& playlist = sources_.playlist;
    switch (state_.playMode) {
        case kPlayModeAll:
        case kPlayModeOne: {
            if (playlist.RowCount() == 0) {
                return;
            }
            const int current = playlist.RowOf(state_.currentEntryNumber);
            if (current >= 2 && StartRow(current - 1)) {
                return;
            }
            StartRow(0);
            return;
        }
        case kPlayModeRandom:
            StartRow(RandomRow());
            return;
        default:
            return;
    }
}

int PlaySequencer::RandomRow() {
    const int rows = sources_.playlist.RowCount();
    if (rows <= 0) {
        return -1;
    }
    if (!randomSeeded_) {
        random_.seed(clock_.TickCount());
        randomSeeded_ = true;
    }
    if (rows == 1) {
        return 0;
    }
    const int current = sources_.playlist.RowOf(state_.currentEntryNumber);
    if (current < 0) {
        return std::uniform_int_distribution<int>(0, rows - 1)(random_);
    }
    // One draw among the other rows: never the current row, never a loop.
    const int pick = std::uniform_int_distribution<int>(0, rows - 2)(random_);
    return pick >= current ? pick + 1 : pick;
}

void PlaySequencer::Next() {
    if (!TellWhenPlaylistEmpty() && state_.pageReady) {
        Advance();
    }
}

void PlaySequencer::Previous() {
    if (!TellWhenPlaylistEmpty() && state_.pageReady) {
        Back();
    }
}

void PlaySequencer::PlayPlaylistRow(int row) {
    if (!state_.pageReady || row < 0 || row >= sources_.playlist.RowCount()) {
        return;
    }
    const int number = sources_.playlist.EntryNumberAt(row);
    if (number > 0) {
        failuresInRow_ = 0;
        StartEntry(number);
    }
}

void PlaySequencer::PlayFromPlaylist() {
    if (TellWhenPlaylistEmpty()) {
        return;
    }
    failuresInRow_ = 0;
    const int selected = sources_.playlistView.NextItem(-1, plat::kLvniSelected);
    if (selected >= 0 && StartRow(selected)) {
        return;
    }
    StartRow(0);
}

const VideoItem* PlaySequencer::ShownResult(int r) const {
    const VideoItem* result = sources_.results.At(r);
    if (result == nullptr) {
        return nullptr;
    }
    // The rows and the results agree unless the view has been reordered: the shown title wins.
    std::string shown = sources_.resultList.ItemText(r, 1);
    if (shown.size() > kShownTitleLimit) {
        shown.resize(kShownTitleLimit);
    }
    if (shown != result->title) {
        for (const VideoItem& item : sources_.results.Items()) {
            if (item.title == shown) {
                return &item;
            }
        }
    }
    return result;
}

void PlaySequencer::StartResult(int r) {
    const VideoItem* result = ShownResult(r);
    if (result == nullptr) {
        return;
    }
    failuresInRow_ = 0;
    player_.StartVideo(result->link, result->title, result->seconds, VideoSource::kSearchResult);
    sources_.playlist.ClearPlayingMark();
}

void PlaySequencer::Cue(int r) {
    if (state_.playerState != kPlayerEnded && state_.playerState != kPlayerCued) {
        return;
    }
    const VideoItem* result = ShownResult(r);
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
