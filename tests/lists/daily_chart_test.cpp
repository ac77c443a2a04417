// The chart at start-up against a loopback feed server, with the date from a manual clock and
// `downday` in this test process's own settings store: its three outcomes, and a failed download.
#include "lists/daily_chart.h"

#include <optional>
#include <string>

#include "platform/core/clock.h"
#include "platform/core/files.h"
#include "platform/desktop/settings_store.h"
#include "playlist_fixture.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"
#include "support/test_machine.h"

namespace tunova {
namespace {

class DailyChartTest : public testing::PlaylistFixture {
  protected:
    void SetUp() override {
        PlaylistFixture::SetUp();
        plat::InstallClock(&clock_);
        ASSERT_TRUE(plat::SettingsKey::Open(kChartDayKey).DeleteValue(kChartDayValue));
        server_.Serve(testing::FeedXml(50, 1, testing::NumberedEntries(1, 50)));
    }
    void TearDown() override { plat::InstallClock(nullptr); }

    std::string Path() const { return folder_.File(kChartFileName); }
    std::optional<std::string> DownDay() const {
        return plat::SettingsKey::Open(kChartDayKey).ReadString(kChartDayValue);
    }
    void SetDownDay(const std::string& day) {
        ASSERT_TRUE(plat::SettingsKey::Open(kChartDayKey).WriteString(kChartDayValue, day));
    }

    // One start-up: a fresh result store and list, as a new process has.
    ChartSource Start(const std::string& host) {
        ResultStore store;
        results_.DeleteAllItems();
        ChartSetup setup;
        setup.chartPath = Path();
        setup.feedHost = host;
        setup.fetch.totalTimeoutMs = 5000;
        setup.today = plat::CurrentClock().Now();
        const ChartSource source =
            ShowDailyChart(testing::TestMachine(clock_), setup, store, results_);
        shownPageCount_ = store.PageCount();
        return source;
    }
    ChartSource Start() { return Start(server_.Host()); }

    plat::ManualClock clock_{{2026, 12, 7, 9, 30, 0}};
    testing::LoopbackServer server_;
    int shownPageCount_ = -1;
};

TEST_F(DailyChartTest, FirstStartsDownloadUntilTheDayIsMarkedThenTheCacheIsShown) {
    // Neither today50.ini nor downday: downloaded, written, and the day stays unmarked.
    EXPECT_EQ(Start(), ChartSource::kDownload);
    EXPECT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(results_.ItemCount(), 50);
    EXPECT_EQ(results_.ItemText(49, 0), "50");
    EXPECT_EQ(shownPageCount_, 0);  // no paging after the chart
    const std::string written = testing::ReadBytes(Path());
    EXPECT_EQ(written.rfind("[SETTING]\r\ncount=50\r\n\r\n[LIST1]\r\nname=Song 1\r\n", 0), 0u);
    EXPECT_NE(written.find("[LIST50]\r\nname=Song 50\r\ntime=50\r\n"), std::string::npos);
    EXPECT_FALSE(DownDay());

    // Second start that day: "1" is written, then today, and the chart is downloaded again.
    EXPECT_EQ(Start(), ChartSource::kDownload);
    EXPECT_EQ(server_.Requests().size(), 2u);
    EXPECT_EQ(DownDay(), "261207");

    // Third start: the file is shown without network access.
    EXPECT_EQ(Start(), ChartSource::kCache);
    EXPECT_EQ(server_.Requests().size(), 2u);
    EXPECT_EQ(results_.ItemCount(), 50);
    EXPECT_EQ(results_.ItemText(0, 1), "Song 1");
    EXPECT_EQ(results_.ItemText(0, 2), "00:01");
    EXPECT_EQ(shownPageCount_, 0);
}

TEST_F(DailyChartTest, ACacheOfAnotherDayIsReplacedAndTheDayMarked) {
    testing::WriteBytes(Path(), "[SETTING]\r\ncount=1\r\n[LIST1]\r\nname=yesterday\r\n");
    SetDownDay("261206");
    EXPECT_EQ(Start(), ChartSource::kDownload);
    EXPECT_EQ(DownDay(), "261207");
    EXPECT_EQ(results_.ItemText(0, 1), "Song 1");
    EXPECT_NE(testing::ReadBytes(Path()).find("count=50\r\n"), std::string::npos);

    // The next day's first start downloads; its second start reads the cache.
    clock_.SetNow({2026, 12, 8, 8, 0, 0});
    EXPECT_EQ(Start(), ChartSource::kDownload);
    EXPECT_EQ(Start(), ChartSource::kCache);
    EXPECT_EQ(DownDay(), "261208");
    EXPECT_EQ(server_.Requests().size(), 2u);
}

TEST_F(DailyChartTest, TodaysCacheIsShownAsItIsAndANumberIsCompared) {
    testing::WriteBytes(Path(),
                        "[SETTING]\r\ncount=2\r\n[LIST1]\r\nname=첫째\r\ntime=125\r\n"
                        "url=u1\r\n[LIST2]\r\nname=둘째\r\ntime=7\r\nurl=u2\r\n");
    SetDownDay("261207xyz");  // read as a number, like atoi
    EXPECT_EQ(Start(), ChartSource::kCache);
    EXPECT_TRUE(server_.Requests().empty());
    ASSERT_EQ(results_.ItemCount(), 2);
    EXPECT_EQ(results_.ItemText(0, 1), "첫째");
    EXPECT_EQ(results_.ItemText(0, 2), "02:05");
    EXPECT_EQ(DownDay(), "261207xyz");
}

TEST_F(DailyChartTest, AFailedDownloadLeavesTheFileAndIsNotRetriedThatDay) {
    const std::string old = "[SETTING]\r\ncount=1\r\n[LIST1]\r\nname=old chart\r\n";
    testing::WriteBytes(Path(), old);
    SetDownDay("261130");
    EXPECT_EQ(Start(testing::kNoHost), ChartSource::kNone);
    EXPECT_EQ(results_.ItemCount(), 0);
    EXPECT_EQ(testing::ReadBytes(Path()), old);
    EXPECT_EQ(DownDay(), "261207");
    // The day was marked before the download: the old file is shown for the rest of the day.
    EXPECT_EQ(Start(), ChartSource::kCache);
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_EQ(results_.ItemText(0, 1), "old chart");

    // With no file at all, a failed download writes none.
    ASSERT_TRUE(plat::DeleteFile(Path()));
    server_.Serve("<html><body>502 Bad Gateway</body></html>");
    EXPECT_EQ(Start(), ChartSource::kNone);
    EXPECT_FALSE(plat::FileExists(Path()));
}

TEST_F(DailyChartTest, AnEmptyChartIsToldApartAndAskedForAgainAtTheNextStart) {
    // A library without videos: the server answers a whole feed with no entry.
    server_.Serve(testing::FeedXml(0, 1, {}));
    EXPECT_EQ(Start(), ChartSource::kEmpty);
    EXPECT_EQ(results_.ItemCount(), 0);
    EXPECT_FALSE(plat::FileExists(Path()));
    // Videos added since show at the next start of the same day.
    server_.Serve(testing::FeedXml(2, 1, testing::NumberedEntries(1, 2)));
    EXPECT_EQ(Start(), ChartSource::kDownload);
    EXPECT_EQ(results_.ItemCount(), 2);
    EXPECT_EQ(server_.Requests().size(), 2u);
}

}  // namespace
}  // namespace tunova
