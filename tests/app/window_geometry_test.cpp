// The geometry of the window modes as pure functions: every view's rectangles, the frame
// pieces, the big video, the mini window, snapping, the handles, the resize outline, the shape
// and where a maximised window goes on one or two screens.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_layout.h"
#include "app/window_geometry.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

using plat::Point;
using plat::Rect;
using plat::Size;

bool InShape(const std::vector<Rect>& rects, Point p) {
    for (const Rect& r : rects) {
        if (r.Contains(p)) {
            return true;
        }
    }
    return false;
}

TEST(WindowGeometryTest, TheNormalViewTiesTheRightAndBottomControlsToTheEdges) {
    using namespace res;
    const LayoutView normal{{785, 600}};
    EXPECT_EQ(ControlRect(kIdcHideToTray, normal), (Rect{763, 5, 778, 20}));
    EXPECT_EQ(ControlRect(kIdcMaximize, normal), (Rect{744, 5, 759, 20}));
    EXPECT_EQ(ControlRect(kIdcNormalSize, normal), ControlRect(kIdcMaximize, normal));
    EXPECT_EQ(ControlRect(kIdcMiniSize, normal), (Rect{700, 5, 715, 20}));
    EXPECT_EQ(ControlRect(kIdcBigVideo, normal), (Rect{672, 5, 694, 20}));
    EXPECT_EQ(ControlRect(kIdcBrowser, normal), (Rect{282, 34, 390, 124}));
    EXPECT_EQ(ControlRect(kIdcPlaylist, normal), (Rect{400, 31, 765, 147}));
    EXPECT_EQ(ControlRect(kIdcSearchEdit, normal), (Rect{139, 181, 725, 200}));
    EXPECT_EQ(ControlRect(kIdcResultList, normal), (Rect{5, 224, 765, 574}));
    EXPECT_EQ(ControlRect(kIdcHomePage, normal), (Rect{111, 205, 151, 221}));
    EXPECT_EQ(ControlRect(kIdcQnaBoard, normal), (Rect{157, 205, 197, 221}));

    const LayoutView maximised{{1280, 776}};
    EXPECT_EQ(ControlRect(kIdcHideToTray, maximised), (Rect{1258, 5, 1273, 20}));
    EXPECT_EQ(ControlRect(kIdcResultList, maximised), (Rect{5, 224, 1260, 750}));
    EXPECT_EQ(ControlRect(kIdcPrevious, maximised), (Rect{7, 134, 60, 167})) << "left stays";

    LayoutView more = normal;
    more.moreResults = true;
    EXPECT_EQ(ControlRect(kIdcHomePage, more), (Rect{221, 205, 261, 221}));
    EXPECT_EQ(ControlRect(kIdcQnaBoard, more), (Rect{267, 205, 307, 221}));
    EXPECT_EQ(ControlRect(kIdcSearchMore, more), (Rect{111, 205, 216, 221}));
}

TEST(WindowGeometryTest, TheMiniViewPlacesOnlyThePlayerPanelAndTheTopBar) {
    using namespace res;
    LayoutView mini{{400, 176}};
    mini.mini = true;
    EXPECT_EQ(ControlRect(kIdcHideToTray, mini), (Rect{378, 5, 393, 20}));
    EXPECT_EQ(ControlRect(kIdcNormalSize, mini), (Rect{359, 5, 374, 20}));
    EXPECT_EQ(ControlRect(kIdcBrowser, mini), (Rect{282, 34, 390, 124}));
    EXPECT_EQ(ControlRect(kIdcPlay, mini), (Rect{60, 134, 113, 167}));
    for (int hidden : {kIdcMoveUp, kIdcMoveDown, kIdcDeleteEntries, kIdcSearch, kIdcSearchEdit,
                       kIdcResultList, kIdcPlaylist}) {
        EXPECT_TRUE(HiddenInMini(hidden)) << hidden;
        EXPECT_TRUE(ControlRect(hidden, mini).IsEmpty()) << hidden;
    }
    EXPECT_FALSE(HiddenInMini(kIdcPlay));
    // Big-video view does not exist in mini size: the video keeps its small place.
    mini.bigVideo = true;
    EXPECT_EQ(ControlRect(kIdcBrowser, mini), (Rect{282, 34, 390, 124}));
}

