// Mouse, keys, wheel, status bar and menu states of the real main window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/app_state.h"
#include "app/status_bar.h"
#include "app/status_text.h"
#include "app/view_win.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

SCROLLINFO barOf(HWND bar) {
    SCROLLINFO info = scrollInfo(SIF_ALL);
    GetScrollInfo(bar, SB_CTL, &info);
    return info;
}

void pointAt(UiSession& ui, int x, int y) {
    POINT point{x, y};
    ClientToScreen(ui.hwnd(), &point);
    SetCursorPos(point.x, point.y);
}

// A left click on a client point (keys: MK_SHIFT and the like).
void clickAt(UiSession& ui, int x, int y, WPARAM keys = 0) {
    pointAt(ui, x, y);
    SendMessageW(ui.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    SendMessageW(ui.hwnd(), WM_LBUTTONUP, keys, MAKELPARAM(x, y));
    ui.pump();
}

}  // namespace

using UiSelection = UiTest;
using UiMenus = UiTest;
using UiView = UiTest;

TEST_F(UiSelection, ClicksArrowKeysAndTheWheelMoveTheSelectionAndTheView) {
    clickAt(ui, 8 + 70, 8 + 40);  // canvas pixel p sits at client 8 + p at zoom 1
    EXPECT_EQ(ui.statusText(2), L"64,32 -> 95,63 (32,32)");
    clickAt(ui, 8 + 100, 8 + 100, MK_SHIFT);
    EXPECT_EQ(ui.statusText(2), L"64,32 -> 127,127 (64,96)");
    ui.pressKey(VK_LEFT);
    EXPECT_EQ(ui.statusText(2), L"32,32 -> 95,127 (64,96)");
    ui.pressKey(VK_UP, false, true);  // Shift moves only the second corner
    EXPECT_EQ(ui.statusText(2), L"32,32 -> 95,95 (64,64)");

    pointAt(ui, 100, 100);
    SendMessageW(ui.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(100, 100));
    ui.pump();
    EXPECT_EQ(ui.statusText(3), L"x1.25");
    EXPECT_FLOAT_EQ(appState().zoomFactor, 1.25f);
}

// Each shortcut works only while its menu item is offered.
TEST_F(UiMenus, AGrayedItemsShortcutDoesNothing) {
    Document& doc = ui.doc();
    auto copyBuffer = [&](bool on) {
        on ? void(doc.copyBuffer.create(4, 4)) : doc.copyBuffer.release();
    };
    const struct {
        UINT key;
        bool shift;
        WORD id;
        std::function<void(bool)> offer;
    } cases[] = {
        {'V', false, ID_EDIT_PASTE, copyBuffer},
        {'V', true, ID_EDIT_PASTE_TRANSLUCENT, copyBuffer},
        {'Z', false, ID_EDIT_UNDO,
         [&](bool on) { on ? ui.command(ID_EDIT_DELETE) : doc.undoHistory.clearAll(); }},
        // A 1 x 1 selection at pixel (0, 0) does not lie on the canvas.
        {'C', false, ID_EDIT_COPY,
         [&](bool on) {
             ui.command(on ? ID_GRID_32 : ID_GRID_1);
             ui.command(ID_EDIT_SELECT_NONE);
         }},
    };
    for (const auto& c : cases) {
        for (bool on : {false, true}) {
            c.offer(on);
            ui.pump();
            ui.takeCommands();
            ui.pressKey(c.key, true, c.shift);
            const std::vector<WORD> got = ui.takeCommands();
            EXPECT_EQ(std::count(got.begin(), got.end(), c.id), on ? 1 : 0) << c.id << " " << on;
        }
    }
}

// Positions travel in 32 bits: the thumb reaches the right end past 32767.
TEST_F(UiView, AVeryWideCanvasScrollsToItsRightEndByTheThumb) {
    ASSERT_TRUE(ui.doc().canvas.create(40100, 64));
    SendMessageW(ui.hwnd(), kMsgRefresh, 0, 0);
    ui.pump();
    HWND bar = ui.main().hScroll;
    const SCROLLINFO info = barOf(bar);
    ASSERT_GT(info.nMax, 40000);
    // Drag the thumb to the far right: press on it, move past the end, let go.
    RECT barRect{};
    GetClientRect(bar, &barRect);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL), y = barRect.bottom / 2;
    PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(barRect.right - arrow / 2, y));
    PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(barRect.right - arrow / 2, y));
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrow + 2, y));
    ui.pump();
    EXPECT_EQ(barOf(bar).nPos, info.nMax - static_cast<int>(info.nPage) + 1);
}

// An undo step moves the view only when the canvas changed size (zoom type 2 would centre).
TEST_F(UiView, UndoKeepsTheViewWhereTheUserLeftIt) {
    settings().zoomType = 2;
    ASSERT_TRUE(ui.doc().canvas.create(4000, 64));
    SendMessageW(ui.hwnd(), kMsgRefresh, 0, 0);
    selectPixels(3000, 0, 3031, 31);
    ui.command(ID_EDIT_DELETE);
    ui.command(ID_EDIT_UNDO);
    EXPECT_EQ(barOf(ui.main().hScroll).nPos, 0);  // where the refresh left it
    ASSERT_TRUE(ui.doc().copyBuffer.create(8, 8));
    selectPixels(4100, 0, 4107, 7);
    ui.command(ID_EDIT_PASTE);  // grows the canvas to 4108 wide
    EXPECT_EQ(barOf(ui.main().hScroll).nMax, 4108 + 16 - 1);
    ui.command(ID_EDIT_UNDO);
    EXPECT_EQ(barOf(ui.main().hScroll).nMax, 4000 + 16 - 1);
}

// Releasing one button ends only its gesture; another window taking the mouse ends all.
TEST_F(UiSelection, ReleasingOneButtonKeepsThePanAndLosingTheMouseEndsIt) {
    SendMessageW(ui.hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(50, 40));
    clickAt(ui, 60, 60);
    EXPECT_TRUE(appState().panAnchor.active());
    SendMessageW(ui.hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(50, 40));
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    SetCapture(other);
    EXPECT_FALSE(appState().panAnchor.active());
    DestroyWindow(other);
}
