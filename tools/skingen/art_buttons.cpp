// Buttons: a shape (rounded rectangle, pill or circle) with a face per state, and a vector
// symbol or a Korean caption. Masks are the same shape in black on white, without smoothing.
#include <cmath>
#include <vector>

#include "tools/skingen/art.h"

namespace skingen {
namespace {

using plat::Canvas;
using plat::ColorRef;
using plat::Paint;
using plat::PointF;
using plat::Rgb;
using tunova::res::BitmapRole;

enum class Shape { kRounded, kPill, kCircle, kSquare };

struct Look {
    Paint face;
    ColorRef border;
    ColorRef symbol;
    double shift;  // the pressed look moves the symbol down and right
};

Look LookFor(BitmapRole role) {
    switch (role) {
        case BitmapRole::kHover:
            return {Paint::Vertical(Rgb(78, 86, 105), Rgb(42, 46, 58)), Rgb(128, 140, 158), kYellow,
                    0};
        case BitmapRole::kPressed:
            return {Paint::Vertical(Rgb(18, 20, 26), Rgb(42, 46, 57)), Rgb(70, 64, 30), kOrange,
                    0.5};
        default:
            return {Paint::Vertical(Rgb(62, 68, 84), Rgb(30, 33, 42)), Rgb(84, 92, 110), kSteel, 0};
    }
}

void FillShape(Canvas& c, Shape shape, double x, double y, double w, double h, const Paint& p) {
    switch (shape) {
        case Shape::kCircle:
            c.FillEllipse(x, y, w, h, p);
            break;
        case Shape::kPill:
            c.FillRoundRect(x, y, w, h, h / 2, p);
            break;
        case Shape::kSquare:
            c.FillRoundRect(x, y, w, h, 2, p);
            break;
        case Shape::kRounded:
            c.FillRoundRect(x, y, w, h, std::min(6.0, h / 3), p);
            break;
    }
}

// The face of a button: backdrop, border, face.
void DrawFace(Canvas& c, Shape shape, int w, int h, const Look& look, ColorRef backdrop) {
    c.FillRect(0, 0, w, h, Paint::Solid(backdrop));
    FillShape(c, shape, 0, 0, w, h, Paint::Solid(look.border));
    FillShape(c, shape, 1, 1, w - 2, h - 2, look.face);
    // A faint highlight along the top edge gives the face some depth.
    if (shape != Shape::kCircle && h > 12) {
        c.StrokeLine({w * 0.25, 1.5}, {w * 0.75, 1.5}, 0.6, Rgb(110, 120, 140));
    }
}

void Triangle(Canvas& c, double cx, double cy, double size, double dir, ColorRef color) {
    // dir: 0 right, 1 left, 2 up, 3 down.
    const double s = size / 2;
    std::vector<PointF> pts;
    if (dir == 0) {
        pts = {{cx - s * 0.8, cy - s}, {cx + s, cy}, {cx - s * 0.8, cy + s}};
    } else if (dir == 1) {
        pts = {{cx + s * 0.8, cy - s}, {cx - s, cy}, {cx + s * 0.8, cy + s}};
    } else if (dir == 2) {
        pts = {{cx - s, cy + s * 0.6}, {cx, cy - s * 0.8}, {cx + s, cy + s * 0.6}};
    } else {
        pts = {{cx - s, cy - s * 0.6}, {cx, cy + s * 0.8}, {cx + s, cy - s * 0.6}};
    }
    c.FillPolygon(pts, Paint::Solid(color));
}

void Speaker(Canvas& c, double x, double y, double s, ColorRef color) {
    c.FillPolygon({{x, y + s * 0.35},
                   {x + s * 0.3, y + s * 0.35},
                   {x + s * 0.65, y},
                   {x + s * 0.65, y + s},
                   {x + s * 0.3, y + s * 0.65},
                   {x, y + s * 0.65}},
                  Paint::Solid(color));
}

void Caption(Canvas& c, std::string_view text, int w, int h, double size, const Look& look,
             double left = 0) {
    c.DrawText(text, left + look.shift, look.shift, w - left, h, size, true, look.symbol);
}

struct ButtonSpec {
    const char* art;
    Shape shape;
};

constexpr ButtonSpec kButtons[] = {
    {"play", Shape::kRounded},
    {"pause", Shape::kRounded},
    {"next", Shape::kRounded},
    {"previous", Shape::kRounded},
    {"close", Shape::kCircle},
    {"maximise", Shape::kCircle},
    {"restore", Shape::kCircle},
    {"minimise", Shape::kCircle},
    {"mini", Shape::kCircle},
    {"up", Shape::kRounded},
    {"down", Shape::kRounded},
    {"delete", Shape::kRounded},
    {"mute", Shape::kCircle},
    {"unmute", Shape::kCircle},
    {"mode-one", Shape::kPill},
    {"mode-all", Shape::kPill},
    {"mode-random", Shape::kPill},
    {"bigvideo", Shape::kRounded},
    {"bigvideo-top", Shape::kSquare},
    {"search", Shape::kSquare},
    {"home", Shape::kPill},
    {"qna", Shape::kPill},
    {"more", Shape::kPill},
    {"menu", Shape::kPill},
    {"country", Shape::kRounded},
    {"country-all", Shape::kRounded},
    {"country-korea", Shape::kRounded},
    {"country-usa", Shape::kRounded},
    {"country-japan", Shape::kRounded},
    {"country-china", Shape::kRounded},
    {"notice-ok", Shape::kRounded},
    {"settings-save", Shape::kRounded},
    {"settings-cancel", Shape::kRounded},
    {"settings-close", Shape::kSquare},
};

const ButtonSpec* FindButton(std::string_view art) {
    for (const ButtonSpec& b : kButtons) {
        if (art == b.art) {
            return &b;
        }
    }
    return nullptr;
}

// The symbol or caption of each button, centred in w × h.
void DrawSymbol(Canvas& c, std::string_view art, int w, int h, const Look& look) {
    const double cx = w / 2.0 + look.shift;
    const double cy = h / 2.0 + look.shift;
    const ColorRef s = look.symbol;
    if (art == "play") {
        Triangle(c, cx + 1, cy, 15, 0, look.symbol == kSteel ? kYellow : s);
    } else if (art == "pause") {
        c.FillRoundRect(cx - 6, cy - 7, 4.5, 14, 1, Paint::Solid(s));
        c.FillRoundRect(cx + 1.5, cy - 7, 4.5, 14, 1, Paint::Solid(s));
    } else if (art == "next" || art == "previous") {
        const double d = art == "next" ? 1 : -1;
        Triangle(c, cx - d * 3, cy, 12, d > 0 ? 0 : 1, s);
        c.FillRect(cx + d * 5 - 1.5, cy - 6, 3, 12, Paint::Solid(s));
    } else if (art == "close") {
        c.StrokeLine({cx - 3, cy - 3}, {cx + 3, cy + 3}, 1.6, s);
        c.StrokeLine({cx + 3, cy - 3}, {cx - 3, cy + 3}, 1.6, s);
    } else if (art == "maximise") {
        c.StrokeRoundRect(cx - 3.5, cy - 3.5, 7, 7, 0.5, 1.3, Paint::Solid(s));
    } else if (art == "restore") {
        c.StrokeRoundRect(cx - 1.5, cy - 4, 5.5, 5.5, 0.5, 1.1, Paint::Solid(s));
        c.StrokeRoundRect(cx - 4, cy - 1.5, 5.5, 5.5, 0.5, 1.1, Paint::Solid(s));
    } else if (art == "minimise") {
        c.StrokeLine({cx - 3.5, cy + 2.5}, {cx + 3.5, cy + 2.5}, 1.6, s);
    } else if (art == "mini") {
        c.StrokeRoundRect(cx - 4, cy - 2.5, 8, 5, 0.5, 1.2, Paint::Solid(s));
        c.FillRect(cx - 4, cy - 2.5, 8, 1.8, Paint::Solid(s));
    } else if (art == "up" || art == "down") {
        Triangle(c, cx, cy, 9, art == "up" ? 2 : 3, s);
    } else if (art == "delete") {
        Caption(c, "선택삭제", w, h, 11, look);
    } else if (art == "mute") {
        Speaker(c, cx - 6, cy - 4, 8, s);
        for (double r : {2.6, 5.0}) {
            std::vector<PointF> arc;
            for (int i = -3; i <= 3; ++i) {
                const double a = i * 0.25;
                arc.push_back({cx - 0.5 + std::cos(a) * r, cy + std::sin(a) * r});
            }
            c.StrokePolyline(arc, 1.1, s);
        }
    } else if (art == "unmute") {
        Speaker(c, cx - 6, cy - 4, 8, s);
        c.StrokeLine({cx + 0.5, cy - 2.5}, {cx + 5, cy + 2.5}, 1.3, kOrange);
        c.StrokeLine({cx + 5, cy - 2.5}, {cx + 0.5, cy + 2.5}, 1.3, kOrange);
    } else if (art == "mode-one") {
        Caption(c, "한곡", w, h, 9.5, look);
    } else if (art == "mode-all") {
        Caption(c, "전곡", w, h, 9.5, look);
    } else if (art == "mode-random") {
        Caption(c, "랜덤", w, h, 9.5, look);
    } else if (art == "bigvideo" || art == "bigvideo-top") {
        // Four corner brackets: a picture growing to fill the window.
        const double hw = art == "bigvideo" ? 6.5 : 5.5;
        const double hh = art == "bigvideo" ? 3.5 : 4.5;
        const double k = 2.2;
        for (int sx : {-1, 1}) {
            for (int sy : {-1, 1}) {
                const PointF corner{cx + sx * hw, cy + sy * hh};
                c.StrokePolyline(
                    {{corner.x - sx * k, corner.y}, corner, {corner.x, corner.y - sy * k}}, 1.2, s);
            }
        }
    } else if (art == "search") {
        c.StrokeEllipse(6 + look.shift, cy - 4.5, 7, 7, 1.4, Paint::Solid(s));
        c.StrokeLine({11.5 + look.shift, cy + 1.8}, {14.5 + look.shift, cy + 4.8}, 1.6, s);
        Caption(c, "검색", w, h, 11, look, 14);
    } else if (art == "home") {
        c.FillPolygon({{8 + look.shift, cy - 0.5},
                       {12.5 + look.shift, cy - 4.5},
                       {17 + look.shift, cy - 0.5}},
                      Paint::Solid(s));
        c.FillRect(9.5 + look.shift, cy - 0.5, 6, 4.5, Paint::Solid(s));
        Caption(c, "홈", w, h, 10, look, 16);
    } else if (art == "qna") {
        Caption(c, "Q&A", w, h, 10, look);
    } else if (art == "more") {
        Caption(c, "더 검색하기", w - 10, h, 10, look);
        Triangle(c, w - 16 + look.shift, cy, 6, 0, s);
    } else if (art == "menu") {
        const double gx = 11 + look.shift;
        c.StrokeEllipse(gx - 3.5, cy - 3.5, 7, 7, 1.6, Paint::Solid(s));
        for (int i = 0; i < 8; ++i) {
            const double a = i * 3.14159265 / 4;
            c.StrokeLine({gx + std::cos(a) * 3.6, cy + std::sin(a) * 3.6},
                         {gx + std::cos(a) * 5.2, cy + std::sin(a) * 5.2}, 1.4, s);
        }
        Caption(c, "설정", w, h, 10, look, 16);
    } else if (art.substr(0, 8) == "country-") {
        const char* name = art == "country-all"     ? "통합 검색"
                           : art == "country-korea" ? "한국 검색"
                           : art == "country-usa"   ? "미국 검색"
                           : art == "country-japan" ? "일본 검색"
                                                    : "중국 검색";
        // A small globe, the name, and the chevron of a menu.
        const double gx = 13 + look.shift;
        c.StrokeEllipse(gx - 5, cy - 5, 10, 10, 1.1, Paint::Solid(s));
        c.StrokeEllipse(gx - 2.2, cy - 5, 4.4, 10, 0.9, Paint::Solid(s));
        c.StrokeLine({gx - 5, cy}, {gx + 5, cy}, 0.9, s);
        c.DrawText(name, 24 + look.shift, look.shift, w - 44, h, 11, true, s, false);
        Triangle(c, w - 12 + look.shift, cy, 7, 3, s);
    } else if (art == "notice-ok") {
        Caption(c, "확인", w, h, 12, look);
    } else if (art == "settings-save") {
        Caption(c, "저장", w, h, 12, look);
    } else if (art == "settings-cancel") {
        Caption(c, "취소", w, h, 12, look);
    } else if (art == "settings-close") {
        c.StrokeLine({cx - 3, cy - 3}, {cx + 3, cy + 3}, 1.6, s);
        c.StrokeLine({cx + 3, cy - 3}, {cx - 3, cy + 3}, 1.6, s);
    }
}

}  // namespace

bool DrawButtonArt(Canvas& c, std::string_view art, BitmapRole role, int w, int h) {
    const ButtonSpec* button = FindButton(art);
    if (button == nullptr) {
        return false;
    }
    if (role == BitmapRole::kMask) {
        c.SetAntialias(false);
        c.FillRect(0, 0, w, h, Paint::Solid(kWhite));
        FillShape(c, button->shape, 0, 0, w, h, Paint::Solid(kBlack));
        c.SetAntialias(true);
        return true;
    }
    const Look look = LookFor(role);
    // Buttons of the dialogs sit on their dark body, those of the main window on its interior.
    const ColorRef backdrop =
        art.substr(0, 9) == "settings-" || art == "notice-ok" ? Rgb(26, 29, 36) : kInterior;
    DrawFace(c, button->shape, w, h, look, backdrop);
    DrawSymbol(c, art, w, h, look);
    return true;
}

}  // namespace skingen
