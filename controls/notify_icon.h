// CNotifyIcon: the program's icon in the desktop's tray, with the tooltip "투노바". A right click
// opens the tray menu (kMenuTray) at the pointer with its first item in bold; a double-click sends
// the owner the first command of kMenuTrayOpen (open the player). Trays that never report a
// double-click (StatusNotifierItem hosts) get the same from a single left click, so the player
// opens from the tray there too. The owner forwards its callback message (res::kWmTrayNotify) to
// HandleIconMessage.
#pragma once

#include "platform/core/types.h"
#include "platform/desktop/tray_icon.h"

namespace plat {
class Window;
}

namespace tunova {

inline constexpr char kTrayTip[] = "투노바";

class CNotifyIcon {
  public:
    CNotifyIcon();
    // Takes the icon out of the tray if it is there.
    virtual ~CNotifyIcon();
    CNotifyIcon(const CNotifyIcon&) = delete;
    CNotifyIcon& operator=(const CNotifyIcon&) = delete;

    // Puts the icon (id kMenuTray, no image yet) into the tray for `owner`; false when the desktop
    // has no tray or `owner` has no window.
    bool Create(plat::Window* owner);
    // The double-click record: only its id (kMenuTrayOpen, the double-click menu) and its owner are
    // used. Always succeeds.
    bool PrepareSecondRecord(plat::Window* owner);
    // Shows icon resource `iconResourceId` on the icon; false when the icon is not in the tray
    // or the resource is unknown.
    bool SetIcon(int iconResourceId);
    bool IsShown() const { return shown_; }
    // Takes the icon out of the tray.
    void Remove();

    // The tray's callback with its wParam (the icon's id) and lParam (the mouse message):
    // 0 when the id is not this icon's, else 1 (handled, whatever the mouse message).
    virtual plat::LResult HandleIconMessage(plat::WParam id, plat::LParam mouseMessage);

  private:
    void ShowTrayMenu();
    void OpenPlayer();

    plat::TrayIcon icon_;
    plat::Window* owner_ = nullptr;
    plat::Window* secondOwner_ = nullptr;
    int secondId_ = 0;
    bool shown_ = false;
};

}  // namespace tunova
