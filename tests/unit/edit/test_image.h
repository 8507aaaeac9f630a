#pragma once
// Small helpers shared by the pixel operation, undo and mask block tests.
#include <cstdint>
#include <functional>
#include <vector>

#include "image/dib.h"

namespace testimage {

// A value that names its position (red and green hold y * 1000 + x for the
// small images of the tests); alpha and blue vary with it too.
inline uint32_t tag(int32_t x, int32_t y) {
    const uint32_t v = static_cast<uint32_t>(y * 1000 + x);
    return ((v * 37u + 11u) & 0xFFu) << 24 | (v & 0xFFFFu) << 8 | ((v * 101u + 7u) & 0xFFu);
}

// Fills every pixel with f(x, y), through the documented bottom-up layout.
inline void fill(DIB& d, const std::function<uint32_t(int32_t, int32_t)>& f) {
    for (int32_t y = 0; y < d.height(); ++y)
        for (int32_t x = 0; x < d.width(); ++x)
            d.pixels[static_cast<size_t>(d.height() - 1 - y) * d.width() + x] = f(x, y);
}

inline void fillTagged(DIB& d) { fill(d, tag); }

// The pixel at (x, y) read through the documented layout.
inline uint32_t at(const DIB& d, int32_t x, int32_t y) {
    return d.pixels[static_cast<size_t>(d.height() - 1 - y) * d.width() + x];
}

// A copy of every pixel, to show that an operation left an image alone.
inline std::vector<uint32_t> snapshot(const DIB& d) {
    if (!d.isValid()) return {};
    return std::vector<uint32_t>(d.pixels, d.pixels + static_cast<size_t>(d.width()) * d.height());
}

}  // namespace testimage
