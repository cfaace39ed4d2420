// What a drawing call must know before it may touch pixels directly, without
// the per-access discipline, and still give the checked path's outcome: no
// host check can be called, every index lies in the window, no two pixels
// share an index, and every coordinate is exact in 32 bits. Coordinates are
// held in 64 bits so that these tests cannot overflow themselves.
#ifndef MASKFIT_MASKS_FAST_PRECONDITIONS_H
#define MASKFIT_MASKS_FAST_PRECONDITIONS_H

#include <cstdint>

#include "masks/checked_access.h"
#include "maskfit/maskfit.h"

namespace maskfit {

inline bool FitsInt32(int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

// An inclusive range of columns or rows; empty when lo > hi.
struct Span64 {
    int64_t lo, hi;
};

inline bool IsEmpty(Span64 s) { return s.lo > s.hi; }

inline Span64 Hull(Span64 a, Span64 b) {
    if (IsEmpty(a)) {
        return b;
    }
    if (IsEmpty(b)) {
        return a;
    }
    return {a.lo < b.lo ? a.lo : b.lo, a.hi > b.hi ? a.hi : b.hi};
}

// An inclusive rectangle of local pixels.
struct LocalBox {
    Span64 columns, rows;
};

inline bool IsEmpty(const LocalBox& box) { return IsEmpty(box.columns) || IsEmpty(box.rows); }

// Neither a checked read nor a checked write through the view calls the host:
// version == word & ~6 and version == word & ~5 hold together exactly when
// bits 0 and 1 of the word are clear and version == word & ~4. Written as
// the two tests joined, GCC 12 folds them into the single version ==
// word & ~4, dropping the test of bits 0 and 1; this form it keeps.
inline bool HostChecksSkipped(const CheckedArray& view) {
    const uint32_t word = *view.safety.versionWord;
    return (word & 3u) == 0 && view.safety.version == (word & ~4u);
}

// The non-empty box can be written through plain addresses with the checked
// path's result: its coordinates are exact in 32 bits, it is no wider than a
// row (so no two of its pixels share an index), all its indices lie in the
// window, and its bytes overlap neither the mask record nor the version word
// that the checked path would read again between pixels.
bool PixelsAddressable(const ShapeMask& mask, const LocalBox& box);

// Whether the bytes from the box's first pixel to its last share an address
// with first..last.
bool PixelBytesOverlap(const ShapeMask& mask, const LocalBox& box, uintptr_t first, uintptr_t last);

// Address of local pixel (x, y) of an addressable box.
inline uint8_t* PixelAddress(const ShapeMask& mask, int64_t x, int64_t y) {
    return static_cast<uint8_t*>(mask.pixels.data) + (y * mask.width + x);
}

// Widens `dirty` with every position of the non-empty box: its corners suffice.
inline void WidenDirtyWith(DirtyRect& dirty, const LocalBox& box) {
    WidenDirty(dirty, static_cast<int32_t>(box.columns.lo), static_cast<int32_t>(box.rows.lo));
    WidenDirty(dirty, static_cast<int32_t>(box.columns.hi), static_cast<int32_t>(box.rows.hi));
}

}  // namespace maskfit

#endif
