#include "engine/filters/edgeenhance.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#include <immintrin.h>
// Outside the AVX-512 region below: each function keeps its own target.
#include "engine/filters/filterrecip.h"
#define MP_ENHANCE_AVX512 1
#endif

using namespace mp_filters;

bool g_enhanceDivide = false;
bool g_enhanceNo512 = false;

#ifdef MP_ENHANCE_AVX512
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vl,fma")
// GCC 12 takes the intrinsics' undefined start values for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "engine/filters/windowwalk512.h"
namespace {

// The edge enhancer's sums of a run of pixels, sixteen pixels per
// instruction: for every window offset, a = |P - L|, x = a k,
// w = ws / (x + 0.001) (as the divisor table holds it), W += w,
// D += w sqrt(x) with the sign of P - L. The same operations in the same
// order as the scalar walk, so the same bits. The division and the square
// root come from MP_exactRecip512 and MP_exactSqrt512 (the same bits for
// every d), or with Divide from the divider.
template <bool Divide>
__attribute__((noinline)) bool enhanceSums512(const Window& win, const ushort* plane, size_t base, int x0, int n,
                                              int y, const int* P, float* W, float* D)
{
    const __m512 k = _mm512_set1_ps(MP_k), eps = _mm512_set1_ps(0.001f), one = _mm512_set1_ps(1.0f);
    const __m512i sign = _mm512_set1_epi32(static_cast<int>(0x80000000u));
    return MP_forEachWindowOffset512(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
        const ushort* q = plane + static_cast<ptrdiff_t>(base) + off;
        const __m512 vws = _mm512_set1_ps(ws);
        for (int i = lo; i < hi; i += 16) {
            const __mmask16 m = MP_laneMask16(i, hi);
            const __m512i L = _mm512_cvtepu16_epi32(_mm256_maskz_loadu_epi16(m, q + i));
            const __m512i d = _mm512_sub_epi32(_mm512_maskz_loadu_epi32(m, P + i), L);
            const __m512 x = _mm512_mul_ps(_mm512_cvtepi32_ps(_mm512_abs_epi32(d)), k);
            const __m512 v = _mm512_add_ps(x, eps);
            const __m512 w = _mm512_mul_ps(vws, Divide ? _mm512_div_ps(one, v) : MP_exactRecip512(v));
            _mm512_mask_storeu_ps(W + i, m, _mm512_add_ps(_mm512_maskz_loadu_ps(m, W + i), w));
            __m512i root =
                _mm512_castps_si512(_mm512_mul_ps(w, Divide ? _mm512_sqrt_ps(x) : MP_exactSqrt512(x)));
            root = _mm512_mask_xor_epi32(root, _mm512_cmplt_epi32_mask(d, _mm512_setzero_si512()), root, sign);
            _mm512_mask_storeu_ps(D + i, m, _mm512_add_ps(_mm512_maskz_loadu_ps(m, D + i), _mm512_castsi512_ps(root)));
        }
    });
}

// The sums of a whole run of kChunk pixels whose windows lie inside their
// rows, with the four sixteen-lane sums held in registers over the window:
// each lane adds the same terms in the same order as above.
constexpr int kBlocks = kChunk / 16;

