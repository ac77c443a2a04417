#include "app/main_layout.h"

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

}  // namespace tunova
