#include "bench/support/pump_events.h"

#include <chrono>
#include <thread>

#include "platform/window/application.h"

namespace tunova::support {

bool PumpUntil(const std::function<bool()>& done, long long timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        plat::Application::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace tunova::support
