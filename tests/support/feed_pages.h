// Generated GData feed pages in UTF-8, as the feed service sends them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tunova::testing {

inline std::string Utf8(std::u8string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

struct FeedEntry {
    std::string titleUtf8;
    int seconds = 0;
    std::string id = "vid";
};

inline std::string EntryXml(const FeedEntry& entry) {
    std::string xml = "<entry><id>http://gdata.youtube.com/feeds/api/videos/" + entry.id +
                      "</id><published>2008-07-01T10:00:00.000Z</published>"
                      "<updated>2008-07-02T10:00:00.000Z</updated>"
                      "<category scheme='http://schemas.google.com/g/2005#kind' "
                      "term='http://gdata.youtube.com/schemas/2007#video'/>"
                      "<title type='text'>" +
                      entry.titleUtf8 + "</title><content type='text'>About &quot;" + entry.id +
                      "&quot; &amp; more</content>"
                      "<link rel='alternate' type='text/html' href='http://www.youtube.com/"
                      "watch?v=" +
                      entry.id +
                      "&amp;feature=youtube_gdata'/>"
                      "<link rel='self' type='application/atom+xml' "
                      "href='http://gdata.youtube.com/feeds/api/videos/" +
                      entry.id +
                      "'/><author><name>someone</name></author>"
                      "<media:group><media:title type='plain'>t</media:title>"
                      "<media:content url='http://x/" +
                      entry.id +
                      "' type='application/x-shockwave-flash' duration='1'/>"
                      "<yt:duration seconds='" +
                      std::to_string(entry.seconds) + "'/></media:group></entry>";
    return xml;
}

inline std::string FeedXml(int totalResults, int startIndex,
                           const std::vector<FeedEntry>& entries) {
    std::string xml =
        "<?xml version='1.0' encoding='UTF-8'?><feed xmlns='http://www.w3.org/2005/Atom' "
        "xmlns:openSearch='http://a9.com/-/spec/opensearchrss/1.0/'>"
        "<id>http://gdata.youtube.com/feeds/api/videos</id>"
        "<updated>2008-07-03T00:00:00.000Z</updated><title type='text'>Videos</title>"
        "<link rel='alternate' type='text/html' href='http://www.youtube.com'/>"
        "<openSearch:totalResults>" +
        std::to_string(totalResults) + "</openSearch:totalResults><openSearch:startIndex>" +
        std::to_string(startIndex) +
        "</openSearch:startIndex><openSearch:itemsPerPage>30</openSearch:itemsPerPage>";
    for (const FeedEntry& entry : entries) {
        xml += EntryXml(entry);
    }
    xml += "</feed>";
    return xml;
}

// `count` entries numbered from `first`: "Song N", play time N seconds, id "vN".
inline std::vector<FeedEntry> NumberedEntries(int first, int count) {
    std::vector<FeedEntry> entries;
    for (int n = first; n < first + count; ++n) {
        entries.push_back({"Song " + std::to_string(n), n, "v" + std::to_string(n)});
    }
    return entries;
}

// A results page as the service answers a query for `startIndex`.
inline std::string ResultsPage(int totalResults, int startIndex, int count) {
    return FeedXml(totalResults, startIndex, NumberedEntries(startIndex, count));
}

}  // namespace tunova::testing
