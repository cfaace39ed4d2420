#include "masks/drawing/empty_fill.h"

#include <cstring>

#include "simd/byte_runs.h"

namespace maskfit {
namespace {

// Stores `value` at the bytes of p whose bits are set, run by run.
void StoreAtBits(uint8_t* p, uint32_t bits, uint8_t value) {
    ForEachRunOfBits(bits, [&](int32_t first, int32_t count) { StoreRun(p + first, count, value); });
}

// One chunk of Bytes (16, 8 or 4): fills its empty bytes where `lanes` is
// set, returns their bits. A chunk with no byte to fill is not stored. With
// kEmptyOnly a chunk is stored whole only when every byte of it is filled,
// else byte by byte, so that no other byte is stored to; with kWholeBox,
// whose every byte the checked path rewrites, it is stored whole.
template <int Bytes>
uint32_t FillChunk(uint8_t* p, uint8_t value, FillWrites writes, __m128i lanes = _mm_set1_epi8(-1)) {
    __m128i v;
    if constexpr (Bytes == 16) {
        v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    } else if constexpr (Bytes == 8) {
        v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    } else {
        int32_t word;
        std::memcpy(&word, p, sizeof word);
        v = _mm_cvtsi32_si128(word);
    }
    const __m128i empty = _mm_and_si128(_mm_cmpeq_epi8(v, _mm_setzero_si128()), lanes);
    constexpr uint32_t kChunk = (1u << Bytes) - 1u;
    const uint32_t bits = static_cast<uint32_t>(_mm_movemask_epi8(empty)) & kChunk;
    if (bits == 0) {
        return 0;
    }
    if (writes == FillWrites::kEmptyOnly && bits != kChunk) {
        StoreAtBits(p, bits, value);
        return bits;
    }
    const __m128i out = _mm_or_si128(v, _mm_and_si128(empty, _mm_set1_epi8(static_cast<char>(value))));
    if constexpr (Bytes == 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), out);
    } else if constexpr (Bytes == 8) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), out);
    } else {
        const int32_t word = _mm_cvtsi128_si32(out);
        std::memcpy(p, &word, sizeof word);
    }
    return bits;
}

// A short row as two chunks that overlap; the second finds the bytes the
// first filled no longer empty, unless the value is 0, which the checked
// path would store there again too.
template <int Bytes>
void FillShortRow(uint8_t* p, int64_t n, uint8_t value, FillWrites writes, EmptySpan& hits) {
    hits.Add(0, FillChunk<Bytes>(p, value, writes));
    hits.Add(n - Bytes, FillChunk<Bytes>(p + n - Bytes, value, writes));
}

// A chunk of a box whose every byte the checked path rewrites: stored whole,
// with no branch on what it held; returns the bits of the bytes that were 0.
uint32_t RewriteSixteen(uint8_t* p, __m128i fill) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i empty = _mm_cmpeq_epi8(v, _mm_setzero_si128());
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_or_si128(v, _mm_and_si128(empty, fill)));
    return static_cast<uint32_t>(_mm_movemask_epi8(empty));
}

EmptySpan FillEmptyRow(uint8_t* p, int64_t n, uint8_t value, FillWrites writes) {
    EmptySpan hits;
    if (n >= 16 && writes == FillWrites::kWholeBox) {
        const __m128i fill = _mm_set1_epi8(static_cast<char>(value));
        int64_t i = 0;
        for (; i + 16 <= n; i += 16) {
            hits.Add(i, RewriteSixteen(p + i, fill));
        }
        if (i < n) {
            hits.Add(n - 16, RewriteSixteen(p + n - 16, fill));
        }
    } else if (n >= 16) {
        int64_t i = 0;
        for (; i + 16 <= n; i += 16) {
            hits.Add(i, FillChunk<16>(p + i, value, writes));
        }
        if (i < n) {
            hits.Add(n - 16, FillChunk<16>(p + n - 16, value, writes));
        }
    } else if (n >= 8) {
        FillShortRow<8>(p, n, value, writes, hits);
    } else if (n >= 4) {
        FillShortRow<4>(p, n, value, writes, hits);
    } else {
        for (int64_t i = 0; i < n; ++i) {
            if (p[i] == 0) {
                p[i] = value;
                hits.Add(i, 1);
            }
        }
    }
    return hits;
}

}  // namespace

void EmptySpan::Add(int64_t offset, uint32_t bits) {
    if (bits == 0) {
        return;
    }
    const int64_t lo = offset + __builtin_ctz(bits);
    const int64_t hi = offset + 31 - __builtin_clz(bits);
    first = lo < first ? lo : first;
    last = hi > last ? hi : last;
}

uint32_t FillEmptySixteen(uint8_t* p, uint8_t value, __m128i lanes) {
    return FillChunk<16>(p, value, FillWrites::kEmptyOnly, lanes);
}

void FillEmpty(const ShapeMask& mask, const LocalBox& box, uint8_t value, FillWrites writes, DirtyRect& found) {
    const int64_t n = box.columns.hi - box.columns.lo + 1;
    for (int64_t y = box.rows.lo; y <= box.rows.hi; ++y) {
        const EmptySpan hits = FillEmptyRow(PixelAddress(mask, box.columns.lo, y), n, value, writes);
        if (hits.first <= hits.last) {
            WidenDirtyWith(found, LocalBox{{box.columns.lo + hits.first, box.columns.lo + hits.last}, {y, y}});
        }
    }
}

bool TryFillEmpty(const ShapeMask& mask, const LocalBox& box, uint8_t value, FillWrites writes, DirtyRect& found) {
    if (IsEmpty(box)) {
        return true;
    }
    if (!HostChecksSkipped(mask.pixels) || !PixelsAddressable(mask, box)) {
        return false;
    }
    FillEmpty(mask, box, value, writes, found);
    return true;
}

}  // namespace maskfit
