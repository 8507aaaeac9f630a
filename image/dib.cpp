// The pixel buffer: a 32-bit bottom-up image in main memory.
#include "image/dib.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include "image/int_math.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Byte count of a width x height image of 32-bit pixels, or 0 when it does not
// fit in 32 bits (the caller treats that like an exhausted heap).
size_t pixelBytes(int32_t width, int32_t height) {
    uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
    if (bytes > std::numeric_limits<uint32_t>::max()) return 0;  // size_t holds 32 bits at least
    return static_cast<size_t>(bytes);
}

uint32_t* allocatePixels(int32_t width, int32_t height) {
    size_t bytes = pixelBytes(width, height);
    if (bytes == 0) return nullptr;
    return static_cast<uint32_t*>(std::malloc(bytes));
}

void setHeader(BitmapInfo& info, int32_t width, int32_t height, int32_t pelsPerMeter) {
    info = BitmapInfo{};
    info.header.biSize = sizeof(BitmapInfoHeader);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = 0;  // BI_RGB
    info.header.biXPelsPerMeter = pelsPerMeter;
    info.header.biYPelsPerMeter = pelsPerMeter;
}

// Steps 1 to 4 of clipRegion for one axis. 64-bit arithmetic so that extreme
// arguments cannot overflow; for every argument whose sums fit in 32 bits the
// results are those of the 32-bit rule.
void clipAxis(int64_t& d, int64_t& len, int64_t& s, int64_t dstLen, int64_t srcLen) {
    if (d < 0) {
        len += d;
        s -= d;
        d = 0;
    }
    if (s < 0) {
        len += s;
        d -= s;
        s = 0;
    }
    if (d + len > dstLen) len = dstLen - d;
    if (s + len > srcLen) len = srcLen - s;
}

// Writes `count` copies of `pixel` from `p` on. Plain 32-bit stores are a
// quarter of the store width memset uses (GCC does not vectorise this loop at
// -O2), so 16-byte stores are used where the target has them: the pointer is
// only 4-byte aligned, hence unaligned stores, 64 bytes per step.
inline void fillRow(uint32_t* p, size_t count, uint32_t pixel) {
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi32(static_cast<int>(pixel));
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 4), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 8), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 12), v);
    }
    for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
    for (; i < count; ++i) p[i] = pixel;
#else
    std::fill_n(p, count, pixel);
#endif
}

}  // namespace

bool clipRegion(int32_t& dx, int32_t& dy, int32_t& w, int32_t& h, int32_t& sx, int32_t& sy,
                int32_t dstW, int32_t dstH, int32_t srcW, int32_t srcH) {
    int64_t x = dx, y = dy, cw = w, ch = h, x2 = sx, y2 = sy;
    clipAxis(x, cw, x2, dstW, srcW);
    clipAxis(y, ch, y2, dstH, srcH);
    dx = saturateToInt32(x);
    dy = saturateToInt32(y);
    w = saturateToInt32(cw);
    h = saturateToInt32(ch);
    sx = saturateToInt32(x2);
    sy = saturateToInt32(y2);
    return cw > 0 && ch > 0;
}

DIB::DIB(int32_t width, int32_t height) { create(width, height); }

bool DIB::canAllocate(int32_t width, int32_t height) {
    const size_t bytes = pixelBytes(width, height);
    return bytes != 0 && bytes <= static_cast<size_t>(PTRDIFF_MAX);
}

DIB::~DIB() { DIB::release(); }

bool DIB::create(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return false;
    release();
    uint32_t* p = allocatePixels(width, height);
    if (p == nullptr) return false;
    pixels = p;
    setHeader(info, width, height, kPelsPerMeter);
    return true;
}

