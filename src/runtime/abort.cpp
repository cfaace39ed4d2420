#include "runtime/abort.h"

#include "host/host_slots.h"

namespace maskfit {

void AbortCall(const char* exceptionType, const char* message) {
    const MaskfitAbortFn abort = maskfit_host_slots.abort;
    if (abort != nullptr) {
        abort(exceptionType, message);
    }
    __builtin_trap();
}

}  // namespace maskfit
