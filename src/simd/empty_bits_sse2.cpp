// SSE2, the x86-64 baseline, and the choice of kernels.
#include "simd/empty_bits.h"

#include "simd/byte_kernel_variants.h"
#include "simd/empty_bits_wide.inl"
#include "simd/sse2_lanes.h"

namespace maskfit {
namespace {

// The empty bits of a run shorter than a vector, one pixel at a time.
uint64_t EmptyBitsOfShortRun(const uint8_t* p, int64_t count) {
    uint64_t bits = 0;
    for (int64_t t = 0; t < count; ++t) {
        bits |= static_cast<uint64_t>(p[t] == 0) << t;
    }
    return bits;
}

// Runs shorter than a vector take the first word alone; the rest are clear.
template <bool kAndInto>
void PackShortRun(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, int64_t n) {
    for (int64_t k = 0; k < n; ++k) {
        words[k] = k == 0 ? EmptyBitsOfShortRun(p, count) : 0;
        if constexpr (kAndInto) {
            acc[k] &= words[k];
        }
    }
}

void Pack(const uint8_t* p, int64_t count, uint64_t* words, int64_t n) {
    if (count < Sse2Lanes::kWidth) {
        PackShortRun<false>(p, count, words, nullptr, n);
        return;
    }
    PackEmptyBitsOver<Sse2Lanes, false>(p, count, words, nullptr, n);
}

void PackAndInto(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, int64_t n) {
    if (count < Sse2Lanes::kWidth) {
        PackShortRun<true>(p, count, words, acc, n);
        return;
    }
    PackEmptyBitsOver<Sse2Lanes, true>(p, count, words, acc, n);
}

}  // namespace

EmptyBitKernels EmptyBitKernelsSse2() {
    return EmptyBitKernels{Pack, PackAndInto, AndUpwardsOver<Sse2Lanes>, ErodeAndOver<Sse2Lanes>};
}

EmptyBitKernels ChooseEmptyBitKernels(int64_t pixelsPerRow) {
    return pixelsPerRow >= 32 && HasAvx2() ? EmptyBitKernelsAvx2() : EmptyBitKernelsSse2();
}

}  // namespace maskfit
