// The main window's side of playback (PlaybackView): the player engine's video area, the
// sliders' set-up, and the displays and layout that playback asks the window to refresh.
#include <string>

#include "app/main_layout.h"
#include "app/tunova_dlg.h"
#include "platform/core/data_dir.h"
#include "platform/core/log.h"
#include "services/host_config.h"

namespace tunova {

void CTunovaDlg::CreateBrowserAndNavigate() {
    page_->CreateControl(this, res::kIdcBrowser);
    // A double-click on the video toggles the big-video view in the normal size only.
    page_->onVideoDoubleClick = [this] {
        if (view_.sizeMode == kSizeModeNormal) {
            modes_.ToggleBigVideo();
        }
    };
    if (pageOverride_ == nullptr && !page_->LoadPlayerPage(plat::DataDir(), hosts_.feedHost)) {
        plat::LogError("player", "cannot start the player in " + plat::DataDir());
    }
    SetTimer(res::kTimerVolumeRestore.id, res::kTimerVolumeRestore.periodMs);
    SetTimer(res::kTimerPaging.id, res::kTimerPaging.periodMs);
}

void CTunovaDlg::SetUpSliders() {
    positionSlider_.SetLimits(0, 100);
    positionSlider_.SetPosition(0);
    volumeSlider_.SetLimits(0, 100);
    volumeSlider_.SetPosition(playback_.volume);
}

plat::Rect CTunovaDlg::VideoRect(bool normalLayout) {
    plat::Rect& rect =
        normalLayout || view_.listShown ? view_.normalBrowserRect : view_.bigBrowserRect;
    if (rect.IsEmpty()) {
        // Until the window modes compute their layouts, both are the normal layout's.
        rect = NormalLayoutRect(res::kIdcBrowser);
    }
    return rect;
}

// Each display repaints only its own rectangle: the erase behind it, clipped to it, draws the
// panel and that display again, and nothing else of the window.
void CTunovaDlg::RedrawTitle() {
    InvalidateRect(kTitleRect);
}

void CTunovaDlg::ResetTitleScroll() {
    skin_.ResetTitleScroll();
}

void CTunovaDlg::RedrawDuration() {
    InvalidateRect(kPlayTimeTextRect);
}

void CTunovaDlg::RedrawTimeDigits() {
    InvalidateRect(kTimeDigitsRect);
}

void CTunovaDlg::RedrawVolume() {
    InvalidateRect(kVolumeGaugeRect);
}

void CTunovaDlg::RedrawPlayMode() {
    // The indicator is part of the composed centre panel.
    skin_.DrawStrips(true);
    InvalidateRect(kPlayModeArea);
}

void CTunovaDlg::PlaceBrowserInVideoRect() {
    page_->VideoWindow().Move(VideoRect(false));
}

void CTunovaDlg::PlaceBrowserInNormalVideoRect() {
    page_->VideoWindow().Move(VideoRect(true));
}

void CTunovaDlg::LowerNormalVideoBottom() {
    VideoRect(true);
    view_.normalBrowserRect.bottom -= 1;
}

}  // namespace tunova
