// Held timer ticks and posted messages, released in order once the holding call is over.
#include "platform/window/delivery_hold_impl.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <deque>

#include "platform/window/timers_impl.h"

namespace plat {
namespace {

struct HeldDelivery {
    bool isTimer = false;
    std::uint64_t windowKey = 0;
    int timerId = 0;
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

int g_holdDepth = 0;
bool g_draining = false;
bool g_drainScheduled = false;

std::deque<HeldDelivery>& Held() {
    static std::deque<HeldDelivery> held;
    return held;
}

void Drain() {
    g_drainScheduled = false;
    // A drain that runs while a call holds (inside its nested loop) or inside another drain
    // leaves the work to the one that follows.
    if (g_holdDepth > 0 || g_draining) {
        return;
    }
    g_draining = true;
    while (!Held().empty() && g_holdDepth == 0) {
        const HeldDelivery next = Held().front();
        Held().pop_front();
        if (next.isTimer) {
            // A timer killed meanwhile has nothing more to say.
            if (HasWindowTimer(next.windowKey, next.timerId)) {
                DeliverTimerTick(next.windowKey, next.timerId);
            }
        } else {
            DeliverPostedMessage(next.windowKey, next.message, next.wParam, next.lParam);
        }
    }
    g_draining = false;
}

void ScheduleDrain() {
    if (g_drainScheduled || Held().empty() || QCoreApplication::instance() == nullptr) {
        return;
    }
    g_drainScheduled = true;
    // From the event loop, after the handler that made the call has returned.
    QTimer::singleShot(0, QCoreApplication::instance(), [] { Drain(); });
}

}  // namespace

DeliveryHold::DeliveryHold() {
    ++g_holdDepth;
}

DeliveryHold::~DeliveryHold() {
    if (--g_holdDepth == 0) {
        ScheduleDrain();
    }
}

bool DeliveryHeld() {
    return g_holdDepth > 0;
}

void HoldTimerTick(std::uint64_t windowKey, int id) {
    auto& held = Held();
    const bool waiting = std::any_of(held.begin(), held.end(), [&](const HeldDelivery& d) {
        return d.isTimer && d.windowKey == windowKey && d.timerId == id;
    });
    if (!waiting) {
        held.push_back({true, windowKey, id, 0, 0, 0});
    }
}

void HoldPostedMessage(std::uint64_t windowKey, std::uint32_t message, WParam wParam,
                       LParam lParam) {
    Held().push_back({false, windowKey, 0, message, wParam, lParam});
}

}  // namespace plat
