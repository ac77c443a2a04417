// Retrieval of one feed page from the feed service, as CP949 text for the feed reader.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/desktop/machine_services.h"

namespace tunova {

// What every failed retrieval yields; it holds no '<', so the reader finds nothing in it.
inline constexpr std::string_view kFetchFailed = "error";
// Longest answer taken, in bytes as received; a longer one is refused as a failure (a page of
// 30 results is far below it, and a cut document could not be read anyway).
inline constexpr std::size_t kMaxFeedAnswerBytes = 349'999;

struct FetchOptions {
    long connectTimeoutMs = 10'000;
    long totalTimeoutMs = 30'000;
    const std::atomic<bool>* cancel = nullptr;  // raised by the owner going away
};

// GET http://HOST/PATH with agent "youtube", through `machine`'s HTTP function; `host` may carry a
// port ("127.0.0.1:8080"). Returns the UTF-8 answer converted to CP949, whatever the HTTP status,
// or kFetchFailed when the connection, the transfer or the size limit fails.
std::string FetchFeed(const plat::MachineServices& machine, std::string_view host,
                      std::string_view path, const FetchOptions& options = {});

// The conversion FetchFeed applies to an answer: the text up to its first zero byte, UTF-8 to
// CP949, '?' for what CP949 cannot show. Refuses (kFetchFailed) answers over the limit.
std::string ConvertFeedAnswer(std::string_view utf8);

}  // namespace tunova
