// SSE2, the x86-64 baseline: the lanes of the byte kernels, and the bit
// picture of a short run of bytes, inline for the margin sweep, which takes
// it for every drawn row it reads.
#ifndef MASKFIT_SIMD_SSE2_LANES_H
#define MASKFIT_SIMD_SSE2_LANES_H

#include <cstdint>

#include "simd/byte_lanes.h"

namespace maskfit {
namespace {

using Sse2Lanes = ByteLanes<16>;

// Bit t set where byte t of the 16 at p is non-zero.
inline uint32_t SetMask16(const uint8_t* p) { return ~Sse2Lanes::Mask(Sse2Lanes::Zero(Sse2Lanes::Load(p))) & 0xFFFFu; }

// Bit t set exactly when p[t] is non-zero, for count <= 64; reads only
// [p, p + count).
inline uint64_t SetBits(const uint8_t* p, int32_t count) {
    uint64_t bits = 0;
    int32_t t = 0;
    for (; t + 16 <= count; t += 16) {
        bits |= static_cast<uint64_t>(SetMask16(p + t)) << t;
    }
    if (t == count) {
        return bits;
    }
    if (count >= 16) {
        // The chunk ending at count; drop the positions below t it re-reads.
        return bits | static_cast<uint64_t>(SetMask16(p + count - 16) >> (t - (count - 16))) << t;
    }
    for (; t < count; ++t) {
        bits |= static_cast<uint64_t>(p[t] != 0) << t;
    }
    return bits;
}

}  // namespace
}  // namespace maskfit

#endif
