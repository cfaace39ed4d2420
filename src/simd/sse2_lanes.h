// SSE2, the x86-64 baseline: the lanes of the byte kernels.
#ifndef MASKFIT_SIMD_SSE2_LANES_H
#define MASKFIT_SIMD_SSE2_LANES_H

#include <cstdint>

#include "simd/byte_lanes.h"

namespace maskfit {
namespace {

using Sse2Lanes = ByteLanes<16>;

}  // namespace
}  // namespace maskfit

#endif
