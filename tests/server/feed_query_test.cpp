// The query text as the player writes it: keys, the word's encoding, and the edges of each value.
#include <gtest/gtest.h>

#include "server/feed_query.h"
#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

TEST(FeedQueryTest, ReadsTheThreeQueriesThePlayerSends) {
    const auto first =
        ParseFeedQuery("vq=%EA%B0%80/b&orderby=relevance&max-results=30&start-index=1&lr=ja");
    ASSERT_TRUE(first) << first.error;
    EXPECT_EQ(first.query.wordKey, WordKey::Vq);
    EXPECT_EQ(first.query.word, U8(u8"가 b"));
    EXPECT_EQ(first.query.maxResults, 30);
    EXPECT_EQ(first.query.language, "ja");

    const auto later = ParseFeedQuery("q=abc&orderby=relevance&max-results=30&start-index=4530");
    ASSERT_TRUE(later) << later.error;
    EXPECT_EQ(later.query.wordKey, WordKey::Q);
    EXPECT_EQ(later.query.startIndex, 4530);
    EXPECT_TRUE(later.query.language.empty());

    const auto chart =
        ParseFeedQuery("orderby=rating&max-results=50&start-index=1&lr=ko&time=this_month");
    ASSERT_TRUE(chart) << chart.error;
    EXPECT_EQ(chart.query.wordKey, WordKey::None);
    EXPECT_EQ(chart.query.order, FeedOrder::Rating);
    EXPECT_EQ(chart.query.maxResults, 50);
    EXPECT_EQ(chart.query.time, TimeWindow::ThisMonth);
}

TEST(FeedQueryTest, WordKeepsWhatThePlayerLeavesUnescaped) {
    // '+', '#' and '=' go into the query as they are; "%25" pairs encode '%' itself.
    EXPECT_EQ(ParseFeedQuery("vq=a+b").query.word, "a+b");
    EXPECT_EQ(ParseFeedQuery("vq=a&b&orderby=rating").query.word, "a&b");
    EXPECT_EQ(ParseFeedQuery("vq=a&&b").query.word, "a&&b");
    EXPECT_EQ(ParseFeedQuery("vq=x=y").query.word, "x=y");
    EXPECT_EQ(ParseFeedQuery("vq=100%25%2F%24").query.word, "100%/$");
    EXPECT_EQ(ParseFeedQuery("orderby=rating&vq=tail").query.word, "tail");
}

TEST(FeedQueryTest, BoundsOfEachValue) {
    EXPECT_TRUE(ParseFeedQuery("max-results=1"));
    EXPECT_TRUE(ParseFeedQuery("max-results=50"));
    EXPECT_FALSE(ParseFeedQuery("max-results=51"));
    EXPECT_FALSE(ParseFeedQuery("max-results=+5"));
    EXPECT_FALSE(ParseFeedQuery("max-results="));
    EXPECT_TRUE(ParseFeedQuery("start-index=100000"));
    EXPECT_FALSE(ParseFeedQuery("start-index=100001"));
    EXPECT_FALSE(ParseFeedQuery("start-index=99999999999999999999"));
    EXPECT_TRUE(ParseFeedQuery("vq=" + std::string(kWordByteLimit, 'w')));
    EXPECT_FALSE(ParseFeedQuery("vq=" + std::string(kWordByteLimit + 1, 'w')));
    EXPECT_FALSE(ParseFeedQuery("vq=a&" + std::string(kQueryByteLimit, 'x')));
}

TEST(FeedQueryTest, RefusalsSayWhy) {
    EXPECT_EQ(ParseFeedQuery("vq=a&q=b").error, "only one of vq and q");
    EXPECT_EQ(ParseFeedQuery("lr=ko&lr=ko").error, "repeated parameter");
    EXPECT_EQ(ParseFeedQuery("format=5").error, "unknown parameter");
    EXPECT_EQ(ParseFeedQuery("vq=%C3").error, "search word is not UTF-8");
    EXPECT_EQ(ParseFeedQuery("vq=%ED%A0%80").error, "search word is not UTF-8");  // surrogate
    EXPECT_EQ(ParseFeedQuery("vq=%4").error, "bad percent escape in search word");
    EXPECT_EQ(ParseFeedQuery("vq=a%09b").error, "control character in search word");
    EXPECT_EQ(ParseFeedQuery("vq=/%20/").error, "empty search word");
    EXPECT_EQ(ParseFeedQuery("time=%7").error, "bad percent escape");
}

TEST(FeedQueryTest, TimeWindowsInSeconds) {
    EXPECT_EQ(TimeWindowSeconds(TimeWindow::Today), 86400);
    EXPECT_EQ(TimeWindowSeconds(TimeWindow::ThisWeek), 7 * 86400);
    EXPECT_EQ(TimeWindowSeconds(TimeWindow::ThisMonth), 30 * 86400);
    EXPECT_EQ(TimeWindowSeconds(TimeWindow::AllTime), 0);
}

}  // namespace
}  // namespace tunova::server::testing
