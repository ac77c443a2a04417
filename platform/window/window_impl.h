// Platform-internal: what a Window holds of the native toolkit, the table of live windows (so a
// message posted to a window destroyed meanwhile is dropped), and the translation of Qt input
// events into messages.
#pragma once

#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/draw/draw.h"
#include "platform/window/window.h"

class QEvent;
class QImage;

namespace plat {

struct WindowImpl {
    explicit WindowImpl(Window* owner);
    ~WindowImpl();

    // Binds `widget` as the native window of the owner. `isHost` marks the platform's own host
    // widget, which turns paint, size and input events into messages itself.
    void Attach(QWidget* widget, bool isHost);
    // Unbinds and schedules the widget's deletion; its pending events reach nobody.
    void ReleaseWidget();
    // The widget children of this window are created in.
    QWidget* ContainerWidget() const { return widget.data(); }

    // Runs the owner's WindowProc.
    LResult Dispatch(std::uint32_t message, WParam wParam, LParam lParam);

    // Moving a top-level window with the pointer (platform/window/window_move.cpp): started by
    // kWmNcLButtonDown with kHtCaption at screen point `grab`; every pointer move then moves the
    // window through kWmWindowPosChanging, so its handler can snap it; the left button's release
    // (or a move without it held) ends it. While it runs the window gets no mouse messages.
    void StartPointerMove(Point grab);
    void MoveWithPointer(Point pointer, bool leftHeld);
    void EndPointerMove();

    // The live window with `key`, or null once it has been destroyed (thread-safe lookup; use
    // the result on the user-interface thread only).
    static Window* FindLive(std::uint64_t key);
    // The Window whose native widget is exactly `widget`, or null.
    static Window* FromWidget(const QObject* widget);
    // The nearest Window owning `widget` or one of its ancestors, or null.
    static Window* OwnerOf(const QWidget* widget);

    Window* owner;
    const std::uint64_t key;
    QPointer<QWidget> widget;
    QPointer<QObject> bridge;  // the ControlEventBridge of a Qt control, if any
    bool isHost = false;
    bool ownsMouseInput = false;
    bool destroying = false;
    DC* paintDC = nullptr;       // set only while the window handles paint messages
    std::string text;            // CP949 window text as last set
    std::string accessibleName;  // CP949, empty: the window text or tooltip text
    std::string toolTip;         // CP949 text of the tooltip bound to the window, shown or not
    bool published = false;
    bool hasBackground = false;
    ColorRef background = 0;
    CursorShape cursor = CursorShape::kArrow;
    // What Invalidate and InvalidateRect marked and no paint has covered yet (client pixels).
    QRegion pendingUpdate;
    bool movingWithPointer = false;
    Point moveGrabOffset;  // the grab point relative to the window's top-left corner
};

// Marks the span in which a window paints (program code drawing into a paint DC); script calls
// refuse to wait for a page from inside it.
class PaintScope {
  public:
    PaintScope();
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
};
bool InsidePaint();

// Virtual key code for a Qt key, 0 when the program has no code for it.
int VirtualKeyFromQt(int qtKey);
// Qt key for a virtual key code, Qt::Key_unknown (0x01ffffff) when none.
int QtKeyFromVirtualKey(int vk);
// kMk* flags for the buttons held during a mouse event.
WParam MouseFlags(Qt::MouseButtons buttons);

// Turns a key press or mouse button press/double-click aimed at `receiver` into the message
// the pre-dispatch hook sees; message 0 when the event means nothing to the program.
Message InputMessageFor(QWidget* receiver, QEvent* event);

}  // namespace plat
