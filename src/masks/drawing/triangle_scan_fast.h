// The set-up of triangle_scan.h four lanes at a time, for the fast paths,
// which set up every triangle of a mesh: the box from the corners' least and
// greatest coordinates, the three start values and the six steps. Each lane
// rounds the same differences and products as the checked set-up, and the
// vector truncation gives INT32_MIN for NaN and for values outside int32,
// exactly as TruncateToInt32 does, so the scan is the same to the bit.
#ifndef MASKFIT_MASKS_DRAWING_TRIANGLE_SCAN_FAST_H
#define MASKFIT_MASKS_DRAWING_TRIANGLE_SCAN_FAST_H

#include "masks/drawing/triangle_scan.h"

namespace maskfit {

// SetUpTriangleScan of the corners p0, p1, p2, put first in the order that
// OrderForRasterizer gives when `orient` is set.
bool SetUpTriangleScanFast(const ShapeMask& mask, const Vec2& p0, const Vec2& p1, const Vec2& p2, bool orient,
                           TriangleScan& scan);

}  // namespace maskfit

#endif
