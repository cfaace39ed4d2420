/* Function boundaries and prologue steps for x86-64 assembly that unwinds on
 * both object formats: SEH directives on Windows, CFI on ELF. Each step is
 * written once; SEH(...) and CFI(...) keep the directives of one format and
 * drop those of the other. */
#ifndef MASKFIT_HOST_ASM_MACROS_H
#define MASKFIT_HOST_ASM_MACROS_H

#if defined(_WIN32)
#define SEH(...) __VA_ARGS__
#define CFI(...)
#else
#define SEH(...)
#define CFI(...) __VA_ARGS__
#endif

.macro FUNC_BEGIN name
    .text
    .p2align 4
    SEH(.def \name; .scl 2; .type 32; .endef)
    SEH(.seh_proc \name)
    CFI(.hidden \name)
    CFI(.type \name, @function)
\name:
    CFI(.cfi_startproc)
.endm

.macro FUNC_BEGIN_GLOBAL name
    .globl \name
    FUNC_BEGIN \name
.endm

.macro FUNC_END name
    SEH(.seh_endproc)
    CFI(.cfi_endproc)
    CFI(.size \name, .-\name)
.endm

/* A frame kept in RBP: push rbp, set the frame, allocate. */
.macro FRAME_PROLOGUE bytes
    pushq %rbp
    SEH(.seh_pushreg %rbp)
    CFI(.cfi_def_cfa_offset 16)
    CFI(.cfi_offset %rbp, -16)
    movq %rsp, %rbp
    SEH(.seh_setframe %rbp, 0)
    CFI(.cfi_def_cfa_register %rbp)
    subq $\bytes, %rsp
    SEH(.seh_stackalloc \bytes)
    SEH(.seh_endprologue)
.endm

.macro FRAME_EPILOGUE
    leaq 0(%rbp), %rsp
    popq %rbp
    CFI(.cfi_def_cfa %rsp, 8)
    ret
.endm

/* Steps of a prologue without a frame pointer, for code that hands RBP to
 * others: saved registers and the allocation are counted from RSP. */
.macro UNWIND_PUSH reg
    pushq %\reg
    SEH(.seh_pushreg %\reg)
    CFI(.cfi_adjust_cfa_offset 8)
    CFI(.cfi_rel_offset %\reg, 0)
.endm

.macro UNWIND_ALLOC bytes
    subq $\bytes, %rsp
    SEH(.seh_stackalloc \bytes)
    CFI(.cfi_adjust_cfa_offset \bytes)
.endm

.macro UNWIND_SAVED_VECTOR reg, at
    SEH(.seh_savexmm \reg, \at)
    CFI(.cfi_rel_offset \reg, \at)
.endm

.macro UNWIND_END_PROLOGUE
    SEH(.seh_endprologue)
.endm

.macro UNWIND_FREE bytes
    addq $\bytes, %rsp
    CFI(.cfi_adjust_cfa_offset -\bytes)
.endm

.macro UNWIND_POP reg
    popq %\reg
    CFI(.cfi_adjust_cfa_offset -8)
    CFI(.cfi_restore %\reg)
.endm

/* Runs `op reg, offset, base` for XMM6 to XMM15, the callee-saved vector
 * registers of the Windows x64 convention, at offsets at, at + 16, ... */
.macro FOR_EACH_SAVED_VECTOR op, base, at
    \op %xmm6, \at+0, \base
    \op %xmm7, \at+16, \base
    \op %xmm8, \at+32, \base
    \op %xmm9, \at+48, \base
    \op %xmm10, \at+64, \base
    \op %xmm11, \at+80, \base
    \op %xmm12, \at+96, \base
    \op %xmm13, \at+112, \base
    \op %xmm14, \at+128, \base
    \op %xmm15, \at+144, \base
.endm

.macro STORE_ALIGNED reg, at, base
    movaps \reg, \at(\base)
.endm
.macro LOAD_ALIGNED reg, at, base
    movaps \at(\base), \reg
.endm
.macro STORE_UNALIGNED reg, at, base
    movups \reg, \at(\base)
.endm
.macro LOAD_UNALIGNED reg, at, base
    movups \at(\base), \reg
.endm

#endif
