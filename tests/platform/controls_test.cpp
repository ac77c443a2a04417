// Standard controls: what each one tells its parent, and when it stays silent.
#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "platform/draw/draw.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"

namespace plat {
namespace {

struct Notice {
    int id;
    int code;
    friend bool operator==(const Notice&, const Notice&) = default;
};

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog_.Create(nullptr, 102, Rect::FromXYWH(0, 0, 400, 300)));
        dialog_.Messages().OnMessage(kWmCommand, [this](WParam w, LParam l) {
            commands_.push_back({LowWord(w), HighWord(w)});
            lastFrom_ = reinterpret_cast<Window*>(l);
            return LResult{0};
        });
        dialog_.Messages().OnMessage(kWmNotify, [this](WParam, LParam l) {
            const auto* header = reinterpret_cast<const NotifyHeader*>(l);
            notifies_.push_back({header->idFrom, header->code});
            if (header->code == kNmClick || header->code == kNmDblClk) {
                activated_.push_back(reinterpret_cast<const ItemActivate*>(l)->item);
            }
            if (header->code == kLvnItemChanged) {
                const auto* change = reinterpret_cast<const ListViewNotify*>(l);
                changes_.push_back({change->item, static_cast<int>(change->newState)});
            }
            if (header->code == kLvnBeginDrag) {
                drags_.push_back(reinterpret_cast<const ListViewNotify*>(l)->item);
            }
            return LResult{0};
        });
    }

    int CountOf(int code) const {
        int n = 0;
        for (const Notice& x : notifies_) {
            n += x.code == code ? 1 : 0;
        }
        return n;
    }

    Window dialog_;
    std::vector<Notice> commands_;
    std::vector<Notice> notifies_;
    std::vector<int> activated_;
    std::vector<Notice> changes_;  // item, new state
    std::vector<int> drags_;
    Window* lastFrom_ = nullptr;
};

TEST_F(ControlsTest, ButtonClickSendsCommandWithTheButton) {
    PushButton button;
    ASSERT_TRUE(button.Create(&dialog_, 1124, "Go", Rect::FromXYWH(10, 10, 60, 24)));
    EXPECT_EQ(button.Text(), "Go");
    testing::MouseClick(button, {5, 5});
    button.Click();
    EXPECT_EQ(commands_, (std::vector<Notice>{{1124, kBnClicked}, {1124, kBnClicked}}));
    EXPECT_EQ(lastFrom_, &button);
    button.Enable(false);
    button.Click();
    EXPECT_EQ(commands_.size(), 2u);
}

TEST_F(ControlsTest, EditReportsFocusAndUserEditsButNotProgramText) {
    EditBox edit;
    PushButton other;
    ASSERT_TRUE(edit.Create(&dialog_, 1125, Rect::FromXYWH(10, 40, 100, 20)));
    ASSERT_TRUE(other.Create(&dialog_, 1124, "x", Rect::FromXYWH(10, 70, 60, 24)));
    // "\xea\xb2\x80\xec\x83\x89" is UTF-8; the edit speaks CP949: "\xb0\xcb\xbb\xf6".
    edit.SetText("\xb0\xcb\xbb\xf6");
    EXPECT_EQ(edit.Text(), "\xb0\xcb\xbb\xf6");
    EXPECT_TRUE(commands_.empty());
    edit.SetFocus();
    testing::TypeText(edit, "a");
    other.SetFocus();
    EXPECT_EQ(edit.Text(),
              "\xb0\xcb\xbb\xf6"
              "a");
    EXPECT_EQ(commands_,
              (std::vector<Notice>{{1125, kEnSetFocus}, {1125, kEnChange}, {1125, kEnKillFocus}}));
}

TEST_F(ControlsTest, EditLimitCountsCp949Bytes) {
    EditBox edit;
    ASSERT_TRUE(edit.Create(&dialog_, 1125, Rect::FromXYWH(10, 40, 100, 20)));
    edit.SetLimitText(3);
    testing::TypeText(edit, "\xb0\xcb\xbb\xf6");  // two Korean characters, four bytes
    EXPECT_EQ(edit.Text(), "\xb0\xcb");
}

TEST_F(ControlsTest, ComboNotifiesOnlyForUserChoices) {
    ComboBox combo;
    ASSERT_TRUE(combo.Create(&dialog_, 1011, Rect::FromXYWH(10, 100, 100, 20)));
    EXPECT_EQ(combo.AddString("all"), 0);
    EXPECT_EQ(combo.AddString("\xc7\xd1\xb1\xb9"), 1);  // CP949 "Korea"
    EXPECT_EQ(combo.CurSel(), -1);
    EXPECT_TRUE(combo.SetItemHeight(1, 15));
    EXPECT_EQ(combo.ItemHeight(1), 15);
    EXPECT_FALSE(combo.SetItemHeight(5, 15));
    EXPECT_EQ(combo.ItemText(1), "\xc7\xd1\xb1\xb9");
    EXPECT_EQ(combo.ItemText(2), "");
    EXPECT_TRUE(combo.SetCurSel(0));
    EXPECT_FALSE(combo.SetCurSel(7));
    EXPECT_TRUE(commands_.empty());
    combo.SelectByUser(1);
    EXPECT_EQ(combo.CurSel(), 1);
    EXPECT_EQ(commands_, (std::vector<Notice>{{1011, kCbnSelChange}}));
}

class ListViewTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        ASSERT_TRUE(list_.Create(&dialog_, 1000, Rect::FromXYWH(0, 0, 300, 200)));
        EXPECT_EQ(list_.InsertColumn(0, "No", kLvcfmtRight, 40), 0);
        EXPECT_EQ(list_.InsertColumn(1, "Title", kLvcfmtLeft, 200), 1);
        list_.SetRowHeight(20);
        for (int i = 0; i < 5; ++i) {
            list_.InsertItem(i, std::to_string(i + 1));
            list_.SetItemText(i, 1, "title " + std::to_string(i));
        }
        notifies_.clear();
        changes_.clear();
    }
    Point RowPoint(int row) const {
        const Rect r = list_.ItemRect(row);
        return {r.left + 50, r.top + r.Height() / 2};
    }
    ListView list_;
};

TEST_F(ListViewTest, ItemsColumnsDataAndInsertion) {
    EXPECT_EQ(list_.ItemCount(), 5);
    EXPECT_EQ(list_.ColumnWidth(1), 200);
    EXPECT_EQ(list_.InsertItem(99, "end"), 5);  // past the end appends
    EXPECT_EQ(list_.InsertItem(0, "first"), 0);
    EXPECT_EQ(list_.ItemText(1, 0), "1");
    EXPECT_EQ(list_.ItemText(1, 1), "title 0");
    EXPECT_EQ(list_.ItemText(1, 9), "");
    EXPECT_FALSE(list_.SetItemText(99, 0, "x"));
    EXPECT_TRUE(list_.SetItemData(2, 4242));
    EXPECT_EQ(list_.ItemData(2), 4242);
    // A column inserted in front moves the texts along.
    EXPECT_EQ(list_.InsertColumn(0, "", kLvcfmtLeft, 0), 0);
    EXPECT_EQ(list_.ItemText(1, 2), "title 0");
    EXPECT_EQ(list_.ItemText(1, 0), "");
    EXPECT_TRUE(list_.DeleteItem(0));
    EXPECT_FALSE(list_.DeleteItem(50));
    EXPECT_EQ(list_.ItemData(1), 4242);
    list_.DeleteAllItems();
    EXPECT_EQ(list_.ItemCount(), 0);
}

TEST_F(ListViewTest, StatesAndNextItem) {
    EXPECT_TRUE(list_.SetItemState(1, kLvisSelected, kLvisSelected));
    EXPECT_TRUE(list_.SetItemState(3, kLvisSelected | kLvisFocused, kLvisSelected | kLvisFocused));
    EXPECT_EQ(list_.SelectedCount(), 2);
    EXPECT_EQ(list_.NextItem(-1, kLvniSelected), 1);
    EXPECT_EQ(list_.NextItem(1, kLvniSelected), 3);
    EXPECT_EQ(list_.NextItem(3, kLvniSelected), -1);
    EXPECT_EQ(list_.NextItem(-1, kLvniFocused), 3);
    EXPECT_EQ(list_.NextItem(2, kLvniAll), 3);
    EXPECT_EQ(list_.ItemState(3, kLvisFocused), static_cast<std::uint32_t>(kLvisFocused));
    EXPECT_EQ(list_.ItemState(1, kLvisFocused), 0u);
    EXPECT_TRUE(changes_.size() >= 3u);  // programmatic changes are reported too
    EXPECT_TRUE(list_.SetItemState(-1, 0, kLvisSelected));
    EXPECT_EQ(list_.SelectedCount(), 0);
    EXPECT_FALSE(list_.SetItemState(9, kLvisSelected, kLvisSelected));
}

TEST_F(ListViewTest, ClicksDoubleClicksAndDragsReachTheParent) {
    dialog_.Show(true);
    ASSERT_EQ(list_.HitTest(RowPoint(2)), 2);
    int sub = -1;
    EXPECT_EQ(list_.HitTest(RowPoint(2), &sub), 2);
    EXPECT_EQ(sub, 1);
    testing::MouseClick(list_, RowPoint(2));
    EXPECT_EQ(activated_, (std::vector<int>{2}));
    EXPECT_EQ(list_.NextItem(-1, kLvniSelected), 2);
    EXPECT_EQ(changes_.back(), (Notice{2, kLvisSelected | kLvisFocused}));

    activated_.clear();
    testing::MouseDoubleClick(list_, RowPoint(4));
    EXPECT_EQ(activated_, (std::vector<int>{4, 4}));  // the click, then the double-click
    EXPECT_EQ(CountOf(kNmDblClk), 1);

    // Below the last row: the click is reported with no item.
    activated_.clear();
    testing::MouseClick(list_, {50, 190});
    EXPECT_EQ(activated_, (std::vector<int>{-1}));

    // Press on a selected row and move: one begin-drag, no click.
    list_.SetItemState(1, kLvisSelected, kLvisSelected);
    activated_.clear();
    testing::MouseDown(list_, RowPoint(1));
    testing::MouseMove(list_, {RowPoint(1).x + 30, RowPoint(1).y + 30}, 1);
    testing::MouseMove(list_, {RowPoint(1).x + 40, RowPoint(1).y + 40}, 1);
    testing::MouseUp(list_, {RowPoint(1).x + 40, RowPoint(1).y + 40});
    EXPECT_EQ(drags_, (std::vector<int>{1}));
    EXPECT_TRUE(activated_.empty());
}

TEST_F(ListViewTest, ItemPainterDrawsCells) {
    dialog_.Show(true);
    std::vector<std::pair<int, int>> painted;
    list_.SetItemPainter([&](DC& dc, const ListView::ItemPaint& p) {
        painted.emplace_back(p.item, p.subItem);
        dc.FillSolidRect(p.cell, Rgb(255, 0, 0));
    });
    list_.UpdateNow();
    Application::ProcessEvents();
    EXPECT_FALSE(painted.empty());
}

}  // namespace
}  // namespace plat
