// Hue, saturation and value operators: "Farbton Sättigung Belichtung",
// "Psychedelic" and "Pop-Art".

#include "engine/colour/hsv.h"

#include "engine/MP_calccl.h"
#include "engine/core/rgb48avx2.h"
#include "engine/core/samplers.h"
#include "engine/core/textures.h"

#include <cstring>

void MP_posteriseRatioTable(int start, int end, float* table, float step)
{
    for (int i = start; i < end; ++i) {
        if (i == 0) {
            table[0] = 0.0f;
            continue;
        }
        const float x = static_cast<float>(i) * MP_k;
        table[i] = ((x - std::fmod(x, step)) / x) * 0.99f + 0.005f;
    }
}

namespace {

// The RGB48 size of an image; 0 when it has no pixels.
size_t rgb48Bytes(int sizex, int sizey)
{
    return static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 3 * sizeof(ushort);
}

inline float luminance(const MP_Params* p, MP_float3 c) { return p->lumr * c.x + p->lumg * c.y + p->lumb * c.z; }

// c0 * (1 - m) + e * m per channel.
inline MP_float3 maskMix(MP_float3 c0, MP_float3 e, float m)
{
    const float k = 1.0f - m;
    return {c0.x * k + e.x * m, c0.y * k + e.y * m, c0.z * k + e.z * m};
}

// ---- "Farbton Sättigung Belichtung" ------------------------------------------------
// Slots: 0 "Farbton", 1 "Sättigung", 2 "Belichtung", 3 "Maskierung", 4 combo, 5 geometry.

struct HslArgs {
    MP_DriverRun run;
    float turn;       // 360 * (p[0][0] - 0.5) degrees
    float satOffset;  // 2 * p[1][0] - 1
    float valOffset;  // 2 * p[2][0] - 1
    const float* mask;
};

inline MP_float3 hslEffect(const HslArgs& a, MP_float3 c)
{
    const MP_hsv hsv = MP_rgbToHsv(c.x, c.y, c.z);
    const float lum = luminance(a.run.params, c);
    const float s = MP_clamp(hsv.s + a.satOffset, 0.001f, 1.0f);
    // One correction each way covers the slider range of +-180 degrees.
    float h = hsv.h + a.turn;
    if (h < 0.0f)
        h += 360.0f;
    if (h >= 360.0f)
        h -= 360.0f;
    const float v = MP_clamp(hsv.v + a.valOffset, 0.0f, 1.0f);
    const MP_float3 e = MP_hsvToRgb(h, s, v, c);
    return maskMix(c, e, a.mask[MP_tableIndex(lum)]);
}

void MP_Task_calcPixelHSL(TaskFuncParams t)
{
    const HslArgs* a = MP_taskArgs<HslArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a](MP_float3 c, int, int) { return hslEffect(*a, c); });
}

#ifdef MP_HAS_X86_SIMD
// x < lo ? lo : (hi < x ? hi : x), as MP_clamp (a NaN passes through).
__attribute__((target("avx2"))) inline __m256 clamp8(__m256 x, __m256 lo, __m256 hi)
{
    const __m256 upper = _mm256_blendv_ps(x, hi, _mm256_cmp_ps(hi, x, _CMP_LT_OQ));
    return _mm256_blendv_ps(upper, lo, _mm256_cmp_ps(x, lo, _CMP_LT_OQ));
}

__attribute__((target("avx2"))) inline __m256 eq(__m256 x, __m256 y) { return _mm256_cmp_ps(x, y, _CMP_EQ_OQ); }

