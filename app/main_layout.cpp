#include "app/main_layout.h"

#include "app/main_controls.h"
#include "app/window_geometry.h"
#include "res/resource_ids.h"

namespace tunova {

plat::Rect NormalLayoutRect(int id, int w, int h) {
    const MainControl* control = FindMainControl(id);
    return control != nullptr ? control->normal.At(w, h) : plat::Rect{};
}

plat::Rect PlaylistDropRect(int width) {
    return {400, 31, width - 20, 147};
}

bool HiddenInMini(int id) {
    const MainControl* control = FindMainControl(id);
    return control != nullptr && control->hiddenInMini;
}

bool HiddenInBigVideo(int id) {
    const MainControl* control = FindMainControl(id);
    return control != nullptr && control->hiddenInBigVideo;
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
    const MainControl* control = FindMainControl(id);
    if (control != nullptr && control->makesRoomForMore && view.moreResults) {
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
