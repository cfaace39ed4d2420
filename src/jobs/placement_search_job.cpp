#include "jobs/jobs.h"
#include "masks/checked_access.h"
#include "masks/search/placement_search.h"

namespace maskfit {

void FindPlacement(const PlacementSearchJob& job) {
    const SearchHit hit = SearchPlacement(job);
    if (hit.found) {
        const PlacementResult result{hit.x, hit.y, 1, 0};
        WriteElement(job.results, job.outputIndex, result);
    }
}

}  // namespace maskfit
