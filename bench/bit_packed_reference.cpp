#include "bit_packed_reference.h"

#include <cstddef>

namespace mfbench {

PackedMask::PackedMask(const uint8_t* pixels, int64_t stride, int32_t w, int32_t h)
    : width(w), height(h), wordsPerRow((w + 63) / 64 + 1), words(static_cast<size_t>(wordsPerRow) * h, 0) {
    for (int32_t y = 0; y < h; ++y) {
        uint64_t* row = words.data() + static_cast<int64_t>(y) * wordsPerRow;
        for (int32_t x = 0; x < w; ++x) {
            row[x / 64] |= static_cast<uint64_t>(pixels[y * stride + x] != 0) << (x % 64);
        }
    }
}

bool Overlaps(const PackedMask& board, const PackedMask& shape, int32_t x, int32_t y) {
    const int32_t first = x / 64;
    const int32_t shift = x % 64;
    const int32_t shapeWords = shape.wordsPerRow - 1;
    for (int32_t r = 0; r < shape.height; ++r) {
        const uint64_t* b = board.Row(y + r) + first;
        const uint64_t* s = shape.Row(r);
        for (int32_t k = 0; k < shapeWords; ++k) {
            // Board columns x + 64k on; the double shift keeps a shift of 0 defined.
            const uint64_t under = b[k] >> shift | (b[k + 1] << 1) << (63 - shift);
            if ((under & s[k]) != 0) {
                return true;
            }
        }
    }
    return false;
}

bool FirstFree(const PackedMask& board, const PackedMask& shape, int32_t lastX, int32_t lastY, int32_t& x,
               int32_t& y) {
    for (int32_t row = 0; row <= lastY; ++row) {
        for (int32_t column = 0; column <= lastX; ++column) {
            if (!Overlaps(board, shape, column, row)) {
                x = column;
                y = row;
                return true;
            }
        }
    }
    return false;
}

}  // namespace mfbench
