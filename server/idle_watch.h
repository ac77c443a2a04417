// Ends a server that has had nothing to do for a while (a socket-activated one: its socket
// starts it again on the next connection).
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tunova::server {

class IdleWatch {
  public:
    // Once no request has come for `idleMs` and `openConnections()` is 0, calls `stop` (once),
    // from a thread of its own that looks a few times a second.
    IdleWatch(int idleMs, std::function<int()> openConnections, std::function<void()> stop);
    ~IdleWatch();  // ends the thread without calling `stop`
    IdleWatch(const IdleWatch&) = delete;
    IdleWatch& operator=(const IdleWatch&) = delete;

    // A request came: the idle time starts again. Any thread.
    void Touch();

  private:
    void Watch();

    const std::chrono::milliseconds idle_;
    std::function<int()> openConnections_;
    std::function<void()> stop_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::chrono::steady_clock::time_point last_;
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace tunova::server
