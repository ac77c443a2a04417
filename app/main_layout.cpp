#include "app/main_layout.h"

#include "app/window_geometry.h"
#include "res/resource_ids.h"

namespace tunova {

plat::Rect NormalLayoutRect(int id, int w, int h) {
    using namespace res;
    switch (id) {
        case kIdcHideToTray:
            return {w - 22, 5, w - 7, 20};
        case kIdcMaximize:
        case kIdcNormalSize:
            return {w - 41, 5, w - 26, 20};
        case kIdcMinimize:
            return {w - 60, 5, w - 45, 20};
        case kIdcMiniSize:
            return {w - 85, 5, w - 70, 20};
        case kIdcBigVideo:
            return {w - 113, 5, w - 91, 20};
        case kIdcSettings:
            return {95, 5, 136, 22};
        case kIdcBrowser:
            return {282, 34, 390, 124};
        case kIdcPrevious:
            return {7, 134, 60, 167};
        case kIdcPlay:
        case kIdcPause:
            return {60, 134, 113, 167};
        case kIdcNext:
            return {112, 134, 165, 167};
        case kIdcBigVideo2:
            return {366, 133, 391, 146};
        case kIdcModeOne:
            return {178, 151, 208, 163};
        case kIdcModeAll:
            return {213, 151, 246, 163};
        case kIdcModeRandom:
            return {250, 151, 284, 163};
        case kIdcMute:
        case kIdcUnmute:
            return {292, 149, 311, 168};
        case kIdcPlaylist:
            return {400, 31, w - 20, 147};
        case kIdcMoveUp:
            return {401, 151, 425, 171};
        case kIdcMoveDown:
            return {427, 151, 451, 171};
        case kIdcDeleteEntries:
            return {w - 60, 151, w - 6, 171};
        case kIdcCountryAll:
        case kIdcCountryKorea:
        case kIdcCountryUsa:
        case kIdcCountryJapan:
        case kIdcCountryChina:
            return {10, 181, 134, 200};
        case kIdcSearchEdit:
            return {139, 181, w - 60, 200};
        case kIdcSearch:
            return {w - 52, 181, w - 6, 200};
        case kIdcSearchMore:
            return {111, 205, 216, 221};
        case kIdcHomePage:
            return {111, 205, 151, 221};
        case kIdcQnaBoard:
            return {157, 205, 197, 221};
        case kIdcResultList:
            return {5, 224, w - 20, h - 26};
        case kIdcPositionSlider:
            return {7, 168, 390, 176};
        case kIdcVolumeSlider:
            return {315, 152, 390, 164};
        default:
            return {};
    }
}

plat::Rect PlaylistDropRect(int width) {
    return {400, 31, width - 20, 147};
}

bool HiddenInMini(int id) {
    using namespace res;
    switch (id) {
        case kIdcMoveUp:
        case kIdcMoveDown:
        case kIdcDeleteEntries:
        case kIdcSearch:
        case kIdcSearchEdit:
        case kIdcResultList:
        case kIdcPlaylist:
            return true;
        default:
            return false;
    }
}

bool HiddenInBigVideo(int id) {
    using namespace res;
    return id == kIdcResultList || id == kIdcHomePage || id == kIdcSearchMore || id == kIdcQnaBoard;
}

plat::Rect ControlRect(int id, const LayoutView& view) {
    using namespace res;
    if (view.mini && HiddenInMini(id)) {
        return {};
    }
    if (id == kIdcBrowser && view.bigVideo && !view.mini) {
        return BigVideoRect(view.client);
    }
    plat::Rect rect = NormalLayoutRect(id, view.client.cx, view.client.cy);
    if ((id == kIdcHomePage || id == kIdcQnaBoard) && view.moreResults) {
        rect.Offset(kLinkButtonShift, 0);
    }
    return rect;
}

FrameLayout FrameAreas(const LayoutView& view) {
    const int w = view.client.cx;
    const int h = view.client.cy;
    FrameLayout f;
    f.topStrip = {0, 0, w, kTopBarHeight};
    f.topLeftEnd = {0, 0, 6, kTopBarHeight};
    f.topTileFirstX = 6;
    f.topTileLastX = w - 85;
    f.topRightEnd = {w - 85, 0, w, kTopBarHeight};
    f.logo = plat::Rect::FromXYWH(7, 4, 81, 19);
    f.borderHeight = view.mini ? h - 27 : h - 52;
    f.leftBorder = plat::Rect::FromXYWH(0, kTopBarHeight, 2, f.borderHeight);
    f.rightBorder = plat::Rect::FromXYWH(w - 2, kTopBarHeight, 2, f.borderHeight);
    f.bottomStrip = view.mini ? plat::Rect{} : plat::Rect{0, h - 25, w, h};
    f.bottomLeftEnd = {0, h - 25, 5, h};
    f.bottomTileFirstX = 5;
    f.bottomTileLastX = w - 14;
    f.bottomRightEnd = {w - 14, h - 25, w, h};
    f.centrePanel = plat::Rect::FromXYWH(0, kTopBarHeight, w, view.mini ? h - 27 : h - 51);
    f.playerPanel = {4, 27, 400, 175};
    f.panelImage = {2, 28};
    // The line is composed W - 399 wide and copied to x 398, so it ends one pixel short of the
    // right edge.
    f.dotLine = {398, 174, w - 1, 176};
    if (view.bigVideo && !view.mini) {
        f.panelListArea = plat::Rect::FromXYWH(5, 176, w - 12, h - 229);
    }
    f.playModeIndicatorTop = 23;
    return f;
}

plat::Rect PlayModeIndicatorRect(int playMode) {
    switch (playMode) {
        case 1:
            return plat::Rect::FromXYWH(213, 50, 25, 14);
        case 2:
            return plat::Rect::FromXYWH(186, 50, 25, 14);
        case 3:
            return plat::Rect::FromXYWH(241, 50, 25, 14);
        default:
            return {};
    }
}

}  // namespace tunova
