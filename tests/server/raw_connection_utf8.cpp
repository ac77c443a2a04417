#include "raw_connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "bench/support/loopback_client.h"

namespace tunova::server::testing {

namespace {

int MillisecondsLeft(std::chrono::steady_clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          end - std::chrono::steady_clock::now())
                          .count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

RawConnection::RawConnection(int port, const std::string& source)
    : fd_(support::ConnectFrom(port, source)) {}

RawConnection::~RawConnection() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

bool RawConnection::Send(const std::string& bytes) {
    std::size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const ssize_t put = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (put <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(put);
    }
    return fd_ >= 0;
}

void RawConnection::FinishSending() {
    if (fd_ >= 0) {
        shutdown(fd_, SHUT_WR);
    }
}

bool RawConnection::ReadSome(int timeoutMs, std::string& into) {
    pollfd wait{fd_, POLLIN, 0};
    if (fd_ < 0 || poll(&wait, 1, timeoutMs) <= 0) {
        return false;
    }
    char buffer[65536];
    const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
    if (got <= 0) {
        closed_ = true;
    } else {
        into.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

std::string RawConnection::ReadUntilClosed(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string bytes;
    while (!closed_ && ReadSome(MillisecondsLeft(end), bytes)) {
    }
    return bytes;
}

std::string RawConnection::ReadAnswer(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string bytes;
    while (!closed_ && ReadSome(MillisecondsLeft(end), bytes)) {
        const std::size_t headEnd = bytes.find("\r\n\r\n");
        if (headEnd == std::string::npos) {
            continue;
        }
        const std::size_t length = bytes.find("Content-Length: ");
        const std::size_t body =
            length != std::string::npos && length < headEnd
                ? static_cast<std::size_t>(std::atoll(bytes.c_str() + length + 16))
                : 0;
        if (bytes.size() >= headEnd + 4 + body) {
            break;
        }
    }
    return bytes;
}

std::string RawConnection::ReadAtLeast(std::size_t count, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string bytes;
    while (!closed_ && bytes.size() < count && ReadSome(MillisecondsLeft(end), bytes)) {
    }
    return bytes;
}

void RawConnection::Close(bool reset) {
    if (fd_ < 0) {
        return;
    }
    if (reset) {
        const linger abort{1, 0};
        setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    close(fd_);
    fd_ = -1;
}

bool RawConnection::ClosedWithin(int timeoutMs) {
    ReadUntilClosed(timeoutMs);
    return closed_;
}

bool SecondLoopbackAddressWorks() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.2", &from.sin_addr);
    const bool works = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0;
    if (fd >= 0) {
        close(fd);
    }
    return works;
}

}  // namespace tunova::server::testing
