#include "app/view_geometry.h"

#include <gtest/gtest.h>

#include "app/status_text.h"
#include "resources/resource.h"

namespace {

bool sameRect(const ViewRect& a, const ViewRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(actual, l, t, r, b) EXPECT_PRED2(sameRect, (actual), (ViewRect{l, t, r, b}))

ScrollBarsInput input1000(int32_t zoomType) {
    ScrollBarsInput in{};
    in.canvasWidth = 1000;
    in.canvasHeight = 1000;
    in.area = {200, 100};
    in.hPos = 100;
    in.vPos = 50;
    in.zoomType = zoomType;
    in.cursor = {30, 40};
    in.selection = {10, 20, 41, 51};
    in.gridWidth = 8;
    in.gridHeight = 8;
    return in;
}

}  // namespace

TEST(ViewGeometry, ViewAreaAndCanvasOriginLeaveRoomForBarsAndMargin) {
    ViewArea a = viewAreaOf(800, 600, 16, 16, 22);
    EXPECT_EQ(a.width, 784);
    EXPECT_EQ(a.height, 562);
    EXPECT_EQ(canvasOrigin(0, 0).x, 8);
    EXPECT_EQ(canvasOrigin(0, 0).y, 8);
    EXPECT_EQ(canvasOrigin(30, 100).x, -22);
    EXPECT_EQ(canvasOrigin(30, 100).y, -92);
}

TEST(ViewGeometry, CursorToCanvasDividesInSinglePrecisionAndTruncatesTowardZero) {
    CanvasPoint p = cursorToCanvas(8, 8, 1.0f, 0, 0);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    // Up to one canvas pixel left of or above the canvas still maps to 0.
    p = cursorToCanvas(5, 7, 4.0f, 0, 0);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    p = cursorToCanvas(4, 3, 4.0f, 0, 0);
    EXPECT_EQ(p.x, -1);
    EXPECT_EQ(p.y, -1);
    p = cursorToCanvas(9, 11, 0.5f, 0, 0);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 6);
    p = cursorToCanvas(8, 18, 2.0f, 100, 40);
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 25);
    // 3 / 0.1f is 29.9999996 in double but rounds to 30 in single precision.
    p = cursorToCanvas(11, 8, 0.1f, 0, 0);
    EXPECT_EQ(p.x, 30);
}

TEST(ViewGeometry, CursorToCanvasSurvivesPositionsPastSixteenBits) {
    CanvasPoint p = cursorToCanvas(8, 8, 16.0f, 40000 * 16, 70000 * 16);
    EXPECT_EQ(p.x, 40000);
    EXPECT_EQ(p.y, 70000);
}

TEST(ViewGeometry, CanvasRectToViewIsInclusiveAndFollowsZoomAndScroll) {
    EXPECT_RECT(canvasRectToView({0, 0, 31, 31}, 1.0f, 0, 0), 8, 8, 39, 39);
    EXPECT_RECT(canvasRectToView({0, 0, 31, 31}, 2.0f, 10, 20), -2, -12, 61, 51);
    // At 0.5 a two-pixel rectangle is one client pixel: right + 1 == left + 1.
    EXPECT_RECT(canvasRectToView({1, 1, 2, 2}, 0.5f, 0, 0), 8, 8, 8, 8);
    EXPECT_RECT(canvasRectToView({-24, -24, 7, 7}, 1.0f, 0, 0), -16, -16, 15, 15);
}

TEST(ViewGeometry, InvalidateRectanglesAreCutToTheView) {
    ViewArea area{100, 50};
    EXPECT_RECT(clipToView({-5, -6, 200, 300}, area), 0, 0, 100, 50);
    EXPECT_RECT(clipToView({10, 11, 20, 21}, area), 10, 11, 20, 21);
    EXPECT_RECT(wholeView(area), 0, 0, 100, 50);
}

TEST(ViewGeometry, SelectionFrameMarksFourBandsAroundTheOutline) {
    FrameInvalidation f =
        selectionFrameRects({0, 0, 31, 31}, 1.0f, 0, 0, {100, 100}, {false, 0, 0});
    ASSERT_EQ(f.count, 4);
    EXPECT_RECT(f.rects[0], 6, 6, 41, 10);
    EXPECT_RECT(f.rects[1], 37, 6, 41, 41);
    EXPECT_RECT(f.rects[2], 6, 37, 41, 41);
    EXPECT_RECT(f.rects[3], 6, 6, 10, 41);
}

