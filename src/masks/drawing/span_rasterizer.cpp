// Why this gives the checked rasterizer's result.
//
// The checked path draws the triangles in list order; in each, pixel by
// pixel, it writes the value (without reading the pixel), then runs that
// pixel's brush, which writes 90 into the positions that hold 0 at that
// moment and widens the dirty rectangle with each. Every position is
// clamped to [0, width] x [0, height] in absolute coordinates, then made
// local and kept only inside that range; column `width` is the first pixel
// of the next row, and a triangle pixel may lie anywhere in the window.
//
// Before touching anything this file proves that no host check can be
// called, that every pixel and brush position of every triangle (from a box
// that holds all their scan boxes) is exact in 32 bits and lies in the
// window, that no two of those positions share an index (the box is
// narrower than a row), and that none of them shares a byte with the mask
// record, the version word or the lists still to be read. Then every store
// of the checked path lands on a byte of its own and the path cannot fail,
// so its outcome is fixed by which bytes it writes with what, in order.
//
// The value is the same for every triangle of a call (234 for a list; a
// single triangle otherwise). If it is not 0: a triangle pixel ends as the
// value; any other pixel that some brush reaches ends as 90 if it held 0
// and keeps its value otherwise (a 90 is never written back to 0); every
// other pixel is untouched. The dirty rectangle grows by the triangle pixels
// and by the pixels that held 0 before the call and are reached by a brush;
// a triangle pixel reached by a brush counts either way. This does not
// depend on the order of the pixel writes and brush paints, so any order of
// writing the runs of triangle pixels and painting the empty pixels of
// their brushes gives it, and stores only to bytes the checked path stores
// to. A brush painted twice finds its pixels covered the second time, so
// the brushes may be painted in overlapping pieces.
//
// If the value is 0 (one triangle): a triangle pixel holds 0 after its
// write, so its own brush, which runs after it, paints it 90 whenever any
// brush reaches it (a position that any brush reaches is unclamped, so the
// pixel's own brush reaches it too); the other pixels end as above. Writing
// each run before painting the brushes of the stretch of rows it lies in
// gives the same, as each pixel is written once and its own brush painted
// after that.
//
// The triangles' pixels are found from the same integer set-up as the
// checked path's (triangle_spans.h). The margin is painted either for each
// triangle from its own runs (local_margin.h), or, when the pixels the mesh
// may cover held nothing before and no brush is clamped, in one sweep after
// all triangles are written (margin_sweep.h).
#include "masks/drawing/span_rasterizer.h"

#include <emmintrin.h>

#include <limits>

#include "masks/drawing/brush_dilation.h"
#include "masks/drawing/local_margin.h"
#include "masks/drawing/margin_sweep.h"
#include "masks/drawing/span_target.h"
#include "masks/drawing/tiny_triangles.h"
#include "masks/drawing/triangle_scan_fast.h"
#include "masks/drawing/triangle_spans.h"
#include "masks/fast_preconditions.h"

