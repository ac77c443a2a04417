// Process-level facilities: the single-instance marker, the list of top-level windows of all
// running instances, and sending one of them a system command.
//
// Mapping on Linux:
// - named mutex: an exclusive lock (flock) on a file named after the mutex in the user's
//   runtime folder ($XDG_RUNTIME_DIR, else /tmp/tunova-<uid>); the lock dies with the process.
// - top-level windows: every titled top-level Window of every process built on this platform
//   is published in the runtime folder (one file per window, removed when the window goes);
//   entries of processes that no longer exist are skipped.
// - system commands: delivered to the owning process over a local socket and posted there
//   to the window as kWmSysCommand.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Window;

// A named marker shared between processes. Create() with initial ownership holds it for the
// life of this object; AlreadyExists() tells whether another live process held it first.
class NamedMutex {
  public:
    explicit NamedMutex(std::string_view name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;
    // Returns false when the marker could not be created at all (no runtime folder).
    bool Create();
    bool AlreadyExists() const { return alreadyExists_; }

  private:
    std::string path_;
    int fd_ = -1;
    bool alreadyExists_ = false;
};

struct TopLevelWindow {
    std::int64_t processId = 0;
    std::int64_t windowKey = 0;  // the window's id within its process
    std::string title;           // CP949
};

// Every published top-level window of every live instance, this process included, in no
// particular order.
std::vector<TopLevelWindow> EnumTopLevelWindows();
// Delivers system command `command` (kScRestore, ...) to the window; false when it is gone.
bool SendSystemCommand(const TopLevelWindow& window, int command);

// The current process id.
std::int64_t CurrentProcessId();

}  // namespace plat
