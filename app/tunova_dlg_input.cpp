// The window's own input rules and commands: the pre-dispatch keyboard and mouse rules, the
// end of a drag, the country menu, the search box placeholder, minimize, hide, open and exit.
#include <array>

#include "app/tunova_dlg.h"
#include "platform/window/cursor.h"
#include "playback/now_playing.h"
#include "res/menus.h"
#include "res/resource_ids.h"

namespace tunova {

namespace {

struct CountryRow {
    int commandId;
    int countryIndex;
    int buttonId;
};

// The country menu (kMenuCountry): command, country index, visible indicator button.
constexpr std::array<CountryRow, 5> kCountryRows = {{
    {res::kCmdCountryAll, 0, res::kIdcCountryAll},
    {res::kCmdCountryKorea, 1, res::kIdcCountryKorea},
    {res::kCmdCountryUsa, 2, res::kIdcCountryUsa},
    {res::kCmdCountryJapan, 3, res::kIdcCountryJapan},
    {res::kCmdCountryChina, 4, res::kIdcCountryChina},
}};

// Where the country menu opens, relative to the window's top-left corner.
constexpr plat::Point kCountryMenuOffset{10, 201};

bool IsInside(const plat::Window* window, const plat::Window* ancestor) {
    for (const plat::Window* w = window; w != nullptr; w = w->Parent()) {
        if (w == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool CTunovaDlg::IsInThisWindow(const plat::Window* window) const {
    return IsInside(window, this);
}

bool CTunovaDlg::IsOverVideo(const plat::Window* window) const {
    return IsInside(window, &page_->VideoWindow());
}

bool CTunovaDlg::PreTranslateMessage(const plat::Message& msg) {
    if (!IsInThisWindow(msg.window)) {
        return false;
    }
    // The video area takes its own mouse clicks: no menu over the player page.
    if (msg.message == plat::kWmRButtonDown && !IsOverVideo(msg.window)) {
        const plat::Point client{plat::XFromLParam(msg.lParam), plat::YFromLParam(msg.lParam)};
        const plat::Point screen = msg.window->ClientToScreen(client);
        const bool playing = !NowPlayingText(playback_).empty();
        res::LoadMenuPopup(playing ? res::kMenuMousePlaying : res::kMenuMouse).Track(this, screen);
        return true;
    }
    if (msg.message != plat::kWmKeyDown) {
        return false;
    }
    const int key = static_cast<int>(msg.wParam);
    if (key == plat::kVkReturn && msg.window == &searchEdit_) {
        Apply(search_.StartSearch());
        return true;
    }
    // Enter presses the button that has the focus, as Space does.
    if (key == plat::kVkReturn && msg.window != this) {
        msg.window->AccessiblePress();
    }
    if (key == plat::kVkReturn || key == plat::kVkEscape) {
        return true;
    }
    if (key == plat::kVkDelete && msg.window == &playlistView_) {
        playlist_.RemoveSelected();
    }
    return false;
}

void CTunovaDlg::OnCountryButton() {
    plat::PopupMenu menu = res::LoadMenuPopup(res::kMenuCountry);
    for (const CountryRow& row : kCountryRows) {
        menu.CheckItem(row.commandId, row.countryIndex == search_.CountryIndex());
    }
    const plat::Rect frame = WindowRect();
    menu.Track(this, {frame.left + kCountryMenuOffset.x, frame.top + kCountryMenuOffset.y});
}

void CTunovaDlg::SelectCountry(int commandId) {
    // Ids inside the menu's range that name no country select "all".
    const CountryRow* chosen = &kCountryRows[0];
    for (const CountryRow& row : kCountryRows) {
        if (row.commandId == commandId) {
            chosen = &row;
        }
    }
    search_.SelectCountry(chosen->countryIndex);
    for (const CountryRow& row : kCountryRows) {
        if (CSkinButton* button = SkinButton(row.buttonId)) {
            button->Show(row.buttonId == chosen->buttonId);
        }
    }
}

int CTunovaDlg::VisibleCountryButton() const {
    for (const CountryRow& row : kCountryRows) {
        const CSkinButton* button = SkinButton(row.buttonId);
        if (button != nullptr && button->IsCreated() && button->IsVisible()) {
            return row.buttonId;
        }
    }
    return 0;
}

void CTunovaDlg::OnCountryComboChange() {
    search_.SelectCountry(countryCombo_.CurSel());
}

void CTunovaDlg::OnMinimizeCommand() {
    SendMessage(plat::kWmSysCommand, plat::kScMinimize);
}

void CTunovaDlg::OnHideToTray() {
    SendMessage(plat::kWmSysCommand, plat::kScMinimize);
    // Hidden, the window is reachable only from the tray icon: on a desktop without a tray it
    // stays minimised, so the task bar still offers it.
    if (trayState_.created && tray_.IsShown()) {
        Show(false);
    }
}

void CTunovaDlg::OnOpenPlayer() {
    Show(true);
    SendMessage(plat::kWmSysCommand, plat::kScRestore);
}

void CTunovaDlg::OnExit() {
    SendCommand(plat::kIdCancel);
}

void CTunovaDlg::OnMouseMove(plat::Point point) {
    // Dragging results: the pointer shows the drag, and nothing else follows the mouse (no
    // resize handles).
    if (search_.IsDragging()) {
        plat::SetProgramCursor(plat::CursorShape::kSizeAll);
        return;
    }
    modes_.OnMouseMove(point);
}

void CTunovaDlg::OnLeftButtonUp(plat::Point point) {
    // A drag holds the capture from its start; the release ends it, dropped or not. Dropped on
    // the playlist, every selected result joins it in list order.
    if (search_.IsDragging()) {
        if (PlaylistDropRect(ClientRect().Width()).Contains(point) && search_.DragRow() >= 0 &&
            resultList_.ItemCount() > 0) {
            playlist_.AddSelectedResults(resultList_, search_.Results());
        }
        search_.EndDrag();
    }
    modes_.OnLeftButtonUp(point);
}

}  // namespace tunova
