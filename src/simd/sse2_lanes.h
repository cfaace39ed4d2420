// SSE2, the x86-64 baseline: the vector operations of the byte kernels
// (see byte_lanes.h), and the bit picture of a short run of bytes, inline
// for the strip search, which takes it for every board row it reads.
#ifndef MASKFIT_SIMD_SSE2_LANES_H
#define MASKFIT_SIMD_SSE2_LANES_H

#include <emmintrin.h>

#include <cstdint>

namespace maskfit {
namespace {

struct Sse2Lanes {
    using Vector = __m128i;
    static constexpr int64_t kWidth = 16;
    static constexpr uint32_t kAll = 0xFFFFu;
    static constexpr int64_t kBlock = 4;

    static Vector Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint8_t* p, Vector v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static Vector Zero(Vector v) { return _mm_cmpeq_epi8(v, _mm_setzero_si128()); }
    static uint32_t Mask(Vector v) { return static_cast<uint32_t>(_mm_movemask_epi8(v)); }
    static Vector And(Vector a, Vector b) { return _mm_and_si128(a, b); }
    static Vector Or(Vector a, Vector b) { return _mm_or_si128(a, b); }
    static Vector Ones() { return _mm_set1_epi8(-1); }
};

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
