// Clearing the upper halves of the AVX registers.
#include "util/VectorState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {

__attribute__((target("avx"))) void ZeroUpper() {
    _mm256_zeroupper();
}

bool HasAvx() {
    static const bool has = __builtin_cpu_supports("avx");
    return has;
}

} // namespace

void ClearUpperVectorState() {
    if (HasAvx())
        ZeroUpper();
}

#else

void ClearUpperVectorState() {}

#endif
