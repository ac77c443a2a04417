#include "server_fixture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "server/library_ingest.h"

namespace tunova::server::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tunova-server-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder";
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<DemoVideo> DemoCatalogue() {
    static const char* kLanguages[] = {"ko", "en", "ja", "zh"};
    constexpr std::int64_t kHour = 3600;
    std::vector<DemoVideo> videos;
    for (int i = 0; i < 64; ++i) {
        DemoVideo video;
        video.file = "melody/clip-" + std::to_string(i) + ".webm";
        video.title = "Song number " + std::to_string(i);
        video.description = "A melody for test " + std::to_string(i);
        video.language = kLanguages[i % 4];
        video.rating = 1.0 + (i * 7 % 40) / 10.0;
        video.seconds = 60 + i;
        video.published = kNow - i * 12 * kHour - kHour;
        videos.push_back(video);
    }
    videos.push_back({"first-love.webm", U8(u8"첫사랑을 찾아서"), U8(u8"봄날의 이야기"), "ko", 4.9,
                      3725, kNow - 48 * kHour});
    videos.push_back(
        {"love-song.webm", U8(u8"사랑의 노래"), "", "ko", 2.5, 59, kNow - 400 * 24 * kHour});
    videos.push_back({"rock.webm", "Rock & Roll <Live> 'n' \"Quotes\"", "a < b && c > d", "en", 3.5,
                      200, kNow - 5 * 24 * kHour});
    videos.push_back({"sakura.webm", U8(u8"\xE6\xA1\x9C\xE3\x81\xAE\xE5\xAD\xA3\xE7\xAF\x80"),
                      U8(u8"\xE6\x98\xA5\xE3\x81\xAE\xE6\xAD\x8C"), "ja", 4.0, 240,
                      kNow - 3 * 24 * kHour});
    return videos;
}

void WriteLibrary(const fs::path& library, const std::vector<DemoVideo>& videos) {
    std::string sidecar = "file\ttitle\tdescription\tlanguage\trating\tseconds\tpublished\n";
    for (std::size_t i = 0; i < videos.size(); ++i) {
        const DemoVideo& video = videos[i];
        std::string bytes(1000, '\0');
        for (std::size_t b = 0; b < bytes.size(); ++b) {
            bytes[b] = static_cast<char>((b + i) % 251);
        }
        WriteFile(library / video.file, bytes);
        const std::time_t published = static_cast<std::time_t>(video.published);
        std::tm parts{};
        gmtime_r(&published, &parts);
        char date[32];
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%SZ", &parts);
        char rating[16];
        std::snprintf(rating, sizeof rating, "%.1f", video.rating);
        sidecar += video.file + "\t" + video.title + "\t" + video.description + "\t" +
                   video.language + "\t" + rating + "\t" + std::to_string(video.seconds) + "\t" +
                   date + "\n";
    }
    WriteFile(library / "metadata.tsv", sidecar);
}

TestServer::TestServer(const std::vector<DemoVideo>& videos, const HttpServerOptions& options)
    : library_(folder_.path() / "library"),
      database_(folder_.path() / "catalogue.sqlite"),
      plays_({.write =
                  [this](const std::map<std::string, std::int64_t>& plays) {
                      std::string error;
                      EXPECT_TRUE(catalogue_->AddPlays(plays, error)) << error;
                      return true;
                  },
              .flushEveryMs = 0}),
      server_(options, RouteRequests(context_)) {
    WriteLibrary(library_, videos);
    std::string error;
    catalogue_ = Catalogue::Open(database_.string(), error,
                                 {.indexFolder = "", .log = [](const std::string&) {}});
    if (!catalogue_) {
        ADD_FAILURE() << error;
        return;
    }
    const IngestReport report =
        IngestLibrary(*catalogue_, library_.string(), [](const std::string& path) {
            ProbeResult failed;
            failed.error = "no prober in tests: " + path;
            return failed;
        });
    EXPECT_TRUE(report) << report.error;
    context_.catalogue = catalogue_.get();
    context_.libraryRoot = library_.string();
    context_.playerVersion = "7";
    context_.now = [this] { return now_.load(); };
    context_.plays = &plays_;
    port_ = server_.Bind("127.0.0.1", 0, error);
    if (port_ <= 0) {
        ADD_FAILURE() << error;
        return;
    }
    thread_ = std::thread([this] { server_.Run(); });
    for (int attempt = 0; attempt < 5000 && !server_.IsRunning(); ++attempt) {  // at most 5 s
        usleep(1000);
    }
}

TestServer::~TestServer() {
    server_.Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

httplib::Client TestServer::Client() const {
    httplib::Client client("127.0.0.1", port_);
    client.set_connection_timeout(5);
    client.set_read_timeout(5);
    return client;
}

}  // namespace tunova::server::testing
