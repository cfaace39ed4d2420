// Board rows as bits, one per pixel, set where the pixel is empty, and the
// word operations the placement search makes on them: it reads each board
// row it needs once into this form and then answers 64 candidate columns
// per word operation. A search calls these for every row it reads, so it
// chooses one instruction set's kernels once, up front.
#ifndef MASKFIT_SIMD_EMPTY_BITS_H
#define MASKFIT_SIMD_EMPTY_BITS_H

#include <cstdint>

namespace maskfit {

// Every run of words the kernels take is a whole number of
// kRunWordMultiple words, a whole number of vectors of either instruction set.
inline constexpr int64_t kRunWordMultiple = 4;

struct EmptyBitKernels {
    // Bit t % 64 of words[t / 64] is set exactly when p[t] is zero, for
    // t < count; the bits from count on are clear, so they read as covered.
    // Reads [p, p + count) only and writes n >= ceil(count / 64) words.
    void (*pack)(const uint8_t* p, int64_t count, uint64_t* words, int64_t n);
    // The same, and each word written ANDed into acc[k].
    void (*packAndInto)(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, int64_t n);
    // Packs rows of count pixels, p, p + stride and on, row j as
    // packAndInto packs it into words + j * n, up to the first row j after
    // which acc & (below + j * n) holds `bytes` all-set bytes in a row, as
    // they lie in memory, 1 <= bytes <= 64; returns that j, or rows when no
    // row does. A run of set bits as wide as a core holds so many such
    // bytes, so a search reads off which of its rows need eroding as it
    // packs them.
    int64_t (*packRowsUntilFull)(const uint8_t* p, int64_t stride, int64_t count, int64_t rows, uint64_t* words,
                                 uint64_t* acc, const uint64_t* below, int64_t n, int64_t bytes);
    // Each of `rows` runs of n words, one after the other, ANDed with every
    // run after it.
    void (*andUpwards)(uint64_t* runs, int64_t rows, int64_t n);
    // out[k] for k < n: bit t % 64 of word k set where bits [t, t + w) of
    // a & b are all set, 1 <= w <= 64, bits past the run counting as clear;
    // returns the OR of out, or 0 having left out as it was where a quick
    // look shows that no bit erodes to set. a, b and out may be one run:
    // each word is read before it is written.
    uint64_t (*erodeAnd)(const uint64_t* a, const uint64_t* b, uint64_t* out, int64_t n, int64_t w);
};

// The AVX2 kernels where the CPU runs them and rows hold at least one
// 32-byte vector, else the SSE2 ones.
EmptyBitKernels ChooseEmptyBitKernels(int64_t pixelsPerRow);

// Each instruction set's kernels; tests call both where the CPU has AVX2.
// The AVX2 ones pack rows of 32 pixels or more.
EmptyBitKernels EmptyBitKernelsSse2();
EmptyBitKernels EmptyBitKernelsAvx2();

}  // namespace maskfit

#endif
