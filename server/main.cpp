// tunova-server: the companion feed, media, update, counter and web server of the player.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "server/catalogue.h"
#include "server/http_routes.h"
#include "server/http_server.h"
#include "server/idle_watch.h"
#include "server/live_library.h"
#include "server/play_counter.h"
#include "server/server_config.h"
#include "server/server_options.h"
#include "server/shutdown_signals.h"
#include "server/socket_activation.h"

using namespace tunova::server;

namespace {

// Room for every connection the caps allow (two descriptors each: the engine's socket and the
// duplicate its deadlines watch, and a third while a media file is sent), plus the catalogue's
// and the index's own files. Lowers the cap when the system will not give that many.
int RaiseDescriptorLimit(int maxConnections) {
    constexpr rlim_t kOwnFiles = 512;
    constexpr rlim_t kPerConnection = 3;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return maxConnections;
    }
    const rlim_t wanted = static_cast<rlim_t>(maxConnections) * kPerConnection + kOwnFiles;
    if (limit.rlim_cur < wanted) {
        limit.rlim_cur = std::min(wanted, limit.rlim_max);
        setrlimit(RLIMIT_NOFILE, &limit);
        getrlimit(RLIMIT_NOFILE, &limit);
    }
    if (limit.rlim_cur < wanted) {
        const int fitting = limit.rlim_cur > kOwnFiles * 2
                                ? static_cast<int>((limit.rlim_cur - kOwnFiles) / kPerConnection)
                                : static_cast<int>(limit.rlim_cur / 2 / kPerConnection);
        std::fprintf(stderr,
                     "tunova-server: %llu file descriptors allowed; at most %d connections\n",
                     static_cast<unsigned long long>(limit.rlim_cur), fitting);
        return fitting;
    }
    return maxConnections;
}

}  // namespace

int main(int argc, char** argv) {
    // A client that drops its connection while an answer is being written must cost that
    // connection only: the write fails with EPIPE instead of the signal ending the server.
    signal(SIGPIPE, SIG_IGN);
    // No options: the user's own server (the user service): its config file and videos folder.
    const bool userServer = argc == 1;
    const OptionsParse parse =
        userServer ? ReadServerConfig(ServerConfigPath())
                   : ParseServerOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse) {
        std::fprintf(stderr, "tunova-server: %s\n%s", parse.error.c_str(), UsageText().c_str());
        return 2;
    }
    ServerOptions options = parse.options;
    if (options.help) {
        std::printf("%s", UsageText().c_str());
        return 0;
    }
    if (userServer && !std::filesystem::is_directory(options.library)) {
        std::fprintf(stderr, "tunova-server: no folder %s; serving no library\n",
                     options.library.c_str());
        options.library.clear();
    }
    const InheritedSocket inherited = SystemdListenSocket();
    if (!inherited) {
        std::fprintf(stderr, "tunova-server: %s\n", inherited.error.c_str());
        return 1;
    }

    HttpServerOptions http;
    http.threads = options.threads;
    http.headDeadlineMs = options.headDeadlineMs;
    http.idleMs = options.idleMs;
    http.maxConnections = RaiseDescriptorLimit(options.maxConnections);
    http.maxConnectionsPerAddress = options.maxPerAddress;
    ServerContext context;
    // Socket-activated, the server ends once unused for a while; the socket starts it again.
    std::unique_ptr<IdleWatch> idleWatch;
    const HttpHandler routes = RouteRequests(context);
    HttpServer server(
        http,
        [&idleWatch, &routes](const HttpRequest& request, HttpResponse& response) {
            if (idleWatch) {
                idleWatch->Touch();
            }
            routes(request, response);
        },
        LogRequest);
    ShutdownSignals signals([&server](int signal) {
        std::fprintf(stderr, "tunova-server: signal %d, shutting down\n", signal);
        server.Stop();
    });

    std::string error;
    const std::string database =
        options.database.empty() ? DefaultDatabasePath() : options.database;
    const auto catalogue = Catalogue::Open(database, error);
    if (!catalogue) {
        std::fprintf(stderr, "tunova-server: cannot open catalogue %s\n", error.c_str());
        return 1;
    }
    FeedCache feedCache(static_cast<std::size_t>(options.cacheEntries), 60);
    // Scanned now; watched once the server listens.
    std::unique_ptr<LiveLibrary> library;
    if (!options.library.empty()) {
        LiveLibraryOptions live;
        live.root = options.library;
        live.cacheFolder =
            options.mediaCache.empty() ? DefaultMediaCachePath() : options.mediaCache;
        live.cacheLimitBytes = options.mediaCacheLimit;
        live.changed = [&feedCache] { feedCache.Clear(); };
        library = std::make_unique<LiveLibrary>(*catalogue, std::move(live));
        if (!library->Scan()) {
            return 1;
        }
    }
    if (options.ingestOnly) {
        if (library) {
            library->FinishCopies();
        }
        return 0;
    }
    // The search index is caught up now, not by the first request.
    if (!catalogue->RefreshSearchIndex(error)) {
        std::fprintf(stderr, "tunova-server: cannot index catalogue: %s\n", error.c_str());
        return 1;
    }

    context.catalogue = catalogue.get();
    context.libraryRoot = options.library;
    context.mediaCache = library ? library->CacheFolder() : std::string();
    context.playerVersion = options.playerVersion;
    context.feedCache = &feedCache;
    PlayCounterOptions counting;
    counting.write = [&catalogue](const std::map<std::string, std::int64_t>& plays) {
        std::string failure;
        if (!catalogue->AddPlays(plays, failure)) {
            std::fprintf(stderr, "tunova-server: cannot count plays: %s\n", failure.c_str());
            return false;
        }
        return true;
    };
    PlayCounter plays(std::move(counting));
    context.plays = &plays;

    const int port = inherited.fd >= 0 ? server.Adopt(inherited.fd, error)
                                       : server.Bind(options.host, options.port, error);
    if (port < 0) {
        std::fprintf(stderr, "tunova-server: cannot listen on %s:%d: %s\n", options.host.c_str(),
                     options.port, error.c_str());
        return 1;
    }
    if (inherited.fd >= 0 && options.idleExitMs > 0) {
        idleWatch = std::make_unique<IdleWatch>(
            options.idleExitMs, [&server] { return server.OpenConnections(); },
            [&server, idleMs = options.idleExitMs] {
                std::fprintf(stderr, "tunova-server: idle for %d ms, exiting\n", idleMs);
                server.Stop();
            });
    }
    if (library) {
        library->Watch();
    }
    if (!options.portFile.empty()) {
        std::ofstream(options.portFile) << port << "\n";
    }
    std::fprintf(stderr, "tunova-server: %lld videos, listening on %s%s:%d/\n",
                 static_cast<long long>(catalogue->VideoCount(error)),
                 inherited.fd >= 0 ? "the socket from systemd, http://" : "http://",
                 options.host.c_str(), port);
    const bool clean = server.Run();
    idleWatch.reset();
    library.reset();
    std::fprintf(stderr, "tunova-server: stopped\n");
    return clean ? 0 : 1;
}
