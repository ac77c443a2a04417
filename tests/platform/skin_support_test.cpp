// What the skinned controls stand on: regions from masks, windows hidden by an empty region,
// drawing origins and copies from another DC, the owner-drawn button's standard behaviour,
// the list view's header, scrolling, sorting and reflected notifications, and fonts.
#include <gtest/gtest.h>

#include <string>

#include "platform/controls/controls.h"
#include "platform/draw/draw.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"

namespace plat {
namespace {

constexpr ColorRef kWhite = Rgb(255, 255, 255);

Bitmap Filled(int w, int h, ColorRef c) {
    Bitmap b;
    EXPECT_TRUE(b.Create(w, h));
    DC(b).FillSolidRect({0, 0, w, h}, c);
    return b;
}

TEST(MaskRegionTest, RunsOfNonWhitePixelsRowByRow) {
    Bitmap mask = Filled(5, 3, kWhite);
    mask.SetPixel(4, 0, Rgb(0, 0, 0));  // a single pixel in the last column
    Region single = Region::FromMask(mask);
    EXPECT_EQ(single.Rects(), (std::vector<Rect>{{4, 0, 5, 1}}));

    // Any colour but pure white belongs to the shape; runs never join across rows.
    mask.SetPixel(1, 1, Rgb(254, 255, 255));
    mask.SetPixel(2, 1, Rgb(0, 0, 0));
    mask.SetPixel(0, 2, Rgb(10, 10, 10));
    mask.SetPixel(3, 2, Rgb(10, 10, 10));
    const Region shape = Region::FromMask(mask);
    EXPECT_TRUE(shape.Contains({1, 1}));
    EXPECT_TRUE(shape.Contains({2, 1}));
    EXPECT_FALSE(shape.Contains({3, 1}));
    EXPECT_FALSE(shape.Contains({1, 2}));
    EXPECT_TRUE(shape.Contains({3, 2}));
    EXPECT_TRUE(Region::FromMask(Filled(4, 4, kWhite)).IsEmpty());
    EXPECT_TRUE(Region::FromMask(Bitmap()).IsEmpty());
}

TEST(MaskRegionTest, EllipseKeepsItsCornersOut) {
    const Region ellipse = Region::FromEllipse({0, 0, 20, 10});
    EXPECT_TRUE(ellipse.Contains({10, 5}));
    EXPECT_FALSE(ellipse.Contains({0, 0}));
    EXPECT_FALSE(ellipse.Contains({19, 9}));
}

TEST(WindowRegionTest, ClicksOutsideTheShapeReachTheWindowBehind) {
    Window parent;
    ASSERT_TRUE(parent.Create(nullptr, 0, Rect::FromXYWH(0, 0, 100, 100)));
    Window child;
    ASSERT_TRUE(child.Create(&parent, 7, Rect::FromXYWH(10, 10, 20, 20)));
    std::vector<std::string> pressed;
    parent.Messages().OnMessage(kWmLButtonDown, [&](WParam, LParam) {
        pressed.push_back("parent");
        return LResult{0};
    });
    child.Messages().OnMessage(kWmLButtonDown, [&](WParam, LParam) {
        pressed.push_back("child");
        return LResult{0};
    });
    parent.Show(true);
    Region shape = Region::FromRect({0, 0, 10, 10});
    child.SetRegion(shape);
    testing::MouseDown(parent, {12, 12});
    testing::MouseUp(parent, {12, 12});
    testing::MouseDown(parent, {25, 25});  // inside the child's rectangle, outside its shape
    testing::MouseUp(parent, {25, 25});
    child.SetRegion(Region());  // an empty region hides all of it
    EXPECT_TRUE(child.HasRegion());
    testing::MouseDown(parent, {12, 12});
    testing::MouseUp(parent, {12, 12});
    EXPECT_EQ(pressed, (std::vector<std::string>{"child", "parent", "parent"}));
}

TEST(DrawOriginTest, AnAreaBufferDrawsInTheTargetsCoordinates) {
    Bitmap target = Filled(40, 30, Rgb(1, 2, 3));
    DC screen(target);
    screen.FillSolidRect({10, 10, 12, 12}, Rgb(200, 0, 0));

    Bitmap area;
    ASSERT_TRUE(area.CreateCompatible(screen, 20, 10));
    DC buffer(area);
    buffer.SetWindowOrigin({10, 10});
    EXPECT_EQ(buffer.ClipBox(), (Rect{10, 10, 30, 20}));
    // Copy what the target shows, draw on it in the target's coordinates, copy it back.
    buffer.BitBlt(10, 10, 20, 10, screen, 10, 10);
    EXPECT_EQ(area.Pixel(0, 0), Rgb(200, 0, 0));
    EXPECT_EQ(area.Pixel(19, 9), Rgb(1, 2, 3));
    buffer.FillSolidRect({28, 18, 30, 20}, Rgb(0, 0, 250));
    screen.BitBlt(10, 10, 20, 10, buffer, 10, 10);
    EXPECT_EQ(target.Pixel(29, 19), Rgb(0, 0, 250));
    EXPECT_EQ(target.Pixel(11, 11), Rgb(200, 0, 0));
    EXPECT_EQ(target.Pixel(30, 20), Rgb(1, 2, 3));
}

TEST(BitmapResourceTest, EncodedBytesDecodeWithTheirCompanion) {
    Bitmap one = Filled(3, 2, Rgb(9, 8, 7));
    Bitmap two = Filled(6, 4, Rgb(90, 80, 70));
    static std::vector<unsigned char> png1, png2, wrongSize;
    png1 = one.EncodePng();
    png2 = two.EncodePng();
    wrongSize = Filled(5, 5, kWhite).EncodePng();
    RegisterBitmapResourceData(5001, png1.data(), png1.size(), png2.data(), png2.size());
    RegisterBitmapResourceData(5002, png1.data(), png1.size(), wrongSize.data(), wrongSize.size());
    RegisterBitmapResourceData(5003, png1.data(), 10);  // cut short

    Bitmap loaded;
    ASSERT_TRUE(loaded.LoadResource(5001));
    EXPECT_EQ(loaded.Dimensions(), (Size{3, 2}));
    EXPECT_EQ(loaded.Pixel(2, 1), Rgb(9, 8, 7));
    EXPECT_EQ(loaded.HighDensity().Dimensions(), (Size{6, 4}));
    EXPECT_EQ(loaded.HighDensity().Pixel(5, 3), Rgb(90, 80, 70));
    ASSERT_TRUE(loaded.LoadResource(5002));
    EXPECT_TRUE(loaded.HighDensity().IsNull());  // not twice the size: not a companion
    EXPECT_FALSE(loaded.LoadResource(5003));
}

TEST(FontTest, AKoreanFontIsInstalled) {
    EXPECT_FALSE(KoreanFontFamily().empty());
}

// ---- Owner-drawn button ------------------------------------------------------------------

class ProbeButton : public OwnerDrawButton {
  public:
    std::vector<unsigned> drawnStates;

