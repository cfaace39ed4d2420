// The integer scan of one triangle: its box, clamped to the scan limits, and
// three edge values that start from one floating-point evaluation and are
// carried across the box in wrapping 32-bit steps. Every way of filling a
// triangle starts from this one set-up, so all fill the same pixels.
#ifndef MASKFIT_MASKS_DRAWING_TRIANGLE_SCAN_H
#define MASKFIT_MASKS_DRAWING_TRIANGLE_SCAN_H

#include <cstdint>

#include "maskfit/maskfit.h"
#include "runtime/int_math.h"

namespace maskfit {

struct EdgeValues {
    int32_t e0, e1, e2;
};

inline EdgeValues Add(EdgeValues v, EdgeValues step) {
    return {WrapAdd(v.e0, step.e0), WrapAdd(v.e1, step.e1), WrapAdd(v.e2, step.e2)};
}

// A pixel is inside when no edge value is negative; 0 counts as inside.
inline bool Inside(EdgeValues e) { return (e.e0 | e.e1 | e.e2) >= 0; }

struct TriangleScan {
    int32_t x0, y0, x1, y1;  // inclusive box in triangle space, never negative
    EdgeValues rowStart;     // edge values at (x0, y0)
    EdgeValues columnStep;   // added from one column to the next
    EdgeValues rowStep;      // added to the row's start from one row to the next
};

struct Triangle {
    Vec2 a, b, c;
};

// Puts the corners into the order the rasterizer fills, as the triangle list
// fill does: the first two are exchanged when the truncated cross product is
// negative (NaN included).
Triangle OrderForRasterizer(const Vec2& p0, const Vec2& p1, const Vec2& p2);

// False, with nothing to scan, when the box is empty after clamping.
bool SetUpTriangleScan(const ShapeMask& mask, const Vec2& a, const Vec2& b, const Vec2& c, TriangleScan& scan);

}  // namespace maskfit

#endif
