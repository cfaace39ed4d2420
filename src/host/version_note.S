/* The version as an ELF note (readelf -n shows it): the counterpart of the
 * DLL's version resource. A host reads it from the loaded file's note
 * segments, so the export table stays exactly the host's list of names.
 * Owner "maskfit", type 1, the text of MASKFIT_VERSION_STRING. */
#include "maskfit/maskfit_version.h"

#if defined(__ELF__)
    .section .note.maskfit.version, "a", @note
    .p2align 2
    .long 2f - 1f  /* owner size, terminator included */
    .long 4f - 3f  /* text size, terminator included */
    .long 1        /* type: version text */
1:  .asciz "maskfit"
2:  .p2align 2
3:  .asciz MASKFIT_VERSION_STRING
4:  .p2align 2

    .section .note.GNU-stack, "", @progbits
#endif
