#include "app/view_geometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "resources/resource.h"

namespace {

auto edges(const ViewRect& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); }

}  // namespace

TEST(ViewGeometry, CursorToCanvasDividesInSinglePrecisionAndTruncatesTowardZero) {
    const struct {
        int32_t cx, cy;
        float zoom;
        int32_t hPos, vPos, x, y;
    } cases[] = {
        {5, 7, 4.0f, 0, 0, 0, 0},  // up to one canvas pixel left of or above it is still 0
        {4, 3, 4.0f, 0, 0, -1, -1},
        {8, 18, 2.0f, 100, 40, 50, 25},
        {11, 8, 0.1f, 0, 0, 30, 0},  // 3 / 0.1f: 29.9999996 in double, 30 in single precision
        {8, 8, 16.0f, 40000 * 16, 70000 * 16, 40000, 70000},  // positions past 16 bits
    };
    for (const auto& c : cases) {
        const CanvasPoint p = cursorToCanvas(c.cx, c.cy, c.zoom, c.hPos, c.vPos);
        EXPECT_EQ(std::tie(p.x, p.y), std::tie(c.x, c.y)) << c.cx << "," << c.cy << " x" << c.zoom;
    }
    EXPECT_EQ(edges(canvasRectToView({0, 0, 31, 31}, 2.0f, 10, 20)),
              std::make_tuple(-2, -12, 61, 51));
    // At 0.5 a two-pixel rectangle is one client pixel: right + 1 == left + 1.
    EXPECT_EQ(edges(canvasRectToView({1, 1, 2, 2}, 0.5f, 0, 0)), std::make_tuple(8, 8, 8, 8));
}

TEST(ViewGeometry, SelectionFrameMarksFourBandsAndTheCopyFootprintCornersCutToTheView) {
    FrameInvalidation f = selectionFrameRects({0, 0, 31, 31}, 1.0f, 0, 0, {50, 30}, {true, 40, 20});
    ASSERT_EQ(f.count, 8);
    const std::tuple<int32_t, int32_t, int32_t, int32_t> want[] = {
        {6, 6, 41, 10}, {37, 6, 41, 30}, {6, 37, 41, 30},  {6, 6, 10, 30},   // bands
        {0, 0, 18, 18}, {38, 0, 50, 18}, {38, 18, 50, 30}, {0, 18, 18, 30},  // footprint corners
    };
    for (int i = 0; i < 8; ++i) EXPECT_EQ(edges(f.rects[i]), want[i]) << i;
    // At zoom 0.5: X = trunc(41 * 0.5) + 8 = 28, Y = trunc(21 * 0.5) + 8 = 18.
    f = selectionFrameRects({0, 0, 31, 31}, 0.5f, 0, 0, {500, 500}, {true, 41, 21});
    EXPECT_EQ(edges(f.rects[6]), std::make_tuple(18, 8, 38, 28));
    EXPECT_EQ(selectionFrameRects({0, 0, 31, 31}, 1.0f, 0, 0, {100, 100}, {false, 0, 0}).count, 4);
}

TEST(ScrollBars, EachZoomTypeKeepsItsPointInPlace) {
    const struct {
        int32_t zoomType;
        float newZoom;
        int32_t hPos, vPos;
    } cases[] = {
        {0, 2.0f, 300, 150},  // window centre: (100 + 100) * 2 - 100, (50 + 50) * 2 - 50
        {7, 2.0f, 300, 150},  // unknown types act as 0
        {0, 1.0f, 100, 50},   // the same zoom leaves the positions alone
        {1, 2.0f, -40, 30},   // cursor: 30 * 2 - 100, 40 * 2 - 50
        {2, 2.0f, -48, 22},   // selection centre: (32 / 2 + 10) * 2 - 100
        {3, 2.0f, -72, -2},   // its first grid cell: (8 / 2 + 10) * 2 - 100
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.zoomType << " zoom " << c.newZoom);
        // A 1000 x 1000 canvas in a 200 x 100 view scrolled to (100, 50), the
        // cursor over canvas (30, 40), the selection (10, 20)-(41, 51), grid 8.
        const ScrollBarsInput in{1000,       1000,     {200, 100},       100, 50,
                                 c.zoomType, {30, 40}, {10, 20, 41, 51}, 8,   8};
        const ScrollBarsUpdate u = scrollBarsFor(1.0f, c.newZoom, in);
        EXPECT_EQ(std::tie(u.horizontal.pos, u.vertical.pos), std::tie(c.hPos, c.vPos));
        // The range holds the zoomed canvas and the margin on both sides.
        const int32_t max = c.newZoom == 2.0f ? 2015 : 1015;
        EXPECT_EQ(std::tie(u.horizontal.max, u.horizontal.page, u.vertical.max, u.vertical.page),
                  std::make_tuple(max, 200, max, 100));
    }
    ScrollBarsInput squeezed{1000, 1000, {-10, -3}, 0, 0, 0, {0, 0}, {0, 0, 0, 0}, 8, 8};
    EXPECT_EQ(scrollBarsFor(1.0f, 1.0f, squeezed).horizontal.page, 0);  // not a huge one
    EXPECT_EQ(barPosition({0, 271, 100, 500}), 172);
    EXPECT_EQ(barPosition({0, 80000, 100, -5}), 0);
}

