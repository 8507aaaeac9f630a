#include "app/status_text.h"

#include <gtest/gtest.h>

#include <climits>

TEST(StatusText, PanesShowPixelSelectionZoomAndCopySize) {
    DIB canvas(4, 3), empty;
    canvas.fillRect(0, 0, 4, 3, 0x00FF00FF);
    canvas.row(2)[3] = 0x0a0b0c0d;
    EXPECT_EQ(pixelValueText(canvas, 3, 2), u"0A0B0C0D");
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}}) {
        EXPECT_EQ(pixelValueText(canvas, x, y), u"--") << x << "," << y;
    }
    EXPECT_EQ(pixelValueText(empty, 0, 0), u"--");
    EXPECT_EQ(selectionText(-24, -8, 7, 23), u"-24,-8 -> 7,23 (32,32)");
    EXPECT_EQ(selectionText(INT_MIN, 0, INT_MAX, 0), u"-2147483648,0 -> 2147483647,0 (0,1)");
    // Two decimals cut, not rounded: 0.1875 would round to 0.19.
    EXPECT_EQ(zoomText(0.1875f), u"x0.18");
    EXPECT_EQ(zoomText(16.25f), u"x16.25");
    EXPECT_EQ(zoomText(0.0625f), u"x0.06");
    EXPECT_EQ(copySizeText(DIB(40, 20)), u"40 x 20");
    EXPECT_EQ(copySizeText(empty), u"--");
}

TEST(WindowTitle, NamesTheFileAndMarksUnsavedChanges) {
    EXPECT_EQ(windowTitle(u"", false), u"Plimsett  ");
    EXPECT_EQ(windowTitle(u"画像.png", true), u"Plimsett[画像.png] *");
}
