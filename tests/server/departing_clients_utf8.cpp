// Clients that leave in the middle of a media download, against the real tunova-server process
// serving a clip larger than the socket buffers: 200 reset after the first bytes, 200 closed
// normally mid-body, 200 Range requests dropped at random points. After each batch the server
// is alive, answers a search, and holds no more than 10 MB beyond what it held before.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "raw_connection.h"
#include "support/companion_server.h"

namespace tunova::server::testing {
namespace {

// The resident memory of process `pid` in bytes, 0 when unknown.
std::int64_t ResidentBytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atoll(line.c_str() + 6) * 1024;
        }
    }
    return 0;
}

bool Alive(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, WNOHANG) == 0;
}

enum class Leaving { Reset, Close, DroppedRange };

TEST(DepartingClients, LeavingMidDownloadNeverHarmsTheServer) {
    // The server's freed memory goes back to its allocator at once (not into the address
    // sanitizer's quarantine), so its resident size says what it keeps.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asanBefore = asan != nullptr ? asan : "";
    ::setenv("ASAN_OPTIONS", (asanBefore + ":quarantine_size_mb=1").c_str(), 1);
    tunova::testing::CompanionServer server({1});
    ::setenv("ASAN_OPTIONS", asanBefore.c_str(), 1);
    ASSERT_TRUE(server.Running()) << server.Error();
    const int port = std::atoi(server.Host().substr(server.Host().find(':') + 1).c_str());
    const std::string request =
        "GET /media/" + server.FullSizeClipId() + " HTTP/1.1\r\nHost: x\r\n";

    // The clip's size, from one whole answer's head.
    RawConnection probe(port);
    probe.Send(request + "Range: bytes=0-0\r\n\r\n");
    const std::string head = probe.ReadAnswer(5000);
    const std::size_t total = head.find("/", head.find("Content-Range: bytes 0-0"));
    ASSERT_NE(total, std::string::npos) << head;
    const std::int64_t size = std::atoll(head.c_str() + total + 1);
    ASSERT_GT(size, 20'000'000);

    httplib::Client search("127.0.0.1", port);
    search.set_read_timeout(10);
    const auto searchAnswered = [&] {
        const auto result = search.Get(
            "/feeds/api/videos/-/Music?vq=tunovaclip&orderby=relevance&max-results=5"
            "&start-index=1");
        return result && result->status == 200 && result->body.find("Clip 1") != std::string::npos;
    };
    ASSERT_TRUE(searchAnswered());
    const std::int64_t before = ResidentBytes(server.Pid());

    std::mt19937_64 random(19);
    for (const Leaving leaving : {Leaving::Reset, Leaving::Close, Leaving::DroppedRange}) {
        for (int i = 0; i < 200; ++i) {
            RawConnection client(port);
            ASSERT_TRUE(client.connected());
            std::size_t keep = 100;
            if (leaving == Leaving::DroppedRange) {
                const std::int64_t from = static_cast<std::int64_t>(random() % size);
                client.Send(request + "Range: bytes=" + std::to_string(from) + "-\r\n\r\n");
                keep = 1 + random() % (1 << 20);
            } else {
                client.Send(request + "\r\n");
                keep = leaving == Leaving::Reset ? 100 : 256 * 1024;
            }
            EXPECT_FALSE(client.ReadAtLeast(keep, 5000).empty());
            client.Close(leaving == Leaving::Reset || (leaving == Leaving::DroppedRange && i % 2));
        }
        const int batch = static_cast<int>(leaving);
        ASSERT_TRUE(Alive(server.Pid())) << "batch " << batch;
        EXPECT_TRUE(searchAnswered()) << "batch " << batch;
        EXPECT_LT(ResidentBytes(server.Pid()) - before, 10 << 20) << "batch " << batch;
    }
}

}  // namespace
}  // namespace tunova::server::testing
