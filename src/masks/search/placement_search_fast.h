// The placement search without per-candidate checks: the whole grid of
// candidates is proven once to stay inside the windows, then searched with
// the fit test's answer at every candidate, as the checked search would.
#ifndef MASKFIT_MASKS_SEARCH_PLACEMENT_SEARCH_FAST_H
#define MASKFIT_MASKS_SEARCH_PLACEMENT_SEARCH_FAST_H

#include "maskfit/maskfit.h"
#include "masks/search/placement_search.h"

namespace maskfit {

// Finds the first fitting candidate of the job's grid in row order. Returns
// false, with nothing observable done, when the checked search must run
// instead: a version test would call the host, a candidate could reach a
// pixel outside a window, or a limit test would wrap.
bool TrySearchPlacementFast(const PlacementSearchJob& job, SearchHit& hit);

}  // namespace maskfit

#endif
