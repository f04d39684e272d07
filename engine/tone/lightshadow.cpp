// Lights and shadows: "Licht/Schatten anpassen", "Licht/Schatten färben",
// "Zentrum belichten" and "Vignettierung". Every power and logarithm of the
// light, shadow and vignette curves comes from a 65,536-entry table built in a
// prepass; "Zentrum belichten" alone takes its powers per pixel.

#include "engine/tone/lightshadow.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/pointrows.h"
#include "engine/core/rgb48avx2.h"

#include <cfloat>
#include <cmath>
#include <cstdint>


namespace {

// Index of a working colour 0..1 into a 65,536-entry table.
inline int idx(float v) { return MP_tableIndex(v); }

// ---- "Licht/Schatten anpassen" ---------------------------------------------------

struct LightShadowArgs {
    MP_DriverRun run;
    float L;  // light ceiling 0.5..1
    float S;  // shadow floor 0..0.5
    float a;  // light exponent
    float b;  // shadow exponent
};

void MP_TaskPre1_calcPixelLightShadow(TaskFuncParams t)
{
    const LightShadowArgs* a = MP_taskArgs<LightShadowArgs>(t);
    const float la = a->a, sb = a->b;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i) {
        const float v = static_cast<float>(i) * MP_k;
        MP_temp_table[i] = std::pow(v, la);
        MP_temp2_table[i] = std::pow(v + 0.001f, sb);
    }
}

// The two curves indexed by a 16-bit value v instead of idx(v * k): what a
// pixel whose colour is not clipped reads, the lights at v and the shadows at
// 65536 + v, so one lookup serves both (valid for one run).
float s_curvesBy16[2 * 65536];

void MP_TaskPre2_calcPixelLightShadow(TaskFuncParams t)
{
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i) {
        const int j = MP_tableIndex(static_cast<float>(i) * MP_k);
        s_curvesBy16[i] = MP_temp_table[j];
        s_curvesBy16[65536 + i] = MP_temp2_table[j];
    }
}

inline MP_float3 lightShadowEffect(const LightShadowArgs& a, MP_float3 c0, float lr, float lg, float lb)
{
    const float lum = lr * c0.x + lg * c0.y + lb * c0.z;
    MP_float3 c = c0;
    if (lum > a.L) {
        // the lights are pulled down to the ceiling, hue kept
        const float f = a.L / lum;
        c = {c.x * f, c.y * f, c.z * f};
    }
    if (lum < a.S)
        c = {0.0f, 0.0f, 0.0f};
    // Both weights follow the luminance of the source colour.
    const float wl = (lum - 0.5f) * 2.0f;
    if (wl > 0.0f) {
        const float keep = 1.0f - wl;
        c.x = wl * MP_temp_table[idx(c.x)] + keep * c.x;
        c.y = wl * MP_temp_table[idx(c.y)] + keep * c.y;
        c.z = wl * MP_temp_table[idx(c.z)] + keep * c.z;
    }
    const float ws = (0.5f - lum) * 2.0f;
    if (ws > 0.0f) {
        const float keep = 1.0f - ws;
        c.x = ws * MP_temp2_table[idx(c.x)] + keep * c.x;
        c.y = ws * MP_temp2_table[idx(c.y)] + keep * c.y;
        c.z = ws * MP_temp2_table[idx(c.z)] + keep * c.z;
    }
    return c;
}

void MP_Task_calcPixelLightShadow(TaskFuncParams t)
{
    const LightShadowArgs* a = MP_taskArgs<LightShadowArgs>(t);
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a, lr, lg, lb](MP_float3 c0, int, int) { return lightShadowEffect(*a, c0, lr, lg, lb); });
}

