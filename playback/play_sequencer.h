// Play sequencing: which video plays. The playlist entry or search result the user picks, the
// next one when a video ends, the next, previous or a random one on the buttons, by the play
// mode; the playing entry's mark in the playlist view; a result cued on a single click.
//
// Playlist rows are identified by the entry number in their first column, never by position.
#pragma once

#include <random>

#include "lists/playlist.h"
#include "platform/controls/controls.h"
#include "platform/core/clock.h"
#include "playback/playback_state.h"
#include "playback/playback_view.h"
#include "playback/player_controller.h"
#include "playback/script_bridge.h"
#include "search/result_store.h"

namespace tunova {

// The message box of next, previous and play with an empty playlist.
inline constexpr char kEmptyPlaylistMessage[] = "나의 리스트에 재생하실 동영상을 추가해 주세요";
inline constexpr char kEmptyPlaylistCaption[] = "Tunova";
// The title display when every video tried in a row failed and playback stopped.
inline constexpr char kNothingPlayableTitle[] = "재생할 수 있는 동영상이 없습니다";

// What sequencing reads of the main window: the playlist (which also marks the playing row)
// with its view, and the search results with the list view that shows them (column 1: the
// title).
struct SequencerSources {
    Playlist& playlist;
    const plat::ListView& playlistView;
    const ResultStore& results;
    const plat::ListView& resultList;
};

class PlaySequencer : public PlayQueue {
  public:
    // `owner` owns the message boxes; `clock` seeds the random order on its first use.
    PlaySequencer(PlayerController& player, ScriptBridge& bridge, PlaybackState& state,
                  PlaybackView& view, plat::Window& owner, SequencerSources sources,
                  plat::Clock& clock);

    // The mode buttons kIdcModeAll, kIdcModeOne, kIdcModeRandom.
    void SetPlayMode(int buttonId);
    // kIdcNext and kIdcPrevious: the empty-playlist message box, else (once the page is
    // ready) Advance or Back.
    void Next();
    void Previous();
    // A double-click on playlist row `row`.
    void PlayPlaylistRow(int row);
    // A single click on result `row` outside its add column: the first click places the browser,
    // then the result is cued (see Cue).
    void CueResult(int row);
    // A double-click on result `row` (when double-clicks play): starts it once the page is ready.
    void PlayResult(int row);

    // Starts the playlist entry numbered `number`; false (and nothing changes) when no entry has
    // that number.
    bool StartEntry(int number);
    // Starts search result `r`; nothing when it is not a result.
    void StartResult(int r);
    // The previous video by the play mode (never wraps to the last row).
    void Back();
    // A random playlist row other than the current entry's (row 0 for one row, -1 for none).
    int RandomRow();
    // Cues the result shown in row `r` of the result list in the player when it has ended or has
    // a video cued; nothing otherwise.
    void Cue(int r);

    // PlayQueue: the play command in states 0, 1, 5, and the end of a video.
    void PlayFromPlaylist() override;
    void Advance() override;
    // A failed video counts as an end, once: after as many failures in a row as the playlist
    // has rows (at once in mode one, which would start the same video again), playback stops and
    // the title display says that nothing could be played. A video that ends, and every start
    // the user asks for, begins the count again.
    void AdvanceAfterFailure() override;

  private:
    // Shows the empty-playlist message box when the playlist has no rows; true then.
    bool TellWhenPlaylistEmpty();
    bool StartRow(int row);
    // The result shown in row `r` of the result list: result r, unless the list has been
    // reordered (sorted by title) and shows another result's title there. Null when `r` is not
    // a result.
    const VideoItem* ShownResult(int r) const;
    // Advance without touching the count of failures.
    void AdvanceByMode();
    void StopAfterFailures();

    PlayerController& player_;
    ScriptBridge& bridge_;
    PlaybackState& state_;
    PlaybackView& view_;
    plat::Window& owner_;
    SequencerSources sources_;
    plat::Clock& clock_;
    // Seeded once, on the first random pick, from the clock's tick count.
    std::minstd_rand random_;
    bool randomSeeded_ = false;
    int failuresInRow_ = 0;  // videos that failed one after the other
};

}  // namespace tunova
