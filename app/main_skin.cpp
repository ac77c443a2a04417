// The main window's skin: the buttons' pictures and tooltips from the control table, the
// sliders' pictures, and the painted window.
#include "app/main_skin.h"

#include "app/main_controls.h"
#include "app/main_layout.h"
#include "app/player_displays.h"
#include "app/tunova_dlg.h"
#include "res/resource_ids.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

// What shows before the first erase paints the frame.
constexpr plat::ColorRef kInterior = plat::Rgb(20, 22, 28);

}  // namespace

MainSkin::MainSkin(CTunovaDlg& window) : window_(window), marquee_(window, kTitleRect) {}

void MainSkin::Load() {
    res::RegisterSkinResources();
    window_.SetBackgroundColor(kInterior);
    images_.Load();
    for (const MainControl& row : MainControls()) {
        auto* button = dynamic_cast<CSkinButton*>(window_.Child(row.id));
        if (button == nullptr) {
            continue;
        }
        button->ApplySkin(row.bitmaps);
        if (row.tooltip != nullptr) {
            button->AttachTooltip(row.tooltip);
        }
    }
    if (plat::Window* all = window_.Child(res::kIdcModeAll)) {
        all->SendMessage(plat::kBmSetCheck, 1);
    }
    // The sliders take their size from their channels.
    window_.positionSlider.SetChannelBitmaps(res::kBmpPositionChannel, res::kBmpPositionActive);
    window_.positionSlider.SetThumbBitmap(res::kBmpPositionThumb);
    window_.positionSlider.SetDrawFocus(false);
    window_.volumeSlider.SetChannelBitmaps(res::kBmpVolumeChannel, res::kBmpVolumeActive);
    window_.volumeSlider.SetThumbBitmap(res::kBmpVolumeThumb);
    window_.volumeSlider.SetDrawFocus(false);
}

void MainSkin::AttachListScrollBars() {
    window_.resultList.SetPaintMode(CSkinList::kResults);
    window_.resultList.AttachScrollBar();
    window_.playlistView.SetPaintMode(CSkinList::kPlaylist);
    window_.playlistView.AttachScrollBar();
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
    const FrameLayout frame = FrameAreas(window_.Modes().Layout());
    const int playMode = window_.playback.playMode;
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
    DrawTimeDigits(dc, images_, window_.playback.currentTimeText);
    const std::string& title = window_.playback.nowPlayingTitle.empty()
                                   ? window_.view.statusHint
                                   : window_.playback.nowPlayingTitle;
    DrawInfoTexts(dc,
                  {title, window_.playback.durationText, window_.Search().ResultCountText(),
                   window_.view.listShown},
                  marquee_);
    DrawVolumeGauge(dc, images_, window_.playback.volume);
}

}  // namespace tunova
