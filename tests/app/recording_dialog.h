// A main window that records which slot each message reached, and runs a test body inside its
// own modal loop (so the pre-dispatch hook and the timers are live while the body runs).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/tunova_dlg.h"
#include "platform/messages.h"

namespace tunova::testing {

inline constexpr std::uint32_t kWmRunBody = plat::kWmUser + 77;

class RecordingDialog : public CTunovaDlg {
  public:
    std::vector<std::string> calls;
    std::function<void(RecordingDialog&)> body;
    bool anotherInstance = false;
    bool serverReachable = true;
    bool chartCached = false;
    bool trayCreated = false;
    bool updaterRunning = false;
    std::string commandLine = "tunova";

    RecordingDialog() {
        Messages().OnMessage(kWmRunBody, [this](plat::WParam, plat::LParam) {
            if (body) {
                body(*this);
            }
            if (!HasEnded()) {
                SendCommand(plat::kIdCancel);
            }
            return plat::LResult{0};
        });
    }

    // Runs the dialog modally; the body runs once the start-up has finished.
    int Run() { return DoModal(); }

    void ClearCalls() { calls.clear(); }
    bool Called(const std::string& name) const {
        for (const auto& c : calls) {
            if (c == name) {
                return true;
            }
        }
        return false;
    }

    using CTunovaDlg::Messages;

  protected:
    bool OnInitDialog() override {
        CTunovaDlg::OnInitDialog();
        if (!HasEnded()) {
            PostMessage(kWmRunBody);
        }
        return true;
    }
    void Record(std::string name) { calls.push_back(std::move(name)); }

    std::string ProcessCommandLine() override { return commandLine; }
    void AddAboutItemToSystemMenu() override {
        Record("AddAboutItemToSystemMenu");
        CTunovaDlg::AddAboutItemToSystemMenu();
    }
    bool CreateTrayIcon() override {
        Record("CreateTrayIcon");
        tray.shown = trayCreated;
        return trayCreated;
    }
    bool AnotherInstanceRunning() override {
        Record("AnotherInstanceRunning");
        return anotherInstance;
    }
    void RestoreRunningInstance() override { Record("RestoreRunningInstance"); }
    void DetectNewerWindows() override { Record("DetectNewerWindows"); }
    void InitialiseCom() override { Record("InitialiseCom"); }
    void ReadPartnerId() override { Record("ReadPartnerId"); }
    void ReadAdapterAddress() override { Record("ReadAdapterAddress"); }
    void ComputeLayout() override { Record("ComputeLayout"); }
    void LoadSkin() override { Record("LoadSkin"); }
    bool ProbeUpdateServer() override {
        Record("ProbeUpdateServer");
        return serverReachable;
    }
    void ShowNoConnectionNotice() override { Record("ShowNoConnectionNotice"); }
    void ReadDoubleClickSetting() override { Record("ReadDoubleClickSetting"); }
    void PrepareEncodingTable() override { Record("PrepareEncodingTable"); }
    void CreateBrowserAndNavigate() override {
        Record("CreateBrowserAndNavigate");
        CTunovaDlg::CreateBrowserAndNavigate();
    }
    void SetUpResultList() override { Record("SetUpResultList"); }
    void SetUpPlaylistView() override { Record("SetUpPlaylistView"); }
    void DrawSkinStrips() override { Record("DrawSkinStrips"); }
    void SetUpSliders() override {
        Record("SetUpSliders");
        CTunovaDlg::SetUpSliders();
    }
    void PlaceControls() override {
        Record("PlaceControls");
        CTunovaDlg::PlaceControls();
    }
    void LoadPlaylist() override { Record("LoadPlaylist"); }
    void FillCountryCombo() override {
        Record("FillCountryCombo");
        CTunovaDlg::FillCountryCombo();
    }
    void StartUpdater() override { Record("StartUpdater"); }
    bool IsChartCachedToday() override {
        Record("IsChartCachedToday");
        return chartCached;
    }
    void LoadCachedChart() override { Record("LoadCachedChart"); }
    void DownloadChart() override { Record("DownloadChart"); }
    void SendUsageCount(const std::string& argument) override {
        Record("SendUsageCount:" + argument);
    }
    bool IsUpdaterRunning() override { return updaterRunning; }
    void CheckVersion() override { Record("CheckVersion"); }
    int ProbePage() override {
        Record("ProbePage");
        return 1;
    }
    void RemoveTrayIcon() override { Record("RemoveTrayIcon"); }
    void SavePlaylist() override { Record("SavePlaylist"); }
    void ReleaseSkin() override { Record("ReleaseSkin"); }

