// Triangles drawn by spans: the inside columns of each scanned row found
// from its three edge values at once and written as one run, and the margin
// that the border brush paints around them found for all triangles together,
// as rows of coverage bits widened by the brush.
#ifndef MASKFIT_MASKS_DRAWING_SPAN_RASTERIZER_H
#define MASKFIT_MASKS_DRAWING_SPAN_RASTERIZER_H

#include <cstdint>

#include "masks/drawing/triangle_scan.h"

namespace maskfit {

// Triangle k has the corners named by entries 3k, 3k + 1 and 3k + 2.
struct TriangleList {
    const Vec2* vertices;
    const int32_t* indices;
    int32_t count;  // triangles
    bool orient;    // put each triangle in the rasterizer's order first, as the list fill does
};

// Draws the triangles as the checked rasterizer does, one after the other,
// when that provably gives the same pixels, dirty rectangle and host calls
// (none); false, with nothing touched, otherwise.
bool TryRasterizeTrianglesFast(ShapeMask& mask, uint8_t value, const TriangleList& list, int32_t marginX,
                               int32_t marginY);

}  // namespace maskfit

#endif