#ifdef MP_HAS_X86_SIMD
// The reduced worker, eight pixels at a time with AVX2 where the processor
// has it: the arithmetic of lightShadowEffect lane by lane (no fused
// multiply-add: every product and sum is rounded on its own, so the result is
// bit for bit the per-pixel one), the table entries gathered. Pixels whose
// colour is not pulled down to the ceiling read the curves by their 16-bit
// values (s_curvesBy16).
__attribute__((target("avx2"))) void lightShadowRows8(const LightShadowArgs* a, int rowStart, int rowEnd)
{
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    const int width = a->run.width;
    const __m256 L = _mm256_set1_ps(a->L), S = _mm256_set1_ps(a->S), zero = _mm256_setzero_ps();
    const __m256 half = _mm256_set1_ps(0.5f), two = _mm256_set1_ps(2.0f), one = _mm256_set1_ps(1.0f);
    const __m256 k = _mm256_set1_ps(MP_k), full = _mm256_set1_ps(65535.0f);
    const __m256 vr = _mm256_set1_ps(lr), vg = _mm256_set1_ps(lg), vb = _mm256_set1_ps(lb);
    MP_rowsRGB48By8(
        a->run.src, a->run.dst, width, rowStart, rowEnd,
        [&](__m256i& r, __m256i& g, __m256i& b) __attribute__((target("avx2"))) {
            const __m256i ichannel[3] = {r, g, b};
            __m256 c[3] = {_mm256_mul_ps(_mm256_cvtepi32_ps(ichannel[0]), k),
                           _mm256_mul_ps(_mm256_cvtepi32_ps(ichannel[1]), k),
                           _mm256_mul_ps(_mm256_cvtepi32_ps(ichannel[2]), k)};
            const __m256 lum =
                _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(vr, c[0]), _mm256_mul_ps(vg, c[1])), _mm256_mul_ps(vb, c[2]));
            const __m256 over = _mm256_cmp_ps(lum, L, _CMP_GT_OQ);
            const __m256 under = _mm256_cmp_ps(lum, S, _CMP_LT_OQ);
            const __m256 wl = _mm256_mul_ps(_mm256_sub_ps(lum, half), two);
            const __m256 ws = _mm256_mul_ps(_mm256_sub_ps(half, lum), two);
            const __m256 light = _mm256_cmp_ps(wl, zero, _CMP_GT_OQ);
            const __m256 shade = _mm256_cmp_ps(ws, zero, _CMP_GT_OQ);
            const __m256 notShade = _mm256_andnot_ps(shade, _mm256_castsi256_ps(_mm256_set1_epi32(-1)));
            const __m256 w = _mm256_blendv_ps(_mm256_blendv_ps(zero, ws, shade), wl, light);
            const __m256 keep = _mm256_sub_ps(one, w);
            const __m256 mix = _mm256_cmp_ps(w, zero, _CMP_GT_OQ);
            const bool anyOver = _mm256_movemask_ps(over) != 0;
            __m256 f = zero;
            if (anyOver)
                f = _mm256_div_ps(L, lum);
            __m256i q[3];
            for (int ch = 0; ch < 3; ++ch) {
                __m256 v = c[ch];
                __m256 t;
                if (!anyOver) {
                    // not pulled down: read the curves by the 16-bit value (0 when black)
                    const __m256i idx = _mm256_andnot_si256(_mm256_castps_si256(under), ichannel[ch]);
                    v = _mm256_blendv_ps(v, zero, under);
                    const __m256i curve = _mm256_and_si256(_mm256_castps_si256(shade), _mm256_set1_epi32(65536));
                    t = _mm256_i32gather_ps(s_curvesBy16, _mm256_add_epi32(idx, curve), 4);
                } else {
                    v = _mm256_blendv_ps(v, _mm256_mul_ps(v, f), over);
                    v = _mm256_blendv_ps(v, zero, under);
                    __m256 xi = _mm256_mul_ps(v, full);
                    xi = _mm256_max_ps(xi, zero); // NaN gives 0
                    xi = _mm256_min_ps(xi, full);
                    const __m256i idx = _mm256_cvttps_epi32(xi);
                    t = _mm256_mask_i32gather_ps(zero, MP_temp_table, idx, notShade, 4);
                    t = _mm256_mask_i32gather_ps(t, MP_temp2_table, idx, shade, 4);
                }
                const __m256 mixed = _mm256_add_ps(_mm256_mul_ps(w, t), _mm256_mul_ps(keep, v));
                v = _mm256_blendv_ps(v, mixed, mix);
                v = _mm256_max_ps(v, zero); // clamped to 0..1, NaN gives 0
                v = _mm256_min_ps(v, one);
                q[ch] = _mm256_cvttps_epi32(_mm256_mul_ps(v, full));
            }
            r = q[0];
            g = q[1];
            b = q[2];
        },
        [&](const ushort* s, ushort* d, int x) {
            for (; x < width; ++x)
                MP_storeRGB48Clamped(d + static_cast<size_t>(x) * 3,
                                     lightShadowEffect(*a, MP_loadRGB48(s + static_cast<size_t>(x) * 3), lr, lg, lb));
        });
}

