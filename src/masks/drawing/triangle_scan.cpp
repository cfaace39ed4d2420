#include "masks/drawing/triangle_scan.h"

#include <cmath>

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

}  // namespace

Triangle OrderForRasterizer(const Vec2& p0, const Vec2& p1, const Vec2& p2) {
    const float cross = (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
    if (TruncateToInt32(cross) < 0) {
        return {p1, p0, p2};
    }
    return {p0, p1, p2};
}

bool SetUpTriangleScan(const ShapeMask& mask, const Vec2& a, const Vec2& b, const Vec2& c, TriangleScan& scan) {
    const int32_t maxX = TruncateToInt32(Max2(a.x, Max2(b.x, c.x)));
    const int32_t maxY = TruncateToInt32(Max2(a.y, Max2(b.y, c.y)));
    const int32_t minX = TruncateToInt32(Min2(a.x, Min2(b.x, c.x)));
    const int32_t minY = TruncateToInt32(Min2(a.y, Min2(b.y, c.y)));

    const int32_t limitX = WrapSub(mask.bounds.x0, 1);
    const int32_t limitY = WrapSub(mask.bounds.y0, 1);
    scan.x0 = minX > 0 ? minX : 0;
    scan.y0 = minY > 0 ? minY : 0;
    scan.x1 = maxX < limitX ? maxX : limitX;
    scan.y1 = maxY < limitY ? maxY : limitY;
    if (scan.y0 > scan.y1 || scan.x0 > scan.x1) {
        return false;
    }

    const auto px = static_cast<float>(scan.x0);
    const auto py = static_cast<float>(scan.y0);
    // Float products commute exactly, so the edge from a to b takes the same form.
    scan.rowStart = {EdgeStart(px, py, c, a), EdgeStart(px, py, b, c), EdgeStart(px, py, a, b)};
    scan.columnStep = {TruncateToInt32(c.y - a.y), TruncateToInt32(b.y - c.y), TruncateToInt32(a.y - b.y)};
    scan.rowStep = {TruncateToInt32(a.x - c.x), TruncateToInt32(c.x - b.x), TruncateToInt32(b.x - a.x)};
    return true;
}

}  // namespace maskfit
