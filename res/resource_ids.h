// The one table of the program's numbers: dialogs, icons, bitmaps, strings, menus, controls,
// commands, window messages, and the main window's timers with their periods. Every subsystem
// names these; none repeats a number.
#pragma once

#include <cstdint>

#include "platform/messages.h"

namespace tunova::res {

// Dialog templates.
inline constexpr int kIddAbout = 100;
inline constexpr int kIddMain = 102;
inline constexpr int kIddConnectNo = 272;
inline constexpr int kIddSettings = 281;

// Icons, bitmaps and strings.
inline constexpr int kIconMain = 128;
inline constexpr int kBmpAddPicture = 231;  // the result list's "add to playlist" picture
inline constexpr int kStrAboutBox = 101;

// Menus.
inline constexpr int kMenuCountry = 258;
inline constexpr int kMenuTray = 288;      // the tray icon's menu; its number is the icon's id
inline constexpr int kMenuTrayOpen = 289;  // the tray icon's double-click menu
inline constexpr int kMenuMouse = 293;

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