// hslEffect for eight pixels: MP_rgbToHsv, the offsets, MP_hsvToRgb and the
// mask mix with the same single-precision operations in the same order, the
// branches of the per-pixel code taken as lane selects.
__attribute__((target("avx2"))) void hslRows8(const HslArgs* a, int start, int end)
{
    const MP_Params* p = a->run.params;
    const __m256 lr = _mm256_set1_ps(p->lumr), lg = _mm256_set1_ps(p->lumg), lb = _mm256_set1_ps(p->lumb);
    const __m256 zero = _mm256_setzero_ps(), one = _mm256_set1_ps(1.0f), milli = _mm256_set1_ps(0.001f);
    const __m256 two = _mm256_set1_ps(2.0f), four = _mm256_set1_ps(4.0f), five = _mm256_set1_ps(5.0f);
    const __m256 sixty = _mm256_set1_ps(60.0f), full = _mm256_set1_ps(360.0f);
    const __m256 sixth = _mm256_set1_ps(0.016666666f);
    const __m256 turn = _mm256_set1_ps(a->turn), satOffset = _mm256_set1_ps(a->satOffset),
                 valOffset = _mm256_set1_ps(a->valOffset);
    const int width = a->run.width;
    MP_rowsRGB48FloatBy8(
        a->run.src, a->run.dst, width, start, end,
        [&](__m256& r, __m256& g, __m256& b) __attribute__((target("avx2"))) {
            // MP_rgbToHsv
            const __m256 v0 = _mm256_max_ps(_mm256_max_ps(r, g), b);
            __m256 delta = _mm256_sub_ps(v0, _mm256_min_ps(_mm256_min_ps(r, g), b));
            delta = _mm256_blendv_ps(delta, milli, _mm256_cmp_ps(delta, zero, _CMP_LE_OQ));
            const __m256 black = eq(v0, zero);
            const __m256 redMax = eq(r, v0);
            const __m256 greenMax = _mm256_andnot_ps(redMax, eq(g, v0));
            const __m256 num = _mm256_blendv_ps(_mm256_blendv_ps(_mm256_sub_ps(r, g), _mm256_sub_ps(b, r), greenMax),
                                                _mm256_sub_ps(g, b), redMax);
            const __m256 q6 = _mm256_div_ps(num, delta);
            const __m256 h6 = _mm256_blendv_ps(
                _mm256_blendv_ps(_mm256_add_ps(q6, four), _mm256_add_ps(q6, two), greenMax), q6, redMax);
            __m256 hh = _mm256_mul_ps(sixty, h6);
            hh = _mm256_blendv_ps(hh, _mm256_add_ps(hh, full), _mm256_cmp_ps(hh, zero, _CMP_LT_OQ));
            hh = _mm256_blendv_ps(hh, zero, black);
            const __m256 hs = _mm256_blendv_ps(_mm256_div_ps(delta, v0), zero, black);
            const __m256 hv = _mm256_blendv_ps(v0, zero, black);
            // the offsets
            const __m256 lum =
                _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(lr, r), _mm256_mul_ps(lg, g)), _mm256_mul_ps(lb, b));
            const __m256 s = clamp8(_mm256_add_ps(hs, satOffset), milli, one);
            __m256 h = _mm256_add_ps(hh, turn);
            h = _mm256_blendv_ps(h, _mm256_add_ps(h, full), _mm256_cmp_ps(h, zero, _CMP_LT_OQ));
            h = _mm256_blendv_ps(h, _mm256_sub_ps(h, full), _mm256_cmp_ps(h, full, _CMP_GE_OQ));
            const __m256 v = clamp8(_mm256_add_ps(hv, valOffset), zero, one);
            // MP_hsvToRgb
            const __m256 x = _mm256_mul_ps(h, sixth);
            const __m256 fi = _mm256_floor_ps(x);
            const __m256 f = _mm256_sub_ps(x, fi);
            const __m256 inRange =
                _mm256_and_ps(_mm256_cmp_ps(fi, zero, _CMP_GE_OQ), _mm256_cmp_ps(fi, five, _CMP_LE_OQ));
            // sector 6 (the fallback) for a hue out of range
            const __m256i sector =
                _mm256_blendv_epi8(_mm256_set1_epi32(6), _mm256_cvttps_epi32(_mm256_and_ps(fi, inRange)),
                                   _mm256_castps_si256(inRange));
            const __m256 pp = _mm256_mul_ps(_mm256_sub_ps(one, s), v);
            const __m256 qq = _mm256_mul_ps(_mm256_sub_ps(one, _mm256_mul_ps(s, f)), v);
            const __m256 tt = _mm256_mul_ps(_mm256_sub_ps(one, _mm256_mul_ps(_mm256_sub_ps(one, f), s)), v);
            // sector 6: the colour itself
            __m256 er = r, eg = g, eb = b;
            MP_hsvSectorPick8(sector, v, pp, qq, tt, er, eg, eb);
            // s == 0 gives grey of value v
            const __m256 grey = eq(s, zero);
            er = _mm256_blendv_ps(er, v, grey);
            eg = _mm256_blendv_ps(eg, v, grey);
            eb = _mm256_blendv_ps(eb, v, grey);
            // maskMix
            const __m256 m = _mm256_i32gather_ps(a->mask, MP_tableIndex8(lum), 4);
            const __m256 k = _mm256_sub_ps(one, m);
            r = _mm256_add_ps(_mm256_mul_ps(r, k), _mm256_mul_ps(er, m));
            g = _mm256_add_ps(_mm256_mul_ps(g, k), _mm256_mul_ps(eg, m));
            b = _mm256_add_ps(_mm256_mul_ps(b, k), _mm256_mul_ps(eb, m));
        },
        [&](const ushort* s, ushort* d, int x) {
            for (; x < width; ++x)
                MP_storeRGB48Clamped(d + static_cast<size_t>(x) * 3,
                                     hslEffect(*a, MP_loadRGB48(s + static_cast<size_t>(x) * 3)));
        });
}
#endif

