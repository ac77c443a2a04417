// The pointer: injected events go to the window holding the mouse capture, and the cursor shape
// stays until it is set back or the capture is released.
#include <gtest/gtest.h>

#include <vector>

#include "platform/controls/controls.h"
#include "platform/testing/testing.h"
#include "platform/window/cursor.h"
#include "platform/window/window.h"

namespace plat {
namespace {

struct SeenMouse {
    std::uint32_t message;
    Point client;
};

// Records the mouse messages `window` receives, at the client point they carry.
void RecordMouse(Window& window, std::vector<SeenMouse>& seen) {
    for (std::uint32_t message : {kWmMouseMove, kWmLButtonDown, kWmLButtonUp}) {
        window.Messages().OnMessage(message, [&seen, message](WParam, LParam l) {
            seen.push_back({message, {XFromLParam(l), YFromLParam(l)}});
            return LResult{0};
        });
    }
}

TEST(PointerTest, EventsGoToTheCaptureHolderAtTheSameScreenPointUntilReleased) {
    Window top;
    ASSERT_TRUE(top.Create(nullptr, 0, Rect::FromXYWH(100, 100, 400, 300), kStylePopup));
    top.Show(true);
    Window holder;
    ASSERT_TRUE(holder.Create(&top, 1, Rect::FromXYWH(10, 20, 100, 100)));
    Window other;
    ASSERT_TRUE(other.Create(&top, 2, Rect::FromXYWH(200, 150, 150, 100)));
    std::vector<SeenMouse> atHolder;
    std::vector<SeenMouse> atOther;
    RecordMouse(holder, atHolder);
    RecordMouse(other, atOther);

    holder.SetCapture();
    ASSERT_EQ(Window::Capture(), &holder);
    testing::MouseMove(other, {5, 6}, 1);
    testing::MouseUp(other, {7, 8});
    EXPECT_TRUE(atOther.empty());
    // `other` lies at (200, 150) in `top`, `holder` at (10, 20): the same screen points.
    ASSERT_EQ(atHolder.size(), 2u);
    EXPECT_EQ(atHolder[0].message, kWmMouseMove);
    EXPECT_EQ(atHolder[0].client, (Point{195, 136}));
    EXPECT_EQ(atHolder[1].message, kWmLButtonUp);
    EXPECT_EQ(atHolder[1].client, (Point{197, 138}));

    Window::ReleaseCapture();
    EXPECT_EQ(Window::Capture(), nullptr);
    testing::MouseUp(other, {7, 8});
    ASSERT_EQ(atOther.size(), 1u);
    EXPECT_EQ(atOther[0].client, (Point{7, 8}));
    EXPECT_EQ(atHolder.size(), 2u);
}

TEST(PointerTest, CursorShapeStaysUntilSetBackOrTheCaptureEnds) {
    Window top;
    ASSERT_TRUE(top.Create(nullptr, 0, Rect::FromXYWH(0, 0, 100, 100), kStylePopup));
    EXPECT_EQ(ProgramCursor(), CursorShape::kArrow);
    SetProgramCursor(CursorShape::kSizeAll);
    SetProgramCursor(CursorShape::kSizeAll);  // setting it again installs nothing more
    EXPECT_EQ(ProgramCursor(), CursorShape::kSizeAll);
    SetProgramCursor(CursorShape::kSizeWE);
    EXPECT_EQ(ProgramCursor(), CursorShape::kSizeWE);
    SetProgramCursor(CursorShape::kArrow);
    EXPECT_EQ(ProgramCursor(), CursorShape::kArrow);

    top.SetCapture();
    SetProgramCursor(CursorShape::kSizeAll);
    Window::ReleaseCapture();
    EXPECT_EQ(ProgramCursor(), CursorShape::kArrow);
}

}  // namespace
}  // namespace plat
