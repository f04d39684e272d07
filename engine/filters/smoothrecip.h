#pragma once
// Correctly rounded single-precision reciprocals 1 / x without a division,
// for the bilateral weights 1 / (d k + eps) of the window filters' vector
// gathers: a reciprocal estimate, Newton steps with fused multiply-adds, and a
// last step from the exact residual 1 - x r, which rounds to the nearest
// float as the division does. Every float x in [2^-10, 4) (the weights'
// arguments, d 0..65535 with eps 0.005 .. 0.05, lie in [0.005, 1.06]) gives
// the division's bits; tests/engine/test_smoothing.cpp checks each of them
// and every d of the divisor tables. Outside that range (zero, infinities,
// NaN, numbers near the overflow or underflow limits) the result is not
// meant to match.
//
// Include it inside a region compiled for the instructions it uses
// (AVX-512 F for MP_exactRecip512, AVX2 and FMA for MP_exactRecip256).

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

// Sixteen lanes: the 14-bit estimate, one Newton step (about 28 bits), and
// the last step from the residual. That step misses by one unit in the last
// place where x's significand is all ones (1/x lies just above the midpoint
// next to a power of two, and r + r e lands on the midpoint): those lanes
// take the float above.
__attribute__((target("avx512f"), always_inline)) inline __m512 MP_exactRecip512(__m512 x)
{
    const __m512 one = _mm512_set1_ps(1.0f);
    const __m512i frac = _mm512_set1_epi32(0x7FFFFF);
    __m512 r = _mm512_rcp14_ps(x);
    __m512 e = _mm512_fnmadd_ps(x, r, one);
    r = _mm512_fmadd_ps(r, e, r);
    e = _mm512_fnmadd_ps(x, r, one);
    const __m512i q = _mm512_castps_si512(_mm512_fmadd_ps(r, e, r));
    const __mmask16 ones = _mm512_cmpeq_epi32_mask(_mm512_and_si512(_mm512_castps_si512(x), frac), frac);
    return _mm512_castsi512_ps(_mm512_mask_add_epi32(q, ones, q, _mm512_set1_epi32(1)));
}

// Eight lanes: the 12-bit estimate, one step of third order r (1 + e + e^2)
// (about 34 bits), and the last step from the residual.
__attribute__((target("avx2,fma"), always_inline)) inline __m256 MP_exactRecip256(__m256 x)
{
    const __m256 one = _mm256_set1_ps(1.0f);
    __m256 r = _mm256_rcp_ps(x);
    __m256 e = _mm256_fnmadd_ps(x, r, one);
    r = _mm256_fmadd_ps(r, _mm256_fmadd_ps(e, e, e), r);
    e = _mm256_fnmadd_ps(x, r, one);
    return _mm256_fmadd_ps(r, e, r);
}
#endif
