// Feeds over real HTTP, read with an independent XML parser (pugixml): shape, paging, filters,
// Korean search, escaping and refusals.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <set>
#include <string>
#include <vector>

#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

struct Feed {
    std::string text;
    pugi::xml_document document;
    pugi::xml_node root;
    int total = -1;
    std::vector<pugi::xml_node> entries;
};

class FeedTest : public ::testing::Test {
  protected:
    // Fetches a feed and parses it; fails the test unless the answer is a 200 Atom feed.
    void Fetch(const std::string& query, Feed& feed, const char* host = nullptr) {
        auto client = server_.Client();
        httplib::Headers headers;
        if (host != nullptr) {
            headers.emplace("Host", host);
        }
        const auto result = client.Get(FeedPath(query).c_str(), headers);
        ASSERT_TRUE(result);
        ASSERT_EQ(result->status, 200) << result->body;
        EXPECT_EQ(result->get_header_value("Content-Type"), "application/atom+xml; charset=UTF-8");
        feed.text = result->body;
        ASSERT_TRUE(feed.document.load_string(feed.text.c_str()));
        feed.root = feed.document.child("feed");
        ASSERT_TRUE(feed.root);
        feed.total = feed.root.child("openSearch:totalResults").text().as_int(-1);
        for (auto entry : feed.root.children("entry")) {
            feed.entries.push_back(entry);
        }
    }

    int Total(const std::string& query) {
        Feed feed;
        Fetch(query, feed);
        return feed.total;
    }

    std::vector<std::string> Titles(const std::string& query) {
        Feed feed;
        Fetch(query, feed);
        std::vector<std::string> titles;
        for (auto entry : feed.entries) {
            titles.push_back(entry.child("title").text().get());
        }
        return titles;
    }

    int Status(const std::string& path) {
        auto client = server_.Client();
        const auto result = client.Get(path.c_str());
        return result ? result->status : -1;
    }

    TestServer server_;
};

TEST_F(FeedTest, FirstPageHasTheShapeThePlayerReads) {
    Feed feed;
    Fetch("vq=melody&orderby=relevance&max-results=30&start-index=1", feed, "media.test:8123");
    EXPECT_STREQ(feed.root.attribute("xmlns").value(), "http://www.w3.org/2005/Atom");
    EXPECT_STREQ(feed.root.attribute("xmlns:openSearch").value(),
                 "http://a9.com/-/spec/opensearchrss/1.0/");
    EXPECT_TRUE(feed.root.attribute("xmlns:media") && feed.root.attribute("xmlns:gd") &&
                feed.root.attribute("xmlns:yt"));
    EXPECT_EQ(feed.total, 64);
    EXPECT_EQ(feed.root.child("openSearch:startIndex").text().as_int(), 1);
    EXPECT_EQ(feed.root.child("openSearch:itemsPerPage").text().as_int(), 30);
    ASSERT_EQ(feed.entries.size(), 30u);

    // totalResults, then startIndex, then the entries: the reader finds them in that order.
    std::vector<std::string> order;
    for (auto child : feed.root.children()) {
        order.push_back(child.name());
    }
    const auto position = [&](const std::string& name) {
        return std::find(order.begin(), order.end(), name) - order.begin();
    };
    EXPECT_LT(position("openSearch:totalResults"), position("openSearch:startIndex"));
    EXPECT_LT(position("openSearch:startIndex"), position("entry"));

    // The reader counts the literal "<entry>": every entry start tag is plain.
    std::size_t plain = 0, any = 0;
    for (std::size_t at = feed.text.find("<entry"); at != std::string::npos;
         at = feed.text.find("<entry", at + 1)) {
        ++any;
        plain += feed.text.compare(at, 7, "<entry>") == 0;
    }
    EXPECT_EQ(plain, 30u);
    EXPECT_EQ(any, 30u);

    for (auto entry : feed.entries) {
        std::vector<std::string> names;
        for (auto child : entry.children()) {
            names.push_back(child.name());
        }
        const auto at = [&](const std::string& name) {
            return std::find(names.begin(), names.end(), name) - names.begin();
        };
        EXPECT_EQ(names.front(), "id");
        EXPECT_LT(at("published"), at("updated"));
        EXPECT_LT(at("updated"), at("title"));
        EXPECT_LT(at("title"), at("content"));
        EXPECT_LT(at("content"), at("link"));
        EXPECT_LT(at("link"), at("media:group"));
        EXPECT_LT(at("media:group"), at("gd:rating"));
        EXPECT_STREQ(entry.child("title").attribute("type").value(), "text");
        EXPECT_STREQ(entry.child("content").attribute("type").value(), "text");

        const auto link = entry.child("link");
        EXPECT_STREQ(link.attribute("rel").value(), "alternate");
        const std::string id =
            std::string(entry.child("id").text().get())
                .substr(std::string("http://media.test:8123/feeds/api/videos/").size());
        EXPECT_EQ(link.attribute("href").value(),
                  "http://media.test:8123/watch?v=" + id + "&feature=youtube_gdata");
        const auto group = entry.child("media:group");
        EXPECT_STREQ(group.child("media:title").text().get(), entry.child("title").text().get());
        const int seconds = group.child("yt:duration").attribute("seconds").as_int(-1);
        EXPECT_GE(seconds, 60);
        EXPECT_LE(seconds, 123);
        EXPECT_TRUE(entry.child("gd:rating").attribute("average"));
    }
}

