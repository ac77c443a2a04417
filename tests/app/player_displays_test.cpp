// The displays drawn on a bitmap with the real skin files: the digits of a time text (and
// texts that are not), the volume bar at its steps and beyond its range, the result count
// only while the list shows.
#include "app/player_displays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "app/main_layout.h"
#include "app/time_digits.h"
#include "platform/window/window.h"

namespace tunova {
namespace {

constexpr plat::ColorRef kRed = plat::Rgb(255, 0, 0);

class PlayerDisplaysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        skin_.Load();
        ASSERT_FALSE(skin_.digits[9].IsNull()) << "the skin folder beside the program";
        ASSERT_FALSE(skin_.volumeBar.IsNull());
        Clear();
    }
    void Clear() { ASSERT_TRUE(canvas_.Create(400, 240)); }

    // Whether the digit cell at `x` of the display shows `digit` (its key pixels black).
    bool CellShows(int x, const plat::Bitmap& digit, int width) const {
        for (int y = 0; y < 22; ++y) {
            for (int dx = 0; dx < width; ++dx) {
                const plat::ColorRef source = digit.Pixel(dx, y);
                const plat::ColorRef expected = source == kRed ? plat::Rgb(0, 0, 0) : source;
                if (canvas_.Pixel(kTimeDigitsRect.left + x + dx, kTimeDigitsRect.top + y) !=
                    expected) {
                    return false;
                }
            }
        }
        return true;
    }
    std::string DigitsShown() const {
        std::string shown;
        for (int x : kDigitCellX) {
            char found = '?';
            for (int d = 0; d < 10; ++d) {
                if (CellShows(x, skin_.digits[d], 15)) {
                    found = static_cast<char>('0' + d);
                }
            }
            shown += found;
        }
        return shown;
    }
    // Columns of the gauge's row 5, from its left end, that show `colour`.
    int BarWidthShown(plat::ColorRef colour) const {
        int width = 0;
        while (width < 66 &&
               canvas_.Pixel(kVolumeBarRect.left + width, kVolumeBarRect.top + 5) == colour) {
            ++width;
        }
        return width;
    }

    // Whether `area` holds text drawn in white on the black canvas.
    bool IsWhiteText(const plat::Rect& area) const {
        int white = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const plat::ColorRef p = canvas_.Pixel(x, y);
                const int r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
                if (r != g || g != b) {
                    return false;
                }
                white += p == plat::Rgb(255, 255, 255) ? 1 : 0;
            }
        }
        return white > 0;
    }
    // The leftmost and rightmost columns of `area` holding a pixel that `lit` accepts.
    template <typename Lit>
    std::pair<int, int> LitColumns(const plat::Rect& area, Lit lit) const {
        std::pair<int, int> columns{area.right, area.left - 1};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (lit(canvas_.Pixel(x, y))) {
                    columns.first = std::min(columns.first, x);
                    columns.second = std::max(columns.second, x);
                }
            }
        }
        return columns;
    }

    SkinImages skin_;
    plat::Bitmap canvas_;
};

TEST_F(PlayerDisplaysTest, TheTimeShowsItsSixDigitsWithColonsAfterTheSecondAndFourth) {
    {
        plat::DC dc(canvas_);
        DrawTimeDigits(dc, skin_, "01:02:03");
    }
    EXPECT_EQ(DigitsShown(), "010203");
    EXPECT_TRUE(CellShows(30, skin_.colon, 8));
    EXPECT_TRUE(CellShows(68, skin_.colon, 8));
}

TEST_F(PlayerDisplaysTest, TextsThatAreNotATimeNeverReadPastTheTenDigits) {
    const std::pair<const char*, const char*> cases[] = {
        {"123:04:05", "995959"},  // 100 hours and more
        {"99:59:59", "995959"},  {"1x:0/:?3", "000103"},
        {"", "000000"},          {"\xb0\xa1:12:34", "001234"},  // a double-byte character
    };
    for (const auto& [text, shown] : cases) {
        Clear();
        plat::DC dc(canvas_);
        DrawTimeDigits(dc, skin_, text);
        EXPECT_EQ(DigitsShown(), shown) << text;
    }
}

