#include "image/vector_path.h"

namespace {

bool cpuHasAvx2() {
#if defined(PLIMSETT_AVX2)
    // Also false when the system does not save the wide registers.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

VectorPath& chosen() {
    static VectorPath path = cpuHasAvx2() ? VectorPath::Avx2 : VectorPath::Baseline;
    return path;
}

}  // namespace

bool canRunVectorPath(VectorPath path) {
    static const bool avx2 = cpuHasAvx2();
    return path == VectorPath::Baseline || (path == VectorPath::Avx2 && avx2);
}

VectorPath activeVectorPath() { return chosen(); }

bool useVectorPath(VectorPath path) {
    if (!canRunVectorPath(path)) return false;
    chosen() = path;
    return true;
}
