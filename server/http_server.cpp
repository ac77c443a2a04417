#include "server/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <strings.h>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "server/connection_deadlines.h"
#include "server/listening_socket.h"

namespace tunova::server {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kRefusalType = "text/plain; charset=UTF-8";
constexpr std::size_t kTargetByteLimit = 8192;
constexpr unsigned kHeaderFieldLimit = 100;
// The engine keeps each connection's request head (and the answer's head) in this much memory;
// a head that does not fit is refused by it: 414 while in the request line, else 431.
constexpr std::size_t kConnectionMemory = 16384;
// Network threads of the engine; the handlers have their own.
constexpr unsigned kNetworkThreads = 2;

constexpr char kBusy[] =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=UTF-8\r\n"
    "Content-Length: 21\r\nConnection: close\r\n\r\ntoo many connections\n";

std::string AddressText(const sockaddr* address, int* port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address == nullptr) {
        return {};
    }
    if (address->sa_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
        inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
        if (port != nullptr) {
            *port = ntohs(v4->sin_port);
        }
    } else if (address->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
        inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
        if (port != nullptr) {
            *port = ntohs(v6->sin6_port);
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

// One connection as this layer knows it, kept as the engine's socket context.
struct Connection {
    std::uint64_t id = 0;
    int fd = -1;  // a duplicate of the engine's socket: stays valid until this is deleted
    std::string remote;
    std::string local;
    int localPort = 0;
    bool counted = false;  // admitted under the caps (not refused 503)
};

enum class Stage { Head, Body, Working, Ready };

// One request, from its request line (the engine's URI callback) to its completion.
struct Request {
    Connection* connection = nullptr;
    std::string target;
    Clock::time_point start = Clock::now();
    std::atomic<Stage> stage{Stage::Head};
    HttpRequest request;
    int status = 0;
    MHD_Response* answer = nullptr;  // made by a worker, queued when the engine resumes
};

bool IsTokenChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

bool HasControlBytes(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t') || byte == 0x7F;
    });
}

// What the handlers cannot be given: 0 when the request may go on, else the status to refuse
// it with, and `reason`.
int RefusalFor(const HttpRequest& request, std::size_t maxBodyBytes, std::string& reason) {
    if (request.target.size() > kTargetByteLimit) {
        reason = "request target too long";
        return 414;
    }
    if (request.headers.size() > kHeaderFieldLimit) {
        reason = "too many header fields";
        return 431;
    }
    int lengths = 0;
    for (const auto& [name, value] : request.headers) {
        if (name.empty() || !std::all_of(name.begin(), name.end(), IsTokenChar) ||
            HasControlBytes(value)) {
            reason = "malformed header field";
            return 400;
        }
        lengths += strcasecmp(name.c_str(), "Content-Length") == 0 ? 1 : 0;
    }
    if (request.HasHeader("Transfer-Encoding")) {
        reason = "request bodies must have a Content-Length";
        return 501;
    }
    const std::string length = request.Header("Content-Length");
    if (lengths > 1 ||
        (lengths == 1 && (length.empty() || length.size() > 18 ||
                          length.find_first_not_of("0123456789") != std::string::npos))) {
        reason = "bad Content-Length";
        return 400;
    }
    if (lengths == 1 && std::stoll(length) > static_cast<long long>(maxBodyBytes)) {
        reason = "request body too large";
        return 413;
    }
    return 0;
}

// The engine's form of `response`; null when it could not be made.
MHD_Response* EngineResponse(HttpResponse& response) {
    MHD_Response* answer = nullptr;
    if (response.file) {
        const int fd = fcntl(*response.file->descriptor, F_DUPFD_CLOEXEC, 0);
        if (fd >= 0) {
            answer = MHD_create_response_from_fd_at_offset64(
                static_cast<std::uint64_t>(response.file->length), fd,
                static_cast<std::uint64_t>(response.file->offset));
            if (answer == nullptr) {
                close(fd);
            }
        }
    } else {
        answer = MHD_create_response_from_buffer(response.body.size(), response.body.data(),
                                                 MHD_RESPMEM_MUST_COPY);
    }
    if (answer == nullptr) {
        return nullptr;
    }
    for (const auto& [name, value] : response.headers) {
        MHD_add_response_header(answer, name.c_str(), value.c_str());
    }
    return answer;
}

}  // namespace

struct HttpServer::Engine {
    Engine(HttpServer& owner, const HttpServerOptions& options, HttpHandler handler,
           HttpLogger logger)
        : owner_(owner),
          options_(options),
          handler_(std::move(handler)),
          logger_(std::move(logger)) {}

