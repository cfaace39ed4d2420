/* burst_abort as the library calls it: records XMM6..XMM15 exactly as they
 * arrive (before any compiled code can change them), then hands over to
 * hostsim_on_abort, which leaves by long jump or by exception. */
#include "host/asm_macros.h"

FUNC_BEGIN_GLOBAL hostsim_burst_abort
    FRAME_PROLOGUE 192
    FOR_EACH_SAVED_VECTOR STORE_UNALIGNED, %rsp, 32
    leaq 32(%rsp), %r8
    call hostsim_on_abort
    ud2
FUNC_END hostsim_burst_abort

#if !defined(_WIN32)
    .section .note.GNU-stack,"",@progbits
#endif
