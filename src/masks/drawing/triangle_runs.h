// The rows of a scanned triangle as runs: where a row's three edge values
// are all >= 0, found from the edges' values at the row's start instead of by
// stepping from pixel to pixel, and carried from row to row without a
// division. This holds whenever no edge value wraps in the box, which
// EdgesExactInBox tells.
#ifndef MASKFIT_MASKS_DRAWING_TRIANGLE_RUNS_H
#define MASKFIT_MASKS_DRAWING_TRIANGLE_RUNS_H

#include <emmintrin.h>

#include <cstdint>
#include <initializer_list>

#include "masks/fast_preconditions.h"
#include "masks/drawing/triangle_scan.h"

namespace maskfit {

// Floor division by a positive divisor: value = quotient * divisor + remainder, 0 <= remainder < divisor.
struct FloorDivision {
    int64_t quotient, remainder;
};

inline FloorDivision DivideFloor(int64_t value, int64_t divisor) {
    FloorDivision d{value / divisor, value % divisor};
    if (d.remainder < 0) {
        d.remainder += divisor;
        d.quotient -= 1;
    }
    return d;
}

// An edge's values are affine in the column and the row, so they stay within
// 32 bits across the box when they do at its corners; the checked path's
// wrapping sums then equal the exact values, and each row's inside pixels
// form one run.
inline bool EdgeExactInBox(int32_t start, int32_t columnStep, int32_t rowStep, int64_t lastColumn, int64_t lastRow) {
    for (const int64_t row : {int64_t{0}, lastRow}) {
        for (const int64_t column : {int64_t{0}, lastColumn}) {
            if (!FitsInt32(start + row * rowStep + column * columnStep)) {
                return false;
            }
        }
    }
    return true;
}

inline bool EdgesExactInBox(const TriangleScan& scan) {
    const int64_t lastColumn = int64_t{scan.x1} - scan.x0;
    const int64_t lastRow = int64_t{scan.y1} - scan.y0;
    const EdgeValues& s = scan.rowStart;
    const EdgeValues& c = scan.columnStep;
    const EdgeValues& r = scan.rowStep;
    return EdgeExactInBox(s.e0, c.e0, r.e0, lastColumn, lastRow) &&
           EdgeExactInBox(s.e1, c.e1, r.e1, lastColumn, lastRow) &&
           EdgeExactInBox(s.e2, c.e2, r.e2, lastColumn, lastRow);
}

// floor(value / unit) of four values that each grow by a fixed step from
// row to row, one a lane, carried without a division: each step adds its
// own quotient and remainder, and a remainder that reaches the unit carries
// one. Every quotient, remainder and unit must fit in 32 bits, and twice a
// unit too.
struct FloorWalks {
    __m128i quotient, remainder;
    __m128i stepQuotient, stepRemainder;
    __m128i unitLess1, unit;

