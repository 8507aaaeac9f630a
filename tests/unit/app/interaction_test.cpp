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
    dragSelection(s, {-1, 5});  // back across the first corner
    EXPECT_SEL(s, -32, 0, 63, 31);
    const AutoScroll near = dragAutoScroll(7, 93, {200, 100}),
                     edge = dragAutoScroll(8, 92, {200, 100});
    EXPECT_EQ(std::tie(near.horizontal, near.vertical),
              std::make_tuple(kScrollLineUp, kScrollLineDown));
    EXPECT_FALSE(edge.horizontal || edge.vertical);
}

TEST(DoubleClick, WithACopyBufferTakesItsSizeAndFollowsThePointerKeepingItsCells) {
    const DoubleClickAction a = doubleClickAction(false, true);
    ASSERT_TRUE(a.startMoving);
    Selection s = withGrid(1);
    pressSelection(s, {10, 10}, false);
    DIB canvas(100, 100), copy(40, 20);
    ASSERT_TRUE(applySelectionCommand(a.command, s, canvas, copy));
    EXPECT_SEL(s, 10, 10, 49, 29);
    moveSelectionTo(s, {60, 70});
    EXPECT_SEL(s, 60, 70, 99, 89);
    Selection cells;  // grid 32: two cells wide, one high, moved by the cell under the pointer
    pressSelection(cells, {0, 0}, false);
    dragSelection(cells, {40, 0});
    moveSelectionTo(cells, {100, 50});
    EXPECT_SEL(cells, 96, 32, 159, 63);
}

TEST(StepAndReveal, AnEdgeThatLeftTheViewIsScrolledBackPast32767) {
    Selection s = withGrid(16);
    pressSelection(s, {300, 300}, false);  // 288..303
    const std::tuple<ArrowKey, float, int32_t, bool, int32_t> cases[] = {
        {ArrowKey::Left, 1.0f, 300, false, 288},  // the left edge to the margin
        {ArrowKey::Right, 2.0f, 0, false, 303 * 2 - (200 - 16)},
        {ArrowKey::Down, 2.0f, 0, true, 303 * 2 - (100 - 16)},
        {ArrowKey::Left, 160.0f, 50000, false, 288 * 160},
    };
    for (const auto& [key, zoom, pos, vertical, position] : cases) {
        const auto r = revealAfterStep(key, s, zoom, pos, pos, {200, 100});
        ASSERT_TRUE(r) << position;
        EXPECT_EQ(std::tie(r->vertical, r->position), std::tie(vertical, position));
    }
    EXPECT_FALSE(revealAfterStep(ArrowKey::Right, s, 1.0f, 200, 200, {200, 200}));
    const PanStep p = panStep(100, 100, 90, 130, 50, 60);  // the canvas follows the mouse
    EXPECT_EQ(std::tie(p.hPos, p.vPos), std::make_tuple(60, 30));
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
