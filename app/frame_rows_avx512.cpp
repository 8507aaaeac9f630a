// The frame composer's AVX-512 row body for zoom 0.5: sixteen pixels at a
// time from two loads and one permute.

// The compiler's own AVX-512 header starts its results from a deliberately
// undefined register, which its uninitialised-use check mistakes for a fault.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

#include <algorithm>

#include "app/frame_rows.h"

namespace {

// Lanes 0, 2, ..., 30 of two registers. Made where used: a constant built
// before main would run AVX-512 instructions on every CPU.
inline __m512i evenLanes() {
    return _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
}

// out[0 .. count - 1] = p[0], p[2], ...; reads only the pixels it takes.
inline void everySecondPart(const uint32_t* p, uint32_t* out, int32_t count) {
    const __mmask32 taken = static_cast<__mmask32>(0x55555555u >> (32 - 2 * count));
    const __m512i a = _mm512_maskz_loadu_epi32(static_cast<__mmask16>(taken), p);
    const __m512i b = _mm512_maskz_loadu_epi32(static_cast<__mmask16>(taken >> 16), p + 16);
    _mm512_mask_storeu_epi32(out, static_cast<__mmask16>((1u << count) - 1),
                             _mm512_permutex2var_epi32(a, evenLanes(), b));
}

}  // namespace

int32_t gatherEverySecondAvx512(const uint32_t* p, uint32_t* out, int32_t n,
                                const uint32_t* ahead) {
    // A 64-byte access that straddles two cache lines costs twice. The loads
    // carry twice the bytes of the stores, so the row is taken up to the first
    // source line boundary where one can be reached (an even pixel address),
    // else up to the first destination line boundary; then line by line.
    const uintptr_t from = reinterpret_cast<uintptr_t>(p), to = reinterpret_cast<uintptr_t>(out);
    const uintptr_t lead = from % 8 == 0 ? (64 - from % 64) % 64 / 8 : (64 - to % 64) % 64 / 4;
    const int32_t head = std::min(n, static_cast<int32_t>(lead));
    if (head > 0) everySecondPart(p, out, head);
    int32_t i = head;
    for (; i + 16 < n; i += 16) {  // the second load reaches p[2 * i + 31] <= p[2 * n - 3]
        _mm_prefetch(reinterpret_cast<const char*>(ahead + 2 * i), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(ahead + 2 * i + 16), _MM_HINT_T0);
        const __m512i a = _mm512_loadu_si512(p + 2 * i);
        const __m512i b = _mm512_loadu_si512(p + 2 * i + 16);
        _mm512_storeu_si512(out + i, _mm512_permutex2var_epi32(a, evenLanes(), b));
    }
    if (i < n) everySecondPart(p + 2 * i, out + i, n - i);
    return n;
}
