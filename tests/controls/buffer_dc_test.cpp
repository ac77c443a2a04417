// Off-screen drawing contexts: what reaches the target when they end.
#include <gtest/gtest.h>

#include "controls/buffer_dc.h"

namespace tunova {
namespace {

plat::Bitmap Filled(int w, int h, plat::ColorRef c) {
    plat::Bitmap b;
    EXPECT_TRUE(b.Create(w, h));
    plat::DC(b).FillSolidRect({0, 0, w, h}, c);
    return b;
}

TEST(BufferDcTest, WithoutCopyFirstTheAreaStartsFromTheBackgroundColour) {
    plat::Bitmap surface = Filled(30, 20, plat::Rgb(9, 9, 9));
    plat::DC target(surface);
    target.SetBkColor(plat::Rgb(0, 0, 80));
    const plat::Rect area{10, 5, 20, 15};
    {
        CBufferDC buffer(target, &area);
        // Drawn on the target meanwhile: covered when the buffer ends.
        target.FillSolidRect({10, 5, 12, 7}, plat::Rgb(255, 0, 0));
        buffer.FillSolidRect({18, 13, 20, 15}, plat::Rgb(0, 255, 0));  // target coordinates
    }
    EXPECT_EQ(surface.Pixel(10, 5), plat::Rgb(0, 0, 80));
    EXPECT_EQ(surface.Pixel(19, 14), plat::Rgb(0, 255, 0));
    EXPECT_EQ(surface.Pixel(9, 5), plat::Rgb(9, 9, 9));  // outside the area: untouched
    EXPECT_EQ(surface.Pixel(20, 15), plat::Rgb(9, 9, 9));
}

TEST(BufferDcTest, CopyFirstStartsFromTheTargetAndTheClipBoxIsTheDefaultArea) {
    plat::Bitmap surface = Filled(30, 20, plat::Rgb(9, 9, 9));
    plat::DC target(surface);
    target.FillSolidRect({0, 0, 5, 5}, plat::Rgb(200, 100, 0));
    target.SelectClipRect({0, 0, 10, 10});
    {
        CBufferDC buffer(target, nullptr, true);
        EXPECT_EQ(buffer.Area(), (plat::Rect{0, 0, 10, 10}));
        buffer.FillSolidRect({6, 6, 7, 7}, plat::Rgb(1, 2, 3));
    }
    EXPECT_EQ(surface.Pixel(2, 2), plat::Rgb(200, 100, 0));
    EXPECT_EQ(surface.Pixel(6, 6), plat::Rgb(1, 2, 3));
}

TEST(BufferDcTest, SecondKindCopiesExactlyThePaintedBitmap) {
    plat::Bitmap surface = Filled(20, 20, plat::Rgb(9, 9, 9));
    plat::DC target(surface);
    {
        CBufferDC2 buffer({0, 0, 8, 6}, target);
        buffer.FillSolidRect({0, 0, 8, 6}, plat::Rgb(0, 0, 0));
        buffer.FillSolidRect({7, 5, 8, 6}, plat::Rgb(255, 255, 255));
    }
    EXPECT_EQ(surface.Pixel(0, 0), plat::Rgb(0, 0, 0));
    EXPECT_EQ(surface.Pixel(7, 5), plat::Rgb(255, 255, 255));
    EXPECT_EQ(surface.Pixel(8, 6), plat::Rgb(9, 9, 9));
    {
        // An area away from the origin is painted in the target's coordinates.
        CBufferDC2 buffer({10, 10, 14, 14}, target);
        buffer.FillSolidRect({0, 0, 20, 20}, plat::Rgb(0, 0, 0));
        buffer.FillSolidRect({10, 10, 11, 11}, plat::Rgb(0, 99, 0));
    }
    EXPECT_EQ(surface.Pixel(10, 10), plat::Rgb(0, 99, 0));
    EXPECT_EQ(surface.Pixel(13, 13), plat::Rgb(0, 0, 0));
    EXPECT_EQ(surface.Pixel(14, 14), plat::Rgb(9, 9, 9));
}

}  // namespace
}  // namespace tunova
