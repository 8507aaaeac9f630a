#pragma once
// The platform's bitmap-info block, kept by the portable code itself so that a
// DIB's header can be handed to GDI unchanged.
#include <cstdint>

// The resolution every image we make states: 96 dots per inch.
constexpr int32_t kPelsPerMeter = 3780;

struct BitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "same layout as BITMAPINFOHEADER");

// BITMAPINFO: the header and one colour entry that is never used.
struct BitmapInfo {
    BitmapInfoHeader header;
    uint32_t colors[1];
};
static_assert(sizeof(BitmapInfo) == 44, "same layout as BITMAPINFO");