namespace maskfit {
namespace {

// Calls draw(scan) for every triangle whose box is not empty, in list
// order. Triangles are set up four at a time, and each four before the four
// before them are drawn: the set-up is a long chain of dependent steps, and
// placed ahead of the drawing's branches it is not thrown away when one of
// them is mispredicted. Reading the lists ahead is safe: no pixel the call
// writes lies in them.
template <typename Draw>
void ForEachScan(const ShapeMask& mask, const TriangleList& list, Draw draw) {
    const auto setUp = [&](int32_t first, TriangleScan (&scans)[4]) {
        FourTriangles four;
        for (int32_t i = 0; i < 4; ++i) {
            const int32_t k = first + i < list.count ? first + i : list.count - 1;  // past the end: any, unused
            const int32_t* entry = list.indices + 3 * int64_t{k};
            for (int32_t corner = 0; corner < 3; ++corner) {
                four.corners[corner][i] = list.vertices + entry[corner];
            }
        }
        const uint32_t drawn = SetUpFourScans(mask, four, list.orient, scans);
        return list.count - first < 4 ? drawn & ((1u << (list.count - first)) - 1) : drawn;
    };
    TriangleScan scans[2][4];
    uint32_t drawn[2] = {list.count > 0 ? setUp(0, scans[0]) : 0, 0};
    for (int32_t first = 0, now = 0; first < list.count; first += 4, now ^= 1) {
        drawn[now ^ 1] = list.count - first > 4 ? setUp(first + 4, scans[now ^ 1]) : 0;
        for (uint32_t left = drawn[now]; left != 0; left &= left - 1) {
            draw(scans[now][__builtin_ctz(left)]);
        }
    }
}

// Addresses from first to last.
struct ReadSpan {
    uintptr_t first, last;
};

// What the draw will scan and read, found before anything is written.
struct ListExtent {
    LocalBox box;                // triangle space: holds the scan box of every triangle
    ReadSpan indices, vertices;  // what is read of each list, apart: the lists lie apart in memory
};

// Scan limits of one axis from the least and greatest coordinate of all
// corners, NaN left out. A triangle's box runs from its truncated least
// coordinate (at least 0) to its truncated greatest (at most limit - 1);
// truncation keeps the order of values within int32, and a triangle with a
// coordinate beyond int32 or all NaN on the axis has an empty box, which
// the far end of the range therefore need not cover.
Span64 ScanLimits(float least, float greatest, int32_t limit) {
    const int32_t lo = TruncateToInt32(least);
    const int32_t hi = greatest >= 2147483648.0f ? INT32_MAX : TruncateToInt32(greatest);
    const int32_t end = WrapSub(limit, 1);
    return {lo > 0 ? lo : 0, hi < end ? hi : end};
}

// Corners k and m of the list: x and y of the first, then of the second.
__m128 TwoCorners(const TriangleList& list, int32_t k, int32_t m) {
    const auto load = [&](int32_t entry) {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(list.vertices + entry));
    };
    return _mm_castsi128_ps(_mm_unpacklo_epi64(load(k), load(m)));
}

// The least and greatest entries of a list, four at a time, lane by lane.
struct EntryRange {
    __m128i lowest = _mm_set1_epi32(INT32_MAX);
    __m128i highest = _mm_set1_epi32(INT32_MIN);

    void Take(__m128i four) {
        const __m128i below = _mm_cmplt_epi32(four, lowest);
        const __m128i above = _mm_cmpgt_epi32(four, highest);
        lowest = _mm_or_si128(_mm_and_si128(below, four), _mm_andnot_si128(below, lowest));
        highest = _mm_or_si128(_mm_and_si128(above, four), _mm_andnot_si128(above, highest));
    }

