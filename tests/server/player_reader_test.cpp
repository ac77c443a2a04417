// The player's own query builders, retrieval and feed reader against the server: every page
// the server writes must read back completely through them. Narrow literals here are CP949,
// like the player's own text.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/core/codepage.h"
#include "search/feed_fetch.h"
#include "search/feed_query.h"
#include "search/feed_reader.h"
#include "server/library_ingest.h"
#include "server_fixture.h"
#include "support/test_machine.h"

namespace tunova::server::testing {
namespace {

class PlayerReaderTest : public ::testing::Test {
  protected:
    FeedPage Read(const std::string& path) {
        const std::string text = FetchFeed(tunova::testing::TestMachine(), host_, path);
        EXPECT_NE(text, kFetchFailed) << path;
        return ReadFeedPage(text, 5000);
    }

    TestServer server_;
    std::string host_ = "127.0.0.1:" + std::to_string(server_.port());
};

TEST_F(PlayerReaderTest, FirstAndLaterPagesReadCompletely) {
    const std::string word = EncodeSearchWord(ApplyEncodingPairs("melody"));
    std::set<std::string> links;
    FeedPage first = Read(FirstPageQuery(word, CountrySuffix(0)));
    ASSERT_TRUE(first.read);
    EXPECT_EQ(first.totalResultCount, 64);
    EXPECT_EQ(first.startIndex, 1);
    EXPECT_EQ(first.pageCount, 30);
    ASSERT_EQ(first.items.size(), 30u);
    for (int start = 31; start <= 61; start += 30) {
        const FeedPage next = Read(NextPageQuery(word, start, CountrySuffix(0)));
        EXPECT_EQ(next.startIndex, start);
        EXPECT_EQ(next.pageCount, start == 61 ? 4 : 30);
        EXPECT_EQ(static_cast<int>(next.items.size()), next.pageCount);
        for (const VideoItem& item : next.items) {
            links.insert(item.link);
        }
    }
    for (const VideoItem& item : first.items) {
        links.insert(item.link);
        EXPECT_EQ(item.title.rfind("Song number ", 0), 0u) << item.title;
        EXPECT_GE(item.seconds, 60);
        EXPECT_EQ(item.content.rfind("A melody for test ", 0), 0u);
        EXPECT_EQ(item.updated.size(), 24u);  // 2026-12-07T11:00:00.000Z
    }
    EXPECT_EQ(links.size(), 64u);
}

TEST_F(PlayerReaderTest, KoreanSearchReadsBackInCp949WithWatchLinks) {
    const FeedPage page =
        Read(FirstPageQuery(EncodeSearchWord(ApplyEncodingPairs("첫사랑")), CountrySuffix(1)));
    ASSERT_EQ(page.items.size(), 1u);
    const VideoItem& item = page.items[0];
    EXPECT_EQ(item.title, "첫사랑을 찾아서");
    EXPECT_EQ(item.content, "봄날의 이야기");
    EXPECT_EQ(item.seconds, 3725);
    // The player cuts the id after "v="; the server's media path takes it up to the '&'.
    const std::string id = VideoIdForPath("first-love.webm");
    EXPECT_EQ(item.link, "http://" + host_ + "/watch?v=" + id + "&amp;feature=youtube_gdata");
    auto client = server_.Client();
    const auto media = client.Get(("/media/" + item.link.substr(item.link.find("v=") + 2)).c_str());
    ASSERT_TRUE(media);
    EXPECT_EQ(media->status, 200);
}

TEST_F(PlayerReaderTest, EscapedTextAndTheChartReadAsWritten) {
    const FeedPage rock =
        Read(FirstPageQuery(EncodeSearchWord(ApplyEncodingPairs("Rock & Roll")), ""));
    ASSERT_EQ(rock.items.size(), 1u);
    EXPECT_EQ(rock.items[0].title, "Rock & Roll <Live> 'n' \"Quotes\"");
    EXPECT_EQ(rock.items[0].content, "a < b && c > d");

    const FeedPage chart = Read(std::string(kChartQuery));
    EXPECT_EQ(chart.totalResultCount, 16);
    EXPECT_EQ(chart.pageCount, 16);
    ASSERT_EQ(chart.items.size(), 16u);
    EXPECT_EQ(chart.items[0].title, "첫사랑을 찾아서");
}

TEST_F(PlayerReaderTest, ARefusedQueryReadsAsNoResults) {
    const FeedPage page = Read("feeds/api/videos/-/Music?vq=a&max-results=99");
    EXPECT_EQ(page.totalResultCount, 0);
    EXPECT_TRUE(page.items.empty());
}

}  // namespace
}  // namespace tunova::server::testing
