#pragma once
// Composes one frame of the canvas view into the BackBuffer's pixels:
// background, transparency checkerboard, the scaled canvas, the blinking
// selection outline and the CopyBuffer's corner marks. All drawing is done
// on the pixels directly, so the frame is the same on every platform.
#include <cstdint>

#include "app/view_geometry.h"
#include "image/dib.h"

// Draws the region (0, 0, sw, sh) of `source` scaled onto (dx, dy, dw, dh) of
// `destination`, nearest neighbour stepped in 14-bit fixed point, clipped.
// scaledCopyTo replaces the destination pixels; scaledBlendTo mixes each
// colour byte as (source * a + destination * (256 - a)) >> 8 with the
// source alpha a and keeps the destination's alpha. False when nothing is
// left after clipping.
bool scaledCopyTo(const DIB& source, DIB& destination, int32_t dx, int32_t dy, int32_t dw,
                  int32_t dh, int32_t sw, int32_t sh);
bool scaledBlendTo(const DIB& source, DIB& destination, int32_t dx, int32_t dy, int32_t dw,
                   int32_t dh, int32_t sw, int32_t sh);

// The outline has two phases; the tick count's bit 9 picks one, so the
// outline changes every 512 milliseconds.
constexpr bool outlinePhaseOf(uint32_t tickCount) { return (tickCount & 0x200u) != 0; }

// The colours of the outline and the corner marks. In the first phase the
// dots are black on white gaps; the second phase swaps them.
constexpr uint32_t kOutlineDark = 0x000000;
constexpr uint32_t kOutlineLight = 0xFFFFFF;

struct FrameInputs {
    const DIB* canvas = nullptr;  // may be empty: then only the background is drawn
    float zoom = 1.0f;
    int32_t hPos = 0;
    int32_t vPos = 0;
    bool alphaMode = false;
    int32_t boxSize = 8;         // checkerboard square side in client pixels
    uint32_t color1 = 0xFFFFFF;  // checkerboard colours as stored (0x00BBGGRR)
    uint32_t color2 = 0xB0B0B0;
    CanvasRect selection{0, 0, 0, 0};
    bool outlinePhase = true;  // outlinePhaseOf(GetTickCount())
    CopyFootprint copy{false, 0, 0};
};

// Composes the whole frame into `frame` (the BackBuffer), whatever part of
// the window is to be repainted.
void composeFrame(DIB& frame, const FrameInputs& params);