TEST(ViewGeometry, SelectionFrameAddsTheCopyFootprintCornersCutToTheView) {
    FrameInvalidation f =
        selectionFrameRects({0, 0, 31, 31}, 1.0f, 0, 0, {50, 30}, {true, 40, 20});
    ASSERT_EQ(f.count, 8);
    EXPECT_RECT(f.rects[0], 6, 6, 41, 10);
    EXPECT_RECT(f.rects[1], 37, 6, 41, 30);  // bottom cut to the view
    // Footprint corners (8, 8), (48, 8), (48, 28), (8, 28).
    EXPECT_RECT(f.rects[4], 0, 0, 18, 18);
    EXPECT_RECT(f.rects[5], 38, 0, 50, 18);
    EXPECT_RECT(f.rects[6], 38, 18, 50, 30);
    EXPECT_RECT(f.rects[7], 0, 18, 18, 30);
}

TEST(ViewGeometry, SelectionFrameFootprintScalesWithZoom) {
    FrameInvalidation f =
        selectionFrameRects({0, 0, 31, 31}, 0.5f, 0, 0, {500, 500}, {true, 41, 21});
    ASSERT_EQ(f.count, 8);
    // X = trunc(41 * 0.5) + 8 = 28, Y = trunc(21 * 0.5) + 8 = 18.
    EXPECT_RECT(f.rects[6], 18, 8, 38, 28);
}

TEST(ViewGeometry, ScrollBarsOfASmallCanvasCoverTheirRange) {
    ScrollBarsInput in{};
    in.canvasWidth = 256;
    in.canvasHeight = 256;
    in.area = {600, 400};
    ScrollBarsUpdate u = scrollBarsFor(1.0f, 1.0f, in);
    EXPECT_EQ(u.horizontal.min, 0);
    EXPECT_EQ(u.horizontal.max, 271);  // 256 + 16 - 1
    EXPECT_EQ(u.horizontal.page, 600);
    EXPECT_EQ(u.vertical.page, 400);
    EXPECT_EQ(barPosition(u.horizontal), 0);
    EXPECT_EQ(barPosition(u.vertical), 0);
}

TEST(ViewGeometry, ZoomKeepsTheWindowCentreUnderZoomType0AndUnknownTypes) {
    for (int32_t type : {0, 7, -1}) {
        ScrollBarsUpdate u = scrollBarsFor(1.0f, 2.0f, input1000(type));
        EXPECT_EQ(u.horizontal.max, 2015);
        EXPECT_EQ(u.vertical.max, 2015);
        EXPECT_EQ(u.horizontal.pos, 300);  // (100 + 100) * 2 - 100
        EXPECT_EQ(u.vertical.pos, 150);    // (50 + 50) * 2 - 50
    }
}

TEST(ViewGeometry, SameZoomLeavesTheWindowCentrePositionsAlone) {
    ScrollBarsUpdate u = scrollBarsFor(1.25f, 1.25f, input1000(0));
    EXPECT_EQ(u.horizontal.pos, 100);
    EXPECT_EQ(u.vertical.pos, 50);
}

TEST(ViewGeometry, ZoomType1CentresTheCursorsCanvasPoint) {
    ScrollBarsUpdate u = scrollBarsFor(1.0f, 2.0f, input1000(1));
    EXPECT_EQ(u.horizontal.pos, -40);  // 30 * 2 - 100
    EXPECT_EQ(u.vertical.pos, 30);     // 40 * 2 - 50
}

TEST(ViewGeometry, ZoomType2CentresTheSelection) {
    ScrollBarsUpdate u = scrollBarsFor(1.0f, 2.0f, input1000(2));
    EXPECT_EQ(u.horizontal.pos, -48);  // (32 / 2 + 10) * 2 - 100
    EXPECT_EQ(u.vertical.pos, 22);     // (32 / 2 + 20) * 2 - 50
}

TEST(ViewGeometry, ZoomType3CentresTheSelectionsFirstGridCell) {
    ScrollBarsUpdate u = scrollBarsFor(1.0f, 2.0f, input1000(3));
    EXPECT_EQ(u.horizontal.pos, -72);  // (8 / 2 + 10) * 2 - 100
    EXPECT_EQ(u.vertical.pos, -2);     // (8 / 2 + 20) * 2 - 50
}

TEST(ViewGeometry, ANegativeViewGivesAnEmptyPageNotAHugeOne) {
    ScrollBarsInput in = input1000(0);
    in.area = {-10, -3};
    ScrollBarsUpdate u = scrollBarsFor(1.0f, 1.0f, in);
    EXPECT_EQ(u.horizontal.page, 0);
    EXPECT_EQ(u.vertical.page, 0);
}

