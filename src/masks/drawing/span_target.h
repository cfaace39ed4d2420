// The mask that a fast drawing call writes through plain addresses, once it
// has proven every position it will touch addressable: where the
// triangles' pixels land, their value and brush, and the dirty rectangle
// that grows with every pixel written.
#ifndef MASKFIT_MASKS_DRAWING_SPAN_TARGET_H
#define MASKFIT_MASKS_DRAWING_SPAN_TARGET_H

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "masks/fast_preconditions.h"
#include "simd/byte_runs.h"

namespace maskfit {

struct SpanTarget {
    ShapeMask& mask;
    uint8_t value;
    int32_t marginX, marginY;  // the shift of the triangles, and the brush's half-sizes
    int64_t columnShift;       // triangle column x lands on local column x + columnShift
    int64_t rowShift;
    DirtyRect dirty;           // the mask's, widened as margin pixels are painted
    LocalBox drawn;            // the triangle pixels written (local), for the dirty rectangle at the end
};

inline constexpr LocalBox kNothingDrawn{{INT64_MAX, INT64_MIN}, {INT64_MAX, INT64_MIN}};

// Stores `value` into the n pixels from p, and into no other byte. One to
// three pixels, the usual run of a small triangle's row, take three byte
// stores (the first, the last and the middle one) and no further branch.
inline void StoreRun(uint8_t* p, int64_t n, uint8_t value) {
    if (n < 4) {
        p[0] = value;
        p[n - 1] = value;
        p[n / 2] = value;
        return;
    }
    if (n < 16) {
        FillRun32(p, value, static_cast<int32_t>(n));
        return;
    }
    const __m128i fill = _mm_set1_epi8(static_cast<char>(value));
    for (int64_t i = 0; i + 16 < n; i += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), fill);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + n - 16), fill);
}

// Writes runs of triangle pixels, each as the checked rasterizer writes its
// pixels (without reading them), and notes the box they fill. It holds
// copies of the target's fields, which the compiler keeps in registers:
// read through the target, each would be read again after every byte
// store, as the store might have changed it.
struct RunWriter {
    int64_t width, columnShift, rowShift;
    uint8_t value;
    uintptr_t origin;  // the address triangle pixel (0, 0) would have: where rows and columns count from
    LocalBox drawn = kNothingDrawn;

    explicit RunWriter(const SpanTarget& target)
        : width(target.mask.width),
          columnShift(target.columnShift),
          rowShift(target.rowShift),
          value(target.value),
          origin(reinterpret_cast<uintptr_t>(target.mask.pixels.data) +
                 static_cast<uintptr_t>(target.rowShift * target.mask.width + target.columnShift)) {}

    // The pixels first..last of triangle row y.
    void operator()(int64_t y, int64_t first, int64_t last) {
        StoreRun(reinterpret_cast<uint8_t*>(origin + static_cast<uintptr_t>(y * width + first)), last - first + 1,
                 value);
        drawn.columns.lo = first < drawn.columns.lo ? first : drawn.columns.lo;
        drawn.columns.hi = last > drawn.columns.hi ? last : drawn.columns.hi;
        drawn.rows.lo = y < drawn.rows.lo ? y : drawn.rows.lo;
        drawn.rows.hi = y > drawn.rows.hi ? y : drawn.rows.hi;
    }

    // Hands the box filled to the target, in local pixels.
    void NoteIn(SpanTarget& target) const {
        if (IsEmpty(drawn)) {
            return;
        }
        const LocalBox local{{drawn.columns.lo + columnShift, drawn.columns.hi + columnShift},
                             {drawn.rows.lo + rowShift, drawn.rows.hi + rowShift}};
        target.drawn = {Hull(target.drawn.columns, local.columns), Hull(target.drawn.rows, local.rows)};
    }
};

}  // namespace maskfit

#endif
