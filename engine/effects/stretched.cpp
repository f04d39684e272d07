// Stretched texture overlays.
//
// Vignette:   0 "Typ", 1 "Vignette", 2 "Rundung", 3 "Position", 4 combo, 5 geometry
// Projection: 0 "Typ", 1 "Belichtung", 2 "Perspektive", 3 "Spiegelung", 4 combo, 5 geometry
// Filmframe:  0 "Typ", 1 "Intensität", 2 combo, 3 geometry

#include "engine/effects/stretched.h"

#include "engine/MP_calccl.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

struct StretchArgs {
    MP_DriverRun run;
    MP_EffectTexture tex;
    float v = 0.0f, r = 1.0f, px = 0.5f, py = 0.5f; // Vignette
    float c = 0.5f, P = 2.0f;                       // Projection
    bool mirror = false;
    float k = 0.0f; // Filmframe
};

// ---- Vignette: table MP_temp_table[i] = (i / 65535)^r -------------------------------------

void MP_TaskPre1_calcPixelStructureVignette(TaskFuncParams t)
{
    const StretchArgs* a = MP_taskArgs<StretchArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = std::pow(static_cast<float>(i) * MP_k, a->r);
}

// The texture's row coordinate of image row y (one power per row).
inline float vignetteRowCoord(const StretchArgs& a, int y)
{
    const float Y = 2.0f * (static_cast<float>(y) / static_cast<float>(a.run.height) - 0.5f);
    float Yp = std::pow(MP_fabs(Y), a.r);
    if (Y < 0.0f)
        Yp = -Yp;
    return ((0.5f * Yp + 0.5f) * 0.75f + 0.25f * (1.0f - a.py)) * static_cast<float>(a.tex.h);
}

// The factor 1 - v (1 - B) of pixel x in the row with texture coordinate ty.
inline float vignetteFactor(const StretchArgs& a, int x, float ty)
{
    const float X = 2.0f * (static_cast<float>(x) / static_cast<float>(a.run.width) - 0.5f);
    float Xp = MP_temp_table[MP_tableIndex(MP_fabs(X))];
    if (X < 0.0f)
        Xp = -Xp;
    const float tx = ((0.5f * Xp + 0.5f) * 0.75f + 0.25f * (1.0f - a.px)) * static_cast<float>(a.tex.w);
    const float B = static_cast<float>(MP_tex2D16intBilinearGreenToInt(a.tex.w, a.tex.h, a.tex.px, tx, ty)) * MP_k;
    return 1.0f - a.v * (1.0f - B);
}

void MP_Task_calcPixelStructureVignette(TaskFuncParams t)
{
    const StretchArgs* a = MP_taskArgs<StretchArgs>(t);
    const MP_DriverRun& run = a->run;
    const bool geometry = run.params->geometry_needed != 0;
    MP_forEachRunRow(run, MP_taskStart(t), MP_taskEnd(t), [&](int y, const ushort* s, ushort* d) {
        const float ty = vignetteRowCoord(*a, y);
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            const MP_float3 c0 = MP_loadRGB48(s);
            MP_fullWorkerPixel(run, geometry, x, y, c0, d, [&] {
                const float f = vignetteFactor(*a, x, ty);
                MP_float3 e{c0.x * f, c0.y * f, c0.z * f};
                if (a->v >= 0.0f)
                    e = {MP_max(e.x, 0.0f), MP_max(e.y, 0.0f), MP_max(e.z, 0.0f)};
                return e;
            });
        }
    });
}

// On the raw samples: darkening stops at 0, brightening at 65535.
void MP_Task_calcPixelStructureVignetteReduced(TaskFuncParams t)
{
    const StretchArgs* a = MP_taskArgs<StretchArgs>(t);
    const MP_DriverRun& run = a->run;
    MP_forEachRunRow(run, MP_taskStart(t), MP_taskEnd(t), [&](int y, const ushort* s, ushort* d) {
        const float ty = vignetteRowCoord(*a, y);
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            const float f = vignetteFactor(*a, x, ty);
            for (int ch = 0; ch < 3; ++ch) {
                const float v = static_cast<float>(s[ch]) * f;
                d[ch] = static_cast<ushort>(MP_safeTrunc(v, 0, 65535));
            }
        }
    });
}

// ---- Projection ------------------------------------------------------------------------------

inline MP_float3 projectionEffect(const StretchArgs& a, int x, int y)
{
    const float w = static_cast<float>(a.run.width), h = static_cast<float>(a.run.height);
    const float u = static_cast<float>(x) / w, v = static_cast<float>(y) / h;
    const MP_float2 T = MP_tex2D16intBilinearRG(a.tex.w, a.tex.h, a.tex.px, u * static_cast<float>(a.tex.w),
                                                v * static_cast<float>(a.tex.h));
    const float div = -a.P - T.y;
    const float A = -a.P / (div != 0.0f ? div : 0.001f);
    float u1 = 0.5f - (0.5f - u) * A;
    float v1 = 0.5f - (0.5f - v) * A;
    if (a.mirror) {
        u1 = 1.0f - u1;
        v1 = 1.0f - v1;
    }
    const MP_float3 S = MP_tex2D16intBilinear(a.run.width, a.run.height, a.run.src, u1 * w, v1 * h);
    const float L = (1.0f - T.y) * 0.5f + 0.5f;
    const float D = (1.0f - a.c) * T.x;
    return {(a.c * S.x + D) * L, (a.c * S.y + D) * L, (a.c * S.z + D) * L};
}

