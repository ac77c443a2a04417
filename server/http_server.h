// The server's HTTP/1.1 layer: one event-loop thread owns every connection (accepting, reading
// request heads, writing answers and file bodies) and a pool of workers runs the handlers. A
// worker never waits on a client, so clients that connect and send nothing, trickle a request
// byte by byte, keep idle connections open or read slowly cost a socket and a little memory,
// never another client's turn:
// - a request head (and any small body) must arrive whole within the head deadline of its
//   first byte (of the connection, for its first request), else 408 and the connection closes;
// - a kept-alive connection with no new request closes after the idle limit;
// - connections beyond the total cap, or beyond the cap for one client address, are answered
//   503 and closed at once;
// - an answer the client does not read for the send-stall limit is abandoned.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "server/http_message.h"

namespace tunova::server {

struct HttpServerOptions {
    int threads = 16;                   // handler workers
    int headDeadlineMs = 10000;         // whole request head, from its first byte
    int idleMs = 15000;                 // kept-alive connection without a request
    int maxConnections = 4096;          // open connections in all
    int maxConnectionsPerAddress = 64;  // open connections of one client address; 0: no cap
    int sendStallMs = 30000;            // answer not read any further by the client
    std::size_t maxBodyBytes = 64 * 1024;
};

// Fills `response` for `request`; called on a worker thread.
using HttpHandler = std::function<void(const HttpRequest& request, HttpResponse& response)>;
// Called once per answered request (handlers' and the server's own refusals), on any thread.
using HttpLogger = std::function<void(const HttpRequest& request, const HttpResponse& response,
                                      double milliseconds)>;

class HttpServer {
  public:
    HttpServer(const HttpServerOptions& options, HttpHandler handler, HttpLogger logger = {});
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Listens on `host` (an address or name) and `port` (0: a free one). The bound port, or -1
    // with `error` set.
    int Bind(const std::string& host, int port, std::string& error);

    // Serves until Stop(). False when not bound or the event loop failed.
    bool Run();

    // Makes Run() return once the requests being handled are answered. Any thread.
    void Stop();

    // True while Run() is serving.
    bool IsRunning() const { return running_.load(); }

    // Connections open now.
    int OpenConnections() const { return open_.load(); }

  private:
    struct Loop;
    std::unique_ptr<Loop> loop_;
    std::atomic<bool> running_{false};
    std::atomic<int> open_{0};
};

}  // namespace tunova::server
