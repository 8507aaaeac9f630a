#include "app/view_win.h"

#include "app/app_state.h"
#include "app/frame_composer.h"
#include "app/main_window.h"
#include "app/scoped_win.h"
#include "settings/settings.h"

namespace {

CanvasRect selectionRect(const Settings& s) {
    return {s.selection.left, s.selection.top, s.selection.right, s.selection.bottom};
}

CopyFootprint copyFootprint(const Settings& s) {
    return {s.copyBuffer.isValid(), s.copyBuffer.width(), s.copyBuffer.height()};
}

ScrollBarValues readBar(HWND bar) {
    SCROLLINFO info{sizeof info, SIF_ALL};
    GetScrollInfo(bar, SB_CTL, &info);
    return {info.nMin, info.nMax, static_cast<int32_t>(info.nPage), info.nPos};
}

void writeBar(HWND bar, const ScrollBarValues& values) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL};
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
    const Settings& s = settings();
    FrameInvalidation frame = selectionFrameRects(
        selectionRect(s), appState().zoomFactor, scrollPosition(main.hScroll),
        scrollPosition(main.vScroll), viewArea(main), copyFootprint(s));
    for (int i = 0; i < frame.count; ++i) {
        RECT r = toRect(frame.rects[i]);
        InvalidateRect(main.hwnd, &r, FALSE);
    }
}

void updateScrollBars(const Main& main, float oldZoom, float newZoom) {
    const Settings& s = settings();
    ScrollBarsInput in{};
    in.canvasWidth = s.canvas.width();
    in.canvasHeight = s.canvas.height();
    in.area = viewArea(main);
    in.hPos = scrollPosition(main.hScroll);
    in.vPos = scrollPosition(main.vScroll);
    in.zoomType = s.zoomType;
    in.cursor = cursorToCanvas(main, oldZoom);
    in.selection = selectionRect(s);
    in.gridWidth = s.selection.gw;
    in.gridHeight = s.selection.gh;
    ScrollBarsUpdate update = scrollBarsFor(oldZoom, newZoom, in);
    writeBar(main.vScroll, update.vertical);
    writeBar(main.hScroll, update.horizontal);
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
    FrameInputs frame{};
    frame.canvas = &s.canvas;
    frame.zoom = appState().zoomFactor;
    frame.hPos = scrollPosition(main.hScroll);
    frame.vPos = scrollPosition(main.vScroll);
    frame.alphaMode = s.alphaMode;
    frame.boxSize = s.boxSize;
    frame.color1 = s.color1;
    frame.color2 = s.color2;
    frame.selection = selectionRect(s);
    frame.copy = copyFootprint(s);
    frame.outlinePhase = (GetTickCount() & 0x200) != 0;
    composeFrame(main.BackBuffer, frame);

    ScopedPaint paint(main.hwnd);
    if (paint.dc() && main.BackBuffer.pixels) {
        int w = main.BackBuffer.width(), h = main.BackBuffer.height();
        StretchDIBits(paint.dc(), 0, 0, w, h, 0, 0, w, h, main.BackBuffer.pixels,
                      reinterpret_cast<const BITMAPINFO*>(&main.BackBuffer.info), DIB_RGB_COLORS,
                      SRCCOPY);
    }
}