    // The least and greatest over the lanes.
    void Fold(int32_t& least, int32_t& greatest) const {
        alignas(16) int32_t low[4], high[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(low), lowest);
        _mm_store_si128(reinterpret_cast<__m128i*>(high), highest);
        least = low[0];
        greatest = high[0];
        for (int lane = 1; lane < 4; ++lane) {
            least = low[lane] < least ? low[lane] : least;
            greatest = high[lane] > greatest ? high[lane] : greatest;
        }
    }
};

ListExtent MeasureList(const ShapeMask& mask, const TriangleList& list) {
    // Lanes x and y of the least and of the greatest coordinates, of two
    // corners at a time. With a NaN corner lane, the comparison inside the
    // minimum and maximum fails and the lane keeps what it held.
    __m128 least = _mm_set1_ps(std::numeric_limits<float>::infinity());
    __m128 greatest = _mm_set1_ps(-std::numeric_limits<float>::infinity());
    EntryRange range;
    const int64_t entries = 3 * int64_t{list.count};
    const auto take = [&](int32_t k, int32_t m) {
        const __m128 corners = TwoCorners(list, k, m);
        least = _mm_min_ps(corners, least);
        greatest = _mm_max_ps(corners, greatest);
    };
    int64_t i = 0;
    for (; i + 4 <= entries; i += 4) {
        range.Take(_mm_loadu_si128(reinterpret_cast<const __m128i*>(list.indices + i)));
        take(list.indices[i], list.indices[i + 1]);
        take(list.indices[i + 2], list.indices[i + 3]);
    }
    for (; i < entries; ++i) {
        range.Take(_mm_set1_epi32(list.indices[i]));
        take(list.indices[i], list.indices[i]);
    }
    int32_t lowest = 0, highest = 0;
    range.Fold(lowest, highest);
    // No lane holds NaN: fold the second corner's lanes onto the first's.
    least = _mm_min_ps(least, _mm_movehl_ps(least, least));
    greatest = _mm_max_ps(greatest, _mm_movehl_ps(greatest, greatest));
    alignas(16) float lo[4], hi[4];
    _mm_store_ps(lo, least);
    _mm_store_ps(hi, greatest);
    const auto vertices = reinterpret_cast<uintptr_t>(list.vertices);
    const auto indices = reinterpret_cast<uintptr_t>(list.indices);
    return {{ScanLimits(lo[0], hi[0], mask.bounds.x0), ScanLimits(lo[1], hi[1], mask.bounds.y0)},
            {indices, indices + static_cast<uintptr_t>(entries) * sizeof(int32_t) - 1},
            {vertices + static_cast<uintptr_t>(int64_t{lowest} * int64_t{sizeof(Vec2)}),
             vertices + static_cast<uintptr_t>(int64_t{highest} * int64_t{sizeof(Vec2)}) + sizeof(Vec2) - 1}};
}

// Everything the triangles may touch, when every position the checked path
// computes for them in 32 bits is exact; an empty box otherwise. A brush
// centred on absolute margin + t covers absolute t .. t + 2 * margin - 1.
LocalBox Reach(const ShapeMask& mask, const LocalBox& box, int32_t marginX, int32_t marginY, bool brush) {
    constexpr LocalBox kUnusable{{1, 0}, {1, 0}};
    const Span64 columns{box.columns.lo + marginX - mask.origin.x, box.columns.hi + marginX - mask.origin.x};
    const Span64 rows{box.rows.lo + marginY - mask.origin.y, box.rows.hi + marginY - mask.origin.y};
    if (!FitsInt32(marginX + box.columns.hi) || !FitsInt32(marginY + box.rows.hi)) {
        return kUnusable;
    }
    if (!brush) {
        return {columns, rows};
    }
    const int64_t right = box.columns.hi + 2 * int64_t{marginX} - 1;
    const int64_t bottom = box.rows.hi + 2 * int64_t{marginY} - 1;
    if (mask.height < 0 || mask.width < 1 || !FitsInt32(right) || !FitsInt32(bottom)) {
        return kUnusable;
    }
    const LocalBox margin{BrushReach(box.columns.lo, right, mask.width, mask.origin.x),
                          BrushReach(box.rows.lo, bottom, mask.height, mask.origin.y)};
    if (IsEmpty(margin)) {
        return {columns, rows};
    }
    return {Hull(columns, margin.columns), Hull(rows, margin.rows)};
}

// The runs of a box no wider than a tile, row after row from the first
// row's address.
void WriteSmallTriangle(RunWriter& writer, const TriangleScan& scan) {
    uint8_t* pixels = writer.At(scan.x0, scan.y0);
    uint32_t anyRow = 0;
    int64_t firstRow = INT64_MAX, lastRow = -1;
    ForEachTileRow(scan.rowStart, scan.columnStep, scan.rowStep, scan.x1 - scan.x0 + 1, int64_t{scan.y1} - scan.y0 + 1,
                   [&](int64_t k, uint32_t bits) {
                       if (bits != 0) {
                           // One run exactly when adding the lowest bit clears them all.
                           if (((bits + (bits & (0u - bits))) & bits) == 0) {
                               const int32_t first = __builtin_ctz(bits);
                               StoreRun(pixels + first, 32 - __builtin_clz(bits) - first, writer.value);
                           } else {
                               ForEachRunOfBits(bits, [&](int32_t from, int32_t count) {
                                   StoreRun(pixels + from, count, writer.value);
                               });
                           }
                           firstRow = k < firstRow ? k : firstRow;
                           lastRow = k;
                           anyRow |= bits;
                       }
                       pixels += writer.width;
                   });
    if (anyRow != 0) {
        const LocalBox drawn{{scan.x0 + __builtin_ctz(anyRow), scan.x0 + 31 - __builtin_clz(anyRow)},
                             {scan.y0 + firstRow, scan.y0 + lastRow}};
        writer.Note(drawn);
    }
}

// Kept out of line: the tiny boxes of a dense mesh then have the registers
// of the loop over the triangles to themselves.
[[gnu::noinline]] void WriteWiderTriangle(RunWriter& writer, const TriangleScan& scan) {
    if (int64_t{scan.x1} - scan.x0 < kTileColumns) {
        WriteSmallTriangle(writer, scan);
    } else {
        ForEachSpan(scan, writer);
    }
}

// Writes every triangle's pixels; the box they fill is noted in the target
// unless the margin sweep is to find it. Out of line, so that the loop over
// the triangles does not share its registers with the call's set-up.
template <bool NotesDrawn>
[[gnu::noinline]] void WriteEveryRun(SpanTarget& target, const TriangleList& list) {
    RunWriter writer(target);
    TinyBoxWriter<NotesDrawn> tiny(writer);
    ForEachScan(target.mask, list, [&](const TriangleScan& scan) {
        uint64_t inside;
        if (TinyInsideBits(scan, inside)) {
            tiny(scan.x0, scan.y0, inside);
        } else {
            WriteWiderTriangle(writer, scan);
        }
    });
    tiny.NoteIn(writer);
    writer.NoteIn(target);
}

void Draw(SpanTarget& target, const TriangleList& list, const LocalBox& box) {
    if (target.marginX <= 0 || target.marginY <= 0) {
        WriteEveryRun<true>(target, list);  // no brush: no margin
        return;
    }
    SweepPlan plan;
    if (PlanSweep(target, box, list.count, plan)) {
        WriteEveryRun<false>(target, list);
        SweepMargin(target, plan);
        return;
    }
    ForEachScan(target.mask, list, [&](const TriangleScan& scan) { DrawWithOwnMargin(target, scan); });
}

}  // namespace

bool TryRasterizeTrianglesFast(ShapeMask& mask, uint8_t value, const TriangleList& list, int32_t marginX,
                               int32_t marginY) {
    const ListExtent extent = MeasureList(mask, list);
    if (IsEmpty(extent.box)) {
        return true;  // every box is empty: the checked path touches no pixel either
    }
    const bool brush = marginX > 0 && marginY > 0;
    const LocalBox reach = Reach(mask, extent.box, marginX, marginY, brush);
    if (IsEmpty(reach) || !HostChecksSkipped(mask.pixels) || !PixelsAddressable(mask, reach) ||
        PixelBytesOverlap(mask, reach, extent.indices.first, extent.indices.last) ||
        PixelBytesOverlap(mask, reach, extent.vertices.first, extent.vertices.last)) {
        return false;
    }
    SpanTarget target{mask, value, marginX, marginY, int64_t{marginX} - mask.origin.x,
                      int64_t{marginY} - mask.origin.y, mask.dirty, kNothingDrawn};
    Draw(target, list, extent.box);
    if (!IsEmpty(target.drawn)) {
        WidenDirtyWith(target.dirty, target.drawn);
    }
    mask.dirty = target.dirty;
    return true;
}

}  // namespace maskfit
