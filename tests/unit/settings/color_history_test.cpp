#include "settings/color_history.h"

#include <gtest/gtest.h>

TEST(ColorHistory, RepeatedColourMovesToTheFrontWithoutACopy) {
    CustomColors colors{};
    pushRecentColor(colors, 0x0000FF);
    pushRecentColor(colors, 0x00FF00);
    pushRecentColor(colors, 0x0000FF);
    EXPECT_EQ(colors[0], 0x0000FFu);
    EXPECT_EQ(colors[1], 0x00FF00u);
    EXPECT_EQ(std::count(colors.begin(), colors.end(), 0x0000FFu), 1);
}

TEST(ColorHistory, FoundEntryMovesForwardAndTheRestKeepTheirPlaces) {
    CustomColors colors{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    pushRecentColor(colors, 4);
    EXPECT_EQ(colors, (CustomColors{4, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    pushRecentColor(colors, 4);
    EXPECT_EQ(colors[0], 4u);
    EXPECT_EQ(colors[1], 1u);
}

TEST(ColorHistory, NewColourPushesTheLastOneOut) {
    CustomColors colors{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    pushRecentColor(colors, 0xFF000099);  // only the low 24 bits count
    EXPECT_EQ(colors, (CustomColors{0x99, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}
