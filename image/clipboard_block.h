#pragma once
// The 32-bit device-independent bitmap blocks of the clipboard: the block the
// copy commands put there (a 40-byte header and the pixels, rows bottom-up,
// no padding, no colour table, no masks), and the reader of the blocks any
// program may put there, which trusts nothing in them.
#include <cstddef>
#include <cstdint>

#include "image/dib.h"

constexpr size_t kClipboardHeaderBytes = 40;

// The size of the block of a w x h rectangle: 40 + w * h * 4, or 0 when w or
// h <= 0 or the size does not fit in 32 bits.
size_t clipboardImageBlockSize(int32_t w, int32_t h);

// Writes the header and the rectangle (x, y, w, h) of `source` into `block`
// of `size` bytes (4-byte aligned). Pixels keep their alpha; those of the
// rectangle outside the source get `outsidePixel`. Fails, writing nothing,
// when `size` is not clipboardImageBlockSize(w, h), the block is null or
// misaligned, the source is empty, or nothing of the rectangle overlaps it.
bool writeClipboardImageBlock(uint8_t* block, size_t size, const DIB& source, int32_t x, int32_t y,
                              int32_t w, int32_t h, uint32_t outsidePixel);

// The biCompression values a block may carry.
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiJpeg = 4;
constexpr uint32_t kBiPng = 5;
constexpr uint32_t kBiAlphaBitfields = 6;

// Where a block's parts lie and how its pixels are stored, every offset and
// length checked against the block's size.
struct DibLayout {
    uint16_t bitCount = 0;
    uint32_t compression = kBiRgb;
    int32_t width = 0;
    int32_t height = 0;  // rows, always positive
    bool topDown = false;
    // Red, green, blue, alpha, as the block states them (0 where it states
    // none); they describe the pixels only with the bitfield compressions.
    uint32_t masks[4] = {};
    size_t pixelOffset = 0;
    size_t stride = 0;  // bytes per row; 0 for compressed data
    size_t pixelBytes = 0;
};

// Reads the header, masks and colour table of `block`. False when they
// contradict each other or do not fit in `size` bytes. Only the header and
// the masks after it are read, within the first `readable` bytes (a file's
// head; the whole block by default); the colour table and the pixels are
// only measured against `size`.
constexpr size_t kDibHeadBytes = 124 + 16;  // the largest header, or masks after the first
bool parseDibLayout(const uint8_t* block, size_t size, DibLayout& layout,
                    size_t readable = SIZE_MAX);

enum class DibBlockRead {
    Taken,        // the target holds the block's pixels
    NotDirect,    // consistent, but in a format left to the platform's conversion
    Damaged,      // the block contradicts itself or its size
    OutOfMemory,  // would be taken, but the image is beyond the size limit or
                  // its memory could not be had
};

// Takes a 32-bit uncompressed block (BI_RGB, or bitfields with the masks
// 0x00FF0000, 0x0000FF00, 0x000000FF: the fourth byte is the alpha) into
// `target`, top-down rows turned bottom-up. Other 16- and 32-bit bitfield
// blocks are read through their masks, each channel scaled to 8 bits; with an
// alpha mask (CF_DIBV5 and the like) their alpha is taken straight, without
// one they are opaque. The image is built aside: on every other result a plain DIB
// target is untouched (a derived one is emptied only when taking the complete
// image into it fails; see adoptImage).
DibBlockRead readClipboardDib(const uint8_t* block, size_t size, DIB& target);

// The CF_DIBV5 block offered beside the copy's CF_DIB: a 124-byte
// BITMAPV5HEADER (bitfields, alpha mask 0xFF000000, sRGB) and the pixels,
// rows bottom-up. 0 when w or h <= 0 or the size does not fit in 32 bits.
constexpr size_t kDibV5HeaderBytes = 124;
size_t dibV5BlockSize(int32_t w, int32_t h);
// Writes the whole image; fails, writing nothing, unless `size` is
// dibV5BlockSize of the image's size.
bool writeDibV5Block(uint8_t* block, size_t size, const DIB& image);

// A "PNG" clipboard block into `target`, with its alpha (an image without an
// alpha channel becomes opaque). False, the target as it was, on any failure;
// the decoder refuses absurd sizes before allocating (decodePng).
bool decodeClipboardPng(const uint8_t* block, size_t size, DIB& target);

// Every pixel's alpha byte is 0: what screenshots and most programs deliver
// for opaque images in 32 bits.
bool alphaAllZero(const DIB& image);
