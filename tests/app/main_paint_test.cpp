// The painted main window, grabbed as a user sees it: the frame pieces from the skin files, the
// digits of the current time, the volume gauge, the scrolling title on the manual clock, the
// result count, and the frame of the mini and big-video views.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "app/main_layout.h"
#include "app/skin_images.h"
#include "main_window_fixture.h"
#include "platform/window/application.h"
#include "res/skin_bitmaps.h"

namespace tunova::testing {
namespace {

constexpr plat::ColorRef kRed = plat::Rgb(255, 0, 0);

class MainPaintTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        skin.Load();
        ASSERT_FALSE(skin.topTile.IsNull()) << "the skin folder beside the program";
    }

    // The window as painted now, at one logical pixel per pixel.
    static plat::Bitmap Grab(CTunovaDlg& d) {
        plat::Application::ProcessEvents();
        return plat::testing::GrabWindow(d);
    }
    // The window's surface as its paints have left it, without painting it again.
    static plat::Bitmap Painted(CTunovaDlg& d) {
        plat::Application::ProcessEvents();
        return plat::testing::PaintedSurface(d);
    }
    // Whether `shown` has `image` (its key pixels excepted) at (x, y).
    static bool ShowsImageAt(const plat::Bitmap& shown, const plat::Bitmap& image, int x, int y,
                             plat::ColorRef key = 0xFF000000) {
        for (int iy = 0; iy < image.Height(); ++iy) {
            for (int ix = 0; ix < image.Width(); ++ix) {
                const plat::ColorRef pixel = image.Pixel(ix, iy);
                if (pixel != key && shown.Pixel(x + ix, y + iy) != pixel) {
                    return false;
                }
            }
        }
        return true;
    }
    std::string DigitsShown(const plat::Bitmap& shown) const {
        std::string digits;
        for (int x : {0, 15, 38, 53, 76, 91}) {
            char found = '?';
            for (int d = 0; d < 10; ++d) {
                if (ShowsImageAt(shown, skin.digits[d], kTimeDigitsRect.left + x,
                                 kTimeDigitsRect.top, kRed)) {
                    found = static_cast<char>('0' + d);
                }
            }
            digits += found;
        }
        return digits;
    }
    // The gauge's pixels left of its percentage that differ from the volume bar's first `width`
    // columns (key colour transparent) drawn over the player panel, which lies at (2, 28).
    int GaugeMismatches(const plat::Bitmap& shown, int width) const {
        const int columns = kVolumeTextRect.left - kVolumeBarRect.left;
        int mismatches = 0;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < columns; ++x) {
                const int wx = kVolumeBarRect.left + x;
                const int wy = kVolumeBarRect.top + y;
                const plat::ColorRef bar = skin.volumeBar.Pixel(x, y);
                const plat::ColorRef expected =
                    x < width && bar != kRed ? bar : skin.panel.Pixel(wx - 2, wy - 28);
                mismatches += shown.Pixel(wx, wy) != expected ? 1 : 0;
            }
        }
        return mismatches;
    }

    // How many pixels of `area` show text of `colour` smoothed over the interior colour: each
    // at least `least` covered, and the mix of the two colours that its coverage gives.
    int TextPixels(const plat::Bitmap& shown, const plat::Rect& area, plat::ColorRef colour,
                   double least = 0.5) const {
        const plat::ColorRef ground = skin.interior.Pixel(0, 0);
        auto channel = [](plat::ColorRef c, int shift) {
            return static_cast<double>((c >> shift) & 0xFF);
        };
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const plat::ColorRef p = shown.Pixel(x, y);
                // The coverage, from the channel where text and ground differ most.
                int widest = 0;
                for (int shift : {8, 16}) {
                    if (std::abs(channel(colour, shift) - channel(ground, shift)) >
                        std::abs(channel(colour, widest) - channel(ground, widest))) {
                        widest = shift;
                    }
                }
                const double coverage = (channel(p, widest) - channel(ground, widest)) /
                                        (channel(colour, widest) - channel(ground, widest));
                bool mixed = coverage >= least;
                for (int shift : {0, 8, 16}) {
                    const double expected =
                        channel(ground, shift) +
                        coverage * (channel(colour, shift) - channel(ground, shift));
                    mixed = mixed && std::abs(channel(p, shift) - expected) < 16;
                }
                count += mixed ? 1 : 0;
            }
        }
        return count;
    }

    SkinImages skin;
};

