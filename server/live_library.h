// The library as the running server keeps it: scanned into the catalogue at start, watched for
// files added, replaced, renamed or deleted (each change scanned in within a second or two), and
// with playable copies made in the background for files the player's page cannot play as they
// are, each listed once its copy is in place. Every file skipped or waiting for its copy is
// named in the log once, with the reason.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "server/catalogue.h"
#include "server/library_ingest.h"
#include "server/library_watcher.h"
#include "server/media_converter.h"

namespace tunova::server {

struct LiveLibraryOptions {
    std::string root;                             // the library folder
    std::string cacheFolder;                      // playable copies; empty: files served as is
    std::int64_t cacheLimitBytes = 0;             // 0: no cap
    std::function<void(const std::string&)> log;  // null: stderr
    std::function<void()> changed;                // after a scan changed the catalogue
    MediaProber prober = ProbeWithFfprobe;
    int progressEveryMs = 5000;  // progress lines of a long first scan
    int settleMs = 300;          // quiet time after a change before it is scanned
};

class LiveLibrary {
  public:
    LiveLibrary(Catalogue& catalogue, LiveLibraryOptions options);
    // Stops watching and converting (a running ffmpeg is ended, its partial copy removed).
    ~LiveLibrary();
    LiveLibrary(const LiveLibrary&) = delete;
    LiveLibrary& operator=(const LiveLibrary&) = delete;

    // Scans the folder into the catalogue now, logging what changed. False when the folder or
    // the catalogue failed (logged).
    bool Scan();
    // From now on, changes in the folder and finished copies are scanned in by themselves.
    void Watch();
    // Waits until every copy asked for is made or has failed, scanning each in as it is done.
    void FinishCopies();
    // The folder of playable copies (empty without one).
    const std::string& CacheFolder() const { return options_.cacheFolder; }

  private:
    void Log(const std::string& line) const;
    void CopyMade();

    Catalogue& catalogue_;
    LiveLibraryOptions options_;
    std::mutex scanMutex_;        // one scan at a time
    std::set<std::string> told_;  // log lines already written (under scanMutex_)
    bool scanned_ = false;        // the first scan is done (under scanMutex_)
    std::unique_ptr<MediaConverter> converter_;
    std::mutex watcherMutex_;
    std::unique_ptr<LibraryWatcher> watcher_;
};

}  // namespace tunova::server