__attribute__((noinline)) bool enhanceSumsInterior512(const Window& win, const ushort* plane, size_t base, int y,
                                                      const int* P, float* W, float* D)
{
    const __m512 k = _mm512_set1_ps(MP_k), eps = _mm512_set1_ps(0.001f);
    const __m512i sign = _mm512_set1_epi32(static_cast<int>(0x80000000u));
    __m512i p[kBlocks];
    __m512 w[kBlocks], dsum[kBlocks];
    for (int b = 0; b < kBlocks; ++b) {
        p[b] = _mm512_loadu_si512(P + 16 * b);
        w[b] = dsum[b] = _mm512_setzero_ps();
    }
    const int R = win.R, s = win.step, width = win.width;
    int y1, y2;
    MP_windowRows(win, y, &y1, &y2);
    bool any = false;
    for (int ky = y1; ky <= y2; ky += s) {
        const int l = win.halfWidth[ky + R];
        const float* ws = &localexp[MP_localexpIndex(0, ky)];
        const ushort* row = plane + static_cast<ptrdiff_t>(base) + static_cast<ptrdiff_t>(ky) * width;
        for (int kx = -l; kx <= l; kx += s) {
            any = true;
            const ushort* q = row + kx;
            const __m512 vws = _mm512_set1_ps(ws[kx]);
            for (int b = 0; b < kBlocks; ++b) {
                const __m512i L = _mm512_cvtepu16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 16 * b)));
                const __m512i d = _mm512_sub_epi32(p[b], L);
                const __m512 x = _mm512_mul_ps(_mm512_cvtepi32_ps(_mm512_abs_epi32(d)), k);
                const __m512 wt = _mm512_mul_ps(vws, MP_exactRecip512(_mm512_add_ps(x, eps)));
                w[b] = _mm512_add_ps(w[b], wt);
                const __m512i root = _mm512_castps_si512(_mm512_mul_ps(wt, MP_exactSqrt512(x)));
                // root with the sign bit of d (0x78: a ^ (b & c)).
                const __m512i signed_ = _mm512_ternarylogic_epi32(root, d, sign, 0x78);
                dsum[b] = _mm512_add_ps(dsum[b], _mm512_castsi512_ps(signed_));
            }
        }
    }
    for (int b = 0; b < kBlocks; ++b) {
        _mm512_storeu_ps(W + 16 * b, w[b]);
        _mm512_storeu_ps(D + 16 * b, dsum[b]);
    }
    return any;
}

} // namespace
#pragma GCC diagnostic pop
#pragma GCC pop_options

namespace {
bool enhanceHasFma()
{
    static const bool yes = __builtin_cpu_supports("fma");
    return yes;
}

// enhanceSumsInterior512 with eight lanes, for processors without AVX-512:
// the 64 pixels in two halves of four eight-lane sums each.
__attribute__((target("avx2,fma"), noinline)) bool enhanceSumsInteriorAvx2(const Window& win, const ushort* plane,
                                                                          size_t base, int y, const int* P, float* W,
                                                                          float* D)
{
    constexpr int kLanes = 8, kHalf = kChunk / 2, kGroups = kHalf / kLanes;
    const __m256 k = _mm256_set1_ps(MP_k), eps = _mm256_set1_ps(0.001f);
    const __m256 sign = _mm256_castsi256_ps(_mm256_set1_epi32(static_cast<int>(0x80000000u)));
    const int R = win.R, s = win.step, width = win.width;
    int y1, y2;
    MP_windowRows(win, y, &y1, &y2);
    bool any = false;
    for (int h = 0; h < kChunk; h += kHalf) {
        __m256i p[kGroups];
        __m256 w[kGroups], dsum[kGroups];
        for (int b = 0; b < kGroups; ++b) {
            p[b] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(P + h + kLanes * b));
            w[b] = dsum[b] = _mm256_setzero_ps();
        }
        for (int ky = y1; ky <= y2; ky += s) {
            const int l = win.halfWidth[ky + R];
            const float* ws = &localexp[MP_localexpIndex(0, ky)];
            const ushort* row = plane + static_cast<ptrdiff_t>(base) + static_cast<ptrdiff_t>(ky) * width + h;
            for (int kx = -l; kx <= l; kx += s) {
                any = true;
                const ushort* q = row + kx;
                const __m256 vws = _mm256_set1_ps(ws[kx]);
                for (int b = 0; b < kGroups; ++b) {
                    const __m256i L =
                        _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + kLanes * b)));
                    const __m256i d = _mm256_sub_epi32(p[b], L);
                    const __m256 x = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_abs_epi32(d)), k);
                    const __m256 wt = _mm256_mul_ps(vws, MP_exactRecip256(_mm256_add_ps(x, eps)));
                    w[b] = _mm256_add_ps(w[b], wt);
                    const __m256 root = _mm256_mul_ps(wt, MP_exactSqrt256(x));
                    const __m256 dsign = _mm256_and_ps(_mm256_castsi256_ps(d), sign);
                    dsum[b] = _mm256_add_ps(dsum[b], _mm256_xor_ps(root, dsign));
                }
            }
        }
        for (int b = 0; b < kGroups; ++b) {
            _mm256_storeu_ps(W + h + kLanes * b, w[b]);
            _mm256_storeu_ps(D + h + kLanes * b, dsum[b]);
        }
    }
    return any;
}

