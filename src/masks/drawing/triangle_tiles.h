// Up to sixteen columns of a triangle's scan at once: the three edge values
// of every column held in vectors of 32-bit lanes and stepped from row to
// row with wrapping vector additions, as the checked path steps them one by
// one. Sums modulo 2^32 do not depend on their order, so each lane holds the
// very value the checked path reaches at its pixel, whatever the edges, and
// the row's inside pixels come out as bits: exact even where edge values
// wrap, and without a division.
#ifndef MASKFIT_MASKS_DRAWING_TRIANGLE_TILES_H
#define MASKFIT_MASKS_DRAWING_TRIANGLE_TILES_H

#include <emmintrin.h>

#include <cstdint>

#include "masks/drawing/triangle_scan.h"
#include "runtime/int_math.h"

namespace maskfit {

inline constexpr int32_t kTileColumns = 16;

namespace tile_detail {

// Lanes j = 0..3 of one edge: start + j * step.
inline __m128i FirstFour(int32_t start, int32_t step) {
    const int32_t second = WrapAdd(start, step);
    const int32_t third = WrapAdd(second, step);
    return _mm_setr_epi32(start, second, third, WrapAdd(third, step));
}

// Bit j set where lane j of the four-lane groups is inside: saturating
// packs keep each lane's sign, and the sign of the OR of the three edge
// values is the checked path's inside test.
template <int Vectors>
uint32_t InsideLanes(const __m128i (&edge)[3][Vectors]) {
    __m128i any[Vectors];
    for (int q = 0; q < Vectors; ++q) {
        any[q] = _mm_or_si128(_mm_or_si128(edge[0][q], edge[1][q]), edge[2][q]);
    }
    if constexpr (Vectors == 2) {
        const __m128i words = _mm_packs_epi32(any[0], any[1]);
        return ~static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(words, words))) & 0xFFu;
    } else {
        const __m128i low = _mm_packs_epi32(any[0], any[1]);
        const __m128i high = _mm_packs_epi32(any[2], any[3]);
        return ~static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high))) & 0xFFFFu;
    }
}

// One row a step, `Vectors` (2 or 4) groups of four columns.
template <int Vectors, typename Row>
void TileRows(const EdgeValues& start, const EdgeValues& column, const EdgeValues& row, uint32_t keep, int64_t rows,
              Row& visit) {
    const int32_t starts[3] = {start.e0, start.e1, start.e2};
    const int32_t columns[3] = {column.e0, column.e1, column.e2};
    const int32_t rowSteps[3] = {row.e0, row.e1, row.e2};
    __m128i edge[3][Vectors];
    __m128i down[3];
    for (int i = 0; i < 3; ++i) {
        edge[i][0] = FirstFour(starts[i], columns[i]);
        const __m128i across = _mm_set1_epi32(WrapMul(4, columns[i]));
        for (int q = 1; q < Vectors; ++q) {
            edge[i][q] = _mm_add_epi32(edge[i][q - 1], across);
        }
        down[i] = _mm_set1_epi32(rowSteps[i]);
    }
    for (int64_t k = 0; k < rows; ++k) {
        visit(k, InsideLanes(edge) & keep);
        for (int i = 0; i < 3; ++i) {
            for (int q = 0; q < Vectors; ++q) {
                edge[i][q] = _mm_add_epi32(edge[i][q], down[i]);
            }
        }
    }
}

}  // namespace tile_detail

// Calls visit(k, bits) for rows k = 0 .. rows - 1 of a tile of `columns`
// (1 to 16) columns whose first pixel has the edge values `start`: bit j is
// set exactly when the checked path finds column j of row k inside.
template <typename Row>
void ForEachTileRow(const EdgeValues& start, const EdgeValues& column, const EdgeValues& row, int32_t columns,
                    int64_t rows, Row&& visit) {
    const uint32_t keep = (1u << columns) - 1u;
    // Two sizes only: choosing among more costs more in missed branches on
    // meshes of small triangles than the narrower blocks save.
    if (columns <= 8) {
        tile_detail::TileRows<2>(start, column, row, keep, rows, visit);
    } else {
        tile_detail::TileRows<4>(start, column, row, keep, rows, visit);
    }
}

}  // namespace maskfit

#endif
