// Processes: starting a helper executable directly and finding running processes by name.
//
// Mapping on Linux:
// - the shell's "open" of an executable: the file is started directly (no shell, no desktop
//   opener), with no arguments, in its own session, after checks that it is safe to run (see
//   CheckSafeExecutable). It is started through an intermediate process that exits at once, so
//   the program never becomes its parent: a finished helper is reaped by the system and never
//   lingers as a zombie.
// - the process snapshot: /proc. A process's executable name is its command name
//   (/proc/PID/comm, which the kernel cuts to 15 bytes; longer names are matched against the
//   file name the process was started from). Zombies are not running.
#pragma once

#include <string>

namespace plat {

enum class LaunchError {
    kNone,
    kMissing,  // no such file
    kUnsafe,   // not a regular executable file owned by the user or root, writable by group
               // or others, or in a folder others may write to
    kStartFailed,
};

struct LaunchResult {
    LaunchError error = LaunchError::kNone;
    std::string description;  // readable reason on failure
    explicit operator bool() const { return error == LaunchError::kNone; }
};

// Checks that `path` is a regular file with an execute bit, owned by this user or by root,
// not writable by group or others, in a folder owned by this user or root and not writable
// by others. Links are resolved first and the checks apply to the file they lead to.
LaunchResult CheckSafeExecutable(const std::string& path);

// Starts `path` (after CheckSafeExecutable) detached from this process. Returns once the
// program has been executed or has failed to start; does not wait for it to end.
LaunchResult StartExecutable(const std::string& path);

// The full path of the running program (from /proc/self/exe); empty when it cannot be read.
std::string ExecutablePath();

// True when some live process (of any user) is named exactly `name` (byte-wise,
// case-sensitive, whole name).
bool IsProcessRunning(const std::string& name);

}  // namespace plat
