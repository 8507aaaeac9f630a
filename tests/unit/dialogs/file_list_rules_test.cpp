// Where the file list's selection steps after a paste, in the cases the sheet
// of tests/win/dialogs/file_list_ui_test.cpp does not reach.
#include "dialogs/file_list_rules.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(FileListRules, RowsStartAtTheGridOffsetAndACellLeftOfTheCanvasStepsOntoIt) {
    struct Case {
        const char* what;
        int32_t left, top, offsetX, offsetY;
        int32_t nextLeft, nextTop;
    } cases[] = {
        {"rows and first cell start at the grid offset", 101, 35, 5, 3, 5, 3},
        {"a cell left of the canvas steps onto it", -32, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Selection s;
        s.gw = s.gh = 32;
        s.cx = c.offsetX, s.cy = c.offsetY;
        s.x1 = c.left, s.y1 = c.top, s.x2 = c.left + 31, s.y2 = c.top + 31;
        updateSelection(s);
        advanceSelection(s, 128, 64, true);
        EXPECT_EQ(std::make_tuple(s.left, s.top, s.right - s.left, s.bottom - s.top),
                  std::make_tuple(c.nextLeft, c.nextTop, 31, 31));
    }
}
