// The main window's message tables: every command, notification and timer of the window, each
// routed to its slot.
#include "app/tunova_dlg.h"

#include "res/resource_ids.h"

namespace tunova {

namespace {

// Size the template asks for before start-up resizes the window.
constexpr plat::Size kTemplateSize{kNormalWidth, kNormalHeight};

}  // namespace

CTunovaDlg::CTunovaDlg() : plat::Dialog(res::kIddMain, kTemplateSize) {
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
    map.OnCommand(kIdcPlay, [this] { OnPlay(); });
    map.OnCommand(kIdcPause, [this] { OnPause(); });
    map.OnCommand(kIdcStop, [this] { OnStop(); });
    map.OnCommand(kIdcVolumeUp, [this] { OnVolumeStep(+5); });
    map.OnCommand(kIdcVolumeDown, [this] { OnVolumeStep(-5); });
    map.OnCommand(kIdcMute, [this] { OnMute(true); });
    map.OnCommand(kIdcUnmute, [this] { OnMute(false); });
    map.OnCommand(kIdcSeekStart, [this] { OnSeekStart(); });
    // Play sequencing.
    map.OnCommand(kIdcNext, [this] { OnNext(); });
    map.OnCommand(kIdcPrevious, [this] { OnPrevious(); });
    map.OnCommandRange(kIdcModeAll, kIdcModeRandom, [this](int id) { OnPlayMode(id); });
    // Search.
    map.OnCommand(kIdcSearch, [this] { StartSearch(); });
    map.OnCommand(kIdcSearchMore, [this] { RequestNextPage(); });
    // Playlist.
    map.OnCommand(kIdcDeleteEntries, [this] { DeletePlaylistSelection(); });
    map.OnCommand(kIdcMoveUp, [this] { MovePlaylistSelection(true); });
    map.OnCommand(kIdcMoveDown, [this] { MovePlaylistSelection(false); });
    // Window modes.
    map.OnCommand(kIdcMaximize, [this] { OnMaximize(); });
    map.OnCommand(kIdcMiniSize, [this] { OnMiniSize(); });
    map.OnCommand(kIdcNormalSize, [this] { OnNormalSize(); });
    map.OnCommand(kIdcBigVideo, [this] { OnToggleBigVideo(); });
    map.OnCommand(kIdcBigVideo2, [this] { OnToggleBigVideo(); });
    // Web links and settings.
    for (int id : {kIdcHomePage, kCmdHomePage, kCmdHomePage2}) {
        map.OnCommand(id, [this] { OpenHomePage(); });
    }
    for (int id : {kIdcQnaBoard, kCmdQnaBoard, kCmdQnaBoard2}) {
        map.OnCommand(id, [this] { OpenQnaBoard(); });
    }
    for (int id : {kIdcSettings, kCmdSettings}) {
        map.OnCommand(id, [this] { OpenSettings(); });
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
    map.OnControlNotify(kIdcSearchEdit, plat::kEnSetFocus, [this] { OnSearchEditFocus(); });
    map.OnControlNotify(kIdcCountryCombo, plat::kCbnSelChange, [this] { OnCountryComboChange(); });
    map.OnNotify(kIdcResultList, plat::kNmClick, [this](const plat::NotifyHeader& hdr) {
        OnResultClick(reinterpret_cast<const plat::ItemActivate&>(hdr));
        return plat::LResult{0};
    });
    map.OnNotify(kIdcResultList, plat::kNmDblClk, [this](const plat::NotifyHeader& hdr) {
        OnResultDoubleClick(reinterpret_cast<const plat::ItemActivate&>(hdr));
        return plat::LResult{0};
    });
    map.OnNotify(kIdcResultList, plat::kLvnBeginDrag, [this](const plat::NotifyHeader& hdr) {
        OnResultBeginDrag(reinterpret_cast<const plat::ListViewNotify&>(hdr));
        return plat::LResult{0};
    });
    map.OnNotify(kIdcPlaylist, plat::kNmDblClk, [this](const plat::NotifyHeader& hdr) {
        OnPlaylistDoubleClick(reinterpret_cast<const plat::ItemActivate&>(hdr));
        return plat::LResult{0};
    });
    map.OnMessage(kWmSliderMoving, [this](plat::WParam w, plat::LParam l) {
        OnSliderMoving(static_cast<int>(w), static_cast<int>(l));
        return plat::LResult{0};
    });
    map.OnMessage(kWmSliderReleased, [this](plat::WParam w, plat::LParam l) {
        OnSliderReleased(static_cast<int>(w), static_cast<int>(l));
        return plat::LResult{0};
    });
    map.OnMessage(kWmTrayNotify, [this](plat::WParam w, plat::LParam l) {
        OnTrayNotify(w, l);
        return plat::LResult{0};
    });
    map.OnMessage(plat::kWmSysCommand, [this](plat::WParam w, plat::LParam l) {
        if ((w & 0xFFF0) == static_cast<plat::WParam>(res::kSysCmdAbout)) {
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
    auto& map = Messages();
    map.OnTimer(kTimerPoll.id, [this] { OnPollTimer(); });
    map.OnTimer(kTimerPaging.id, [this] { CheckScrollPaging(); });
    map.OnTimer(kTimerTitleScroll.id, [this] { OnTitleScrollTimer(); });
    map.OnTimer(kTimerTitlePause.id, [this] { OnTitlePauseTimer(); });
    map.OnTimer(kTimerVolumeRestore.id, [this] { OnVolumeRestoreTimer(); });
    map.OnTimer(kTimerPosition.id, [this] { OnPositionTimer(); });
    map.OnTimer(kTimerShowWindow.id, [this] { OnShowWindowTimer(); });
    map.OnTimer(kTimerPageProbe.id, [this] { OnPageProbeTimer(); });
    map.OnTimer(kTimerPageReady.id, [this] { OnPageReadyTimer(); });
    map.OnTimer(kTimerHoldRelease.id, [this] { OnHoldReleaseTimer(); });
    map.OnTimer(kTimerUpdaterWait.id, [this] { OnUpdaterWaitTimer(); });
}

}  // namespace tunova
