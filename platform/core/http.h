// Blocking HTTP GET on libcurl for the program's plain-HTTP services. Safe to call from any
// thread; each call uses its own connection. Redirects are not followed and no proxy is used.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

struct HttpOptions {
    long connectTimeoutMs = 10'000;       // to establish the connection
    long totalTimeoutMs = 30'000;         // for the whole request, connection included
    std::size_t maxBodyBytes = 8u << 20;  // a longer body fails with kTooLarge
    std::string userAgent = "youtube";
    const std::atomic<bool>* cancel = nullptr;  // when set and true, the transfer stops soon
};

enum class HttpError {
    kNone,
    kBadRequest,  // host or path unusable (empty host, control characters, '/' in the host ...)
    kConnect,     // name not resolved, connection refused
    kTimeout,     // connect or total time ran out
    kTooLarge,    // body longer than maxBodyBytes
    kCancelled,   // the cancel flag was raised
    kTransfer,    // the connection broke or the answer was not HTTP
};

struct HttpResponse {
    HttpError error = HttpError::kNone;
    int status = 0;           // HTTP status when an answer arrived, else 0
    std::string body;         // the whole body (empty on error)
    std::string description;  // readable reason on error
    explicit operator bool() const { return error == HttpError::kNone; }
};

// GET http://HOST[:PORT]/PATH. `path` is sent exactly as given (a leading '/' is optional) and
// must not contain spaces or control characters. Any status counts as an answer.
HttpResponse HttpGet(std::string_view host, std::string_view path, const HttpOptions& options = {});

}  // namespace plat
