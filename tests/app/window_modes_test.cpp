// The window modes on the real main window: mini, maximised and normal size and the big-video
// view through their commands, moving by the top bar with snapping, resizing by the edges with
// the outline, and the double-clicks, on a desktop of fake screens (one with a top panel, and a
// second monitor of another size).
#include <gtest/gtest.h>

#include <vector>

#include "main_window_fixture.h"
#include "platform/testing/testing_window_manager.h"
#include "platform/window/application.h"
#include "platform/window/screens.h"

namespace tunova::testing {
namespace {

using plat::Point;
using plat::Rect;

// A 1280 x 800 screen with a 24-pixel panel at the top.
const plat::Screen kPrimary{{0, 0, 1280, 800}, {0, 24, 1280, 800}};
// A larger second monitor to the right, placed higher.
const plat::Screen kSecond{{1280, -200, 3200, 880}, {1280, -200, 3200, 840}};
// Where the window first shows: 785 x 600 centred in the primary's work area.
const Rect kCentred = Rect::FromXYWH(247, 112, 785, 600);

class WindowModesTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        plat::testing::OverrideScreens({kPrimary, kSecond});
    }
    void TearDown() override {
        plat::testing::OverrideScreens({});
        MainWindowTest::TearDown();
    }

    // Control `id`'s rectangle in the window's client pixels.
    static Rect Placed(CTunovaDlg& d, int id) {
        plat::Window* control = d.Child(id);
        if (control == nullptr) {
            ADD_FAILURE() << "no control " << id;
            return {};
        }
        Rect r = control->WindowRect();
        const Rect frame = d.WindowRect();
        r.Offset(-frame.left, -frame.top);
        return r;
    }
    static bool Shown(CTunovaDlg& d, int id) {
        plat::Window* control = d.Child(id);
        return control != nullptr && control->IsVisible();
    }
    // Pointer input at a screen point, wherever the window is now.
    static void PointerTo(CTunovaDlg& d, Point screen, int held = 1) {
        plat::testing::MouseMove(d, d.ScreenToClient(screen), held);
    }
    static void ReleaseAt(CTunovaDlg& d, Point screen) {
        plat::testing::MouseUp(d, d.ScreenToClient(screen));
    }
};

constexpr int kMiniHidden[] = {1129, 1130, 1136, 1124, 1125, 1000, 1001};

TEST_F(WindowModesTest, MiniSizeShowsOnlyThePlayerInTheWorkAreasCornerAndComesBack) {
    RunShown([](CTunovaDlg& d) {
        EXPECT_EQ(d.WindowRect(), kCentred);
        EXPECT_EQ(d.View().normalRect, kCentred) << "saved by the initial placement";
        d.SendCommand(1128);
        EXPECT_EQ(d.View().sizeMode, 2);
        EXPECT_EQ(d.WindowRect(), (Rect{880, 624, 1280, 800}));
        EXPECT_TRUE(d.IsVisible());
        for (int id : kMiniHidden) {
            EXPECT_FALSE(Shown(d, id)) << id;
        }
        EXPECT_TRUE(Shown(d, 1126));
        EXPECT_TRUE(Shown(d, 1131));
        EXPECT_FALSE(Shown(d, 1127));
        EXPECT_EQ(Placed(d, 1119), (Rect{378, 5, 393, 20})) << "laid out for 400 x 176";
        EXPECT_EQ(d.Modes().Layout().client, (plat::Size{400, 176}));
        EXPECT_TRUE(d.Modes().Layout().mini);

        d.SendCommand(1128);
        EXPECT_EQ(d.View().sizeMode, 3);
        EXPECT_EQ(d.WindowRect(), kCentred);
        for (int id : kMiniHidden) {
            EXPECT_TRUE(Shown(d, id)) << id;
        }
        EXPECT_FALSE(Shown(d, 1131));
        EXPECT_TRUE(Shown(d, 1127));
        EXPECT_EQ(Placed(d, 1125), (Rect{139, 181, 725, 200}));
        EXPECT_EQ(Placed(d, 1124), (Rect{733, 181, 779, 200}));
    });
}

TEST_F(WindowModesTest, BackFromMiniSizeTheWindowReturnsToWhereItWas) {
    RunShown([](CTunovaDlg& d) {
        d.Move(Rect::FromXYWH(300, 150, 785, 600));
        d.SendCommand(1128);
        d.SendCommand(1128);
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(300, 150, 785, 600));
        // Restore (1131) from mini size centres a 785 x 600 window instead.
        d.SendCommand(1128);
        d.SendCommand(1131);
        EXPECT_EQ(d.View().sizeMode, 3);
        EXPECT_EQ(d.WindowRect(), kCentred);
        EXPECT_FALSE(Shown(d, 1131));
        EXPECT_TRUE(Shown(d, 1000));
        d.SendCommand(1131);
        EXPECT_EQ(d.WindowRect(), kCentred) << "restore in normal size does nothing";
    });
}

