#include "engine/colour/temperature.h"

#include "engine/MP_calccl.h"
#include "engine/core/colortemp.h"
#include "engine/core/driverframe.h"
#include "engine/core/rgb48avx2.h"
#include "engine/core/splines.h"

#include <cstddef>

namespace {

constexpr int kProgressPeriod = 8;

// The 16-bit source pixel at (x, y) of a run.
inline const ushort* sourcePixel(const MP_DriverRun& run, int x, int y)
{
    return run.src + (static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x)) * 3;
}

// Q14 product of a weight 0..1 (held there) by 16384.
inline uint32_t q14(float w) { return static_cast<uint32_t>(MP_safeTrunc(w * 16384.0f, 0, 16384)); }

} // namespace

MP_ColorTempFixed MP_colorTempFixed(float lumr, float lumg, float lumb, float whiter, float whiteg, float whiteb)
{
    MP_ColorTempFixed f;
    f.lr = q14(lumr);
    f.lg = q14(lumg);
    f.lb = q14(lumb);
    const int m = MP_safeTrunc((whiter + whiteg + whiteb) / 3.0f * 16384.0f, 0, 16384) + 16384;
    const float white[3] = {whiter, whiteg, whiteb};
    for (int c = 0; c < 3; ++c)
        f.gain[c] = static_cast<uint32_t>(MP_iclamp(m - MP_safeTrunc(white[c] * 16384.0f, 0, 16384), 0, 32768));
    return f;
}

int MP_colorTempMaskEntry(float curve)
{
    // The curve's constant shortcut is not clamped: a constant above 1 or
    // below 0 would take the Q15 products out of range.
    const float v = curve > 0.0f ? (curve < 1.0f ? curve : 1.0f) : 0.0f;
    return static_cast<int>(static_cast<double>(v) * 32767.0);
}

// ---- Rows of the fixed-point colour temperature ------------------------------------

