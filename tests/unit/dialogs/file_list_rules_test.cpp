// Where the file list's selection steps after a paste, and which entry comes next.
#include "dialogs/file_list_rules.h"

#include <gtest/gtest.h>

TEST(FileListRules, SelectionStepsRightThenWrapsToTheNextRowThenToTheFirstCell) {
    struct Case {
        const char* what;
        int32_t left, top, offsetX, offsetY;
        bool returnSelect;
        int32_t nextLeft, nextTop;
    } cases[] = {
        {"along the row", 32, 0, 0, 0, true, 64, 0},
        {"past the right edge, next row", 96, 0, 0, 0, true, 0, 32},
        {"past the right edge without wrapping", 96, 0, 0, 0, false, 128, 0},
        {"past the last row, first cell", 96, 32, 0, 0, true, 0, 0},
        {"rows and first cell start at the grid offset", 101, 35, 5, 3, true, 5, 3},
        {"a cell left of the canvas steps onto it", -32, 0, 0, 0, true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Selection s;
        s.gw = s.gh = 32;
        s.cx = c.offsetX, s.cy = c.offsetY;
        s.x1 = c.left, s.y1 = c.top, s.x2 = c.left + 31, s.y2 = c.top + 31;
        updateSelection(s);
        advanceSelection(s, 128, 64, c.returnSelect);
        EXPECT_EQ(s.left, c.nextLeft);
        EXPECT_EQ(s.top, c.nextTop);
        EXPECT_EQ(s.right - s.left, 31);
        EXPECT_EQ(s.bottom - s.top, 31);
    }
    EXPECT_EQ(nextEntry(0, 2), 1);
    EXPECT_EQ(nextEntry(1, 2), -1);  // after the last, none
}
