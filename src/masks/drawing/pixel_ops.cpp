#include "masks/checked_access.h"
#include "masks/mask_ops.h"
#include "runtime/int_math.h"

namespace maskfit {

void SetPixel(ShapeMask& mask, int32_t value, int32_t x, int32_t y) {
    const int32_t lx = WrapSub(x, mask.origin.x);
    const int32_t ly = WrapSub(y, mask.origin.y);
    WritePixel(mask.pixels, PixelIndex(lx, ly, mask.width), static_cast<uint8_t>(value));
    WidenDirty(mask.dirty, lx, ly);
}

void CopyPixel(BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y, int32_t sx, int32_t sy) {
    const uint8_t v = ReadPixel(shape.pixels, PixelIndex(sx, sy, shape.width));
    if (v == 0) {
        return;
    }
    WritePixel(board.pixels, PixelIndex(x, y, board.width), v);
    WidenDirty(board.dirty, x, y);
}

}  // namespace maskfit
