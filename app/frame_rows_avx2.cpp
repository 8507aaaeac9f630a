// The frame composer's AVX2 row bodies; the same rules as the SSE2 bodies in
// frame_composer.cpp, eight pixels at a time.
#include <immintrin.h>

#include "app/frame_rows.h"

namespace {

inline __m256i load(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

inline void store(uint32_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

inline void prefetch(const uint32_t* p) {
    _mm_prefetch(reinterpret_cast<const char*>(p), _MM_HINT_T0);
}

// Pixels 0, 2, ..., 14 from p.
inline __m256i everySecond(const uint32_t* p) {
    const __m256 picked =
        _mm256_shuffle_ps(_mm256_castsi256_ps(load(p)), _mm256_castsi256_ps(load(p + 8)), 0x88);
    // The shuffle works within each half: a0 a2 b0 b2 | a4 a6 b4 b6.
    return _mm256_castpd_si256(_mm256_permute4x64_pd(_mm256_castps_pd(picked), 0xD8));
}

// Each colour byte (s * a + u * (256 - a)) >> 8 with the alpha a of s, the
// alpha of u kept. Red and blue share 16-bit lanes, as do green and the
// source alpha; no lane overflows since 255 * a + 255 * (256 - a) < 65536.
inline __m256i mix(__m256i s, __m256i u) {
    const __m256i low = _mm256_set1_epi32(0x00FF00FF);
    const __m256i a32 = _mm256_srli_epi32(s, 24);
    const __m256i a = _mm256_or_si256(a32, _mm256_slli_epi32(a32, 16));
    const __m256i na = _mm256_sub_epi16(_mm256_set1_epi16(256), a);
    const __m256i rb = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(s, low), a),
                                        _mm256_mullo_epi16(_mm256_and_si256(u, low), na));
    const __m256i ga =
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(s, 8), low), a),
                         _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(u, 8), low), na));
    const __m256i green = _mm256_and_si256(ga, _mm256_set1_epi32(0x0000FF00));
    const __m256i alpha = _mm256_and_si256(u, _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
    return _mm256_or_si256(_mm256_or_si256(_mm256_srli_epi16(rb, 8), green), alpha);
}

}  // namespace

int32_t gatherEverySecondAvx2(const uint32_t* p, uint32_t* out, int32_t n, const uint32_t* ahead) {
    int32_t i = 0;
    for (; i + 8 < n; i += 8) {  // the last load reaches p[2 * i + 15] <= p[2 * n - 3]
        prefetch(ahead + 2 * i);
        store(out + i, everySecond(p + 2 * i));
    }
    return i;
}

int32_t mixRowAvx2(const uint32_t* s, const uint32_t* under, uint32_t* out, int32_t n,
                   const uint32_t* ahead) {
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        prefetch(ahead + i);
        store(out + i, mix(load(s + i), load(under + i)));
    }
    return i;
}

int32_t mixEverySecondAvx2(const uint32_t* p, const uint32_t* under, uint32_t* out, int32_t n,
                           const uint32_t* ahead) {
    int32_t i = 0;
    for (; i + 8 < n; i += 8) {
        prefetch(ahead + 2 * i);
        store(out + i, mix(everySecond(p + 2 * i), load(under + i)));
    }
    return i;
}
