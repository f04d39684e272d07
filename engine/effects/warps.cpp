// Warps and displacements: Perspective, WaveDistort, GlasStruct and Warp.

#include "engine/effects/warps.h"

#include "engine/MP_calccl.h"
#include "engine/core/splines.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

// ---- Perspective: 0 "Vertikal", 1 "Horizontal", 2 "Zoom", 3 "Zentrum", 4 combo, 5 geometry

struct PerspectiveArgs {
    MP_DriverRun run;
    float sv = 0.0f, sh = 0.0f, z = 1.0f;
    float cx = 0.0f, cy = 0.0f;
};

inline void perspectivePoint(const PerspectiveArgs& a, int x, int y, float& xs, float& ys)
{
    const float w = static_cast<float>(a.run.width), h = static_cast<float>(a.run.height);
    const float y1 = (static_cast<float>(y) - a.cy) * a.z + a.cy;
    const float t = std::log((y1 - a.cy) / h * a.sv + 1.0f);
    const float y2 = y1 - (y1 - a.cy) * t;
    const float x1 = (static_cast<float>(x) - a.cx) * a.z + a.cx;
    const float x2 = x1 - (x1 - a.cx) * t;
    const float m = std::log((x2 - a.cx) / w * a.sh + 1.0f);
    xs = x2 - (x2 - a.cx) * m;
    ys = y2 - (y2 - a.cy) * m;
}

void MP_Task_calcPixelPerspective(TaskFuncParams t) { MP_resampleFullTask<PerspectiveArgs>(t, perspectivePoint); }
void MP_Task_calcPixelPerspectiveReduced(TaskFuncParams t)
{
    MP_resampleReducedTask<PerspectiveArgs>(t, perspectivePoint);
}

// ---- WaveDistort: 0 "horizontal Frequenz", 1 "vertikal Frequenz", 2 "horizontal Amplitude",
//      3 "vertikal Amplitude", 4 "Zoom", 5 spline "Wellenreflektion", 6 combo, 7 geometry
// Tables: curve MP_temp_table, sine MP_temp2_table, cosine MP_temp3_table.

struct WaveArgs {
    MP_DriverRun run;
    const float* knots = nullptr;
    float fx = 0.0f, fy = 0.0f, ax = 0.0f, ay = 0.0f, z = 1.0f;
};

void MP_TaskPre1_calcPixelWaveDistort(TaskFuncParams t)
{
    const WaveArgs* a = MP_taskArgs<WaveArgs>(t);
    const int s = MP_taskStart(t), e = MP_taskEnd(t);
    MP_splineSlotTable(a->knots, s, e, MP_temp_table);
    for (int i = s; i < e; ++i) {
        const float v = static_cast<float>(i) * MP_k * 3.1415927f * 2.0f;
        MP_temp2_table[i] = std::sin(v);
        MP_temp3_table[i] = std::cos(v);
    }
}

// Table multipliers of one wave number k: sin(E k) is entry low16((int)(E M)).
inline float waveMultiplier(float k) { return k / 6.2831855f * 65535.0f; }

struct WaveMultipliers {
    float s1, s3, s17; // sines: fx / w, 3 fx / w, 1.7 fx / w
    float c1, c3, c21; // cosines: fy / h, 3 fy / h, 2.1 fy / h
};

inline WaveMultipliers waveMultipliers(const WaveArgs& a)
{
    const float kx = (1.0f / static_cast<float>(a.run.width)) * a.fx;
    const float ky = (1.0f / static_cast<float>(a.run.height)) * a.fy;
    return {waveMultiplier(kx), waveMultiplier(kx * 3.0f), waveMultiplier(kx * 1.7f),
            waveMultiplier(ky), waveMultiplier(ky * 3.0f), waveMultiplier(ky * 2.1f)};
}

inline float waveSin(float e, float m) { return MP_temp2_table[MP_low16(e * m)]; }
inline float waveCos(float e, float m) { return MP_temp3_table[MP_low16(e * m)]; }

