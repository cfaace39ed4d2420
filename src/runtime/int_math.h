// 32-bit integer arithmetic as the host's compiled code performs it:
// signed values that wrap on overflow, and the truncating float conversion
// that yields INT32_MIN for NaN and out-of-range values.
#ifndef MASKFIT_RUNTIME_INT_MATH_H
#define MASKFIT_RUNTIME_INT_MATH_H

#include <cstdint>

namespace maskfit {

inline int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Pixel index y * width + x of a row-major mask, wrapping like every other sum.
inline int32_t PixelIndex(int32_t x, int32_t y, int32_t width) {
    return WrapAdd(WrapMul(y, width), x);
}

// Truncation toward zero; NaN and values outside the int32 range give INT32_MIN.
inline int32_t TruncateToInt32(float value) {
    if (value >= -2147483648.0f && value < 2147483648.0f) {
        return static_cast<int32_t>(value);
    }
    return INT32_MIN;
}

}  // namespace maskfit

#endif
