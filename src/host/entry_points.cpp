// The operations behind the entry stubs, with the host's full argument
// lists. The stubs link the frame; these only drop the ignored arguments.
// They use the platform's native convention: the stubs take the host's
// Windows x64 calls and, on ELF, pass the arguments on the System V way.
#include "jobs/jobs.h"
#include "masks/mask_ops.h"

namespace mf = maskfit;

extern "C" {

int32_t maskfit_impl_RasterizeTriangles(uint64_t, uint64_t, uint64_t, const Vec2* vertices, int32_t,
                                                          const int32_t* indices, int32_t indexCount, ShapeMask* mask,
                                                          int32_t marginX, int32_t marginY) {
    return mf::RasterizeTriangles(vertices, indices, indexCount, *mask, marginX, marginY);
}

void maskfit_impl_RasterizeTriangle(uint64_t, ShapeMask* mask, uint64_t, uint64_t, const void*,
                                                      int32_t value, const Vec2* a, const Vec2* b, const Vec2* c,
                                                      int32_t marginX, int32_t marginY) {
    mf::RasterizeTriangle(*mask, static_cast<uint8_t>(value), *a, *b, *c, marginX, marginY);
}

void maskfit_impl_PaintBorder(ShapeMask* mask, const void*, int32_t value, int32_t cx, int32_t cy,
                                                int32_t rx, int32_t ry) {
    mf::PaintBorder(*mask, value, cx, cy, rx, ry);
}

void maskfit_impl_FindPlacement(void* job, const void*, const void*, const void*, int32_t) {
    mf::FindPlacement(*static_cast<const PlacementSearchJob*>(job));
}

void maskfit_impl_SetPixel(ShapeMask* mask, const void*, const void*, const void*, int32_t value,
                                             int32_t, int32_t, int32_t x, int32_t y) {
    mf::SetPixel(*mask, value, x, y);
}

void maskfit_impl_BuildShapeMask(void* job, const void*, const void*, const void*, int32_t) {
    mf::BuildShapeMask(*static_cast<const ShapeBuildJob*>(job));
}

void maskfit_impl_CopyPixel(const void*, BoardMask* board, const ShapeMask* shape, int32_t x,
                                              int32_t y, int32_t sx, int32_t sy) {
    mf::CopyPixel(*board, *shape, x, y, sx, sy);
}

void maskfit_impl_BlitShape(const void*, BoardMask* board, const ShapeMask* shape, int32_t x,
                                              int32_t y) {
    mf::BlitShape(*board, *shape, x, y);
}

int32_t maskfit_impl_PixelsOverlap(const BoardMask* board, const ShapeMask* shape, int32_t x,
                                                     int32_t y, int32_t shapeX, int32_t shapeY) {
    return mf::PixelsOverlap(*board, *shape, x, y, shapeX, shapeY);
}

int32_t maskfit_impl_CanPlace(const BoardMask* board, const ShapeMask* shape, int32_t x, int32_t y) {
    return mf::CanPlace(*board, *shape, x, y);
}

}  // extern "C"
