// Placement search over the board read as bits, one per pixel, set where
// the pixel is empty. The board window under a candidate's covered core
// (covered_core.h) is empty exactly when the bits of the core's rows, ANDed
// down its height and then along its width (the board eroded by the core),
// hold at the candidate's column; a candidate without that bit cannot fit,
// as the full scan would meet a set board pixel under a set shape pixel.
// The candidates with it are tried in row order: when the core is the whole
// scan rectangle only the probes outside it remain to be read, otherwise the
// full fit test runs. So the first candidate found is the checked search's
// first fit.
//
// The board is read in tiles of columns, each streamed down its rows, so
// that each row is read once and a fit early in the grid stops the search
// early. Where several tiles are needed they take the rows in bands, every
// tile of a band before the next band, so that the search still ends about
// where the fit lies in row order.
#ifndef MASKFIT_MASKS_SEARCH_EROSION_SEARCH_H
#define MASKFIT_MASKS_SEARCH_EROSION_SEARCH_H

#include <cstdint>

#include "maskfit/maskfit.h"
#include "masks/fitting/fit_test_fast.h"
#include "masks/search/candidate_grid.h"
#include "masks/search/covered_core.h"

namespace maskfit {

// The tallest core the search takes: it keeps two blocks of that many bit
// rows on the stack.
inline constexpr int32_t kErosionMaxCoreHeight = 255;

// The first fitting candidate in row order, for a layout whose board reach
// over the whole grid lies inside the window and a core at most
// kErosionMaxCoreHeight tall (of which the search may use a narrower part).
bool FirstFitByErosion(const BoardMask& board, const FitLayout& layout, const CoveredCore& core,
                       const CandidateGrid& grid, int64_t& x, int64_t& y);

}  // namespace maskfit

#endif
