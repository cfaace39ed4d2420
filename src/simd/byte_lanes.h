// One vector of Width bytes, the only description the byte kernels
// (byte_kernels_wide.inl) need of an instruction set: loads, stores, the
// zero test, the bit mask of a vector, the logic operations and the bytewise minimum. A file that
// compiles a wider instruction set includes this after its target pragma, so
// that the lanes it instantiates are compiled for that set; the anonymous
// namespace keeps every instantiation inside its own file.
#ifndef MASKFIT_SIMD_BYTE_LANES_H
#define MASKFIT_SIMD_BYTE_LANES_H

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace maskfit {
namespace {

template <int Width>
struct ByteLanes {
    static_assert(Width == 16 || Width == 32, "SSE2 or AVX2 vectors");
    typedef char Vector __attribute__((vector_size(Width)));

    static constexpr int64_t kWidth = Width;
    static constexpr uint32_t kAll = static_cast<uint32_t>((uint64_t{1} << Width) - 1);

    static Vector Load(const uint8_t* p) {
        Vector v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void Store(uint8_t* p, Vector v) { std::memcpy(p, &v, sizeof v); }
    // All-ones bytes where the byte of v is zero.
    static Vector Zero(Vector v) { return reinterpret_cast<Vector>(v == Vector{}); }
    static Vector And(Vector a, Vector b) { return a & b; }
    static Vector Or(Vector a, Vector b) { return a | b; }
    static Vector Ones() { return ~Vector{}; }
    // Bytewise unsigned minimum: non-zero exactly where both bytes are.
    static Vector Min(Vector a, Vector b) {
        if constexpr (Width == 16) {
            return reinterpret_cast<Vector>(_mm_min_epu8(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
        } else {
            return reinterpret_cast<Vector>(
                _mm256_min_epu8(reinterpret_cast<__m256i>(a), reinterpret_cast<__m256i>(b)));
        }
    }
    static bool IsZero(Vector v) { return Mask(Zero(v)) == kAll; }
    // Bit i from the top bit of byte i.
    static uint32_t Mask(Vector v) {
        if constexpr (Width == 16) {
            return static_cast<uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(v)));
        } else {
            return static_cast<uint32_t>(_mm256_movemask_epi8(reinterpret_cast<__m256i>(v)));
        }
    }
};

}  // namespace
}  // namespace maskfit

#endif
