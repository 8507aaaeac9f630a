#include "settings/selection.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

// Cells count from the offset; the widest selection with the largest offset
// does not wrap.
TEST(GridSnapping, GrowsToWholeCellsCountedFromTheOffset) {
    Selection s;
    s.x1 = 40, s.y1 = 5, s.x2 = 3, s.y2 = 70;
    s.cx = s.cy = 8;
    updateSelection(s);
    EXPECT_EQ((std::array{s.left, s.top, s.right, s.bottom}), (std::array{-24, -24, 71, 71}));
    s.x1 = s.y1 = INT_MIN, s.x2 = s.y2 = INT_MAX;
    s.gw = s.gh = 1;
    s.cx = s.cy = INT_MAX;
    updateSelection(s);
    EXPECT_EQ((std::array{s.left, s.top, s.right, s.bottom}),
              (std::array{INT_MIN, INT_MIN, INT_MAX, INT_MAX}));
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
