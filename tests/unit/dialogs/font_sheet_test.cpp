// The font sheet's arithmetic against values worked out by hand.
#include "dialogs/font_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(FontSheet, IsSixteenBySixCellsOnlyWhenEverySideFits) {
    const struct {
        int32_t cellWidth, cellHeight;
        std::optional<ImageSize> size;
    } cases[] = {
        {32, 32, ImageSize{512, 192}},
        {32, -1, std::nullopt},
        {134217727, 1, ImageSize{2147483632, 6}},
        {134217728, 1, std::nullopt},
        {1, 357913942, std::nullopt},
    };
    for (const auto& c : cases) {
        FontImageParams p;
        p.cellWidth = c.cellWidth, p.cellHeight = c.cellHeight;
        EXPECT_EQ(sheetSizeFor(p), c.size) << c.cellWidth;
    }
}

// A block read from config.ini may have no terminator.
TEST(FontSheet, FaceNameIsAtMost31CodeUnits) {
    FontImageParams p;
    std::fill(std::begin(p.faceName), std::end(p.faceName), u'x');
    EXPECT_EQ(fontRequestOf(p).faceName, std::u16string(31, u'x'));
}
