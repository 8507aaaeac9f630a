#pragma once
// The frame composer's AVX2 row bodies and its one AVX-512 body, each
// compiled apart for its instructions (64-bit builds only) and called only on
// a CPU that has them. Each AVX2 body does the first part of a row eight
// pixels at a time and returns how many pixels that was; the caller finishes
// the row. `ahead` is the same place in the row drawn next, asked for while
// this one is drawn. Nothing inline here: the wide files must not lend their
// instructions to code the other bodies share.
#include <cstdint>

// out[i] = p[2 * i]; reads no further than p[2 * (n - 1)].
int32_t gatherEverySecondAvx2(const uint32_t* p, uint32_t* out, int32_t n, const uint32_t* ahead);
// The same for the whole row (AVX-512); returns n.
int32_t gatherEverySecondAvx512(const uint32_t* p, uint32_t* out, int32_t n, const uint32_t* ahead);

// out[i] = the view's mix of s[i] over under[i] (out may be under).
int32_t mixRowAvx2(const uint32_t* s, const uint32_t* under, uint32_t* out, int32_t n,
                   const uint32_t* ahead);

// out[i] = the view's mix of p[2 * i] over under[i]; reads as gatherEverySecondAvx2.
int32_t mixEverySecondAvx2(const uint32_t* p, const uint32_t* under, uint32_t* out, int32_t n,
                           const uint32_t* ahead);