TEST_F(PlayerDisplaysTest, TheGaugeGrowsByFullTensAndClampsTheVolume) {
    // The skin's bar has keyed gaps between its steps and steps shorter than the bar's height;
    // a bar of one solid colour shows exactly how many columns are drawn.
    constexpr plat::ColorRef kLit = plat::Rgb(40, 200, 90);
    ASSERT_TRUE(skin_.volumeBar.Create(38, 10));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 38; ++x) {
            skin_.volumeBar.SetPixel(x, y, kLit);
        }
    }
    const std::pair<int, int> cases[] = {{0, 0},   {9, 0},   {10, 3},   {19, 3},   {50, 19},
                                         {55, 19}, {90, 34}, {100, 38}, {250, 38}, {-20, 0}};
    for (const auto& [volume, width] : cases) {
        Clear();
        {
            plat::DC dc(canvas_);
            DrawVolumeGauge(dc, skin_, volume);
        }
        EXPECT_EQ(BarWidthShown(kLit), width) << volume;
        EXPECT_EQ(VolumeText(volume), std::to_string(std::clamp(volume, 0, 100)) + "%");
    }
    // The percentage is drawn in white inside its rectangle: on the black canvas its smoothed
    // edges are greys, its brightest pixels white.
    EXPECT_TRUE(IsWhiteText(kVolumeTextRect));
}

TEST_F(PlayerDisplaysTest, TheResultCountShowsOnlyWhileTheListShows) {
    plat::Window window;
    ASSERT_TRUE(window.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 100, 100)));
    TitleMarquee marquee(window, kTitleRect);
    auto countPixels = [&] {
        int lit = 0;
        for (int y = kResultCountLabelRect.top; y < kResultCountLabelRect.bottom; ++y) {
            for (int x = kResultCountLabelRect.left; x < kResultCountLabelRect.right; ++x) {
                lit += canvas_.Pixel(x, y) != 0 ? 1 : 0;
            }
        }
        return lit;
    };
    {
        plat::DC dc(canvas_);
        DrawInfoTexts(dc, {"title", "03:45", "500", true}, marquee);
    }
    EXPECT_GT(countPixels(), 20);
    auto isOrange = [](plat::ColorRef p) {
        // (255, 182, 2) at least half covering the black: red above green above blue.
        const int r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
        return r >= 128 && r > g + 30 && g > b + 80;
    };
    auto isGrey = [](plat::ColorRef p) {
        const int r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
        return r > 40 && r == g && g == b;
    };
    const auto [countLeft, countRight] = LitColumns(kResultCountLabelRect, isOrange);
    EXPECT_GE(countLeft, kResultCountRect.left) << "the count in orange, in its rectangle";
    EXPECT_LT(countRight, kResultCountRect.right);
    EXPECT_GT(countRight - countLeft, 10) << "three digits";
    // The label's words in white: the first left of the count, the unit right of it, apart
    // from the number whatever width the font gives the spaces between them.
    const auto [labelLeft, labelRight] = LitColumns(kResultCountLabelRect, isGrey);
    EXPECT_LT(labelLeft, countLeft);
    EXPECT_GT(LitColumns({kResultCountLabelRect.left, kResultCountLabelRect.top, countLeft,
                          kResultCountLabelRect.bottom},
                         isGrey)
                  .second,
              kResultCountLabelRect.left + 20)
        << "the word before the count";
    EXPECT_EQ(LitColumns({countLeft, kResultCountLabelRect.top, countRight + 2,
                          kResultCountLabelRect.bottom},
                         isGrey)
                  .second,
              countLeft - 1)
        << "nothing white among the count's digits";
    EXPECT_GT(labelRight, countRight + 2) << "the unit after the count";
    EXPECT_TRUE(IsWhiteText({kResultCountRect.right + 1, kResultCountLabelRect.top,
                             kResultCountLabelRect.right, kResultCountLabelRect.bottom}));
    Clear();
    {
        plat::DC dc(canvas_);
        DrawInfoTexts(dc, {"title", "03:45", "30", false}, marquee);
    }
    EXPECT_EQ(countPixels(), 0) << "big-video view";
}

}  // namespace
}  // namespace tunova
