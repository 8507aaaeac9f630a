#include "image/copy_viewer.h"

#include <shellapi.h>
#include <windowsx.h>

#include "app/process_icons.h"
#include "app/status_bar.h"
#include "app/status_text.h"
#include "app/view_geometry.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"

namespace {

constexpr float kZoomStep = 0.25f;
constexpr float kZoomLimit = 16.0f;

int32_t scaled(int32_t size, float zoom) {
    return truncToInt32(static_cast<double>(static_cast<float>(size) * zoom));
}

SCROLLINFO barInfo(HWND window, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    return info;
}

void setBarPosition(HWND window, int bar, int32_t position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(window, bar, &info, TRUE);
}

}  // namespace

void CopyViewer::open(HINSTANCE instance, HWND owner) {
    if (bringForward(hwnd)) {
        SendMessageW(hwnd, kMsgRefresh, 0, 0);
        return;
    }
    doc_.copyViewer = create(instance, COPY_VIEW_WIN, owner);
}

INT_PTR CopyViewer::DlgProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return TRUE;
    case kMsgRefresh: onRefresh(); return TRUE;
    case WM_SIZE: onSize(); return TRUE;
    case WM_PAINT: onPaint(); return TRUE;
    case WM_HSCROLL: onScroll(SB_HORZ, LOWORD(wParam)); return TRUE;
    case WM_VSCROLL: onScroll(SB_VERT, LOWORD(wParam)); return TRUE;
    case WM_MOUSEWHEEL: onMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return TRUE;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN: onButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return TRUE;
    case WM_MOUSEMOVE: onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return TRUE;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP: onButtonUp(); return TRUE;
    // A file dropped here is handled exactly like one dropped on the main window.
    case WM_DROPFILES:
        SendMessageW(GetWindow(hwnd, GW_OWNER), message, wParam, lParam);
        return TRUE;
    case WM_CLOSE: DestroyWindow(hwnd); return TRUE;
    // Also when the main window takes its owned windows with it.
    case WM_DESTROY: doc_.copyViewer = nullptr; return FALSE;
    }
    return FALSE;
}

void CopyViewer::onInitDialog() {
    SetWindowTextW(hwnd, toWide(copyViewerTitle(doc_.copyBuffer, viewerZoom_)).c_str());
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(processIcons().copy));
    DragAcceptFiles(hwnd, TRUE);
    onSize();  // the bars match the CopyBuffer from the start
}

void CopyViewer::onRefresh() {
    SendMessageW(hwnd, WM_SIZE, 0, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
    SetWindowTextW(hwnd, toWide(copyViewerTitle(doc_.copyBuffer, viewerZoom_)).c_str());
}

void CopyViewer::onSize() {
    const DIB& copy = doc_.copyBuffer;
    RECT client{};
    GetClientRect(hwnd, &client);
    const struct {
        int bar;
        int32_t size;
        int32_t page;
    } bars[] = {{SB_HORZ, copy.width(), client.right}, {SB_VERT, copy.height(), client.bottom}};
    for (const auto& b : bars) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
        info.nMin = 0;
        info.nMax = copy.isValid() ? scaled(b.size, viewerZoom_) : 0;
        info.nPage = static_cast<UINT>(b.page);
        info.nPos = GetScrollPos(hwnd, b.bar);  // the bar clamps it to the new range
        SetScrollInfo(hwnd, b.bar, &info, TRUE);
    }
}

void CopyViewer::onPaint() {
    ScopedPaint paint(hwnd);
    const DIB& copy = doc_.copyBuffer;
    if (!copy.isValid()) return;  // the erased background alone
    copy.drawStretched(paint.dc(), -GetScrollPos(hwnd, SB_HORZ), -GetScrollPos(hwnd, SB_VERT),
                       scaled(copy.width(), viewerZoom_), scaled(copy.height(), viewerZoom_),
                       copy.width(), copy.height());
}

void CopyViewer::onScroll(int bar, int request) {
    const SCROLLINFO info = barInfo(hwnd, bar);
    const ScrollBarValues values{info.nMin, info.nMax, static_cast<int32_t>(info.nPage), info.nPos};
    const std::optional<int32_t> position =
        scrollPositionFor(values, request, info.nTrackPos, true);
    if (!position) return;
    setBarPosition(hwnd, bar, *position);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void CopyViewer::onMouseWheel(int delta) {
    if (delta > 0 && viewerZoom_ + kZoomStep < kZoomLimit) viewerZoom_ += kZoomStep;
    if (delta < 0 && viewerZoom_ - kZoomStep > 0.0f) viewerZoom_ -= kZoomStep;
    SendMessageW(hwnd, kMsgRefresh, 0, 0);
}

void CopyViewer::onButtonDown(int x, int y) {
    dragAnchor_ = {x, y};
    if (!captureHeld_) {
        SetCapture(hwnd);
        captureHeld_ = true;
    }
}

void CopyViewer::onMouseMove(int x, int y) {
    // A press at client (0, 0) leaves the anchor at "no drag".
    if (dragAnchor_.x == 0 && dragAnchor_.y == 0) return;
    scrollBy(dragAnchor_.x - x, dragAnchor_.y - y);
    dragAnchor_ = {x, y};
    InvalidateRect(hwnd, nullptr, FALSE);
}

void CopyViewer::onButtonUp() {
    dragAnchor_ = {};
    if (captureHeld_) {
        ReleaseCapture();
        captureHeld_ = false;
    }
}

void CopyViewer::scrollBy(int dx, int dy) {
    setBarPosition(hwnd, SB_HORZ, GetScrollPos(hwnd, SB_HORZ) + dx);
    setBarPosition(hwnd, SB_VERT, GetScrollPos(hwnd, SB_VERT) + dy);
}
