// Stand-in for the services (services/: settings store and dialog, update check and web links,
// usage counter) until they are built: the update server counts as reachable, no updater runs,
// the version passes, the double-click plays, and no count is sent; links and the settings
// dialog do nothing yet.
//
// To replace it: put the services' objects in CTunovaDlg in place of `services_`
// (app/tunova_dlg.h); the start-up steps, table rows and timer 50 that call `services_` then
// call them. Delete this file.
#pragma once

#include <string>

namespace tunova {

class ServicesStandIn {
  public:
    // Start-up, in order.
    void ReadPartnerId() {}
    void ReadAdapterAddress() {}
    // False ends the program after the no-connection notice.
    bool ProbeUpdateServer(const std::string& /*commandLine*/) { return true; }
    void ShowNoConnectionNotice() {}
    // The double-click action flag of the settings store (false: a double-click plays).
    bool ReadDoubleClickAdds() { return false; }
    void StartUpdater() {}
    void SendUsageCount(const std::string& /*argument*/) {}
    // Timer 50.
    bool IsUpdaterRunning() { return false; }
    void CheckVersion() {}
    // Commands 1133/32790/32800, 1138/32794/32801 and 1134/32799.
    void OpenHomePage() {}
    void OpenQnaBoard() {}
    void OpenSettings() {}
};

}  // namespace tunova
