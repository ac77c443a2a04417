// Message numbers, notification codes and key codes of this platform's windows, which the
// program's message tables are written against. The program numbers its own messages from
// kWmUser up (res/resource_ids.h).
#pragma once

#include <cstdint>

namespace plat {

// Window messages.
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmSize = 0x0005;
inline constexpr std::uint32_t kWmSetFocus = 0x0007;
inline constexpr std::uint32_t kWmKillFocus = 0x0008;
inline constexpr std::uint32_t kWmPaint = 0x000F;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmEraseBkgnd = 0x0014;
inline constexpr std::uint32_t kWmGetMinMaxInfo = 0x0024;
inline constexpr std::uint32_t kWmQueryDragIcon = 0x0037;
inline constexpr std::uint32_t kWmWindowPosChanging = 0x0046;
inline constexpr std::uint32_t kWmNotify = 0x004E;
inline constexpr std::uint32_t kWmNcLButtonDown = 0x00A1;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kWmChar = 0x0102;
inline constexpr std::uint32_t kWmInitDialog = 0x0110;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmTimer = 0x0113;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;
inline constexpr std::uint32_t kWmRButtonDblClk = 0x0206;
inline constexpr std::uint32_t kWmMButtonDown = 0x0207;
inline constexpr std::uint32_t kWmMButtonUp = 0x0208;
inline constexpr std::uint32_t kWmMButtonDblClk = 0x0209;
inline constexpr std::uint32_t kWmMouseWheel = 0x020A;
inline constexpr std::uint32_t kWmMouseLeave = 0x02A3;
inline constexpr std::uint32_t kWmVScroll = 0x0115;
// Files dropped onto a list view that accepts them (ListView::AcceptFileDrops), sent to the
// list's parent: wParam is the list's control id, lParam a `const DroppedFiles*` valid during
// the call.
inline constexpr std::uint32_t kWmDropFiles = 0x0233;
inline constexpr std::uint32_t kWmUser = 0x0400;
// A control's notification about itself, offered to its own table before its parent's.
inline constexpr std::uint32_t kWmReflectNotify = 0x204E;

// Button messages, states and styles.
inline constexpr std::uint32_t kBmGetCheck = 0x00F0;
inline constexpr std::uint32_t kBmSetCheck = 0x00F1;
inline constexpr std::uint32_t kBmGetState = 0x00F2;
inline constexpr std::uint32_t kBmSetState = 0x00F3;
inline constexpr std::uint32_t kBstPushed = 0x0004;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x0003;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x0009;
inline constexpr std::uint32_t kBsOwnerDraw = 0x000B;
inline constexpr std::uint32_t kBsTypeMask = 0x000F;

// Owner-draw item states.
inline constexpr unsigned kOdsSelected = 0x0001;
inline constexpr unsigned kOdsDisabled = 0x0004;
inline constexpr unsigned kOdsFocus = 0x0010;

// Scroll requests (low word of a kWmVScroll wParam).
inline constexpr int kSbLineUp = 0;
inline constexpr int kSbLineDown = 1;
inline constexpr int kSbPageUp = 2;
inline constexpr int kSbPageDown = 3;
inline constexpr int kSbTop = 6;
inline constexpr int kSbBottom = 7;

// Size types (wParam of kWmSize).
inline constexpr int kSizeRestored = 0;
inline constexpr int kSizeMinimized = 1;
inline constexpr int kSizeMaximized = 2;

// Hit-test codes (wParam of kWmNcLButtonDown): kHtCaption starts moving the window with the
// pointer.
inline constexpr int kHtCaption = 2;

// Command ids every dialog understands.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// System commands (wParam of kWmSysCommand; the low four bits are the system's own).
inline constexpr int kScMinimize = 0xF020;
inline constexpr int kScMaximize = 0xF030;
inline constexpr int kScClose = 0xF060;
inline constexpr int kScRestore = 0xF120;

// Notification codes carried in the high word of a kWmCommand wParam.
inline constexpr int kBnClicked = 0;
inline constexpr int kCbnSelChange = 1;
inline constexpr int kEnSetFocus = 0x0100;
inline constexpr int kEnKillFocus = 0x0200;
inline constexpr int kEnChange = 0x0300;

// Notification codes carried by kWmNotify.
inline constexpr int kNmClick = -2;
inline constexpr int kNmDblClk = -3;
inline constexpr int kNmRClick = -5;
inline constexpr int kNmCustomDraw = -12;
inline constexpr int kLvnItemChanged = -101;
inline constexpr int kLvnColumnClick = -108;
inline constexpr int kLvnBeginDrag = -109;
inline constexpr int kLvnItemActivate = -114;

// Virtual key codes (wParam of key messages).
inline constexpr int kVkBack = 0x08;
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkPrior = 0x21;  // Page Up
inline constexpr int kVkNext = 0x22;   // Page Down
inline constexpr int kVkEnd = 0x23;
inline constexpr int kVkHome = 0x24;
inline constexpr int kVkLeft = 0x25;
inline constexpr int kVkUp = 0x26;
inline constexpr int kVkRight = 0x27;
inline constexpr int kVkDown = 0x28;
inline constexpr int kVkDelete = 0x2E;

// Mouse key state flags (wParam of mouse messages).
inline constexpr int kMkLButton = 0x0001;
inline constexpr int kMkRButton = 0x0002;

}  // namespace plat
