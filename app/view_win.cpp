#include "app/view_win.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/frame_composer.h"
#include "app/interaction.h"
#include "app/main_window.h"
#include "image/scoped_handles.h"
#include "app/status_bar.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

CopyFootprint copyFootprint(const DIB& copyBuffer) {
    return {copyBuffer.isValid(), copyBuffer.width(), copyBuffer.height()};
}

ScrollBarValues readBar(HWND bar) {
    SCROLLINFO info = scrollInfo(SIF_ALL);
    GetScrollInfo(bar, SB_CTL, &info);
    return {info.nMin, info.nMax, static_cast<int32_t>(info.nPage), info.nPos};
}

void writeBar(HWND bar, const ScrollBarValues& values) {
    SCROLLINFO info = scrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL);
    info.nMin = values.min;
    info.nMax = values.max;
    info.nPage = static_cast<UINT>(values.page);
    info.nPos = values.pos;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

RECT toRect(const ViewRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

ViewArea viewArea(const Main& main) {
    return viewAreaOf(main.clientRect.right, main.clientRect.bottom, main.vScrollRect.right,
                      main.hScrollRect.bottom, main.statusRect.bottom);
}

int32_t scrollPosition(HWND bar) { return readBar(bar).pos; }

void setScrollPosition(HWND bar, int32_t position) {
    SCROLLINFO info = scrollInfo(SIF_POS);
    info.nPos = position;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

SCROLLINFO scrollInfo(UINT mask) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}

CanvasPoint cursorToCanvas(const Main& main, float zoom) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(main.hwnd, &cursor);
    return cursorToCanvas(cursor.x, cursor.y, zoom, scrollPosition(main.hScroll),
                          scrollPosition(main.vScroll));
}

void invalidateView(const Main& main) { invalidateView(main, wholeView(viewArea(main))); }

void invalidateView(const Main& main, const ViewRect& rect) {
    RECT r = toRect(clipToView(rect, viewArea(main)));
    InvalidateRect(main.hwnd, &r, FALSE);
}

void invalidateSelectionFrame(const Main& main) {
    invalidateSelectionFrame(main, selectionRect(main.document().selection));
}

void invalidateSelectionFrame(const Main& main, const CanvasRect& selection) {
    FrameInvalidation frame = selectionFrameRects(
        selection, appState().zoomFactor, scrollPosition(main.hScroll),
        scrollPosition(main.vScroll), viewArea(main), copyFootprint(main.document().copyBuffer));
    for (int i = 0; i < frame.count; ++i) {
        RECT r = toRect(frame.rects[i]);
        InvalidateRect(main.hwnd, &r, FALSE);
    }
}

namespace {

ScrollBarsUpdate scrollBarsOf(const Main& main, float oldZoom, float newZoom) {
    const Document& doc = main.document();
    ScrollBarsInput in{};
    in.canvasWidth = doc.canvas.width();
    in.canvasHeight = doc.canvas.height();
    in.area = viewArea(main);
    in.hPos = scrollPosition(main.hScroll);
    in.vPos = scrollPosition(main.vScroll);
    in.zoomType = settings().zoomType;
    in.cursor = cursorToCanvas(main, oldZoom);
    in.selection = selectionRect(doc.selection);
    in.gridWidth = doc.selection.gw;
    in.gridHeight = doc.selection.gh;
    return scrollBarsFor(oldZoom, newZoom, in);
}

// Whether a bar handed `wanted` would keep the range it has; the platform
// cuts a page longer than the range down to the range.
bool keepsRange(const ScrollBarValues& wanted, const ScrollBarValues& bar) {
    const int64_t span = int64_t{wanted.max} - wanted.min + 1;
    return wanted.min == bar.min && wanted.max == bar.max &&
           std::min<int64_t>(wanted.page, span) == bar.page;
}

}  // namespace

void updateScrollBars(const Main& main, float oldZoom, float newZoom) {
    const ScrollBarsUpdate update = scrollBarsOf(main, oldZoom, newZoom);
    writeBar(main.vScroll, update.vertical);
    writeBar(main.hScroll, update.horizontal);
}

void fitScrollBarsToCanvas(const Main& main) {
    const float zoom = appState().zoomFactor;
    const ScrollBarsUpdate update = scrollBarsOf(main, zoom, zoom);
    if (keepsRange(update.vertical, readBar(main.vScroll)) &&
        keepsRange(update.horizontal, readBar(main.hScroll))) {
        return;
    }
    writeBar(main.vScroll, update.vertical);
    writeBar(main.hScroll, update.horizontal);
}

