// Playlists of other players imported against a library on a loopback companion server, and
// exports that other players (mpv, VLC) play from it. UTF-8 source: the library's file names and
// the playlist files are UTF-8, the playlist's own titles CP949.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "lists/library_lookup.h"
#include "lists/playlist_transfer.h"
#include "lists/video_links.h"
#include "platform/core/codepage.h"
#include "playlist_fixture.h"
#include "support/companion_server.h"
#include "support/test_machine.h"
#include "support/test_paths.h"

namespace tunova {
namespace {

using testing::CompanionClip;
using testing::CompanionServer;

// An entry as the test compares it: UTF-8 title, video id, length.
struct Row {
    std::string title;
    std::string id;
    int seconds = 0;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << "{" << row.title << ", " << row.id << ", " << row.seconds << "}";
}

class PlaylistImportTest : public testing::PlaylistFixture {
  protected:
    // Clip i of the library; 3 and 4 share their title, 0, 1 and 7 take theirs from the file name.
    static void SetUpTestSuite() {
        server_ = new CompanionServer({
            {"Videos/IU - Good Day.webm", "", 1},
            {"Videos/first_love.webm", "", 1},
            {"music/track07.webm", "Lonely Night", 1},
            {"a/Twin.webm", "Twin", 1},
            {"b/Twin.webm", "Twin", 1},
            {"clip5.webm", "Served Clip", 1},
            {"clip6.webm", "Watched", 1},
            {"Korean/비 - 태양을 피하는 방법.webm", "", 2},
        });
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        PlaylistFixture::SetUp();
        ASSERT_TRUE(server_->Running()) << server_->Error();
        ASSERT_TRUE(server_->Error().empty()) << server_->Error();
    }

    std::string Id(int clip) const { return server_->VideoIds()[clip]; }

    // A file of tests/lists/data with the server's host and clip ids filled in.
    std::string DataFile(const std::string& name) {
        std::string text = testing::ReadBytes(tunova::testing::SuiteData() + "/" + name);
        const auto fill = [&](const std::string& mark, const std::string& value) {
            for (std::size_t at = text.find(mark); at != std::string::npos;
                 at = text.find(mark, at + value.size())) {
                text.replace(at, mark.size(), value);
            }
        };
        fill("@HOST@", server_->Host());
        for (int clip = 0; clip < 8; ++clip) {
            fill("@ID" + std::to_string(clip) + "@", Id(clip));
        }
        const std::string path = folder_.File(name);
        testing::WriteBytes(path, text);
        return path;
    }

    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        for (int row = 0; row < view_.ItemCount(); ++row) {
            const PlaylistEntry* entry = playlist_.Find(playlist_.EntryNumberAt(row));
            rows.push_back(
                {plat::Cp949ToUtf8(entry->title), WatchLinkVideoId(entry->link), entry->seconds});
        }
        return rows;
    }

    TransferResult Import(const std::string& path) {
        LibraryLookup library(testing::TestMachine(), server_->Host());
        return ImportFile(playlist_, path, library);
    }