TEST(ViewGeometry, BarPositionIsClampedLikeTheControlDoes) {
    EXPECT_EQ(barPosition({0, 271, 100, 500}), 172);
    EXPECT_EQ(barPosition({0, 271, 100, -5}), 0);
    EXPECT_EQ(barPosition({0, 271, 600, 40}), 0);
    EXPECT_EQ(barPosition({0, 271, 0, 271}), 271);
    EXPECT_EQ(barPosition({0, 80000, 100, 40000}), 40000);
}

TEST(ViewGeometry, ScrollMessagesDoNothingWithoutCanvasOrRoomToScroll) {
    EXPECT_FALSE(scrollPositionFor({0, 1000, 100, 50}, kScrollLineDown, 0, false));
    EXPECT_FALSE(scrollPositionFor({0, 271, 600, 0}, kScrollLineDown, 0, true));
    EXPECT_FALSE(scrollPositionFor({0, 271, 271, 0}, kScrollLineDown, 0, true));
}

TEST(ViewGeometry, ScrollMessagesStepByLinePageAndEnds) {
    const ScrollBarValues bar{0, 1000, 100, 50};
    EXPECT_EQ(*scrollPositionFor(bar, kScrollLineUp, 0, true), 44);  // 100 / 16 = 6
    EXPECT_EQ(*scrollPositionFor(bar, kScrollLineDown, 0, true), 56);
    EXPECT_EQ(*scrollPositionFor({0, 1000, 10, 50}, kScrollLineDown, 0, true), 51);  // at least 1
    EXPECT_EQ(*scrollPositionFor(bar, kScrollPageUp, 0, true), -50);  // the bar clamps it
    EXPECT_EQ(*scrollPositionFor(bar, kScrollPageDown, 0, true), 150);
    EXPECT_EQ(*scrollPositionFor(bar, kScrollTop, 0, true), 0);
    EXPECT_EQ(*scrollPositionFor(bar, kScrollBottom, 0, true), 1000);
    EXPECT_EQ(*scrollPositionFor(bar, kScrollEnd, 0, true), 50);
}

TEST(ViewGeometry, ThumbPositionsPast32767StayPositive) {
    const ScrollBarValues bar{0, 100000, 500, 0};
    EXPECT_EQ(*scrollPositionFor(bar, kScrollThumbTrack, 40000, true), 40000);
    EXPECT_EQ(*scrollPositionFor(bar, kScrollThumbPosition, 99999, true), 99999);
    EXPECT_EQ(*scrollPositionFor(bar, kScrollThumbPosition, 200000, true), 100000);
    EXPECT_EQ(*scrollPositionFor(bar, kScrollThumbTrack, -3, true), 0);
}

TEST(ViewGeometry, PageCommandsPickTheirBarAndDirection) {
    auto up = pageScrollFor(ID_VIEW_PAGE_UP);
    auto down = pageScrollFor(ID_VIEW_PAGE_DOWN);
    auto left = pageScrollFor(ID_VIEW_PAGE_LEFT);
    auto right = pageScrollFor(ID_VIEW_PAGE_RIGHT);
    ASSERT_TRUE(up && down && left && right);
    EXPECT_TRUE(up->vertical);
    EXPECT_EQ(up->request, kScrollPageUp);
    EXPECT_TRUE(down->vertical);
    EXPECT_EQ(down->request, kScrollPageDown);
    EXPECT_FALSE(left->vertical);
    EXPECT_EQ(left->request, kScrollPageUp);
    EXPECT_FALSE(right->vertical);
    EXPECT_EQ(right->request, kScrollPageDown);
    EXPECT_FALSE(pageScrollFor(ID_VIEW_ZOOM_IN));
}

TEST(Zoom, FixedZoomCommandsSetTheirFactor) {
    const std::pair<uint32_t, float> cases[] = {
        {ID_VIEW_ZOOM_0_5, 0.5f}, {ID_VIEW_ZOOM_1, 1.0f}, {ID_VIEW_ZOOM_2, 2.0f},
        {ID_VIEW_ZOOM_4, 4.0f},   {ID_VIEW_ZOOM_6, 6.0f}, {ID_VIEW_ZOOM_8, 8.0f},
        {ID_VIEW_ZOOM_16, 16.0f},
    };
    for (auto [id, zoom] : cases) {
        auto z = zoomForCommand(id, 3.0f, false);
        ASSERT_TRUE(z) << id;
        EXPECT_EQ(*z, zoom);
    }
    EXPECT_FALSE(zoomForCommand(ID_VIEW_PAGE_UP, 1.0f, false));
}

