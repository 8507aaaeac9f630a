// The compiled resources of plimsett.rc, read back through the platform:
// every menu position the program names, and the shortcuts the menus show
// against the accelerator table. win_tests links the same resource object
// as plimsett.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/menu_state.h"
#include "app/status_text.h"
#include "resources/resource.h"

namespace {

HINSTANCE module() { return GetModuleHandleW(nullptr); }

bool holds(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) != UINT(-1); }

struct ShownShortcut {
    UINT id;
    std::wstring keys;  // the text after the tab, e.g. "Ctrl+Shift+O"
};

// Every item of the menu tree that shows a shortcut.
void collectShortcuts(HMENU menu, std::vector<ShownShortcut>& out) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            collectShortcuts(sub, out);
            continue;
        }
        wchar_t text[128] = {};
        GetMenuStringW(menu, UINT(i), text, 128, MF_BYPOSITION);
        if (const wchar_t* tab = wcschr(text, L'\t'))
            out.push_back({GetMenuItemID(menu, i), tab + 1});
    }
}

// The accelerator entry a shortcut text stands for.
ACCEL accelOf(std::wstring keys) {
    ACCEL a{FVIRTKEY | FNOINVERT, 0, 0};
    for (auto [prefix, flag] : {std::pair{L"Ctrl+", FCONTROL}, {L"Shift+", FSHIFT}}) {
        if (keys.rfind(prefix, 0) == 0) {
            a.fVirt |= flag;
            keys.erase(0, wcslen(prefix));
        }
    }
    const std::pair<const wchar_t*, WORD> named[] = {
        {L"Delete", VK_DELETE}, {L"PageUp", VK_PRIOR}, {L"PageDown", VK_NEXT}, {L"\\", VK_OEM_5}};
    for (auto [name, key] : named) {
        if (keys == name) a.key = key;
    }
    if (keys.size() == 1 && keys[0] >= L'A' && keys[0] <= L'Z') a.key = keys[0];
    return a;
}

}  // namespace

TEST(Resources, EveryNamedMenuPositionHoldsItsMenu) {
    HMENU bar = LoadMenuW(module(), MAKEINTRESOURCEW(IDR_MENU_MAIN));
    HMENU popups = LoadMenuW(module(), MAKEINTRESOURCEW(IDR_MENU_POPUP));
    HMENU colour = GetSubMenu(bar, kMenuBarColorPosition);
    const std::pair<HMENU, UINT> cases[] = {
        {GetSubMenu(bar, kMenuBarViewPosition), ID_VIEW_ZOOM_IN},
        {GetSubMenu(GetSubMenu(bar, kMenuBarOptionPosition), kOptionGridSizePosition),
         ID_GRID_DIALOG},
        {colour, ID_COLOR_ALPHA_MODE},
        {GetSubMenu(colour, kColorSwapPositionInMenuBar), ID_COLOR_SWAP_RBG},
        {GetSubMenu(GetSubMenu(popups, POPUP_POS_COLOR), kColorSwapPositionInColorMenu),
         ID_COLOR_SWAP_BGR},
        {GetSubMenu(popups, POPUP_POS_CANVAS), ID_EDIT_UNDO},
        {GetSubMenu(popups, POPUP_POS_DROP), ID_DROP_PASTE_MASK},
        {GetSubMenu(popups, POPUP_POS_CLIPBOARD), ID_OPTION_CLEAR_COPY},
        {GetSubMenu(popups, POPUP_POS_COLOR), ID_COLOR_COUNT},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_NE(cases[i].first, nullptr) << i;
        EXPECT_TRUE(holds(cases[i].first, cases[i].second)) << i;
    }
    DestroyMenu(popups);
    DestroyMenu(bar);
}

TEST(Resources, EveryShortcutAMenuShowsIsTheAcceleratorOfItsCommand) {
    HACCEL table = LoadAcceleratorsW(module(), MAKEINTRESOURCEW(IDR_ACCELERATOR1));
    std::vector<ACCEL> entries(size_t(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), int(entries.size()));
    DestroyAcceleratorTable(table);
    std::vector<ShownShortcut> shown;
    for (int id : {IDR_MENU_MAIN, IDR_MENU_POPUP}) {
        HMENU menu = LoadMenuW(module(), MAKEINTRESOURCEW(id));
        collectShortcuts(menu, shown);
        DestroyMenu(menu);
    }
    ASSERT_GE(shown.size(), 25u);
    for (const ShownShortcut& s : shown) {
        const ACCEL want = accelOf(s.keys);
        ASSERT_NE(want.key, 0) << "unknown shortcut text, item " << s.id;
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const ACCEL& e) {
            return e.fVirt == want.fVirt && e.key == want.key;
        });
        ASSERT_NE(found, entries.end()) << "no accelerator for the shortcut of item " << s.id;
        // 指定色を変更 shows Ctrl+T, which replaces the colours at once instead
        // of opening the dialog.
        EXPECT_EQ(found->cmd, s.id == ID_COLOR_CHANGE_DIALOG ? ID_COLOR_REPLACE : s.id);
    }
}
