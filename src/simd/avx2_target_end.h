// Closes what avx2_target_begin.h opened, at the end of the file.
#if defined(__clang__)
#pragma clang attribute pop
#endif
