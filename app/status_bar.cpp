#include "app/status_bar.h"

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/status_text.h"
#include "app/view_win.h"
#include "settings/settings.h"

namespace {

void setPaneText(const Main& main, int pane, std::u16string_view text) {
    std::wstring wide = toWide(text);
    SendMessageW(main.statusBar, SB_SETTEXTW, pane, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace

std::wstring toWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

void showCursorStatus(const Main& main) {
    CanvasPoint p = cursorToCanvas(main, appState().zoomFactor);
    setPaneText(main, kPaneCursor, cursorPositionText(p.x, p.y));
    setPaneText(main, kPanePixel, pixelValueText(main.document().canvas, p.x, p.y));
}

void showSelectionStatus(const Main& main) {
    const Selection& sel = main.document().selection;
    setPaneText(main, kPaneSelection, selectionText(sel.left, sel.top, sel.right, sel.bottom));
}

void showZoomStatus(const Main& main) {
    setPaneText(main, kPaneZoom, zoomText(appState().zoomFactor));
}

void showCopyStatus(const Main& main) {
    setPaneText(main, kPaneCopy, copySizeText(main.document().copyBuffer));
}

void showAlphaModeIcon(const Main& main) {
    HICON icon = settings().alphaMode ? main.iconAlphaOn : main.iconAlphaOff;
    SendMessageW(main.statusBar, SB_SETICON, kPanePixel, reinterpret_cast<LPARAM>(icon));
}

void showTitle(const Main& main) {
    if (!main.hwnd || !IsWindow(main.hwnd)) return;
    const Document& doc = main.document();
    std::wstring title = toWide(windowTitle(doc.file.fileTitle, doc.hasUnsavedChanges()));
    SetWindowTextW(main.hwnd, title.c_str());
}
