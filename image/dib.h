#pragma once
// An image of 32-bit pixels (blue, green, red, alpha in memory; straight
// alpha) stored bottom-up exactly like a platform device-independent bitmap.
// No dependency on any OS imaging API; DIBSection adds the platform drawing.
#include <cstddef>
#include <cstdint>

#include "image/bitmap_info.h"

#if defined(_WIN32)
// The platform's device context handle (HDC is `struct HDC__*` under STRICT,
// the default), named without including <windows.h>.
struct HDC__;
#endif

// The largest image any decoder builds, in bytes. A 32-bit build has about
// 2 GiB of address space and no single object there may exceed 2^31 - 1
// bytes; refusing larger images on every build makes both builds take the
// same files and clipboard blocks.
constexpr uint64_t kMaxImageBytes = 0x7FFFFFFF;

// The clipping rule shared by copyTo and the pixel operations: cut the
// rectangle (dx, dy, w, h) <- (sx, sy) against both images. True when
// something is left.
bool clipRegion(int32_t& dx, int32_t& dy, int32_t& w, int32_t& h, int32_t& sx, int32_t& sy,
                int32_t dstW, int32_t dstH, int32_t srcW, int32_t srcH);

class DIB {
public:
    DIB() = default;
    DIB(int32_t width, int32_t height);
    DIB(const DIB&) = delete;
    DIB& operator=(const DIB&) = delete;
    virtual ~DIB();

    // False for a size no memory could ever hold: more than 4 GiB of pixels,
    // or more than the address space of this build can take at once.
    static bool canAllocate(int32_t width, int32_t height);

    virtual bool resizeFill(int32_t width, int32_t height, uint32_t fillPixel);
    virtual bool create(int32_t width, int32_t height);
    virtual void release();

    // Pixels of a positive size: the one test for an image with something in it.
    bool isValid() const { return pixels != nullptr && width() > 0 && height() > 0; }
    int32_t width() const { return info.header.biWidth; }
    int32_t height() const { return info.header.biHeight; }

    uint32_t pixelAt(int32_t x, int32_t y) const;
    bool fillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t pixel);
    bool copyTo(DIB& destination, int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx,
                int32_t sy) const;
    bool makeOpaqueRect(int32_t x, int32_t y, int32_t w, int32_t h);

#if defined(_WIN32)
    // Draws the image region (0, 0, sw, sh) stretched onto (dx, dy, dw, dh)
    // of `dc` with StretchDIBits (alpha ignored). False when `dc` or the
    // pixels are null or the platform reports an error. Defined in the Win32
    // shell (image/dib_section.cpp). Note that for these bottom-up images the
    // platform counts the source rectangle from the bottom row: pass the whole
    // image (sw = width(), sh = height()).
    bool drawStretched(HDC__* dc, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sw,
                       int32_t sh) const;
#endif

    // Row y of the image (y = 0 is the top row, the last one in memory).
    uint32_t* row(int32_t y) {
        return pixels + static_cast<std::size_t>(height() - 1 - y) * width();
    }
    const uint32_t* row(int32_t y) const {
        return pixels + static_cast<std::size_t>(height() - 1 - y) * width();
    }

    // Exchanges pixels and header with another plain DIB (used to swap in a
    // freshly built image only once it is complete).
    void swap(DIB& other);

    uint32_t* pixels = nullptr;
    BitmapInfo info{};
};
