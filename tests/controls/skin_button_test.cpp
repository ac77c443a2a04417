// The skin button against the generated bitmaps' own pixels: its looks, its shape, radio groups
// and the press that is dragged away.
#include <gtest/gtest.h>

#include "controls/skin_button.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

using plat::Rect;

class SkinButtonTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { res::RegisterSkinResources(); }
    void SetUp() override {
        ASSERT_TRUE(dialog_.Create(nullptr, 0, Rect::FromXYWH(0, 0, 300, 200)));
        dialog_.Messages().OnMessage(plat::kWmCommand, [this](plat::WParam w, plat::LParam) {
            clicks_.push_back(plat::LowWord(w));
            return plat::LResult{0};
        });
        dialog_.Show(true);
    }

    static plat::Bitmap Resource(int id) {
        plat::Bitmap b;
        EXPECT_TRUE(b.LoadResource(id));
        return b;
    }

    // Pixels inside the mask's shape that differ between the button on screen and `state`.
    static int Mismatches(CSkinButton& button, const plat::Bitmap& state,
                          const plat::Bitmap& mask) {
        button.UpdateNow();
        const plat::Bitmap shown = plat::testing::GrabWindow(button);
        int wrong = 0;
        for (int y = 0; y < mask.Height(); ++y) {
            for (int x = 0; x < mask.Width(); ++x) {
                if (mask.Pixel(x, y) != plat::Rgb(255, 255, 255) &&
                    shown.Pixel(x, y) != state.Pixel(x, y)) {
                    ++wrong;
                }
            }
        }
        return wrong;
    }

    plat::Window dialog_;
    std::vector<int> clicks_;
};

TEST_F(SkinButtonTest, NormalHoverAndPressedLooksAreTheBitmaps) {
    CSkinButton play;
    ASSERT_TRUE(play.Create(&dialog_, 1126, "", Rect::FromXYWH(10, 10, 80, 50)));
    play.ApplySkin(155, 156, 157, 154);
    EXPECT_EQ(play.ClientRect(), (Rect{0, 0, 52, 33}));  // the mask's size
    EXPECT_TRUE(play.HasRegion());
    plat::Application::ProcessEvents();
    const plat::Bitmap mask = Resource(154);
    EXPECT_EQ(Mismatches(play, Resource(155), mask), 0);
    plat::testing::MouseMove(play, {26, 16});
    EXPECT_TRUE(play.IsHovered());
    EXPECT_EQ(Mismatches(play, Resource(157), mask), 0);
    plat::testing::MouseLeave(play);
    EXPECT_EQ(Mismatches(play, Resource(155), mask), 0);
    plat::testing::MouseDown(play, {26, 16});
    EXPECT_EQ(Mismatches(play, Resource(156), mask), 0);
    plat::testing::MouseUp(play, {26, 16});
    EXPECT_EQ(clicks_, (std::vector<int>{1126}));
    play.Enable(false);  // disabled shows the normal bitmap
    EXPECT_EQ(Mismatches(play, Resource(155), mask), 0);
}

TEST_F(SkinButtonTest, TheMasksShapeDecidesWhereAClickLands) {
    CSkinButton close;
    ASSERT_TRUE(close.Create(&dialog_, 1119, "", Rect::FromXYWH(100, 100, 30, 30)));
    close.ApplySkin(202, 203, 204, 201);
    close.AttachTooltip("종료");
    EXPECT_EQ(close.Tooltip(), "종료");
    close.AttachTooltip("닫기");
    EXPECT_EQ(close.Tooltip(), "닫기");
    plat::Application::ProcessEvents();
    plat::testing::MouseClick(dialog_, {100, 100});  // the round button's white corner
    EXPECT_TRUE(clicks_.empty());
    plat::testing::MouseClick(dialog_, {107, 107});
    EXPECT_EQ(clicks_, (std::vector<int>{1119}));
}

TEST_F(SkinButtonTest, AMaskThatFailsToLoadLeavesShapeAndSize) {
    CSkinButton search;
    ASSERT_TRUE(search.Create(&dialog_, 1124, "", Rect::FromXYWH(0, 0, 46, 19)));
    search.ApplySkin(174, 175, 176, 0);
    EXPECT_FALSE(search.HasMask());
    search.ApplySkin(174, 175, 176, 4999);  // no such bitmap
    EXPECT_FALSE(search.HasMask());
    EXPECT_FALSE(search.HasRegion());
    EXPECT_EQ(search.ClientRect(), (Rect{0, 0, 46, 19}));
}

TEST_F(SkinButtonTest, RadioButtonsOfAGroupUncheckEachOther) {
    const std::uint32_t radio = plat::kStyleChild | plat::kStyleVisible | plat::kBsAutoRadioButton;
    CSkinButton all, one, random, push;
    all.Create(&dialog_, 1005, "", Rect::FromXYWH(0, 0, 33, 12), radio | plat::kStyleGroup);
    one.Create(&dialog_, 1006, "", Rect::FromXYWH(40, 0, 30, 12), radio);
    random.Create(&dialog_, 1007, "", Rect::FromXYWH(80, 0, 34, 12), radio);
    push.Create(&dialog_, 1126, "", Rect::FromXYWH(0, 40, 52, 33),
                plat::kStyleChild | plat::kStyleVisible | plat::kStyleGroup);
    EXPECT_EQ(all.Kind(), CSkinButton::kRadioButton);
    all.SetCheck(true);
    plat::Application::ProcessEvents();
    one.SetCheck(true);
    EXPECT_TRUE(all.IsChecked());  // the unchecking is posted
    plat::Application::ProcessEvents();
    EXPECT_FALSE(all.IsChecked());
    EXPECT_TRUE(one.IsChecked());
    EXPECT_FALSE(random.IsChecked());

    plat::testing::MouseClick(random, {5, 5});
    plat::Application::ProcessEvents();
    EXPECT_TRUE(random.IsChecked());
    EXPECT_FALSE(one.IsChecked());
    plat::testing::PressKey(all, plat::kVkSpace);
    plat::Application::ProcessEvents();
    EXPECT_TRUE(all.IsChecked());
    EXPECT_FALSE(random.IsChecked());

    push.SetCheck(true);
    EXPECT_FALSE(push.IsChecked());
    EXPECT_EQ(push.SendMessage(plat::kBmGetCheck), 0);
}

TEST_F(SkinButtonTest, PressDraggedOutAndReleasedDoesNothing) {
    CSkinButton box;
    box.Create(&dialog_, 1012, "", Rect::FromXYWH(10, 10, 40, 20),
               plat::kStyleChild | plat::kStyleVisible | plat::kBsAutoCheckBox);
    EXPECT_EQ(box.Kind(), CSkinButton::kCheckBox);
    plat::testing::MouseDown(box, {5, 5});
    EXPECT_EQ(box.SendMessage(plat::kBmGetState), plat::LResult{plat::kBstPushed});
    plat::testing::MouseMove(box, {200, 150}, 1);
    EXPECT_EQ(box.SendMessage(plat::kBmGetState), 0);
    plat::testing::MouseUp(box, {200, 150});
    EXPECT_FALSE(box.IsChecked());
    EXPECT_TRUE(clicks_.empty());
    plat::testing::MouseClick(box, {5, 5});
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(clicks_, (std::vector<int>{1012}));
}

}  // namespace
}  // namespace tunova
