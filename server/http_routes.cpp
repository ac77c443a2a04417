#include "server/http_routes.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "server/atom_feed.h"
#include "server/byte_ranges.h"
#include "server/feed_query.h"
#include "server/media_file.h"
#include "server/web_pages.h"

namespace tunova::server {

namespace {

constexpr const char* kText = "text/plain; charset=UTF-8";
constexpr const char* kHtml = "text/html; charset=UTF-8";
constexpr const char* kAtom = "application/atom+xml; charset=UTF-8";
constexpr std::string_view kMediaPrefix = "/media/";

std::int64_t Now(const ServerContext& context) {
    if (context.now) {
        return context.now();
    }
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void Refuse(HttpResponse& response, int status, const std::string& reason) {
    response.status = status;
    response.SetContent(reason + "\n", kText);
}

// The first value of query parameter `name`, and how many times it was given.
std::string Parameter(const std::vector<std::pair<std::string, std::string>>& parameters,
                      std::string_view name, int* count = nullptr) {
    std::string value;
    int seen = 0;
    for (const auto& [key, text] : parameters) {
        if (key == name && seen++ == 0) {
            value = text;
        }
    }
    if (count != nullptr) {
        *count = seen;
    }
    return value;
}

void ServeFeed(const ServerContext& context, const HttpRequest& request, HttpResponse& response) {
    const FeedQueryParse parse = ParseFeedQuery(request.query);
    if (!parse) {
        Refuse(response, 400, parse.error);
        return;
    }
    const std::int64_t now = Now(context);
    const std::string host = LinkHost(request);
    const std::string cacheKey = host + '\n' + request.query;
    if (context.feedCache != nullptr) {
        if (auto cached = context.feedCache->Find(cacheKey, now)) {
            response.SetContent(std::move(*cached), kAtom);
            return;
        }
    }
    const std::uint64_t generation =
        context.feedCache != nullptr ? context.feedCache->Generation() : 0;
    std::string error;
    const auto page = context.catalogue->Search(parse.query, now, error);
    if (!page) {
        std::fprintf(stderr, "catalogue error: %s\n", error.c_str());
        Refuse(response, 500, "catalogue unavailable");
        return;
    }
    std::string body = RenderFeed(*page, parse.query, host, now);
    if (context.feedCache != nullptr) {
        context.feedCache->Store(cacheKey, body, now, generation);
    }
    response.SetContent(std::move(body), kAtom);
}

// Answers with the file's bytes: the whole file, or one satisfiable range (206). Several
// ranges get the whole file (allowed by RFC 9110); an unsatisfiable or unreadable one 416.
void ServeMedia(const ServerContext& context, const HttpRequest& request, HttpResponse& response) {
    const auto id = MediaIdFromPath(std::string_view(request.path).substr(kMediaPrefix.size()));
    if (!id) {
        Refuse(response, 400, "bad video id");
        return;
    }
    std::string error;
    const auto source =
        context.libraryRoot.empty() ? std::nullopt : context.catalogue->Media(*id, error);
    // A video with a playable copy is served from the copy, which is complete once listed.
    const bool copy = source && !source->mediaCopy.empty();
    const std::string& name = !source ? std::string() : copy ? source->mediaCopy : source->path;
    const auto file = !source ? std::nullopt
                      : copy  ? ResolveLibraryFile(context.mediaCache, name)
                              : ResolveLibraryFile(context.libraryRoot, name);
    if (!file) {
        Refuse(response, 404, "no such video");
        return;
    }
    const ByteSpan span =
        ChooseByteSpan(request.HasHeader("Range"), request.Header("Range"), file->size);
    if (span.kind == ByteSpan::Kind::Unsatisfiable) {
        response.SetHeader("Content-Range", "bytes */" + std::to_string(file->size));
        Refuse(response, 416, "range not satisfiable");
        return;
    }
    const bool partial = span.kind == ByteSpan::Kind::Partial;
    const std::int64_t offset = span.offset;
    const std::int64_t length = span.length;
    const int descriptor = open(file->absolutePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        Refuse(response, 404, "no such video");
        return;
    }
    response.file = std::make_unique<FileBody>();
    response.file->descriptor = std::shared_ptr<int>(new int(descriptor), [](int* fd) {
        close(*fd);
        delete fd;
    });
    response.file->offset = offset;
    response.file->length = length;
    response.SetHeader("Content-Type", MediaContentType(name));
    // A download from the first byte is a play; a seek or a resumed download is not.
    if (context.plays != nullptr && request.method == "GET" && offset == 0) {
        context.plays->Note(request.remoteAddress, *id, Now(context));
    }
    response.SetHeader("Accept-Ranges", "bytes");
    if (partial) {
        response.status = 206;
        response.SetHeader("Content-Range", "bytes " + std::to_string(offset) + "-" +
                                                std::to_string(offset + length - 1) + "/" +
                                                std::to_string(file->size));
    }
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

void ServeCounter(const ServerContext& context, const HttpRequest& request,
                  HttpResponse& response) {
    const auto parameters = QueryParameters(request.query);
    for (const auto& parameter : parameters) {
        if (parameter.first != "in_pcode" && parameter.first != "in_pid" &&
            parameter.first != "in_kind" && parameter.first != "in_mac") {
            Refuse(response, 400, "unknown parameter");
            return;
        }
        int count = 0;
        Parameter(parameters, parameter.first, &count);
        if (count != 1) {
            Refuse(response, 400, "repeated parameter");
            return;
        }
    }
    int pids = 0;
    int macs = 0;
    CounterHit hit;
    hit.pcode = Parameter(parameters, "in_pcode");
    hit.pid = Parameter(parameters, "in_pid", &pids);
    hit.kind = Parameter(parameters, "in_kind");
    hit.mac = Parameter(parameters, "in_mac", &macs);
    hit.remote = request.remoteAddress;
    hit.received = Now(context);
    if (!IsDigits(hit.pcode, 8) || !IsDigits(hit.kind, 8)) {
        Refuse(response, 400, "in_pcode and in_kind must be numbers");
        return;
    }
    if (pids == 0 || hit.pid.size() > 259) {
        Refuse(response, 400, "in_pid missing or too long");
        return;
    }
    if (macs == 0 || !IsMacText(hit.mac)) {
        Refuse(response, 400, "in_mac missing or malformed");
        return;
    }
    std::string error;
    if (!context.catalogue->RecordCounterHit(hit, error)) {
        std::fprintf(stderr, "counter error: %s\n", error.c_str());
        Refuse(response, 500, "counter unavailable");
        return;
    }
    response.SetContent("ok\n", kText);
}

void ServeBoard(const HttpRequest& request, HttpResponse& response) {
    if (Parameter(QueryParameters(request.query), "bo_table") != "freeboard") {
        Refuse(response, 404, "no such board");
        return;
    }
    response.SetContent(FreeBoardPage(), kHtml);
}

void ServeWatch(const HttpRequest& request, HttpResponse& response) {
    const auto id = MediaIdFromPath(Parameter(QueryParameters(request.query), "v"));
    if (!id) {
        Refuse(response, 400, "bad video id");
        return;
    }
    response.SetContent(WatchPage(*id), kHtml);
}

void Route(const ServerContext& context, const HttpRequest& request, HttpResponse& response) {
    if (request.method != "GET" && request.method != "HEAD") {
        response.SetHeader("Allow", "GET, HEAD");
        Refuse(response, 405, "only GET and HEAD");
        return;
    }
    const std::string& path = request.path;
    if (path == "/feeds/api/videos/-/Music") {
        ServeFeed(context, request, response);
    } else if (path.starts_with(kMediaPrefix)) {
        ServeMedia(context, request, response);
    } else if (path == "/update/update_tunova.php") {
        response.SetContent("ok\n", kText);
    } else if (path == "/update/player_ver.php") {
        response.SetContent(context.playerVersion, kText);
    } else if (path == "/web/counter/insert.php") {
        ServeCounter(context, request, response);
    } else if (path == "/web/bbs/board.php") {
        ServeBoard(request, response);
    } else if (path == "/watch") {
        ServeWatch(request, response);
    } else if (path == "/") {
        response.SetContent(HomePage(context.playerVersion), kHtml);
    } else {
        Refuse(response, 404, "not found");
    }
}

}  // namespace

std::string LinkHost(const HttpRequest& request) {
    const std::string host = request.Header("Host");
    const bool plausible =
        !host.empty() && host.size() <= 255 &&
        host.find_first_not_of(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:[]") ==
            std::string::npos;
    if (plausible) {
        return host;
    }
    const bool v6 = request.localAddress.find(':') != std::string::npos;
    return (v6 ? "[" + request.localAddress + "]" : request.localAddress) + ":" +
           std::to_string(request.localPort);
}

HttpHandler RouteRequests(const ServerContext& context) {
    const ServerContext* shared = &context;
    return [shared](const HttpRequest& request, HttpResponse& response) {
        Route(*shared, request, response);
    };
}

void LogRequest(const HttpRequest& request, const HttpResponse& response, double milliseconds) {
    // The target is cut and control bytes masked so a hostile request cannot forge log lines.
    std::string target = request.target.substr(0, 300);
    for (char& c : target) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    std::fprintf(stderr, "%s %s %s %d %lld %.1fms\n", request.remoteAddress.c_str(),
                 request.method.c_str(), target.c_str(), response.status,
                 static_cast<long long>(response.BodyLength()), milliseconds);
}

}  // namespace tunova::server
