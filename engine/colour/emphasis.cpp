// Colour emphasis operators: "Farbleuchtkraft", "Sin City", "Sin City Invers",
// "Farbton hinzumischen", "graue Tinte" and "Rote Augen".

#include "engine/colour/emphasis.h"

#include "engine/MP_calccl.h"
#include "engine/core/pointrows.h"
#include "engine/core/splines.h"

#include <cmath>
#include <cstring>

namespace {

inline float luminance(const MP_Params* p, MP_float3 c) { return p->lumr * c.x + p->lumg * c.y + p->lumb * c.z; }

inline MP_float3 maskMix(MP_float3 c0, MP_float3 e, float m)
{
    const float k = 1.0f - m;
    return {c0.x * k + e.x * m, c0.y * k + e.y * m, c0.z * k + e.z * m};
}

// ---- Colour boost (Farbleuchtkraft, Sin City, Sin City Invers) ---------------------------
// Boost table: entry i = powf(logf(1 + x), k) * norm at x = i * MP_k, that is
// log2(1 + x)^k with norm = 1 / ln(2)^k.

struct BoostTable {
    float k;
    float norm;
};

inline BoostTable boostTable(float k)
{
    return {k, 1.0f / static_cast<float>(std::pow(std::log(2.0), static_cast<double>(k)))};
}

inline void fillBoostTable(int start, int end, float* table, BoostTable b)
{
    for (int i = start; i < end; ++i)
        table[i] = std::pow(std::log(1.0f + static_cast<float>(i) * MP_k), b.k) * b.norm;
}

// Spreads (k > 1) or draws together (k < 1) the channels while keeping their
// sum, unless a channel is limited to 1.
inline MP_float3 colourBoost(const float* table, MP_float3 c)
{
    const float fr = table[MP_tableIndex(c.x)];
    const float fg = table[MP_tableIndex(c.y)];
    const float fb = table[MP_tableIndex(c.z)];
    const float sum = fr + fg + fb;
    const float a = sum > 0.0f ? (c.x + c.y + c.z) / sum : 1.0f;
    return {MP_min(1.0f, a * fr), MP_min(1.0f, a * fg), MP_min(1.0f, a * fb)};
}

// ---- "Farbleuchtkraft" -------------------------------------------------------------------
// Slots: 0 "Stärke", 1 "Maskierung", 2 combo, 3 geometry.
// Tables: boost in MP_temp_table, "Maskierung" in MP_temp2_table.

struct IntensityArgs {
    MP_DriverRun run;
    BoostTable boost;
    float* boostTable; // kept between runs
    float* maskTable;  // "Maskierung", kept between runs
};

// The tables depend on the sliders only: kept while they stay.
MP_KeptTable<1> s_intensityBoost;
MP_KeptTable<12> s_intensityMask;

inline MP_float3 intensityEffect(const IntensityArgs& a, MP_float3 c)
{
    const MP_float3 boosted = colourBoost(a.boostTable, c);
    return maskMix(c, boosted, a.maskTable[MP_tableIndex(luminance(a.run.params, c))]);
}

void MP_TaskPre1_calcPixelColorIntensity(TaskFuncParams t)
{
    const IntensityArgs* a = MP_taskArgs<IntensityArgs>(t);
    fillBoostTable(MP_taskStart(t), MP_taskEnd(t), a->boostTable, a->boost);
}

void MP_TaskPre2_calcPixelColorIntensity(TaskFuncParams t)
{
    const IntensityArgs* a = MP_taskArgs<IntensityArgs>(t);
    MP_splineSlotTable(a->run.params->p[1], MP_taskStart(t), MP_taskEnd(t), a->maskTable);
}

// The reduced worker's rows in blocks: intensityEffect's operations, the
// table lookups in loops of their own.
MP_POINT_BODY void intensityRowsBody(const IntensityArgs& a, int start, int end)
{
    constexpr int N = MP_POINT_BLOCK;
    const MP_DriverRun& run = a.run;
    const float lr = run.params->lumr, lg = run.params->lumg, lb = run.params->lumb;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        for (int x0 = 0; x0 < run.width; x0 += N) {
            const int n = run.width - x0 < N ? run.width - x0 : N;
            float C[3][N], F[3][N], M[N];
            int I[3][N], J[N];
            MP_pointLoad(run.src + row + 3 * static_cast<size_t>(x0), n, C[0], C[1], C[2]);
            for (int i = 0; i < n; ++i) {
                I[0][i] = MP_pointIndex(C[0][i]);
                I[1][i] = MP_pointIndex(C[1][i]);
                I[2][i] = MP_pointIndex(C[2][i]);
                J[i] = MP_pointIndex(lr * C[0][i] + lg * C[1][i] + lb * C[2][i]);
            }
            for (int k = 0; k < 3; ++k)
                MP_pointLookup(a.boostTable, I[k], F[k], n);
            MP_pointLookup(a.maskTable, J, M, n);
            for (int i = 0; i < n; ++i) {
                const float x = C[0][i], yv = C[1][i], z = C[2][i];
                const float fr = F[0][i], fg = F[1][i], fb = F[2][i];
                const float sum = fr + fg + fb;
                const float q = (x + yv + z) / sum;
                const float s = sum > 0.0f ? q : 1.0f;
                const float er = s * fr, eg = s * fg, eb = s * fb;
                const float br = 1.0f < er ? 1.0f : er; // MP_min(1, a * f)
                const float bg = 1.0f < eg ? 1.0f : eg;
                const float bb = 1.0f < eb ? 1.0f : eb;
                const float m = M[i];
                const float k = 1.0f - m;
                C[0][i] = x * k + br * m;
                C[1][i] = yv * k + bg * m;
                C[2][i] = z * k + bb * m;
            }
            MP_pointStore(run.dst + row + 3 * static_cast<size_t>(x0), n, C[0], C[1], C[2]);
        }
    }
}
MP_POINT_ROWS_COPIES(intensityRows, IntensityArgs)

