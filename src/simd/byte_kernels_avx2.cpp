// Everything after the pragma is compiled for AVX2; only HasAvx2 callers
// reach it. Library headers come first, so none of their inline code is
// compiled for AVX2 in this file.
#include <immintrin.h>

#include <cstdint>

#include "simd/byte_kernel_variants.h"
#include "simd/byte_kernels.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC target("avx2")
#endif

#include "simd/byte_kernels_wide.inl"

namespace maskfit {
namespace {

struct Avx2Lanes {
    using Vector = __m256i;
    static constexpr int64_t kWidth = 32;
    static constexpr uint32_t kAll = 0xFFFFFFFFu;
    static constexpr int64_t kBlock = 2;

    static Vector Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint8_t* p, Vector v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static Vector Zero(Vector v) { return _mm256_cmpeq_epi8(v, _mm256_setzero_si256()); }
    static uint32_t Mask(Vector v) { return static_cast<uint32_t>(_mm256_movemask_epi8(v)); }
    static Vector And(Vector a, Vector b) { return _mm256_and_si256(a, b); }
    static Vector Or(Vector a, Vector b) { return _mm256_or_si256(a, b); }
    static Vector Ones() { return _mm256_set1_epi8(-1); }
};

}  // namespace

bool AnyBothSetAvx2(const uint8_t* a, int64_t aStride, const uint8_t* b, int64_t bStride, int64_t count, int64_t rows) {
    return AnyBothSetInRows<Avx2Lanes>(a, aStride, b, bStride, count, rows);
}

CopiedSpan CopySetBytesAvx2(uint8_t* dst, const uint8_t* src, int64_t count) {
    return CopySetBytesOver<Avx2Lanes>(dst, src, count);
}

}  // namespace maskfit

#if defined(__clang__)
#pragma clang attribute pop
#endif
