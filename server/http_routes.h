// The server's HTTP surface: feeds, media, update, counter and vendor pages, plus one log line
// per request. Malformed parameters answer 400 with a short reason; unknown paths 404.
#pragma once

#include <httplib.h>

#include <cstdint>
#include <functional>
#include <string>

#include "server/catalogue.h"
#include "server/feed_cache.h"

namespace tunova::server {

struct ServerContext {
    Catalogue* catalogue = nullptr;     // required
    std::string libraryRoot;            // media folder; empty serves no media
    std::string playerVersion = "1";    // answer of /update/player_ver.php
    std::function<std::int64_t()> now;  // seconds since the epoch; the system clock if empty
    bool logRequests = true;            // one line per request to stderr
    FeedCache* feedCache = nullptr;     // rendered feeds kept for a while; null for none
};

// Registers every route, the 404 page, limits and the request log on `server`. `context` must
// outlive the server.
void InstallRoutes(httplib::Server& server, const ServerContext& context);

// The host for links in answers: the request's Host header when it is a plausible host[:port],
// else the address and port the request came in on.
std::string LinkHost(const httplib::Request& request);

}  // namespace tunova::server
