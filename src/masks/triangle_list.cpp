#include "masks/mask_ops.h"
#include "runtime/int_math.h"

namespace maskfit {
namespace {

struct Triangle {
    Vec2 a, b, c;
};

// Puts the corners into the order the rasterizer fills: the first two are
// exchanged when the truncated cross product is negative (NaN included).
Triangle OrderForRasterizer(const Vec2& p0, const Vec2& p1, const Vec2& p2) {
    const float cross = (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
    if (TruncateToInt32(cross) < 0) {
        return {p1, p0, p2};
    }
    return {p0, p1, p2};
}

}  // namespace

int32_t RasterizeTriangles(const Vec2* vertices, const int32_t* indices, int32_t indexCount, ShapeMask& mask,
                           int32_t marginX, int32_t marginY) {
    // Only whole triples are drawn: nothing at or past indexCount is read.
    for (int32_t k = 0; indexCount - k >= 3; k += 3) {
        const Triangle t = OrderForRasterizer(vertices[indices[k]], vertices[indices[k + 1]], vertices[indices[k + 2]]);
        RasterizeTriangle(mask, FILL_INTERIOR, t.a, t.b, t.c, marginX, marginY);
    }
    return 1;
}

}  // namespace maskfit
