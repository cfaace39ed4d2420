#include "masks/search/erosion_search.h"

#include <algorithm>
#include <utility>

#include "masks/index_window.h"
#include "simd/empty_bits.h"

namespace maskfit {
namespace {

constexpr int64_t kBlockWords = 768;    // words of one block of core rows: its height times a tile's words
constexpr int64_t kMaxTileWords = 64;   // 4096 columns
constexpr int64_t kBandCoreHeights = 4;  // rows of a band, in core heights, when several tiles share them

// Candidate columns [first, end) of the grid, read as bits: bit t stands for
// the candidate at column x + t and for board column x + t + core.x.
struct Tile {
    int64_t first;
    int64_t end;
    int64_t x;
    int64_t pixels;  // board columns read per row
    int64_t words;
};

// Candidate rows [first, end) of the grid.
struct Band {
    int64_t first;
    int64_t end;
};

// Lanes of a power-of-two width up to 64: the low and the high bit of each.
struct BitLanes {
    uint64_t low;
    uint64_t high;
};

// The widest lanes of which a run of w set bits always holds a whole one:
// width b with 2b - 1 <= w.
BitLanes LanesWithin(int64_t w) {
    int64_t width = 1;
    while (width < 64 && 4 * width - 1 <= w) {
        width *= 2;
    }
    uint64_t low = 0;
    for (int64_t bit = 0; bit < 64; bit += width) {
        low |= uint64_t{1} << bit;
    }
    return BitLanes{low, low << (width - 1)};
}

// Non-zero exactly when some lane of x has all its bits set: the lanes of
// ~x that are zero borrow in the subtraction, and the lowest of them is
// always marked.
uint64_t FullLanes(uint64_t x, const BitLanes& lanes) { return (~x - lanes.low) & x & lanes.high; }

// The 64 bits of the row from bit 64 * k + shift on; bits past the row are clear.
uint64_t WordAt(const uint64_t* row, int64_t words, int64_t k, int64_t shift) {
    const int64_t q = k + shift / 64;
    const int64_t r = shift % 64;
    const uint64_t low = q < words ? row[q] : 0;
    if (r == 0) {
        return low;
    }
    const uint64_t high = q + 1 < words ? row[q + 1] : 0;
    return low >> r | high << (64 - r);
}

// Each word ANDed with the row shifted down by `shift`; the words it reads
// lie at or after the one it writes, so they still hold the row as it was.
void AndShifted(uint64_t* row, int64_t words, int64_t shift) {
    for (int64_t k = 0; k < words; ++k) {
        if (row[k] != 0) {
            row[k] &= WordAt(row, words, k, shift);
        }
    }
}

// Bit t set where bits [t, t + w) of the row were all set, by doubling spans.
void Erode(uint64_t* row, int64_t words, int64_t w) {
    int64_t span = 1;
    for (; span * 2 <= w; span *= 2) {
        AndShifted(row, words, span);
    }
    if (span < w) {
        AndShifted(row, words, w - span);
    }
}

// Each row of the block ANDed with every row after it in the block.
void AndUpwards(uint64_t* block, int64_t rows, int64_t words) {
    for (int64_t i = rows - 2; i >= 0; --i) {
        for (int64_t k = 0; k < words; ++k) {
            block[i * words + k] &= block[(i + 1) * words + k];
        }
    }
}

struct Scratch {
    uint64_t blocks[2][kBlockWords];
    uint64_t ahead[kMaxTileWords];  // AND of the rows of the next block read so far
    uint64_t candidates[kMaxTileWords];
    uint64_t row[kMaxTileWords];
};

class ErosionSearch {
public:
    ErosionSearch(const BoardMask& board, const FitLayout& layout, const CoveredCore& core, const CandidateGrid& grid,
                  Scratch& scratch)
        : board_(board),
          layout_(layout),
          core_(core),
          grid_(grid),
          scratch_(scratch),
          exact_(CoversWholeScan(core, layout)),
          lanes_(LanesWithin(core.w)),
          tileReach_(64 * TileWords(core.h) - core.w) {}

    // The most words a tile may take for a core of this height, and so the
    // widest core it takes: one that leaves a tile 64 candidate columns.
    static int64_t TileWords(int64_t coreHeight) { return std::min(kMaxTileWords, kBlockWords / coreHeight); }

    // The widest tile from candidate column `first` on.
    Tile TileFrom(int64_t first) const {
        const AxisCandidates& columns = grid_.columns;
        const int64_t end = std::min(columns.count, first + 1 + tileReach_ / columns.step);
        const int64_t pixels = columns.At(end - 1) - columns.At(first) + core_.w;
        return Tile{first, end, columns.At(first), pixels, (pixels + 63) / 64};
    }

