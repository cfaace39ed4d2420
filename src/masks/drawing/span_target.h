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

// Stores `value` into pixels first..last of a row (at most eight), and into
// no other byte of the mask, without a branch on their number: run lengths
// of a mesh's rows follow no pattern. Three byte stores, at both ends and in
// the middle, cover one to three pixels, and two four-byte stores of
// `pattern` (four copies of the value) cover four to eight; for fewer than
// four those two go to `spare`, the caller's scratch bytes, instead.
inline void StoreShortRun(uint8_t* row, uint64_t first, uint64_t last, uint8_t value, uint32_t pattern,
                          uint8_t (&spare)[4]) {
    const uintptr_t wide = 0 - static_cast<uintptr_t>(last - first >= 3);
    const auto scratch = reinterpret_cast<uintptr_t>(spare);
    const uintptr_t head = scratch + ((reinterpret_cast<uintptr_t>(row + first) - scratch) & wide);
    const uintptr_t tail = head + ((last - first - 3) & wide);
    std::memcpy(reinterpret_cast<uint8_t*>(head), &pattern, sizeof pattern);
    std::memcpy(reinterpret_cast<uint8_t*>(tail), &pattern, sizeof pattern);
    row[first] = value;
    row[last] = value;
    row[(first + last) / 2] = value;
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

    // The pixel of triangle column x, row y.
    uint8_t* At(int64_t x, int64_t y) const {
        return reinterpret_cast<uint8_t*>(origin + static_cast<uintptr_t>(y * width + x));
    }

    // Widens the box filled by `box`, a box not empty, in triangle space.
    void Note(const LocalBox& box) {
        drawn.columns.lo = box.columns.lo < drawn.columns.lo ? box.columns.lo : drawn.columns.lo;
        drawn.columns.hi = box.columns.hi > drawn.columns.hi ? box.columns.hi : drawn.columns.hi;
        drawn.rows.lo = box.rows.lo < drawn.rows.lo ? box.rows.lo : drawn.rows.lo;
        drawn.rows.hi = box.rows.hi > drawn.rows.hi ? box.rows.hi : drawn.rows.hi;
    }

    // The pixels first..last of triangle row y.
    void operator()(int64_t y, int64_t first, int64_t last) {
        StoreRun(At(first, y), last - first + 1, value);
        Note({{first, last}, {y, y}});
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

// Writes tiny boxes from their inside words (tiny_triangles.h), row by row,
// each row's pixels one run, and notes the box filled when `NotesDrawn`
// (the margin sweep finds it by itself). It is a copy of the run writer's
// fields that the call's other writers never see, so that the compiler
// keeps all of it, the box filled too, in registers across the pixel stores.
template <bool NotesDrawn>
struct TinyBoxWriter {
    uintptr_t origin;
    int64_t width;
    uint8_t value;
    uint32_t pattern;  // four copies of the value
    LocalBox drawn = kNothingDrawn;

    explicit TinyBoxWriter(const RunWriter& writer)
        : origin(writer.origin), width(writer.width), value(writer.value), pattern(writer.value * 0x01010101u) {}

    // The box of up to 8 x 8 pixels from triangle column x0, row y0. Rows
    // without a pixel are left alone: a sliver may have one between two
    // rows with some.
    void operator()(int64_t x0, int64_t y0, uint64_t inside) {
        if (inside == 0) {
            return;
        }
        const int32_t firstRow = __builtin_ctzll(inside) / 8;
        uint8_t spare[4];
        auto* pixels = reinterpret_cast<uint8_t*>(origin + static_cast<uintptr_t>((y0 + firstRow) * width + x0));
        if constexpr (NotesDrawn) {
            Note(x0, y0 + firstRow, inside);
        }
        for (uint64_t rows = inside >> (8 * firstRow); rows != 0; rows >>= 8, pixels += width) {
            const uint64_t bits = rows & 0xFFu;
            if (bits != 0) {  // 63 ^ clz, not 63 - clz: the same bit, which compilers then find in one scan
                StoreShortRun(pixels, __builtin_ctzll(bits), 63 ^ __builtin_clzll(bits), value, pattern, spare);
            }
        }
    }

    // Widens the box filled by the inside word of the box from triangle
    // column x0, its first row with a pixel being y.
    void Note(int64_t x0, int64_t y, uint64_t inside) {
        uint64_t columns = inside | inside >> 32;
        columns |= columns >> 16;
        columns = (columns | columns >> 8) & 0xFFu;
        const int64_t left = x0 + __builtin_ctzll(columns);
        const int64_t right = x0 + 63 - __builtin_clzll(columns);
        const int64_t bottom = y + (63 - __builtin_clzll(inside)) / 8 - __builtin_ctzll(inside) / 8;
        drawn.columns.lo = left < drawn.columns.lo ? left : drawn.columns.lo;
        drawn.columns.hi = right > drawn.columns.hi ? right : drawn.columns.hi;
        drawn.rows.lo = y < drawn.rows.lo ? y : drawn.rows.lo;
        drawn.rows.hi = bottom > drawn.rows.hi ? bottom : drawn.rows.hi;
    }

    void NoteIn(RunWriter& writer) const {
        if (!IsEmpty(drawn)) {
            writer.Note(drawn);
        }
    }
};

}  // namespace maskfit

#endif
