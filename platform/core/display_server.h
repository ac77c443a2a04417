// Which display server the player talks to. The player places, snaps and shapes its own
// windows, which a Wayland compositor does not allow a client to do; on a Wayland session it
// therefore runs as an X11 client of XWayland (the toolkit's "xcb" platform), as other players
// that manage their own windows do.
#pragma once

#include <string>

namespace plat {

// The toolkit platform to ask for, given the environment's QT_QPA_PLATFORM, XDG_SESSION_TYPE,
// WAYLAND_DISPLAY and DISPLAY (null when unset): "xcb" on a Wayland session that offers
// XWayland, when the user has not chosen a platform; empty (the toolkit decides) otherwise.
std::string PreferredToolkitPlatform(const char* qtPlatform, const char* sessionType,
                                     const char* waylandDisplay, const char* display);

// Applies PreferredToolkitPlatform to this process's environment; call before the toolkit
// starts (the Application constructor does).
void ChooseDisplayServer();

}  // namespace plat
