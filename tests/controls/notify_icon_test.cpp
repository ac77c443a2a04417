// The tray icon on the fake tray: its record, its menus and what each click sends the owner.
#include <gtest/gtest.h>

#include <vector>

#include "controls/notify_icon.h"
#include "platform/testing/testing.h"
#include "platform/window/window.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

class NotifyIconTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { res::RegisterSkinResources(); }
    void SetUp() override {
        ASSERT_TRUE(owner_.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 200, 100)));
        owner_.Messages().OnMessage(plat::kWmCommand, [this](plat::WParam w, plat::LParam) {
            commands_.push_back(plat::LowWord(w));
            return plat::LResult{0};
        });
        plat::testing::InterceptMenus([this](const plat::testing::TrackedMenu& menu) {
            menus_.push_back(menu);
            return menuChoice_;
        });
    }
    void TearDown() override { plat::testing::InterceptMenus(nullptr); }

    // Adds `icon` to the tray for the owner, which forwards the tray's callback to it.
    void AddIcon(CNotifyIcon& icon) {
        owner_.Messages().OnMessage(res::kWmTrayNotify, [&icon](plat::WParam w, plat::LParam l) {
            return icon.HandleIconMessage(w, l);
        });
        ASSERT_TRUE(icon.Create(&owner_));
        ASSERT_TRUE(icon.PrepareSecondRecord(&owner_));
    }

    plat::Window owner_;
    std::vector<int> commands_;
    std::vector<plat::testing::TrackedMenu> menus_;
    int menuChoice_ = 0;
};

TEST_F(NotifyIconTest, OneIconWithTheTipAndTheProgramIconUntilDestroyed) {
    plat::testing::FakeTray tray;
    {
        CNotifyIcon icon;
        ASSERT_TRUE(icon.Create(&owner_));
        EXPECT_TRUE(icon.PrepareSecondRecord(&owner_));
        ASSERT_EQ(tray.Icons().size(), 1u) << "the second record never enters the tray";
        EXPECT_EQ(tray.Icons()[0].id, 288);
        EXPECT_EQ(tray.Icons()[0].tip, "투노바");
        EXPECT_EQ(tray.Icons()[0].image, 0);
        EXPECT_FALSE(icon.SetIcon(4711)) << "no such icon resource";
        EXPECT_TRUE(icon.SetIcon(res::kIconMain));
        EXPECT_EQ(tray.Icons()[0].image, res::kIconMain);
        EXPECT_TRUE(icon.IsShown());
    }
    EXPECT_TRUE(tray.Icons().empty()) << "the icon leaves the tray with its object";
}

TEST_F(NotifyIconTest, NoIconWithoutATrayOrWithoutAnOwnerWindow) {
    {
        CNotifyIcon icon;
        EXPECT_FALSE(icon.Create(&owner_)) << "a headless desktop has no tray";
        EXPECT_FALSE(icon.IsShown());
        EXPECT_FALSE(icon.SetIcon(res::kIconMain));
        EXPECT_EQ(icon.HandleIconMessage(288, plat::kWmLButtonDblClk), 1);
    }
    plat::testing::FakeTray tray;
    plat::Window notCreated;
    CNotifyIcon icon;
    EXPECT_FALSE(icon.Create(&notCreated));
    EXPECT_FALSE(icon.Create(nullptr));
    EXPECT_TRUE(tray.Icons().empty());
}

TEST_F(NotifyIconTest, RightClickOpensTheTrayMenuAtThePointerWithItsFirstItemInBold) {
    plat::testing::FakeTray tray;
    CNotifyIcon icon;
    AddIcon(icon);
    menuChoice_ = 32791;  // quit
    ASSERT_TRUE(tray.Click(288, plat::kWmRButtonUp));
    ASSERT_EQ(menus_.size(), 1u);
    const auto& items = menus_[0].items;
    std::vector<int> ids;
    for (const auto& item : items) {
        ids.push_back(item.id);
    }
    EXPECT_EQ(ids, (std::vector<int>{32789, 0, 32790, 32794, 0, 32791}));
    EXPECT_EQ(items[0].text, "투노바 플레이어 열기");
    EXPECT_EQ(items[5].text, "프로그램 종료");
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].isDefault, i == 0) << i;
        EXPECT_TRUE(items[i].enabled) << i;
    }
    EXPECT_EQ(menus_[0].screen, plat::PointerPosition());
    EXPECT_EQ(commands_, (std::vector<int>{32791})) << "the choice goes to the owner";
}

TEST_F(NotifyIconTest, DoubleClickSendsTheOpenCommandOfTheDoubleClickMenu) {
    plat::testing::FakeTray tray;
    CNotifyIcon icon;
    AddIcon(icon);
    ASSERT_TRUE(tray.Click(288, plat::kWmLButtonDblClk));
    EXPECT_EQ(commands_, (std::vector<int>{32792}));
    EXPECT_TRUE(menus_.empty()) << "no menu shows for a double-click";
    // On a tray that reports double-clicks, a single left click does nothing.
    ASSERT_TRUE(tray.Click(288, plat::kWmLButtonUp));
    EXPECT_EQ(commands_.size(), 1u);
}

TEST_F(NotifyIconTest, ALeftClickOpensThePlayerWhereTheTrayNeverReportsDoubleClicks) {
    plat::testing::FakeTray tray(/*reportsDoubleClicks=*/false);
    CNotifyIcon icon;
    AddIcon(icon);
    ASSERT_TRUE(tray.Click(288, plat::kWmLButtonUp));
    EXPECT_EQ(commands_, (std::vector<int>{32792}));
}

TEST_F(NotifyIconTest, AnotherIdIsNotHandledAndOtherMouseMessagesDoNothing) {
    plat::testing::FakeTray tray;
    CNotifyIcon icon;
    AddIcon(icon);
    EXPECT_EQ(icon.HandleIconMessage(289, plat::kWmRButtonUp), 0);
    EXPECT_EQ(icon.HandleIconMessage(0, plat::kWmLButtonDblClk), 0);
    EXPECT_EQ(icon.HandleIconMessage(288, plat::kWmMouseMove), 1);
    EXPECT_EQ(icon.HandleIconMessage(288, plat::kWmRButtonDown), 1);
    EXPECT_TRUE(menus_.empty());
    EXPECT_TRUE(commands_.empty());
}

}  // namespace
}  // namespace tunova
