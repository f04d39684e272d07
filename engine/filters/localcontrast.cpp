#include "engine/filters/localcontrast.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <cstdint>
#include <cstring>
#include <new>

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#include <immintrin.h>
#define MP_CONTRAST_AVX512 1
#endif

using namespace mp_filters;

#ifdef MP_CONTRAST_AVX512
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vl")
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include "engine/filters/windowwalk512.h"
namespace {

// The plane operators' per-pixel factor (ContrastArgs::factor), sixteen
// pixels per instruction with the same operations in the same order: the
// divisions exact as in the scalar code, the table read by a gather.
// px: the run's first pixel (RGB48), n <= kChunk pixels.
__attribute__((noinline)) void contrastFactors512(const ushort* px, int n, const float* S, const float* W, float lumr,
                                                  float lumg, float lumb, float s, bool contrast, float* F)
{
    const MP_Rgb48Lanes ix = MP_rgb48Lanes();
    const __m512 k = _mm512_set1_ps(MP_k), zero = _mm512_setzero_ps(), one = _mm512_set1_ps(1.0f);
    const __m512 full = _mm512_set1_ps(65535.0f);
    const __m512 vr = _mm512_set1_ps(lumr), vg = _mm512_set1_ps(lumg), vb = _mm512_set1_ps(lumb);
    const __m512 vs = _mm512_set1_ps(s), vs20 = _mm512_set1_ps(s * 20.0f), small = _mm512_set1_ps(0.001f);
    const __m512i sign = _mm512_set1_epi32(static_cast<int>(0x80000000u));
    for (int g = 0; g < n; g += 16) {
        const int gn = MP_imin(16, n - g);
        const __mmask16 m = gn >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << gn) - 1u);
        __m512 cx, cy, cz;
        MP_loadRgb48Scaled(ix, px + 3 * g, gn, k, cx, cy, cz);
        const __m512 lum0 = _mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(vr, cx), _mm512_mul_ps(vg, cy)), _mm512_mul_ps(vb, cz));
        // Lanes beyond the run divide 0 by 1 (no exception flags raised for nothing).
        const __m512 vS = _mm512_maskz_loadu_ps(m, S + g);
        const __m512 vW = _mm512_mask_loadu_ps(one, m, W + g);
        const __m512 mean = _mm512_div_ps(_mm512_div_ps(vS, full), vW);
        const __m512 d = _mm512_sub_ps(lum0, mean);
        __m512 f;
        if (contrast) {
            // signedPower: d >= 0 ? T[index(d)] : -T[index(-d)], the index held to
            // 0..65535 with NaN giving 0 (max returns its second operand for NaN).
            const __mmask16 ge = _mm512_cmp_ps_mask(d, zero, _CMP_GE_OQ);
            const __m512 neg = _mm512_castsi512_ps(_mm512_xor_si512(_mm512_castps_si512(d), sign));
            const __m512 a = _mm512_mask_blend_ps(ge, neg, d);
            const __m512 x = _mm512_min_ps(_mm512_max_ps(_mm512_mul_ps(a, full), zero), full);
            const __m512 T = _mm512_mask_i32gather_ps(zero, m, _mm512_cvttps_epi32(x), MP_temp4_table, 4);
            const __m512 P = _mm512_mask_blend_ps(ge, _mm512_castsi512_ps(_mm512_xor_si512(_mm512_castps_si512(T), sign)), T);
            const __m512 t = _mm512_add_ps(lum0, _mm512_mul_ps(vs, P));
            f = _mm512_div_ps(t, _mm512_add_ps(lum0, small));
        } else {
            const __m512 ad = _mm512_castsi512_ps(_mm512_andnot_si512(sign, _mm512_castps_si512(d)));
            f = _mm512_sub_ps(one, _mm512_sub_ps(one, _mm512_mul_ps(ad, vs20)));
        }
        _mm512_mask_storeu_ps(F + g, m, f);
    }
}

