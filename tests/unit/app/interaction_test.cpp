#include "app/interaction.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

void expectRect(const Selection& s, int32_t l, int32_t t, int32_t r, int32_t b) {
    EXPECT_EQ(s.left, l);
    EXPECT_EQ(s.top, t);
    EXPECT_EQ(s.right, r);
    EXPECT_EQ(s.bottom, b);
}

Selection withGrid(int32_t gw, int32_t gh) {
    Selection s;
    s.gw = gw;
    s.gh = gh;
    updateSelection(s);
    return s;
}

}  // namespace

TEST(SelectionDrag, OneClickSelectsTheGridCellUnderThePointer) {
    Selection s;  // grid 32 x 32
    pressSelection(s, {40, 5}, false);
    expectRect(s, 32, 0, 63, 31);
}

TEST(SelectionDrag, DraggingExtendsCellByCell) {
    Selection s;
    pressSelection(s, {40, 5}, false);
    dragSelection(s, {70, 40});
    expectRect(s, 32, 0, 95, 63);
    dragSelection(s, {-1, 5});  // back across the first corner
    expectRect(s, -32, 0, 63, 31);
}

TEST(SelectionDrag, ShiftClickExtendsFromTheExistingFirstCorner) {
    Selection s;
    pressSelection(s, {40, 5}, false);
    pressSelection(s, {100, 100}, true);
    EXPECT_EQ(s.x1, 40);
    EXPECT_EQ(s.y1, 5);
    expectRect(s, 32, 0, 127, 127);
}

TEST(SelectionDrag, AutoScrollsOnlyNearTheViewEdges) {
    const ViewArea area{200, 100};
    AutoScroll a = dragAutoScroll(100, 50, area);
    EXPECT_FALSE(a.horizontal);
    EXPECT_FALSE(a.vertical);
    a = dragAutoScroll(7, 93, area);
    EXPECT_EQ(a.horizontal, kScrollLineUp);
    EXPECT_EQ(a.vertical, kScrollLineDown);
    a = dragAutoScroll(193, 7, area);
    EXPECT_EQ(a.horizontal, kScrollLineDown);
    EXPECT_EQ(a.vertical, kScrollLineUp);
    a = dragAutoScroll(8, 92, area);  // exactly at the edges: no scroll
    EXPECT_FALSE(a.horizontal);
    EXPECT_FALSE(a.vertical);
}

TEST(SelectionDrag, RectangleChangeIsToldFromTheEdgesOnly) {
    Selection a;
    Selection b = a;
    b.x2 = 3;  // same cell
    updateSelection(b);
    EXPECT_FALSE(selectionRectChanged(a, b));
    b.x2 = 40;
    updateSelection(b);
    EXPECT_TRUE(selectionRectChanged(a, b));
}

TEST(DoubleClick, WithACopyBufferTakesItsSizeAndFollowsThePointer) {
    DoubleClickAction a = doubleClickAction(false, true);
    EXPECT_EQ(a.command, static_cast<uint32_t>(ID_EDIT_SELECT_COPY_SIZE));
    EXPECT_TRUE(a.startMoving);

    Selection s = withGrid(1, 1);
    pressSelection(s, {10, 10}, false);
    DIB canvas(100, 100), copy(40, 20);
    ASSERT_TRUE(applySelectionCommand(a.command, s, canvas, copy));
    expectRect(s, 10, 10, 49, 29);
    moveSelectionTo(s, {60, 70});
    expectRect(s, 60, 70, 99, 89);
}

TEST(DoubleClick, WithoutACopyBufferOrWithShiftSelectsAll) {
    for (DoubleClickAction a : {doubleClickAction(false, false), doubleClickAction(true, true)}) {
        EXPECT_EQ(a.command, static_cast<uint32_t>(ID_EDIT_SELECT_ALL));
        EXPECT_FALSE(a.startMoving);
    }
}

TEST(MovingSelection, KeepsItsCellCountFromTheCellUnderThePointer) {
    Selection s;  // grid 32
    pressSelection(s, {0, 0}, false);
    dragSelection(s, {40, 0});  // two cells wide, one high
    expectRect(s, 0, 0, 63, 31);
    moveSelectionTo(s, {100, 50});
    expectRect(s, 96, 32, 159, 63);
}

