// The mouse, the wheel and the keys that are not accelerators: making,
// extending and moving the selection, panning, zooming and scrolling, and
// taking the colour under the cursor.
#include <windows.h>

#include "app/app_state.h"
#include "app/interaction.h"
#include "app/main_window.h"
#include "app/status_bar.h"
#include "app/view_win.h"
#include "settings/settings.h"

namespace {

bool keyDown(int key) { return GetKeyState(key) < 0; }

}  // namespace

void Main::takeCapture() {
    AppState& app = appState();
    if (app.captureHeld) return;
    SetCapture(hwnd);
    app.captureHeld = true;
}

void Main::giveUpCapture() {
    AppState& app = appState();
    if (!app.captureHeld) return;
    app.captureHeld = false;
    ReleaseCapture();
}

// Another window took the mouse: whatever drag was going on ends, so a button
// released elsewhere cannot leave one running. When we let it go ourselves,
// each release has already ended its own gesture and the others go on.
void Main::onCaptureChanged() {
    AppState& app = appState();
    if (!app.captureHeld) return;
    app.captureHeld = false;
    app.selecting = false;
    app.movingSelection = false;
    app.panAnchor = {};
}

void Main::onLButtonDown(int, int, WPARAM keys) {
    takeCapture();
    appState().selecting = true;
    CanvasRect before = selectionRect(document_.selection);
    pressSelection(document().selection, cursorToCanvas(*this, appState().zoomFactor),
                   (keys & MK_SHIFT) != 0);
    invalidateSelectionFrame(*this, before);
    invalidateSelectionFrame(*this);
    showSelectionStatus(*this);
}

void Main::onLButtonUp() {
    giveUpCapture();
    appState().selecting = false;
    appState().movingSelection = false;
}

void Main::onLButtonDblClk(WPARAM keys) {
    takeCapture();
    DoubleClickAction action =
        doubleClickAction((keys & MK_SHIFT) != 0, document().copyBuffer.isValid());
    if (action.startMoving) appState().movingSelection = true;
    SendMessageW(hwnd, WM_COMMAND, action.command, 0);
}

void Main::onRButtonUp(int x, int y) {
    POINT point{x, y};
    ClientToScreen(hwnd, &point);
    TrackPopupMenu(popupMenu, TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, 0, hwnd, nullptr);
}

void Main::onMButtonDown(int x, int y) {
    appState().panAnchor = {x, y};
    takeCapture();
}

void Main::onMButtonUp() {
    appState().panAnchor = {};
    giveUpCapture();
}

void Main::onMouseMove(int x, int y) {
    showCursorStatus(*this);
    AppState& app = appState();
    Selection& selection = document().selection;
    if (app.selecting) {
        Selection before = selection;
        dragSelection(selection, cursorToCanvas(*this, app.zoomFactor));
        // Near an edge the view follows the drag, one line per mouse move.
        AutoScroll scroll = dragAutoScroll(x, y, viewArea(*this));
        if (scroll.horizontal) sendScroll(*this, false, *scroll.horizontal);
        if (scroll.vertical) sendScroll(*this, true, *scroll.vertical);
        showSelectionStatus(*this);
        if (selectionRectChanged(before, selection)) {
            invalidateSelectionFrame(*this, selectionRect(before));
            invalidateSelectionFrame(*this);
        }
    }
    if (app.movingSelection) {
        Selection before = selection;
        moveSelectionTo(selection, cursorToCanvas(*this, app.zoomFactor));
        showSelectionStatus(*this);
        if (selectionRectChanged(before, selection)) {
            invalidateSelectionFrame(*this, selectionRect(before));
            invalidateSelectionFrame(*this);
        }
    }
    if (app.panAnchor.active()) {
        PanStep step = panStep(app.panAnchor.x, app.panAnchor.y, x, y, scrollPosition(hScroll),
                               scrollPosition(vScroll));
        setScrollPosition(vScroll, step.vPos);
        setScrollPosition(hScroll, step.hPos);
        app.panAnchor = {x, y};
        invalidateView(*this);
    }
}

void Main::onMouseWheel(int delta) {
    WheelAction action = wheelAction(delta, keyDown(VK_CONTROL), keyDown(VK_SHIFT));
    if (action.vertical) sendScroll(*this, true, *action.vertical);
    if (action.horizontal) sendScroll(*this, false, *action.horizontal);
    if (action.command) SendMessageW(hwnd, WM_COMMAND, action.command, 0);
}

void Main::onKeyDown(WPARAM key) {
    switch (key) {
    case VK_ESCAPE:
        if (void* grid = document().gridDialog)
            SendMessageW(static_cast<HWND>(grid), WM_CLOSE, 0, 0);
        return;
    case VK_SPACE: {
        // Every auto-repeat sets the anchor again.
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(hwnd, &cursor);
        appState().panAnchor = {cursor.x, cursor.y};
        takeCapture();
        return;
    }
    case VK_F5: SendMessageW(hwnd, kMsgRefresh, 0, 0); return;
    }
    std::optional<ArrowKey> arrow = arrowKeyOf(static_cast<uint32_t>(key));
    if (!arrow) return;
    if (keyDown(VK_CONTROL)) {
        ScrollStep step = arrowScroll(*arrow);
        sendScroll(*this, step.vertical, step.request);
        return;
    }
    Selection& selection = document().selection;
    CanvasRect before = selectionRect(selection);
    stepSelection(selection, *arrow, keyDown(VK_SHIFT));
    invalidateSelectionFrame(*this, before);
    std::optional<RevealScroll> reveal =
        revealAfterStep(*arrow, selection, appState().zoomFactor, scrollPosition(hScroll),
                        scrollPosition(vScroll), viewArea(*this));
    if (reveal) scrollViewTo(*this, reveal->vertical, reveal->position);
    invalidateSelectionFrame(*this);
    showSelectionStatus(*this);
}

void Main::onKeyUp(WPARAM key) {
    if (key != VK_SPACE) return;
    appState().panAnchor = {};
    giveUpCapture();
}

void Main::takeColorUnderCursor(bool intoAfter) {
    Settings& s = settings();
    std::optional<uint32_t> color =
        colorUnderCursor(document_.canvas, cursorToCanvas(*this, appState().zoomFactor));
    if (!color) return;
    (intoAfter ? s.after : s.before) = *color;
    if (s.colorHistory) pushRecentColor(s.colors, *color);
    // The change-colour dialog's swatches show the new value.
    if (void* dialog = document_.changeColorDialog)
        InvalidateRect(static_cast<HWND>(dialog), nullptr, FALSE);
}

bool Main::runSelectionCommand(WORD id) {
    Document& doc = document_;
    CanvasRect before = selectionRect(doc.selection);
    if (!applySelectionCommand(id, doc.selection, doc.canvas, doc.copyBuffer)) return false;
    invalidateSelectionFrame(*this, before);
    invalidateSelectionFrame(*this);
    showSelectionStatus(*this);
    return true;
}
