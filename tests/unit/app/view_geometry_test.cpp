#include "app/view_geometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "app/status_text.h"
#include "resources/resource.h"

namespace {

bool sameRect(const ViewRect& a, const ViewRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(actual, l, t, r, b) EXPECT_PRED2(sameRect, (actual), (ViewRect{l, t, r, b}))

// A 1000 x 1000 canvas in a 200 x 100 view scrolled to (100, 50), the cursor
// over canvas (30, 40), the selection (10, 20)-(41, 51) on an 8 x 8 grid.
ScrollBarsInput input1000(int32_t zoomType) {
    return {1000, 1000, {200, 100}, 100, 50, zoomType, {30, 40}, {10, 20, 41, 51}, 8, 8};
}

}  // namespace

TEST(ViewGeometry, CursorToCanvasDividesInSinglePrecisionAndTruncatesTowardZero) {
    const struct {
        int32_t cx, cy;
        float zoom;
        int32_t hPos, vPos, x, y;
    } cases[] = {
        {8, 8, 1.0f, 0, 0, 0, 0},
        {5, 7, 4.0f, 0, 0, 0, 0},  // up to one canvas pixel left of or above it is still 0
        {4, 3, 4.0f, 0, 0, -1, -1},
        {9, 11, 0.5f, 0, 0, 2, 6},
        {8, 18, 2.0f, 100, 40, 50, 25},
        {11, 8, 0.1f, 0, 0, 30, 0},  // 3 / 0.1f: 29.9999996 in double, 30 in single precision
        {8, 8, 16.0f, 40000 * 16, 70000 * 16, 40000, 70000},  // positions past 16 bits
    };
    for (const auto& c : cases) {
        const CanvasPoint p = cursorToCanvas(c.cx, c.cy, c.zoom, c.hPos, c.vPos);
        EXPECT_EQ(std::tie(p.x, p.y), std::tie(c.x, c.y)) << c.cx << "," << c.cy << " x" << c.zoom;
    }
}

TEST(ViewGeometry, CanvasRectToViewIsInclusiveAndFollowsZoomAndScroll) {
    EXPECT_RECT(canvasRectToView({0, 0, 31, 31}, 1.0f, 0, 0), 8, 8, 39, 39);
    EXPECT_RECT(canvasRectToView({0, 0, 31, 31}, 2.0f, 10, 20), -2, -12, 61, 51);
    // At 0.5 a two-pixel rectangle is one client pixel: right + 1 == left + 1.
    EXPECT_RECT(canvasRectToView({1, 1, 2, 2}, 0.5f, 0, 0), 8, 8, 8, 8);
    EXPECT_RECT(canvasRectToView({-24, -24, 7, 7}, 1.0f, 0, 0), -16, -16, 15, 15);
}

TEST(ViewGeometry, SelectionFrameMarksFourBandsAndTheCopyFootprintCorners) {
    FrameInvalidation f =
        selectionFrameRects({0, 0, 31, 31}, 1.0f, 0, 0, {100, 100}, {false, 0, 0});
    ASSERT_EQ(f.count, 4);
    EXPECT_RECT(f.rects[0], 6, 6, 41, 10);
    EXPECT_RECT(f.rects[1], 37, 6, 41, 41);
    EXPECT_RECT(f.rects[2], 6, 37, 41, 41);
    EXPECT_RECT(f.rects[3], 6, 6, 10, 41);
    // A CopyBuffer adds its footprint's corners; everything is cut to the view.
    f = selectionFrameRects({0, 0, 31, 31}, 1.0f, 0, 0, {50, 30}, {true, 40, 20});
    ASSERT_EQ(f.count, 8);
    EXPECT_RECT(f.rects[0], 6, 6, 41, 10);
    EXPECT_RECT(f.rects[1], 37, 6, 41, 30);  // bottom cut to the view
    // Footprint corners (8, 8), (48, 8), (48, 28), (8, 28).
    EXPECT_RECT(f.rects[4], 0, 0, 18, 18);
    EXPECT_RECT(f.rects[5], 38, 0, 50, 18);
    EXPECT_RECT(f.rects[6], 38, 18, 50, 30);
    EXPECT_RECT(f.rects[7], 0, 18, 18, 30);
    // At zoom 0.5: X = trunc(41 * 0.5) + 8 = 28, Y = trunc(21 * 0.5) + 8 = 18.
    f = selectionFrameRects({0, 0, 31, 31}, 0.5f, 0, 0, {500, 500}, {true, 41, 21});
    ASSERT_EQ(f.count, 8);
    EXPECT_RECT(f.rects[6], 18, 8, 38, 28);
}

TEST(ScrollBars, EachZoomTypeKeepsItsPointInPlace) {
    const struct {
        int32_t zoomType;
        float oldZoom, newZoom;
        int32_t hPos, vPos;
    } cases[] = {
        {0, 1.0f, 2.0f, 300, 150},  // window centre: (100 + 100) * 2 - 100, (50 + 50) * 2 - 50
        {7, 1.0f, 2.0f, 300, 150},  // unknown types act as 0
        {-1, 1.0f, 2.0f, 300, 150},
        {0, 1.25f, 1.25f, 100, 50},  // the same zoom leaves the positions alone
        {1, 1.0f, 2.0f, -40, 30},    // cursor: 30 * 2 - 100, 40 * 2 - 50
        {2, 1.0f, 2.0f, -48, 22},    // selection centre: (32 / 2 + 10) * 2 - 100
        {3, 1.0f, 2.0f, -72, -2},    // its first grid cell: (8 / 2 + 10) * 2 - 100
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.zoomType << " zoom " << c.newZoom);
        const ScrollBarsUpdate u = scrollBarsFor(c.oldZoom, c.newZoom, input1000(c.zoomType));
        EXPECT_EQ(u.horizontal.pos, c.hPos);
        EXPECT_EQ(u.vertical.pos, c.vPos);
        // The range holds the zoomed canvas and the margin on both sides.
        const int32_t max = c.newZoom == 2.0f ? 2015 : 1265;
        EXPECT_EQ(std::tie(u.horizontal.min, u.horizontal.max, u.horizontal.page),
                  std::make_tuple(0, max, 200));
        EXPECT_EQ(std::tie(u.vertical.min, u.vertical.max, u.vertical.page),
                  std::make_tuple(0, max, 100));
    }
}

