// The main window's layout: where each control sits in a client area of a given size and view
// (normal or mini size, with the result list or the big video), the frame pieces and strips the
// skin paints, and the fixed places of the painted displays. Pure functions of the sizes.
#pragma once

#include "platform/core/types.h"

namespace tunova {

inline constexpr int kNormalWidth = 785;
inline constexpr int kNormalHeight = 600;
// How far the link buttons kIdcHomePage and kIdcQnaBoard move right while the more-results button
// shows.
inline constexpr int kLinkButtonShift = 110;

// The view a layout is computed for.
struct LayoutView {
    plat::Size client{kNormalWidth, kNormalHeight};
    bool mini = false;         // size mode 2: only the player panel
    bool bigVideo = false;     // the video in place of the result list
    bool moreResults = false;  // the more-results button shows (the link buttons make room)
};

// The rectangle of control `id` in the normal layout of a `width` x `height` client area, from
// its row of the control table (app/main_controls.h); an empty rectangle for a control the
// layout does not place.
plat::Rect NormalLayoutRect(int id, int width, int height);

// Where a drag of results may be dropped onto the playlist in a client area `width` wide: the
// playlist's part from (400, 31) to (width - 20, 147).
plat::Rect PlaylistDropRect(int width);

// The rectangle of control `id` in `view`: the normal layout for its size, with the video at
// the big-video rectangle in big-video view and the link buttons moved right while the
// more-results button shows. Empty for a control the view does not place, which includes the
// controls the mini window has no room for (see HiddenInMini).
plat::Rect ControlRect(int id, const LayoutView& view);
// The controls the mini window hides (marked in the control table): playlist, its buttons, the
// search row and the result list.
bool HiddenInMini(int id);
// The controls big-video view hides (marked in the control table): the result list and the link
// buttons under the search row.
bool HiddenInBigVideo(int id);

// The frame pieces and the cached strips of the skin, in client pixels of `view`.
struct FrameLayout {
    plat::Rect topStrip;     // W x 27 at the top
    plat::Rect topLeftEnd;   // (0, 0)-(6, 27)
    int topTileFirstX = 0;   // the 1 x 27 top tile is stamped at every x from here ...
    int topTileLastX = 0;    // ... to here, inclusive
    plat::Rect topRightEnd;  // (W - 85, 0)-(W, 27)
    plat::Rect logo;         // inside the top strip
    int borderHeight = 0;    // B: H - 52 in normal size, H - 27 in mini size
    plat::Rect leftBorder;   // 2 x B from y 27
    plat::Rect rightBorder;  // 2 x B from y 27 at the right edge
    plat::Rect bottomStrip;  // W x 25 at the bottom; empty in mini size (no bottom bar)
    plat::Rect bottomLeftEnd;
    int bottomTileFirstX = 0;  // the 1 x 25 bottom tile, stamped at every x in this range
    int bottomTileLastX = 0;
    plat::Rect bottomRightEnd;
    plat::Rect centrePanel;        // W x P from y 27: P = H - 51, or H - 27 in mini size
    plat::Rect playerPanel;        // (4, 27)-(400, 175)
    plat::Point panelImage;        // where "skin_bg01.bmp" goes, in client pixels
    plat::Rect dotLine;            // the dotted separator, 2 pixels high, from x 398
    plat::Rect panelListArea;      // big-video view: the result list's area to fill, in
                                   // centre-panel pixels; empty while the list shows
    int playModeIndicatorTop = 0;  // y of the play-mode indicator in centre-panel pixels
};
FrameLayout FrameAreas(const LayoutView& view);

// Displays painted over the background; fixed, since the left of the window does not move.
inline constexpr plat::Rect kTimeDigitsRect{19, 47, 125, 69};  // six digits and two colons
inline constexpr plat::Rect kPlayTimeTextRect{95, 75, 125, 89};
inline constexpr plat::Rect kVolumeBarRect{193, 76, 259, 86};  // 66 x 10 at most
inline constexpr plat::Rect kVolumeTextRect{234, 75, 267, 87};
// The bar and its percentage together, what a volume change repaints.
inline constexpr plat::Rect kVolumeGaugeRect{193, 75, 267, 87};
inline constexpr plat::Rect kTitleRect{29, 101, 265, 115};
inline constexpr plat::Rect kResultCountLabelRect{7, 208, 207, 222};
inline constexpr plat::Rect kResultCountRect{61, 208, 84, 222};
// What a play-mode change repaints.
inline constexpr plat::Rect kPlayModeArea{186, 24, 266, 64};
// The play-mode indicator of `playMode` (1 all, 2 one, 3 random) in client pixels; empty for
// any other mode.
plat::Rect PlayModeIndicatorRect(int playMode);

}  // namespace tunova
