// The skin files: the window frame, the player panel with its display well, the time digits,
// the play-mode indicators, the volume bar, the dialogs' backgrounds, and the program icon.
#include <cstring>
#include <string>
#include <vector>

#include "tools/skingen/art.h"

namespace skingen {
namespace {

using plat::Canvas;
using plat::ColorRef;
using plat::Paint;
using plat::PointF;
using plat::Rgb;

const Paint kTopBar = Paint::Vertical(Rgb(58, 64, 79), Rgb(30, 33, 42));
const Paint kBottomBar = Paint::Vertical(Rgb(30, 33, 42), Rgb(16, 18, 23));
constexpr ColorRef kEdgeLight = Rgb(84, 92, 110);
constexpr ColorRef kEdgeDark = Rgb(8, 9, 11);

void TopBar(Canvas& c, double w) {
    c.FillRect(0, 0, w, 27, kTopBar);
    c.FillRect(0, 0, w, 1, Paint::Solid(kEdgeLight));
    c.FillRect(0, 26, w, 1, Paint::Solid(kEdgeDark));
}

void BottomBar(Canvas& c, double w) {
    c.FillRect(0, 0, w, 25, kBottomBar);
    c.FillRect(0, 0, w, 1, Paint::Solid(Rgb(40, 44, 55)));
    c.FillRect(0, 24, w, 1, Paint::Solid(kEdgeDark));
}

// The seven segments of a digit in a 15 × 22 cell: a top, b top right, c bottom right,
// d bottom, e bottom left, f top left, g middle.
constexpr const char* kSegments[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                       "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};

void Segment(Canvas& c, char which, ColorRef color) {
    const double l = 2.5, r = 12.5, t = 2, m = 11, b = 20, k = 1.6;
    auto horizontal = [&](double y) {
        c.FillPolygon({{l + 1, y},
                       {l + 2.2, y - k},
                       {r - 2.2, y - k},
                       {r - 1, y},
                       {r - 2.2, y + k},
                       {l + 2.2, y + k}},
                      Paint::Solid(color));
    };
    auto vertical = [&](double x, double y0, double y1) {
        c.FillPolygon({{x, y0 + 1},
                       {x + k, y0 + 2.2},
                       {x + k, y1 - 2.2},
                       {x, y1 - 1},
                       {x - k, y1 - 2.2},
                       {x - k, y0 + 2.2}},
                      Paint::Solid(color));
    };
    switch (which) {
        case 'a':
            horizontal(t + k);
            break;
        case 'g':
            horizontal(m);
            break;
        case 'd':
            horizontal(b - k);
            break;
        case 'b':
            vertical(r - k, t, m);
            break;
        case 'c':
            vertical(r - k, m, b);
            break;
        case 'f':
            vertical(l + k, t, m);
            break;
        case 'e':
            vertical(l + k, m, b);
            break;
        default:
            break;
    }
}

void Digit(Canvas& c, int digit) {
    // Red is the key: the display's own background shows around the segments.
    c.SetAntialias(false);
    c.FillRect(0, 0, 15, 22, Paint::Solid(tunova::res::kKeyRed));
    for (char s : std::string("abcdefg")) {
        Segment(c, s, Rgb(24, 22, 9));
    }
    for (const char* s = kSegments[digit]; *s != '\0'; ++s) {
        Segment(c, *s, kYellow);
    }
    c.SetAntialias(true);
}

void Colon(Canvas& c) {
    c.SetAntialias(false);
    c.FillRect(0, 0, 8, 22, Paint::Solid(tunova::res::kKeyRed));
    c.FillRect(3, 6, 2.5, 2.5, Paint::Solid(kYellow));
    c.FillRect(3, 14, 2.5, 2.5, Paint::Solid(kYellow));
    c.SetAntialias(true);
}

void VolumeBar(Canvas& c) {
    // Ten steps of 3.8 pixels, each a lit bar with a keyed gap after it.
    c.SetAntialias(false);
    c.FillRect(0, 0, 38, 10, Paint::Solid(tunova::res::kKeyRed));
    for (int i = 0; i < 10; ++i) {
        const double x = i * 3.8;
        const double height = 3 + i * 0.7;
        c.FillRect(x, 10 - height, 2.6, height, Paint::Vertical(kYellow, kOrange));
    }
    c.SetAntialias(true);
}

void Indicator(Canvas& c, const char* caption) {
    c.FillRect(0, 0, 25, 14, Paint::Solid(kLcd));
    c.StrokeRoundRect(0.5, 0.5, 24, 13, 2, 1, Paint::Solid(Rgb(120, 96, 0)));
    c.DrawText(caption, 0, 0, 25, 14, 9, true, kYellow);
}

void Logo(Canvas& c) {
    c.FillRect(0, -4, 81, 27, kTopBar);
    // A note-like play mark and the name.
    c.FillEllipse(1, 2, 15, 15, Paint::Vertical(kYellow, kOrange));
    c.FillPolygon({{6.5, 5.5}, {12.5, 9.5}, {6.5, 13.5}}, Paint::Solid(Rgb(30, 33, 42)));
    c.DrawText("TUNOVA", 19, 0, 62, 19, 12.5, true, kWhite, false);
}

// The player panel: the display well (digits, indicators, times, title), the video frame and
// the transport tray, on the window's interior.
void Panel(Canvas& c) {
    c.FillRect(0, 0, 396, 148, Paint::Solid(kInterior));
    c.FillRoundRect(2, 1, 392, 144, 6, Paint::Vertical(Rgb(36, 40, 50), Rgb(22, 24, 31)));
    c.StrokeRoundRect(2.5, 1.5, 391, 143, 6, 1, Paint::Solid(Rgb(52, 57, 70)));
    // The display well: time digits at panel (17, 19), title row at (27, 73).
    c.FillRoundRect(8, 8, 264, 86, 5, Paint::Solid(kEdgeDark));
    c.FillRoundRect(9, 9, 262, 84, 4, Paint::Vertical(Rgb(16, 18, 16), kLcd));
    c.FillRect(15, 17, 110, 26, Paint::Solid(kLcd));
    c.DrawText("PLAY TIME", 46, 45, 44, 14, 7, true, Rgb(110, 96, 40), false);
    c.DrawText("VOL", 160, 47, 30, 12, 7, true, Rgb(110, 96, 40), false);
    c.DrawText("MODE", 140, 23, 40, 14, 7, true, Rgb(110, 96, 40), false);
    c.FillRect(16, 66, 250, 1, Paint::Solid(Rgb(40, 44, 40)));
    c.FillPolygon({{17, 75}, {22, 78.5}, {17, 82}}, Paint::Solid(kOrange));
    // The video frame around the browser (client (282, 34)-(390, 124)).
    c.FillRoundRect(278, 4, 114, 96, 4, Paint::Solid(kEdgeDark));
    c.FillRect(280, 6, 108, 90, Paint::Solid(kBlack));
    // The transport tray under the buttons and the groove well of the position slider.
    c.FillRoundRect(4, 102, 164, 37, 6, Paint::Solid(Rgb(16, 18, 23)));
    c.FillRoundRect(172, 119, 116, 17, 8, Paint::Solid(Rgb(16, 18, 23)));
}

void DialogBackground(Canvas& c, int w, int h, const char* title) {
    c.FillRect(0, 0, w, h, Paint::Solid(Rgb(26, 29, 36)));
    c.FillRect(0, 0, w, 30, kTopBar);
    c.FillRect(0, 30, w, 1, Paint::Solid(kEdgeDark));
    c.StrokeRoundRect(0.5, 0.5, w - 1, h - 1, 5, 1, Paint::Solid(kEdgeLight));
    c.FillEllipse(10, 7, 16, 16, Paint::Vertical(kYellow, kOrange));
    c.FillPolygon({{16, 10.5}, {22, 15}, {16, 19.5}}, Paint::Solid(Rgb(30, 33, 42)));
    c.DrawText(title, 32, 0, 200, 30, 12, true, kWhite, false);
}

void SettingsBackground(Canvas& c) {
    DialogBackground(c, 399, 250, "환경 설정");
    c.DrawText("시작 설정", 20, 42, 200, 18, 11, true, kYellow, false);
    c.FillRect(20, 61, 359, 1, Paint::Solid(Rgb(52, 57, 70)));
    c.DrawText("로그인하면 투노바를 자동으로 실행합니다", 50, 68, 330, 17, 11, false, kPaleText,
               false);
    c.DrawText("재생 설정", 20, 118, 200, 18, 11, true, kYellow, false);
    c.FillRect(20, 137, 359, 1, Paint::Solid(Rgb(52, 57, 70)));
    c.DrawText("검색 결과를 더블클릭하면", 30, 150, 160, 20, 11, false, kPaleText, false);
    c.FillRect(0, 207, 399, 1, Paint::Solid(Rgb(40, 44, 55)));
}

void NoticeBackground(Canvas& c) {
    DialogBackground(c, 398, 232, "투노바");
    c.FillEllipse(30, 70, 44, 44, Paint::Solid(Rgb(60, 52, 10)));
    c.StrokeEllipse(30, 70, 44, 44, 2, Paint::Solid(kYellow));
    c.FillRoundRect(50, 80, 4, 17, 1.5, Paint::Solid(kYellow));
    c.FillEllipse(50, 101, 4, 4, Paint::Solid(kYellow));
    c.DrawText("인터넷에 연결할 수 없습니다", 90, 68, 290, 22, 14, true, kWhite, false);
    c.DrawText("네트워크 연결을 확인한 뒤", 90, 96, 290, 18, 11, false, kPaleText, false);
    c.DrawText("투노바를 다시 실행해 주세요.", 90, 114, 290, 18, 11, false, kPaleText, false);
    c.FillRect(0, 180, 398, 1, Paint::Solid(Rgb(40, 44, 55)));
}

}  // namespace

bool DrawFileArt(Canvas& c, const tunova::res::SkinFile& file) {
    const std::string_view art = file.art;
    const int w = file.width;
    if (art == "logo") {
        Logo(c);
    } else if (art == "indicator-one") {
        Indicator(c, "한곡");
    } else if (art == "indicator-all") {
        Indicator(c, "전곡");
    } else if (art == "indicator-random") {
        Indicator(c, "랜덤");
    } else if (art == "volume-bar") {
        VolumeBar(c);
    } else if (art == "panel") {
        Panel(c);
    } else if (art == "interior") {
        c.FillRect(0, 0, w, file.height, Paint::Solid(kInterior));
    } else if (art == "list-area") {
        c.FillRect(0, 0, w, file.height, Paint::Solid(kBlack));
    } else if (art == "top-left") {
        TopBar(c, w);
        c.FillRect(0, 0, 1, 27, Paint::Solid(kEdgeLight));
    } else if (art == "top-tile") {
        TopBar(c, w);
    } else if (art == "top-right") {
        TopBar(c, w);
        c.FillRect(w - 1, 0, 1, 27, Paint::Solid(kEdgeDark));
    } else if (art == "bottom-left") {
        BottomBar(c, w);
        c.FillRect(0, 0, 1, 25, Paint::Solid(Rgb(40, 44, 55)));
    } else if (art == "bottom-tile") {
        BottomBar(c, w);
    } else if (art == "bottom-right") {
        BottomBar(c, w);
        // The resize grip.
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j <= i; ++j) {
                c.FillRect(10 - j * 3, 20 - (i - j) * 3 - 3 * j, 1.5, 1.5,
                           Paint::Solid(Rgb(90, 98, 116)));
            }
        }
    } else if (art == "left-border") {
        c.FillRect(0, 0, 1, file.height, Paint::Solid(kEdgeLight));
        c.FillRect(1, 0, 1, file.height, Paint::Solid(kSlate));
    } else if (art == "right-border") {
        c.FillRect(0, 0, 1, file.height, Paint::Solid(kSlate));
        c.FillRect(1, 0, 1, file.height, Paint::Solid(kEdgeDark));
    } else if (art == "dot-line") {
        c.FillRect(0, 0, 1, 1, Paint::Solid(Rgb(62, 68, 82)));
        c.FillRect(0, 1, 1, 1, Paint::Solid(kEdgeDark));
    } else if (art.substr(0, 6) == "digit-") {
        Digit(c, art[6] - '0');
    } else if (art == "colon") {
        Colon(c);
    } else if (art == "settings-background") {
        SettingsBackground(c);
    } else if (art == "notice-background") {
        NoticeBackground(c);
    } else {
        return false;
    }
    return true;
}

void DrawIconArt(Canvas& c, int size) {
    const double s = size;
    c.FillRect(0, 0, s, s, Paint::Vertical(Rgb(62, 68, 84), Rgb(24, 27, 34)));
    c.FillEllipse(s * 0.16, s * 0.16, s * 0.68, s * 0.68, Paint::Vertical(kYellow, kOrange));
    c.FillPolygon({{s * 0.42, s * 0.33}, {s * 0.66, s * 0.5}, {s * 0.42, s * 0.67}},
                  Paint::Solid(Rgb(30, 33, 42)));
}

}  // namespace skingen