TEST(WindowGeometryTest, TheBigVideoKeepsItsAspectInEachOfItsThreeCases) {
    // Neither wider than 1599 nor than the client less 50: the height decides.
    EXPECT_EQ(BigVideoRect({785, 600}), (Rect{133, 203, 651, 573}));
    // Wider than 1599: a fixed 1023 x 730, centred.
    EXPECT_EQ(BigVideoRect({1920, 1400}), (Rect{448, 203, 1471, 933}));
    // h1 = 675, w1 = 945 > 800 - 50: the width decides, 720 wide and 720 / 1.4 = 514 high.
    EXPECT_EQ(BigVideoRect({800, 900}), (Rect{40, 203, 760, 717}));
    // The view puts the browser there and hides the list and the link buttons.
    LayoutView big{{785, 600}};
    big.bigVideo = true;
    EXPECT_EQ(ControlRect(res::kIdcBrowser, big), (Rect{133, 203, 651, 573}));
    for (int id :
         {res::kIdcResultList, res::kIdcHomePage, res::kIdcSearchMore, res::kIdcQnaBoard}) {
        EXPECT_TRUE(HiddenInBigVideo(id)) << id;
    }
    EXPECT_FALSE(HiddenInBigVideo(res::kIdcPlaylist));
    // A client area too low for a video gives an empty rectangle, never an inverted one.
    const Rect none = BigVideoRect({400, 176});
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_GE(none.Width(), 0);
    EXPECT_GE(none.Height(), 0);
}

TEST(WindowGeometryTest, TheFramePiecesFollowTheSizeAndTheMiniWindowHasNoBottomBar) {
    const FrameLayout normal = FrameAreas(LayoutView{{785, 600}});
    EXPECT_EQ(normal.topStrip, (Rect{0, 0, 785, 27}));
    EXPECT_EQ(normal.topRightEnd, (Rect{700, 0, 785, 27}));
    EXPECT_EQ(normal.topTileFirstX, 6);
    EXPECT_EQ(normal.topTileLastX, 700);
    EXPECT_EQ(normal.logo, (Rect{7, 4, 88, 23}));
    EXPECT_EQ(normal.borderHeight, 548);
    EXPECT_EQ(normal.leftBorder, (Rect{0, 27, 2, 575}));
    EXPECT_EQ(normal.rightBorder, (Rect{783, 27, 785, 575}));
    EXPECT_EQ(normal.bottomStrip, (Rect{0, 575, 785, 600}));
    EXPECT_EQ(normal.bottomLeftEnd, (Rect{0, 575, 5, 600}));
    EXPECT_EQ(normal.bottomRightEnd, (Rect{771, 575, 785, 600}));
    EXPECT_EQ(normal.bottomTileLastX, 771);
    EXPECT_EQ(normal.centrePanel, (Rect{0, 27, 785, 576}));
    EXPECT_EQ(normal.playerPanel, (Rect{4, 27, 400, 175}));
    EXPECT_EQ(normal.panelImage, (Point{2, 28}));
    EXPECT_EQ(normal.dotLine, (Rect{398, 174, 784, 176}));
    EXPECT_TRUE(normal.panelListArea.IsEmpty());

    LayoutView miniView{{400, 176}};
    miniView.mini = true;
    const FrameLayout mini = FrameAreas(miniView);
    EXPECT_TRUE(mini.bottomStrip.IsEmpty());
    EXPECT_EQ(mini.borderHeight, 149) << "the borders run to the bottom edge";
    EXPECT_EQ(mini.leftBorder.bottom, 176);
    EXPECT_EQ(mini.centrePanel, (Rect{0, 27, 400, 176}));

    LayoutView bigView{{785, 600}};
    bigView.bigVideo = true;
    EXPECT_EQ(FrameAreas(bigView).panelListArea, (Rect{5, 176, 778, 547}));

    EXPECT_EQ(PlayModeIndicatorRect(1), (Rect{213, 50, 238, 64}));
    EXPECT_EQ(PlayModeIndicatorRect(2), (Rect{186, 50, 211, 64}));
    EXPECT_EQ(PlayModeIndicatorRect(3), (Rect{241, 50, 266, 64}));
    EXPECT_TRUE(PlayModeIndicatorRect(0).IsEmpty());
    EXPECT_TRUE(PlayModeIndicatorRect(4).IsEmpty());
}

