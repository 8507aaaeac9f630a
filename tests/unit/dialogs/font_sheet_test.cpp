// The font sheet's arithmetic against values worked out by hand.
#include "dialogs/font_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

FontImageParams cells(int32_t width, int32_t height) {
    FontImageParams p;
    p.cellWidth = width;
    p.cellHeight = height;
    return p;
}

}  // namespace

TEST(FontSheet, IsSixteenBySixCellsOnlyWhenEverySideFits) {
    const struct {
        int32_t cellWidth, cellHeight;
        std::optional<ImageSize> size;
    } cases[] = {
        {32, 32, ImageSize{512, 192}}, {0, 32, std::nullopt},
        {32, -1, std::nullopt},        {134217727, 1, ImageSize{2147483632, 6}},
        {134217728, 1, std::nullopt},  {1, 357913942, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sheetSizeFor(cells(c.cellWidth, c.cellHeight)), c.size) << c.cellWidth;
}

// The halving truncates toward zero: a glyph wider than its cell by an odd
// number of pixels reaches one pixel further into the right neighbour.
TEST(FontSheet, GlyphsAreCentredInTheirCellAndMovedByTheOffsets) {
    const struct {
        int32_t cellWidth, offsetX, offsetY, glyphWidth, column, row;
        GlyphOrigin at;
    } cases[] = {
        {20, 0, 0, 9, 3, 0, {65, 0}},       {20, 0, 0, 25, 0, 0, {-2, 0}},
        {20, 0, 0, 25, 1, 0, {18, 0}},      {32, 4, -5, 10, 2, 1, {79, 27}},
        {20, -3, 7, 20, 15, 5, {297, 167}},
    };
    for (const auto& c : cases) {
        FontImageParams p = cells(c.cellWidth, 32);
        p.offsetX = c.offsetX;
        p.offsetY = c.offsetY;
        EXPECT_EQ(glyphOrigin(p, c.column, c.row, c.glyphWidth), c.at) << c.glyphWidth;
    }
}

// A block read from config.ini may have no terminator.
TEST(FontSheet, FaceNameIsAtMost31CodeUnits) {
    FontImageParams p;
    std::fill(std::begin(p.faceName), std::end(p.faceName), u'x');
    EXPECT_EQ(fontRequestOf(p).faceName, std::u16string(31, u'x'));
}

TEST(FontSheet, PreviewFollowsTheDragWithinTheSheet) {
    const struct {
        int32_t sheetWidth, sheetHeight;
        PreviewScroll start;
        IntPair from, to;
        PreviewScroll end;
    } cases[] = {
        {512, 192, {0, 0}, {100, 100}, {150, 100}, {0, 0}},
        {512, 192, {0, 0}, {150, 100}, {100, 100}, {50, 0}},
        {300, 192, {0, 0}, {150, 100}, {100, 100}, {30, 0}},
        {512, 192, {240, 0}, {100, 150}, {50, 100}, {242, 17}},
        {200, 100, {0, 0}, {150, 150}, {100, 100}, {0, 0}},
        {256, 192, {200, 10}, {70, 70}, {70, 70}, {0, 10}},  // the sheet got smaller
    };
    for (const auto& c : cases)
        EXPECT_EQ(dragPreview(c.start, c.from, c.to, c.sheetWidth, c.sheetHeight), c.end)
            << c.sheetWidth << " from " << c.from.x << " to " << c.to.x;
    const struct {
        int32_t x, y;
        bool inside;
    } presses[] = {{15, 20, true}, {284, 194, true}, {14, 20, false}, {15, 195, false}};
    for (const auto& p : presses) EXPECT_EQ(inPreview(p.x, p.y), p.inside) << p.x << "," << p.y;
}
