#include "app/menu_state.h"

#include "resources/resource.h"

namespace {

// The menus a rule is applied in, as bits.
constexpr unsigned kBar = 1u << static_cast<int>(MenuHandle::MenuBar);
constexpr unsigned kPopup = 1u << static_cast<int>(MenuHandle::PopupMenu);
constexpr unsigned kClipboard = 1u << static_cast<int>(MenuHandle::ClipboardMenu);
constexpr unsigned kColor = 1u << static_cast<int>(MenuHandle::ColorMenu);
constexpr unsigned kDrop = 1u << static_cast<int>(MenuHandle::DropMenu);
constexpr MenuHandle kAllMenus[] = {MenuHandle::MenuBar, MenuHandle::PopupMenu,
                                    MenuHandle::ClipboardMenu, MenuHandle::ColorMenu,
                                    MenuHandle::DropMenu};

struct Rule {
    uint32_t id;
    unsigned menus;
    bool enabled;
};

}  // namespace

bool selectionOnCanvas(const DIB& canvas, const CanvasRect& s) {
    if (!canvas.isValid()) return false;
    return s.left < canvas.width() && s.top < canvas.height() && s.right > 0 && s.bottom > 0;
}

MenuConditions menuConditionsOf(const DIB& canvas, const CanvasRect& selection, bool autoResize,
                                const DIB& copyBuffer, bool canUndo, bool canRedo, bool alphaMode) {
    return {selectionOnCanvas(canvas, selection),
            autoResize,
            copyBuffer.isValid(),
            canUndo,
            canRedo,
            canvas.isValid(),
            alphaMode};
}

std::vector<MenuItemState> menuItemStates(const MenuConditions& c) {
    const bool target = c.onCanvas || c.autoResize;  // somewhere a paste can land
    const bool paste = target && c.hasCopy;
    const Rule rules[] = {
        {ID_EDIT_PASTE, kBar | kPopup | kClipboard, paste},
        {ID_EDIT_PASTE_BEYOND, kBar, paste},
        {ID_EDIT_PASTE_TRANSLUCENT, kBar | kPopup, paste},
        {ID_EDIT_PASTE_OPAQUE_BASE, kBar, paste},
        {ID_EDIT_PASTE_FROM_FILE, kBar | kPopup, target},
        {ID_DROP_PASTE, kDrop, target},
        {ID_COLOR_PASTE_MASK, kBar | kClipboard, c.onCanvas && c.hasCopy},
        {ID_FILE_OPEN_CLIPBOARD, kBar | kClipboard, c.hasCopy},
        {ID_OPTION_CLEAR_COPY, kBar | kClipboard, c.hasCopy},
        {ID_OPTION_SAVE_COPY, kBar | kClipboard, c.hasCopy},
        {ID_EDIT_UNDO, kBar | kPopup, c.canUndo},
        {ID_EDIT_REDO, kBar | kPopup, c.canRedo},
        {ID_OPTION_CLEAR_UNDO, kBar, c.canUndo || c.canRedo},
        {ID_EDIT_SELECT_NONE, kBar, c.onCanvas},
        {ID_EDIT_CUT, kBar | kPopup | kClipboard, c.onCanvas},
        {ID_EDIT_COPY, kBar | kPopup | kClipboard, c.onCanvas},
        {ID_EDIT_DELETE, kBar | kPopup, c.onCanvas},
        {ID_COLOR_MAKE_OPAQUE, kBar | kPopup | kColor, c.onCanvas},
        {ID_COLOR_MAKE_TRANSPARENT, kBar | kColor, c.onCanvas},
        {ID_EDIT_SAVE_SELECTION, kBar | kPopup, c.onCanvas},
        {ID_COLOR_INVERT, kBar | kPopup | kColor, c.onCanvas},
        {ID_COLOR_PASTE_MASK_FILE, kBar, c.onCanvas},
        {ID_COLOR_COPY_MASK, kBar, c.onCanvas},
        {ID_COLOR_SAVE_MASK, kBar, c.onCanvas},
        {ID_COLOR_FLIP_HORIZONTAL, kBar, c.onCanvas},
        {ID_COLOR_FLIP_VERTICAL, kBar, c.onCanvas},
        {ID_COLOR_COUNT, kBar | kColor, c.onCanvas},
        {ID_DROP_PASTE_MASK, kDrop, c.onCanvas},
        {ID_FILE_SAVE_AS, kBar, c.canvasValid},
        {ID_FILE_SAVE, kBar, c.canvasValid},
        {ID_EDIT_SELECT_ALL, kBar, c.canvasValid},
    };

    std::vector<MenuItemState> out;
    for (const Rule& rule : rules) {
        for (MenuHandle menu : kAllMenus) {
            if (rule.menus & (1u << static_cast<int>(menu))) {
                out.push_back({menu, false, rule.id, -1, rule.enabled, false, false});
            }
        }
    }
    for (MenuHandle menu : {MenuHandle::MenuBar, MenuHandle::ColorMenu}) {
        out.push_back({menu, false, ID_COLOR_ALPHA_MODE, -1, true, true, c.alphaMode});
    }
    // The channel swaps act on the selection, so their sub-menu needs it on
    // the canvas in both menus; 指定色を変更 only opens a dialog and stays offered.
    out.push_back({MenuHandle::MenuBar, true, kColorSwapPositionInMenuBar, kMenuBarColorPosition,
                   c.onCanvas, false, false});
    out.push_back(
        {MenuHandle::ColorMenu, true, kColorSwapPositionInColorMenu, -1, c.onCanvas, false, false});
    return out;
}
