// The generated skin against its table: every bitmap resource loads at its size (and its
// companion at twice that), masks are pure black inside and pure white outside their shapes,
// key colours are where the table says, and every skin file lies in the skin folder.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/draw/draw.h"
#include "res/skin_bitmaps.h"
#include "support/test_paths.h"

namespace tunova {
namespace {

using res::BitmapRole;

class SkinCatalogueTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { res::RegisterSkinResources(); }
};

TEST_F(SkinCatalogueTest, EveryBitmapLoadsAtItsTableSizeWithACompanion) {
    std::set<int> ids;
    for (const res::SkinBitmap& entry : res::SkinBitmaps()) {
        SCOPED_TRACE("bitmap " + std::to_string(entry.id));
        EXPECT_TRUE(ids.insert(entry.id).second);
        EXPECT_GE(entry.id, 129);
        EXPECT_LE(entry.id, 297);
        plat::Bitmap bitmap;
        ASSERT_TRUE(bitmap.LoadResource(entry.id));
        EXPECT_EQ(bitmap.Dimensions(), (plat::Size{entry.width, entry.height}));
        EXPECT_EQ(bitmap.HighDensity().Dimensions(),
                  (plat::Size{entry.width * 2, entry.height * 2}));
    }
    EXPECT_EQ(res::FindSkinBitmap(128), nullptr);
    EXPECT_NE(res::FindSkinBitmap(297), nullptr);
    EXPECT_GT(res::SkinResourceBytes(true), res::SkinResourceBytes(false));
}

TEST_F(SkinCatalogueTest, MasksAreBlackInsideAndWhiteOutside) {
    for (const res::SkinBitmap& entry : res::SkinBitmaps()) {
        if (entry.role != BitmapRole::kMask) {
            continue;
        }
        SCOPED_TRACE("mask " + std::to_string(entry.id));
        EXPECT_EQ(entry.key, res::kKeyWhite);
        plat::Bitmap mask;
        ASSERT_TRUE(mask.LoadResource(entry.id));
        int inside = 0;
        int outside = 0;
        for (int y = 0; y < entry.height; ++y) {
            for (int x = 0; x < entry.width; ++x) {
                const plat::ColorRef c = mask.Pixel(x, y);
                ASSERT_TRUE(c == res::kKeyWhite || c == plat::Rgb(0, 0, 0)) << x << "," << y;
                (c == res::kKeyWhite ? outside : inside) += 1;
            }
        }
        // Every shape is cut round: its corners lie outside, its centre inside.
        EXPECT_GT(outside, 0);
        EXPECT_EQ(mask.Pixel(0, 0), res::kKeyWhite);
        EXPECT_EQ(mask.Pixel(entry.width / 2, entry.height / 2), plat::Rgb(0, 0, 0));
        EXPECT_GT(inside, entry.width * entry.height / 2);
    }
}

TEST_F(SkinCatalogueTest, KeyColoursAreWhereTheTableSays) {
    for (const res::SkinBitmap& entry : res::SkinBitmaps()) {
        if (entry.key == res::kNoKey || entry.role == BitmapRole::kMask) {
            continue;
        }
        SCOPED_TRACE("bitmap " + std::to_string(entry.id));
        plat::Bitmap bitmap;
        ASSERT_TRUE(bitmap.LoadResource(entry.id));
        EXPECT_EQ(bitmap.Pixel(0, 0), entry.key);  // around the picture
        EXPECT_NE(bitmap.Pixel(entry.width / 2, entry.height / 2), entry.key);
    }
}

TEST_F(SkinCatalogueTest, SkinFilesLieInTheSkinFolder) {
    const std::string folder = tunova::testing::RunDir() + "/skin/";
    for (const res::SkinFile& entry : res::SkinFiles()) {
        SCOPED_TRACE(entry.name);
        plat::Bitmap file;
        ASSERT_TRUE(file.LoadFile(folder + entry.name));
        EXPECT_EQ(file.Dimensions(), (plat::Size{entry.width, entry.height}));
        EXPECT_EQ(file.HighDensity().Dimensions(), (plat::Size{entry.width * 2, entry.height * 2}));
        if (entry.key != res::kNoKey) {
            EXPECT_EQ(file.Pixel(0, 0), entry.key);
        }
    }
}

}  // namespace
}  // namespace tunova