bool DIB::resizeFill(int32_t width, int32_t height, uint32_t fillPixel) {
    if (width <= 0 || height <= 0) return false;
    if (width == this->width() && height == this->height()) return true;
    uint32_t* p = allocatePixels(width, height);
    if (p == nullptr) return false;

    const int32_t oldWidth = isValid() ? this->width() : 0;
    const int32_t oldHeight = isValid() ? this->height() : 0;
    DIB temporary;
    temporary.pixels = p;
    setHeader(temporary.info, width, height, 0);
    temporary.fillRect(oldWidth, 0, width, height, fillPixel);
    temporary.fillRect(0, oldHeight, width, height, fillPixel);
    copyTo(temporary, 0, 0, oldWidth, oldHeight, 0, 0);

    temporary.pixels = nullptr;  // detach
    release();
    pixels = p;
    setHeader(info, width, height, 0);
    return true;
}

void DIB::release() {
    std::free(pixels);
    pixels = nullptr;
    info = BitmapInfo{};
}

uint32_t DIB::pixelAt(int32_t x, int32_t y) const {
    if (pixels == nullptr || x < 0 || y < 0 || x >= width() || y >= height()) return 0;
    return row(y)[x];
}

bool DIB::fillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t pixel) {
    if (!isValid()) return false;
    const int64_t x1 = std::min<int64_t>(x + abs64(w), width());
    const int64_t y1 = std::min<int64_t>(y + abs64(h), height());
    const int64_t x0 = std::max<int64_t>(x, 0);
    const int64_t y0 = std::max<int64_t>(y, 0);
    if (y0 >= y1 || x0 >= x1) return true;

    const size_t stride = static_cast<size_t>(width());
    const size_t count = static_cast<size_t>(x1 - x0);
    // Image rows y0 .. y1-1 are memory rows height-y1 .. height-1-y0.
    uint32_t* p = pixels + static_cast<size_t>(height() - y1) * stride + x0;
    if (count == stride) {
        // Full rows are one contiguous run.
        fillRow(p, count * static_cast<size_t>(y1 - y0), pixel);
        return true;
    }
    for (int64_t r = y0; r < y1; ++r, p += stride) fillRow(p, count, pixel);
    return true;
}

bool DIB::copyTo(DIB& destination, int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx,
                 int32_t sy) const {
    w = saturateToInt32(abs64(w));
    h = saturateToInt32(abs64(h));
    const int32_t srcW = isValid() ? width() : 0;
    const int32_t srcH = isValid() ? height() : 0;
    const int32_t dstW = destination.isValid() ? destination.width() : 0;
    const int32_t dstH = destination.isValid() ? destination.height() : 0;
    if (!clipRegion(dx, dy, w, h, sx, sy, dstW, dstH, srcW, srcH)) return false;

    const size_t srcStride = static_cast<size_t>(srcW);
    const size_t dstStride = static_cast<size_t>(dstW);
    const size_t rowBytes = static_cast<size_t>(w) * 4;
    // The bottom row of the rectangle comes first in memory.
    const uint32_t* s = row(sy + h - 1) + sx;
    uint32_t* d = destination.row(dy + h - 1) + dx;
    if (srcStride == dstStride && static_cast<size_t>(w) == srcStride) {
        // Full rows on both sides: the rectangle is one contiguous block.
        std::memcpy(d, s, rowBytes * static_cast<size_t>(h));
        return true;
    }
    for (int32_t i = 0; i < h; ++i, s += srcStride, d += dstStride) std::memcpy(d, s, rowBytes);
    return true;
}

bool DIB::makeOpaqueRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!isValid()) return false;
    const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(x) + w, width());
    const int64_t y1 = std::min<int64_t>(static_cast<int64_t>(y) + h, height());
    const int64_t x0 = std::max<int64_t>(x, 0);
    const int64_t y0 = std::max<int64_t>(y, 0);
    if (x0 >= x1 || y0 >= y1) return true;

    const size_t stride = static_cast<size_t>(width());
    const size_t count = static_cast<size_t>(x1 - x0);
    uint32_t* p = pixels + static_cast<size_t>(height() - y1) * stride + x0;
    for (int64_t r = y0; r < y1; ++r, p += stride) {
        for (size_t i = 0; i < count; ++i) p[i] |= 0xFF000000u;
    }
    return true;
}

void DIB::swap(DIB& other) {
    std::swap(pixels, other.pixels);
    std::swap(info, other.info);
}
