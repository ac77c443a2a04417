// Platform-internal: how the window timers follow the clock. The timers
// (platform/window/timers.cpp) set the listener; without one, a manual clock's time just moves.
#pragma once

#include <cstdint>

namespace plat {

class ManualClock;

struct ClockListener {
    // A clock was installed: re-arm every timer for it.
    void (*clockReplaced)() = nullptr;
    // `clock`, the clock in force or not, moves `ms` ahead: fire the timers falling due within
    // that time, in order of due time, moving the clock's tick to each due time first.
    void (*manualAdvance)(ManualClock& clock, std::uint32_t ms) = nullptr;
};
void ListenToClock(ClockListener listener);

// True while no test clock is installed.
bool IsSystemClockInForce();

}  // namespace plat
