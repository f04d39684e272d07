#pragma once
// The bilateral divisor 1 / (d k + eps) without the divide unit: a reciprocal
// estimate, one Newton step and a final correction with fused multiply-adds.
// For the inputs the window filters give it, x = (float)d * MP_k + eps with d
// an integer 0..65535 and eps one of kRecipEpsilons, the result has the bits of
// the correctly rounded 1.0f / x; tests/engine/test_filters_recip.cpp proves it
// for every d and every listed eps on each path. (It is not correctly rounded
// for every float: keep it to the proven inputs.)

#include "engine/filters/filterframe.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#include <immintrin.h>
#define MP_FILTER_RECIP_X86 1
#endif

namespace mp_filters {

// The epsilons the window filters' divisors take, each proven for all 65,536 d.
constexpr float kRecipEpsilons[] = {kEps10, kEps5, 0.001f, 0.05f, 0.25f};

// True when eps is one of kRecipEpsilons (bit for bit).
inline bool MP_exactRecipProven(float eps)
{
    for (float e : kRecipEpsilons)
        if (e == eps)
            return true;
    return false;
}

#ifdef MP_FILTER_RECIP_X86
// r = 1/x from the 14-bit estimate: r1 = r0 + r0 (1 - x r0), then
// r1 + r1 (1 - x r1), each residual and step one rounding (fused).
__attribute__((target("avx512f"), always_inline)) inline __m512 MP_exactRecip512(__m512 x)
{
    const __m512 one = _mm512_set1_ps(1.0f);
    __m512 r = _mm512_maskz_rcp14_ps(static_cast<__mmask16>(0xFFFF), x); // (no undefined start value)
    __m512 e = _mm512_fnmadd_ps(x, r, one);
    r = _mm512_fmadd_ps(r, e, r);
    e = _mm512_fnmadd_ps(x, r, one);
    return _mm512_fmadd_ps(r, e, r);
}

// The same with eight lanes: AVX has only the 12-bit estimate, so one Newton
// step more.
__attribute__((target("avx2,fma"), always_inline)) inline __m256 MP_exactRecip256(__m256 v)
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

// sqrt(x) the same way, for the edge enhancer's roots x = d k (d = 0 ..
// 65535; tests/engine/test_filters_enhance.cpp proves every one). 0 gives +0:
// the estimate, held below 2^20, takes the place of the infinite one there.
__attribute__((target("avx512f"), always_inline)) inline __m512 MP_exactSqrt512(__m512 x)
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

__attribute__((target("avx2,fma"), always_inline)) inline __m256 MP_exactSqrt256(__m256 x)
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

} // namespace mp_filters
