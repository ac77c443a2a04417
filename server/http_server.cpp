#include "server/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>
#include <vector>

#include "server/http_request_parser.h"

namespace tunova::server {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadChunk = 16384;
constexpr std::int64_t kFileChunk = 1 << 20;
constexpr const char* kRefusalType = "text/plain; charset=UTF-8";

std::string AddressText(const sockaddr_storage& address, int* port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        if (port != nullptr) {
            *port = ntohs(v4.sin_port);
        }
    } else if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        if (port != nullptr) {
            *port = ntohs(v6.sin6_port);
        }
    }
    std::string out = text;
    // An IPv4 client of a dual-stack socket is the same client as over IPv4.
    if (out.rfind("::ffff:", 0) == 0 && out.find('.') != std::string::npos) {
        out.erase(0, 7);
    }
    return out;
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

struct HttpServer::Loop {
    enum class State { Reading, Working, Writing };

    struct Connection {
        int fd = -1;
        std::uint64_t id = 0;
        State state = State::Reading;
        std::string remote;
        std::string local;
        int localPort = 0;
        std::string in;           // received, not yet consumed
        std::size_t scanned = 0;  // bytes of `in` known to hold no end of head
        bool started = false;     // a byte of the current request has arrived
        bool peerClosed = false;  // the client will send no more
        bool headRead = false;    // waiting for the body of `request`
        std::int64_t bodyLeft = 0;
        HttpRequest request;
        Clock::time_point requestStart;
        std::string out;
        std::size_t outSent = 0;
        std::unique_ptr<FileBody> file;
        bool closeAfter = false;
        Clock::time_point deadline;
        bool hasDeadline = false;
    };

    struct Job {
        int fd;
        std::uint64_t id;
        HttpRequest request;
        Clock::time_point start;
    };
    struct Done {
        int fd;
        std::uint64_t id;
        bool head;  // a HEAD request: no body goes out
        bool keepAlive;
        HttpResponse response;
    };

    Loop(HttpServer& owner, const HttpServerOptions& options, HttpHandler handler,
         HttpLogger logger)
        : owner_(owner),
          options_(options),
          handler_(std::move(handler)),
          logger_(std::move(logger)) {}

    ~Loop() {
        for (int fd : {listen_, wake_, epoll_, spare_}) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }

