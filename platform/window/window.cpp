// Window: the native widget's life, geometry, focus, capture, text, messages and timers.
#include "platform/window/window.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"
#include "platform/window/application_impl.h"
#include "platform/window/cursor.h"
#include "platform/window/host_widget_impl.h"
#include "platform/window/mouse_capture.h"
#include "platform/window/screens.h"
#include "platform/window/timers_impl.h"
#include "platform/window/window_impl.h"
#include "platform/window/window_registry.h"

namespace plat {
namespace {

// The property on a native widget naming the key of the Window it belongs to.
constexpr char kWindowKeyProperty[] = "tunovaWindowKey";

std::atomic<std::uint64_t> g_nextKey{1};
std::mutex g_liveMutex;

std::unordered_map<std::uint64_t, Window*>& LiveWindows() {
    static std::unordered_map<std::uint64_t, Window*> live;
    return live;
}

std::uint64_t g_captureKey = 0;

}  // namespace

// ---- WindowImpl -------------------------------------------------------------------------

WindowImpl::WindowImpl(Window* owner_) : owner(owner_), key(g_nextKey++) {
    std::lock_guard lock(g_liveMutex);
    LiveWindows()[key] = owner;
}

WindowImpl::~WindowImpl() {
    std::lock_guard lock(g_liveMutex);
    LiveWindows().erase(key);
}

void WindowImpl::Attach(QWidget* native, bool host) {
    widget = native;
    isHost = host;
    native->setProperty(kWindowKeyProperty, QVariant::fromValue<qulonglong>(key));
    if (!host) {
        if (!accessibleName.empty()) {
            native->setAccessibleName(ToQString(accessibleName));
        }
        auto* filter = new ControlEventBridge(owner, native);
        native->installEventFilter(filter);
        bridge = filter;
    }
}

void WindowImpl::ReleaseWidget() {
    QWidget* native = widget.data();
    widget.clear();
    if (native == nullptr) {
        return;
    }
    native->setProperty(kWindowKeyProperty, QVariant());
    if (auto* host = dynamic_cast<HostWidget*>(native)) {
        host->Orphan();
    }
    if (bridge) {
        static_cast<ControlEventBridge*>(bridge.data())->Orphan();
        bridge.clear();
    }
    if (native->mouseGrabber() == native) {
        native->releaseMouse();
    }
    // Signals of controls reach their Window through lambdas: cut them before deletion.
    QObject::disconnect(native, nullptr, nullptr, nullptr);
    native->hide();
    // Deleted from the event loop: this may run inside one of the widget's own handlers.
    native->deleteLater();
}

LResult WindowImpl::Dispatch(std::uint32_t message, WParam wParam, LParam lParam) {
    return owner->WindowProc(message, wParam, lParam);
}

Window* WindowImpl::FindLive(std::uint64_t key) {
    std::lock_guard lock(g_liveMutex);
    auto it = LiveWindows().find(key);
    return it != LiveWindows().end() ? it->second : nullptr;
}

Window* WindowImpl::FromWidget(const QObject* native) {
    if (native == nullptr) {
        return nullptr;
    }
    const QVariant v = native->property(kWindowKeyProperty);
    if (!v.isValid()) {
        return nullptr;
    }
    return FindLive(v.toULongLong());
}

Window* WindowImpl::OwnerOf(const QWidget* native) {
    for (const QWidget* w = native; w != nullptr; w = w->parentWidget()) {
        if (Window* window = FromWidget(w)) {
            return window;
        }
    }
    return nullptr;
}

// ---- Window -----------------------------------------------------------------------------

Window::Window() : impl_(std::make_unique<WindowImpl>(this)) {}

Window::~Window() {
    // Derived parts are already gone, so kWmDestroy is not sent to this window from here;
    // children still alive get theirs. Call Destroy() first to handle kWmDestroy.
    DestroyWindow(false);
    if (parent_ != nullptr) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_ = nullptr;
    }
}

