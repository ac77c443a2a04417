// Stand-in for the skin (skin bitmaps, button pictures, the painted strips and the scrolling
// title) until it is built: buttons show a short caption instead of their pictures, nothing is
// painted, and the title timers do nothing.
//
// To replace it: put the skin object in CTunovaDlg in place of `skin_` (app/tunova_dlg.h).
// Delete this file.
#pragma once

#include "res/resource_ids.h"

namespace tunova {

class SkinStandIn {
  public:
    // Start-up and shutdown.
    void Load() {}
    void DrawStrips() {}
    void Release() {}
    // Timers 6 and 7.
    void OnTitleScrollTimer() {}
    void OnTitlePauseTimer() {}

    // The caption a skin button shows until its pictures are drawn.
    static const char* CaptionOf(int id) {
        using namespace res;
        switch (id) {
            case kIdcPause:
                return "||";
            case kIdcMute:
                return "음소거";
            case kIdcUnmute:
                return "해제";
            case kIdcHideToTray:
                return "x";
            case kIdcMinimize:
                return "_";
            case kIdcPrevious:
                return "이전";
            case kIdcNext:
                return "다음";
            case kIdcSearch:
                return "검색";
            case kIdcPlay:
                return "재생";
            case kIdcMaximize:
                return "□";
            case kIdcMiniSize:
                return "m";
            case kIdcMoveUp:
                return "위로";
            case kIdcMoveDown:
                return "아래로";
            case kIdcNormalSize:
                return "◇";
            case kIdcBigVideo:
            case kIdcBigVideo2:
                return "크게";
            case kIdcHomePage:
                return "홈";
            case kIdcSettings:
                return "메뉴";
            case kIdcDeleteEntries:
                return "선택삭제";
            case kIdcSearchMore:
                return "더 검색하기";
            case kIdcQnaBoard:
                return "Q&A";
            default:
                return "";
        }
    }
};

}  // namespace tunova