// The gains G of pixels 0 .. n - 1 in groups of eight (the scalar loop of
// gather(), operation for operation; sq the squared colour lengths);
// returns how many it did.
__attribute__((target("avx2"))) int enhanceGainsAvx2(const float* W, const float* D, const float* sq, int n,
                                                     float macro, float micro, float* G)
{
    const __m256 one = _mm256_set1_ps(1.0f), c13 = _mm256_set1_ps(1.3f), five = _mm256_set1_ps(5.0f);
    const __m256 eps = _mm256_set1_ps(0.001f), vmacro = _mm256_set1_ps(macro), vmicro = _mm256_set1_ps(micro);
    const __m256 base = _mm256_set1_ps(1.0f - macro), rest = _mm256_set1_ps(1.0f - micro);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256 det = _mm256_mul_ps(_mm256_div_ps(one, _mm256_loadu_ps(W + i)), _mm256_loadu_ps(D + i));
        const __m256 f1 = _mm256_add_ps(_mm256_mul_ps(c13, det), one);
        const __m256 r = _mm256_div_ps(one, _mm256_add_ps(_mm256_sqrt_ps(_mm256_loadu_ps(sq + i)), eps));
        const __m256 f2 = _mm256_add_ps(_mm256_mul_ps(_mm256_mul_ps(det, r), five), one);
        const __m256 mix = _mm256_add_ps(_mm256_mul_ps(rest, f1), _mm256_mul_ps(f2, vmicro));
        _mm256_storeu_ps(G + i, _mm256_add_ps(base, _mm256_mul_ps(mix, vmacro)));
    }
    return i;
}
} // namespace
#endif

namespace {

// v * 65535 held to 0..65535 (NaN gives 0), rounded to the nearest integer.
inline int roundedPlaneValue(float v)
{
    float x = v * 65535.0f;
    x = x > 0.0f ? x : 0.0f;
    x = x < 65535.0f ? x : 65535.0f;
    return static_cast<int>(x + 0.5f);
}

struct EnhanceArgs {
    MP_DriverRun run;
    Window win;
    const ushort* plane = nullptr;
    ushort* out = nullptr;
    float macro = 0.0f, micro = 0.0f;
    const float* mask = nullptr;

    void fillTables(int start, int end) const
    {
        for (int i = start; i < end; ++i) {
            MP_temp_table[i] = divisor(i, 0.001f);
            MP_temp2_table[i] = MP_sqrt(static_cast<float>(i) * MP_k);
        }
        MP_splineSlotTable(mask, start, end, MP_temp3_table);
    }

    struct Cache {
        int I[kChunk]; // the masking curve's index
        int P[kChunk]; // the centre's plane luminance, which the differences start from
        float W[kChunk], D[kChunk];
        float G[kChunk], V[kChunk], K[kChunk]; // the effect's gain, curve value and 1 - curve value
    };

    // The bilateral weight W and the weighted signed root D of pixels
    // x0 .. x0+n-1 of row y. The differences are taken between plane values
    // alone: the plane's 14-bit weights sum to 16382 / 16384, so a flat
    // plane lies up to a unit below the centre's float luminance index, and a
    // flat area measured against that index would be "enhanced".
    void gather(int y, int x0, int n, Cache& c) const
    {
        sums(y, x0, n, c);
        if (g_enhanceDivide)
            return; // the old code: effect() computes each pixel's factors alone
        // The effect's factors of the whole run, a loop the compiler
        // vectorises (effect() below applies them as it did alone).
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        const ushort* src = run.src + base * 3;
        float sq[kChunk];
        for (int i = 0; i < n; ++i) {
            const MP_float3 c0 = MP_loadRGB48(src + 3 * i);
            sq[i] = c0.x * c0.x + c0.y * c0.y + c0.z * c0.z;
        }
        int i = 0;
#ifdef MP_ENHANCE_AVX512
        if (MP_filterHasAvx2())
            i = enhanceGainsAvx2(c.W, c.D, sq, n, macro, micro, c.G);
#endif
        for (; i < n; ++i) {
            const float det = (1.0f / c.W[i]) * c.D[i];
            const float f1 = 1.3f * det + 1.0f;
            const float f2 = det * (1.0f / (MP_sqrt(sq[i]) + 0.001f)) * 5.0f + 1.0f;
            c.G[i] = (1.0f - macro) + ((1.0f - micro) * f1 + f2 * micro) * macro;
        }
        for (int i = 0; i < n; ++i) {
            c.V[i] = MP_temp3_table[c.I[i]];
            c.K[i] = 1.0f - c.V[i];
        }
    }

