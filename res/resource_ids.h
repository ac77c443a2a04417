// The one table of the program's numbers: dialogs, icons, bitmaps, strings, menus, controls,
// commands, window messages, and the main window's timers with their periods. Every subsystem
// names these; none repeats a number.
#pragma once

#include <cstdint>

#include "platform/core/messages.h"

namespace tunova::res {

// Dialog templates.
inline constexpr int kIddAbout = 100;
inline constexpr int kIddMain = 102;
inline constexpr int kIddConnectNo = 272;
inline constexpr int kIddSettings = 281;

// Icons and strings.
inline constexpr int kIconMain = 128;
inline constexpr int kStrAboutBox = 101;

// Bitmaps (their sizes and roles: res/skin_bitmaps.cpp). A skinned button's four pictures: its
// face, its pressed look, its look under the pointer (0: none) and the mask that gives it its
// shape (0: none).
struct ButtonBitmaps {
    int normal = 0;
    int down = 0;
    int over = 0;
    int mask = 0;
};
inline constexpr ButtonBitmaps kBmpsModeOne{143, 145, 0, 142};
inline constexpr ButtonBitmaps kBmpsModeAll{147, 149, 0, 146};
inline constexpr ButtonBitmaps kBmpsModeRandom{186, 188, 0, 185};
inline constexpr ButtonBitmaps kBmpsNext{151, 152, 153, 150};
inline constexpr ButtonBitmaps kBmpsPlay{155, 156, 157, 154};
inline constexpr ButtonBitmaps kBmpsPrevious{171, 172, 173, 170};
inline constexpr ButtonBitmaps kBmpsPause{190, 191, 192, 189};
inline constexpr ButtonBitmaps kBmpsMoveDown{159, 160, 161, 158};
inline constexpr ButtonBitmaps kBmpsDelete{163, 164, 165, 162};
inline constexpr ButtonBitmaps kBmpsMoveUp{167, 168, 169, 166};
inline constexpr ButtonBitmaps kBmpsSearch{174, 175, 176, 0};
inline constexpr ButtonBitmaps kBmpsMute{178, 179, 180, 177};
inline constexpr ButtonBitmaps kBmpsUnmute{182, 183, 184, 181};
inline constexpr ButtonBitmaps kBmpsMaximise{194, 195, 196, 193};
inline constexpr ButtonBitmaps kBmpsRestore{198, 199, 200, 197};
inline constexpr ButtonBitmaps kBmpsClose{202, 203, 204, 201};
inline constexpr ButtonBitmaps kBmpsMini{206, 207, 208, 205};
inline constexpr ButtonBitmaps kBmpsMinimise{210, 211, 212, 209};
inline constexpr ButtonBitmaps kBmpsBigVideo{214, 215, 216, 213};     // on the player panel
inline constexpr ButtonBitmaps kBmpsBigVideoTop{244, 245, 242, 243};  // on the top bar
inline constexpr ButtonBitmaps kBmpsHome{252, 253, 246, 247};
inline constexpr ButtonBitmaps kBmpsMore{248, 249, 250, 251};
inline constexpr ButtonBitmaps kBmpsQna{270, 271, 268, 269};
inline constexpr ButtonBitmaps kBmpsMenu{279, 280, 277, 278};
// The country indicator: one shared mask; each country but "all" shows one picture for both its
// normal and its pressed look.
inline constexpr ButtonBitmaps kBmpsCountryAll{255, 256, 257, 254};
inline constexpr ButtonBitmaps kBmpsCountryKorea{261, 261, 262, 254};
inline constexpr ButtonBitmaps kBmpsCountryUsa{263, 263, 264, 254};
inline constexpr ButtonBitmaps kBmpsCountryJapan{265, 265, 266, 254};
inline constexpr ButtonBitmaps kBmpsCountryChina{267, 267, 260, 254};
inline constexpr ButtonBitmaps kBmpsNoticeOk{275, 276, 273, 274};
inline constexpr ButtonBitmaps kBmpsSettingsSave{286, 287, 282, 0};
inline constexpr ButtonBitmaps kBmpsSettingsCancel{283, 284, 285, 0};
inline constexpr ButtonBitmaps kBmpsSettingsClose{291, 292, 290, 0};
// List headers and scroll bars.
inline constexpr int kBmpHeaderTile = 129;
inline constexpr int kBmpHeaderLeft = 130;
inline constexpr int kBmpHeaderRight = 131;
inline constexpr int kBmpScrollUp = 136;
inline constexpr int kBmpScrollTrack = 137;
inline constexpr int kBmpScrollThumb = 138;
inline constexpr int kBmpScrollDown = 139;
inline constexpr int kBmpSortAscending = 232;
inline constexpr int kBmpSortDescending = 233;
// The result list's "add to playlist" picture, and its looks under the pointer and selected.
inline constexpr int kBmpAddPicture = 231;
inline constexpr int kBmpAddHover = 296;
inline constexpr int kBmpAddSelected = 297;
// Sliders: the playing position and the volume.
inline constexpr int kBmpPositionChannel = 240;
inline constexpr int kBmpPositionActive = 235;
inline constexpr int kBmpPositionThumb = 236;
inline constexpr int kBmpVolumeChannel = 237;
inline constexpr int kBmpVolumeActive = 238;
inline constexpr int kBmpVolumeThumb = 239;

// Menus.
inline constexpr int kMenuCountry = 258;
inline constexpr int kMenuTray = 288;      // the tray icon's menu; its number is the icon's id
inline constexpr int kMenuTrayOpen = 289;  // the tray icon's double-click menu
inline constexpr int kMenuMouse = 293;
inline constexpr int kMenuMousePlaying = 294;  // the right-click menu while a video plays

// System-menu command of the about box.
inline constexpr int kSysCmdAbout = 16;

// Controls of the main window.
inline constexpr int kIdcResultList = 1000;
inline constexpr int kIdcPlaylist = 1001;
inline constexpr int kIdcModeAll = 1005;
inline constexpr int kIdcModeOne = 1006;
inline constexpr int kIdcModeRandom = 1007;
inline constexpr int kIdcVolumeSlider = 1008;
inline constexpr int kIdcPositionSlider = 1009;
inline constexpr int kIdcCountryCombo = 1011;
inline constexpr int kIdcStop = 1101;
inline constexpr int kIdcPause = 1104;
inline constexpr int kIdcVolumeUp = 1105;
inline constexpr int kIdcVolumeDown = 1106;
inline constexpr int kIdcMute = 1107;
inline constexpr int kIdcUnmute = 1108;
inline constexpr int kIdcCountryAll = 1109;
inline constexpr int kIdcCountryKorea = 1110;
inline constexpr int kIdcCountryUsa = 1111;
inline constexpr int kIdcCountryJapan = 1112;
inline constexpr int kIdcCountryChina = 1113;
inline constexpr int kIdcSeekStart = 1116;  // command only; no control carries it
inline constexpr int kIdcHideToTray = 1119;
inline constexpr int kIdcMinimize = 1120;
inline constexpr int kIdcPrevious = 1122;
inline constexpr int kIdcNext = 1123;
inline constexpr int kIdcSearch = 1124;
inline constexpr int kIdcSearchEdit = 1125;
inline constexpr int kIdcPlay = 1126;
inline constexpr int kIdcMaximize = 1127;
inline constexpr int kIdcMiniSize = 1128;
inline constexpr int kIdcMoveUp = 1129;
inline constexpr int kIdcMoveDown = 1130;
inline constexpr int kIdcNormalSize = 1131;
inline constexpr int kIdcBigVideo = 1132;
inline constexpr int kIdcHomePage = 1133;
inline constexpr int kIdcSettings = 1134;
inline constexpr int kIdcBigVideo2 = 1135;
inline constexpr int kIdcDeleteEntries = 1136;
inline constexpr int kIdcSearchMore = 1137;
inline constexpr int kIdcQnaBoard = 1138;
inline constexpr int kIdcBrowser = 333;

// Controls of the no-connection notice (template 272) and the settings dialog (template 281).
inline constexpr int kIdcNoticeConfirm = 1006;
inline constexpr int kIdcSettingsSave = 1006;
inline constexpr int kIdcSettingsCancel = 1007;
inline constexpr int kIdcAutostartCheck = 1012;
inline constexpr int kIdcClickCombo = 1013;
inline constexpr int kIdcSettingsClose = 1119;

// Menu commands.
inline constexpr int kCmdCountryKorea = 32776;
inline constexpr int kCmdCountryAll = 32777;
inline constexpr int kCmdCountryUsa = 32778;
inline constexpr int kCmdCountryJapan = 32779;
inline constexpr int kCmdCountryChina = 32781;
inline constexpr int kCmdOpenPlayer = 32789;
inline constexpr int kCmdHomePage = 32790;
inline constexpr int kCmdExit = 32791;
inline constexpr int kCmdOpenPlayer2 = 32792;
inline constexpr int kCmdQnaBoard = 32794;
inline constexpr int kCmdSettings = 32799;
inline constexpr int kCmdHomePage2 = 32800;
inline constexpr int kCmdQnaBoard2 = 32801;
inline constexpr int kCmdExit2 = 32802;
inline constexpr int kCmdCopyNowPlaying = 32803;

// Window messages of the program, besides the platform's standard ones.
inline constexpr std::uint32_t kWmRadioGroup = 0x500;       // between skin radio buttons of a group
inline constexpr std::uint32_t kWmTrayNotify = 0x1105;      // the tray icon's callback
inline constexpr std::uint32_t kWmSliderMoving = 0x28D1;    // wParam slider id, lParam position
inline constexpr std::uint32_t kWmSliderReleased = 0x28D2;  // wParam slider id, lParam position
// Posted by a search worker to the main window when its page is ready.
inline constexpr std::uint32_t kWmSearchResults = plat::kWmUser + 0x130;

// Timers of the main window: id and (first) period.
struct TimerSpec {
    int id;
    std::uint32_t periodMs;
};
inline constexpr TimerSpec kTimerPoll{1, 500};               // poll the player, advance at the end
inline constexpr TimerSpec kTimerPaging{3, 300};             // page the result list at its end
inline constexpr TimerSpec kTimerTitleScroll{6, 3000};       // scroll the now-playing title
inline constexpr std::uint32_t kTitleScrollStepMs = 200;     // timer 6 after its first tick
inline constexpr TimerSpec kTimerTitlePause{7, 2000};        // end of a title scroll pause
inline constexpr std::uint32_t kTitlePauseShortMs = 500;     // timer 7's shorter pause
inline constexpr TimerSpec kTimerVolumeRestore{10, 4500};    // apply the stored volume
inline constexpr std::uint32_t kVolumeRestoreRetryMs = 300;  // timer 10 after its first tick
inline constexpr TimerSpec kTimerPosition{21, 1000};         // move the position slider
inline constexpr TimerSpec kTimerShowWindow{33, 200};        // show the window, once
inline constexpr TimerSpec kTimerPageProbe{34, 200};         // probe the page until it answers
inline constexpr TimerSpec kTimerPageReady{35, 2800};        // set the page-ready flag, once
inline constexpr TimerSpec kTimerHoldRelease{42, 4000};      // clear the auto-advance hold, once
inline constexpr TimerSpec kTimerUpdaterWait{50, 300};       // wait for the updater to end

}  // namespace tunova::res
