// Platform-internal: holding back window timers and posted messages while a synchronous call
// waits in a nested event loop, so that no handler runs in the middle of another one.
#pragma once

#include <cstdint>

#include "platform/core/types.h"

namespace plat {

// While one exists (they nest), timer ticks and posted messages are held instead of delivered.
// When the outermost one ends, the held deliveries are scheduled to run from the event loop,
// once each and in the order they fell due.
class DeliveryHold {
  public:
    DeliveryHold();
    ~DeliveryHold();
    DeliveryHold(const DeliveryHold&) = delete;
    DeliveryHold& operator=(const DeliveryHold&) = delete;
};

bool DeliveryHeld();
// Records a tick of timer `id` of window `windowKey`; a tick of the same timer already waiting
// is not recorded twice.
void HoldTimerTick(std::uint64_t windowKey, int id);
// Records a posted message.
void HoldPostedMessage(std::uint64_t windowKey, std::uint32_t message, WParam wParam,
                       LParam lParam);

// Delivers a timer tick now (the timers' own delivery path, also used for held ticks).
void DeliverTimerTick(std::uint64_t windowKey, int id);
// Delivers a posted message now (the queue's own delivery path, also used for held messages).
void DeliverPostedMessage(std::uint64_t windowKey, std::uint32_t message, WParam wParam,
                          LParam lParam);

}  // namespace plat