TEST(ScrollMessages, StepByLinePageAndEndsAndTakeThumbsPast32767) {
    const ScrollBarValues bar{0, 1000, 100, 50}, wide{0, 100000, 500, 0};
    const struct {
        ScrollBarValues bar;
        int32_t request, thumb, pos;
    } cases[] = {
        {bar, kScrollLineUp, 0, 44},                  // 100 / 16 = 6
        {{0, 1000, 10, 50}, kScrollLineDown, 0, 51},  // at least 1
        {bar, kScrollPageUp, 0, -50},                 // the bar clamps it
        {bar, kScrollPageDown, 0, 150},
        {bar, kScrollTop, 0, 0},
        {bar, kScrollBottom, 0, 1000},
        {bar, kScrollEnd, 0, 50},
        {wide, kScrollThumbTrack, 40000, 40000},
        {wide, kScrollThumbPosition, 99999, 99999},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scrollPositionFor(c.bar, c.request, c.thumb, true), c.pos)
            << "request " << c.request << " thumb " << c.thumb;
    }
    EXPECT_FALSE(scrollPositionFor(bar, kScrollLineDown, 0, false));              // no canvas
    EXPECT_FALSE(scrollPositionFor({0, 271, 271, 0}, kScrollLineDown, 0, true));  // no room
}

TEST(Zoom, StepsNeverReachZeroAndHaveNoUpperBound) {
    const struct {
        uint32_t id;
        float from;
        bool space;
        std::optional<float> to;
    } cases[] = {
        {ID_VIEW_ZOOM_OUT, 0.25f, false, std::nullopt},  // from a quarter: nothing
        {ID_VIEW_ZOOM_OUT, 0.3125f, true, 0.25f},        // Space steps by a sixteenth
        {ID_VIEW_ZOOM_OUT, 0.3125f, false, 0.0625f},
        {ID_VIEW_ZOOM_OUT, 0.0625f, true, std::nullopt},
        {ID_VIEW_ZOOM_IN, 16.0f, false, 16.25f},
        {ID_VIEW_ZOOM_IN, 16.0f, true, 16.0625f},
        {ID_VIEW_ZOOM_16, 3.0f, false, 16.0f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zoomForCommand(c.id, c.from, c.space), c.to) << c.id << " from " << c.from;
    }
}

TEST(WindowLayout, BarsGoAroundTheViewAndTheBackBufferNeverShrinks) {
    EXPECT_EQ(layoutForSize(1, 0, 0, 16, 16, 20).action, SizeAction::Ignore);  // minimised
    const SizeLayout l = layoutForSize(2, 800, 600, 16, 17, 20);
    EXPECT_EQ(l.action, SizeAction::LayOutAndUpdate);
    EXPECT_EQ(std::tie(l.vScroll.x, l.vScroll.height, l.hScroll.y, l.hScroll.width),
              std::make_tuple(784, 580, 563, 784));
    EXPECT_EQ(std::tie(l.area.width, l.area.height), std::make_tuple(784, 563));
    const struct {
        BufferSize current;
        ViewArea view;
        BufferSize want;
    } cases[] = {
        {{640, 480}, {800, 600}, {800, 600}},
        {{800, 600}, {700, 500}, {800, 600}},  // shrinking in both directions keeps it
        {{800, 600}, {900, 400}, {900, 400}},  // wider but lower: exactly the new size
        {{800, 600}, {900, -12}, {900, 600}},  // a view squeezed to nothing keeps the height
    };
    for (const auto& c : cases) {
        const BufferSize b = backBufferSizeFor(c.current, c.view);
        EXPECT_EQ(std::tie(b.width, b.height), std::tie(c.want.width, c.want.height))
            << c.view.width << "x" << c.view.height;
    }
}
