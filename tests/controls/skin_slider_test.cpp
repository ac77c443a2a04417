// The bitmap slider: its pixel mapping, the messages its mouse and keys post, and its painting
// against the generated channel and thumb bitmaps.
#include <gtest/gtest.h>

#include "controls/skin_slider.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

struct Posted {
    std::uint32_t message;
    int id;
    int position;
    friend bool operator==(const Posted&, const Posted&) = default;
};

class SkinSliderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { res::RegisterSkinResources(); }
    void SetUp() override {
        ASSERT_TRUE(dialog_.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 420, 100)));
        for (std::uint32_t m : {res::kWmSliderMoving, res::kWmSliderReleased}) {
            dialog_.Messages().OnMessage(m, [this, m](plat::WParam w, plat::LParam l) {
                posted_.push_back({m, static_cast<int>(w), static_cast<int>(l)});
                return plat::LResult{0};
            });
        }
        ASSERT_TRUE(slider_.Create(&dialog_, 1009, plat::Rect::FromXYWH(7, 20, 10, 10)));
        ASSERT_TRUE(slider_.SetChannelBitmaps(240, 235));
        ASSERT_TRUE(slider_.SetThumbBitmap(236));
        slider_.SetLimits(0, 100);
        slider_.SetPosition(0);
        dialog_.Show(true);
        plat::Application::ProcessEvents();
    }
    std::vector<Posted> Drain() {
        plat::Application::ProcessEvents();
        return std::exchange(posted_, {});
    }

    plat::Window dialog_;
    CSkinSlider slider_;
    std::vector<Posted> posted_;
};

TEST_F(SkinSliderTest, MapsPositionsToPixelsAndBackIncludingAnEmptyRange) {
    EXPECT_EQ(slider_.ClientRect(), (plat::Rect{0, 0, 383, 8}));  // the channel's size
    // Thumb 15 wide: centres run from 7 to 383 - 15 + 7.
    EXPECT_EQ(slider_.ThumbCentreFor(0), 7);
    EXPECT_EQ(slider_.ThumbCentreFor(100), 375);
    EXPECT_EQ(slider_.ThumbCentreFor(50), 7 + 184);
    EXPECT_EQ(slider_.PositionFor(7), 0);
    EXPECT_EQ(slider_.PositionFor(375), 100);
    EXPECT_EQ(slider_.PositionFor(191), 50);

    slider_.SetLimits(30, 30);  // a video of length 0
    slider_.SetPosition(99);
    EXPECT_EQ(slider_.GetPosition(), 30);
    EXPECT_EQ(slider_.ThumbCentreFor(30), 7);
    EXPECT_EQ(slider_.PositionFor(200), 30);
    plat::testing::MouseClick(slider_, {300, 4});
    EXPECT_EQ(Drain(), (std::vector<Posted>{{res::kWmSliderReleased, 1009, 30}}));
}

TEST_F(SkinSliderTest, AFarClickPostsOneMovingAndOneReleased) {
    plat::testing::MouseDown(slider_, {300, 4});
    plat::testing::MouseUp(slider_, {300, 4});
    const int jumped = slider_.PositionFor(300);
    EXPECT_EQ(jumped, 79);
    EXPECT_EQ(Drain(), (std::vector<Posted>{{res::kWmSliderMoving, 1009, 79},
                                            {res::kWmSliderReleased, 1009, 79}}));
    EXPECT_EQ(slider_.GetPosition(), 79);
}

TEST_F(SkinSliderTest, DragsPastTheEndsStopAtTheLimits) {
    plat::testing::MouseDown(slider_, {9, 4});  // on the thumb, 2 right of its centre
    plat::testing::MouseMove(slider_, {-80, 4}, 1);
    EXPECT_EQ(slider_.GetPosition(), 0);
    EXPECT_TRUE(Drain().empty());  // the thumb never moved
    plat::testing::MouseMove(slider_, {600, 4}, 1);
    plat::testing::MouseUp(slider_, {600, 4});
    EXPECT_EQ(slider_.GetPosition(), 100);
    EXPECT_EQ(Drain(), (std::vector<Posted>{{res::kWmSliderMoving, 1009, 100},
                                            {res::kWmSliderReleased, 1009, 100}}));
}

// Another window taking the capture ends the drag as a release would; later moves are not drags.
TEST_F(SkinSliderTest, LosingTheCaptureEndsTheDrag) {
    plat::testing::MouseDown(slider_, {300, 4});
    plat::testing::MouseMove(slider_, {200, 4}, 1);
    const int dragged = slider_.PositionFor(200);
    plat::Window other;
    ASSERT_TRUE(other.Create(&dialog_, 5, plat::Rect::FromXYWH(0, 60, 20, 20)));
    other.SetCapture();
    EXPECT_EQ(Drain(), (std::vector<Posted>{{res::kWmSliderMoving, 1009, 79},
                                            {res::kWmSliderMoving, 1009, dragged},
                                            {res::kWmSliderReleased, 1009, dragged}}));
    plat::Window::ReleaseCapture();
    plat::testing::MouseMove(slider_, {350, 4}, 1);
    EXPECT_EQ(slider_.GetPosition(), dragged);
    EXPECT_TRUE(Drain().empty());
}

TEST_F(SkinSliderTest, KeysMoveClampAndAlwaysPostReleased) {
    const std::pair<int, int> steps[] = {
        {plat::kVkNext, 20}, {plat::kVkRight, 21}, {plat::kVkUp, 20},
        {plat::kVkEnd, 100}, {plat::kVkEnd, 100},  {plat::kVkDown, 100},
        {plat::kVkHome, 0},  {plat::kVkPrior, 0},  {plat::kVkLeft, 0}};
    for (const auto& [key, expected] : steps) {
        plat::testing::PressKey(slider_, key);
        EXPECT_EQ(slider_.GetPosition(), expected) << key;
        EXPECT_EQ(Drain(), (std::vector<Posted>{{res::kWmSliderReleased, 1009, expected}})) << key;
    }
}

TEST_F(SkinSliderTest, PaintsTheActiveChannelLeftOfTheThumbCentre) {
    slider_.SetDrawFocus(false);
    slider_.SetPosition(50);
    slider_.UpdateNow();
    const plat::Bitmap shown = plat::testing::GrabWindow(slider_);
    plat::Bitmap channel, active, thumb;
    ASSERT_TRUE(channel.LoadResource(240));
    ASSERT_TRUE(active.LoadResource(235));
    ASSERT_TRUE(thumb.LoadResource(236));
    const int centre = slider_.ThumbCentreFor(50);
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(shown.Pixel(100, y), active.Pixel(100, y));
        EXPECT_EQ(shown.Pixel(300, y), channel.Pixel(300, y));
        for (int x = 0; x < 15; ++x) {
            EXPECT_EQ(shown.Pixel(centre - 7 + x, y), thumb.Pixel(x, y));
        }
    }
}

}  // namespace
}  // namespace tunova