#endif

void MP_Task_calcPixelLightShadowReduced(TaskFuncParams t)
{
    const LightShadowArgs* a = MP_taskArgs<LightShadowArgs>(t);
#ifdef MP_HAS_X86_SIMD
    if (MP_hasAvx2()) {
        lightShadowRows8(a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
#endif
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a, lr, lg, lb](MP_float3 c0, int, int) { return lightShadowEffect(*a, c0, lr, lg, lb); });
}

// ---- "Licht/Schatten färben" -----------------------------------------------------

struct ColorLightShadowArgs {
    MP_DriverRun run;
    float kl; // exponent of the lights
    float ks; // exponent of the shadows
    int64_t wr, wg, wb; // 14-bit luminance weights
};

// Exponent of one slider: t = 0.99 q + 0.01, then 10 t / 4 below 0.5 and
// 10 (t - 0.375) from 0.5 on.
float colourExponent(float q)
{
    const float t = 0.99f * q + 0.01f;
    if (t < 0.5f)
        return 10.0f * (t / 4.0f);
    return 10.0f * (t - 0.375f);
}

constexpr float kLn2 = 0.69314718f;

void MP_TaskPre1_calcPixelColorLightShadow(TaskFuncParams t)
{
    const ColorLightShadowArgs* a = MP_taskArgs<ColorLightShadowArgs>(t);
    const float kl = a->kl, ks = a->ks;
    const float nl = std::pow(kLn2, kl), ns = std::pow(kLn2, ks);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i) {
        const float l = std::log(static_cast<float>(i) * MP_k + 1.0f);
        MP_temp_table[i] = std::pow(l, kl) / nl;
        MP_temp2_table[i] = std::pow(l, ks) / ns;
    }
}

// px: the 16-bit source pixel, c0 the same as working colour.
inline MP_float3 colorLightShadowEffect(const ColorLightShadowArgs& a, const ushort* px, MP_float3 c0)
{
    // Weights summing to 1 keep the sum below 2^30; a caller's own block may
    // hold wider ones, so the sum is taken in 64 bits.
    const int l14 = static_cast<int>((a.wr * px[0] + a.wg * px[1] + a.wb * px[2]) >> 14);
    const float l = static_cast<float>(l14) * MP_k;
    const float* T;
    float w;
    if (l14 > 32766) {
        T = MP_temp_table;
        w = (l - 0.5f) * 2.0f;
    } else {
        T = MP_temp2_table;
        w = (0.5f - l) * 2.0f;
    }
    const float tr = T[px[0]], tg = T[px[1]], tb = T[px[2]];
    const float ts = tr + tg + tb;
    const float e = ts > 0.0f ? w * (c0.x + c0.y + c0.z) / ts : w;
    const float keep = 1.0f - w;
    return {c0.x * keep + tr * e, c0.y * keep + tg * e, c0.z * keep + tb * e};
}

void MP_Task_calcPixelColorLightShadow(TaskFuncParams t)
{
    const ColorLightShadowArgs* a = MP_taskArgs<ColorLightShadowArgs>(t);
    const ushort* src = a->run.src;
    const size_t width = static_cast<size_t>(a->run.width);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, src, width](MP_float3 c0, int x, int y) {
        const ushort* px = src + (static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 3;
        return colorLightShadowEffect(*a, px, c0);
    });
}

void MP_Task_calcPixelColorLightShadowReduced(TaskFuncParams t)
{
    const ColorLightShadowArgs* a = MP_taskArgs<ColorLightShadowArgs>(t);
    const size_t rowLen = static_cast<size_t>(a->run.width) * 3;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a->run.src + static_cast<size_t>(y) * rowLen;
        ushort* d = a->run.dst + static_cast<size_t>(y) * rowLen;
        for (int x = 0; x < a->run.width; ++x, s += 3, d += 3)
            MP_storeRGB48Clamped(d, colorLightShadowEffect(*a, s, MP_loadRGB48(s)));
    }
}