namespace {

MP_ColorTempFixed fixedOf(const MP_ColorTempRun* a)
{
    const MP_Params* p = a->run.params;
    return MP_colorTempFixed(p->lumr, p->lumg, p->lumb, a->whiter, a->whiteg, a->whiteb);
}

template <bool WithCurve>
void colorTempFullRows(const MP_ColorTempRun* a, int start, int end)
{
    const MP_ColorTempFixed f = fixedOf(a);
    MP_fullWorkerRows(a->run, start, end, [a, &f](MP_float3, int x, int y) {
        uint32_t o[3];
        MP_colorTempPixel<WithCurve>(f, a->mask, a->curve, sourcePixel(a->run, x, y), o);
        return MP_float3{static_cast<float>(o[0]) * MP_k, static_cast<float>(o[1]) * MP_k,
                         static_cast<float>(o[2]) * MP_k};
    });
}

// Pixels x0..width of a row, one at a time.
template <bool WithCurve>
inline void colorTempPixels(const MP_ColorTempFixed& f, const int* mask, const int* curve, const ushort* s,
                            ushort* d, int x0, int width)
{
    for (int x = x0; x < width; ++x) {
        uint32_t o[3];
        MP_colorTempPixel<WithCurve>(f, mask, curve, s + static_cast<size_t>(x) * 3, o);
        ushort* px = d + static_cast<size_t>(x) * 3;
        px[0] = static_cast<ushort>(o[0]);
        px[1] = static_cast<ushort>(o[1]);
        px[2] = static_cast<ushort>(o[2]);
    }
}

#ifdef MP_HAS_X86_SIMD
// MP_colorTempPixel for eight pixels in 32-bit lanes: the same integer
// products, shifts and limits (every sum stays below 2^32), the mask and the
// curve entries gathered.
template <bool WithCurve>
__attribute__((target("avx2"))) void colorTempRows8(const MP_ColorTempRun* a, const MP_ColorTempFixed& f, int start,
                                                    int end)
{
    const int* mask = a->mask;
    const int* curve = a->curve;
    const int width = a->run.width;
    const __m256i lr = _mm256_set1_epi32(static_cast<int>(f.lr)), lg = _mm256_set1_epi32(static_cast<int>(f.lg)),
                  lb = _mm256_set1_epi32(static_cast<int>(f.lb));
    const __m256i gain[3] = {_mm256_set1_epi32(static_cast<int>(f.gain[0])),
                             _mm256_set1_epi32(static_cast<int>(f.gain[1])),
                             _mm256_set1_epi32(static_cast<int>(f.gain[2]))};
    const __m256i top = _mm256_set1_epi32(65535);
    MP_rowsRGB48By8(
        a->run.src, a->run.dst, width, start, end,
        [&](__m256i& r, __m256i& g, __m256i& b) __attribute__((target("avx2"))) {
            __m256i* c[3] = {&r, &g, &b};
            __m256i L = _mm256_add_epi32(_mm256_add_epi32(_mm256_mullo_epi32(lr, r), _mm256_mullo_epi32(lg, g)),
                                         _mm256_mullo_epi32(lb, b));
            L = _mm256_min_epu32(_mm256_srli_epi32(L, 14), top);
            const __m256i S = _mm256_i32gather_epi32(mask, L, 4);
            for (int ch = 0; ch < 3; ++ch) {
                const __m256i C = *c[ch];
                __m256i e = _mm256_min_epu32(_mm256_srli_epi32(_mm256_mullo_epi32(gain[ch], C), 14), top);
                if constexpr (WithCurve)
                    e = _mm256_i32gather_epi32(curve, e, 4);
                // e S + (32767 - S) C as S (e - C) + 32768 C - C: equal
                // modulo 2^32, so the same bits, with one product fewer
                const __m256i eS = _mm256_mullo_epi32(_mm256_sub_epi32(e, C), S);
                *c[ch] = _mm256_srli_epi32(_mm256_sub_epi32(_mm256_add_epi32(eS, _mm256_slli_epi32(C, 15)), C), 15);
            }
        },
        [&](const ushort* s, ushort* d, int x) { colorTempPixels<WithCurve>(f, mask, curve, s, d, x, width); });
}
#endif

template <bool WithCurve>
void colorTempReducedRows(const MP_ColorTempRun* a, int start, int end)
{
    const MP_ColorTempFixed f = fixedOf(a);
#ifdef MP_HAS_X86_SIMD
    if (MP_hasAvx2()) {
        colorTempRows8<WithCurve>(a, f, start, end);
        return;
    }
#endif
    const size_t rowLen = static_cast<size_t>(a->run.width) * 3;
    for (int y = start; y < end; ++y)
        colorTempPixels<WithCurve>(f, a->mask, a->curve, a->run.src + static_cast<size_t>(y) * rowLen,
                                   a->run.dst + static_cast<size_t>(y) * rowLen, 0, a->run.width);
}

} // namespace

void MP_Task_colorTempRows(TaskFuncParams t)
{
    const MP_ColorTempRun* a = MP_taskArgs<MP_ColorTempRun>(t);
    if (a->curve)
        colorTempFullRows<true>(a, MP_taskStart(t), MP_taskEnd(t));
    else
        colorTempFullRows<false>(a, MP_taskStart(t), MP_taskEnd(t));
}

void MP_Task_colorTempRowsReduced(TaskFuncParams t)
{
    const MP_ColorTempRun* a = MP_taskArgs<MP_ColorTempRun>(t);
    if (a->curve)
        colorTempReducedRows<true>(a, MP_taskStart(t), MP_taskEnd(t));
    else
        colorTempReducedRows<false>(a, MP_taskStart(t), MP_taskEnd(t));
}