TEST(Wheel, ZoomsWithoutModifiersAndScrollsWithThem) {
    WheelAction w = wheelAction(120, false, false);
    EXPECT_EQ(w.command, static_cast<uint32_t>(ID_VIEW_ZOOM_IN));
    EXPECT_FALSE(w.vertical);
    EXPECT_FALSE(w.horizontal);
    EXPECT_EQ(wheelAction(-120, false, false).command, static_cast<uint32_t>(ID_VIEW_ZOOM_OUT));

    w = wheelAction(120, true, false);
    EXPECT_EQ(w.command, 0u);
    EXPECT_EQ(w.vertical, kScrollLineUp);
    EXPECT_FALSE(w.horizontal);
    w = wheelAction(-1, false, true);
    EXPECT_EQ(w.horizontal, kScrollLineDown);
    EXPECT_FALSE(w.vertical);
    w = wheelAction(-240, true, true);
    EXPECT_EQ(w.vertical, kScrollLineDown);
    EXPECT_EQ(w.horizontal, kScrollLineDown);
    EXPECT_EQ(w.command, 0u);

    w = wheelAction(0, false, false);
    EXPECT_EQ(w.command, 0u);
    EXPECT_FALSE(w.vertical);
    EXPECT_FALSE(w.horizontal);
}

TEST(ArrowKeys, StepTheSelectionByOneGridCell) {
    Selection s = withGrid(16, 16);
    pressSelection(s, {20, 20}, false);
    expectRect(s, 16, 16, 31, 31);
    stepSelection(s, ArrowKey::Left, false);
    expectRect(s, 0, 16, 15, 31);
    stepSelection(s, ArrowKey::Down, false);
    expectRect(s, 0, 32, 15, 47);
    stepSelection(s, ArrowKey::Right, false);
    stepSelection(s, ArrowKey::Up, false);
    expectRect(s, 16, 16, 31, 31);
}

TEST(ArrowKeys, ShiftMovesOnlyTheSecondCorner) {
    Selection s = withGrid(16, 16);
    pressSelection(s, {20, 20}, false);
    stepSelection(s, ArrowKey::Right, true);
    EXPECT_EQ(s.x1, 20);
    EXPECT_EQ(s.x2, 36);
    expectRect(s, 16, 16, 47, 31);
    stepSelection(s, ArrowKey::Left, true);
    stepSelection(s, ArrowKey::Left, true);
    expectRect(s, 0, 16, 31, 31);  // the second corner passed the first
}

TEST(ArrowKeys, CtrlScrollsOneLineInstead) {
    EXPECT_FALSE(arrowScroll(ArrowKey::Left).vertical);
    EXPECT_EQ(arrowScroll(ArrowKey::Left).request, kScrollLineUp);
    EXPECT_FALSE(arrowScroll(ArrowKey::Right).vertical);
    EXPECT_EQ(arrowScroll(ArrowKey::Right).request, kScrollLineDown);
    EXPECT_TRUE(arrowScroll(ArrowKey::Up).vertical);
    EXPECT_EQ(arrowScroll(ArrowKey::Up).request, kScrollLineUp);
    EXPECT_TRUE(arrowScroll(ArrowKey::Down).vertical);
    EXPECT_EQ(arrowScroll(ArrowKey::Down).request, kScrollLineDown);
}

TEST(ArrowKeys, VirtualKeysMapToArrows) {
    EXPECT_EQ(arrowKeyOf(0x25), ArrowKey::Left);
    EXPECT_EQ(arrowKeyOf(0x26), ArrowKey::Up);
    EXPECT_EQ(arrowKeyOf(0x27), ArrowKey::Right);
    EXPECT_EQ(arrowKeyOf(0x28), ArrowKey::Down);
    EXPECT_FALSE(arrowKeyOf(0x20));
}

TEST(StepAndReveal, LeavingTheViewLeftPutsTheLeftEdgeAtTheMargin) {
    Selection s = withGrid(16, 16);
    pressSelection(s, {100, 100}, false);  // 96..111
    // Scrolled to 110: the selection starts at client 8 + 96 - 110 = -6.
    auto r = revealAfterStep(ArrowKey::Left, s, 1.0f, 110, 0, {200, 200});
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->vertical);
    EXPECT_EQ(r->position, 96);
    // Then the edge sits at the margin.
    EXPECT_EQ(canvasRectToView(selectionRect(s), 1.0f, r->position, 0).left, 8);
    EXPECT_FALSE(revealAfterStep(ArrowKey::Left, s, 1.0f, 90, 0, {200, 200}));
}

TEST(StepAndReveal, LeavingTheViewAtTheFarSidesScrollsTheEdgeBackIn) {
    Selection s = withGrid(16, 16);
    pressSelection(s, {300, 300}, false);  // 288..303
    auto right = revealAfterStep(ArrowKey::Right, s, 2.0f, 0, 0, {200, 100});
    ASSERT_TRUE(right);
    EXPECT_FALSE(right->vertical);
    EXPECT_EQ(right->position, 303 * 2 - (200 - 16));
    auto down = revealAfterStep(ArrowKey::Down, s, 2.0f, 0, 0, {200, 100});
    ASSERT_TRUE(down);
    EXPECT_TRUE(down->vertical);
    EXPECT_EQ(down->position, 303 * 2 - (100 - 16));
    auto up = revealAfterStep(ArrowKey::Up, s, 2.0f, 0, 700, {200, 100});
    ASSERT_TRUE(up);
    EXPECT_TRUE(up->vertical);
    EXPECT_EQ(up->position, 576);
    // Inside the view nothing scrolls.
    EXPECT_FALSE(revealAfterStep(ArrowKey::Right, s, 1.0f, 200, 200, {200, 200}));
}

