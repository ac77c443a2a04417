// Retrieval against a real HTTP server on loopback: answers of any status, the agent, broken
// and slow answers, the size limit, and the UTF-8 to CP949 conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "platform/core/http.h"
#include "platform/core/log.h"
#include "search/feed_fetch.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_machine.h"

namespace tunova {
namespace {

using testing::LoopbackServer;
using testing::ServerReply;
using testing::ServerRequest;
using testing::Stopwatch;
using testing::Utf8;

TEST(FeedFetch, SendsThePathVerbatimWithTheAgentAndConvertsToCp949) {
    LoopbackServer server;
    server.Serve(Utf8(u8"<t>가요 &amp; \u00e9\U0001F600</t>"));
    const std::string text =
        FetchFeed(testing::TestMachine(), server.Host(),
                  "feeds/api/videos/-/Music?vq=a+b&c=%EA%B0%80&orderby=relevance");
    EXPECT_EQ(text,
              "<t>가요 &amp; ??"
              "</t>");  // é and the emoji have no CP949 form
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].target,
              "/feeds/api/videos/-/Music?vq=a+b&c=%EA%B0%80&orderby=relevance");
    EXPECT_EQ(server.Requests()[0].userAgent, "youtube");
}

TEST(FeedFetch, AnErrorStatusIsStillAnAnswer) {
    LoopbackServer server;
    server.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kAnswer, 500,
                           "<html><body>Internal error</body></html>", "text/html"};
    });
    const plat::HttpResponse response = plat::HttpGet(server.Host(), "/x");
    ASSERT_TRUE(response);
    EXPECT_EQ(response.status, 500);
    EXPECT_EQ(FetchFeed(testing::TestMachine(), server.Host(), "x"),
              "<html><body>Internal error</body></html>");
}

TEST(FeedFetch, FailuresYieldTheErrorText) {
    LoopbackServer server;
    // Nothing listens on the port of a server that has gone.
    std::string goneHost;
    {
        LoopbackServer gone;
        goneHost = gone.Host();
    }
    EXPECT_EQ(FetchFeed(testing::TestMachine(), goneHost, "x"), "error");
    EXPECT_EQ(plat::HttpGet(goneHost, "x").error, plat::HttpError::kConnect);
    EXPECT_EQ(FetchFeed(testing::TestMachine(), "", "x"), "error");
    EXPECT_EQ(plat::HttpGet("user@" + server.Host(), "x").error, plat::HttpError::kBadRequest);
    EXPECT_EQ(plat::HttpGet(server.Host() + "/other", "x").error, plat::HttpError::kBadRequest);
    EXPECT_EQ(plat::HttpGet(server.Host(), "a b").error, plat::HttpError::kBadRequest);
    EXPECT_EQ(plat::HttpGet(server.Host(), "a\r\nX-Injected: 1").error,
              plat::HttpError::kBadRequest);
    EXPECT_TRUE(server.Requests().empty());  // refused before anything was sent
}

// Runs `body` with TUNOVA_LOG set to `level` and returns what it wrote to standard error.
template <typename Body>
std::string StderrWithLog(const char* level, Body body) {
    ::setenv("TUNOVA_LOG", level, 1);
    plat::ReloadLogSettings();
    ::testing::internal::CaptureStderr();
    body();
    std::string written = ::testing::internal::GetCapturedStderr();
    ::unsetenv("TUNOVA_LOG");
    plat::ReloadLogSettings();
    return written;
}

