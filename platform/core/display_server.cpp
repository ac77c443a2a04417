#include "platform/core/display_server.h"

#include <cstdlib>
#include <string_view>

namespace plat {
namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

}  // namespace

std::string PreferredToolkitPlatform(const char* qtPlatform, const char* sessionType,
                                     const char* waylandDisplay, const char* display) {
    if (IsSet(qtPlatform)) {
        return {};
    }
    const bool wayland =
        IsSet(waylandDisplay) || (IsSet(sessionType) && std::string_view(sessionType) == "wayland");
    // Without XWayland there is no X server to use: the toolkit's own choice is all that works.
    if (!wayland || !IsSet(display)) {
        return {};
    }
    return "xcb";
}

void ChooseDisplayServer() {
    const std::string platform =
        PreferredToolkitPlatform(std::getenv("QT_QPA_PLATFORM"), std::getenv("XDG_SESSION_TYPE"),
                                 std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
    if (!platform.empty()) {
        setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    }
}

}  // namespace plat
