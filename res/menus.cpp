#include "res/menus.h"

#include "res/resource_ids.h"

namespace tunova::res {

namespace {

// The items the right-click menu always has.
void AppendMouseItems(plat::PopupMenu& menu) {
    menu.AppendItem(kCmdSettings, "환경 설정");
    menu.AppendSeparator();
    menu.AppendItem(kCmdHomePage2, "홈페이지 바로가기");
    menu.AppendItem(kCmdQnaBoard2, "질문답변 바로가기");
    menu.AppendSeparator();
    menu.AppendItem(kCmdExit2, "프로그램 종료");
}

// "마우스메뉴": the right-click menu of the main window; while a video plays, copying what plays
// comes first.
plat::PopupMenu MouseMenu(bool playing) {
    plat::PopupMenu menu;
    if (playing) {
        menu.AppendItem(kCmdCopyNowPlaying, "재생 중인 동영상 제목과 주소 복사");
        menu.AppendSeparator();
    }
    AppendMouseItems(menu);
    return menu;
}

// "국가선택": the country filter menu.
plat::PopupMenu CountryMenu() {
    plat::PopupMenu menu;
    menu.AppendItem(kCmdCountryAll, "통  합 (전 체) ");
    menu.AppendItem(kCmdCountryKorea, "한국검색");
    menu.AppendItem(kCmdCountryUsa, "미국검색");
    menu.AppendItem(kCmdCountryJapan, "일본검색");
    menu.AppendItem(kCmdCountryChina, "중국검색");
    return menu;
}

// "메뉴": the tray icon's menu.
plat::PopupMenu TrayMenu() {
    plat::PopupMenu menu;
    menu.AppendItem(kCmdOpenPlayer, "투노바 플레이어 열기");
    menu.AppendSeparator();
    menu.AppendItem(kCmdHomePage, "홈페이지 바로가기");
    menu.AppendItem(kCmdQnaBoard, "질문답변 바로가기");
    menu.AppendSeparator();
    menu.AppendItem(kCmdExit, "프로그램 종료");
    return menu;
}

// "메뉴": the tray icon's double-click menu, whose first item a double-click runs.
plat::PopupMenu TrayOpenMenu() {
    plat::PopupMenu menu;
    menu.AppendItem(kCmdOpenPlayer2, "투노바 플레이어 열기");
    return menu;
}

}  // namespace

plat::PopupMenu LoadMenuPopup(int id) {
    switch (id) {
        case kMenuMouse:
            return MouseMenu(false);
        case kMenuMousePlaying:
            return MouseMenu(true);
        case kMenuCountry:
            return CountryMenu();
        case kMenuTray:
            return TrayMenu();
        case kMenuTrayOpen:
            return TrayOpenMenu();
        default:
            return {};
    }
}

std::string LoadString(int id) {
    if (id == kStrAboutBox) {
        return "Tunova 정보(&A)...";
    }
    return {};
}

}  // namespace tunova::res
