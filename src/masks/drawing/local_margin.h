// One triangle's margin painted right after its pixels, from its own runs:
// each margin row takes the union of the brushes of the runs whose rows
// reach it, clamped to the mask's edge as every brush position is, and has
// its empty pixels painted. The work follows the triangle's own rows, so a
// call costs the same whatever the rest of the mesh or the mask.
#ifndef MASKFIT_MASKS_DRAWING_LOCAL_MARGIN_H
#define MASKFIT_MASKS_DRAWING_LOCAL_MARGIN_H

#include "masks/drawing/span_target.h"
#include "masks/drawing/triangle_scan.h"

namespace maskfit {

// Writes the triangle's pixels and paints the margin their brushes reach,
// as the checked rasterizer leaves them; the target needs a brush.
void DrawWithOwnMargin(SpanTarget& target, const TriangleScan& scan);

}  // namespace maskfit

#endif
