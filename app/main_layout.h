// The main window's normal layout: where each control sits in a client area of a given size,
// and how the link buttons make room for the more-results button.
#pragma once

#include "platform/types.h"

namespace tunova {

inline constexpr int kNormalWidth = 785;
inline constexpr int kNormalHeight = 600;
// How far the link buttons 1133 and 1138 move right while the more-results button shows.
inline constexpr int kLinkButtonShift = 110;

// The rectangle of control `id` in the normal layout of a `width` x `height` client area; an
// empty rectangle for a control the layout does not place.
plat::Rect NormalLayoutRect(int id, int width, int height);

// Where a drag of results may be dropped onto the playlist in a client area `width` wide: the
// playlist's part from (400, 31) to (width - 20, 147).
plat::Rect PlaylistDropRect(int width);

}  // namespace tunova
