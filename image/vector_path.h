#pragma once
// The hot pixel loops have up to three bodies: the baseline (SSE2, which every
// build has; plain C++ where a build has no SSE2) and, in the 64-bit builds,
// an AVX2 body that runs only on a CPU with AVX2 and, for the blends and the
// zoom-0.5 copy, an AVX-512 body that runs only on a CPU with AVX-512 (F and
// BW). Every body gives the same bits. Loops without an AVX-512 body use AVX2
// on that path.
enum class VectorPath {
    Baseline,
    Avx2,
    Avx512,
};

// Whether this build has the body and this CPU can execute it.
bool canRunVectorPath(VectorPath path);

// The widest body that can run here.
VectorPath widestVectorPath();

// The body the loops use: the widest that can run, unless chosen otherwise.
VectorPath activeVectorPath();

// Chooses the body (so that each can be compared with the others); a path
// that cannot run here is refused and the current one kept.
bool useVectorPath(VectorPath path);
