/* CallWithRegisters(fn, args, load, store): loads every callee-saved register
 * of the Windows x64 convention (RBX, RBP, RDI, RSI, R12 to R15, XMM6 to
 * XMM15) from `load`, calls `fn` with that convention and the argument slots
 * args[0..11] (four in registers, eight on the stack), then stores the same
 * registers, and RSP before and after the call, into `store`, and returns
 * fn's RAX. The probe's own callee-saved registers are kept and put back.
 * Its unwind description counts from RSP, so it holds whatever RBP carries.
 *
 * RegisterSet: 8 general registers in the order above (0..63), RSP before
 * the call (64), RSP after it (72), XMM6..XMM15 (80..239). */
#include "host/asm_macros.h"

#define OUT_ARGS 32
#define STORE_PTR 96
#define FN_PTR 104
#define OWN_VECTORS 112
#define LOCALS 280

#define SET_RSP_BEFORE 64
#define SET_RSP_AFTER 72
#define SET_VECTORS 80

.macro FOR_EACH_GENERAL op, base
    \op %rbx, 0, \base
    \op %rbp, 8, \base
    \op %rdi, 16, \base
    \op %rsi, 24, \base
    \op %r12, 32, \base
    \op %r13, 40, \base
    \op %r14, 48, \base
    \op %r15, 56, \base
.endm

.macro LOAD_GENERAL reg, at, base
    movq \at(\base), \reg
.endm
.macro STORE_GENERAL reg, at, base
    movq \reg, \at(\base)
.endm
.macro KEEP_VECTOR reg, at, base
    STORE_ALIGNED \reg, \at, \base
    UNWIND_SAVED_VECTOR \reg, \at
.endm

FUNC_BEGIN_GLOBAL maskfit_test_call_with_registers
    UNWIND_PUSH rbx
    UNWIND_PUSH rbp
    UNWIND_PUSH rdi
    UNWIND_PUSH rsi
    UNWIND_PUSH r12
    UNWIND_PUSH r13
    UNWIND_PUSH r14
    UNWIND_PUSH r15
    UNWIND_ALLOC LOCALS
    FOR_EACH_SAVED_VECTOR KEEP_VECTOR, %rsp, OWN_VECTORS
    UNWIND_END_PROLOGUE
    movq %r9, STORE_PTR(%rsp)
    movq %rcx, FN_PTR(%rsp)
    movq %rdx, %r10
    movq %r8, %r11
    .set .Lslot, 0
    .rept 8
    movq 32+8*.Lslot(%r10), %rax
    movq %rax, OUT_ARGS+8*.Lslot(%rsp)
    .set .Lslot, .Lslot+1
    .endr
    FOR_EACH_SAVED_VECTOR LOAD_UNALIGNED, %r11, SET_VECTORS
    movq STORE_PTR(%rsp), %rax
    movq %rsp, SET_RSP_BEFORE(%rax)
    movq FN_PTR(%rsp), %rax
    movq 0(%r10), %rcx
    movq 8(%r10), %rdx
    movq 16(%r10), %r8
    movq 24(%r10), %r9
    FOR_EACH_GENERAL LOAD_GENERAL, %r11
    call *%rax
    movq STORE_PTR(%rsp), %r11
    FOR_EACH_GENERAL STORE_GENERAL, %r11
    movq %rsp, SET_RSP_AFTER(%r11)
    FOR_EACH_SAVED_VECTOR STORE_UNALIGNED, %r11, SET_VECTORS
    FOR_EACH_SAVED_VECTOR LOAD_ALIGNED, %rsp, OWN_VECTORS
    UNWIND_FREE LOCALS
    UNWIND_POP r15
    UNWIND_POP r14
    UNWIND_POP r13
    UNWIND_POP r12
    UNWIND_POP rsi
    UNWIND_POP rdi
    UNWIND_POP rbp
    UNWIND_POP rbx
    ret
FUNC_END maskfit_test_call_with_registers

#if !defined(_WIN32)
    .section .note.GNU-stack,"",@progbits
#endif