  protected:
    void DrawItem(DC& dc, const DrawItemInfo& info) override {
        drawnStates.push_back(info.state);
        dc.FillSolidRect(info.item, (info.state & kOdsSelected) ? Rgb(255, 0, 0) : Rgb(0, 0, 255));
    }
};

class OwnerDrawButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog_.Create(nullptr, 0, Rect::FromXYWH(0, 0, 200, 100)));
        dialog_.Messages().OnMessage(kWmCommand, [this](WParam w, LParam) {
            clicks_.push_back(LowWord(w));
            return LResult{0};
        });
        ASSERT_TRUE(button_.Create(&dialog_, 42, "", Rect::FromXYWH(10, 10, 40, 20)));
        dialog_.Show(true);
        Application::ProcessEvents();
    }
    Window dialog_;
    ProbeButton button_;
    std::vector<int> clicks_;
};

TEST_F(OwnerDrawButtonTest, PushedLookFollowsThePointerAndOnlyAReleaseInsideClicks) {
    testing::MouseDown(button_, {5, 5});
    EXPECT_EQ(button_.SendMessage(kBmGetState), LResult{kBstPushed});
    EXPECT_EQ(Window::Capture(), &button_);
    testing::MouseMove(button_, {100, 50}, 1);  // dragged out
    EXPECT_EQ(button_.SendMessage(kBmGetState), 0);
    testing::MouseMove(button_, {6, 6}, 1);  // and back in
    EXPECT_TRUE(button_.IsPushed());
    testing::MouseMove(button_, {100, 50}, 1);
    testing::MouseUp(button_, {100, 50});
    EXPECT_TRUE(clicks_.empty());
    EXPECT_EQ(Window::Capture(), nullptr);

    testing::MouseClick(button_, {5, 5});
    EXPECT_EQ(clicks_, (std::vector<int>{42}));
    testing::PressKey(button_, kVkSpace);
    EXPECT_EQ(clicks_, (std::vector<int>{42, 42}));

    button_.UpdateNow();
    ASSERT_FALSE(button_.drawnStates.empty());
    EXPECT_EQ(button_.drawnStates.back() & kOdsSelected, 0u);
}

