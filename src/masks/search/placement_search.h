// The placement search: the grid of candidate positions walked rows outer,
// columns inner, each candidate tried with the fit test once it passes the
// board's limits, until the first fit.
#ifndef MASKFIT_MASKS_SEARCH_PLACEMENT_SEARCH_H
#define MASKFIT_MASKS_SEARCH_PLACEMENT_SEARCH_H

#include <cstdint>

#include "maskfit/maskfit.h"

namespace maskfit {

struct SearchHit {
    bool found;
    int32_t x;
    int32_t y;
};

// The first fitting candidate of the job's grid in row order, if any. Bounds
// failures and host checks of the fit tests happen on the way.
SearchHit SearchPlacement(const PlacementSearchJob& job);

}  // namespace maskfit

#endif
