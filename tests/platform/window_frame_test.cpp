// What a top-level window needs to be its own frame: moves that ask the position-changing
// handler first, moving with the pointer from a caption press, the sizes it accepts, centring on
// its screen, the screens themselves, the resize outline, and the display server it asks for.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/display_server.h"
#include "platform/draw/outline_window.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "platform/window/screens.h"
#include "platform/window/window.h"

namespace plat {
namespace {

// Snaps x to 0 within 10 pixels, as a docking window would, and records every proposal.
struct SnappingWindow {
    SnappingWindow() {
        window.Messages().OnMessage(kWmWindowPosChanging, [this](WParam, LParam l) {
            auto& pos = *reinterpret_cast<WindowPos*>(l);
            proposals.push_back(pos);
            if (pos.x > 0 && pos.x <= 10) {
                pos.x = 0;
            }
            return LResult{0};
        });
        window.Messages().OnMessage(kWmMouseMove, [this](WParam, LParam) {
            ++mouseMessages;
            return LResult{0};
        });
        window.Messages().OnMessage(kWmLButtonUp, [this](WParam, LParam) {
            ++mouseMessages;
            return LResult{0};
        });
    }
    Window window;
    std::vector<WindowPos> proposals;
    int mouseMessages = 0;
};

class ScreensGuard {
  public:
    explicit ScreensGuard(std::vector<Screen> screens) {
        testing::OverrideScreens(std::move(screens));
    }
    ~ScreensGuard() { testing::OverrideScreens({}); }
};

TEST(WindowFrameTest, ATopLevelMoveAsksThePositionChangingHandlerWhichMayChangeIt) {
    SnappingWindow top;
    ASSERT_TRUE(top.window.Create(nullptr, 0, Rect::FromXYWH(100, 100, 300, 200), kStylePopup));
    top.window.Move(Rect::FromXYWH(7, 50, 320, 240));
    ASSERT_EQ(top.proposals.size(), 1u);
    EXPECT_EQ(top.proposals[0].x, 7);
    EXPECT_EQ(top.proposals[0].cx, 320);
    EXPECT_EQ(top.proposals[0].flags, 0u);
    EXPECT_EQ(top.window.WindowRect(), Rect::FromXYWH(0, 50, 320, 240));

    // Children are placed as asked, without the message.
    SnappingWindow child;
    ASSERT_TRUE(child.window.Create(&top.window, 5, Rect::FromXYWH(0, 0, 10, 10)));
    child.window.Move(Rect::FromXYWH(3, 3, 20, 20));
    EXPECT_TRUE(child.proposals.empty());
    EXPECT_EQ(child.window.ClientRect(), (Rect{0, 0, 20, 20}));
}

TEST(WindowFrameTest, ACaptionPressMovesTheWindowWithThePointerThroughTheHandler) {
    SnappingWindow top;
    ASSERT_TRUE(top.window.Create(nullptr, 0, Rect::FromXYWH(100, 100, 300, 200),
                                  kStylePopup | kStyleVisible));
    // Where the pointer is on the screen, as a point of the window's client area now.
    auto pointerAt = [&](int x, int y) { return top.window.ScreenToClient({x, y}); };

    top.window.SendMessage(kWmNcLButtonDown, kHtCaption, MakeLParam(150, 110));
    EXPECT_TRUE(top.window.IsMovingWithPointer());
    EXPECT_EQ(Window::Capture(), &top.window);
    testing::MouseMove(top.window, pointerAt(170, 140), 1);
    EXPECT_EQ(top.window.WindowRect(), Rect::FromXYWH(120, 130, 300, 200));
    ASSERT_FALSE(top.proposals.empty());
    EXPECT_EQ(top.proposals.back().flags, kSwpNoSize) << "a move keeps the size";
    EXPECT_EQ(top.proposals.back().cx, 300);
    // Near the left edge the handler snaps it, while it moves.
    testing::MouseMove(top.window, pointerAt(58, 140), 1);
    EXPECT_EQ(top.window.WindowRect().left, 0);
    testing::MouseMove(top.window, pointerAt(80, 140), 1);
    EXPECT_EQ(top.window.WindowRect().left, 30) << "the grab point stays under the pointer";
    testing::MouseUp(top.window, pointerAt(80, 140));
    EXPECT_FALSE(top.window.IsMovingWithPointer());
    EXPECT_EQ(Window::Capture(), nullptr);
    EXPECT_EQ(top.mouseMessages, 0) << "the move takes the pointer's messages";

    // After the release the pointer is the window's again and moves nothing.
    testing::MouseMove(top.window, pointerAt(200, 200), 1);
    EXPECT_EQ(top.window.WindowRect().left, 30);
    EXPECT_EQ(top.mouseMessages, 1);

    // A move that finds the button already up (its release went elsewhere) ends the move.
    top.window.SendMessage(kWmNcLButtonDown, kHtCaption, MakeLParam(100, 140));
    testing::MouseMove(top.window, pointerAt(300, 300), 0);
    EXPECT_FALSE(top.window.IsMovingWithPointer());
    EXPECT_EQ(top.window.WindowRect().left, 30);

    // Anything but the caption starts nothing, and a child never moves this way.
    top.window.SendMessage(kWmNcLButtonDown, 1, MakeLParam(100, 140));
    EXPECT_FALSE(top.window.IsMovingWithPointer());
    Window child;
    ASSERT_TRUE(child.Create(&top.window, 9, Rect::FromXYWH(0, 0, 10, 10)));
    child.SendMessage(kWmNcLButtonDown, kHtCaption, MakeLParam(100, 140));
    EXPECT_FALSE(child.IsMovingWithPointer());
}

TEST(WindowFrameTest, TheWindowSaysWhatSizesItTakesOverTheScreensDefaults) {
    ScreensGuard screens(
        {{{0, 0, 1280, 800}, {0, 30, 1280, 800}}, {{1280, 0, 3200, 1080}, {1280, 0, 3200, 1040}}});
    Window top;
    ASSERT_TRUE(top.Create(nullptr, 0, Rect::FromXYWH(1500, 100, 300, 200), kStylePopup));
    MinMaxInfo defaults = top.QueryMinMaxInfo();
    EXPECT_EQ(defaults.maxSize, (Size{1920, 1040})) << "the work area of the window's screen";
    EXPECT_EQ(defaults.maxPosition, (Point{1280, 0}));
    EXPECT_EQ(defaults.maxTrackSize, (Size{3200, 1080})) << "the whole desktop";
    top.Messages().OnMessage(kWmGetMinMaxInfo, [](WParam, LParam l) {
        reinterpret_cast<MinMaxInfo*>(l)->minTrackSize = {785, 600};
        return LResult{0};
    });
    const MinMaxInfo asked = top.QueryMinMaxInfo();
    EXPECT_EQ(asked.minTrackSize, (Size{785, 600}));
    EXPECT_EQ(asked.maxSize, defaults.maxSize);
}

TEST(WindowFrameTest, CentresInTheWorkAreaOfTheScreenUnderTheWindow) {
    ScreensGuard screens(
        {{{0, 0, 1280, 800}, {0, 30, 1280, 800}}, {{1280, 0, 3200, 1080}, {1280, 0, 3200, 1040}}});
    SnappingWindow top;
    ASSERT_TRUE(top.window.Create(nullptr, 0, Rect::FromXYWH(0, 0, 400, 200), kStylePopup));
    top.window.CenterOnScreen();
    EXPECT_EQ(top.window.WindowRect(), Rect::FromXYWH(440, 315, 400, 200));
    EXPECT_EQ(top.proposals.size(), 1u) << "centring is a move like any other";
    top.window.Move(Rect::FromXYWH(2000, 100, 400, 200));
    top.window.CenterOnScreen();
    EXPECT_EQ(top.window.WindowRect(), Rect::FromXYWH(2040, 420, 400, 200));
}

TEST(WindowFrameTest, ScreensListThePrimaryFirstAndFindTheOneUnderAPoint) {
    const std::vector<Screen> real = Screens();
    ASSERT_FALSE(real.empty());
    EXPECT_FALSE(real[0].geometry.IsEmpty());
    {
        ScreensGuard fake({{{0, 0, 1280, 800}, {0, 30, 1280, 800}},
                           {{-1024, 100, 0, 868}, {-1024, 100, 0, 868}}});
        const std::vector<Screen> screens = Screens();
        ASSERT_EQ(screens.size(), 2u);
        EXPECT_EQ(ScreenUnder({10, 10}, screens), &screens[0]);
        EXPECT_EQ(ScreenUnder({-10, 200}, screens), &screens[1]);
        EXPECT_EQ(ScreenUnder({-10, 10}, screens), &screens[0]) << "nearest: 10 up, not 90";
        EXPECT_EQ(ScreenUnder({5000, 500}, screens), &screens[0]);
        EXPECT_EQ(WorkAreaUnder(Rect::FromXYWH(-900, 300, 400, 200)), (Rect{-1024, 100, 0, 868}));
    }
    EXPECT_EQ(Screens(), real) << "an empty override restores the real screens";
    EXPECT_EQ(ScreenUnder({0, 0}, {}), nullptr);
}

TEST(WindowFrameTest, TheOutlineIsAOnePixelRimOverTheRectangle) {
    OutlineWindow outline;
    EXPECT_FALSE(outline.IsShown());
    outline.Show(Rect::FromXYWH(100, 50, 300, 200));
    EXPECT_TRUE(outline.IsShown());
    EXPECT_EQ(outline.Shown(), Rect::FromXYWH(100, 50, 300, 200));
    Region rim = outline.Shape();
    for (Point p : {Point{0, 0}, Point{299, 0}, Point{0, 199}, Point{299, 199}, Point{150, 0},
                    Point{0, 100}}) {
        EXPECT_TRUE(rim.Contains(p)) << p.x << "," << p.y;
    }
    for (Point p : {Point{1, 1}, Point{150, 100}, Point{298, 198}}) {
        EXPECT_FALSE(rim.Contains(p)) << p.x << "," << p.y << ": the desktop shows through";
    }
    outline.Show(Rect::FromXYWH(90, 40, 500, 300));
    rim = outline.Shape();
    EXPECT_TRUE(rim.Contains({499, 299}));
    EXPECT_FALSE(rim.Contains({298, 198}));
    outline.Hide();
    EXPECT_FALSE(outline.IsShown());
    EXPECT_TRUE(outline.Shape().IsEmpty());
    outline.Show(Rect::FromXYWH(0, 0, 50, 50));
    outline.Show({});
    EXPECT_FALSE(outline.IsShown()) << "an empty rectangle hides it";
}

TEST(WindowFrameTest, AWaylandSessionRunsThePlayerThroughXWayland) {
    EXPECT_EQ(PreferredToolkitPlatform(nullptr, "wayland", "wayland-0", ":0"), "xcb");
    EXPECT_EQ(PreferredToolkitPlatform("", nullptr, "wayland-0", ":1"), "xcb");
    EXPECT_EQ(PreferredToolkitPlatform(nullptr, "wayland", nullptr, ":0"), "xcb");
    EXPECT_EQ(PreferredToolkitPlatform(nullptr, "wayland", "wayland-0", nullptr), "")
        << "no XWayland: the toolkit's own choice";
    EXPECT_EQ(PreferredToolkitPlatform("offscreen", "wayland", "wayland-0", ":0"), "")
        << "the user's choice stands";
    EXPECT_EQ(PreferredToolkitPlatform(nullptr, "x11", nullptr, ":0"), "");
    EXPECT_EQ(PreferredToolkitPlatform(nullptr, nullptr, nullptr, nullptr), "");
}

}  // namespace
}  // namespace plat
