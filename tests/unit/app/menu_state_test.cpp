#include "app/menu_state.h"

#include <gtest/gtest.h>

#include <optional>

#include "resources/resource.h"

namespace {

using M = MenuHandle;

std::optional<MenuItemState> find(const std::vector<MenuItemState>& states, MenuHandle menu,
                                  uint32_t id) {
    std::optional<MenuItemState> found;
    for (const MenuItemState& s : states) {
        if (s.menu == menu && !s.byPosition && s.item == id) {
            EXPECT_FALSE(found) << "set twice: " << id;
            found = s;
        }
    }
    return found;
}

bool enabledIn(const std::vector<MenuItemState>& states, MenuHandle menu, uint32_t id) {
    auto s = find(states, menu, id);
    EXPECT_TRUE(s) << "not set: " << id << " in menu " << static_cast<int>(menu);
    return s && s->enabled;
}

MenuConditions none() { return {false, false, false, false, false, false, false}; }

}  // namespace

TEST(OnCanvas, NeedsAValidCanvasAndTheSelectionOverlappingIt) {
    DIB canvas(256, 256);
    EXPECT_TRUE(selectionOnCanvas(canvas, {0, 0, 31, 31}));
    EXPECT_TRUE(selectionOnCanvas(canvas, {-24, -24, 7, 7}));
    EXPECT_TRUE(selectionOnCanvas(canvas, {255, 255, 300, 300}));
    EXPECT_FALSE(selectionOnCanvas(canvas, {256, 0, 300, 31}));
    EXPECT_FALSE(selectionOnCanvas(canvas, {0, 256, 31, 300}));
    EXPECT_FALSE(selectionOnCanvas(canvas, {-40, 0, -1, 31}));
    DIB empty;
    EXPECT_FALSE(selectionOnCanvas(empty, {0, 0, 31, 31}));
}

TEST(OnCanvas, OnePixelSelectionAtTheOriginDoesNotCount) {
    // Right and bottom must be past 0, so grid 1 x 1 at pixel (0, 0) grays
    // out cut, copy and the other selection items.
    DIB canvas(256, 256);
    EXPECT_FALSE(selectionOnCanvas(canvas, {0, 0, 0, 0}));
    EXPECT_FALSE(selectionOnCanvas(canvas, {0, 0, 5, 0}));
    EXPECT_TRUE(selectionOnCanvas(canvas, {0, 0, 1, 1}));
}

TEST(MenuState, ConditionsComeFromCanvasSelectionAndCopyBuffer) {
    DIB canvas(64, 64), copy(8, 8), empty;
    MenuConditions c = menuConditionsOf(canvas, {0, 0, 31, 31}, false, copy, true, false, true);
    EXPECT_TRUE(c.onCanvas);
    EXPECT_FALSE(c.autoResize);
    EXPECT_TRUE(c.hasCopy);
    EXPECT_TRUE(c.canUndo);
    EXPECT_FALSE(c.canRedo);
    EXPECT_TRUE(c.canvasValid);
    EXPECT_TRUE(c.alphaMode);
    c = menuConditionsOf(empty, {0, 0, 31, 31}, true, empty, false, true, false);
    EXPECT_FALSE(c.onCanvas);
    EXPECT_TRUE(c.autoResize);
    EXPECT_FALSE(c.hasCopy);
    EXPECT_FALSE(c.canvasValid);
    EXPECT_TRUE(c.canRedo);
}

TEST(MenuState, PasteNeedsACopyBufferAndRoomOnTheCanvasOrAutoResize) {
    MenuConditions c = none();
    c.hasCopy = true;
    auto off = menuItemStates(c);
    EXPECT_FALSE(enabledIn(off, M::MenuBar, ID_EDIT_PASTE));
    EXPECT_FALSE(enabledIn(off, M::PopupMenu, ID_EDIT_PASTE));
    EXPECT_FALSE(enabledIn(off, M::ClipboardMenu, ID_EDIT_PASTE));
    EXPECT_FALSE(enabledIn(off, M::MenuBar, ID_EDIT_PASTE_FROM_FILE));
    EXPECT_FALSE(enabledIn(off, M::DropMenu, ID_DROP_PASTE));

    c.autoResize = true;  // off the canvas, but the paste may grow it
    auto grow = menuItemStates(c);
    for (uint32_t id : {ID_EDIT_PASTE, ID_EDIT_PASTE_BEYOND, ID_EDIT_PASTE_TRANSLUCENT,
                        ID_EDIT_PASTE_OPAQUE_BASE}) {
        EXPECT_TRUE(enabledIn(grow, M::MenuBar, id)) << id;
    }
    EXPECT_TRUE(enabledIn(grow, M::PopupMenu, ID_EDIT_PASTE_TRANSLUCENT));
    EXPECT_TRUE(enabledIn(grow, M::MenuBar, ID_EDIT_PASTE_FROM_FILE));
    EXPECT_TRUE(enabledIn(grow, M::DropMenu, ID_DROP_PASTE));
    // A mask paste never grows the canvas.
    EXPECT_FALSE(enabledIn(grow, M::MenuBar, ID_COLOR_PASTE_MASK));

    c.hasCopy = false;
    auto empty = menuItemStates(c);
    EXPECT_FALSE(enabledIn(empty, M::MenuBar, ID_EDIT_PASTE));
    EXPECT_TRUE(enabledIn(empty, M::MenuBar, ID_EDIT_PASTE_FROM_FILE));
}

