// The window filters' bilateral sums of a run of pixels and their luminance
// plane written with vector instructions, sixteen lanes on AVX-512 processors.
// (Eight lanes on AVX2 with the same reciprocal were slower than the
// compiler's loop with the division, which AVX2 processors keep.) The divisor
// 1 / (d k + eps) comes from MP_exactRecip512 (the same bits as the division);
// every pixel's sums take the same operations in the same order as its own
// walk. Each function returns false when it does not apply
// (processor, test switches, an eps the reciprocal is not proven for) or a
// pixel of the run has no sample; the caller then clears the sums and takes
// the compiler's loop.

#include "engine/filters/filterframe.h"
#include "engine/filters/filterrecip.h"

#include <cstdint>
#include <cstring>

namespace mp_filters {

int g_filterSumLanes = 16;

namespace {
bool hasAvx512()
{
#ifdef MP_FILTER_RECIP_X86
    static const bool yes = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vl");
    return yes;
#else
    return false;
#endif
}
} // namespace

} // namespace mp_filters

#ifdef MP_FILTER_RECIP_X86
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vl")
// GCC 12 takes the intrinsics' undefined start values for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include "engine/filters/windowwalk512.h"

namespace mp_filters {
namespace {

// The lanes j of 0..15 with a <= j < b.
inline __mmask16 laneRange16(int a, int b)
{
    a = MP_iclamp(a, 0, 16);
    b = MP_iclamp(b, 0, 16);
    return a >= b ? static_cast<__mmask16>(0) : static_cast<__mmask16>(((1u << b) - 1u) & ~((1u << a) - 1u));
}

// One sample of sixteen pixels: d = |I - L| (exact in floats), w = ws / (d k + eps),
// W += w, S += w L, on the lanes of m.
__attribute__((always_inline)) inline void planeSample512(__m512& W, __m512& S, __m512 I, __m512 L, __m512 ws, __m512 k, __m512 eps, __mmask16 m)
{
    const __m512 d = _mm512_abs_ps(_mm512_sub_ps(I, L));
    const __m512 x = _mm512_add_ps(_mm512_mul_ps(d, k), eps);
    const __m512 w = _mm512_mul_ps(ws, MP_exactRecip512(x));
    W = _mm512_mask_add_ps(W, m, W, w);
    S = _mm512_mask_add_ps(S, m, S, _mm512_mul_ps(w, L));
}

__attribute__((always_inline)) inline __m512 planeLoad512(const ushort* q, __mmask16 m)
{
    return _mm512_cvtepi32_ps(_mm512_cvtepu16_epi32(_mm256_maskz_loadu_epi16(m, q)));
}

// Sixty-four pixels' plane sums in registers: four groups of sixteen lanes.
struct PlaneLanes512 {
    __m512 I0, I1, I2, I3, W0, W1, W2, W3, S0, S1, S2, S3;
    __m512 k, eps;

