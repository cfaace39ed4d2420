// The set-up of triangle_scan.h for four triangles at once, one a lane, for
// the fast paths, which set up every triangle of a mesh: the box from the
// corners' least and greatest coordinates, the three start values and the
// six steps. Each lane rounds the same differences and products as the
// checked set-up, in the same order, and the vector truncation gives
// INT32_MIN for NaN and for values outside int32, exactly as TruncateToInt32
// does, so each scan is the same to the bit.
#ifndef MASKFIT_MASKS_DRAWING_TRIANGLE_SCAN_FAST_H
#define MASKFIT_MASKS_DRAWING_TRIANGLE_SCAN_FAST_H

#include "masks/drawing/triangle_scan.h"

namespace maskfit {

// Corners p0, p1, p2 of four triangles.
struct FourTriangles {
    const Vec2* corners[3][4];
};

// SetUpTriangleScan of each of the four, its corners put first in the order
// that OrderForRasterizer gives when `orient` is set. Bit i of the result is
// set when triangle i's box is not empty (and scans[i] is then its scan).
uint32_t SetUpFourScans(const ShapeMask& mask, const FourTriangles& four, bool orient, TriangleScan (&scans)[4]);

}  // namespace maskfit

#endif