TEST(Zoom, ZoomOutFromAQuarterDoesNothingWithOrWithoutSpace) {
    EXPECT_FALSE(zoomForCommand(ID_VIEW_ZOOM_OUT, 0.25f, false));
    EXPECT_FALSE(zoomForCommand(ID_VIEW_ZOOM_OUT, 0.25f, true));
}

TEST(Zoom, ZoomOutFrom0_3125GivesAQuarterWithSpaceAndASixteenthWithout) {
    EXPECT_EQ(*zoomForCommand(ID_VIEW_ZOOM_OUT, 0.3125f, true), 0.25f);
    auto z = zoomForCommand(ID_VIEW_ZOOM_OUT, 0.3125f, false);
    ASSERT_TRUE(z);
    EXPECT_EQ(*z, 0.0625f);
    EXPECT_FALSE(zoomForCommand(ID_VIEW_ZOOM_OUT, *z, false));
    EXPECT_FALSE(zoomForCommand(ID_VIEW_ZOOM_OUT, *z, true));
}

TEST(Zoom, ZoomInHasNoUpperBound) {
    auto z = zoomForCommand(ID_VIEW_ZOOM_IN, 16.0f, false);
    ASSERT_TRUE(z);
    EXPECT_EQ(*z, 16.25f);
    EXPECT_EQ(zoomText(*z), u"x16.25");
    EXPECT_EQ(*zoomForCommand(ID_VIEW_ZOOM_IN, 16.0f, true), 16.0625f);
}

TEST(WindowLayout, MinimisingDoesNothingAndOtherSizeTypesOnlyUpdateTheBars) {
    EXPECT_EQ(layoutForSize(1, 0, 0, 16, 16, 20).action, SizeAction::Ignore);
    EXPECT_EQ(layoutForSize(3, 800, 600, 16, 16, 20).action, SizeAction::UpdateScrollBars);
    EXPECT_EQ(layoutForSize(4, 800, 600, 16, 16, 20).action, SizeAction::UpdateScrollBars);
}

TEST(WindowLayout, RestoredAndMaximisedPlaceTheBarsAroundTheView) {
    for (int32_t type : {0, 2}) {
        SizeLayout l = layoutForSize(type, 800, 600, 16, 17, 20);
        EXPECT_EQ(l.action, SizeAction::LayOutAndUpdate);
        EXPECT_EQ(l.vScroll.x, 784);
        EXPECT_EQ(l.vScroll.y, 0);
        EXPECT_EQ(l.vScroll.width, 16);
        EXPECT_EQ(l.vScroll.height, 580);
        EXPECT_EQ(l.hScroll.x, 0);
        EXPECT_EQ(l.hScroll.y, 563);
        EXPECT_EQ(l.hScroll.width, 784);
        EXPECT_EQ(l.hScroll.height, 17);
        EXPECT_EQ(l.area.width, 784);
        EXPECT_EQ(l.area.height, 563);
    }
}

TEST(BackBufferGrowth, AViewPast640x480GetsExactlyTheViewSize) {
    BufferSize b = backBufferSizeFor({640, 480}, {800, 600});
    EXPECT_EQ(b.width, 800);
    EXPECT_EQ(b.height, 600);
    b = backBufferSizeFor({640, 480}, {641, 100});
    EXPECT_EQ(b.width, 641);
    EXPECT_EQ(b.height, 100);
}

TEST(BackBufferGrowth, ShrinkingTheViewInBothDirectionsKeepsTheSize) {
    BufferSize b = backBufferSizeFor({800, 600}, {700, 500});
    EXPECT_EQ(b.width, 800);
    EXPECT_EQ(b.height, 600);
    b = backBufferSizeFor({800, 600}, {800, 600});
    EXPECT_EQ(b.width, 800);
    EXPECT_EQ(b.height, 600);
}

TEST(BackBufferGrowth, WiderButLowerGivesExactlyTheNewViewSize) {
    BufferSize b = backBufferSizeFor({800, 600}, {900, 400});
    EXPECT_EQ(b.width, 900);
    EXPECT_EQ(b.height, 400);
    b = backBufferSizeFor({800, 600}, {500, 700});
    EXPECT_EQ(b.width, 500);
    EXPECT_EQ(b.height, 700);
}

TEST(BackBufferGrowth, ADirectionWithoutPixelsKeepsItsSize) {
    // A window squeezed to its status bar has no view height; the buffer
    // still grows in width instead of failing to resize at all.
    BufferSize b = backBufferSizeFor({800, 600}, {900, -12});
    EXPECT_EQ(b.width, 900);
    EXPECT_EQ(b.height, 600);
}