TEST(ScrollBars, ANegativeViewGivesAnEmptyPageNotAHugeOne) {
    ScrollBarsInput in = input1000(0);
    in.area = {-10, -3};
    const ScrollBarsUpdate u = scrollBarsFor(1.0f, 1.0f, in);
    EXPECT_EQ(u.horizontal.page, 0);
    EXPECT_EQ(u.vertical.page, 0);
}

TEST(ScrollBars, BarPositionIsClampedLikeTheControlDoes) {
    EXPECT_EQ(barPosition({0, 271, 100, 500}), 172);
    EXPECT_EQ(barPosition({0, 271, 100, -5}), 0);
    EXPECT_EQ(barPosition({0, 271, 600, 40}), 0);
    EXPECT_EQ(barPosition({0, 271, 0, 271}), 271);
    EXPECT_EQ(barPosition({0, 80000, 100, 40000}), 40000);
}

TEST(ScrollMessages, DoNothingWithoutCanvasOrRoomToScroll) {
    EXPECT_FALSE(scrollPositionFor({0, 1000, 100, 50}, kScrollLineDown, 0, false));
    EXPECT_FALSE(scrollPositionFor({0, 271, 600, 0}, kScrollLineDown, 0, true));
    EXPECT_FALSE(scrollPositionFor({0, 271, 271, 0}, kScrollLineDown, 0, true));
}

TEST(ScrollMessages, StepByLinePageAndEndsAndTakeThumbsPast32767) {
    const ScrollBarValues bar{0, 1000, 100, 50}, wide{0, 100000, 500, 0};
    const struct {
        ScrollBarValues bar;
        int32_t request, thumb, pos;
    } cases[] = {
        {bar, kScrollLineUp, 0, 44},  // 100 / 16 = 6
        {bar, kScrollLineDown, 0, 56},
        {{0, 1000, 10, 50}, kScrollLineDown, 0, 51},  // at least 1
        {bar, kScrollPageUp, 0, -50},                 // the bar clamps it
        {bar, kScrollPageDown, 0, 150},
        {bar, kScrollTop, 0, 0},
        {bar, kScrollBottom, 0, 1000},
        {bar, kScrollEnd, 0, 50},
        {wide, kScrollThumbTrack, 40000, 40000},
        {wide, kScrollThumbPosition, 99999, 99999},
        {wide, kScrollThumbPosition, 200000, 100000},
        {wide, kScrollThumbTrack, -3, 0},
    };
    for (const auto& c : cases) {
        const auto pos = scrollPositionFor(c.bar, c.request, c.thumb, true);
        ASSERT_TRUE(pos) << "request " << c.request;
        EXPECT_EQ(*pos, c.pos) << "request " << c.request << " thumb " << c.thumb;
    }
}