// ---- Position-dependent operators ---------------------------------------------------

// Distance terms from the centre, shared by "Zentrum belichten" and
// "Vignettierung": at aspect 1 in fractions of the image, at 0 in fractions of
// the short side.
struct CentreFrame {
    float invx, invy; // 1 / sizex, 1 / sizey
    float fx, fy;     // A + (size / short side) * (1 - A)
    float cx, cy;     // centre as fractions of the image

    void init(int sizex, int sizey, float A, float centreX, float centreY)
    {
        const int s = sizex < sizey ? sizex : sizey;
        const float fs = static_cast<float>(s);
        invx = 1.0f / static_cast<float>(sizex);
        invy = 1.0f / static_cast<float>(sizey);
        fx = A + (static_cast<float>(sizex) / fs) * (1.0f - A);
        fy = A + (static_cast<float>(sizey) / fs) * (1.0f - A);
        cx = centreX;
        cy = centreY;
    }
    float dx(int x) const { return (static_cast<float>(x) * invx - cx) * fx; }
    float dy(int y) const { return (static_cast<float>(y) * invy - cy) * fy; }
};

// ---- "Zentrum belichten" -----------------------------------------------------------

struct CenterLightArgs {
    MP_DriverRun run;
    CentreFrame frame;
    float cs; // centre strength -1..1
    float bs; // border strength -1..1
};

inline MP_float3 centerLightEffect(const CenterLightArgs& a, MP_float3 c0, int x, int y)
{
    const float dx = a.frame.dx(x);
    const float dy = a.frame.dy(y);
    const float r = std::sqrt(dx * dx + dy * dy);
    const float d = 1.0f - (2.0f * r - 0.5f);
    float e;
    if (d > 0.5f) {
        const float t = MP_clamp(d - 0.5f, 0.0f, 1.0f);
        e = 1.0f - t * a.cs;
    } else {
        const float t = MP_clamp(1.0f - (d + 0.5f), 0.0f, 1.0f);
        const float u = 1.0f + t * a.bs;
        e = u * u * u;
    }
    return {std::pow(c0.x, e), std::pow(c0.y, e), std::pow(c0.z, e)};
}

void MP_Task_calcPixelCenterLight(TaskFuncParams t)
{
    const CenterLightArgs* a = MP_taskArgs<CenterLightArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c0, int x, int y) { return centerLightEffect(*a, c0, x, y); });
}

void MP_Task_calcPixelCenterLightReduced(TaskFuncParams t)
{
    const CenterLightArgs* a = MP_taskArgs<CenterLightArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c0, int x, int y) { return centerLightEffect(*a, c0, x, y); });
}

// ---- "Vignettierung" -------------------------------------------------------------------

struct VignetteArgs {
    MP_DriverRun run;
    CentreFrame frame;
    float v;          // strength -1.95..1.95 (negative: darker borders)
    float dz;         // 2 - |v|
    float exponent;   // 3 h
    float tr, tg, tb; // tint
    float* power;     // pow(i / 65535, exponent), kept between runs
};

// The power table depends on one slider only: kept while it stays.
MP_KeptTable<1> s_vignettePower;

void MP_TaskPre1_calcPixelVignette(TaskFuncParams t)
{
    const VignetteArgs* a = MP_taskArgs<VignetteArgs>(t);
    const float e = a->exponent;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        a->power[i] = std::pow(static_cast<float>(i) * MP_k, e);
}

