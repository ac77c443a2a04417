// TCP listeners on 127.0.0.1 that never speak HTTP: one that accepts and then stays silent (a
// server that hangs), one that accepts and closes at once (a server that breaks every
// attempt), and an address where nothing listens at all. Each counts the connections it took.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace tunova::testing {

class RawListener {
  public:
    enum class Mode { kSilent, kCloseAtOnce };
    explicit RawListener(Mode mode);
    ~RawListener();
    RawListener(const RawListener&) = delete;
    RawListener& operator=(const RawListener&) = delete;

    std::string Host() const;  // "127.0.0.1:PORT"
    int Accepted() const { return accepted_.load(); }

  private:
    void Run();

    Mode mode_;
    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<int> accepted_{0};
    std::thread thread_;
};

// "127.0.0.1:PORT" of a port that was free a moment ago: connections are refused at once.
std::string RefusedHost();

}  // namespace tunova::testing
