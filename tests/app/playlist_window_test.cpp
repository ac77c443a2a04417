// The playlist and the daily chart through the real main window: rows added by the add column
// and by dragging results onto the playlist, moved and deleted by their commands, saved when the
// window closes and found again by the next start; the chart shown at start-up, from the server
// on the first start of a day and from today50.ini on the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lists/daily_chart.h"
#include "lists/list_file.h"
#include "main_window_fixture.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/desktop/settings_store.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "platform/window/cursor.h"
#include "res/resource_ids.h"
#include "res/skin_bitmaps.h"
#include "search/feed_query.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

using Strings = std::vector<std::string>;

class PlaylistWindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        plat::DeleteFile(plat::DataFile(kPlaylistFileName));
        plat::DeleteFile(plat::DataFile(kChartFileName));
        plat::SettingsKey::Open(kChartDayKey).DeleteValue(kChartDayValue);
        UseHost(server.Host());  // before the window reads its hosts
        server.SetHandler([](const ServerRequest& request) {
            if (request.target.find("orderby=rating") != std::string::npos) {
                return ServerReply{ServerReply::Kind::kAnswer, 200,
                                   FeedXml(50, 1, NumberedEntries(101, 50))};
            }
            return ServerReply{ServerReply::Kind::kAnswer, 200, ResultsPage(30, 1, 30)};
        });
    }
    void TearDown() override {
        UseHost(kNoHost);
        MainWindowTest::TearDown();
    }

    static Strings Titles(const CSkinList& list) {
        Strings titles;
        for (int row = 0; row < list.ItemCount(); ++row) {
            titles.push_back(list.ItemText(row, 1));
        }
        return titles;
    }
    static void SearchFor(CTunovaDlg& d, const std::string& word) {
        d.SearchEdit().SetText(word);
        d.SendCommand(res::kIdcSearch);
        ASSERT_TRUE(PumpUntil([&] { return !d.Search().IsSearchRunning(); }, 10000));
    }
    // Moves the pointer onto result row `row`'s add picture and clicks it.
    static void ClickAddColumn(CSkinList& list, int row) {
        const plat::Rect rect = list.ItemRect(row);
        const int x = list.ColumnWidth(0) + list.ColumnWidth(1) + list.ColumnWidth(2) + 20;
        const plat::Point point{x, (rect.top + rect.bottom) / 2};
        plat::testing::MouseMove(list, point);
        plat::testing::MouseClick(list, point);
        plat::Application::ProcessEvents();
    }
    // Presses on result row `row` (which must be selected) and moves far enough to start a drag.
    static void StartDrag(CTunovaDlg& d, int row) {
        const plat::Rect rect = d.ResultList().ItemRect(row);
        const plat::Point press{rect.left + 60, (rect.top + rect.bottom) / 2};
        plat::testing::MouseDown(d.ResultList(), press);
        plat::testing::MouseMove(d.ResultList(), {press.x + 20, press.y + 15}, 1);
    }
    int ChartRequests() const {
        int count = 0;
        for (const ServerRequest& r : server.Requests()) {
            count += r.target == "/" + std::string(kChartQuery) ? 1 : 0;
        }
        return count;
    }
    // Feed requests other than the chart's: searches and pages.
    int PageRequests() const {
        int count = 0;
        for (const ServerRequest& r : server.Requests()) {
            count += r.target.starts_with("/feeds/") && r.target != "/" + std::string(kChartQuery);
        }
        return count;
    }

    LoopbackServer server;
};

