// today50.ini: reading the cache into the result store, the chart rows in the result list, and
// the cache text written for a downloaded chart.
#include <string>
#include <vector>

#include "lists/daily_chart.h"
#include "playlist_fixture.h"
#include "search/feed_query.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"
#include "support/test_machine.h"

namespace tunova {
namespace {

class ChartCacheTest : public testing::PlaylistFixture {
  protected:
    std::string Path() const { return folder_.File(kChartFileName); }
};

TEST_F(ChartCacheTest, CachedChartFillsNumberedRowsAndStopsPaging) {
    testing::WriteBytes(Path(),
                        "[SETTING]\r\ncount=3\r\n\r\n[LIST1]\r\nname=첫째 노래\r\ntime=3725\r\n"
                        "url=http://www.youtube.com/watch?v=a1\r\n\r\n[LIST2]\r\nname=Two\r\n"
                        "time=59\r\nurl=u2\r\n\r\n[LIST3]\r\nname=Three\r\ntime=x\r\nurl=u3\r\n");
    LoadChartCache(Path(), store_);
    EXPECT_EQ(store_.PageCount(), 3);
    EXPECT_EQ(store_.TotalResultCount(), 3);
    EXPECT_EQ(store_.StartIndex(), 0);
    ASSERT_EQ(store_.Items().size(), 3u);
    EXPECT_EQ(store_.Items()[0].updated, " ");
    EXPECT_EQ(store_.Items()[0].content, " ");
    EXPECT_EQ(store_.Items()[2].seconds, 0);

    FillChartList(store_, results_);
    ASSERT_EQ(results_.ItemCount(), 3);
    EXPECT_EQ(results_.ItemText(0, 0), "1");
    EXPECT_EQ(results_.ItemText(0, 1), "첫째 노래");
    EXPECT_EQ(results_.ItemText(0, 2), "62:05");
    EXPECT_EQ(results_.ItemText(1, 2), "00:59");
    EXPECT_EQ(results_.ItemImage(2, kAddColumn), 0);
    EXPECT_EQ(results_.ItemData(2), 2);
    EXPECT_EQ(store_.StoredCount(), 3);
    // Nothing left to page: neither paging asks for a page after the chart.
    EXPECT_EQ(store_.PageCount(), 0);
    EXPECT_EQ(store_.TotalResultCount(), 0);
    EXPECT_EQ(store_.StartIndex(), 0);
    EXPECT_FALSE(store_.MoreResults());

    // Chart rows are added to the playlist like search results.
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    EXPECT_EQ(playlist_.Find(1)->link, "http://www.youtube.com/watch?v=a1");
    EXPECT_EQ(playlist_.Find(1)->seconds, 3725);
}

TEST_F(ChartCacheTest, EmptyMissingOrHugeCachesStayWithinTheStore) {
    LoadChartCache(folder_.File("missing.ini"), store_);
    EXPECT_TRUE(store_.Items().empty());
    EXPECT_EQ(store_.PageCount(), 0);
    testing::WriteBytes(Path(), "[LIST1]\r\nname=no setting\r\n");
    LoadChartCache(Path(), store_);
    EXPECT_TRUE(store_.Items().empty());
    FillChartList(store_, results_);
    EXPECT_EQ(results_.ItemCount(), 0);

    // A hand-edited count far beyond the store's 5000 results reads 5000 rows, and no more.
    testing::WriteBytes(Path(), "[SETTING]\r\ncount=2147483647\r\n[LIST5000]\r\nname=last\r\n");
    LoadChartCache(Path(), store_);
    ASSERT_EQ(store_.Items().size(), ResultStore::kCapacity);
    EXPECT_EQ(store_.Items().back().title, "last");
    EXPECT_EQ(store_.PageCount(), 5000);
}

TEST_F(ChartCacheTest, CacheTextHoldsEveryStoredResultInOrder) {
    FeedPage page;
    page.read = true;
    page.items = {testing::Result("하나", 61), {"two\r\nurl=x", "http://b", "u", "c", 2}};
    store_.TakeChartPage(page);
    EXPECT_EQ(ChartFileText(store_),
              "[SETTING]\r\ncount=2\r\n\r\n[LIST1]\r\nname=하나\r\ntime=61\r\n"
              "url=http://www.youtube.com/watch?v=하나\r\n\r\n[LIST2]\r\nname=two  url=x\r\n"
              "time=2\r\nurl=http://b\r\n\r\n");
}

TEST_F(ChartCacheTest, DownloadReadsTheChartQueryIntoFiftyRows) {
    testing::LoopbackServer server;
    server.Serve(testing::FeedXml(50, 1, testing::NumberedEntries(1, 50)));
    FetchOptions fetch;
    fetch.totalTimeoutMs = 5000;
    ASSERT_TRUE(DownloadChart(testing::TestMachine(), server.Host(), fetch, store_));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].target, "/" + std::string(kChartQuery));
    EXPECT_EQ(store_.PageCount(), 50);
    EXPECT_EQ(store_.StartIndex(), 1);
    FillChartList(store_, results_);
    ASSERT_EQ(results_.ItemCount(), 50);
    EXPECT_EQ(results_.ItemText(0, 0), "1");
    EXPECT_EQ(results_.ItemText(0, 1), "Song 1");
    EXPECT_EQ(results_.ItemText(49, 0), "50");
    EXPECT_EQ(results_.ItemText(49, 2), "00:50");
    EXPECT_EQ(store_.StartIndex(), 0);
    const std::string text = ChartFileText(store_);
    EXPECT_EQ(text.rfind("[SETTING]\r\ncount=50\r\n\r\n[LIST1]\r\nname=Song 1\r\ntime=1\r\n", 0),
              0u);
    EXPECT_NE(text.find("[LIST50]\r\nname=Song 50\r\ntime=50\r\nurl=http://www.youtube.com/"
                        "watch?v=v50&amp;feature=youtube_gdata\r\n\r\n"),
              std::string::npos);
}

TEST_F(ChartCacheTest, FailedDownloadLeavesTheStoreAsItWas) {
    testing::LoopbackServer server;
    // An error page parses, but holds no entry.
    server.Serve("<html><body>503 Service Unavailable</body></html>");
    FetchOptions fetch;
    fetch.totalTimeoutMs = 5000;
    EXPECT_FALSE(DownloadChart(testing::TestMachine(), server.Host(), fetch, store_));
    EXPECT_FALSE(DownloadChart(testing::TestMachine(), testing::kNoHost, fetch, store_));
    // Start-up left no time: nothing is asked (a limit of 0 would let libcurl wait for ever).
    const std::size_t asked = server.Requests().size();
    fetch.totalTimeoutMs = 0;
    EXPECT_FALSE(DownloadChart(testing::TestMachine(), server.Host(), fetch, store_));
    EXPECT_EQ(server.Requests().size(), asked);
    EXPECT_TRUE(store_.Items().empty());
    EXPECT_EQ(store_.PageCount(), 0);
}

TEST(ChartDayTest, DayTextIsTwoDigitYearMonthAndDay) {
    EXPECT_EQ(ChartDayText({2026, 12, 7}), "261207");
    EXPECT_EQ(ChartDayText({2009, 1, 5}), "090105");
    EXPECT_EQ(ChartDayText({2100, 2, 28}), "000228");
}

}  // namespace
}  // namespace tunova
