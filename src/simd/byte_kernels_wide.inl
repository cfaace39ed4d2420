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

// The a rows first, a few at a time: where they are all zero no b byte
// matters, and a free board window is found so at half the reads. Rows
// whose a bytes are not all zero are then tested by the bytewise minimum,
// which is non-zero exactly where both bytes are.
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
    constexpr int64_t kGroup = 4;
    for (int64_t first = 0; first < rows; first += kGroup) {
        const int64_t end = rows - first < kGroup ? rows : first + kGroup;
        typename Lanes::Vector any{};
        for (int64_t r = first; r < end; ++r) {
            const uint8_t* rowA = a + r * aStride;
            any = Lanes::Or(any, OrOfChunks<Lanes>(count, [rowA](int64_t i) { return Lanes::Load(rowA + i); }));
        }
        if (Lanes::IsZero(any)) {
            continue;
        }
        for (int64_t r = first; r < end; ++r) {
            const uint8_t* rowA = a + r * aStride;
            const uint8_t* rowB = b + r * bStride;
            const auto both = [rowA, rowB](int64_t i) { return Lanes::Min(Lanes::Load(rowA + i), Lanes::Load(rowB + i)); };
            if (!Lanes::IsZero(OrOfChunks<Lanes>(count, both))) {
                return true;
            }
        }
    }
    return false;
}

// Copies the set bytes of src over dst exactly where the checked blit
// writes, and nowhere else: a chunk whose source bytes are all set is stored
// whole, a mixed one run of set bytes by run, so that the bytes under zero source bytes,
// which another job may be writing, are never stored to. The final chunk
// may overlap the one before; it stores set bytes again, which the checked
// blit writes too.
template <typename Lanes>
CopiedSpan CopySetBytesOver(uint8_t* dst, const uint8_t* src, int64_t count) {
    CopiedSpan span{-1, -1};
    const auto note = [&span](int64_t first, int64_t last) {
        span.first = span.first < 0 || first < span.first ? first : span.first;
        span.last = last > span.last ? last : span.last;
    };
    if (count < Lanes::kWidth) {
        for (int64_t i = 0; i < count; ++i) {
            if (src[i] != 0) {
                dst[i] = src[i];
                note(i, i);
            }
        }
        return span;
    }
    AnyChunk<Lanes>(count, [&](int64_t i) {
        const typename Lanes::Vector source = Lanes::Load(src + i);
        const uint32_t set = ~Lanes::Mask(Lanes::Zero(source)) & Lanes::kAll;
        if (set == 0) {
            return false;
        }
        if (set == Lanes::kAll) {
            Lanes::Store(dst + i, source);
        } else {
            ForEachRunOfBits(set, [&](int32_t first, int32_t run) { CopyRun(dst + i + first, src + i + first, run); });
        }
        note(i + __builtin_ctz(set), i + 31 - __builtin_clz(set));
        return false;
    });
    return span;
}

}  // namespace
}  // namespace maskfit

#endif