TEST_F(PlaylistWindowTest, AddedDraggedMovedAndDeletedRowsComeBackAtTheNextStart) {
    RunShown([this](CTunovaDlg& d) {
        SearchFor(d, "song");
        ASSERT_EQ(d.ResultList().ItemCount(), 30);

        // The add column.
        ClickAddColumn(d.ResultList(), 0);
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 1"}));
        EXPECT_EQ(plat::Window::Focused(), &d.ResultList()) << "the click gives the focus back";

        // Rows 3 and 4 dragged onto the playlist: the drag cursor shows, both join in order.
        plat::testing::MouseClick(d.ResultList(), {60, d.ResultList().ItemRect(3).top + 3});
        d.ResultList().SetItemState(2, plat::kLvisSelected, plat::kLvisSelected);
        ASSERT_EQ(d.ResultList().SelectedCount(), 2);
        StartDrag(d, 3);
        ASSERT_TRUE(d.Search().IsDragging());
        plat::testing::MouseMove(d, {500, 80}, 1);
        EXPECT_EQ(plat::ProgramCursor(), plat::CursorShape::kSizeAll);
        plat::testing::MouseUp(d, {500, 80});
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 1", "Song 3", "Song 4"}));
        EXPECT_FALSE(d.Search().IsDragging());
        EXPECT_EQ(plat::Window::Capture(), nullptr);
        EXPECT_EQ(plat::ProgramCursor(), plat::CursorShape::kArrow);
        EXPECT_EQ(plat::Window::Focused(), &d.ResultList());

        // Released outside the playlist (just right of its drop area): nothing joins.
        d.ResultList().SetItemState(-1, 0, plat::kLvisSelected);
        d.ResultList().SetItemState(9, plat::kLvisSelected, plat::kLvisSelected);
        StartDrag(d, 9);
        ASSERT_TRUE(d.Search().IsDragging());
        plat::testing::MouseUp(d, {d.ClientRect().Width() - 20, 80});
        EXPECT_EQ(d.PlaylistView().ItemCount(), 3);
        EXPECT_EQ(plat::Window::Capture(), nullptr);

        // Move the last row up, then delete the first row with the Delete key.
        d.PlaylistView().SetItemState(-1, 0, plat::kLvisSelected);
        d.PlaylistView().SetItemState(2, plat::kLvisSelected, plat::kLvisSelected);
        d.SendCommand(res::kIdcMoveUp);
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 1", "Song 4", "Song 3"}));
        d.PlaylistView().SetItemState(-1, 0, plat::kLvisSelected);
        d.PlaylistView().SetItemState(0, plat::kLvisSelected, plat::kLvisSelected);
        plat::testing::PressKey(d.PlaylistView(), plat::kVkDelete);
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 4", "Song 3"}));
        d.PlaylistView().SetItemState(1, plat::kLvisSelected, plat::kLvisSelected);
        d.SendCommand(res::kIdcMoveDown);  // the last row stays
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 4", "Song 3"}));
    });
    std::string saved;
    ASSERT_TRUE(plat::ReadFile(plat::DataFile(kPlaylistFileName), saved));
    EXPECT_EQ(saved.rfind("[SETTING]\r\ncount=2\r\n\r\n[LIST1]\r\nname=Song 4\r\ntime=4\r\n", 0),
              0u);

    RunShown([](CTunovaDlg& d) {
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 4", "Song 3"}));
        EXPECT_EQ(d.PlaylistView().ItemText(0, 0), "5000");
        const PlaylistEntry* first = d.PlaylistEntries().Find(5000);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->seconds, 4);
        EXPECT_EQ(first->link, "http://www.youtube.com/watch?v=v4&amp;feature=youtube_gdata");
        // Emptied, the playlist leaves no file behind.
        d.PlaylistView().SetItemState(-1, plat::kLvisSelected, plat::kLvisSelected);
        d.SendCommand(res::kIdcDeleteEntries);
        EXPECT_EQ(d.PlaylistView().ItemCount(), 0);
    });
    EXPECT_FALSE(plat::FileExists(plat::DataFile(kPlaylistFileName)));
}

