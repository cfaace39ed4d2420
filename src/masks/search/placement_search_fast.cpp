#include "masks/search/placement_search_fast.h"

#include "masks/search/candidate_grid.h"
#include "masks/fitting/fit_test_fast.h"
#include "masks/search/strip_search.h"

namespace maskfit {
namespace {

// Any other shape: the fit test at each candidate in turn.
bool FirstFitOfAnyShape(const BoardMask& board, const FitLayout& layout, const CandidateGrid& grid, int64_t& x,
                        int64_t& y) {
    for (int64_t k = 0; k < grid.rows.count; ++k) {
        for (int64_t m = 0; m < grid.columns.count; ++m) {
            if (FitsAt(layout, board, grid.columns.At(m), grid.rows.At(k))) {
                x = grid.columns.At(m);
                y = grid.rows.At(k);
                return true;
            }
        }
    }
    return false;
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
    CoveredCore core{};
    int64_t x = 0;
    int64_t y = 0;
    hit.found = layout.scan && FindCoveredCore(layout, core) ? FirstFitByStrips(job.board, layout, core, grid, x, y)
                                                             : FirstFitOfAnyShape(job.board, layout, grid, x, y);
    hit.x = static_cast<int32_t>(x);
    hit.y = static_cast<int32_t>(y);
    return true;
}

}  // namespace maskfit