    int Bind(const std::string& host, int port, std::string& error) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
        addrinfo* found = nullptr;
        const std::string service = std::to_string(port);
        if (const int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
            error = host + ": " + gai_strerror(rc);
            return -1;
        }
        for (addrinfo* at = found; at != nullptr && listen_ < 0; at = at->ai_next) {
            const int fd = socket(at->ai_family, at->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                  at->ai_protocol);
            if (fd < 0) {
                error = std::strerror(errno);
                continue;
            }
            const int yes = 1;
            setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            if (bind(fd, at->ai_addr, at->ai_addrlen) != 0 || listen(fd, 1024) != 0) {
                error = std::strerror(errno);
                close(fd);
                continue;
            }
            listen_ = fd;
        }
        freeaddrinfo(found);
        if (listen_ < 0) {
            return -1;
        }
        sockaddr_storage bound{};
        socklen_t size = sizeof bound;
        getsockname(listen_, reinterpret_cast<sockaddr*>(&bound), &size);
        int boundPort = 0;
        AddressText(bound, &boundPort);
        return boundPort;
    }

    bool Run() {
        if (listen_ < 0) {
            return false;
        }
        epoll_ = epoll_create1(EPOLL_CLOEXEC);
        wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        spare_ = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (epoll_ < 0 || wake_ < 0 || !Watch(listen_, EPOLLIN, EPOLL_CTL_ADD) ||
            !Watch(wake_, EPOLLIN, EPOLL_CTL_ADD)) {
            return false;
        }
        for (int i = 0; i < options_.threads; ++i) {
            workers_.emplace_back([this] { Work(); });
        }
        owner_.running_ = true;
        bool clean = true;
        std::vector<epoll_event> events(256);
        while (!stopping_.load()) {
            const int count =
                epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), NextTimeout());
            if (count < 0 && errno != EINTR) {
                clean = false;
                break;
            }
            for (int i = 0; i < count; ++i) {
                const int fd = events[static_cast<std::size_t>(i)].data.fd;
                const std::uint32_t what = events[static_cast<std::size_t>(i)].events;
                if (fd == listen_) {
                    AcceptAll();
                } else if (fd == wake_) {
                    std::uint64_t ignored = 0;
                    [[maybe_unused]] const ssize_t got = read(wake_, &ignored, sizeof ignored);
                    FinishAnswers();
                } else {
                    OnConnectionEvent(fd, what);
                }
            }
            ExpireDeadlines();
        }
        ShutDown();
        owner_.running_ = false;
        return clean;
    }

    void Stop() {
        stopping_ = true;
        if (wake_ >= 0) {
            const std::uint64_t one = 1;
            [[maybe_unused]] const ssize_t put = write(wake_, &one, sizeof one);
        }
    }

  private:
    bool Watch(int fd, std::uint32_t events, int operation) {
        epoll_event event{};
        event.events = events;
        event.data.fd = fd;
        return epoll_ctl(epoll_, operation, fd, &event) == 0;
    }

    int NextTimeout() const {
        if (deadlines_.empty()) {
            return -1;
        }
        const auto wait = deadlines_.begin()->first - Clock::now();
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
        return ms < 0 ? 0 : static_cast<int>(ms);
    }

    void SetDeadline(Connection& connection, int milliseconds) {
        ClearDeadline(connection);
        connection.deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
        connection.hasDeadline = true;
        deadlines_.emplace(connection.deadline, connection.fd);
    }

    void ClearDeadline(Connection& connection) {
        if (connection.hasDeadline) {
            deadlines_.erase({connection.deadline, connection.fd});
            connection.hasDeadline = false;
        }
    }

    void AcceptAll() {
        for (;;) {
            sockaddr_storage peer{};
            socklen_t size = sizeof peer;
            const int fd = accept4(listen_, reinterpret_cast<sockaddr*>(&peer), &size,
                                   SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno == EMFILE || errno == ENFILE) {
                    ShedOneConnection();
                    continue;
                }
                if (errno == EINTR || errno == ECONNABORTED) {
                    continue;
                }
                return;  // EAGAIN: all taken
            }
            Admit(fd, AddressText(peer, nullptr));
        }
    }

    // Out of descriptors: the spare one makes room to take the waiting connection and close it,
    // so the listening socket does not stay readable forever.
    void ShedOneConnection() {
        if (spare_ < 0) {
            return;
        }
        close(spare_);
        const int fd = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            close(fd);
        }
        spare_ = open("/dev/null", O_RDONLY | O_CLOEXEC);
    }

    void Admit(int fd, std::string remote) {
        int& fromAddress = perAddress_[remote];
        const bool full = static_cast<int>(connections_.size()) >= options_.maxConnections;
        const bool crowded = options_.maxConnectionsPerAddress > 0 &&
                             fromAddress >= options_.maxConnectionsPerAddress;
        if (full || crowded) {
            if (fromAddress == 0) {
                perAddress_.erase(remote);
            }
            static constexpr char kBusy[] =
                "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=UTF-8\r\n"
                "Content-Length: 21\r\nConnection: close\r\n\r\ntoo many connections\n";
            [[maybe_unused]] const ssize_t sent =
                send(fd, kBusy, sizeof kBusy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
            close(fd);
            return;
        }
        ++fromAddress;
        const int yes = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->id = ++lastId_;
        connection->remote = std::move(remote);
        sockaddr_storage local{};
        socklen_t size = sizeof local;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) == 0) {
            connection->local = AddressText(local, &connection->localPort);
        }
        Connection& held = *connection;
        connections_.emplace(fd, std::move(connection));
        owner_.open_ = static_cast<int>(connections_.size());
        if (!Watch(fd, EPOLLIN, EPOLL_CTL_ADD)) {
            Close(held);
            return;
        }
        // A new connection has the head deadline to send its first request whole.
        SetDeadline(held, options_.headDeadlineMs);
        held.started = true;
        held.requestStart = Clock::now();
    }

    void Close(Connection& connection) {
        ClearDeadline(connection);
        epoll_ctl(epoll_, EPOLL_CTL_DEL, connection.fd, nullptr);
        close(connection.fd);
        const auto address = perAddress_.find(connection.remote);
        if (address != perAddress_.end() && --address->second <= 0) {
            perAddress_.erase(address);
        }
        connections_.erase(connection.fd);
        owner_.open_ = static_cast<int>(connections_.size());
    }

    void OnConnectionEvent(int fd, std::uint32_t events) {
        const auto found = connections_.find(fd);
        if (found == connections_.end()) {
            return;
        }
        Connection& connection = *found->second;
        if ((events & EPOLLERR) != 0) {
            Close(connection);
            return;
        }
        if (connection.state == State::Writing && (events & EPOLLOUT) != 0) {
            Write(connection);
            return;
        }
        if (connection.state == State::Working) {
            // Only a hang-up is watched while a worker answers: the answer has no one to go to.
            if ((events & EPOLLHUP) != 0) {
                Close(connection);
            }
            return;
        }
        if (connection.state == State::Reading && (events & (EPOLLIN | EPOLLHUP)) != 0) {
            Read(connection);
        }
    }

    void Read(Connection& connection) {
        char buffer[kReadChunk];
        for (;;) {
            const ssize_t got = recv(connection.fd, buffer, sizeof buffer, 0);
            if (got == 0) {
                // Half-closed after a request still gets its answer; otherwise this ends here.
                connection.peerClosed = true;
                Watch(connection.fd, 0, EPOLL_CTL_MOD);
                break;
            }
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                if (errno != EAGAIN && errno != EWOULDBLOCK) {
                    Close(connection);
                    return;
                }
                break;
            }
            if (!connection.started) {
                connection.started = true;
                connection.requestStart = Clock::now();
                SetDeadline(connection, options_.headDeadlineMs);
            }
            connection.in.append(buffer, static_cast<std::size_t>(got));
            if (connection.in.size() > kHeadByteLimit + kReadChunk) {
                break;  // enough to decide on; the rest waits in the socket
            }
        }
        Consume(connection);
    }

    // Reads as much of the next request as `in` holds and hands a whole one to the workers.
    void Consume(Connection& connection) {
        if (!connection.headRead) {
            // Empty lines before a request line are allowed and skipped.
            std::size_t blank = 0;
            while (blank < connection.in.size() &&
                   (connection.in[blank] == '\r' || connection.in[blank] == '\n')) {
                ++blank;
            }
            connection.in.erase(0, blank);
            connection.scanned = connection.scanned > blank ? connection.scanned - blank : 0;
            const std::size_t from = connection.scanned > 3 ? connection.scanned - 3 : 0;
            std::size_t length = RequestHeadLength(std::string_view(connection.in).substr(from));
            if (length != 0) {
                length += from;
            }
            connection.scanned = connection.in.size();
            if (length == 0) {
                if (connection.in.size() > kHeadByteLimit) {
                    Refuse(connection, 431, "request head too large");
                } else if (connection.peerClosed) {
                    Close(connection);
                }
                return;
            }
            if (length > kHeadByteLimit) {
                Refuse(connection, 431, "request head too large");
                return;
            }
            connection.request = HttpRequest();
            const RequestHeadParse head = ParseRequestHead(
                std::string_view(connection.in).substr(0, length), connection.request);
            connection.in.erase(0, length);
            connection.scanned = 0;
            if (head.status != 0) {
                Refuse(connection, head.status, std::string(StatusText(head.status)));
                return;
            }
            if (head.contentLength > static_cast<std::int64_t>(options_.maxBodyBytes)) {
                Refuse(connection, 413, "request body too large");
                return;
            }
            connection.headRead = true;
            connection.bodyLeft = head.contentLength;
        }
        // The handlers take no body: it is read and dropped.
        const auto drop = static_cast<std::size_t>(std::min<std::int64_t>(
            connection.bodyLeft, static_cast<std::int64_t>(connection.in.size())));
        connection.in.erase(0, drop);
        connection.bodyLeft -= static_cast<std::int64_t>(drop);
        if (connection.bodyLeft > 0) {
            if (connection.peerClosed) {
                Close(connection);
            }
            return;
        }
        Dispatch(connection);
    }

    void Dispatch(Connection& connection) {
        ClearDeadline(connection);
        connection.state = State::Working;
        connection.headRead = false;
        Watch(connection.fd, 0, EPOLL_CTL_MOD);
        HttpRequest& request = connection.request;
        request.remoteAddress = connection.remote;
        request.localAddress = connection.local;
        request.localPort = connection.localPort;
        {
            std::lock_guard lock(jobsMutex_);
            jobs_.push_back(
                {connection.fd, connection.id, std::move(request), connection.requestStart});
        }
        jobsReady_.notify_one();
    }

    // The server's own refusal of a request it could not read: answered, then closed.
    void Refuse(Connection& connection, int status, const std::string& reason) {
        HttpResponse response;
        response.status = status;
        response.SetContent(reason + "\n", kRefusalType);
        connection.request.remoteAddress = connection.remote;
        if (logger_) {
            logger_(connection.request, response, MillisecondsSince(connection.requestStart));
        }
        Answer(connection, response, false, false);
    }

    void Work() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(jobsMutex_);
                jobsReady_.wait(lock, [this] { return !jobs_.empty() || workersStop_; });
                if (jobs_.empty()) {
                    return;
                }
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            Done done{job.fd, job.id, job.request.method == "HEAD", job.request.keepAlive, {}};
            handler_(job.request, done.response);
            if (logger_) {
                logger_(job.request, done.response, MillisecondsSince(job.start));
            }
            {
                std::lock_guard lock(doneMutex_);
                done_.push_back(std::move(done));
            }
            const std::uint64_t one = 1;
            [[maybe_unused]] const ssize_t put = write(wake_, &one, sizeof one);
        }
    }

    void FinishAnswers() {
        std::deque<Done> finished;
        {
            std::lock_guard lock(doneMutex_);
            finished.swap(done_);
        }
        for (Done& done : finished) {
            const auto found = connections_.find(done.fd);
            if (found == connections_.end() || found->second->id != done.id) {
                continue;  // the connection is gone
            }
            Answer(*found->second, done.response, done.head, done.keepAlive);
        }
    }

    // Queues the answer's head and body on `connection` and starts writing it.
    void Answer(Connection& connection, HttpResponse& response, bool head, bool keepAlive) {
        connection.closeAfter = !keepAlive || connection.peerClosed || stopping_.load();
        std::string& out = connection.out;
        out.clear();
        connection.outSent = 0;
        out += "HTTP/1.1 " + std::to_string(response.status) + " ";
        out += StatusText(response.status);
        out += "\r\n";
        for (const auto& [name, value] : response.headers) {
            out += name + ": " + value + "\r\n";
        }
        out += "Content-Length: " + std::to_string(response.BodyLength()) + "\r\n";
        if (connection.closeAfter) {
            out += "Connection: close\r\n";
        }
        out += "\r\n";
        if (!head) {
            if (response.file) {
                connection.file = std::move(response.file);
            } else {
                out += response.body;
            }
        }
        connection.state = State::Writing;
        Write(connection);
    }

    void Write(Connection& connection) {
        while (connection.outSent < connection.out.size()) {
            const ssize_t sent = send(connection.fd, connection.out.data() + connection.outSent,
                                      connection.out.size() - connection.outSent, MSG_NOSIGNAL);
            if (sent < 0) {
                if (errno == EINTR) {
                    continue;
                }
                if (errno == EAGAIN || errno == EWOULDBLOCK) {
                    return WaitToWrite(connection);
                }
                return Close(connection);
            }
            connection.outSent += static_cast<std::size_t>(sent);
        }
        while (connection.file && connection.file->length > 0) {
            FileBody& file = *connection.file;
            off_t offset = static_cast<off_t>(file.offset);
            const ssize_t sent =
                sendfile(connection.fd, *file.descriptor, &offset,
                         static_cast<std::size_t>(std::min(file.length, kFileChunk)));
            if (sent < 0) {
                if (errno == EINTR) {
                    continue;
                }
                if (errno == EAGAIN || errno == EWOULDBLOCK) {
                    return WaitToWrite(connection);
                }
                return Close(connection);
            }
            if (sent == 0) {
                return Close(connection);  // the file got shorter than it said
            }
            file.offset += sent;
            file.length -= sent;
        }
        Answered(connection);
    }

    void WaitToWrite(Connection& connection) {
        Watch(connection.fd, EPOLLOUT, EPOLL_CTL_MOD);
        SetDeadline(connection, options_.sendStallMs);
    }

    // The answer is out: close, or wait for the next request (maybe already received).
    void Answered(Connection& connection) {
        connection.out.clear();
        connection.outSent = 0;
        connection.file.reset();
        if (connection.closeAfter) {
            return Close(connection);
        }
        connection.state = State::Reading;
        connection.started = false;
        Watch(connection.fd, EPOLLIN, EPOLL_CTL_MOD);
        if (connection.in.empty()) {
            SetDeadline(connection, options_.idleMs);
            return;
        }
        connection.started = true;
        connection.requestStart = Clock::now();
        SetDeadline(connection, options_.headDeadlineMs);
        Consume(connection);
    }

    void ExpireDeadlines() {
        const auto now = Clock::now();
        while (!deadlines_.empty() && deadlines_.begin()->first <= now) {
            const int fd = deadlines_.begin()->second;
            Connection& connection = *connections_.at(fd);
            ClearDeadline(connection);
            if (connection.state == State::Reading &&
                (!connection.in.empty() || connection.headRead)) {
                // Only some of a request arrived, too slowly: say so, then close.
                Refuse(connection, 408, "request head not received in time");
            } else {
                Close(connection);
            }
        }
    }

    void ShutDown() {
        close(listen_);
        listen_ = -1;
        {
            std::lock_guard lock(jobsMutex_);
            workersStop_ = true;
        }
        jobsReady_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();
        }
        workers_.clear();
        // Answers finished by now go out as far as the sockets take them at once.
        FinishAnswers();
        while (!connections_.empty()) {
            Close(*connections_.begin()->second);
        }
    }

    HttpServer& owner_;
    const HttpServerOptions options_;
    const HttpHandler handler_;
    const HttpLogger logger_;
    int listen_ = -1;
    int epoll_ = -1;
    int wake_ = -1;
    int spare_ = -1;
    std::atomic<bool> stopping_{false};
    std::uint64_t lastId_ = 0;
    std::unordered_map<int, std::unique_ptr<Connection>> connections_;
    std::unordered_map<std::string, int> perAddress_;
    std::set<std::pair<Clock::time_point, int>> deadlines_;
    std::vector<std::thread> workers_;
    std::mutex jobsMutex_;
    std::condition_variable jobsReady_;
    std::deque<Job> jobs_;
    bool workersStop_ = false;
    std::mutex doneMutex_;
    std::deque<Done> done_;
};

HttpServer::HttpServer(const HttpServerOptions& options, HttpHandler handler, HttpLogger logger)
    : loop_(std::make_unique<Loop>(*this, options, std::move(handler), std::move(logger))) {}

HttpServer::~HttpServer() = default;

int HttpServer::Bind(const std::string& host, int port, std::string& error) {
    return loop_->Bind(host, port, error);
}

bool HttpServer::Run() {
    return loop_->Run();
}

void HttpServer::Stop() {
    loop_->Stop();
}

}  // namespace tunova::server
