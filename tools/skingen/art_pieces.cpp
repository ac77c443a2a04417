// Pieces of the lists and sliders: the header, sort arrows, scroll bar, the add picture of the
// result rows, and the slider channels and thumbs.
#include <vector>

#include "tools/skingen/art.h"

namespace skingen {
namespace {

using plat::Canvas;
using plat::ColorRef;
using plat::Paint;
using plat::Rgb;
using tunova::res::BitmapRole;

const Paint kHeaderFace = Paint::Vertical(Rgb(56, 62, 76), Rgb(26, 29, 37));
const Paint kTrackFace = Paint::Solid(Rgb(14, 16, 20));

// The header's background, shifted up by `top` rows (the sort arrows sit on it at y 4).
void HeaderTile(Canvas& c, double w, double top) {
    c.FillRect(0, -top, w, 18, kHeaderFace);
    c.FillRect(0, 17 - top, w, 1, Paint::Solid(Rgb(10, 11, 14)));
}

void ScrollArrow(Canvas& c, bool up) {
    c.FillRect(0, 0, 13, 14, Paint::Solid(Rgb(14, 16, 20)));
    c.FillRoundRect(1, up ? 1 : 0, 11, 13, 2, Paint::Vertical(Rgb(56, 62, 76), Rgb(30, 33, 42)));
    const double cy = 7;
    if (up) {
        c.FillPolygon({{3.5, cy + 2}, {6.5, cy - 2}, {9.5, cy + 2}}, Paint::Solid(kSteel));
    } else {
        c.FillPolygon({{3.5, cy - 2}, {6.5, cy + 2}, {9.5, cy - 2}}, Paint::Solid(kSteel));
    }
}

void AddPicture(Canvas& c, BitmapRole role) {
    // A pill holding "+ 담기" (add), keyed magenta around it so the row shows through.
    c.SetAntialias(false);
    c.FillRect(0, 0, 92, 16, Paint::Solid(tunova::res::kKeyMagenta));
    c.SetAntialias(true);
    Paint face = Paint::Vertical(Rgb(52, 57, 70), Rgb(30, 33, 42));
    ColorRef text = kSteel;
    ColorRef border = Rgb(84, 92, 110);
    if (role == BitmapRole::kHover) {
        face = Paint::Vertical(Rgb(255, 214, 40), Rgb(235, 170, 0));
        text = kBlack;
        border = kYellow;
    } else if (role == BitmapRole::kPressed) {
        face = Paint::Vertical(Rgb(70, 78, 96), Rgb(46, 51, 64));
        text = kYellow;
        border = Rgb(120, 132, 150);
    }
    // Fill without smoothing at the outline so no pink fringe appears around the pill.
    c.SetAntialias(false);
    c.FillRoundRect(22, 1, 48, 14, 7, Paint::Solid(border));
    c.FillRoundRect(23, 2, 46, 12, 6, face);
    c.SetAntialias(true);
    c.StrokeLine({31, 8}, {37, 8}, 1.5, text);
    c.StrokeLine({34, 5}, {34, 11}, 1.5, text);
    c.DrawText("담기", 38, 0, 28, 16, 10.5, true, text);
}

// A slider channel: a groove along the middle, dark or lit.
void Channel(Canvas& c, int w, int h, bool active) {
    c.FillRect(0, 0, w, h, Paint::Solid(kInterior));
    const double gh = h >= 10 ? 4 : 3;
    const double gy = (h - gh) / 2;
    c.FillRoundRect(0.5, gy - 0.5, w - 1, gh + 1, (gh + 1) / 2, Paint::Solid(Rgb(6, 7, 9)));
    if (active) {
        c.FillRoundRect(1, gy, w - 2, gh, gh / 2, Paint::Vertical(kYellow, kOrange));
    } else {
        c.FillRoundRect(1, gy, w - 2, gh, gh / 2, Paint::Solid(Rgb(46, 51, 63)));
    }
}

// A thumb: a round knob over the channel's background.
void Thumb(Canvas& c, int w, int h) {
    c.FillRect(0, 0, w, h, Paint::Solid(kInterior));
    const double d = std::min(w, h);
    const double x = (w - d) / 2;
    c.FillEllipse(x, 0, d, d, Paint::Solid(Rgb(8, 9, 11)));
    c.FillEllipse(x + 0.7, 0.7, d - 1.4, d - 1.4,
                  Paint::Vertical(Rgb(235, 242, 245), Rgb(140, 160, 170)));
    c.FillEllipse(x + d / 2 - 1.2, d / 2 - 1.2, 2.4, 2.4, Paint::Solid(kOrange));
}

}  // namespace

bool DrawPieceArt(Canvas& c, std::string_view art, BitmapRole role, int w, int h) {
    if (art == "header-tile") {
        HeaderTile(c, w, 0);
    } else if (art == "header-left") {
        HeaderTile(c, w, 0);
        c.FillRect(0, 2, 1, 14, Paint::Solid(Rgb(84, 92, 110)));
    } else if (art == "header-right") {
        HeaderTile(c, w, 0);
        c.FillRect(1, 2, 1, 14, Paint::Solid(Rgb(10, 11, 14)));
    } else if (art == "sort-ascending" || art == "sort-descending") {
        HeaderTile(c, w, 4);
        if (art == "sort-ascending") {
            c.FillPolygon({{1.5, 9}, {5.5, 3}, {9.5, 9}}, Paint::Solid(kYellow));
        } else {
            c.FillPolygon({{1.5, 3}, {5.5, 9}, {9.5, 3}}, Paint::Solid(kYellow));
        }
    } else if (art == "scroll-up" || art == "scroll-down") {
        ScrollArrow(c, art == "scroll-up");
    } else if (art == "scroll-track") {
        c.FillRect(0, 0, w, h, kTrackFace);
        c.FillRect(6, 0, 1, h, Paint::Solid(Rgb(34, 38, 47)));
    } else if (art == "scroll-thumb") {
        c.FillRect(0, 0, w, h, kTrackFace);
        c.FillRoundRect(1.5, 0.5, 10, 30, 3, Paint::Solid(Rgb(10, 11, 14)));
        c.FillRoundRect(2, 1, 9, 29, 2.5, Paint::Vertical(Rgb(120, 140, 150), Rgb(70, 82, 92)));
        for (double y : {12.5, 15.5, 18.5}) {
            c.StrokeLine({4.5, y}, {8.5, y}, 1, Rgb(200, 220, 228));
        }
    } else if (art == "add") {
        AddPicture(c, role);
    } else if (art == "position-channel" || art == "volume-channel") {
        Channel(c, w, h, false);
    } else if (art == "position-active" || art == "volume-active") {
        Channel(c, w, h, true);
    } else if (art == "position-thumb" || art == "volume-thumb") {
        Thumb(c, w, h);
    } else {
        return false;
    }
    return true;
}

bool DrawBitmapArt(Canvas& c, const tunova::res::SkinBitmap& bitmap) {
    return DrawButtonArt(c, bitmap.art, bitmap.role, bitmap.width, bitmap.height) ||
           DrawPieceArt(c, bitmap.art, bitmap.role, bitmap.width, bitmap.height);
}

}  // namespace skingen
