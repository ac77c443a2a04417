// Play sequencing: which video plays. The playlist entry or search result the user picks, the
// next one when a video ends, the next, previous or a random one on the buttons, by the play
// mode; the playing entry's mark in the playlist view; a result cued on a single click.
#pragma once

#include "platform/controls.h"
#include "playback/playback_state.h"
#include "playback/playback_view.h"
#include "playback/player_controller.h"
#include "playback/script_bridge.h"
#include "search/result_store.h"

namespace tunova {

// The title that marks no playlist row as playing.
inline constexpr char kNoPlayingItem[] = "noplayingitem";
// The message box of next, previous and play with an empty playlist.
inline constexpr char kEmptyPlaylistMessage[] = "나의 리스트에 재생하실 동영상을 추가해 주세요";
inline constexpr char kEmptyPlaylistCaption[] = "Tunova";

class PlaySequencer : public PlayQueue {
  public:
    // `owner` owns the message boxes; `results` and `resultList` are the search results and the
    // list view that shows them (column 1: the title).
    PlaySequencer(PlayerController& player, ScriptBridge& bridge, PlaybackState& state,
                  PlaybackView& view, plat::Window& owner, const ResultStore& results,
                  const plat::ListView& resultList);

    // Mode buttons 1005, 1006, 1007.
    void SetPlayMode(int buttonId);
    // Next 1123 and previous 1122.
    void Next();
    void Previous();
    // A double-click on playlist row `row`.
    void PlayPlaylistRow(int row);
    // A single click on result `row` outside its add column: the first click places the browser,
    // then the result is cued (see Cue).
    void CueResult(int row);
    // A double-click on result `row` (when double-clicks play): starts it once the page is ready.
    void PlayResult(int row);

    // Starts search result `r`; nothing when it is not a result.
    void StartResult(int r);
    // Cues result `r` in the player when it has ended or has a video cued; nothing otherwise.
    void Cue(int r);

    // PlayQueue: the play command in states 0, 1, 5, and the end of a video.
    void PlayFromPlaylist() override;
    void Advance() override;

  private:
    // Shows the empty-playlist message box when the playlist has no rows; true then.
    bool TellWhenPlaylistEmpty();

    PlayerController& player_;
    ScriptBridge& bridge_;
    PlaybackState& state_;
    PlaybackView& view_;
    plat::Window& owner_;
    const ResultStore& results_;
    const plat::ListView& resultList_;
};

}  // namespace tunova
