#pragma once
// Reciprocals and square roots of the edge enhancer's samples without the
// divider: an estimate, Newton steps and a last step whose residual the FMA
// computes exactly, so that the result is the correctly rounded one that
// 1.0f / v and sqrtf give. Proven bit-identical by
// tests/engine/test_filters_enhance.cpp over the whole domain the enhancer
// feeds them: v = d * MP_k + 0.001f and x = d * MP_k for every integer
// d = 0 .. 65535 (products and sums in single precision).
//
// Each function is compiled for the instructions it uses and inlines into
// callers compiled for them (AVX-512 F, or AVX2 with FMA); callers check the
// processor first.

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#define MP_RECIP512 __attribute__((target("avx512f,fma"), always_inline)) inline
#define MP_RECIP256 __attribute__((target("avx2,fma"), always_inline)) inline

// 1 / v for 0.001 <= v <= 1.001.
MP_RECIP512 __m512 MP_exactRecip512(__m512 v)
{
    const __m512 one = _mm512_set1_ps(1.0f);
    __m512 r = _mm512_rcp14_ps(v);                 // 2^-14
    __m512 e = _mm512_fnmadd_ps(v, r, one);
    r = _mm512_fmadd_ps(r, e, r);                  // 2^-28
    e = _mm512_fnmadd_ps(v, r, one);               // the exact residual
    return _mm512_fmadd_ps(r, e, r);
}

// sqrt(x) for x = 0 and 2^-16 <= x <= 1 (0 gives +0: the estimate, held
// below 2^20, takes the place of the infinite one there).
MP_RECIP512 __m512 MP_exactSqrt512(__m512 x)
{
    const __m512 half = _mm512_set1_ps(0.5f);
    const __m512 y = _mm512_min_ps(_mm512_rsqrt14_ps(x), _mm512_set1_ps(1048576.0f)); // 1 / sqrt(x), 2^-14
    const __m512 h = _mm512_mul_ps(y, half);
    __m512 s = _mm512_mul_ps(x, y);
    __m512 res = _mm512_fnmadd_ps(s, s, x); // Newton step, 2^-27
    s = _mm512_fmadd_ps(res, h, s);
    res = _mm512_fnmadd_ps(s, s, x); // the exact residual
    return _mm512_fmadd_ps(res, h, s);
}

// The same with eight lanes: AVX has only the 12-bit estimate, so one Newton
// step more.
MP_RECIP256 __m256 MP_exactRecip256(__m256 v)
{
    const __m256 one = _mm256_set1_ps(1.0f);
    __m256 r = _mm256_rcp_ps(v);                   // 2^-12
    __m256 e = _mm256_fnmadd_ps(v, r, one);
    r = _mm256_fmadd_ps(r, e, r);                  // 2^-24
    e = _mm256_fnmadd_ps(v, r, one);
    r = _mm256_fmadd_ps(r, e, r);
    e = _mm256_fnmadd_ps(v, r, one);               // the exact residual
    return _mm256_fmadd_ps(r, e, r);
}

MP_RECIP256 __m256 MP_exactSqrt256(__m256 x)
{
    const __m256 half = _mm256_set1_ps(0.5f);
    const __m256 y = _mm256_rsqrt_ps(x);
    __m256 s = _mm256_mul_ps(x, y);
    __m256 h = _mm256_mul_ps(y, half);
    __m256 e = _mm256_fnmadd_ps(s, h, half);
    s = _mm256_fmadd_ps(s, e, s);
    h = _mm256_fmadd_ps(h, e, h);
    e = _mm256_fnmadd_ps(s, h, half);
    s = _mm256_fmadd_ps(s, e, s);
    h = _mm256_fmadd_ps(h, e, h);
    const __m256 res = _mm256_fnmadd_ps(s, s, x);
    s = _mm256_fmadd_ps(res, h, s);
    return _mm256_and_ps(s, _mm256_cmp_ps(x, _mm256_setzero_ps(), _CMP_GT_OQ));
}
#endif
