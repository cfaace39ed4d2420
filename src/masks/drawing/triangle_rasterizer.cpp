#include "masks/checked_access.h"
#include "masks/mask_ops.h"
#include "masks/drawing/span_rasterizer.h"
#include "masks/drawing/triangle_scan.h"
#include "runtime/fast_paths.h"
#include "runtime/int_math.h"

namespace maskfit {
namespace {

void FillPixel(ShapeMask& mask, uint8_t value, int32_t x, int32_t y, int32_t marginX, int32_t marginY) {
    const int32_t ax = WrapAdd(marginX, x);
    const int32_t ay = WrapAdd(marginY, y);
    const int32_t lx = WrapSub(ax, mask.origin.x);
    const int32_t ly = WrapSub(ay, mask.origin.y);
    WritePixel(mask.pixels, PixelIndex(lx, ly, mask.width), value);
    WidenDirty(mask.dirty, lx, ly);
    PaintBorder(mask, FILL_BORDER, ax, ay, marginX, marginY);
}

void RasterizeTriangleChecked(ShapeMask& mask, uint8_t value, const Vec2& a, const Vec2& b, const Vec2& c,
                              int32_t marginX, int32_t marginY) {
    TriangleScan scan;
    if (!SetUpTriangleScan(mask, a, b, c, scan)) {
        return;
    }

    EdgeValues rowStart = scan.rowStart;
    for (int32_t y = scan.y0;; ++y) {
        EdgeValues e = rowStart;
        for (int32_t x = scan.x0;; ++x) {
            if (Inside(e)) {
                FillPixel(mask, value, x, y, marginX, marginY);
            }
            e = Add(e, scan.columnStep);
            if (x == scan.x1) {
                break;
            }
        }
        rowStart = Add(rowStart, scan.rowStep);
        if (y == scan.y1) {
            break;
        }
    }
}

}  // namespace

void RasterizeTriangle(ShapeMask& mask, uint8_t value, const Vec2& a, const Vec2& b, const Vec2& c,
                       int32_t marginX, int32_t marginY) {
    const Vec2 corners[] = {a, b, c};
    const int32_t order[] = {0, 1, 2};
    if (kFastPathsEnabled &&
        TryRasterizeTrianglesFast(mask, value, TriangleList{corners, order, 1, false}, marginX, marginY)) {
        return;
    }
    RasterizeTriangleChecked(mask, value, a, b, c, marginX, marginY);
}

}  // namespace maskfit
