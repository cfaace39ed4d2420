// The byte-vector kernels written once over a vector width. Each includer
// instantiates them with its own ByteLanes (byte_lanes.h): 16 bytes in
// byte_kernels_sse2.cpp, 32 in byte_kernels_avx2.cpp, compiled for AVX2.
// The anonymous namespace keeps every instantiation inside its own file, so
// no AVX2 code can stand in for baseline code at link time.
#ifndef MASKFIT_SIMD_BYTE_KERNELS_WIDE_INL
#define MASKFIT_SIMD_BYTE_KERNELS_WIDE_INL

#include <cstdint>

#include "simd/byte_kernels.h"
#include "simd/byte_runs.h"

namespace maskfit {
namespace {

// Bit i set where byte i of the chunk at p is zero.
template <typename Lanes>
uint32_t ZeroMask(const uint8_t* p) {
    return Lanes::Mask(Lanes::Zero(Lanes::Load(p)));
}

// Offsets of the chunks that cover [0, count): whole chunks, then one final
// chunk ending at count that may overlap the one before, and that starts
// below 0 when count < kWidth (the caller then has those bytes). Stops early
// when `visit` returns true, and returns whether it did.
template <typename Lanes, typename Visit>
bool AnyChunk(int64_t count, Visit visit) {
    int64_t offset = 0;
    for (; offset + Lanes::kWidth <= count; offset += Lanes::kWidth) {
        if (visit(offset)) {
            return true;
        }
    }
    return offset < count && visit(count - Lanes::kWidth);
}

// Runs shorter than one chunk go byte by byte.
template <typename Visit>
bool AnyByte(int64_t count, Visit visit) {
    for (int64_t i = 0; i < count; ++i) {
        if (visit(i)) {
            return true;
        }
    }
    return false;
}

// The OR of the chunks that cover [0, count), count >= kWidth: whole
// chunks, then the one ending at count, which may re-read bytes.
template <typename Lanes, typename Chunk>
typename Lanes::Vector OrOfChunks(int64_t count, Chunk chunk) {
    typename Lanes::Vector any = chunk(count - Lanes::kWidth);
    for (int64_t offset = 0; offset + Lanes::kWidth < count; offset += Lanes::kWidth) {
        any = Lanes::Or(any, chunk(offset));
    }
    return any;
}

// The OR of a row's chunks, and of the bytewise minimum of two rows'
// chunks, which is non-zero exactly where both bytes are. kShort: a row
// of kWidth to 2 kWidth bytes, which two overlapping chunks cover, so that
// the row loop of a small shape holds nothing but its loads.
template <typename Lanes, bool kShort>
struct RowChunks {
    using Vector = typename Lanes::Vector;
    int64_t count;

