// The bit-packed reference: the question the library answers, asked of
// masks packed one bit per pixel (set where the pixel is covered), as a
// caller of a bit-mask collision library holds them. The masks are packed
// once, before timing; one overlap test then reads one word or two of the
// board per word of shape, shifted into line. Written here from first
// principles, in the plain word-wise form such a library takes.
#ifndef MASKFIT_BENCH_BIT_PACKED_REFERENCE_H
#define MASKFIT_BENCH_BIT_PACKED_REFERENCE_H

#include <cstdint>
#include <vector>

namespace mfbench {

// Rows of whole 64-bit words, bit x % 64 of word x / 64 for column x, and a
// spare clear word at the end of each row, so that a shifted read of a
// row's last word may take the next word without a test.
struct PackedMask {
    int32_t width = 0;
    int32_t height = 0;
    int32_t wordsPerRow = 0;  // spare word included
    std::vector<uint64_t> words;

    // Packs the width x height pixels from `pixels`, rows `stride` apart.
    PackedMask(const uint8_t* pixels, int64_t stride, int32_t width, int32_t height);
    const uint64_t* Row(int32_t y) const { return words.data() + static_cast<int64_t>(y) * wordsPerRow; }
};

// Whether the shape laid with its pixel (0, 0) on board pixel (x, y) covers
// a covered board pixel. The shape must lie inside the board.
bool Overlaps(const PackedMask& board, const PackedMask& shape, int32_t x, int32_t y);

// The first position in row order (rows 0 to lastY outer, columns 0 to lastX
// inner) where the shape overlaps nothing: the search as a loop of overlap
// tests.
bool FirstFree(const PackedMask& board, const PackedMask& shape, int32_t lastX, int32_t lastY, int32_t& x,
               int32_t& y);

}  // namespace mfbench

#endif
