// Running the event loop of a test or a benchmark until something has happened.
#pragma once

#include <functional>

namespace tunova::support {

// Runs the event loop until `done` holds, at most `timeoutMs`, pausing a millisecond between
// rounds; false on time-out.
bool PumpUntil(const std::function<bool()>& done, long long timeoutMs);

}  // namespace tunova::support
