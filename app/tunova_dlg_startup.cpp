// Start-up of the main window, the timers that bring it on screen, and the shutdown order.
#include <algorithm>
#include <string>

#include "app/about_dlg.h"
#include "app/single_instance.h"
#include "app/tunova_dlg.h"
#include "lists/daily_chart.h"
#include "platform/core/clock.h"
#include "platform/core/data_dir.h"
#include "platform/core/log.h"
#include "platform/window/application.h"
#include "res/menus.h"
#include "res/skin_bitmaps.h"
#include "services/host_config.h"
#include "services/update_check.h"

namespace tunova {

bool CTunovaDlg::OnInitDialog() {
    // The program's bitmaps and icon, compiled into it, are there from the start.
    res::RegisterSkinResources();
    CreateControls();
    AddAboutItemToSystemMenu();
    // The window icon (kIconMain) is set by the platform from the desktop entry.
    trayState_.created = CreateTrayIcon();
    if (AnotherTunovaRunning()) {
        RestoreWindowTitled(kMainWindowTitle);
        SendCommand(plat::kIdCancel);
        return true;
    }
    AddStyle(plat::kStyleMinimizeBox | plat::kStyleSysMenu);
    SetText(kMainWindowTitle);
    CenterOnScreen();
    services_.ReadPartnerId();
    services_.ReadAdapterAddress();
    modes_.ComputeLayout();
    skin_.Load();
    if (auto* app = plat::Application::Instance()) {
        startup_.startedByAutostart = StartedByAutostart(app->Arguments());
    }
    if (!services_.ProbeUpdateServer(startup_.startedByAutostart)) {
        services_.ShowNoConnectionNotice();
        SendCommand(plat::kIdCancel);
        return true;
    }
    search_.SetDoubleClickAdds(services_.ReadDoubleClickAdds());
    CreateBrowserAndNavigate();
    search_.SetupResultList();
    playlist_.Bind(playlistView_);
    playlist_.SetupView();
    Move(0, 0, kNormalWidth, kNormalHeight);
    modes_.ComputeLayout();
    skin_.DrawStrips();
    SetUpSliders();
    PlaceControls();
    skin_.AttachListScrollBars();
    playlist_.Load(plat::DataFile(kPlaylistFileName));
    startup_.playlistLoaded = true;
    // Invisible until kTimerShowWindow shows it.
    Move(0, 0, 0, 0);
    search_.ShowPlaceholder();
    FillCountryCombo();
    services_.StartUpdater();
    SetTimer(res::kTimerUpdaterWait.id, res::kTimerUpdaterWait.periodMs);
    ShowDailyChart();
    if (!startup_.startedByAutostart) {
        services_.SendUsageCount("counter");
    }
    if (auto* app = plat::Application::Instance()) {
        app->SetPreDispatchHook(
            [this](const plat::Message& msg) { return PreTranslateMessage(msg); });
    }
    ServeRemoteCommands();
    ServePlaylistRequests();
    StartDesktopControls();
    return true;
}

bool CTunovaDlg::CreateTrayIcon() {
    const bool added = tray_.Create(this);
    if (!tray_.PrepareSecondRecord(this) || !added) {
        return false;
    }
    tray_.SetIcon(res::kIconMain);
    return true;
}

void CTunovaDlg::AddAboutItemToSystemMenu() {
    const std::string text = res::LoadString(res::kStrAboutBox);
    if (text.empty()) {
        return;
    }
    SystemMenu().AppendSeparator();
    SystemMenu().AppendItem(res::kSysCmdAbout, text);
}

void CTunovaDlg::ShowAboutBox() {
    CAboutDlg about;
    about.DoModal(this);
}

void CTunovaDlg::FillCountryCombo() {
    for (const char* name : {"통합", "한국", "미국", "일본", "중국"}) {
        const int index = countryCombo_.AddString(name);
        countryCombo_.SetItemHeight(index, 15);
    }
    countryCombo_.SetCurSel(0);
    countryCombo_.Move(10, 180, 120, 11);
}

void CTunovaDlg::OnUpdaterWaitTimer() {
    if (!services_.IsUpdaterRunning()) {
        services_.CheckVersion();
        if (HasEnded()) {
            KillTimer(res::kTimerUpdaterWait.id);
            return;
        }
        SetTimer(res::kTimerShowWindow.id, res::kTimerShowWindow.periodMs);
        KillTimer(res::kTimerUpdaterWait.id);
        return;
    }
    if (++startup_.updaterWaitTicks > kUpdaterWaitLimit) {
        SetTimer(res::kTimerShowWindow.id, res::kTimerShowWindow.periodMs);
        KillTimer(res::kTimerUpdaterWait.id);
    }
}

void CTunovaDlg::OnShowWindowTimer() {
    ShowWindowNow();
    KillTimer(res::kTimerShowWindow.id);
    services_.EndStartup();
    if (HasEnded()) {
        return;  // the postponed version check found this version outdated
    }
    SetTimer(res::kTimerPageProbe.id, res::kTimerPageProbe.periodMs);
    if (!startup_.searchAtStart.empty()) {
        SearchFor(startup_.searchAtStart);
        startup_.searchAtStart.clear();
    }
}

void CTunovaDlg::ShowWindowNow() {
    Show(false);
    Move(0, 0, kNormalWidth, kNormalHeight);
    CenterOnScreen();
    Show(true);
    Restore();
    BringToForeground();
    modes_.SaveNormalRect();
    plat::Trace(plat::kTraceWindowShown);
}

void CTunovaDlg::ShowDailyChart() {
    ChartSetup setup;
    setup.chartPath = plat::DataFile(kChartFileName);
    setup.feedHost = hosts_.feedHost;
    setup.today = machine_.clock.Now();
    // The download shares the start-up budget with the update server's requests.
    const long left = static_cast<long>(services_.StartupBudgetLeftMs());
    setup.fetch.connectTimeoutMs = std::min(setup.fetch.connectTimeoutMs, left);
    setup.fetch.totalTimeoutMs = std::min(setup.fetch.totalTimeoutMs, left);
    const std::uint32_t start = machine_.clock.TickCount();
    const ChartSource source =
        tunova::ShowDailyChart(machine_, setup, search_.MutableResults(), resultList_);
    services_.ChargeStartupNetwork(start);
    view_.statusHint = source == ChartSource::kEmpty ? kEmptyChartHint : "";
    Apply(search_.RefreshResultCount());
}

void CTunovaDlg::OnDestroy() {
    StopServingRemoteCommands();
    StopServingPlaylistRequests();
    if (auto* app = plat::Application::Instance()) {
        app->SetPreDispatchHook({});
    }
    if (trayState_.created && tray_.IsShown()) {
        tray_.Remove();
    }
    KillTimer(res::kTimerPoll.id);
    if (startup_.playlistLoaded) {
        const Playlist::SaveResult saved = playlist_.Save(plat::DataFile(kPlaylistFileName));
        if (!saved) {
            plat::LogError("playlist", saved.error);
        }
    }
    skin_.Release();
}

}  // namespace tunova
