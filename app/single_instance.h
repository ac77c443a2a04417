// One running copy per user session: a named marker held for the life of the process, and the
// hand-over to the copy already running.
#pragma once

#include <string_view>

#include "platform/core/clock.h"
#include "platform/desktop/remote_request.h"

namespace tunova {

// Creates the process's marker "tunova" once; true when another live process holds it.
// Later calls in the same process answer the first call's result.
bool AnotherTunovaRunning();

// Sends the system command "restore" to the last top-level window whose title begins with
// `titlePrefix` (CP949). Returns false when no window matched.
bool RestoreWindowTitled(std::string_view titlePrefix);

// Hands request `name` with `argument` to the process of the last top-level window whose title
// begins with `titlePrefix` (the running copy's main window) and returns its answer. A copy
// still starting may not show its window yet: the window is looked for during `waitMs` (on
// `clock`), and each step of the exchange may take `stepMs`. Unreachable when no such window
// appears.
plat::RequestResult SendToRunningCopy(plat::Clock& clock, std::string_view titlePrefix,
                                      std::string_view name, std::string_view argument,
                                      int waitMs = 5000, int stepMs = 5000);

}  // namespace tunova