TEST_F(OwnerDrawButtonTest, DisabledTakesNoInputAndDrawsDisabled) {
    button_.Enable(false);
    testing::MouseClick(button_, {5, 5});
    button_.Click();
    EXPECT_TRUE(clicks_.empty());
    button_.UpdateNow();
    ASSERT_FALSE(button_.drawnStates.empty());
    EXPECT_NE(button_.drawnStates.back() & kOdsDisabled, 0u);
}

TEST(GroupTest, GroupsRunFromOneGroupStyleToTheNext) {
    Window dialog;
    ASSERT_TRUE(dialog.Create(nullptr, 0, Rect::FromXYWH(0, 0, 10, 10)));
    Window a, b, c, d;
    a.Create(&dialog, 1, {}, kStyleChild | kStyleGroup);
    b.Create(&dialog, 2, {});
    c.Create(&dialog, 3, {});
    d.Create(&dialog, 4, {}, kStyleChild | kStyleGroup);
    EXPECT_EQ(a.NextGroupItem(), &b);
    EXPECT_EQ(c.NextGroupItem(), &a);
    EXPECT_EQ(a.NextGroupItem(true), &c);
    EXPECT_EQ(d.NextGroupItem(), &d);
}

// ---- List view ---------------------------------------------------------------------------

class ListSupportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog_.Create(nullptr, 0, Rect::FromXYWH(0, 0, 300, 200)));
        dialog_.Messages().OnMessage(kWmNotify, [this](WParam, LParam l) {
            const auto* header = reinterpret_cast<const NotifyHeader*>(l);
            parentCodes_.push_back(header->code);
            if (header->code == kLvnColumnClick) {
                columns_.push_back(reinterpret_cast<const ListViewNotify*>(l)->subItem);
            }
            return LResult{0};
        });
        ASSERT_TRUE(list_.Create(&dialog_, 1000, Rect::FromXYWH(0, 0, 300, 200)));
        list_.InsertColumn(0, "No", kLvcfmtCenter, 40);
        list_.InsertColumn(1, "title", kLvcfmtLeft, 200);
        list_.SetRowHeight(20);
        list_.SetHeaderHeight(18);
        list_.SetNativeScrollBarsVisible(false);
        dialog_.Show(true);
        Application::ProcessEvents();
    }
    void AddRows(int n) {
        for (int i = 0; i < n; ++i) {
            const int row = list_.InsertItem(list_.ItemCount(), std::to_string(i));
            list_.SetItemText(row, 1, "t" + std::to_string(i));
        }
    }
    Window dialog_;
    ListView list_;
    std::vector<int> parentCodes_;
    std::vector<int> columns_;
};

TEST_F(ListSupportTest, ScrollsByRowsWithoutNativeBars) {
    AddRows(5);
    EXPECT_EQ(list_.ScrollLimit(), 0);  // everything fits
    list_.SendMessage(kWmVScroll, kSbLineDown);
    EXPECT_EQ(list_.ScrollPosition(), 0);

    AddRows(95);
    const int page = list_.CountPerPage();
    EXPECT_EQ(page, (200 - 18) / 20);
    EXPECT_EQ(list_.ScrollLimit(), 100 - page);
    list_.SendMessage(kWmVScroll, kSbLineDown);
    EXPECT_EQ(list_.ScrollPosition(), 1);
    list_.SendMessage(kWmVScroll, kSbPageDown);
    EXPECT_EQ(list_.ScrollPosition(), 1 + page);
    list_.Scroll(20 * 3 + 19);  // whole rows only
    EXPECT_EQ(list_.ScrollPosition(), 4 + page);
    list_.Scroll(-20 * 1000);
    EXPECT_EQ(list_.ScrollPosition(), 0);
    list_.SendMessage(kWmVScroll, kSbBottom);
    EXPECT_EQ(list_.ScrollPosition(), list_.ScrollLimit());
}

// A skinned list reads its scroll range while it paints, to place its scroll bar's thumb. That
// read must not ask for another paint: an empty list (a new user's playlist) repainted itself
// without end and kept half a core busy.
TEST_F(ListSupportTest, ReadingTheScrollRangeWhilePaintingAsksForNoMorePainting) {
    list_.SetOwnerPainted(true);
    int paints = 0;
    list_.Messages().OnMessage(kWmPaint, [&](WParam, LParam) {
        ++paints;
        list_.ScrollLimit();
        list_.ScrollPosition();
        return LResult{0};
    });
    for (const int rows : {0, 3, 100, -1}) {
        if (rows < 0) {
            list_.DeleteAllItems();
        } else {
            AddRows(rows);
        }
        list_.Invalidate();
        list_.UpdateNow();
        Application::ProcessEvents();
        paints = 0;
        for (int round = 0; round < 20; ++round) {
            Application::ProcessEvents();
        }
        EXPECT_EQ(paints, 0) << "rows added: " << rows;
    }
    EXPECT_EQ(list_.ItemCount(), 0);
    EXPECT_EQ(list_.ScrollLimit(), 0);  // the range of the emptied list is still right
    EXPECT_EQ(list_.ScrollPosition(), 0);
}

