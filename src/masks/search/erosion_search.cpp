#include "masks/search/erosion_search.h"

#include <algorithm>
#include <utility>

#include "masks/index_window.h"
#include "simd/empty_bits.h"

namespace maskfit {
namespace {

constexpr int64_t kBlockWords = 1024;   // words of one block of core rows: its height times a tile's words
constexpr int64_t kMaxTileWords = 64;   // 4096 columns
constexpr int64_t kBandCoreHeights = 4;  // rows of a band, in core heights, when several tiles share them
// On short rows each row the all-set byte test opens costs about what the
// erosion of a closed row saves, so a search that finds more than a quarter
// of them open, after this many, stops testing. On rows of this many words
// or more the erosion costs the more, and the test always pays.
constexpr int64_t kTestedRowsBeforeGivingUp = 32;
constexpr int64_t kWordsAlwaysTested = 16;

// Candidate columns [first, end) of the grid, read as bits: bit t stands for
// the candidate at column x + t and for board column x + t + core.x.
struct Tile {
    int64_t first;
    int64_t end;
    int64_t x;
    int64_t pixels;  // board columns read per row
    int64_t words;   // per row, whole runs of kRunWordMultiple, clear past the pixels
};

// Candidate rows [first, end) of the grid.
struct Band {
    int64_t first;
    int64_t end;
};

struct Scratch {
    // Each block is followed by a run of set words, the rows below the
    // last of a block: under the next candidate row the board is then the
    // next block's rows ANDed, all of them read.
    uint64_t blocks[2][kBlockWords + kMaxTileWords];
    uint64_t ahead[kMaxTileWords];  // AND of the rows of the next block read so far
    uint64_t candidates[kMaxTileWords];
    uint64_t row[kMaxTileWords];  // the candidates whose core window is empty
};

// A run of w set bits holds (w - 7) / 8 whole bytes, and so many all-set
// bytes in a row; past 64 the test only weakens.
int64_t FullBytesInCore(int64_t w) { return std::min<int64_t>(64, (w - 7) / 8); }

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
          fullBytes_(FullBytesInCore(core.w)),
          tileReach_(64 * TileWords(core.h) - core.w) {}

    // The most words a tile may take for a core of this height, and so the
    // widest core it takes: one that leaves a tile 64 candidate columns.
    static int64_t TileWords(int64_t coreHeight) {
        return std::min(kMaxTileWords, kBlockWords / coreHeight / kRunWordMultiple * kRunWordMultiple);
    }

