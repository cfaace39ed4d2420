#include <cmath>

#include "masks/checked_access.h"
#include "masks/mask_ops.h"
#include "runtime/int_math.h"

namespace maskfit {
namespace {

// Maximum and minimum that ignore a NaN second operand.
float Max2(float p, float q) {
    return (std::isnan(q) || p > q) ? p : q;
}

float Min2(float p, float q) {
    return (std::isnan(q) || p < q) ? p : q;
}

// Edge function (p - c) x (a - c) evaluated at the integer corner (px, py),
// each product and difference rounded on its own.
int32_t EdgeStart(float px, float py, const Vec2& from, const Vec2& to) {
    const float across = (py - from.y) * (to.x - from.x);
    const float along = (to.y - from.y) * (px - from.x);
    return TruncateToInt32(across - along);
}

struct EdgeValues {
    int32_t e0, e1, e2;
};

EdgeValues Add(EdgeValues v, EdgeValues step) {
    return {WrapAdd(v.e0, step.e0), WrapAdd(v.e1, step.e1), WrapAdd(v.e2, step.e2)};
}

void FillPixel(ShapeMask& mask, uint8_t value, int32_t x, int32_t y, int32_t marginX, int32_t marginY) {
    const int32_t ax = WrapAdd(marginX, x);
    const int32_t ay = WrapAdd(marginY, y);
    const int32_t lx = WrapSub(ax, mask.origin.x);
    const int32_t ly = WrapSub(ay, mask.origin.y);
    WritePixel(mask.pixels, PixelIndex(lx, ly, mask.width), value);
    WidenDirty(mask.dirty, lx, ly);
    PaintBorder(mask, FILL_BORDER, ax, ay, marginX, marginY);
}

}  // namespace

void RasterizeTriangle(ShapeMask& mask, uint8_t value, const Vec2& a, const Vec2& b, const Vec2& c,
                       int32_t marginX, int32_t marginY) {
    const int32_t maxX = TruncateToInt32(Max2(a.x, Max2(b.x, c.x)));
    const int32_t maxY = TruncateToInt32(Max2(a.y, Max2(b.y, c.y)));
    const int32_t minX = TruncateToInt32(Min2(a.x, Min2(b.x, c.x)));
    const int32_t minY = TruncateToInt32(Min2(a.y, Min2(b.y, c.y)));

    const int32_t x0 = minX > 0 ? minX : 0;
    const int32_t y0 = minY > 0 ? minY : 0;
    const int32_t limitX = WrapSub(mask.bounds.x0, 1);
    const int32_t limitY = WrapSub(mask.bounds.y0, 1);
    const int32_t x1 = maxX < limitX ? maxX : limitX;
    const int32_t y1 = maxY < limitY ? maxY : limitY;
    if (y0 > y1 || x0 > x1) {
        return;
    }

    const auto px = static_cast<float>(x0);
    const auto py = static_cast<float>(y0);
    // Float products commute exactly, so the edge from a to b takes the same form.
    EdgeValues rowStart = {EdgeStart(px, py, c, a), EdgeStart(px, py, b, c), EdgeStart(px, py, a, b)};
    const EdgeValues columnStep = {TruncateToInt32(c.y - a.y), TruncateToInt32(b.y - c.y),
                                   TruncateToInt32(a.y - b.y)};
    const EdgeValues rowStep = {TruncateToInt32(a.x - c.x), TruncateToInt32(c.x - b.x), TruncateToInt32(b.x - a.x)};

    for (int32_t y = y0;; ++y) {
        EdgeValues e = rowStart;
        for (int32_t x = x0;; ++x) {
            if ((e.e0 | e.e1 | e.e2) >= 0) {
                FillPixel(mask, value, x, y, marginX, marginY);
            }
            e = Add(e, columnStep);
            if (x == x1) {
                break;
            }
        }
        rowStart = Add(rowStart, rowStep);
        if (y == y1) {
            break;
        }
    }
}

}  // namespace maskfit
