#include "jobs/jobs.h"
#include "masks/checked_access.h"
#include "masks/drawing/empty_fill.h"
#include "masks/mask_ops.h"
#include "runtime/fast_paths.h"
#include "runtime/int_math.h"

namespace maskfit {
namespace {

void ResetForDrawing(ShapeMask& mask, int32_t drawSize) {
    mask.dirty = DirtyRect{drawSize, drawSize, 0, 0};
    mask.bounds = MaskBounds{drawSize, drawSize, 0, 0};
}

// The drawn extent grown by the margin, kept within [0, maxCoord].
MaskBounds ContentRectangle(const DirtyRect& drawn, int32_t margin, int32_t maxCoord) {
    const int32_t x0 = WrapSub(drawn.xMin, margin);
    const int32_t y0 = WrapSub(drawn.yMin, margin);
    const int32_t x1 = WrapAdd(drawn.xMax, margin);
    const int32_t y1 = WrapAdd(drawn.yMax, margin);
    return MaskBounds{x0 > 0 ? x0 : 0, y0 > 0 ? y0 : 0, x1 < maxCoord ? x1 : maxCoord, y1 < maxCoord ? y1 : maxCoord};
}

// Every pixel of the inclusive rectangle is rewritten, empty ones with 79;
// the dirty rectangle is not widened.
void FillContentRectangleChecked(const ShapeMask& mask) {
    const MaskBounds& r = mask.bounds;
    if (r.y0 > r.y1 || r.x0 > r.x1) {
        return;
    }
    for (int32_t y = r.y0;; ++y) {
        for (int32_t x = r.x0;; ++x) {
            const int32_t p = PixelIndex(x, y, mask.width);
            const uint8_t v = ReadPixel(mask.pixels, p);
            WritePixel(mask.pixels, p, v == 0 ? static_cast<uint8_t>(FILL_RECT) : v);
            if (x == r.x1) {
                break;
            }
        }
        if (y == r.y1) {
            break;
        }
    }
}

void FillContentRectangle(const ShapeMask& mask) {
    const MaskBounds& r = mask.bounds;
    DirtyRect notWidened{};
    const LocalBox box{{r.x0, r.x1}, {r.y0, r.y1}};
    if (kFastPathsEnabled && TryFillEmpty(mask, box, FILL_RECT, FillWrites::kWholeBox, notWidened)) {
        return;
    }
    FillContentRectangleChecked(mask);
}

}  // namespace

void BuildShapeMask(const ShapeBuildJob& job) {
    ShapeMask working = ReadElement<ShapeMask>(job.shapes, job.shapeIndex);
    ResetForDrawing(working, job.drawSize);
    RasterizeTriangles(job.vertices, job.indices, job.indexCount, working, job.margin, job.margin);
    working.bounds = ContentRectangle(working.dirty, job.margin, job.maxCoord);
    if (job.skipRectFill == 0) {
        FillContentRectangle(working);
    }
    WriteElement(job.shapes, job.shapeIndex, working);
}

}  // namespace maskfit
