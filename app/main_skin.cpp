// The main window's skin: the buttons' pictures and tooltips from the control table, the
// sliders' pictures, and the painted window.
#include "app/main_skin.h"

#include "app/main_controls.h"
#include "app/main_layout.h"
#include "app/player_displays.h"
#include "res/resource_ids.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

// What shows before the first erase paints the frame.
constexpr plat::ColorRef kInterior = plat::Rgb(20, 22, 28);

}  // namespace

MainSkin::MainSkin(Painted painted) : painted_(painted), marquee_(painted.window, kTitleRect) {}

void MainSkin::Load() {
    res::RegisterSkinResources();
    painted_.window.SetBackgroundColor(kInterior);
    images_.Load();
    for (const MainControl& row : MainControls()) {
        auto* button = dynamic_cast<CSkinButton*>(painted_.window.Child(row.id));
        if (button == nullptr) {
            continue;
        }
        button->ApplySkin(row.bitmaps);
        if (row.tooltip != nullptr) {
            button->AttachTooltip(row.tooltip);
        }
    }
    if (plat::Window* all = painted_.window.Child(res::kIdcModeAll)) {
        all->SendMessage(plat::kBmSetCheck, 1);
    }
    // The sliders take their size from their channels.
    painted_.positionSlider.SetChannelBitmaps(res::kBmpPositionChannel, res::kBmpPositionActive);
    painted_.positionSlider.SetThumbBitmap(res::kBmpPositionThumb);
    painted_.positionSlider.SetDrawFocus(false);
    painted_.volumeSlider.SetChannelBitmaps(res::kBmpVolumeChannel, res::kBmpVolumeActive);
    painted_.volumeSlider.SetThumbBitmap(res::kBmpVolumeThumb);
    painted_.volumeSlider.SetDrawFocus(false);
}

void MainSkin::AttachListScrollBars() {
    painted_.resultList.SetPaintMode(CSkinList::kResults);
    painted_.resultList.AttachScrollBar();
    painted_.playlistView.SetPaintMode(CSkinList::kPlaylist);
    painted_.playlistView.AttachScrollBar();
}

void MainSkin::DrawStrips(bool centrePanelOnly) {
    if (centrePanelOnly) {
        centreStale_ = true;
    } else {
        stripsStale_ = true;
    }
}

void MainSkin::Release() {
    strips_.Release();
    images_.Release();
    stripsStale_ = true;
}

void MainSkin::PaintBackground(plat::DC& dc) {
    const FrameLayout frame = FrameAreas(painted_.layout);
    const int playMode = painted_.playback.playMode;
    // Composed here rather than when the frame changes: only the DC being painted knows the
    // screen's density, and a window moved to a high-density screen gets sharp strips.
    if (stripsStale_ || !strips_.BuiltFor(frame, dc)) {
        strips_.Build(images_, frame, playMode, dc);
        stripsStale_ = false;
        centreStale_ = false;
    } else if (centreStale_) {
        strips_.BuildCentrePanel(images_, frame, playMode, dc);
        centreStale_ = false;
    }
    strips_.Paint(dc, frame);
    DrawTimeDigits(dc, images_, painted_.playback.currentTimeText);
    const std::string& title = painted_.playback.nowPlayingTitle.empty()
                                   ? painted_.view.statusHint
                                   : painted_.playback.nowPlayingTitle;
    DrawInfoTexts(
        dc,
        {title, painted_.playback.durationText, painted_.resultCountText, painted_.view.listShown},
        marquee_);
    DrawVolumeGauge(dc, images_, painted_.playback.volume);
}

}  // namespace tunova
