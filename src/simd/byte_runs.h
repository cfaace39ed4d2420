// Stores of exact length, for the runs of bytes that a fast path may write
// and no byte beside them: a run is covered by two stores of the largest
// width that fits it, overlapping in its middle, so every byte stored lies
// in the run.
#ifndef MASKFIT_SIMD_BYTE_RUNS_H
#define MASKFIT_SIMD_BYTE_RUNS_H

#include <emmintrin.h>

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

// Stores `value` into the n >= 1 bytes from p, and into no other byte. One to
// three pixels, the usual run of a small triangle's row, take three byte
// stores (the first, the last and the middle one) and no further branch.
inline void StoreRun(uint8_t* p, int64_t n, uint8_t value) {
    if (n < 4) {
        p[0] = value;
        p[n - 1] = value;
        p[n / 2] = value;
        return;
    }
    if (n < 16) {
        // Two stores of 8 (or 4) copies of the value, overlapping in the middle.
        const uint64_t eight = value * 0x0101010101010101ull;
        if (n >= 8) {
            std::memcpy(p, &eight, 8);
            std::memcpy(p + n - 8, &eight, 8);
        } else {
            const auto four = static_cast<uint32_t>(eight);
            std::memcpy(p, &four, 4);
            std::memcpy(p + n - 4, &four, 4);
        }
        return;
    }
    const __m128i fill = _mm_set1_epi8(static_cast<char>(value));
    for (int64_t i = 0; i + 16 < n; i += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), fill);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + n - 16), fill);
}

}  // namespace maskfit

#endif
