// The main window's message tables: every command, notification, message and timer of the
// window, each routed to the subsystem object that does the work.
#include "app/tunova_dlg.h"

#include "platform/mouse_capture.h"
#include "playback/web_browser.h"
#include "services/host_config.h"

namespace tunova {

namespace {

// Size the template asks for before start-up resizes the window.
constexpr plat::Size kTemplateSize{kNormalWidth, kNormalHeight};

// NM_CLICK and NM_DBLCLK of a list view carry an ItemActivate that begins with the header.
const plat::ItemActivate& AsActivate(const plat::NotifyHeader& header) {
    return reinterpret_cast<const plat::ItemActivate&>(header);
}

}  // namespace

CTunovaDlg::CTunovaDlg(ScriptPage* page)
    : plat::Dialog(res::kIddMain, kTemplateSize),
      search_(*this, resultList, *SkinButton(res::kIdcSearchMore), searchEdit,
              LoadHosts().feedHost),
      page_(std::make_unique<CWebBrowser2>()),
      pageOverride_(page),
      bridge_(page != nullptr ? *page : *page_, playback, *this, *this),
      player_(bridge_, playback, *this, {*this, volumeSlider, positionSlider}),
      sequencer_(player_, bridge_, playback, *this, *this,
                 SequencerSources{playlist_, playlistView, search_.Results(), resultList}),
      services_(*this, LoadHosts()),
      modes_(*this, view, *this),
      skin_(*this),
      mediaPanel_({*this, volumeSlider, positionSlider, playback, playlist_}) {
    player_.SetQueue(&sequencer_);
    BuildCommandTable();
    BuildNotificationTable();
    BuildTimerTable();
}

CTunovaDlg::~CTunovaDlg() = default;

CSkinButton* CTunovaDlg::SkinButton(int id) {
    for (size_t i = 0; i < kSkinButtonIds.size(); ++i) {
        if (kSkinButtonIds[i] == id) {
            return &skinButtons[i];
        }
    }
    return nullptr;
}

void CTunovaDlg::BuildCommandTable() {
    using namespace res;
    auto& map = Messages();
    // Player controller.
    map.OnCommand(kIdcPlay, [this] { player_.Play(); });
    map.OnCommand(kIdcPause, [this] { player_.Pause(); });
    map.OnCommand(kIdcStop, [this] { player_.Stop(); });
    map.OnCommand(kIdcVolumeUp, [this] {
        player_.VolumeUp();
        mediaPanel_.Refresh();
    });
    map.OnCommand(kIdcVolumeDown, [this] {
        player_.VolumeDown();
        mediaPanel_.Refresh();
    });
    map.OnCommand(kIdcMute, [this] { player_.Mute(); });
    map.OnCommand(kIdcUnmute, [this] { player_.Unmute(); });
    map.OnCommand(kIdcSeekStart, [this] { player_.SeekToStart(); });
    // Play sequencing.
    map.OnCommand(kIdcNext, [this] { sequencer_.Next(); });
    map.OnCommand(kIdcPrevious, [this] { sequencer_.Previous(); });
    map.OnCommandRange(kIdcModeAll, kIdcModeRandom, [this](int id) { sequencer_.SetPlayMode(id); });
    // Search.
    map.OnCommand(kIdcSearch, [this] { Apply(search_.StartSearch()); });
    map.OnCommand(kIdcSearchMore, [this] { search_.RequestNextPage(); });
    // Playlist.
    map.OnCommand(kIdcDeleteEntries, [this] { playlist_.RemoveSelected(); });
    map.OnCommand(kIdcMoveUp, [this] { playlist_.MoveSelectedUp(); });
    map.OnCommand(kIdcMoveDown, [this] { playlist_.MoveSelectedDown(); });
    // Window modes.
    map.OnCommand(kIdcMaximize, [this] { modes_.Maximize(); });
    map.OnCommand(kIdcMiniSize, [this] { modes_.MiniSize(); });
    map.OnCommand(kIdcNormalSize, [this] { modes_.NormalSize(); });
    map.OnCommand(kIdcBigVideo, [this] { modes_.ToggleBigVideo(); });
    map.OnCommand(kIdcBigVideo2, [this] { modes_.ToggleBigVideo(); });
    // Web links and settings.
    for (int id : {kIdcHomePage, kCmdHomePage, kCmdHomePage2}) {
        map.OnCommand(id, [this] { services_.OpenHomePage(); });
    }
    for (int id : {kIdcQnaBoard, kCmdQnaBoard, kCmdQnaBoard2}) {
        map.OnCommand(id, [this] { services_.OpenQnaBoard(); });
    }
    for (int id : {kIdcSettings, kCmdSettings}) {
        map.OnCommand(id, [this] {
            bool doubleClickAdds = search_.DoubleClickAdds();
            services_.OpenSettings(doubleClickAdds);
            search_.SetDoubleClickAdds(doubleClickAdds);
        });
    }
    // This window.
    map.OnCommand(kIdcMinimize, [this] { OnMinimizeCommand(); });
    map.OnCommand(kIdcHideToTray, [this] { OnHideToTray(); });
    map.OnCommandRange(kIdcCountryAll, kIdcCountryChina, [this](int) { OnCountryButton(); });
    map.OnCommandRange(kCmdCountryKorea, kCmdCountryChina, [this](int id) { SelectCountry(id); });
    for (int id : {kCmdOpenPlayer, kCmdOpenPlayer2}) {
        map.OnCommand(id, [this] { OnOpenPlayer(); });
    }
    for (int id : {kCmdExit, kCmdExit2}) {
        map.OnCommand(id, [this] { OnExit(); });
    }
}

void CTunovaDlg::BuildNotificationTable() {
    using namespace res;
    auto& map = Messages();
    map.OnControlNotify(kIdcSearchEdit, plat::kEnSetFocus, [this] { search_.OnSearchEditFocus(); });
    map.OnControlNotify(kIdcCountryCombo, plat::kCbnSelChange, [this] { OnCountryComboChange(); });
    map.OnNotify(kIdcResultList, plat::kNmClick, [this](const plat::NotifyHeader& hdr) {
        Apply(search_.OnResultClick(hdr));
        return plat::LResult{0};
    });
    map.OnNotify(kIdcResultList, plat::kNmDblClk, [this](const plat::NotifyHeader& hdr) {
        Apply(search_.OnResultDoubleClick(hdr));
        return plat::LResult{0};
    });
    map.OnNotify(kIdcResultList, plat::kLvnBeginDrag,
                 [this](const plat::NotifyHeader& hdr) { return search_.OnResultBeginDrag(hdr); });
    map.OnNotify(kIdcPlaylist, plat::kNmDblClk, [this](const plat::NotifyHeader& hdr) {
        sequencer_.PlayPlaylistRow(AsActivate(hdr).item);
        return plat::LResult{0};
    });
    map.OnMessage(kWmSearchResults, [this](plat::WParam, plat::LParam) {
        Apply(search_.OnResultsArrived());
        return plat::LResult{0};
    });
    // The sliders' own positions count, not the one in the message.
    map.OnMessage(kWmSliderMoving, [this](plat::WParam w, plat::LParam) {
        player_.OnSliderMoving(static_cast<int>(w));
        mediaPanel_.Refresh();
        return plat::LResult{0};
    });
    map.OnMessage(kWmSliderReleased, [this](plat::WParam w, plat::LParam) {
        player_.OnSliderReleased(static_cast<int>(w));
        return plat::LResult{0};
    });
    // The skinned background: frame, panel and displays.
    map.OnMessage(plat::kWmEraseBkgnd, [this](plat::WParam, plat::LParam) {
        if (plat::DC* dc = plat::DC::ForPaint(*this)) {
            skin_.PaintBackground(*dc);
        }
        return plat::LResult{1};
    });
    map.OnMessage(plat::kWmDropFiles, [this](plat::WParam, plat::LParam l) {
        ImportDroppedFiles(*reinterpret_cast<const plat::DroppedFiles*>(l));
        return plat::LResult{0};
    });
    map.OnMessage(kWmTrayNotify,
                  [this](plat::WParam w, plat::LParam l) { return tray_.HandleIconMessage(w, l); });
    // Window modes: size, sizes, snapping, and the pointer on the window's own surface.
    map.OnMessage(plat::kWmSize, [this](plat::WParam w, plat::LParam l) {
        modes_.OnSize(static_cast<int>(w), {plat::LowWord(l), plat::HighWord(l)});
        return plat::LResult{0};
    });
    map.OnMessage(plat::kWmGetMinMaxInfo, [this](plat::WParam, plat::LParam l) {
        modes_.OnGetMinMaxInfo(*reinterpret_cast<plat::MinMaxInfo*>(l));
        return plat::LResult{0};
    });
    map.OnMessage(plat::kWmWindowPosChanging, [this](plat::WParam, plat::LParam l) {
        modes_.OnWindowPosChanging(*reinterpret_cast<plat::WindowPos*>(l));
        return plat::LResult{0};
    });
    map.OnMessage(plat::kWmLButtonDown, [this](plat::WParam, plat::LParam l) {
        modes_.OnLeftButtonDown({plat::XFromLParam(l), plat::YFromLParam(l)});
        return plat::LResult{0};
    });
    map.OnMessage(plat::kWmMouseMove, [this](plat::WParam, plat::LParam l) {
        OnMouseMove({plat::XFromLParam(l), plat::YFromLParam(l)});
        return plat::LResult{0};
    });
    map.OnMessage(plat::kWmLButtonUp, [this](plat::WParam, plat::LParam l) {
        OnLeftButtonUp({plat::XFromLParam(l), plat::YFromLParam(l)});
        return plat::LResult{0};
    });
    // The capture taken away (by another window, or the window no longer being the active one)
    // ends a resize as a release does: the window takes the outline's size.
    map.OnMessage(plat::kWmCaptureChanged, [this](plat::WParam, plat::LParam) {
        modes_.OnLeftButtonUp({});
        return plat::LResult{0};
    });
    map.OnMessage(plat::kWmLButtonDblClk, [this](plat::WParam, plat::LParam l) {
        modes_.OnLeftDoubleClick({plat::XFromLParam(l), plat::YFromLParam(l)});
        return plat::LResult{0};
    });
    map.OnMessage(plat::kWmSysCommand, [this](plat::WParam w, plat::LParam l) {
        if ((w & 0xFFF0) == static_cast<plat::WParam>(kSysCmdAbout)) {
            ShowAboutBox();
            return plat::LResult{0};
        }
        return DefaultProc(plat::kWmSysCommand, w, l);
    });
    map.OnMessage(plat::kWmDestroy, [this](plat::WParam, plat::LParam) {
        OnDestroy();
        return plat::LResult{0};
    });
}

void CTunovaDlg::BuildTimerTable() {
    using namespace res;
    auto& map = Messages();
    // The desktop's media panel follows the player's timers: a video starting, pausing and
    // ending, the page becoming ready and the stored volume put back.
    map.OnTimer(kTimerPoll.id, [this] {
        player_.OnPollTimer();
        mediaPanel_.Refresh();
    });
    map.OnTimer(kTimerPaging.id, [this] { search_.CheckScrollPaging(); });
    map.OnTimer(kTimerTitleScroll.id, [this] { skin_.OnTitleScrollTimer(); });
    map.OnTimer(kTimerTitlePause.id, [this] { skin_.OnTitlePauseTimer(); });
    map.OnTimer(kTimerVolumeRestore.id, [this] {
        player_.OnVolumeRestoreTimer();
        mediaPanel_.Refresh();
    });
    map.OnTimer(kTimerPosition.id, [this] {
        player_.OnPositionTimer();
        mediaPanel_.Refresh();
    });
    map.OnTimer(kTimerShowWindow.id, [this] { OnShowWindowTimer(); });
    map.OnTimer(kTimerPageProbe.id, [this] { bridge_.OnPageProbeTimer(); });
    map.OnTimer(kTimerPageReady.id, [this] {
        bridge_.OnPageReadyTimer();
        mediaPanel_.Refresh();
    });
    map.OnTimer(kTimerHoldRelease.id, [this] { player_.OnHoldReleaseTimer(); });
    map.OnTimer(kTimerUpdaterWait.id, [this] { OnUpdaterWaitTimer(); });
}

}  // namespace tunova
