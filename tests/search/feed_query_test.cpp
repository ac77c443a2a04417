// Query texts: the encoding pairs, the word's percent form and its length limit, suffixes.
#include <gtest/gtest.h>

#include "search/feed_query.h"

namespace tunova {
namespace {

std::string Encoded(std::string_view word) {
    return EncodeSearchWord(ApplyEncodingPairs(word));
}

TEST(EncodeSearchWord, SpacesBecomeSlashesAndHangulBecomesUtf8Percent) {
    EXPECT_EQ(Encoded("a b"), "a/b");
    EXPECT_EQ(Encoded("가"), "%EA%B0%80");
    EXPECT_EQ(Encoded("노래 mix"), "%EB%85%B8%EB%9E%98/mix");
}

TEST(EncodeSearchWord, OtherCharactersPassUnescaped) {
    EXPECT_EQ(Encoded("a&b"), "a&b");
    EXPECT_EQ(Encoded("c#+=?"), "c#+=?");
    EXPECT_EQ(Encoded("100%"), "100%");
}

TEST(EncodeSearchWord, PairsApplyOnlyWhileTheWordHoldsPercent25) {
    EXPECT_EQ(ApplyEncodingPairs("$x"), "$x");
    // '$' first becomes "%24"; pair 8 then turns every '%' into "%25".
    EXPECT_EQ(ApplyEncodingPairs("%25$"), "%2525%2524");
    EXPECT_EQ(ApplyEncodingPairs("%25a-b|c"), "%2525a%252Db%7Cc");
}

TEST(EncodeSearchWord, LongWordsAreCutAtAWholeCharacter) {
    // 40 syllables are 120 bytes of UTF-8: 33 of them (99 bytes) are kept.
    std::string word;
    for (int i = 0; i < 40; ++i) {
        word += "가";
    }
    std::string expected;
    for (int i = 0; i < 33; ++i) {
        expected += "%EA%B0%80";
    }
    EXPECT_EQ(EncodeSearchWord(word), expected);
    // 98 ASCII bytes and a syllable: the syllable would not fit whole, so it is dropped.
    EXPECT_EQ(EncodeSearchWord(std::string(98, 'a') + "가"), std::string(98, 'a'));
    EXPECT_EQ(EncodeSearchWord(std::string(500, 'a')), std::string(99, 'a'));
}

TEST(FeedQueries, TextsAreExact) {
    EXPECT_EQ(FirstPageQuery("a/b", CountrySuffix(3)),
              "feeds/api/videos/-/Music?vq=a/b&orderby=relevance&max-results=30&start-index=1"
              "&lr=ja");
    EXPECT_EQ(NextPageQuery("a", 4530, ""),
              "feeds/api/videos/-/Music?q=a&orderby=relevance&max-results=30&start-index=4530");
    EXPECT_EQ(NextPageQuery("a", 31, "&lr=ko"),
              "feeds/api/videos/-/Music?q=a&orderby=relevance&max-results=30&start-index=31&lr=ko");
}

TEST(FeedQueries, CountrySuffixes) {
    EXPECT_EQ(CountrySuffix(0), "");
    EXPECT_EQ(CountrySuffix(1), "&lr=ko");
    EXPECT_EQ(CountrySuffix(2), "&lr=en");
    EXPECT_EQ(CountrySuffix(3), "&lr=ja");
    EXPECT_EQ(CountrySuffix(4), "&lr=zh");
    EXPECT_EQ(CountrySuffix(5), "");
    EXPECT_EQ(CountrySuffix(-1), "");
}

}  // namespace
}  // namespace tunova
