#include "masks/checked_access.h"
#include "masks/fitting/fit_test_fast.h"
#include "masks/mask_ops.h"
#include "runtime/fast_paths.h"
#include "runtime/int_math.h"

namespace maskfit {

int32_t PixelsOverlap(const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y, int32_t shapeX,
                      int32_t shapeY) {
    // Both bytes are always read, board first.
    const uint8_t boardByte = ReadPixel(board.pixels, PixelIndex(x, y, board.width));
    const uint8_t shapeByte = ReadPixel(shape.pixels, PixelIndex(shapeX, shapeY, shape.width));
    return (boardByte != 0 && shapeByte != 0) ? 1 : 0;
}

namespace {

int32_t CanPlaceChecked(const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y) {
    const int32_t x0 = shape.bounds.x0;
    const int32_t y0 = shape.bounds.y0;
    const int32_t x1 = shape.bounds.x1;
    const int32_t y1 = shape.bounds.y1;
    const int32_t w = WrapSub(x1, x0);
    const int32_t h = WrapSub(y1, y0);

    // Quick rejections before the scan; the pairs are part of the contract.
    if (PixelsOverlap(board, shape, x, y, x0, y0) != 0 ||
        PixelsOverlap(board, shape, x, WrapAdd(y, h), x0, y0) != 0 ||
        PixelsOverlap(board, shape, WrapAdd(x, w), y, x1, y1) != 0 ||
        PixelsOverlap(board, shape, WrapAdd(x, w), WrapAdd(y, h), x1, y1) != 0 ||
        PixelsOverlap(board, shape, x, y, x1 / 2, y0 / 2) != 0) {
        return 0;
    }
    if (x1 <= x0 || y1 <= y0) {
        return 1;
    }
    for (int32_t i = 0; i < h; ++i) {
        for (int32_t j = 0; j < w; ++j) {
            if (PixelsOverlap(board, shape, WrapAdd(x, j), WrapAdd(y, i), WrapAdd(x0, j), WrapAdd(y0, i)) != 0) {
                return 0;
            }
        }
    }
    return 1;
}

}  // namespace

int32_t CanPlace(const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y) {
    int32_t fits = 0;
    if (kFastPathsEnabled && TryCanPlaceFast(board, shape, x, y, fits)) {
        return fits;
    }
    return CanPlaceChecked(board, shape, x, y);
}

}  // namespace maskfit
