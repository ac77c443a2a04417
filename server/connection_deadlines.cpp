#include "server/connection_deadlines.h"

#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <string_view>

namespace tunova::server {

namespace {

// Bytes the socket has received over its life; 0 when the system does not say.
std::uint64_t BytesReceived(int fd) {
    tcp_info info{};
    socklen_t size = sizeof info;
    if (getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &size) != 0 ||
        size < offsetof(tcp_info, tcpi_bytes_received) + sizeof info.tcpi_bytes_received) {
        return 0;
    }
    return info.tcpi_bytes_received;
}

constexpr std::string_view kRequestTimeout =
    "HTTP/1.1 408 Request Timeout\r\nContent-Type: text/plain; charset=UTF-8\r\n"
    "Content-Length: 34\r\nConnection: close\r\n\r\nrequest head not received in time\n";

}  // namespace

ConnectionDeadlines::ConnectionDeadlines(std::function<void(std::uint64_t id)> onRefused)
    : onRefused_(std::move(onRefused)), thread_([this] { Run(); }) {}

ConnectionDeadlines::~ConnectionDeadlines() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ConnectionDeadlines::Wait(std::uint64_t id, int fd, int waitMs, int headMs, bool fromStart) {
    const std::uint64_t bytes = fromStart ? 0 : BytesReceived(fd);
    std::lock_guard lock(mutex_);
    if (ended_.count(id) != 0) {
        return;
    }
    auto [at, added] = watches_.try_emplace(id);
    if (!added) {
        Unschedule(id, at->second);
    }
    at->second = Watch{fd, bytes, headMs, Clock::now() + std::chrono::milliseconds(waitMs)};
    due_.emplace(at->second.due, id);
    // The thread is woken only for a deadline before its next look: most requests come and go
    // without waking it.
    if (at->second.due < wakeAt_) {
        changed_.notify_all();
    }
}

bool ConnectionDeadlines::Arrived(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    if (ended_.count(id) != 0) {
        return false;
    }
    const auto at = watches_.find(id);
    if (at != watches_.end()) {
        Unschedule(id, at->second);
        watches_.erase(at);
    }
    return true;
}

void ConnectionDeadlines::Forget(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    ended_.erase(id);
    const auto at = watches_.find(id);
    if (at != watches_.end()) {
        Unschedule(id, at->second);
        watches_.erase(at);
    }
}

void ConnectionDeadlines::Unschedule(std::uint64_t id, const Watch& watch) {
    for (auto [at, end] = due_.equal_range(watch.due); at != end; ++at) {
        if (at->second == id) {
            due_.erase(at);
            return;
        }
    }
}

void ConnectionDeadlines::Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        // Looks at least every kLookMs, so a deadline set meanwhile needs no wake-up unless it
        // falls before the next look.
        wakeAt_ = Clock::now() + std::chrono::milliseconds(kLookMs);
        if (!due_.empty() && due_.begin()->first < wakeAt_) {
            wakeAt_ = due_.begin()->first;
        }
        const Clock::time_point until = wakeAt_;
        changed_.wait_until(lock, until);
        const auto now = Clock::now();
        while (!due_.empty() && due_.begin()->first <= now) {
            const std::uint64_t id = due_.begin()->second;
            due_.erase(due_.begin());
            Expire(id, watches_.at(id));
        }
    }
}

// Called with the lock held; `watch` is no longer scheduled.
void ConnectionDeadlines::Expire(std::uint64_t id, Watch& watch) {
    const bool spoke = BytesReceived(watch.fd) > watch.bytesBefore;
    if (spoke && watch.headMs > 0) {
        // The next request began while the connection was idle: its head gets its own time.
        watch.due = Clock::now() + std::chrono::milliseconds(watch.headMs);
        watch.headMs = 0;
        watch.bytesBefore = 0;
        due_.emplace(watch.due, id);
        return;
    }
    if (spoke) {
        [[maybe_unused]] const ssize_t sent = send(
            watch.fd, kRequestTimeout.data(), kRequestTimeout.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    shutdown(watch.fd, SHUT_RDWR);
    watches_.erase(id);
    ended_.insert(id);
    if (spoke && onRefused_) {
        onRefused_(id);
    }
}

}  // namespace tunova::server
