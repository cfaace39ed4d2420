// The two job entries' operations. Each reads only its parameter block.
#ifndef MASKFIT_JOBS_JOBS_H
#define MASKFIT_JOBS_JOBS_H

#include "maskfit/maskfit.h"

namespace maskfit {

// Rebuilds shapes[shapeIndex] from the block's mesh.
void BuildShapeMask(const ShapeBuildJob& job);

// Writes the first fitting candidate of the grid to results[outputIndex].
void FindPlacement(const PlacementSearchJob& job);

}  // namespace maskfit

#endif