    void OnPlay() override { Record("OnPlay"); }
    void OnPause() override { Record("OnPause"); }
    void OnStop() override { Record("OnStop"); }
    void OnVolumeStep(int delta) override { Record("OnVolumeStep:" + std::to_string(delta)); }
    void OnMute(bool mute) override { Record(mute ? "OnMute" : "OnUnmute"); }
    void OnSeekStart() override { Record("OnSeekStart"); }
    void OnNext() override { Record("OnNext"); }
    void OnPrevious() override { Record("OnPrevious"); }
    void OnPlayMode(int id) override { Record("OnPlayMode:" + std::to_string(id)); }
    void OnResultClick(const plat::ItemActivate& c) override {
        Record("OnResultClick:" + std::to_string(c.item));
    }
    void OnResultDoubleClick(const plat::ItemActivate& c) override {
        Record("OnResultDoubleClick:" + std::to_string(c.item));
    }
    void OnResultBeginDrag(const plat::ListViewNotify& d) override {
        Record("OnResultBeginDrag:" + std::to_string(d.item));
    }
    void OnPlaylistDoubleClick(const plat::ItemActivate& c) override {
        Record("OnPlaylistDoubleClick:" + std::to_string(c.item));
    }
    void OnSliderMoving(int id, int pos) override {
        Record("OnSliderMoving:" + std::to_string(id) + ":" + std::to_string(pos));
    }
    void OnSliderReleased(int id, int pos) override {
        Record("OnSliderReleased:" + std::to_string(id) + ":" + std::to_string(pos));
    }
    void StartSearch() override { Record("StartSearch"); }
    void RequestNextPage() override { Record("RequestNextPage"); }
    void CheckScrollPaging() override { Record("CheckScrollPaging"); }
    void DeletePlaylistSelection() override { Record("DeletePlaylistSelection"); }
    void MovePlaylistSelection(bool up) override { Record(up ? "MoveUp" : "MoveDown"); }
    void OnMaximize() override { Record("OnMaximize"); }
    void OnMiniSize() override { Record("OnMiniSize"); }
    void OnNormalSize() override { Record("OnNormalSize"); }
    void OnToggleBigVideo() override { Record("OnToggleBigVideo"); }
    void OpenHomePage() override { Record("OpenHomePage"); }
    void OpenQnaBoard() override { Record("OpenQnaBoard"); }
    void OpenSettings() override { Record("OpenSettings"); }
    void OnTrayNotify(plat::WParam, plat::LParam l) override {
        Record("OnTrayNotify:" + std::to_string(l));
    }
    void OnMinimizeCommand() override {
        Record("OnMinimizeCommand");
        CTunovaDlg::OnMinimizeCommand();
    }
    void OnHideToTray() override {
        Record("OnHideToTray");
        CTunovaDlg::OnHideToTray();
    }
    void OnCountryButton() override {
        Record("OnCountryButton");
        CTunovaDlg::OnCountryButton();
    }
    void OnOpenPlayer() override {
        Record("OnOpenPlayer");
        CTunovaDlg::OnOpenPlayer();
    }
    void OnExit() override {
        Record("OnExit");
        CTunovaDlg::OnExit();
    }
    void ShowAboutBox() override { Record("ShowAboutBox"); }
    void OnPollTimer() override { Record("OnPollTimer"); }
    void OnTitleScrollTimer() override { Record("OnTitleScrollTimer"); }
    void OnTitlePauseTimer() override { Record("OnTitlePauseTimer"); }
    void OnVolumeRestoreTimer() override { Record("OnVolumeRestoreTimer"); }
    void OnPositionTimer() override { Record("OnPositionTimer"); }
    void OnHoldReleaseTimer() override { Record("OnHoldReleaseTimer"); }
};

}  // namespace tunova::testing
