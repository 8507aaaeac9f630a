#pragma once
// blendRect's AVX2 row bodies, compiled apart for AVX2 (64-bit builds only)
// and called only on a CPU that has it. Nothing inline here: the AVX2 file
// must not lend its wide instructions to code the other bodies share.
#include <cstddef>
#include <cstdint>

// Blend the first n - n % 8 pixels of a row and return how many that is.
size_t blendRowTranslucentAvx2(uint32_t* d, const uint32_t* s, size_t n);
size_t blendRowOpaqueBaseAvx2(uint32_t* d, const uint32_t* s, size_t n);
