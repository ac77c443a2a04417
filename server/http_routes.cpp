#include "server/http_routes.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "server/atom_feed.h"
#include "server/feed_query.h"
#include "server/media_file.h"
#include "server/web_pages.h"

namespace tunova::server {

namespace {

constexpr const char* kText = "text/plain; charset=UTF-8";
constexpr const char* kHtml = "text/html; charset=UTF-8";
constexpr const char* kAtom = "application/atom+xml; charset=UTF-8";
constexpr std::size_t kMediaChunk = 64 * 1024;

thread_local std::chrono::steady_clock::time_point requestStart;

std::int64_t Now(const ServerContext& context) {
    if (context.now) {
        return context.now();
    }
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void Refuse(httplib::Response& response, int status, const std::string& reason) {
    response.status = status;
    response.set_content(reason + "\n", kText);
}

std::string RawQuery(const httplib::Request& request) {
    const std::size_t mark = request.target.find('?');
    return mark == std::string::npos ? std::string() : request.target.substr(mark + 1);
}

void ServeFeed(const ServerContext& context, const httplib::Request& request,
               httplib::Response& response) {
    const FeedQueryParse parse = ParseFeedQuery(RawQuery(request));
    if (!parse) {
        Refuse(response, 400, parse.error);
        return;
    }
    const std::int64_t now = Now(context);
    const std::string host = LinkHost(request);
    const std::string cacheKey = host + '\n' + RawQuery(request);
    if (context.feedCache != nullptr) {
        if (auto cached = context.feedCache->Find(cacheKey, now)) {
            response.set_content(std::move(*cached), kAtom);
            return;
        }
    }
    std::string error;
    const auto page = context.catalogue->Search(parse.query, now, error);
    if (!page) {
        std::fprintf(stderr, "catalogue error: %s\n", error.c_str());
        Refuse(response, 500, "catalogue unavailable");
        return;
    }
    std::string body = RenderFeed(*page, parse.query, host, now);
    if (context.feedCache != nullptr) {
        context.feedCache->Store(cacheKey, body, now);
    }
    response.set_content(std::move(body), kAtom);
}

// True when the single requested range lies (at least partly) within a file of `size` bytes.
bool RangeSatisfiable(const httplib::Range& range, std::int64_t size) {
    const auto [first, last] = range;
    return first < 0 ? last > 0 : (first < size && (last < 0 || last >= first));
}

// Answers with the file's bytes; the HTTP library cuts Range requests (206) and HEAD from it.
void ServeMedia(const ServerContext& context, const httplib::Request& request,
                httplib::Response& response) {
    const auto id = MediaIdFromPath(request.matches[1].str());
    if (!id) {
        Refuse(response, 400, "bad video id");
        return;
    }
    std::string error;
    const auto path =
        context.libraryRoot.empty() ? std::nullopt : context.catalogue->MediaPath(*id, error);
    const auto file = path ? ResolveLibraryFile(context.libraryRoot, *path) : std::nullopt;
    if (!file) {
        Refuse(response, 404, "no such video");
        return;
    }
    const int descriptor = open(file->absolutePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        Refuse(response, 404, "no such video");
        return;
    }
    auto owned = std::shared_ptr<int>(new int(descriptor), [](int* fd) {
        close(*fd);
        delete fd;
    });
    response.set_header("Accept-Ranges", "bytes");
    // The HTTP library cuts a single satisfiable range itself. It would also cut the range out
    // of a refusal and mis-sizes multipart answers, so for those the parsed ranges are dropped
    // from the request (it is ours for the rest of this call): several ranges get the whole
    // file (allowed by RFC 9110), an unsatisfiable one a bare 416.
    auto& ranges = const_cast<httplib::Ranges&>(request.ranges);
    if (ranges.size() > 1) {
        ranges.clear();
    } else if (ranges.size() == 1 && !RangeSatisfiable(ranges.front(), file->size)) {
        ranges.clear();
        response.set_header("Content-Range", "bytes */" + std::to_string(file->size));
        Refuse(response, 416, "range not satisfiable");
        return;
    }
    response.set_content_provider(
        static_cast<std::size_t>(file->size), std::string(MediaContentType(*path)),
        [owned](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            char buffer[kMediaChunk];
            const std::size_t want = length < kMediaChunk ? length : kMediaChunk;
            const ssize_t got = pread(*owned, buffer, want, static_cast<off_t>(offset));
            if (got <= 0) {
                return false;
            }
            return sink.write(buffer, static_cast<std::size_t>(got));
        });
}

bool IsDigits(const std::string& text, std::size_t limit) {
    if (text.empty() || text.size() > limit) {
        return false;
    }
    return text.find_first_not_of("0123456789") == std::string::npos;
}

bool IsMacText(const std::string& text) {
    return text.size() <= 17 &&
           text.find_first_not_of("0123456789ABCDEFabcdef-:") == std::string::npos;
}

void ServeCounter(const ServerContext& context, const httplib::Request& request,
                  httplib::Response& response) {
    for (const auto& param : request.params) {
        if (param.first != "in_pcode" && param.first != "in_pid" && param.first != "in_kind" &&
            param.first != "in_mac") {
            Refuse(response, 400, "unknown parameter");
            return;
        }
        if (request.get_param_value_count(param.first) != 1) {
            Refuse(response, 400, "repeated parameter");
            return;
        }
    }
    CounterHit hit;
    hit.pcode = request.get_param_value("in_pcode");
    hit.pid = request.get_param_value("in_pid");
    hit.kind = request.get_param_value("in_kind");
    hit.mac = request.get_param_value("in_mac");
    hit.remote = request.remote_addr;
    hit.received = Now(context);
    if (!IsDigits(hit.pcode, 8) || !IsDigits(hit.kind, 8)) {
        Refuse(response, 400, "in_pcode and in_kind must be numbers");
        return;
    }
    if (!request.has_param("in_pid") || hit.pid.size() > 259) {
        Refuse(response, 400, "in_pid missing or too long");
        return;
    }
    if (!request.has_param("in_mac") || !IsMacText(hit.mac)) {
        Refuse(response, 400, "in_mac missing or malformed");
        return;
    }
    std::string error;
    if (!context.catalogue->RecordCounterHit(hit, error)) {
        std::fprintf(stderr, "counter error: %s\n", error.c_str());
        Refuse(response, 500, "counter unavailable");
        return;
    }
    response.set_content("ok\n", kText);
}

void ServeBoard(const httplib::Request& request, httplib::Response& response) {
    if (request.get_param_value("bo_table") != "freeboard") {
        Refuse(response, 404, "no such board");
        return;
    }
    response.set_content(FreeBoardPage(), kHtml);
}

void ServeWatch(const httplib::Request& request, httplib::Response& response) {
    const auto id = MediaIdFromPath(request.get_param_value("v"));
    if (!id) {
        Refuse(response, 400, "bad video id");
        return;
    }
    response.set_content(WatchPage(*id), kHtml);
}

void LogRequest(const httplib::Request& request, const httplib::Response& response) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - requestStart)
                             .count();
    // The target is cut and control bytes masked so a hostile request cannot forge log lines.
    std::string target = request.target.substr(0, 300);
    for (char& c : target) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    std::fprintf(stderr, "%s %s %s %d %zu %.1fms\n", request.remote_addr.c_str(),
                 request.method.c_str(), target.c_str(), response.status, response.body.size(),
                 static_cast<double>(elapsed) / 1000.0);
}

}  // namespace