// The reduced worker's output of sixteen pixels at a time (ContrastArgs::
// effect then MP_storeRGB48Clamped): e = clamp(c g) (local contrast) or
// clamp(c k c + c) (contour), v = T2[I], out = c (1 - v) + e v, stored held to
// 0..1 (NaN as 0) and truncated; px the source run, out its destination.
__attribute__((noinline)) void contrastOutput512(const ushort* px, ushort* out, int n, const int* I, const float* F,
                                                 bool contrast)
{
    alignas(64) short back[64] = {};
    // Word w of the output (pixel w / 3, channel w % 3) from red|green (0..31) and blue (32..47).
    for (int w = 0; w < 48; ++w)
        back[w] = static_cast<short>(w % 3 == 0 ? w / 3 : (w % 3 == 1 ? 16 + w / 3 : 32 + w / 3));
    const MP_Rgb48Lanes ix = MP_rgb48Lanes();
    const __m512i bLo = _mm512_load_si512(back), bHi = _mm512_load_si512(back + 32);
    const __m512 k = _mm512_set1_ps(MP_k), zero = _mm512_setzero_ps(), one = _mm512_set1_ps(1.0f);
    const __m512 full = _mm512_set1_ps(65535.0f);
    // MP_clamp(x, 0, 1): x < 0 ? 0 : (1 < x ? 1 : x), NaN kept.
    const auto clamp01 = [&](__m512 x) {
        const __m512 t = _mm512_mask_blend_ps(_mm512_cmp_ps_mask(one, x, _CMP_LT_OQ), x, one);
        return _mm512_mask_blend_ps(_mm512_cmp_ps_mask(x, zero, _CMP_LT_OQ), t, zero);
    };
    // clampUnit(x) = x > 0 ? (x < 1 ? x : 1) : 0, then (int)(x * 65535).
    const auto store = [&](__m512 x) {
        const __m512 a = _mm512_mask_blend_ps(_mm512_cmp_ps_mask(x, one, _CMP_LT_OQ), one, x);
        const __m512 u = _mm512_mask_blend_ps(_mm512_cmp_ps_mask(x, zero, _CMP_GT_OQ), zero, a);
        return _mm512_cvttps_epi32(_mm512_mul_ps(u, full));
    };
    for (int g = 0; g < n; g += 16) {
        const int gn = MP_imin(16, n - g);
        const __mmask16 m = gn >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << gn) - 1u);
        __m512 cx, cy, cz;
        MP_loadRgb48Scaled(ix, px + 3 * g, gn, k, cx, cy, cz);
        const __m512 f = _mm512_maskz_loadu_ps(m, F + g);
        __m512 ex, ey, ez;
        if (contrast) {
            ex = clamp01(_mm512_mul_ps(cx, f));
            ey = clamp01(_mm512_mul_ps(cy, f));
            ez = clamp01(_mm512_mul_ps(cz, f));
        } else {
            ex = clamp01(_mm512_add_ps(_mm512_mul_ps(_mm512_mul_ps(cx, f), cx), cx));
            ey = clamp01(_mm512_add_ps(_mm512_mul_ps(_mm512_mul_ps(cy, f), cy), cy));
            ez = clamp01(_mm512_add_ps(_mm512_mul_ps(_mm512_mul_ps(cz, f), cz), cz));
        }
        const __m512i vi = _mm512_maskz_loadu_epi32(m, I + g);
        const __m512 v = _mm512_mask_i32gather_ps(zero, m, vi, MP_temp2_table, 4);
        const __m512 kk = _mm512_sub_ps(one, v);
        const __m256i r = _mm512_cvtepi32_epi16(store(_mm512_add_ps(_mm512_mul_ps(cx, kk), _mm512_mul_ps(ex, v))));
        const __m256i gg = _mm512_cvtepi32_epi16(store(_mm512_add_ps(_mm512_mul_ps(cy, kk), _mm512_mul_ps(ey, v))));
        const __m256i b = _mm512_cvtepi32_epi16(store(_mm512_add_ps(_mm512_mul_ps(cz, kk), _mm512_mul_ps(ez, v))));
        const __m512i rg = _mm512_inserti64x4(_mm512_castsi256_si512(r), gg, 1);
        const __m512i bb = _mm512_castsi256_si512(b);
        ushort* d = out + 3 * g;
        const unsigned w1 = 3u * static_cast<unsigned>(gn);
        const uint64_t words = w1 >= 64 ? ~0ull : (1ull << w1) - 1ull;
        _mm512_mask_storeu_epi16(d, static_cast<__mmask32>(words), _mm512_permutex2var_epi16(rg, bLo, bb));
        _mm512_mask_storeu_epi16(d + 32, static_cast<__mmask32>(words >> 32), _mm512_permutex2var_epi16(rg, bHi, bb));
    }
}

bool hasAvx512()
{
    static const bool yes = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vl");
    return yes;
}

} // namespace
#pragma GCC diagnostic pop
#pragma GCC pop_options
#endif

