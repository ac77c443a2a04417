// Stand-in for the tray icon (CNotifyIcon) until it is built: no icon is created, so command
// 1119 minimises instead of hiding, and tray messages do nothing.
//
// To replace it: put the tray icon in CTunovaDlg in place of `tray_` (app/tunova_dlg.h); a
// test fakes only the tray itself (a desktop without one must still work).
// Delete this file.
#pragma once

#include "platform/types.h"

namespace tunova {

class TrayStandIn {
  public:
    // Start-up: false when no icon could be created (no tray on this desktop).
    bool Create() { return false; }
    // Whether the icon is in the notification area now.
    bool IsShown() const { return false; }
    // Shutdown: takes the icon out of the notification area.
    void Remove() {}
    // Message 0x1105.
    void OnNotify(plat::WParam, plat::LParam) {}
};

}  // namespace tunova
