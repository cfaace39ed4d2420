// The floor of a workload: one read of the bytes its call needs, as fast as
// this machine reads them, measured in the same run as the library.
#ifndef MASKFIT_BENCH_READ_FLOOR_H
#define MASKFIT_BENCH_READ_FLOOR_H

#include <cstdint>

namespace mfbench {

// memchr for a byte the masks never hold, over `count` bytes from p: the C
// library's fastest pass over them.
bool FindByteNeverWritten(const uint8_t* p, int64_t count);

// The OR of `rows` runs of `count` bytes, `stride` apart, in the widest
// vectors this CPU has: one read of a window of a mask.
uint8_t OrOfRows(const uint8_t* p, int64_t stride, int64_t count, int64_t rows);

}  // namespace mfbench

#endif
