// The skinned list, its header and its scroll bar, on screen: cell backgrounds and pictures
// against the generated bitmaps, the empty-playlist notice, the hover picture, sorting with its
// arrows, and the scroll bar's thumb, paging and arrow repeat on the manual clock.
#include <gtest/gtest.h>

#include <string>

#include "controls/skin_list.h"
#include "platform/core/clock.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

using plat::Rect;
using plat::Rgb;

constexpr int kRowHeight = 20;
constexpr int kHeader = 18;

plat::Bitmap Resource(int id) {
    plat::Bitmap b;
    EXPECT_TRUE(b.LoadResource(id));
    return b;
}

class SkinListTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { res::RegisterSkinResources(); }
    void SetUp() override {
        plat::InstallClock(&clock_);
        ASSERT_TRUE(dialog_.Create(nullptr, 0, Rect::FromXYWH(0, 0, 800, 400)));
        dialog_.Messages().OnMessage(plat::kWmNotify, [this](plat::WParam, plat::LParam l) {
            parentCodes_.push_back(reinterpret_cast<const plat::NotifyHeader*>(l)->code);
            return plat::LResult{0};
        });
    }
    void TearDown() override { plat::InstallClock(nullptr); }

    // A result list of `rows` rows (item data on the first `withData` only), 45/527/90/98 wide.
    void MakeResults(int rows, int withData, int height = 300) {
        ASSERT_TRUE(list_.Create(&dialog_, 1000, Rect::FromXYWH(5, 10, 760, height)));
        list_.SetPaintMode(CSkinList::kResults);
        list_.InsertColumn(0, "No", plat::kLvcfmtCenter, 45);
        list_.InsertColumn(1, "제목", plat::kLvcfmtLeft, 527);
        list_.InsertColumn(2, "재생시간", plat::kLvcfmtCenter, 90);
        list_.InsertColumn(3, "담기", plat::kLvcfmtCenter, 98);
        list_.SetRowHeight(kRowHeight);
        addPicture_ = Resource(231);
        images_.Add(addPicture_, res::kKeyMagenta);
        list_.SetImageList(&images_);
        const char* titles[] = {"delta", "alpha", "charlie", "bravo", "echo"};
        for (int i = 0; i < rows; ++i) {
            const int row = list_.InsertItem(i, std::to_string(i + 1));
            if (i < withData) {
                list_.SetItemData(row, i);
            }
            list_.SetItemText(row, 1, i < 5 ? titles[i] : "title " + std::to_string(1000 + i));
            list_.SetItemText(row, 2, "03:00");
            list_.SetItemImage(row, 3, 0);
        }
        list_.AttachScrollBar();
        dialog_.Show(true);
        plat::Application::ProcessEvents();
    }

    plat::Bitmap Shown() {
        list_.UpdateNow();
        return plat::testing::GrabWindow(list_);
    }
    // Top of `row` in the list's client coordinates.
    static int RowTop(int row) { return kHeader + row * kRowHeight; }

    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (int row = 0; row < list_.ItemCount(); ++row) {
            titles.push_back(list_.ItemText(row, 1));
        }
        return titles;
    }

    plat::ManualClock clock_;
    plat::Window dialog_;
    CSkinList list_;
    plat::ImageList images_;
    plat::Bitmap addPicture_;
    std::vector<int> parentCodes_;
};

TEST_F(SkinListTest, CellBackgroundsAndAddPictures) {
    MakeResults(3, 3);
    list_.SetItemState(1, plat::kLvisSelected, plat::kLvisSelected);
    const plat::Bitmap shown = Shown();
    EXPECT_EQ(shown.Pixel(50, RowTop(0) + 2), Rgb(0, 0, 0));
    EXPECT_EQ(shown.Pixel(50, RowTop(1) + 2), Rgb(42, 46, 57));
    EXPECT_EQ(shown.Pixel(2, RowTop(1) + 2), Rgb(42, 46, 57));
    // The add column: the row's picture, and for the selected row picture 297, at +3, +2.
    const plat::Bitmap selected = Resource(297);
    const int add = 45 + 527 + 90;
    for (int x = 30; x < 60; ++x) {
        EXPECT_EQ(shown.Pixel(add + 3 + x, RowTop(0) + 2 + 8), addPicture_.Pixel(x, 8)) << x;
        EXPECT_EQ(shown.Pixel(add + 3 + x, RowTop(1) + 2 + 8), selected.Pixel(x, 8)) << x;
    }
    // Around the pictures the key colour is not drawn: the empty add cell of a selected row
    // stays black.
    EXPECT_EQ(shown.Pixel(add + 3 + 2, RowTop(1) + 2 + 8), Rgb(0, 0, 0));
    // Item changes stay with the list; the parent never hears of them.
    EXPECT_TRUE(std::find(parentCodes_.begin(), parentCodes_.end(), plat::kLvnItemChanged) ==
                parentCodes_.end());
}

