// Fills the empty pixels of a rectangle with one value, many at a time: the
// border brush, the margin around drawn spans and the build job's rectangle
// fill all change exactly the pixels that hold 0.
#ifndef MASKFIT_MASKS_DRAWING_EMPTY_FILL_H
#define MASKFIT_MASKS_DRAWING_EMPTY_FILL_H

#include <emmintrin.h>

#include <cstdint>

#include "masks/fast_preconditions.h"

namespace maskfit {

// Offsets of the first and last byte found empty; none when first > last.
struct EmptySpan {
    int64_t first = INT64_MAX;
    int64_t last = -1;

    void Add(int64_t offset, uint32_t bits);  // bit i: the byte at offset + i
};

// Which bytes a fill may store to. Another job may write the pixels that
// the checked path leaves alone, so only the checked path's own may be.
enum class FillWrites {
    kEmptyOnly,  // the empty pixels alone (the brush leaves covered ones unwritten)
    kWholeBox,   // every pixel of the box (the rectangle fill rewrites covered ones)
};

// Fills the empty bytes of the 16 at p where `lanes` holds 0xFF with
// `value`, storing to no other byte; returns them as bits.
uint32_t FillEmptySixteen(uint8_t* p, uint8_t value, __m128i lanes);

// Stores `value` into every pixel of the addressable box that holds 0 and
// widens `found` with the position of each of them, whatever `value` is.
void FillEmpty(const ShapeMask& mask, const LocalBox& box, uint8_t value, FillWrites writes, DirtyRect& found);

// FillEmpty for a box of any extent, when it gives the checked path's
// outcome: false, with nothing touched, when a host check could be called or
// the box is not addressable. An empty box is done at once.
bool TryFillEmpty(const ShapeMask& mask, const LocalBox& box, uint8_t value, FillWrites writes, DirtyRect& found);

}  // namespace maskfit

#endif
