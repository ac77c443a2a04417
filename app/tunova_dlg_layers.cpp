// Default slots of the main window. Subsystems not built yet have minimal stand-ins here that
// keep the start-up sequence and the tables whole without pretending to do their work:
//
//   tray icon                   not created (reports failure, so the tray flag stays clear)
//   newer-Windows test, COM     nothing to do on Linux
//   partner id, adapter address not read yet
//   layout, skin, skin strips   controls placed in the normal layout; no skin drawn yet
//   update server probe         reports reachable
//   double-click setting        keeps "double-click plays"
//   encoding table              the search encodes on its own
//   browser                     a plain child window 333 titled "DEzur"; timers 10 and 3 start
//   page probe                  answers 1 (ready) since no page is hosted yet
//   playlist view               columns only
//   sliders                     ranges and positions set
//   playlist load/save, chart   nothing stored or loaded yet
//   updater, version check      no updater is started, so none runs; the version passes
//   usage count                 not sent
//   playback, playlist editing, window modes, links, settings, tray messages, and the
//   playlist and player actions of result clicks, double-clicks and drags: no effect yet
#include "app/about_dlg.h"
#include "app/single_instance.h"
#include "app/tunova_dlg.h"
#include "res/resource_ids.h"

namespace tunova {

bool CTunovaDlg::CreateTrayIcon() {
    return false;
}
bool CTunovaDlg::AnotherInstanceRunning() {
    return AnotherTunovaRunning();
}
void CTunovaDlg::RestoreRunningInstance() {
    RestoreWindowTitled(kMainWindowTitle);
}
void CTunovaDlg::DetectNewerWindows() {}
void CTunovaDlg::InitialiseCom() {}
void CTunovaDlg::ReadPartnerId() {}
void CTunovaDlg::ReadAdapterAddress() {}
void CTunovaDlg::ComputeLayout() {}
void CTunovaDlg::LoadSkin() {}
bool CTunovaDlg::ProbeUpdateServer() {
    return true;
}
void CTunovaDlg::ShowNoConnectionNotice() {}
void CTunovaDlg::ReadDoubleClickSetting() {}
void CTunovaDlg::PrepareEncodingTable() {}

void CTunovaDlg::CreateBrowserAndNavigate() {
    browser.Create(this, res::kIdcBrowser, plat::Rect::FromXYWH(0, 0, 1, 1));
    browser.SetText("DEzur");
    SetTimer(kTimerVolumeRestore.id, kTimerVolumeRestore.periodMs);
    SetTimer(kTimerPaging.id, kTimerPaging.periodMs);
}

void CTunovaDlg::SetUpPlaylistView() {}
void CTunovaDlg::DrawSkinStrips() {}

void CTunovaDlg::SetUpSliders() {
    positionSlider.SetRange(0, 100);
    positionSlider.SetPos(0);
    volumeSlider.SetRange(0, 100);
    volumeSlider.SetPos(playback.volume);
}

void CTunovaDlg::LoadPlaylist() {}
void CTunovaDlg::StartUpdater() {}
bool CTunovaDlg::IsChartCachedToday() {
    return false;
}
void CTunovaDlg::LoadCachedChart() {}
void CTunovaDlg::DownloadChart() {}
void CTunovaDlg::SendUsageCount(const std::string&) {}
bool CTunovaDlg::IsUpdaterRunning() {
    return false;
}
void CTunovaDlg::CheckVersion() {}
int CTunovaDlg::ProbePage() {
    return 1;
}
void CTunovaDlg::RemoveTrayIcon() {
    tray.shown = false;
}
void CTunovaDlg::SavePlaylist() {}
void CTunovaDlg::ReleaseSkin() {}

void CTunovaDlg::OnPlay() {}
void CTunovaDlg::OnPause() {}
void CTunovaDlg::OnStop() {}
void CTunovaDlg::OnVolumeStep(int) {}
void CTunovaDlg::OnMute(bool) {}
void CTunovaDlg::OnSeekStart() {}
void CTunovaDlg::OnNext() {}
void CTunovaDlg::OnPrevious() {}
void CTunovaDlg::OnPlayMode(int) {}
void CTunovaDlg::OnPlaylistDoubleClick(const plat::ItemActivate&) {}
void CTunovaDlg::OnSliderMoving(int, int) {}
void CTunovaDlg::OnSliderReleased(int, int) {}
void CTunovaDlg::AddResultToPlaylist(int) {}
void CTunovaDlg::CueResult(int) {}
void CTunovaDlg::PlayResult(int) {}
void CTunovaDlg::BeginResultDrag(int) {}
void CTunovaDlg::DeletePlaylistSelection() {}
void CTunovaDlg::MovePlaylistSelection(bool) {}
void CTunovaDlg::OnMaximize() {}
void CTunovaDlg::OnMiniSize() {}
void CTunovaDlg::OnNormalSize() {}
void CTunovaDlg::OnToggleBigVideo() {}
void CTunovaDlg::OpenHomePage() {}
void CTunovaDlg::OpenQnaBoard() {}
void CTunovaDlg::OpenSettings() {}
void CTunovaDlg::OnTrayNotify(plat::WParam, plat::LParam) {}
void CTunovaDlg::OnPollTimer() {}
void CTunovaDlg::OnTitleScrollTimer() {}
void CTunovaDlg::OnTitlePauseTimer() {}
void CTunovaDlg::OnVolumeRestoreTimer() {}
void CTunovaDlg::OnPositionTimer() {}
void CTunovaDlg::OnHoldReleaseTimer() {}

void CTunovaDlg::ShowAboutBox() {
    CAboutDlg about;
    about.DoModal(this);
}

}  // namespace tunova
