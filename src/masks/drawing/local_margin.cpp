#include "masks/drawing/local_margin.h"

#include "masks/drawing/empty_fill.h"
#include "masks/drawing/triangle_spans.h"

namespace maskfit {
namespace {

// The runs of a stretch of the triangle's rows, in row order. A triangle
// with more runs is taken a band at a time; the bands' margins overlap where
// their brushes do, and painting a pixel a second time finds it covered.
struct MarginBand {
    static constexpr int32_t kCapacity = 64;
    struct Run {
        int64_t y, first, last;  // triangle space
    };
    Run runs[kCapacity];
    int32_t count = 0;
};

// Absolute columns a..b (a >= 0) of the brushes of one margin row R: the
// brush of the pixel in triangle column x, row y covers absolute columns
// x .. x + 2 * marginX - 1 and rows y .. y + 2 * marginY - 1. Each position
// is clamped to [0, width] x [0, height], made local and kept inside that
// range, and its empty pixels painted; `own` is a run written in the same
// row, whose pixels are covered when the value is not 0.
void PaintPiece(SpanTarget& target, int64_t a, int64_t b, int64_t row, const MarginBand::Run* own) {
    const ShapeMask& mask = target.mask;
    const int64_t width = mask.width;
    const int64_t clampedRow = row < mask.height ? row : mask.height;
    const int64_t localRow = clampedRow - mask.origin.y;
    if (localRow < 0 || localRow > mask.height) {
        return;
    }
    const int64_t lo = (a < width ? a : width) - mask.origin.x;
    const int64_t hi = (b < width ? b : width) - mask.origin.x;
    LocalBox piece{{lo > 0 ? lo : 0, hi < width ? hi : width}, {localRow, localRow}};
    if (own != nullptr && target.value != 0 && clampedRow == row) {
        const Span64 covered{own->first + target.columnShift, own->last + target.columnShift};
        LocalBox right = piece;
        right.columns.lo = covered.hi + 1 > piece.columns.lo ? covered.hi + 1 : piece.columns.lo;
        piece.columns.hi = covered.lo - 1 < piece.columns.hi ? covered.lo - 1 : piece.columns.hi;
        if (!IsEmpty(right)) {
            FillEmpty(mask, right, FILL_BORDER, FillWrites::kEmptyOnly, target.dirty);
        }
    }
    if (!IsEmpty(piece)) {
        FillEmpty(mask, piece, FILL_BORDER, FillWrites::kEmptyOnly, target.dirty);
    }
}

// Margin row R is reached by the runs of rows R - 2 * marginY + 1 .. R. Runs
// whose brushes overlap or touch are painted as one piece; the union of the
// pieces is the union of the brushes, as a pixel painted twice stays as the
// first paint left it.
void PaintBandMargin(SpanTarget& target, const MarginBand& band) {
    if (band.count == 0) {
        return;
    }
    const int64_t reachRows = 2 * int64_t{target.marginY};
    const int64_t reachColumns = 2 * int64_t{target.marginX} - 1;
    int32_t from = 0;
    int32_t to = 0;
    const int64_t lastRow = band.runs[band.count - 1].y + reachRows - 1;
    for (int64_t row = band.runs[0].y; row <= lastRow; ++row) {
        while (band.runs[from].y < row - reachRows + 1) {
            ++from;
        }
        while (to < band.count && band.runs[to].y <= row) {
            ++to;
        }
        const MarginBand::Run* own = nullptr;  // a run of this row's own pixels
        Span64 piece{1, 0};
        for (int32_t i = from; i < to; ++i) {
            const MarginBand::Run& run = band.runs[i];
            if (run.y == row - target.marginY) {
                own = &run;
            }
            const Span64 brushes{run.first, run.last + reachColumns};
            if (!IsEmpty(piece) && (brushes.lo > piece.hi + 1 || brushes.hi + 1 < piece.lo)) {
                PaintPiece(target, piece.lo, piece.hi, row, nullptr);
                piece = brushes;
            } else {
                piece = Hull(piece, brushes);
            }
        }
        if (!IsEmpty(piece)) {
            PaintPiece(target, piece.lo, piece.hi, row, own);
        }
    }
}

}  // namespace

void DrawWithOwnMargin(SpanTarget& target, const TriangleScan& scan) {
    MarginBand band;
    RunWriter writer(target);
    // Through a pointer, assignable as ForEachSpan needs.
    struct Gather {
        SpanTarget* target;
        MarginBand* band;
        RunWriter* writer;
        void operator()(int64_t y, int64_t first, int64_t last) const {
            (*writer)(y, first, last);
            if (band->count == MarginBand::kCapacity) {
                PaintBandMargin(*target, *band);
                band->count = 0;
            }
            band->runs[band->count++] = {y, first, last};
        }
    } gather{&target, &band, &writer};
    ForEachSpan(scan, gather);
    PaintBandMargin(target, band);
    writer.NoteIn(target);
}

}  // namespace maskfit
