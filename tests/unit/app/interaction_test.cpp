#include "app/interaction.h"

#include <gtest/gtest.h>

#include <tuple>

#include "resources/resource.h"

namespace {

#define EXPECT_SEL(s, l, t, r, b)                                        \
    EXPECT_EQ(std::make_tuple((s).left, (s).top, (s).right, (s).bottom), \
              std::make_tuple(l, t, r, b))

Selection withGrid(int32_t gw, int32_t gh) {
    Selection s;
    s.gw = gw;
    s.gh = gh;
    updateSelection(s);
    return s;
}

}  // namespace

TEST(SelectionDrag, AClickSelectsTheCellUnderThePointerAndDraggingExtendsCellByCell) {
    Selection s;  // grid 32 x 32
    pressSelection(s, {40, 5}, false);
    EXPECT_SEL(s, 32, 0, 63, 31);
    dragSelection(s, {70, 40});
    EXPECT_SEL(s, 32, 0, 95, 63);
    dragSelection(s, {-1, 5});  // back across the first corner
    EXPECT_SEL(s, -32, 0, 63, 31);
}

TEST(SelectionDrag, AutoScrollsOnlyNearTheViewEdges) {
    using R = std::optional<int32_t>;
    const std::tuple<int32_t, int32_t, R, R> cases[] = {
        {100, 50, {}, {}},
        {7, 93, kScrollLineUp, kScrollLineDown},
        {193, 7, kScrollLineDown, kScrollLineUp},
        {8, 92, {}, {}},  // exactly at the edges: no scroll
    };
    for (const auto& [x, y, horizontal, vertical] : cases) {
        const AutoScroll a = dragAutoScroll(x, y, {200, 100});
        EXPECT_EQ(a.horizontal, horizontal) << x << "," << y;
        EXPECT_EQ(a.vertical, vertical) << x << "," << y;
    }
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

TEST(DoubleClick, WithACopyBufferTakesItsSizeAndFollowsThePointerElseSelectsAll) {
    for (DoubleClickAction a : {doubleClickAction(false, false), doubleClickAction(true, true)}) {
        EXPECT_EQ(a.command, static_cast<uint32_t>(ID_EDIT_SELECT_ALL));
        EXPECT_FALSE(a.startMoving);
    }
    const DoubleClickAction a = doubleClickAction(false, true);
    EXPECT_EQ(a.command, static_cast<uint32_t>(ID_EDIT_SELECT_COPY_SIZE));
    EXPECT_TRUE(a.startMoving);

    Selection s = withGrid(1, 1);
    pressSelection(s, {10, 10}, false);
    DIB canvas(100, 100), copy(40, 20);
    ASSERT_TRUE(applySelectionCommand(a.command, s, canvas, copy));
    EXPECT_SEL(s, 10, 10, 49, 29);
    moveSelectionTo(s, {60, 70});
    EXPECT_SEL(s, 60, 70, 99, 89);
}

TEST(MovingSelection, KeepsItsCellCountFromTheCellUnderThePointer) {
    Selection s;  // grid 32
    pressSelection(s, {0, 0}, false);
    dragSelection(s, {40, 0});  // two cells wide, one high
    EXPECT_SEL(s, 0, 0, 63, 31);
    moveSelectionTo(s, {100, 50});
    EXPECT_SEL(s, 96, 32, 159, 63);
}

TEST(Wheel, ZoomsWithoutModifiersAndScrollsWithThem) {
    using R = std::optional<int32_t>;
    const std::tuple<int32_t, bool, bool, uint32_t, R, R> cases[] = {
        {120, false, false, ID_VIEW_ZOOM_IN, {}, {}},
        {-120, false, false, ID_VIEW_ZOOM_OUT, {}, {}},
        {120, true, false, 0, kScrollLineUp, {}},   // Ctrl: vertical
        {-1, false, true, 0, {}, kScrollLineDown},  // Shift: horizontal
        {-240, true, true, 0, kScrollLineDown, kScrollLineDown},
        {0, false, false, 0, {}, {}},
    };
    for (const auto& [delta, ctrl, shift, command, vertical, horizontal] : cases) {
        SCOPED_TRACE(testing::Message() << delta << " ctrl " << ctrl << " shift " << shift);
        const WheelAction w = wheelAction(delta, ctrl, shift);
        EXPECT_EQ(w.command, command);
        EXPECT_EQ(w.vertical, vertical);
        EXPECT_EQ(w.horizontal, horizontal);
    }
}

TEST(ArrowKeys, StepTheSelectionByOneGridCell) {
    Selection s = withGrid(16, 16);
    pressSelection(s, {20, 20}, false);
    EXPECT_SEL(s, 16, 16, 31, 31);
    stepSelection(s, ArrowKey::Left, false);
    EXPECT_SEL(s, 0, 16, 15, 31);
    stepSelection(s, ArrowKey::Down, false);
    EXPECT_SEL(s, 0, 32, 15, 47);
    stepSelection(s, ArrowKey::Right, false);
    stepSelection(s, ArrowKey::Up, false);
    EXPECT_SEL(s, 16, 16, 31, 31);
}

TEST(ArrowKeys, ShiftMovesOnlyTheSecondCorner) {
    Selection s = withGrid(16, 16);
    pressSelection(s, {20, 20}, false);
    stepSelection(s, ArrowKey::Right, true);
    EXPECT_EQ(std::tie(s.x1, s.x2), std::make_tuple(20, 36));
    EXPECT_SEL(s, 16, 16, 47, 31);
    stepSelection(s, ArrowKey::Left, true);
    stepSelection(s, ArrowKey::Left, true);
    EXPECT_SEL(s, 0, 16, 31, 31);  // the second corner passed the first
}

TEST(ArrowKeys, VirtualKeysMapToArrowsAndCtrlScrollsOneLine) {
    const std::tuple<uint32_t, ArrowKey, bool, int32_t> cases[] = {
        {0x25, ArrowKey::Left, false, kScrollLineUp},
        {0x26, ArrowKey::Up, true, kScrollLineUp},
        {0x27, ArrowKey::Right, false, kScrollLineDown},
        {0x28, ArrowKey::Down, true, kScrollLineDown},
    };
    for (const auto& [vk, key, vertical, request] : cases) {
        EXPECT_EQ(arrowKeyOf(vk), key) << vk;
        EXPECT_EQ(arrowScroll(key).vertical, vertical) << vk;
        EXPECT_EQ(arrowScroll(key).request, request) << vk;
    }
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
    const std::tuple<ArrowKey, int32_t, bool, int32_t> cases[] = {
        {ArrowKey::Right, 0, false, 303 * 2 - (200 - 16)},
        {ArrowKey::Down, 0, true, 303 * 2 - (100 - 16)},
        {ArrowKey::Up, 700, true, 576},
    };
    for (const auto& [key, vPos, vertical, position] : cases) {
        const auto r = revealAfterStep(key, s, 2.0f, 0, vPos, {200, 100});
        ASSERT_TRUE(r) << position;
        EXPECT_EQ(r->vertical, vertical);
        EXPECT_EQ(r->position, position);
    }
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
    const PanStep p = panStep(100, 100, 90, 130, 50, 60);
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
    EXPECT_SEL(s, -24, -24, 7, 7);
}

TEST(SelectionCommands, SelectAllAndCopySizeWithoutACopyBufferSnapTheWholeCanvasToTheGrid) {
    DIB canvas(100, 50), copy, empty;
    Selection s;
    ASSERT_TRUE(applySelectionCommand(ID_EDIT_SELECT_ALL, s, canvas, copy));
    EXPECT_SEL(s, 0, 0, 127, 63);
    Selection fine = withGrid(1, 1);
    for (uint32_t id : {ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_COPY_SIZE}) {
        ASSERT_TRUE(applySelectionCommand(id, fine, canvas, copy)) << id;
        EXPECT_SEL(fine, 0, 0, 99, 49);
    }
    Selection untouched = fine;
    EXPECT_FALSE(applySelectionCommand(ID_EDIT_SELECT_ALL, untouched, empty, copy));
    EXPECT_EQ(untouched, fine);
}

TEST(SelectionCommands, GridFromSelectionTakesItsSizeWithoutSnappingAgain) {
    Selection s = withGrid(1, 1);
    pressSelection(s, {5, 6}, false);
    dragSelection(s, {14, 25});
    DIB canvas(100, 100), copy;
    ASSERT_TRUE(applySelectionCommand(ID_GRID_FROM_SELECTION, s, canvas, copy));
    EXPECT_EQ(std::tie(s.gw, s.gh), std::make_tuple(10, 20));
    EXPECT_SEL(s, 5, 6, 14, 25);
}

TEST(SelectionCommands, GridSizeCommandsSetPowersOfTwoAndSnap) {
    DIB canvas(100, 100), copy;
    for (uint32_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        Selection s;
        s.cx = 3;  // kept
        pressSelection(s, {700, 700}, false);
        ASSERT_TRUE(applySelectionCommand(ID_GRID_1 + i, s, canvas, copy));
        EXPECT_EQ(std::tie(s.gw, s.gh, s.cx), std::make_tuple(1 << i, 1 << i, 3));
        Selection snapped = s;
        updateSelection(snapped);
        EXPECT_EQ(s, snapped);
        if (i == 9) {
            EXPECT_SEL(s, 515, 512, 1026, 1023);
        }
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
