#include "server/shutdown_signals.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <utility>

namespace tunova::server {

ShutdownSignals::ShutdownSignals(std::function<void(int)> onSignal) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    const int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);
    if (pipe(wakePipe_) != 0) {
        wakePipe_[0] = wakePipe_[1] = -1;
    }
    waiter_ = std::thread([signalFd, wakeFd = wakePipe_[0], onSignal = std::move(onSignal)] {
        pollfd waits[2] = {{signalFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        while (poll(waits, 2, -1) < 0) {
        }
        signalfd_siginfo info{};
        if ((waits[0].revents & POLLIN) != 0 &&
            read(signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            onSignal(static_cast<int>(info.ssi_signo));
        }
        close(signalFd);
    });
}

ShutdownSignals::~ShutdownSignals() {
    if (wakePipe_[1] >= 0) {
        const char wake = 1;
        [[maybe_unused]] const auto written = write(wakePipe_[1], &wake, 1);
    }
    if (waiter_.joinable()) {
        waiter_.join();
    }
    for (const int end : wakePipe_) {
        if (end >= 0) {
            close(end);
        }
    }
}

}  // namespace tunova::server
