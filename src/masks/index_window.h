// Whole-area index tests for the fast paths. The checked path computes each
// pixel index in wrapping 32-bit arithmetic; that index equals the true
// (unbounded) y * width + x whenever the true value lies inside the view's
// window, because both agree modulo 2^32 and the window lies inside int32.
// So a fast path that proves the true index of every pixel it touches lies
// in the window may address pixels by the true index, knowing the checked
// path would have reached the same bytes and raised no failure.
#ifndef MASKFIT_MASKS_INDEX_WINDOW_H
#define MASKFIT_MASKS_INDEX_WINDOW_H

#include <cstdint>

#include "maskfit/maskfit.h"

namespace maskfit {

// True when pixel (x, y) of a mask with this row width has a true index
// inside the view's window. Coordinates are true values, not wrapped ones.
inline bool PixelInWindow(const CheckedArray& view, int64_t x, int64_t y, int32_t width) {
    int64_t rowStart = 0;
    int64_t index = 0;
    if (__builtin_mul_overflow(y, static_cast<int64_t>(width), &rowStart) ||
        __builtin_add_overflow(rowStart, x, &index)) {
        return false;
    }
    return index >= view.minIndex && index <= view.maxIndex;
}

// An inclusive rectangle of pixels in true coordinates.
struct PixelBox {
    int64_t x0;
    int64_t y0;
    int64_t x1;
    int64_t y1;
};

// The index is affine in x and y, so it takes its extremes at the corners:
// all four inside the window puts the whole box inside.
inline bool BoxInWindow(const CheckedArray& view, const PixelBox& box, int32_t width) {
    return PixelInWindow(view, box.x0, box.y0, width) && PixelInWindow(view, box.x1, box.y0, width) &&
           PixelInWindow(view, box.x0, box.y1, width) && PixelInWindow(view, box.x1, box.y1, width);
}

// Address of pixel (x, y); only for pixels proven inside the window.
inline const uint8_t* PixelAddress(const CheckedArray& view, int64_t x, int64_t y, int32_t width) {
    return static_cast<const uint8_t*>(view.data) + (y * width + x);
}

inline uint8_t* WritablePixelAddress(const CheckedArray& view, int64_t x, int64_t y, int32_t width) {
    return static_cast<uint8_t*>(view.data) + (y * width + x);
}

}  // namespace maskfit

#endif
