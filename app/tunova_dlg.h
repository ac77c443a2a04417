// CTunovaDlg, the main window: it owns every control and all state, and routes every command,
// notification, slider message and timer tick to the subsystem that does the work.
//
// Handlers are virtual so that a test can record that a message reached its slot; each slot's
// default is the real behaviour, or, for a subsystem not built yet, a minimal stand-in that
// leaves the state untouched (listed in app/tunova_dlg_layers.cpp).
#pragma once

#include <array>
#include <string>

#include "app/dialog_state.h"
#include "controls/skin_button.h"
#include "controls/skin_list.h"
#include "controls/skin_slider.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "search/search_controller.h"

namespace tunova {

// Timer ids and periods of the main window.
struct TimerSpec {
    int id;
    unsigned periodMs;
};
inline constexpr TimerSpec kTimerPoll{1, 500};
inline constexpr TimerSpec kTimerPaging{3, 300};
inline constexpr TimerSpec kTimerTitleScroll{6, 3000};
inline constexpr TimerSpec kTimerTitlePause{7, 2000};
inline constexpr TimerSpec kTimerVolumeRestore{10, 4500};
inline constexpr TimerSpec kTimerPosition{21, 1000};
inline constexpr TimerSpec kTimerShowWindow{33, 200};
inline constexpr TimerSpec kTimerPageProbe{34, 200};
inline constexpr TimerSpec kTimerPageReady{35, 2800};
inline constexpr TimerSpec kTimerHoldRelease{42, 4000};
inline constexpr TimerSpec kTimerUpdaterWait{50, 300};

// The tray icon's callback message.
inline constexpr std::uint32_t kWmTrayNotify = 0x1105;

inline constexpr char kMainWindowTitle[] = "Tunova 플레이어";
inline constexpr int kNormalWidth = 785;
inline constexpr int kNormalHeight = 600;
inline constexpr int kUpdaterWaitLimit = 600;  // ticks of timer 50, about three minutes

class CTunovaDlg : public plat::Dialog {
  public:
    CTunovaDlg();
    ~CTunovaDlg() override;

    // State, readable by the subsystems and by tests.
    SearchState search;
    PlaybackState playback;
    PlaylistState playlist;
    ViewState view;
    TrayState tray;
    SettingsState settings;
    StartupState startup;

    // Controls (created in OnInitDialog).
    CSkinList resultList;                        // 1000
    CSkinList playlistView;                      // 1001
    std::array<CSkinButton, 3> playModeButtons;  // 1005, 1006, 1007
    CSkinSlider volumeSlider;                    // 1008
    CSkinSlider positionSlider;                  // 1009
    plat::ComboBox countryCombo;                 // 1011, hidden
    plat::PushButton stopButton;                 // 1101, hidden
    plat::PushButton volumeUpButton;             // 1105, hidden
    plat::PushButton volumeDownButton;           // 1106, hidden
    std::array<CSkinButton, 5> countryButtons;   // 1109 to 1113, one visible
    plat::EditBox searchEdit;                    // 1125
    plat::Window browser;                        // 333, the player page's host
    SearchController searchController;           // searches, paging and the result list 1000
    // Skin buttons by id, in the order of kSkinButtonIds.
    static constexpr std::array<int, 20> kSkinButtonIds = {1104, 1107, 1108, 1119, 1120, 1122, 1123,
                                                           1124, 1126, 1127, 1128, 1129, 1130, 1131,
                                                           1132, 1133, 1134, 1135, 1136, 1137};
    std::array<CSkinButton, 20> skinButtons;
    CSkinButton qnaButton;  // 1138
    CSkinButton* SkinButton(int id);

    // The pre-dispatch rules (right-click menu, Enter, Escape, Delete); true = consumed.
    bool PreTranslateMessage(const plat::Message& msg);

    // Country selection: the visible indicator button and the menu's check mark follow it.
    void SelectCountry(int commandId);
    int VisibleCountryButton() const;
    // A control's rectangle in the normal layout of the current client size.
    plat::Rect NormalLayoutRect(int id) const;

  protected:
    bool OnInitDialog() override;

