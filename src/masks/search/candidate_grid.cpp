#include "masks/search/candidate_grid.h"

namespace maskfit {
namespace {

// The walk start, start + step, ... while <= end; a step of 0 or below
// holds start alone, and the walk never wraps past INT32_MAX.
AxisCandidates Walk(const SearchRange& range) {
    if (range.start > range.end) {
        return AxisCandidates{range.start, 1, 0};
    }
    if (range.step <= 0) {
        return AxisCandidates{range.start, 1, 1};
    }
    const int64_t span = static_cast<int64_t>(range.end) - range.start;
    return AxisCandidates{range.start, range.step, span / range.step + 1};
}

// How many walk positions p pass p + edge < limit, counted from the front;
// valid while the sums do not wrap.
int64_t PassingPrefix(const AxisCandidates& walk, int32_t edge, int32_t limit) {
    const int64_t firstSum = walk.first + edge;
    if (firstSum >= limit) {
        return 0;
    }
    const int64_t passing = (limit - 1 - firstSum) / walk.step + 1;
    return passing < walk.count ? passing : walk.count;
}

bool SumFits(int64_t position, int32_t edge) {
    const int64_t sum = position + edge;
    return sum >= INT32_MIN && sum <= INT32_MAX;
}

// A failing column is skipped and the walk goes on, so every sum of the
// walk must stay unwrapped.
bool TriedColumns(const SearchRange& range, int32_t edge, int32_t limit, AxisCandidates& columns) {
    columns = Walk(range);
    if (columns.count == 0) {
        return true;
    }
    if (!SumFits(columns.first, edge) || !SumFits(columns.Last(), edge)) {
        return false;
    }
    columns.count = PassingPrefix(columns, edge, limit);
    return true;
}

// A failing row ends the search, so only the sums up to the first failing
// row matter.
bool TriedRows(const SearchRange& range, int32_t edge, int32_t limit, AxisCandidates& rows) {
    rows = Walk(range);
    if (rows.count == 0) {
        return true;
    }
    if (!SumFits(rows.first, edge)) {
        return false;
    }
    const int64_t passing = PassingPrefix(rows, edge, limit);
    if (passing < rows.count && !SumFits(rows.At(passing), edge)) {
        return false;
    }
    rows.count = passing;
    return true;
}

}  // namespace

bool TriedCandidates(const PlacementSearchJob& job, CandidateGrid& grid) {
    return TriedRows(job.yRange, job.shape.bounds.y1, job.board.bounds.y0, grid.rows) &&
           TriedColumns(job.xRange, job.shape.bounds.x1, job.board.bounds.x0, grid.columns);
}

}  // namespace maskfit
