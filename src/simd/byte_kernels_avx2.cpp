// Library headers come first, so none of their inline code is compiled for
// AVX2 in this file; what follows the target's opening is.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "simd/byte_kernel_variants.h"
#include "simd/byte_kernels.h"
#include "simd/byte_runs.h"

#include "simd/avx2_target_begin.h"

#include "simd/byte_lanes.h"
#include "simd/byte_kernels_wide.inl"

namespace maskfit {
namespace {

using Avx2Lanes = ByteLanes<32>;

}  // namespace

bool AnyBothSetAvx2(const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride, int64_t count, int64_t rows) {
    return AnyBothSetInRows<Avx2Lanes>(a, aStride, b, bStride, count, rows);
}

CopiedSpan CopySetBytesAvx2(uint8_t* dst, const uint8_t* src, int64_t count) {
    return CopySetBytesOver<Avx2Lanes>(dst, src, count);
}

}  // namespace maskfit

#include "simd/avx2_target_end.h"