    void sums(int y, int x0, int n, Cache& c) const
    {
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        for (int i = 0; i < n; ++i) {
            c.I[i] = lumIndex(run.params, MP_loadRGB48(run.src + (base + i) * 3));
            c.P[i] = plane[base + i];
            c.W[i] = c.D[i] = 0.0f;
        }
#ifdef MP_ENHANCE_AVX512
        if (MP_chunkWalkable(win, x0, n) && MP_filterHasAvx512() && !g_enhanceNo512) {
            if (!g_enhanceDivide && n == kChunk && x0 - win.widest >= 0 && x0 + n - 1 + win.widest <= win.width - 1 &&
                enhanceSumsInterior512(win, plane, base, y, c.P, c.W, c.D))
                return;
            if (g_enhanceDivide ? enhanceSums512<true>(win, plane, base, x0, n, y, c.P, c.W, c.D)
                                : enhanceSums512<false>(win, plane, base, x0, n, y, c.P, c.W, c.D))
                return;
            for (int i = 0; i < n; ++i)
                c.W[i] = c.D[i] = 0.0f;
        } else if (MP_chunkWalkable(win, x0, n) && !g_enhanceDivide && n == kChunk && x0 - win.widest >= 0 &&
                   x0 + n - 1 + win.widest <= win.width - 1 && MP_filterHasAvx2() && enhanceHasFma() &&
                   enhanceSumsInteriorAvx2(win, plane, base, y, c.P, c.W, c.D)) {
            return;
        } else
#endif
        if (MP_chunkWalkable(win, x0, n)) {
            const bool walked = MP_forEachWindowOffset(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
                const ushort* q = plane + static_cast<ptrdiff_t>(base) + off;
                for (int i = lo; i < hi; ++i) {
                    const int d = c.P[i] - static_cast<int>(q[i]);
                    const int a = d < 0 ? -d : d;
                    const float w = ws * divisor(a, 0.001f);
                    c.W[i] += w;
                    const float root = w * MP_temp2_table[a]; // sqrt(a k), a table read the compiler vectorises
                    c.D[i] += d < 0 ? -root : root;
                }
            });
            if (walked)
                return;
        }
        for (int i = 0; i < n; ++i) {
            const int P = c.P[i];
            float W = 0.0f, D = 0.0f;
            MP_forEachWindowSample(win, x0 + i, y, [&](size_t j, float ws) {
                const int d = P - static_cast<int>(plane[j]);
                const int a = d < 0 ? -d : d;
                const float w = ws * MP_temp_table[a];
                W += w;
                const float root = w * MP_temp2_table[a];
                D += d < 0 ? -root : root;
            });
            c.W[i] = W;
            c.D[i] = D;
        }
    }

    // c is the source colour gather() read for pixel i.
    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        if (g_enhanceDivide) {
            const float det = (1.0f / cache.W[i]) * cache.D[i];
            const float f1 = 1.3f * det + 1.0f;
            const float f2 = det * (1.0f / (MP_sqrt(c.x * c.x + c.y * c.y + c.z * c.z) + 0.001f)) * 5.0f + 1.0f;
            const float G = (1.0f - macro) + ((1.0f - micro) * f1 + f2 * micro) * macro;
            const float v = MP_temp3_table[cache.I[i]];
            const float k = 1.0f - v;
            return {c.x * k + c.x * G * v, c.y * k + c.y * G * v, c.z * k + c.z * G * v};
        }
        const float G = cache.G[i], v = cache.V[i], k = cache.K[i];
        return {c.x * k + c.x * G * v, c.y * k + c.y * G * v, c.z * k + c.z * G * v};
    }
};

