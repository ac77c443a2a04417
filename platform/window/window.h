// A window with a control id, a parent and children, and a message table: the unit every
// control and dialog of the program is built from. A Window owns a native widget once Create
// succeeds; the native widget is destroyed with the Window (or by Destroy()).
//
// Messages reach a window through SendMessage (synchronous), PostMessage (queued on the thread's
// event loop) and the native toolkit (input, paint, size), which the platform turns into the same
// message numbers. Every queued or input message passes the application's pre-dispatch hook first.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/message_map.h"
#include "platform/core/messages.h"
#include "platform/core/types.h"
#include "platform/window/menu.h"

namespace plat {

class Region;
struct WindowImpl;

// Window style bits the program asks for by name.
enum WindowStyle : std::uint32_t {
    kStyleChild = 0x40000000,
    kStyleVisible = 0x10000000,
    kStylePopup = 0x80000000,
    kStyleMinimizeBox = 0x00020000,
    kStyleGroup = 0x00020000,  // on a child: the first control of a group (same bit)
    kStyleSysMenu = 0x00080000,
};

// Pointer shapes a window can show.
enum class CursorShape { kArrow, kHand, kSizeWE, kSizeNS, kSizeNWSE, kSizeNESW, kSizeAll };

// kWmWindowPosChanging: lParam points to the position and size a top-level window is about to
// take; the handler may change them (flags say which of the two stay as they are).
struct WindowPos {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    unsigned flags = 0;
};
inline constexpr unsigned kSwpNoSize = 0x0001;
inline constexpr unsigned kSwpNoMove = 0x0002;

// kWmGetMinMaxInfo: lParam points to the sizes the window accepts; the handler changes what it
// wants. Defaults: maximised size and position = the work area of the window's screen, smallest
// tracking size 1 x 1, largest = the whole desktop.
struct MinMaxInfo {
    Size maxSize;
    Point maxPosition;
    Size minTrackSize;
    Size maxTrackSize;
};

// What assistive technology (a screen reader, a switch device: Qt's accessibility, AT-SPI on
// Linux) is told a window is, besides its name. Qt's own controls (push button, edit box, combo
// box, list view) report their role and state themselves; windows the platform paints
// describe themselves with Window::Accessibility().
enum class AccessibleRole { kPane, kButton, kCheckBox, kRadioButton, kSlider, kScrollBar };
struct AccessibleInfo {
    AccessibleRole role = AccessibleRole::kPane;
    bool checked = false;  // check boxes and radio buttons
    bool pressed = false;  // a button held down
    int value = 0;         // sliders and scroll bars: the position in [minimum, maximum]
    int minimum = 0;
    int maximum = 0;
};

class Window {
  public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the native window. `parent` null makes a top-level window; `rect` is in the
    // parent's client coordinates (screen for top level). Returns false if already created.
    bool Create(Window* parent, int controlId, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);
    // Destroys the native window and its children; sends kWmDestroy first. Safe to call twice.
    // The destructor destroys too, but sends kWmDestroy only to children still alive.
    void Destroy();
    bool IsCreated() const;

    int ControlId() const { return controlId_; }
    Window* Parent() const { return parent_; }
    const std::vector<Window*>& Children() const { return children_; }
    // The direct or indirect child with `id`, or null.
    Window* Child(int id) const;

    void Show(bool visible);
    bool IsVisible() const;
    // Minimized state of a top-level window.
    void ShowMinimized();
    bool IsMinimized() const;
    void Restore();
    void BringToForeground();

    // Position and size in the parent's client coordinates (screen for top level). A top-level
    // window first gets kWmWindowPosChanging, whose handler may change the rectangle.
    void Move(const Rect& rect);
    void Move(int x, int y, int width, int height) { Move(Rect::FromXYWH(x, y, width, height)); }
    Rect WindowRect() const;  // in screen coordinates
    Rect ClientRect() const;  // always at (0, 0)
    Point ClientToScreen(Point p) const;
    Point ScreenToClient(Point p) const;
    // Centres a top-level window in the work area of the screen under its centre (a child in
    // its parent); through Move, so kWmWindowPosChanging applies.
    void CenterOnScreen();
    // Asks the window for its sizes with kWmGetMinMaxInfo.
    MinMaxInfo QueryMinMaxInfo();
    // While the window moves with the pointer (a kWmNcLButtonDown with kHtCaption started it;
    // the left button's release ends it).
    bool IsMovingWithPointer() const;

    void RaiseToTop();
    // The window's visible and clickable shape, in client coordinates. An empty region hides
    // the whole window (it still exists and keeps its size); ClearRegion shows all of it.
    void SetRegion(const Region& region);
    void ClearRegion();
    bool HasRegion() const;