TEST_F(ListSupportTest, SortingMovesWholeRowsAndKeepsSelection) {
    AddRows(4);
    list_.SetItemData(2, 77);
    list_.SetItemState(2, kLvisSelected, kLvisSelected);
    parentCodes_.clear();
    // Descending by the title column.
    std::vector<std::string> titles;
    for (int row = 0; row < 4; ++row) {
        titles.push_back(list_.ItemText(row, 1));
    }
    list_.SortItems([&](int a, int b) { return titles[a] > titles[b]; });
    EXPECT_EQ(list_.ItemText(0, 1), "t3");
    EXPECT_EQ(list_.ItemText(1, 0), "2");
    EXPECT_EQ(list_.ItemData(1), 77);
    EXPECT_EQ(list_.ItemState(1, kLvisSelected), kLvisSelected);
    EXPECT_EQ(list_.ItemState(0, kLvisSelected), 0u);
    EXPECT_TRUE(parentCodes_.empty());
}

TEST_F(ListSupportTest, ColumnClicksAndReflectedNotifications) {
    AddRows(2);
    list_.SendMessage(kWmNotify);  // nothing to route; must not crash
    const Rect heading = list_.HeaderItemRect(1);
    EXPECT_EQ(heading, (Rect{40, 0, 240, 18}));
    EXPECT_EQ(list_.ColumnOrder(1), 1);
    EXPECT_EQ(list_.HeaderHeight(), 18);

    std::vector<int> ownColumns;
    list_.Messages().OnReflectedNotify(kLvnItemChanged, [](const NotifyHeader&) { return 0; });
    testing::MouseClick(list_, {100, 18 + 25});  // row 1: click reaches the parent
    EXPECT_EQ(std::count(parentCodes_.begin(), parentCodes_.end(), kNmClick), 1);
    EXPECT_EQ(std::count(parentCodes_.begin(), parentCodes_.end(), kLvnItemChanged), 0);
}

TEST_F(ListSupportTest, OwnerPaintingDrawsCellsInClientCoordinates) {
    AddRows(3);
    std::vector<Rect> cells;
    list_.SetItemPainter([&](DC& dc, const ListView::ItemPaint& p) {
        if (p.item == 1 && p.subItem == 1) {
            cells.push_back(p.cell);
        }
        dc.FillSolidRect(p.cell, Rgb(0, 200, 0));
    });
    list_.SetOwnerPainted(true);
    list_.SetBackgroundColor(Rgb(0, 0, 0));
    list_.UpdateNow();
    Application::ProcessEvents();
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells.back(), (Rect{40, 38, 240, 58}));
    const Bitmap shown = testing::GrabWindow(list_);
    EXPECT_EQ(shown.Pixel(100, 45), Rgb(0, 200, 0));
    EXPECT_EQ(shown.Pixel(100, 190), Rgb(0, 0, 0));  // below the rows: the background
}

// A list marked and painted at once shows its rows there and then: a skinned list's hover
// picture follows the pointer through UpdateNow, not at some later turn of the event loop.
TEST_F(ListSupportTest, MarkedRowsArePaintedAtOnceOrByTheEventLoop) {
    AddRows(3);
    int paints = 0;
    list_.SetOwnerPainted(true);
    list_.Messages().OnMessage(kWmPaint, [&](WParam, LParam) {
        ++paints;
        return LResult{0};
    });
    Application::ProcessEvents();
    for (int round = 0; round < 3; ++round) {
        paints = 0;
        list_.Invalidate();
        list_.UpdateNow();
        EXPECT_EQ(paints, 1) << "the whole list, round " << round;
    }
    paints = 0;
    list_.InvalidateRect({40, 38, 240, 58});
    list_.UpdateNow();
    EXPECT_EQ(paints, 1) << "one row";
    paints = 0;
    list_.UpdateNow();
    EXPECT_EQ(paints, 1) << "nothing marked: the whole list, as any window";
    paints = 0;
    list_.InvalidateRect({40, 0, 240, 18});
    list_.UpdateNow();
    EXPECT_EQ(paints, 0) << "only the heading row marked: no row to paint";
    // Marked without UpdateNow: the event loop paints the rows.
    paints = 0;
    list_.Invalidate();
    for (int round = 0; round < 5 && paints == 0; ++round) {
        Application::ProcessEvents();
    }
    EXPECT_EQ(paints, 1);
}

}  // namespace
}  // namespace plat
