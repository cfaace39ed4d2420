// The mask operations, called by the entry points inside their frames and
// by each other directly. Arguments the host passes but no operation reads
// stop at the entry points.
#ifndef MASKFIT_MASKS_MASK_OPS_H
#define MASKFIT_MASKS_MASK_OPS_H

#include <cstdint>

#include "maskfit/maskfit.h"

namespace maskfit {

// Stores the low 8 bits of `value` at (x, y) in the caller's coordinates.
void SetPixel(ShapeMask& mask, int32_t value, int32_t x, int32_t y);

// Copies shape pixel (sx, sy) to board pixel (x, y) when it is set.
void CopyPixel(BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y, int32_t sx, int32_t sy);

// Fills the empty pixels of a 2rx x 2ry brush around absolute (cx, cy).
void PaintBorder(ShapeMask& mask, int32_t value, int32_t cx, int32_t cy, int32_t rx, int32_t ry);

// Fills one triangle with `value` and paints the 90 margin around it.
void RasterizeTriangle(ShapeMask& mask, uint8_t value, const Vec2& a, const Vec2& b, const Vec2& c,
                       int32_t marginX, int32_t marginY);

// Draws the whole triples of an indexed triangle list with 234; returns 1.
int32_t RasterizeTriangles(const Vec2* vertices, const int32_t* indices, int32_t indexCount, ShapeMask& mask,
                           int32_t marginX, int32_t marginY);

// 1 when board pixel (x, y) and shape pixel (shapeX, shapeY) are both set.
int32_t PixelsOverlap(const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y, int32_t shapeX,
                      int32_t shapeY);

// 1 when the shape's content rectangle fits at board position (x, y).
int32_t CanPlace(const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y);

// Stamps the shape's content rectangle onto the board at (x, y).
void BlitShape(BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y);

}  // namespace maskfit

#endif
