// A feed server on 127.0.0.1 and an ephemeral port (cpp-httplib, compiled in
// loopback_server_utf8.cpp), answering every GET as the test says and recording what it was
// asked; and the bounded waits the tests need. No <chrono> here: this header is included by
// tests compiled as CP949.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/pump_events.h"

namespace tunova::testing {

struct ServerRequest {
    std::string target;  // path and query as sent
    std::string userAgent;
    int startIndex = 0;  // the query's start-index, 0 when absent
};

struct ServerReply {
    enum class Kind {
        kAnswer,         // status and body
        kDropAfterHead,  // promises the body's length, sends its first 10 bytes, then drops
        kHold,           // waits until Release() (at most 10 s), then answers
    };
    Kind kind = Kind::kAnswer;
    int status = 200;
    std::string body;
    std::string contentType = "application/atom+xml; charset=UTF-8";
};

class LoopbackServer {
  public:
    using Handler = std::function<ServerReply(const ServerRequest&)>;

    LoopbackServer();   // listening when constructed
    ~LoopbackServer();  // releases held answers and stops

    std::string Host() const;  // "127.0.0.1:PORT"

    void SetHandler(Handler handler);
    void Serve(std::string body);  // every GET answers 200 with `body`
    void Release();
    // Waits (at most 5 s) until `count` requests have arrived.
    bool WaitForRequests(std::size_t count);
    std::vector<ServerRequest> Requests() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Runs the event loop until `done` holds, at most `timeoutMs`; false on time-out.
using support::PumpUntil;

// Polls `done` every 50 ms without running the event loop, at most `timeoutMs`: for what
// another process does. The last look decides.
bool WaitUntil(const std::function<bool()>& done, long long timeoutMs);

// Milliseconds of real time since construction.
class Stopwatch {
  public:
    Stopwatch();
    long long ElapsedMs() const;

  private:
    long long startNs_;
};

}  // namespace tunova::testing