void MP_colorTempMaskTable(const float* knots, int start, int end, int* mask)
{
    const float* s = knots;
    constexpr int kChunk = 512;
    float curve[kChunk];
    for (int i0 = start; i0 < end; i0 += kChunk) {
        const int n = end - i0 < kChunk ? end - i0 : kChunk;
        MP_cubicSplinePoints(1, i0, i0 + n, curve, s[0], s[2], s[4], s[6], s[8], s[10], s[1], s[3], s[5], s[7], s[9],
                             s[11]);
        for (int k = 0; k < n; ++k)
            mask[i0 + k] = MP_colorTempMaskEntry(curve[k]);
    }
}

// ---- Farbtemperatur -------------------------------------------------------------

namespace {

void MP_TaskPre1_calcPixelColorTemperature(TaskFuncParams t)
{
    MP_colorTempMaskTable(MP_taskParams(t)->p[1], MP_taskStart(t), MP_taskEnd(t), MP_itemp_table);
}

} // namespace

int MP_calcPixelColorTemperature(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    MP_ColorTempRun a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    const float colortemp = 15500.0f * params->p[0][0] + 1000.0f;
    MP_UI_GetRGBFromTemperatur(&a.whiter, &a.whiteg, &a.whiteb, colortemp);
    a.mask = MP_itemp_table;
    MP_runTablePass(MP_TaskPre1_calcPixelColorTemperature, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_colorTempRows, MP_Task_colorTempRowsReduced, kProgressPeriod);
}

// ---- manueller Weißabgleich -------------------------------------------------------

namespace {

struct WhitebalanceArgs {
    MP_DriverRun run;
    float whiter, whiteg, whiteb;
};

// (f - white_c)^2 with f = 1 + mean of the white.
MP_float3 whiteGains(const WhitebalanceArgs* a, float mean)
{
    const float f = 1.0f + mean;
    const float r = f - a->whiter, g = f - a->whiteg, b = f - a->whiteb;
    return {r * r, g * g, b * b};
}

void MP_Task_calcPixelWhitebalance(TaskFuncParams t)
{
    const WhitebalanceArgs* a = MP_taskArgs<WhitebalanceArgs>(t);
    const MP_float3 gain = whiteGains(a, (a->whiter + a->whiteg + a->whiteb) / 3.0f);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [gain](MP_float3 c, int, int) {
        return MP_float3{c.x * gain.x, c.y * gain.y, c.z * gain.z};
    });
}

void MP_Task_calcPixelWhitebalanceReduced(TaskFuncParams t)
{
    const WhitebalanceArgs* a = MP_taskArgs<WhitebalanceArgs>(t);
    const MP_float3 gain = whiteGains(a, (a->whiter + a->whiteg + a->whiteb) * 0.33333f);
    // Below 0 is written as 0, above 1 as 65535.
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [gain](MP_float3 c, int, int) {
        return MP_float3{c.x * gain.x, c.y * gain.y, c.z * gain.z};
    });
}

} // namespace

int MP_calcPixelWhitebalance(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    WhitebalanceArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, 1))
        return r;
    a.whiter = params->p[0][2];
    a.whiteg = params->p[0][3];
    a.whiteb = params->p[0][4];
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelWhitebalance, MP_Task_calcPixelWhitebalanceReduced,
                             kProgressPeriod);
}

// ---- Farbkanal Gamma and Farbbalance ---------------------------------------------
// Both raise each channel to its own exponent through three 65,536-entry
// tables; they differ only in how the exponents are derived.

