// Playable copies of library files the player's page cannot play as they are, made by ffmpeg in
// the background into a cache folder: a remux copies the streams into MP4 or WebM; a transcode
// re-encodes to H.264 and AAC in MP4. One job at a time, remuxes first, ffmpeg at the lowest CPU
// priority. A copy is written under a hidden temporary name and renamed into place whole, so a
// half-written copy is never served; a job that fails (the source vanished or is unreadable,
// the cache is full) leaves nothing behind and is not tried again while the process runs.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "server/playable_media.h"

namespace tunova::server {

struct ConversionJob {
    std::string source;    // absolute path of the library file
    std::string copyName;  // file name in the cache (CopyNameFor)
    PlaybackRoute route = PlaybackRoute::Transcode;
};

struct MediaConverterOptions {
    std::string cacheFolder;                      // created when missing
    std::int64_t cacheLimitBytes = 0;             // no new copy past this total; 0: no cap
    std::function<void(const std::string&)> log;  // one line per copy made or failed
    std::function<void()> converted;              // after each copy is in place (worker thread)
    std::vector<std::string> command = {"nice", "-n", "19", "ffmpeg"};  // how ffmpeg is run
};

// The cache name of the copy of the video `id` whose file has `size` and `mtimeNanos`: a changed
// file gets a new name. `container` is "mp4" or "webm".
std::string CopyNameFor(const std::string& id, std::int64_t size, std::int64_t mtimeNanos,
                        const std::string& container);

class MediaConverter {
  public:
    explicit MediaConverter(MediaConverterOptions options);
    // Stops the running job (its ffmpeg is ended, its temporary file removed) and the worker.
    ~MediaConverter();
    MediaConverter(const MediaConverter&) = delete;
    MediaConverter& operator=(const MediaConverter&) = delete;

    // Queues `job` unless its copy exists, is queued or running, or failed before.
    void Request(const ConversionJob& job);
    // True when the copy `copyName` is complete in the cache.
    bool HasCopy(const std::string& copyName) const;
    // The absolute path of a copy in the cache.
    std::string CopyPath(const std::string& copyName) const;
    // True when no job is queued or running.
    bool Idle();
    // Removes the copies in the cache that are not in `listed`, were put in place before
    // `before` and are not queued or being made (copies of files changed or gone). Returns how
    // many it removed.
    int RemoveUnlisted(const std::set<std::string>& listed, std::filesystem::file_time_type before);
    const std::string& CacheFolder() const { return options_.cacheFolder; }

  private:
    void Work();
    bool Convert(const ConversionJob& job);
    std::int64_t CacheBytes() const;
    void Log(const std::string& line) const;

    MediaConverterOptions options_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<ConversionJob> queue_;
    std::set<std::string> known_;  // queued, running or failed copy names
    bool running_ = false;
    bool stopping_ = false;
    pid_t child_ = -1;
    std::thread worker_;
};

}  // namespace tunova::server