void MP_Task_calcPixelHSLReduced(TaskFuncParams t)
{
    const HslArgs* a = MP_taskArgs<HslArgs>(t);
#ifdef MP_HAS_X86_SIMD
    if (MP_hasAvx2()) {
        hslRows8(a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
#endif
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return hslEffect(*a, c); });
}

// ---- "Psychedelic" --------------------------------------------------------------------
// Slots: 0 "Farbton", 1 "Sättigung", 2 "Farbabstand", 3 "Maskierung", 4 combo, 5 geometry.

struct PsychoArgs {
    MP_DriverRun run; // dst is the scratch buffer
    float turn;       // 360 * (p[0][0] - 0.5) degrees
    float satOffset;  // 2 * p[1][0] - 1
    float spread;     // 10 * p[2][0]: hue turns per unit of luminance
    const float* mask;
};

inline MP_float3 psychoEffect(const PsychoArgs& a, MP_float3 c)
{
    const MP_hsv hsv = MP_rgbToHsv(c.x, c.y, c.z);
    const float lum = luminance(a.run.params, c);
    const float v = MP_clamp(hsv.v, 0.0f, 1.0f);
    const float h = MP_wrapHueTurns(((lum - 0.5f) * a.spread * 360.0f + a.turn) + hsv.h);
    const float s = MP_clamp(hsv.s + a.satOffset, 0.001f, 1.0f);
    const MP_float3 e = MP_hsvToRgb(h, s, v, c);
    return maskMix(c, e, a.mask[MP_tableIndex(lum)]);
}

void MP_Task_calcPixelPsycho(TaskFuncParams t)
{
    const PsychoArgs* a = MP_taskArgs<PsychoArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return psychoEffect(*a, c); });
}

void MP_Task_calcPixelPsychoReduced(TaskFuncParams t)
{
    const PsychoArgs* a = MP_taskArgs<PsychoArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return psychoEffect(*a, c); });
}

// ---- "Pop-Art" --------------------------------------------------------------------------
// Slots: 0 "Anzahl", 1 "Farbton", 2 "Sättigung", 3 "Farbabstand", 4 "Abstufungen",
// 5 combo, 6 geometry.

struct PopartArgs {
    MP_DriverRun run;  // dst is the scratch buffer
    int n;             // tiles per row and column, 1..10
    float tileTurn;    // D * 0.8 / (n * n): hue turns from one tile to the next
    float turn;        // 360 * (p[1][0] - 0.5) degrees
    float satOffset;   // 2 * p[2][0] - 1
    const float* ratio; // posterise ratio table
};

inline MP_float3 popartEffect(const PopartArgs& a, int x, int y)
{
    const int w = a.run.width, hgt = a.run.height;
    float tx = static_cast<float>(x) * static_cast<float>(a.n);
    float ty = static_cast<float>(y) * static_cast<float>(a.n);
    int tile = 0;
    for (int k = 1; k <= 9; ++k) {
        if (tx >= static_cast<float>(k * w))
            tile += 1;
        if (ty >= static_cast<float>(k * hgt))
            tile += a.n;
    }
    // At most n - 1 subtractions: x < w, so tx < n * w.
    while (tx > static_cast<float>(w))
        tx -= static_cast<float>(w);
    while (ty > static_cast<float>(hgt))
        ty -= static_cast<float>(hgt);
    const MP_float3 cs = MP_tex2D16intBilinearSeemless(w, hgt, a.run.src, tx, ty);
    const MP_hsv hsv = MP_rgbToHsv(cs.x, cs.y, cs.z);
    const float v = MP_clamp(hsv.v, 0.0f, 1.0f);
    const float h = MP_wrapHueTurns((static_cast<float>(tile) * a.tileTurn - 0.4f) * 360.0f + a.turn + hsv.h);
    const float s = MP_clamp(hsv.s + a.satOffset, 0.001f, 1.0f);
    const MP_float3 e = MP_hsvToRgb(h, s, v, cs);
    const float factor = a.ratio[MP_tableIndex(luminance(a.run.params, cs))];
    return {MP_min(1.0f, e.x * factor), MP_min(1.0f, e.y * factor), MP_min(1.0f, e.z * factor)};
}

