// Adding results to the playlist, entry numbers, deleting and moving rows.
#include <string>
#include <vector>

#include "platform/window/window.h"
#include "playlist_fixture.h"

namespace tunova {
namespace {

using Strings = std::vector<std::string>;

class PlaylistEditTest : public testing::PlaylistFixture {
  protected:
    // A playlist of `titles` added by the add column, in order.
    void AddAll(const Strings& titles) {
        std::vector<VideoItem> items;
        for (const std::string& t : titles) {
            items.push_back(testing::Result(t, 60));
        }
        ShowResults(items);
        for (int row = 0; row < static_cast<int>(titles.size()); ++row) {
            ASSERT_TRUE(playlist_.AddResult(row, results_, store_, AddVariant::kClick));
        }
    }
};

TEST_F(PlaylistEditTest, AddTakesTheResultIntoANewLastRowAndItsRecord) {
    ShowResults({testing::Result("하나", 225), testing::Result("둘", 61)});
    ASSERT_TRUE(playlist_.AddResult(1, results_, store_, AddVariant::kClick));
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kDrop));

    EXPECT_EQ(Titles(), (Strings{"둘", "하나"}));
    EXPECT_EQ(view_.ItemText(0, 0), "1");
    EXPECT_EQ(view_.ItemText(1, 0), "2");
    EXPECT_EQ(view_.ItemText(0, 2), "");
    const PlaylistEntry* first = playlist_.Find(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->title, "둘");
    EXPECT_EQ(first->link, "http://www.youtube.com/watch?v=둘");
    EXPECT_EQ(first->updated, "2009-01-01T00:00:00.000Z");
    EXPECT_EQ(first->content, "about 둘");
    EXPECT_EQ(first->seconds, 61);
    // Only the new row is selected and focused; the drop leaves the focus on the playlist.
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1}));
    EXPECT_EQ(view_.NextItem(-1, plat::kLvniFocused), 1);
    EXPECT_EQ(plat::Window::Focused(), &view_);

    ShowResults({testing::Result("셋")});
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    EXPECT_EQ(plat::Window::Focused(), &results_);  // the click gives it back to the results
}

TEST_F(PlaylistEditTest, DropAddsEverySelectedResultInListOrder) {
    ShowResults(
        {testing::Result("a"), testing::Result("b"), testing::Result("c"), testing::Result("d")});
    ASSERT_TRUE(playlist_.AddResult(2, results_, store_, AddVariant::kClick));
    for (int row : {3, 0, 2}) {
        results_.SetItemState(row, plat::kLvisSelected, plat::kLvisSelected);
    }
    EXPECT_EQ(playlist_.AddSelectedResults(results_, store_), 2);  // "c" is there already
    EXPECT_EQ(Titles(), (Strings{"c", "a", "d"}));
    EXPECT_EQ(playlist_.AddCounter(), 4);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{2}));
    EXPECT_EQ(plat::Window::Focused(), &view_);
}

TEST_F(PlaylistEditTest, DuplicateAndEmptyTitlesAreRefusedButUseUpANumber) {
    ShowResults({testing::Result("a"), testing::Result(""), testing::Result("b")});
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    EXPECT_FALSE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    EXPECT_FALSE(playlist_.AddResult(1, results_, store_, AddVariant::kClick));  // empty title
    EXPECT_FALSE(playlist_.AddResult(7, results_, store_, AddVariant::kClick));  // no such row
    EXPECT_EQ(playlist_.AddCounter(), 4);
    ASSERT_TRUE(playlist_.AddResult(2, results_, store_, AddVariant::kClick));
    EXPECT_EQ(view_.ItemText(1, 0), "5");
    EXPECT_EQ(Titles(), (Strings{"a", "b"}));
    EXPECT_EQ(UsedRecords(), 2);
}

TEST_F(PlaylistEditTest, ARowWhoseStoreIndexDisagreesIsFoundByTitle) {
    ShowResults({testing::Result("x", 1), testing::Result("y", 2)});
    // The list shows "y" in row 0 while the store holds "x" there (rows moved after a fill).
    results_.SetItemText(0, 1, "y");
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    EXPECT_EQ(playlist_.Find(1)->seconds, 2);
    // A title that no result has adds nothing.
    results_.SetItemText(0, 1, "z");
    EXPECT_FALSE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    EXPECT_EQ(view_.ItemCount(), 1);
}