void MP_Task_calcPixelStructureProjection(TaskFuncParams t)
{
    MP_effectFullTask<StretchArgs>(t,
                                   [](const StretchArgs& a, MP_float3, int x, int y) { return projectionEffect(a, x, y); });
}
void MP_Task_calcPixelStructureProjectionReduced(TaskFuncParams t)
{
    MP_effectReducedTask<StretchArgs>(
        t, [](const StretchArgs& a, MP_float3, int x, int y) { return projectionEffect(a, x, y); });
}

// ---- Filmframe ---------------------------------------------------------------------------------

inline MP_float3 filmframeEffect(const StretchArgs& a, float k, MP_float3 s, int x, int y)
{
    const float tx = static_cast<float>(x) * static_cast<float>(a.tex.w) / static_cast<float>(a.run.width);
    const float ty = static_cast<float>(y) / static_cast<float>(a.run.height) * static_cast<float>(a.tex.h);
    const MP_float3 T = MP_tex2D16intBilinear(a.tex.w, a.tex.h, a.tex.px, tx, ty);
    const float k1 = 1.0f - k;
    return {s.x * k1 + s.x * T.x * k, s.y * k1 + s.y * T.y * k, s.z * k1 + s.z * T.z * k};
}

void MP_Task_calcPixelStructureFilmframe(TaskFuncParams t)
{
    MP_effectFullTask<StretchArgs>(
        t, [](const StretchArgs& a, MP_float3 c, int x, int y) { return filmframeEffect(a, a.k, c, x, y); });
}
void MP_Task_calcPixelStructureFilmframeReduced(TaskFuncParams t)
{
    MP_effectReducedTask<StretchArgs>(t, [](const StretchArgs& a, MP_float3 c, int x, int y) {
        return filmframeEffect(a, MP_clamp(a.k, 0.0f, 1.0f), c, x, y);
    });
}

template <typename Fill>
int runStretch(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params, int base,
               int n, int geoSlot, MP_TaskFunc full, MP_TaskFunc reduced, Fill&& fill)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    StretchArgs a;
    a.tex = MP_effectTexture(params->p[0][0], base, n);
    if (!a.tex.px)
        return -1;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, geoSlot))
        return r;
    fill(a, params->p);
    MP_runDriverBands(a.run, &a, full, reduced, 4);
    return MP_finishEffectDriver(a.run, dst);
}

using Slots = float (*)[MP_MAX_PARAMETERSETS];

} // namespace

int MP_calcPixelStructureVignette(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params)
{
    return runStretch(sizex, sizey, src, dst, srcBpp, dstBpp, params, 240, 20, 5, MP_Task_calcPixelStructureVignette,
                      MP_Task_calcPixelStructureVignetteReduced, [params](StretchArgs& a, Slots p) {
                          a.v = 4.0f * p[1][0] - 2.0f;
                          a.r = 1.0f + p[2][0];
                          a.px = p[3][0];
                          a.py = p[3][1];
                          MP_runTablePass(MP_TaskPre1_calcPixelStructureVignette, MP_makeTask(params, &a));
                      });
}

int MP_calcPixelStructureProjection(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                    MP_Params* params)
{
    return runStretch(sizex, sizey, src, dst, srcBpp, dstBpp, params, 340, 5, 5, MP_Task_calcPixelStructureProjection,
                      MP_Task_calcPixelStructureProjectionReduced, [](StretchArgs& a, Slots p) {
                          a.c = 0.1f + 0.8f * p[1][0];
                          a.P = 2.0f + 3.0f * (1.0f - p[2][0]);
                          a.mirror = p[3][0] > 0.5f;
                      });
}

int MP_calcPixelStructureFilmframe(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                   MP_Params* params)
{
    return runStretch(sizex, sizey, src, dst, srcBpp, dstBpp, params, 300, 23, 3, MP_Task_calcPixelStructureFilmframe,
                      MP_Task_calcPixelStructureFilmframeReduced, [](StretchArgs& a, Slots p) { a.k = p[1][0]; });
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelStructureVignette", MP_calcPixelStructureVignette},
    {"MP_calcPixelStructureProjection", MP_calcPixelStructureProjection},
    {"MP_calcPixelStructureFilmframe", MP_calcPixelStructureFilmframe},
};
} // namespace
extern const MP_DriverTable MP_drivers_stretched = MP_driverTable(kDrivers);