TEST_F(WindowModesTest, MaximiseFillsTheWorkAreaAndRestoreReturns) {
    RunShown([](CTunovaDlg& d) {
        d.SendCommand(1127);
        EXPECT_TRUE(d.View().maximized);
        EXPECT_EQ(d.WindowRect(), kPrimary.workArea);
        EXPECT_TRUE(Shown(d, 1131));
        EXPECT_FALSE(Shown(d, 1127));
        EXPECT_EQ(Placed(d, 1119), (Rect{1258, 5, 1273, 20}));
        EXPECT_EQ(Placed(d, 1000), (Rect{5, 224, 1260, 750}));
        d.SendCommand(1127);
        EXPECT_EQ(d.WindowRect(), kPrimary.workArea) << "maximise twice changes nothing";
        d.SendCommand(1131);
        EXPECT_FALSE(d.View().maximized);
        EXPECT_EQ(d.WindowRect(), kCentred);
        EXPECT_TRUE(Shown(d, 1127));
        EXPECT_FALSE(Shown(d, 1131));
        EXPECT_EQ(Placed(d, 1119), (Rect{763, 5, 778, 20}));
        // Mini size from maximised comes back to the rectangle from before the maximise.
        d.SendCommand(1127);
        d.SendCommand(1128);
        EXPECT_FALSE(d.View().maximized);
        d.SendCommand(1128);
        EXPECT_EQ(d.WindowRect(), kCentred);
    });
}

TEST_F(WindowModesTest, MaximiseOnTheSecondMonitorFillsThatMonitorsWorkArea) {
    RunShown([](CTunovaDlg& d) {
        d.Move(Rect::FromXYWH(1700, 100, 785, 600));
        d.SendCommand(1127);
        EXPECT_EQ(d.WindowRect(), kSecond.workArea);
        EXPECT_EQ(Placed(d, 1119), (Rect{1898, 5, 1913, 20}));
        d.SendCommand(1131);
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(1700, 100, 785, 600));
        // The mini window goes to the corner of the screen it is on.
        d.SendCommand(1128);
        EXPECT_EQ(d.WindowRect(), (Rect{2800, 664, 3200, 840}));
    });
}

TEST_F(WindowModesTest, BigVideoWaitsForThePageThenTakesTheListsPlace) {
    RunShown([](CTunovaDlg& d) {
        d.SendCommand(1135);
        EXPECT_TRUE(d.View().listShown) << "nothing before the page is ready";
        d.Playback().pageReady = true;
        d.SendCommand(1135);
        EXPECT_FALSE(d.View().listShown);
        EXPECT_FALSE(Shown(d, 1000));
        for (int id : {1133, 1137, 1138}) {
            EXPECT_FALSE(Shown(d, id)) << id;
        }
        EXPECT_EQ(Placed(d, 333), (Rect{133, 203, 651, 573}));
        EXPECT_TRUE(d.Modes().Layout().bigVideo);
        // The results' scroll bar stays, blacked out.
        EXPECT_EQ(plat::testing::GrabWindow(d.ResultList().ScrollBar()).Pixel(6, 200),
                  plat::Rgb(0, 0, 0));
        d.SendCommand(1132);
        EXPECT_TRUE(d.View().listShown);
        EXPECT_TRUE(Shown(d, 1000));
        EXPECT_TRUE(Shown(d, 1133));
        EXPECT_TRUE(Shown(d, 1138));
        EXPECT_FALSE(Shown(d, 1137));
        EXPECT_EQ(Placed(d, 333), (Rect{282, 34, 390, 124}));
        EXPECT_NE(plat::testing::GrabWindow(d.ResultList().ScrollBar()).Pixel(6, 200),
                  plat::Rgb(0, 0, 0));

        // Maximised, the video grows with the window.
        d.SendCommand(1132);
        d.SendCommand(1127);
        EXPECT_EQ(Placed(d, 333), BigVideoRect({1280, 776}));
        d.SendCommand(1131);
        EXPECT_EQ(Placed(d, 333), (Rect{133, 203, 651, 573}));

        // Mini size brings the list back first; big-video view from mini size returns to a
        // centred normal window in big-video view.
        d.SendCommand(1128);
        EXPECT_TRUE(d.View().listShown);
        EXPECT_EQ(d.View().sizeMode, 2);
        d.SendCommand(1135);
        EXPECT_EQ(d.View().sizeMode, 3);
        EXPECT_EQ(d.WindowRect(), kCentred);
        EXPECT_FALSE(d.View().listShown);
        EXPECT_EQ(Placed(d, 333), (Rect{133, 203, 651, 573}));

        // A double-click where the small video was brings the list back.
        plat::testing::MouseDoubleClick(d, {300, 80});
        EXPECT_TRUE(d.View().listShown);
        EXPECT_EQ(Placed(d, 333), (Rect{282, 34, 390, 124}));
    });
}

