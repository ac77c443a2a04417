// Playlist files dropped from the desktop onto the playlist of the real main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/core/files.h"
#include "platform/testing/testing.h"
#include "support/test_paths.h"

namespace tunova::testing {
namespace {

using PlaylistDropTest = MainWindowTest;

std::string Golden(const std::string& name) {
    return tunova::testing::TestsSource() + "/platform/data/" + name;
}

TEST_F(PlaylistDropTest, DroppedPlaylistFilesAreImportedAndBrokenOrPartlyKnownOnesGetAMessage) {
    const std::string broken = TestHome() + "/broken.xspf";
    ASSERT_TRUE(plat::ReplaceFile(broken, "<playlist><trackList><track>"));
    RunShown([&](CTunovaDlg& d) {
        plat::ListView& view = d.PlaylistView();
        const plat::Point middle{view.ClientRect().Width() / 2, view.ClientRect().Height() / 2};
        ASSERT_TRUE(plat::testing::DropFiles(view, {Golden("playlist_golden.xspf")}, middle));
        ASSERT_EQ(view.ItemCount(), 3);
        EXPECT_EQ(view.ItemText(2, 1), "빅뱅 - 거짓말 (Live) <2008>");
        const Playlist& playlist = d.PlaylistEntries();
        const PlaylistEntry* first = playlist.Find(playlist.EntryNumberAt(0));
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->link, "http://127.0.0.1:8080/watch?v=abc123&feature=youtube_gdata");
        EXPECT_EQ(first->seconds, 215);
        EXPECT_TRUE(boxes.empty());

        // A broken file and a file already imported: one message, nothing added.
        ASSERT_TRUE(
            plat::testing::DropFiles(view, {broken, Golden("playlist_golden.m3u")}, middle));
        EXPECT_EQ(view.ItemCount(), 3);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.rfind("재생목록 파일을 가져오지 못했습니다.\n" + broken + ": ", 0),
                  0u)
            << boxes[0].text;
        EXPECT_NE(boxes[0].text.find("the playlist is unchanged"), std::string::npos);

        // Another player's list whose file the library does not hold: added as far as it goes,
        // and the box names what was skipped.
        const std::string foreign = TestHome() + "/foreign.m3u";
        ASSERT_TRUE(plat::ReplaceFile(foreign,
                                      "#EXTM3U\n/home/me/Videos/unknown.mp4\n"
                                      "http://127.0.0.1:8080/watch?v=new1\n"));
        ASSERT_TRUE(plat::testing::DropFiles(view, {foreign}, middle));
        EXPECT_EQ(view.ItemCount(), 4);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].text, "재생목록 파일의 일부 항목을 찾지 못했습니다.\n" + foreign +
                                     ": 1 entry added, 1 skipped (not in the library): "
                                     "\"unknown.mp4\"");

        // Drags that carry no local file are not taken.
        EXPECT_FALSE(plat::testing::DropFiles(view, {}, middle));
    });
}

}  // namespace
}  // namespace tunova::testing