TEST_F(PlaylistEditTest, FullPlaylistRefusesWithoutUsingANumber) {
    std::string file = "[SETTING]\r\ncount=500\r\n\r\n";
    for (int i = 1; i <= 500; ++i) {
        file += "[LIST" + std::to_string(i) + "]\r\nname=t" + std::to_string(i) + "\r\n\r\n";
    }
    testing::WriteBytes(folder_.File("playlist.ini"), file);
    playlist_.Load(folder_.File("playlist.ini"));
    ASSERT_EQ(view_.ItemCount(), 500);
    ShowResults({testing::Result("new")});
    EXPECT_FALSE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    EXPECT_EQ(playlist_.AddCounter(), 0);
    EXPECT_EQ(view_.ItemCount(), 500);
    EXPECT_EQ(UsedRecords(), 500);
}

TEST_F(PlaylistEditTest, TheCounterSkipsNumbersOfLoadedEntriesSoDeleteFreesTheRightOne) {
    testing::WriteBytes(folder_.File("playlist.ini"),
                        "[SETTING]\r\ncount=2\r\n[LIST1]\r\nname=old1\r\n[LIST2]\r\nname=old2\r\n");
    playlist_.Load(folder_.File("playlist.ini"));
    EXPECT_EQ(playlist_.EntryNumberAt(0), 5000);
    EXPECT_EQ(playlist_.EntryNumberAt(1), 5001);
    ShowResults({testing::Result("old1"), testing::Result("new")});
    // 4,999 refused attempts (duplicates) bring the counter to 4999.
    for (int i = 0; i < 4999; ++i) {
        ASSERT_FALSE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    }
    ASSERT_TRUE(playlist_.AddResult(1, results_, store_, AddVariant::kClick));
    EXPECT_EQ(playlist_.EntryNumberAt(2), 5002);  // 5000 and 5001 are taken
    Select({2});
    playlist_.RemoveSelected();
    EXPECT_EQ(Titles(), (Strings{"old1", "old2"}));
    EXPECT_EQ(playlist_.Find(5000)->title, "old1");
    EXPECT_EQ(playlist_.Find(5001)->title, "old2");
    EXPECT_EQ(UsedRecords(), 2);
}

TEST_F(PlaylistEditTest, DeleteRemovesTheSelectedRowsAndFreesTheirRecords) {
    AddAll({"a", "b", "c", "d", "e"});
    Select({1, 3, 4});
    playlist_.RemoveSelected();
    EXPECT_EQ(Titles(), (Strings{"a", "c"}));
    EXPECT_EQ(playlist_.RowOf(1), 0);
    EXPECT_EQ(playlist_.RowOf(3), 1);
    EXPECT_EQ(playlist_.RowOf(2), -1);
    EXPECT_EQ(playlist_.Find(2), nullptr);
    EXPECT_EQ(playlist_.Find(5), nullptr);
    EXPECT_EQ(UsedRecords(), 2);
    // A freed record takes the next entry again; its title may be added anew.
    ShowResults({testing::Result("b")});
    ASSERT_TRUE(playlist_.AddResult(0, results_, store_, AddVariant::kClick));
    EXPECT_EQ(Titles(), (Strings{"a", "c", "b"}));
}