bool Window::Create(Window* parent, int controlId, const Rect& rect, std::uint32_t style) {
    if (IsCreated()) {
        return false;
    }
    if (parent != nullptr && !parent->IsCreated()) {
        return false;
    }
    controlId_ = controlId;
    parent_ = parent;
    style_ = style;
    if (!CreateNative(rect) || impl_->widget.isNull()) {
        parent_ = nullptr;
        return false;
    }
    QWidget* native = impl_->widget.data();
    if (parent == nullptr) {
        // The program draws its own frame.
        native->setWindowFlags(native->windowFlags() | Qt::FramelessWindowHint);
        native->setGeometry(ToQRect(rect));
    }
    if (parent != nullptr) {
        parent->children_.push_back(this);
    }
    if (!impl_->text.empty()) {
        SetText(impl_->text);
    }
    if (impl_->hasBackground) {
        SetBackgroundColor(impl_->background);
    }
    if (impl_->cursor != CursorShape::kArrow) {
        SetCursor(impl_->cursor);
    }
    native->setVisible((style & kStyleVisible) != 0);
    return true;
}

bool Window::CreateNative(const Rect& rect) {
    QWidget* parentWidget = parent_ != nullptr ? parent_->impl_->ContainerWidget() : nullptr;
    auto* host = new HostWidget(this, parentWidget);
    host->setGeometry(ToQRect(rect));
    impl_->Attach(host, true);
    return true;
}

void Window::Destroy() {
    DestroyWindow(true);
}

void Window::DestroyWindow(bool notifySelf) {
    if (!IsCreated() || impl_->destroying) {
        return;
    }
    impl_->destroying = true;
    if (notifySelf) {
        SendMessage(kWmDestroy, 0, 0);
    }
    // Children go first, each with its own kWmDestroy, and are detached from this window.
    const std::vector<Window*> children = children_;
    for (Window* child : children) {
        child->Destroy();
    }
    children_.clear();
    KillAllWindowTimers(impl_->key);
    if (impl_->published) {
        WithdrawTopLevelWindow(this);
    }
    if (g_captureKey == impl_->key) {
        g_captureKey = 0;
    }
    impl_->ReleaseWidget();
    if (parent_ != nullptr) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_ = nullptr;
    }
    impl_->destroying = false;
}

bool Window::IsCreated() const {
    return !impl_->widget.isNull();
}

Window* Window::Child(int id) const {
    for (Window* child : children_) {
        if (child->controlId_ == id) {
            return child;
        }
        if (Window* deeper = child->Child(id)) {
            return deeper;
        }
    }
    return nullptr;
}

void Window::Show(bool visible) {
    if (visible) {
        style_ |= kStyleVisible;
    } else {
        style_ &= ~static_cast<std::uint32_t>(kStyleVisible);
    }
    if (QWidget* w = impl_->widget.data()) {
        w->setVisible(visible);
    }
}

bool Window::IsVisible() const {
    const QWidget* w = impl_->widget.data();
    return w != nullptr && w->isVisible();
}

void Window::ShowMinimized() {
    if (QWidget* w = impl_->widget.data()) {
        w->showMinimized();
    }
}

bool Window::IsMinimized() const {
    const QWidget* w = impl_->widget.data();
    return w != nullptr && w->isMinimized();
}

void Window::Restore() {
    if (QWidget* w = impl_->widget.data()) {
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        style_ |= kStyleVisible;
    }
}

void Window::BringToForeground() {
    if (QWidget* w = impl_->widget.data()) {
        QWidget* top = w->window();
        top->raise();
        top->activateWindow();
    }
}

void Window::Move(const Rect& rect) {
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    if (parent_ == nullptr) {
        MoveTopLevel({rect.left, rect.top, rect.Width(), rect.Height(), 0});
        return;
    }
    w->setGeometry(ToQRect(rect));
}

void Window::MoveTopLevel(WindowPos pos) {
    const std::uint64_t key = impl_->key;
    SendMessage(kWmWindowPosChanging, 0, reinterpret_cast<LParam>(&pos));
    // The handler may have destroyed the window.
    QWidget* w = WindowImpl::FindLive(key) == this ? impl_->widget.data() : nullptr;
    if (w == nullptr) {
        return;
    }
    const QRect now = w->geometry();
    const QPoint topLeft = (pos.flags & kSwpNoMove) ? now.topLeft() : QPoint(pos.x, pos.y);
    const QSize size =
        (pos.flags & kSwpNoSize) ? now.size() : QSize(std::max(0, pos.cx), std::max(0, pos.cy));
    // The program's own moves may go below the smallest tracking size (kWmGetMinMaxInfo); the
    // window manager's resizes (a frame drag, tiling) keep to it, or to the size the program
    // chose last when that is smaller.
    w->setMinimumSize(0, 0);
    w->setGeometry(QRect(topLeft, size));
    if (WindowImpl::FindLive(key) != this) {
        return;
    }
    const Size smallest = QueryMinMaxInfo().minTrackSize;
    w->setMinimumSize(std::clamp(smallest.cx, 0, size.width()),
                      std::clamp(smallest.cy, 0, size.height()));
}

