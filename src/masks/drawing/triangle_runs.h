// The rows of a scanned triangle as runs: where a row's three edge values
// are all >= 0, found from the edges' values at the row's start instead of by
// stepping from pixel to pixel. This holds whenever no edge value wraps in the
// box, which EdgesExactInBox tells.
#ifndef MASKFIT_MASKS_DRAWING_TRIANGLE_RUNS_H
#define MASKFIT_MASKS_DRAWING_TRIANGLE_RUNS_H

#include <cstdint>
#include <initializer_list>

#include "masks/fast_preconditions.h"
#include "masks/drawing/triangle_scan.h"

namespace maskfit {

inline Span64 Intersect(Span64 a, Span64 b) { return {a.lo > b.lo ? a.lo : b.lo, a.hi < b.hi ? a.hi : b.hi}; }

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

// One edge's inside columns along the rows of a box, carried from row to row
// without a division. Its value at column j of a row is start + j * step,
// which is >= 0 exactly from column ceil(-start / step) on for a rising edge,
// up to column floor(start / -step) for a falling one, and everywhere or
// nowhere for a flat one; so floor(start / |step|) and its remainder suffice,
// and the row step adds its own quotient and remainder.
struct EdgeWalk {
    int32_t columnStep;
    int64_t unit;           // |columnStep|, 1 for a flat edge
    FloorDivision start;    // of the current row's start value
    FloorDivision rowStep;  // of the step from one row's start to the next
};

inline EdgeWalk WalkFrom(int64_t start, int32_t columnStep, int32_t rowStep) {
    const int64_t unit = columnStep > 0 ? columnStep : (columnStep < 0 ? -int64_t{columnStep} : 1);
    return {columnStep, unit, DivideFloor(start, unit), DivideFloor(rowStep, unit)};
}

inline Span64 InsideColumns(const EdgeWalk& walk, int64_t last) {
    const int64_t q = walk.start.quotient;
    if (walk.columnStep > 0) {
        return {-q > 0 ? -q : 0, last};
    }
    if (walk.columnStep < 0) {
        return {0, q < last ? q : last};
    }
    return q >= 0 ? Span64{0, last} : Span64{1, 0};
}

inline void NextRow(EdgeWalk& walk) {
    walk.start.quotient += walk.rowStep.quotient;
    walk.start.remainder += walk.rowStep.remainder;
    if (walk.start.remainder >= walk.unit) {
        walk.start.remainder -= walk.unit;
        walk.start.quotient += 1;
    }
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

// Calls run(y, first, last) for every row y of from..to that has inside
// pixels, first..last being their columns; all in triangle space. The
// scan's edges must be exact in its box.
template <typename Run>
void ForEachRun(const TriangleScan& scan, int64_t from, int64_t to, Run run) {
    from = from > scan.y0 ? from : scan.y0;
    to = to < scan.y1 ? to : scan.y1;
    const int64_t skipped = from - scan.y0;
    const EdgeValues& start = scan.rowStart;
    const EdgeValues& column = scan.columnStep;
    const EdgeValues& row = scan.rowStep;
    EdgeWalk e0 = WalkFrom(start.e0 + skipped * row.e0, column.e0, row.e0);
    EdgeWalk e1 = WalkFrom(start.e1 + skipped * row.e1, column.e1, row.e1);
    EdgeWalk e2 = WalkFrom(start.e2 + skipped * row.e2, column.e2, row.e2);
    const int64_t last = int64_t{scan.x1} - scan.x0;
    for (int64_t y = from; y <= to; ++y) {
        const Span64 inside = Intersect(Intersect(InsideColumns(e0, last), InsideColumns(e1, last)),
                                        InsideColumns(e2, last));
        if (!IsEmpty(inside)) {
            run(y, scan.x0 + inside.lo, scan.x0 + inside.hi);
        }
        NextRow(e0);
        NextRow(e1);
        NextRow(e2);
    }
}

}  // namespace maskfit

#endif
