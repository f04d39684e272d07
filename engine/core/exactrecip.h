#pragma once
// Reciprocals and square roots on the multiply-add units that give the same
// bits as the division 1.0f / x and std::sqrt(x), for kernels whose loop the
// single divide/root unit bounds.
//
// Each sequence starts from the processor's estimate (rcp/rsqrt, rcp14/rsqrt14),
// refines it with Newton steps and ends with a correction by the exactly
// computed residual (x*y - 1, x - g*g in one fused step). That gives the
// correctly rounded result for the inputs the tests prove it for, and only for
// those (test_exactrecip.cpp compares every one of them with the division and
// the root):
//   - exactReciprocal*Window: x = a * (1/65535.0f) + 0.001f, each step rounded
//     to single precision, for every integer a = 0..65535 (the tone-mapping
//     operators' range weight). Not every float: for some the last bit differs.
//   - exactSquareRootWindow (AVX-512): x = a * (1/65535.0f) and x = a / 65535
//     (correctly rounded), a = 0..65535. Not every float.
//   - exactReciprocal (AVX2 and AVX-512): every x with 2^-100 <= |x| < 2^100,
//     except x with a significand of all ones (1.11...1 * 2^e), whose result
//     is one unit too small.
//   - exactSquareRoot (AVX2 and AVX-512): x = 0 and every x in [2^-100, 2^100).
// The estimates and the steps treat every exponent alike inside these ranges,
// so the tests take every significand of [1, 2) (reciprocal) and [1, 4)
// (root) and samples of the other exponents. Near the ends of the float range
// the intermediate values leave it; infinities and NaNs are not handled.

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace mp_exact {

// ---- AVX2 with FMA (8 lanes) -----------------------------------------------------------

// 1/x: the 12-bit estimate, one Newton step, the correction.
__attribute__((target("avx2,fma"))) inline __m256 exactReciprocal(__m256 x)
{
    const __m256 one = _mm256_set1_ps(1.0f);
    __m256 y = _mm256_rcp_ps(x);
    __m256 e = _mm256_fnmadd_ps(x, y, one);
    y = _mm256_fmadd_ps(y, e, y);
    e = _mm256_fnmadd_ps(x, y, one);
    return _mm256_fmadd_ps(y, e, y);
}

// The range weight's denominators need the same steps at this width.
__attribute__((target("avx2,fma"))) inline __m256 exactReciprocalWindow(__m256 x) { return exactReciprocal(x); }

// sqrt(x): g = x/sqrt(x) and h = 1/(2 sqrt(x)) from the estimate, one
// coupled Newton step for both, then the correction by x - g*g.
// (The estimate of 0 is taken at a tiny positive value, so 0 gives 0.)
__attribute__((target("avx2,fma"))) inline __m256 exactSquareRoot(__m256 x)
{
    const __m256 half = _mm256_set1_ps(0.5f);
    const __m256 y = _mm256_rsqrt_ps(_mm256_max_ps(x, _mm256_set1_ps(0x1p-126f)));
    __m256 g = _mm256_mul_ps(x, y);
    __m256 h = _mm256_mul_ps(y, half);
    const __m256 r = _mm256_fnmadd_ps(g, h, half);
    g = _mm256_fmadd_ps(g, r, g);
    h = _mm256_fmadd_ps(h, r, h);
    const __m256 d = _mm256_fnmadd_ps(g, g, x);
    return _mm256_fmadd_ps(d, h, g);
}

// ---- AVX-512 F (16 lanes) -------------------------------------------------------------

// 1/x: the 14-bit estimate, one Newton step, the correction.
__attribute__((target("avx512f"))) inline __m512 exactReciprocal(__m512 x)
{
    const __m512 one = _mm512_set1_ps(1.0f);
    __m512 y = _mm512_rcp14_ps(x);
    __m512 e = _mm512_fnmadd_ps(x, y, one);
    y = _mm512_fmadd_ps(y, e, y);
    e = _mm512_fnmadd_ps(x, y, one);
    return _mm512_fmadd_ps(y, e, y);
}

// 1/x for the range weight's denominators only (see above), one step
// shorter: y * (1 + e + e*e) from the 14-bit estimate y with e = 1 - x*y.
__attribute__((target("avx512f"))) inline __m512 exactReciprocalWindow(__m512 x)
{
    const __m512 y = _mm512_rcp14_ps(x);
    const __m512 e = _mm512_fnmadd_ps(x, y, _mm512_set1_ps(1.0f));
    return _mm512_fmadd_ps(y, _mm512_fmadd_ps(e, e, e), y);
}

// sqrt(x) for x = a * (1/65535.0f) and x = a / 65535 (correctly rounded),
// a = 0..65535, only (see above): from the 14-bit estimate two corrections
// by the residual x - g*g with h = 1/(2 sqrt(x)) as the estimate gives it.
__attribute__((target("avx512f"))) inline __m512 exactSquareRootWindow(__m512 x)
{
    const __m512 y = _mm512_rsqrt14_ps(_mm512_max_ps(x, _mm512_set1_ps(0x1p-126f)));
    __m512 g = _mm512_mul_ps(x, y);
    const __m512 h = _mm512_mul_ps(y, _mm512_set1_ps(0.5f));
    g = _mm512_fmadd_ps(_mm512_fnmadd_ps(g, g, x), h, g);
    return _mm512_fmadd_ps(_mm512_fnmadd_ps(g, g, x), h, g);
}

// sqrt(x) as the AVX2 version, from the 14-bit estimate.
__attribute__((target("avx512f"))) inline __m512 exactSquareRoot(__m512 x)
{
    const __m512 half = _mm512_set1_ps(0.5f);
    const __m512 y = _mm512_rsqrt14_ps(_mm512_max_ps(x, _mm512_set1_ps(0x1p-126f)));
    __m512 g = _mm512_mul_ps(x, y);
    __m512 h = _mm512_mul_ps(y, half);
    const __m512 r = _mm512_fnmadd_ps(g, h, half);
    g = _mm512_fmadd_ps(g, r, g);
    h = _mm512_fmadd_ps(h, r, h);
    const __m512 d = _mm512_fnmadd_ps(g, g, x);
    return _mm512_fmadd_ps(d, h, g);
}

} // namespace mp_exact
#endif