    // The pointer shape shown while the pointer is over the window.
    void SetCursor(CursorShape shape);
    CursorShape Cursor() const;
    // The icon of a top-level window (title bar, task switcher) from icon resource `id`;
    // false when the resource is unknown.
    bool SetIcon(int iconResourceId);
    // The colour the window's surface starts from before it paints, and the paint DC's
    // background colour. The toolkit's window colour unless set.
    void SetBackgroundColor(ColorRef color);
    ColorRef BackgroundColor() const;

    // The next (or previous) sibling of this window in its dialog group, wrapping around inside
    // the group. A group starts at a child with kStyleGroup and runs until the next one (in
    // creation order). Returns this window when it is alone in its group.
    Window* NextGroupItem(bool previous = false);

    void SetFocus();
    bool HasFocus() const;
    static Window* Focused();  // the window holding keyboard focus (the control, not its dialog)

    // Mouse capture: while a window holds it, every pointer event goes to that window. Releasing
    // it also ends a program-wide pointer shape (platform/window/cursor.h).
    void SetCapture();
    static void ReleaseCapture();
    static Window* Capture();

    void Enable(bool enabled);
    bool IsEnabled() const;

    // Window text in CP949 (the title of a top-level window, the caption of a button, ...).
    virtual void SetText(std::string_view cp949);
    virtual std::string Text() const;

    // The name assistive technology reads for the window, CP949. Unset (empty), it is the
    // window text, else the text of the tooltip bound to the window.
    void SetAccessibleName(std::string_view cp949);
    std::string AccessibleName() const;
    // Role and state for assistive technology; the default is a pane.
    virtual AccessibleInfo Accessibility() const;
    // Assistive technology's requests: press the window (a button clicks) or set its value (a
    // slider moves as if dragged there). False when the window does neither; the defaults.
    virtual bool AccessiblePress();
    virtual bool AccessibleSetValue(int value);
    // Tab moves through `windows` in this order (Shift+Tab back); windows not listed keep
    // their place after them. Hidden and disabled windows are passed over.
    static void SetTabOrder(const std::vector<Window*>& windows);

    void AddStyle(std::uint32_t style) { style_ |= style; }
    std::uint32_t Style() const { return style_; }

    // Marks the whole window, or `rect` (client coordinates), to be painted again; the next
    // paint's DC draws only inside what was marked.
    void Invalidate();
    void InvalidateRect(const Rect& rect);
    void UpdateNow();  // paints invalid parts at once

    LResult SendMessage(std::uint32_t message, WParam wParam = 0, LParam lParam = 0);
    // Queues the message; it is delivered on the thread's event loop after the pre-dispatch hook.
    void PostMessage(std::uint32_t message, WParam wParam = 0, LParam lParam = 0);
    // Sends kWmCommand for `id` with code kBnClicked, as a button click or menu choice does.
    void SendCommand(int id) { SendMessage(kWmCommand, MakeWParam(id, 0), 0); }

    // Window timers by id (Clock-driven): kWmTimer with wParam = id every `periodMs`.
    // Setting an existing id restarts it with the new period.
    void SetTimer(int id, std::uint32_t periodMs);
    void KillTimer(int id);
    bool HasTimer(int id) const;
    std::uint32_t TimerPeriod(int id) const;  // 0 when not running

    MessageMap& Messages() { return messages_; }

    // Marks a window that handles its own mouse input (the browser): its mouse presses skip the
    // pre-dispatch hook. Off by default.
    void SetOwnsMouseInput(bool owns);

    // The window's system menu: empty until items are appended. Alt+Space on a window whose
    // top-level window has a non-empty system menu shows it (ShowSystemMenu); a choice arrives
    // as kWmSysCommand with the item's id.
    PopupMenu& SystemMenu() { return systemMenu_; }
    // Tracks the system menu at the window's top-left corner; does nothing when it is empty.
    void ShowSystemMenu();

    // Native handle for platform internals only.
    WindowImpl* Impl() const { return impl_.get(); }

  protected:
    // Runs the message table, then DefaultProc for what it did not take.
    virtual LResult WindowProc(std::uint32_t message, WParam wParam, LParam lParam);
    virtual LResult DefaultProc(std::uint32_t message, WParam wParam, LParam lParam);
    // Lets controls create their own native widget instead of a plain one.
    virtual bool CreateNative(const Rect& rect);

    std::unique_ptr<WindowImpl> impl_;

  private:
    friend struct WindowImpl;
    // Move() of a top-level window: kWmWindowPosChanging, then the (changed) rectangle.
    void MoveTopLevel(WindowPos pos);
    // Destroy(); `notifySelf` false skips this window's own kWmDestroy (used by the destructor,
    // when the derived parts that would handle it are gone).
    void DestroyWindow(bool notifySelf);
    friend class Application;
    int controlId_ = 0;
    PopupMenu systemMenu_;
    Window* parent_ = nullptr;
    std::vector<Window*> children_;
    std::uint32_t style_ = 0;
    MessageMap messages_;
};

}  // namespace plat
