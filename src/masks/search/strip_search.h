// Placement search by strips of 64 candidate columns: the board is read one
// bit per column, and a handful of word operations answers 64 candidates at
// once for a rectangle of the shape whose pixels are all set (its core): a
// candidate whose board window under the core holds a set pixel cannot fit.
// When the core is the whole scan rectangle (as the build job's 79 fill
// leaves it), that window and the probes outside it (probe 2 below its left
// column, probes 3 and 4 right of its top and bottom rows) decide the fit
// exactly; otherwise the candidates the core leaves open are tried one by
// one, in order, with the full fit test.
#ifndef MASKFIT_MASKS_SEARCH_STRIP_SEARCH_H
#define MASKFIT_MASKS_SEARCH_STRIP_SEARCH_H

#include <cstdint>

#include "maskfit/maskfit.h"
#include "masks/search/candidate_grid.h"
#include "masks/fitting/fit_test_fast.h"

namespace maskfit {

// The tallest core the search takes: it keeps the bits of h + 1 board rows
// on the stack.
inline constexpr int32_t kStripSearchMaxHeight = 255;

// A rectangle of set pixels in the scan rectangle, relative to its corner.
struct CoveredCore {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

// A large core of a layout with a scan, at most kStripSearchMaxHeight tall,
// or false when the rows it looks at hold no set pixel.
bool FindCoveredCore(const FitLayout& layout, CoveredCore& core);

// The first fitting candidate in row order, for a layout whose board reach
// over the whole grid lies inside the window.
bool FirstFitByStrips(const BoardMask& board, const FitLayout& layout, const CoveredCore& core,
                      const CandidateGrid& grid, int64_t& x, int64_t& y);

}  // namespace maskfit

#endif
