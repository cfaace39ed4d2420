// The margin of a whole call in one sweep down the mask, after every
// triangle pixel is written: the drawn pixels are read back as rows of
// coverage bits, each margin row is the union of the rows whose brushes
// reach it, widened by the brush, and its empty pixels are painted. The work
// follows the rows and columns the mesh covers, not its triangles, which
// makes it the cheap way for meshes of many triangles.
#ifndef MASKFIT_MASKS_DRAWING_MARGIN_SWEEP_H
#define MASKFIT_MASKS_DRAWING_MARGIN_SWEEP_H

#include <cstdint>

#include "masks/drawing/span_target.h"

namespace maskfit {

// Where the sweep reads and how its bits are laid out.
struct SweepPlan {
    LocalBox drawn;     // every local pixel a triangle may fill
    int64_t firstBit;   // local column of bit 0 of a row
    int64_t drawnBit;   // the bit of drawn.columns.lo: marginX, the reach of a brush to the left
    int64_t columns;    // bits a row: the drawn columns and their brushes
    int64_t words;
    int64_t ringRows;   // drawn rows kept: a power of two, at least the 2 * marginY one margin row needs
};

// Whether the sweep gives the checked path's margin for triangles whose
// boxes lie in the triangle-space `box`, drawn into `target` (which has a
// brush) once all their pixels are written; and whether it is worth it for
// `triangles` triangles. False, with nothing touched, otherwise.
bool PlanSweep(const SpanTarget& target, const LocalBox& box, int32_t triangles, SweepPlan& plan);

// Paints the margin of every pixel written into the drawn box since the plan,
// and widens the target's drawn box by those pixels, which it reads anyway:
// the triangles' writers need not note them.
void SweepMargin(SpanTarget& target, const SweepPlan& plan);

}  // namespace maskfit

#endif
