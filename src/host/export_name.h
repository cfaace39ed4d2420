// Exported names with dots or a leading digit. The DLL maps its internal
// names through maskfit.def; on ELF the symbol is given as an assembler label.
// The C++ exports all start with a letter, so the label goes unquoted: clang
// would keep quotes as part of the name (the digit-led entry symbols are
// defined in the assembly stubs).
#ifndef MASKFIT_HOST_EXPORT_NAME_H
#define MASKFIT_HOST_EXPORT_NAME_H

#if defined(_WIN32)
#define MASKFIT_EXPORTED(name)
#else
#define MASKFIT_EXPORTED(name) __asm__(name) __attribute__((visibility("default")))
#endif

#define MASKFIT_STRINGIFY_(x) #x
#define MASKFIT_STRINGIFY(x) MASKFIT_STRINGIFY_(x)

#endif
