#include "drawing_rules.h"

#include <cmath>
#include "fuzz_masks.h"
#include "host_rules.h"
#include "runtime/int_math.h"
#include "work_limit.h"

namespace mffuzz {
namespace {

using maskfit::TruncateToInt32;

// The rasterizer's maximum and minimum, which ignore a NaN second operand.
float Max2(float p, float q) { return (std::isnan(q) || p > q) ? p : q; }
float Min2(float p, float q) { return (std::isnan(q) || p < q) ? p : q; }

int64_t Span(int32_t low, int32_t high) { return high >= low ? static_cast<int64_t>(high) - low + 1 : 0; }

}  // namespace

int64_t TriangleWork(const Vec2& a, const Vec2& b, const Vec2& c, int32_t limitX, int32_t limitY, int32_t marginX,
                     int32_t marginY) {
    const int32_t maxX = TruncateToInt32(Max2(a.x, Max2(b.x, c.x)));
    const int32_t maxY = TruncateToInt32(Max2(a.y, Max2(b.y, c.y)));
    const int32_t minX = TruncateToInt32(Min2(a.x, Min2(b.x, c.x)));
    const int32_t minY = TruncateToInt32(Min2(a.y, Min2(b.y, c.y)));
    const int32_t lastX = maskfit::WrapSub(limitX, 1);
    const int32_t lastY = maskfit::WrapSub(limitY, 1);
    const int64_t area = SaturatingProduct(Span(minX > 0 ? minX : 0, maxX < lastX ? maxX : lastX),
                                           Span(minY > 0 ? minY : 0, maxY < lastY ? maxY : lastY));
    const int64_t brush = marginX > 0 && marginY > 0 ? SaturatingProduct(4 * static_cast<int64_t>(marginX), marginY) : 0;
    return SaturatingProduct(area, SaturatingSum(brush, 1));
}

void CheckDrawnPixels(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, uint8_t value,
                      bool rectFill) {
    Require(before.size() == after.size(), "pixel windows keep their size");
    for (size_t i = 0; i < before.size(); ++i) {
        const bool kept = after[i] == before[i];
        // A triangle value of 0 empties a pixel, which a later brush may fill.
        const bool empty = before[i] == 0 || value == 0;
        const bool filled = empty && (after[i] == FILL_BORDER || (rectFill && after[i] == FILL_RECT));
        Require(kept || after[i] == value || filled, "a drawing changes pixels only as its steps allow");
    }
}

void CheckOnlyDirtyWidened(const ShapeMask& before, const ShapeMask& after) {
    ShapeMask same = after;
    same.dirty = before.dirty;
    Require(SameRecord(same, before), "a drawing changes no field but the dirty rectangle");
    Require(after.dirty.xMin <= before.dirty.xMin && after.dirty.yMin <= before.dirty.yMin &&
                after.dirty.xMax >= before.dirty.xMax && after.dirty.yMax >= before.dirty.yMax,
            "the dirty rectangle only grows");
}

}  // namespace mffuzz
