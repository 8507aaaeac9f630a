#include "app/interaction.h"

#include <gtest/gtest.h>

#include <tuple>

#include "resources/resource.h"

namespace {

#define EXPECT_SEL(s, l, t, r, b)                                        \
    EXPECT_EQ(std::make_tuple((s).left, (s).top, (s).right, (s).bottom), \
              std::make_tuple(l, t, r, b))

Selection withGrid(int32_t grid) {
    Selection s;
    s.gw = s.gh = grid;
    updateSelection(s);
    return s;
}

}  // namespace

TEST(SelectionDrag, ExtendsCellByCellAndAutoScrollsOnlyPastTheMargins) {
    Selection s;  // grid 32 x 32
    pressSelection(s, {40, 5}, false);
    dragSelection(s, {70, 40});
    EXPECT_SEL(s, 32, 0, 95, 63);
    const AutoScroll near = dragAutoScroll(7, 93, {200, 100}),
                     edge = dragAutoScroll(8, 92, {200, 100});
    EXPECT_EQ(std::tie(near.horizontal, near.vertical),
              std::make_tuple(kScrollLineUp, kScrollLineDown));
    EXPECT_FALSE(edge.horizontal || edge.vertical);
}

TEST(SelectionCommands, DeselectSelectAllAndGridFromSelection) {
    DIB canvas(100, 50), copy, empty;
    Selection s;
    s.cx = s.cy = 8;
    pressSelection(s, {100, 100}, false);
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_NONE, s, canvas, copy));
    EXPECT_SEL(s, -24, -24, 7, 7);  // the cell holding pixel 0
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_ALL, s, canvas, copy));
    EXPECT_SEL(s, -24, -24, 103, 71);  // snapped to the grid
    EXPECT_FALSE(applySelectionCommand(ID_EDIT_SELECT_ALL, s, empty, copy));
    EXPECT_SEL(s, -24, -24, 103, 71);

    Selection fine = withGrid(1);
    pressSelection(fine, {5, 6}, false);
    dragSelection(fine, {14, 25});
    ASSERT_TRUE(applySelectionCommand(ID_GRID_FROM_SELECTION, fine, canvas, copy));
    EXPECT_EQ(std::tie(fine.gw, fine.gh), std::make_tuple(10, 20));
    EXPECT_SEL(fine, 5, 6, 14, 25);  // not snapped again
}
