/* CallWithVectors(fn, args, load, store): loads XMM6..XMM15 from `load`
 * (160 bytes), calls `fn` with the Windows x64 convention and the argument
 * slots args[0..11] (four in registers, eight on the stack), then stores
 * XMM6..XMM15 into `store` and returns fn's RAX. The caller's own XMM6..XMM15
 * are kept and put back. Used by the tests that check the library's frame. */
#include "host/asm_macros.h"

#define OUT_ARGS 32
#define OWN_VECTORS 96
#define STORE_PTR 256

FUNC_BEGIN_GLOBAL maskfit_test_call_with_vectors
    FRAME_PROLOGUE 272
    movq %r9, STORE_PTR(%rsp)
    movups %xmm6, OWN_VECTORS+0(%rsp)
    movups %xmm7, OWN_VECTORS+16(%rsp)
    movups %xmm8, OWN_VECTORS+32(%rsp)
    movups %xmm9, OWN_VECTORS+48(%rsp)
    movups %xmm10, OWN_VECTORS+64(%rsp)
    movups %xmm11, OWN_VECTORS+80(%rsp)
    movups %xmm12, OWN_VECTORS+96(%rsp)
    movups %xmm13, OWN_VECTORS+112(%rsp)
    movups %xmm14, OWN_VECTORS+128(%rsp)
    movups %xmm15, OWN_VECTORS+144(%rsp)
    movq %rcx, %rax
    movq %rdx, %r10
    .set .Lslot, 0
    .rept 8
    movq 32+8*.Lslot(%r10), %r11
    movq %r11, OUT_ARGS+8*.Lslot(%rsp)
    .set .Lslot, .Lslot+1
    .endr
    movups 0(%r8), %xmm6
    movups 16(%r8), %xmm7
    movups 32(%r8), %xmm8
    movups 48(%r8), %xmm9
    movups 64(%r8), %xmm10
    movups 80(%r8), %xmm11
    movups 96(%r8), %xmm12
    movups 112(%r8), %xmm13
    movups 128(%r8), %xmm14
    movups 144(%r8), %xmm15
    movq 0(%r10), %rcx
    movq 8(%r10), %rdx
    movq 16(%r10), %r8
    movq 24(%r10), %r9
    call *%rax
    movq STORE_PTR(%rsp), %r9
    movups %xmm6, 0(%r9)
    movups %xmm7, 16(%r9)
    movups %xmm8, 32(%r9)
    movups %xmm9, 48(%r9)
    movups %xmm10, 64(%r9)
    movups %xmm11, 80(%r9)
    movups %xmm12, 96(%r9)
    movups %xmm13, 112(%r9)
    movups %xmm14, 128(%r9)
    movups %xmm15, 144(%r9)
    movups OWN_VECTORS+0(%rsp), %xmm6
    movups OWN_VECTORS+16(%rsp), %xmm7
    movups OWN_VECTORS+32(%rsp), %xmm8
    movups OWN_VECTORS+48(%rsp), %xmm9
    movups OWN_VECTORS+64(%rsp), %xmm10
    movups OWN_VECTORS+80(%rsp), %xmm11
    movups OWN_VECTORS+96(%rsp), %xmm12
    movups OWN_VECTORS+112(%rsp), %xmm13
    movups OWN_VECTORS+128(%rsp), %xmm14
    movups OWN_VECTORS+144(%rsp), %xmm15
    FRAME_EPILOGUE
FUNC_END maskfit_test_call_with_vectors

#if !defined(_WIN32)
    .section .note.GNU-stack,"",@progbits
#endif
