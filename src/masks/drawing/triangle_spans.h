// Every run of inside pixels of a scanned triangle, row by row, whatever its
// edges: a box of up to sixteen columns by vectors (triangle_tiles.h); a
// wider box whose edges stay exact by one run per row found without
// stepping (triangle_runs.h); a wider box whose edge values wrap by vectors
// too, sixteen columns at a time along each row. All three give exactly the
// pixels the checked path fills.
#ifndef MASKFIT_MASKS_DRAWING_TRIANGLE_SPANS_H
#define MASKFIT_MASKS_DRAWING_TRIANGLE_SPANS_H

#include <cstdint>

#include "masks/drawing/triangle_runs.h"
#include "masks/drawing/triangle_tiles.h"
#include "simd/byte_runs.h"

namespace maskfit {

// Calls run(y, first, last) for every run of inside pixels, in increasing
// rows and, within a row, increasing columns; all in triangle space. `run`
// must be assignable: wide exact boxes are drawn with a copy, handed back.
template <typename Run>
void ForEachSpan(const TriangleScan& scan, Run& run) {
    const int64_t columns = int64_t{scan.x1} - scan.x0 + 1;
    const int64_t rows = int64_t{scan.y1} - scan.y0 + 1;
    const auto tileRow = [&](int64_t y, int64_t x) {
        return [&run, y, x](int64_t k, uint32_t bits) {
            ForEachRunOfBits(bits, [&](int32_t first, int32_t count) { run(y + k, x + first, x + first + count - 1); });
        };
    };
    if (columns <= kTileColumns) {
        ForEachTileRow(scan.rowStart, scan.columnStep, scan.rowStep, static_cast<int32_t>(columns), rows,
                       tileRow(scan.y0, scan.x0));
        return;
    }
    if (EdgesExactInBox(scan) && ForEachRun(scan, run)) {
        return;
    }
    EdgeValues rowStart = scan.rowStart;
    for (int64_t y = scan.y0; y <= scan.y1; ++y) {
        for (int64_t offset = 0; offset < columns; offset += kTileColumns) {
            const auto step = static_cast<int32_t>(offset);
            const EdgeValues& c = scan.columnStep;
            const EdgeValues start{WrapAdd(rowStart.e0, WrapMul(step, c.e0)), WrapAdd(rowStart.e1, WrapMul(step, c.e1)),
                                   WrapAdd(rowStart.e2, WrapMul(step, c.e2))};
            const auto width = static_cast<int32_t>(columns - offset < kTileColumns ? columns - offset : kTileColumns);
            ForEachTileRow(start, c, scan.rowStep, width, 1, tileRow(y, scan.x0 + offset));
        }
        rowStart = Add(rowStart, scan.rowStep);
    }
}

}  // namespace maskfit

#endif
