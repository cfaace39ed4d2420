// Each instruction set's version of the longer byte-vector kernels. The
// functions of byte_kernels.h choose among them; tests call each directly,
// so that the baseline versions are checked on CPUs that would never pick
// them. The AVX2 ones run only where HasAvx2() holds.
#ifndef MASKFIT_SIMD_BYTE_KERNEL_VARIANTS_H
#define MASKFIT_SIMD_BYTE_KERNEL_VARIANTS_H

#include <cstdint>

#include "runtime/fast_paths.h"
#include "simd/byte_kernels.h"

namespace maskfit {

// Whether this build may use AVX2 and this CPU (and the system, which must
// save its state) runs it. The detection normally runs when the library
// loads; should it not have run, the init call runs it (and returns at once
// when it has).
inline bool HasAvx2() {
    if (!kWiderVectorsEnabled) {
        return false;
    }
    if (__builtin_cpu_supports("avx2")) {
        return true;
    }
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

bool AnyBothSetSse2(const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride, int64_t count, int64_t rows);
CopiedSpan CopySetBytesSse2(uint8_t* dst, const uint8_t* src, int64_t count);

bool AnyBothSetAvx2(const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride, int64_t count, int64_t rows);
CopiedSpan CopySetBytesAvx2(uint8_t* dst, const uint8_t* src, int64_t count);

}  // namespace maskfit

#endif
