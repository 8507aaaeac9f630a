#include "settings/selection.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

TEST(GridSnapping, GrowsToWholeCellsCountedFromTheOffset) {
    struct Case {
        int32_t x1, y1, x2, y2, gw, gh, offset;
        int32_t left, top, right, bottom;
    };
    const Case cases[] = {
        {40, 5, 3, 70, 32, 32, 0, 0, 0, 63, 95},
        {40, 5, 3, 70, 32, 32, 8, -24, -24, 71, 71},
        {-5, 0, 5, 0, 4, 4, 0, -8, 0, 7, 3},        // negative coordinates snap down
        {-5, -1, -5, -1, 4, 4, 0, -8, -4, -5, -1},  // and up
        {40, 5, 3, 70, 0, 0, 8, 3, 5, 40, 70},      // grid 0: unsnapped
        {10, 10, 0, 0, 0, 16, 0, 0, 0, 10, 15},     // each direction has its own grid
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1, 1, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX},
    };
    for (const Case& c : cases) {
        Selection s;
        s.x1 = c.x1;
        s.y1 = c.y1;
        s.x2 = c.x2;
        s.y2 = c.y2;
        s.gw = c.gw;
        s.gh = c.gh;
        s.cx = s.cy = c.offset;
        updateSelection(s);
        EXPECT_EQ((std::array{s.left, s.top, s.right, s.bottom}),
                  (std::array{c.left, c.top, c.right, c.bottom}))
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2 << " grid " << c.gw << " offset "
            << c.offset;
    }
}

// Negative grids are not snapped by any rule, but the grid dialog lets them
// through: the most negative corner must not trap, and the other direction
// still snaps.
TEST(GridSnapping, NegativeGridsDoNotTrap) {
    for (int32_t grid : {-1, INT_MIN}) {
        Selection s;
        s.x1 = INT_MIN;
        s.x2 = INT_MAX;
        s.y1 = s.y2 = 3;
        s.gw = grid;
        s.gh = 7;
        updateSelection(s);
        EXPECT_EQ(std::make_pair(s.top, s.bottom), std::make_pair(0, 6)) << grid;
    }
}
