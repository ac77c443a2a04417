// Drawing on small bitmaps: raster operations pixel by pixel, colour keys, stretching,
// clipping and BMP files.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <fstream>

#include "platform/draw/draw.h"
#include "platform/window/application.h"
#include "platform/window/window.h"

namespace plat {
namespace {

Bitmap Filled(int w, int h, ColorRef c) {
    Bitmap b;
    EXPECT_TRUE(b.Create(w, h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.SetPixel(x, y, c);
        }
    }
    return b;
}

TEST(DrawTest, RasterOperationsCombinePixelsExactly) {
    Bitmap target = Filled(2, 2, Rgb(0x0F, 0xF0, 0x55));
    const Bitmap source = Filled(2, 2, Rgb(0xFF, 0x0F, 0x50));
    {
        DC dc(target);
        dc.BitBlt(0, 0, 1, 1, source, 0, 0, kSrcInvert);
        dc.BitBlt(1, 0, 1, 1, source, 0, 0, kSrcAnd);
        dc.BitBlt(0, 1, 1, 1, source, 0, 0, kSrcPaint);
        dc.BitBlt(1, 1, 1, 1, source, 0, 0, kSrcCopy);
    }
    EXPECT_EQ(target.Pixel(0, 0), Rgb(0xF0, 0xFF, 0x05));
    EXPECT_EQ(target.Pixel(1, 0), Rgb(0x0F, 0x00, 0x50));
    EXPECT_EQ(target.Pixel(0, 1), Rgb(0xFF, 0xFF, 0x55));
    EXPECT_EQ(target.Pixel(1, 1), Rgb(0xFF, 0x0F, 0x50));
}

TEST(DrawTest, MaskedDrawingByInvertAndInvert) {
    // The skin buttons' transparency: XOR, AND with the mask, XOR again.
    Bitmap target = Filled(2, 1, Rgb(10, 20, 30));
    const Bitmap picture = Filled(2, 1, Rgb(200, 100, 50));
    Bitmap mask = Filled(2, 1, Rgb(255, 255, 255));
    mask.SetPixel(1, 0, Rgb(0, 0, 0));
    {
        DC dc(target);
        dc.BitBlt(0, 0, 2, 1, picture, 0, 0, kSrcInvert);
        dc.BitBlt(0, 0, 2, 1, mask, 0, 0, kSrcAnd);
        dc.BitBlt(0, 0, 2, 1, picture, 0, 0, kSrcInvert);
    }
    EXPECT_EQ(target.Pixel(0, 0), Rgb(10, 20, 30));    // white mask: background shows
    EXPECT_EQ(target.Pixel(1, 0), Rgb(200, 100, 50));  // black mask: the picture shows
}

TEST(DrawTest, TransparentBltSkipsTheKeyAndStretches) {
    Bitmap target = Filled(4, 4, Rgb(1, 2, 3));
    Bitmap source = Filled(2, 2, Rgb(255, 0, 0));  // red is the key
    source.SetPixel(1, 0, Rgb(0, 0, 255));
    source.SetPixel(0, 1, Rgb(254, 0, 0));  // near the key is not the key
    {
        DC dc(target);
        dc.TransparentBlt(0, 0, 4, 4, source, 0, 0, 2, 2, Rgb(255, 0, 0));
    }
    EXPECT_EQ(target.Pixel(0, 0), Rgb(1, 2, 3));
    EXPECT_EQ(target.Pixel(1, 1), Rgb(1, 2, 3));
    EXPECT_EQ(target.Pixel(2, 0), Rgb(0, 0, 255));
    EXPECT_EQ(target.Pixel(3, 1), Rgb(0, 0, 255));
    EXPECT_EQ(target.Pixel(0, 3), Rgb(254, 0, 0));
    EXPECT_EQ(target.Pixel(3, 3), Rgb(1, 2, 3));
}

TEST(DrawTest, StretchBltAndSourceOutsideTheBitmap) {
    Bitmap target = Filled(4, 2, Rgb(9, 9, 9));
    Bitmap source = Filled(2, 1, Rgb(10, 0, 0));
    source.SetPixel(1, 0, Rgb(20, 0, 0));
    {
        DC dc(target);
        dc.StretchBlt(0, 0, 4, 1, source, 0, 0, 2, 1);
        // Only the part inside the source is copied; the rest of the target stays.
        dc.BitBlt(2, 1, 2, 1, source, 1, 0);
    }
    EXPECT_EQ(target.Pixel(0, 0), Rgb(10, 0, 0));
    EXPECT_EQ(target.Pixel(1, 0), Rgb(10, 0, 0));
    EXPECT_EQ(target.Pixel(2, 0), Rgb(20, 0, 0));
    EXPECT_EQ(target.Pixel(3, 0), Rgb(20, 0, 0));
    EXPECT_EQ(target.Pixel(2, 1), Rgb(20, 0, 0));
    EXPECT_EQ(target.Pixel(3, 1), Rgb(9, 9, 9));
}

TEST(DrawTest, ClipExcludesAndResets) {
    Bitmap target = Filled(4, 1, Rgb(0, 0, 0));
    {
        DC dc(target);
        dc.ExcludeClipRect({1, 0, 2, 1});
        dc.FillSolidRect({0, 0, 4, 1}, Rgb(50, 50, 50));
        dc.SelectClipRect({3, 0, 4, 1});
        dc.FillSolidRect({0, 0, 4, 1}, Rgb(60, 60, 60));
        dc.ResetClip();
        dc.FrameRect({1, 0, 2, 1}, Rgb(70, 70, 70));
    }
    EXPECT_EQ(target.Pixel(0, 0), Rgb(50, 50, 50));
    EXPECT_EQ(target.Pixel(1, 0), Rgb(70, 70, 70));
    EXPECT_EQ(target.Pixel(2, 0), Rgb(50, 50, 50));
    EXPECT_EQ(target.Pixel(3, 0), Rgb(60, 60, 60));
}

TEST(DrawTest, TextMeasuresAndCalcRectDrawsNothing) {
    Bitmap target = Filled(80, 20, Rgb(255, 255, 255));
    DC dc(target);
    dc.SelectFont(Font("\xb1\xbc\xb8\xb2", -12));  // CP949 face name, absent here
    const Size one = dc.TextExtent("W");
    const Size three = dc.TextExtent("WWW");
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(three.cx, one.cx * 2);
    Rect calc{5, 5, 5, 5};
    EXPECT_GT(dc.DrawText("WWW", calc, kDtCalcRect | kDtSingleLine), 0);
    EXPECT_EQ(calc.Width(), three.cx);
    EXPECT_EQ(target.Pixel(6, 8), Rgb(255, 255, 255));
    dc.SetBkMode(kOpaque);
    dc.SetBkColor(Rgb(0, 0, 255));
    Rect box{0, 0, 80, 20};
    dc.DrawText("x", box, kDtSingleLine | kDtVCenter | kDtCenter);
    EXPECT_EQ(target.Pixel(0, 0), Rgb(255, 255, 255));  // background only behind the text
}

TEST(DrawTest, BmpFilesLoadAndMissingOnesFail) {
    // A 2x1 24-bit BMP: blue, red (stored BGR, rows padded to 4 bytes).
    const unsigned char bmp[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file
                                                                                  // header
                                 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0,
                                 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0,                            // info header
                                 255, 0, 0, 0, 0, 255, 0, 0};  // pixels
    const std::string path = ::testing::TempDir() + "/tiny-" + std::to_string(::getpid()) + ".bmp";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bmp), sizeof(bmp));
    }
    Bitmap b;
    ASSERT_TRUE(b.LoadFile(path));
    EXPECT_EQ(b.Dimensions(), (Size{2, 1}));
    EXPECT_EQ(b.Pixel(0, 0), Rgb(0, 0, 255));
    EXPECT_EQ(b.Pixel(1, 0), Rgb(255, 0, 0));
    EXPECT_EQ(b.Pixel(5, 5), 0u);
    RegisterBitmapResource(4001, path);
    Bitmap fromResource;
    EXPECT_TRUE(fromResource.LoadResource(4001));
    EXPECT_FALSE(fromResource.LoadResource(4002));
    std::remove(path.c_str());
    Bitmap missing;
    EXPECT_FALSE(missing.LoadFile(path));
    EXPECT_TRUE(missing.IsNull());
    EXPECT_FALSE(missing.Create(0, 5));
    DC onNull(missing);  // drawing on a null bitmap does nothing
    onNull.FillSolidRect({0, 0, 5, 5}, 0);
}

