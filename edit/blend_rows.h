#pragma once
// blendRect's AVX2 and AVX-512 row bodies, each compiled apart for its
// instructions (64-bit builds only) and called only on a CPU that has them.
// Nothing inline here: the wide files must not lend their instructions to
// code the other bodies share.
#include <cstddef>
#include <cstdint>

// Blend the first n - n % 8 pixels of a row and return how many that is.
size_t blendRowTranslucentAvx2(uint32_t* d, const uint32_t* s, size_t n);
size_t blendRowOpaqueBaseAvx2(uint32_t* d, const uint32_t* s, size_t n);
// Blend the whole row and return n.
size_t blendRowTranslucentAvx512(uint32_t* d, const uint32_t* s, size_t n);
size_t blendRowOpaqueBaseAvx512(uint32_t* d, const uint32_t* s, size_t n);