    // Start-up steps, in the order OnInitDialog calls them.
    virtual std::string ProcessCommandLine();
    virtual void AddAboutItemToSystemMenu();
    virtual bool CreateTrayIcon();
    virtual bool AnotherInstanceRunning();
    virtual void RestoreRunningInstance();
    virtual void DetectNewerWindows();
    virtual void InitialiseCom();
    virtual void ReadPartnerId();
    virtual void ReadAdapterAddress();
    virtual void ComputeLayout();
    virtual void LoadSkin();
    virtual bool ProbeUpdateServer();
    virtual void ShowNoConnectionNotice();
    virtual void ReadDoubleClickSetting();
    virtual void PrepareEncodingTable();
    virtual void CreateBrowserAndNavigate();
    virtual void SetUpResultList();
    virtual void SetUpPlaylistView();
    virtual void DrawSkinStrips();
    virtual void SetUpSliders();
    virtual void PlaceControls();
    virtual void LoadPlaylist();
    virtual void FillCountryCombo();
    virtual void StartUpdater();
    virtual bool IsChartCachedToday();
    virtual void LoadCachedChart();
    virtual void DownloadChart();
    virtual void SendUsageCount(const std::string& argument);

    // Bringing the window on screen.
    virtual bool IsUpdaterRunning();
    virtual void CheckVersion();
    virtual int ProbePage();  // answer of "testAlert()"; 1 once the page is ready

    // Shutdown steps.
    virtual void RemoveTrayIcon();
    virtual void SavePlaylist();
    virtual void ReleaseSkin();

    // Playback and sequencing.
    virtual void OnPlay();
    virtual void OnPause();
    virtual void OnStop();
    virtual void OnVolumeStep(int delta);
    virtual void OnMute(bool mute);
    virtual void OnSeekStart();
    virtual void OnNext();
    virtual void OnPrevious();
    virtual void OnPlayMode(int buttonId);
    virtual void OnResultClick(const plat::ItemActivate& click);
    virtual void OnResultDoubleClick(const plat::ItemActivate& click);
    virtual void OnResultBeginDrag(const plat::ListViewNotify& drag);
    virtual void OnPlaylistDoubleClick(const plat::ItemActivate& click);
    virtual void OnSliderMoving(int sliderId, int pos);
    virtual void OnSliderReleased(int sliderId, int pos);
    // What a click, double-click or drag on a result row asks of the playlist and the player.
    virtual void AddResultToPlaylist(int row);
    virtual void CueResult(int row);
    virtual void PlayResult(int row);
    virtual void BeginResultDrag(int row);

    // Search.
    virtual void StartSearch();
    virtual void RequestNextPage();
    virtual void CheckScrollPaging();

    // Playlist editing.
    virtual void DeletePlaylistSelection();
    virtual void MovePlaylistSelection(bool up);

    // Window modes.
    virtual void OnMaximize();
    virtual void OnMiniSize();
    virtual void OnNormalSize();
    virtual void OnToggleBigVideo();

    // Services.
    virtual void OpenHomePage();
    virtual void OpenQnaBoard();
    virtual void OpenSettings();
    virtual void OnTrayNotify(plat::WParam wParam, plat::LParam lParam);

    // This window's own commands.
    virtual void OnMinimizeCommand();
    virtual void OnHideToTray();
    virtual void OnCountryButton();
    virtual void OnOpenPlayer();
    virtual void OnExit();
    virtual void OnSearchEditFocus();
    virtual void OnCountryComboChange();
    virtual void ShowAboutBox();

    // Timer ticks.
    virtual void OnPollTimer();
    virtual void OnTitleScrollTimer();
    virtual void OnTitlePauseTimer();
    virtual void OnVolumeRestoreTimer();
    virtual void OnPositionTimer();
    virtual void OnShowWindowTimer();
    virtual void OnPageProbeTimer();
    virtual void OnPageReadyTimer();
    virtual void OnHoldReleaseTimer();
    virtual void OnUpdaterWaitTimer();

    // Destroy: the shutdown order.
    virtual void OnDestroy();

  private:
    void BuildCommandTable();
    void BuildNotificationTable();
    void BuildTimerTable();
    void CreateControls();
    void BindSearch();
    void ShowWindowNow();
    bool IsInThisWindow(const plat::Window* window) const;
};

}  // namespace tunova
