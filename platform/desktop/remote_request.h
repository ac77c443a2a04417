// Requests between processes of this program over each process's command socket (the socket
// that also carries system commands to published windows): a request has a name and an argument
// of bytes, and is answered with bytes or refused. A second start of the player uses it to hand
// work to the running copy.
//
// On the wire (the socket of process P in the runtime folder):
//   request NAME LENGTH\n<LENGTH bytes>     answered   answer LENGTH\n<LENGTH bytes>   or   0\n
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

// Limits: longer arguments or answers are refused, never cut.
inline constexpr std::size_t kMaxRequestNameBytes = 32;
inline constexpr std::size_t kMaxRequestArgumentBytes = 64 * 1024;
inline constexpr std::size_t kMaxRequestAnswerBytes = 8 * 1024 * 1024;

// True for a usable request name: 1 to 32 of a-z, 0-9 and '-'.
bool IsRequestName(std::string_view name);

// Answers one request from its argument: the answer, or nullopt to refuse it.
using RequestHandler = std::function<std::optional<std::string>(std::string_view argument)>;

// Serves requests named `name` in this process from now on, on the UI thread; a later call
// replaces the handler and an empty handler stops serving the name. Requests arrive once this
// process has published a titled top-level window (the socket opens with the first one).
// Ignored when `name` is not a request name.
void SetRequestHandler(std::string_view name, RequestHandler handler);

enum class RequestStatus {
    kAnswered,     // the handler answered
    kRefused,      // the process has no handler for the name, or the handler refused
    kUnreachable,  // no such process, no socket, a broken exchange or no answer in time
};

struct RequestResult {
    RequestStatus status = RequestStatus::kUnreachable;
    std::string answer;  // when answered
    explicit operator bool() const { return status == RequestStatus::kAnswered; }
};

// Sends request `name` with `argument` to process `processId` and waits at most `timeoutMs` for
// each step of the exchange. A bad name or an argument over the limit is refused here, unsent.
// Blocks the calling thread: for this process's own handlers call it from another thread.
RequestResult SendRequest(std::int64_t processId, std::string_view name, std::string_view argument,
                          int timeoutMs = 5000);

}  // namespace plat