TEST_F(FeedTest, PagesCoverEveryResultOnceAndTotalsStay) {
    std::set<std::string> ids;
    for (const int start : {1, 31, 61}) {
        Feed feed;
        Fetch("q=melody&orderby=relevance&max-results=30&start-index=" + std::to_string(start),
              feed);
        EXPECT_EQ(feed.total, 64);
        EXPECT_EQ(feed.root.child("openSearch:startIndex").text().as_int(), start);
        EXPECT_EQ(feed.entries.size(), start == 61 ? 4u : 30u);
        for (auto entry : feed.entries) {
            ids.insert(entry.child("id").text().get());
        }
    }
    EXPECT_EQ(ids.size(), 64u);

    Feed past;
    Fetch("q=melody&orderby=relevance&max-results=30&start-index=65", past);
    EXPECT_EQ(past.total, 64);
    EXPECT_TRUE(past.entries.empty());
}

TEST_F(FeedTest, LanguageFiltersKeepOneLanguage) {
    EXPECT_EQ(Total("vq=melody&lr=ko"), 16);
    EXPECT_EQ(Total("vq=melody&lr=en"), 16);
    EXPECT_EQ(Total("vq=melody&lr=ja"), 16);
    EXPECT_EQ(Total("vq=melody&lr=zh"), 16);
    EXPECT_EQ(Titles("vq=%E6%A1%9C&lr=ja"),
              std::vector<std::string>{U8(u8"\xE6\xA1\x9C\xE3\x81\xAE\xE5\xAD\xA3\xE7\xAF\x80")});
    EXPECT_TRUE(Titles("vq=%E6%A1%9C&lr=zh").empty());
}

TEST_F(FeedTest, TimeWindowsCountBackFromNow) {
    EXPECT_EQ(Total("vq=melody&time=today"), 2);
    EXPECT_EQ(Total("vq=melody&time=this_week"), 14);
    EXPECT_EQ(Total("vq=melody&time=this_month"), 60);
    EXPECT_EQ(Total("vq=melody&time=all_time"), 64);
}