TEST(WindowGeometryTest, TheMiniWindowSitsInTheWorkAreasBottomRightCorner) {
    EXPECT_EQ(MiniRect({0, 0, 1280, 800}), (Rect{880, 624, 1280, 800}));
    EXPECT_EQ(MiniRect({100, 30, 1380, 830}), (Rect{980, 654, 1380, 830}));
}

TEST(WindowGeometryTest, SnapsWithinTenPixelsOfEachEdgeFromInsideOnly) {
    const Rect work{0, 0, 1280, 800};
    const Size size{785, 600};
    auto x = [&](int proposed) { return SnapToWorkArea({proposed, 100}, size, work).x; };
    auto y = [&](int proposed) { return SnapToWorkArea({300, proposed}, size, work).y; };
    EXPECT_EQ(x(10), 0);
    EXPECT_EQ(x(1), 0);
    EXPECT_EQ(x(11), 11);
    EXPECT_EQ(x(0), 0);
    EXPECT_EQ(x(-5), -5) << "beyond the edge stays";
    for (int proposed = 485; proposed <= 494; ++proposed) {
        EXPECT_EQ(x(proposed), 495) << proposed;
    }
    EXPECT_EQ(x(484), 484);
    EXPECT_EQ(x(495), 495);
    EXPECT_EQ(x(500), 500) << "beyond the right edge stays";
    EXPECT_EQ(y(10), 0);
    EXPECT_EQ(y(11), 11);
    EXPECT_EQ(y(190), 200);
    EXPECT_EQ(y(199), 200);
    EXPECT_EQ(y(189), 189);
    EXPECT_EQ(y(201), 201);
}

TEST(WindowGeometryTest, SnapsToAWorkAreaThatDoesNotStartAtTheOrigin) {
    // A left dock 100 wide and a top panel 30 high: the edges are the work area's own.
    const Rect work{100, 30, 1380, 830};
    const Size size{785, 600};
    auto at = [&](int x, int y) { return SnapToWorkArea({x, y}, size, work); };
    EXPECT_EQ(at(110, 200), (Point{100, 200}));
    EXPECT_EQ(at(111, 200), (Point{111, 200}));
    EXPECT_EQ(at(5, 200), (Point{5, 200})) << "under the dock: beyond the edge, left alone";
    EXPECT_EQ(at(100, 200), (Point{100, 200}));
    EXPECT_EQ(at(300, 40), (Point{300, 30}));
    EXPECT_EQ(at(300, 8), (Point{300, 8})) << "under the panel, left alone";
    EXPECT_EQ(at(585, 200), (Point{595, 200}));
    EXPECT_EQ(at(594, 200), (Point{595, 200}));
    EXPECT_EQ(at(584, 200), (Point{584, 200}));
    EXPECT_EQ(at(300, 220), (Point{300, 230}));
    EXPECT_EQ(at(300, 229), (Point{300, 230}));
    EXPECT_EQ(at(300, 219), (Point{300, 219}));
    // Both edges of a corner at once.
    EXPECT_EQ(at(590, 225), (Point{595, 230}));
}

