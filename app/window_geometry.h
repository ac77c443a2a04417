// The geometry of the main window's modes, as pure functions of sizes, points and screens: the
// big-video rectangle, the mini rectangle, snapping to the work area, the resize handles and
// the top bar, the resize outline, the window region and where a maximised window goes.
// Nothing here touches a window; app/window_modes.h applies the results.
#pragma once

#include <vector>

#include "platform/core/types.h"
#include "platform/window/screens.h"
#include "platform/window/window.h"

namespace tunova {

inline constexpr int kTopBarHeight = 27;
inline constexpr int kMiniWidth = 400;
inline constexpr int kMiniHeight = 176;
inline constexpr int kSnapDistance = 10;

// The browser control's rectangle in big-video view of a `client` area: 1.4 : 1, from y 203.
plat::Rect BigVideoRect(plat::Size client);

// The mini window: 400 x 176 with its bottom-right corner at the work area's.
plat::Rect MiniRect(const plat::Rect& workArea);

// The position a window of `size` proposed at `proposed` snaps to: an edge that comes within 10
// pixels of the work area's edge from inside moves onto it; a window already beyond an edge,
// or exactly on it, stays. Measured from the work area's own origin.
plat::Point SnapToWorkArea(plat::Point proposed, plat::Size size, const plat::Rect& workArea);

// The centre of a rectangle (integer division).
plat::Point CentreOf(const plat::Rect& rect);

// Where the maximise command puts a window now at `window`: the work area of the screen under
// its centre (the first screen's when there is none); `window` itself for no screens.
plat::Rect MaximizeTarget(const plat::Rect& window, const std::vector<plat::Screen>& screens);

// Resize handles, numbered as the mouse code knows them; 0 is "none".
enum ResizeHandle : int {
    kNoHandle = 0,
    kHandleLeft = 1,
    kHandleTopLeft = 2,
    kHandleTop = 3,
    kHandleTopRight = 4,
    kHandleRight = 5,
    kHandleBottomRight = 6,
    kHandleBottom = 7,
    kHandleBottomLeft = 8,
};
// Handle `handle`'s area in a `client` area (client pixels); empty for kNoHandle.
plat::Rect HandleRect(int handle, plat::Size client);
// The handle under `point`, testing left, right, bottom, bottom-left, bottom-right, top,
// top-left, top-right in that order; kNoHandle when none.
int HandleAt(plat::Point point, plat::Size client);
// Whether `point` is in the top bar (0, 0)-(W, 27) and outside every handle.
bool InTopBar(plat::Point point, plat::Size client);

// The pointer shape over each handle (the arrow for kNoHandle).
plat::CursorShape CursorForHandle(int handle);

// The outline while `handle` is dragged: the dragged edges of `start` (the window's screen
// rectangle when the button went down) move by `moved` (the pointer's travel since then), the
// others stay, and a dragged edge stops where the outline would become smaller than `minimum`.
plat::Rect ResizeOutline(int handle, const plat::Rect& start, plat::Point moved,
                         plat::Size minimum);

// The window's visible shape for a `client` area, as disjoint rectangles, one per row where a
// corner is cut and one for the rest: the top corners rounded (a quarter of an 18 x 18
// ellipse), the bottom corners too when `roundBottom` (normal mode; the mini window has square
// bottom corners). `systemMaximized` is the inset shape of a window the window manager
// maximised.
std::vector<plat::Rect> WindowRegionRects(plat::Size client, bool roundBottom,
                                          bool systemMaximized);

}  // namespace tunova