// The displaced and lit colour; false (black) when the first wave leaves the image.
inline MP_float3 waveEffect(const WaveArgs& a, const WaveMultipliers& M, float anim, int ix, int iy)
{
    const MP_Params* p = a.run.params;
    const float w = static_cast<float>(a.run.width), h = static_cast<float>(a.run.height);
    const float x = static_cast<float>(ix), y = static_cast<float>(iy);
    const float X1 = (((x + (w * a.ax) * waveSin(x + y + anim * 5.0f, M.s1)) * (1.0f / w) - 0.5f) * a.z + 0.5f) * w;
    const float Y1 =
        (((y + (h * a.ay) * waveCos(y - x + anim * -6.7f, M.c1)) * (1.0f / h) - 0.5f) * a.z + 0.5f) * h;
    if (!MP_insideImage(a.run, X1, Y1))
        return {0.0f, 0.0f, 0.0f};
    const MP_float3 c = MP_tex2D16intBilinear(a.run.width, a.run.height, a.run.src, X1, Y1);
    const float lum = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
    const float nx = w * lum * 0.1f + x;
    const float ny = h * lum * -0.1f + y;
    const float X2 =
        ((((w * a.ax) * waveSin(nx + ny + 2.1f * anim, M.s3) * 1.5f + nx) * (1.0f / w) - 0.5f) * a.z + 0.5f) * w;
    const float Y2 =
        ((((h * a.ay) * waveCos(ny - nx + anim * -2.5f, M.c3) * 1.5f + ny) * (1.0f / h) - 0.5f) * a.z + 0.5f) * h;
    const float s3 = waveSin(X2 + Y2 + anim * -1.3f, M.s17);
    const float c3 = waveCos(Y2 - X2 + anim * 1.9f, M.c21);
    const float q = 1.0f - MP_fabs(s3 + c3) * 0.5f;
    const float q2 = q * q;
    const float e = q2 * q2 * 0.5f + 0.001f + 1.0f;
    const float K = MP_temp_table[MP_tableIndex(lum)];
    const float k1 = 1.0f - K;
    return {c.x * k1 + c.x * e * K, c.y * k1 + c.y * e * K, c.z * k1 + c.z * e * K};
}

void MP_Task_calcPixelWaveDistort(TaskFuncParams t)
{
    const WaveArgs* a = MP_taskArgs<WaveArgs>(t);
    const WaveMultipliers M = waveMultipliers(*a);
    const float anim = a->run.params->anim_count;
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [&](MP_float3, int x, int y) { return waveEffect(*a, M, anim, x, y); });
}
void MP_Task_calcPixelWaveDistortReduced(TaskFuncParams t)
{
    const WaveArgs* a = MP_taskArgs<WaveArgs>(t);
    const WaveMultipliers M = waveMultipliers(*a);
    const float anim = a->run.params->anim_count;
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [&](MP_float3, int x, int y) { return waveEffect(*a, M, anim, x, y); });
}

// ---- GlasStruct: 0 "Struktur", 1 "Brechung", 2 "Lichtquelle", 3 combo, 4 geometry
// Texture 2 tiles the image.

struct GlasArgs {
    MP_DriverRun run;
    MP_EffectTexture tex;
    float g = 0.0f, r = 0.0f, lx = 0.0f, ly = 0.0f;
};

