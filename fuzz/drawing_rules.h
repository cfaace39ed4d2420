// Rules for the drawing entry points, whose exact pixel sets the fuzzers do
// not predict: what a drawing may change, and a bound on its work.
#ifndef MASKFIT_FUZZ_DRAWING_RULES_H
#define MASKFIT_FUZZ_DRAWING_RULES_H

#include <cstdint>
#include <vector>

#include "maskfit/maskfit.h"

namespace mffuzz {

// Pixels scanned for one triangle times the work per pixel, the brush
// included; limitX and limitY are the rasterizer's exclusive scan limits.
int64_t TriangleWork(const Vec2& a, const Vec2& b, const Vec2& c, int32_t limitX, int32_t limitY, int32_t marginX,
                     int32_t marginY);

// A triangle pixel takes `value` whatever it held; the border brush and the
// rectangle fill only fill pixels that are empty at that time.
void CheckDrawnPixels(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, uint8_t value,
                      bool rectFill);

// Every field but the dirty rectangle is as it was, and that only grew.
void CheckOnlyDirtyWidened(const ShapeMask& before, const ShapeMask& after);

}  // namespace mffuzz

#endif