void MP_Task_calcPixelColorIntensity(TaskFuncParams t)
{
    const IntensityArgs* a = MP_taskArgs<IntensityArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return intensityEffect(*a, c); });
}

void MP_Task_calcPixelColorIntensityReduced(TaskFuncParams t)
{
    const IntensityArgs* a = MP_taskArgs<IntensityArgs>(t);
    if (!MP_plainPointLoops()) {
        intensityRows(*a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return intensityEffect(*a, c); });
}

// ---- "Sin City" and "Sin City Invers" ----------------------------------------------------
// Slots: 0 "Gradationskurve", 1 colour "Farbton", 2 combo, 3 geometry.
// Tables: "Gradationskurve" in MP_temp_table, boost (k = 3) in MP_temp2_table.

struct SinCityArgs {
    MP_DriverRun run;
    BoostTable boost;
    MP_float3 ref; // normalised chosen colour (+ 0.001 per component)
};

void MP_TaskPre1_calcPixelSinCity(TaskFuncParams t)
{
    const SinCityArgs* a = MP_taskArgs<SinCityArgs>(t);
    const float* k = a->run.params->p[0];
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    MP_cubicSplineTable(start, end, MP_temp_table, k[0], k[2], k[4], k[6], k[8], k[10], k[1], k[3], k[5], k[7], k[9],
                        k[11]);
    fillBoostTable(start, end, MP_temp2_table, a->boost);
}

// What both operators share: the curve grey, the boosted colour and the
// distance d (0..2/3) of the pixel's direction from the chosen colour's.
struct SinCityPixel {
    float grey;
    MP_float3 boosted;
    float d;
};

inline SinCityPixel sinCityPixel(const SinCityArgs& a, MP_float3 c)
{
    SinCityPixel px;
    px.grey = MP_temp_table[MP_tableIndex(luminance(a.run.params, c))];
    px.boosted = colourBoost(MP_temp2_table, c);
    const MP_float3 u = MP_normalize({c.x + 0.001f, c.y + 0.001f, c.z + 0.001f});
    px.d = (MP_fabs(a.ref.x - u.x) + MP_fabs(a.ref.y - u.y) + MP_fabs(a.ref.z - u.z)) * 0.333333f;
    return px;
}

// Colour weight w: the boosted colour times w plus the grey times (1 - w).
inline MP_float3 greyMix(const SinCityPixel& px, float w)
{
    const float g = px.grey * (1.0f - w);
    return {px.boosted.x * w + g, px.boosted.y * w + g, px.boosted.z * w + g};
}

// Colours near the chosen one keep their (boosted) colour, others turn grey.
inline MP_float3 sinCityEffect(const SinCityArgs& a, MP_float3 c)
{
    const SinCityPixel px = sinCityPixel(a, c);
    float w = 1.0f - px.d;
    w *= w;
    w *= w;
    w *= w;
    return greyMix(px, w);
}

