// Platform-internal: publication of titled top-level windows for EnumTopLevelWindows and
// delivery of system commands sent from other processes. Window calls these; nothing else does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

class Window;

// Publishes (or re-titles) `window` under `titleCp949`; an empty title withdraws it.
void PublishTopLevelWindow(Window* window, std::string_view titleCp949);
void WithdrawTopLevelWindow(Window* window);

// The path of the command socket of process `pid` (system commands and requests).
std::string CommandSocketPath(std::int64_t pid);

}  // namespace plat
