// Included by a file of AVX2 kernels after the library headers it needs:
// everything after this point is compiled for AVX2, and only HasAvx2 callers
// reach it. No include guard: each such file opens the target once and
// closes it with avx2_target_end.h.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC target("avx2")
#endif
