/* Entry stubs and the abort trampoline.
 *
 * Every exported entry point is a stub that saves XMM6 to XMM15 into an
 * EntryFrame on its own stack, links the frame onto the host's chain, calls
 * the operation with the host's arguments unchanged, and unlinks the frame.
 * The registers are captured before any compiled code can touch them, so
 * the frame holds exactly what the host had at entry. All functions here
 * follow the Windows x64 calling convention on both targets. */
#include "host/asm_macros.h"
#include "host/entry_table.h"

#define SLOT_ACCESSOR maskfit_host_slots+24(%rip)
#define SLOT_SAVED_ABORT maskfit_host_slots+32(%rip)

/* Frame layout below RBP: the 32-byte aligned EntryFrame lies in
 * [RBP-208, RBP-16); the outgoing home area and stack arguments below it. */
#define FRAME_AREA 208
#define FRAME_BASE(reg) leaq -192(%rbp), reg; andq $-32, reg
/* The frame ends at RBP-16 at the highest, so the two words above it are
 * free. The unwinder's CFA is RBP+16. */
#define SAVED_RSI -8
#define SAVED_RDI -16

/* Calls the operation with the host's arguments: the register ones wait in
 * the caller's home area, the fifth onwards on the caller's stack. */
#if defined(_WIN32)
.macro CALL_OPERATION impl, stackArgs
    .set .Larg, 0
    .rept \stackArgs
    movq 48+8*.Larg(%rbp), %rax
    movq %rax, 32+8*.Larg(%rsp)
    .set .Larg, .Larg+1
    .endr
    movq 16(%rbp), %rcx
    movq 24(%rbp), %rdx
    movq 32(%rbp), %r8
    movq 40(%rbp), %r9
    call \impl
.endm
#else
/* On ELF the operations are native System V functions, which may change
 * RSI, RDI and XMM6..XMM15, all of which the host's convention expects kept.
 * RSI and RDI wait in the two words above the frame (described to the
 * unwinder, so that a host unwinding through the stub gets them back), the
 * arguments (all integers or addresses) move to System V places, and the
 * vector registers are reloaded from the frame, which already holds them. */
.macro CALL_OPERATION impl, stackArgs
    movq %rsi, SAVED_RSI(%rbp)
    .cfi_offset %rsi, SAVED_RSI-16
    movq %rdi, SAVED_RDI(%rbp)
    .cfi_offset %rdi, SAVED_RDI-16
    .if \stackArgs > 2
    .set .Larg, 0
    .rept \stackArgs-2
    movq 64+8*.Larg(%rbp), %rax
    movq %rax, 8*.Larg(%rsp)
    .set .Larg, .Larg+1
    .endr
    .endif
    .if \stackArgs > 1
    movq 56(%rbp), %r9
    .endif
    .if \stackArgs > 0
    movq 48(%rbp), %r8
    .endif
    movq 16(%rbp), %rdi
    movq 24(%rbp), %rsi
    movq 32(%rbp), %rdx
    movq 40(%rbp), %rcx
    call \impl
    FRAME_BASE(%rcx)
    FOR_EACH_SAVED_VECTOR LOAD_ALIGNED, %rcx, 16
    movq SAVED_RSI(%rbp), %rsi
    movq SAVED_RDI(%rbp), %rdi
.endm
#endif

.macro ENTRY_STUB stub, impl, stackArgs
FUNC_BEGIN_GLOBAL \stub
    FRAME_PROLOGUE (FRAME_AREA+((32+8*\stackArgs+15)&-16))
    /* The register arguments wait in the caller's home area. */
    movq %rcx, 16(%rbp)
    movq %rdx, 24(%rbp)
    movq %r8, 32(%rbp)
    movq %r9, 40(%rbp)
    FRAME_BASE(%rax)
    FOR_EACH_SAVED_VECTOR STORE_ALIGNED, %rax, 16
    /* Before burst.setup_extra there is no chain: run without a frame. */
    movq SLOT_ACCESSOR, %rax
    testq %rax, %rax
    jz 1f
    call *%rax
    FRAME_BASE(%rcx)
    movq (%rax), %rdx
    movq %rdx, (%rcx)
    movq %rcx, (%rax)
1:
    CALL_OPERATION \impl, \stackArgs
    movq %rax, 16(%rbp)
    movq SLOT_ACCESSOR, %rax
    testq %rax, %rax
    jz 2f
    call *%rax
    /* head = head->next */
    movq (%rax), %rcx
    movq (%rcx), %rcx
    movq %rcx, (%rax)
2:
    movq 16(%rbp), %rax
    FRAME_EPILOGUE
FUNC_END \stub
.endm

#define MASKFIT_DEFINE_STUB(name, symbol, write, read, stackArgs) \
    ENTRY_STUB maskfit_entry_##name, maskfit_impl_##name, stackArgs;

MASKFIT_ENTRY_POINTS(MASKFIT_DEFINE_STUB)

#if !defined(_WIN32)
/* ELF exports the stubs under the host's symbols; the DLL does it in its .def. */
#define MASKFIT_EXPORT_STUB(name, symbol, write, read, stackArgs) \
    .globl #symbol; .type #symbol, @function; .set #symbol, maskfit_entry_##name;

MASKFIT_ENTRY_POINTS(MASKFIT_EXPORT_STUB)
#endif

/* AbortTrampoline(type, message): restore the innermost frame's vector
 * registers, unlink the frame, and hand both texts to the saved abort. */
FUNC_BEGIN_GLOBAL maskfit_abort_trampoline
    FRAME_PROLOGUE 32
    movq %rcx, 16(%rbp)
    movq %rdx, 24(%rbp)
    call *SLOT_ACCESSOR
    movq (%rax), %rcx
    FOR_EACH_SAVED_VECTOR LOAD_ALIGNED, %rcx, 16
    movq (%rcx), %rdx
    movq %rdx, (%rax)
    movq 16(%rbp), %rcx
    movq 24(%rbp), %rdx
    call *SLOT_SAVED_ABORT
    ud2
FUNC_END maskfit_abort_trampoline

#if !defined(_WIN32)
    .section .note.GNU-stack,"",@progbits
#endif
