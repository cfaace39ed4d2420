// A rectangle of the shape's scan whose pixels are all set: wherever the
// board under it holds a set pixel, the shape cannot fit. The search tests
// it for many candidates at once before it tests any candidate in full.
#ifndef MASKFIT_MASKS_SEARCH_COVERED_CORE_H
#define MASKFIT_MASKS_SEARCH_COVERED_CORE_H

#include <cstdint>

#include "masks/fitting/fit_test_fast.h"

namespace maskfit {

// Relative to the scan rectangle's corner.
struct CoveredCore {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

// Whether the core is the whole scan rectangle: then the board under it
// and the probes decide the fit alone.
inline bool CoversWholeScan(const CoveredCore& core, const FitLayout& layout) {
    return core.x == 0 && core.y == 0 && core.w == layout.w && core.h == layout.h;
}

// A large core of a layout with a scan, at most maxHeight tall, or false
// when the rows it looks at hold no set pixel.
bool FindCoveredCore(const FitLayout& layout, int32_t maxHeight, CoveredCore& core);

}  // namespace maskfit

#endif