inline MP_float3 glasEffect(const GlasArgs& a, int ix, int iy)
{
    const float w = static_cast<float>(a.run.width), h = static_cast<float>(a.run.height);
    const float x = static_cast<float>(ix), y = static_cast<float>(iy);
    const float tx = (x - w / 2.0f) * (static_cast<float>(a.tex.w) * a.g / w);
    const float ty = (y - h / 2.0f) * (static_cast<float>(a.tex.h) * a.g / h);
    const MP_float3 t = MP_tex2D16intBilinearSeemless(a.tex.w, a.tex.h, a.tex.px, tx, ty);
    const float nx = -(4.0f * t.x - 2.0f);
    const float ny = -(4.0f * t.z - 2.0f);
    const float d = a.lx * nx + a.ly * ny + 1.0f;
    const float sh =
        d > 0.0f ? d / std::sqrt((nx * nx + ny * ny + 1.0f) * (a.lx * a.lx + a.ly * a.ly + 1.0f)) - 0.5f : -0.5f;
    const MP_float3 c = MP_tex2D16intBilinear(a.run.width, a.run.height, a.run.src,
                                              x + w * 0.05f * a.r * (t.x - 0.5f), y + a.r * (h * 0.05f) * (t.z - 0.5f));
    const float f = a.r * a.r * sh + 1.0f;
    return {c.x * f, c.y * f, c.z * f};
}

void MP_Task_calcPixelGlasStruct(TaskFuncParams t)
{
    MP_effectFullTask<GlasArgs>(t, [](const GlasArgs& a, MP_float3, int x, int y) { return glasEffect(a, x, y); });
}
void MP_Task_calcPixelGlasStructReduced(TaskFuncParams t)
{
    MP_effectReducedTask<GlasArgs>(t, [](const GlasArgs& a, MP_float3, int x, int y) { return glasEffect(a, x, y); });
}

// ---- Warp: 0 "Länge", 1 "Leuchten", 2 "Zentrum", 3 spline "Maskierung", 4 combo, 5 geometry
// Table: curve MP_temp_table.

struct WarpArgs {
    MP_DriverRun run;
    const float* knots = nullptr;
    float q = 0.0f;
    float cx = 0.0f, cy = 0.0f;
    float invD = 0.0f;
    float Lmax = 1.0f;
};

void MP_TaskPre1_calcPixelWarp(TaskFuncParams t)
{
    const WarpArgs* a = MP_taskArgs<WarpArgs>(t);
    MP_splineSlotTable(a->knots, MP_taskStart(t), MP_taskEnd(t), MP_temp_table);
}

inline MP_float3 warpEffect(const WarpArgs& a, MP_float3 o, int ix, int iy)
{
    const MP_DriverRun& run = a.run;
    const MP_Params* p = run.params;
    const float x = static_cast<float>(ix), y = static_cast<float>(iy);
    const float dx = a.cx - x, dy = a.cy - y;
    // The centre lies inside the image, so n stays within 1..Lmax.
    const int n = MP_safeTrunc(std::pow(std::sqrt(dx * dx + dy * dy) * a.invD, 0.6f) * a.Lmax, 1, 501);
    const float st = a.Lmax * 0.003f / static_cast<float>(n);
    float X = x, Y = y;
    int sr = 0, sg = 0, sb = 0;
    const size_t rowLen = static_cast<size_t>(run.width) * 3;
    for (int i = 0;; ++i) {
        const int col = MP_iclamp(static_cast<int>(X), 0, run.width - 1);
        const int row = MP_iclamp(static_cast<int>(Y), 0, run.height - 1);
        const ushort* s = run.src + static_cast<size_t>(row) * rowLen + static_cast<size_t>(col) * 3;
        sr += s[0];
        sg += s[1];
        sb += s[2];
        if (i == n - 1)
            break;
        X = X + (a.cx - X) * st;
        Y = Y + (a.cy - Y) * st;
    }
    const float f = MP_k / static_cast<float>(n);
    const MP_float3 avg{static_cast<float>(sr) * f, static_cast<float>(sg) * f, static_cast<float>(sb) * f};
    const float P = MP_temp_table[MP_low16((p->lumr * o.x + p->lumg * o.y + p->lumb * o.z) * 65535.0f)];
    const float k1 = 1.0f - P, q1 = 1.0f - a.q;
    auto mix = [&](float oc, float ac) {
        const float glow = MP_min(1.0f, (oc * oc + ac * ac) * 0.707f);
        return oc * k1 + (ac * q1 + glow * a.q) * P;
    };
    return {mix(o.x, avg.x), mix(o.y, avg.y), mix(o.z, avg.z)};
}

