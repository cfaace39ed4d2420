// The one failure routine for an index outside a view's window.
#ifndef MASKFIT_RUNTIME_BOUNDS_FAILURE_H
#define MASKFIT_RUNTIME_BOUNDS_FAILURE_H

#include <cstdint>

#include "maskfit/maskfit.h"

namespace maskfit {

inline constexpr char kIndexOutOfRange[] = "System.IndexOutOfRangeException";

// Composes the message for `index` failing against `view` and ends the call
// through the abort. Reads only the view's length and window, so it serves
// views of every element type.
[[noreturn]] void ReportBoundsFailure(const CheckedArray* view, int32_t index);

}  // namespace maskfit

#endif