inline MP_float3 vignetteEffect(const VignetteArgs& a, MP_float3 c0, int x, int y, float lr, float lg, float lb)
{
    const float dx = a.frame.dx(x);
    const float dy = a.frame.dy(y);
    const float dz = a.dz;
    const float root = std::sqrt(dx * dx + dy * dy + dz * dz);
    float P = a.power[0];
    if (root != 0.0f) {
        const float cosine = dz / root;
        P = a.power[MP_safeTrunc(cosine * 65535.0f, -65535, 65535) & 0xFFFF];
    }
    const float J = MP_clamp((P - 0.25f) * 2.0f, 0.0f, 1.0f);
    const float K = 1.0f - J;
    const float lum = lr * c0.x + lg * c0.y + lb * c0.z;
    MP_float3 c{c0.x * J + lum * a.tr * K, c0.y * J + lum * a.tg * K, c0.z * J + lum * a.tb * K};
    if (a.v > 0.0f) {
        if (P >= FLT_MIN) {
            c = {c.x / P, c.y / P, c.z / P};
        } else {
            // a^(3h) has run out of range (strong settings far from the
            // centre): brighten by the largest factor that stays finite.
            c = {MP_clamp(c.x / FLT_MIN, -FLT_MAX, FLT_MAX), MP_clamp(c.y / FLT_MIN, -FLT_MAX, FLT_MAX),
                 MP_clamp(c.z / FLT_MIN, -FLT_MAX, FLT_MAX)};
        }
    } else if (a.v < 0.0f) {
        c = {c.x * P, c.y * P, c.z * P};
    }
    return c;
}

// The reduced worker's rows in blocks: vignetteEffect's operations (the
// square roots and the table lookup in loops of their own, the branches as
// selects; the sign of the strength is the same for the whole run).
MP_POINT_BODY void vignetteRowsBody(const VignetteArgs& a, int start, int end)
{
    constexpr int N = MP_POINT_BLOCK;
    const MP_DriverRun& run = a.run;
    const float lr = run.params->lumr, lg = run.params->lumg, lb = run.params->lumb;
    const float dz = a.dz, tr = a.tr, tg = a.tg, tb = a.tb;
    const CentreFrame f = a.frame;
    const bool brighten = a.v > 0.0f, darken = a.v < 0.0f;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        const float dy = f.dy(y);
        for (int x0 = 0; x0 < run.width; x0 += N) {
            const int n = run.width - x0 < N ? run.width - x0 : N;
            float C[3][N], Q[N], P[N];
            int I[N];
            for (int i = 0; i < n; ++i) {
                const float dx = (static_cast<float>(x0 + i) * f.invx - f.cx) * f.fx; // CentreFrame::dx
                Q[i] = dx * dx + dy * dy + dz * dz;
            }
            MP_pointSqrt(Q, (n + 3) & ~3);
            for (int i = 0; i < n; ++i) {
                const float root = Q[i];
                const float cosine = dz / root;
                I[i] = root != 0.0f ? (MP_pointTrunc(cosine * 65535.0f, -65535, 65535) & 0xFFFF) : 0;
            }
            MP_pointLookup(a.power, I, P, n);
            MP_pointLoad(run.src + row + 3 * static_cast<size_t>(x0), n, C[0], C[1], C[2]);
            for (int i = 0; i < n; ++i) {
                const float j0 = (P[i] - 0.25f) * 2.0f;
                const float J = j0 < 0.0f ? 0.0f : (1.0f < j0 ? 1.0f : j0); // MP_clamp(j0, 0, 1)
                const float K = 1.0f - J;
                const float x = C[0][i], yv = C[1][i], z = C[2][i];
                const float lum = lr * x + lg * yv + lb * z;
                C[0][i] = x * J + lum * tr * K;
                C[1][i] = yv * J + lum * tg * K;
                C[2][i] = z * J + lum * tb * K;
            }
            if (brighten) {
                // divided by P, or as far as stays finite where P ran out of range
                for (int k = 0; k < 3; ++k)
                    for (int i = 0; i < n; ++i) {
                        const float c = C[k][i], p = P[i];
                        const float q = c / p;
                        const float m = c / FLT_MIN;
                        const float mc = m < -FLT_MAX ? -FLT_MAX : (FLT_MAX < m ? FLT_MAX : m);
                        C[k][i] = p >= FLT_MIN ? q : mc;
                    }
            } else if (darken) {
                for (int k = 0; k < 3; ++k)
                    for (int i = 0; i < n; ++i)
                        C[k][i] = C[k][i] * P[i];
            }
            MP_pointStore(run.dst + row + 3 * static_cast<size_t>(x0), n, C[0], C[1], C[2]);
        }
    }
}
MP_POINT_ROWS_COPIES(vignetteRows, VignetteArgs)