    // The widest tile from candidate column `first` on. It reads the
    // columns its core windows cover, and on to the end of their last word
    // where the proven reach goes on (up to the far corner's column), so
    // that a row ends in a whole word more often.
    Tile TileFrom(int64_t first) const {
        const AxisCandidates& columns = grid_.columns;
        const int64_t end = std::min(columns.count, first + 1 + tileReach_ / columns.step);
        const int64_t covered = columns.At(end - 1) - columns.At(first) + core_.w;
        const int64_t reach = columns.Last() + layout_.w + 1 - (columns.At(first) + core_.x);
        const int64_t pixels = std::min((covered + 63) / 64 * 64, reach);
        const int64_t runs = (pixels + 64 * kRunWordMultiple - 1) / (64 * kRunWordMultiple);
        return Tile{first, end, columns.At(first), pixels, runs * kRunWordMultiple};
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
        kernels_ = ChooseEmptyBitKernels(tile.pixels);
        uint64_t* block = scratch_.blocks[0];
        uint64_t* next = scratch_.blocks[1];
        for (int64_t i = 0; i < height; ++i) {
            kernels_.pack(RowStart(tile, top + i), tile.pixels, block + i * words, words);
        }
        kernels_.andUpwards(block, height, words);
        std::fill_n(scratch_.ahead, words, ~uint64_t{0});
        std::fill_n(block + height * words, words, ~uint64_t{0});
        std::fill_n(next + height * words, words, ~uint64_t{0});
        int64_t candidateRow = band.first;
        int64_t candidateOffset = 0;
        // Whether candidate row `candidateRow` may hold a fit, as the
        // all-set bytes of the board under its core tell.
        bool open = true;
        int64_t tested = 0;
        int64_t opens = 0;
        for (int64_t r = 0, i = 0; r <= last;) {
            if (i == height) {
                kernels_.andUpwards(next, height, words);
                std::swap(block, next);
                std::fill_n(scratch_.ahead, words, ~uint64_t{0});
                i = 0;
            }
            if (r == candidateOffset) {
                if (open && FirstFitInRow(tile, block + i * words, grid_.rows.At(candidateRow), x)) {
                    k = candidateRow;
                    return true;
                }
                ++candidateRow;
                candidateOffset += grid_.rows.step;
            }
            if (r == last) {
                break;
            }
            const uint8_t* row = RowStart(tile, top + r + height);
            const bool givenUp = words < kWordsAlwaysTested && 4 * opens > tested + kTestedRowsBeforeGivingUp;
            if (fullBytes_ == 0 || r + 1 != candidateOffset || givenUp) {
                kernels_.packAndInto(row, tile.pixels, next + i * words, scratch_.ahead, words);
                open = true;
                ++r;
                ++i;
                continue;
            }
            // With steps of one, every row to the block's end is the next
            // candidate's last: the rows up to the first that opens are
            // packed in one go, and the candidates they close are passed.
            const int64_t rows = grid_.rows.step == 1 ? std::min(height - i, last - r) : 1;
            const int64_t opened = kernels_.packRowsUntilFull(row, board_.width, tile.pixels, rows, next + i * words,
                                                               scratch_.ahead, block + (i + 1) * words, words, fullBytes_);
            const int64_t packed = std::min(opened + 1, rows);
            r += packed;
            i += packed;
            candidateRow += packed - 1;
            candidateOffset += (packed - 1) * grid_.rows.step;
            open = opened < rows;
            tested += packed;
            opens += open ? 1 : 0;
        }
        return false;
    }

private:
    // The tile's first board pixel in a row.
    const uint8_t* RowStart(const Tile& tile, int64_t boardRow) const {
        return PixelAddress(board_.pixels, tile.x + core_.x, boardRow, board_.width);
    }

    void MarkCandidates(const Tile& tile) {
        if (grid_.columns.step == 1) {
            // The first `count` bits, a word at a time.
            const int64_t count = tile.end - tile.first;
            for (int64_t k = 0; k < tile.words; ++k) {
                const int64_t bits = std::clamp<int64_t>(count - 64 * k, 0, 64);
                scratch_.candidates[k] = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
            }
            return;
        }
        std::fill_n(scratch_.candidates, tile.words, uint64_t{0});
        for (int64_t m = tile.first; m < tile.end; ++m) {
            const int64_t t = grid_.columns.At(m) - tile.x;
            scratch_.candidates[t / 64] |= uint64_t{1} << (t % 64);
        }
    }

    // The board under the core at every column is the block row ANDed with
    // the rows ahead; eroded along the core's width, in spans of up to 64
    // columns (eroding by a, then by b, erodes by a + b - 1), it holds the
    // candidates whose core window is empty.
    bool FirstFitInRow(const Tile& tile, const uint64_t* blockRow, int64_t y, int64_t& x) {
        uint64_t* row = scratch_.row;
        int64_t span = std::min<int64_t>(core_.w, 64);
        uint64_t any = kernels_.erodeAnd(blockRow, scratch_.ahead, row, tile.words, span);
        while (span < core_.w && any != 0) {
            const int64_t step = std::min<int64_t>(64, core_.w - span + 1);
            any = kernels_.erodeAnd(row, row, row, tile.words, step);
            span += step - 1;
        }
        for (int64_t k = 0; k < tile.words && any != 0; ++k) {
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
    EmptyBitKernels kernels_{};  // for the tile being searched
    const bool exact_;            // the core is the whole scan rectangle
    const int64_t fullBytes_;     // all-set bytes in a row a fit needs, or none to test for
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
