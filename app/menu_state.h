#pragma once
// Which menu items are offered: every time a menu opens (and before an
// accelerator is turned into a command) the items below are enabled or
// grayed from the current state. Items not listed are never touched.
#include <cstdint>
#include <vector>

#include "app/view_geometry.h"
#include "image/dib.h"

// The menus whose items are set.
enum class MenuHandle {
    MenuBar,
    PopupMenu,      // "popup menu": right click on the canvas
    ClipboardMenu,  // "clipboard": status pane 4
    ColorMenu,      // "color": status pane 1
    DropMenu,       // "drag and drop": a dropped file
};

struct MenuConditions {
    bool onCanvas;    // the selection lies on the canvas
    bool autoResize;  // a paste may grow the canvas
    bool hasCopy;     // the CopyBuffer is present
    bool canUndo;
    bool canRedo;
    bool canvasValid;
    bool alphaMode;  // the check mark of ID_COLOR_ALPHA_MODE
};

// OnCanvas: a valid canvas, and the selection overlaps it with its right and
// bottom past column and row 0 (a one-pixel selection at (0, 0) does not).
bool selectionOnCanvas(const DIB& canvas, const CanvasRect& selection);

// The conditions from the current state.
MenuConditions menuConditionsOf(const DIB& canvas, const CanvasRect& selection, bool autoResize,
                                const DIB& copyBuffer, bool canUndo, bool canRedo, bool alphaMode);

// One decision. An item is found either by command id anywhere in the
// menu's tree, or by position: item `item` of sub-menu `subMenu` of the menu
// (subMenu -1 addresses the menu itself).
struct MenuItemState {
    MenuHandle menu;
    bool byPosition;
    uint32_t item;  // command id, or position
    int32_t subMenu;
    bool enabled;
    bool checkable;  // only then does `checked` apply
    bool checked;
};

std::vector<MenuItemState> menuItemStates(const MenuConditions& c);

// The "色(&C)" menu's position in the menu bar and the position of its
// "色の入れ替え(&C)" sub-menu there and in the "color" popup menu.
constexpr int32_t kMenuBarColorPosition = 2;
constexpr uint32_t kColorSwapPositionInMenuBar = 10;
constexpr uint32_t kColorSwapPositionInColorMenu = 5;
