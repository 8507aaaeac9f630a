#pragma once
// The 8-bit grey device-independent bitmap of an image's alpha channel, as
// the mask copy puts it on the clipboard: a 40-byte header, a 256-entry grey
// ramp and one byte per pixel, rows bottom-up, each row padded to 4 bytes.
#include <cstddef>
#include <cstdint>

#include "image/dib.h"

constexpr size_t kGreyMaskHeaderBytes = 40;
constexpr size_t kGreyMaskRampBytes = 256 * 4;
constexpr size_t kGreyMaskPixelOffset = kGreyMaskHeaderBytes + kGreyMaskRampBytes;

// Bytes of one pixel row of a w pixels wide block: w rounded up to 4.
size_t greyMaskStride(int32_t w);

// The header and the grey ramp of a w x h block (kGreyMaskPixelOffset bytes),
// shared with the grey mask BMP file. w and h > 0, the pixel bytes within 32 bits.
void writeGreyMaskHeader(uint8_t* out, int32_t w, int32_t h);

// The size of the block for the canvas rectangle (x, y, w, h), or 0 when no
// block can be made: the canvas is empty, w or h <= 0, nothing of the
// rectangle overlaps the canvas, or the size does not fit in 32 bits.
size_t greyMaskBlockSize(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h);

// Writes the whole block (header, ramp, pixels and padding) into `block` of
// `size` bytes. Each pixel byte is the alpha of the canvas pixel under it;
// bytes outside the canvas are 0. Fails, writing nothing, unless `size` is
// greyMaskBlockSize of the same arguments.
bool writeGreyMaskBlock(uint8_t* block, size_t size, const DIB& canvas, int32_t x, int32_t y,
                        int32_t w, int32_t h);
