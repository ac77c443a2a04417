// Platform-internal: the process's window timers. One registry of (window, id, period, next due
// tick), driven by Qt timers under the system clock and by ManualClock::Advance under a manual
// clock. User-interface thread only.
#pragma once

#include <cstdint>

namespace plat {

class Window;

void SetWindowTimer(Window* window, int id, std::uint32_t periodMs);
void KillWindowTimer(std::uint64_t windowKey, int id);
void KillAllWindowTimers(std::uint64_t windowKey);
bool HasWindowTimer(std::uint64_t windowKey, int id);
std::uint32_t WindowTimerPeriod(std::uint64_t windowKey, int id);  // 0 when not running

}  // namespace plat
