#include "app/view_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "resources/resource.h"

namespace {

constexpr int32_t kBandHalf = 2;        // the outline bands are 4 pixels wide
constexpr int32_t kFootprintHalf = 10;  // the footprint squares are 20 x 20
constexpr float kZoomStep = 0.25f;
constexpr float kFineZoomStep = 0.0625f;  // while Space is held

// Client coordinate of canvas coordinate `c` along one axis.
int64_t toView(int64_t c, float zoom, int32_t pos) {
    return static_cast<int64_t>(truncToInt32(static_cast<float>(c) * zoom)) + kViewMargin - pos;
}

ViewRect makeRect(int64_t l, int64_t t, int64_t r, int64_t b) {
    return {saturateToInt32(l), saturateToInt32(t), saturateToInt32(r), saturateToInt32(b)};
}

// One bar of scrollBarsFor. `length` is the canvas size along the bar, `view`
// the view size, `pos` the bar's position, `cursor` the cursor's canvas
// coordinate, `first`/`last` the selection's edges and `grid` the grid size.
ScrollBarValues barFor(float oldZoom, float newZoom, int32_t length, int32_t view, int32_t pos,
                       int32_t zoomType, int32_t cursor, int32_t first, int32_t last,
                       int32_t grid) {
    ScrollBarValues v{};
    v.min = 0;
    // The product stays single precision; the margin is added exactly.
    const float scaled = static_cast<float>(length) * newZoom;
    v.max = saturateToInt32(
        static_cast<int64_t>(truncToInt32(static_cast<double>(scaled) + 2.0 * kViewMargin)) - 1);
    // A view squeezed below nothing shows nothing; a negative page would read
    // as a huge unsigned one.
    v.page = std::max(view, 0);
    const int32_t half = view / 2;
    int64_t wanted;
    switch (zoomType) {
    case kZoomKeepsCursor:
        wanted = static_cast<int64_t>(truncToInt32(static_cast<float>(cursor) * newZoom)) - half;
        break;
    case kZoomKeepsSelectionCentre: {
        const int64_t m = (static_cast<int64_t>(last) - first + 1) / 2 + first;
        wanted = static_cast<int64_t>(truncToInt32(static_cast<float>(m) * newZoom)) - half;
        break;
    }
    case kZoomKeepsSelectionTopLeft: {
        const int64_t m = static_cast<int64_t>(grid / 2) + first;
        wanted = static_cast<int64_t>(truncToInt32(static_cast<float>(m) * newZoom)) - half;
        break;
    }
    default: {
        const float centre = static_cast<float>(static_cast<int64_t>(pos) + half);
        wanted = static_cast<int64_t>(truncToInt32((centre / oldZoom) * newZoom)) - half;
        break;
    }
    }
    v.pos = saturateToInt32(wanted);
    return v;
}

}  // namespace

ViewArea viewAreaOf(int32_t clientRight, int32_t clientBottom, int32_t vScrollWidth,
                    int32_t hScrollHeight, int32_t statusHeight) {
    return {clientRight - vScrollWidth, clientBottom - hScrollHeight - statusHeight};
}

CanvasPoint canvasOrigin(int32_t hPos, int32_t vPos) {
    return {saturateToInt32(static_cast<int64_t>(kViewMargin) - hPos),
            saturateToInt32(static_cast<int64_t>(kViewMargin) - vPos)};
}

CanvasPoint cursorToCanvas(int32_t cx, int32_t cy, float zoom, int32_t hPos, int32_t vPos) {
    const float x = static_cast<float>(static_cast<int64_t>(hPos) + cx - kViewMargin);
    const float y = static_cast<float>(static_cast<int64_t>(vPos) + cy - kViewMargin);
    return {truncToInt32(x / zoom), truncToInt32(y / zoom)};
}

ViewRect canvasRectToView(const CanvasRect& rect, float zoom, int32_t hPos, int32_t vPos) {
    return makeRect(toView(rect.left, zoom, hPos), toView(rect.top, zoom, vPos),
                    toView(static_cast<int64_t>(rect.right) + 1, zoom, hPos) - 1,
                    toView(static_cast<int64_t>(rect.bottom) + 1, zoom, vPos) - 1);
}

ViewRect clipToView(const ViewRect& rect, const ViewArea& area) {
    ViewRect r = rect;
    if (r.left < 0) r.left = 0;
    if (r.top < 0) r.top = 0;
    if (r.right > area.width) r.right = area.width;
    if (r.bottom > area.height) r.bottom = area.height;
    return r;
}

ViewRect wholeView(const ViewArea& area) { return {0, 0, area.width, area.height}; }

FrameInvalidation selectionFrameRects(const CanvasRect& selection, float zoom, int32_t hPos,
                                      int32_t vPos, const ViewArea& area,
                                      const CopyFootprint& copy) {
    const ViewRect v = canvasRectToView(selection, zoom, hPos, vPos);
    const int64_t l = v.left, t = v.top, r = v.right, b = v.bottom;
    FrameInvalidation out{};
    auto add = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        out.rects[out.count++] = clipToView(makeRect(x0, y0, x1, y1), area);
    };
    add(l - kBandHalf, t - kBandHalf, r + kBandHalf, t + kBandHalf);
    add(r - kBandHalf, t - kBandHalf, r + kBandHalf, b + kBandHalf);
    add(l - kBandHalf, b - kBandHalf, r + kBandHalf, b + kBandHalf);
    add(l - kBandHalf, t - kBandHalf, l + kBandHalf, b + kBandHalf);
    if (copy.present) {
        const int64_t x =
            static_cast<int64_t>(truncToInt32(static_cast<float>(copy.width) * zoom)) + l;
        const int64_t y =
            static_cast<int64_t>(truncToInt32(static_cast<float>(copy.height) * zoom)) + t;
        const int64_t corners[4][2] = {{l, t}, {x, t}, {x, y}, {l, y}};
        for (const auto& c : corners) {
            add(c[0] - kFootprintHalf, c[1] - kFootprintHalf, c[0] + kFootprintHalf,
                c[1] + kFootprintHalf);
        }
    }
    return out;
}