std::string LinkHost(const httplib::Request& request) {
    const std::string host = request.get_header_value("Host");
    const bool plausible =
        !host.empty() && host.size() <= 255 &&
        host.find_first_not_of(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:[]") ==
            std::string::npos;
    if (plausible) {
        return host;
    }
    const bool v6 = request.local_addr.find(':') != std::string::npos;
    return (v6 ? "[" + request.local_addr + "]" : request.local_addr) + ":" +
           std::to_string(request.local_port);
}

void InstallRoutes(httplib::Server& server, const ServerContext& context) {
    const ServerContext* shared = &context;
    server.set_payload_max_length(64 * 1024);
    server.set_keep_alive_max_count(10000);
    // Headers and body go out in separate writes; without this, Nagle's algorithm holds the
    // body back until the client's delayed acknowledgement, some 40 ms a response.
    server.set_tcp_nodelay(true);
    server.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        requestStart = std::chrono::steady_clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get("/feeds/api/videos/-/Music",
               [shared](const httplib::Request& request, httplib::Response& response) {
                   ServeFeed(*shared, request, response);
               });
    server.Get("/media/(.*)",
               [shared](const httplib::Request& request, httplib::Response& response) {
                   ServeMedia(*shared, request, response);
               });
    server.Get("/update/update_tunova.php",
               [](const httplib::Request&, httplib::Response& response) {
                   response.set_content("ok\n", kText);
               });
    server.Get("/update/player_ver.php",
               [shared](const httplib::Request&, httplib::Response& response) {
                   response.set_content(shared->playerVersion, kText);
               });
    server.Get("/web/counter/insert.php",
               [shared](const httplib::Request& request, httplib::Response& response) {
                   ServeCounter(*shared, request, response);
               });
    server.Get("/web/bbs/board.php", ServeBoard);
    server.Get("/watch", ServeWatch);
    server.Get("/", [shared](const httplib::Request&, httplib::Response& response) {
        response.set_content(HomePage(shared->playerVersion), kHtml);
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) {
            response.set_content(response.status == 404 ? "not found\n" : "error\n", kText);
        }
    });
    if (context.logRequests) {
        server.set_logger(LogRequest);
    }
}

}  // namespace tunova::server
