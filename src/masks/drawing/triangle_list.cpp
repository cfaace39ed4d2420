#include "masks/mask_ops.h"
#include "masks/drawing/span_rasterizer.h"
#include "masks/drawing/triangle_scan.h"
#include "runtime/fast_paths.h"

namespace maskfit {
namespace {

// Only whole triples are drawn: nothing at or past indexCount is read.
void RasterizeTrianglesChecked(const Vec2* vertices, const int32_t* indices, int32_t indexCount, ShapeMask& mask,
                               int32_t marginX, int32_t marginY) {
    for (int32_t k = 0; indexCount - k >= 3; k += 3) {
        const Triangle t = OrderForRasterizer(vertices[indices[k]], vertices[indices[k + 1]], vertices[indices[k + 2]]);
        RasterizeTriangle(mask, FILL_INTERIOR, t.a, t.b, t.c, marginX, marginY);
    }
}

}  // namespace

int32_t RasterizeTriangles(const Vec2* vertices, const int32_t* indices, int32_t indexCount, ShapeMask& mask,
                           int32_t marginX, int32_t marginY) {
    const TriangleList list{vertices, indices, indexCount / 3, true};
    if (kFastPathsEnabled && indexCount >= 3 && TryRasterizeTrianglesFast(mask, FILL_INTERIOR, list, marginX, marginY)) {
        return 1;
    }
    RasterizeTrianglesChecked(vertices, indices, indexCount, mask, marginX, marginY);
    return 1;
}

}  // namespace maskfit
