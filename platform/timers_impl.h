// Platform-internal: the process's window timers. One registry of (window, id, period, next due
// tick), driven by Qt timers under the system clock and by ManualClock::Advance under a manual
// clock. User-interface thread only.
#pragma once

#include <cstdint>

namespace plat {

class ManualClock;
class Window;

void SetWindowTimer(Window* window, int id, std::uint32_t periodMs);
void KillWindowTimer(std::uint64_t windowKey, int id);
void KillAllWindowTimers(std::uint64_t windowKey);
bool HasWindowTimer(std::uint64_t windowKey, int id);
std::uint32_t WindowTimerPeriod(std::uint64_t windowKey, int id);  // 0 when not running

// Re-arms every timer for the clock now in force (called when a clock is installed).
void RearmWindowTimers();
// Fires the timers falling due within the next `ms` of `clock`, in order of due time, moving
// the clock's tick to each due time before delivering kWmTimer synchronously.
void AdvanceManualTimers(ManualClock& clock, std::uint32_t ms);

}  // namespace plat

namespace plat {
// True while no test clock is installed.
bool IsSystemClockInForce();
}  // namespace plat
