#include "app/view_geometry.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

auto edges(const ViewRect& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); }

}  // namespace

// 3 / 0.1f is 29.9999996 in double but 30 in single precision.
TEST(ViewGeometry, CursorToCanvasDividesInSinglePrecision) {
    const CanvasPoint p = cursorToCanvas(11, 8, 0.1f, 0, 0);
    EXPECT_EQ(std::tie(p.x, p.y), std::make_tuple(30, 0));
    EXPECT_EQ(edges(canvasRectToView({0, 0, 31, 31}, 2.0f, 10, 20)),
              std::make_tuple(-2, -12, 61, 51));
    // At 0.5 a two-pixel rectangle is one client pixel: right + 1 == left + 1.
    EXPECT_EQ(edges(canvasRectToView({1, 1, 2, 2}, 0.5f, 0, 0)), std::make_tuple(8, 8, 8, 8));
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
