// Status bar clicks and the states of the menu items.
#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/interaction.h"
#include "app/main_window.h"
#include "app/menu_state.h"
#include "app/status_bar.h"
#include "app/status_text.h"
#include "settings/settings.h"

namespace {

POINT cursorInClient(HWND hwnd) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    return cursor;
}

}  // namespace

void Main::onNotify(const NMHDR* header) {
    if (!header || header->idFrom != static_cast<UINT_PTR>(kStatusBarId)) return;
    // The status bar starts at client x 0, so client x is status bar x.
    POINT cursor = cursorInClient(hwnd);
    if (header->code == static_cast<UINT>(NM_CLICK)) {
        if (uint32_t command = statusClickCommand(cursor.x))
            SendMessageW(hwnd, WM_COMMAND, command, 0);
        return;
    }
    if (header->code != static_cast<UINT>(NM_RCLICK)) return;
    HMENU menuBar = GetMenu(hwnd);
    HMENU menu = nullptr;
    switch (statusRightClickMenu(cursor.x)) {
    case StatusMenu::Color: menu = colorMenu; break;
    case StatusMenu::GridSize:
        menu = GetSubMenu(GetSubMenu(menuBar, kMenuBarOptionPosition), kOptionGridSizePosition);
        break;
    case StatusMenu::View: menu = GetSubMenu(menuBar, kMenuBarViewPosition); break;
    case StatusMenu::Clipboard: menu = clipboardMenu; break;
    case StatusMenu::None: return;
    }
    POINT screen = cursor;
    ClientToScreen(hwnd, &screen);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN, screen.x, screen.y, 0, hwnd, nullptr);
}

void Main::updateMenuStates() {
    const Settings& s = settings();
    const Document& doc = document_;
    MenuConditions conditions = menuConditionsOf(
        doc.canvas, selectionRect(doc.selection), s.autoResize, doc.copyBuffer,
        doc.undoHistory.undoCount() > 0, doc.undoHistory.redoCount() > 0, s.alphaMode);
    for (const MenuItemState& item : menuItemStates(conditions)) {
        HMENU menu = nullptr;
        switch (item.menu) {
        case MenuHandle::MenuBar: menu = GetMenu(hwnd); break;
        case MenuHandle::PopupMenu: menu = popupMenu; break;
        case MenuHandle::ClipboardMenu: menu = clipboardMenu; break;
        case MenuHandle::ColorMenu: menu = colorMenu; break;
        case MenuHandle::DropMenu: menu = dropMenu; break;
        }
        if (item.byPosition && item.subMenu >= 0) menu = GetSubMenu(menu, item.subMenu);
        if (!menu) continue;
        UINT by = item.byPosition ? MF_BYPOSITION : MF_BYCOMMAND;
        EnableMenuItem(menu, item.item, by | (item.enabled ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
        if (item.checkable)
            CheckMenuItem(menu, item.item, by | (item.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}
