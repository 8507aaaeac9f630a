// The portable builder of the 8-bit grey mask block; the clipboard handover
// lives in grey_mask_clipboard.cpp.
#include "image/grey_mask_block.h"

#include <cstring>
#include <limits>

#include "image/bitmap_info.h"

size_t greyMaskStride(int32_t w) {
    if (w <= 0) return 0;
    return (static_cast<size_t>(w) + 3) & ~size_t{3};
}

size_t greyMaskBlockSize(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!canvas.isValid() || w <= 0 || h <= 0) return 0;
    int32_t dx = 0, dy = 0, cw = w, ch = h, sx = x, sy = y;
    if (!clipRegion(dx, dy, cw, ch, sx, sy, w, h, canvas.width(), canvas.height())) return 0;
    // The header holds the pixel byte count in 32 bits, and so the whole
    // block fits in a size_t on every build.
    const uint64_t pixelBytes = (static_cast<uint64_t>(w) + 3) / 4 * 4 * static_cast<uint64_t>(h);
    if (pixelBytes > std::numeric_limits<uint32_t>::max() - kGreyMaskPixelOffset) return 0;
    return static_cast<size_t>(pixelBytes) + kGreyMaskPixelOffset;
}

void writeGreyMaskHeader(uint8_t* out, int32_t w, int32_t h) {
    BitmapInfoHeader header{};
    header.biSize = sizeof(BitmapInfoHeader);
    header.biWidth = w;
    header.biHeight = h;  // positive: rows bottom-up
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biCompression = 0;  // BI_RGB
    header.biSizeImage = static_cast<uint32_t>(greyMaskStride(w) * static_cast<size_t>(h));
    header.biXPelsPerMeter = kPelsPerMeter;
    header.biYPelsPerMeter = kPelsPerMeter;
    header.biClrUsed = 256;
    std::memcpy(out, &header, sizeof header);
    uint8_t* ramp = out + kGreyMaskHeaderBytes;
    for (int i = 0; i < 256; ++i) {
        ramp[i * 4] = ramp[i * 4 + 1] = ramp[i * 4 + 2] =
            static_cast<uint8_t>(i);  // blue, green, red
        ramp[i * 4 + 3] = 0;
    }
}

bool writeGreyMaskBlock(uint8_t* block, size_t size, const DIB& canvas, int32_t x, int32_t y,
                        int32_t w, int32_t h) {
    if (block == nullptr || size == 0 || size != greyMaskBlockSize(canvas, x, y, w, h)) {
        return false;
    }
    const size_t stride = greyMaskStride(w);
    writeGreyMaskHeader(block, w, h);
    uint8_t* pixels = block + kGreyMaskPixelOffset;
    std::memset(pixels, 0, size - kGreyMaskPixelOffset);  // outside the canvas and padding
    int32_t dx = 0, dy = 0, cw = w, ch = h, sx = x, sy = y;
    clipRegion(dx, dy, cw, ch, sx, sy, w, h, canvas.width(), canvas.height());
    for (int32_t r = 0; r < ch; ++r) {
        // Block row for image row dy + r, counted from the bottom.
        uint8_t* out = pixels + static_cast<size_t>(h - 1 - (dy + r)) * stride + dx;
        const uint32_t* in = canvas.row(sy + r) + sx;
        for (int32_t i = 0; i < cw; ++i) out[i] = static_cast<uint8_t>(in[i] >> 24);
    }
    return true;
}