TEST(ScrollMessages, PageCommandsPickTheirBarAndDirection) {
    const std::tuple<uint32_t, bool, int32_t> cases[] = {
        {ID_VIEW_PAGE_UP, true, kScrollPageUp},
        {ID_VIEW_PAGE_DOWN, true, kScrollPageDown},
        {ID_VIEW_PAGE_LEFT, false, kScrollPageUp},
        {ID_VIEW_PAGE_RIGHT, false, kScrollPageDown},
    };
    for (const auto& [id, vertical, request] : cases) {
        const auto page = pageScrollFor(id);
        ASSERT_TRUE(page) << id;
        EXPECT_EQ(page->vertical, vertical) << id;
        EXPECT_EQ(page->request, request) << id;
    }
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

TEST(Zoom, StepsNeverReachZeroAndHaveNoUpperBound) {
    const struct {
        uint32_t id;
        float from;
        bool space;
        std::optional<float> to;
    } cases[] = {
        {ID_VIEW_ZOOM_OUT, 0.25f, false, std::nullopt},  // from a quarter: nothing
        {ID_VIEW_ZOOM_OUT, 0.25f, true, std::nullopt},
        {ID_VIEW_ZOOM_OUT, 0.3125f, true, 0.25f},  // Space steps by a sixteenth
        {ID_VIEW_ZOOM_OUT, 0.3125f, false, 0.0625f},
        {ID_VIEW_ZOOM_OUT, 0.0625f, false, std::nullopt},  // and then nothing
        {ID_VIEW_ZOOM_OUT, 0.0625f, true, std::nullopt},
        {ID_VIEW_ZOOM_IN, 16.0f, false, 16.25f},
        {ID_VIEW_ZOOM_IN, 16.0f, true, 16.0625f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zoomForCommand(c.id, c.from, c.space), c.to)
            << c.id << " from " << c.from << " space " << c.space;
    }
    EXPECT_EQ(zoomText(*zoomForCommand(ID_VIEW_ZOOM_IN, 16.0f, false)), u"x16.25");
}

TEST(WindowLayout, OnlyRestoredAndMaximisedPlaceTheBarsAroundTheView) {
    EXPECT_EQ(layoutForSize(1, 0, 0, 16, 16, 20).action, SizeAction::Ignore);
    EXPECT_EQ(layoutForSize(3, 800, 600, 16, 16, 20).action, SizeAction::UpdateScrollBars);
    EXPECT_EQ(layoutForSize(4, 800, 600, 16, 16, 20).action, SizeAction::UpdateScrollBars);
    for (int32_t type : {0, 2}) {
        const SizeLayout l = layoutForSize(type, 800, 600, 16, 17, 20);
        EXPECT_EQ(l.action, SizeAction::LayOutAndUpdate);
        const ChildPlacement &v = l.vScroll, &h = l.hScroll;
        EXPECT_EQ(std::tie(v.x, v.y, v.width, v.height), std::make_tuple(784, 0, 16, 580));
        EXPECT_EQ(std::tie(h.x, h.y, h.width, h.height), std::make_tuple(0, 563, 784, 17));
        EXPECT_EQ(std::tie(l.area.width, l.area.height), std::make_tuple(784, 563));
    }
}

TEST(BackBufferGrowth, GrowsToExactlyTheViewSizeAndNeverShrinks) {
    const struct {
        BufferSize current;
        ViewArea view;
        BufferSize want;
    } cases[] = {
        {{640, 480}, {800, 600}, {800, 600}},  // past 640 x 480: exactly the view size
        {{640, 480}, {641, 100}, {641, 100}},
        {{800, 600}, {700, 500}, {800, 600}},  // shrinking in both directions keeps it
        {{800, 600}, {800, 600}, {800, 600}},
        {{800, 600}, {900, 400}, {900, 400}},  // wider but lower: exactly the new size
        {{800, 600}, {500, 700}, {500, 700}},
        // Squeezed to the status bar the view has no height; the width still grows.
        {{800, 600}, {900, -12}, {900, 600}},
    };
    for (const auto& c : cases) {
        const BufferSize b = backBufferSizeFor(c.current, c.view);
        EXPECT_EQ(std::tie(b.width, b.height), std::tie(c.want.width, c.want.height))
            << c.current.width << "x" << c.current.height << " for view " << c.view.width << "x"
            << c.view.height;
    }
}
