// SSE2 versions: the x86-64 baseline, so they run on every host CPU. Runs
// long enough for a 32-byte vector go to the AVX2 versions where the CPU
// has them.
#include "simd/byte_kernels.h"

#include "simd/byte_kernels_wide.inl"
#include "simd/byte_kernel_variants.h"
#include "simd/sse2_lanes.h"

namespace maskfit {
namespace {

constexpr int64_t kChunk = Sse2Lanes::kWidth;

}  // namespace

bool AnyBothSetSse2(const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride, int64_t count, int64_t rows) {
    return AnyBothSetInRows<Sse2Lanes>(a, aStride, b, bStride, count, rows);
}

CopiedSpan CopySetBytesSse2(uint8_t* dst, const uint8_t* src, int64_t count) {
    return CopySetBytesOver<Sse2Lanes>(dst, src, count);
}

bool AnyBothSet(const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride, int64_t count, int64_t rows) {
    if (count >= 2 * kChunk && HasAvx2()) {
        return AnyBothSetAvx2(a, aStride, b, bStride, count, rows);
    }
    return AnyBothSetSse2(a, aStride, b, bStride, count, rows);
}

CopiedSpan CopySetBytes(uint8_t* dst, const uint8_t* src, int64_t count) {
    if (count >= 2 * kChunk && HasAvx2()) {
        return CopySetBytesAvx2(dst, src, count);
    }
    return CopySetBytesSse2(dst, src, count);
}

bool AnySet(const uint8_t* p, int64_t count) {
    if (count < kChunk) {
        return AnyByte(count, [&](int64_t i) { return p[i] != 0; });
    }
    return AnyChunk<Sse2Lanes>(count, [&](int64_t i) { return SetMask16(p + i) != 0; });
}

bool AllSet(const uint8_t* p, int64_t count) {
    if (count < kChunk) {
        return !AnyByte(count, [&](int64_t i) { return p[i] == 0; });
    }
    return !AnyChunk<Sse2Lanes>(count, [&](int64_t i) { return ZeroMask<Sse2Lanes>(p + i) != 0; });
}

}  // namespace maskfit
