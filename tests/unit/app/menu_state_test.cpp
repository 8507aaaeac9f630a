#include "app/menu_state.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <tuple>

#include "resources/resource.h"

namespace {

using M = MenuHandle;

// The decision for item `id` in `menu`; an item set twice fails the test.
std::optional<MenuItemState> find(const MenuConditions& c, MenuHandle menu, uint32_t id) {
    std::optional<MenuItemState> found;
    for (const MenuItemState& s : menuItemStates(c)) {
        if (s.menu == menu && !s.byPosition && s.item == id) {
            EXPECT_FALSE(found) << "set twice: " << id;
            found = s;
        }
    }
    return found;
}

bool enabled(const MenuConditions& c, MenuHandle menu, uint32_t id) {
    auto s = find(c, menu, id);
    EXPECT_TRUE(s) << "not set: " << id << " in menu " << static_cast<int>(menu);
    return s && s->enabled;
}

MenuConditions none() { return {false, false, false, false, false, false, false}; }

// The conditions with only the named ones true.
MenuConditions with(std::initializer_list<bool MenuConditions::*> on) {
    MenuConditions c = none();
    for (auto member : on) c.*member = true;
    return c;
}

using C = MenuConditions;

}  // namespace

TEST(OnCanvas, NeedsAValidCanvasAndTheSelectionPastRowAndColumnZero) {
    DIB canvas(256, 256), empty;
    const std::pair<CanvasRect, bool> cases[] = {
        {{0, 0, 31, 31}, true},
        {{-24, -24, 7, 7}, true},
        {{255, 255, 300, 300}, true},
        {{0, 0, 1, 1}, true},
        {{256, 0, 300, 31}, false},
        {{0, 256, 31, 300}, false},
        {{-40, 0, -1, 31}, false},
        // Grid 1 x 1 at pixel (0, 0) grays out cut, copy and the other selection items.
        {{0, 0, 0, 0}, false},
        {{0, 0, 5, 0}, false},
    };
    for (const auto& [rect, on] : cases) {
        EXPECT_EQ(selectionOnCanvas(canvas, rect), on)
            << rect.left << "," << rect.top << " -> " << rect.right << "," << rect.bottom;
    }
    EXPECT_FALSE(selectionOnCanvas(empty, {0, 0, 31, 31}));
}

TEST(MenuState, ConditionsComeFromCanvasSelectionAndCopyBuffer) {
    DIB canvas(64, 64), copy(8, 8), empty;
    auto flags = [](const MenuConditions& c) {
        return std::make_tuple(c.onCanvas, c.autoResize, c.hasCopy, c.canUndo, c.canRedo,
                               c.canvasValid, c.alphaMode);
    };
    EXPECT_EQ(flags(menuConditionsOf(canvas, {0, 0, 31, 31}, false, copy, true, false, true)),
              std::make_tuple(true, false, true, true, false, true, true));
    EXPECT_EQ(flags(menuConditionsOf(empty, {0, 0, 31, 31}, true, empty, false, true, false)),
              std::make_tuple(false, true, false, false, true, false, false));
}

TEST(MenuState, PasteNeedsACopyBufferAndRoomOnTheCanvasOrAutoResize) {
    const MenuConditions copyOnly = with({&C::hasCopy});
    for (M menu : {M::MenuBar, M::PopupMenu, M::ClipboardMenu}) {
        EXPECT_FALSE(enabled(copyOnly, menu, ID_EDIT_PASTE));
    }
    EXPECT_FALSE(enabled(copyOnly, M::MenuBar, ID_EDIT_PASTE_FROM_FILE));
    EXPECT_FALSE(enabled(copyOnly, M::DropMenu, ID_DROP_PASTE));

    // Off the canvas, but the paste may grow it.
    const MenuConditions grow = with({&C::hasCopy, &C::autoResize});
    for (uint32_t id : {ID_EDIT_PASTE, ID_EDIT_PASTE_BEYOND, ID_EDIT_PASTE_TRANSLUCENT,
                        ID_EDIT_PASTE_OPAQUE_BASE}) {
        EXPECT_TRUE(enabled(grow, M::MenuBar, id)) << id;
    }
    EXPECT_TRUE(enabled(grow, M::PopupMenu, ID_EDIT_PASTE_TRANSLUCENT));
    EXPECT_TRUE(enabled(grow, M::MenuBar, ID_EDIT_PASTE_FROM_FILE));
    EXPECT_TRUE(enabled(grow, M::DropMenu, ID_DROP_PASTE));
    EXPECT_FALSE(enabled(grow, M::MenuBar, ID_COLOR_PASTE_MASK));  // a mask never grows it

    const MenuConditions noCopy = with({&C::autoResize});
    EXPECT_FALSE(enabled(noCopy, M::MenuBar, ID_EDIT_PASTE));
    EXPECT_TRUE(enabled(noCopy, M::MenuBar, ID_EDIT_PASTE_FROM_FILE));

    // In the clipboard menu the plain paste and the mask paste follow the rule;
    // its other pastes are never set there and stay enabled.
    for (uint32_t id : {ID_EDIT_PASTE, ID_COLOR_PASTE_MASK}) {
        EXPECT_FALSE(enabled(with({&C::onCanvas}), M::ClipboardMenu, id)) << id;
        EXPECT_TRUE(enabled(with({&C::onCanvas, &C::hasCopy}), M::ClipboardMenu, id)) << id;
    }
    for (uint32_t id : {ID_EDIT_PASTE_BEYOND, ID_EDIT_PASTE_TRANSLUCENT, ID_EDIT_PASTE_OPAQUE_BASE})
        EXPECT_FALSE(find(none(), M::ClipboardMenu, id).has_value()) << id;
}

