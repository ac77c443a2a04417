// The scrolling title's cycle on a real window's timers under the manual clock: rest, step,
// pause at the end of a pass, start again; titles that fit, an empty title, a new title.
#include "app/title_marquee.h"

#include <gtest/gtest.h>

#include "platform/core/clock.h"
#include "platform/window/window.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

constexpr plat::Rect kArea{29, 101, 265, 115};  // 236 pixels wide

class TitleMarqueeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::InstallClock(&clock_);
        ASSERT_TRUE(window_.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 300, 200)));
        window_.Messages().OnTimer(res::kTimerTitleScroll.id, [this] {
            ++steps_;
            marquee_.OnStepTimer();
        });
        window_.Messages().OnTimer(res::kTimerTitlePause.id, [this] {
            ++pauses_;
            marquee_.OnPauseTimer();
        });
    }
    void TearDown() override {
        window_.Destroy();
        plat::InstallClock(nullptr);
    }

    // Advances the clock by `ms`, painting the title (of `width` pixels) after every tick as
    // the invalidation does.
    void Run(std::uint32_t ms, int width) {
        for (std::uint32_t t = 0; t < ms; t += 100) {
            clock_.Advance(100);
            last_ = marquee_.Place(width);
        }
    }

    plat::ManualClock clock_;
    plat::Window window_;
    TitleMarquee marquee_{window_, kArea};
    TitleMarquee::Placement last_;
    int steps_ = 0;
    int pauses_ = 0;
};

TEST_F(TitleMarqueeTest, ATitleExactlyAsWideAsItsAreaStandsStill) {
    last_ = marquee_.Place(kArea.Width());
    EXPECT_FALSE(last_.scrolled);
    Run(10000, kArea.Width());
    EXPECT_EQ(steps_, 0);
    EXPECT_EQ(pauses_, 0);
    EXPECT_FALSE(marquee_.Scrolling());
}

TEST_F(TitleMarqueeTest, OnePixelWiderRestsThreeSecondsThenStepsTwoPixelsEvery200Ms) {
    const int width = kArea.Width() + 1;
    last_ = marquee_.Place(width);
    EXPECT_FALSE(last_.scrolled) << "drawn left-aligned while it rests";
    EXPECT_TRUE(marquee_.Scrolling());
    Run(2900, width);
    EXPECT_EQ(steps_, 0) << "rests 3 s";
    Run(100, width);
    ASSERT_EQ(steps_, 1);
    EXPECT_TRUE(last_.scrolled);
    EXPECT_EQ(last_.at, (plat::Point{kArea.left - 2, kArea.top}));
    // The overhang of one pixel is covered by that step: the pass ends and pauses 2 s.
    Run(1900, width);
    EXPECT_EQ(steps_, 1) << "no step during the pause";
    EXPECT_EQ(pauses_, 0);
    EXPECT_TRUE(last_.scrolled) << "the title stays where the pass ended";
    Run(100, width);
    EXPECT_EQ(pauses_, 1);
    // Back at the left edge, resting again, then the next pass.
    EXPECT_FALSE(last_.scrolled);
    EXPECT_EQ(last_.at, (plat::Point{kArea.left, kArea.top}));
    Run(3000, width);
    EXPECT_EQ(steps_, 2);
}

TEST_F(TitleMarqueeTest, ALongTitleMovesUntilItsEndReachesTheRightEdge) {
    const int width = kArea.Width() + 40;  // 20 steps of 2 pixels
    marquee_.Place(width);
    Run(3000, width);
    ASSERT_EQ(steps_, 1);
    Run(19 * 200, width);
    EXPECT_EQ(steps_, 20);
    EXPECT_EQ(last_.at.x, kArea.left - 40) << "the last character at the right edge";
    Run(1900, width);
    EXPECT_EQ(steps_, 20) << "resting 2 s at the end";
    EXPECT_EQ(last_.at.x, kArea.left - 40);
    Run(100, width);
    EXPECT_EQ(pauses_, 1);
    EXPECT_EQ(last_.at.x, kArea.left);
}

TEST_F(TitleMarqueeTest, AnEmptyTitleStartsNoTimer) {
    for (int i = 0; i < 5; ++i) {
        last_ = marquee_.Place(0);
    }
    Run(10000, 0);
    EXPECT_EQ(steps_, 0);
    EXPECT_EQ(pauses_, 0) << "no endless 2 s repaints while nothing plays";
}

TEST_F(TitleMarqueeTest, ANewTitleStartsAtTheLeftAndAShortOneStandsStill) {
    const int width = kArea.Width() + 40;
    marquee_.Place(width);
    Run(3000 + 5 * 200, width);
    ASSERT_EQ(steps_, 6);
    marquee_.Reset();
    EXPECT_FALSE(marquee_.Scrolling());
    Run(10000, 100);
    EXPECT_EQ(steps_, 6) << "the scroll stopped with the old title";
    EXPECT_FALSE(last_.scrolled);
    EXPECT_EQ(last_.at, (plat::Point{kArea.left, kArea.top}));
}

}  // namespace
}  // namespace tunova
