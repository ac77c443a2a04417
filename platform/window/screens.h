// The screens of the desktop and their work areas (the part of each screen that panels, docks
// and task bars leave free), in the virtual desktop's coordinates.
//
// Mapping on Linux: the toolkit's screens (X11 monitors through XRandR); a screen's work area
// is its available geometry, which the window manager's struts and _NET_WORKAREA decide. Tests
// replace the list with screens of their own (plat::testing::OverrideScreens), for example a
// second monitor of another size.
#pragma once

#include <vector>

#include "platform/core/types.h"

namespace plat {

struct Screen {
    Rect geometry;  // the whole screen
    Rect workArea;  // what windows may cover; inside `geometry`
    friend bool operator==(const Screen&, const Screen&) = default;
};

// Every screen, the primary first; never empty (without any screen, one 800 x 600 screen at
// the origin stands in).
std::vector<Screen> Screens();

// The screen of `screens` whose area contains `point`, else the one nearest to it; null when
// `screens` is empty.
const Screen* ScreenUnder(Point point, const std::vector<Screen>& screens);
// The work area of the screen under the centre of `rect` (a window's screen rectangle).
Rect WorkAreaUnder(const Rect& rect);

namespace testing {

// Makes plat::Screens() answer `screens` (primary first) instead of the toolkit's screens, for
// example a second monitor a headless run does not have; an empty list restores the real ones.
void OverrideScreens(std::vector<Screen> screens);

}  // namespace testing
}  // namespace plat