    ~Engine() {
        if (listen_ >= 0) {
            close(listen_);
        }
    }

    int Adopt(int socket, std::string& error) {
        const int port = ListeningPort(socket);
        if (port < 0) {
            error = "not a bound socket";
            close(socket);
            return -1;
        }
        if (listen_ >= 0) {
            close(listen_);
        }
        listen_ = socket;
        return port;
    }

    bool Run() {
        if (listen_ < 0) {
            return false;
        }
        deadlines_ = std::make_unique<ConnectionDeadlines>([this](std::uint64_t) {
            HttpResponse response;
            response.status = 408;
            response.SetContent("request head not received in time\n", kRefusalType);
            Log(HttpRequest(), response, 0);
        });
        for (int i = 0; i < options_.threads; ++i) {
            workers_.emplace_back([this] { Work(); });
        }
        const auto stallSeconds =
            static_cast<unsigned>(std::max(1, (options_.sendStallMs + 999) / 1000));
        daemon_ = MHD_start_daemon(
            MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG, 0,
            nullptr, nullptr, &Engine::OnRequest, this, MHD_OPTION_LISTEN_SOCKET, listen_,
            MHD_OPTION_THREAD_POOL_SIZE, kNetworkThreads, MHD_OPTION_CONNECTION_TIMEOUT,
            stallSeconds, MHD_OPTION_CONNECTION_LIMIT,
            static_cast<unsigned>(options_.maxConnections) * 2 + 64,
            MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory, MHD_OPTION_NOTIFY_CONNECTION,
            &Engine::OnConnection, this, MHD_OPTION_URI_LOG_CALLBACK, &Engine::OnRequestLine, this,
            MHD_OPTION_NOTIFY_COMPLETED, &Engine::OnCompleted, this, MHD_OPTION_END);
        bool clean = daemon_ != nullptr;
        if (clean) {
            owner_.running_ = true;
            std::unique_lock lock(stopMutex_);
            stopped_.wait(lock, [this] { return stopping_; });
        }
        // No new connections; the workers finish what was handed to them, then the engine ends
        // every connection.
        // The engine closes the listening socket itself when it cannot hand it back.
        const bool listening = daemon_ == nullptr || MHD_quiesce_daemon(daemon_) >= 0;
        {
            std::lock_guard lock(jobsMutex_);
            workersStop_ = true;
        }
        jobsReady_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();
        }
        workers_.clear();
        if (daemon_ != nullptr) {
            MHD_stop_daemon(daemon_);
            daemon_ = nullptr;
        }
        deadlines_.reset();
        if (listening) {
            close(listen_);
        }
        listen_ = -1;
        owner_.running_ = false;
        return clean;
    }

    void Stop() {
        {
            std::lock_guard lock(stopMutex_);
            stopping_ = true;
        }
        stopped_.notify_all();
    }

    int listen_ = -1;

  private:
    struct Job {
        MHD_Connection* connection;
        Request* request;
    };

    void Log(const HttpRequest& request, const HttpResponse& response, double milliseconds) {
        if (logger_) {
            logger_(request, response, milliseconds);
        }
    }

    static void OnConnection(void* self, MHD_Connection* connection, void** context,
                             MHD_ConnectionNotificationCode code) {
        auto& engine = *static_cast<Engine*>(self);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            *context = engine.Admit(connection);
        } else if (*context != nullptr) {
            engine.Release(static_cast<Connection*>(*context));
            *context = nullptr;
        }
    }

    Connection* Admit(MHD_Connection* engineConnection) {
        const MHD_ConnectionInfo* socket =
            MHD_get_connection_info(engineConnection, MHD_CONNECTION_INFO_CONNECTION_FD);
        const MHD_ConnectionInfo* client =
            MHD_get_connection_info(engineConnection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
        auto connection = std::make_unique<Connection>();
        connection->fd = socket != nullptr ? fcntl(socket->connect_fd, F_DUPFD_CLOEXEC, 0) : -1;
        if (connection->fd < 0) {
            return nullptr;  // not watched, not counted: the engine's own limits still hold
        }
        connection->id = ++lastId_;
        connection->remote =
            AddressText(client != nullptr ? client->client_addr : nullptr, nullptr);
        sockaddr_storage local{};
        socklen_t size = sizeof local;
        if (getsockname(connection->fd, reinterpret_cast<sockaddr*>(&local), &size) == 0) {
            connection->local =
                AddressText(reinterpret_cast<const sockaddr*>(&local), &connection->localPort);
        }
        {
            std::lock_guard lock(countsMutex_);
            int& fromAddress = perAddress_[connection->remote];
            const bool full = open_ >= options_.maxConnections;
            const bool crowded = options_.maxConnectionsPerAddress > 0 &&
                                 fromAddress >= options_.maxConnectionsPerAddress;
            if (!full && !crowded) {
                ++fromAddress;
                owner_.open_ = ++open_;
                connection->counted = true;
            } else if (fromAddress == 0) {
                perAddress_.erase(connection->remote);
            }
        }
        if (!connection->counted) {
            // Refused before a byte is read: the engine sees the shutdown and closes it.
            [[maybe_unused]] const ssize_t sent =
                send(connection->fd, kBusy, sizeof kBusy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
            shutdown(connection->fd, SHUT_RDWR);
            return connection.release();
        }
        const int yes = 1;
        setsockopt(connection->fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        // A new connection has the head deadline to send its first request whole.
        deadlines_->Wait(connection->id, connection->fd, options_.headDeadlineMs, 0, true);
        return connection.release();
    }

    void Release(Connection* connection) {
        deadlines_->Forget(connection->id);
        if (connection->counted) {
            std::lock_guard lock(countsMutex_);
            const auto address = perAddress_.find(connection->remote);
            if (address != perAddress_.end() && --address->second <= 0) {
                perAddress_.erase(address);
            }
            owner_.open_ = --open_;
        }
        close(connection->fd);
        delete connection;
    }

    static Connection* ConnectionOf(MHD_Connection* connection) {
        const MHD_ConnectionInfo* info =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        return info != nullptr ? static_cast<Connection*>(info->socket_context) : nullptr;
    }

    // The request line has arrived: the request's state starts here, with the target as sent.
    static void* OnRequestLine(void*, const char* target, MHD_Connection* connection) {
        auto* request = new Request;
        request->connection = ConnectionOf(connection);
        request->target = target != nullptr ? target : "";
        return request;
    }

    static void OnCompleted(void* self, MHD_Connection* connection, void** context,
                            MHD_RequestTerminationCode code) {
        auto& engine = *static_cast<Engine*>(self);
        auto* request = static_cast<Request*>(*context);
        *context = nullptr;
        if (request != nullptr) {
            if (request->answer != nullptr) {
                MHD_destroy_response(request->answer);
            }
            delete request;
        }
        Connection* kept = ConnectionOf(connection);
        if (code == MHD_REQUEST_TERMINATED_COMPLETED_OK && kept != nullptr && kept->counted) {
            // Kept alive: the next request must begin within the idle limit.
            engine.deadlines_->Wait(kept->id, kept->fd, engine.options_.idleMs,
                                    engine.options_.headDeadlineMs);
        }
    }

    static MHD_Result OnRequest(void* self, MHD_Connection* connection, const char*,
                                const char* method, const char* version, const char*,
                                std::size_t* uploadSize, void** context) {
        auto& engine = *static_cast<Engine*>(self);
        auto* request = static_cast<Request*>(*context);
        if (request == nullptr || request->connection == nullptr) {
            return MHD_NO;
        }
        switch (request->stage.load()) {
            case Stage::Head:
                return engine.HeadArrived(connection, *request, method, version);
            case Stage::Body:
                if (*uploadSize > 0) {
                    *uploadSize = 0;  // the handlers take no body: it is read and dropped
                    return MHD_YES;
                }
                return engine.Dispatch(connection, *request);
            case Stage::Working:
                return MHD_YES;
            case Stage::Ready: {
                const MHD_Result queued = MHD_queue_response(
                    connection, static_cast<unsigned>(request->status), request->answer);
                MHD_destroy_response(request->answer);
                request->answer = nullptr;
                return queued;
            }
        }
        return MHD_NO;
    }

    static MHD_Result HeaderInto(void* into, MHD_ValueKind, const char* name, const char* value) {
        static_cast<HttpHeaders*>(into)->emplace_back(name != nullptr ? name : "",
                                                      value != nullptr ? value : "");
        return MHD_YES;
    }

    MHD_Result HeadArrived(MHD_Connection* connection, Request& state, const char* method,
                           const char* version) {
        const Connection& from = *state.connection;
        HttpRequest& request = state.request;
        request.method = method != nullptr ? method : "";
        request.target = state.target;
        const std::size_t question = request.target.find('?');
        request.path = PercentDecoded(std::string_view(request.target).substr(0, question), false);
        request.query = question == std::string::npos ? "" : request.target.substr(question + 1);
        request.minorVersion = version != nullptr && std::strcmp(version, "HTTP/1.0") == 0 ? 0 : 1;
        MHD_get_connection_values(connection, MHD_HEADER_KIND, &HeaderInto, &request.headers);
        std::string connectionHeader = request.Header("Connection");
        std::transform(connectionHeader.begin(), connectionHeader.end(), connectionHeader.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        request.keepAlive = request.minorVersion == 1
                                ? connectionHeader.find("close") == std::string::npos
                                : connectionHeader.find("keep-alive") != std::string::npos;
        request.remoteAddress = from.remote;
        request.localAddress = from.local;
        request.localPort = from.localPort;
        std::string reason;
        if (const int status = RefusalFor(request, options_.maxBodyBytes, reason); status != 0) {
            return Refuse(connection, state, status, reason);
        }
        // The head deadline still runs: a body must arrive within it too.
        state.stage = Stage::Body;
        return MHD_YES;
    }

    // Hands the whole request to a worker; the connection waits suspended for its answer.
    MHD_Result Dispatch(MHD_Connection* connection, Request& state) {
        if (!deadlines_->Arrived(state.connection->id)) {
            return MHD_NO;  // the head deadline answered 408 already
        }
        {
            std::lock_guard lock(jobsMutex_);
            if (!workersStop_) {
                state.stage = Stage::Working;
                MHD_suspend_connection(connection);
                jobs_.push_back({connection, &state});
            }
        }
        if (state.stage == Stage::Working) {
            jobsReady_.notify_one();
            return MHD_YES;
        }
        return Refuse(connection, state, 503, "shutting down");
    }

    // The server's own refusal of a request it will not hand on; the engine closes the
    // connection after it when the request's body was not read.
    MHD_Result Refuse(MHD_Connection* connection, Request& state, int status,
                      const std::string& reason) {
        if (!deadlines_->Arrived(state.connection->id)) {
            return MHD_NO;  // the head deadline answered 408 already
        }
        HttpResponse response;
        response.status = status;
        response.SetContent(reason + "\n", kRefusalType);
        Log(state.request, response, MillisecondsSince(state.start));
        MHD_Response* answer = EngineResponse(response);
        if (answer == nullptr) {
            return MHD_NO;
        }
        const MHD_Result queued =
            MHD_queue_response(connection, static_cast<unsigned>(status), answer);
        MHD_destroy_response(answer);
        return queued;
    }

    void Work() {
        for (;;) {
            Job job{};
            {
                std::unique_lock lock(jobsMutex_);
                jobsReady_.wait(lock, [this] { return !jobs_.empty() || workersStop_; });
                if (jobs_.empty()) {
                    return;
                }
                job = jobs_.front();
                jobs_.pop_front();
            }
            Request& state = *job.request;
            HttpResponse response;
            handler_(state.request, response);
            Log(state.request, response, MillisecondsSince(state.start));
            state.answer = EngineResponse(response);
            state.status = response.status;
            if (state.answer == nullptr) {
                HttpResponse failed;
                failed.SetContent("answer could not be made\n", kRefusalType);
                state.answer = EngineResponse(failed);
                state.status = 500;
            }
            state.stage = Stage::Ready;
            MHD_resume_connection(job.connection);
        }
    }

    HttpServer& owner_;
    const HttpServerOptions options_;
    const HttpHandler handler_;
    const HttpLogger logger_;
    MHD_Daemon* daemon_ = nullptr;
    std::unique_ptr<ConnectionDeadlines> deadlines_;
    std::atomic<std::uint64_t> lastId_{0};
    std::mutex countsMutex_;
    int open_ = 0;
    std::unordered_map<std::string, int> perAddress_;
    std::vector<std::thread> workers_;
    std::mutex jobsMutex_;
    std::condition_variable jobsReady_;
    std::deque<Job> jobs_;
    bool workersStop_ = false;
    std::mutex stopMutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
};

HttpServer::HttpServer(const HttpServerOptions& options, HttpHandler handler, HttpLogger logger)
    : engine_(std::make_unique<Engine>(*this, options, std::move(handler), std::move(logger))) {}

HttpServer::~HttpServer() = default;

int HttpServer::Bind(const std::string& host, int port, std::string& error) {
    const int socket = OpenListeningSocket(host, port, error);
    return socket < 0 ? -1 : engine_->Adopt(socket, error);
}

int HttpServer::Adopt(int socket, std::string& error) {
    return engine_->Adopt(socket, error);
}

bool HttpServer::Run() {
    return engine_->Run();
}

void HttpServer::Stop() {
    engine_->Stop();
}

}  // namespace tunova::server
