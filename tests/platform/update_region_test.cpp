// Painting only what was marked: a window marks a rectangle, its next paint's DC draws only
// inside it (whatever clip the handler selects), and the rest keeps what was painted before.
#include <gtest/gtest.h>

#include <vector>

#include "platform/draw/draw.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "platform/window/window.h"

namespace plat {
namespace {

// A window that fills its whole client area with the colour of the moment on every paint, and
// keeps a copy of its surface as the paint left it, with the clip box the DC reported.
struct FillingWindow {
    FillingWindow() {
        window.Messages().OnMessage(kWmPaint, [this](WParam, LParam) {
            DC* dc = DC::ForPaint(window);
            if (dc == nullptr) {
                return LResult{0};
            }
            ++paints;
            clipBoxes.push_back(dc->ClipBox());
            if (selectWholeClip) {
                // A handler that tries to draw beyond what is being painted.
                dc->SelectClipRect({0, 0, kSize, kSize});
            }
            if (resetClip) {
                dc->ResetClip();
            }
            dc->FillSolidRect({0, 0, kSize, kSize}, colour);
            Rect text{0, 0, kSize, kSize};
            dc->SetBkMode(kOpaque);
            dc->SetBkColor(colour);
            dc->SetTextColor(colour);
            dc->DrawText("text", text, kDtLeft | kDtSingleLine);
            surface.Create(kSize, kSize);
            DC copy(surface);
            copy.BitBlt(0, 0, kSize, kSize, *dc, 0, 0);
            return LResult{0};
        });
        EXPECT_TRUE(window.Create(nullptr, 0, Rect::FromXYWH(40, 40, kSize, kSize),
                                  kStylePopup | kStyleVisible));
        Application::ProcessEvents();
        window.Invalidate();
        window.UpdateNow();
    }
    static constexpr int kSize = 80;
    Window window;
    ColorRef colour = Rgb(10, 10, 10);
    bool selectWholeClip = false;
    bool resetClip = false;
    int paints = 0;
    std::vector<Rect> clipBoxes;
    Bitmap surface;
};

constexpr ColorRef kOld = Rgb(10, 10, 10);
constexpr ColorRef kNew = Rgb(200, 30, 30);

TEST(UpdateRegionTest, APaintDrawsOnlyInsideTheMarkedRectangle) {
    FillingWindow w;
    ASSERT_GT(w.paints, 0);
    EXPECT_EQ(w.surface.Pixel(5, 5), kOld);

    const Rect marked{20, 30, 50, 45};
    w.colour = kNew;
    w.clipBoxes.clear();
    w.window.InvalidateRect(marked);
    w.window.UpdateNow();
    ASSERT_EQ(w.clipBoxes.size(), 1u);
    EXPECT_EQ(w.clipBoxes[0], marked);
    EXPECT_EQ(w.surface.Pixel(20, 30), kNew);
    EXPECT_EQ(w.surface.Pixel(49, 44), kNew);
    // Just outside the rectangle on every side the earlier paint stays.
    for (Point outside :
         {Point{19, 35}, Point{50, 35}, Point{30, 29}, Point{30, 45}, Point{0, 0}, Point{79, 79}}) {
        EXPECT_EQ(w.surface.Pixel(outside.x, outside.y), kOld) << outside.x << "," << outside.y;
    }

    // Two marks before one paint: both are painted, what lies between them is not.
    w.colour = Rgb(30, 200, 30);
    w.clipBoxes.clear();
    w.window.InvalidateRect({0, 0, 10, 10});
    w.window.InvalidateRect({70, 70, 80, 80});
    w.window.UpdateNow();
    ASSERT_EQ(w.clipBoxes.size(), 1u);
    EXPECT_EQ(w.clipBoxes[0], (Rect{0, 0, 80, 80}));
    EXPECT_EQ(w.surface.Pixel(0, 0), Rgb(30, 200, 30));
    EXPECT_EQ(w.surface.Pixel(75, 75), Rgb(30, 200, 30));
    EXPECT_EQ(w.surface.Pixel(40, 5), kOld);
    EXPECT_EQ(w.surface.Pixel(30, 35), kNew);

    // Once painted, nothing is left marked: the next UpdateNow with a new mark paints that only.
    w.clipBoxes.clear();
    w.window.InvalidateRect({60, 0, 70, 10});
    w.window.UpdateNow();
    ASSERT_EQ(w.clipBoxes.size(), 1u);
    EXPECT_EQ(w.clipBoxes[0], (Rect{60, 0, 70, 10}));
}

TEST(UpdateRegionTest, AHandlersOwnClipCannotReachBeyondWhatIsPainted) {
    FillingWindow w;
    w.colour = kNew;
    w.selectWholeClip = true;
    w.window.InvalidateRect({10, 10, 20, 20});
    w.window.UpdateNow();
    EXPECT_EQ(w.surface.Pixel(15, 15), kNew);
    EXPECT_EQ(w.surface.Pixel(25, 15), kOld);

    w.selectWholeClip = false;
    w.resetClip = true;
    w.colour = Rgb(1, 2, 3);
    w.window.InvalidateRect({30, 30, 40, 40});
    w.window.UpdateNow();
    EXPECT_EQ(w.surface.Pixel(35, 35), Rgb(1, 2, 3));
    EXPECT_EQ(w.surface.Pixel(15, 15), kNew);
    EXPECT_EQ(w.surface.Pixel(45, 35), kOld);
}

TEST(UpdateRegionTest, TheWholeWindowIsPaintedWhenAllOfItIsMarkedOrNothingIs) {
    FillingWindow w;
    w.colour = kNew;
    w.clipBoxes.clear();
    w.window.Invalidate();
    w.window.UpdateNow();
    ASSERT_EQ(w.clipBoxes.size(), 1u);
    EXPECT_EQ(w.clipBoxes[0], (Rect{0, 0, 80, 80}));
    EXPECT_EQ(w.surface.Pixel(0, 0), kNew);
    EXPECT_EQ(w.surface.Pixel(79, 79), kNew);

    // A mark partly outside the window is cut to it.
    w.clipBoxes.clear();
    w.window.InvalidateRect({70, 70, 200, 200});
    w.window.UpdateNow();
    ASSERT_EQ(w.clipBoxes.size(), 1u);
    EXPECT_EQ(w.clipBoxes[0], (Rect{70, 70, 80, 80}));

    // Nothing marked: UpdateNow paints everything, as it always did.
    w.colour = Rgb(7, 7, 7);
    w.clipBoxes.clear();
    w.window.UpdateNow();
    ASSERT_EQ(w.clipBoxes.size(), 1u);
    EXPECT_EQ(w.clipBoxes[0], (Rect{0, 0, 80, 80}));
}

TEST(UpdateRegionTest, ACopyIntoAClippedSurfaceLandsWhereAnUnclippedOneWould) {
    // A source whose every pixel says where it is.
    Bitmap source;
    ASSERT_TRUE(source.Create(64, 48));
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            source.SetPixel(x, y, Rgb(x * 3, y * 5, 7));
        }
    }
    Bitmap whole;
    Bitmap clipped;
    ASSERT_TRUE(whole.Create(100, 100));
    ASSERT_TRUE(clipped.Create(100, 100));
    {
        DC dc(whole);
        dc.BitBlt(10, 20, 50, 40, source, 5, 3);
    }
    {
        DC dc(clipped);
        dc.SelectClipRect({30, 35, 45, 50});
        dc.BitBlt(10, 20, 50, 40, source, 5, 3);
        // Wholly outside the clip: nothing at all.
        dc.BitBlt(70, 70, 20, 20, source, 0, 0);
    }
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool inClip = x >= 30 && x < 45 && y >= 35 && y < 50;
            ASSERT_EQ(clipped.Pixel(x, y), inClip ? whole.Pixel(x, y) : Rgb(0, 0, 0))
                << x << "," << y;
        }
    }
    EXPECT_EQ(clipped.Pixel(30, 35), Rgb((30 - 10 + 5) * 3, (35 - 20 + 3) * 5, 7));
}

}  // namespace
}  // namespace plat
