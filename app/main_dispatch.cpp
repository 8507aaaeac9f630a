// The main window's message routing and the handlers that belong to the
// window itself: creation, activation, the close prompt, destruction,
// application commands and the full refresh.
#include <windows.h>

#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/view_win.h"
#include "image/clipboard_exchange.h"
#include "app/status_bar.h"
#include "app/unsaved_changes.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

LRESULT Main::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(window); break;
    case WM_DESTROY: onDestroy(); return 0;
    case WM_SIZE:
        layOutView(*this, static_cast<int32_t>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_ACTIVATE: onActivate(LOWORD(wParam)); break;
    case WM_PAINT: paintView(*this); break;
    case WM_CLOSE: onClose(); return 0;
    case WM_NOTIFY: onNotify(reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_KEYDOWN: onKeyDown(wParam); break;
    case WM_KEYUP: onKeyUp(wParam); break;
    case WM_COMMAND: onCommand(LOWORD(wParam)); break;
    case WM_TIMER: onTimer(wParam); break;
    case WM_HSCROLL: scrollView(*this, false, LOWORD(wParam)); break;
    case WM_VSCROLL: scrollView(*this, true, LOWORD(wParam)); break;
    case WM_INITMENU:
    case WM_INITMENUPOPUP: updateMenuStates(); break;
    case WM_MOUSEMOVE: onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); break;
    case WM_LBUTTONDOWN: onLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam); break;
    case WM_LBUTTONUP: onLButtonUp(); break;
    case WM_LBUTTONDBLCLK: onLButtonDblClk(wParam); break;
    case WM_RBUTTONUP: onRButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); break;
    case WM_MBUTTONDOWN: onMButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); break;
    case WM_MBUTTONUP: onMButtonUp(); break;
    case WM_CAPTURECHANGED: onCaptureChanged(); break;
    case WM_MOUSEWHEEL: onMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); break;
    case WM_DROPFILES: onDropFiles(reinterpret_cast<HDROP>(wParam)); break;
    case WM_APPCOMMAND:
        if (onAppCommand(lParam)) return TRUE;
        break;
    case WM_CLIPBOARDUPDATE: onClipboardUpdate(wParam); break;
    case WM_RENDERFORMAT: clipboardImageOwner().render(static_cast<UINT>(wParam)); return 0;
    case WM_RENDERALLFORMATS: clipboardImageOwner().renderAll(); return 0;
    case WM_DESTROYCLIPBOARD: clipboardImageOwner().clipboardEmptied(); return 0;
    case kMsgRefresh: onFullRefresh(); break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Main::onCreate(HWND window) {
    clipboardImageOwner().attach(window);
    AddClipboardFormatListener(window);
    SetTimer(window, kBlinkTimer, kBlinkPeriodMs, nullptr);
    DragAcceptFiles(window, TRUE);
    PostMessageW(window, kMsgRefresh, 0, 0);
    // The clipboard at start-up is taken once the window is in the foreground.
    PostMessageW(window, WM_CLIPBOARDUPDATE, kClipboardCheckTag, 0);
}

void Main::onActivate(WORD state) {
    if (state != WA_INACTIVE && document_.clipboardPending)
        PostMessageW(hwnd, WM_CLIPBOARDUPDATE, kClipboardCheckTag, 0);
}

bool Main::onAppCommand(LPARAM lParam) {
    // The command sits in bits 0-11 of the high word.
    switch (HIWORD(lParam) & 0x0FFF) {
    case APPCOMMAND_BROWSER_BACKWARD: SendMessageW(hwnd, WM_COMMAND, ID_EDIT_UNDO, 0); return true;
    case APPCOMMAND_BROWSER_FORWARD: SendMessageW(hwnd, WM_COMMAND, ID_EDIT_REDO, 0); return true;
    }
    return false;
}

bool Main::onClose() {
    Document& doc = document_;
    if (doc.hasUnsavedChanges()) {
        std::wstring text = toWide(closePromptText(doc.file.fileTitle));
        int answer = MessageBoxW(hwnd, text.c_str(), L"Plimsett", MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDYES) {
            SendMessageW(hwnd, WM_COMMAND, ID_FILE_SAVE, 0);
            if (doc.hasUnsavedChanges()) return false;  // the save failed or was cancelled
        } else if (answer != IDNO) {
            return false;
        }
    }
    // The tool windows close first, so the places they were left at are the
    // ones stored and they reopen there next time.
    for (void* tool : {doc.gridDialog, doc.fileListDialog})
        if (tool) SendMessageW(static_cast<HWND>(tool), WM_CLOSE, 0, 0);
    saveSettingsNow();
    KillTimer(hwnd, kBlinkTimer);
    RemoveClipboardFormatListener(hwnd);
    doc.undoHistory.clearAll();
    DestroyWindow(hwnd);
    return true;
}

void Main::onDestroy() {
    clipboardImageOwner().detach();
    PostQuitMessage(0);
}

void Main::onFullRefresh() {
    invalidateView(*this);
    showSelectionStatus(*this);
    showTitle(*this);
    float zoom = appState().zoomFactor;
    updateScrollBars(*this, zoom, zoom);
    showCursorStatus(*this);
}

void Main::onTimer(UINT_PTR id) {
    if (id == kBlinkTimer) invalidateSelectionFrame(*this);
}

void Main::onCommand(WORD id) {
    if (runViewCommand(*this, id) || runClipboardCommand(id) || runEditCommand(id) ||
        runDocumentCommand(id) || runDialogCommand(id))
        return;
    switch (id) {
    case ID_FILE_EXIT: SendMessageW(hwnd, WM_CLOSE, 0, 0); break;
    case ID_COLOR_ALPHA_MODE:
        settings().alphaMode = !settings().alphaMode;
        invalidateView(*this);
        showAlphaModeIcon(*this);
        break;
    case ID_COLOR_PICK_BEFORE: takeColorUnderCursor(false); break;
    case ID_COLOR_PICK_AFTER: takeColorUnderCursor(true); break;
    case ID_EDIT_SELECT_NONE:
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_SELECT_COPY_SIZE:
    case ID_GRID_FROM_SELECTION: runSelectionCommand(id); break;
    default:
        if (id >= ID_GRID_1 && id <= ID_GRID_512) runSelectionCommand(id);
        break;
    }
}

void Main::saveSettingsNow() {
    Settings& s = settings();
    const Selection& selection = document_.selection;
    s.gridSize = {selection.gw, selection.gh};
    s.gridCorrect = {selection.cx, selection.cy};
    saveSettings(s, hwnd);
}
