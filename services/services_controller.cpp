// The services' side of the main window's start-up, the updater's wait timer and link
// commands.
#include "services/services_controller.h"

#include <algorithm>

#include "controls/connect_no.h"
#include "platform/core/data_dir.h"
#include "platform/core/log.h"
#include "platform/core/process.h"
#include "platform/window/dialog.h"
#include "platform/window/window.h"
#include "res/resource_ids.h"
#include "services/menu_dlg.h"
#include "services/settings.h"
#include "services/usage_counter.h"

namespace tunova {

ServicesController::ServicesController(plat::Window& owner, const plat::MachineServices& machine,
                                       HostConfig hosts, NetworkTimings timings)
    : owner_(owner), machine_(machine), hosts_(std::move(hosts)), timings_(timings) {}

std::uint32_t ServicesController::StartupBudgetLeftMs() const {
    return timings_.startupBudgetMs > networkSpentMs_ ? timings_.startupBudgetMs - networkSpentMs_
                                                      : 0;
}

NetworkTimings ServicesController::BudgetedTimings() const {
    NetworkTimings budgeted = timings_;
    if (inStartup_) {
        budgeted.deadlineMs = std::min(timings_.deadlineMs, StartupBudgetLeftMs());
    }
    return budgeted;
}

void ServicesController::Charge(std::uint32_t startTick) {
    if (inStartup_) {
        networkSpentMs_ += machine_.clock.TickCount() - startTick;
    }
}

void ServicesController::ChargeStartupNetwork(std::uint32_t startTick) {
    Charge(startTick);
}

void ServicesController::ReadPartnerId() {
    partnerId_ = tunova::ReadPartnerId(machine_.settings);
}

void ServicesController::ReadAdapterAddress() {
    macAddress_ = ReadMacAddress();
}

bool ServicesController::ProbeUpdateServer(bool startedByAutostart) {
    const std::uint32_t start = machine_.clock.TickCount();
    const bool reachable =
        CheckServerReachable(machine_, startedByAutostart, hosts_.updateHost, BudgetedTimings());
    Charge(start);
    return reachable;
}

void ServicesController::ShowNoConnectionNotice() {
    plat::LogError("update", "no connection to the update server " + hosts_.updateHost);
    CConnectNo notice(&owner_);
    notice.DoModal();
}

bool ServicesController::ReadDoubleClickAdds() {
    return LoadClickSetting(machine_.settings) == 1;
}

void ServicesController::StartUpdater() {
    LaunchUpdater(plat::DataDir());
}

void ServicesController::SendUsageCount(const std::string& /*argument*/) {
    const std::uint32_t start = machine_.clock.TickCount();
    tunova::SendUsageCount(machine_, partnerId_, macAddress_, hosts_.webHost, BudgetedTimings());
    Charge(start);
}

bool ServicesController::IsUpdaterRunning() {
    return tunova::IsUpdaterRunning();
}

void ServicesController::CheckVersion() {
    const NetworkTimings timings = BudgetedTimings();
    const std::uint32_t start = machine_.clock.TickCount();
    const int serverVersion = FetchServerVersion(machine_, hosts_.updateHost, timings);
    Charge(start);
    if (serverVersion < 0 && timings.deadlineMs < timings_.deadlineMs) {
        // No answer, and the budget gave the check less than its own time: not a check at all.
        plat::LogInfo("update", "version check postponed until the window shows");
        versionCheckPending_ = true;
        return;
    }
    if (IsInstalledVersionCurrent(machine_.settings, serverVersion)) {
        return;
    }
    // The notice runs its own loop: kTimerUpdaterWait must not check again underneath it.
    owner_.KillTimer(res::kTimerUpdaterWait.id);
    plat::ShowMessageBox(&owner_, VersionNoticeText(hosts_.webHost), kVersionNoticeCaption,
                         plat::kMbOk | plat::kMbIconExclamation | plat::kMbTopmost);
    owner_.SendCommand(plat::kIdCancel);
}

void ServicesController::EndStartup() {
    inStartup_ = false;
    if (versionCheckPending_) {
        versionCheckPending_ = false;
        CheckVersion();
    }
}

void ServicesController::OpenHomePage() {
    if (!tunova::OpenHomePage(hosts_.webHost)) {
        plat::LogError("update", "no browser took " + HomePageAddress(hosts_.webHost));
    }
}

void ServicesController::OpenQnaBoard() {
    if (!tunova::OpenQnaBoard(hosts_.webHost)) {
        plat::LogError("update", "no browser took " + QnaBoardAddress(hosts_.webHost));
    }
}

void ServicesController::OpenSettings(bool& doubleClickAdds) {
    CMenuDlg settings(doubleClickAdds, plat::ExecutablePath(), machine_.settings);
    settings.DoModal(&owner_);
}

}  // namespace tunova
