// Reading request heads: the parts a handler sees, keep-alive by version and Connection, and
// the refusals with their statuses.
#include <gtest/gtest.h>

#include "server/http_request_parser.h"

namespace tunova::server::testing {
namespace {

RequestHeadParse Parse(const std::string& head, HttpRequest& request) {
    EXPECT_EQ(RequestHeadLength(head), head.size()) << head;
    return ParseRequestHead(head, request);
}

int Status(const std::string& head) {
    HttpRequest request;
    return ParseRequestHead(head, request).status;
}

TEST(RequestHeadTest, FindsTheEndOfTheHeadWithCrlfOrBareLf) {
    EXPECT_EQ(RequestHeadLength("GET / HTTP/1.1\r\nHost: a\r\n"), 0u);
    EXPECT_EQ(RequestHeadLength("GET / HTTP/1.1\r\nHost: a\r\n\r\nrest"), 27u);
    EXPECT_EQ(RequestHeadLength("GET / HTTP/1.1\nHost: a\n\nrest"), 24u);
}

TEST(RequestHeadTest, ReadsTargetPathQueryHeadersAndKeepAlive) {
    HttpRequest request;
    const auto parse = Parse(
        "GET /media/a%26b?vq=%EC%82%AC&x=1 HTTP/1.1\r\nHost:  h:8\t\r\nX-Empty:\r\n"
        "content-length: 12\r\n\r\n",
        request);
    EXPECT_EQ(parse.status, 0);
    EXPECT_EQ(parse.contentLength, 12);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/media/a%26b?vq=%EC%82%AC&x=1");
    EXPECT_EQ(request.path, "/media/a&b");
    EXPECT_EQ(request.query, "vq=%EC%82%AC&x=1");
    EXPECT_EQ(request.Header("HOST"), "h:8");
    EXPECT_TRUE(request.HasHeader("x-empty"));
    EXPECT_TRUE(request.keepAlive);

    HttpRequest closing;
    Parse("GET / HTTP/1.1\r\nConnection: Upgrade, Close\r\n\r\n", closing);
    EXPECT_FALSE(closing.keepAlive);
    HttpRequest old;
    Parse("GET / HTTP/1.0\r\n\r\n", old);
    EXPECT_FALSE(old.keepAlive);
    HttpRequest oldKept;
    Parse("GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\n", oldKept);
    EXPECT_TRUE(oldKept.keepAlive);
}

TEST(RequestHeadTest, RefusesWhatAWellBehavedClientWouldNotSend) {
    for (const std::string head :
         {"\r\n\r\n", "GET\r\n\r\n", "GET /\r\n\r\n", "GET  / HTTP/1.1\r\n\r\n",
          "GET http://x/ HTTP/1.1\r\n\r\n", "GET / HTTP/1.1 \r\n\r\n", "G(T / HTTP/1.1\r\n\r\n",
          "GET /a\x7F HTTP/1.1\r\n\r\n", "GET / HTTP/x.1\r\n\r\n",
          "GET / HTTP/1.1\r\nNoColon\r\n\r\n", "GET / HTTP/1.1\r\n folded: x\r\n\r\n",
          "GET / HTTP/1.1\r\nA B: x\r\n\r\n", "GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n",
          "GET / HTTP/1.1\r\nContent-Length: 1x\r\n\r\n"}) {
        EXPECT_EQ(Status(head), 400) << head;
    }
    EXPECT_EQ(Status("GET / HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 3\r\n\r\n"), 0);
    EXPECT_EQ(Status("GET /" + std::string(kTargetByteLimit, 'a') + " HTTP/1.1\r\n\r\n"), 414);
    std::string many = "GET / HTTP/1.1\r\n";
    for (std::size_t i = 0; i <= kHeaderFieldLimit; ++i) {
        many += "X: y\r\n";
    }
    EXPECT_EQ(Status(many + "\r\n"), 431);
    EXPECT_EQ(Status("GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"), 501);
    EXPECT_EQ(Status("GET / HTTP/2.0\r\n\r\n"), 505);
    EXPECT_EQ(Status("GET / HTTP/0.9\r\n\r\n"), 505);
}

TEST(RequestHeadTest, QueryParametersDecodeLikeForms) {
    const auto parameters = QueryParameters("a=1&b=x+y%21&&c&d=%zz&a=2");
    ASSERT_EQ(parameters.size(), 5u);
    EXPECT_EQ(parameters[0], (std::pair<std::string, std::string>{"a", "1"}));
    EXPECT_EQ(parameters[1].second, "x y!");
    EXPECT_EQ(parameters[2], (std::pair<std::string, std::string>{"c", ""}));
    EXPECT_EQ(parameters[3].second, "%zz");
    EXPECT_EQ(parameters[4].second, "2");
}

}  // namespace
}  // namespace tunova::server::testing
