// Time as the program sees it: the millisecond tick count, the local date, sleeping, and the
// driver of window timers. Production uses the system clock; tests install a ManualClock and
// advance it, so a 2800 ms wait costs no real time.
#pragma once

#include <cstdint>

namespace plat {

struct LocalDate {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const LocalDate&, const LocalDate&) = default;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps at 2^32 like the system tick count.
    virtual std::uint32_t TickCount() const = 0;
    virtual LocalDate Now() const = 0;
    // Blocks the calling thread (a manual clock only moves its time forward, firing no timers).
    virtual void Sleep(std::uint32_t ms) = 0;
};

// The clock in force for this process (the system clock unless a test installed another).
Clock& CurrentClock();
// Installs `clock` (not owned); null restores the system clock.
void InstallClock(Clock* clock);

// A clock that moves only when told. Advance() fires every window timer that falls due in
// order of due time, each tick delivered synchronously as kWmTimer.
class ManualClock : public Clock {
  public:
    explicit ManualClock(LocalDate now = {2026, 12, 8, 12, 0, 0});
    std::uint32_t TickCount() const override { return tick_; }
    LocalDate Now() const override { return now_; }
    void Sleep(std::uint32_t ms) override { tick_ += ms; }

    void Advance(std::uint32_t ms);
    void SetNow(const LocalDate& now) { now_ = now; }

  private:
    std::uint32_t tick_ = 0;
    LocalDate now_;
};

}  // namespace plat