int32_t barPosition(const ScrollBarValues& values) {
    const int64_t upper = static_cast<int64_t>(values.max) - std::max(values.page - 1, 0);
    int64_t pos = values.pos;
    if (pos > upper) pos = upper;
    if (pos < values.min) pos = values.min;
    return static_cast<int32_t>(pos);
}

ScrollBarsUpdate scrollBarsFor(float oldZoom, float newZoom, const ScrollBarsInput& in) {
    ScrollBarsUpdate out{};
    out.vertical = barFor(oldZoom, newZoom, in.canvasHeight, in.area.height, in.vPos, in.zoomType,
                          in.cursor.y, in.selection.top, in.selection.bottom, in.gridHeight);
    out.horizontal = barFor(oldZoom, newZoom, in.canvasWidth, in.area.width, in.hPos, in.zoomType,
                            in.cursor.x, in.selection.left, in.selection.right, in.gridWidth);
    return out;
}

std::optional<int32_t> scrollPositionFor(const ScrollBarValues& bar, int32_t request,
                                         int32_t thumbPos, bool canvasValid) {
    if (!canvasValid) return std::nullopt;
    if (bar.page >= bar.max) return std::nullopt;
    const int64_t line = std::max<int64_t>(1, static_cast<uint32_t>(bar.page) / 16u);
    int64_t pos = bar.pos;
    switch (request) {
    case kScrollLineUp: pos -= line; break;
    case kScrollLineDown: pos += line; break;
    case kScrollPageUp: pos -= bar.page; break;
    case kScrollPageDown: pos += bar.page; break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
        pos = std::max(thumbPos, bar.min);
        pos = std::min<int64_t>(pos, bar.max);
        break;
    case kScrollTop: pos = bar.min; break;
    case kScrollBottom: pos = bar.max; break;
    default: break;
    }
    return saturateToInt32(pos);
}

std::optional<PageScroll> pageScrollFor(uint32_t commandId) {
    switch (commandId) {
    case ID_VIEW_PAGE_UP: return PageScroll{true, kScrollPageUp};
    case ID_VIEW_PAGE_DOWN: return PageScroll{true, kScrollPageDown};
    case ID_VIEW_PAGE_LEFT: return PageScroll{false, kScrollPageUp};
    case ID_VIEW_PAGE_RIGHT: return PageScroll{false, kScrollPageDown};
    default: return std::nullopt;
    }
}

std::optional<float> zoomForCommand(uint32_t commandId, float zoom, bool spaceHeld) {
    switch (commandId) {
    case ID_VIEW_ZOOM_0_5: return 0.5f;
    case ID_VIEW_ZOOM_1: return 1.0f;
    case ID_VIEW_ZOOM_2: return 2.0f;
    case ID_VIEW_ZOOM_4: return 4.0f;
    case ID_VIEW_ZOOM_6: return 6.0f;
    case ID_VIEW_ZOOM_8: return 8.0f;
    case ID_VIEW_ZOOM_16: return 16.0f;
    case ID_VIEW_ZOOM_IN: return zoom + (spaceHeld ? kFineZoomStep : kZoomStep);
    case ID_VIEW_ZOOM_OUT:
        // The test is always against the coarse step, also while Space is held.
        if (!(zoom - kZoomStep > 0.0f)) return std::nullopt;
        return zoom - (spaceHeld ? kFineZoomStep : kZoomStep);
    default: return std::nullopt;
    }
}

SizeLayout layoutForSize(int32_t sizeType, int32_t clientWidth, int32_t clientHeight,
                         int32_t vScrollWidth, int32_t hScrollHeight, int32_t statusHeight) {
    constexpr int32_t kRestored = 0, kMinimized = 1, kMaximized = 2;
    SizeLayout out{};
    if (sizeType == kMinimized) {
        out.action = SizeAction::Ignore;
        return out;
    }
    if (sizeType != kRestored && sizeType != kMaximized) {
        out.action = SizeAction::UpdateScrollBars;
        return out;
    }
    out.action = SizeAction::LayOutAndUpdate;
    out.vScroll = {clientWidth - vScrollWidth, 0, vScrollWidth, clientHeight - statusHeight};
    out.hScroll = {0, clientHeight - hScrollHeight - statusHeight, clientWidth - vScrollWidth,
                   hScrollHeight};
    out.area = viewAreaOf(clientWidth, clientHeight, vScrollWidth, hScrollHeight, statusHeight);
    return out;
}

BufferSize backBufferSizeFor(const BufferSize& current, const ViewArea& view) {
    if (view.width <= current.width && view.height <= current.height) return current;
    // Exactly the view size; a direction in which the view has no pixels at
    // all keeps the current size, since an image cannot be that small.
    return {view.width > 0 ? view.width : current.width,
            view.height > 0 ? view.height : current.height};
}