TEST_F(PlaylistEditTest, ThePlayingMarkFollowsTheEntryNotThePosition) {
    AddAll({"a", "b", "c"});
    Select({2});
    playlist_.MoveSelectedUp();  // "c" (entry 3) now in row 1
    EXPECT_EQ(playlist_.MarkPlaying(3), 1);
    EXPECT_EQ(playlist_.PlayingTitle(), "c");
    EXPECT_EQ(view_.HighlightTitle(), "c");
    // A number no row shows leaves the mark where it was.
    EXPECT_EQ(playlist_.MarkPlaying(42), -1);
    EXPECT_EQ(playlist_.MarkPlaying(0), -1);
    EXPECT_EQ(playlist_.PlayingTitle(), "c");
    playlist_.ClearPlayingMark();
    EXPECT_EQ(view_.HighlightTitle(), kNoPlayingItem);
    EXPECT_EQ(playlist_.RowOf(3), 1);
    // The play command's row: the first selected one, whose number leads to its entry.
    Select({2, 1});
    ASSERT_EQ(playlist_.FirstSelectedRow(), 1);
    EXPECT_EQ(playlist_.Find(playlist_.EntryNumberAt(1))->title, "c");
    Select({});
    EXPECT_EQ(playlist_.FirstSelectedRow(), -1);
}

TEST_F(PlaylistEditTest, MoveExamples) {
    AddAll({"a", "b", "c", "d", "e"});
    // A block at the top cannot move up.
    Select({0, 1});
    playlist_.MoveSelectedUp();
    EXPECT_EQ(Titles(), (Strings{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1}));
    // Rows 1 and 3 move down to 2 and 4, taking their selection along.
    Select({1, 3});
    playlist_.MoveSelectedDown();
    EXPECT_EQ(Titles(), (Strings{"a", "c", "b", "e", "d"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{2, 4}));
    // Now a selected row stands at the bottom: it stays, the other one moves.
    playlist_.MoveSelectedDown();
    EXPECT_EQ(Titles(), (Strings{"a", "c", "e", "b", "d"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{3, 4}));
    playlist_.MoveSelectedDown();  // the block at the bottom stays
    EXPECT_EQ(Titles(), (Strings{"a", "c", "e", "b", "d"}));
    // Each row moves one place per command; entry numbers move with their rows.
    Select({4});
    playlist_.MoveSelectedUp();
    playlist_.MoveSelectedUp();
    EXPECT_EQ(Titles(), (Strings{"a", "c", "d", "e", "b"}));
    EXPECT_EQ(playlist_.Find(playlist_.EntryNumberAt(2))->title, "d");
    // The focus stayed with "e", the row added last.
    EXPECT_EQ(view_.ItemText(view_.NextItem(-1, plat::kLvniFocused), 1), "e");
    EXPECT_EQ(plat::Window::Focused(), &view_);
}

TEST_F(PlaylistEditTest, FocusMovesWithItsRowAndASingleRowNeverMoves) {
    AddAll({"a", "b", "c"});
    Select({2});
    view_.SetItemState(2, plat::kLvisFocused, plat::kLvisFocused);
    playlist_.MoveSelectedUp();
    EXPECT_EQ(view_.NextItem(-1, plat::kLvniFocused), 1);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1}));

    Select({0, 1});
    playlist_.RemoveSelected();
    ASSERT_EQ(view_.ItemCount(), 1);
    Select({0});
    playlist_.MoveSelectedDown();
    playlist_.MoveSelectedUp();
    EXPECT_EQ(Titles(), (Strings{"b"}));
}

TEST_F(PlaylistEditTest, MoreThanAHundredSelectedRowsAllMove) {
    std::string file = "[SETTING]\r\ncount=300\r\n";
    for (int i = 1; i <= 300; ++i) {
        file += "[LIST" + std::to_string(i) + "]\r\nname=" + std::to_string(i) + "\r\n";
    }
    testing::WriteBytes(folder_.File("playlist.ini"), file);
    playlist_.Load(folder_.File("playlist.ini"));
    // Every odd row (150 of them) moves up one place.
    for (int row = 1; row < 300; row += 2) {
        view_.SetItemState(row, plat::kLvisSelected, plat::kLvisSelected);
    }
    playlist_.MoveSelectedUp();
    for (int row = 0; row < 300; row += 2) {
        ASSERT_EQ(view_.ItemText(row, 1), std::to_string(row + 2)) << row;
        ASSERT_EQ(view_.ItemText(row + 1, 1), std::to_string(row + 1)) << row;
        ASSERT_NE(view_.ItemState(row, plat::kLvisSelected), 0u) << row;
    }
    EXPECT_EQ(view_.SelectedCount(), 150);
}

}  // namespace
}  // namespace tunova
