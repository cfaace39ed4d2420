// Work estimates that keep each fuzz run short; products saturate instead
// of overflowing, since the inputs reach the edges of the 64-bit range too.
#ifndef MASKFIT_FUZZ_WORK_LIMIT_H
#define MASKFIT_FUZZ_WORK_LIMIT_H

#include <cstdint>

namespace mffuzz {

inline int64_t SaturatingProduct(int64_t a, int64_t b) {
    int64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? INT64_MAX : product;
}

inline int64_t SaturatingSum(int64_t a, int64_t b) {
    int64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? INT64_MAX : sum;
}

// Steps of a loop over `rows` rows of `columns` columns, where a row with
// no columns still costs one.
inline int64_t RowsTimesColumns(int32_t rows, int32_t columns) {
    return rows > 0 ? static_cast<int64_t>(rows) * (columns > 1 ? columns : 1) : 0;
}

}  // namespace mffuzz

#endif
