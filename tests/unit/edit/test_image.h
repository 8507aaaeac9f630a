#pragma once
// Small helpers shared by the pixel operation, undo and mask block tests.
// Coordinates are image (x, y), read and written through the documented
// bottom-up row layout.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "image/dib.h"

namespace testimage {

// A value that names its position; every byte varies with it.
inline uint32_t tag(int32_t x, int32_t y) {
    const uint32_t v = static_cast<uint32_t>(y * 1000 + x);
    return ((v * 37u + 11u) & 0xFFu) << 24 | (v & 0xFFFFu) << 8 | ((v * 101u + 7u) & 0xFFu);
}

inline uint32_t& pixel(const DIB& d, int32_t x, int32_t y) {
    return d.pixels[static_cast<size_t>(d.height() - 1 - y) * d.width() + x];
}

inline uint32_t at(const DIB& d, int32_t x, int32_t y) { return pixel(d, x, y); }

inline void fill(DIB& d, const std::function<uint32_t(int32_t, int32_t)>& f) {
    for (int32_t y = 0; y < d.height(); ++y)
        for (int32_t x = 0; x < d.width(); ++x) pixel(d, x, y) = f(x, y);
}

inline void fillTagged(DIB& d) { fill(d, tag); }

// Every pixel equals expected(x, y); names the first that does not.
inline testing::AssertionResult pixelsAre(
    const DIB& d, const std::function<uint32_t(int32_t, int32_t)>& expected) {
    for (int32_t y = 0; y < d.height(); ++y) {
        for (int32_t x = 0; x < d.width(); ++x) {
            if (at(d, x, y) != expected(x, y)) {
                return testing::AssertionFailure() << "at " << x << "," << y << std::hex << ": "
                                                   << at(d, x, y) << " not " << expected(x, y);
            }
        }
    }
    return testing::AssertionSuccess();
}

// Every pixel, to show that an operation left an image alone.
inline std::vector<uint32_t> snapshot(const DIB& d) {
    if (!d.isValid()) return {};
    return std::vector<uint32_t>(d.pixels, d.pixels + static_cast<size_t>(d.width()) * d.height());
}

}  // namespace testimage
