// blendRect's AVX-512 body: the AVX2 body sixteen pixels at a time, with the
// same operations in the same order in every lane (no fused multiply-add, as
// everywhere), so the results are identical bit for bit.

// The compiler's own AVX-512 header starts its results from a deliberately
// undefined register, which its uninitialised-use check mistakes for a fault.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

#include <algorithm>

#include "edit/blend_rows.h"

namespace {

inline __m512i load(const uint32_t* p) { return _mm512_loadu_si512(p); }

// Red and green are converted where they lie (as R * 65536 and G * 256), as
// in the other bodies: a power-of-two scale is exact through every product
// and sum, and the mask removes the fraction bits below the truncated channel.
template <int mask>
inline __m512 channel(__m512i p) {
    return _mm512_cvtepi32_ps(_mm512_and_si512(p, _mm512_set1_epi32(mask)));
}

template <int mask>
inline __m512i mix(__m512i s, __m512i d, __m512 a, __m512 dw) {
    const __m512 sum =
        _mm512_add_ps(_mm512_mul_ps(channel<mask>(d), dw), _mm512_mul_ps(channel<mask>(s), a));
    return _mm512_and_si512(_mm512_cvttps_epi32(sum), _mm512_set1_epi32(mask));
}

// Asks for the pixels 2 KiB ahead of those being blended. The address is
// made as a number: past the end of a row it is a hint that reads nothing.
inline void prefetchAhead(const uint32_t* p) {
    _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) + 2048), _MM_HINT_T0);
}

template <bool translucent>
inline __m512i blendSixteen(__m512i sv, __m512i dv) {
    const __m512 k255 = _mm512_set1_ps(255.0f);
    const __m512 sa = _mm512_cvtepi32_ps(_mm512_srli_epi32(sv, 24));
    const __m512 da = _mm512_cvtepi32_ps(_mm512_srli_epi32(dv, 24));
    const __m512 a = _mm512_div_ps(sa, k255);
    const __m512 rest = _mm512_sub_ps(_mm512_set1_ps(1.0f), a);
    const __m512 dimmed = _mm512_div_ps(_mm512_mul_ps(da, rest), k255);
    __m512i alpha;
    if constexpr (translucent) {
        alpha = _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_add_ps(dimmed, a), k255));
    } else {
        // 255 * the truncated coverage (0 or 1).
        alpha = _mm512_mullo_epi32(_mm512_cvttps_epi32(_mm512_add_ps(dimmed, a)),
                                   _mm512_set1_epi32(255));
    }
    const __m512 dw = translucent ? dimmed : rest;
    const __m512i colours =
        _mm512_or_si512(_mm512_or_si512(mix<0xFF0000>(sv, dv, a, dw), mix<0xFF00>(sv, dv, a, dw)),
                        mix<0xFF>(sv, dv, a, dw));
    return _mm512_or_si512(_mm512_slli_epi32(alpha, 24), colours);
}

// The first `count` (at most 16) pixels; the others are neither read nor written.
template <bool translucent>
void blendPart(uint32_t* d, const uint32_t* s, size_t count) {
    const __mmask16 lanes = static_cast<__mmask16>((1u << count) - 1);
    const __m512i sv = _mm512_maskz_loadu_epi32(lanes, s);
    const __m512i dv = _mm512_maskz_loadu_epi32(lanes, d);
    _mm512_mask_storeu_epi32(d, lanes, blendSixteen<translucent>(sv, dv));
}

// A 64-byte access that straddles two cache lines costs twice, so the row
// is blended up to the first destination line boundary, then line by line.
template <bool translucent>
size_t blendRow(uint32_t* d, const uint32_t* s, size_t n) {
    const size_t head = std::min(n, (64 - reinterpret_cast<uintptr_t>(d) % 64) % 64 / 4);
    if (head > 0) blendPart<translucent>(d, s, head);
    size_t i = head;
    for (; i + 16 <= n; i += 16) {
        prefetchAhead(s + i);
        prefetchAhead(d + i);
        _mm512_store_si512(d + i, blendSixteen<translucent>(load(s + i), load(d + i)));
    }
    if (i < n) blendPart<translucent>(d + i, s + i, n - i);
    return n;
}

}  // namespace

size_t blendRowTranslucentAvx512(uint32_t* d, const uint32_t* s, size_t n) {
    return blendRow<true>(d, s, n);
}

size_t blendRowOpaqueBaseAvx512(uint32_t* d, const uint32_t* s, size_t n) {
    return blendRow<false>(d, s, n);
}