    void NextRow() {
        quotient = _mm_add_epi32(quotient, stepQuotient);
        remainder = _mm_add_epi32(remainder, stepRemainder);
        const __m128i carry = _mm_cmpgt_epi32(remainder, unitLess1);  // all ones where remainder >= unit
        remainder = _mm_sub_epi32(remainder, _mm_and_si128(carry, unit));
        quotient = _mm_sub_epi32(quotient, carry);
    }
};

// Calls run(y, first, last) for every row y of the box that has inside
// pixels, first..last being their columns; all in triangle space. The
// scan's edges must be exact in its box (EdgesExactInBox), so that the
// value of an edge at column j of row k is start + k * rowStep + j * step
// exactly. It is >= 0 from column ceil(-(start + k * rowStep) / step) on for
// a rising edge (step > 0), up to column floor((start + k * rowStep) / -step)
// for a falling one, and in the whole row or nowhere for a flat one, which
// so bounds the rows instead. The three steps are the rounded differences
// of the corners' y around the triangle: at most two share a sign, so two
// lanes walk the rising edges and two the falling ones (a lane without an
// edge bounds nothing). Returns false, having called nothing, should more
// than two share a sign or a unit be too large for the lanes. `run` is
// taken and handed back by value, so that what it keeps stays in registers:
// through a reference, every pixel store might have changed it.
template <typename Run>
bool ForEachRun(const TriangleScan& scan, Run& run) {
    const int64_t last = int64_t{scan.x1} - scan.x0;
    int64_t firstRow = 0;
    int64_t lastRow = int64_t{scan.y1} - scan.y0;
    const int32_t starts[3] = {scan.rowStart.e0, scan.rowStart.e1, scan.rowStart.e2};
    const int32_t columns[3] = {scan.columnStep.e0, scan.columnStep.e1, scan.columnStep.e2};
    const int32_t rows[3] = {scan.rowStep.e0, scan.rowStep.e1, scan.rowStep.e2};
    for (int i = 0; i < 3; ++i) {
        if (columns[i] != 0) {
            continue;
        }
        if (rows[i] > 0) {
            const int64_t from = -DivideFloor(starts[i], rows[i]).quotient;
            firstRow = from > firstRow ? from : firstRow;
        } else if (rows[i] < 0) {
            const int64_t to = DivideFloor(starts[i], -int64_t{rows[i]}).quotient;
            lastRow = to < lastRow ? to : lastRow;
        } else if (starts[i] < 0) {
            return true;  // outside in every row
        }
    }
    // Lanes 0 and 1: rising edges, lanes 2 and 3: falling ones; a lane
    // without an edge keeps quotient 0 (or `last`), unit 1, steps 0.
    alignas(16) int32_t quotient[4] = {0, 0, static_cast<int32_t>(last), static_cast<int32_t>(last)};
    alignas(16) int32_t remainder[4] = {0, 0, 0, 0};
    alignas(16) int32_t stepQuotient[4] = {0, 0, 0, 0};
    alignas(16) int32_t stepRemainder[4] = {0, 0, 0, 0};
    alignas(16) int32_t unit[4] = {1, 1, 1, 1};
    int rising = 0, falling = 0;
    for (int i = 0; i < 3; ++i) {
        if (columns[i] == 0) {
            continue;
        }
        const int lane = columns[i] > 0 ? rising++ : 2 + falling++;
        if (lane > 3) {
            return false;
        }
        const int64_t divisor = columns[i] > 0 ? int64_t{columns[i]} : -int64_t{columns[i]};
        if (divisor >= (int64_t{1} << 30)) {
            return false;
        }
        const FloorDivision start = DivideFloor(starts[i] + firstRow * rows[i], divisor);
        const FloorDivision step = DivideFloor(rows[i], divisor);
        quotient[lane] = static_cast<int32_t>(start.quotient);
        remainder[lane] = static_cast<int32_t>(start.remainder);
        stepQuotient[lane] = static_cast<int32_t>(step.quotient);
        stepRemainder[lane] = static_cast<int32_t>(step.remainder);
        unit[lane] = static_cast<int32_t>(divisor);
    }
    const auto load = [](const int32_t* lanes) { return _mm_load_si128(reinterpret_cast<const __m128i*>(lanes)); };
    FloorWalks walks{load(quotient), load(remainder), load(stepQuotient), load(stepRemainder),
                     _mm_sub_epi32(load(unit), _mm_set1_epi32(1)), load(unit)};
    Run drawing = run;
    // Copies, kept in registers: the scan might change with any pixel store.
    const int64_t x0 = scan.x0;
    const int64_t y0 = scan.y0;
    for (int64_t k = firstRow; k <= lastRow; ++k) {
        const __m128i q = walks.quotient;
        const int32_t low0 = _mm_cvtsi128_si32(q);
        const int32_t low1 = _mm_cvtsi128_si32(_mm_shuffle_epi32(q, _MM_SHUFFLE(1, 1, 1, 1)));
        const int32_t high0 = _mm_cvtsi128_si32(_mm_shuffle_epi32(q, _MM_SHUFFLE(2, 2, 2, 2)));
        const int32_t high1 = _mm_cvtsi128_si32(_mm_shuffle_epi32(q, _MM_SHUFFLE(3, 3, 3, 3)));
        const int64_t least = low0 < low1 ? low0 : low1;
        const int64_t lo = -least > 0 ? -least : 0;
        const int64_t greatest = high0 < high1 ? high0 : high1;
        const int64_t hi = greatest < last ? greatest : last;
        if (lo <= hi) {
            drawing(y0 + k, x0 + lo, x0 + hi);
        }
        walks.NextRow();
    }
    run = drawing;
    return true;
}

}  // namespace maskfit

#endif
