#pragma once
// The rectangles the editing commands work on, derived from the selection.
#include <cstdint>
#include <optional>

#include "settings/selection.h"

// A rectangle as the pixel operations take it: position and size.
struct EditRect {
    int32_t x, y, w, h;
    bool operator==(const EditRect&) const = default;
};

// The selection as it stands, never clamped: it may reach outside the canvas.
EditRect selectionRectangle(const Selection& s);

// The part of `r` on a canvasWidth x canvasHeight canvas; its size is 0 when
// none is.
EditRect clipToCanvas(const EditRect& r, int32_t canvasWidth, int32_t canvasHeight);

// What the copy commands take: the selection as it is when copyOutOfRect is
// on (the part outside the canvas becomes transparent background), otherwise
// the selection clamped to the canvas, whose size is then 0 or less when the
// selection lies wholly outside.
EditRect copyRectangle(const Selection& s, int32_t canvasWidth, int32_t canvasHeight,
                       bool copyOutOfRect);

// Where an iw x ih image is pasted: at the selection's top-left, no larger
// than either the selection or the image.
EditRect pasteTarget(const Selection& s, int32_t iw, int32_t ih);

// Where "paste beyond the selection" puts it: the image's full size.
EditRect beyondTarget(const Selection& s, int32_t iw, int32_t ih);

struct CanvasSize {
    int32_t width, height;
    bool operator==(const CanvasSize&) const = default;
};

// The size a paste grows the canvas to, or nothing when it need not grow.
// A paste into the selection grows the canvas to take the whole selection
// (even when the image is smaller); a paste beyond it grows to take the image.
std::optional<CanvasSize> grownForPaste(const Selection& s, int32_t canvasWidth,
                                        int32_t canvasHeight);
std::optional<CanvasSize> grownForPasteBeyond(const Selection& s, int32_t iw, int32_t ih,
                                              int32_t canvasWidth, int32_t canvasHeight);