namespace {

constexpr int kPowerEntries = 65536;

// pow(i k, 4 i k + 1) with entry 0 set to 0: the same for every run of the
// local and colour contrast, so computed once (null when memory is short;
// each run then computes its own).
const float* contrastPowers()
{
    static const float* const table = [] {
        float* t = new (std::nothrow) float[kPowerEntries];
        if (t) {
            for (int i = 0; i < kPowerEntries; ++i) {
                const float fi = static_cast<float>(i);
                t[i] = MP_pow(fi * MP_k, 4.0f * fi * MP_k + 1.0f);
            }
            t[0] = 0.0f;
        }
        return t;
    }();
    return table;
}

constexpr int kSplineSlot = 2;
constexpr int kComboSlot = 3;
constexpr int kGeoSlot = 4;

enum class Op { LocalContrast, LocalContour, ColorContrast, VeilingGlare };

struct ContrastArgs {
    MP_DriverRun run;
    Window win;
    Op op = Op::LocalContrast;
    float s = 0.0f;           // derived strength
    const ushort* plane = nullptr; // luminance plane (LocalContrast, LocalContour)
    ushort* out = nullptr;
    LumWeights lw;
    const float* mask = nullptr; // knots of the spline slot

    // Pre1: the operator's tables.
    void fillTables(int start, int end) const
    {
        MP_splineSlotTable(mask, start, end, MP_temp2_table);
        const bool power = op == Op::LocalContrast || op == Op::ColorContrast;
        const float* powers = power && start >= 0 && end <= kPowerEntries ? contrastPowers() : nullptr;
        if (powers && start < end)
            std::memcpy(MP_temp4_table + start, powers + start, static_cast<size_t>(end - start) * sizeof(float));
        for (int i = start; i < end; ++i) {
            const float fi = static_cast<float>(i);
            MP_temp3_table[i] = divisor(i, kEps10);
            if (power && !powers)
                MP_temp4_table[i] = MP_pow(fi * MP_k, 4.0f * fi * MP_k + 1.0f);
            else if (op == Op::VeilingGlare)
                MP_temp_table[i] = MP_pow(fi * MP_k, 1.0f - 0.5f * s);
        }
        if (power && start == 0 && end > 0)
            MP_temp4_table[0] = 0.0f;
    }

    // The signed power of a difference: +-T[|d|] by the sign of d.
    static float signedPower(const float* table, float d)
    {
        return d >= 0.0f ? table[MP_tableIndex(d)] : -table[MP_tableIndex(-d)];
    }

    struct Cache : ColourSums {
        float S[kChunk]; // plane operators: the weighted plane luminance
        float F[kChunk]; // plane operators: the pixel's factor (factor())
    };

    // The plane operators' factor of a pixel of colour c with the sums S, W:
    // the local contrast's gain t / (lum0 + 0.001), the contour's k.
    float factor(MP_float3 c, float S, float W) const
    {
        const MP_Params* p = run.params;
        const float lum0 = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
        const float m = (S / 65535.0f) / W;
        if (op == Op::LocalContrast) {
            const float t = lum0 + s * signedPower(MP_temp4_table, lum0 - m);
            return t / (lum0 + 0.001f);
        }
        return 1.0f - (1.0f - MP_fabs(lum0 - m) * (s * 20.0f));
    }

    bool usesPlane() const { return op == Op::LocalContrast || op == Op::LocalContour; }

    // The window sums of pixels x0 .. x0+n-1 of row y: of the plane (W, S),
    // or of the neighbours' colours (W, SR, SG, SB).
    void gather(int y, int x0, int n, Cache& c) const
    {
        if (!usesPlane()) {
            MP_gatherColourSums<false>(win, run, lw, kEps10, y, x0, n, c);
            return;
        }
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        for (int i = 0; i < n; ++i)
            c.L0[i] = lumIndex(run.params, MP_loadRGB48(run.src + (base + i) * 3));
        MP_gatherPlaneSums(win, plane, kEps10, y, x0, n, c.L0, c.W, c.S);
        const MP_Params* p = run.params;
#ifdef MP_CONTRAST_AVX512
        if (g_filterSumLanes >= 16 && !g_filterPortable && hasAvx512()) {
            contrastFactors512(run.src + base * 3, n, c.S, c.W, p->lumr, p->lumg, p->lumb, s, op == Op::LocalContrast,
                               c.F);
            return;
        }
#endif
        for (int i = 0; i < n; ++i)
            c.F[i] = factor(MP_loadRGB48(run.src + (base + i) * 3), c.S[i], c.W[i]);
    }

