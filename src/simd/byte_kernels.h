// Byte-vector kernels behind the fast paths: tests and copies over runs of
// mask pixels, where only "zero or not" matters. They read and write exactly
// the bytes [p, p + count) they are given, never a byte beyond.
#ifndef MASKFIT_SIMD_BYTE_KERNELS_H
#define MASKFIT_SIMD_BYTE_KERNELS_H

#include <cstdint>

namespace maskfit {

// True when some position holds a non-zero byte in both runs: `rows` runs
// of `count` bytes each, run r at a + r * aStride and at b + r * bStride.
bool AnyBothSet(const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride, int64_t count, int64_t rows);

// True when some byte of the run is non-zero.
bool AnySet(const uint8_t* p, int64_t count);

// True when every byte of the run is non-zero.
bool AllSet(const uint8_t* p, int64_t count);

// Where CopySetBytes copied: the first and last positions, or first = -1.
struct CopiedSpan {
    int64_t first;
    int64_t last;
};

// Copies every non-zero byte of src over dst and leaves the bytes under a
// zero source byte as they were. src and dst must not overlap.
CopiedSpan CopySetBytes(uint8_t* dst, const uint8_t* src, int64_t count);

}  // namespace maskfit

#endif
