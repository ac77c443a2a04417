// The no-connection notice on screen: its size, background and button, its rounded shape, and
// the button that ends the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "controls/connect_no.h"
#include "controls/rounded_region.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "res/skin_bitmaps.h"
#include "support/test_environment.h"

namespace tunova {
namespace {

class ConnectNoTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { res::RegisterSkinResources(); }
    void SetUp() override {
        ASSERT_TRUE(mainWindow_.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 300, 200)));
        mainWindow_.Messages().OnMessage(plat::kWmCommand, [this](plat::WParam w, plat::LParam) {
            mainCommands_.push_back(plat::LowWord(w));
            return plat::LResult{0};
        });
    }

    // Runs the notice; `inside` runs in its loop, then its button is clicked with the mouse.
    int RunNotice(CConnectNo& notice, const std::function<void(CConnectNo&)>& inside) {
        plat::testing::RunSoon([&] {
            ASSERT_EQ(plat::testing::ActiveModalDialog(), &notice);
            inside(notice);
            const plat::Rect button = notice.ConfirmButton().ClientRect();
            plat::testing::MouseClick(notice.ConfirmButton(),
                                      {button.Width() / 2, button.Height() / 2});
        });
        return notice.DoModal();
    }

    plat::Window mainWindow_;
    std::vector<int> mainCommands_;
};

TEST_F(ConnectNoTest, ShowsItsBackgroundAndItsButtonEndsTheProgram) {
    CConnectNo notice(&mainWindow_);
    const int result = RunNotice(notice, [](CConnectNo& n) {
        EXPECT_EQ(n.ClientRect(), (plat::Rect{0, 0, 398, 232}));
        EXPECT_TRUE(n.HasRegion());
        const plat::Rect frame = n.WindowRect();
        const plat::Rect button = n.ConfirmButton().WindowRect();
        EXPECT_EQ(button.left - frame.left, 167);
        EXPECT_EQ(button.top - frame.top, 195);
        EXPECT_EQ(button.Width(), 54);
        EXPECT_EQ(button.Height(), 28);
        EXPECT_EQ(n.ConfirmButton().Tooltip(), "확인");
        EXPECT_TRUE(n.ConfirmButton().HasMask());

        ASSERT_TRUE(n.HasBackgroundImage());
        plat::Bitmap background;
        ASSERT_TRUE(background.LoadFile(res::SkinFilePath("bg_connectno.bmp")));
        const plat::Bitmap shown = plat::testing::GrabWindow(n);
        int wrong = 0;
        for (int y = 0; y < 190; y += 3) {
            for (int x = 0; x < 398; x += 3) {
                wrong += shown.Pixel(x, y) != background.Pixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << "the notice is its background image";
    });
    EXPECT_EQ(result, plat::kIdCancel);
    EXPECT_EQ(mainCommands_, (std::vector<int>{plat::kIdCancel})) << "the main window closes too";
}

TEST_F(ConnectNoTest, WithoutItsBackgroundImageItStillSaysWhyAndEndsTheProgram) {
    const std::string empty = testing::TestHome() + "/no-skin";
    ASSERT_TRUE(plat::MakeFolders(empty));
    const std::string dataDir = plat::DataDir();
    setenv("TUNOVA_DATA_DIR", empty.c_str(), 1);
    CConnectNo notice(&mainWindow_);
    RunNotice(notice, [](CConnectNo& n) {
        EXPECT_FALSE(n.HasBackgroundImage());
        const plat::Bitmap shown = plat::testing::GrabWindow(n);
        int white = 0;
        for (int y = 60; y < 140; ++y) {
            for (int x = 0; x < 398; ++x) {
                white += shown.Pixel(x, y) == plat::Rgb(255, 255, 255) ? 1 : 0;
            }
        }
        EXPECT_GT(white, 50) << "the message is drawn in its place";
        EXPECT_TRUE(n.ConfirmButton().HasMask()) << "the button's pictures are in the program";
    });
    setenv("TUNOVA_DATA_DIR", dataDir.c_str(), 1);
    EXPECT_EQ(mainCommands_, (std::vector<int>{plat::kIdCancel}));
}

TEST(RoundedDialogRegionTest, AllFourCornersAreCutAlikeAndTheEdgesStay) {
    const int w = 398;
    const int h = 232;
    const plat::Region region = RoundedDialogRegion({w, h});
    // The region spans (0, 0)-(W + 1, H + 1); count what each corner loses, mirrored.
    int cut[4] = {};
    for (int dy = 0; dy < 6; ++dy) {
        for (int dx = 0; dx < 6; ++dx) {
            cut[0] += region.Contains({dx, dy}) ? 0 : 1;
            cut[1] += region.Contains({w - dx, dy}) ? 0 : 1;
            cut[2] += region.Contains({dx, h - dy}) ? 0 : 1;
            cut[3] += region.Contains({w - dx, h - dy}) ? 0 : 1;
        }
    }
    EXPECT_GT(cut[0], 3) << "a corner of about 5 pixels' radius";
    EXPECT_LT(cut[0], 16);
    EXPECT_EQ(cut[1], cut[0]);
    EXPECT_EQ(cut[2], cut[0]);
    EXPECT_EQ(cut[3], cut[0]) << "the bottom-right corner is rounded like the others";
    EXPECT_FALSE(region.Contains({0, 0}));
    EXPECT_FALSE(region.Contains({w, h}));
    for (plat::Point p : {plat::Point{w / 2, 0}, plat::Point{0, h / 2}, plat::Point{w, h / 2},
                          plat::Point{w / 2, h}, plat::Point{5, 5}, plat::Point{w - 5, h - 5}}) {
        EXPECT_TRUE(region.Contains(p)) << p.x << "," << p.y;
    }
}

}  // namespace
}  // namespace tunova