namespace {

struct GammaArgs {
    MP_DriverRun run;
    float gammar, gammag, gammab;
};

// The reduced worker's output per table entry, (int)(entry * 65535) with the
// entry held to 0..1, so that it reads one 16-bit value per channel; filled
// by the prepass next to the float tables, valid for one run.
ushort s_gamma16[3][65536];

inline ushort gamma16(float e) { return static_cast<ushort>(static_cast<int>(mp_blend_detail::clampUnit(e) * 65535.0f)); }

void MP_TaskPre1_calcPixelGammaColor(TaskFuncParams t)
{
    const GammaArgs* a = MP_taskArgs<GammaArgs>(t);
    for (int i = MP_taskStart(t), end = MP_taskEnd(t); i < end; ++i) {
        const float x = static_cast<float>(i) * MP_k;
        MP_temp_table[i] = MP_pow(x, a->gammar);
        MP_temp2_table[i] = MP_pow(x, a->gammag);
        MP_temp3_table[i] = MP_pow(x, a->gammab);
        // Tables of a negative exponent (a slider beyond its range) hold
        // infinities: held to white; within range this changes nothing.
        s_gamma16[0][i] = gamma16(MP_temp_table[i]);
        s_gamma16[1][i] = gamma16(MP_temp2_table[i]);
        s_gamma16[2][i] = gamma16(MP_temp3_table[i]);
    }
}

void MP_Task_calcPixelGammaColor(TaskFuncParams t)
{
    const GammaArgs* a = MP_taskArgs<GammaArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a](MP_float3, int x, int y) {
        const ushort* px = sourcePixel(a->run, x, y);
        return MP_float3{MP_temp_table[px[0]], MP_temp2_table[px[1]], MP_temp3_table[px[2]]};
    });
}

void MP_Task_calcPixelGammaColorReduced(TaskFuncParams t)
{
    const GammaArgs* a = MP_taskArgs<GammaArgs>(t);
    const size_t rowLen = static_cast<size_t>(a->run.width) * 3;
    const ushort* tr = s_gamma16[0];
    const ushort* tg = s_gamma16[1];
    const ushort* tb = s_gamma16[2];
    for (int y = MP_taskStart(t), end = MP_taskEnd(t); y < end; ++y) {
        const ushort* s = a->run.src + static_cast<size_t>(y) * rowLen;
        ushort* d = a->run.dst + static_cast<size_t>(y) * rowLen;
        for (size_t i = 0; i < rowLen; i += 3) {
            d[i] = tr[s[i]];
            d[i + 1] = tg[s[i + 1]];
            d[i + 2] = tb[s[i + 2]];
        }
    }
}

inline float gammaOfSlider(float p) { return (1.0f - p) * 1.99f + 0.005f; }

int runGamma(GammaArgs& a)
{
    MP_runTablePass(MP_TaskPre1_calcPixelGammaColor, MP_makeTask(a.run.params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelGammaColor, MP_Task_calcPixelGammaColorReduced,
                             kProgressPeriod);
}

} // namespace

int MP_calcPixelGammaColor(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    GammaArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3))
        return r;
    a.gammar = gammaOfSlider(params->p[0][0]);
    a.gammag = gammaOfSlider(params->p[1][0]);
    a.gammab = gammaOfSlider(params->p[2][0]);
    return runGamma(a);
}

int MP_calcPixelColorBalance(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    GammaArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3))
        return r;
    const float gr = gammaOfSlider(params->p[0][0]);
    const float gg = gammaOfSlider(params->p[1][0]);
    const float gb = gammaOfSlider(params->p[2][0]);
    a.gammar = MP_clamp(gr - 0.5f * (MP_fabs(1.0f - gg) - MP_fabs(1.0f - gb)), 0.0f, 4.0f);
    a.gammag = MP_clamp(gg - 0.5f * (MP_fabs(1.0f - gr) - MP_fabs(1.0f - gb)), 0.0f, 4.0f);
    a.gammab = MP_clamp(gb - 0.5f * (MP_fabs(1.0f - gr) - MP_fabs(1.0f - gg)), 0.0f, 4.0f);
    return runGamma(a);
}

// ---- Sepia Tönung --------------------------------------------------------------