    // The reduced worker's output of the run x0 .. x0+n-1 of row y written at
    // once (sixteen lanes, the plane operators on AVX-512): false when not.
    bool storeRun(int y, int x0, int n, const Cache& c, ushort* out) const
    {
#ifdef MP_CONTRAST_AVX512
        if (usesPlane() && g_filterSumLanes >= 16 && !g_filterPortable && hasAvx512()) {
            const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0)) * 3;
            contrastOutput512(run.src + at, out + at, n, c.L0, c.F, op == Op::LocalContrast);
            return true;
        }
#else
        (void)y, (void)x0, (void)n, (void)c, (void)out;
#endif
        return false;
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const MP_Params* p = run.params;
        const float lum0 = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
        const int I = cache.L0[i];
        const float W = cache.W[i];
        MP_float3 e;
        if (usesPlane()) {
            if (op == Op::LocalContrast) {
                const float g = cache.F[i];
                e = {MP_clamp(c.x * g, 0.0f, 1.0f), MP_clamp(c.y * g, 0.0f, 1.0f), MP_clamp(c.z * g, 0.0f, 1.0f)};
            } else {
                const float k = cache.F[i];
                const auto ch = [k](float v) { return MP_clamp(v * k * v + v, 0.0f, 1.0f); };
                e = {ch(c.x), ch(c.y), ch(c.z)};
            }
        } else {
            const float f = (1.0f / W) * MP_k;
            const MP_float3 M{cache.SR[i] * f, cache.SG[i] * f, cache.SB[i] * f};
            if (op == Op::ColorContrast) {
                const float a = s / 7.0f;
                const float b = (1.0f - a) * lum0;
                const float inv = 0.001f + lum0;
                const auto ch = [&](float cc, float mm) {
                    const float P = MP_temp4_table[MP_tableIndex(MP_fabs(cc - mm))];
                    const float u = cc >= mm ? a * mm + b + s * P : a * mm + b - s * P;
                    return MP_clamp(u * cc / inv, 0.0f, 1.0f);
                };
                e = {ch(c.x, M.x), ch(c.y, M.y), ch(c.z, M.z)};
            } else {
                const auto ch = [&](float cc, float mm) {
                    const float q = mm > cc ? cc - MP_temp_table[MP_tableIndex(mm - cc)]
                                            : cc + MP_temp_table[MP_tableIndex(cc - mm)];
                    return MP_clamp(q * s + cc * (1.0f - s), 0.0f, 1.0f);
                };
                e = {ch(c.x, M.x), ch(c.y, M.y), ch(c.z, M.z)};
            }
        }
        const float v = MP_temp2_table[I];
        const float k = 1.0f - v;
        return {c.x * k + e.x * v, c.y * k + e.y * v, c.z * k + e.z * v};
    }
};

int contrastDriver(Op op, const char* kernel, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp,
                   int dstBpp, MP_Params* params)
{
    if (!params)
        return -2;
    ContrastArgs a;
    a.op = op;
    a.lw = LumWeights::of(params);
    a.mask = params->p[kSplineSlot];
    switch (op) {
    case Op::LocalContrast: a.s = (params->p[1][0] - 0.25f) * 5.0f; break;
    case Op::LocalContour: a.s = (params->p[1][0] - 0.5f) * 3.0f; break;
    case Op::ColorContrast: a.s = (params->p[1][0] - 0.25f) * 8.0f; break;
    case Op::VeilingGlare: a.s = params->p[1][0]; break;
    }
    const FilterPlan plan{kernel, MP_calcWindowSize(params, 500.0f), kGeoSlot, kComboSlot, a.usesPlane()};
    return MP_runWindowFilter(a, plan, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

} // namespace

int MP_calcPixelLocalContrast(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    return contrastDriver(Op::LocalContrast, "MP_calcPixelLocalContrast", sizex, sizey, src, dst, srcBpp, dstBpp,
                          params);
}
int MP_calcPixelLocalContour(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params)
{
    return contrastDriver(Op::LocalContour, "MP_calcPixelLocalContour", sizex, sizey, src, dst, srcBpp, dstBpp,
                          params);
}
int MP_calcPixelColorContrast(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    return contrastDriver(Op::ColorContrast, "MP_calcPixelColorContrast", sizex, sizey, src, dst, srcBpp, dstBpp,
                          params);
}
int MP_calcPixelVeilingGlare(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params)
{
    return contrastDriver(Op::VeilingGlare, "MP_calcPixelVeilingGlare", sizex, sizey, src, dst, srcBpp, dstBpp,
                          params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelLocalContrast", MP_calcPixelLocalContrast},
    {"MP_calcPixelLocalContour", MP_calcPixelLocalContour},
    {"MP_calcPixelColorContrast", MP_calcPixelColorContrast},
    {"MP_calcPixelVeilingGlare", MP_calcPixelVeilingGlare},
};
extern const MP_DriverTable MP_drivers_localcontrast = MP_driverTable(kDrivers);
