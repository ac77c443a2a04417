#include "search/feed_fetch.h"

#include "platform/core/codepage.h"
#include "platform/core/log.h"

namespace tunova {
namespace {

std::string RequestText(std::string_view host, std::string_view path) {
    std::string text = "GET ";
    text += host;
    if (path.empty() || path.front() != '/') {
        text += '/';
    }
    text += path;
    return text;
}

// Callers only see kFetchFailed; the log says why.
void LogFetchProblem(std::string_view host, std::string_view path, const std::string& reason) {
    plat::LogError("fetch", RequestText(host, path) + " failed: " + reason);
}

}  // namespace

std::string ConvertFeedAnswer(std::string_view utf8) {
    if (utf8.size() > kMaxFeedAnswerBytes) {
        return std::string(kFetchFailed);
    }
    const std::size_t zero = utf8.find('\0');
    if (zero != std::string_view::npos) {
        utf8 = utf8.substr(0, zero);
    }
    return plat::Utf8ToCp949(utf8, '?');
}

std::string FetchFeed(const plat::MachineServices& machine, std::string_view host,
                      std::string_view path, const FetchOptions& options) {
    plat::HttpOptions http;
    http.connectTimeoutMs = options.connectTimeoutMs;
    http.totalTimeoutMs = options.totalTimeoutMs;
    http.maxBodyBytes = kMaxFeedAnswerBytes;
    http.userAgent = "youtube";
    http.cancel = options.cancel;
    const plat::HttpResponse response = machine.http(host, path, http);
    if (!response) {
        LogFetchProblem(host, path, response.description);
        return std::string(kFetchFailed);
    }
    if (response.status < 200 || response.status > 299) {
        LogFetchProblem(host, path, "HTTP status " + std::to_string(response.status));
    } else if (plat::LogEnabled(plat::LogLevel::kDebug)) {
        plat::LogDebug("fetch", RequestText(host, path) + ": " +
                                    std::to_string(response.body.size()) + " bytes");
    }
    return ConvertFeedAnswer(response.body);
}

}  // namespace tunova