// Colours near the chosen one (d at most 1/6) turn grey, others keep colour.
inline MP_float3 invSinCityEffect(const SinCityArgs& a, MP_float3 c)
{
    const SinCityPixel px = sinCityPixel(a, c);
    const float dd = px.d * 1.2f - 0.2f;
    float g = 1.0f;
    if (!(dd < 0.0f)) {
        g = 1.0f - dd;
        g *= g;
        g *= g;
    }
    const float k = 1.0f - g;
    return {px.boosted.x * k + px.grey * g, px.boosted.y * k + px.grey * g, px.boosted.z * k + px.grey * g};
}

void MP_Task_calcPixelSinCity(TaskFuncParams t)
{
    const SinCityArgs* a = MP_taskArgs<SinCityArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return sinCityEffect(*a, c); });
}

void MP_Task_calcPixelSinCityReduced(TaskFuncParams t)
{
    const SinCityArgs* a = MP_taskArgs<SinCityArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return sinCityEffect(*a, c); });
}

void MP_Task_calcPixelInvSinCity(TaskFuncParams t)
{
    const SinCityArgs* a = MP_taskArgs<SinCityArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return invSinCityEffect(*a, c); });
}

void MP_Task_calcPixelInvSinCityReduced(TaskFuncParams t)
{
    const SinCityArgs* a = MP_taskArgs<SinCityArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return invSinCityEffect(*a, c); });
}

int runSinCity(int sizex, int sizey, ushort* src, ushort* dst, MP_Params* params, MP_TaskFunc full,
               MP_TaskFunc reduced)
{
    SinCityArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    a.boost = boostTable(3.0f);
    const float* colour = params->p[1];
    a.ref = MP_normalize({colour[2] + 0.001f, colour[3] + 0.001f, colour[4] + 0.001f});
    MP_runTablePass(MP_TaskPre1_calcPixelSinCity, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, full, reduced, 8);
}

// ---- "Farbton hinzumischen" --------------------------------------------------------------
// Slots: 0 "Stärke", 1 colour "Farbton", 2 combo, 3 geometry.

struct ColorMixArgs {
    MP_DriverRun run;
    float t;          // strength
    MP_float3 colour; // chosen colour
};

// v divided by its length; a vector of no length gives the grey direction.
inline MP_float3 divideByLength(MP_float3 v)
{
    const float len2 = v.x * v.x + v.y * v.y + v.z * v.z;
    if (!(len2 > 0.0f))
        return {0.57735f, 0.57735f, 0.57735f};
    const float len = std::sqrt(len2);
    return {v.x / len, v.y / len, v.z / len};
}

// One mixing pass: the direction of `from` + C scaled to the luminance of
// `from`, mixed with the input c0 by the strength.
inline MP_float3 colorMixPass(const ColorMixArgs& a, MP_float3 c0, MP_float3 from)
{
    const MP_Params* p = a.run.params;
    const MP_float3 dir = divideByLength({from.x + a.colour.x, from.y + a.colour.y, from.z + a.colour.z});
    const float q = luminance(p, from) / (luminance(p, dir) + 0.001f);
    const float keep = 1.0f - a.t;
    return {c0.x * keep + dir.x * q * a.t, c0.y * keep + dir.y * q * a.t, c0.z * keep + dir.z * q * a.t};
}

inline MP_float3 colorMixEffect(const ColorMixArgs& a, MP_float3 c)
{
    const MP_float3 e1 = colorMixPass(a, c, c);
    return colorMixPass(a, c, e1);
}

// One colorMixPass over planes: from (F) and c0 (C) into out (O).
MP_POINT_INLINE void colorMixPlanes(const ColorMixArgs& a, float lr, float lg, float lb, float (*C)[MP_POINT_BLOCK],
                                    float (*F)[MP_POINT_BLOCK], float (*O)[MP_POINT_BLOCK], int n)
{
    constexpr int N = MP_POINT_BLOCK;
    float V[3][N], L[N];
    const float cr = a.colour.x, cg = a.colour.y, cb = a.colour.z, t = a.t;
    for (int i = 0; i < n; ++i) {
        V[0][i] = F[0][i] + cr;
        V[1][i] = F[1][i] + cg;
        V[2][i] = F[2][i] + cb;
        L[i] = V[0][i] * V[0][i] + V[1][i] * V[1][i] + V[2][i] * V[2][i];
    }
    float S[N];
    for (int i = 0; i < n; ++i)
        S[i] = L[i];
    MP_pointSqrt(S, (n + 3) & ~3);
    const float keep = 1.0f - t;
    for (int i = 0; i < n; ++i) {
        // divideByLength: the grey direction for a vector of no length
        const bool some = L[i] > 0.0f;
        const float len = S[i];
        const float qx = V[0][i] / len, qy = V[1][i] / len, qz = V[2][i] / len;
        const float dx = some ? qx : 0.57735f, dy = some ? qy : 0.57735f, dz = some ? qz : 0.57735f;
        const float q = (lr * F[0][i] + lg * F[1][i] + lb * F[2][i]) / ((lr * dx + lg * dy + lb * dz) + 0.001f);
        O[0][i] = C[0][i] * keep + dx * q * t;
        O[1][i] = C[1][i] * keep + dy * q * t;
        O[2][i] = C[2][i] * keep + dz * q * t;
    }
}

