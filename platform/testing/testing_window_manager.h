// What a window manager does to the program's top-level windows, for tests: resizes that come
// from outside the program (a frame drag, tiling) and so pass by its own Move.
#pragma once

#include "platform/core/types.h"

namespace plat {
class Window;
}

namespace plat::testing {

// Resizes top-level `window` as the window manager would; the limits the window keeps for
// itself still apply (kWmGetMinMaxInfo's smallest tracking size).
void ResizeFromOutside(plat::Window& window, plat::Size size);

}  // namespace plat::testing
