#include "platform/core/http.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace plat {
namespace {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool HasUnsafeByte(std::string_view text) {
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F) {
            return true;
        }
    }
    return false;
}

// A host is a name or address with an optional port: nothing that would change the URL's
// meaning (user info, path, query, fragment).
bool IsUsableHost(std::string_view host) {
    if (host.empty() || HasUnsafeByte(host)) {
        return false;
    }
    return host.find_first_of("/?#@\\") == std::string_view::npos;
}

struct Transfer {
    std::string body;
    std::size_t maxBody = 0;
    bool tooLarge = false;
    const std::atomic<bool>* cancel = nullptr;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (bytes > transfer->maxBody - transfer->body.size()) {
        transfer->tooLarge = true;
        return 0;  // makes curl stop with a write error
    }
    transfer->body.append(data, bytes);
    return bytes;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* transfer = static_cast<const Transfer*>(user);
    return transfer->cancel != nullptr && transfer->cancel->load() ? 1 : 0;
}

HttpResponse Failure(HttpError error, std::string description) {
    HttpResponse response;
    response.error = error;
    response.description = std::move(description);
    return response;
}

HttpError Classify(CURLcode code, const Transfer& transfer) {
    switch (code) {
        case CURLE_WRITE_ERROR:
            return transfer.tooLarge ? HttpError::kTooLarge : HttpError::kTransfer;
        case CURLE_ABORTED_BY_CALLBACK:
            return HttpError::kCancelled;
        case CURLE_OPERATION_TIMEDOUT:
            return HttpError::kTimeout;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
        case CURLE_URL_MALFORMAT:
            return HttpError::kConnect;
        default:
            return HttpError::kTransfer;
    }
}

}  // namespace

HttpResponse HttpGet(std::string_view host, std::string_view path, const HttpOptions& options) {
    if (!IsUsableHost(host)) {
        return Failure(HttpError::kBadRequest, "unusable host");
    }
    if (HasUnsafeByte(path)) {
        return Failure(HttpError::kBadRequest, "path holds a space or control character");
    }
    InitCurlOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        return Failure(HttpError::kTransfer, "curl_easy_init failed");
    }
    std::string url = "http://";
    url.append(host);
    url.push_back('/');
    // The request target is sent verbatim, so '#' or '%' in a search word reach the server as
    // they were encoded instead of being reinterpreted as a fragment or re-escaped.
    std::string target;
    target.reserve(path.size() + 1);
    if (!path.starts_with('/')) {
        target.push_back('/');
    }
    target.append(path);
    Transfer transfer;
    transfer.maxBody = options.maxBodyBytes;
    transfer.cancel = options.cancel;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_REQUEST_TARGET, target.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, options.userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_PROXY, "");  // direct access, whatever the environment says
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);  // timeouts without signals: safe in threads
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, options.totalTimeoutMs);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);

    const CURLcode code = curl_easy_perform(h);
    if (code != CURLE_OK) {
        std::string description = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code);
        return Failure(Classify(code, transfer), std::move(description));
    }
    HttpResponse response;
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    response.body = std::move(transfer.body);
    return response;
}

}  // namespace plat
