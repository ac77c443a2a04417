// A companion server on an ephemeral loopback port, serving a generated catalogue from a
// temporary library folder. Used by the HTTP tests of the server.
#pragma once

#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/player_words.h"
#include "server/catalogue.h"
#include "server/http_routes.h"
#include "server/http_server.h"
#include "server/play_counter.h"

namespace tunova::server::testing {

// Korean and other UTF-8 text written as u8"" literals (narrow literals here are CP949).
inline std::string U8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

// 2026-12-07 12:00:00 UTC: the fixed "now" of every server test.
inline constexpr std::int64_t kNow = 1796644800;

// A fresh temporary folder, removed with everything in it on destruction.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// One row of the generated sidecar.
struct DemoVideo {
    std::string file, title, description, language;
    double rating = 3;
    int seconds = 60;
    std::int64_t published = kNow;
};

// The test catalogue: 64 videos whose descriptions hold "melody" (languages ko, en, ja, zh in
// turn; video i published i*12 hours + 1 hour before kNow, so 2 fall within today, 14 within
// the week, 60 within the month) and four others: "첫사랑을 찾아서" (ko, 2 days old),
// "사랑의 노래" (ko, 400 days old), "Rock & Roll <Live> 'n' \"Quotes\"" (en) and "桜の季節" (ja).
std::vector<DemoVideo> DemoCatalogue();

// Writes `videos` as media files (small byte patterns) plus metadata.tsv into `library`.
void WriteLibrary(const std::filesystem::path& library, const std::vector<DemoVideo>& videos);

// Ingests a library folder into a fresh catalogue and serves it on 127.0.0.1, port 0.
class TestServer {
  public:
    // Builds the demo library in a temporary folder unless `videos` is given; `options` are the
    // HTTP layer's limits.
    explicit TestServer(const std::vector<DemoVideo>& videos = DemoCatalogue(),
                        const HttpServerOptions& options = {});
    ~TestServer();

    httplib::Client Client() const;
    int port() const { return port_; }
    const std::filesystem::path& library() const { return library_; }
    const std::filesystem::path& database() const { return database_; }
    Catalogue& catalogue() { return *catalogue_; }
    // Connections the server has admitted under its caps and not yet closed.
    int OpenConnections() const { return server_.OpenConnections(); }
    // The server's clock (kNow to begin with).
    void SetNow(std::int64_t now) { now_ = now; }
    // Writes the plays counted so far into the catalogue (the server itself does it every few
    // seconds).
    void FlushPlays() { plays_.Flush(); }

  private:
    TempFolder folder_;
    std::filesystem::path library_;
    std::filesystem::path database_;
    std::unique_ptr<Catalogue> catalogue_;
    std::atomic<std::int64_t> now_{kNow};
    PlayCounter plays_;
    ServerContext context_;
    HttpServer server_;
    std::thread thread_;
    int port_ = -1;
};

// The path and query of a feed request, e.g. FeedPath("vq=a&orderby=relevance").
inline std::string FeedPath(const std::string& query) {
    return "/feeds/api/videos/-/Music?" + query;
}

using support::PlayerEncoded;

}  // namespace tunova::server::testing