TEST(StepAndReveal, PositionsPast32767AreKept) {
    Selection s = withGrid(16, 16);
    pressSelection(s, {5000, 5000}, false);  // 4992..5007
    auto r = revealAfterStep(ArrowKey::Left, s, 16.0f, 90000, 0, {800, 600});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->position, 4992 * 16);
    auto pos = scrollPositionFor({0, 200000, 800, 90000}, kScrollThumbPosition, r->position, true);
    ASSERT_TRUE(pos);
    EXPECT_EQ(*pos, 79872);
}

TEST(Pan, TheCanvasFollowsTheMouse) {
    PanStep p = panStep(100, 100, 90, 130, 50, 60);
    EXPECT_EQ(p.hPos, 60);  // moved left by 10: the view scrolls right
    EXPECT_EQ(p.vPos, 30);
}

TEST(SelectionCommands, DeselectGoesBackToTheCellOfPixelZero) {
    Selection s;
    s.cx = 8;
    s.cy = 8;
    pressSelection(s, {100, 100}, false);
    DIB canvas(256, 256), copy;
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_NONE, s, canvas, copy));
    expectRect(s, -24, -24, 7, 7);
}

TEST(SelectionCommands, SelectAllSnapsTheWholeCanvasToTheGrid) {
    Selection s;
    DIB canvas(100, 50), copy;
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_ALL, s, canvas, copy));
    expectRect(s, 0, 0, 127, 63);
    Selection fine = withGrid(1, 1);
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_ALL, fine, canvas, copy));
    expectRect(fine, 0, 0, 99, 49);
    DIB empty;
    Selection untouched = fine;
    EXPECT_FALSE(applySelectionCommand(ID_EDIT_SELECT_ALL, untouched, empty, copy));
    EXPECT_EQ(untouched, fine);
}

TEST(SelectionCommands, CopySizeWithoutACopyBufferSelectsAll) {
    Selection s = withGrid(1, 1);
    DIB canvas(30, 20), copy;
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_COPY_SIZE, s, canvas, copy));
    expectRect(s, 0, 0, 29, 19);
}

TEST(SelectionCommands, GridFromSelectionTakesItsSizeWithoutSnappingAgain) {
    Selection s = withGrid(1, 1);
    pressSelection(s, {5, 6}, false);
    dragSelection(s, {14, 25});
    DIB canvas(100, 100), copy;
    ASSERT_TRUE(applySelectionCommand(ID_GRID_FROM_SELECTION, s, canvas, copy));
    EXPECT_EQ(s.gw, 10);
    EXPECT_EQ(s.gh, 20);
    expectRect(s, 5, 6, 14, 25);
}

TEST(SelectionCommands, GridSizeCommandsSetPowersOfTwoAndSnap) {
    DIB canvas(100, 100), copy;
    const int32_t sizes[] = {1, 2, 4, 8, 16, 32, 64, 128, 256, 512};
    for (uint32_t i = 0; i < 10; ++i) {
        Selection s;
        s.cx = 3;  // kept
        pressSelection(s, {700, 700}, false);
        ASSERT_TRUE(applySelectionCommand(ID_GRID_1 + i, s, canvas, copy));
        EXPECT_EQ(s.gw, sizes[i]);
        EXPECT_EQ(s.gh, sizes[i]);
        EXPECT_EQ(s.cx, 3);
        Selection expected = s;
        updateSelection(expected);
        EXPECT_EQ(s, expected);
        if (sizes[i] == 512) expectRect(s, 515, 512, 1026, 1023);
    }
    Selection s;
    EXPECT_FALSE(applySelectionCommand(ID_GRID_DIALOG, s, canvas, copy));
    EXPECT_FALSE(applySelectionCommand(ID_EDIT_COPY, s, canvas, copy));
}

TEST(ColorPick, TakesTheColourWithoutAlphaInStoredOrder) {
    DIB canvas(4, 4);
    canvas.fillRect(0, 0, 4, 4, 0x00FF00FF);  // transparent magenta
    canvas.row(1)[2] = 0x80112233;
    EXPECT_EQ(colorUnderCursor(canvas, {0, 0}), 0xFF00FFu);
    EXPECT_EQ(colorUnderCursor(canvas, {2, 1}), 0x332211u);
    EXPECT_FALSE(colorUnderCursor(canvas, {-1, 0}));
    EXPECT_FALSE(colorUnderCursor(canvas, {4, 0}));
    EXPECT_FALSE(colorUnderCursor(canvas, {0, 4}));
}
