#pragma once
// Integer arithmetic on int32 coordinates that cannot overflow: the sums are
// taken in 64 bits, and each caller says how a result past int32 comes back
// (saturated here, or wrapped by a plain conversion).
#include <cmath>
#include <cstdint>
#include <limits>

// The number of pixels from `first` to `last`, both included.
constexpr int64_t spanOf(int64_t first, int64_t last) { return last - first + 1; }

constexpr int64_t abs64(int32_t value) { return value < 0 ? -static_cast<int64_t>(value) : value; }

// The value, or the int32 limit it passes.
constexpr int32_t saturateToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// Drops the fraction, saturated at the int32 limits; NaN gives 0 (huge zooms
// must not turn into undefined conversions).
inline int32_t truncToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
