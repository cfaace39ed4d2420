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
template <PackMode kMode>
void PackShortRun(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, const uint64_t* below,
                  uint64_t* full, int64_t n) {
    if constexpr (kMode == PackMode::kStep) {
        ClearFullBytes(full, n);
    }
    for (int64_t k = 0; k < n; ++k) {
        words[k] = k == 0 ? EmptyBitsOfShortRun(p, count) : 0;
        if constexpr (kMode != PackMode::kStore) {
            acc[k] &= words[k];
        }
        if constexpr (kMode == PackMode::kStep) {
            for (int64_t b = 0; b < 8; ++b) {
                const uint64_t set = (acc[k] & below[k]) >> (8 * b) & 0xFF;
                full[k / 8] |= static_cast<uint64_t>(set == 0xFF) << (8 * (k % 8) + b);
            }
        }
    }
}

template <PackMode kMode>
void PackRun(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, const uint64_t* below, uint64_t* full,
             int64_t n) {
    if (count < Sse2Lanes::kWidth) {
        PackShortRun<kMode>(p, count, words, acc, below, full, n);
        return;
    }
    PackEmptyBitsOver<Sse2Lanes, kMode>(p, count, words, acc, below, full, n);
}

void Pack(const uint8_t* p, int64_t count, uint64_t* words, int64_t n) {
    PackRun<PackMode::kStore>(p, count, words, nullptr, nullptr, nullptr, n);
}

void PackAndInto(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, int64_t n) {
    PackRun<PackMode::kAndInto>(p, count, words, acc, nullptr, nullptr, n);
}

void PackStep(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, const uint64_t* below, uint64_t* full,
              int64_t n) {
    PackRun<PackMode::kStep>(p, count, words, acc, below, full, n);
}

}  // namespace

EmptyBitKernels EmptyBitKernelsSse2() {
    return EmptyBitKernels{Pack, PackAndInto, PackStep, AndUpwardsOver<Sse2Lanes>, ErodeAndOver<Sse2Lanes>};
}

EmptyBitKernels ChooseEmptyBitKernels(int64_t pixelsPerRow) {
    return pixelsPerRow >= 32 && HasAvx2() ? EmptyBitKernelsAvx2() : EmptyBitKernelsSse2();
}

}  // namespace maskfit
