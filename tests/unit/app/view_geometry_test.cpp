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

TEST(ScrollMessages, StepByLinePageAndEndsAndTakeThumbsPast32767) {
    const ScrollBarValues bar{0, 1000, 100, 50}, wide{0, 100000, 500, 0};
    const struct {
        ScrollBarValues bar;
        int32_t request, thumb, pos;
    } cases[] = {
        {bar, kScrollLineUp, 0, 44},                  // 100 / 16 = 6
        {{0, 1000, 10, 50}, kScrollLineDown, 0, 51},  // at least 1
        {bar, kScrollPageUp, 0, -50},                 // the bar clamps it
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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zoomForCommand(c.id, c.from, c.space), c.to) << c.id << " from " << c.from;
    }
}

// A back buffer smaller than the view would be drawn past its end.
TEST(WindowLayout, TheBackBufferNeverShrinksBelowTheView) {
    EXPECT_EQ(layoutForSize(1, 0, 0, 16, 16, 20).action, SizeAction::Ignore);  // minimised
    const struct {
        BufferSize current;
        ViewArea view;
        BufferSize want;
    } cases[] = {
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
