// Stores of exact length, for the runs of bytes that a fast path may write
// and no byte beside them: a run is covered by two stores of the largest
// width that fits it, overlapping in its middle, so every byte stored lies
// in the run.
#ifndef MASKFIT_SIMD_BYTE_RUNS_H
#define MASKFIT_SIMD_BYTE_RUNS_H

#include <cstdint>
#include <cstring>

namespace maskfit {

// Calls visit(first, count) for each run of consecutive set bits, lowest first.
template <typename Visit>
void ForEachRunOfBits(uint32_t bits, Visit visit) {
    while (bits != 0) {
        const int32_t first = __builtin_ctz(bits);
        const uint32_t fromFirst = bits >> first;
        const int32_t count = ~fromFirst == 0 ? 32 - first : __builtin_ctz(~fromFirst);
        visit(first, count);
        bits = count + first >= 32 ? 0 : bits & (~0u << (first + count));
    }
}

// Two copies of Width bytes: the run's first and its last.
template <int Width>
void CopyEnds(uint8_t* dst, const uint8_t* src, int32_t count) {
    uint8_t head[Width];
    uint8_t tail[Width];
    std::memcpy(head, src, Width);
    std::memcpy(tail, src + count - Width, Width);
    std::memcpy(dst, head, Width);
    std::memcpy(dst + count - Width, tail, Width);
}

// Copies count (1 to 32) bytes from src to dst, storing to no other byte.
inline void CopyRun(uint8_t* dst, const uint8_t* src, int32_t count) {
    if (count >= 16) {
        CopyEnds<16>(dst, src, count);
    } else if (count >= 8) {
        CopyEnds<8>(dst, src, count);
    } else if (count >= 4) {
        CopyEnds<4>(dst, src, count);
    } else if (count >= 2) {
        CopyEnds<2>(dst, src, count);
    } else {
        *dst = *src;
    }
}

// Stores `value` into count (1 to 32) bytes from p, and into no other byte.
inline void FillRun32(uint8_t* p, uint8_t value, int32_t count) {
    uint8_t pattern[32];
    std::memset(pattern, value, sizeof pattern);
    CopyRun(p, pattern, count);
}

}  // namespace maskfit

#endif
