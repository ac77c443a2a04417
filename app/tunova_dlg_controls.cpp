// Creation of the main window's controls and their placement in the normal layout.
#include <string>

#include "app/tunova_dlg.h"
#include "res/resource_ids.h"

namespace tunova {

namespace {

using plat::Rect;

// Until the skin draws them, skin buttons show a short caption.
struct ButtonCaption {
    int id;
    const char* caption;
};
constexpr ButtonCaption kCaptions[] = {
    {1104, "||"},   {1107, "음소거"}, {1108, "해제"},   {1119, "x"},        {1120, "_"},
    {1122, "이전"}, {1123, "다음"},   {1124, "검색"},   {1126, "재생"},     {1127, "□"},
    {1128, "m"},    {1129, "위로"},   {1130, "아래로"}, {1131, "◇"},        {1132, "크게"},
    {1133, "홈"},   {1134, "메뉴"},   {1135, "크게"},   {1136, "선택삭제"}, {1137, "더 검색하기"},
};

const char* CaptionOf(int id) {
    for (const auto& c : kCaptions) {
        if (c.id == id) {
            return c.caption;
        }
    }
    return "";
}

// Buttons that start hidden: the second of each toggling pair and the more-results button.
bool StartsHidden(int id) {
    return id == res::kIdcPause || id == res::kIdcUnmute || id == res::kIdcNormalSize ||
           id == res::kIdcSearchMore;
}

// Rectangles of the normal layout in a client area W x H.
Rect NormalRect(int id, int w, int h) {
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
            return {7, 172, 390, 178};
        case kIdcVolumeSlider:
            return {315, 152, 390, 164};
        default:
            return {};
    }
}

}  // namespace

void CTunovaDlg::CreateControls() {
    using namespace res;
    const Rect none{};
    resultList.Create(this, kIdcResultList, none);
    playlistView.Create(this, kIdcPlaylist, none);
    for (size_t i = 0; i < playModeButtons.size(); ++i) {
        const int id = kIdcModeAll + static_cast<int>(i);
        playModeButtons[i].Create(this, id,
                                  id == kIdcModeAll   ? "전곡"
                                  : id == kIdcModeOne ? "한곡"
                                                      : "랜덤",
                                  none);
    }
    volumeSlider.Create(this, kIdcVolumeSlider, none);
    positionSlider.Create(this, kIdcPositionSlider, none);
    countryCombo.Create(this, kIdcCountryCombo, none, plat::kStyleChild);
    stopButton.Create(this, kIdcStop, "■", none, plat::kStyleChild);
    volumeUpButton.Create(this, kIdcVolumeUp, "+", none, plat::kStyleChild);
    volumeDownButton.Create(this, kIdcVolumeDown, "-", none, plat::kStyleChild);
    const char* countryNames[] = {"통합", "한국", "미국", "일본", "중국"};
    for (size_t i = 0; i < countryButtons.size(); ++i) {
        const int id = kIdcCountryAll + static_cast<int>(i);
        countryButtons[i].Create(
            this, id, countryNames[i], none,
            i == 0 ? plat::kStyleChild | plat::kStyleVisible : plat::kStyleChild);
    }
    for (size_t i = 0; i < kSkinButtonIds.size(); ++i) {
        const int id = kSkinButtonIds[i];
        skinButtons[i].Create(
            this, id, CaptionOf(id), none,
            StartsHidden(id) ? plat::kStyleChild : plat::kStyleChild | plat::kStyleVisible);
    }
    qnaButton.Create(this, kIdcQnaBoard, "Q&A", none);
    searchEdit.Create(this, kIdcSearchEdit, none);
    BindSearch();
}

plat::Rect CTunovaDlg::NormalLayoutRect(int id) const {
    const plat::Rect client = ClientRect();
    const int w = client.Width() > 0 ? client.Width() : kNormalWidth;
    const int h = client.Height() > 0 ? client.Height() : kNormalHeight;
    return NormalRect(id, w, h);
}

void CTunovaDlg::PlaceControls() {
    for (plat::Window* child : Children()) {
        const Rect r = NormalLayoutRect(child->ControlId());
        if (!r.IsEmpty()) {
            child->Move(r);
        }
    }
}

}  // namespace tunova