    __attribute__((always_inline)) inline void all(const ushort* q, __m512 ws)
    {
        planeSample512(W0, S0, I0, planeLoad512(q, 0xFFFF), ws, k, eps, 0xFFFF);
        planeSample512(W1, S1, I1, planeLoad512(q + 16, 0xFFFF), ws, k, eps, 0xFFFF);
        planeSample512(W2, S2, I2, planeLoad512(q + 32, 0xFFFF), ws, k, eps, 0xFFFF);
        planeSample512(W3, S3, I3, planeLoad512(q + 48, 0xFFFF), ws, k, eps, 0xFFFF);
    }
    // Only the pixels lo .. hi-1 (their samples alone are read).
    __attribute__((always_inline)) inline void some(const ushort* q, __m512 ws, int lo, int hi)
    {
        __mmask16 m = laneRange16(lo, hi);
        if (m)
            planeSample512(W0, S0, I0, planeLoad512(q, m), ws, k, eps, m);
        if ((m = laneRange16(lo - 16, hi - 16)))
            planeSample512(W1, S1, I1, planeLoad512(q + 16, m), ws, k, eps, m);
        if ((m = laneRange16(lo - 32, hi - 32)))
            planeSample512(W2, S2, I2, planeLoad512(q + 32, m), ws, k, eps, m);
        if ((m = laneRange16(lo - 48, hi - 48)))
            planeSample512(W3, S3, I3, planeLoad512(q + 48, m), ws, k, eps, m);
    }
};

inline __m512 loadCentres512(const int* I, int from, int n)
{
    return _mm512_cvtepi32_ps(_mm512_maskz_loadu_epi32(laneRange16(0, n - from), I + from));
}

inline void storeSums512(float* W, float* S, __m512 vW, __m512 vS, int from, int n)
{
    const __mmask16 m = laneRange16(0, n - from);
    _mm512_mask_storeu_ps(W + from, m, vW);
    _mm512_mask_storeu_ps(S + from, m, vS);
}

} // namespace

// The sums of MP_gatherPlaneSums, the run's (up to) sixty-four pixels in
// registers over the whole window; the walk of MP_forEachWindowOffset.
__attribute__((noinline)) bool MP_planeSums512(const Window& win, const ushort* plane, float eps, int y, int x0, int n,
                                               const int* I, float* W, float* S)
{
    static_assert(kChunk == 64, "four groups of sixteen lanes");
    const int R = win.R, s = win.step, w = win.width;
    const ushort* centre = plane + static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x0);
    PlaneLanes512 v;
    v.k = _mm512_set1_ps(MP_k);
    v.eps = _mm512_set1_ps(eps);
    v.I0 = loadCentres512(I, 0, n);
    v.I1 = loadCentres512(I, 16, n);
    v.I2 = loadCentres512(I, 32, n);
    v.I3 = loadCentres512(I, 48, n);
    v.W0 = v.W1 = v.W2 = v.W3 = v.S0 = v.S1 = v.S2 = v.S3 = _mm512_setzero_ps();
    const bool interior = x0 - win.widest >= 0 && x0 + n - 1 + win.widest <= w - 1;
    int y1, y2;
    MP_windowRows(win, y, &y1, &y2);
    bool any = false;
    uint64_t covered = 0;
    for (int ky = y1; ky <= y2; ky += s) {
        const int l = win.halfWidth[ky + R];
        const float* ws = &localexp[MP_localexpIndex(0, ky)];
        const ushort* row = centre + static_cast<ptrdiff_t>(ky) * w;
        if (interior && n == kChunk) {
            for (int kx = -l; kx <= l; kx += s)
                v.all(row + kx, _mm512_set1_ps(ws[kx]));
            any = any || l >= 0;
            continue;
        }
        for (int kx = -l; kx <= l; kx += s) {
            const int lo = interior ? 0 : MP_imax(0, -(x0 + kx));
            const int hi = interior ? n : MP_imin(n, w - x0 - kx);
            if (lo >= hi)
                continue;
            v.some(row + kx, _mm512_set1_ps(ws[kx]), lo, hi);
            any = true;
            covered |= (hi >= 64 ? ~0ull : (1ull << hi) - 1ull) & ~((1ull << lo) - 1ull);
        }
    }
    if (interior ? !any : covered != (n >= 64 ? ~0ull : (1ull << n) - 1ull))
        return false;
    storeSums512(W, S, v.W0, v.S0, 0, n);
    storeSums512(W, S, v.W1, v.S1, 16, n);
    storeSums512(W, S, v.W2, v.S2, 32, n);
    storeSums512(W, S, v.W3, v.S3, 48, n);
    return true;
}

// Sixteen pixels' colour sums (MP_gatherColourSums without the edge sum).
struct ColourLanes512 {
    __m512i L0;
    __m512i iR, iG, iB;  // word indices placing red, green, blue in the low half of each lane
    __m512i wr, wg, wb;  // the 14-bit luminance weights
    __m512 k, eps;
    __m512 W, SR, SG, SB;

    // One sample: lo16 and hi16 its 48 interleaved channel words (the first 32
    // and the next 16), L its luminance when read from a plane (else taken
    // from the channels with the weights), m the lanes that take part.
    template <bool Plane>
    __attribute__((always_inline)) inline void add(__mmask16 m, __m512 ws, __m512i L, __m512i lo16, __m512i hi16)
    {
        const __mmask32 even = 0x55555555u;
        const __m512i iRv = _mm512_maskz_permutex2var_epi16(even, lo16, iR, hi16);
        const __m512i iGv = _mm512_maskz_permutex2var_epi16(even, lo16, iG, hi16);
        const __m512i iBv = _mm512_maskz_permutex2var_epi16(even, lo16, iB, hi16);
        if constexpr (!Plane) {
            const __m512i sum = _mm512_add_epi32(
                _mm512_add_epi32(_mm512_mullo_epi32(iRv, wr), _mm512_mullo_epi32(iGv, wg)), _mm512_mullo_epi32(iBv, wb));
            L = _mm512_min_epu32(_mm512_srli_epi32(sum, 14), _mm512_set1_epi32(65535));
        }
        const __m512i d = _mm512_abs_epi32(_mm512_sub_epi32(L0, L));
        const __m512 x = _mm512_add_ps(_mm512_mul_ps(_mm512_cvtepi32_ps(d), k), eps);
        const __m512 w = _mm512_mul_ps(ws, MP_exactRecip512(x));
        W = _mm512_mask_add_ps(W, m, W, w);
        SR = _mm512_mask_add_ps(SR, m, SR, _mm512_mul_ps(w, _mm512_cvtepi32_ps(iRv)));
        SG = _mm512_mask_add_ps(SG, m, SG, _mm512_mul_ps(w, _mm512_cvtepi32_ps(iGv)));
        SB = _mm512_mask_add_ps(SB, m, SB, _mm512_mul_ps(w, _mm512_cvtepi32_ps(iBv)));
    }
};

