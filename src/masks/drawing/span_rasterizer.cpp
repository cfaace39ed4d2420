// Why this gives the checked rasterizer's result. The checked path writes
// each triangle pixel whatever it held, then runs that pixel's brush, which
// writes 90 into the positions that hold 0 at that moment. When no two
// positions share an index, a pixel that any brush reaches is reached by its
// own brush too: positions are clamped to the mask, and a pixel's own brush
// spans its column and its row. So, for triangles drawn one after another
// with one value, a pixel of any triangle ends as that value, or as 90 when
// the value is 0 (a single triangle only) and a brush reaches it; every other
// pixel keeps a non-zero value, becomes 90 when it was empty and a brush
// reaches it, and stays empty otherwise; and the dirty rectangle grows by
// exactly the triangle pixels and the empty pixels that brushes reach. Any
// order of writing the runs and painting the reached empty pixels ends the
// same way, provided each triangle pixel is written before the brushes that
// reach it are painted.
#include "masks/drawing/span_rasterizer.h"

#include <cstring>

#include "masks/drawing/brush_dilation.h"
#include "masks/drawing/coverage_rows.h"
#include "masks/fast_preconditions.h"
#include "masks/drawing/triangle_runs.h"

namespace maskfit {
namespace {

Triangle CornersOf(const TriangleList& list, int32_t k) {
    const int32_t* entry = list.indices + 3 * int64_t{k};
    const Vec2& p0 = list.vertices[entry[0]];
    const Vec2& p1 = list.vertices[entry[1]];
    const Vec2& p2 = list.vertices[entry[2]];
    return list.orient ? OrderForRasterizer(p0, p1, p2) : Triangle{p0, p1, p2};
}

// Calls draw(scan) for every triangle whose box is not empty.
template <typename Draw>
void ForEachScan(const ShapeMask& mask, const TriangleList& list, Draw draw) {
    for (int32_t k = 0; k < list.count; ++k) {
        const Triangle t = CornersOf(list, k);
        TriangleScan scan;
        if (SetUpTriangleScan(mask, t.a, t.b, t.c, scan)) {
            draw(scan);
        }
    }
}

// Addresses from first to last, widened by each read.
struct ReadSpan {
    uintptr_t first = UINTPTR_MAX, last = 0;

