#include "server/idle_watch.h"

#include <algorithm>

namespace tunova::server {

IdleWatch::IdleWatch(int idleMs, std::function<int()> openConnections, std::function<void()> stop)
    : idle_(idleMs),
      openConnections_(std::move(openConnections)),
      stop_(std::move(stop)),
      last_(std::chrono::steady_clock::now()),
      thread_([this] { Watch(); }) {}

IdleWatch::~IdleWatch() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void IdleWatch::Touch() {
    std::lock_guard lock(mutex_);
    last_ = std::chrono::steady_clock::now();
}

void IdleWatch::Watch() {
    // A quarter of the idle time between looks, at most a second.
    const auto step =
        std::clamp(idle_ / 4, std::chrono::milliseconds(10), std::chrono::milliseconds(1000));
    std::unique_lock lock(mutex_);
    while (!ending_) {
        wake_.wait_for(lock, step);
        if (ending_) {
            return;
        }
        const bool quiet = std::chrono::steady_clock::now() - last_ >= idle_;
        if (quiet && openConnections_() == 0) {
            lock.unlock();
            stop_();
            return;
        }
    }
}

}  // namespace tunova::server
