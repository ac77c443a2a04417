#include "app/single_instance.h"

#include <memory>
#include <optional>
#include <string>

#include "platform/core/messages.h"
#include "platform/core/system.h"

namespace tunova {

namespace {

// Titles are compared on at most this many characters, as the enumeration reads them.
constexpr size_t kTitleReadLimit = 120;
// While waiting for a starting copy's window, look again after this long.
constexpr int kWindowLookPeriodMs = 100;

std::optional<plat::TopLevelWindow> LastWindowTitled(std::string_view titlePrefix) {
    std::optional<plat::TopLevelWindow> match;
    for (const plat::TopLevelWindow& window : plat::EnumTopLevelWindows()) {
        const std::string title = window.title.substr(0, kTitleReadLimit);
        if (title.compare(0, titlePrefix.size(), titlePrefix) == 0) {
            match = window;  // the last match wins; the enumeration runs to its end
        }
    }
    return match;
}

}  // namespace

bool AnotherTunovaRunning() {
    // Never released: the marker lives as long as the process.
    static plat::NamedMutex* marker = nullptr;
    static bool exists = false;
    if (marker == nullptr) {
        marker = new plat::NamedMutex("tunova");
        marker->Create();
        exists = marker->AlreadyExists();
    }
    return exists;
}

bool RestoreWindowTitled(std::string_view titlePrefix) {
    const std::optional<plat::TopLevelWindow> match = LastWindowTitled(titlePrefix);
    if (!match) {
        return false;
    }
    return plat::SendSystemCommand(*match, plat::kScRestore);
}

plat::RequestResult SendToRunningCopy(plat::Clock& clock, std::string_view titlePrefix,
                                      std::string_view name, std::string_view argument, int waitMs,
                                      int stepMs) {
    std::optional<plat::TopLevelWindow> match = LastWindowTitled(titlePrefix);
    for (int waited = 0; !match && waited < waitMs; waited += kWindowLookPeriodMs) {
        clock.Sleep(kWindowLookPeriodMs);
        match = LastWindowTitled(titlePrefix);
    }
    if (!match) {
        return {};
    }
    return plat::SendRequest(match->processId, name, argument, stepMs);
}

}  // namespace tunova