    void Add(const void* p, size_t size) {
        const auto at = reinterpret_cast<uintptr_t>(p);
        first = at < first ? at : first;
        last = at + size - 1 > last ? at + size - 1 : last;
    }
};

// What the draw will read and scan, found before anything is written.
struct ListExtent {
    int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;  // union of the boxes
    ReadSpan indices, vertices;  // what is read of each list, apart: the lists lie apart in memory
    bool exact = true;           // no edge value wraps
};

ListExtent MeasureList(const ShapeMask& mask, const TriangleList& list) {
    ListExtent extent;
    for (int32_t k = 0; k < list.count; ++k) {
        const int32_t* entry = list.indices + 3 * int64_t{k};
        extent.indices.Add(entry, 3 * sizeof *entry);
        for (int i = 0; i < 3; ++i) {
            extent.vertices.Add(list.vertices + entry[i], sizeof(Vec2));
        }
    }
    ForEachScan(mask, list, [&](const TriangleScan& scan) {
        extent.exact = extent.exact && EdgesExactInBox(scan);
        extent.x0 = scan.x0 < extent.x0 ? scan.x0 : extent.x0;
        extent.y0 = scan.y0 < extent.y0 ? scan.y0 : extent.y0;
        extent.x1 = scan.x1 > extent.x1 ? scan.x1 : extent.x1;
        extent.y1 = scan.y1 > extent.y1 ? scan.y1 : extent.y1;
    });
    return extent;
}

// Where the pixels of the triangles land: triangle column x is local column
// x + columnShift, triangle row y local row y + rowShift.
struct Placement {
    int32_t marginX, marginY;
    bool brush;  // both half-sizes positive
    int64_t columnShift, rowShift;
};

Placement PlaceOn(const ShapeMask& mask, int32_t marginX, int32_t marginY) {
    return {marginX, marginY, marginX > 0 && marginY > 0, int64_t{marginX} - mask.origin.x,
            int64_t{marginY} - mask.origin.y};
}

// Everything the triangles may touch, when every position the checked path
// computes for them in 32 bits is exact; an empty box otherwise. A brush
// centred on absolute margin + t covers absolute t .. t + 2 * margin - 1.
LocalBox Reach(const ShapeMask& mask, const ListExtent& extent, const Placement& at) {
    constexpr LocalBox kUnusable{{1, 0}, {1, 0}};
    const Span64 columns{extent.x0 + at.columnShift, extent.x1 + at.columnShift};
    const Span64 rows{extent.y0 + at.rowShift, extent.y1 + at.rowShift};
    if (!FitsInt32(at.marginX + extent.x1) || !FitsInt32(at.marginY + extent.y1) ||
        !FitsInt32(at.marginX + extent.x0) || !FitsInt32(at.marginY + extent.y0)) {
        return kUnusable;
    }
    if (!at.brush) {
        return {columns, rows};
    }
    const int64_t right = extent.x1 + 2 * int64_t{at.marginX} - 1;
    const int64_t bottom = extent.y1 + 2 * int64_t{at.marginY} - 1;
    if (mask.height < 0 || mask.width < 1 || !FitsInt32(right) || !FitsInt32(bottom)) {
        return kUnusable;
    }
    const LocalBox margin{BrushReach(extent.x0, right, mask.width, mask.origin.x),
                          BrushReach(extent.y0, bottom, mask.height, mask.origin.y)};
    if (IsEmpty(margin)) {
        return {columns, rows};
    }
    return {Hull(columns, margin.columns), Hull(rows, margin.rows)};
}

// Stores `value` into n pixels from p; short runs without a call.
void FillRun(uint8_t* p, int64_t n, uint8_t value) {
    if (n >= 16) {
        std::memset(p, value, static_cast<size_t>(n));
        return;
    }
    const uint64_t pattern = value * 0x0101010101010101ull;
    if (n >= 8) {
        std::memcpy(p, &pattern, 8);
        std::memcpy(p + n - 8, &pattern, 8);
    } else if (n >= 4) {
        std::memcpy(p, &pattern, 4);
        std::memcpy(p + n - 4, &pattern, 4);
    } else {
        for (int64_t i = 0; i < n; ++i) {
            p[i] = value;
        }
    }
}

// Writes the run of triangle columns first..last in triangle row y, and
// widens `drawn` (empty as {INT64_MAX, INT64_MIN}) with it.
void WriteRun(ShapeMask& mask, uint8_t value, const Placement& at, int64_t y, int64_t first, int64_t last,
              LocalBox& drawn) {
    const int64_t column = first + at.columnShift;
    const int64_t row = y + at.rowShift;
    FillRun(PixelAddress(mask, column, row), last - first + 1, value);
    drawn.columns.lo = column < drawn.columns.lo ? column : drawn.columns.lo;
    drawn.columns.hi = last + at.columnShift > drawn.columns.hi ? last + at.columnShift : drawn.columns.hi;
    drawn.rows.lo = row < drawn.rows.lo ? row : drawn.rows.lo;
    drawn.rows.hi = row > drawn.rows.hi ? row : drawn.rows.hi;
}

// Coverage bits for the brushes, on the stack: a row for the margin clamped
// onto the mask's last row, a work row, and the rows of drawn pixels that a
// strip of margin rows takes.
constexpr int64_t kCoverageWords = 2048;

// Bit column c stands for absolute column extent.x0 + c: the leftmost brush
// position, as triangle columns are never negative.
struct Coverage {
    int64_t firstColumn;  // absolute column of bit 0
    int64_t columns;      // bits a row
    int64_t words;        // words a row
    int64_t foldColumn;   // the mask's last column, where brush positions past it land
    int64_t firstKept;    // bit columns whose local column lies in [0, width]
    int64_t lastKept;
    int64_t stripRows;    // margin rows a strip
};

// False when the bits do not fit, or brush positions clamp onto a column
// left of the first bit.
bool PlanCoverage(const ShapeMask& mask, const ListExtent& extent, const Placement& at, Coverage& plan) {
    plan.firstColumn = extent.x0;
    plan.columns = extent.x1 - extent.x0 + 2 * int64_t{at.marginX};
    plan.words = WordsFor(plan.columns);
    plan.foldColumn = mask.width - extent.x0;
    const int64_t rightmost = mask.width + int64_t{mask.origin.x} - extent.x0;
    plan.firstKept = mask.origin.x > extent.x0 ? mask.origin.x - extent.x0 : 0;
    plan.lastKept = plan.columns - 1;
    plan.lastKept = plan.foldColumn < plan.lastKept ? plan.foldColumn : plan.lastKept;
    plan.lastKept = rightmost < plan.lastKept ? rightmost : plan.lastKept;
    plan.stripRows = kCoverageWords / plan.words - 2 * int64_t{at.marginY} - 1;
    return plan.foldColumn >= 0 && plan.stripRows >= 1;
}

// Paints the empty covered pixels of one margin row at absolute row `row`.
void PaintMarginRow(ShapeMask& mask, const Coverage& plan, uint64_t* bits, int64_t row, DirtyRect& dirty) {
    const int64_t local = row - mask.origin.y;
    if (local < 0 || local > mask.height || plan.firstKept > plan.lastKept) {
        return;
    }
    if (plan.foldColumn < plan.columns) {
        FoldOnto(bits, plan.columns, plan.foldColumn);
    }
    const int64_t toLocal = plan.firstColumn - mask.origin.x;
    uint8_t* first = PixelAddress(mask, toLocal + plan.firstKept, local);
    const EmptySpan painted = PaintCoveredEmpty(bits, plan.firstKept, plan.lastKept, first, FILL_BORDER);
    if (painted.first <= painted.last) {
        WidenDirtyWith(dirty, LocalBox{{toLocal + painted.first, toLocal + painted.last}, {local, local}});
    }
}

// Strip by strip of margin rows: the drawn rows that reach them are scanned
// into bits (those of the strip's own rows also written), then each margin
// row is the union of the drawn rows whose brushes reach it, widened by the
// brush. Rows past the mask's last row are clamped onto it and painted last.
void DrawWithMargin(ShapeMask& mask, uint8_t value, const TriangleList& list, const ListExtent& extent,
                    const Placement& at, const Coverage& plan, LocalBox& drawn, DirtyRect& dirty) {
    uint64_t bits[kCoverageWords];
    uint64_t* const clamped = bits;
    uint64_t* const work = bits + plan.words;
    uint64_t* const held = bits + 2 * plan.words;
    std::memset(clamped, 0, static_cast<size_t>(plan.words) * sizeof *bits);
    bool anyClamped = false;
    const int64_t reachRows = 2 * int64_t{at.marginY};
    const int64_t lastRow = extent.y1 + reachRows - 1;
    for (int64_t r0 = extent.y0; r0 <= lastRow; r0 += plan.stripRows) {
        const int64_t r1 = r0 + plan.stripRows - 1 < lastRow ? r0 + plan.stripRows - 1 : lastRow;
        const int64_t heldFirst = r0 - reachRows + 1 > extent.y0 ? r0 - reachRows + 1 : extent.y0;
        const int64_t heldLast = r1 < extent.y1 ? r1 : extent.y1;
        std::memset(held, 0, static_cast<size_t>((heldLast - heldFirst + 1) * plan.words) * sizeof *bits);
        ForEachScan(mask, list, [&](const TriangleScan& scan) {
            ForEachRun(scan, heldFirst, heldLast, [&](int64_t y, int64_t first, int64_t last) {
                const int64_t shift = at.marginX - plan.firstColumn;
                SetColumns(held + (y - heldFirst) * plan.words, first + shift, last + shift);
                if (y >= r0) {
                    WriteRun(mask, value, at, y, first, last, drawn);
                }
            });
        });
        for (int64_t r = r0; r <= r1; ++r) {
            std::memset(work, 0, static_cast<size_t>(plan.words) * sizeof *bits);
            const int64_t from = r - reachRows + 1 > heldFirst ? r - reachRows + 1 : heldFirst;
            for (int64_t y = from; y <= r && y <= heldLast; ++y) {
                OrRow(work, held + (y - heldFirst) * plan.words, plan.words);
            }
            Widen(work, plan.columns, at.marginX - 1, at.marginX);
            if (r < mask.height) {
                PaintMarginRow(mask, plan, work, r, dirty);
            } else {
                OrRow(clamped, work, plan.words);
                anyClamped = true;
            }
        }
    }
    if (anyClamped) {
        PaintMarginRow(mask, plan, clamped, mask.height, dirty);
    }
}

}  // namespace

bool TryRasterizeTrianglesFast(ShapeMask& mask, uint8_t value, const TriangleList& list, int32_t marginX,
                               int32_t marginY) {
    const ListExtent extent = MeasureList(mask, list);
    if (!extent.exact) {
        return false;
    }
    if (extent.x0 > extent.x1) {
        return true;  // every box is empty: the checked path touches no pixel either
    }
    const Placement at = PlaceOn(mask, marginX, marginY);
    const LocalBox reach = Reach(mask, extent, at);
    Coverage plan{};
    if (IsEmpty(reach) || !HostChecksSkipped(mask.pixels) || !PixelsAddressable(mask, reach) ||
        PixelBytesOverlap(mask, reach, extent.indices.first, extent.indices.last) ||
        PixelBytesOverlap(mask, reach, extent.vertices.first, extent.vertices.last) ||
        (at.brush && !PlanCoverage(mask, extent, at, plan))) {
        return false;
    }
    DirtyRect dirty = mask.dirty;
    LocalBox drawn{{INT64_MAX, INT64_MIN}, {INT64_MAX, INT64_MIN}};
    if (at.brush) {
        DrawWithMargin(mask, value, list, extent, at, plan, drawn, dirty);
    } else {
        ForEachScan(mask, list, [&](const TriangleScan& scan) {
            ForEachRun(scan, scan.y0, scan.y1, [&](int64_t y, int64_t first, int64_t last) {
                WriteRun(mask, value, at, y, first, last, drawn);
            });
        });
    }
    if (!IsEmpty(drawn)) {
        WidenDirtyWith(dirty, drawn);
    }
    mask.dirty = dirty;
    return true;
}

}  // namespace maskfit
