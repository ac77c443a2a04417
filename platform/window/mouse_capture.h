// Losing the mouse capture (Window::SetCapture): the message a window gets when the capture is
// taken from it, and the taking.
#pragma once

#include <cstdint>

namespace plat {

class Window;

// Sent to the window that held the mouse capture when it loses it to something else: another
// window's SetCapture, or its top-level window no longer being the active one (another program
// or a window of this one took the pointer). Its own ReleaseCapture sends nothing. A drag it
// ran must end here: no release will come.
inline constexpr std::uint32_t kWmCaptureChanged = 0x0215;

// Takes the capture from its holder when the holder's top-level window is `topLevel` (null:
// whichever it is) and sends it kWmCaptureChanged.
void CancelCapture(const Window* topLevel = nullptr);

}  // namespace plat
