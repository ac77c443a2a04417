// The main window's message tables: every command, notification, message and timer of the
// window, each routed to the subsystem object that does the work.
#include "app/tunova_dlg.h"

#include "app/player_engine.h"
#include "platform/desktop/clipboard.h"
#include "platform/window/mouse_capture.h"
#include "playback/now_playing.h"

namespace tunova {

namespace {

// Size the template asks for before start-up resizes the window.
constexpr plat::Size kTemplateSize{kNormalWidth, kNormalHeight};

// NM_CLICK and NM_DBLCLK of a list view carry an ItemActivate that begins with the header.
const plat::ItemActivate& AsActivate(const plat::NotifyHeader& header) {
    return reinterpret_cast<const plat::ItemActivate&>(header);
}

bool IsButton(ControlKind kind) {
    return kind == ControlKind::kSkinButton || kind == ControlKind::kRadioButton ||
           kind == ControlKind::kPushButton;
}

// One object for each button row of the control table, created as a window later.
std::vector<std::pair<int, std::unique_ptr<plat::Window>>> MakeButtons() {
    std::vector<std::pair<int, std::unique_ptr<plat::Window>>> buttons;
    for (const MainControl& row : MainControls()) {
        if (row.kind == ControlKind::kPushButton) {
            buttons.emplace_back(row.id, std::make_unique<plat::PushButton>());
        } else if (IsButton(row.kind)) {
            buttons.emplace_back(row.id, std::make_unique<CSkinButton>());
        }
    }
    return buttons;
}

}  // namespace

CTunovaDlg::CTunovaDlg(const AppServices& services, ScriptPage* page)
    : plat::Dialog(res::kIddMain, kTemplateSize),
      hosts_(services.hosts),
      machine_(services.machine),
      buttons_(MakeButtons()),
      search_(*this, resultList_, *SkinButton(res::kIdcSearchMore), searchEdit_, machine_,
              hosts_.feedHost),
      page_(MakePlayerEngine(hosts_.playerEngine, hosts_.mpvRender)),
      pageOverride_(page),
      bridge_(page != nullptr ? *page : *page_, playback_, *this, *this),
      player_(bridge_, playback_, *this, {*this, volumeSlider_, positionSlider_}),
      sequencer_(player_, bridge_, playback_, *this, *this,
                 SequencerSources{playlist_, playlistView_, search_.Results(), resultList_},
                 machine_.clock),
      services_(*this, machine_, hosts_),
      modes_(*this, view_, *this),
      skin_({*this, positionSlider_, volumeSlider_, resultList_, playlistView_, playback_, view_,
             modes_.Layout(), search_.ResultCountText()}),
      mediaPanel_({*this, volumeSlider_, positionSlider_, playback_, playlist_}) {
    player_.SetQueue(&sequencer_);
    BuildCommandTable();
    BuildNotificationTable();
    BuildTimerTable();
}

CTunovaDlg::~CTunovaDlg() = default;

plat::Window* CTunovaDlg::Button(int id) const {
    for (const auto& [buttonId, button] : buttons_) {
        if (buttonId == id) {
            return button.get();
        }
    }
    return nullptr;
}

CSkinButton* CTunovaDlg::SkinButton(int id) {
    return dynamic_cast<CSkinButton*>(Button(id));
}

const CSkinButton* CTunovaDlg::SkinButton(int id) const {
    return dynamic_cast<const CSkinButton*>(Button(id));
}

void CTunovaDlg::BuildCommandTable() {
    using namespace res;
    auto& map = Messages();
    // Every control's command, from its row of the control table.
    for (const MainControl& row : MainControls()) {
        if (row.command != nullptr) {
            map.OnCommand(row.id,
                          [this, command = row.command, id = row.id] { command(*this, id); });
        }
    }
    // Commands no control carries: the menus' items and the player command to seek to the
    // start.
    map.OnCommand(kIdcSeekStart, [this] { player_.SeekToStart(); });
    for (int id : {kCmdHomePage, kCmdHomePage2}) {
        map.OnCommand(id, [this] { services_.OpenHomePage(); });
    }
    for (int id : {kCmdQnaBoard, kCmdQnaBoard2}) {
        map.OnCommand(id, [this] { services_.OpenQnaBoard(); });
    }
    map.OnCommand(kCmdSettings, [this] { OpenSettings(); });
    map.OnCommand(kCmdCopyNowPlaying, [this] {
        if (const std::string text = NowPlayingText(playback_); !text.empty()) {
            plat::SetClipboardText(text);
        }
    });
    map.OnCommandRange(kCmdCountryKorea, kCmdCountryChina, [this](int id) { SelectCountry(id); });
    for (int id : {kCmdOpenPlayer, kCmdOpenPlayer2}) {
        map.OnCommand(id, [this] { OnOpenPlayer(); });
    }
    for (int id : {kCmdExit, kCmdExit2}) {
        map.OnCommand(id, [this] { OnExit(); });
    }
}

void CTunovaDlg::OpenSettings() {
    bool doubleClickAdds = search_.DoubleClickAdds();
    services_.OpenSettings(doubleClickAdds);
    search_.SetDoubleClickAdds(doubleClickAdds);
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