Rect Window::WindowRect() const {
    const QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return {};
    }
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    return Rect::FromXYWH(origin.x(), origin.y(), w->width(), w->height());
}

Rect Window::ClientRect() const {
    const QWidget* w = impl_->widget.data();
    return w != nullptr ? Rect{0, 0, w->width(), w->height()} : Rect{};
}

Point Window::ClientToScreen(Point p) const {
    const QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return p;
    }
    const QPoint s = w->mapToGlobal(QPoint(p.x, p.y));
    return {s.x(), s.y()};
}

Point Window::ScreenToClient(Point p) const {
    const QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return p;
    }
    const QPoint c = w->mapFromGlobal(QPoint(p.x, p.y));
    return {c.x(), c.y()};
}

void Window::CenterOnScreen() {
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    const Rect frame = WindowRect();
    const Rect area = WorkAreaUnder(frame);
    const Rect centred = Rect::FromXYWH(area.left + (area.Width() - frame.Width()) / 2,
                                        area.top + (area.Height() - frame.Height()) / 2,
                                        frame.Width(), frame.Height());
    if (parent_ == nullptr) {
        Move(centred);
        return;
    }
    if (QWidget* parentWidget = w->parentWidget()) {
        w->move(parentWidget->mapFromGlobal(QPoint(centred.left, centred.top)));
    }
}

MinMaxInfo Window::QueryMinMaxInfo() {
    const Rect area = WorkAreaUnder(WindowRect());
    Rect desktop;
    for (const Screen& screen : Screens()) {
        const Rect& g = screen.geometry;
        desktop = desktop.IsEmpty()
                      ? g
                      : Rect{std::min(desktop.left, g.left), std::min(desktop.top, g.top),
                             std::max(desktop.right, g.right), std::max(desktop.bottom, g.bottom)};
    }
    MinMaxInfo info;
    info.maxSize = {area.Width(), area.Height()};
    info.maxPosition = {area.left, area.top};
    info.minTrackSize = {1, 1};
    info.maxTrackSize = {desktop.Width(), desktop.Height()};
    SendMessage(kWmGetMinMaxInfo, 0, reinterpret_cast<LParam>(&info));
    return info;
}

bool Window::IsMovingWithPointer() const {
    return impl_->movingWithPointer;
}

void Window::RaiseToTop() {
    if (QWidget* w = impl_->widget.data()) {
        w->raise();
    }
}

void Window::SetRegion(const Region& region) {
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    if (region.IsEmpty()) {
        // The toolkit reads an empty mask as "no mask"; one pixel outside the window shows
        // nothing of it.
        w->setMask(QRegion(-2, -2, 1, 1));
    } else {
        w->setMask(region.Impl()->region);
    }
}

void Window::ClearRegion() {
    if (QWidget* w = impl_->widget.data()) {
        w->clearMask();
    }
}

bool Window::HasRegion() const {
    const QWidget* w = impl_->widget.data();
    return w != nullptr && !w->mask().isEmpty();
}

void Window::SetCursor(CursorShape shape) {
    impl_->cursor = shape;
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    switch (shape) {
        case CursorShape::kArrow:
            w->unsetCursor();
            break;
        case CursorShape::kHand:
            w->setCursor(Qt::PointingHandCursor);
            break;
        case CursorShape::kSizeWE:
            w->setCursor(Qt::SizeHorCursor);
            break;
        case CursorShape::kSizeNS:
            w->setCursor(Qt::SizeVerCursor);
            break;
        case CursorShape::kSizeNWSE:
            w->setCursor(Qt::SizeFDiagCursor);
            break;
        case CursorShape::kSizeNESW:
            w->setCursor(Qt::SizeBDiagCursor);
            break;
        case CursorShape::kSizeAll:
            w->setCursor(Qt::SizeAllCursor);
            break;
    }
}

