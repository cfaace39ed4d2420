#include "masks/search/placement_search_fast.h"

#include <algorithm>

#include "masks/fitting/fit_test_fast.h"
#include "masks/search/candidate_grid.h"
#include "masks/search/covered_core.h"
#include "masks/search/erosion_search.h"

namespace maskfit {
namespace {

// The first candidates are tried one by one before the board is read as
// bits: a search whose first candidates fit then costs a fit test or two,
// and one whose first candidates do not costs little more.
constexpr int64_t kLoneCandidates = 4;

// The fit test at each candidate in turn, up to `rowCount` rows of the
// first `columnCount` columns.
bool FirstFitTriedInTurn(const BoardMask& board, const FitLayout& layout, const CandidateGrid& grid,
                         int64_t rowCount, int64_t columnCount, int64_t& x, int64_t& y) {
    for (int64_t k = 0; k < rowCount; ++k) {
        for (int64_t m = 0; m < columnCount; ++m) {
            if (FitsAt(layout, board, grid.columns.At(m), grid.rows.At(k))) {
                x = grid.columns.At(m);
                y = grid.rows.At(k);
                return true;
            }
        }
    }
    return false;
}

// The first fit in row order. The erosion search tries the lone candidates
// again, which changes nothing: none of them fits.
bool FirstFit(const BoardMask& board, const FitLayout& layout, const CandidateGrid& grid, int64_t& x, int64_t& y) {
    if (FirstFitTriedInTurn(board, layout, grid, 1, std::min(kLoneCandidates, grid.columns.count), x, y)) {
        return true;
    }
    CoveredCore core{};
    if (layout.scan && FindCoveredCore(layout, kErosionMaxCoreHeight, core)) {
        return FirstFitByErosion(board, layout, core, grid, x, y);
    }
    return FirstFitTriedInTurn(board, layout, grid, grid.rows.count, grid.columns.count, x, y);
}

}  // namespace

bool TrySearchPlacementFast(const PlacementSearchJob& job, SearchHit& hit) {
    CandidateGrid grid{};
    if (!TriedCandidates(job, grid)) {
        return false;
    }
    hit = SearchHit{false, 0, 0};
    if (grid.rows.count == 0 || grid.columns.count == 0) {
        return true;  // no candidate is tried, so no pixel is read
    }
    FitLayout layout{};
    const PixelBox candidates{grid.columns.first, grid.rows.first, grid.columns.Last(), grid.rows.Last()};
    if (!PrepareFit(job.board, job.shape, layout) ||
        !BoxInWindow(job.board.pixels, BoardReach(layout, candidates), job.board.width)) {
        return false;
    }
    int64_t x = 0;
    int64_t y = 0;
    hit.found = FirstFit(job.board, layout, grid, x, y);
    hit.x = static_cast<int32_t>(x);
    hit.y = static_cast<int32_t>(y);
    return true;
}

}  // namespace maskfit
