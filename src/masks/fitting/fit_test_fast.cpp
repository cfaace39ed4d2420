#include "masks/fitting/fit_test_fast.h"

#include <algorithm>

#include "simd/byte_kernels.h"
#include "masks/checked_access.h"
#include "runtime/int_math.h"

namespace maskfit {

bool PrepareFit(const BoardMask& board, const ShapeMask& shape, FitLayout& layout) {
    if (ReadNeedsHostCheck(board.pixels.safety) || ReadNeedsHostCheck(shape.pixels.safety)) {
        return false;
    }
    const MaskBounds& b = shape.bounds;
    const CheckedArray& pixels = shape.pixels;
    const int32_t width = shape.width;
    layout.w = WrapSub(b.x1, b.x0);
    layout.h = WrapSub(b.y1, b.y0);
    // A rectangle wider than INT32_MAX wraps to a negative size: no scan.
    layout.scan = b.x1 > b.x0 && b.y1 > b.y0 && layout.w > 0 && layout.h > 0;
    const int32_t halfX = b.x1 / 2;
    const int32_t halfY = b.y0 / 2;
    if (!PixelInWindow(pixels, b.x0, b.y0, width) || !PixelInWindow(pixels, b.x1, b.y1, width) ||
        !PixelInWindow(pixels, halfX, halfY, width)) {
        return false;
    }
    if (layout.scan && !BoxInWindow(pixels, PixelBox{b.x0, b.y0, b.x1 - 1LL, b.y1 - 1LL}, width)) {
        return false;
    }
    layout.cornerSet = *PixelAddress(pixels, b.x0, b.y0, width) != 0;
    layout.farCornerSet = *PixelAddress(pixels, b.x1, b.y1, width) != 0;
    layout.halfSet = *PixelAddress(pixels, halfX, halfY, width) != 0;
    layout.scanOrigin = PixelAddress(pixels, b.x0, b.y0, width);
    layout.shapeWidth = width;
    return true;
}

PixelBox BoardReach(const FitLayout& layout, const PixelBox& candidates) {
    // Probes reach (x + w, y + h); the scan stays between (x, y) and there.
    return PixelBox{
        std::min(candidates.x0, candidates.x0 + layout.w), std::min(candidates.y0, candidates.y0 + layout.h),
        std::max(candidates.x1, candidates.x1 + layout.w), std::max(candidates.y1, candidates.y1 + layout.h)};
}

bool ProbesClear(const FitLayout& layout, const BoardMask& board, int64_t x, int64_t y) {
    const auto covered = [&board](int64_t px, int64_t py) {
        return *PixelAddress(board.pixels, px, py, board.width) != 0;
    };
    // Probes 1 and 5 share the board pixel (x, y); 3 and 4 the shape pixel.
    if ((layout.cornerSet || layout.halfSet) && covered(x, y)) {
        return false;
    }
    if (layout.cornerSet && covered(x, y + layout.h)) {
        return false;
    }
    return !layout.farCornerSet || (!covered(x + layout.w, y) && !covered(x + layout.w, y + layout.h));
}

bool FitsAt(const FitLayout& layout, const BoardMask& board, int64_t x, int64_t y) {
    if (!ProbesClear(layout, board, x, y)) {
        return false;
    }
    if (!layout.scan) {
        return true;
    }
    return !AnyBothSet(PixelAddress(board.pixels, x, y, board.width), board.width, layout.scanOrigin, layout.shapeWidth,
                       layout.w, layout.h);
}

bool TryCanPlaceFast(const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y, int32_t& fits) {
    FitLayout layout{};
    if (!PrepareFit(board, shape, layout) ||
        !BoxInWindow(board.pixels, BoardReach(layout, PixelBox{x, y, x, y}), board.width)) {
        return false;
    }
    fits = FitsAt(layout, board, x, y) ? 1 : 0;
    return true;
}

}  // namespace maskfit
