// Board rows as bits, one per pixel, set where the pixel is empty: the
// placement search reads each board row it needs once into this form and
// then answers 64 candidate columns per word operation.
#ifndef MASKFIT_SIMD_EMPTY_BITS_H
#define MASKFIT_SIMD_EMPTY_BITS_H

#include <cstdint>

namespace maskfit {

// Bit t % 64 of words[t / 64] is set exactly when p[t] is zero, for
// t < count; the bits of the last word from count on are clear, so they
// read as covered. Reads [p, p + count) only and writes ceil(count / 64)
// words.
void PackEmptyBits(const uint8_t* p, int64_t count, uint64_t* words);

// Each instruction set's version; PackEmptyBits chooses. The AVX2 one runs
// only where HasAvx2() holds, and needs count >= 32.
void PackEmptyBitsSse2(const uint8_t* p, int64_t count, uint64_t* words);
void PackEmptyBitsAvx2(const uint8_t* p, int64_t count, uint64_t* words);

}  // namespace maskfit

#endif
