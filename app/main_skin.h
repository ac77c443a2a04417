// The main window's skin: the button pictures, masks and tooltips, the sliders' channels and
// thumbs, the lists' modes and scroll bars, and the painted window itself: the frame strips, the
// player panel, the time digits, the scrolling title, the play time, the volume gauge and the
// result count, drawn from the skin folder's images.
#pragma once

#include <string>

#include "app/dialog_state.h"
#include "app/frame_strips.h"
#include "app/main_layout.h"
#include "app/skin_images.h"
#include "app/title_marquee.h"
#include "controls/skin_button.h"
#include "controls/skin_list.h"
#include "controls/skin_slider.h"
#include "platform/draw/draw.h"
#include "platform/window/window.h"

namespace tunova {

class MainSkin {
  public:
    // What of the main window the skin dresses and paints.
    struct Painted {
        plat::Window& window;  // its background colour, its buttons, its title timers
        CSkinSlider& positionSlider;
        CSkinSlider& volumeSlider;
        CSkinList& resultList;
        CSkinList& playlistView;
        const PlaybackState& playback;  // the displays: title, times, volume, play mode
        const ViewState& view;          // the status hint, whether the result list shows
        const LayoutView& layout;       // the layout in force
        const std::string& resultCountText;
    };
    explicit MainSkin(Painted painted);

    // Start-up: the skin files, the buttons' bitmaps and tooltips, the play-mode all button
    // checked, the sliders' channels and thumbs.
    void Load();
    // The lists' paint modes and their scroll bars beside them (after the controls are placed).
    void AttachListScrollBars();
    // The frame changed size or view: the strips are composed again for the next erase (all of
    // them, or only the centre panel).
    void DrawStrips(bool centrePanelOnly = false);
    // The window's destruction: the strips and the skin images go.
    void Release();

    // Erasing the window: the strips, then the displays on top.
    void PaintBackground(plat::DC& dc);

    // kTimerTitleScroll and kTimerTitlePause, and a new title.
    void OnTitleScrollTimer() { marquee_.OnStepTimer(); }
    void OnTitlePauseTimer() { marquee_.OnPauseTimer(); }
    void ResetTitleScroll() { marquee_.Reset(); }

    // The memory the cached strips take, in bytes.
    std::size_t StripBytes() const { return strips_.Bytes(); }

  private:
    Painted painted_;
    SkinImages images_;
    FrameStrips strips_;
    TitleMarquee marquee_;
    bool stripsStale_ = true;
    bool centreStale_ = true;
};

}  // namespace tunova
