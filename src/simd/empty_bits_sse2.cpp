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
bool PackShortRun(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, const uint64_t* below, int64_t n,
                  int64_t bytes) {
    for (int64_t k = 0; k < n; ++k) {
        words[k] = k == 0 ? EmptyBitsOfShortRun(p, count) : 0;
        if constexpr (kMode != PackMode::kStore) {
            acc[k] &= words[k];
        }
    }
    if constexpr (kMode == PackMode::kStep) {
        // Only the first word holds set bits.
        uint64_t fullBytes = 0;
        for (int64_t b = 0; b < 8; ++b) {
            fullBytes |= static_cast<uint64_t>(((acc[0] & below[0]) >> (8 * b) & 0xFF) == 0xFF) << b;
        }
        return RunStartsIn(fullBytes, 0, bytes);
    }
    return false;
}

template <PackMode kMode>
bool PackRun(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, const uint64_t* below, int64_t n,
             int64_t bytes) {
    if (count < Sse2Lanes::kWidth) {
        return PackShortRun<kMode>(p, count, words, acc, below, n, bytes);
    }
    return PackEmptyBitsOver<Sse2Lanes, kMode>(p, count, words, acc, below, n, bytes);
}

void Pack(const uint8_t* p, int64_t count, uint64_t* words, int64_t n) {
    PackRun<PackMode::kStore>(p, count, words, nullptr, nullptr, n, 0);
}

void PackAndInto(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, int64_t n) {
    PackRun<PackMode::kAndInto>(p, count, words, acc, nullptr, n, 0);
}

int64_t PackRowsUntilFull(const uint8_t* p, int64_t stride, int64_t count, int64_t rows, uint64_t* words,
                          uint64_t* acc, const uint64_t* below, int64_t n, int64_t bytes) {
    if (count >= Sse2Lanes::kWidth) {
        return PackRowsUntilFullOver<Sse2Lanes>(p, stride, count, rows, words, acc, below, n, bytes);
    }
    for (int64_t j = 0; j < rows; ++j) {
        if (PackShortRun<PackMode::kStep>(p + j * stride, count, words + j * n, acc, below + j * n, n, bytes)) {
            return j;
        }
    }
    return rows;
}

}  // namespace

EmptyBitKernels EmptyBitKernelsSse2() {
    return EmptyBitKernels{Pack, PackAndInto, PackRowsUntilFull, AndUpwardsOver<Sse2Lanes>, ErodeAndOver<Sse2Lanes>};
}

EmptyBitKernels ChooseEmptyBitKernels(int64_t pixelsPerRow) {
    return pixelsPerRow >= 32 && HasAvx2() ? EmptyBitKernelsAvx2() : EmptyBitKernelsSse2();
}

}  // namespace maskfit