TEST(DrawTest, RegionsShapesAndPaintDcOnlyDuringPaint) {
    const Region round = Region::FromRoundRect({0, 0, 20, 20}, 10, 10);
    EXPECT_FALSE(round.Contains({0, 0}));
    EXPECT_TRUE(round.Contains({10, 10}));
    Region r = Region::FromRect({0, 0, 10, 10});
    r.Subtract(Region::FromRect({0, 0, 5, 10}));
    EXPECT_EQ(r.Bounds(), (Rect{5, 0, 10, 10}));
    EXPECT_TRUE(Region().IsEmpty());

    Window window;
    ASSERT_TRUE(window.Create(nullptr, 0, Rect::FromXYWH(0, 0, 30, 30)));
    EXPECT_EQ(DC::ForPaint(window), nullptr);
    std::vector<std::uint32_t> order;
    for (std::uint32_t m : {kWmEraseBkgnd, kWmPaint}) {
        window.Messages().OnMessage(m, [&, m](WParam, LParam) {
            order.push_back(m);
            DC* dc = DC::ForPaint(window);
            EXPECT_NE(dc, nullptr);
            if (dc != nullptr) {
                dc->FillSolidRect({0, 0, 30, 30}, Rgb(1, 2, 3));
            }
            return LResult{1};
        });
    }
    window.SetRegion(round);
    Application::ProcessEvents();
    order.clear();
    window.Invalidate();
    window.UpdateNow();
    EXPECT_EQ(order, (std::vector<std::uint32_t>{kWmEraseBkgnd, kWmPaint}));
    EXPECT_EQ(DC::ForPaint(window), nullptr);
}

}  // namespace
}  // namespace plat
