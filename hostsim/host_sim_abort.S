/* burst_abort as the library calls it: records XMM6..XMM15 exactly as they
 * arrive (before any compiled code can change them), then hands over to
 * hostsim_on_abort, which leaves by long jump or by exception. */
#include "host/asm_macros.h"

FUNC_BEGIN_GLOBAL hostsim_burst_abort
    FRAME_PROLOGUE 192
    movups %xmm6, 32(%rsp)
    movups %xmm7, 48(%rsp)
    movups %xmm8, 64(%rsp)
    movups %xmm9, 80(%rsp)
    movups %xmm10, 96(%rsp)
    movups %xmm11, 112(%rsp)
    movups %xmm12, 128(%rsp)
    movups %xmm13, 144(%rsp)
    movups %xmm14, 160(%rsp)
    movups %xmm15, 176(%rsp)
    leaq 32(%rsp), %r8
    call hostsim_on_abort
    ud2
FUNC_END hostsim_burst_abort

#if !defined(_WIN32)
    .section .note.GNU-stack,"",@progbits
#endif
