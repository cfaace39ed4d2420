// PackEmptyBits written once over a vector width (byte_lanes.h), for
// count >= Lanes::kWidth: each chunk's zero test gives its bits at once;
// the last chunk of a run that does not end on a chunk boundary ends at
// count, and the bits it re-reads are shifted out.
#ifndef MASKFIT_SIMD_EMPTY_BITS_WIDE_INL
#define MASKFIT_SIMD_EMPTY_BITS_WIDE_INL

#include <cstdint>

#include "simd/byte_kernels_wide.inl"

namespace maskfit {
namespace {

template <typename Lanes>
void PackEmptyBitsOver(const uint8_t* p, int64_t count, uint64_t* words) {
    constexpr int64_t kWidth = Lanes::kWidth;
    int64_t k = 0;
    for (; (k + 1) * 64 <= count; ++k) {
        uint64_t bits = 0;
        for (int64_t c = 0; c < 64; c += kWidth) {
            bits |= static_cast<uint64_t>(ZeroMask<Lanes>(p + k * 64 + c)) << c;
        }
        words[k] = bits;
    }
    const int64_t start = k * 64;
    if (start == count) {
        return;
    }
    uint64_t bits = 0;
    int64_t t = start;
    for (; t + kWidth <= count; t += kWidth) {
        bits |= static_cast<uint64_t>(ZeroMask<Lanes>(p + t)) << (t - start);
    }
    if (t < count) {
        const uint32_t last = ZeroMask<Lanes>(p + count - kWidth) >> (kWidth - (count - t));
        bits |= static_cast<uint64_t>(last) << (t - start);
    }
    words[k] = bits;
}

}  // namespace
}  // namespace maskfit

#endif
