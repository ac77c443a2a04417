// The code-page crossings the search depends on: feed answers (UTF-8 to CP949), the search
// word (CP949 to UTF-8) and wide text, with bad input substituted rather than lost or fatal.
#include <gtest/gtest.h>

#include "platform/core/codepage.h"
#include "support/feed_pages.h"

namespace {

using tunova::testing::Utf8;

TEST(Codepage, HangulRoundTrips) {
    EXPECT_EQ(plat::Utf8ToCp949(Utf8(u8"검색어 abc")), "검색어 abc");
    EXPECT_EQ(plat::Utf8ToCp949(Utf8(u8"검색")), "\xB0\xCB\xBB\xF6");
    EXPECT_EQ(plat::Cp949ToUtf8("가요"), Utf8(u8"가요"));
    EXPECT_EQ(plat::Cp949ToUtf16("가a"), u"\uAC00a");
    EXPECT_EQ(plat::Utf16ToCp949(u"\uAC00a"), "가a");
}

TEST(Codepage, WhatCp949CannotShowBecomesTheDefaultCharacter) {
    EXPECT_EQ(plat::Utf8ToCp949(Utf8(u8"a\U0001F600b\u00e9")), "a?b?");
    EXPECT_EQ(plat::Utf8ToCp949(Utf8(u8"\U0001F600"), '#'), "#");
    EXPECT_EQ(plat::Utf16ToCp949(u"\U0001F600x"), "?x");  // a surrogate pair is one character
}

TEST(Codepage, BadInputIsSubstitutedAndTheRestKept) {
    // Invalid UTF-8: one default character per bad byte, including a truncated tail.
    EXPECT_EQ(plat::Utf8ToCp949("a\xC3(b\xE2\x82"), "a?(b??");
    EXPECT_EQ(plat::Utf8ToCp949("\xED\xA0\x80x"), "???x");  // an encoded surrogate
    // Invalid CP949: a bad pair is one U+FFFD; a stray lead byte keeps the ASCII after it.
    EXPECT_EQ(plat::Cp949ToUtf8("\xFF"
                                "a"),
              Utf8(u8"\uFFFDa"));
    EXPECT_EQ(plat::Cp949ToUtf8("\xB0<b>"), Utf8(u8"\uFFFD<b>"));
    EXPECT_EQ(plat::Cp949ToUtf8("x\xB0"), Utf8(u8"x\uFFFD"));
    EXPECT_EQ(plat::Utf16ToCp949(u"\xD800x"), "?x");  // a lone surrogate
}

TEST(Codepage, LongTextsConvertWhole) {
    std::string utf8;
    for (int i = 0; i < 20000; ++i) {
        utf8 += Utf8(u8"가a");
    }
    const std::string cp949 = plat::Utf8ToCp949(utf8);
    EXPECT_EQ(cp949.size(), 60000u);
    EXPECT_EQ(plat::Cp949ToUtf8(cp949), utf8);
}

TEST(Codepage, LowerCaseLeavesDoubleByteCharactersAlone) {
    // 0xB0 0x41 is a double-byte character whose trail byte is the letter 'A'.
    EXPECT_EQ(plat::LowerCp949("AbC\xB0"
                               "AD"),
              "abc\xB0"
              "Ad");
    EXPECT_EQ(plat::LowerCp949("Z\xB0"), "z\xB0");
}

}  // namespace
