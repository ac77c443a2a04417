#include "support/raw_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace tunova::testing {
namespace {

int BoundSocket(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

RawListener::RawListener(Mode mode) : mode_(mode) {
    listenFd_ = BoundSocket(port_);
    if (listenFd_ >= 0 && ::listen(listenFd_, 64) == 0 && ::pipe(stopPipe_) == 0) {
        thread_ = std::thread([this] { Run(); });
    }
}

RawListener::~RawListener() {
    if (thread_.joinable()) {
        [[maybe_unused]] const ssize_t n = ::write(stopPipe_[1], "x", 1);
        thread_.join();
    }
    for (int fd : {listenFd_, stopPipe_[0], stopPipe_[1]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

std::string RawListener::Host() const {
    return "127.0.0.1:" + std::to_string(port_);
}

void RawListener::Run() {
    std::vector<int> held;
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) {
            break;
        }
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            continue;
        }
        ++accepted_;
        if (mode_ == Mode::kCloseAtOnce) {
            ::close(client);
        } else {
            held.push_back(client);  // silent until the listener goes
        }
    }
    for (int fd : held) {
        ::close(fd);
    }
}

std::string RefusedHost() {
    int port = 0;
    const int fd = BoundSocket(port);
    if (fd >= 0) {
        ::close(fd);  // bound but never listening, then gone: nothing answers there
    }
    return "127.0.0.1:" + std::to_string(port);
}

}  // namespace tunova::testing