    static CompanionServer* server_;
};

CompanionServer* PlaylistImportTest::server_ = nullptr;

TEST_F(PlaylistImportTest, VlcXspfKeepsWhatTheLibraryHoldsAndNamesTheRest) {
    const std::string path = DataFile("vlc_mixed.xspf");
    const TransferResult imported = Import(path);
    ASSERT_TRUE(imported) << imported.message;
    // Found by file name (whatever VLC took as the title), by title, by media address, and by a
    // Korean file name; the twin title and the unknown web link are skipped.
    // The library names "Artist - Title" files by their title.
    EXPECT_EQ(Rows(), (std::vector<Row>{{"Good Day", Id(0), 1},
                                        {"Lonely Night", Id(2), 1},
                                        {"Served Clip", Id(5), 1},
                                        {"태양을 피하는 방법", Id(7), 2}}));
    EXPECT_EQ(imported.skipped, 2);
    EXPECT_EQ(imported.message,
              path +
                  ": 4 entries added, 2 skipped (not in the library): \"Twin.webm\", "
                  "\"unknown.mp4\"");

    // Audacious's file:// addresses of the same videos: already there.
    const std::string again = DataFile("audacious.m3u");
    EXPECT_EQ(Import(again).message, again + ": 0 entries added, 2 already in the playlist");
}

TEST_F(PlaylistImportTest, ExtendedM3uWithLocalPathsWatchLinksAndMediaAddresses) {
    const std::string path = DataFile("vlc_local.m3u");
    const TransferResult imported = Import(path);
    ASSERT_TRUE(imported) << imported.message;
    // The media address of the watched video is the same entry as its watch link; a control
    // character in a skipped name is not printed.
    EXPECT_EQ(Rows(), (std::vector<Row>{{"first love", Id(1), 1}, {"Watched", Id(6), 1}}));
    EXPECT_EQ(playlist_.Find(playlist_.EntryNumberAt(1))->link,
              "http://" + server_->Host() + "/watch?v=" + Id(6) + "&feature=youtube_gdata");
    EXPECT_EQ(imported.message,
              path +
                  ": 2 entries added, 1 already in the playlist, 4 skipped (not in the "
                  "library): \"stream?[2J\", \"Twin.webm\", \"other.mkv\" and 1 more");
}

TEST_F(PlaylistImportTest, AnUnreachableLibrarySkipsTheLookupsAndSaysSo) {
    LibraryLookup library(testing::TestMachine(), "127.0.0.1:1");
    const std::string path = DataFile("vlc_local.m3u");
    const TransferResult imported = ImportFile(playlist_, path, library);
    ASSERT_TRUE(imported) << imported.message;
    // Watch links need no lookup; the media address is on another host than this library's.
    EXPECT_EQ(Rows(), (std::vector<Row>{{"Watched", Id(6), 1}}));
    EXPECT_EQ(imported.skipped, 6);
    EXPECT_FALSE(library.Reachable());
    EXPECT_TRUE(imported.message.ends_with("; the library did not answer at 127.0.0.1:1"))
        << imported.message;
}

// Runs `command` through the shell; its exit status and what it printed.
int RunShell(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(PlaylistImportTest, ExportsPlayInOtherPlayersAndComeBackAsTheSameEntries) {
    ASSERT_TRUE(Import(DataFile("vlc_mixed.xspf")));
    const std::vector<Row> before = Rows();
    const std::string m3u = folder_.File("out.m3u");
    const std::string xspf = folder_.File("out.xspf");
    for (const std::string& out : {m3u, xspf}) {
        ASSERT_TRUE(ExportTracks(TracksOf(playlist_), out, server_->Host()));
    }
    const std::string media = "http://" + server_->Host() + "/media/" + Id(0);
    EXPECT_NE(testing::ReadBytes(m3u).find("#TUNOVA-PAGE:http://" + server_->Host() +
                                           "/watch?v=" + Id(0)),
              std::string::npos);
    EXPECT_NE(testing::ReadBytes(xspf).find("<location>" + media + "</location>"),
              std::string::npos);

    // mpv plays the first entry's media from the M3U: the clip is opened and frames decoded.
    std::string output;
    EXPECT_EQ(
        RunShell("timeout -k 5 60 mpv --no-config --vo=null --ao=null --frames=5 " + m3u, output),
        0)
        << output;
    EXPECT_NE(output.find("Playing: " + media), std::string::npos) << output;
    EXPECT_NE(output.find("VO: [null] 96x54"), std::string::npos) << output;

    // mpv reads no XSPF; VLC plays the XSPF's first entry. VLC refuses to run as root, so there
    // it runs as nobody, with a home of its own in the (then readable) test folder.
    std::string vlc = "cvlc -I dummy -V dummy -A dummy --play-and-exit --stop-time=0.5 -vv ";
    if (geteuid() == 0) {
        const std::string home = folder_.File("vlc-home");
        ASSERT_EQ(mkdir(home.c_str(), 0777), 0);
        ASSERT_EQ(chmod(home.c_str(), 0777), 0);
        ASSERT_EQ(chmod(folder_.Path().c_str(), 0755), 0);
        vlc = "HOME=" + home + " setpriv --reuid=65534 --regid=65534 --clear-groups " + vlc;
    }
    EXPECT_EQ(RunShell("timeout -k 5 60 env " + vlc + xspf, output), 0) << output;
    EXPECT_NE(output.find("`" + media + "' successfully opened"), std::string::npos) << output;
    EXPECT_NE(output.find("using video decoder module"), std::string::npos) << output;

    // Back through our own import, each file gives the same entries.
    for (const std::string& out : {m3u, xspf}) {
        Select({0, 1, 2, 3});
        playlist_.RemoveSelected();
        const TransferResult imported = Import(out);
        EXPECT_EQ(imported.added, 4) << imported.message;
        EXPECT_EQ(Rows(), before) << out;
    }
}

}  // namespace
}  // namespace tunova