void MP_Task_calcPixelWarp(TaskFuncParams t)
{
    MP_effectFullTask<WarpArgs>(t, [](const WarpArgs& a, MP_float3 c, int x, int y) { return warpEffect(a, c, x, y); });
}
void MP_Task_calcPixelWarpReduced(TaskFuncParams t)
{
    MP_effectReducedTask<WarpArgs>(t,
                                   [](const WarpArgs& a, MP_float3 c, int x, int y) { return warpEffect(a, c, x, y); });
}

} // namespace

int MP_calcPixelPerspective(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params)
{
    PerspectiveArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 5))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    a.sv = -(p[0][0] - 0.5f);
    a.sh = -(p[1][0] - 0.5f);
    a.z = 1.0f / (p[2][0] + 1.0f);
    a.cx = static_cast<float>(sizex) * p[3][0];
    a.cy = static_cast<float>(sizey) * p[3][1];
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelPerspective, MP_Task_calcPixelPerspectiveReduced, 8);
    return MP_finishEffectDriver(a.run, dst);
}

int MP_calcPixelWaveDistort(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params)
{
    WaveArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 7))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    a.knots = params->p[5];
    a.fx = p[0][0] * 3.0f * 2.0f * 3.1415927f;
    a.fy = 3.0f * p[1][0] * 2.0f * 3.1415927f;
    a.ax = p[2][0] * 0.1f;
    a.ay = 0.1f * p[3][0];
    a.z = 1.0f / (p[4][0] + 1.0f);
    MP_runTablePass(MP_TaskPre1_calcPixelWaveDistort, MP_makeTask(params, &a));
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelWaveDistort, MP_Task_calcPixelWaveDistortReduced, 4);
    return MP_finishEffectDriver(a.run, dst);
}

int MP_calcPixelGlasStruct(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params)
{
    GlasArgs a;
    a.tex = MP_effectTextureAt(2);
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    if (!a.tex.px)
        return -1;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 4))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    a.g = p[0][0] * 2.5f + 0.1f;
    a.r = p[1][0];
    a.lx = p[2][0] - 0.5f;
    a.ly = p[2][1] - 0.5f;
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelGlasStruct, MP_Task_calcPixelGlasStructReduced, 4);
    return MP_finishEffectDriver(a.run, dst);
}

int MP_calcPixelWarp(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    WarpArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 5))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    const float w = static_cast<float>(sizex), h = static_cast<float>(sizey);
    a.knots = params->p[3];
    a.q = p[1][0];
    // The centre is held inside the image on both sides (NaN: the first
    // column or row), so every ray stays inside the picture.
    float cx = w * p[2][0], cy = h * p[2][1];
    if (cx >= w)
        cx = w - 1.0f;
    if (cy >= h)
        cy = h - 1.0f;
    a.cx = cx >= 0.0f ? cx : 0.0f;
    a.cy = cy >= 0.0f ? cy : 0.0f;
    a.invD = 1.0f / std::sqrt(w * w + h * h);
    // At most 501 samples: a longer ray would step past the centre.
    a.Lmax = static_cast<float>(MP_safeTrunc(1.0f + p[0][0] * 500.0f, 1, 501));
    MP_runTablePass(MP_TaskPre1_calcPixelWarp, MP_makeTask(params, &a));
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelWarp, MP_Task_calcPixelWarpReduced, 1);
    return MP_finishEffectDriver(a.run, dst);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelPerspective", MP_calcPixelPerspective},
    {"MP_calcPixelWaveDistort", MP_calcPixelWaveDistort},
    {"MP_calcPixelGlasStruct", MP_calcPixelGlasStruct},
    {"MP_calcPixelWarp", MP_calcPixelWarp},
};
} // namespace
extern const MP_DriverTable MP_drivers_warps = MP_driverTable(kDrivers);