TEST(MenuState, ClipboardMenuPastesFollowThePasteRule) {
    MenuConditions c = none();
    c.onCanvas = true;
    auto states = menuItemStates(c);
    for (uint32_t id : {ID_EDIT_PASTE, ID_EDIT_PASTE_BEYOND, ID_EDIT_PASTE_TRANSLUCENT,
                        ID_EDIT_PASTE_OPAQUE_BASE, ID_COLOR_PASTE_MASK}) {
        EXPECT_FALSE(enabledIn(states, M::ClipboardMenu, id)) << id;
    }
    c.hasCopy = true;
    states = menuItemStates(c);
    for (uint32_t id : {ID_EDIT_PASTE, ID_EDIT_PASTE_BEYOND, ID_EDIT_PASTE_TRANSLUCENT,
                        ID_EDIT_PASTE_OPAQUE_BASE, ID_COLOR_PASTE_MASK}) {
        EXPECT_TRUE(enabledIn(states, M::ClipboardMenu, id)) << id;
    }
}

TEST(MenuState, SelectionItemsNeedTheSelectionOnTheCanvas) {
    const uint32_t barItems[] = {
        ID_EDIT_SELECT_NONE, ID_EDIT_CUT,          ID_EDIT_COPY,
        ID_EDIT_DELETE,      ID_COLOR_MAKE_OPAQUE, ID_COLOR_MAKE_TRANSPARENT,
        ID_EDIT_SAVE_SELECTION, ID_COLOR_INVERT,   ID_COLOR_PASTE_MASK_FILE,
        ID_COLOR_COPY_MASK,  ID_COLOR_SAVE_MASK,   ID_COLOR_FLIP_HORIZONTAL,
        ID_COLOR_FLIP_VERTICAL, ID_COLOR_COUNT,
    };
    MenuConditions c = none();
    c.autoResize = true;
    c.hasCopy = true;
    c.canvasValid = true;
    auto off = menuItemStates(c);
    for (uint32_t id : barItems) EXPECT_FALSE(enabledIn(off, M::MenuBar, id)) << id;
    EXPECT_FALSE(enabledIn(off, M::DropMenu, ID_DROP_PASTE_MASK));
    c.onCanvas = true;
    auto on = menuItemStates(c);
    for (uint32_t id : barItems) EXPECT_TRUE(enabledIn(on, M::MenuBar, id)) << id;
    EXPECT_TRUE(enabledIn(on, M::DropMenu, ID_DROP_PASTE_MASK));
}

TEST(MenuState, ItemsAreSetOnlyInTheMenusThatListThem) {
    auto states = menuItemStates(none());
    EXPECT_TRUE(find(states, M::PopupMenu, ID_EDIT_CUT));
    EXPECT_TRUE(find(states, M::ClipboardMenu, ID_EDIT_COPY));
    EXPECT_FALSE(find(states, M::ClipboardMenu, ID_EDIT_DELETE));
    EXPECT_TRUE(find(states, M::ColorMenu, ID_COLOR_MAKE_OPAQUE));
    EXPECT_TRUE(find(states, M::ColorMenu, ID_COLOR_COUNT));
    EXPECT_FALSE(find(states, M::ColorMenu, ID_COLOR_FLIP_HORIZONTAL));
    EXPECT_FALSE(find(states, M::PopupMenu, ID_EDIT_SELECT_NONE));
    EXPECT_FALSE(find(states, M::MenuBar, ID_DROP_PASTE));
    EXPECT_FALSE(find(states, M::DropMenu, ID_DROP_COPY));
    EXPECT_FALSE(find(states, M::DropMenu, ID_DROP_OPEN));
    // Never gated: they always work.
    EXPECT_FALSE(find(states, M::MenuBar, ID_FILE_NEW));
    EXPECT_FALSE(find(states, M::MenuBar, ID_COLOR_CHANGE_DIALOG));
    EXPECT_FALSE(find(states, M::MenuBar, ID_VIEW_ZOOM_IN));
    EXPECT_FALSE(find(states, M::MenuBar, ID_EDIT_SELECT_COPY_SIZE));
}

