// The candidates the placement search tries, as two arithmetic progressions.
// The search walks each range from start by step up to end, and tries a
// candidate only while the shape's high corner added to it stays below the
// board's limit; without wrap-around in those sums the tried columns and
// rows are each a prefix of their walk.
#ifndef MASKFIT_MASKS_SEARCH_CANDIDATE_GRID_H
#define MASKFIT_MASKS_SEARCH_CANDIDATE_GRID_H

#include <cstdint>

#include "maskfit/maskfit.h"

namespace maskfit {

struct AxisCandidates {
    int64_t first;
    int64_t step;  // at least 1
    int64_t count;

    int64_t At(int64_t k) const { return first + k * step; }
    int64_t Last() const { return At(count - 1); }
};

struct CandidateGrid {
    AxisCandidates columns;
    AxisCandidates rows;
};

// The tried grid, or false when a limit sum could wrap, which would make
// the tried set irregular.
bool TriedCandidates(const PlacementSearchJob& job, CandidateGrid& grid);

}  // namespace maskfit

#endif
