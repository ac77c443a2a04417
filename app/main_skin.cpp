// The main window's skin: which bitmap, mask and tooltip each button gets, and the painted
// window.
#include "app/main_skin.h"

#include <utility>

#include "app/main_layout.h"
#include "app/player_displays.h"
#include "app/tunova_dlg.h"
#include "res/resource_ids.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

// What shows before the first erase paints the frame.
constexpr plat::ColorRef kInterior = plat::Rgb(20, 22, 28);

struct ButtonSkin {
    int id;
    int normal;
    int down;
    int over;
    int mask;
    const char* tooltip;  // null: none
};

// In the order the buttons are skinned.
constexpr ButtonSkin kButtonSkins[] = {
    {res::kIdcHideToTray, 202, 203, 204, 201, "종료"},
    {res::kIdcMaximize, 194, 195, 196, 193, "최대화"},
    {res::kIdcMiniSize, 206, 207, 208, 205, "미니 사이즈"},
    {res::kIdcMinimize, 210, 211, 212, 209, "최소화"},
    {res::kIdcNormalSize, 198, 199, 200, 197, "원래크기"},
    {res::kIdcMoveUp, 167, 168, 169, 166, "위로"},
    {res::kIdcMoveDown, 159, 160, 161, 158, "아래로"},
    {res::kIdcDeleteEntries, 163, 164, 165, 162, "선택삭제"},
    {res::kIdcPlay, 155, 156, 157, 154, "재생"},
    {res::kIdcNext, 151, 152, 153, 150, "다음 재생"},
    {res::kIdcPrevious, 171, 172, 173, 170, "이전 재생"},
    {res::kIdcPause, 190, 191, 192, 189, "일시정지"},
    {res::kIdcMute, 178, 179, 180, 177, "음소거"},
    {res::kIdcUnmute, 182, 183, 184, 181, "음소거 해제"},
    {res::kIdcModeAll, 147, 149, 0, 146, "전곡듣기"},
    {res::kIdcModeOne, 143, 145, 0, 142, "한곡듣기"},
    {res::kIdcModeRandom, 186, 188, 0, 185, "랜덤재생"},
    {res::kIdcBigVideo2, 214, 215, 216, 213, "크게 보기"},
    {res::kIdcSearch, 174, 175, 176, 0, "UCC 검색"},
    {res::kIdcBigVideo, 244, 245, 242, 243, "UCC 크게보기"},
    {res::kIdcHomePage, 252, 253, 246, 247, "홈페이지 가기"},
    {res::kIdcSearchMore, 248, 249, 250, 251, "더 검색하기"},
    {res::kIdcCountryAll, 255, 256, 257, 254, "국가 선택"},
    {res::kIdcCountryKorea, 261, 261, 262, 254, nullptr},
    {res::kIdcCountryUsa, 263, 263, 264, 254, nullptr},
    {res::kIdcCountryJapan, 265, 265, 266, 254, nullptr},
    {res::kIdcCountryChina, 267, 267, 260, 254, nullptr},
    {res::kIdcQnaBoard, 270, 271, 268, 269, "질문과 답변"},
    {res::kIdcSettings, 279, 280, 277, 278, nullptr},
};

}  // namespace

MainSkin::MainSkin(CTunovaDlg& window) : window_(window), marquee_(window, kTitleRect) {}

void MainSkin::Load() {
    res::RegisterSkinResources();
    window_.SetBackgroundColor(kInterior);
    images_.Load();
    for (const ButtonSkin& skin : kButtonSkins) {
        auto* button = dynamic_cast<CSkinButton*>(window_.Child(skin.id));
        if (button == nullptr) {
            continue;
        }
        button->ApplySkin(skin.normal, skin.down, skin.over, skin.mask);
        if (skin.tooltip != nullptr) {
            button->AttachTooltip(skin.tooltip);
        }
    }
    if (plat::Window* all = window_.Child(res::kIdcModeAll)) {
        all->SendMessage(plat::kBmSetCheck, 1);
    }
    const std::pair<int, bool> visibility[] = {{res::kIdcMute, true},
                                               {res::kIdcUnmute, false},
                                               {res::kIdcPlay, true},
                                               {res::kIdcPause, false},
                                               {res::kIdcSearchMore, false}};
    for (const auto& [id, shown] : visibility) {
        if (plat::Window* button = window_.Child(id)) {
            button->Show(shown);
        }
    }
    // The sliders take their size from their channels.
    window_.positionSlider.SetChannelBitmaps(240, 235);
    window_.positionSlider.SetThumbBitmap(236);
    window_.positionSlider.SetDrawFocus(false);
    window_.volumeSlider.SetChannelBitmaps(237, 238);
    window_.volumeSlider.SetThumbBitmap(239);
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
