#pragma once
// MP_CPU_CLONES before a function builds it twice, for the baseline processor
// and for one with AVX2, and picks the copy at load time. Only the vector
// width differs: both copies do the same single-precision operations in the
// same order (never contracted into fused multiply-adds), so their results
// agree bit for bit. Use it on hot loops the compiler vectorises.
// A ThreadSanitizer build gets the baseline copy only: the load-time choice
// would run instrumented code before the sanitizer has started. The CMake
// option LUMIVEX_FUNCTION_CLONES=OFF (LUMIVEX_NO_FUNCTION_CLONES) builds plain
// functions in any build.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__) && \
    !defined(LUMIVEX_NO_FUNCTION_CLONES)
#define MP_CPU_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define MP_CPU_CLONES
#endif
