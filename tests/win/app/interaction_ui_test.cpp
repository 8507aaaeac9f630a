// Mouse, keys, status bar and menus of the real main window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_state.h"
#include "app/view_win.h"
#include "app/unsaved_changes.h"
#include "resources/resource.h"
#include "image/file_choice.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

bool received(const std::vector<WORD>& commands, WORD id) {
    return std::find(commands.begin(), commands.end(), id) != commands.end();
}

UINT menuBarState(HWND hwnd, UINT id) {
    SendMessageW(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(hwnd)), 0);
    return GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND);
}

int horizontalPosition(HWND bar) {
    SCROLLINFO info = scrollInfo(SIF_ALL);
    GetScrollInfo(bar, SB_CTL, &info);
    return info.nPos;
}

}  // namespace

TEST(UiSelection, ClickSelectsTheGridCellUnderThePointerAndShiftExtends) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    // Canvas pixel (p) sits at client 8 + p at zoom 1.
    ui.clickAt(8 + 5, 8 + 5);
    EXPECT_EQ(ui.statusText(2), L"0,0 -> 31,31 (32,32)");
    ui.clickAt(8 + 70, 8 + 40);
    EXPECT_EQ(ui.statusText(2), L"64,32 -> 95,63 (32,32)");
    ui.clickAt(8 + 100, 8 + 100, MK_SHIFT);
    EXPECT_EQ(ui.statusText(2), L"64,32 -> 127,127 (64,96)");
}

TEST(UiSelection, ArrowKeysStepByTheGridAndCtrlScrolls) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    ui.pressKey(VK_RIGHT);
    EXPECT_EQ(ui.statusText(2), L"32,0 -> 63,31 (32,32)");
    ui.pressKey(VK_DOWN, false, true);  // Shift moves only the second corner
    EXPECT_EQ(ui.statusText(2), L"32,0 -> 63,63 (32,64)");

    // A canvas larger than the view can be scrolled; Ctrl+Right scrolls a line.
    sessionDocument().canvas.create(4000, 4000);
    SendMessageW(ui.hwnd(), WM_USER + 1, 0, 0);
    ui.pump();
    int before = horizontalPosition(ui.main().hScroll);
    ui.pressKey(VK_RIGHT, true, false);
    EXPECT_GT(horizontalPosition(ui.main().hScroll), before);
    EXPECT_EQ(ui.statusText(2), L"32,0 -> 63,63 (32,64)");
}

TEST(UiView, WheelZoomsAndTheZoomPaneFollows) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    ui.pointAt(100, 100);
    SendMessageW(ui.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(100, 100));
    ui.pump();
    EXPECT_EQ(ui.statusText(3), L"x1.25");
    SendMessageW(ui.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(100, 100));
    SendMessageW(ui.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(100, 100));
    ui.pump();
    EXPECT_EQ(ui.statusText(3), L"x0.75");
    EXPECT_FLOAT_EQ(appState().zoomFactor, 0.75f);
}

TEST(UiView, TitleMarksUnsavedChanges) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    EXPECT_EQ(ui.title(), L"Plimsett  ");
    countEvent(sessionDocument(), DocumentEvent::Edited);
    SendMessageW(ui.hwnd(), WM_USER + 1, 0, 0);
    EXPECT_EQ(ui.title(), L"Plimsett *");
    setChoiceFromPath(sessionDocument().file, u"a.png");
    SendMessageW(ui.hwnd(), WM_USER + 1, 0, 0);
    EXPECT_EQ(ui.title(), L"Plimsett[a.png] *");
    countEvent(sessionDocument(), DocumentEvent::Undone);
}

TEST(UiMenus, SelectionOffTheCanvasGraysCutAndCopyAndTheirKeys) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    // Grid 1 x 1 with the selection on pixel (0, 0) only: right and bottom
    // are 0, so the selection does not count as lying on the canvas.
    SendMessageW(ui.hwnd(), WM_COMMAND, ID_GRID_1, 0);
    SendMessageW(ui.hwnd(), WM_COMMAND, ID_EDIT_SELECT_NONE, 0);
    ui.pump();
    EXPECT_EQ(ui.statusText(2), L"0,0 -> 0,0 (1,1)");
    EXPECT_TRUE(menuBarState(ui.hwnd(), ID_EDIT_COPY) & MF_GRAYED);
    EXPECT_TRUE(menuBarState(ui.hwnd(), ID_EDIT_CUT) & MF_GRAYED);
    ui.takeCommands();
    ui.pressKey('C', true);
    EXPECT_FALSE(received(ui.takeCommands(), ID_EDIT_COPY));

    // A larger selection brings them back, and Ctrl+C reaches the window.
    SendMessageW(ui.hwnd(), WM_COMMAND, ID_GRID_32, 0);
    ui.pump();
    EXPECT_FALSE(menuBarState(ui.hwnd(), ID_EDIT_COPY) & MF_GRAYED);
    ui.takeCommands();
    ui.pressKey('C', true);
    EXPECT_TRUE(received(ui.takeCommands(), ID_EDIT_COPY));
}

TEST(UiStatusBar, ClickOnPaneOneTogglesAlphaModeAndItsIcon) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    HWND bar = ui.main().statusBar;
    RECT pane{};
    SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&pane));
    POINT inPane{(pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2};
    MapWindowPoints(bar, ui.hwnd(), &inPane, 1);
    ui.pointAt(inPane.x, inPane.y);
    NMHDR click{bar, 2000, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(bar, SB_GETICON, 1, 0)), ui.main().iconAlphaOff);
    SendMessageW(ui.hwnd(), WM_NOTIFY, 2000, reinterpret_cast<LPARAM>(&click));
    ui.pump();
    EXPECT_TRUE(settings().alphaMode);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(bar, SB_GETICON, 1, 0)), ui.main().iconAlphaOn);
    SendMessageW(ui.hwnd(), WM_NOTIFY, 2000, reinterpret_cast<LPARAM>(&click));
    EXPECT_FALSE(settings().alphaMode);
}

TEST(UiView, AVeryWideCanvasScrollsToItsRightEndByTheThumb) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    ASSERT_TRUE(sessionDocument().canvas.create(40100, 64));
    SendMessageW(ui.hwnd(), WM_USER + 1, 0, 0);
    ui.pump();
    HWND bar = ui.main().hScroll;
    SCROLLINFO info = scrollInfo(SIF_ALL);
    GetScrollInfo(bar, SB_CTL, &info);
    ASSERT_GT(info.nMax, 40000);
    int lastPosition = info.nMax - static_cast<int>(info.nPage) + 1;

    // Drag the thumb to the far right: press on it, move past the end, let go.
    RECT barRect{};
    GetClientRect(bar, &barRect);
    int arrow = GetSystemMetrics(SM_CXHSCROLL);
    int y = barRect.bottom / 2;
    PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(barRect.right - arrow / 2, y));
    PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(barRect.right - arrow / 2, y));
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrow + 2, y));
    ui.pump();
    EXPECT_EQ(horizontalPosition(bar), lastPosition);
}