TEST_F(MainPaintTest, TheFrameIsComposedFromTheSkinFiles) {
    RunShown([&](CTunovaDlg& d) {
        ASSERT_EQ(d.ClientRect(), (plat::Rect{0, 0, 785, 600}));
        const plat::Bitmap shown = Grab(d);
        EXPECT_TRUE(ShowsImageAt(shown, skin.topLeft, 0, 0));
        EXPECT_TRUE(ShowsImageAt(shown, skin.logo, 7, 4));
        for (int x : {150, 400, 600}) {
            EXPECT_TRUE(ShowsImageAt(shown, skin.topTile, x, 0)) << x;
            EXPECT_TRUE(ShowsImageAt(shown, skin.bottomTile, x, 575)) << x;
        }
        EXPECT_TRUE(ShowsImageAt(shown, skin.bottomLeft, 0, 575));
        EXPECT_TRUE(ShowsImageAt(shown, skin.bottomRight, 785 - 14, 575));
        EXPECT_EQ(shown.Pixel(0, 300), skin.leftBorder.Pixel(0, 0));
        EXPECT_EQ(shown.Pixel(784, 300), skin.rightBorder.Pixel(1, 0));
        EXPECT_EQ(shown.Pixel(600, 174), skin.dotLine.Pixel(0, 0));
        EXPECT_EQ(shown.Pixel(600, 175), skin.dotLine.Pixel(0, 1));
        // The player panel, with the indicator of play mode all.
        EXPECT_EQ(shown.Pixel(150, 120), skin.panel.Pixel(148, 92));
        EXPECT_TRUE(ShowsImageAt(shown, skin.playModes[0], 213, 50));
        EXPECT_FALSE(ShowsImageAt(shown, skin.playModes[1], 186, 50));
    });
}

TEST_F(MainPaintTest, TheDigitsShowTheCurrentTimeText) {
    RunShown([&](CTunovaDlg& d) {
        EXPECT_EQ(DigitsShown(Grab(d)), "000000");
        d.Playback().currentTimeText = "01:02:03";
        d.Invalidate();
        const plat::Bitmap shown = Grab(d);
        EXPECT_EQ(DigitsShown(shown), "010203");
        EXPECT_TRUE(
            ShowsImageAt(shown, skin.colon, kTimeDigitsRect.left + 30, kTimeDigitsRect.top, kRed));
        EXPECT_TRUE(
            ShowsImageAt(shown, skin.colon, kTimeDigitsRect.left + 68, kTimeDigitsRect.top, kRed));
        d.Playback().currentTimeText = "123:45:06";
        d.Invalidate();
        EXPECT_EQ(DigitsShown(Grab(d)), "995959");
    });
}

TEST_F(MainPaintTest, TheGaugeShowsTheVolumeAndThePanelRightOfTheBar) {
    RunShown([&](CTunovaDlg& d) {
        for (const auto& [volume, width] : {std::pair{0, 0}, {50, 19}, {100, 38}, {180, 38}}) {
            d.Playback().volume = volume;
            d.Invalidate();
            const plat::Bitmap shown = Grab(d);
            EXPECT_EQ(GaugeMismatches(shown, width), 0) << volume;
            // One step less or more would show: the measurement tells the widths apart.
            if (width > 0) {
                EXPECT_GT(GaugeMismatches(shown, width - 4), 0) << volume;
            }
            if (width < 38) {
                EXPECT_GT(GaugeMismatches(shown, width + 4), 0) << volume;
            }
        }
    });
}

// A display that changes repaints its own rectangle only: whatever else changed meanwhile
// without asking for a repaint still shows as it was.
TEST_F(MainPaintTest, EachDisplayRepaintsOnlyItsOwnRectangle) {
    RunShown([&](CTunovaDlg& d) {
        const plat::Bitmap before = Painted(d);
        ASSERT_FALSE(before.IsNull());
        auto titleUnchanged = [&](const plat::Bitmap& shown) {
            for (int y = kTitleRect.top; y < kTitleRect.bottom; ++y) {
                for (int x = kTitleRect.left; x < kTitleRect.right; ++x) {
                    if (shown.Pixel(x, y) != before.Pixel(x, y)) {
                        return false;
                    }
                }
            }
            return true;
        };
        d.Playback().currentTimeText = "01:02:03";
        d.Playback().nowPlayingTitle = "A title that nobody asked to show";

        // Moving the volume slider repaints the gauge.
        d.VolumeSlider().SetPosition(100);
        d.SendMessage(res::kWmSliderMoving, res::kIdcVolumeSlider, 100);
        plat::Bitmap shown = Painted(d);
        EXPECT_EQ(GaugeMismatches(shown, 38), 0);
        EXPECT_EQ(DigitsShown(shown), "000000");
        EXPECT_TRUE(titleUnchanged(shown));

        // A play-mode choice repaints its indicator (and the panel it is composed into).
        d.Playback().volume = 0;
        d.SendCommand(res::kIdcModeRandom);
        shown = Painted(d);
        EXPECT_TRUE(ShowsImageAt(shown, skin.playModes[2], 241, 50));
        EXPECT_FALSE(ShowsImageAt(shown, skin.playModes[0], 213, 50));
        EXPECT_EQ(GaugeMismatches(shown, 38), 0) << "the gauge keeps its last paint";
        EXPECT_EQ(DigitsShown(shown), "000000");

        EXPECT_TRUE(titleUnchanged(shown));
        // A whole repaint shows what was left out.
        d.Invalidate();
        shown = Painted(d);
        EXPECT_EQ(DigitsShown(shown), "010203");
        EXPECT_FALSE(titleUnchanged(shown));
        EXPECT_EQ(GaugeMismatches(shown, 0), 0);
    });
}

