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
template <typename Step>
void OrWindow(uint64_t* row, int64_t words, int64_t length, Step step) {
    int64_t have = 1;
    for (; 2 * have <= length; have *= 2) {
        step(row, words, have);
    }
    if (have < length) {
        step(row, words, length - have);
    }
}

// The same for windows of at most 64 columns, each word from itself and one
// neighbour by doubling windows, with shifts of 1 to 32 that keep both in
// range: a word's result needs the neighbour's low (or high) bits only, and
// those the doubling keeps exact. The order of the words leaves each
// neighbour as it was before the call until it is used. A word all set, or
// clear with a clear neighbour, stays as it is: inside and outside a shape.
void OrWindowDown64(uint64_t* row, int64_t words, int64_t length) {
    for (int64_t w = 0; w < words && length > 1; ++w) {
        uint64_t low = row[w];
        uint64_t high = w + 1 < words ? row[w + 1] : 0;
        if (low == ~uint64_t{0} || (low | high) == 0) {
            continue;
        }
        int64_t have = 1;
        for (; 2 * have <= length; have *= 2) {
            low |= (low >> have) | (high << (64 - have));
            high |= high >> have;
        }
        if (have < length) {
            low |= (low >> (length - have)) | (high << (64 - (length - have)));
        }
        row[w] = low;
    }
}

void OrWindowUp64(uint64_t* row, int64_t words, int64_t length) {
    for (int64_t w = words - 1; w >= 0 && length > 1; --w) {
        uint64_t high = row[w];
        uint64_t low = w > 0 ? row[w - 1] : 0;
        if (high == ~uint64_t{0} || (low | high) == 0) {
            continue;
        }
        int64_t have = 1;
        for (; 2 * have <= length; have *= 2) {
            high |= (high << have) | (low >> (64 - have));
            low |= low << have;
        }
        if (have < length) {
            high |= (high << (length - have)) | (low >> (64 - (length - have)));
        }
        row[w] = high;
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

Span64 CoveredColumns(const uint64_t* row, int64_t words) {
    int64_t first = 0;
    while (first < words && row[first] == 0) {
        ++first;
    }
    if (first == words) {
        return {1, 0};
    }
    int64_t last = words - 1;
    while (row[last] == 0) {
        --last;
    }
    return {64 * first + __builtin_ctzll(row[first]), 64 * last + 63 - __builtin_clzll(row[last])};
}

void ClearCovered(uint64_t* into, const uint64_t* from, int64_t words) {
    for (int64_t w = 0; w < words; ++w) {
        into[w] &= ~from[w];
    }
}

void Widen(uint64_t* row, int64_t columns, int64_t before, int64_t after) {
    const int64_t words = WordsFor(columns);
    // Column c first takes c - before .. c, then the union of those over c .. c + after.
    if (before < 64 && after < 64) {  // windows of at most 64 columns
        OrWindowUp64(row, words, before + 1);
        OrWindowDown64(row, words, after + 1);
    } else {
        OrWindow(row, words, before + 1, [](uint64_t* r, int64_t n, int64_t shift) { OrShiftedUp(r, n, shift); });
        OrWindow(row, words, after + 1, [](uint64_t* r, int64_t n, int64_t shift) { OrShiftedDown(r, n, shift); });
    }
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
    // Word by word, skipping clear ones: each group of sixteen starts at the
    // first covered column not yet done (or ends at `last`, overlapping
    // columns done before, where it finds the pixels painted no longer empty).
    int64_t done = first;  // columns below are done
    for (int64_t w = first / 64; w <= last / 64; ++w) {
        uint64_t bits = row[w];
        while (bits != 0) {
            const int64_t from = done - 64 * w;  // clear what is done
            if (from >= 64) {
                break;
            }
            bits &= from > 0 ? ~uint64_t{0} << from : ~uint64_t{0};
            if (bits == 0) {
                break;
            }
            const int64_t covered = 64 * w + __builtin_ctzll(bits);
            if (covered > last) {
                return span;
            }
            const int64_t c = covered < last - 15 ? covered : last - 15;
            PaintSixteen(row, c, firstPixel + (c - first), value, span);
            done = c + 16;
        }
    }
    return span;
}

}  // namespace maskfit
