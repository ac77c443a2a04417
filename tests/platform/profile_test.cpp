// Profile reading: line ends, names, the first-match rule, values (quotes, '=', the 999-byte cut),
// numbers, missing files and byte-order marks. CP949 text is written as bytes here, since the
// platform tests are compiled as UTF-8.
#include "platform/core/profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

namespace plat {
namespace {

using namespace std::string_view_literals;

// "가" and "한" in CP949.
const std::string kGa = "\xB0\xA1";
const std::string kHan = "\xC7\xD1";

TEST(ProfileTest, EveryLineEndAndBlankLinesSeparateLines) {
    const Profile p(std::string_view("[A]\r\none=1\ntwo=2\rthree=3\r\n\r\n\n[B]\rfour=4"));
    EXPECT_EQ(p.String("A", "one"), "1");
    EXPECT_EQ(p.String("A", "two"), "2");
    EXPECT_EQ(p.String("A", "three"), "3");
    EXPECT_EQ(p.String("B", "four"), "4");
}

TEST(ProfileTest, NamesAreTrimmedAndCaseBlindAndTheFirstMatchWins) {
    const Profile p(
        std::string_view("  [ Setting ]  \r\n  Count  =  7 \r\ncount=8\r\n"
                         "[SETTING]\r\ncount=9\r\nother=x\r\n"));
    EXPECT_EQ(p.Int("setting", "COUNT", -1), 7);
    EXPECT_EQ(p.String("  SETTING", "count "), "7");
    // Only the first section of a name is searched: its key is missing, so the default.
    EXPECT_EQ(p.String("setting", "other", "none"), "none");
    EXPECT_TRUE(p.HasSection("sEtTiNg"));
    EXPECT_FALSE(p.HasSection("LIST1"));
}

TEST(ProfileTest, ValueSplitsAtTheFirstEqualsAndLosesOnePairOfQuotes) {
    const Profile p(
        std::string_view("[L]\r\nname=a=b==c\r\nq1=\"quoted\"\r\nq2='single'\r\n"
                         "q3=\"mixed'\r\nq4=\"\r\nq5=\"\"x\"\"\r\nbare\r\n"
                         "empty=\r\nnul=ab\0cd\r\n"sv));
    EXPECT_EQ(p.String("L", "name"), "a=b==c");
    EXPECT_EQ(p.String("L", "q1"), "quoted");
    EXPECT_EQ(p.String("L", "q2"), "single");
    EXPECT_EQ(p.String("L", "q3"), "\"mixed'");
    EXPECT_EQ(p.String("L", "q4"), "\"");
    EXPECT_EQ(p.String("L", "q5"), "\"x\"");
    EXPECT_EQ(p.String("L", "bare", "default"), "");
    EXPECT_EQ(p.String("L", "empty", "default"), "");
    EXPECT_EQ(p.String("L", "nul"), "ab");
}

TEST(ProfileTest, KeysBeforeAnySectionAndHeadersWithoutBracketAreNotSections) {
    const Profile p(std::string_view("count=5\r\n[open\r\n[S]\r\nk=v\r\n"));
    EXPECT_EQ(p.Int("", "count", -1), -1);
    EXPECT_FALSE(p.HasSection("open"));
    EXPECT_EQ(p.String("S", "k"), "v");
}

TEST(ProfileTest, ValuesAreCutTo999BytesNeverInsideATwoByteCharacter) {
    const std::string ascii(1500, 'x');
    std::string korean;
    while (korean.size() < 1200) {
        korean += kHan;
    }
    // 998 single bytes, then a two-byte character that would end at byte 1000.
    const std::string straddling = std::string(998, 'y') + kGa + "z";
    const Profile p("[S]\r\na=" + ascii + "\r\nk=" + korean + "\r\ns=" + straddling + "\r\n");
    EXPECT_EQ(p.String("S", "a"), ascii.substr(0, 999));
    EXPECT_EQ(p.String("S", "k"), korean.substr(0, 998));
    EXPECT_EQ(p.String("S", "s"), std::string(998, 'y'));
}

TEST(ProfileTest, NumbersReadLikeAtoi) {
    const Profile p(
        std::string_view("[N]\r\na=42\r\nb=12abc\r\nc=abc\r\nd= -15\r\ne=+3\r\n"
                         "f=99999999999\r\ng=-99999999999\r\nh=\r\n"));
    EXPECT_EQ(p.Int("N", "a", -1), 42);
    EXPECT_EQ(p.Int("N", "b", -1), 12);
    EXPECT_EQ(p.Int("N", "c", -1), 0);
    EXPECT_EQ(p.Int("N", "d", -1), -15);
    EXPECT_EQ(p.Int("N", "e", -1), 3);
    EXPECT_EQ(p.Int("N", "f", -1), INT_MAX);
    EXPECT_EQ(p.Int("N", "g", -1), INT_MIN);
    EXPECT_EQ(p.Int("N", "h", -1), 0);
    EXPECT_EQ(p.Int("N", "missing", -1), -1);
    EXPECT_EQ(p.Int("missing", "a", 17), 17);
}

TEST(ProfileTest, ByteOrderMarksAreConvertedToCp949) {
    // "[S]\r\nname=한x" in UTF-16 LE (한 is U+D55C) after FF FE; an odd last byte is dropped.
    const std::string utf16("\xFF\xFE[\0S\0]\0\r\0\n\0n\0a\0m\0e\0=\0\x5C\xD5x\0\x01", 27);
    EXPECT_EQ(Profile(utf16).String("S", "name"), kHan + "x");
    const std::string utf8 = "\xEF\xBB\xBF[S]\r\nname=\xED\x95\x9C\r\n";
    EXPECT_EQ(Profile(utf8).String("S", "name"), kHan);
    // Without a mark the bytes are CP949 already.
    EXPECT_EQ(Profile("[S]\r\nname=" + kHan).String("S", "name"), kHan);
}

TEST(ProfileTest, MissingFileIsEmptyAndAnExistingFileIsReadOnce) {
    char folder[] = "/tmp/tunova-profile-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/list.ini";
    const Profile missing = Profile::FromFile(path);
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.Int("SETTING", "count", 0), 0);
    EXPECT_EQ(missing.String("SETTING", "count", "d"), "d");

    std::ofstream(path, std::ios::binary) << "[SETTING]\r\ncount=3\r\n";
    const Profile read = Profile::FromFile(path);
    // Once parsed, changes on disk do not show: the profile is a snapshot of one reading.
    std::ofstream(path, std::ios::binary) << "[SETTING]\r\ncount=4\r\n";
    EXPECT_TRUE(read.Exists());
    EXPECT_EQ(read.ByteSize(), 20u);
    EXPECT_EQ(read.Int("SETTING", "count", 0), 3);
    std::remove(path.c_str());
    rmdir(folder);
}

}  // namespace
}  // namespace plat