TEST(MenuState, CopyBufferItemsNeedACopyBuffer) {
    MenuConditions c = none();
    auto without = menuItemStates(c);
    c.hasCopy = true;
    auto with = menuItemStates(c);
    for (uint32_t id : {ID_FILE_OPEN_CLIPBOARD, ID_OPTION_CLEAR_COPY, ID_OPTION_SAVE_COPY}) {
        for (MenuHandle menu : {M::MenuBar, M::ClipboardMenu}) {
            EXPECT_FALSE(enabledIn(without, menu, id)) << id;
            EXPECT_TRUE(enabledIn(with, menu, id)) << id;
        }
    }
}

TEST(MenuState, UndoItemsFollowTheHistory) {
    MenuConditions c = none();
    c.canUndo = true;
    auto undoOnly = menuItemStates(c);
    EXPECT_TRUE(enabledIn(undoOnly, M::MenuBar, ID_EDIT_UNDO));
    EXPECT_TRUE(enabledIn(undoOnly, M::PopupMenu, ID_EDIT_UNDO));
    EXPECT_FALSE(enabledIn(undoOnly, M::PopupMenu, ID_EDIT_REDO));
    EXPECT_TRUE(enabledIn(undoOnly, M::MenuBar, ID_OPTION_CLEAR_UNDO));
    c = none();
    c.canRedo = true;
    auto redoOnly = menuItemStates(c);
    EXPECT_FALSE(enabledIn(redoOnly, M::MenuBar, ID_EDIT_UNDO));
    EXPECT_TRUE(enabledIn(redoOnly, M::MenuBar, ID_EDIT_REDO));
    EXPECT_TRUE(enabledIn(redoOnly, M::MenuBar, ID_OPTION_CLEAR_UNDO));
    EXPECT_FALSE(enabledIn(menuItemStates(none()), M::MenuBar, ID_OPTION_CLEAR_UNDO));
}

TEST(MenuState, SavingAndSelectAllNeedAValidCanvas) {
    MenuConditions c = none();
    c.onCanvas = true;
    auto invalid = menuItemStates(c);
    c.canvasValid = true;
    auto valid = menuItemStates(c);
    for (uint32_t id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_EDIT_SELECT_ALL}) {
        EXPECT_FALSE(enabledIn(invalid, M::MenuBar, id)) << id;
        EXPECT_TRUE(enabledIn(valid, M::MenuBar, id)) << id;
    }
}

TEST(MenuState, AlphaModeItemIsAlwaysEnabledAndCarriesTheCheckMark) {
    MenuConditions c = none();
    for (bool alpha : {false, true}) {
        c.alphaMode = alpha;
        auto states = menuItemStates(c);
        for (MenuHandle menu : {M::MenuBar, M::ColorMenu}) {
            auto s = find(states, menu, ID_COLOR_ALPHA_MODE);
            ASSERT_TRUE(s);
            EXPECT_TRUE(s->enabled);
            EXPECT_TRUE(s->checkable);
            EXPECT_EQ(s->checked, alpha);
        }
    }
    // No other item touches a check mark.
    for (const MenuItemState& s : menuItemStates(c)) {
        if (s.byPosition || s.item != ID_COLOR_ALPHA_MODE) {
            EXPECT_FALSE(s.checkable);
        }
    }
}

TEST(MenuState, ChannelSwapSubMenuIsSetByPositionInBothMenus) {
    MenuConditions c = none();
    for (bool onCanvas : {false, true}) {
        c.onCanvas = onCanvas;
        int found = 0;
        for (const MenuItemState& s : menuItemStates(c)) {
            if (!s.byPosition) continue;
            ++found;
            EXPECT_EQ(s.enabled, onCanvas);
            if (s.menu == M::MenuBar) {
                EXPECT_EQ(s.subMenu, 2);  // 色(&C)
                EXPECT_EQ(s.item, 10u);   // 色の入れ替え(&C)
            } else {
                EXPECT_EQ(s.menu, M::ColorMenu);
                EXPECT_EQ(s.subMenu, -1);
                EXPECT_EQ(s.item, 5u);
            }
        }
        EXPECT_EQ(found, 2);
    }
}