void MP_Task_calcPixelPopart(TaskFuncParams t)
{
    const PopartArgs* a = MP_taskArgs<PopartArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3, int x, int y) { return popartEffect(*a, x, y); });
}

void MP_Task_calcPixelPopartReduced(TaskFuncParams t)
{
    const PopartArgs* a = MP_taskArgs<PopartArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3, int x, int y) { return popartEffect(*a, x, y); });
}

struct PosteriseTableArgs {
    float step;
};

void MP_TaskPre1_calcPixelPopart(TaskFuncParams t)
{
    MP_posteriseRatioTable(MP_taskStart(t), MP_taskEnd(t), MP_temp_table,
                           MP_taskArgs<PosteriseTableArgs>(t)->step);
}

// Psycho and Pop-Art write into the scratch buffer and copy it into the
// destination at the end. The buffer is asked for first: without it the
// driver returns -1 and nothing is written.
ushort* scratchFor(int sizex, int sizey)
{
    return static_cast<ushort*>(MP_UpdateBuffer(rgb48Bytes(sizex, sizey)));
}

} // namespace

int MP_calcPixelHSL(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    HslArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return r;
    a.turn = 360.0f * (params->p[0][0] - 0.5f);
    a.satOffset = 2.0f * params->p[1][0] - 1.0f;
    a.valOffset = 2.0f * params->p[2][0] - 1.0f;
    a.mask = MP_temp2_table;
    MP_runSplineTablePass(params, 3, MP_temp2_table);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelHSL, MP_Task_calcPixelHSLReduced, 8);
}

int MP_calcPixelPsycho(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    const size_t bytes = rgb48Bytes(sizex, sizey);
    if (bytes == 0)
        return 0;
    ushort* scratch = scratchFor(sizex, sizey);
    if (!scratch)
        return -1;
    PsychoArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, scratch, params, 5, 4))
        return r;
    a.turn = 360.0f * (params->p[0][0] - 0.5f);
    a.satOffset = 2.0f * params->p[1][0] - 1.0f;
    a.spread = 10.0f * params->p[2][0];
    a.mask = MP_temp2_table;
    MP_runSplineTablePass(params, 3, MP_temp2_table);
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelPsycho, MP_Task_calcPixelPsychoReduced, 8);
    std::memcpy(dst, scratch, bytes);
    return 0;
}

int MP_calcPixelPopart(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    const size_t bytes = rgb48Bytes(sizex, sizey);
    if (bytes == 0)
        return 0;
    ushort* scratch = scratchFor(sizex, sizey);
    if (!scratch)
        return -1;
    PopartArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, scratch, params, 6, 5))
        return r;
    // "Anzahl" 1..10; a value from a file outside the slider range is held
    // there, so the tile count stays a small positive number.
    a.n = MP_safeTrunc(9.01f * params->p[0][0] + 1.0f, 1, 10);
    a.turn = 360.0f * (params->p[1][0] - 0.5f);
    a.satOffset = 2.0f * params->p[2][0] - 1.0f;
    const float spread = 1.0f + 10.0f * params->p[3][0];
    a.tileTurn = spread * 0.8f / static_cast<float>(a.n * a.n);
    a.ratio = MP_temp_table;
    PosteriseTableArgs table{(0.5f - 0.5f * params->p[4][0]) * 0.99f + 0.005f};
    MP_runTablePass(MP_TaskPre1_calcPixelPopart, MP_makeTask(params, &table));
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelPopart, MP_Task_calcPixelPopartReduced, 8);
    std::memcpy(dst, scratch, bytes);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelHSL", MP_calcPixelHSL},
    {"MP_calcPixelPsycho", MP_calcPixelPsycho},
    {"MP_calcPixelPopart", MP_calcPixelPopart},
};
} // namespace
extern const MP_DriverTable MP_drivers_hsv = MP_driverTable(kDrivers);
