// tunova-server: the companion feed, media, update, counter and web server of the player.
#include <httplib.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "server/catalogue.h"
#include "server/http_routes.h"
#include "server/library_ingest.h"
#include "server/server_options.h"
#include "server/shutdown_signals.h"

using namespace tunova::server;

namespace {

bool IngestInto(Catalogue& catalogue, const std::string& library) {
    const IngestReport report = IngestLibrary(catalogue, library, ProbeWithFfprobe);
    for (const std::string& warning : report.warnings) {
        std::fprintf(stderr, "library: %s\n", warning.c_str());
    }
    if (!report) {
        std::fprintf(stderr, "library: %s\n", report.error.c_str());
        return false;
    }
    std::fprintf(stderr, "library %s: %d added, %d updated, %d unchanged, %d removed, %d skipped\n",
                 library.c_str(), report.added, report.updated, report.unchanged, report.removed,
                 report.skipped);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const OptionsParse parse = ParseServerOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse) {
        std::fprintf(stderr, "tunova-server: %s\n%s", parse.error.c_str(), UsageText().c_str());
        return 2;
    }
    const ServerOptions& options = parse.options;
    if (options.help) {
        std::printf("%s", UsageText().c_str());
        return 0;
    }

    httplib::Server server;
    ShutdownSignals signals([&server](int signal) {
        std::fprintf(stderr, "tunova-server: signal %d, shutting down\n", signal);
        server.stop();
    });

    std::string error;
    const std::string database =
        options.database.empty() ? DefaultDatabasePath() : options.database;
    const auto catalogue = Catalogue::Open(database, error);
    if (!catalogue) {
        std::fprintf(stderr, "tunova-server: cannot open catalogue %s\n", error.c_str());
        return 1;
    }
    if (!options.library.empty() && !IngestInto(*catalogue, options.library)) {
        return 1;
    }
    if (options.ingestOnly) {
        return 0;
    }
    // The search index is built now, not by the first request.
    if (!catalogue->RefreshSearchIndex(error)) {
        std::fprintf(stderr, "tunova-server: cannot index catalogue: %s\n", error.c_str());
        return 1;
    }

    ServerContext context;
    context.catalogue = catalogue.get();
    context.libraryRoot = options.library;
    context.playerVersion = options.playerVersion;
    FeedCache feedCache(static_cast<std::size_t>(options.cacheEntries), 60);
    context.feedCache = &feedCache;
    const int threads = options.threads;
    server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    InstallRoutes(server, context);

    int port = options.port;
    if (port == 0) {
        port = server.bind_to_any_port(options.host);
    } else if (!server.bind_to_port(options.host, port)) {
        port = -1;
    }
    if (port < 0) {
        std::fprintf(stderr, "tunova-server: cannot listen on %s:%d\n", options.host.c_str(),
                     options.port);
        return 1;
    }
    if (!options.portFile.empty()) {
        std::ofstream(options.portFile) << port << "\n";
    }
    std::fprintf(stderr, "tunova-server: %lld videos, listening on http://%s:%d/\n",
                 static_cast<long long>(catalogue->VideoCount(error)), options.host.c_str(), port);
    const bool clean = server.listen_after_bind();
    std::fprintf(stderr, "tunova-server: stopped\n");
    return clean ? 0 : 1;
}