CursorShape Window::Cursor() const {
    return impl_->cursor;
}

void Window::SetBackgroundColor(ColorRef color) {
    impl_->hasBackground = true;
    impl_->background = color;
    if (QWidget* w = impl_->widget.data()) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Window, ToQColor(color));
        w->setPalette(palette);
        w->update();
    }
}

ColorRef Window::BackgroundColor() const {
    if (impl_->hasBackground) {
        return impl_->background;
    }
    const QWidget* w = impl_->widget.data();
    return w != nullptr ? FromQRgb(w->palette().window().color().rgb()) : Rgb(255, 255, 255);
}

Window* Window::NextGroupItem(bool previous) {
    if (parent_ == nullptr) {
        return this;
    }
    const std::vector<Window*>& siblings = parent_->children_;
    const auto here = std::find(siblings.begin(), siblings.end(), this);
    if (here == siblings.end()) {
        return this;
    }
    const std::size_t index = static_cast<std::size_t>(here - siblings.begin());
    std::size_t first = index;
    while (first > 0 && !(siblings[first]->style_ & kStyleGroup)) {
        --first;
    }
    std::size_t end = index + 1;
    while (end < siblings.size() && !(siblings[end]->style_ & kStyleGroup)) {
        ++end;
    }
    const std::size_t count = end - first;
    const std::size_t offset = index - first;
    const std::size_t next = previous ? (offset + count - 1) % count : (offset + 1) % count;
    return siblings[first + next];
}

void Window::SetFocus() {
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    QWidget* top = w->window();
    if (top->isVisible() && QApplication::activeWindow() != top) {
        // Focus only moves inside the active window; headless there is no window manager to
        // activate it for us.
        QApplication::setActiveWindow(top);
    }
    w->setFocus(Qt::OtherFocusReason);
}

bool Window::HasFocus() const {
    return Focused() == this;
}

Window* Window::Focused() {
    return WindowImpl::OwnerOf(QApplication::focusWidget());
}

void Window::SetCapture() {
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    Window* previous = Capture();
    if (w->isVisible()) {
        w->grabMouse();
    }
    g_captureKey = impl_->key;
    if (previous != nullptr && previous != this) {
        previous->impl_->EndPointerMove();
        previous->SendMessage(kWmCaptureChanged, 0, 0);
    }
}

void CancelCapture(const Window* topLevel) {
    Window* holder = Window::Capture();
    if (holder == nullptr) {
        return;
    }
    const Window* top = holder;
    while (top->Parent() != nullptr) {
        top = top->Parent();
    }
    if (topLevel != nullptr && top != topLevel) {
        return;
    }
    Window::ReleaseCapture();
    holder->Impl()->EndPointerMove();
    holder->SendMessage(kWmCaptureChanged, 0, 0);
}

void Window::ReleaseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber()) {
        grabber->releaseMouse();
    }
    g_captureKey = 0;
    // The next pointer move over a window would show that window's own shape again.
    SetProgramCursor(CursorShape::kArrow);
}

Window* Window::Capture() {
    return g_captureKey != 0 ? WindowImpl::FindLive(g_captureKey) : nullptr;
}

void Window::Enable(bool enabled) {
    if (QWidget* w = impl_->widget.data()) {
        w->setEnabled(enabled);
    }
}

bool Window::IsEnabled() const {
    const QWidget* w = impl_->widget.data();
    return w != nullptr && w->isEnabled();
}

void Window::SetText(std::string_view cp949) {
    impl_->text.assign(cp949);
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    const QString text = ToQString(cp949);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(text);
    } else {
        w->setWindowTitle(text);
    }
    if (parent_ == nullptr) {
        PublishTopLevelWindow(this, cp949);
    }
}

std::string Window::Text() const {
    return impl_->text;
}

void Window::SetOwnsMouseInput(bool owns) {
    impl_->ownsMouseInput = owns;
}

