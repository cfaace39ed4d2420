#include "masks/fitting/shape_blit_fast.h"
#include "masks/checked_access.h"
#include "masks/mask_ops.h"
#include "runtime/fast_paths.h"
#include "runtime/int_math.h"

namespace maskfit {
namespace {

void BlitShapeChecked(BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y) {
    const int32_t x0 = shape.bounds.x0;
    const int32_t y0 = shape.bounds.y0;
    const int32_t x1 = shape.bounds.x1;
    const int32_t y1 = shape.bounds.y1;
    const int32_t rows = WrapSub(y1, y0);
    if (rows <= 0 || x0 >= x1) {
        return;
    }
    const int32_t columns = WrapSub(x1, x0);
    for (int32_t r = 0; r < rows; ++r) {
        const int32_t sy = WrapAdd(y0, r);
        const int32_t by = WrapAdd(y, r);
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t bx = WrapAdd(x, c);
            const uint8_t v = ReadPixel(shape.pixels, PixelIndex(WrapAdd(x0, c), sy, shape.width));
            if (v == 0) {
                continue;
            }
            WritePixel(board.pixels, PixelIndex(bx, by, board.width), v);
            WidenDirty(board.dirty, bx, by);
        }
    }
}

}  // namespace

void BlitShape(BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y) {
    if (kFastPathsEnabled && TryBlitShapeFast(board, shape, x, y)) {
        return;
    }
    BlitShapeChecked(board, shape, x, y);
}

}  // namespace maskfit