struct ArtworkArgs {
    MP_DriverRun run;
    Window win;
    const ushort* plane = nullptr;
    ushort* out = nullptr;
    float q = 0.0f;

    void fillTables(int start, int end) const
    {
        for (int i = start; i < end; ++i) {
            MP_temp_table[i] = MP_pow(static_cast<float>(i) * MP_k, q);
            MP_temp3_table[i] = divisor(i, 0.001f);
        }
    }

    struct Cache {
        int I[kChunk], A[kChunk];
        float W[kChunk], S[kChunk], T[kChunk];
    };

    // Two walks of the window: the bilateral local mean A of the plane, then
    // the bilateral mean of the signed powered differences A - L (W in S's
    // place, T).
    void gather(int y, int x0, int n, Cache& c) const
    {
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        for (int i = 0; i < n; ++i)
            c.I[i] = lumIndex(run.params, MP_loadRGB48(run.src + (base + i) * 3));
        MP_gatherPlaneSums(win, plane, 0.001f, y, x0, n, c.I, c.W, c.S);
        for (int i = 0; i < n; ++i) {
            // The local mean as a plane value, rounded: a flat area's mean
            // comes out a hair below its value, and truncated it would
            // differ from every sample by -1.
            c.A[i] = roundedPlaneValue((c.S[i] * MP_k) / c.W[i]);
            c.W[i] = c.T[i] = 0.0f;
        }
        if (MP_chunkWalkable(win, x0, n)) {
            const bool walked = MP_forEachWindowOffset(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
                const ushort* q = plane + static_cast<ptrdiff_t>(base) + off;
                for (int i = lo; i < hi; ++i) {
                    const int d = c.A[i] - static_cast<int>(q[i]);
                    const int a = d < 0 ? -d : d;
                    const float w = ws * divisor(a, 0.001f);
                    c.W[i] += w;
                    const float t = w * MP_temp_table[a];
                    c.T[i] += d < 0 ? -t : t;
                }
            });
            if (walked)
                return;
        }
        for (int i = 0; i < n; ++i) {
            const int A = c.A[i];
            float W2 = 0.0f, T = 0.0f;
            MP_forEachWindowSample(win, x0 + i, y, [&](size_t j, float ws) {
                const int d = A - static_cast<int>(plane[j]);
                const int a = d < 0 ? -d : d;
                const float w = ws * MP_temp3_table[a];
                W2 += w;
                const float t = w * MP_temp_table[a];
                T += d < 0 ? -t : t;
            });
            c.W[i] = W2;
            c.T[i] = T;
        }
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const float G = cache.T[i] / cache.W[i] + 1.0f;
        return {c.x * G, c.y * G, c.z * G};
    }
};

} // namespace

int MP_calcPixelEnhance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (!params)
        return -2;
    EnhanceArgs a;
    a.macro = params->p[1][0];
    a.micro = params->p[2][0];
    a.mask = params->p[3];
    const FilterPlan plan{"MP_calcPixelEnhance", MP_calcWindowSize(params, 500.0f), 5, 4, true};
    return MP_runWindowFilter(a, plan, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelArtworkEnhance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    if (!params)
        return -2;
    ArtworkArgs a;
    a.q = (params->p[1][0] * -0.5f + 0.5f) + 0.001f;
    const FilterPlan plan{"MP_calcPixelArtworkEnhance",
                          MP_calcWindowSize(params, 500.0f, MP_WindowStep::Loopstep, MP_WindowWeights::Box), 3, 2, true};
    return MP_runWindowFilter(a, plan, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelEnhance", MP_calcPixelEnhance},
    {"MP_calcPixelArtworkEnhance", MP_calcPixelArtworkEnhance},
};
extern const MP_DriverTable MP_drivers_edgeenhance = MP_driverTable(kDrivers);
