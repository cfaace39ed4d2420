#include "masks/drawing/margin_sweep.h"

#include <cstring>

#include "masks/drawing/coverage_rows.h"
#include "simd/byte_kernels.h"
#include "simd/sse2_lanes.h"

namespace maskfit {
namespace {

// The ring of drawn rows that one margin row needs, and the work row: the
// same 16 KiB the call's stack has always set aside for coverage bits.
constexpr int64_t kSweepWords = 2048;

// Beyond this many pixels of the drawn box per triangle, painting each
// triangle's margin on its own reads less.
constexpr int64_t kSweptPixelsPerTriangle = 1024;

bool DrawnBoxEmpty(const ShapeMask& mask, const LocalBox& drawn) {
    const int64_t columns = drawn.columns.hi - drawn.columns.lo + 1;
    for (int64_t y = drawn.rows.lo; y <= drawn.rows.hi; ++y) {
        if (AnySet(PixelAddress(mask, drawn.columns.lo, y), columns)) {
            return false;
        }
    }
    return true;
}

// Bit drawnBit + c of `bits` for every covered pixel of the drawn box's
// columns in local row y; the other bits clear.
void ReadDrawnRow(const ShapeMask& mask, const SweepPlan& plan, int64_t y, uint64_t* bits) {
    std::memset(bits, 0, static_cast<size_t>(plan.words) * sizeof *bits);
    const uint8_t* const first = PixelAddress(mask, plan.drawn.columns.lo, y);
    const int64_t columns = plan.drawn.columns.hi - plan.drawn.columns.lo + 1;
    const int64_t shift = plan.drawnBit % 64;
    for (int64_t c = 0; c < columns; c += 64) {
        const int64_t count = columns - c < 64 ? columns - c : 64;
        const uint64_t set = SetBits(first + c, static_cast<int32_t>(count));
        uint64_t* const word = bits + (plan.drawnBit + c) / 64;
        word[0] |= set << shift;
        if (shift != 0 && (set >> (64 - shift)) != 0) {
            word[1] |= set >> (64 - shift);
        }
    }
}

}  // namespace

bool PlanSweep(const SpanTarget& target, const LocalBox& box, int32_t triangles, SweepPlan& plan) {
    const ShapeMask& mask = target.mask;
    // Drawn pixels are told apart from empty ones by their value, and every
    // brush position must lie in the mask unclamped (none can lie left of or
    // above it: triangle columns and rows are never negative).
    if (target.value == 0 || box.columns.hi + 2 * int64_t{target.marginX} - 1 > mask.width ||
        box.rows.hi + 2 * int64_t{target.marginY} - 1 > mask.height) {
        return false;
    }
    plan.drawn = {{box.columns.lo + target.columnShift, box.columns.hi + target.columnShift},
                  {box.rows.lo + target.rowShift, box.rows.hi + target.rowShift}};
    const int64_t columns = box.columns.hi - box.columns.lo + 1;
    const int64_t rows = box.rows.hi - box.rows.lo + 1;
    plan.drawnBit = target.marginX;
    plan.firstBit = plan.drawn.columns.lo - plan.drawnBit;
    plan.columns = plan.drawnBit + columns + target.marginX - 1;
    plan.words = WordsFor(plan.columns);
    for (plan.ringRows = 1; plan.ringRows < 2 * int64_t{target.marginY}; plan.ringRows *= 2) {
    }
    return columns * rows <= kSweptPixelsPerTriangle * triangles && plan.words * (plan.ringRows + 1) <= kSweepWords &&
           DrawnBoxEmpty(mask, plan.drawn);
}

// Why this is the checked margin. Before the triangles were drawn the drawn
// box held only empty pixels, and drawing wrote the value (not 0) into the
// triangle pixels alone, so the covered pixels of the box are exactly the
// triangle pixels. With no position clamped, the brush of the pixel at
// local (x, y) covers columns x - marginX .. x + marginX - 1 and rows
// y - marginY .. y + marginY - 1, kept where they lie in [0, width] x
// [0, height]. So margin row r takes the drawn rows r - marginY + 1 ..
// r + marginY, each column c the drawn columns c - marginX + 1 ..
// c + marginX. Each drawn row is read before the sweep paints it, and
// painting a row changes no other row's bytes (no two positions of the
// call share an index). Triangle pixels are covered, so the sweep leaves
// them out of each row it paints.
void SweepMargin(SpanTarget& target, const SweepPlan& plan) {
    const ShapeMask& mask = target.mask;
    uint64_t bits[kSweepWords];
    const int64_t words = plan.words;
    uint64_t* const work = bits + plan.ringRows * words;
    const LocalBox& drawn = plan.drawn;
    const auto ring = [&](int64_t y) { return bits + ((y - drawn.rows.lo) & (plan.ringRows - 1)) * words; };
    const int64_t firstPainted = plan.drawnBit - target.marginX > -plan.firstBit ? plan.drawnBit - target.marginX
                                                                                  : -plan.firstBit;
    const int64_t lastPainted = plan.columns - 1 < mask.width - plan.firstBit ? plan.columns - 1
                                                                               : mask.width - plan.firstBit;
    // The drawn box held only empty pixels before the triangles: its
    // covered pixels are theirs.
    LocalBox written = kNothingDrawn;
    int64_t read = drawn.rows.lo;
    for (int64_t row = drawn.rows.lo - target.marginY; row <= drawn.rows.hi + target.marginY - 1; ++row) {
        for (; read <= drawn.rows.hi && read <= row + target.marginY; ++read) {
            ReadDrawnRow(mask, plan, read, ring(read));
            const Span64 covered = CoveredColumns(ring(read), words);
            if (!IsEmpty(covered)) {
                written = {Hull(written.columns, {plan.firstBit + covered.lo, plan.firstBit + covered.hi}),
                           Hull(written.rows, {read, read})};
            }
        }
        if (row < 0 || row > mask.height || firstPainted > lastPainted) {
            continue;
        }
        const int64_t from = row - target.marginY + 1 > drawn.rows.lo ? row - target.marginY + 1 : drawn.rows.lo;
        const int64_t to = row + target.marginY < drawn.rows.hi ? row + target.marginY : drawn.rows.hi;
        std::memcpy(work, ring(from), static_cast<size_t>(words) * sizeof *work);
        for (int64_t y = from + 1; y <= to; ++y) {
            OrRow(work, ring(y), words);
        }
        Widen(work, plan.columns, target.marginX - 1, target.marginX);
        if (row >= drawn.rows.lo && row <= drawn.rows.hi) {
            ClearCovered(work, ring(row), words);
        }
        const EmptySpan painted = PaintCoveredEmpty(work, firstPainted, lastPainted,
                                                    PixelAddress(mask, plan.firstBit + firstPainted, row), FILL_BORDER);
        if (painted.first <= painted.last) {
            WidenDirtyWith(target.dirty,
                           LocalBox{{plan.firstBit + painted.first, plan.firstBit + painted.last}, {row, row}});
        }
    }
    if (!IsEmpty(written)) {
        target.drawn = {Hull(target.drawn.columns, written.columns), Hull(target.drawn.rows, written.rows)};
    }
}

}  // namespace maskfit
