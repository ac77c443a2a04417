// What a location in another player's playlist names: watch links, media addresses, file names.
#include <gtest/gtest.h>

#include "lists/library_lookup.h"
#include "lists/video_links.h"

namespace tunova {
namespace {

TEST(VideoLinks, WatchLinksAndMediaAddressesGiveValidIdsOnly) {
    EXPECT_EQ(WatchLinkVideoId("http://h:8080/watch?v=aB3_-x&feature=youtube_gdata"), "aB3_-x");
    EXPECT_EQ(WatchLinkVideoId("HTTPS://www.youtube.com/watch?feature=x&amp;v=abc#t=3"), "abc");
    EXPECT_EQ(WatchLinkVideoId("http://h/watch?dev=1&v=id"), "id");
    for (const char* none : {"http://h/watch?v=a%20b", "http://h/watch?v=", "http://h/view?v=a",
                             "file:///watch?v=a", "/home/watch?v=a", "http://h/watch?x=1",
                             "http://h/watch?v=123456789012345678901234567890123"}) {
        EXPECT_EQ(WatchLinkVideoId(none), "") << none;
    }
    EXPECT_EQ(MediaAddressVideoId("http://LOCALHOST:8080/media/x_1", "localhost:8080"), "x_1");
    EXPECT_EQ(MediaAddressVideoId("http://other:8080/media/x_1", "localhost:8080"), "");
    EXPECT_EQ(MediaAddressVideoId("http://h/media/clip.mp4", "h"), "");
    EXPECT_EQ(MediaAddressOf("h:1", "x"), "http://h:1/media/x");
    EXPECT_EQ(WatchLinkOf("h:1", "x"), "http://h:1/watch?v=x&feature=youtube_gdata");
}

TEST(VideoLinks, FileNamesOfPathsAndAddresses) {
    EXPECT_EQ(LocationFileName("/home/me/My Clip.mp4"), "My Clip.mp4");
    EXPECT_EQ(LocationFileName("C:\\Videos\\a b.mkv"), "a b.mkv");
    EXPECT_EQ(LocationFileName("file:///home/me/a%20b%2Fc.webm"), "a b/c.webm");
    EXPECT_EQ(LocationFileName("file://host/share/x.ogv?y#z"), "x.ogv");
    EXPECT_EQ(LocationFileName("https://h/dir/100%25.mp4?download=1"), "100%.mp4");
    EXPECT_EQ(LocationFileName("http://h/"), "");
    EXPECT_EQ(LocationFileName("bad%zz%4"), "bad%zz%4");
}

TEST(VideoLinks, LookupKeysIgnoreCasePunctuationAndSpacing) {
    EXPECT_EQ(LookupKey("  IU - Good_Day (Live)!! "), "iu good day live");
    EXPECT_EQ(LookupKey("first_love"), LookupKey("First Love"));
    EXPECT_EQ(LookupKey("--"), "");
}

}  // namespace
}  // namespace tunova