namespace {

void applyScroll(Main& main, HWND bar, const ScrollBarValues& values, int32_t request,
                 int32_t thumbPos) {
    std::optional<int32_t> position =
        scrollPositionFor(values, request, thumbPos, main.document().canvas.isValid());
    if (!position) return;
    setScrollPosition(bar, *position);
    showCursorStatus(main);
    invalidateView(main);
}

}  // namespace

void scrollView(Main& main, bool vertical, int32_t request) {
    HWND bar = vertical ? main.vScroll : main.hScroll;
    SCROLLINFO info = scrollInfo(SIF_ALL);
    GetScrollInfo(bar, SB_CTL, &info);
    ScrollBarValues values{info.nMin, info.nMax, static_cast<int32_t>(info.nPage), info.nPos};
    applyScroll(main, bar, values, request, info.nTrackPos);
}

void scrollViewTo(Main& main, bool vertical, int32_t position) {
    HWND bar = vertical ? main.vScroll : main.hScroll;
    applyScroll(main, bar, readBar(bar), kScrollThumbPosition, position);
}

void sendScroll(const Main& main, bool vertical, int32_t request) {
    HWND bar = vertical ? main.vScroll : main.hScroll;
    SendMessageW(main.hwnd, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(request, 0),
                 reinterpret_cast<LPARAM>(bar));
}

bool runViewCommand(Main& main, uint32_t id) {
    if (std::optional<PageScroll> page = pageScrollFor(id)) {
        sendScroll(main, page->vertical, page->request);
        return true;
    }
    if (id < ID_VIEW_ZOOM_0_5 || id > ID_VIEW_ZOOM_OUT) return false;
    float oldZoom = appState().zoomFactor;
    // Space held makes the zoom steps finer.
    std::optional<float> newZoom = zoomForCommand(id, oldZoom, GetKeyState(VK_SPACE) < 0);
    if (!newZoom) return true;  // zooming out would reach 0
    appState().zoomFactor = *newZoom;
    updateScrollBars(main, oldZoom, *newZoom);
    showZoomStatus(main);
    showCursorStatus(main);
    invalidateView(main);
    return true;
}

void layOutView(Main& main, int32_t sizeType, int32_t clientWidth, int32_t clientHeight) {
    SizeLayout layout = layoutForSize(sizeType, clientWidth, clientHeight, main.vScrollRect.right,
                                      main.hScrollRect.bottom, main.statusRect.bottom);
    if (layout.action == SizeAction::Ignore) return;
    if (layout.action == SizeAction::LayOutAndUpdate) {
        GetClientRect(main.hwnd, &main.clientRect);
        const ChildPlacement& v = layout.vScroll;
        const ChildPlacement& h = layout.hScroll;
        MoveWindow(main.vScroll, v.x, v.y, v.width, v.height, TRUE);
        ShowWindow(main.vScroll, SW_SHOW);
        MoveWindow(main.hScroll, h.x, h.y, h.width, h.height, TRUE);
        ShowWindow(main.hScroll, SW_SHOW);
        BufferSize current{main.BackBuffer.width(), main.BackBuffer.height()};
        BufferSize wanted = backBufferSizeFor(current, layout.area);
        if (wanted.width != current.width || wanted.height != current.height)
            main.BackBuffer.resizeKeep(wanted.width, wanted.height);
    }
    float zoom = appState().zoomFactor;
    updateScrollBars(main, zoom, zoom);
    SendMessageW(main.statusBar, WM_SIZE, 0, 0);
}

void paintView(Main& main) {
    const Settings& s = settings();
    const Document& doc = main.document();
    FrameInputs frame{};
    frame.canvas = &doc.canvas;
    frame.zoom = appState().zoomFactor;
    frame.hPos = scrollPosition(main.hScroll);
    frame.vPos = scrollPosition(main.vScroll);
    frame.alphaMode = s.alphaMode;
    frame.boxSize = s.boxSize;
    frame.color1 = s.color1;
    frame.color2 = s.color2;
    frame.selection = selectionRect(doc.selection);
    frame.copy = copyFootprint(doc.copyBuffer);
    frame.outlinePhase = outlinePhaseOf(GetTickCount());
    composeFrame(main.BackBuffer, frame);

    ScopedPaint paint(main.hwnd);
    if (paint.dc() && main.BackBuffer.pixels) {
        int w = main.BackBuffer.width(), h = main.BackBuffer.height();
        StretchDIBits(paint.dc(), 0, 0, w, h, 0, 0, w, h, main.BackBuffer.pixels,
                      reinterpret_cast<const BITMAPINFO*>(&main.BackBuffer.info), DIB_RGB_COLORS,
                      SRCCOPY);
    }
}
