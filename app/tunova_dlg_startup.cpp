// Start-up of the main window, the timers that bring it on screen, and the shutdown order.
#include <string>

#include "app/tunova_dlg.h"
#include "platform/application.h"
#include "platform/log.h"
#include "res/menus.h"
#include "res/resource_ids.h"

namespace tunova {

bool CTunovaDlg::OnInitDialog() {
    CreateControls();
    AddAboutItemToSystemMenu();
    // The window icon (icon 128) is set by the platform from the desktop entry.
    if (CreateTrayIcon()) {
        tray.created = true;
    }
    if (AnotherInstanceRunning()) {
        RestoreRunningInstance();
        SendCommand(plat::kIdCancel);
        return true;
    }
    AddStyle(plat::kStyleMinimizeBox | plat::kStyleSysMenu);
    DetectNewerWindows();
    InitialiseCom();
    SetText(kMainWindowTitle);
    CenterOnScreen();
    ReadPartnerId();
    ReadAdapterAddress();
    ComputeLayout();
    LoadSkin();
    startup.commandLine = ProcessCommandLine();
    if (!ProbeUpdateServer()) {
        ShowNoConnectionNotice();
        SendCommand(plat::kIdCancel);
        return true;
    }
    ReadDoubleClickSetting();
    PrepareEncodingTable();
    CreateBrowserAndNavigate();
    SetUpResultList();
    SetUpPlaylistView();
    Move(0, 0, kNormalWidth, kNormalHeight);
    ComputeLayout();
    DrawSkinStrips();
    SetUpSliders();
    PlaceControls();
    LoadPlaylist();
    startup.playlistLoaded = true;
    // Invisible until timer 33 shows it.
    Move(0, 0, 0, 0);
    search.searchText = kSearchPlaceholder;
    searchEdit.SetText(search.searchText);
    FillCountryCombo();
    StartUpdater();
    SetTimer(kTimerUpdaterWait.id, kTimerUpdaterWait.periodMs);
    if (IsChartCachedToday()) {
        LoadCachedChart();
    } else {
        DownloadChart();
    }
    if (startup.commandLine.find("run") == std::string::npos) {
        SendUsageCount("counter");
    }
    if (auto* app = plat::Application::Instance()) {
        app->SetPreDispatchHook(
            [this](const plat::Message& msg) { return PreTranslateMessage(msg); });
    }
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

std::string CTunovaDlg::ProcessCommandLine() {
    auto* app = plat::Application::Instance();
    return app != nullptr ? app->CommandLine() : std::string();
}

void CTunovaDlg::FillCountryCombo() {
    for (const char* name : {"통합", "한국", "미국", "일본", "중국"}) {
        const int index = countryCombo.AddString(name);
        countryCombo.SetItemHeight(index, 15);
    }
    countryCombo.SetCurSel(0);
    countryCombo.Move(10, 180, 120, 11);
}

void CTunovaDlg::OnUpdaterWaitTimer() {
    if (!IsUpdaterRunning()) {
        CheckVersion();
        if (HasEnded()) {
            KillTimer(kTimerUpdaterWait.id);
            return;
        }
        SetTimer(kTimerShowWindow.id, kTimerShowWindow.periodMs);
        KillTimer(kTimerUpdaterWait.id);
        return;
    }
    if (++startup.updaterWaitTicks > kUpdaterWaitLimit) {
        SetTimer(kTimerShowWindow.id, kTimerShowWindow.periodMs);
        KillTimer(kTimerUpdaterWait.id);
    }
}

void CTunovaDlg::OnShowWindowTimer() {
    ShowWindowNow();
    KillTimer(kTimerShowWindow.id);
    SetTimer(kTimerPageProbe.id, kTimerPageProbe.periodMs);
}

void CTunovaDlg::ShowWindowNow() {
    Show(false);
    Move(0, 0, kNormalWidth, kNormalHeight);
    CenterOnScreen();
    Show(true);
    Restore();
    BringToForeground();
    const plat::Rect client = ClientRect();
    const plat::Point topLeft = ClientToScreen({client.left, client.top});
    view.clientRectOnScreen =
        plat::Rect::FromXYWH(topLeft.x, topLeft.y, client.Width(), client.Height());
    plat::Trace(plat::kTraceWindowShown);
}

void CTunovaDlg::OnPageProbeTimer() {
    if (ProbePage() == 1) {
        KillTimer(kTimerPageProbe.id);
        SetTimer(kTimerPageReady.id, kTimerPageReady.periodMs);
    }
}

void CTunovaDlg::OnPageReadyTimer() {
    playback.pageReady = true;
    KillTimer(kTimerPageReady.id);
}

void CTunovaDlg::OnDestroy() {
    if (auto* app = plat::Application::Instance()) {
        app->SetPreDispatchHook({});
    }
    if (tray.created && tray.shown) {
        RemoveTrayIcon();
    }
    KillTimer(kTimerPoll.id);
    if (startup.playlistLoaded) {
        SavePlaylist();
    }
    ReleaseSkin();
}

}  // namespace tunova