namespace {

// Where a widget shows its client area: a scroll area (a list view) draws its rows on its
// viewport, a child placed inside it (below a list's heading row); every other window draws on
// itself. Null for the latter.
QWidget* ViewportOf(QWidget* w) {
    auto* area = qobject_cast<QAbstractScrollArea*>(w);
    return area != nullptr ? area->viewport() : nullptr;
}

// `region` of `w`'s client area in its viewport's coordinates.
QRegion InViewport(const QRegion& region, const QWidget* viewport) {
    return region.translated(-viewport->pos()).intersected(viewport->rect());
}

}  // namespace

void Window::Invalidate() {
    if (QWidget* w = impl_->widget.data()) {
        impl_->pendingUpdate = QRegion(w->rect());
        w->update();
        if (QWidget* viewport = ViewportOf(w)) {
            viewport->update();
        }
    }
}

void Window::InvalidateRect(const Rect& rect) {
    if (QWidget* w = impl_->widget.data(); w != nullptr && !rect.IsEmpty()) {
        const QRect part = ToQRect(rect).intersected(w->rect());
        impl_->pendingUpdate += part;
        w->update(part);
        if (QWidget* viewport = ViewportOf(w)) {
            viewport->update(InViewport(part, viewport));
        }
    }
}

void Window::UpdateNow() {
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    // Only what was marked is painted; with nothing marked, the whole window, as callers that
    // changed what it shows without marking anything expect.
    const QRegion marked =
        impl_->pendingUpdate.isEmpty() ? QRegion(w->rect()) : impl_->pendingUpdate;
    if (QWidget* viewport = ViewportOf(w)) {
        // The viewport's paint does not pass through this window's own paint, which clears
        // what was marked: it is cleared here.
        impl_->pendingUpdate = QRegion();
        const QRegion rows = InViewport(marked, viewport);
        if (!rows.isEmpty()) {
            viewport->repaint(rows);
        }
    }
    w->repaint(marked);
}

LResult Window::SendMessage(std::uint32_t message, WParam wParam, LParam lParam) {
    return WindowProc(message, wParam, lParam);
}

void Window::PostMessage(std::uint32_t message, WParam wParam, LParam lParam) {
    PostToWindow(impl_->key, message, wParam, lParam);
}

void Window::SetTimer(int id, std::uint32_t periodMs) {
    SetWindowTimer(this, id, periodMs);
}

void Window::KillTimer(int id) {
    KillWindowTimer(impl_->key, id);
}

bool Window::HasTimer(int id) const {
    return HasWindowTimer(impl_->key, id);
}

std::uint32_t Window::TimerPeriod(int id) const {
    return WindowTimerPeriod(impl_->key, id);
}

void Window::ShowSystemMenu() {
    if (systemMenu_.Items().empty() || !IsCreated()) {
        return;
    }
    const Rect frame = WindowRect();
    const std::uint64_t key = impl_->key;
    const int chosen = systemMenu_.Track(nullptr, {frame.left, frame.top});
    // The menu runs its own loop, in which the window may have gone.
    if (chosen != 0 && WindowImpl::FindLive(key) == this) {
        SendMessage(kWmSysCommand, static_cast<WParam>(chosen), 0);
    }
}

LResult Window::WindowProc(std::uint32_t message, WParam wParam, LParam lParam) {
    LResult result = 0;
    if (messages_.Dispatch({this, message, wParam, lParam}, &result)) {
        return result;
    }
    return DefaultProc(message, wParam, lParam);
}

LResult Window::DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
        case kWmSysCommand:
            // The low four bits belong to the system.
            switch (static_cast<int>(wParam & 0xFFF0)) {
                case kScRestore:
                    Show(true);
                    Restore();
                    BringToForeground();
                    return 0;
                case kScMinimize:
                    ShowMinimized();
                    return 0;
                case kScClose:
                    SendMessage(kWmClose, 0, 0);
                    return 0;
                default:
                    return 0;
            }
        case kWmClose:
            Destroy();
            return 0;
        case kWmNcLButtonDown:
            if (static_cast<int>(wParam) == kHtCaption && parent_ == nullptr) {
                impl_->StartPointerMove({XFromLParam(lParam), YFromLParam(lParam)});
            }
            return 0;
        default:
            return 0;
    }
}

// Declared with the drawing context; the paint context is the window's own.
DC* DC::ForPaint(Window& window) {
    return window.Impl()->paintDC;
}

}  // namespace plat
