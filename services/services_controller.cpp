// The services' side of the main window's start-up, timer 50 and link commands.
#include "services/services_controller.h"

#include <algorithm>

#include "controls/connect_no.h"
#include "platform/clock.h"
#include "platform/data_dir.h"
#include "platform/dialog.h"
#include "platform/log.h"
#include "platform/process.h"
#include "platform/window.h"
#include "res/resource_ids.h"
#include "services/menu_dlg.h"
#include "services/settings.h"
#include "services/usage_counter.h"

namespace tunova {

ServicesController::ServicesController(plat::Window& owner, HostConfig hosts,
                                       NetworkTimings timings)
    : owner_(owner), hosts_(std::move(hosts)), timings_(timings) {}

NetworkTimings ServicesController::BudgetedTimings() const {
    NetworkTimings budgeted = timings_;
    const std::uint32_t left =
        timings_.startupBudgetMs > networkSpentMs_ ? timings_.startupBudgetMs - networkSpentMs_ : 0;
    budgeted.deadlineMs = std::min(timings_.deadlineMs, left);
    return budgeted;
}

void ServicesController::Charge(std::uint32_t startTick) {
    networkSpentMs_ += plat::CurrentClock().TickCount() - startTick;
}

void ServicesController::ReadPartnerId() {
    partnerId_ = tunova::ReadPartnerId();
}

void ServicesController::ReadAdapterAddress() {
    macAddress_ = ReadMacAddress();
}

bool ServicesController::ProbeUpdateServer(const std::string& commandLine) {
    const std::uint32_t start = plat::CurrentClock().TickCount();
    const bool reachable = CheckServerReachable(commandLine, hosts_.updateHost, BudgetedTimings());
    Charge(start);
    return reachable;
}

void ServicesController::ShowNoConnectionNotice() {
    plat::LogError("update", "no connection to the update server " + hosts_.updateHost);
    CConnectNo notice(&owner_);
    notice.DoModal();
}

bool ServicesController::ReadDoubleClickAdds() {
    return LoadClickSetting() == 1;
}

void ServicesController::StartUpdater() {
    LaunchUpdater(plat::DataDir());
}

void ServicesController::SendUsageCount(const std::string& /*argument*/) {
    const std::uint32_t start = plat::CurrentClock().TickCount();
    tunova::SendUsageCount(partnerId_, macAddress_, hosts_.webHost, BudgetedTimings());
    Charge(start);
}

bool ServicesController::IsUpdaterRunning() {
    return tunova::IsUpdaterRunning();
}

void ServicesController::CheckVersion() {
    const std::uint32_t start = plat::CurrentClock().TickCount();
    const int serverVersion = FetchServerVersion(hosts_.updateHost, BudgetedTimings());
    Charge(start);
    if (IsInstalledVersionCurrent(serverVersion)) {
        return;
    }
    // The notice runs its own loop: timer 50 must not check again underneath it.
    owner_.KillTimer(res::kTimerUpdaterWait.id);
    plat::ShowMessageBox(&owner_, VersionNoticeText(hosts_.webHost), kVersionNoticeCaption,
                         plat::kMbOk | plat::kMbIconExclamation | plat::kMbTopmost);
    owner_.SendCommand(plat::kIdCancel);
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
    CMenuDlg settings(doubleClickAdds, plat::ExecutablePath());
    settings.DoModal(&owner_);
}

}  // namespace tunova
