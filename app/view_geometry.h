#pragma once
// Geometry of the canvas view: how canvas pixels map to client pixels and
// back, the rectangles to repaint, the scroll bar arithmetic, the zoom and
// page commands and the layout on resize. Plain values in, plain values out;
// the Win32 shell reads the cursor and the scroll bars and applies the results.
#include <array>
#include <cstdint>
#include <optional>

#include "image/int_math.h"

// The canvas is drawn this many client pixels right of and below the point
// the scroll positions select; the scroll range holds it on both sides.
constexpr int32_t kViewMargin = 8;

// The view's background outside the canvas (a pixel value).
constexpr uint32_t kViewBackground = 0x808080;

struct CanvasPoint {
    int32_t x;
    int32_t y;
};

// An inclusive canvas rectangle, such as the selection.
struct CanvasRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// A client rectangle; right and bottom are exclusive unless stated, as in RECT.
struct ViewRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
static_assert(sizeof(ViewRect) == 16, "same layout as RECT");

// The part of the client area (0, 0)-(width, height) in which the canvas is shown.
struct ViewArea {
    int32_t width;
    int32_t height;
};

// viewW and viewH from the client rectangle and the bars around the view.
ViewArea viewAreaOf(int32_t clientRight, int32_t clientBottom, int32_t vScrollWidth,
                    int32_t hScrollHeight, int32_t statusHeight);

// The client point where canvas pixel (0, 0) begins.
CanvasPoint canvasOrigin(int32_t hPos, int32_t vPos);

// The canvas pixel under client point (cx, cy): single-precision division,
// truncated toward zero.
CanvasPoint cursorToCanvas(int32_t cx, int32_t cy, float zoom, int32_t hPos, int32_t vPos);

// The client rectangle of an inclusive canvas rectangle; the result is
// inclusive too (right + 1 is the first client column past it).
ViewRect canvasRectToView(const CanvasRect& rect, float zoom, int32_t hPos, int32_t vPos);

// A rectangle to invalidate, cut to the view: left and top raised to 0, right
// and bottom lowered to the view size.
ViewRect clipToView(const ViewRect& rect, const ViewArea& area);

// The whole view.
ViewRect wholeView(const ViewArea& area);

// What invalidateSelectionFrame marks: the four 4-pixel bands around the
// outline and, with a CopyBuffer, the four 20 x 20 squares on the corners of
// its footprint. Each rectangle is already cut to the view.
struct FrameInvalidation {
    std::array<ViewRect, 8> rects;
    int count;
};

struct CopyFootprint {
    bool present;  // the CopyBuffer has pixels and a nonzero size
    int32_t width;
    int32_t height;
};

FrameInvalidation selectionFrameRects(const CanvasRect& selection, float zoom, int32_t hPos,
                                      int32_t vPos, const ViewArea& area,
                                      const CopyFootprint& copy);

// One scroll bar's values, as SetScrollInfo takes them.
struct ScrollBarValues {
    int32_t min;
    int32_t max;
    int32_t page;
    int32_t pos;
};

// The position a bar keeps after being handed `values`: the platform clamps
// it to [min, max - (page - 1)].
int32_t barPosition(const ScrollBarValues& values);

// ZoomType: the point a zoom keeps in place.
enum ZoomAnchor : int32_t {
    kZoomKeepsWindowCentre = 0,
    kZoomKeepsCursor = 1,
    kZoomKeepsSelectionCentre = 2,
    kZoomKeepsSelectionTopLeft = 3,
};

// Everything updateScrollBars reads besides the two zoom factors.
struct ScrollBarsInput {
    int32_t canvasWidth;
    int32_t canvasHeight;
    ViewArea area;
    int32_t hPos;  // the bars' positions before the change
    int32_t vPos;
    int32_t zoomType;
    CanvasPoint cursor;  // cursorToCanvas at the old zoom, taken before the change
    CanvasRect selection;
    int32_t gridWidth;
    int32_t gridHeight;
};

struct ScrollBarsUpdate {
    ScrollBarValues horizontal;
    ScrollBarValues vertical;
};

// Ranges, pages and the wanted positions of both bars for a zoom change from
// oldZoom to newZoom. The positions are what is handed to the bars (they clamp).
ScrollBarsUpdate scrollBarsFor(float oldZoom, float newZoom, const ScrollBarsInput& in);

// The scroll requests of WM_HSCROLL / WM_VSCROLL (the SB_ codes).
enum ScrollRequest : int32_t {
    kScrollLineUp = 0,  // also line left
    kScrollLineDown = 1,
    kScrollPageUp = 2,  // also page left
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
    kScrollEnd = 8,
};

// The new position for a scroll message, or nothing when the message changes
// nothing (no valid canvas, or the page covers the range). thumbPos is the
// 32-bit thumb position (the bar's track position, or a position the program
// chose itself), so positions past 32767 survive. The bar clamps the result.
std::optional<int32_t> scrollPositionFor(const ScrollBarValues& bar, int32_t request,
                                         int32_t thumbPos, bool canvasValid);

// ID_VIEW_PAGE_UP ... ID_VIEW_PAGE_RIGHT: which bar gets which page request.
struct PageScroll {
    bool vertical;
    int32_t request;
};
std::optional<PageScroll> pageScrollFor(uint32_t commandId);

// The zoom commands ID_VIEW_ZOOM_0_5 ... ID_VIEW_ZOOM_OUT: the new ZoomFactor, or nothing when the
// id is no zoom command or zooming out would reach 0.
std::optional<float> zoomForCommand(uint32_t commandId, float zoom, bool spaceHeld);

// Layout on WM_SIZE.
struct ChildPlacement {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

enum class SizeAction {
    Ignore,            // minimised
    UpdateScrollBars,  // size types other than restored and maximised
    LayOutAndUpdate,   // restored, maximised: move the bars, grow the BackBuffer, then update
};

struct SizeLayout {
    SizeAction action;
    ChildPlacement vScroll;
    ChildPlacement hScroll;
    ViewArea area;  // the new view size
};

SizeLayout layoutForSize(int32_t sizeType, int32_t clientWidth, int32_t clientHeight,
                         int32_t vScrollWidth, int32_t hScrollHeight, int32_t statusHeight);

struct BufferSize {
    int32_t width;
    int32_t height;
};

// The BackBuffer grows to exactly the view size once the view outgrows it in
// either direction, and otherwise stays: shrinking the window never shrinks it.
BufferSize backBufferSizeFor(const BufferSize& current, const ViewArea& view);
