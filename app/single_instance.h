// One running copy per user session: a named marker held for the life of the process, and the
// hand-over to the copy already running.
#pragma once

#include <string_view>

namespace tunova {

// Creates the process's marker "tunova" once; true when another live process holds it.
// Later calls in the same process answer the first call's result.
bool AnotherTunovaRunning();

// Sends the system command "restore" to the last top-level window whose title begins with
// `titlePrefix` (CP949). Returns false when no window matched.
bool RestoreWindowTitled(std::string_view titlePrefix);

}  // namespace tunova
