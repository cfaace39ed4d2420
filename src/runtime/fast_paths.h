// Whether this build may take fast paths, and which instruction sets. The
// literal build of the library (MASKFIT_LITERAL_ONLY) runs the checked
// per-pixel path alone; it is the reference that the fast paths are compared
// with. The baseline build (MASKFIT_BASELINE_ONLY) takes the fast paths with
// SSE2 kernels alone, whatever the CPU, so that tests hold each instruction
// set's kernels to the checked path on a CPU that would pick another.
#ifndef MASKFIT_RUNTIME_FAST_PATHS_H
#define MASKFIT_RUNTIME_FAST_PATHS_H

namespace maskfit {

#if defined(MASKFIT_LITERAL_ONLY)
inline constexpr bool kFastPathsEnabled = false;
#else
inline constexpr bool kFastPathsEnabled = true;
#endif

#if defined(MASKFIT_BASELINE_ONLY)
inline constexpr bool kWiderVectorsEnabled = false;
#else
inline constexpr bool kWiderVectorsEnabled = true;
#endif

}  // namespace maskfit

#endif
