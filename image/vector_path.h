#pragma once
// The hot pixel loops have two bodies: the baseline (SSE2, which every build
// has; plain C++ where a build has no SSE2) and, in the 64-bit builds, an
// AVX2 body that runs only on a CPU with AVX2. Every body gives the same bits.
enum class VectorPath {
    Baseline,
    Avx2,
};

// Whether this build has the body and this CPU can execute it.
bool canRunVectorPath(VectorPath path);

// The body the loops use: the widest that can run, unless chosen otherwise.
VectorPath activeVectorPath();

// Chooses the body (so that each can be compared with the others); a path
// that cannot run here is refused and the current one kept.
bool useVectorPath(VectorPath path);
