#pragma once
// What the mouse, the wheel and the non-accelerator keys do to the selection
// and the view, and the selection and grid commands. The Win32 side reads
// the input (cursor, modifier keys, scroll bars), calls these, and then
// repaints, refreshes status pane 2 and sends the scroll requests returned.
#include <cstdint>
#include <optional>

#include "app/view_geometry.h"
#include "image/dib.h"
#include "settings/selection.h"

// The selection's derived rectangle as a canvas rectangle.
CanvasRect selectionRect(const Selection& s);

// True when any edge of the derived rectangle differs.
bool selectionRectChanged(const Selection& before, const Selection& after);

// Left-button press at canvas point p: the second corner goes to p, and the
// first too unless Shift extends the existing selection. Derives.
void pressSelection(Selection& s, CanvasPoint p, bool shift);

// Mouse move while selecting: the second corner follows the cursor. Derives.
void dragSelection(Selection& s, CanvasPoint p);

// Mouse move while the selection follows the cursor after a double-click: it
// keeps its size and its top-left cell is the cell under the cursor. Derives.
void moveSelectionTo(Selection& s, CanvasPoint p);

// A scroll request for one bar (a ScrollRequest value).
struct ScrollStep {
    bool vertical;
    int32_t request;
};

// Auto-scroll of a selection drag, by the client point of the mouse move:
// at most one request per bar, only while the mouse moves near an edge.
struct AutoScroll {
    std::optional<int32_t> horizontal;
    std::optional<int32_t> vertical;
};
AutoScroll dragAutoScroll(int32_t px, int32_t py, const ViewArea& area);

// The wheel: one step per message by the sign of the delta. With Ctrl a
// vertical line, with Shift a horizontal one (both with both); with neither
// the zoom command ID_VIEW_ZOOM_IN or ID_VIEW_ZOOM_OUT.
struct WheelAction {
    std::optional<int32_t> vertical;
    std::optional<int32_t> horizontal;
    uint32_t command;  // 0: none
};
WheelAction wheelAction(int32_t delta, bool ctrl, bool shift);

// Double-click: with a CopyBuffer and without Shift the selection takes the
// CopyBuffer's size and then follows the cursor; otherwise select all.
struct DoubleClickAction {
    uint32_t command;
    bool startMoving;
};
DoubleClickAction doubleClickAction(bool shift, bool copyPresent);

enum class ArrowKey { Left, Right, Up, Down };

// The arrow key of a virtual-key code, if it is one.
std::optional<ArrowKey> arrowKeyOf(uint32_t virtualKey);

// Ctrl+arrow scrolls one line instead of stepping.
ScrollStep arrowScroll(ArrowKey key);

// Arrow without Ctrl: both corners step one grid cell (Shift: the second
// corner only). Derives.
void stepSelection(Selection& s, ArrowKey key, bool shift);

// After a step: when the moved edge left the view, the position that brings
// it back (the left/top edge to the margin, the right/bottom edge to the far
// side). The Win32 side puts it through scrollPositionFor as a thumb
// position, 32 bits wide.
struct RevealScroll {
    bool vertical;
    int32_t position;
};
std::optional<RevealScroll> revealAfterStep(ArrowKey key, const Selection& s, float zoom,
                                            int32_t hPos, int32_t vPos, const ViewArea& area);

// Pan: the scroll positions move by the anchor minus the cursor, so the
// canvas follows the mouse.
struct PanStep {
    int32_t hPos;
    int32_t vPos;
};
PanStep panStep(int32_t anchorX, int32_t anchorY, int32_t px, int32_t py, int32_t hPos,
                int32_t vPos);

// The selection and grid commands: ID_EDIT_SELECT_NONE, ID_EDIT_SELECT_ALL,
// ID_EDIT_SELECT_COPY_SIZE, ID_GRID_FROM_SELECTION and ID_GRID_1 ... ID_GRID_512.
// False when the id is none of them or the command has nothing to act on
// (select all without a valid canvas); true when the selection or grid was
// set, and the frame and status pane 2 want refreshing.
bool applySelectionCommand(uint32_t commandId, Selection& s, const DIB& canvas,
                           const DIB& copyBuffer);

// The colour under the cursor as a stored colour (0x00BBGGRR, alpha dropped),
// or nothing outside the canvas.
std::optional<uint32_t> colorUnderCursor(const DIB& canvas, CanvasPoint p);
