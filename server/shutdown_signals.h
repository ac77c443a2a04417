// Clean shutdown on SIGINT and SIGTERM: the signals are blocked in every thread and taken by one
// waiting thread, which then runs an ordinary callback (no work inside a signal handler).
#pragma once

#include <functional>
#include <thread>

namespace tunova::server {

class ShutdownSignals {
  public:
    // Blocks SIGINT and SIGTERM for this thread and the threads it starts later, then waits for
    // them on a thread of its own and calls `onSignal` once with the signal number. Construct
    // it before starting any other thread.
    explicit ShutdownSignals(std::function<void(int)> onSignal);
    // Ends the waiting thread (without calling the callback if no signal came).
    ~ShutdownSignals();
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

  private:
    std::thread waiter_;
    int wakePipe_[2] = {-1, -1};
};

}  // namespace tunova::server