namespace {

struct SepiaArgs {
    MP_DriverRun run;
    float tr, tg, tb; // tone colour minus its mean, plus 1
};

void MP_TaskPre1_calcPixelSepia(TaskFuncParams t)
{
    const float* s = MP_taskParams(t)->p[0];
    MP_cubicSplineTable(MP_taskStart(t), MP_taskEnd(t), MP_temp_table, s[0], s[2], s[4], s[6], s[8], s[10], s[1],
                        s[3], s[5], s[7], s[9], s[11]);
}

// The mask is part of the formula: c (1 - v) + lum t_c v.
inline MP_float3 sepiaOf(const SepiaArgs* a, MP_float3 c)
{
    const MP_Params* p = a->run.params;
    const float lum = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
    const float v = MP_temp_table[MP_tableIndex(lum)];
    const float k = 1.0f - v;
    return {c.x * k + lum * a->tr * v, c.y * k + lum * a->tg * v, c.z * k + lum * a->tb * v};
}

void MP_Task_calcPixelSepia(TaskFuncParams t)
{
    const SepiaArgs* a = MP_taskArgs<SepiaArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a](MP_float3 c, int, int) { return sepiaOf(a, c); });
}

#ifdef MP_HAS_X86_SIMD
// sepiaOf for eight pixels: the same single-precision operations in the same
// order, the mask entries gathered.
__attribute__((target("avx2"))) void sepiaRows8(const SepiaArgs* a, int start, int end)
{
    const MP_Params* p = a->run.params;
    const __m256 lr = _mm256_set1_ps(p->lumr), lg = _mm256_set1_ps(p->lumg), lb = _mm256_set1_ps(p->lumb);
    const __m256 tr = _mm256_set1_ps(a->tr), tg = _mm256_set1_ps(a->tg), tb = _mm256_set1_ps(a->tb);
    const __m256 one = _mm256_set1_ps(1.0f);
    const int width = a->run.width;
    MP_rowsRGB48FloatBy8(
        a->run.src, a->run.dst, width, start, end,
        [&](__m256& r, __m256& g, __m256& b) __attribute__((target("avx2"))) {
            const __m256 lum =
                _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(lr, r), _mm256_mul_ps(lg, g)), _mm256_mul_ps(lb, b));
            const __m256 v = _mm256_i32gather_ps(MP_temp_table, MP_tableIndex8(lum), 4);
            const __m256 k = _mm256_sub_ps(one, v);
            r = _mm256_add_ps(_mm256_mul_ps(r, k), _mm256_mul_ps(_mm256_mul_ps(lum, tr), v));
            g = _mm256_add_ps(_mm256_mul_ps(g, k), _mm256_mul_ps(_mm256_mul_ps(lum, tg), v));
            b = _mm256_add_ps(_mm256_mul_ps(b, k), _mm256_mul_ps(_mm256_mul_ps(lum, tb), v));
        },
        [&](const ushort* s, ushort* d, int x) {
            for (; x < width; ++x)
                MP_storeRGB48Clamped(d + static_cast<size_t>(x) * 3, sepiaOf(a, MP_loadRGB48(s + static_cast<size_t>(x) * 3)));
        });
}
#endif

void MP_Task_calcPixelSepiaReduced(TaskFuncParams t)
{
    const SepiaArgs* a = MP_taskArgs<SepiaArgs>(t);
#ifdef MP_HAS_X86_SIMD
    if (MP_hasAvx2()) {
        sepiaRows8(a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
#endif
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a](MP_float3 c, int, int) { return sepiaOf(a, c); });
}

} // namespace

int MP_calcPixelSepia(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    SepiaArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    const float colr = params->p[1][2], colg = params->p[1][3], colb = params->p[1][4];
    const float m = (colr + colg + colb) / 3.0f;
    a.tr = colr - m + 1.0f;
    a.tg = colg - m + 1.0f;
    a.tb = colb - m + 1.0f;
    MP_runTablePass(MP_TaskPre1_calcPixelSepia, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelSepia, MP_Task_calcPixelSepiaReduced, kProgressPeriod);
}

// ---- Farbverlauf -----------------------------------------------------------------

