#include "app/window_modes.h"

#include "app/main_controls.h"
#include "controls/skin_list.h"
#include "platform/draw/draw.h"
#include "platform/window/screens.h"
#include "res/resource_ids.h"

namespace tunova {

namespace {

using plat::Point;
using plat::Rect;
using plat::Size;

// Result list columns: number, title (the rest), play time, add picture.
constexpr int kNumberColumnWidth = 45;
constexpr int kTitleColumnSlack = 233;
constexpr int kTimeColumnWidth = 90;
constexpr int kAddColumnWidth = 98;

}  // namespace

WindowModes::WindowModes(plat::Window& window, ViewState& view, ModesWindow& host)
    : window_(window), view_(view), host_(host) {}

Size WindowModes::ClientSize() const {
    const Rect client = window_.ClientRect();
    return {client.Width(), client.Height()};
}

plat::Window* WindowModes::Control(int id) const {
    return window_.Child(id);
}

void WindowModes::ShowControl(int id, bool shown) const {
    if (plat::Window* control = Control(id)) {
        control->Show(shown);
    }
}

void WindowModes::MoveControl(int id, const Rect& rect) const {
    if (plat::Window* control = Control(id); control != nullptr && !rect.IsEmpty()) {
        control->Move(rect);
    }
}

// ---- Layout -----------------------------------------------------------------------------

void WindowModes::ComputeLayout() {
    Size client = ClientSize();
    if (client.cx <= 0 || client.cy <= 0) {
        client = {kNormalWidth, kNormalHeight};
    }
    layout_.client = client;
    layout_.mini = view_.sizeMode == kSizeModeMini;
    layout_.bigVideo = !view_.listShown;
    layout_.moreResults = moreResults_;
    view_.normalBrowserRect = NormalLayoutRect(res::kIdcBrowser, client.cx, client.cy);
    view_.bigBrowserRect = BigVideoRect(client);
    view_.miniRect = MiniRect(plat::WorkAreaUnder(window_.WindowRect()));
}

void WindowModes::PlaceAllControls() {
    for (plat::Window* child : window_.Children()) {
        MoveControl(child->ControlId(), ControlRect(child->ControlId(), layout_));
    }
}

void WindowModes::PlaceEdgeControls() {
    // The controls whose rectangles depend on the client area's width or height.
    for (const MainControl& control : MainControls()) {
        if (control.normal.FollowsSize()) {
            MoveControl(control.id, ControlRect(control.id, layout_));
        }
    }
}

void WindowModes::PlaceLinkButtons(bool moreResultsShown) {
    moreResults_ = moreResultsShown;
    layout_.moreResults = moreResultsShown;
    if (!view_.listShown) {
        // The video covers that row; the buttons come back with the list.
        for (int id : {res::kIdcHomePage, res::kIdcSearchMore, res::kIdcQnaBoard}) {
            ShowControl(id, false);
        }
        return;
    }
    for (int id : {res::kIdcHomePage, res::kIdcQnaBoard}) {
        MoveControl(id, ControlRect(id, layout_));
        ShowControl(id, true);
    }
    ShowControl(res::kIdcSearchMore, moreResultsShown);
}

void WindowModes::FitLists() const {
    if (auto* results = dynamic_cast<CSkinList*>(Control(res::kIdcResultList))) {
        results->PlaceScrollBar();
        results->SetColumnWidth(0, kNumberColumnWidth);
        results->SetColumnWidth(1, results->ClientRect().Width() - kTitleColumnSlack);
        results->SetColumnWidth(2, kTimeColumnWidth);
        results->SetColumnWidth(3, kAddColumnWidth);
    }
    if (auto* playlist = dynamic_cast<CSkinList*>(Control(res::kIdcPlaylist))) {
        playlist->PlaceScrollBar();
        playlist->SetColumnWidth(0, 0);
        playlist->SetColumnWidth(1, playlist->ClientRect().Width());
        playlist->SetColumnWidth(2, 0);
    }
}

void WindowModes::SetResultScrollBarCompact(bool compact) const {
    // While the video has the list's place the list's bar stays, blacked out and inert.
    if (auto* results = dynamic_cast<CSkinList*>(Control(res::kIdcResultList))) {
        results->ScrollBar().SetCompactMode(compact);
    }
}

void WindowModes::Relayout() {
    ComputeLayout();
    host_.FrameChanged(false);
    PlaceEdgeControls();
    if (!view_.listShown) {
        MoveControl(res::kIdcBrowser, view_.bigBrowserRect);
    }
    FitLists();
    window_.Invalidate();
}

void WindowModes::SetShape(bool systemMaximized) {
    const bool roundBottom = view_.sizeMode == kSizeModeNormal;
    plat::Region shape;
    for (const Rect& rect : WindowRegionRects(ClientSize(), roundBottom, systemMaximized)) {
        shape.Unite(plat::Region::FromRect(rect));
    }
    window_.SetRegion(shape);
}

void WindowModes::OnSize(int sizeType, Size) {
    if (sizeType == plat::kSizeMinimized) {
        return;
    }
    if (view_.firstSize) {
        view_.firstSize = false;
    } else {
        Relayout();
    }
    SetShape(sizeType == plat::kSizeMaximized);
}

void WindowModes::MoveWindow(const Rect& rect) {
    const Size before = ClientSize();
    window_.Move(rect);
    const Size after = ClientSize();
    if (before == after) {
        // No size notification comes: lay out for the new view now.
        Relayout();
        SetShape(false);
    }
}

// ---- Sizes ------------------------------------------------------------------------------

void WindowModes::ShowRestoreButton(bool restore) const {
    ShowControl(res::kIdcNormalSize, restore);
    ShowControl(res::kIdcMaximize, !restore);
}

void WindowModes::ShowMiniHiddenControls() const {
    for (const MainControl& control : MainControls()) {
        if (control.hiddenInMini) {
            ShowControl(control.id, control.id != res::kIdcResultList || view_.listShown);
        }
    }
}

void WindowModes::MiniSize() {
    if (view_.sizeMode == kSizeModeMini) {
        ShowMiniHiddenControls();
        view_.sizeMode = kSizeModeNormal;
        MoveWindow(view_.normalRect);
        ShowRestoreButton(false);
        view_.maximized = false;
        return;
    }
    if (!view_.listShown) {
        LeaveBigVideo();
    }
    // Coming back from mini size returns the window to where it was, not to where it was first
    // shown; a maximised window returns to its rectangle from before the maximise.
    if (!view_.maximized) {
        view_.normalRect = window_.WindowRect();
    }
    for (const MainControl& control : MainControls()) {
        if (control.hiddenInMini) {
            ShowControl(control.id, false);
        }
    }
    view_.sizeMode = kSizeModeMini;
    window_.Show(false);
    MoveWindow(view_.miniRect);
    window_.Show(true);
    ComputeLayout();
    host_.FrameChanged(false);
    view_.maximized = false;
    ShowRestoreButton(true);
}

void WindowModes::RestoreFromMini() {
    ShowMiniHiddenControls();
    view_.sizeMode = kSizeModeNormal;
    view_.maximized = false;
    const Rect area = plat::WorkAreaUnder(window_.WindowRect());
    window_.Show(false);
    MoveWindow(Rect::FromXYWH(area.left + (area.Width() - kNormalWidth) / 2,
                              area.top + (area.Height() - kNormalHeight) / 2, kNormalWidth,
                              kNormalHeight));
    window_.Show(true);
    ShowRestoreButton(false);
}

void WindowModes::NormalSize() {
    if (view_.sizeMode == kSizeModeMini) {
        RestoreFromMini();
        return;
    }
    if (view_.maximized) {
        ShowRestoreButton(false);
        ToggleMaximized();
        window_.Invalidate();
    }
}

void WindowModes::Maximize() {
    if (view_.maximized) {
        return;
    }
    ShowRestoreButton(true);
    ToggleMaximized();
    window_.Invalidate();
}

void WindowModes::ToggleMaximized() {
    if (view_.maximized) {
        view_.maximized = false;
        MoveWindow(view_.normalRect);
        window_.RaiseToTop();
        window_.Show(true);
        return;
    }
    view_.maximized = true;
    const Rect now = window_.WindowRect();
    view_.normalRect = now;
    MoveWindow(MaximizeTarget(now, plat::Screens()));
    window_.RaiseToTop();
    window_.Show(true);
}

void WindowModes::SaveNormalRect() {
    view_.normalRect = window_.WindowRect();
}

// ---- Big-video view ---------------------------------------------------------------------

void WindowModes::ToggleBigVideo() {
    if (!host_.PlayerReady()) {
        return;
    }
    if (view_.sizeMode == kSizeModeMini) {
        RestoreFromMini();
        EnterBigVideo();
        return;
    }
    if (!view_.listShown) {
        LeaveBigVideo();
        return;
    }
    EnterBigVideo();
}

void WindowModes::ShowResultLayout() {
    if (!view_.listShown) {
        LeaveBigVideo();
    }
}

void WindowModes::EnterBigVideo() {
    ShowControl(res::kIdcResultList, false);
    view_.listShown = false;
    layout_.bigVideo = true;
    MoveControl(res::kIdcBrowser, view_.bigBrowserRect);
    host_.FrameChanged(true);
    SetResultScrollBarCompact(true);
    for (int id : {res::kIdcHomePage, res::kIdcSearchMore, res::kIdcQnaBoard}) {
        ShowControl(id, false);
    }
    window_.Invalidate();
}

void WindowModes::LeaveBigVideo() {
    MoveControl(res::kIdcBrowser, view_.normalBrowserRect);
    ShowControl(res::kIdcResultList, true);
    view_.listShown = true;
    layout_.bigVideo = false;
    host_.FrameChanged(true);
    SetResultScrollBarCompact(false);
    PlaceLinkButtons(moreResults_);
    window_.Invalidate();
}

// ---- Moving, snapping and resizing --------------------------------------------------------

void WindowModes::OnGetMinMaxInfo(plat::MinMaxInfo& info) const {
    info.minTrackSize = {kNormalWidth, kNormalHeight};
}

void WindowModes::OnWindowPosChanging(plat::WindowPos& pos) const {
    if (pos.flags & plat::kSwpNoMove) {
        return;
    }
    const Rect proposed = Rect::FromXYWH(pos.x, pos.y, pos.cx, pos.cy);
    const Point snapped =
        SnapToWorkArea({pos.x, pos.y}, {pos.cx, pos.cy}, plat::WorkAreaUnder(proposed));
    pos.x = snapped.x;
    pos.y = snapped.y;
}

void WindowModes::OnLeftButtonDown(Point client) {
    const Size size = ClientSize();
    const Point screen = window_.ClientToScreen(client);
    if (InTopBar(client, size) && !view_.maximized) {
        // The platform moves the window with the pointer from here, snapping as it goes.
        window_.SendMessage(plat::kWmNcLButtonDown, plat::kHtCaption,
                            plat::MakeLParam(screen.x, screen.y));
        return;
    }
    if (view_.sizeMode != kSizeModeNormal || view_.maximized) {
        return;
    }
    const int handle = HandleAt(client, size);
    if (handle == kNoHandle) {
        return;
    }
    window_.SetCapture();
    window_.SetCursor(CursorForHandle(handle));
    const Rect start = window_.WindowRect();
    resize_ = {true, handle, start, screen, start};
}

void WindowModes::OnMouseMove(Point client) {
    if (!resize_.on) {
        if (view_.sizeMode == kSizeModeNormal && !view_.maximized) {
            window_.SetCursor(CursorForHandle(HandleAt(client, ClientSize())));
        }
        return;
    }
    const Point screen = window_.ClientToScreen(client);
    const Point moved{screen.x - resize_.press.x, screen.y - resize_.press.y};
    const plat::Size minimum = window_.QueryMinMaxInfo().minTrackSize;
    resize_.outline = ResizeOutline(resize_.handle, resize_.start, moved, minimum);
    outline_.Show(resize_.outline);
}

void WindowModes::OnLeftButtonUp(Point /*client*/) {
    if (!resize_.on) {
        return;
    }
    resize_.on = false;
    // After kWmCaptureChanged the capture is another window's.
    if (plat::Window::Capture() == &window_) {
        plat::Window::ReleaseCapture();
    }
    // The window takes the outline it showed last, wherever the pointer is released.
    if (!(resize_.outline == resize_.start)) {
        MoveWindow(resize_.outline);
    }
    outline_.Hide();
    window_.SetCursor(plat::CursorShape::kArrow);
    window_.Invalidate();
}

void WindowModes::OnLeftDoubleClick(Point client) {
    if (InTopBar(client, ClientSize())) {
        if (view_.sizeMode == kSizeModeMini || view_.maximized) {
            NormalSize();
        } else {
            Maximize();
        }
        ComputeLayout();
        window_.Invalidate();
        return;
    }
    if (view_.sizeMode == kSizeModeNormal && view_.normalBrowserRect.Contains(client)) {
        ToggleBigVideo();
    }
}

}  // namespace tunova