TEST(WindowGeometryTest, HandlesAreFoundInThePressOrderAndTheTopBarExcludesThem) {
    const Size client{785, 600};
    EXPECT_EQ(HandleAt({1, 100}, client), kHandleLeft);
    EXPECT_EQ(HandleAt({783, 100}, client), kHandleRight);
    EXPECT_EQ(HandleAt({300, 598}, client), kHandleBottom);
    EXPECT_EQ(HandleAt({300, 1}, client), kHandleTop);
    EXPECT_EQ(HandleAt({15, 15}, client), kHandleTopLeft);
    EXPECT_EQ(HandleAt({783, 1}, client), kHandleTopRight);
    EXPECT_EQ(HandleAt({770, 10}, client), kNoHandle) << "the top-right handle is 3 x 3";
    EXPECT_EQ(HandleAt({770, 590}, client), kHandleBottomRight);
    EXPECT_EQ(HandleAt({10, 590}, client), kHandleBottomLeft);
    // Where two handles meet, the earlier in the press order wins: the left edge runs down to
    // y = H - 27, over the top of the bottom-left corner.
    EXPECT_EQ(HandleAt({1, 572}, client), kHandleLeft);
    EXPECT_EQ(HandleAt({1, 573}, client), kHandleBottomLeft);
    EXPECT_EQ(HandleAt({1, 598}, client), kHandleBottomLeft) << "left of the bottom edge";
    EXPECT_EQ(HandleAt({400, 300}, client), kNoHandle);
    EXPECT_EQ(HandleAt({785, 100}, client), kNoHandle) << "outside the client area";

    EXPECT_TRUE(InTopBar({200, 10}, client));
    EXPECT_TRUE(InTopBar({770, 10}, client));
    EXPECT_FALSE(InTopBar({15, 10}, client)) << "the top-left corner handle";
    EXPECT_FALSE(InTopBar({200, 1}, client)) << "the top edge handle";
    EXPECT_FALSE(InTopBar({200, 27}, client));

    EXPECT_EQ(CursorForHandle(kHandleLeft), plat::CursorShape::kSizeWE);
    EXPECT_EQ(CursorForHandle(kHandleBottom), plat::CursorShape::kSizeNS);
    EXPECT_EQ(CursorForHandle(kHandleTopLeft), plat::CursorShape::kSizeNWSE);
    EXPECT_EQ(CursorForHandle(kHandleBottomLeft), plat::CursorShape::kSizeNESW);
    EXPECT_EQ(CursorForHandle(kHandleTopRight), plat::CursorShape::kSizeNESW);
    EXPECT_EQ(CursorForHandle(kNoHandle), plat::CursorShape::kArrow);
}

TEST(WindowGeometryTest, TheOutlineMovesOnlyTheDraggedEdgesAndStopsAtTheSmallestSize) {
    const Size minimum{785, 600};
    const Rect start{100, 50, 1100, 850};  // 1000 x 800
    EXPECT_EQ(ResizeOutline(kHandleRight, start, {120, 40}, minimum), (Rect{100, 50, 1220, 850}));
    EXPECT_EQ(ResizeOutline(kHandleRight, start, {-300, 0}, minimum), (Rect{100, 50, 885, 850}))
        << "the right edge stops where the outline is 785 wide";
    EXPECT_EQ(ResizeOutline(kHandleLeft, start, {-50, 0}, minimum), (Rect{50, 50, 1100, 850}));
    EXPECT_EQ(ResizeOutline(kHandleLeft, start, {400, 0}, minimum), (Rect{315, 50, 1100, 850}));
    EXPECT_EQ(ResizeOutline(kHandleBottom, start, {30, -500}, minimum), (Rect{100, 50, 1100, 650}));
    EXPECT_EQ(ResizeOutline(kHandleTop, start, {0, 100}, minimum), (Rect{100, 150, 1100, 850}));
    EXPECT_EQ(ResizeOutline(kHandleTopLeft, start, {500, 500}, minimum),
              (Rect{315, 250, 1100, 850}));
    EXPECT_EQ(ResizeOutline(kHandleTopRight, start, {-20, -20}, minimum),
              (Rect{100, 30, 1080, 850}));
    EXPECT_EQ(ResizeOutline(kHandleBottomLeft, start, {-10, 10}, minimum),
              (Rect{90, 50, 1100, 860}));
    EXPECT_EQ(ResizeOutline(kHandleBottomRight, start, {-999, -999}, minimum),
              (Rect{100, 50, 885, 650}));
    // A window at the smallest size cannot be dragged smaller at all.
    const Rect smallest{0, 0, 785, 600};
    EXPECT_EQ(ResizeOutline(kHandleRight, smallest, {-1, 0}, minimum), smallest);
}

