#include "edit/edit_rects.h"

#include <algorithm>

#include "image/int_math.h"

namespace {

// Sizes and edges of extreme selections saturate instead of wrapping.
int32_t sizeOf(int64_t first, int64_t last) { return saturateToInt32(spanOf(first, last)); }

std::optional<CanvasSize> grownTo(int64_t right, int64_t bottom, int32_t width, int32_t height) {
    if (right < width && bottom < height) return std::nullopt;
    return CanvasSize{saturateToInt32(std::max<int64_t>(width, right + 1)),
                      saturateToInt32(std::max<int64_t>(height, bottom + 1))};
}

}  // namespace

EditRect selectionRectangle(const Selection& s) {
    return {s.left, s.top, sizeOf(s.left, s.right), sizeOf(s.top, s.bottom)};
}

EditRect clipToCanvas(const EditRect& r, int32_t canvasWidth, int32_t canvasHeight) {
    const int64_t left = std::max(r.x, 0), top = std::max(r.y, 0);
    const int64_t right = std::min<int64_t>(int64_t{r.x} + r.w, canvasWidth);
    const int64_t bottom = std::min<int64_t>(int64_t{r.y} + r.h, canvasHeight);
    if (right <= left || bottom <= top) return {0, 0, 0, 0};
    return {static_cast<int32_t>(left), static_cast<int32_t>(top),
            static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}

EditRect copyRectangle(const Selection& s, int32_t canvasWidth, int32_t canvasHeight,
                       bool copyOutOfRect) {
    if (copyOutOfRect) return selectionRectangle(s);
    const int32_t left = std::max(s.left, 0);
    const int32_t top = std::max(s.top, 0);
    const int64_t right = std::min<int64_t>(s.right, int64_t{canvasWidth} - 1);
    const int64_t bottom = std::min<int64_t>(s.bottom, int64_t{canvasHeight} - 1);
    return {left, top, sizeOf(left, right), sizeOf(top, bottom)};
}

EditRect pasteTarget(const Selection& s, int32_t iw, int32_t ih) {
    const EditRect selection = selectionRectangle(s);
    return {s.left, s.top, std::min(selection.w, iw), std::min(selection.h, ih)};
}

EditRect beyondTarget(const Selection& s, int32_t iw, int32_t ih) {
    return {s.left, s.top, iw, ih};
}

std::optional<CanvasSize> grownForPaste(const Selection& s, int32_t canvasWidth,
                                        int32_t canvasHeight) {
    return grownTo(s.right, s.bottom, canvasWidth, canvasHeight);
}

std::optional<CanvasSize> grownForPasteBeyond(const Selection& s, int32_t iw, int32_t ih,
                                              int32_t canvasWidth, int32_t canvasHeight) {
    return grownTo(int64_t{s.left} + iw - 1, int64_t{s.top} + ih - 1, canvasWidth, canvasHeight);
}
