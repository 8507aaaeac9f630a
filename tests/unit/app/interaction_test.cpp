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
    EXPECT_EQ(doubleClickAction(true, true).command, uint32_t{ID_EDIT_SELECT_ALL});
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

TEST(Wheel, ZoomsWithoutModifiersAndScrollsALineWithThem) {
    EXPECT_EQ(wheelAction(-120, false, false).command, uint32_t{ID_VIEW_ZOOM_OUT});
    const WheelAction both = wheelAction(-240, true, true);
    EXPECT_EQ(std::tie(both.vertical, both.horizontal, both.command),
              std::make_tuple(kScrollLineDown, kScrollLineDown, 0u));
    EXPECT_EQ(wheelAction(0, false, false).command, 0u);
}

TEST(StepAndReveal, AnEdgeThatLeftTheViewIsScrolledBackPast32767) {
    Selection s = withGrid(16);
    pressSelection(s, {300, 300}, false);  // 288..303
    const std::tuple<ArrowKey, float, int32_t, bool, int32_t> cases[] = {
        {ArrowKey::Left, 1.0f, 300, false, 288},  // the left edge to the margin
        {ArrowKey::Right, 2.0f, 0, false, 303 * 2 - (200 - 16)},
        {ArrowKey::Down, 2.0f, 0, true, 303 * 2 - (100 - 16)},
        {ArrowKey::Up, 2.0f, 700, true, 576},
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

TEST(SelectionCommands, DeselectSelectAllGridFromSelectionAndGridSizes) {
    DIB canvas(100, 50), copy, empty;
    Selection s;
    s.cx = s.cy = 8;
    pressSelection(s, {100, 100}, false);
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_NONE, s, canvas, copy));
    EXPECT_SEL(s, -24, -24, 7, 7);  // the cell holding pixel 0
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_ALL, s, canvas, copy));
    EXPECT_SEL(s, -24, -24, 103, 71);  // snapped to the grid
    Selection untouched = s;
    EXPECT_FALSE(applySelectionCommand(ID_EDIT_SELECT_ALL, untouched, empty, copy));
    EXPECT_EQ(untouched, s);

    Selection fine = withGrid(1);
    pressSelection(fine, {5, 6}, false);
    dragSelection(fine, {14, 25});
    ASSERT_TRUE(applySelectionCommand(ID_GRID_FROM_SELECTION, fine, canvas, copy));
    EXPECT_EQ(std::tie(fine.gw, fine.gh), std::make_tuple(10, 20));
    EXPECT_SEL(fine, 5, 6, 14, 25);  // not snapped again

    for (uint32_t i = 0; i < 10; ++i) {
        Selection g;
        pressSelection(g, {700, 700}, false);
        ASSERT_TRUE(applySelectionCommand(ID_GRID_1 + i, g, canvas, copy));
        EXPECT_EQ(std::tie(g.gw, g.gh), std::make_tuple(1 << i, 1 << i));
        EXPECT_EQ(g.right - g.left + 1, 1 << i);  // snapped to the new grid
    }
    EXPECT_FALSE(applySelectionCommand(ID_GRID_DIALOG, s, canvas, copy));
}

TEST(ColorPick, TakesTheColourWithoutAlphaInStoredOrder) {
    DIB canvas(4, 4);
    canvas.row(1)[2] = 0x80112233;
    EXPECT_EQ(colorUnderCursor(canvas, {2, 1}), 0x332211u);
    EXPECT_FALSE(colorUnderCursor(canvas, {4, 0}));
    EXPECT_FALSE(colorUnderCursor(canvas, {0, -1}));
}
