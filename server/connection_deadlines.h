// Deadlines of connections waiting for a request: a thread of its own ends those that keep the
// server waiting. The engine reads requests; this only watches the clock and the socket's count
// of received bytes (TCP_INFO), so it needs nothing from the engine's inside:
// - a connection whose request head has begun but not arrived whole by its deadline is answered
//   408 and shut down;
// - a connection that sent nothing by its deadline is shut down without an answer.
// Shutting the socket down (not closing it) lets the engine see the end and close it itself.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace tunova::server {

class ConnectionDeadlines {
  public:
    // `onRefused(id)` is called (on the deadline thread) for each connection answered 408.
    explicit ConnectionDeadlines(std::function<void(std::uint64_t id)> onRefused);
    ~ConnectionDeadlines();
    ConnectionDeadlines(const ConnectionDeadlines&) = delete;
    ConnectionDeadlines& operator=(const ConnectionDeadlines&) = delete;

    // Connection `id` on socket `fd` waits for a request: it must send one whole within `waitMs`.
    // When bytes have come by then and `headMs` > 0, the started head gets `headMs` more (an
    // idle kept-alive connection whose next request began late); otherwise the deadline ends it.
    // Bytes count from now, or from the connection's start when `fromStart` (its first request
    // may have arrived before the engine took the connection).
    void Wait(std::uint64_t id, int fd, int waitMs, int headMs, bool fromStart = false);

    // A whole request head of connection `id` arrived: its deadline is lifted. False when the
    // deadline already ended the connection (the request must not be answered).
    bool Arrived(std::uint64_t id);

    // Connection `id` is gone.
    void Forget(std::uint64_t id);

  private:
    using Clock = std::chrono::steady_clock;
    struct Watch {
        int fd = -1;
        std::uint64_t bytesBefore = 0;
        int headMs = 0;
        Clock::time_point due;
    };
    void Run();
    void Expire(std::uint64_t id, Watch& watch);
    void Unschedule(std::uint64_t id, const Watch& watch);

    const std::function<void(std::uint64_t)> onRefused_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::unordered_map<std::uint64_t, Watch> watches_;
    std::multimap<Clock::time_point, std::uint64_t> due_;
    std::unordered_set<std::uint64_t> ended_;  // ended by a deadline, not yet forgotten
    static constexpr int kLookMs = 100;
    Clock::time_point wakeAt_;  // when the thread looks next
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace tunova::server
