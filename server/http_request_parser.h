// Reading an HTTP/1.x request head (request line and header fields) strictly: anything a
// well-behaved client would not send is refused with the status that says why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "server/http_message.h"

namespace tunova::server {

inline constexpr std::size_t kTargetByteLimit = 8192;
inline constexpr std::size_t kHeadByteLimit = 16384;
inline constexpr std::size_t kHeaderFieldLimit = 100;

struct RequestHeadParse {
    int status = 0;                  // 0 when the head is good, else the HTTP status to refuse with
    std::int64_t contentLength = 0;  // body bytes that follow the head
};

// The length of the head at the start of `bytes` up to and including its empty line, or 0 when
// the empty line has not arrived yet.
std::size_t RequestHeadLength(std::string_view bytes);

// Reads `head` (as measured by RequestHeadLength) into `request`: method, target, path, query,
// version, headers and keep-alive. Refuses with 400 (malformed), 414 (target over 8 KiB),
// 431 (over 100 fields), 501 (a Transfer-Encoding body) or 505 (not HTTP/1.0 or 1.1).
RequestHeadParse ParseRequestHead(std::string_view head, HttpRequest& request);

}  // namespace tunova::server
