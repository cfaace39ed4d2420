// The fit test without per-pixel checks, for callers that have proven once
// that no version test can call the host and that every pixel the test may
// read lies inside its window; it then gives the checked test's answer.
#ifndef MASKFIT_MASKS_FITTING_FIT_TEST_FAST_H
#define MASKFIT_MASKS_FITTING_FIT_TEST_FAST_H

#include <cstdint>

#include "maskfit/maskfit.h"
#include "masks/index_window.h"

namespace maskfit {

// What the fit test reads of a shape, resolved once.
struct FitLayout {
    int32_t w;                  // bounds.x1 - bounds.x0 and bounds.y1 - bounds.y0, wrapped:
    int32_t h;                  // the probes' offsets
    bool scan;                  // whether the full scan runs (then w > 0 and h > 0)
    bool cornerSet;             // shape pixel (X0, Y0): probes 1 and 2
    bool farCornerSet;          // shape pixel (X1, Y1): probes 3 and 4
    bool halfSet;               // shape pixel (X1 / 2, Y0 / 2): probe 5
    const uint8_t* scanOrigin;  // shape pixel (X0, Y0)
    int32_t shapeWidth;
};

// Checks the shape's side: both views' versions let reads through without
// the host, and every shape pixel the test reads lies in the window.
bool PrepareFit(const BoardMask& board, const ShapeMask& shape, FitLayout& layout);

// The board pixels the test reads for every candidate (x, y) of `candidates`
// lie inside this box.
PixelBox BoardReach(const FitLayout& layout, const PixelBox& candidates);

// Whether none of the five probes at (x, y) overlaps, for a board reach
// proven in window.
bool ProbesClear(const FitLayout& layout, const BoardMask& board, int64_t x, int64_t y);

// The checked test's answer at (x, y), for a board reach proven in window.
bool FitsAt(const FitLayout& layout, const BoardMask& board, int64_t x, int64_t y);

// Answers CanPlace when it can do so without checks; returns false, with
// nothing observable done, when the checked path must run instead.
bool TryCanPlaceFast(const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y, int32_t& fits);

}  // namespace maskfit

#endif
