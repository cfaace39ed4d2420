// The border brush as a rectangle: every position of a brush is clamped to
// the mask's edge and kept when it lands inside, so the positions of one
// brush, and of the brushes of a run of neighbouring centres, cover one
// rectangle of local pixels. Painting that rectangle's empty pixels once
// gives the same mask as visiting every position in turn.
#ifndef MASKFIT_MASKS_DRAWING_BRUSH_DILATION_H
#define MASKFIT_MASKS_DRAWING_BRUSH_DILATION_H

#include <cstdint>

#include "masks/fast_preconditions.h"

namespace maskfit {

// Local columns (or rows) reached by brush positions at absolute first..last
// (first <= last, each exact in 32 bits): each position clamped to
// [0, limit] (limit >= 0), made local by subtracting `origin`, and kept when
// it lies in [0, limit].
inline Span64 BrushReach(int64_t first, int64_t last, int32_t limit, int32_t origin) {
    const auto clamp = [limit](int64_t v) -> int64_t { return v < 0 ? 0 : (v > limit ? limit : v); };
    const int64_t lo = clamp(first) - origin;
    const int64_t hi = clamp(last) - origin;
    return {lo > 0 ? lo : 0, hi < limit ? hi : limit};
}

// PaintBorder without per-position checks, when that gives the checked
// path's outcome; false, with nothing touched, otherwise.
bool TryPaintBorderFast(ShapeMask& mask, int32_t value, int32_t cx, int32_t cy, int32_t rx, int32_t ry);

}  // namespace maskfit

#endif
