#pragma once
// BMP files of an image: 32-bit and 24-bit colour, and the 8-bit grey mask of
// the alpha channel. The bytes are produced here, little-endian, without any
// platform call.
#include <cstddef>
#include <cstdint>

#include "image/byte_stream.h"
#include "image/dib.h"
#include "image/grey_mask_block.h"

constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSize = 40;
constexpr size_t kGreyMaskFilePixelOffset = kBmpFileHeaderSize + kGreyMaskPixelOffset;

// Bytes of one file row: pixels of `bitsPerPixel` rounded up to whole 32-bit
// words. 0 when the row would not fit in 32 bits.
uint32_t bmpStride(int32_t width, int bitsPerPixel);

// A 32-bit (blue, green, red, alpha) or 24-bit (blue, green, red, padded)
// BMP, rows bottom-up, no colour table. False for an empty image, another
// depth, a file larger than 4 GiB or a failed write.
bool encodeBmp(const DIB& image, int bits, ByteSink& sink);

// The alpha channel as an 8-bit BMP with a 256-entry grey ramp: one byte per
// pixel, rows bottom-up, padded to whole 32-bit words with zeros.
bool encodeGreyMaskBmp(const DIB& image, ByteSink& sink);
