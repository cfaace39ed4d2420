#include "masks/search/strip_search.h"

#include <algorithm>

#include "simd/byte_kernels.h"
#include "masks/index_window.h"
#include "simd/sse2_lanes.h"

namespace maskfit {
namespace {

constexpr int32_t kStripWidth = 64;
constexpr int64_t kRingRows = kStripSearchMaxHeight + 1;
static_assert((kRingRows & (kRingRows - 1)) == 0, "the ring index is a mask");

// Candidate columns x + t of one strip, t < positions, of which those with a
// bit in `candidates` are tried.
struct Strip {
    int64_t x;
    int32_t positions;
    uint64_t candidates;
};

// One board row as seen from a strip, bit t for column x + t.
struct RowBits {
    uint64_t window;  // some pixel of [x + t, x + t + w) is set
    uint64_t left;    // pixel x + t is set
    uint64_t right;   // pixel x + t + w is set
    uint64_t below;   // window of this row or a later one up to the split (see WindowsBelow)
};

// The low word of the 128 bits high:low shifted right, for 0 < shift < 64.
uint64_t ShiftedLow(uint64_t low, uint64_t high, int32_t shift) { return low >> shift | high << (64 - shift); }

// Bit t: some bit of [t, t + w) of high:low is set, for 0 < w < 64, by
// doubling spans.
uint64_t AnyInWindow(uint64_t low, uint64_t high, int32_t w) {
    int32_t span = 1;
    for (; span * 2 <= w; span *= 2) {
        low |= ShiftedLow(low, high, span);
        high |= high >> span;
    }
    return span < w ? low | ShiftedLow(low, high, w - span) : low;
}

// Reads pixels [0, positions + w) of the row from p, the strip's first column.
RowBits ReadRow(const uint8_t* p, int32_t positions, int32_t w) {
    const int32_t reach = positions + w;
    if (w < kStripWidth) {
        const uint64_t low = SetBits(p, std::min(reach, kStripWidth));
        const uint64_t high = reach > kStripWidth ? SetBits(p + kStripWidth, reach - kStripWidth) : 0;
        return RowBits{AnyInWindow(low, high, w), low, ShiftedLow(low, high, w), 0};
    }
    // Window [t, t + w) = [t, 63) + [63, w) + [w, t + w): the middle part is
    // common to every t; the head holds for t up to the last set pixel
    // below 63, the tail for t past the first set pixel from w on.
    const uint64_t left = SetBits(p, kStripWidth);
    const uint64_t right = SetBits(p + w, positions);
    if (AnySet(p + kStripWidth - 1, w - (kStripWidth - 1))) {
        return RowBits{~0ULL, left, right, 0};
    }
    const uint64_t head = left & (~0ULL >> 1);
    const uint64_t fromHead = head != 0 ? ~0ULL >> __builtin_clzll(head) : 0;
    const uint64_t fromTail = right != 0 ? (~0ULL << __builtin_ctzll(right)) << 1 : 0;
    return RowBits{fromHead | fromTail, left, right, 0};
}

Strip StripAt(const AxisCandidates& columns, int64_t k, int64_t perStrip) {
    const int64_t count = std::min(perStrip, columns.count - k);
    Strip strip{columns.At(k), static_cast<int32_t>((count - 1) * columns.step + 1), 0};
    for (int64_t m = 0; m < count; ++m) {
        strip.candidates |= 1ULL << (m * columns.step);
    }
    return strip;
}

// The windows of the h rows under a candidate row, ORed, as the candidate
// row moves down: rows before the split hold in `below` the OR of their own
// window and those after them up to the split; rows from the split on are
// ORed into `later`. When the candidate row reaches the split, the rows
// under it get their `below` anew. Each row is thus ORed about twice,
// whatever the height.
struct WindowsBelow {
    int64_t split;
    int64_t orderedUpTo;  // rows before this are in `later` or before the split
    uint64_t later;
};

struct StripSearch {
    const BoardMask& board;
    const FitLayout& layout;
    const CoveredCore& core;
    bool exact;  // the core is the whole scan rectangle
    const AxisCandidates& rows;
    RowBits* ring;  // kRingRows entries, row r in slot (r - rows.first) mod kRingRows

    RowBits& Slot(int64_t row) const { return ring[(row - rows.first) & (kRingRows - 1)]; }

    uint64_t WindowsFrom(WindowsBelow& windows, int64_t y, int64_t bottom) const {
        if (y >= windows.split) {
            uint64_t below = 0;
            for (int64_t r = bottom - 1; r >= y; --r) {
                below |= Slot(r).window;
                Slot(r).below = below;
            }
            windows = WindowsBelow{bottom, bottom, 0};
            return below;
        }
        for (; windows.orderedUpTo < bottom; ++windows.orderedUpTo) {
            windows.later |= Slot(windows.orderedUpTo).window;
        }
        return Slot(y).below | windows.later;
    }

