// Clients that misbehave against a running tunova-server on loopback, and how long a normal
// client's request waits meanwhile. Each misbehaving client uses an address of its own in
// 127.0.0.0/8, as distinct clients would.
//
// usage: tunova-bench-hostile PORT idle N          N half-requests held open by one client
//        tunova-bench-hostile PORT trickle N S     N clients sending one header byte a second,
//                                                  for S seconds
//        tunova-bench-hostile PORT keepalive N S   N keep-alive clients, request after request,
//                                                  for S seconds
#include <poll.h>
#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/loopback_client.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kSearch =
    "GET /feeds/api/videos/-/Music?vq=love&orderby=relevance&max-results=30&start-index=1 "
    "HTTP/1.1\r\nHost: bench\r\n";

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// A connected socket from `source` to 127.0.0.1:`port`, or -1.
int Connect(int port, const std::string& source, bool nonBlocking = false) {
    const int fd = tunova::support::ConnectFrom(port, source);
    if (fd >= 0 && nonBlocking) {
        const int one = 1;
        ioctl(fd, FIONBIO, &one);
    }
    return fd;
}

// Length of the whole answer at the start of `bytes`, or 0 while incomplete.
std::size_t AnswerLength(const std::string& bytes) {
    const std::size_t head = bytes.find("\r\n\r\n");
    if (head == std::string::npos) {
        return 0;
    }
    const std::size_t field = bytes.find("Content-Length: ");
    const std::size_t body =
        field < head ? std::strtoull(bytes.c_str() + field + 16, nullptr, 10) : 0;
    return bytes.size() >= head + 4 + body ? head + 4 + body : 0;
}

// One search on a fresh connection from 127.0.0.1: its time, or -1 when it failed or took
// over 10 s.
double NormalRequest(int port) {
    const auto start = Clock::now();
    const int fd = Connect(port, "127.0.0.1");
    if (fd < 0) {
        return -1;
    }
    const std::string request = std::string(kSearch) + "Connection: close\r\n\r\n";
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string answer;
    char buffer[65536];
    while (AnswerLength(answer) == 0) {
        pollfd wait{fd, POLLIN, 0};
        const int left = 10000 - static_cast<int>(Ms(Clock::now() - start));
        if (left <= 0 || poll(&wait, 1, left) <= 0) {
            break;
        }
        const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            break;
        }
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return answer.rfind("HTTP/1.1 200", 0) == 0 && AnswerLength(answer) != 0
               ? Ms(Clock::now() - start)
               : -1;
}

void ReportNormal(const char* during, std::vector<double> times) {
    const long failed = std::count(times.begin(), times.end(), -1.0);
    std::erase(times, -1.0);
    std::sort(times.begin(), times.end());
    if (times.empty()) {
        std::printf("normal requests during %s: all %ld failed\n", during, failed);
        return;
    }
    std::printf(
        "normal requests during %s: %zu answered, %ld failed; median %.1f ms, max %.1f ms\n",
        during, times.size(), failed, times[times.size() / 2], times.back());
}

// Whether the server has refused `fd`: answered 503, closed or reset it (read without waiting).
bool Refused(int fd) {
    char buffer[256];
    const ssize_t got = recv(fd, buffer, sizeof buffer - 1, MSG_DONTWAIT);
    if (got < 0) {
        return errno != EAGAIN && errno != EWOULDBLOCK;
    }
    return got == 0 ||
           std::string(buffer, static_cast<std::size_t>(got)).find(" 503 ") != std::string::npos;
}

int Idle(int port, int count) {
    std::vector<int> held;
    for (int i = 0; i < count; ++i) {
        const int fd = Connect(port, "127.0.0.2");
        if (fd >= 0) {
            send(fd, kSearch, std::char_traits<char>::length(kSearch), MSG_NOSIGNAL);
            held.push_back(fd);
        }
    }
    usleep(200 * 1000);
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        times.push_back(NormalRequest(port));
    }
    int refused = 0;
    for (const int fd : held) {
        refused += Refused(fd) ? 1 : 0;
        close(fd);
    }
    std::printf("%d half-requests from one client: %d held open, %d refused with 503 or closed\n",
                count, count - refused, refused);
    ReportNormal("them", times);
    return 0;
}