// The reduced worker's rows in blocks: colorMixEffect's two passes.
MP_POINT_BODY void colorMixRowsBody(const ColorMixArgs& a, int start, int end)
{
    constexpr int N = MP_POINT_BLOCK;
    const MP_DriverRun& run = a.run;
    const float lr = run.params->lumr, lg = run.params->lumg, lb = run.params->lumb;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        for (int x0 = 0; x0 < run.width; x0 += N) {
            const int n = run.width - x0 < N ? run.width - x0 : N;
            float C[3][N], E[3][N], O[3][N];
            MP_pointLoad(run.src + row + 3 * static_cast<size_t>(x0), n, C[0], C[1], C[2]);
            colorMixPlanes(a, lr, lg, lb, C, C, E, n);
            colorMixPlanes(a, lr, lg, lb, C, E, O, n);
            MP_pointStore(run.dst + row + 3 * static_cast<size_t>(x0), n, O[0], O[1], O[2]);
        }
    }
}
MP_POINT_ROWS_COPIES(colorMixRows, ColorMixArgs)

void MP_Task_calcPixelColorMix(TaskFuncParams t)
{
    const ColorMixArgs* a = MP_taskArgs<ColorMixArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return colorMixEffect(*a, c); });
}

void MP_Task_calcPixelColorMixReduced(TaskFuncParams t)
{
    const ColorMixArgs* a = MP_taskArgs<ColorMixArgs>(t);
    if (!MP_plainPointLoops()) {
        colorMixRows(*a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return colorMixEffect(*a, c); });
}

// ---- "graue Tinte" ------------------------------------------------------------------------
// Slots: 0 "Bleichung", 1 "Maskierung", 2 combo, 3 geometry.
// Table: "Maskierung" in MP_temp_table.

struct ColorTintArgs {
    MP_DriverRun run;
    float bleach;
};

void MP_Task_calcPixelColorTint(TaskFuncParams t)
{
    const ColorTintArgs* a = MP_taskArgs<ColorTintArgs>(t);
    const float b = a->bleach;
    const float keep = 1.0f - b;
    // The frame applies the "Maskierung" mask (run.maskTable).
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [b, keep](MP_float3 c, int, int) {
        return MP_float3{c.x * keep + b, c.y * keep + b, c.z * keep + b};
    });
}

// On the raw values 0..65535: the mask is indexed by the raw luminance.
void MP_Task_calcPixelColorTintReduced(TaskFuncParams t)
{
    const ColorTintArgs* a = MP_taskArgs<ColorTintArgs>(t);
    const MP_DriverRun& run = a->run;
    const float lr = run.params->lumr, lg = run.params->lumg, lb = run.params->lumb;
    const float b = a->bleach;
    const float keep = 1.0f - b;
    const float white = b * 65535.0f;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        const ushort* s = run.src + row;
        ushort* d = run.dst + row;
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            const float R = s[0], G = s[1], B = s[2];
            const float m = MP_temp_table[MP_safeTrunc(lr * R + lg * G + lb * B, 0, 65535)];
            const float k = 1.0f - m;
            d[0] = static_cast<ushort>(MP_safeTrunc(R * k + (R * keep + white) * m, 0, 65535));
            d[1] = static_cast<ushort>(MP_safeTrunc(G * k + (G * keep + white) * m, 0, 65535));
            d[2] = static_cast<ushort>(MP_safeTrunc(B * k + (B * keep + white) * m, 0, 65535));
        }
    }
}

// ---- "Rote Augen" -------------------------------------------------------------------------
// Slots: 0 "Korrektur", 1 combo, 2 geometry.

