// Window timers under the manual clock: periods, order, changes made from inside a handler.
#include <gtest/gtest.h>

#include "platform/core/clock.h"
#include "platform/window/application.h"
#include "platform/window/window.h"

namespace plat {
namespace {

class TimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallClock(&clock_);
        ASSERT_TRUE(window_.Create(nullptr, 0, Rect::FromXYWH(0, 0, 10, 10), 0));
        for (int id : {1, 3, 42}) {
            window_.Messages().OnTimer(id,
                                       [this, id] { fired_.emplace_back(id, clock_.TickCount()); });
        }
    }
    void TearDown() override { InstallClock(nullptr); }

    ManualClock clock_;
    Window window_;
    std::vector<std::pair<int, std::uint32_t>> fired_;
};

TEST_F(TimerTest, TimersFireByDueTimeWithTheClockAtEachDue) {
    window_.SetTimer(1, 500);
    window_.SetTimer(3, 300);
    EXPECT_TRUE(window_.HasTimer(1));
    EXPECT_EQ(window_.TimerPeriod(3), 300u);
    EXPECT_EQ(window_.TimerPeriod(7), 0u);
    clock_.Advance(1000);
    using Fired = std::vector<std::pair<int, std::uint32_t>>;
    EXPECT_EQ(fired_, (Fired{{3, 300}, {1, 500}, {3, 600}, {3, 900}, {1, 1000}}));
    EXPECT_EQ(clock_.TickCount(), 1000u);
}

TEST_F(TimerTest, HandlersKillAndRestartTimersWithinOneAdvance) {
    // Timer 21 restarts itself with a new period on its first tick.
    window_.Messages().OnTimer(35, [this] {
        // One-shot: kills itself and starts timer 42.
        fired_.emplace_back(35, clock_.TickCount());
        window_.KillTimer(35);
        window_.SetTimer(42, 4000);
    });
    window_.Messages().OnTimer(21, [this] {
        fired_.emplace_back(21, clock_.TickCount());
        window_.SetTimer(21, 1000);
    });
    window_.SetTimer(35, 2800);
    window_.SetTimer(21, 200);
    clock_.Advance(2800);  // 2.8 s pass in no real time
    using Fired = std::vector<std::pair<int, std::uint32_t>>;
    EXPECT_EQ(fired_, (Fired{{21, 200}, {21, 1200}, {21, 2200}, {35, 2800}}));
    EXPECT_FALSE(window_.HasTimer(35));
    EXPECT_EQ(window_.TimerPeriod(21), 1000u);
    fired_.clear();
    clock_.Advance(4000);
    EXPECT_EQ(fired_, (Fired{{21, 3200}, {21, 4200}, {21, 5200}, {21, 6200}, {42, 6800}}));
}

TEST_F(TimerTest, DestroyKillsTimersAndTheHookSeesTicks) {
    int hooked = 0;
    Application::Instance()->SetPreDispatchHook([&](const Message& m) {
        if (m.message == kWmTimer && m.wParam == 3) {
            ++hooked;
            return true;  // consumed: the window never sees it
        }
        return false;
    });
    window_.SetTimer(3, 300);
    window_.SetTimer(1, 500);
    clock_.Advance(600);
    Application::Instance()->SetPreDispatchHook({});
    EXPECT_EQ(hooked, 2);
    EXPECT_EQ(fired_, (std::vector<std::pair<int, std::uint32_t>>{{1, 500}}));
    window_.Destroy();
    EXPECT_FALSE(window_.HasTimer(1));
    clock_.Advance(5000);
    EXPECT_EQ(fired_.size(), 1u);
}

TEST_F(TimerTest, SleepMovesTimeWithoutFiringTimers) {
    window_.SetTimer(1, 500);
    clock_.Sleep(2000);
    EXPECT_TRUE(fired_.empty());
    EXPECT_EQ(clock_.TickCount(), 2000u);
    clock_.Advance(0);  // everything overdue fires once, now
    EXPECT_EQ(fired_.size(), 1u);
}

TEST(SystemClockTest, TicksInMillisecondsAndKnowsTheDate) {
    Clock& system = CurrentClock();
    const std::uint32_t before = system.TickCount();
    system.Sleep(30);
    const std::uint32_t slept = system.TickCount() - before;
    EXPECT_GE(slept, 30u) << "a sleep of 30 ms moves the tick count by at least 30";
    EXPECT_LT(slept, 5000u) << "milliseconds, not a finer unit";
    const LocalDate now = system.Now();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
}

}  // namespace
}  // namespace plat
