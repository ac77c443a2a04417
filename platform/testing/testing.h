// Hooks for tests: input injected through the real native event path (so the pre-dispatch
// hook and the controls' own notifications run), and interception of the blocking
// interactions (menus, message boxes) that a headless test cannot click.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/types.h"
#include "platform/desktop/tray_icon.h"
#include "platform/draw/draw.h"
#include "platform/window/interception.h"
#include "platform/window/menu.h"
#include "platform/window/screens.h"

namespace plat {
class Dialog;
class Window;
}  // namespace plat

namespace plat::testing {

// Key press (and release) of virtual key `vk` on `target`, which gets the focus first.
void PressKey(plat::Window& target, int vk);
// Key press of `vk` with the Alt key held (Alt+Space opens the system menu).
void PressAltKey(plat::Window& target, int vk);
// Types CP949 text into `target` as key presses.
void TypeText(plat::Window& target, const std::string& cp949);
// Mouse button press/release at a client point of `target` (button: 1 left, 2 right, 3 middle).
// While a window holds the capture, the event goes to that window instead, as the system sends it.
void MouseDown(plat::Window& target, Point client, int button = 1);
void MouseUp(plat::Window& target, Point client, int button = 1);
void MouseClick(plat::Window& target, Point client, int button = 1);
// Mouse move to a client point of `target`; `heldButton` 1 or 2 while a button is held, else 0.
void MouseMove(plat::Window& target, Point client, int heldButton = 0);
void MouseDoubleClick(plat::Window& target, Point client, int button = 1);
// While a window holds the mouse capture, MouseMove and MouseUp reach it (in its own client
// coordinates) wherever the point lies, as real pointer input does.
// The pointer leaves `target` (it gets kWmMouseLeave).
void MouseLeave(plat::Window& target);
// Wheel turn of `delta` (120 = one notch away from the user) over a client point of `target`.
void MouseWheel(plat::Window& target, Point client, int delta);
// Drags the local files `paths` from the desktop over a client point of `target` and drops them
// there, as a file manager does, then handles the events that follow. Returns whether the drop
// was accepted.
bool DropFiles(plat::Window& target, const std::vector<std::string>& paths, Point client);

// The pixels `window` (and its children) shows now, painted afresh, at the screen's device
// pixels: a logical pixel (x, y) is at (x * scale, y * scale) with scale = DeviceScale(window).
plat::Bitmap GrabWindow(plat::Window& window);
// The window's own surface as the paints so far left it, without painting anything again, so
// a test sees which parts a repaint touched; children are not in it. Null for a window the
// platform did not create itself (a control) or one never painted.
plat::Bitmap PaintedSurface(plat::Window& window);
int DeviceScale(plat::Window& window);

// Runs `body` once on the event loop, after the events already pending: a test calls it just
// before DoModal() to act inside the dialog's loop.
void RunSoon(std::function<void()> body);
// Runs the event loop for `milliseconds`, sleeping between events as a modal loop does (no
// polling), then returns: a benchmark measures what the player costs while it waits for input.
void RunEventLoopFor(int milliseconds);
// The innermost dialog whose modal loop is running, or null.
Dialog* ActiveModalDialog();

// What assistive technology reads of a window through the toolkit's accessibility interface
// (QAccessible), the one a screen reader reaches over AT-SPI.
struct AccessibleView {
    // "window", "pane", "button", "check box", "radio button", "slider", "scroll bar", "edit",
    // "combo box", "tree", "list", or "role N" for any other.
    std::string role;
    std::string name;  // CP949
    bool focusable = false;
    bool focused = false;
    bool checkable = false;
    bool checked = false;
    bool pressed = false;
    bool disabled = false;
    bool hasValue = false;  // a value interface: current, minimum and maximum
    int current = 0;
    int minimum = 0;
    int maximum = 0;
    std::vector<std::string> actions;  // the toolkit's action names ("Press", "SetFocus", ...)
};
AccessibleView ReadAccessible(plat::Window& window);
// The names the rows of a list view are read by, top to bottom (the first cell of each row).
std::vector<std::string> ReadAccessibleRows(plat::Window& list);
// Assistive technology presses the window (its "Press" action) or sets its value.
void PressAccessible(plat::Window& window);
void SetAccessibleValue(plat::Window& window, int value);

}  // namespace plat::testing
