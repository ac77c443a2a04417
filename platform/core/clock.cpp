// The system clock, the clock in force, and the manual clock's advance.
#include "platform/core/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/core/clock_impl.h"

namespace plat {
namespace {

class SystemClock : public Clock {
  public:
    std::uint32_t TickCount() const override {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }

    LocalDate Now() const override {
        const std::time_t now = std::time(nullptr);
        std::tm parts{};
        if (::localtime_r(&now, &parts) == nullptr) {
            return {};
        }
        return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                parts.tm_hour,        parts.tm_min,     parts.tm_sec};
    }

    void Sleep(std::uint32_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

SystemClock g_systemClock;
std::atomic<Clock*> g_clock{&g_systemClock};
ClockListener g_listener;

}  // namespace

Clock& CurrentClock() {
    return *g_clock.load();
}

void InstallClock(Clock* clock) {
    Clock* next = clock != nullptr ? clock : &g_systemClock;
    if (g_clock.exchange(next) != next && g_listener.clockReplaced != nullptr) {
        g_listener.clockReplaced();
    }
}

bool IsSystemClockInForce() {
    return g_clock.load() == &g_systemClock;
}

ManualClock::ManualClock(LocalDate now) : now_(now) {}

void ListenToClock(ClockListener listener) {
    g_listener = listener;
}

void ManualClock::Advance(std::uint32_t ms) {
    if (g_listener.manualAdvance != nullptr) {
        g_listener.manualAdvance(*this, ms);
    } else {
        Sleep(ms);
    }
}

}  // namespace plat