    // Of the candidates the core leaves open in row y, the first that fits,
    // into x. `top` and `bottom` are the core's first row and the row below
    // it. Any column may be a candidate, negative ones included.
    bool FirstFitAmong(const Strip& strip, uint64_t open, int64_t y, int64_t top, int64_t bottom, int64_t& x) const {
        if (exact) {
            // Probe 2 reads below the left column, probes 3 and 4 right of the top and bottom rows.
            open &= ~Slot(bottom).left;
            if (layout.farCornerSet) {
                open &= ~(Slot(top).right | Slot(bottom).right);
            }
            x = strip.x + (open != 0 ? __builtin_ctzll(open) : 0);
            return open != 0;
        }
        for (; open != 0; open &= open - 1) {
            x = strip.x + __builtin_ctzll(open);
            if (FitsAt(layout, board, x, y)) {
                return true;
            }
        }
        return false;
    }

    // The first row (of `rows`, below rowLimit) with a fit in the strip, or -1.
    int64_t FirstFitRow(const Strip& strip, int64_t rowLimit, int64_t& x) const {
        int64_t nextRow = rows.first;
        WindowsBelow windows{rows.first, rows.first, 0};
        for (int64_t k = 0; k < rowLimit; ++k) {
            const int64_t y = rows.At(k);
            const int64_t top = y + core.y;
            const int64_t bottom = top + core.h;
            for (int64_t r = std::max(nextRow, top); r <= bottom; ++r) {
                const uint8_t* first = PixelAddress(board.pixels, strip.x + core.x, r, board.width);
                Slot(r) = ReadRow(first, strip.positions, core.w);
            }
            nextRow = bottom + 1;
            const uint64_t open = strip.candidates & ~WindowsFrom(windows, top, bottom);
            if (open != 0 && FirstFitAmong(strip, open, y, top, bottom, x)) {
                return k;
            }
        }
        return -1;
    }
};

}  // namespace

bool FindCoveredCore(const FitLayout& layout, CoveredCore& core) {
    const auto setRow = [&layout](int64_t i, int32_t x, int32_t w) {
        return AllSet(layout.scanOrigin + i * layout.shapeWidth + x, w);
    };
    core = CoveredCore{0, 0, 0, 0};
    // From a few rows, their longest run of set pixels grown up and down.
    for (const int32_t row : {layout.h / 2, layout.h / 4, layout.h - 1 - layout.h / 4}) {
        const uint8_t* pixels = layout.scanOrigin + static_cast<int64_t>(row) * layout.shapeWidth;
        int32_t runX = 0;
        int32_t runW = 0;
        for (int32_t x = 0, start = 0; x < layout.w; ++x) {
            start = pixels[x] != 0 ? start : x + 1;
            if (x + 1 - start > runW) {
                runX = start;
                runW = x + 1 - start;
            }
        }
        int32_t top = row;
        int32_t end = row + 1;
        while (end < layout.h && end - top < kStripSearchMaxHeight && setRow(end, runX, runW)) {
            ++end;
        }
        while (top > 0 && end - top < kStripSearchMaxHeight && setRow(top - 1, runX, runW)) {
            --top;
        }
        if (runW > 0 && static_cast<int64_t>(runW) * (end - top) > static_cast<int64_t>(core.w) * core.h) {
            core = CoveredCore{runX, top, runW, end - top};
        }
    }
    return core.w > 0;
}

bool FirstFitByStrips(const BoardMask& board, const FitLayout& layout, const CoveredCore& core,
                      const CandidateGrid& grid, int64_t& x, int64_t& y) {
    RowBits ring[kRingRows];
    const bool exact = core.x == 0 && core.y == 0 && core.w == layout.w && core.h == layout.h;
    const StripSearch search{board, layout, core, exact, grid.rows, ring};
    const AxisCandidates& columns = grid.columns;
    const int64_t perStrip = columns.step < kStripWidth ? (kStripWidth - 1) / columns.step + 1 : 1;
    // Strips go left to right, so a later strip must fit in an earlier row to win.
    int64_t bestRow = grid.rows.count;
    for (int64_t k = 0; k < columns.count && bestRow > 0; k += perStrip) {
        int64_t stripX = 0;
        const int64_t row = search.FirstFitRow(StripAt(columns, k, perStrip), bestRow, stripX);
        if (row >= 0) {
            bestRow = row;
            x = stripX;
        }
    }
    if (bestRow == grid.rows.count) {
        return false;
    }
    y = grid.rows.At(bestRow);
    return true;
}

}  // namespace maskfit
