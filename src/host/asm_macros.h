/* Function boundaries and prologue steps for x86-64 assembly that unwinds on
 * both object formats: CFI on ELF, SEH directives on Windows. Every function
 * here keeps RBP as its frame pointer, so its unwind description is the same
 * three steps: push rbp, set the frame, allocate. */
#ifndef MASKFIT_HOST_ASM_MACROS_H
#define MASKFIT_HOST_ASM_MACROS_H

#if defined(_WIN32)

.macro FUNC_BEGIN name
    .text
    .p2align 4
    .def \name; .scl 2; .type 32; .endef
    .seh_proc \name
\name:
.endm

.macro FUNC_BEGIN_GLOBAL name
    .globl \name
    FUNC_BEGIN \name
.endm

.macro FRAME_PROLOGUE bytes
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    subq $\bytes, %rsp
    .seh_stackalloc \bytes
    .seh_endprologue
.endm

.macro FRAME_EPILOGUE
    leaq 0(%rbp), %rsp
    popq %rbp
    ret
.endm

.macro FUNC_END name
    .seh_endproc
.endm

/* Steps of a prologue without a frame pointer, for code that hands RBP to
 * others: saved registers and the allocation are counted from RSP. */
.macro UNWIND_PUSH reg
    pushq %\reg
    .seh_pushreg %\reg
.endm

.macro UNWIND_ALLOC bytes
    subq $\bytes, %rsp
    .seh_stackalloc \bytes
.endm

.macro UNWIND_SAVED_VECTOR reg, at
    .seh_savexmm \reg, \at
.endm

.macro UNWIND_END_PROLOGUE
    .seh_endprologue
.endm

.macro UNWIND_FREE bytes
    addq $\bytes, %rsp
.endm

.macro UNWIND_POP reg
    popq %\reg
.endm

#else

.macro FUNC_BEGIN name
    .text
    .p2align 4
    .hidden \name
    .type \name, @function
\name:
    .cfi_startproc
.endm

.macro FUNC_BEGIN_GLOBAL name
    .globl \name
    FUNC_BEGIN \name
.endm

.macro FRAME_PROLOGUE bytes
    pushq %rbp
    .cfi_def_cfa_offset 16
    .cfi_offset %rbp, -16
    movq %rsp, %rbp
    .cfi_def_cfa_register %rbp
    subq $\bytes, %rsp
.endm

.macro FRAME_EPILOGUE
    leaq 0(%rbp), %rsp
    popq %rbp
    .cfi_def_cfa %rsp, 8
    ret
.endm

.macro FUNC_END name
    .cfi_endproc
    .size \name, .-\name
.endm

.macro UNWIND_PUSH reg
    pushq %\reg
    .cfi_adjust_cfa_offset 8
    .cfi_rel_offset %\reg, 0
.endm

.macro UNWIND_ALLOC bytes
    subq $\bytes, %rsp
    .cfi_adjust_cfa_offset \bytes
.endm

.macro UNWIND_SAVED_VECTOR reg, at
    .cfi_rel_offset \reg, \at
.endm

.macro UNWIND_END_PROLOGUE
.endm

.macro UNWIND_FREE bytes
    addq $\bytes, %rsp
    .cfi_adjust_cfa_offset -\bytes
.endm

.macro UNWIND_POP reg
    popq %\reg
    .cfi_adjust_cfa_offset -8
    .cfi_restore %\reg
.endm

#endif

#endif
