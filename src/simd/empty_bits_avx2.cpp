// Library headers come first, so none of their inline code is compiled for
// AVX2 in this file; what follows the target's opening is.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "simd/byte_kernels.h"
#include "simd/byte_runs.h"
#include "simd/empty_bits.h"

#include "simd/avx2_target_begin.h"

#include "simd/byte_lanes.h"
#include "simd/empty_bits_wide.inl"

namespace maskfit {
namespace {

using Avx2Lanes = ByteLanes<32>;

void Pack(const uint8_t* p, int64_t count, uint64_t* words, int64_t n) {
    PackEmptyBitsOver<Avx2Lanes, PackMode::kStore>(p, count, words, nullptr, nullptr, n, 0);
}

void PackAndInto(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, int64_t n) {
    PackEmptyBitsOver<Avx2Lanes, PackMode::kAndInto>(p, count, words, acc, nullptr, n, 0);
}

}  // namespace

EmptyBitKernels EmptyBitKernelsAvx2() {
    return EmptyBitKernels{Pack, PackAndInto, PackRowsUntilFullOver<Avx2Lanes>, AndUpwardsOver<Avx2Lanes>, ErodeAndOver<Avx2Lanes>};
}

}  // namespace maskfit

#include "simd/avx2_target_end.h"
