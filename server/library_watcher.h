// Watches a library folder and its subfolders with inotify and asks for a rescan when files are
// added, replaced, renamed or deleted. Events are gathered until the folder has been quiet for a
// moment (or a burst has gone on for a while), so copying a thousand files in costs a few
// rescans, not a thousand. When the kernel's watch limit runs out, or the folder itself goes,
// it says so once and falls back to rescanning at a fixed period.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>

namespace tunova::server {

struct LibraryWatcherOptions {
    std::string root;
    std::function<void()> rescan;                 // called on the watcher's thread
    std::function<void(const std::string&)> log;  // null: stderr
    int settleMs = 300;                           // quiet time before a rescan
    int burstMs = 1000;                           // longest a change waits in a burst
    int fallbackPeriodMs = 60000;                 // rescan period without inotify
    int maxWatches = 0;                           // folders watched at most; 0: the kernel's limit
};

class LibraryWatcher {
  public:
    // Starts watching at once; the first rescan comes with the first change.
    explicit LibraryWatcher(LibraryWatcherOptions options);
    // Stops the thread; a rescan under way finishes first.
    ~LibraryWatcher();
    LibraryWatcher(const LibraryWatcher&) = delete;
    LibraryWatcher& operator=(const LibraryWatcher&) = delete;

    // Asks for a rescan as if a file had changed (a playable copy was made, say).
    void Poke();
    // False once it has fallen back to periodic rescans.
    bool Watching() const { return watching_; }
    // Rescans run so far.
    int Rescans() const { return rescans_; }

  private:
    void Run();
    void WatchTree(const std::string& folder);
    void FallBack(const std::string& why);
    void Log(const std::string& line) const;

    LibraryWatcherOptions options_;
    int inotify_ = -1;
    int wake_[2] = {-1, -1};
    std::map<int, std::string> folders_;  // watch descriptor to folder
    std::atomic<bool> watching_{true};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> poked_{false};
    std::atomic<int> rescans_{0};
    std::thread thread_;
};

}  // namespace tunova::server