TEST(FeedFetch, TheLogSaysWhyAFetchFailedWhileCallersStillGetTheErrorText) {
    std::string goneHost;
    {
        LoopbackServer gone;
        goneHost = gone.Host();
    }
    std::string text;
    const std::string quiet =
        StderrWithLog("", [&] { text = FetchFeed(testing::TestMachine(), goneHost, "feeds/x"); });
    EXPECT_EQ(text, "error");
    EXPECT_EQ(quiet, "") << "quiet unless TUNOVA_LOG asks";

    const std::string refused = StderrWithLog(
        "error", [&] { text = FetchFeed(testing::TestMachine(), goneHost, "feeds/x"); });
    EXPECT_EQ(text, "error");
    EXPECT_TRUE(refused.starts_with("tunova error fetch: GET " + goneHost + "/feeds/x failed: "))
        << refused;
    EXPECT_NE(refused.find("onnect"), std::string::npos) << "curl's reason: " << refused;
    EXPECT_EQ(std::count(refused.begin(), refused.end(), '\n'), 1) << refused;

    LoopbackServer server;
    server.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kAnswer, 503, "busy", "text/plain"};
    });
    const std::string busy =
        StderrWithLog("info", [&] { FetchFeed(testing::TestMachine(), server.Host(), "/y"); });
    EXPECT_EQ(busy, "tunova error fetch: GET " + server.Host() + "/y failed: HTTP status 503\n");
    server.Serve("<feed/>");
    EXPECT_EQ(
        StderrWithLog("info", [&] { FetchFeed(testing::TestMachine(), server.Host(), "/y"); }), "");
    EXPECT_EQ(
        StderrWithLog("debug", [&] { FetchFeed(testing::TestMachine(), server.Host(), "/y"); }),
        "tunova debug fetch: GET " + server.Host() + "/y: 7 bytes\n");
}

TEST(FeedFetch, ADroppedConnectionIsAFailure) {
    LoopbackServer server;
    server.SetHandler([](const ServerRequest&) {
        // Promises 100,000 bytes, sends 10, then drops the connection.
        return ServerReply{ServerReply::Kind::kDropAfterHead, 200, std::string(100000, 'x')};
    });
    EXPECT_EQ(FetchFeed(testing::TestMachine(), server.Host(), "x"), "error");
}

TEST(FeedFetch, ASlowAnswerRunsIntoTheTotalTimeout) {
    LoopbackServer server;
    server.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kHold, 200, "<late/>"};
    });
    FetchOptions options;
    options.totalTimeoutMs = 300;
    const Stopwatch watch;
    EXPECT_EQ(FetchFeed(testing::TestMachine(), server.Host(), "x", options), "error");
    EXPECT_LT(watch.ElapsedMs(), 5000);
    plat::HttpOptions http;
    http.totalTimeoutMs = 200;
    EXPECT_EQ(plat::HttpGet(server.Host(), "x", http).error, plat::HttpError::kTimeout);
}

TEST(FeedFetch, ARaisedCancelFlagStopsAWaitingTransfer) {
    LoopbackServer server;
    server.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kHold, 200, "<late/>"};
    });
    std::atomic<bool> cancel{false};
    plat::HttpOptions http;
    http.cancel = &cancel;
    std::thread raiser([&] {
        server.WaitForRequests(1);
        cancel = true;
    });
    const Stopwatch watch;
    EXPECT_EQ(plat::HttpGet(server.Host(), "x", http).error, plat::HttpError::kCancelled);
    EXPECT_LT(watch.ElapsedMs(), 5000);
    raiser.join();
}

TEST(FeedFetch, AnswersBeyondTheLimitAreRefusedNotCut) {
    LoopbackServer server;
    std::string largest(kMaxFeedAnswerBytes, 'x');
    server.Serve(largest);
    EXPECT_EQ(FetchFeed(testing::TestMachine(), server.Host(), "x").size(), kMaxFeedAnswerBytes);
    server.Serve(largest + "y");
    EXPECT_EQ(FetchFeed(testing::TestMachine(), server.Host(), "x"), "error");
    EXPECT_EQ(ConvertFeedAnswer(largest + "y"), "error");
}

TEST(FeedFetch, ConversionEndsAtTheFirstZeroByteAndReplacesBadUtf8) {
    EXPECT_EQ(ConvertFeedAnswer(std::string("<a>1</a>\0<b/>", 13)), "<a>1</a>");
    EXPECT_EQ(ConvertFeedAnswer("a\xC3(b\xE2\x82"), "a?(b??");
    EXPECT_EQ(ConvertFeedAnswer(Utf8(u8"한국")), "한국");
}

}  // namespace
}  // namespace tunova
