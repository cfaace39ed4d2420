// The five process-wide slots: the only state the library keeps. They are
// written during start-up and only read afterwards.
#ifndef MASKFIT_HOST_HOST_SLOTS_H
#define MASKFIT_HOST_HOST_SLOTS_H

#include "maskfit/maskfit.h"

extern "C" {

struct HostSlots {
    MaskfitAbortFn abort;              // burst_abort, then the abort trampoline
    MaskfitSafetyCheckFn checkRead;
    MaskfitSafetyCheckFn checkWrite;
    FrameChainAccessor accessor;       // empty until burst.setup_extra
    MaskfitAbortFn savedAbort;         // burst_abort, kept aside by burst.setup_extra
};

// The entry stubs and the trampoline read `accessor` and `savedAbort` by offset.
static_assert(offsetof(HostSlots, accessor) == 24, "accessor slot offset");
static_assert(offsetof(HostSlots, savedAbort) == 32, "saved-abort slot offset");

extern HostSlots maskfit_host_slots;

// Assembly: restores the innermost frame's vector registers, unlinks it and
// hands over to the saved abort.
[[noreturn]] MASKFIT_HOSTCALL void maskfit_abort_trampoline(const char* type, const char* message);
}

#endif
