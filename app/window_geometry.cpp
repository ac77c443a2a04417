#include "app/window_geometry.h"

#include <algorithm>
#include <array>

namespace tunova {

namespace {

using plat::Point;
using plat::Rect;
using plat::Size;

// The video's width to height.
constexpr double kVideoAspect = 1.4;
constexpr int kVideoTop = 203;
// Above this width the video stops growing and takes a fixed 1023 x 730 rectangle.
constexpr int kVideoWidthLimit = 1599;
constexpr int kLargestVideoWidth = 1023;
constexpr int kLargestVideoBottom = 933;

constexpr int kEdgeGrip = 3;     // the width of an edge handle
constexpr int kCornerGrip = 30;  // the side of a corner handle (the top-right one is 3)
constexpr int kBottomGrip = 27;  // where the side handles end above the bottom

// The side of the square at each corner that the rounding cuts into, and of its ellipse.
constexpr int kCornerSquare = 9;
constexpr int kCornerEllipse = 18;
// The shape of a window the window manager maximised starts 4 pixels in and ends 3 pixels
// before the client area's right and bottom edges; otherwise it runs one pixel past them.
constexpr int kMaximizedInset = 4;
constexpr int kMaximizedEndInset = 3;

// Whether pixel (x, y) lies inside the ellipse inscribed in `box` (tested at its centre).
bool InEllipse(int x, int y, const Rect& box) {
    const double rx = box.Width() / 2.0;
    const double ry = box.Height() / 2.0;
    if (rx <= 0 || ry <= 0) {
        return false;
    }
    const double dx = (x + 0.5 - (box.left + rx)) / rx;
    const double dy = (y + 0.5 - (box.top + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

struct Corner {
    Rect square;   // the corner's square; what of it lies outside `ellipse` is cut away
    Rect ellipse;  // bounding box of the rounding
    bool onLeft;   // the square touches the shape's left edge (else its right edge)
};

}  // namespace

Rect BigVideoRect(Size client) {
    const int wc = client.cx;
    const int hc = client.cy;
    const int h1 = hc - 225;
    const int w1 = static_cast<int>(h1 * kVideoAspect);
    if (w1 > kVideoWidthLimit) {
        const int left = (wc - kLargestVideoWidth) / 2;
        return {left, kVideoTop, left + kLargestVideoWidth, kLargestVideoBottom};
    }
    if (w1 > wc - 50) {
        const int w = std::max(0, wc - 80);
        const int left = (wc - w) / 2;
        return {left, kVideoTop, left + w, kVideoTop + static_cast<int>(w / kVideoAspect)};
    }
    // A client area too low for any video (the mini window) gets an empty rectangle.
    const int h2 = std::max(0, hc - 230);
    const int w2 = static_cast<int>(h2 * kVideoAspect);
    const int left = (wc - w2) / 2;
    return {left, kVideoTop, left + w2, kVideoTop + h2};
}

Rect MiniRect(const Rect& workArea) {
    return {workArea.right - kMiniWidth, workArea.bottom - kMiniHeight, workArea.right,
            workArea.bottom};
}

Point SnapToWorkArea(Point proposed, Size size, const Rect& workArea) {
    int x = proposed.x - workArea.left;
    int y = proposed.y - workArea.top;
    const int ww = workArea.Width();
    const int hw = workArea.Height();
    if (x > 0 && x <= kSnapDistance) {
        x = 0;
    }
    if (y > 0 && y <= kSnapDistance) {
        y = 0;
    }
    if (x + size.cx >= ww - kSnapDistance && x + size.cx < ww) {
        x = ww - size.cx;
    }
    if (y + size.cy >= hw - kSnapDistance && y + size.cy < hw) {
        y = hw - size.cy;
    }
    return {x + workArea.left, y + workArea.top};
}

Point CentreOf(const Rect& rect) {
    return {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2};
}

Rect MaximizeTarget(const Rect& window, const std::vector<plat::Screen>& screens) {
    const plat::Screen* screen = plat::ScreenUnder(CentreOf(window), screens);
    return screen != nullptr ? screen->workArea : window;
}

Rect HandleRect(int handle, Size client) {
    const int w = client.cx;
    const int h = client.cy;
    switch (handle) {
        case kHandleLeft:
            return {0, kCornerGrip, kEdgeGrip, h - kBottomGrip};
        case kHandleTopLeft:
            return {0, 0, kCornerGrip, kCornerGrip};
        case kHandleTop:
            return {kCornerGrip, 0, w - kCornerGrip, kEdgeGrip};
        case kHandleTopRight:
            return {w - kEdgeGrip, 0, w, kEdgeGrip};
        case kHandleRight:
            return {w - kEdgeGrip, kCornerGrip, w, h - kBottomGrip};
        case kHandleBottomRight:
            return {w - kCornerGrip, h - kCornerGrip, w, h};
        case kHandleBottom:
            return {kCornerGrip, h - kEdgeGrip, w - kCornerGrip, h};
        case kHandleBottomLeft:
            return {0, h - kCornerGrip, kCornerGrip, h};
        default:
            return {};
    }
}

int HandleAt(Point point, Size client) {
    static constexpr std::array<int, 8> kPressOrder = {
        kHandleLeft,        kHandleRight, kHandleBottom,  kHandleBottomLeft,
        kHandleBottomRight, kHandleTop,   kHandleTopLeft, kHandleTopRight};
    for (int handle : kPressOrder) {
        if (HandleRect(handle, client).Contains(point)) {
            return handle;
        }
    }
    return kNoHandle;
}

bool InTopBar(Point point, Size client) {
    return Rect{0, 0, client.cx, kTopBarHeight}.Contains(point) &&
           HandleAt(point, client) == kNoHandle;
}

plat::CursorShape CursorForHandle(int handle) {
    switch (handle) {
        case kHandleLeft:
        case kHandleRight:
            return plat::CursorShape::kSizeWE;
        case kHandleTop:
        case kHandleBottom:
            return plat::CursorShape::kSizeNS;
        case kHandleTopLeft:
        case kHandleBottomRight:
            return plat::CursorShape::kSizeNWSE;
        case kHandleTopRight:
        case kHandleBottomLeft:
            return plat::CursorShape::kSizeNESW;
        default:
            return plat::CursorShape::kArrow;
    }
}

Rect ResizeOutline(int handle, const Rect& start, Point moved, Size minimum) {
    const bool left =
        handle == kHandleLeft || handle == kHandleTopLeft || handle == kHandleBottomLeft;
    const bool right =
        handle == kHandleRight || handle == kHandleTopRight || handle == kHandleBottomRight;
    const bool top = handle == kHandleTop || handle == kHandleTopLeft || handle == kHandleTopRight;
    const bool bottom =
        handle == kHandleBottom || handle == kHandleBottomLeft || handle == kHandleBottomRight;
    Rect outline = start;
    if (left) {
        outline.left = std::min(start.left + moved.x, start.right - minimum.cx);
    }
    if (right) {
        outline.right = std::max(start.right + moved.x, start.left + minimum.cx);
    }
    if (top) {
        outline.top = std::min(start.top + moved.y, start.bottom - minimum.cy);
    }
    if (bottom) {
        outline.bottom = std::max(start.bottom + moved.y, start.top + minimum.cy);
    }
    return outline;
}

std::vector<Rect> WindowRegionRects(Size client, bool roundBottom, bool systemMaximized) {
    const int o = systemMaximized ? kMaximizedInset : 0;
    const int r = systemMaximized ? client.cx - kMaximizedEndInset : client.cx + 1;
    const int b = systemMaximized ? client.cy - kMaximizedEndInset : client.cy + 1;
    const int s = kCornerSquare;
    const int e = kCornerEllipse;
    std::vector<Corner> corners = {
        {{o, o, s, s}, {o, o, e, e}, true},
        {{r - s, o, r, s}, {r - e, o, r, e}, false},
    };
    if (roundBottom) {
        corners.push_back({{o, b - s, s, b}, {o, b - e, e, b}, true});
        corners.push_back({{r - s, b - s, r, b}, {r - e, b - e, r, b}, false});
    }
    std::vector<Rect> rects;
    for (int y = o; y < b; ++y) {
        int from = o;
        int to = r;
        for (const Corner& corner : corners) {
            const Rect& sq = corner.square;
            if (y < sq.top || y >= sq.bottom) {
                continue;
            }
            // The cut runs from the shape's edge inwards until the first pixel of the ellipse.
            if (corner.onLeft) {
                int x = sq.left;
                while (x < sq.right && !InEllipse(x, y, corner.ellipse)) {
                    ++x;
                }
                from = std::max(from, x);
            } else {
                int x = sq.right - 1;
                while (x >= sq.left && !InEllipse(x, y, corner.ellipse)) {
                    --x;
                }
                to = std::min(to, x + 1);
            }
        }
        if (from >= to) {
            continue;
        }
        if (!rects.empty() && rects.back().bottom == y && rects.back().left == from &&
            rects.back().right == to) {
            rects.back().bottom = y + 1;
        } else {
            rects.push_back({from, y, to, y + 1});
        }
    }
    return rects;
}

}  // namespace tunova
