// Rows of coverage bits, one bit per pixel column and 64 columns a word
// (column c is bit c % 64 of word c / 64), and the operations that turn the
// pixels of drawn runs into the pixels their brushes reach: row unions,
// widening along the row, folding onto a clamp column, and painting the
// covered pixels that are empty.
#ifndef MASKFIT_MASKS_DRAWING_COVERAGE_ROWS_H
#define MASKFIT_MASKS_DRAWING_COVERAGE_ROWS_H

#include <cstdint>

#include "masks/drawing/empty_fill.h"

namespace maskfit {

inline int64_t WordsFor(int64_t columns) { return (columns + 63) / 64; }

// Sets columns first..last (0 <= first <= last).
inline void SetColumns(uint64_t* row, int64_t first, int64_t last) {
    constexpr uint64_t kAllBits = ~uint64_t{0};
    const auto lo = static_cast<uint64_t>(first);
    const auto hi = static_cast<uint64_t>(last);
    const uint64_t w0 = lo / 64;
    const uint64_t w1 = hi / 64;
    const uint64_t from = kAllBits << (lo % 64);
    const uint64_t to = kAllBits >> (63 - hi % 64);
    if (w0 == w1) {
        row[w0] |= from & to;
        return;
    }
    row[w0] |= from;
    for (uint64_t w = w0 + 1; w < w1; ++w) {
        row[w] = kAllBits;
    }
    row[w1] |= to;
}

void OrRow(uint64_t* into, const uint64_t* from, int64_t words);

// Every column c takes the union of columns c - before .. c + after; columns
// at and past `columns` stay clear.
void Widen(uint64_t* row, int64_t columns, int64_t before, int64_t after);

// Columns at and past `limit` (< columns) move onto column `limit`.
void FoldOnto(uint64_t* row, int64_t columns, int64_t limit);

// For each covered column c of first..last, stores `value` into the pixel
// of column c when it holds 0, and returns the columns painted; firstPixel is column first's pixel, and the
// pixels of first..last lie side by side.
EmptySpan PaintCoveredEmpty(const uint64_t* row, int64_t first, int64_t last, uint8_t* firstPixel, uint8_t value);

}  // namespace maskfit

#endif
