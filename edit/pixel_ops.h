#pragma once
// The operations that change or read the pixels of a rectangle on behalf of
// an editing command. Plain functions over DIBs: none of them takes an undo
// snapshot, reads a setting or repaints, and none throws. A rectangle is
// (x, y, w, h) in image coordinates and may reach outside the image; the
// parts outside are never read or written.
#include <cstddef>
#include <cstdint>

#include "image/dib.h"

// A stored colour (0x00BBGGRR) as a pixel: red and blue exchanged, the top
// byte kept, so a stored colour used as a fill has alpha 0.
constexpr uint32_t pixelOf(uint32_t stored) {
    return ((stored & 0xFFu) << 16) | ((stored >> 16) & 0xFFu) | (stored & 0xFF00FF00u);
}

enum class BlendMode : int32_t {
    Translucent,  // "半透明合成"
    OpaqueBase,   // "下地不透明で半透明合成"
};

enum class RecolorKind : int32_t {
    Invert = 1,
    ToRBG = 2,
    ToGRB = 3,
    ToGBR = 4,
    ToBRG = 5,
    ToBGR = 6,
};

// Copies the canvas rectangle into `output`, a w x h image stored bottom-up
// like a DIB, with room for `outputPixels` pixels; output pixels with no
// canvas pixel under them get `fillPixel`. Fails, leaving `output` untouched,
// when the canvas is empty, w or h <= 0, the output holds fewer than w * h
// pixels, or nothing of the rectangle overlaps the canvas.
bool extractRect(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t fillPixel,
                 uint32_t* output, size_t outputPixels);

// One pixel of blendRect: the source pixel `s` composited onto `d`.
uint32_t blendPixel(uint32_t s, uint32_t d, BlendMode mode);

// Composites `source` (read from its (0, 0)) onto the destination rectangle.
// Fails when either image is empty or the clipped region is empty.
bool blendRect(DIB& destination, const DIB& source, int32_t x, int32_t y, int32_t w, int32_t h,
               BlendMode mode);

// Inverts or permutes the colour channels inside the rectangle; alpha is
// kept. An unknown kind leaves the pixels as they are.
bool recolorRect(DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h, RecolorKind kind);

// Replaces every pixel whose low 24 bits equal those of `match`. With
// keepAlpha only the colour is replaced. Returns the number replaced.
uint32_t replaceColorRect(DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t match,
                          uint32_t replacement, bool keepAlpha);

// The number of distinct colours (low 24 bits) inside the rectangle; 0 also
// when the 2 MiB bit set cannot be allocated.
uint32_t countColorsRect(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h);

// Mirror the part of the rectangle inside the canvas about that part's own
// centre. Fail when the canvas or that part is empty.
bool flipRectHorizontal(DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h);
bool flipRectVertical(DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h);

// Sets the alpha of the canvas rectangle from the grey level of `mask`
// (read from its (0, 0)): floor((B + G + R) / 3); colours are kept.
bool pasteMaskRect(DIB& canvas, const DIB& mask, int32_t x, int32_t y, int32_t w, int32_t h);

// Writes the alpha of the canvas rectangle into `output` (placed at (0, 0))
// as opaque grey; output pixels outside the canvas keep their values.
bool exportMaskRect(DIB& output, const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h);
