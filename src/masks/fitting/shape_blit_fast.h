// The shape blit without per-pixel checks, for calls where it provably
// writes the same bytes and dirty rectangle as the checked blit: versions
// that let every access through without the host, a source and destination
// rectangle inside their windows, coordinates that do not wrap, and written
// bytes that overlap nothing the blit reads.
#ifndef MASKFIT_MASKS_FITTING_SHAPE_BLIT_FAST_H
#define MASKFIT_MASKS_FITTING_SHAPE_BLIT_FAST_H

#include <cstdint>

#include "maskfit/maskfit.h"

namespace maskfit {

// Blits and returns true, or returns false having touched nothing.
bool TryBlitShapeFast(BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y);

}  // namespace maskfit

#endif