TEST_F(WindowModesTest, ASearchBringsTheListBack) {
    RunShown([](CTunovaDlg& d) {
        d.Playback().pageReady = true;
        d.SendCommand(1135);
        d.SearchEdit().SetFocus();  // the first focus takes the placeholder away
        d.SearchEdit().SetText("love");
        plat::testing::PressKey(d.SearchEdit(), plat::kVkReturn);
        EXPECT_TRUE(d.View().listShown);
        EXPECT_TRUE(Shown(d, 1000));
        EXPECT_EQ(Placed(d, 333), (Rect{282, 34, 390, 124}));
    });
}

TEST_F(WindowModesTest, DraggingTheTopBarMovesTheWindowAndSnapsItToTheWorkArea) {
    RunShown([](CTunovaDlg& d) {
        plat::testing::MouseDown(d, {200, 10});
        ASSERT_TRUE(d.IsMovingWithPointer());
        const Point grab{247 + 200, 112 + 10};
        PointerTo(d, {grab.x + 50, grab.y + 40});
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(297, 152, 785, 600));
        PointerTo(d, {200 + 6, grab.y});
        EXPECT_EQ(d.WindowRect().left, 0) << "6 pixels from the left edge: snapped";
        PointerTo(d, {200 + 11, 24 + 10 + 8});
        EXPECT_EQ(d.WindowRect().left, 11);
        EXPECT_EQ(d.WindowRect().top, 24) << "8 pixels under the panel: snapped to the work area";
        PointerTo(d, {200 + 11, 10 + 5});
        EXPECT_EQ(d.WindowRect().top, 5) << "over the panel: beyond the edge, left alone";
        PointerTo(d, {200 + 490, 10 + 195});
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(495, 200, 785, 600)) << "right and bottom";
        ReleaseAt(d, {200 + 490, 10 + 195});
        EXPECT_FALSE(d.IsMovingWithPointer());

        // Maximised, the top bar does not move the window; in mini size it does.
        d.SendCommand(1127);
        plat::testing::MouseDown(d, {200, 10});
        EXPECT_FALSE(d.IsMovingWithPointer());
        plat::testing::MouseUp(d, {200, 10});
        d.SendCommand(1131);
        d.SendCommand(1128);
        plat::testing::MouseDown(d, {180, 10});
        EXPECT_TRUE(d.IsMovingWithPointer());
        PointerTo(d, {880 + 180 - 300, 624 + 10 - 300});
        ReleaseAt(d, {880 + 180 - 300, 624 + 10 - 300});
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(580, 324, 400, 176));
    });
}

TEST_F(WindowModesTest, ResizingByAnEdgeShowsTheOutlineAndTheWindowTakesItOnRelease) {
    RunShown([](CTunovaDlg& d) {
        EXPECT_EQ(d.QueryMinMaxInfo().minTrackSize, (plat::Size{785, 600}));
        plat::testing::MouseMove(d, {783, 300});
        EXPECT_EQ(d.Cursor(), plat::CursorShape::kSizeWE);
        plat::testing::MouseMove(d, {600, 176});
        EXPECT_EQ(d.Cursor(), plat::CursorShape::kArrow);

        plat::testing::MouseDown(d, {783, 300});
        ASSERT_TRUE(d.Modes().IsResizing());
        EXPECT_EQ(d.Cursor(), plat::CursorShape::kSizeWE);
        plat::testing::MouseMove(d, {883, 320}, 1);
        EXPECT_TRUE(d.Modes().Outline().IsShown());
        EXPECT_EQ(d.Modes().Outline().Shown(), Rect::FromXYWH(247, 112, 885, 600));
        EXPECT_EQ(d.WindowRect(), kCentred) << "only the outline follows the pointer";
        plat::testing::MouseUp(d, {883, 320});
        EXPECT_FALSE(d.Modes().IsResizing());
        EXPECT_FALSE(d.Modes().Outline().IsShown());
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(247, 112, 885, 600));
        EXPECT_EQ(Placed(d, 1119), (Rect{863, 5, 878, 20})) << "the controls follow";
        EXPECT_EQ(Placed(d, 1000), (Rect{5, 224, 865, 574}));
        Rect bar = d.ResultList().ScrollBar().WindowRect();
        bar.Offset(-d.WindowRect().left, -d.WindowRect().top);
        EXPECT_EQ(bar, (Rect{865, 224, 878, 574})) << "the scroll bar beside the list";
        EXPECT_EQ(d.ResultList().ColumnWidth(1), 860 - 233);

        // The left edge dragged far right stops at the smallest width.
        plat::testing::MouseDown(d, {1, 300});
        plat::testing::MouseMove(d, {600, 300}, 1);
        EXPECT_EQ(d.Modes().Outline().Shown(), Rect::FromXYWH(347, 112, 785, 600));
        plat::testing::MouseUp(d, {600, 300});
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(347, 112, 785, 600));

        // A release over a handle takes the outline too.
        plat::testing::MouseDown(d, {400, 598});
        plat::testing::MouseMove(d, {400, 640}, 1);
        EXPECT_EQ(d.Modes().Outline().Shown().Height(), 642);
        plat::testing::MouseUp(d, {400, 599});
        EXPECT_EQ(d.WindowRect().Height(), 642);
        EXPECT_FALSE(d.Modes().Outline().IsShown());

        // No resizing in mini size or maximised.
        d.SendCommand(1127);
        plat::testing::MouseDown(d, {1278, 300});
        EXPECT_FALSE(d.Modes().IsResizing());
        plat::testing::MouseUp(d, {1278, 300});
        d.SendCommand(1128);
        plat::testing::MouseDown(d, {398, 100});
        EXPECT_FALSE(d.Modes().IsResizing());
        plat::testing::MouseUp(d, {398, 100});
    });
}

