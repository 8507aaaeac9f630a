#include "image/vector_path.h"

namespace {

// Also false when the system does not save the wide registers.
VectorPath detectWidest() {
#if defined(PLIMSETT_AVX2)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) {
        return VectorPath::Avx512;
    }
    if (__builtin_cpu_supports("avx2")) return VectorPath::Avx2;
#endif
    return VectorPath::Baseline;
}

VectorPath& chosen() {
    static VectorPath path = widestVectorPath();
    return path;
}

}  // namespace

bool canRunVectorPath(VectorPath path) {
    // Each wider body needs the instructions of the narrower ones too.
    return static_cast<int>(path) <= static_cast<int>(widestVectorPath());
}

VectorPath widestVectorPath() {
    static const VectorPath widest = detectWidest();
    return widest;
}

VectorPath activeVectorPath() { return chosen(); }

bool useVectorPath(VectorPath path) {
    if (!canRunVectorPath(path)) return false;
    chosen() = path;
    return true;
}
