// The main window's skin: the button pictures, masks, tooltips and first visibility, the
// sliders' channels and thumbs, and the lists' modes and scroll bars. The painted frame strips
// and the scrolling title come with the skinned windows; until then the window's interior is
// one dark colour and those steps do nothing.
#pragma once

#include "controls/skin_button.h"
#include "controls/skin_list.h"
#include "controls/skin_slider.h"
#include "platform/draw.h"
#include "platform/window.h"
#include "playback/playback_state.h"

namespace tunova {

class CTunovaDlg;

class MainSkin {
  public:
    explicit MainSkin(CTunovaDlg& window) : window_(window) {}

    // Start-up: the buttons' bitmaps and tooltips, the play-mode all button checked, the
    // toggling buttons' first visibility, the sliders' channels and thumbs.
    void Load();
    // The lists' paint modes and their scroll bars beside them (after the controls are placed).
    void AttachListScrollBars();
    void DrawStrips() {}
    void Release() {}
    // Timers 6 and 7.
    void OnTitleScrollTimer() {}
    void OnTitlePauseTimer() {}
    // A new title starts: the scroll returns to its start.
    void ResetTitleScroll() {}
    // Until the skinned windows paint the player panel (its digits, title, play time and volume
    // gauge), its texts in plain letters where the panel shows them.
    void PaintPlayerTexts(plat::DC& dc, const PlaybackState& playback);

  private:
    CTunovaDlg& window_;
};

}  // namespace tunova