    Vector Any(const uint8_t* row) const {
        if constexpr (kShort) {
            return Lanes::Or(Lanes::Load(row), Lanes::Load(row + count - Lanes::kWidth));
        } else {
            return OrOfChunks<Lanes>(count, [row](int64_t i) { return Lanes::Load(row + i); });
        }
    }
    Vector Both(const uint8_t* a, const uint8_t* b) const {
        const auto both = [a, b](int64_t i) { return Lanes::Min(Lanes::Load(a + i), Lanes::Load(b + i)); };
        if constexpr (kShort) {
            return Lanes::Or(both(0), both(count - Lanes::kWidth));
        } else {
            return OrOfChunks<Lanes>(count, both);
        }
    }
};

// The a rows first, a group at a time: where they are all zero no b byte
// matters, and a free board window is found so at half the reads. Rows
// whose a bytes are not all zero are then tested by the bytewise minimum.
// A whole group is read by a loop of fixed length, which the compiler
// unrolls.
template <typename Lanes, typename Chunks>
bool AnyBothSetInRowsOf(const Chunks& chunks, const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride,
                        int64_t rows) {
    constexpr int64_t kGroup = 8;
    const auto anyOf = [&chunks, aStride](const uint8_t* first, int64_t count) {
        typename Lanes::Vector any{};
        for (int64_t r = 0; r < count; ++r) {
            any = Lanes::Or(any, chunks.Any(first + r * aStride));
        }
        return any;
    };
    for (int64_t first = 0; first < rows; first += kGroup) {
        const uint8_t* groupA = a + first * aStride;
        const int64_t group = rows - first < kGroup ? rows - first : kGroup;
        if (Lanes::IsZero(group == kGroup ? anyOf(groupA, kGroup) : anyOf(groupA, group))) {
            continue;
        }
        for (int64_t r = first; r < first + group; ++r) {
            if (!Lanes::IsZero(chunks.Both(a + r * aStride, b + r * bStride))) {
                return true;
            }
        }
    }
    return false;
}

template <typename Lanes>
bool AnyBothSetInRows(const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride, int64_t count,
                      int64_t rows) {
    if (count < Lanes::kWidth) {
        for (int64_t r = 0; r < rows; ++r) {
            const uint8_t* rowA = a + r * aStride;
            const uint8_t* rowB = b + r * bStride;
            if (AnyByte(count, [&](int64_t i) { return rowA[i] != 0 && rowB[i] != 0; })) {
                return true;
            }
        }
        return false;
    }
    if (count <= 2 * Lanes::kWidth) {
        return AnyBothSetInRowsOf<Lanes>(RowChunks<Lanes, true>{count}, a, aStride, b, bStride, rows);
    }
    return AnyBothSetInRowsOf<Lanes>(RowChunks<Lanes, false>{count}, a, aStride, b, bStride, rows);
}

// The first offset in [from, count) whose byte `marks` flags (a chunk's
// bits, one per byte), or count. count >= kWidth: past the whole chunks,
// the chunk ending at count is read and its bytes before `from` dropped.
template <typename Lanes, typename Marks>
int64_t NextMarked(int64_t from, int64_t count, Marks marks) {
    for (; from + Lanes::kWidth <= count; from += Lanes::kWidth) {
        const uint32_t bits = marks(from);
        if (bits != 0) {
            return from + __builtin_ctz(bits);
        }
    }
    if (from >= count) {
        return count;
    }
    const int64_t last = count - Lanes::kWidth;
    const uint32_t bits = marks(last) >> (from - last);
    return bits != 0 ? from + __builtin_ctz(bits) : count;
}

// Copies a run of count >= 1 bytes, storing to no byte outside it: whole
// vectors, then one ending at the run's end, which may overlap the one
// before and stores the same bytes again.
template <typename Lanes>
void CopyWholeRun(uint8_t* dst, const uint8_t* src, int64_t count) {
    if (count < Lanes::kWidth) {
        CopyRun(dst, src, static_cast<int32_t>(count));
        return;
    }
    for (int64_t i = 0; i + Lanes::kWidth < count; i += Lanes::kWidth) {
        Lanes::Store(dst + i, Lanes::Load(src + i));
    }
    const int64_t last = count - Lanes::kWidth;
    Lanes::Store(dst + last, Lanes::Load(src + last));
}

// Copies the set bytes of src over dst exactly where the checked blit
// writes, and nowhere else: each maximal run of set source bytes is found
// and copied whole, so the bytes under zero source bytes, which another job
// may be writing, are never stored to. Runs, not chunks, are the unit: a
// shape's row holds a few long runs, and each costs a few loads and stores
// whatever chunks it straddles.
template <typename Lanes>
CopiedSpan CopySetBytesOver(uint8_t* dst, const uint8_t* src, int64_t count) {
    CopiedSpan span{-1, -1};
    if (count < Lanes::kWidth) {
        for (int64_t i = 0; i < count; ++i) {
            if (src[i] != 0) {
                dst[i] = src[i];
                span.first = span.first < 0 ? i : span.first;
                span.last = i;
            }
        }
        return span;
    }
    const auto zeroBytes = [src](int64_t i) { return ZeroMask<Lanes>(src + i); };
    const auto setBytes = [src](int64_t i) { return ~ZeroMask<Lanes>(src + i) & Lanes::kAll; };
    int64_t start = NextMarked<Lanes>(0, count, setBytes);
    span.first = start < count ? start : -1;
    while (start < count) {
        const int64_t end = NextMarked<Lanes>(start + 1, count, zeroBytes);
        CopyWholeRun<Lanes>(dst + start, src + start, end - start);
        span.last = end - 1;
        start = NextMarked<Lanes>(end, count, setBytes);
    }
    return span;
}

}  // namespace
}  // namespace maskfit

#endif