struct RedEyesArgs {
    MP_DriverRun run;
    float threshold; // (1 - p[0][0]) * 5
};

// Red pulled toward the green-blue mean when red / mean exceeds the
// threshold; works on 0..1 colours and on raw values alike.
inline float redEyesRed(float r, float g, float b, float threshold)
{
    float avg = (g + b) * 0.5f;
    if (avg <= 0.0f)
        avg = 0.001f;
    const float ratio = r / avg;
    if (ratio > threshold) {
        const float v = MP_min((ratio - threshold) * 0.75f, 1.0f);
        return r * (1.0f - v) + v * (g + b) * 0.5f;
    }
    return r;
}

void MP_Task_calcPixelRedEyes(TaskFuncParams t)
{
    const RedEyesArgs* a = MP_taskArgs<RedEyesArgs>(t);
    const float threshold = a->threshold;
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [threshold](MP_float3 c, int, int) {
        return MP_float3{redEyesRed(c.x, c.y, c.z, threshold), c.y, c.z};
    });
}

void MP_Task_calcPixelRedEyesReduced(TaskFuncParams t)
{
    const RedEyesArgs* a = MP_taskArgs<RedEyesArgs>(t);
    const MP_DriverRun& run = a->run;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        const ushort* s = run.src + row;
        ushort* d = run.dst + row;
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            const float r = redEyesRed(s[0], s[1], s[2], a->threshold);
            d[0] = static_cast<ushort>(MP_safeTrunc(r, 0, 65535));
            d[1] = s[1];
            d[2] = s[2];
        }
    }
}

} // namespace

int MP_calcPixelColorIntensity(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    IntensityArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    float s0 = params->p[0][0];
    if (s0 < 0.5f)
        s0 = s0 * 0.25f;
    a.boost = boostTable((s0 >= 0.5f ? s0 - 0.375f : s0) * 10.0f);
    a.boostTable = s_intensityBoost.table;
    a.maskTable = s_intensityMask.table;
    const float boostKey[1] = {a.boost.k};
    if (s_intensityBoost.needsFill(boostKey)) {
        MP_runTablePass(MP_TaskPre1_calcPixelColorIntensity, MP_makeTask(params, &a));
        s_intensityBoost.filled();
    }
    float maskKey[12];
    std::memcpy(maskKey, params->p[1], sizeof maskKey);
    if (s_intensityMask.needsFill(maskKey)) {
        MP_runTablePass(MP_TaskPre2_calcPixelColorIntensity, MP_makeTask(params, &a));
        s_intensityMask.filled();
    }
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelColorIntensity, MP_Task_calcPixelColorIntensityReduced, 8);
}

int MP_calcPixelSinCity(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runSinCity(sizex, sizey, src, dst, params, MP_Task_calcPixelSinCity, MP_Task_calcPixelSinCityReduced);
}

int MP_calcPixelInvSinCity(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runSinCity(sizex, sizey, src, dst, params, MP_Task_calcPixelInvSinCity,
                      MP_Task_calcPixelInvSinCityReduced);
}

int MP_calcPixelColorMix(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    ColorMixArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    a.t = params->p[0][0];
    a.colour = {params->p[1][2], params->p[1][3], params->p[1][4]};
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelColorMix, MP_Task_calcPixelColorMixReduced, 8);
}

int MP_calcPixelColorTint(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    ColorTintArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    a.bleach = params->p[0][0];
    a.run.maskTable = MP_temp_table;
    MP_runSplineTablePass(params, 1, MP_temp_table);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelColorTint, MP_Task_calcPixelColorTintReduced, 8);
}

int MP_calcPixelRedEyes(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    RedEyesArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, 1))
        return r;
    a.threshold = (1.0f - params->p[0][0]) * 5.0f;
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelRedEyes, MP_Task_calcPixelRedEyesReduced, 8);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelColorIntensity", MP_calcPixelColorIntensity},
    {"MP_calcPixelSinCity", MP_calcPixelSinCity},
    {"MP_calcPixelInvSinCity", MP_calcPixelInvSinCity},
    {"MP_calcPixelColorMix", MP_calcPixelColorMix},
    {"MP_calcPixelColorTint", MP_calcPixelColorTint},
    {"MP_calcPixelRedEyes", MP_calcPixelRedEyes},
};
} // namespace
extern const MP_DriverTable MP_drivers_emphasis = MP_driverTable(kDrivers);
