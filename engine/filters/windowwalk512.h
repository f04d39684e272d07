#pragma once
// The window walk of a run of pixels (MP_forEachWindowOffset) compiled for
// AVX-512, for the window filters' sixteen-lane gathers. Include it inside a
// region compiled for AVX-512:
//     #pragma GCC push_options
//     #pragma GCC target("avx512f,avx512bw,avx512vl")
//     #include "engine/filters/windowwalk512.h"
//     ... functions calling MP_forEachWindowOffset512 ...
//     #pragma GCC pop_options
// so that the walk and the lambdas it calls are inlined into one loop
// compiled for the same processor. It visits the same offsets in the same
// order, with the same lo .. hi, as MP_forEachWindowOffset.

#include "engine/filters/filterframe.h"

#include <cstdint>
#include <immintrin.h>

namespace mp_filters {

// Whether the processor has AVX-512 F, BW and VL and tests have not asked for the
// portable code (g_filterPortable).
inline bool MP_filterHasAvx512()
{
    static const bool yes = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                             __builtin_cpu_supports("avx512vl");
    return yes && !g_filterPortable;
}

template <class F> inline bool MP_forEachWindowOffset512(const Window& win, int x0, int n, int y, F&& f)
{
    const int R = win.R, s = win.step, w = win.width;
    const bool interior = x0 - win.widest >= 0 && x0 + n - 1 + win.widest <= w - 1;
    int y1, y2;
    MP_windowRows(win, y, &y1, &y2);
    bool any = false;
    unsigned char covered[kChunk] = {};
    for (int ky = y1; ky <= y2; ky += s) {
        const int l = win.halfWidth[ky + R];
        const float* ws = &localexp[MP_localexpIndex(0, ky)];
        const ptrdiff_t row = static_cast<ptrdiff_t>(ky) * w;
        for (int kx = -l; kx <= l; kx += s) {
            if (interior) {
                f(row + kx, ws[kx], 0, n);
                any = true;
                continue;
            }
            const int lo = MP_imax(0, -(x0 + kx));
            const int hi = MP_imin(n, w - x0 - kx);
            if (lo >= hi)
                continue;
            f(row + kx, ws[kx], lo, hi);
            for (int i = lo; i < hi; ++i)
                covered[i] = 1;
        }
    }
    if (interior)
        return any;
    for (int i = 0; i < n; ++i)
        if (!covered[i])
            return false;
    return true;
}

// The mask of lanes i .. min(i + 16, hi) - 1.
inline __mmask16 MP_laneMask16(int i, int hi)
{
    const int left = hi - i;
    return left >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << left) - 1u);
}

// Sixteen RGB48 pixels split into their channels: lane j of a channel takes
// the 16-bit word 3 j + c of the pixels' 48 words, read as two masked loads.
struct MP_Rgb48Lanes {
    __m512i r, g, b; // the word indices of red, green and blue (even words; odd ones zeroed)
};
inline MP_Rgb48Lanes MP_rgb48Lanes()
{
    alignas(64) short idx[3][32] = {};
    for (int ch = 0; ch < 3; ++ch)
        for (int j = 0; j < 16; ++j)
            idx[ch][2 * j] = static_cast<short>(3 * j + ch);
    return {_mm512_load_si512(idx[0]), _mm512_load_si512(idx[1]), _mm512_load_si512(idx[2])};
}
// The first t (1..16) pixels at px, each channel times k (the lanes past t
// read 0 and give 0).
inline void MP_loadRgb48Scaled(const MP_Rgb48Lanes& ix, const ushort* px, int t, __m512 k, __m512& x, __m512& y,
                               __m512& z)
{
    const __mmask32 even = 0x55555555u;
    const unsigned w1 = 3u * static_cast<unsigned>(t);
    const uint64_t words = w1 >= 64 ? ~0ull : (1ull << w1) - 1ull;
    const __m512i lo = _mm512_maskz_loadu_epi16(static_cast<__mmask32>(words), px);
    const __m512i hi = _mm512_maskz_loadu_epi16(static_cast<__mmask32>(words >> 32), px + 32);
    x = _mm512_mul_ps(_mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo, ix.r, hi)), k);
    y = _mm512_mul_ps(_mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo, ix.g, hi)), k);
    z = _mm512_mul_ps(_mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo, ix.b, hi)), k);
}

} // namespace mp_filters
