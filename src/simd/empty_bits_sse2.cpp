// SSE2, the x86-64 baseline, and the choice of version: runs long enough
// for a 32-byte vector go to the AVX2 version where the CPU has it.
#include "simd/empty_bits.h"

#include "simd/byte_kernel_variants.h"
#include "simd/empty_bits_wide.inl"
#include "simd/sse2_lanes.h"

namespace maskfit {

void PackEmptyBitsSse2(const uint8_t* p, int64_t count, uint64_t* words) {
    if (count >= Sse2Lanes::kWidth) {
        PackEmptyBitsOver<Sse2Lanes>(p, count, words);
        return;
    }
    uint64_t bits = 0;
    for (int64_t t = 0; t < count; ++t) {
        bits |= static_cast<uint64_t>(p[t] == 0) << t;
    }
    if (count > 0) {
        words[0] = bits;
    }
}

void PackEmptyBits(const uint8_t* p, int64_t count, uint64_t* words) {
    if (count >= 2 * Sse2Lanes::kWidth && HasAvx2()) {
        PackEmptyBitsAvx2(p, count, words);
        return;
    }
    PackEmptyBitsSse2(p, count, words);
}

}  // namespace maskfit
