#include "search/feed_fetch.h"

#include "platform/codepage.h"
#include "platform/http.h"

namespace tunova {

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

std::string FetchFeed(std::string_view host, std::string_view path, const FetchOptions& options) {
    plat::HttpOptions http;
    http.connectTimeoutMs = options.connectTimeoutMs;
    http.totalTimeoutMs = options.totalTimeoutMs;
    http.maxBodyBytes = kMaxFeedAnswerBytes;
    http.userAgent = "youtube";
    http.cancel = options.cancel;
    const plat::HttpResponse response = plat::HttpGet(host, path, http);
    if (!response) {
        return std::string(kFetchFailed);
    }
    return ConvertFeedAnswer(response.body);
}

}  // namespace tunova