// The add column's picture shows with its key colour transparent, and clicking it adds the row
// without moving the list: the list neither scrolls sideways nor changes anything but the row.
TEST_F(PlaylistWindowTest, TheAddColumnShowsItsPictureAndAClickLeavesTheListInPlace) {
    res::RegisterSkinResources();
    plat::Bitmap picture;
    ASSERT_TRUE(picture.LoadResource(res::kBmpAddPicture));
    RunShown([&](CTunovaDlg& d) {
        SearchFor(d, "song");
        ASSERT_EQ(d.ResultList().ItemCount(), 30);
        d.ResultList().UpdateNow();
        const plat::Bitmap before = plat::testing::GrabWindow(d.ResultList());
        const int add = d.ResultList().HeaderItemRect(3).left;
        const plat::Rect row = d.ResultList().ItemRect(1);
        const int rowTop = row.top;
        int keyed = 0;
        int mismatches = 0;
        // The picture's lines that lie inside its row (it sits two pixels below the row's top).
        for (int y = 0; y < std::min(16, row.Height() - 2); ++y) {
            for (int x = 0; x < 92; ++x) {
                const plat::ColorRef pixel = picture.Pixel(x, y);
                keyed += pixel == res::kKeyMagenta ? 1 : 0;
                // Where the key colour is, the black of the row shows.
                const plat::ColorRef expected =
                    pixel == res::kKeyMagenta ? plat::Rgb(0, 0, 0) : pixel;
                mismatches += before.Pixel(add + 3 + x, rowTop + 2 + y) != expected ? 1 : 0;
            }
        }
        ASSERT_GT(keyed, 0) << "the picture has a key colour around its shape";
        EXPECT_EQ(mismatches, 0);
        int magenta = 0;
        for (int y = 0; y < before.Height(); ++y) {
            for (int x = 0; x < before.Width(); ++x) {
                magenta += before.Pixel(x, y) == res::kKeyMagenta ? 1 : 0;
            }
        }
        EXPECT_EQ(magenta, 0) << "the key colour shows nowhere in the list";

        const plat::Rect firstRow = d.ResultList().ItemRect(0);
        const plat::Rect addHeader = d.ResultList().HeaderItemRect(3);
        ClickAddColumn(d.ResultList(), 0);
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 1"}));
        EXPECT_EQ(d.ResultList().ItemRect(0), firstRow) << "no sideways scroll";
        EXPECT_EQ(d.ResultList().HeaderItemRect(3), addHeader);
        // The header and the rows below the clicked one show exactly as before.
        d.ResultList().UpdateNow();
        const plat::Bitmap after = plat::testing::GrabWindow(d.ResultList());
        int moved = 0;
        for (int y :
             {5, 10, d.ResultList().ItemRect(5).top + 8, d.ResultList().ItemRect(9).top + 8}) {
            for (int x = 0; x < before.Width(); ++x) {
                moved += after.Pixel(x, y) != before.Pixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(moved, 0);
    });
}

// Adding past the playlist's visible rows scrolls the newest row fully into view, as the window
// shows it. Its rows are as tall as the playlist's 16-pixel row images, whatever the font, so a
// title drawn 4 pixels below a row's top is not cut off at its bottom.
TEST_F(PlaylistWindowTest, AddingPastTheVisibleRowsShowsTheNewestRowWhole) {
    RunShown([&](CTunovaDlg& d) {
        SearchFor(d, "song");
        const int visible = d.PlaylistView().CountPerPage();
        ASSERT_LT(visible + 3, 30);
        for (int row = 0; row < visible + 3; ++row) {
            d.ResultList().EnsureVisible(row);
            ClickAddColumn(d.ResultList(), row);
            const int newest = d.PlaylistView().ItemCount() - 1;
            ASSERT_EQ(newest, row);
            const plat::Rect rect = d.PlaylistView().ItemRect(newest);
            EXPECT_GE(rect.Height(), 16) << row;
            EXPECT_GE(rect.top, d.PlaylistView().HeaderHeight()) << row;
            EXPECT_LE(rect.bottom, d.PlaylistView().ClientRect().bottom) << row;
            // The selected row's last line, right of its title, in a picture of the whole window.
            d.UpdateNow();
            const plat::Bitmap shown = plat::testing::GrabWindow(d);
            const plat::Point last = d.ScreenToClient(
                d.PlaylistView().ClientToScreen({rect.right - 20, rect.bottom - 1}));
            EXPECT_EQ(shown.Pixel(last.x, last.y), plat::Rgb(42, 46, 57)) << row;
        }
    });
}

TEST_F(PlaylistWindowTest, ADoubleClickAddsWhenTheSettingSaysSo) {
    RunShown([](CTunovaDlg& d) {
        SearchFor(d, "song");
        ASSERT_EQ(d.ResultList().ItemCount(), 30);
        d.Search().SetDoubleClickAdds(true);
        const plat::Rect rect = d.ResultList().ItemRect(4);
        const plat::Point title{rect.left + 60, (rect.top + rect.bottom) / 2};
        plat::testing::MouseMove(d.ResultList(), title);
        plat::testing::MouseDoubleClick(d.ResultList(), title);
        plat::Application::ProcessEvents();
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 5"}));
        EXPECT_EQ(d.PlaylistView().ItemText(0, 0), "1");
        EXPECT_EQ(plat::Window::Focused(), &d.ResultList());
        // The same result again: refused as a duplicate.
        plat::testing::MouseDoubleClick(d.ResultList(), title);
        plat::Application::ProcessEvents();
        EXPECT_EQ(d.PlaylistView().ItemCount(), 1);
    });
}

TEST_F(PlaylistWindowTest, FirstStartOfADayShowsTheDownloadedChartTheNextTheCachedOne) {
    ASSERT_TRUE(plat::ReplaceFile(plat::DataFile(kChartFileName),
                                  "[SETTING]\r\ncount=1\r\n[LIST1]\r\nname=Yesterday\r\n"));
    ASSERT_TRUE(plat::SettingsKey::Open(kChartDayKey).WriteString(kChartDayValue, "261207"));
    RunShown([this](CTunovaDlg& d) {
        EXPECT_EQ(ChartRequests(), 1);
        ASSERT_EQ(d.ResultList().ItemCount(), 50);
        EXPECT_EQ(d.ResultList().ItemText(0, 0), "1");
        EXPECT_EQ(d.ResultList().ItemText(0, 1), "Song 101");
        EXPECT_EQ(d.ResultList().ItemText(49, 2), "02:30");
        EXPECT_EQ(d.Search().ResultCountText(), "50");
        // A chart row joins the playlist like a search result.
        ClickAddColumn(d.ResultList(), 1);
        EXPECT_EQ(Titles(d.PlaylistView()), (Strings{"Song 102"}));
        // Scrolled to its end, the chart asks for no further page.
        d.ResultList().EnsureVisible(49);
        clock.Advance(res::kTimerPaging.periodMs * 3);
        plat::Application::ProcessEvents();
        EXPECT_EQ(PageRequests(), 0);
        EXPECT_FALSE(d.Search().IsSearchRunning());
    });
    EXPECT_EQ(plat::SettingsKey::Open(kChartDayKey).ReadString(kChartDayValue), "261208");
    std::string cached;
    ASSERT_TRUE(plat::ReadFile(plat::DataFile(kChartFileName), cached));
    EXPECT_NE(cached.find("[LIST50]\r\nname=Song 150\r\n"), std::string::npos);

    RunShown([this](CTunovaDlg& d) {
        EXPECT_EQ(ChartRequests(), 1) << "the second start reads today50.ini";
        ASSERT_EQ(d.ResultList().ItemCount(), 50);
        EXPECT_EQ(d.ResultList().ItemText(49, 1), "Song 150");
        EXPECT_EQ(d.Search().ResultCountText(), "50");
    });
}

}  // namespace
}  // namespace tunova::testing
