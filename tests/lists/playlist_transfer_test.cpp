// Import into and export from the playlist: the playlist's own add rules (duplicates, 500 rows,
// entry numbers, 499-byte titles), code-page conversion both ways, refused files, and the media
// addresses of exports.
#include <string>
#include <vector>

#include "lists/library_lookup.h"
#include "lists/playlist_transfer.h"
#include "platform/core/codepage.h"
#include "playlist_fixture.h"
#include "support/test_machine.h"

namespace tunova {
namespace {

using Strings = std::vector<std::string>;

class PlaylistTransferTest : public testing::PlaylistFixture {
  protected:
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = folder_.File(name);
        testing::WriteBytes(path, bytes);
        return path;
    }
    // Watch links need no library; nothing listens on port 1.
    TransferResult Import(const std::string& path) {
        LibraryLookup library(testing::TestMachine(), "127.0.0.1:1");
        return ImportFile(playlist_, path, library);
    }
};

TEST_F(PlaylistTransferTest, ImportAppendsUnderTheAddRulesOfResultRows) {
    ShowResults({testing::Result("하나", 10)});
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    // UTF-8 in the file; "하나" is already in the playlist, "둘" comes twice.
    const std::string path =
        WriteFile("in.m3u",
                  "#EXTM3U\n#EXTINF:1,\xED\x95\x98\xEB\x82\x98\nhttp://h/watch?v=1\n"
                  "#EXTINF:2,\xEB\x91\x98\nhttp://h/watch?v=2\n"
                  "#EXTINF:3,\xEB\x91\x98\nhttp://h/watch?v=3\n"
                  "#EXTINF:4,three\nhttp://h/watch?v=4\n");
    const TransferResult imported = Import(path);
    ASSERT_TRUE(imported) << imported.message;
    EXPECT_EQ(imported.added, 2);
    EXPECT_EQ(imported.duplicates, 2);
    EXPECT_EQ(imported.message, path + ": 2 entries added, 2 already in the playlist");
    EXPECT_EQ(Titles(), (Strings{"하나", "둘", "three"}));
    // Refused duplicates use up numbers, as they do for result rows.
    EXPECT_EQ(view_.ItemText(1, 0), "3");
    EXPECT_EQ(view_.ItemText(2, 0), "5");
    EXPECT_EQ(playlist_.Find(3)->link, "http://h/watch?v=2");
    EXPECT_EQ(playlist_.Find(3)->seconds, 2);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{2}));
}

TEST_F(PlaylistTransferTest, ImportCutsLongTitlesAndStopsAtAFullPlaylist) {
    std::string m3u = "#EXTM3U\n";
    // 300 Hangul syllables: 900 bytes of UTF-8, 600 of CP949, cut to 498 (never half a letter).
    std::string longTitle;
    for (int i = 0; i < 300; ++i) {
        longTitle += "\xEA\xB0\x80";
    }
    m3u += "#EXTINF:1," + longTitle + "\nhttp://h/watch?v=long\n";
    for (int i = 0; i < 520; ++i) {
        m3u += "#EXTINF:1,t" + std::to_string(i) + "\nhttp://h/watch?v=" + std::to_string(i) + "\n";
    }
    const TransferResult imported = Import(WriteFile("big.m3u", m3u));
    ASSERT_TRUE(imported) << imported.message;
    EXPECT_EQ(imported.added, 500);
    EXPECT_EQ(imported.overCapacity, 21);
    EXPECT_EQ(view_.ItemCount(), 500);
    const std::string cut = view_.ItemText(0, 1);
    EXPECT_EQ(cut.size(), 498u);
    EXPECT_EQ(plat::Cp949ToUtf8(cut), longTitle.substr(0, 249 * 3));
    EXPECT_EQ(UsedRecords(), 500);
}

TEST_F(PlaylistTransferTest, RefusedFilesChangeNothing) {
    ShowResults({testing::Result("a", 1)});
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    const int counter = playlist_.AddCounter();
    const std::vector<std::pair<std::string, std::string>> files = {
        {"bad.m3u",
         "#EXTM3U\nhttp://h/watch?v=ok\n/home/a\x7f"
         "b.mp4\n"},
        {"bad.xspf", "<playlist><trackList><track><location>http://h/</location>"},
        {"x.txt", "[SETTING]\r\ncount=1\r\n"},
        {"none.xspf", "<playlist><trackList/></playlist>"},
    };
    for (const auto& [name, bytes] : files) {
        const TransferResult imported = Import(WriteFile(name, bytes));
        EXPECT_FALSE(imported) << name;
        EXPECT_NE(imported.message.find("the playlist is unchanged"), std::string::npos)
            << imported.message;
    }
    EXPECT_EQ(Titles(), (Strings{"a"}));
    EXPECT_EQ(playlist_.AddCounter(), counter);
}

TEST_F(PlaylistTransferTest, ExportFollowsTheViewOrderAndTheSavedFile) {
    ShowResults({testing::Result("첫째", 61), testing::Result("second", 0)});
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    ASSERT_TRUE(playlist_.AddResult(1, results_, store_, AddVariant::kClick));
    Select({1});
    playlist_.MoveSelectedUp();
    const std::vector<plat::PlaylistTrack> expected = {
        {"second", "http://www.youtube.com/watch?v=second", 0},
        {"\xEC\xB2\xAB\xEC\xA7\xB8", plat::Cp949ToUtf8("http://www.youtube.com/watch?v=첫째"), 61},
    };
    EXPECT_EQ(TracksOf(playlist_), expected);

    const std::string listFile = folder_.File("playlist.ini");
    ASSERT_TRUE(playlist_.Save(listFile));
    EXPECT_EQ(TracksOfListFile(listFile), expected);
    EXPECT_TRUE(TracksOfListFile(folder_.File("missing.ini")).empty());

    // Watch links with a valid id go out as media addresses, the watch link kept as the page.
    const std::string out = folder_.File("out.xspf");
    const TransferResult exported = ExportTracks(expected, out, "music.lan:8080");
    ASSERT_TRUE(exported) << exported.message;
    EXPECT_EQ(exported.message, out + ": 2 entries written");
    std::vector<plat::PlaylistTrack> playable = expected;
    playable[0].link = "http://music.lan:8080/media/second";
    playable[0].page = expected[0].link;
    EXPECT_EQ(testing::ReadBytes(out), plat::WriteXspf(playable));
    EXPECT_FALSE(ExportTracks(expected, folder_.File("no-folder/out.m3u"), "h"));
}

}  // namespace
}  // namespace tunova