namespace {

struct TiltColorArgs {
    MP_DriverRun run;
    float size, blend;
    float p1x, p1y, p2x, p2y;
    float colr, colg, colb;
};

// What a task derives once: the line direction, its inverse squared length and
// the reciprocal of the width.
struct TiltLine {
    float dx, dy, a, invx;
};

TiltLine tiltLineOf(const TiltColorArgs* a)
{
    TiltLine l;
    l.dx = a->p2x - a->p1x;
    l.dy = a->p2y - a->p1y;
    const float q = l.dx * l.dx + l.dy * l.dy;
    l.a = q > 0.0f ? 1.0f / q : 999.99994f;
    l.invx = 1.0f / static_cast<float>(a->run.width);
    return l;
}

inline MP_float3 tiltOf(const TiltColorArgs* a, const TiltLine& l, MP_float3 c, int x, int y)
{
    const MP_Params* p = a->run.params;
    const float u = static_cast<float>(x) * l.invx;
    const float w = static_cast<float>(y) / static_cast<float>(a->run.height);
    // Foot of the perpendicular from (u, w) on the (unbounded) line.
    const float lambda = (l.dx * u + l.dy * w - (a->p1x * l.dx + a->p1y * l.dy)) * l.a;
    const float fx = u - (a->p1x + lambda * l.dx);
    const float fy = w - (a->p1y + lambda * l.dy);
    const float dist = MP_sqrt(fx * fx + fy * fy);
    float v = dist * 2.0f * a->size;
    if (v > 1.0f)
        v = 1.0f;
    const float lum = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
    const float iv = 1.0f - v;
    const MP_float3 k{c.x * iv + a->colr * lum * v, c.y * iv + a->colg * lum * v, c.z * iv + a->colb * lum * v};
    const float ratio = lum / (p->lumr * k.x + p->lumg * k.y + p->lumb * k.z + 0.001f);
    const float ib = 1.0f - a->blend;
    return {k.x * ratio * a->blend + k.x * ib, k.y * ratio * a->blend + k.y * ib, k.z * ratio * a->blend + k.z * ib};
}

void MP_Task_calcPixelTiltColor(TaskFuncParams t)
{
    const TiltColorArgs* a = MP_taskArgs<TiltColorArgs>(t);
    const TiltLine l = tiltLineOf(a);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, &l](MP_float3 c, int x, int y) {
        MP_float3 e = tiltOf(a, l, c, x, y);
        if (e.x > 1.0f)
            e.x = 1.0f;
        if (e.y > 1.0f)
            e.y = 1.0f;
        if (e.z > 1.0f)
            e.z = 1.0f;
        return e;
    });
}

void MP_Task_calcPixelTiltColorReduced(TaskFuncParams t)
{
    const TiltColorArgs* a = MP_taskArgs<TiltColorArgs>(t);
    const TiltLine l = tiltLineOf(a);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a, &l](MP_float3 c, int x, int y) { return tiltOf(a, l, c, x, y); });
}

} // namespace

int MP_calcPixelTiltColor(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    TiltColorArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return r;
    a.size = 2.0f * params->p[0][0];
    a.blend = params->p[1][0];
    a.p1x = params->p[2][0];
    a.p1y = params->p[2][1];
    a.p2x = params->p[2][2];
    a.p2y = params->p[2][3];
    a.colr = params->p[3][2];
    a.colg = params->p[3][3];
    a.colb = params->p[3][4];
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelTiltColor, MP_Task_calcPixelTiltColorReduced,
                             kProgressPeriod);
}

// ---- Driver table ---------------------------------------------------------------

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelColorTemperature", MP_calcPixelColorTemperature},
    {"MP_calcPixelWhitebalance", MP_calcPixelWhitebalance},
    {"MP_calcPixelGammaColor", MP_calcPixelGammaColor},
    {"MP_calcPixelColorBalance", MP_calcPixelColorBalance},
    {"MP_calcPixelSepia", MP_calcPixelSepia},
    {"MP_calcPixelTiltColor", MP_calcPixelTiltColor},
};
} // namespace
extern const MP_DriverTable MP_drivers_temperature = MP_driverTable(kDrivers);