TEST_F(MainPaintTest, ALongTitleRestsThenScrollsTwoPixelsAStepOnTheClock) {
    RunShown([&](CTunovaDlg& d) {
        d.Playback().nowPlayingTitle = std::string(80, 'W');
        d.Invalidate();
        const plat::Bitmap resting = Grab(d);
        clock.Advance(2900);
        EXPECT_TRUE(ShowsImageAt(Grab(d), resting, 0, 0)) << "still resting";
        clock.Advance(100);
        const plat::Bitmap stepped = Grab(d);
        // Inside the title's rectangle everything moved two pixels left; outside nothing moved.
        int same = 0;
        int shifted = 0;
        for (int y = kTitleRect.top; y < kTitleRect.bottom; ++y) {
            for (int x = kTitleRect.left; x < kTitleRect.right - 2; ++x) {
                same += stepped.Pixel(x, y) == resting.Pixel(x, y) ? 1 : 0;
                shifted += stepped.Pixel(x, y) == resting.Pixel(x + 2, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(shifted, kTitleRect.Height() * (kTitleRect.Width() - 2));
        EXPECT_LT(same, shifted);
        EXPECT_EQ(stepped.Pixel(kTitleRect.left - 1, 108), resting.Pixel(kTitleRect.left - 1, 108))
            << "nothing is drawn left of the title's rectangle";
        clock.Advance(200);
        const plat::Bitmap again = Grab(d);
        EXPECT_EQ(again.Pixel(kTitleRect.left + 10, 108), stepped.Pixel(kTitleRect.left + 12, 108));
    });
}

TEST_F(MainPaintTest, TheResultCountShowsItsLabelAndNumber) {
    RunShown([&](CTunovaDlg& d) {
        const plat::Bitmap shown = Grab(d);
        EXPECT_GT(TextPixels(shown, kResultCountRect, plat::Rgb(255, 182, 2)), 5)
            << "the count in orange";
        EXPECT_EQ(TextPixels(shown, kResultCountRect, plat::Rgb(255, 255, 255)), 0);
        EXPECT_GT(TextPixels(shown, {7, 208, 60, 222}, plat::Rgb(255, 255, 255)), 20)
            << "the label in white";
        // Small text is hinted to whole pixels: its strokes keep their full white rather than
        // blurring into grey.
        EXPECT_GT(TextPixels(shown, {7, 208, 60, 222}, plat::Rgb(255, 255, 255), 0.95), 20);
        EXPECT_EQ(TextPixels(shown, {7, 208, 60, 222}, plat::Rgb(255, 182, 2)), 0);
    });
}

TEST_F(MainPaintTest, TheResultListsHeaderShowsItsSkin) {
    // The lists take their header pictures when they are created, so the program's bitmaps
    // must be there before the controls are.
    res::RegisterSkinResources();
    plat::Bitmap tile;
    ASSERT_TRUE(tile.LoadResource(129));
    RunShown([&](CTunovaDlg& d) {
        const plat::Bitmap shown = Grab(d);
        const plat::Rect list = d.NormalLayoutRect(res::kIdcResultList);
        for (int y : {1, 8, 15}) {
            EXPECT_EQ(shown.Pixel(list.left + 100, list.top + y), tile.Pixel(0, y)) << y;
        }
    });
}

// Run with QT_SCALE_FACTOR=2 (its own entry in the test list): the window's surface has two
// device pixels per logical pixel, and the frame and the digits come from the skin's @2x images
// rather than from the plain ones enlarged.
using DoubleDensityPaintTest = MainPaintTest;

TEST_F(DoubleDensityPaintTest, TheFrameAndTheDigitsUseTheTwiceAsLargeImages) {
    RunShown([&](CTunovaDlg& d) {
        if (plat::testing::DeviceScale(d) != 2) {
            GTEST_SKIP() << "needs a screen of device pixel ratio 2 (QT_SCALE_FACTOR=2)";
        }
        d.Playback().currentTimeText = "00:00:08";
        d.Invalidate();
        const plat::Bitmap shown = Grab(d);
        const plat::Bitmap logo = skin.logo.HighDensity();
        const plat::Bitmap eight = skin.digits[8].HighDensity();
        const plat::Bitmap tile = skin.topTile.HighDensity();
        ASSERT_EQ(logo.Dimensions(), (plat::Size{162, 38}));
        ASSERT_EQ(eight.Dimensions(), (plat::Size{30, 44}));
        // The @2x image is drawn with detail the plain one lacks: enlarging would not give it.
        int finer = 0;
        for (int y = 0; y < 38; ++y) {
            for (int x = 0; x < 162; ++x) {
                finer += logo.Pixel(x, y) != skin.logo.Pixel(x / 2, y / 2) ? 1 : 0;
            }
        }
        ASSERT_GT(finer, 0);
        EXPECT_TRUE(ShowsImageAt(shown, logo, 2 * 7, 2 * 4));
        EXPECT_TRUE(ShowsImageAt(shown, tile, 2 * 300, 0));
        EXPECT_TRUE(ShowsImageAt(shown, eight, 2 * (kTimeDigitsRect.left + 91),
                                 2 * kTimeDigitsRect.top, kRed));
    });
}

}  // namespace
}  // namespace tunova::testing
