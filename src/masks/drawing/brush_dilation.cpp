#include "masks/drawing/brush_dilation.h"

#include "masks/drawing/empty_fill.h"

namespace maskfit {

bool TryPaintBorderFast(ShapeMask& mask, int32_t value, int32_t cx, int32_t cy, int32_t rx, int32_t ry) {
    if (rx <= 0 || ry <= 0 || mask.width < 1 || mask.height < 0) {
        return false;
    }
    // Brush positions are computed in 32 bits; they must not wrap.
    const int64_t left = int64_t{cx} - rx;
    const int64_t right = int64_t{cx} + rx - 1;
    const int64_t top = int64_t{cy} - ry;
    const int64_t bottom = int64_t{cy} + ry - 1;
    if (!FitsInt32(left) || !FitsInt32(right) || !FitsInt32(top) || !FitsInt32(bottom)) {
        return false;
    }
    const LocalBox reach{BrushReach(left, right, mask.width, mask.origin.x),
                         BrushReach(top, bottom, mask.height, mask.origin.y)};
    return TryFillEmpty(mask, reach, static_cast<uint8_t>(value), FillWrites::kEmptyOnly, mask.dirty);
}

}  // namespace maskfit
