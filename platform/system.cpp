// Process-level facilities: named mutexes and the process id (stub until filled in).
#include "platform/system.h"

#include <unistd.h>

#include "platform/window_registry.h"

namespace plat {

NamedMutex::NamedMutex(std::string_view name) : path_(name) {}
NamedMutex::~NamedMutex() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}
bool NamedMutex::Create() {
    return false;
}

std::vector<TopLevelWindow> EnumTopLevelWindows() {
    return {};
}
bool SendSystemCommand(const TopLevelWindow&, int) {
    return false;
}
std::int64_t CurrentProcessId() {
    return ::getpid();
}

void PublishTopLevelWindow(Window*, std::string_view) {}
void WithdrawTopLevelWindow(Window*) {}

}  // namespace plat
