// The server's HTTP surface: feeds, media, update, counter and vendor pages, plus one log line
// per request. Malformed parameters answer 400 with a short reason; unknown paths 404.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "server/catalogue.h"
#include "server/feed_cache.h"
#include "server/http_server.h"
#include "server/play_counter.h"

namespace tunova::server {

struct ServerContext {
    Catalogue* catalogue = nullptr;     // required
    std::string libraryRoot;            // media folder; empty serves no media
    std::string mediaCache;             // folder of playable copies (MediaConverter)
    std::string playerVersion = "1";    // answer of /update/player_ver.php
    std::function<std::int64_t()> now;  // seconds since the epoch; the system clock if empty
    FeedCache* feedCache = nullptr;     // rendered feeds kept for a while; null for none
    PlayCounter* plays = nullptr;       // counts media requests from the first byte; null: none
};

// The handler of every route: feeds, media, update, counter and vendor pages; 404 for other
// paths, 405 for methods other than GET and HEAD. `context` must outlive the handler.
HttpHandler RouteRequests(const ServerContext& context);

// One line per request on stderr: client, method, target (cut, control bytes masked), status,
// body bytes and milliseconds.
void LogRequest(const HttpRequest& request, const HttpResponse& response, double milliseconds);

// The host for links in answers: the request's Host header when it is a plausible host[:port],
// else the address and port the request came in on.
std::string LinkHost(const HttpRequest& request);

}  // namespace tunova::server
