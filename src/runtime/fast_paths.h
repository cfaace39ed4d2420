// Whether this build may take fast paths. The literal build of the library
// (MASKFIT_LITERAL_ONLY) runs the checked per-pixel path alone; it is the
// reference that the fast paths are compared with.
#ifndef MASKFIT_RUNTIME_FAST_PATHS_H
#define MASKFIT_RUNTIME_FAST_PATHS_H

namespace maskfit {

#if defined(MASKFIT_LITERAL_ONLY)
inline constexpr bool kFastPathsEnabled = false;
#else
inline constexpr bool kFastPathsEnabled = true;
#endif

}  // namespace maskfit

#endif
