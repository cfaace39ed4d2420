#include "masks/fast_preconditions.h"

#include "masks/index_window.h"

namespace maskfit {

bool PixelBytesOverlap(const ShapeMask& mask, const LocalBox& box, uintptr_t first, uintptr_t last) {
    // A positive width puts the first byte at the top-left corner and the last at the bottom-right.
    const auto begin = reinterpret_cast<uintptr_t>(PixelAddress(mask, box.columns.lo, box.rows.lo));
    const auto end = reinterpret_cast<uintptr_t>(PixelAddress(mask, box.columns.hi, box.rows.hi));
    return begin <= last && first <= end;
}

bool PixelsAddressable(const ShapeMask& mask, const LocalBox& box) {
    if (mask.width < 1 || box.columns.hi - box.columns.lo >= mask.width) {
        return false;
    }
    if (!FitsInt32(box.columns.lo) || !FitsInt32(box.columns.hi) || !FitsInt32(box.rows.lo) ||
        !FitsInt32(box.rows.hi)) {
        return false;
    }
    const PixelBox corners{box.columns.lo, box.rows.lo, box.columns.hi, box.rows.hi};
    if (!BoxInWindow(mask.pixels, corners, mask.width)) {
        return false;
    }
    const auto record = reinterpret_cast<uintptr_t>(&mask);
    const auto word = reinterpret_cast<uintptr_t>(mask.pixels.safety.versionWord);
    return !PixelBytesOverlap(mask, box, record, record + sizeof mask - 1) &&
           !PixelBytesOverlap(mask, box, word, word + sizeof *mask.pixels.safety.versionWord - 1);
}

}  // namespace maskfit
