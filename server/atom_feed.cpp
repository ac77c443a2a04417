#include "server/atom_feed.h"

#include <cstdio>

#include "server/media_file.h"
#include "server/xml_text.h"

namespace tunova::server {

namespace {

constexpr const char* kFeedStart =
    "<?xml version='1.0' encoding='UTF-8'?>\n"
    "<feed xmlns='http://www.w3.org/2005/Atom' xmlns:media='http://search.yahoo.com/mrss/' "
    "xmlns:openSearch='http://a9.com/-/spec/opensearchrss/1.0/' "
    "xmlns:gd='http://schemas.google.com/g/2005' "
    "xmlns:yt='http://gdata.youtube.com/schemas/2007'>\n";

constexpr const char* kVideoKind =
    "<category scheme='http://schemas.google.com/g/2005#kind' "
    "term='http://gdata.youtube.com/schemas/2007#video'/>";

void AppendElement(std::string& out, std::string_view tag, std::string_view text) {
    out += '<';
    out += tag;
    out += '>';
    AppendXmlEscaped(out, text);
    out += "</";
    out += tag.substr(0, tag.find(' '));
    out += ">\n";
}

std::string FeedTitle(const FeedQuery& query) {
    if (query.wordKey == WordKey::None) {
        return "Tunova Music videos";
    }
    return "Tunova Music videos matching query: " + query.word;
}

void AppendEntry(std::string& out, const VideoRecord& video, const std::string& base) {
    const std::string id = XmlEscaped(video.id);
    out += "<entry>\n";
    AppendElement(out, "id", base + "/feeds/api/videos/" + video.id);
    AppendElement(out, "published", AtomDate(video.published));
    AppendElement(out, "updated", AtomDate(video.updated));
    out += kVideoKind;
    out +=
        "\n<category scheme='http://gdata.youtube.com/schemas/2007/categories.cat' "
        "term='Music' label='Music'/>\n";
    AppendElement(out, "title type='text'", video.title);
    AppendElement(out, "content type='text'", video.description);
    const std::string escapedBase = XmlEscaped(base);
    out += "<link rel='alternate' type='text/html' href='" + escapedBase + "/watch?v=" + id +
           "&amp;feature=youtube_gdata'/>\n";
    out += "<link rel='self' type='application/atom+xml' href='" + escapedBase +
           "/feeds/api/videos/" + id + "'/>\n";
    out += "<link rel='enclosure' type='" +
           std::string(MediaContentType(video.mediaCopy.empty() ? video.path : video.mediaCopy)) +
           "' href='" + escapedBase + "/media/" + id + "'/>\n";
    // The performer where the library names one, else the service, as before artists were read.
    out += "<author><name>";
    AppendXmlEscaped(out, video.artist.empty() ? std::string_view("Tunova") : video.artist);
    out += "</name></author>\n<media:group>\n";
    AppendElement(out, "media:title type='plain'", video.title);
    out += "<yt:duration seconds='" + std::to_string(video.seconds) + "'/>\n</media:group>\n";
    // A video nobody rated has no rating element (an average of 0 would lie below the scale's
    // minimum); the plays the server counted go out as views.
    if (video.rating > 0 || video.raters > 0) {
        char rating[160];
        std::snprintf(rating, sizeof rating,
                      "<gd:rating average='%.2f' max='5' min='1' numRaters='%d' "
                      "rel='http://schemas.google.com/g/2005#overall'/>\n",
                      video.rating, video.raters);
        out += rating;
    }
    out += "<yt:statistics favoriteCount='0' viewCount='" + std::to_string(video.plays) + "'/>\n";
    out += "</entry>\n";
}

}  // namespace

std::string RenderFeed(const CataloguePage& page, const FeedQuery& query, std::string_view host,
                       std::int64_t now) {
    const std::string base = "http://" + std::string(host);
    std::string out;
    out.reserve(1024 + page.entries.size() * 1200);
    out += kFeedStart;
    AppendElement(out, "id", base + "/feeds/api/videos");
    AppendElement(out, "updated", AtomDate(now));
    out += kVideoKind;
    out += '\n';
    AppendElement(out, "title type='text'", FeedTitle(query));
    out += "<link rel='alternate' type='text/html' href='" + XmlEscaped(base) + "/'/>\n";
    out += "<author><name>Tunova</name><uri>" + XmlEscaped(base) + "/</uri></author>\n";
    out += "<generator version='1.0' uri='" + XmlEscaped(base) + "/'>Tunova feed</generator>\n";
    AppendElement(out, "openSearch:totalResults", std::to_string(page.total));
    AppendElement(out, "openSearch:startIndex", std::to_string(query.startIndex));
    AppendElement(out, "openSearch:itemsPerPage", std::to_string(query.maxResults));
    for (const VideoRecord& video : page.entries) {
        AppendEntry(out, video, base);
    }
    out += "</feed>\n";
    return out;
}

}  // namespace tunova::server
