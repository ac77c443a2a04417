// Modal dialogs, message boxes and popup menus, with the test interceptions.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/clock.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "platform/window/dialog.h"
#include "platform/window/menu.h"

namespace plat {
namespace {

class EndsAtOnce : public Dialog {
  public:
    EndsAtOnce() : Dialog(272, {200, 100}, "notice") {}
    int destroys = 0;

  protected:
    bool OnInitDialog() override {
        Messages().OnMessage(kWmDestroy, [this](WParam, LParam) { return LResult{++destroys}; });
        SendCommand(kIdCancel);  // closes itself, as every window of the program does
        return true;
    }
};

TEST(DialogTest, DialogEndedFromInitReturnsWithoutALoop) {
    EndsAtOnce dialog;
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_FALSE(dialog.IsModalRunning());
    EXPECT_FALSE(dialog.IsCreated());
    EXPECT_EQ(dialog.destroys, 1);
}

class EndsOnTimer : public Dialog {
  public:
    EndsOnTimer() : Dialog(281, {200, 100}) {}
    bool sawRunning = false;

  protected:
    bool OnInitDialog() override {
        Messages().OnTimer(1, [this] {
            sawRunning = IsModalRunning();
            SendCommand(kIdOk);
        });
        SetTimer(1, 10);
        return true;
    }
};

TEST(DialogTest, ModalLoopRunsUntilEndDialogAndDisablesTheOwner) {
    Window owner;
    ASSERT_TRUE(owner.Create(nullptr, 102, Rect::FromXYWH(0, 0, 300, 300)));
    bool ownerEnabledDuring = true;
    owner.Messages().OnMessage(kWmUser, [&](WParam, LParam) {
        ownerEnabledDuring = owner.IsEnabled();
        return LResult{0};
    });
    owner.PostMessage(kWmUser);
    EndsOnTimer dialog;
    EXPECT_EQ(dialog.DoModal(&owner), kIdOk);  // timers run on the system clock here
    EXPECT_TRUE(dialog.sawRunning);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(owner.IsEnabled());
}

TEST(DialogTest, MessageBoxesAreInterceptedWithTheirCp949Text) {
    std::vector<testing::ShownMessageBox> shown;
    testing::InterceptMessageBoxes([&](const testing::ShownMessageBox& box) {
        shown.push_back(box);
        return 7;
    });
    // CP949 caption "Tunova" in Korean letters.
    EXPECT_EQ(
        ShowMessageBox(nullptr, "text", "\xc5\xf5\xb3\xeb\xb9\xd9", kMbYesNo | kMbIconQuestion), 7);
    testing::InterceptMessageBoxes(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "\xc5\xf5\xb3\xeb\xb9\xd9");
    EXPECT_EQ(shown[0].flags, kMbYesNo | kMbIconQuestion);
}

TEST(MenuTest, TrackSendsTheChoiceToTheOwnerAndRefusesDisabledItems) {
    PopupMenu menu;
    menu.AppendItem(32799, "settings");
    menu.AppendSeparator();
    menu.AppendItem(32802, "exit");
    EXPECT_TRUE(menu.CheckItem(32799, true));
    EXPECT_TRUE(menu.SetDefaultItem(32802));
    EXPECT_FALSE(menu.CheckItem(1, true));
    EXPECT_FALSE(menu.SetDefaultItem(0));  // separators are not items
    ASSERT_NE(menu.FindItem(32799), nullptr);
    EXPECT_TRUE(menu.FindItem(32799)->checked);

    Window owner;
    ASSERT_TRUE(owner.Create(nullptr, 102, Rect::FromXYWH(0, 0, 100, 100)));
    std::vector<int> commands;
    owner.Messages().OnCommandRange(32700, 32899, [&](int id) { commands.push_back(id); });

    int choice = 32802;
    Point at;
    testing::InterceptMenus([&](const testing::TrackedMenu& tracked) {
        at = tracked.screen;
        EXPECT_EQ(tracked.items.size(), 3u);
        return choice;
    });
    EXPECT_EQ(menu.Track(&owner, {40, 50}), 32802);
    EXPECT_EQ(at, (Point{40, 50}));
    menu.EnableItem(32799, false);
    choice = 32799;
    EXPECT_EQ(menu.Track(&owner, {0, 0}), 0);
    choice = 0;
    EXPECT_EQ(menu.Track(&owner, {0, 0}), 0);
    testing::InterceptMenus(nullptr);
    EXPECT_EQ(commands, (std::vector<int>{32802}));
}

}  // namespace
}  // namespace plat

namespace plat {
namespace {

TEST(SystemMenuTest, AltSpaceShowsTheTopLevelSystemMenuAndSendsTheChoice) {
    Window top;
    ASSERT_TRUE(
        top.Create(nullptr, 0, Rect::FromXYWH(40, 30, 200, 120), kStylePopup | kStyleVisible));
    Window child;
    ASSERT_TRUE(child.Create(&top, 7, Rect::FromXYWH(5, 5, 50, 20)));
    std::vector<int> sysCommands;
    top.Messages().OnMessage(kWmSysCommand, [&](WParam w, LParam) {
        sysCommands.push_back(static_cast<int>(w));
        return LResult{0};
    });
    Point shownAt{-1, -1};
    testing::InterceptMenus([&](const testing::TrackedMenu& menu) {
        shownAt = menu.screen;
        return 16;
    });

    testing::PressAltKey(child, kVkSpace);
    EXPECT_TRUE(sysCommands.empty()) << "an empty system menu is not shown";

    top.SystemMenu().AppendSeparator();
    top.SystemMenu().AppendItem(16, "About");
    testing::PressAltKey(child, kVkSpace);
    testing::InterceptMenus(nullptr);
    ASSERT_EQ(sysCommands, std::vector<int>{16});
    EXPECT_EQ(shownAt, (Point{top.WindowRect().left, top.WindowRect().top}));
}

}  // namespace
}  // namespace plat
