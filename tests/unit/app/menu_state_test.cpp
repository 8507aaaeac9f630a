// The conditions behind the menu items. That each item follows its rule, and
// that a grayed item's shortcut does nothing, is shown by the main window's
// accelerators (tests/win/app/interaction_ui_test.cpp).
#include "app/menu_state.h"

#include <gtest/gtest.h>

TEST(OnCanvas, NeedsTheSelectionPastRowAndColumnZeroAndBeforeTheFarEdges) {
    DIB canvas(256, 256), empty;
    const std::pair<CanvasRect, bool> cases[] = {
        {{-24, -24, 7, 7}, true},   {{255, 255, 300, 300}, true}, {{0, 0, 1, 1}, true},
        {{256, 0, 300, 31}, false}, {{0, 256, 31, 300}, false},   {{-40, 0, -1, 31}, false},
        {{0, 0, 0, 0}, false},  // a one-pixel selection at (0, 0)
    };
    for (const auto& [rect, on] : cases) {
        EXPECT_EQ(selectionOnCanvas(canvas, rect), on) << rect.left << "," << rect.top;
    }
    EXPECT_FALSE(selectionOnCanvas(empty, {0, 0, 31, 31}));
}
