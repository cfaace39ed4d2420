// The start-up handshake: the host hands over its abort, its two safety
// checks and its frame-chain accessor, which the library keeps in slots.
#include "host/entry_table.h"
#include "host/export_name.h"
#include "host/host_slots.h"

extern "C" {

HostSlots maskfit_host_slots = {};

}  // extern "C"

namespace {

constexpr char kAbortName[] = "burst_abort";
constexpr char kCheckWriteName[] =
    "Unity.Collections.LowLevel.Unsafe.AtomicSafetyHandle::CheckWriteAndThrowNoEarlyOut_Injected";
constexpr char kCheckReadName[] =
    "Unity.Collections.LowLevel.Unsafe.AtomicSafetyHandle::CheckReadAndThrowNoEarlyOut_Injected";

template <typename Function>
Function Resolve(MaskfitResolver resolver, const char* name) {
    return reinterpret_cast<Function>(resolver(name));
}

// Every entry point's initializer writes the same slots: abort, then the
// checks it uses, write before read.
void ResolveExternals(MaskfitResolver resolver, bool resolvesWrite, bool resolvesRead) {
    maskfit_host_slots.abort = Resolve<MaskfitAbortFn>(resolver, kAbortName);
    if (resolvesWrite) {
        maskfit_host_slots.checkWrite = Resolve<MaskfitSafetyCheckFn>(resolver, kCheckWriteName);
    }
    if (resolvesRead) {
        maskfit_host_slots.checkRead = Resolve<MaskfitSafetyCheckFn>(resolver, kCheckReadName);
    }
}

}  // namespace

extern "C" {

#define MASKFIT_DECLARE_INITIALIZERS(name, symbol, write, read, stackArgs)                                 \
    MASKFIT_HOSTCALL void maskfit_externals_##name(MaskfitResolver resolver)                              \
        MASKFIT_EXPORTED(MASKFIT_EXTERNALS_PREFIX MASKFIT_STRINGIFY(symbol));                              \
    MASKFIT_HOSTCALL void maskfit_externals_##name(MaskfitResolver resolver) {                            \
        ResolveExternals(resolver, (write) != 0, (read) != 0);                                             \
    }                                                                                                      \
    /* The library has no static data to prepare. */                                                      \
    MASKFIT_HOSTCALL void maskfit_statics_##name(void) MASKFIT_EXPORTED(MASKFIT_STATICS_PREFIX MASKFIT_STRINGIFY(symbol)); \
    MASKFIT_HOSTCALL void maskfit_statics_##name(void) {}

MASKFIT_ENTRY_POINTS(MASKFIT_DECLARE_INITIALIZERS)

MASKFIT_HOSTCALL void maskfit_initialize(MaskfitResolver resolver) MASKFIT_EXPORTED(MASKFIT_SYMBOL_INITIALIZE);
MASKFIT_HOSTCALL void maskfit_initialize(MaskfitResolver resolver) {
#define MASKFIT_CALL_EXTERNALS(name, symbol, write, read, stackArgs) maskfit_externals_##name(resolver);
    MASKFIT_ENTRY_POINTS(MASKFIT_CALL_EXTERNALS)
#define MASKFIT_CALL_STATICS(name, symbol, write, read, stackArgs) maskfit_statics_##name();
    MASKFIT_ENTRY_POINTS(MASKFIT_CALL_STATICS)
}

MASKFIT_HOSTCALL void maskfit_setup_extra(FrameChainAccessor accessor) MASKFIT_EXPORTED(MASKFIT_SYMBOL_SETUP_EXTRA);
MASKFIT_HOSTCALL void maskfit_setup_extra(FrameChainAccessor accessor) {
    maskfit_host_slots.accessor = accessor;
    maskfit_host_slots.savedAbort = maskfit_host_slots.abort;
    maskfit_host_slots.abort = maskfit_abort_trampoline;
}

}  // extern "C"
