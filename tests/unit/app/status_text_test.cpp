#include "app/status_text.h"

#include <gtest/gtest.h>

#include <climits>

TEST(StatusText, PanesShowPixelSelectionAndZoom) {
    DIB canvas(4, 3), empty;
    canvas.row(2)[3] = 0x0a0b0c0d;
    EXPECT_EQ(pixelValueText(canvas, 3, 2), u"0A0B0C0D");  // alpha first, upper case
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}}) {
        EXPECT_EQ(pixelValueText(canvas, x, y), u"--") << x << "," << y;
    }
    EXPECT_EQ(pixelValueText(empty, 0, 0), u"--");
    // The size wraps in 32 bits instead of overflowing.
    EXPECT_EQ(selectionText(INT_MIN, -8, INT_MAX, 23), u"-2147483648,-8 -> 2147483647,23 (0,32)");
    // Two decimals cut, not rounded: 0.1875 would round to 0.19.
    EXPECT_EQ(zoomText(0.1875f), u"x0.18");
}