TEST(WindowGeometryTest, TheShapeRoundsTheTopCornersAndTheBottomOnesOnlyInNormalSize) {
    const std::vector<Rect> normal = WindowRegionRects({785, 600}, true, false);
    // Top-left: six pixels cut on the first row, four on the second, none from the seventh.
    EXPECT_FALSE(InShape(normal, {0, 0}));
    EXPECT_FALSE(InShape(normal, {5, 0}));
    EXPECT_TRUE(InShape(normal, {6, 0}));
    EXPECT_FALSE(InShape(normal, {3, 1}));
    EXPECT_TRUE(InShape(normal, {4, 1}));
    EXPECT_TRUE(InShape(normal, {0, 6}));
    // The shape runs one pixel past the client area, so the right corner is cut from x 786.
    EXPECT_FALSE(InShape(normal, {780, 0}));
    EXPECT_TRUE(InShape(normal, {779, 0}));
    EXPECT_TRUE(InShape(normal, {784, 300}));
    EXPECT_FALSE(InShape(normal, {0, 599}));
    EXPECT_TRUE(InShape(normal, {4, 599}));
    EXPECT_TRUE(InShape(normal, {400, 300}));
    EXPECT_TRUE(InShape(normal, {784, 200}));
    // Disjoint rows merged: a handful of rectangles, not one per row.
    EXPECT_LT(normal.size(), 30u);
    for (size_t i = 0; i < normal.size(); ++i) {
        for (size_t j = i + 1; j < normal.size(); ++j) {
            EXPECT_TRUE(normal[i].bottom <= normal[j].top || normal[j].bottom <= normal[i].top);
        }
    }

    const std::vector<Rect> mini = WindowRegionRects({400, 176}, false, false);
    EXPECT_FALSE(InShape(mini, {0, 0}));
    EXPECT_TRUE(InShape(mini, {0, 175})) << "the mini window has square bottom corners";
    EXPECT_TRUE(InShape(mini, {399, 175}));

    // Maximised by the window manager: the shape starts four pixels in.
    const std::vector<Rect> inset = WindowRegionRects({1280, 776}, true, true);
    EXPECT_FALSE(InShape(inset, {3, 300}));
    EXPECT_TRUE(InShape(inset, {4, 300}));
    EXPECT_TRUE(InShape(inset, {1276, 300}));
    EXPECT_FALSE(InShape(inset, {1277, 300}));
    EXPECT_FALSE(InShape(inset, {4, 4}));

    EXPECT_TRUE(WindowRegionRects({0, 0}, true, false).empty()) << "no window, no shape";
}

TEST(WindowGeometryTest, MaximisesToTheWorkAreaOfTheScreenUnderTheWindowsCentre) {
    // A 1920 x 1080 primary with a top panel, and a smaller 1280 x 1024 screen to its left,
    // lower down: what the old rule (second screen to the right, same size) got wrong.
    const std::vector<plat::Screen> screens = {
        {{0, 0, 1920, 1080}, {0, 32, 1920, 1080}},
        {{-1280, 56, 0, 1080}, {-1280, 56, 0, 1040}},
    };
    EXPECT_EQ(MaximizeTarget({100, 100, 885, 700}, screens), (Rect{0, 32, 1920, 1080}));
    EXPECT_EQ(MaximizeTarget({-1000, 200, -215, 800}, screens), (Rect{-1280, 56, 0, 1040}));
    // Straddling both: the centre decides.
    EXPECT_EQ(MaximizeTarget({-500, 200, 285, 800}, screens), (Rect{-1280, 56, 0, 1040}));
    EXPECT_EQ(MaximizeTarget({-300, 200, 485, 800}, screens), (Rect{0, 32, 1920, 1080}));
    // A centre on no screen (above the smaller one) takes the nearest.
    EXPECT_EQ(MaximizeTarget({-1000, -400, -215, 100}, screens), (Rect{-1280, 56, 0, 1040}));

    // The case the old rule was written for: a second screen of the same size to the right.
    const std::vector<plat::Screen> sideBySide = {
        {{0, 0, 1280, 1024}, {0, 0, 1280, 984}},
        {{1280, 0, 2560, 1024}, {1280, 0, 2560, 1024}},
    };
    EXPECT_EQ(MaximizeTarget({1400, 100, 2185, 700}, sideBySide), (Rect{1280, 0, 2560, 1024}));
    EXPECT_EQ(MaximizeTarget({100, 100, 885, 700}, sideBySide), (Rect{0, 0, 1280, 984}));

    EXPECT_EQ(MaximizeTarget({1, 2, 3, 4}, {}), (Rect{1, 2, 3, 4})) << "no screens: stays";
}

}  // namespace
}  // namespace tunova