TEST_F(SkinListTest, TheEmptyPlaylistShowsItsNoticeTheResultListNothing) {
    MakeResults(0, 0);
    const plat::Bitmap results = Shown();
    int lit = 0;
    for (int y = kHeader; y < 250; ++y) {
        for (int x = 0; x < 400; ++x) {
            lit += results.Pixel(x, y) != Rgb(0, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_EQ(lit, 0);
    list_.SetPaintMode(CSkinList::kPlaylist);
    const plat::Bitmap playlist = Shown();
    int firstLine = 0, secondLine = 0;
    for (int x = 70; x < 300; ++x) {
        for (int y = 35; y < 55; ++y) {
            firstLine += playlist.Pixel(x, y) != Rgb(0, 0, 0) ? 1 : 0;
            secondLine += playlist.Pixel(x, y + 30) != Rgb(0, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(firstLine, 50);
    EXPECT_GT(secondLine, 50);
}

TEST_F(SkinListTest, TheHoverPictureShowsOnlyOverTheAddColumn) {
    MakeResults(3, 3);
    const int add = 45 + 527 + 90;
    plat::testing::MouseMove(list_, {600, RowTop(1) + 5});  // column 2
    EXPECT_EQ(list_.HoverRow(), CSkinList::kNoHoverRow);
    EXPECT_TRUE(list_.PointerOffAddColumn());
    EXPECT_EQ(list_.Cursor(), plat::CursorShape::kArrow);
    const int before = list_.HoverPaints();
    plat::testing::MouseMove(list_, {add + 10, RowTop(1) + 5});  // column 3
    EXPECT_EQ(list_.HoverRow(), 1);
    EXPECT_EQ(list_.Cursor(), plat::CursorShape::kHand);
    EXPECT_EQ(list_.HoverPaints(), before + 1);
    plat::testing::MouseMove(list_, {add + 40, RowTop(1) + 9});  // same row: nothing new
    EXPECT_EQ(list_.HoverPaints(), before + 1);

    const plat::Bitmap hover = Resource(296);
    const plat::Bitmap shown = plat::testing::GrabWindow(list_);
    const int left = 760 - 96;
    for (int x = 30; x < 60; ++x) {
        EXPECT_EQ(shown.Pixel(left + x, RowTop(1) + 2 + 8), hover.Pixel(x, 8)) << x;
    }
    plat::testing::MouseMove(list_, {100, RowTop(2) + 5});
    EXPECT_EQ(list_.HoverRow(), CSkinList::kNoHoverRow);
}

// The picture belongs to the pointer: leaving the rows or refilling them takes it away.
TEST_F(SkinListTest, TheHoverPictureGoesWhenThePointerLeavesOrTheRowsAreRefilled) {
    MakeResults(3, 3);
    const int add = 45 + 527 + 90;
    const plat::Bitmap hover = Resource(296);
    auto pictureShownOn = [&](int row) {
        const plat::Bitmap shown = Shown();
        for (int x = 30; x < 60; ++x) {
            if (shown.Pixel(760 - 96 + x, RowTop(row) + 2 + 8) != hover.Pixel(x, 8)) {
                return false;
            }
        }
        return true;
    };
    plat::testing::MouseMove(list_, {add + 10, RowTop(1) + 5});
    ASSERT_TRUE(pictureShownOn(1));
    plat::testing::MouseLeave(list_);
    EXPECT_EQ(list_.HoverRow(), CSkinList::kNoHoverRow);
    EXPECT_TRUE(list_.PointerOffAddColumn());
    EXPECT_FALSE(pictureShownOn(1));

    plat::testing::MouseMove(list_, {add + 10, RowTop(2) + 5});
    ASSERT_TRUE(pictureShownOn(2));
    list_.DeleteAllItems();
    for (int i = 0; i < 3; ++i) {
        list_.SetItemImage(list_.InsertItem(i, std::to_string(i + 31)), 3, 0);
    }
    EXPECT_EQ(list_.HoverRow(), CSkinList::kNoHoverRow);
    EXPECT_FALSE(pictureShownOn(2));
}

TEST_F(SkinListTest, TitleHeadingSortsAscendingThenDescendingWithItsArrows) {
    // Rows 3 and 4 come from an appended page: they carry no item data.
    MakeResults(5, 3);
    const plat::Bitmap ascending = Resource(232);
    const plat::Bitmap descending = Resource(233);
    auto arrowShown = [&](const plat::Bitmap& arrow) {
        const plat::Bitmap header = plat::testing::GrabWindow(list_);
        const int x = 45 + 527 - 17;
        for (int y = 0; y < 12; ++y) {
            for (int dx = 0; dx < 11; ++dx) {
                if (header.Pixel(x + dx, 4 + y) != arrow.Pixel(dx, y)) {
                    return false;
                }
            }
        }
        return true;
    };
    list_.RedrawHeader();
    EXPECT_TRUE(arrowShown(ascending));

    plat::testing::MouseClick(list_, {20, 8});   // column 0: nothing
    plat::testing::MouseClick(list_, {700, 8});  // column 3: nothing
    EXPECT_EQ(Titles(), (std::vector<std::string>{"delta", "alpha", "charlie", "bravo", "echo"}));
    plat::testing::MouseClick(list_, {200, 8});
    EXPECT_EQ(Titles(), (std::vector<std::string>{"alpha", "bravo", "charlie", "delta", "echo"}));
    EXPECT_EQ(list_.ItemText(1, 0), "4");  // whole rows move
    list_.RedrawHeader();
    EXPECT_TRUE(arrowShown(descending));
    plat::testing::MouseClick(list_, {200, 8});
    EXPECT_EQ(Titles(), (std::vector<std::string>{"echo", "delta", "charlie", "bravo", "alpha"}));
    list_.RedrawHeader();
    EXPECT_TRUE(arrowShown(ascending));
    EXPECT_TRUE(std::find(parentCodes_.begin(), parentCodes_.end(), plat::kLvnColumnClick) ==
                parentCodes_.end());
}

TEST_F(SkinListTest, AShortListHasNoThumbButArrowsAndPagesStillScroll) {
    MakeResults(3, 3);
    CSkinScrollBar& bar = list_.ScrollBar();
    EXPECT_EQ(bar.WindowRect().left, list_.WindowRect().right);
    EXPECT_EQ(bar.ClientRect().Height(), 300);
    EXPECT_FALSE(bar.ThumbShown());
    EXPECT_EQ(bar.ThumbTop(), 32);
    plat::testing::MouseClick(bar, {6, 200});  // a page click on a list that fits
    EXPECT_EQ(list_.ScrollPosition(), 0);
    EXPECT_EQ(bar.ThumbTop(), 32);
}

TEST_F(SkinListTest, TheThumbFollowsTheListAndPagesScroll) {
    MakeResults(100, 100);
    CSkinScrollBar& bar = list_.ScrollBar();
    const int limit = list_.ScrollLimit();
    ASSERT_GT(limit, 0);
    EXPECT_TRUE(bar.ThumbShown());
    EXPECT_EQ(bar.ThumbTop(), 32);
    list_.SendMessage(plat::kWmVScroll, plat::kSbBottom);
    bar.UpdateThumb();
    EXPECT_EQ(bar.ThumbTop(), 300 - 45);  // clamped above the down arrow
    list_.SendMessage(plat::kWmVScroll, plat::kSbTop);
    bar.UpdateThumb();
    plat::testing::MouseClick(bar, {6, 200});  // below the thumb: a page down
    EXPECT_EQ(list_.ScrollPosition(), list_.CountPerPage());
    EXPECT_EQ(bar.ThumbTop(), static_cast<int>(225.0 / limit * list_.CountPerPage()) + 32);
    plat::testing::MouseClick(bar, {6, 40});  // above it: a page up
    EXPECT_EQ(list_.ScrollPosition(), 0);
}

TEST_F(SkinListTest, HoldingTheDownArrowRepeatsAfterThreeHundredMilliseconds) {
    MakeResults(100, 100);
    CSkinScrollBar& bar = list_.ScrollBar();
    const plat::Point downArrow{6, 300 - 7};
    plat::testing::MouseDown(bar, downArrow);
    clock_.Advance(250);
    EXPECT_EQ(list_.ScrollPosition(), 0);  // the delay ends, no line yet
    clock_.Advance(50);
    EXPECT_EQ(list_.ScrollPosition(), 1);  // first line at 300 ms
    clock_.Advance(100);
    EXPECT_EQ(list_.ScrollPosition(), 3);  // then one every 50 ms
    plat::testing::MouseUp(bar, downArrow);
    EXPECT_EQ(list_.ScrollPosition(), 4);  // and one more on release over the arrow
    clock_.Advance(500);
    EXPECT_EQ(list_.ScrollPosition(), 4);

    plat::testing::MouseDown(bar, {6, 25});  // the up arrow under the cap
    plat::testing::MouseUp(bar, {100, 25});  // released away from it: no line
    EXPECT_EQ(list_.ScrollPosition(), 4);

    // Another window taking the capture stops the repeat at once.
    plat::testing::MouseDown(bar, downArrow);
    clock_.Advance(350);
    EXPECT_EQ(list_.ScrollPosition(), 6);
    plat::Window other;
    ASSERT_TRUE(other.Create(&dialog_, 5, Rect::FromXYWH(0, 380, 20, 20)));
    other.SetCapture();
    clock_.Advance(500);
    EXPECT_EQ(list_.ScrollPosition(), 6);
    plat::Window::ReleaseCapture();
}

}  // namespace
}  // namespace tunova
