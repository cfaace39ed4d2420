#include "read_floor.h"

#include <cstring>

namespace mfbench {
namespace {

// Not a value any workload writes: memchr reads every byte.
constexpr int kNeverWritten = 0x5C;

template <int Width>
struct Lanes {
    typedef uint8_t Vector __attribute__((vector_size(Width)));
};

template <typename Vector>
__attribute__((always_inline)) inline void OrInto(Vector& acc, const uint8_t* p) {
    Vector v;
    std::memcpy(&v, p, sizeof v);
    acc |= v;
}

// The chunks of one run, count >= the vector's width: the one ending at
// count into `last`, the whole ones before it into `rest`, so that two
// chains of ORs run side by side.
template <typename Vector>
__attribute__((always_inline)) inline void OrRun(const uint8_t* row, int64_t count, Vector& last, Vector& rest) {
    constexpr int64_t kWidth = sizeof(Vector);
    OrInto(last, row + count - kWidth);
    for (int64_t i = 0; i + kWidth < count; i += kWidth) {
        OrInto(rest, row + i);
    }
}

// Rows two at a time into four accumulators, so that the loads, not the
// ORs, set the pace.
template <int Width>
__attribute__((always_inline)) inline uint8_t OrOfRowsIn(const uint8_t* p, int64_t stride, int64_t count,
                                                         int64_t rows) {
    using Vector = typename Lanes<Width>::Vector;
    uint8_t any = 0;
    if (count < Width) {
        for (int64_t r = 0; r < rows; ++r) {
            for (int64_t i = 0; i < count; ++i) {
                any |= p[r * stride + i];
            }
        }
        return any;
    }
    Vector a{};
    Vector b{};
    Vector c{};
    Vector d{};
    int64_t r = 0;
    for (; r + 2 <= rows; r += 2) {
        OrRun(p + r * stride, count, a, b);
        OrRun(p + (r + 1) * stride, count, c, d);
    }
    if (r < rows) {
        OrRun(p + r * stride, count, a, b);
    }
    const Vector all = a | b | c | d;
    for (int i = 0; i < Width; ++i) {
        any |= all[i];
    }
    return any;
}

__attribute__((target("avx2"))) uint8_t OrOfRowsAvx2(const uint8_t* p, int64_t stride, int64_t count, int64_t rows) {
    return OrOfRowsIn<32>(p, stride, count, rows);
}

}  // namespace

bool FindByteNeverWritten(const uint8_t* p, int64_t count) {
    return std::memchr(p, kNeverWritten, static_cast<size_t>(count)) != nullptr;
}

uint8_t OrOfRows(const uint8_t* p, int64_t stride, int64_t count, int64_t rows) {
    if (__builtin_cpu_supports("avx2")) {
        return OrOfRowsAvx2(p, stride, count, rows);
    }
    return OrOfRowsIn<16>(p, stride, count, rows);
}

}  // namespace mfbench