TEST(MenuState, SelectionItemsNeedTheSelectionOnTheCanvas) {
    const uint32_t barItems[] = {
        ID_EDIT_SELECT_NONE,    ID_EDIT_CUT,          ID_EDIT_COPY,
        ID_EDIT_DELETE,         ID_COLOR_MAKE_OPAQUE, ID_COLOR_MAKE_TRANSPARENT,
        ID_EDIT_SAVE_SELECTION, ID_COLOR_INVERT,      ID_COLOR_PASTE_MASK_FILE,
        ID_COLOR_COPY_MASK,     ID_COLOR_SAVE_MASK,   ID_COLOR_FLIP_HORIZONTAL,
        ID_COLOR_FLIP_VERTICAL, ID_COLOR_COUNT,
    };
    const MenuConditions off = with({&C::autoResize, &C::hasCopy, &C::canvasValid});
    MenuConditions on = off;
    on.onCanvas = true;
    for (uint32_t id : barItems) {
        EXPECT_FALSE(enabled(off, M::MenuBar, id)) << id;
        EXPECT_TRUE(enabled(on, M::MenuBar, id)) << id;
    }
    EXPECT_FALSE(enabled(off, M::DropMenu, ID_DROP_PASTE_MASK));
    EXPECT_TRUE(enabled(on, M::DropMenu, ID_DROP_PASTE_MASK));
}

TEST(MenuState, ItemsAreSetOnlyInTheMenusThatListThem) {
    const std::tuple<M, uint32_t, bool> cases[] = {
        {M::PopupMenu, ID_EDIT_CUT, true},
        {M::ClipboardMenu, ID_EDIT_COPY, true},
        {M::ClipboardMenu, ID_EDIT_DELETE, false},
        {M::ColorMenu, ID_COLOR_MAKE_OPAQUE, true},
        {M::ColorMenu, ID_COLOR_COUNT, true},
        {M::ColorMenu, ID_COLOR_FLIP_HORIZONTAL, false},
        {M::PopupMenu, ID_EDIT_SELECT_NONE, false},
        {M::MenuBar, ID_DROP_PASTE, false},
        {M::DropMenu, ID_DROP_COPY, false},
        {M::DropMenu, ID_DROP_OPEN, false},
        // Never gated: they always work.
        {M::MenuBar, ID_FILE_NEW, false},
        {M::MenuBar, ID_COLOR_CHANGE_DIALOG, false},
        {M::MenuBar, ID_VIEW_ZOOM_IN, false},
        {M::MenuBar, ID_EDIT_SELECT_COPY_SIZE, false},
    };
    for (const auto& [menu, id, set] : cases) {
        EXPECT_EQ(find(none(), menu, id).has_value(), set)
            << id << " in " << static_cast<int>(menu);
    }
}

TEST(MenuState, CopyBufferUndoAndCanvasItemsFollowTheirCondition) {
    for (uint32_t id : {ID_FILE_OPEN_CLIPBOARD, ID_OPTION_CLEAR_COPY, ID_OPTION_SAVE_COPY}) {
        for (M menu : {M::MenuBar, M::ClipboardMenu}) {
            EXPECT_FALSE(enabled(none(), menu, id)) << id;
            EXPECT_TRUE(enabled(with({&C::hasCopy}), menu, id)) << id;
        }
    }
    const MenuConditions undo = with({&C::canUndo}), redo = with({&C::canRedo});
    EXPECT_TRUE(enabled(undo, M::MenuBar, ID_EDIT_UNDO));
    EXPECT_TRUE(enabled(undo, M::PopupMenu, ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(undo, M::PopupMenu, ID_EDIT_REDO));
    EXPECT_FALSE(enabled(redo, M::MenuBar, ID_EDIT_UNDO));
    EXPECT_TRUE(enabled(redo, M::MenuBar, ID_EDIT_REDO));
    EXPECT_TRUE(enabled(undo, M::MenuBar, ID_OPTION_CLEAR_UNDO));
    EXPECT_TRUE(enabled(redo, M::MenuBar, ID_OPTION_CLEAR_UNDO));
    EXPECT_FALSE(enabled(none(), M::MenuBar, ID_OPTION_CLEAR_UNDO));
    // Saving and select all need a valid canvas, not the selection on it.
    for (uint32_t id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_EDIT_SELECT_ALL}) {
        EXPECT_FALSE(enabled(with({&C::onCanvas}), M::MenuBar, id)) << id;
        EXPECT_TRUE(enabled(with({&C::onCanvas, &C::canvasValid}), M::MenuBar, id)) << id;
    }
}

TEST(MenuState, AlphaModeItemIsAlwaysEnabledAndAloneCarriesTheCheckMark) {
    for (bool alpha : {false, true}) {
        const MenuConditions c = alpha ? with({&C::alphaMode}) : none();
        for (M menu : {M::MenuBar, M::ColorMenu}) {
            auto s = find(c, menu, ID_COLOR_ALPHA_MODE);
            ASSERT_TRUE(s);
            EXPECT_TRUE(s->enabled);
            EXPECT_TRUE(s->checkable);
            EXPECT_EQ(s->checked, alpha);
        }
        for (const MenuItemState& s : menuItemStates(c)) {
            if (s.byPosition || s.item != ID_COLOR_ALPHA_MODE) {
                EXPECT_FALSE(s.checkable);
            }
        }
    }
}

TEST(MenuState, ChannelSwapSubMenuIsSetByPositionInBothMenus) {
    for (bool onCanvas : {false, true}) {
        int found = 0;
        const MenuConditions c = onCanvas ? with({&C::onCanvas}) : none();
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