void MP_Task_calcPixelVignette(TaskFuncParams t)
{
    const VignetteArgs* a = MP_taskArgs<VignetteArgs>(t);
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, lr, lg, lb](MP_float3 c0, int x, int y) {
        return vignetteEffect(*a, c0, x, y, lr, lg, lb);
    });
}

void MP_Task_calcPixelVignetteReduced(TaskFuncParams t)
{
    const VignetteArgs* a = MP_taskArgs<VignetteArgs>(t);
    if (!MP_plainPointLoops()) {
        vignetteRows(*a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, lr, lg, lb](MP_float3 c0, int x, int y) {
        return vignetteEffect(*a, c0, x, y, lr, lg, lb);
    });
}

} // namespace

// ---- Drivers ---------------------------------------------------------------------------

int MP_calcPixelLightShadow(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    LightShadowArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return r;
    a.L = 0.5f * params->p[0][0] + 0.5f;
    a.S = 0.5f * params->p[1][0];
    a.a = (1.0f - params->p[2][0]) * 1.99f + 0.01f;
    a.b = (1.0f - params->p[3][0]) * 1.99f + 0.01f;
    const TaskFuncParams task = MP_makeTask(params, &a);
    MP_runTablePass(MP_TaskPre1_calcPixelLightShadow, task);
    if (!a.run.full)
        MP_runTablePass(MP_TaskPre2_calcPixelLightShadow, task);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelLightShadow, MP_Task_calcPixelLightShadowReduced, 8);
}

int MP_calcPixelColorLightShadow(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    ColorLightShadowArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    a.kl = colourExponent(params->p[0][0]);
    a.ks = colourExponent(params->p[1][0]);
    // Weights are 0..1 (sum 1): held to that range before they become ints.
    a.wr = MP_safeTrunc(params->lumr * 16384.0f, 0, 1 << 16);
    a.wg = MP_safeTrunc(params->lumg * 16384.0f, 0, 1 << 16);
    a.wb = MP_safeTrunc(params->lumb * 16384.0f, 0, 1 << 16);
    MP_runTablePass(MP_TaskPre1_calcPixelColorLightShadow, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelColorLightShadow, MP_Task_calcPixelColorLightShadowReduced,
                             8);
}

int MP_calcPixelCenterLight(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    CenterLightArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return r;
    a.cs = 2.0f * params->p[0][0] - 1.0f;
    a.bs = 2.0f * (1.0f - params->p[1][0]) - 1.0f;
    a.frame.init(sizex, sizey, params->p[2][0], params->p[3][0], params->p[3][1]);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelCenterLight, MP_Task_calcPixelCenterLightReduced, 4);
}

int MP_calcPixelVignette(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    VignetteArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 6, 5))
        return r;
    const float q = params->p[0][0] - 0.5f;
    a.v = MP_sign(q) * MP_fabs(q) * 3.9f;
    const float h1 = 1.0f + 5.0f * params->p[1][0];
    const float h = h1 * h1;
    a.exponent = 3.0f * h;
    a.dz = 2.0f - MP_fabs(a.v);
    a.frame.init(sizex, sizey, params->p[2][0], params->p[3][0], params->p[3][1]);
    a.tr = params->p[4][2];
    a.tg = params->p[4][3];
    a.tb = params->p[4][4];
    a.power = s_vignettePower.table;
    const float powerKey[1] = {a.exponent};
    if (s_vignettePower.needsFill(powerKey)) {
        MP_runTablePass(MP_TaskPre1_calcPixelVignette, MP_makeTask(params, &a));
        s_vignettePower.filled();
    }
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelVignette, MP_Task_calcPixelVignetteReduced, 4);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelLightShadow", MP_calcPixelLightShadow},
    {"MP_calcPixelColorLightShadow", MP_calcPixelColorLightShadow},
    {"MP_calcPixelCenterLight", MP_calcPixelCenterLight},
    {"MP_calcPixelVignette", MP_calcPixelVignette},
};
extern const MP_DriverTable MP_drivers_lightshadow = MP_driverTable(kDrivers);
