// The main window's side of playback (PlaybackView): the browser control and its page, the
// sliders' set-up, and the displays and layout that playback asks the window to refresh.
#include <string>

#include "app/tunova_dlg.h"
#include "platform/data_dir.h"
#include "platform/log.h"
#include "services/host_config.h"

namespace tunova {

void CTunovaDlg::CreateBrowserAndNavigate() {
    browser.CreateControl(this, res::kIdcBrowser);
    // A double-click on the video toggles the big-video view in the normal size only.
    browser.onVideoDoubleClick = [this] {
        if (view.sizeMode == kSizeModeNormal) {
            modes_.ToggleBigVideo();
        }
    };
    if (pageOverride_ == nullptr &&
        !browser.LoadPlayerPage(plat::DataDir(), LoadHosts().feedHost)) {
        plat::LogError("player", "cannot load the player page " + plat::DataFile(kPlayerPageFile));
    }
    SetTimer(res::kTimerVolumeRestore.id, res::kTimerVolumeRestore.periodMs);
    SetTimer(res::kTimerPaging.id, res::kTimerPaging.periodMs);
}

void CTunovaDlg::SetUpSliders() {
    positionSlider.SetLimits(0, 100);
    positionSlider.SetPosition(0);
    volumeSlider.SetLimits(0, 100);
    volumeSlider.SetPosition(playback.volume);
}

plat::Rect CTunovaDlg::VideoRect(bool normalLayout) {
    plat::Rect& rect =
        normalLayout || view.listShown ? view.normalBrowserRect : view.bigBrowserRect;
    if (rect.IsEmpty()) {
        // Until the window modes compute their layouts, both are the normal layout's.
        rect = NormalLayoutRect(res::kIdcBrowser);
    }
    return rect;
}

void CTunovaDlg::RedrawTitle() {
    Invalidate();
}

void CTunovaDlg::ResetTitleScroll() {
    skin_.ResetTitleScroll();
}

void CTunovaDlg::RedrawDuration() {
    Invalidate();
}

void CTunovaDlg::RedrawTimeDigits() {
    Invalidate();
}

void CTunovaDlg::RedrawVolume() {
    Invalidate();
}

void CTunovaDlg::RedrawPlayMode() {
    Invalidate();
}

void CTunovaDlg::PlaceBrowserInVideoRect() {
    browser.Move(VideoRect(false));
}

void CTunovaDlg::PlaceBrowserInNormalVideoRect() {
    browser.Move(VideoRect(true));
}

void CTunovaDlg::LowerNormalVideoBottom() {
    VideoRect(true);
    view.normalBrowserRect.bottom -= 1;
}

}  // namespace tunova
