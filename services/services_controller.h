// ServicesController: what the main window's start-up, the updater's wait timer and link
// commands ask of the services (settings, update check, updater, usage count, web links).
//
// How the main window uses it: it owns one, built with the window itself and the hosts in force
// (services/host_config.h), and calls, in start-up order, ReadPartnerId(), ReadAdapterAddress(),
// ProbeUpdateServer() (false: ShowNoConnectionNotice(), then the window closes),
// ReadDoubleClickAdds() into the state the search controller consults, StartUpdater() before
// starting kTimerUpdaterWait, and SendUsageCount() last unless started by autostart.
// kTimerUpdaterWait asks IsUpdaterRunning() and, once it is false, CheckVersion(), which on an
// outdated version stops kTimerUpdaterWait, shows the notice and closes the window. Once the window
// shows, EndStartup(). The home-page, question-board and settings commands (buttons and menu items)
// route to OpenHomePage(), OpenQnaBoard() and OpenSettings(). Everything runs on the user-interface
// thread and blocks it while a request waits (see services/update_check.h for the time limits). The
// probe, the count and the version check share one start-up budget of network time
// (NetworkTimings::startupBudgetMs) with the day's chart download, which the window limits to
// StartupBudgetLeftMs() and charges with ChargeStartupNetwork(): each gets at most what the earlier
// ones left, so slow or silent servers delay the window by about 15 s in all, not 15 s each. The
// time the updater runs is not network time and does not count. A version check the budget cut
// short without an answer runs again, with its own time limits, when EndStartup() is called.
//
// The clock that times the requests and the budget, the settings store and HTTP are those of the
// machine services it is built with (platform/desktop/machine_services.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop/machine_services.h"
#include "services/host_config.h"
#include "services/update_check.h"

namespace plat {
class Window;
}

namespace tunova {

class ServicesController {
  public:
    // `owner` is the main window: the version notice is its child and it is closed after it.
    ServicesController(plat::Window& owner, const plat::MachineServices& machine, HostConfig hosts,
                       NetworkTimings timings = {});

    // Start-up, in order.
    void ReadPartnerId();
    void ReadAdapterAddress();
    // False when the update server cannot be reached; the program then ends.
    bool ProbeUpdateServer(bool startedByAutostart);
    // Tells the user that there is no connection: the notice (CConnectNo) runs modally, and its
    // button closes the main window too. The reason goes to the log.
    void ShowNoConnectionNotice();
    // The double-click action flag of the settings store (true: a double-click adds).
    bool ReadDoubleClickAdds();
    void StartUpdater();
    // Sends today's usage count unless it was sent already; `argument` ("counter") changes
    // nothing.
    void SendUsageCount(const std::string& argument);

    // kTimerUpdaterWait.
    bool IsUpdaterRunning();
    // An outdated or missing installed version: stops kTimerUpdaterWait, shows the notice owned
    // by the main window and closes it. Otherwise nothing. When the start-up budget left it too
    // little time to get an answer, the check waits for EndStartup().
    void CheckVersion();
    // The window shows: the start-up budget no longer applies, and a version check it cut short
    // runs now.
    void EndStartup();

    // Network time left to start-up requests, and charging one that started at `startTick`.
    std::uint32_t StartupBudgetLeftMs() const;
    void ChargeStartupNetwork(std::uint32_t startTick);

    // Commands.
    void OpenHomePage();
    void OpenQnaBoard();
    // Runs the settings dialog (CMenuDlg) modally over the main window; a save there sets
    // `doubleClickAdds`, the main window's double-click action flag.
    void OpenSettings(bool& doubleClickAdds);

    const std::string& PartnerId() const { return partnerId_; }
    const std::string& MacAddress() const { return macAddress_; }
    const HostConfig& Hosts() const { return hosts_; }

  private:
    // The timings for the next start-up request: its loop deadline cut to the budget left.
    NetworkTimings BudgetedTimings() const;
    // Charges the machine clock's time since `startTick` to the start-up budget.
    void Charge(std::uint32_t startTick);

    plat::Window& owner_;
    plat::MachineServices machine_;
    HostConfig hosts_;
    NetworkTimings timings_;
    std::string partnerId_;             // at most 259 bytes
    std::string macAddress_;            // "XX-XX-XX-XX-XX-XX" or empty
    std::uint32_t networkSpentMs_ = 0;  // of the start-up budget
    bool inStartup_ = true;
    bool versionCheckPending_ = false;
};

}  // namespace tunova