    // The first row of the band with a fit in the tile, and the fit's column.
    // The block of core rows under the current candidate row holds each row
    // ANDed with the rest of its block, `ahead` the rows of the next block up
    // to the candidate's last: their AND is the board under the core at every
    // column (one read of each row, whatever the core's height).
    bool FirstFit(const Tile& tile, const Band& band, int64_t& k, int64_t& x) {
        const int64_t height = core_.h;
        const int64_t words = tile.words;
        const int64_t top = grid_.rows.At(band.first) + core_.y;
        const int64_t last = (band.end - 1 - band.first) * grid_.rows.step;  // the last candidate row, from top
        MarkCandidates(tile);
        uint64_t* block = scratch_.blocks[0];
        uint64_t* next = scratch_.blocks[1];
        for (int64_t i = 0; i < height; ++i) {
            ReadRow(tile, top + i, block + i * words);
        }
        AndUpwards(block, height, words);
        std::fill_n(scratch_.ahead, words, ~uint64_t{0});
        int64_t candidateRow = band.first;
        int64_t candidateOffset = 0;
        for (int64_t r = 0, i = 0; r <= last; ++r, ++i) {
            if (i == height) {
                AndUpwards(next, height, words);
                std::swap(block, next);
                std::fill_n(scratch_.ahead, words, ~uint64_t{0});
                i = 0;
            }
            if (r == candidateOffset) {
                if (FirstFitInRow(tile, block + i * words, grid_.rows.At(candidateRow), x)) {
                    k = candidateRow;
                    return true;
                }
                ++candidateRow;
                candidateOffset += grid_.rows.step;
            }
            if (r < last) {
                uint64_t* bits = next + i * words;
                ReadRow(tile, top + r + height, bits);
                for (int64_t w = 0; w < words; ++w) {
                    scratch_.ahead[w] &= bits[w];
                }
            }
        }
        return false;
    }

private:
    void ReadRow(const Tile& tile, int64_t boardRow, uint64_t* bits) const {
        PackEmptyBits(PixelAddress(board_.pixels, tile.x + core_.x, boardRow, board_.width), tile.pixels, bits);
    }

    void MarkCandidates(const Tile& tile) {
        std::fill_n(scratch_.candidates, tile.words, uint64_t{0});
        for (int64_t m = tile.first; m < tile.end; ++m) {
            const int64_t t = grid_.columns.At(m) - tile.x;
            scratch_.candidates[t / 64] |= uint64_t{1} << (t % 64);
        }
    }

    // Most rows of a crowded board hold no run of empty columns as wide as
    // the core, which the lanes tell before any erosion.
    bool FirstFitInRow(const Tile& tile, const uint64_t* blockRow, int64_t y, int64_t& x) {
        uint64_t* row = scratch_.row;
        uint64_t full = 0;
        uint64_t open = 0;
        for (int64_t k = 0; k < tile.words; ++k) {
            row[k] = blockRow[k] & scratch_.ahead[k];
            full |= FullLanes(row[k], lanes_);
            open |= row[k] & scratch_.candidates[k];
        }
        if (full == 0 || open == 0) {
            return false;
        }
        Erode(row, tile.words, core_.w);
        for (int64_t k = 0; k < tile.words; ++k) {
            for (uint64_t bits = row[k] & scratch_.candidates[k]; bits != 0; bits &= bits - 1) {
                const int64_t column = tile.x + 64 * k + __builtin_ctzll(bits);
                if (exact_ ? ProbesClear(layout_, board_, column, y) : FitsAt(layout_, board_, column, y)) {
                    x = column;
                    return true;
                }
            }
        }
        return false;
    }

    const BoardMask& board_;
    const FitLayout& layout_;
    const CoveredCore& core_;
    const CandidateGrid& grid_;
    Scratch& scratch_;
    const bool exact_;  // the core is the whole scan rectangle
    const BitLanes lanes_;
    const int64_t tileReach_;  // the farthest a tile's last candidate column lies from its first
};

}  // namespace

bool FirstFitByErosion(const BoardMask& board, const FitLayout& layout, const CoveredCore& covered,
                       const CandidateGrid& grid, int64_t& x, int64_t& y) {
    // Any part of a core is a core: a wide one is cut to what a tile takes.
    CoveredCore core = covered;
    core.w = static_cast<int32_t>(std::min<int64_t>(core.w, 64 * ErosionSearch::TileWords(core.h) - 63));
    Scratch scratch;
    ErosionSearch search(board, layout, core, grid, scratch);
    const AxisCandidates& rows = grid.rows;
    const AxisCandidates& columns = grid.columns;
    // Core windows of rows a step of the core's height or more apart share
    // no board row: each row is then a band of its own, and no row between
    // them is read. One tile streams all rows in order; several take them
    // band by band.
    const bool oneTile = search.TileFrom(0).end == columns.count;
    const int64_t bandRows = rows.step >= core.h ? 1
                             : oneTile           ? rows.count
                                                 : (kBandCoreHeights * core.h + rows.step - 1) / rows.step;
    for (int64_t first = 0; first < rows.count; first += bandRows) {
        Band band{first, std::min(rows.count, first + bandRows)};
        bool found = false;
        // Tiles go left to right, so a later tile must fit in an earlier row to win.
        for (int64_t m = 0; m < columns.count && band.end > band.first;) {
            const Tile tile = search.TileFrom(m);
            int64_t k = 0;
            if (search.FirstFit(tile, band, k, x)) {
                band.end = k;
                found = true;
            }
            m = tile.end;
        }
        if (found) {
            y = rows.At(band.end);
            return true;
        }
    }
    return false;
}

}  // namespace maskfit
