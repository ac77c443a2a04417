// The rendered-feed cache: answers expire after their lifetime and the least recently used
// answer goes first when the cache is full.
#include <gtest/gtest.h>

#include "server/feed_cache.h"

namespace tunova::server {
namespace {

TEST(FeedCacheTest, AnswersExpireAfterTheirLifetime) {
    FeedCache cache(4, 60);
    cache.Store("a", "feed a", 1000);
    EXPECT_EQ(cache.Find("a", 1059).value_or(""), "feed a");
    EXPECT_FALSE(cache.Find("a", 1060));
    EXPECT_FALSE(cache.Find("a", 1000));  // gone once expired
    cache.Store("b", "feed b", 2000);
    EXPECT_FALSE(cache.Find("b", 1999));  // a clock set back never serves it
}

TEST(FeedCacheTest, FullCacheDropsTheLeastRecentlyUsed) {
    FeedCache cache(2, 60);
    cache.Store("a", "1", 0);
    cache.Store("b", "2", 0);
    EXPECT_TRUE(cache.Find("a", 1));  // "b" is now the least recently used
    cache.Store("c", "3", 1);
    EXPECT_TRUE(cache.Find("a", 2));
    EXPECT_FALSE(cache.Find("b", 2));
    EXPECT_TRUE(cache.Find("c", 2));
    cache.Store("c", "4", 3);  // replacing keeps one entry
    EXPECT_EQ(cache.Find("c", 3).value_or(""), "4");
    EXPECT_TRUE(cache.Find("a", 3));

    FeedCache disabled(0, 60);
    disabled.Store("a", "1", 0);
    EXPECT_FALSE(disabled.Find("a", 0));
}

}  // namespace
}  // namespace tunova::server