TEST_F(FeedTest, ChartQueryListsThisMonthsKoreanVideosBestRatedFirst) {
    Feed feed;
    Fetch("orderby=rating&max-results=50&start-index=1&lr=ko&time=this_month", feed);
    EXPECT_EQ(feed.total, 16);  // 15 melody videos and the two-day-old "첫사랑을 찾아서"
    ASSERT_EQ(feed.entries.size(), 16u);
    EXPECT_EQ(std::string(feed.entries.front().child("title").text().get()),
              U8(u8"첫사랑을 찾아서"));
    double previous = 6;
    for (auto entry : feed.entries) {
        const double rating = entry.child("gd:rating").attribute("average").as_double();
        EXPECT_LE(rating, previous);
        previous = rating;
    }
}

TEST_F(FeedTest, KoreanWordsMatchInsideLongerWords) {
    // "사랑" lies inside "첫사랑을" and "사랑의"; '/' stands for the space between words.
    EXPECT_EQ(Total("vq=" + PlayerEncoded(U8(u8"사랑"))), 2);
    EXPECT_EQ(Titles("vq=" + PlayerEncoded(U8(u8"첫사랑"))),
              std::vector<std::string>{U8(u8"첫사랑을 찾아서")});
    EXPECT_EQ(Titles("vq=" + PlayerEncoded(U8(u8"사랑 노래"))),
              std::vector<std::string>{U8(u8"사랑의 노래")});
    EXPECT_EQ(Total("vq=" + PlayerEncoded(U8(u8"이야기"))), 1);  // description text
    EXPECT_EQ(Total("vq=" + PlayerEncoded(U8(u8"없는말"))), 0);
}

TEST_F(FeedTest, TextIsEscapedAndReadsBackUnchanged) {
    Feed feed;
    Fetch("vq=roll", feed);
    ASSERT_EQ(feed.entries.size(), 1u);
    EXPECT_STREQ(feed.entries[0].child("title").text().get(), "Rock & Roll <Live> 'n' \"Quotes\"");
    EXPECT_STREQ(feed.entries[0].child("content").text().get(), "a < b && c > d");
    EXPECT_NE(feed.text.find("Rock &amp; Roll &lt;Live&gt; &apos;n&apos; &quot;Quotes&quot;"),
              std::string::npos);
    // A hostile Host header cannot break out of an attribute.
    Feed hostile;
    Fetch("vq=roll", hostile, "x'/><entry>");
    EXPECT_EQ(hostile.entries.size(), 1u);
}

TEST_F(FeedTest, WordsWithoutSearchableTextFindNothing) {
    EXPECT_EQ(Total("vq=%21%21"), 0);  // "!!"
}

TEST_F(FeedTest, AnUnescapedAmpersandStaysInTheWord) {
    // The player sends "a&b" as it is; "b" is part of the word, not a parameter.
    EXPECT_EQ(Titles("vq=a&b&orderby=relevance&max-results=30&start-index=1"),
              std::vector<std::string>{"Rock & Roll <Live> 'n' \"Quotes\""});
}

TEST_F(FeedTest, MalformedQueriesAreRefusedWithAReason) {
    auto client = server_.Client();
    const auto refused = client.Get(FeedPath("vq=a&max-results=51").c_str());
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 400);
    EXPECT_EQ(refused->body, "max-results must be 1 to 50\n");

    for (const std::string& query : std::vector<std::string>{
             "vq=a&max-results=0", "vq=a&start-index=0", "vq=a&start-index=-1", "vq=a&lr=fr",
             "vq=a&time=yesterday", "vq=a&orderby=viewCount", "vq=a&q=b",
             "vq=a&orderby=rating&orderby=rating", "vq=%E", "vq=%ZZ", "vq=%FF%FE", "vq=%0A",
             "vq=", "vq=///", "alt=rss", "vq=" + std::string(300, 'a')}) {
        EXPECT_EQ(Status(FeedPath(query)), 400) << query;
    }
}

TEST_F(FeedTest, UnknownPathsAre404) {
    EXPECT_EQ(Status("/feeds/api/videos/-/Rock?vq=a"), 404);
    EXPECT_EQ(Status("/feeds/api/videos"), 404);
    EXPECT_EQ(Status("/nothing/here"), 404);
}

}  // namespace
}  // namespace tunova::server::testing
