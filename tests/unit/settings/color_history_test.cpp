#include "settings/color_history.h"

#include <gtest/gtest.h>

TEST(ColorHistory, AFoundColourMovesToTheFrontAndANewOnePushesTheLastOut) {
    CustomColors colors{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    pushRecentColor(colors, 4);
    EXPECT_EQ(colors, (CustomColors{4, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    pushRecentColor(colors, 0xFF000099);  // only the low 24 bits count
    EXPECT_EQ(colors, (CustomColors{0x99, 4, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    pushRecentColor(colors, 0x99);
    EXPECT_EQ(colors, (CustomColors{0x99, 4, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}
