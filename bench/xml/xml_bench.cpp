// CXmlReader::LoadText and the feed reader against pugixml, on the same CP949 bytes of generated
// GData feeds of 30, 50 and 5,000 entries. Throughput is reported per byte of feed text.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "gdata_feed.h"
#include "platform/core/codepage.h"
#include "search/feed_fetch.h"
#include "search/feed_reader.h"
#include "search/video_item.h"
#include "search/xml_reader.h"

namespace {

// The feed as the reader receives it: generated UTF-8, converted as an answer is. Feeds over
// the answer limit (the 5,000-entry one) are converted directly.
const std::string& FeedText(int entries) {
    static std::vector<std::pair<int, std::string>> cache;
    for (const auto& [count, text] : cache) {
        if (count == entries) {
            return text;
        }
    }
    const std::string utf8 = tunova::bench::GDataFeed(entries);
    std::string text = tunova::ConvertFeedAnswer(utf8);
    if (text == tunova::kFetchFailed) {
        text = plat::Utf8ToCp949(utf8);
    }
    cache.emplace_back(entries, std::move(text));
    return cache.back().second;
}

void BM_XmlReaderLoadText(benchmark::State& state) {
    const std::string& text = FeedText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tunova::CXmlReader doc;
        benchmark::DoNotOptimize(doc.LoadText(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_PugixmlParse(benchmark::State& state) {
    const std::string& text = FeedText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(
            doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ReadFeed(benchmark::State& state) {
    const std::string& text = FeedText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tunova::FeedPage page = tunova::ReadFeedPage(text, 5000);
        benchmark::DoNotOptimize(page.items.data());
        if (page.items.size() != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("wrong entry count");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// pugixml parse plus extraction of the same counters and five fields per entry.
void BM_PugixmlParseAndExtract(benchmark::State& state) {
    const std::string& text = FeedText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
        const pugi::xml_node feed = doc.child("feed");
        int total = std::atoi(feed.child_value("openSearch:totalResults"));
        int start = std::atoi(feed.child_value("openSearch:startIndex"));
        benchmark::DoNotOptimize(total + start);
        std::vector<tunova::VideoItem> items;
        for (const pugi::xml_node entry : feed.children("entry")) {
            tunova::VideoItem item;
            item.updated = entry.child_value("updated");
            item.title = entry.child_value("title");
            item.content = entry.child_value("content");
            item.link = entry.child("link").attribute("href").value();
            item.seconds = std::atoi(
                entry.child("media:group").child("yt:duration").attribute("seconds").value());
            items.push_back(std::move(item));
        }
        benchmark::DoNotOptimize(items.data());
        if (items.size() != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("wrong entry count");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_XmlReaderLoadText)->Arg(30)->Arg(50)->Arg(5000);
BENCHMARK(BM_PugixmlParse)->Arg(30)->Arg(50)->Arg(5000);
BENCHMARK(BM_ReadFeed)->Arg(30)->Arg(50)->Arg(5000);
BENCHMARK(BM_PugixmlParseAndExtract)->Arg(30)->Arg(50)->Arg(5000);

}  // namespace

BENCHMARK_MAIN();
