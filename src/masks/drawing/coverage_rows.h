// Rows of coverage bits, one bit per pixel column and 64 columns a word
// (column c is bit c % 64 of word c / 64), and the operations that turn the
// pixels of drawn rows into the pixels their brushes reach: row unions,
// widening along the row, and painting the covered pixels that are empty.
#ifndef MASKFIT_MASKS_DRAWING_COVERAGE_ROWS_H
#define MASKFIT_MASKS_DRAWING_COVERAGE_ROWS_H

#include <cstdint>

#include "masks/drawing/empty_fill.h"

namespace maskfit {

inline int64_t WordsFor(int64_t columns) { return (columns + 63) / 64; }

inline void OrRow(uint64_t* into, const uint64_t* from, int64_t words) {
    for (int64_t w = 0; w < words; ++w) {
        into[w] |= from[w];
    }
}

// The least and greatest covered columns of a row of `words` words; an empty
// span when none is.
Span64 CoveredColumns(const uint64_t* row, int64_t words);

// Clears in `into` every column set in `from`.
void ClearCovered(uint64_t* into, const uint64_t* from, int64_t words);

// Every column c takes the union of columns c - before .. c + after; columns
// at and past `columns` stay clear.
void Widen(uint64_t* row, int64_t columns, int64_t before, int64_t after);

// For each covered column c of first..last, stores `value` into the pixel
// of column c when it holds 0, and returns the columns painted; firstPixel
// is column first's pixel, and the pixels of first..last lie side by side.
// Only the pixels of first..last are read.
EmptySpan PaintCoveredEmpty(const uint64_t* row, int64_t first, int64_t last, uint8_t* firstPixel, uint8_t value);

}  // namespace maskfit

#endif
