// Generated GData video feeds in UTF-8, shaped like the service's pages: per entry an id,
// dates, categories, a title, a description with entities, four links, an author, comments,
// and a media:group with several media:content and media:thumbnail elements (about 3.5 KB).
#pragma once

#include <string>

namespace tunova::bench {

inline std::string GDataEntry(int n) {
    const std::string id = "vid" + std::to_string(100000 + n);
    const std::string url = "http://gdata.youtube.com/feeds/api/videos/" + id;
    std::string e;
    e.reserve(4096);
    e += "<entry><id>" + url + "</id>";
    e += "<published>2008-06-2" + std::to_string(n % 10) + "T10:11:12.000Z</published>";
    e += "<updated>2008-07-0" + std::to_string(n % 9 + 1) + "T08:09:10.000Z</updated>";
    e += "<category scheme='http://schemas.google.com/g/2005#kind' "
         "term='http://gdata.youtube.com/schemas/2007#video'/>";
    e += "<category scheme='http://gdata.youtube.com/schemas/2007/categories.cat' "
         "term='Music' label='Music'/>";
    for (const char* tag : {"kpop", "ballad", "live", "2008"}) {
        e += "<category scheme='http://gdata.youtube.com/schemas/2007/keywords.cat' term='";
        e += tag;
        e += "'/>";
    }
    e += "<title type='text'>";
    e += (n % 2 == 0) ? "\xEC\x82\xAC\xEB\x9E\x91\xED\x95\xB4\xEC\x9A\x94 " : "Live &amp; Loud ";
    e += "- Song number " + std::to_string(n) + " (Official M/V)</title>";
    e += "<content type='text'>";
    for (int i = 0; i < 6; ++i) {
        e += "Official music video &quot;Song " + std::to_string(n) +
             "&quot; from the album &lt;Seasons&gt; &amp; its live tour. "
             "\xEB\x85\xB8\xEB\x9E\x98\xEC\x99\x80 \xEC\xB6\xA4 "
             "Recorded in Seoul, mixed in Los Angeles; subtitles available. ";
    }
    e += "</content>";
    e += "<link rel='alternate' type='text/html' href='http://www.youtube.com/watch?v=" + id +
         "&amp;feature=youtube_gdata'/>";
    e += "<link rel='http://gdata.youtube.com/schemas/2007#video.responses' "
         "type='application/atom+xml' href='" +
         url + "/responses'/>";
    e += "<link rel='http://gdata.youtube.com/schemas/2007#video.related' "
         "type='application/atom+xml' href='" +
         url + "/related'/>";
    e += "<link rel='self' type='application/atom+xml' href='" + url + "'/>";
    e += "<author><name>artist" + std::to_string(n % 37) +
         "</name><uri>http://gdata.youtube.com/feeds/api/users/artist" + std::to_string(n % 37) +
         "</uri></author>";
    e += "<gd:comments><gd:feedLink href='" + url + "/comments' countHint='" +
         std::to_string(n * 7 % 1000) + "'/></gd:comments>";
    e += "<media:group><media:title type='plain'>Song " + std::to_string(n) + "</media:title>";
    e += "<media:description type='plain'>Official music video &amp; live cut of song " +
         std::to_string(n) + ".</media:description>";
    e += "<media:keywords>kpop, ballad, live, 2008</media:keywords>";
    e += "<media:category label='Music' scheme='http://gdata.youtube.com/schemas/2007/"
         "categories.cat'>Music</media:category>";
    for (int format : {5, 1, 6}) {
        e += "<media:content url='http://www.youtube.com/v/" + id +
             "?f=videos&amp;app=youtube_gdata' type='application/x-shockwave-flash' "
             "medium='video' isDefault='true' expression='full' duration='" +
             std::to_string(60 + n % 300) + "' yt:format='" + std::to_string(format) + "'/>";
    }
    e += "<media:player url='http://www.youtube.com/watch?v=" + id + "'/>";
    for (int t = 0; t < 4; ++t) {
        e += "<media:thumbnail url='http://i.ytimg.com/vi/" + id + "/" + std::to_string(t) +
             ".jpg' height='97' width='130' time='00:00:" + std::to_string(10 + t * 10) + ".000'/>";
    }
    e += "<yt:duration seconds='" + std::to_string(60 + n % 300) + "'/></media:group>";
    e += "<gd:rating min='1' max='5' numRaters='" + std::to_string(n * 13 % 5000) +
         "' average='4.5" + std::to_string(n % 10) + "'/>";
    e += "<yt:statistics viewCount='" + std::to_string(n * 1234 % 1000000) + "' favoriteCount='" +
         std::to_string(n * 17 % 10000) + "'/>";
    e += "</entry>";
    return e;
}

inline std::string GDataFeed(int entries) {
    std::string feed =
        "<?xml version='1.0' encoding='UTF-8'?><feed xmlns='http://www.w3.org/2005/Atom' "
        "xmlns:media='http://search.yahoo.com/mrss/' "
        "xmlns:openSearch='http://a9.com/-/spec/opensearchrss/1.0/' "
        "xmlns:gd='http://schemas.google.com/g/2005' "
        "xmlns:yt='http://gdata.youtube.com/schemas/2007'>"
        "<id>http://gdata.youtube.com/feeds/api/videos</id>"
        "<updated>2008-07-10T00:00:00.000Z</updated>"
        "<category scheme='http://schemas.google.com/g/2005#kind' "
        "term='http://gdata.youtube.com/schemas/2007#video'/>"
        "<title type='text'>YouTube Videos matching query</title>"
        "<logo>http://www.youtube.com/img/pic_youtubelogo_123x63.gif</logo>"
        "<link rel='alternate' type='text/html' href='http://www.youtube.com'/>"
        "<author><name>YouTube</name><uri>http://www.youtube.com/</uri></author>"
        "<generator version='2.0' uri='http://gdata.youtube.com/'>YouTube data API</generator>"
        "<openSearch:totalResults>" +
        std::to_string(entries * 10) + "</openSearch:totalResults><openSearch:startIndex>1" +
        "</openSearch:startIndex><openSearch:itemsPerPage>" + std::to_string(entries) +
        "</openSearch:itemsPerPage>";
    for (int n = 1; n <= entries; ++n) {
        feed += GDataEntry(n);
    }
    feed += "</feed>";
    return feed;
}

}  // namespace tunova::bench
