// Window timers: one registry per process. Under the system clock each entry owns a repeating
// QTimer; under a manual clock nothing runs until ManualClock::Advance walks the due entries.
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <list>
#include <memory>

#include "platform/core/clock.h"
#include "platform/core/clock_impl.h"
#include "platform/core/messages.h"
#include "platform/window/application.h"
#include "platform/window/delivery_hold_impl.h"
#include "platform/window/timers_impl.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

// The shortest period a timer runs at, as the classic timers do; a 0 ms timer would otherwise
// spin.
constexpr std::uint32_t kMinimumPeriodMs = 10;

// A timer may be killed from inside its own timeout: stop it now, delete it from the loop.
struct DeleteLater {
    void operator()(QTimer* timer) const {
        timer->stop();
        timer->deleteLater();
    }
};

struct TimerEntry {
    std::uint64_t windowKey = 0;
    int id = 0;
    std::uint32_t period = 0;
    std::uint32_t due = 0;    // clock tick of the next firing (manual clock)
    std::uint64_t order = 0;  // breaks ties between equal due times: earlier set fires first
    std::unique_ptr<QTimer, DeleteLater> qtTimer;
};

std::list<TimerEntry>& Registry() {
    static std::list<TimerEntry> entries;
    return entries;
}

std::uint64_t g_nextOrder = 0;

std::list<TimerEntry>::iterator Find(std::uint64_t key, int id) {
    auto& entries = Registry();
    return std::find_if(entries.begin(), entries.end(),
                        [&](const TimerEntry& e) { return e.windowKey == key && e.id == id; });
}

std::uint32_t EffectivePeriod(std::uint32_t period) {
    return std::max(period, kMinimumPeriodMs);
}

void Deliver(std::uint64_t key, int id) {
    if (DeliveryHeld()) {
        HoldTimerTick(key, id);
        return;
    }
    DeliverTimerTick(key, id);
}

}  // namespace

void DeliverTimerTick(std::uint64_t key, int id) {
    Window* window = WindowImpl::FindLive(key);
    Application* app = Application::Instance();
    if (window == nullptr) {
        return;
    }
    const Message msg{window, kWmTimer, static_cast<WParam>(id), 0};
    if (app != nullptr) {
        app->DispatchThroughHook(msg);
    } else {
        window->SendMessage(kWmTimer, static_cast<WParam>(id), 0);
    }
}

namespace {

void StartQtTimer(TimerEntry& entry) {
    if (!IsSystemClockInForce() || QCoreApplication::instance() == nullptr) {
        entry.qtTimer.reset();
        return;
    }
    if (!entry.qtTimer) {
        entry.qtTimer.reset(new QTimer());
        const std::uint64_t key = entry.windowKey;
        const int id = entry.id;
        QObject::connect(entry.qtTimer.get(), &QTimer::timeout, [key, id] { Deliver(key, id); });
    }
    entry.qtTimer->start(static_cast<int>(EffectivePeriod(entry.period)));
}

}  // namespace

void SetWindowTimer(Window* window, int id, std::uint32_t periodMs) {
    const std::uint64_t key = window->Impl()->key;
    auto it = Find(key, id);
    if (it == Registry().end()) {
        TimerEntry entry;
        entry.windowKey = key;
        entry.id = id;
        Registry().push_back(std::move(entry));
        it = std::prev(Registry().end());
    }
    it->period = periodMs;
    it->due = CurrentClock().TickCount() + EffectivePeriod(periodMs);
    it->order = g_nextOrder++;
    StartQtTimer(*it);
}

void KillWindowTimer(std::uint64_t windowKey, int id) {
    auto it = Find(windowKey, id);
    if (it != Registry().end()) {
        Registry().erase(it);
    }
}

void KillAllWindowTimers(std::uint64_t windowKey) {
    Registry().remove_if([&](const TimerEntry& e) { return e.windowKey == windowKey; });
}

bool HasWindowTimer(std::uint64_t windowKey, int id) {
    return Find(windowKey, id) != Registry().end();
}

std::uint32_t WindowTimerPeriod(std::uint64_t windowKey, int id) {
    auto it = Find(windowKey, id);
    return it != Registry().end() ? it->period : 0;
}

namespace {

// Re-arms every timer for the clock now in force (a clock was installed).
void RearmWindowTimers() {
    const std::uint32_t now = CurrentClock().TickCount();
    for (TimerEntry& entry : Registry()) {
        entry.due = now + EffectivePeriod(entry.period);
        StartQtTimer(entry);
    }
}

// Fires the timers falling due within the next `ms` of `clock`, in order of due time, moving
// the clock's tick to each due time before delivering kWmTimer synchronously.
void AdvanceManualTimers(ManualClock& clock, std::uint32_t ms) {
    if (&CurrentClock() != &clock) {
        clock.Sleep(ms);  // not driving timers: time just moves
        return;
    }
    std::uint32_t remaining = ms;
    for (;;) {
        // The entry due soonest (ties: set first). Dues are compared as distances from now so
        // the tick count may wrap.
        const std::uint32_t now = clock.TickCount();
        TimerEntry* next = nullptr;
        std::uint32_t nextDistance = 0;
        for (TimerEntry& entry : Registry()) {
            const auto signedDistance = static_cast<std::int32_t>(entry.due - now);
            const std::uint32_t distance =
                signedDistance < 0 ? 0u : static_cast<std::uint32_t>(signedDistance);
            if (next == nullptr || distance < nextDistance ||
                (distance == nextDistance && entry.order < next->order)) {
                next = &entry;
                nextDistance = distance;
            }
        }
        if (next == nullptr || nextDistance > remaining) {
            break;
        }
        clock.Sleep(nextDistance);
        remaining -= nextDistance;
        // Reschedule before delivery so a handler that resets or kills the timer wins.
        next->due = clock.TickCount() + EffectivePeriod(next->period);
        Deliver(next->windowKey, next->id);
    }
    clock.Sleep(remaining);
}

// The clock lives below the windows: it tells the timers through this listener.
[[maybe_unused]] const bool g_followingTheClock = [] {
    ListenToClock({&RearmWindowTimers, &AdvanceManualTimers});
    return true;
}();

}  // namespace

}  // namespace plat
