// CTunovaDlg, the main window: it owns every control, all state and one object per subsystem,
// and its tables (app/tunova_dlg.cpp) route every command, notification, slider message and
// timer tick to the object that does the work. README.md, "How to add a command", has the
// recipe for a new one.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/app_services.h"
#include "app/dialog_state.h"
#include "app/main_controls.h"
#include "app/main_layout.h"
#include "app/main_skin.h"
#include "app/main_window_title.h"
#include "app/media_panel.h"
#include "app/window_modes.h"
#include "controls/notify_icon.h"
#include "controls/skin_button.h"
#include "controls/skin_list.h"
#include "controls/skin_slider.h"
#include "lists/playlist.h"
#include "platform/controls/controls.h"
#include "platform/window/dialog.h"
#include "playback/play_sequencer.h"
#include "playback/playback_view.h"
#include "playback/player_controller.h"
#include "playback/player_page.h"
#include "playback/script_bridge.h"
#include "res/resource_ids.h"
#include "search/search_controller.h"
#include "services/host_config.h"
#include "services/services_controller.h"

namespace tunova {

inline constexpr int kUpdaterWaitLimit = 600;  // ticks of kTimerUpdaterWait, about three minutes

class CTunovaDlg : public plat::Dialog, private ModesWindow, private PlaybackView {
  public:
    // `services` are the program's hosts and machine services, built once at its start: the
    // window keeps a copy and hands each subsystem what it needs. `page` is the player page the
    // window drives; null: the player engine of the video area (Page()) started on the data folder.
    // A test gives a scripted page; the video area then starts nothing and no engine runs.
    explicit CTunovaDlg(const AppServices& services, ScriptPage* page = nullptr);
    ~CTunovaDlg() override;

    // The window's state and controls, for the desktop's and other starts' commands and for
    // tests. The controls are created in OnInitDialog from the rows of app/main_controls.h; each
    // control that is an object of its own kind is a field, the buttons are reached by id.
    PlaybackState& Playback() { return playback_; }
    ViewState& View() { return view_; }
    TrayState& Tray() { return trayState_; }
    StartupState& Startup() { return startup_; }
    CSkinList& ResultList() { return resultList_; }
    CSkinList& PlaylistView() { return playlistView_; }
    CSkinSlider& VolumeSlider() { return volumeSlider_; }
    CSkinSlider& PositionSlider() { return positionSlider_; }
    plat::ComboBox& CountryCombo() { return countryCombo_; }
    plat::EditBox& SearchEdit() { return searchEdit_; }
    // The skinned button `id`, or null.
    CSkinButton* SkinButton(int id);
    const CSkinButton* SkinButton(int id) const;

    // The subsystems.
    SearchController& Search() { return search_; }
    // The playlist: its rows in view order, and each entry by its entry number.
    Playlist& PlaylistEntries() { return playlist_; }
    const WindowModes& Modes() const { return modes_; }
    PlayerController& Player() { return player_; }
    PlaySequencer& Sequencer() { return sequencer_; }
    // The player engine and its video area (kIdcBrowser).
    PlayerPage& Page() { return *page_; }

    // The desktop's media panel and media keys.
    MediaPanel& DesktopControls() { return mediaPanel_; }

    // The pre-dispatch rules (right-click menu, Enter, Escape, Delete); true = consumed.
    bool PreTranslateMessage(const plat::Message& msg);

    // Country selection: the visible indicator button and the menu's check mark follow it.
    void SelectCountry(int commandId);
    int VisibleCountryButton() const;
    // A control's rectangle in the normal layout of the current client size.
    plat::Rect NormalLayoutRect(int id) const;

  protected:
    bool OnInitDialog() override;

  private:
    friend std::span<const MainControl> MainControls();

    // Does what the search asks of the window: its layout, its count display, the playlist and
    // the player (app/tunova_dlg_search.cpp).
    void Apply(const SearchOutcome& outcome);

    // ModesWindow: the window's side of the window modes.
    bool PlayerReady() const override;
    void FrameChanged(bool centrePanelOnly) override;
    // PlaybackView: the displays and layout playback asks for (app/tunova_dlg_playback.cpp).
    void RedrawTitle() override;
    void ResetTitleScroll() override;
    void RedrawDuration() override;
    void RedrawTimeDigits() override;
    void RedrawVolume() override;
    void RedrawPlayMode() override;
    void PlaceBrowserInVideoRect() override;
    void PlaceBrowserInNormalVideoRect() override;
    void LowerNormalVideoBottom() override;
    // The video rectangle of the normal layout, or of the layout in force.
    plat::Rect VideoRect(bool normalLayout);
    void CreateBrowserAndNavigate();
    void SetUpSliders();

    void BuildCommandTable();
    void BuildNotificationTable();
    void BuildTimerTable();
    void CreateControls();
    void PlaceControls();
    void FillCountryCombo();
    // The tray icon with its image; false when the desktop has no tray.
    bool CreateTrayIcon();
    void AddAboutItemToSystemMenu();
    void ShowAboutBox();
    // Playlist files dropped onto the playlist: each is imported; a refused one gets a message.
    void ImportDroppedFiles(const plat::DroppedFiles& dropped);
    // Exports and imports of the playlist handed over by other starts of the program.
    void ServePlaylistRequests();
    void StopServingPlaylistRequests();

    // Player commands from other starts of the program (app/remote_commands.h), and the desktop
    // controls.
    void ServeRemoteCommands();
    void StopServingRemoteCommands();
    void StartDesktopControls();
    // Puts `cp949` into the search box and searches, as typing it and pressing search does.
    void SearchFor(const std::string& cp949);

    // This window's own commands and notifications.
    void OpenSettings();
    void OnMinimizeCommand();
    void OnHideToTray();
    void OnCountryButton();
    void OnOpenPlayer();
    void OnExit();
    void OnCountryComboChange();
    void OnMouseMove(plat::Point point);
    void OnLeftButtonUp(plat::Point point);

    // Bringing the window on screen, and the shutdown order.
    void OnUpdaterWaitTimer();
    void OnShowWindowTimer();
    void ShowWindowNow();
    void ShowDailyChart();
    void OnDestroy();
    bool IsInThisWindow(const plat::Window* window) const;
    bool IsOverVideo(const plat::Window* window) const;

    PlaybackState playback_;
    ViewState view_;
    TrayState trayState_;
    StartupState startup_;
    CSkinList resultList_;         // kIdcResultList
    CSkinList playlistView_;       // kIdcPlaylist
    CSkinSlider volumeSlider_;     // kIdcVolumeSlider
    CSkinSlider positionSlider_;   // kIdcPositionSlider
    plat::ComboBox countryCombo_;  // kIdcCountryCombo, hidden
    plat::EditBox searchEdit_;     // kIdcSearchEdit

    // The hosts of tunova.conf and the machine's clock, settings store and HTTP, as the program's
    // start read them, handed on to the subsystems.
    HostConfig hosts_;
    plat::MachineServices machine_;
    // The buttons of the control table, by id (before the subsystems, which may hold them).
    std::vector<std::pair<int, std::unique_ptr<plat::Window>>> buttons_;
    plat::Window* Button(int id) const;

    // One object per subsystem.
    SearchController search_;
    std::unique_ptr<PlayerPage> page_;
    ScriptPage* pageOverride_;
    Playlist playlist_;
    ScriptBridge bridge_;
    PlayerController player_;
    PlaySequencer sequencer_;
    ServicesController services_;
    WindowModes modes_;
    MainSkin skin_;
    CNotifyIcon tray_;
    MediaPanel mediaPanel_;
};

}  // namespace tunova