template <bool Plane>
bool colourSums512(const Window& win, const ushort* src, const ushort* plane, const LumWeights& lw, float eps, int y,
                   int x0, int n, ColourSums& c)
{
    const size_t base = static_cast<size_t>(y) * static_cast<size_t>(win.width) + static_cast<size_t>(x0);
    ColourLanes512 s;
    alignas(64) short idx[3][32] = {};
    for (int ch = 0; ch < 3; ++ch)
        for (int j = 0; j < 16; ++j)
            idx[ch][2 * j] = static_cast<short>(3 * j + ch);
    s.iR = _mm512_load_si512(idx[0]);
    s.iG = _mm512_load_si512(idx[1]);
    s.iB = _mm512_load_si512(idx[2]);
    s.wr = _mm512_set1_epi32(static_cast<int>(lw.wr));
    s.wg = _mm512_set1_epi32(static_cast<int>(lw.wg));
    s.wb = _mm512_set1_epi32(static_cast<int>(lw.wb));
    s.k = _mm512_set1_ps(MP_k);
    s.eps = _mm512_set1_ps(eps);
    for (int g = 0; g < n; g += 16) {
        const int gn = MP_imin(16, n - g);
        s.L0 = _mm512_maskz_loadu_epi32(laneRange16(0, gn), c.L0 + g);
        s.W = s.SR = s.SG = s.SB = _mm512_setzero_ps();
        const bool walked = MP_forEachWindowOffset512(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
            const ptrdiff_t at = static_cast<ptrdiff_t>(base) + off + g;
            const ushort* q = src + at * 3;
            const __m512 vws = _mm512_set1_ps(ws);
            if (lo <= g && hi >= g + 16) { // every lane
                const __m512i L = Plane ? _mm512_cvtepu16_epi32(
                                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(plane + at)))
                                        : _mm512_setzero_si512();
                s.add<Plane>(0xFFFF, vws, L, _mm512_loadu_si512(q),
                             _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 32))));
                return;
            }
            const int a0 = MP_imax(lo - g, 0), a1 = MP_imin(hi - g, gn);
            if (a0 >= a1)
                return;
            const __mmask16 m = laneRange16(a0, a1);
            // Lanes before a0 or from a1 on read as 0 (their words may lie outside the image).
            const unsigned w0 = 3u * static_cast<unsigned>(a0), w1 = 3u * static_cast<unsigned>(a1);
            const uint64_t words = (w1 >= 64 ? ~0ull : (1ull << w1) - 1ull) & ~((1ull << w0) - 1ull);
            const __m512i L =
                Plane ? _mm512_cvtepu16_epi32(_mm256_maskz_loadu_epi16(m, plane + at)) : _mm512_setzero_si512();
            s.add<Plane>(m, vws, L, _mm512_maskz_loadu_epi16(static_cast<__mmask32>(words), q),
                         _mm512_maskz_loadu_epi16(static_cast<__mmask32>(words >> 32), q + 32));
        });
        if (!walked)
            return false;
        const __mmask16 mg = laneRange16(0, gn);
        _mm512_mask_storeu_ps(c.W + g, mg, s.W);
        _mm512_mask_storeu_ps(c.SR + g, mg, s.SR);
        _mm512_mask_storeu_ps(c.SG + g, mg, s.SG);
        _mm512_mask_storeu_ps(c.SB + g, mg, s.SB);
    }
    return true;
}

// The sums of MP_gatherColourSums<false>, sixteen pixels per instruction.
__attribute__((noinline)) bool MP_colourSums512(const Window& win, const ushort* src, const ushort* plane,
                                                const LumWeights& lw, float eps, int y, int x0, int n, ColourSums& c)
{
    return plane ? colourSums512<true>(win, src, plane, lw, eps, y, x0, n, c)
                 : colourSums512<false>(win, src, plane, lw, eps, y, x0, n, c);
}

} // namespace mp_filters
#pragma GCC diagnostic pop
#pragma GCC pop_options

#endif

namespace mp_filters {

bool MP_colourSumsVector(const Window& win, const ushort* src, const ushort* plane, const LumWeights& lw, float eps,
                         int y, int x0, int n, ColourSums& c)
{
#ifdef MP_FILTER_RECIP_X86
    if (!g_filterPortable && g_filterSumLanes >= 16 && MP_exactRecipProven(eps) && hasAvx512())
        return MP_colourSums512(win, src, plane, lw, eps, y, x0, n, c);
#else
    (void)win, (void)src, (void)plane, (void)lw, (void)eps, (void)y, (void)x0, (void)n, (void)c;
#endif
    return false;
}

bool MP_planeSumsVector(const Window& win, const ushort* plane, float eps, int y, int x0, int n, const int* I, float* W,
                        float* S)
{
#ifdef MP_FILTER_RECIP_X86
    if (g_filterPortable || !MP_exactRecipProven(eps))
        return false;
    if (g_filterSumLanes >= 16 && hasAvx512())
        return MP_planeSums512(win, plane, eps, y, x0, n, I, W, S);
#else
    (void)win, (void)plane, (void)eps, (void)y, (void)x0, (void)n, (void)I, (void)W, (void)S;
#endif
    return false;
}

} // namespace mp_filters
