// What a benchmark process and the processes it started cost: CPU seconds of this process, its
// threads and its descendants, and their resident memory, read from /proc.
#pragma once

#include <map>
#include <string>

namespace tunova::bench {

// Milliseconds on the monotonic clock.
double NowMs();
// CPU seconds (user + system) from a /proc stat file, 0 when it is gone.
double StatCpuSeconds(const std::string& statPath);
double ProcessCpuSeconds(int pid);

// This process's CPU seconds split by thread: the main thread (the window's event loop: the
// player's own timers, page calls and painting, and Qt's showing of the page's frames), the web
// engine's display compositor threads, which run inside the player process, and the rest.
struct ThreadCpu {
    double main = 0;
    double compositor = 0;
    double other = 0;
};
ThreadCpu SelfThreadCpu();

// The CPU seconds of every descendant process, by process id.
std::map<int, double> DescendantCpu();
// Resident memory in MB of this process and its descendants (VmRSS).
double ResidentMb();
// This process's own CPU seconds.
double SelfCpuSeconds();

}  // namespace tunova::bench