// The window itself refuses sizes under 785 x 600 (a window manager's resize or tiling), except
// in mini size.
TEST_F(WindowModesTest, TheWindowItselfKeepsTheSmallestSizeOutsideMiniSize) {
    RunShown([](CTunovaDlg& d) {
        plat::testing::ResizeFromOutside(d, {600, 400});
        EXPECT_EQ(d.WindowRect(), kCentred);
        d.SendCommand(1128);
        EXPECT_EQ(d.WindowRect(), (Rect{880, 624, 1280, 800}));
        d.SendCommand(1131);
        plat::testing::ResizeFromOutside(d, {700, 500});
        EXPECT_EQ(d.WindowRect().Width(), 785);
        EXPECT_EQ(d.WindowRect().Height(), 600);
    });
}

// A resize whose capture another window takes, or whose window stops being the active one, ends
// as a release would: the window takes the outline's size.
TEST_F(WindowModesTest, LosingTheCaptureEndsAResize) {
    RunShown([](CTunovaDlg& d) {
        const Rect before = d.WindowRect();
        plat::testing::MouseDown(d, {783, 300});
        plat::testing::MouseMove(d, {883, 320}, 1);
        ASSERT_TRUE(d.Modes().Outline().IsShown());
        plat::Window other;
        ASSERT_TRUE(other.Create(nullptr, 0, Rect::FromXYWH(0, 0, 50, 50)));
        other.Show(true);
        other.SetCapture();
        EXPECT_FALSE(d.Modes().IsResizing());
        EXPECT_FALSE(d.Modes().Outline().IsShown());
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(247, 112, 885, 600));
        plat::Window::ReleaseCapture();
        plat::testing::MouseUp(d, {883, 320});
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(247, 112, 885, 600)) << "no release follows";
        d.Move(before);
        // The same when the window stops being the active one.
        // (Headless, focus is what makes a window the active one.)
        d.SetFocus();
        plat::testing::MouseDown(d, {783, 300});
        plat::testing::MouseMove(d, {883, 320}, 1);
        ASSERT_TRUE(d.Modes().IsResizing());
        other.SetFocus();
        EXPECT_FALSE(d.Modes().IsResizing());
        EXPECT_FALSE(d.Modes().Outline().IsShown());
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(247, 112, 885, 600));
    });
}

TEST_F(WindowModesTest, DoubleClickingTheTopBarMaximisesAndRestores) {
    RunShown([](CTunovaDlg& d) {
        plat::testing::MouseDoubleClick(d, {200, 10});
        EXPECT_TRUE(d.View().maximized);
        EXPECT_EQ(d.WindowRect(), kPrimary.workArea);
        EXPECT_TRUE(Shown(d, 1131));
        plat::testing::MouseDoubleClick(d, {200, 10});
        EXPECT_FALSE(d.View().maximized);
        EXPECT_EQ(d.WindowRect(), kCentred);
        d.SendCommand(1128);
        plat::testing::MouseDoubleClick(d, {200, 10});
        EXPECT_EQ(d.View().sizeMode, 3);
        EXPECT_EQ(d.WindowRect(), kCentred);
        EXPECT_FALSE(Shown(d, 1131));
    });
}

TEST_F(WindowModesTest, AMoveByTheProgramSnapsToo) {
    RunShown([](CTunovaDlg& d) {
        d.Move(Rect::FromXYWH(8, 30, 785, 600));
        EXPECT_EQ(d.WindowRect(), Rect::FromXYWH(0, 24, 785, 600));
    });
}

}  // namespace
}  // namespace tunova::testing