int Trickle(int port, int count, int seconds) {
    const std::string request =
        std::string(kSearch) + "X-Slow: " + std::string(4096, 's') + "\r\n\r\n";
    struct Trickler {
        int fd;
        std::size_t sent = 0;
        double cutAfterMs = -1;
        bool got408 = false;
    };
    std::vector<Trickler> tricklers;
    for (int i = 0; i < count; ++i) {
        const std::string source = "127.0.3." + std::to_string(1 + i % 250);
        const int fd = Connect(port, source);
        if (fd >= 0) {
            tricklers.push_back({fd});
        }
    }
    const auto start = Clock::now();
    std::vector<double> times;
    auto nextByte = start;
    while (Clock::now() - start < std::chrono::seconds(seconds)) {
        if (Clock::now() >= nextByte) {
            for (Trickler& t : tricklers) {
                if (t.cutAfterMs >= 0) {
                    continue;
                }
                char buffer[512];
                const ssize_t got = recv(t.fd, buffer, sizeof buffer, MSG_DONTWAIT);
                if (got == 0 || (got >= 12 && std::string(buffer, 12) == "HTTP/1.1 408") ||
                    send(t.fd, request.data() + t.sent, 1, MSG_NOSIGNAL) != 1) {
                    t.cutAfterMs = Ms(Clock::now() - start);
                    t.got408 = got > 0;
                    continue;
                }
                ++t.sent;
            }
            nextByte += std::chrono::seconds(1);
        }
        times.push_back(NormalRequest(port));
        usleep(50 * 1000);
    }
    int cut = 0;
    double latest = 0;
    int with408 = 0;
    for (const Trickler& t : tricklers) {
        if (t.cutAfterMs >= 0) {
            ++cut;
            latest = std::max(latest, t.cutAfterMs);
            with408 += t.got408 ? 1 : 0;
        }
        close(t.fd);
    }
    std::printf(
        "%zu tricklers (one byte a second): %d cut within %d s (%d with 408), the last "
        "after %.1f s\n",
        tricklers.size(), cut, seconds, with408, latest / 1000);
    ReportNormal("them", times);
    return 0;
}

int KeepAlive(int port, int count, int seconds) {
    struct Client {
        int fd = -1;
        std::string in;
        Clock::time_point sent;
    };
    const std::string request = std::string(kSearch) + "\r\n";
    std::vector<Client> clients(static_cast<std::size_t>(count));
    const int epoll = epoll_create1(0);
    int connected = 0;
    for (int i = 0; i < count; ++i) {
        const std::string source =
            "127.1." + std::to_string(i / 250) + "." + std::to_string(1 + i % 250);
        Client& c = clients[static_cast<std::size_t>(i)];
        c.fd = Connect(port, source, true);
        if (c.fd < 0) {
            continue;
        }
        ++connected;
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u32 = static_cast<std::uint32_t>(i);
        epoll_ctl(epoll, EPOLL_CTL_ADD, c.fd, &event);
    }
    const auto start = Clock::now();
    for (Client& c : clients) {
        if (c.fd >= 0) {
            c.sent = Clock::now();
            send(c.fd, request.data(), request.size(), MSG_NOSIGNAL);
        }
    }
    std::vector<double> times;
    long timeouts = 0;
    long errors = 0;
    std::vector<epoll_event> events(256);
    while (Clock::now() - start < std::chrono::seconds(seconds)) {
        const int n = epoll_wait(epoll, events.data(), 256, 100);
        for (int e = 0; e < n; ++e) {
            Client& c = clients[events[static_cast<std::size_t>(e)].data.u32];
            char buffer[65536];
            const ssize_t got = recv(c.fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                ++errors;
                epoll_ctl(epoll, EPOLL_CTL_DEL, c.fd, nullptr);
                close(c.fd);
                c.fd = -1;
                continue;
            }
            c.in.append(buffer, static_cast<std::size_t>(got));
            const std::size_t length = AnswerLength(c.in);
            if (length == 0) {
                continue;
            }
            if (c.in.rfind("HTTP/1.1 200", 0) != 0) {
                ++errors;
            }
            times.push_back(Ms(Clock::now() - c.sent));
            c.in.erase(0, length);
            c.sent = Clock::now();
            send(c.fd, request.data(), request.size(), MSG_NOSIGNAL);
        }
        for (Client& c : clients) {
            if (c.fd >= 0 && Clock::now() - c.sent > std::chrono::seconds(5)) {
                ++timeouts;
                epoll_ctl(epoll, EPOLL_CTL_DEL, c.fd, nullptr);
                close(c.fd);
                c.fd = -1;
            }
        }
    }
    for (Client& c : clients) {
        if (c.fd >= 0) {
            close(c.fd);
        }
    }
    close(epoll);
    std::sort(times.begin(), times.end());
    const auto at = [&](double p) {
        return times.empty()
                   ? 0.0
                   : times[std::min(times.size() - 1, static_cast<std::size_t>(
                                                          p * static_cast<double>(times.size())))];
    };
    std::printf(
        "%d keep-alive clients (%d connected) for %d s: %zu answers, %ld time-outs "
        "(no answer in 5 s), %ld errors; median %.1f ms, p99 %.1f ms, max %.1f ms\n",
        count, connected, seconds, times.size(), timeouts, errors, at(0.5), at(0.99),
        times.empty() ? 0.0 : times.back());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PORT idle N | trickle N S | keepalive N S\n", argv[0]);
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const std::string scenario = argv[2];
    const int count = std::atoi(argv[3]);
    const int seconds = argc > 4 ? std::atoi(argv[4]) : 10;
    if (scenario == "idle") {
        return Idle(port, count);
    }
    if (scenario == "trickle") {
        return Trickle(port, count, seconds);
    }
    if (scenario == "keepalive") {
        return KeepAlive(port, count, seconds);
    }
    std::fprintf(stderr, "unknown scenario %s\n", scenario.c_str());
    return 2;
}
