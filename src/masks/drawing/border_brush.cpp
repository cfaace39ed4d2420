#include "masks/drawing/brush_dilation.h"
#include "masks/checked_access.h"
#include "masks/mask_ops.h"
#include "runtime/fast_paths.h"
#include "runtime/int_math.h"

namespace maskfit {
namespace {

// Clamp to the closed range [0, limit]: positions past the edge land on it.
int32_t ClampToEdge(int32_t value, int32_t limit) {
    if (value < 0) {
        return 0;
    }
    return value > limit ? limit : value;
}

void PaintBorderChecked(ShapeMask& mask, int32_t value, int32_t cx, int32_t cy, int32_t rx, int32_t ry) {
    if (ry <= 0 || rx <= 0) {
        return;
    }
    const auto fill = static_cast<uint8_t>(value);
    for (int32_t dy = -ry; dy < ry; ++dy) {
        const int32_t ay = ClampToEdge(WrapAdd(cy, dy), mask.height);
        for (int32_t dx = -rx; dx < rx; ++dx) {
            const int32_t ax = ClampToEdge(WrapAdd(cx, dx), mask.width);
            const int32_t lx = WrapSub(ax, mask.origin.x);
            const int32_t ly = WrapSub(ay, mask.origin.y);
            if (lx > mask.width || lx < 0 || ly < 0 || ly > mask.height) {
                continue;
            }
            const int32_t i = PixelIndex(lx, ly, mask.width);
            if (ReadPixel(mask.pixels, i) != 0) {
                continue;
            }
            WritePixel(mask.pixels, i, fill);
            WidenDirty(mask.dirty, lx, ly);
        }
    }
}

}  // namespace

void PaintBorder(ShapeMask& mask, int32_t value, int32_t cx, int32_t cy, int32_t rx, int32_t ry) {
    if (kFastPathsEnabled && TryPaintBorderFast(mask, value, cx, cy, rx, ry)) {
        return;
    }
    PaintBorderChecked(mask, value, cx, cy, rx, ry);
}

}  // namespace maskfit
