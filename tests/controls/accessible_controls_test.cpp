// The skinned controls as assistive technology reads them through the toolkit: role, name,
// state and value, and the press and value requests a screen reader or switch device makes.
#include <gtest/gtest.h>

#include "controls/skin_button.h"
#include "controls/skin_list.h"
#include "controls/skin_slider.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

using plat::Rect;

class AccessibleControlsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { res::RegisterSkinResources(); }
    void SetUp() override {
        ASSERT_TRUE(dialog_.Create(nullptr, 0, Rect::FromXYWH(0, 0, 500, 300)));
        dialog_.Messages().OnMessage(plat::kWmCommand, [this](plat::WParam w, plat::LParam) {
            clicks_.push_back(plat::LowWord(w));
            return plat::LResult{0};
        });
        dialog_.Messages().OnMessage(res::kWmSliderReleased, [this](plat::WParam, plat::LParam l) {
            released_.push_back(static_cast<int>(l));
            return plat::LResult{0};
        });
        dialog_.Show(true);
    }

    plat::Window dialog_;
    std::vector<int> clicks_;
    std::vector<int> released_;
};

TEST_F(AccessibleControlsTest, SkinButtonsAreNamedByTooltipAndPressLikeAClick) {
    CSkinButton play;
    ASSERT_TRUE(play.Create(&dialog_, 1126, "", Rect::FromXYWH(10, 10, 80, 30)));
    play.ApplySkin(155, 156, 157, 154);
    EXPECT_EQ(plat::testing::ReadAccessible(play).name, "");
    play.AttachTooltip("재생");
    plat::testing::AccessibleView view = plat::testing::ReadAccessible(play);
    EXPECT_EQ(view.role, "button");
    EXPECT_EQ(view.name, "재생");
    EXPECT_TRUE(view.focusable);
    EXPECT_FALSE(view.checkable);
    ASSERT_FALSE(view.actions.empty());
    EXPECT_EQ(view.actions.front(), "Press");
    plat::testing::PressAccessible(play);
    EXPECT_EQ(clicks_, std::vector<int>{1126});
    // A name set for the purpose wins over the tooltip; a disabled button is not pressed.
    play.SetAccessibleName("재생 시작");
    EXPECT_EQ(plat::testing::ReadAccessible(play).name, "재생 시작");
    play.Enable(false);
    EXPECT_TRUE(plat::testing::ReadAccessible(play).disabled);
    plat::testing::PressAccessible(play);
    EXPECT_EQ(clicks_.size(), 1u);
}

TEST_F(AccessibleControlsTest, RadioAndCheckButtonsReportTheirCheckAndToggleWhenPressed) {
    CSkinButton all, one, box;
    const std::uint32_t radio = plat::kStyleChild | plat::kStyleVisible | plat::kBsAutoRadioButton;
    ASSERT_TRUE(
        all.Create(&dialog_, 1005, "", Rect::FromXYWH(0, 0, 20, 20), radio | plat::kStyleGroup));
    ASSERT_TRUE(one.Create(&dialog_, 1006, "", Rect::FromXYWH(30, 0, 20, 20), radio));
    ASSERT_TRUE(box.Create(
        &dialog_, 1020, "", Rect::FromXYWH(60, 0, 20, 20),
        plat::kStyleChild | plat::kStyleVisible | plat::kBsAutoCheckBox | plat::kStyleGroup));
    all.SetCheck(true);
    plat::Application::ProcessEvents();  // the group's others hear of it by posted message
    EXPECT_EQ(plat::testing::ReadAccessible(all).role, "radio button");
    EXPECT_TRUE(plat::testing::ReadAccessible(all).checked);
    plat::testing::PressAccessible(one);
    plat::Application::ProcessEvents();
    EXPECT_TRUE(plat::testing::ReadAccessible(one).checked);
    EXPECT_FALSE(plat::testing::ReadAccessible(all).checked);

    const plat::testing::AccessibleView unchecked = plat::testing::ReadAccessible(box);
    EXPECT_EQ(unchecked.role, "check box");
    EXPECT_TRUE(unchecked.checkable);
    EXPECT_FALSE(unchecked.checked);
    plat::testing::PressAccessible(box);
    EXPECT_TRUE(plat::testing::ReadAccessible(box).checked);
    plat::testing::PressAccessible(box);
    EXPECT_FALSE(plat::testing::ReadAccessible(box).checked);
    EXPECT_EQ(clicks_, (std::vector<int>{1006, 1020, 1020}));
}

TEST_F(AccessibleControlsTest, SlidersReportTheirPositionAndMoveToANewValue) {
    CSkinSlider volume;
    ASSERT_TRUE(volume.Create(&dialog_, 1008, Rect::FromXYWH(7, 60, 10, 10)));
    ASSERT_TRUE(volume.SetChannelBitmaps(237, 238));
    volume.SetLimits(0, 100);
    volume.SetPosition(30);
    volume.SetAccessibleName("볼륨");
    plat::testing::AccessibleView view = plat::testing::ReadAccessible(volume);
    EXPECT_EQ(view.role, "slider");
    EXPECT_EQ(view.name, "볼륨");
    ASSERT_TRUE(view.hasValue);
    EXPECT_EQ(view.current, 30);
    EXPECT_EQ(view.minimum, 0);
    EXPECT_EQ(view.maximum, 100);
    plat::testing::SetAccessibleValue(volume, 250);  // clamped, as a drag past the end is
    plat::Application::ProcessEvents();
    EXPECT_EQ(volume.GetPosition(), 100);
    EXPECT_EQ(released_, std::vector<int>{100});
    volume.SetSliderEnabled(false);
    plat::testing::SetAccessibleValue(volume, 10);
    plat::Application::ProcessEvents();
    EXPECT_EQ(volume.GetPosition(), 100);
    EXPECT_EQ(released_.size(), 1u);
}

TEST_F(AccessibleControlsTest, ListRowsAreReadAsTheirShownColumnsOrAsTheListSays) {
    CSkinList list;
    ASSERT_TRUE(list.Create(&dialog_, 1000, Rect::FromXYWH(0, 100, 400, 150)));
    list.SetAccessibleName("검색 결과");
    list.InsertColumn(0, "No", plat::kLvcfmtCenter, 45);
    list.InsertColumn(1, "제목", plat::kLvcfmtLeft, 200);
    list.InsertColumn(2, "id", plat::kLvcfmtLeft, 0);  // hidden: not read
    list.InsertColumn(3, "재생시간", plat::kLvcfmtCenter, 90);
    list.InsertColumn(4, "담기", plat::kLvcfmtCenter, 60);  // a picture only
    for (const char* title : {"  봄날의 사랑 ", "Summer Love"}) {
        const int row = list.InsertItem(list.ItemCount(), std::to_string(list.ItemCount() + 1));
        list.SetItemText(row, 1, title);
        list.SetItemText(row, 2, "v1");
        list.SetItemText(row, 3, "03:25");
    }
    EXPECT_EQ(plat::testing::ReadAccessible(list).name, "검색 결과");
    EXPECT_EQ(plat::testing::ReadAccessibleRows(list),
              (std::vector<std::string>{"1, 봄날의 사랑, 03:25", "2, Summer Love, 03:25"}));
    // A list's own reader replaces the default, and is asked each time a row is read.
    list.SetRowReader(
        [&list](int row) { return "row " + std::to_string(row) + list.ItemText(row, 2); });
    list.DeleteItem(0);
    EXPECT_EQ(plat::testing::ReadAccessibleRows(list), std::vector<std::string>{"row 0v1"});
}

}  // namespace
}  // namespace tunova
