// The server's HTTP/1.1 layer on GNU libmicrohttpd: the engine's threads (epoll) own every
// connection (accepting, reading request heads, writing answers and file bodies with sendfile)
// and a pool of workers runs the handlers; a connection waits suspended while its answer is
// made, so a slow search holds no network thread. Clients that connect and send nothing,
// trickle a request byte by byte, keep idle connections open, read slowly or leave half-way
// cost a socket and a little memory, never another client's turn:
// - a request head (and any small body) must arrive whole within the head deadline of its
//   first byte (of the connection, for its first request), else 408 and the connection closes;
// - a kept-alive connection with no new request closes after the idle limit;
// - connections beyond the total cap, or beyond the cap for one client address, are answered
//   503 and closed at once;
// - an answer the client does not read for the send-stall limit is abandoned;
// - heads the engine cannot take are refused by it (400, 414, 431, 505); request bodies over
//   the limit get 413, chunked ones 501.
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

    // Serves `socket`, already bound and listening (one passed in by a service manager, say),
    // instead of binding one; the server owns it from now. Its port, or -1 with `error` set.
    int Adopt(int socket, std::string& error);

    // Serves until Stop(). False when not bound or the engine could not start.
    bool Run();

    // Makes Run() return once the requests being handled are answered. Any thread.
    void Stop();

    // True while Run() is serving.
    bool IsRunning() const { return running_.load(); }

    // Connections open now.
    int OpenConnections() const { return open_.load(); }

  private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
    std::atomic<bool> running_{false};
    std::atomic<int> open_{0};
};

}  // namespace tunova::server
