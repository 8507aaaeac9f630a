// blendRect's AVX2 body: the SSE2 body eight pixels at a time. Every lane
// performs the operations of blendPixel in its order (this file, like every
// other, is built without fused multiply-add), and the division, like every
// single-precision operation, is correctly rounded whatever the vector
// width, so the results are identical bit for bit.
#include <immintrin.h>

#include "edit/blend_rows.h"

namespace {

inline __m256i load(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Red and green are converted where they lie (as R * 65536 and G * 256), as
// in the SSE2 body: a power-of-two scale is exact through every product and
// sum, and the mask removes the fraction bits below the truncated channel.
template <int mask>
inline __m256 channel(__m256i p) {
    return _mm256_cvtepi32_ps(_mm256_and_si256(p, _mm256_set1_epi32(mask)));
}

template <int mask>
inline __m256i mix(__m256i s, __m256i d, __m256 a, __m256 dw) {
    const __m256 sum =
        _mm256_add_ps(_mm256_mul_ps(channel<mask>(d), dw), _mm256_mul_ps(channel<mask>(s), a));
    return _mm256_and_si256(_mm256_cvttps_epi32(sum), _mm256_set1_epi32(mask));
}

// trunc(D.c * dw + S.c * a) for red, green and blue, each in its place.
inline __m256i mixColours(__m256i s, __m256i d, __m256 a, __m256 dw) {
    return _mm256_or_si256(_mm256_or_si256(mix<0xFF0000>(s, d, a, dw), mix<0xFF00>(s, d, a, dw)),
                           mix<0xFF>(s, d, a, dw));
}

// Asks for the pixels 2 KiB ahead of those being blended. The address is
// made as a number: past the end of a row it is a hint that reads nothing.
inline void prefetchAhead(const uint32_t* p) {
    _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) + 2048), _MM_HINT_T0);
}

template <bool translucent>
size_t blendRow(uint32_t* d, const uint32_t* s, size_t n) {
    const __m256 k255 = _mm256_set1_ps(255.0f);
    const __m256 one = _mm256_set1_ps(1.0f);
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        prefetchAhead(s + i);
        prefetchAhead(d + i);
        const __m256i sv = load(s + i), dv = load(d + i);
        const __m256 sa = _mm256_cvtepi32_ps(_mm256_srli_epi32(sv, 24));
        const __m256 da = _mm256_cvtepi32_ps(_mm256_srli_epi32(dv, 24));
        const __m256 a = _mm256_div_ps(sa, k255);
        const __m256 rest = _mm256_sub_ps(one, a);
        const __m256 dimmed = _mm256_div_ps(_mm256_mul_ps(da, rest), k255);
        __m256i alpha;
        if constexpr (translucent) {
            alpha = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_add_ps(dimmed, a), k255));
        } else {
            // 255 * the truncated coverage (0 or 1).
            alpha = _mm256_mullo_epi32(_mm256_cvttps_epi32(_mm256_add_ps(dimmed, a)),
                                       _mm256_set1_epi32(255));
        }
        const __m256i colours = mixColours(sv, dv, a, translucent ? dimmed : rest);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            _mm256_or_si256(_mm256_slli_epi32(alpha, 24), colours));
    }
    return i;
}

}  // namespace

size_t blendRowTranslucentAvx2(uint32_t* d, const uint32_t* s, size_t n) {
    return blendRow<true>(d, s, n);
}

size_t blendRowOpaqueBaseAvx2(uint32_t* d, const uint32_t* s, size_t n) {
    return blendRow<false>(d, s, n);
}
