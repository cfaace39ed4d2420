#include "masks/drawing/coverage_rows.h"

#include <emmintrin.h>

namespace maskfit {
namespace {

// row[c] |= row[c + shift] for every column, from the values before the call.
// Going up the row reads each word before it changes.
void OrShiftedDown(uint64_t* row, int64_t words, int64_t shift) {
    const int64_t skip = shift / 64;
    const int64_t bit = shift % 64;
    for (int64_t w = 0; w + skip < words; ++w) {
        uint64_t moved = row[w + skip] >> bit;
        if (bit != 0 && w + skip + 1 < words) {
            moved |= row[w + skip + 1] << (64 - bit);
        }
        row[w] |= moved;
    }
}

// row[c] |= row[c - shift] likewise; going down the row.
void OrShiftedUp(uint64_t* row, int64_t words, int64_t shift) {
    const int64_t skip = shift / 64;
    const int64_t bit = shift % 64;
    for (int64_t w = words - 1; w - skip >= 0; --w) {
        uint64_t moved = row[w - skip] << bit;
        if (bit != 0 && w - skip - 1 >= 0) {
            moved |= row[w - skip - 1] >> (64 - bit);
        }
        row[w] |= moved;
    }
}

// With `step` one of the two above: each column takes the union of `length`
// columns from itself on, by windows of doubling length and one more that
// overlaps the last.
void OrWindow(uint64_t* row, int64_t words, int64_t length, void (*step)(uint64_t*, int64_t, int64_t)) {
    int64_t have = 1;
    for (; 2 * have <= length; have *= 2) {
        step(row, words, have);
    }
    if (have < length) {
        step(row, words, length - have);
    }
}

// Clears columns from..columns - 1.
void ClearFrom(uint64_t* row, int64_t columns, int64_t from) {
    const int64_t words = WordsFor(columns);
    int64_t w = from / 64;
    if (w >= words) {
        return;
    }
    row[w] &= (uint64_t{1} << (from % 64)) - 1;
    while (++w < words) {
        row[w] = 0;
    }
}

// Columns c..c + 15 of a row that has them.
uint32_t SixteenColumns(const uint64_t* row, int64_t c) {
    const int64_t w = c / 64;
    const int64_t bit = c % 64;
    uint64_t bits = row[w] >> bit;
    if (bit > 48) {
        bits |= row[w + 1] << (64 - bit);
    }
    return static_cast<uint32_t>(bits & 0xFFFF);
}

// 0xFF in byte i exactly when bit i of the sixteen is set.
__m128i ByteLanes(uint32_t sixteen) {
    constexpr uint64_t kEveryByte = 0x0101010101010101ull;
    const __m128i spread = _mm_set_epi64x(static_cast<int64_t>((sixteen >> 8) * kEveryByte),
                                          static_cast<int64_t>((sixteen & 0xFF) * kEveryByte));
    const __m128i select = _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    return _mm_cmpeq_epi8(_mm_and_si128(spread, select), select);
}

// Columns c..c + 15: paints the covered empty ones.
void PaintSixteen(const uint64_t* row, int64_t c, uint8_t* pixels, uint8_t value, EmptySpan& span) {
    const uint32_t covered = SixteenColumns(row, c);
    if (covered != 0) {
        span.Add(c, FillEmptySixteen(pixels, value, ByteLanes(covered)));
    }
}

}  // namespace

void OrRow(uint64_t* into, const uint64_t* from, int64_t words) {
    for (int64_t w = 0; w < words; ++w) {
        into[w] |= from[w];
    }
}

void ClearCovered(uint64_t* into, const uint64_t* from, int64_t words) {
    for (int64_t w = 0; w < words; ++w) {
        into[w] &= ~from[w];
    }
}

void Widen(uint64_t* row, int64_t columns, int64_t before, int64_t after) {
    const int64_t words = WordsFor(columns);
    // Column c first takes c - before .. c, then the union of those over c .. c + after.
    OrWindow(row, words, before + 1, OrShiftedUp);
    OrWindow(row, words, after + 1, OrShiftedDown);
    ClearFrom(row, columns, columns);
}

EmptySpan PaintCoveredEmpty(const uint64_t* row, int64_t first, int64_t last, uint8_t* firstPixel, uint8_t value) {
    EmptySpan span;
    if (last - first + 1 < 16) {
        for (int64_t c = first; c <= last; ++c) {
            uint8_t& pixel = firstPixel[c - first];
            if (((row[c / 64] >> (c % 64)) & 1) != 0 && pixel == 0) {
                pixel = value;
                span.Add(c, 1);
            }
        }
        return span;
    }
    // Whole groups of sixteen, then one that ends at `last` and may overlap
    // the one before, where it finds the pixels just painted no longer empty.
    int64_t c = first;
    for (; c + 15 <= last; c += 16) {
        PaintSixteen(row, c, firstPixel + (c - first), value, span);
    }
    if (c <= last) {
        PaintSixteen(row, last - 15, firstPixel + (last - 15 - first), value, span);
    }
    return span;
}

}  // namespace maskfit
