// A triangle whose box is at most eight pixels each way, the usual triangle
// of a dense mesh, found inside in one go: the box as one 64-bit word, a
// byte a row and a bit a column, from 16-bit lanes stepped down all eight
// rows without a branch. The lanes hold each edge value modulo 2^16; where
// every exact value in the box lies within int16, that is the value itself,
// which the checked path's wrapping 32-bit sums reach too (they are exact
// there), so the signs, and the inside pixels, are the same. Exact edges
// also make each row's inside pixels one run: the triangle is convex.
#ifndef MASKFIT_MASKS_DRAWING_TINY_TRIANGLES_H
#define MASKFIT_MASKS_DRAWING_TINY_TRIANGLES_H

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "masks/drawing/triangle_scan.h"

namespace maskfit {

inline constexpr int64_t kTinySide = 8;

namespace tiny_detail {

// Each start and step within +-2047: then every exact value
// start + j * column + k * row of a box of at most eight columns and rows
// (j, k <= 7) lies within 15 * 2047 < 2^15 of 0.
inline constexpr int32_t kStepLimit = 2047;

// The nine values of the scan's three edges, side by side from rowStart on:
// the starts, the column steps and the row steps.
struct EdgeWords {
    __m128i startsAndColumn0;  // rowStart.e0..e2, columnStep.e0
    __m128i columnsAndRows;    // columnStep.e1, e2, rowStep.e0, e1
    int32_t row2;              // rowStep.e2
};

inline EdgeWords LoadEdgeWords(const TriangleScan& scan) {
    static_assert(offsetof(TriangleScan, columnStep) == offsetof(TriangleScan, rowStart) + 12 &&
                      offsetof(TriangleScan, rowStep) == offsetof(TriangleScan, columnStep) + 12,
                  "the three edges' values lie side by side");
    const auto* first = reinterpret_cast<const unsigned char*>(&scan.rowStart);
    return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(first)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + 16)), scan.rowStep.e2};
}

// The saturating pack to 16 bits keeps a value beyond the limit beyond it.
inline bool WithinStepLimit(const EdgeWords& words) {
    const __m128i packed = _mm_packs_epi32(words.startsAndColumn0, words.columnsAndRows);
    const __m128i outside = _mm_or_si128(_mm_cmpgt_epi16(packed, _mm_set1_epi16(kStepLimit)),
                                         _mm_cmplt_epi16(packed, _mm_set1_epi16(-kStepLimit)));
    return _mm_movemask_epi8(outside) == 0 && words.row2 >= -kStepLimit && words.row2 <= kStepLimit;
}

// Word w of `words` in all eight 16-bit lanes.
template <int W>
__m128i Broadcast(__m128i words) {
    if constexpr (W < 4) {
        return _mm_shuffle_epi32(_mm_shufflelo_epi16(words, _MM_SHUFFLE(W, W, W, W)), 0);
    } else {
        return _mm_shuffle_epi32(_mm_shufflehi_epi16(words, _MM_SHUFFLE(W - 4, W - 4, W - 4, W - 4)), 0xAA);
    }
}

// Lanes j = 0..7 of one edge along the box's first row.
inline __m128i FirstRow(__m128i start, __m128i column) {
    return _mm_add_epi16(start, _mm_mullo_epi16(column, _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7)));
}

// Byte k, bit j set where column j of row k has a negative edge value: the
// saturating pack keeps each lane's sign. The values fit in 16 bits
// (WithinStepLimit), so the pack to 16-bit lanes keeps them whole.
inline uint64_t OutsideOfEightRows(const EdgeWords& values) {
    const __m128i low = _mm_packs_epi32(values.startsAndColumn0, values.columnsAndRows);  // s0 s1 s2 c0 c1 c2 r0 r1
    const __m128i high = _mm_cvtsi32_si128(values.row2 & 0xFFFF);                        // r2
    __m128i edge[3] = {FirstRow(Broadcast<0>(low), Broadcast<3>(low)), FirstRow(Broadcast<1>(low), Broadcast<4>(low)),
                       FirstRow(Broadcast<2>(low), Broadcast<5>(low))};
    const __m128i down[3] = {Broadcast<6>(low), Broadcast<7>(low), Broadcast<0>(high)};
    uint64_t outside = 0;
    for (int pair = 0; pair < 4; ++pair) {
        __m128i any[2];
        for (__m128i& rowAny : any) {
            rowAny = _mm_or_si128(_mm_or_si128(edge[0], edge[1]), edge[2]);
            for (int i = 0; i < 3; ++i) {
                edge[i] = _mm_add_epi16(edge[i], down[i]);
            }
        }
        const auto bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(any[0], any[1])));
        outside |= uint64_t{bits} << (16 * pair);
    }
    return outside;
}

}  // namespace tiny_detail

// Bit j of byte k of `inside` is set exactly when the checked path finds
// column j of row k of the scan's box inside. False, with `inside`
// untouched, for a box wider or taller than kTinySide or an edge start or
// step beyond kStepLimit.
inline bool TinyInsideBits(const TriangleScan& scan, uint64_t& inside) {
    const int64_t lastColumn = int64_t{scan.x1} - scan.x0;
    const int64_t lastRow = int64_t{scan.y1} - scan.y0;
    if (lastColumn >= kTinySide || lastRow >= kTinySide) {
        return false;
    }
    const tiny_detail::EdgeWords words = tiny_detail::LoadEdgeWords(scan);
    if (!tiny_detail::WithinStepLimit(words)) {
        return false;
    }
    constexpr uint64_t kEveryByte = 0x0101010101010101ull;
    const uint64_t columns = ((uint64_t{2} << lastColumn) - 1) * kEveryByte;
    const uint64_t rows = ~uint64_t{0} >> (8 * (kTinySide - 1 - lastRow));
    inside = ~tiny_detail::OutsideOfEightRows(words) & columns & rows;
    return true;
}

}  // namespace maskfit

#endif
