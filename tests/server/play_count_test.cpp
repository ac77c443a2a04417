// Plays counted from media requests and the chart of a library without ratings: a download from
// the first byte counts once per address and video an hour, a seek counts nothing, and the
// chart ranks by the counts, then by the newest.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

#include "raw_connection.h"
#include "server/library_ingest.h"
#include "server/play_counter.h"
#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

TEST(PlayCounterTest, OnePlayPerAddressAndVideoAnHourInBoundedMemory) {
    int writes = 0;
    PlayCounter counter(
        {.maxRecent = 3,
         .write =
             [&](const std::map<std::string, std::int64_t>& plays) {
                 ++writes;
                 EXPECT_EQ(plays, (std::map<std::string, std::int64_t>{{"v1", 3}, {"v2", 1}}));
                 return true;
             },
         .flushEveryMs = 0});
    EXPECT_TRUE(counter.Note("10.0.0.1", "v1", 1000));
    EXPECT_FALSE(counter.Note("10.0.0.1", "v1", 1000 + 3599));
    EXPECT_TRUE(counter.Note("10.0.0.2", "v1", 1000 + 10));
    EXPECT_TRUE(counter.Note("10.0.0.1", "v2", 1000 + 20));
    EXPECT_TRUE(counter.Note("10.0.0.1", "v1", 1000 + 3600));  // an hour later
    EXPECT_LE(counter.Remembered(), 3u);
    counter.Flush();
    counter.Flush();  // nothing new: nothing written
    EXPECT_EQ(writes, 1);
}

class PlayChartTest : public ::testing::Test {
  protected:
    // Three unrated Korean videos of this month, the newest first by date.
    static std::vector<DemoVideo> Unrated() {
        std::vector<DemoVideo> videos;
        for (int i = 0; i < 3; ++i) {
            DemoVideo video;
            video.file = "v" + std::to_string(i) + ".webm";
            video.title = "Video " + std::to_string(i);
            video.language = "ko";
            video.rating = 0;
            video.published = kNow - (i + 1) * 3600;
            videos.push_back(video);
        }
        return videos;
    }

    // Asks for video `file` over a connection from `source`, with `range` when not empty; the
    // answer's status.
    int Download(const std::string& file, const std::string& source = "127.0.0.1",
                 const std::string& range = {}) {
        RawConnection client(server_.port(), source);
        client.Send("GET /media/" + VideoIdForPath(file) + " HTTP/1.1\r\nHost: x\r\n" +
                    (range.empty() ? "" : "Range: " + range + "\r\n") + "\r\n");
        const std::string answer = client.ReadAnswer(5000);
        return answer.size() > 12 ? std::atoi(answer.c_str() + 9) : 0;
    }

    // The chart's titles and each entry's view count.
    std::vector<std::pair<std::string, int>> Chart() {
        auto client = server_.Client();
        const auto result = client.Get(
            FeedPath("orderby=rating&max-results=50&start-index=1&lr=ko&time=this_month"));
        std::vector<std::pair<std::string, int>> chart;
        pugi::xml_document document;
        if (!result || !document.load_string(result->body.c_str())) {
            ADD_FAILURE() << "no chart";
            return chart;
        }
        for (auto entry : document.child("feed").children("entry")) {
            EXPECT_FALSE(entry.child("gd:rating")) << "no rating to report";
            chart.emplace_back(entry.child("title").text().get(),
                               entry.child("yt:statistics").attribute("viewCount").as_int(-1));
        }
        return chart;
    }

    TestServer server_{Unrated()};
};

TEST_F(PlayChartTest, TheChartFollowsThePlaysThenTheNewest) {
    using Rows = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(Chart(), (Rows{{"Video 0", 0}, {"Video 1", 0}, {"Video 2", 0}}));

    // Video 2: twice within the hour from one address (one play), from a second address
    // where this machine allows one, a seek from the middle and a HEAD (none).
    EXPECT_EQ(Download("v2.webm"), 200);
    EXPECT_EQ(Download("v2.webm", "127.0.0.1", "bytes=0-"), 206);
    const int others = SecondLoopbackAddressWorks() ? 1 : 0;
    if (others > 0) {
        EXPECT_EQ(Download("v2.webm", "127.0.0.2"), 200);
    }
    EXPECT_EQ(Download("v2.webm", "127.0.0.1", "bytes=500-"), 206);
    auto client = server_.Client();
    EXPECT_TRUE(client.Head("/media/" + VideoIdForPath("v2.webm")));
    server_.FlushPlays();
    EXPECT_EQ(Chart(), (Rows{{"Video 2", 1 + others}, {"Video 0", 0}, {"Video 1", 0}}));
    // An hour later the same address plays it again; video 1 gets its first play.
    server_.SetNow(kNow + 3600);
    EXPECT_EQ(Download("v2.webm", "127.0.0.1", "bytes=0-99"), 206);
    EXPECT_EQ(Download("v1.webm", "127.0.0.1", "bytes=300-399"), 206);
    EXPECT_EQ(Download("v1.webm"), 200);
    server_.FlushPlays();
    EXPECT_EQ(Chart(), (Rows{{"Video 2", 2 + others}, {"Video 1", 1}, {"Video 0", 0}}));
}

}  // namespace
}  // namespace tunova::server::testing
