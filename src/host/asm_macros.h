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

#endif

#endif
