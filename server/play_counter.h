// Plays counted from media requests: a request from the first byte of a video is a play, at most
// one per client address and video within an hour (a player asking again for the start, or a
// page reloaded, is the same play). Who played what lately is kept in memory, bounded; the
// counts are written to the catalogue in batches by a background thread, not once per request.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

namespace tunova::server {

struct PlayCounterOptions {
    std::int64_t windowSeconds = 3600;  // one play per address and video within this
    std::size_t maxRecent = 50000;      // (address, video) pairs remembered at most
    // Writes counted plays (video id to plays); false when it failed and the plays should be
    // tried again with the next batch.
    std::function<bool(const std::map<std::string, std::int64_t>&)> write;
    int flushEveryMs = 5000;  // 0: written only by Flush()
};

class PlayCounter {
  public:
    explicit PlayCounter(PlayCounterOptions options);
    // Writes what is still pending.
    ~PlayCounter();
    PlayCounter(const PlayCounter&) = delete;
    PlayCounter& operator=(const PlayCounter&) = delete;

    // Notes that `client` asked for video `id` from its first byte at `now` (seconds). True when
    // that counts as a play.
    bool Note(const std::string& client, const std::string& id, std::int64_t now);
    // Writes the plays counted since the last write.
    void Flush();
    // Pairs remembered now.
    std::size_t Remembered();

  private:
    void Run();

    PlayCounterOptions options_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::int64_t> recent_;    // address and id to when counted
    std::deque<std::pair<std::int64_t, std::string>> order_;  // the same pairs, oldest first
    std::map<std::string, std::int64_t> pending_;             // plays not yet written
    std::mutex flushMutex_;                                   // one write at a time
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace tunova::server
