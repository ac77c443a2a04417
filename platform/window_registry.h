// Platform-internal: publication of titled top-level windows for EnumTopLevelWindows and
// delivery of system commands sent from other processes. Window calls these; nothing else does.
#pragma once

#include <string_view>

namespace plat {

class Window;

// Publishes (or re-titles) `window` under `titleCp949`; an empty title withdraws it.
void PublishTopLevelWindow(Window* window, std::string_view titleCp949);
void WithdrawTopLevelWindow(Window* window);

}  // namespace plat
