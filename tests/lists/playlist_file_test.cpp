// playlist.ini: the exact bytes written, reading hand-written files, and the bounds and faults of
// reading.
#include <string>
#include <vector>

#include "platform/core/profile.h"

#include "playlist_fixture.h"

namespace tunova {
namespace {

using Strings = std::vector<std::string>;

class PlaylistFileTest : public testing::PlaylistFixture {
  protected:
    std::string Path() const { return folder_.File(kPlaylistFileName); }
    // Loads `bytes` as playlist.ini into the (empty) playlist.
    void LoadBytes(const std::string& bytes) {
        testing::WriteBytes(Path(), bytes);
        playlist_.Load(Path());
    }
};

// The Korean literals are compiled as CP949, so they are the very bytes of the file.
TEST_F(PlaylistFileTest, ThreeEntriesGiveExactlyTheseBytesInViewOrder) {
    ShowResults({testing::Result("사랑 = 노래", 225), testing::Result("Second", 0),
                 testing::Result("셋째", 3725)});
    for (int row = 0; row < 3; ++row) {
        ASSERT_TRUE(playlist_.AddResult(row, results_, store_, AddVariant::kClick));
    }
    EXPECT_EQ(
        playlist_.FileText(),
        "[SETTING]\r\ncount=3\r\n\r\n"
        "[LIST1]\r\nname=사랑 = 노래\r\ntime=225\r\nurl=http://www.youtube.com/watch?v=사랑 = "
        "노래\r\n\r\n"
        "[LIST2]\r\nname=Second\r\ntime=0\r\nurl=http://www.youtube.com/watch?v=Second\r\n\r\n"
        "[LIST3]\r\nname=셋째\r\ntime=3725\r\nurl=http://www.youtube.com/watch?v=셋째\r\n\r\n");
    Select({2});
    playlist_.MoveSelectedUp();
    const std::string moved = playlist_.FileText();
    EXPECT_LT(moved.find("[LIST2]\r\nname=셋째"), moved.find("[LIST3]\r\nname=Second"));
    EXPECT_NE(moved.find("[LIST3]\r\nname=Second"), std::string::npos);
}

TEST_F(PlaylistFileTest, HandWrittenCp949FilesReadWithEitherLineEnd) {
    for (const std::string eol : {"\r\n", "\n", "\r"}) {
        Playlist playlist;
        CSkinList view;
        ASSERT_TRUE(view.Create(&owner_, 0, plat::Rect::FromXYWH(0, 0, 100, 100)));
        playlist.Bind(view);
        playlist.SetupView();
        testing::WriteBytes(Path(), "[SETTING]" + eol + "count=2" + eol + eol + "[LIST1]" + eol +
                                        "name=가나다=라" + eol + "time=61" + eol +
                                        "url=http://a/watch?v=x" + eol + eol + "[LIST2]" + eol +
                                        "name=  둘째  " + eol + "time=abc" + eol + "url=" + eol);
        playlist.Load(Path());
        ASSERT_EQ(view.ItemCount(), 2);
        EXPECT_EQ(view.ItemText(0, 0), "5000");
        EXPECT_EQ(view.ItemText(0, 1), "가나다=라");
        EXPECT_EQ(view.ItemText(1, 0), "5001");
        EXPECT_EQ(view.ItemText(1, 1), "둘째");
        const PlaylistEntry* first = playlist.Find(5000);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->seconds, 61);
        EXPECT_EQ(first->link, "http://a/watch?v=x");
        EXPECT_EQ(first->updated, "");
        EXPECT_EQ(first->content, "");
        EXPECT_EQ(playlist.Find(5001)->seconds, 0);
        EXPECT_FALSE(playlist.HasPendingBackup());
    }
}

TEST_F(PlaylistFileTest, FilesWithAByteOrderMarkRead) {
    // UTF-8 with its mark: "[SETTING] count=1 [LIST1] name=노래" as an editor saves it.
    LoadBytes("\xEF\xBB\xBF[SETTING]\r\ncount=1\r\n[LIST1]\r\nname=\xEB\x85\xB8\xEB\x9E\x98\r\n");
    ASSERT_EQ(view_.ItemCount(), 1);
    EXPECT_EQ(view_.ItemText(0, 1), "노래");
    EXPECT_FALSE(playlist_.HasPendingBackup());

    // UTF-16 LE with its mark.
    std::string wide = "\xFF\xFE";
    for (char16_t c : u"[SETTING]\r\ncount=1\r\n[LIST1]\r\nname=\uB178\uB798\r\ntime=5\r\n") {
        if (c != 0) {
            wide += static_cast<char>(c & 0xFF);
            wide += static_cast<char>(c >> 8);
        }
    }
    Playlist second;
    CSkinList view;
    ASSERT_TRUE(view.Create(&owner_, 0, plat::Rect::FromXYWH(0, 0, 100, 100)));
    second.Bind(view);
    second.SetupView();
    testing::WriteBytes(Path(), wide);
    second.Load(Path());
    ASSERT_EQ(view.ItemCount(), 1);
    EXPECT_EQ(view.ItemText(0, 1), "노래");
    EXPECT_EQ(second.Find(5000)->seconds, 5);
}

TEST_F(PlaylistFileTest, AHugeCountReadsAtMost500RowsAndMissingSectionsAreEmptyRows) {
    LoadBytes("[SETTING]\r\ncount=2147483648\r\n[LIST2]\r\nname=two\r\nurl=u2\r\n");
    ASSERT_EQ(view_.ItemCount(), 500);
    EXPECT_EQ(view_.ItemText(0, 1), "");
    EXPECT_EQ(view_.ItemText(1, 1), "two");
    EXPECT_EQ(view_.ItemText(499, 0), "5499");
    EXPECT_EQ(playlist_.Find(5000)->link, "");
    EXPECT_EQ(playlist_.Find(5001)->link, "u2");
    EXPECT_EQ(UsedRecords(), 500);
}

TEST_F(PlaylistFileTest, ALineBreakInATitleCannotPlantAKey) {
    const std::string forged = "bad\r\nurl=http://evil/\r\n[LIST2]\nname=x\rtime=9";
    ShowResults({{forged, "http://real/", "", "", 7}});
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    const std::string text = playlist_.FileText();
    EXPECT_EQ(text.find("\nurl=http://evil/"), std::string::npos);
    EXPECT_EQ(text.find("\n[LIST2]"), std::string::npos);

    Playlist reread;
    CSkinList view;
    ASSERT_TRUE(view.Create(&owner_, 0, plat::Rect::FromXYWH(0, 0, 100, 100)));
    reread.Bind(view);
    reread.SetupView();
    testing::WriteBytes(Path(), text);
    reread.Load(Path());
    ASSERT_EQ(view.ItemCount(), 1);
    EXPECT_EQ(reread.Find(5000)->link, "http://real/");
    EXPECT_EQ(reread.Find(5000)->seconds, 7);
    EXPECT_EQ(reread.Find(5000)->title, "bad  url=http://evil/  [LIST2] name=x time=9");
}

TEST_F(PlaylistFileTest, AFileThatHoldsBytesButNoRowsIsKeptForItsBackup) {
    LoadBytes("[SETTING]\r\ncount=lots\r\n[LIST1]\r\nname=a\r\n");
    EXPECT_EQ(view_.ItemCount(), 0);
    EXPECT_TRUE(playlist_.HasPendingBackup());

    for (const std::string bytes : {"", "[SETTING]\r\ncount=1\r\n"}) {
        Playlist other;
        CSkinList view;
        ASSERT_TRUE(view.Create(&owner_, 0, plat::Rect::FromXYWH(0, 0, 100, 100)));
        other.Bind(view);
        other.SetupView();
        testing::WriteBytes(Path(), bytes);
        other.Load(Path());
        EXPECT_FALSE(other.HasPendingBackup()) << bytes;
    }
    Playlist missing;
    CSkinList view;
    ASSERT_TRUE(view.Create(&owner_, 0, plat::Rect::FromXYWH(0, 0, 100, 100)));
    missing.Bind(view);
    missing.Load(folder_.File("none.ini"));
    EXPECT_FALSE(missing.HasPendingBackup());
    EXPECT_EQ(view.ItemCount(), 0);
}

TEST(ListFileTest, WriterKeepsEveryByteButLineBreaksAndZeros) {
    using namespace std::string_literals;
    ListFileWriter writer(5);  // the count may exceed the sections written
    writer.Append("a\0b\rc\nd\r\ne\x80\xFF\"q\"'"s, -3, "=;[x]"s);
    EXPECT_EQ(writer.Text(),
              "[SETTING]\r\ncount=5\r\n\r\n[LIST1]\r\nname=a b c d  e\x80\xFF\"q\"'\r\ntime=-3\r\n"
              "url==;[x]\r\n\r\n"s);
    const plat::Profile file(writer.Text());
    EXPECT_EQ(ListFileCount(file), 5);
    const std::vector<ListFileRow> rows = ReadListFileRows(file, 3);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "a b c d  e\x80\xFF\"q\"'");
    EXPECT_EQ(rows[0].seconds, -3);
    EXPECT_EQ(rows[0].url, "=;[x]");
    EXPECT_EQ(rows[2].name, "");
}

// The reader drops one pair of surrounding quotes, so a value quoted at both ends is written
// inside one more pair and reads back as it was.
TEST(ListFileTest, QuotedTitlesReadBackUnchanged) {
    ListFileWriter writer(6);
    const std::vector<std::string> names = {"'Live'", "\"Live\"", "''", "\"", "'a\"", "\"'x'\""};
    for (const std::string& name : names) {
        writer.Append(name, 1, name);
    }
    EXPECT_NE(writer.Text().find("\r\nname=\"'Live'\"\r\n"), std::string::npos);
    EXPECT_NE(writer.Text().find("\r\nname='a\"\r\n"), std::string::npos) << "left as it is";
    const std::vector<ListFileRow> rows = ReadListFileRows(plat::Profile(writer.Text()), 10);
    ASSERT_EQ(rows.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(rows[i].name, names[i]);
        EXPECT_EQ(rows[i].url, names[i]);
    }
}

}  // namespace
}  // namespace tunova
