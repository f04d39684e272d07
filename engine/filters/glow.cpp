#include "engine/filters/glow.h"

#include "engine/MP_calccl.h"
#include "engine/core/boxblur.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/core/textures.h"
#include "engine/filters/filterframe.h"

#include <cmath>
#include <memory>
#include <new>

using namespace mp_filters;

namespace {

// A plane value 0..32767 read as 0..1 (single precision, 1/32767).
constexpr float kPlaneScale = 3.051851e-05f;

// The overlay (soft light) of x with the blurred value b.
inline float overlay(float x, float b) { return x < 0.5f ? 2.0f * x * b : 1.0f - 2.0f * (1.0f - x) * (1.0f - b); }

std::unique_ptr<short[]> allocPlanes(size_t pixels, int count)
{
    if (pixels > SIZE_MAX / 2 / static_cast<size_t>(count))
        return nullptr;
    return std::unique_ptr<short[]>(new (std::nothrow) short[pixels * static_cast<size_t>(count)]);
}

// ---- "Weicher Kontrast" and "Intensives Leuchten" ---------------------------

struct SoftArgs {
    MP_DriverRun run;
    short* plane = nullptr; // SoftContrast: one plane; SoftRGBContrast: R, G, B planes
    size_t pixels = 0;
    float s = 0.0f;         // strength, signed
    float a = 0.0f;         // |s|
};

inline const SoftArgs* softArgs(TaskFuncParams t) { return MP_taskArgs<SoftArgs>(t); }

void MP_TaskPre1_calcPixelSoftContrast(TaskFuncParams t)
{
    MP_splineSlotTable(MP_taskParams(t)->p[2], MP_taskStart(t), MP_taskEnd(t), MP_temp2_table);
}
void MP_TaskPre1_calcPixelSoftRGBContrast(TaskFuncParams t) { MP_TaskPre1_calcPixelSoftContrast(t); }

void MP_TaskPre2_calcPixelSoftContrast(TaskFuncParams t)
{
    const SoftArgs* a = softArgs(t);
    const size_t w = static_cast<size_t>(a->run.width);
    const bool invert = a->s < 0.0f;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* px = a->run.src + static_cast<size_t>(y) * w * 3;
        short* p = a->plane + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x, px += 3) {
            const int d = (px[0] + 2 * px[1] + px[2]) >> 3;
            p[x] = static_cast<short>(invert ? 32767 - d : d);
        }
    }
}

void MP_TaskPre2_calcPixelSoftRGBContrast(TaskFuncParams t)
{
    const SoftArgs* a = softArgs(t);
    const size_t w = static_cast<size_t>(a->run.width);
    const bool invert = a->s < 0.0f;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* px = a->run.src + static_cast<size_t>(y) * w * 3;
        const size_t row = static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x, px += 3)
            for (int c = 0; c < 3; ++c) {
                const int h = px[c] >> 1;
                a->plane[a->pixels * static_cast<size_t>(c) + row + x] = static_cast<short>(invert ? 32767 - h : h);
            }
    }
}

inline MP_float3 softContrast(const SoftArgs& a, MP_float3 c, size_t i)
{
    const float v = (c.x + c.y + c.y + c.z) * 0.25f;
    const float w = MP_temp2_table[MP_tableIndex(v)];
    const float u = static_cast<float>(a.plane[i]) * kPlaneScale;
    const float g = MP_max(1.0f - a.a + overlay(v, u) / (v + 0.001f) * a.a, 0.0f);
    const float k = 1.0f - w;
    return {c.x * k + MP_min(1.0f, g * c.x) * w, c.y * k + MP_min(1.0f, g * c.y) * w,
            c.z * k + MP_min(1.0f, g * c.z) * w};
}

inline float softChannel(float b, float u, float amount, float w)
{
    const float g = MP_max(overlay(b, u) / (b + 0.001f) * amount + (1.0f - amount), 0.0f);
    return b * (1.0f - w) + MP_min(1.0f, g * b) * w;
}

inline MP_float3 softRGBContrast(const SoftArgs& a, MP_float3 c, size_t i)
{
    const float w = MP_temp2_table[MP_tableIndex((c.x + c.y + c.z) * 0.3333f)];
    const short* p = a.plane;
    return {softChannel(c.x, static_cast<float>(p[i]) * kPlaneScale, a.a, w),
            softChannel(c.y, static_cast<float>(p[a.pixels + i]) * kPlaneScale, a.a, w),
            softChannel(c.z, static_cast<float>(p[2 * a.pixels + i]) * kPlaneScale, a.a, w)};
}

template <bool Full, MP_float3 (*Effect)(const SoftArgs&, MP_float3, size_t)> void softLayer(TaskFuncParams t)
{
    const SoftArgs* a = softArgs(t);
    const size_t w = static_cast<size_t>(a->run.width);
    MP_filterRows<Full>(a->run, a->run.dst, MP_taskStart(t), MP_taskEnd(t), [a, w](MP_float3 c, int x, int y) {
        return Effect(*a, c, static_cast<size_t>(y) * w + static_cast<size_t>(x));
    });
}

void MP_TaskLayer_calcPixelSoftContrast(TaskFuncParams t) { softLayer<true, softContrast>(t); }
void MP_TaskLayer_calcPixelSoftContrastReduced(TaskFuncParams t) { softLayer<false, softContrast>(t); }
void MP_TaskLayer_calcPixelSoftRGBContrast(TaskFuncParams t) { softLayer<true, softRGBContrast>(t); }
void MP_TaskLayer_calcPixelSoftRGBContrastReduced(TaskFuncParams t) { softLayer<false, softRGBContrast>(t); }

// Both soft contrasts: planes, table, plane pass, blur of each plane, layer pass.
int runSoft(bool rgb, int sizex, int sizey, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, dst, dst, srcBpp, dstBpp, params))
        return e;
    SoftArgs a;
    a.pixels = pixelCount(sizex, sizey);
    if (a.pixels == 0)
        return 0;
    const int planes = rgb ? 3 : 1;
    std::unique_ptr<short[]> plane = allocPlanes(a.pixels, planes);
    if (!plane)
        return -1;
    a.plane = plane.get();
    if (int e = MP_beginDriver(a.run, sizex, sizey, dst, dst, params, 4, 3))
        return e;
    a.s = rgb ? 2.0f * finiteOr(params->p[1][0], 0.0f) : 8.0f * finiteOr(params->p[1][0], 0.5f) - 4.0f;
    a.a = MP_fabs(a.s);
    const TaskFuncParams tmpl = MP_makeTask(params, &a);
    MP_runTablePass(rgb ? MP_TaskPre1_calcPixelSoftRGBContrast : MP_TaskPre1_calcPixelSoftContrast, tmpl);
    MP_runBandPass(rgb ? MP_TaskPre2_calcPixelSoftRGBContrast : MP_TaskPre2_calcPixelSoftContrast, tmpl, sizey, 0);
    const float M = static_cast<float>(MP_imax(sizex, sizey));
    const float g = finiteOr(params->p[0][0], 0.0f);
    const int half = rgb ? MP_safeTrunc(M * (0.025f * g + 0.005f) * 0.5f, 0, 1 << 29)
                         : MP_safeTrunc(M * (g * 0.25f) * 0.5f, 0, 1 << 29);
    for (int c = 0; c < planes; ++c)
        if (MP_blurGlowPlane(sizex, sizey, a.plane + a.pixels * static_cast<size_t>(c),
                             static_cast<float>(2 * half), 2) < 0)
            return -1;
    if (MP_filterCancelled())
        return 0;
    if (rgb)
        return MP_runDriverBands(a.run, &a, MP_TaskLayer_calcPixelSoftRGBContrast,
                                 MP_TaskLayer_calcPixelSoftRGBContrastReduced, 8);
    return MP_runDriverBands(a.run, &a, MP_TaskLayer_calcPixelSoftContrast, MP_TaskLayer_calcPixelSoftContrastReduced,
                             8);
}

// ---- "Neon Leuchten" ---------------------------------------------------------

struct NeonArgs {
    MP_DriverRun run;
    short* plane = nullptr;
    float P = 1.0f;             // darkening power
    MP_float3 hue{};            // the raw "Farbton" components
    float I = 0.0f;             // glow intensity
};

void MP_pre2Task_calcPixelNeonLight(TaskFuncParams t)
{
    const float P = MP_taskArgs<NeonArgs>(t)->P;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = powf(static_cast<float>(i) * MP_k, P);
}

inline MP_float3 neonHue(MP_float3 hue) { return MP_normalize({hue.x + 0.001f, hue.y + 0.001f, hue.z + 0.001f}); }

// The glow value of a pixel with the normalised hue direction tn.
inline short neonGlow(MP_float3 tn, const ushort* px)
{
    const MP_float3 c = MP_loadRGB48(px);
    const MP_float3 n = MP_normalize({c.x + 0.001f, c.y + 0.001f, c.z + 0.001f});
    const float d = MP_max(MP_max(MP_fabs(tn.x - n.x), MP_fabs(tn.y - n.y)), MP_fabs(tn.z - n.z));
    const float q = 1.0f - d - 0.4f;
    if (!(q >= 0.0f))
        return 0;
    const float r = q / 0.6f;
    const float v = r * r * r * r;
    return static_cast<short>(v > 1.0f ? 32767 : static_cast<int>(v * 32767.0f));
}

void MP_pre1Task_calcPixelNeonLight(TaskFuncParams t)
{
    const NeonArgs* a = MP_taskArgs<NeonArgs>(t);
    const MP_float3 tn = neonHue(a->hue);
    const size_t w = static_cast<size_t>(a->run.width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* px = a->run.src + static_cast<size_t>(y) * w * 3;
        short* p = a->plane + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x, px += 3)
            p[x] = neonGlow(tn, px);
    }
}

inline float neonChannel(float hue, float glow, float base)
{
    const float e = hue * glow + base;
    return e > 1.0f ? 1.0f : (e > 0.0f ? e : 0.0f);
}

template <bool Full> void neonRows(const NeonArgs& a, int start, int end)
{
    const MP_DriverRun& run = a.run;
    const bool geometry = run.params->geometry_needed != 0;
    MP_forEachRawPixel(run, start, end, [&](int x, int y, size_t i, const ushort* s, ushort* d) {
        const float glow = static_cast<float>(a.plane[i]) * kPlaneScale * a.I;
        if constexpr (Full) {
            const MP_float3 c0 = MP_loadRGB48(s);
            MP_fullWorkerPixel(run, geometry, x, y, c0, d, [&] {
                return MP_float3{neonChannel(a.hue.x, glow, MP_temp_table[MP_tableIndex(c0.x)]),
                                 neonChannel(a.hue.y, glow, MP_temp_table[MP_tableIndex(c0.y)]),
                                 neonChannel(a.hue.z, glow, MP_temp_table[MP_tableIndex(c0.z)])};
            });
        } else {
            MP_storeRGB48(d, {neonChannel(a.hue.x, glow, MP_temp_table[s[0]]),
                              neonChannel(a.hue.y, glow, MP_temp_table[s[1]]),
                              neonChannel(a.hue.z, glow, MP_temp_table[s[2]])});
        }
    });
}

void MP_Task_calcPixelNeonLight(TaskFuncParams t)
{
    neonRows<true>(*MP_taskArgs<NeonArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}
void MP_Task_calcPixelNeonLightReduced(TaskFuncParams t)
{
    neonRows<false>(*MP_taskArgs<NeonArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}

} // namespace

int MP_neonGlowValue(float hr, float hg, float hb, const ushort* px) { return neonGlow(neonHue({hr, hg, hb}), px); }

int MP_blurGlowPlane(int width, int height, short* plane, float radius, int passes)
{
    MP_Params b{};
    b.p[0][0] = radius;
    b.p[1][0] = static_cast<float>(passes);
    return MP_UI_GetPanoramaMode() != 0 ? MP_BlurSignedShortBufferNoClip(width, height, plane, plane, 0, 2, &b)
                                        : MP_BlurSignedShortBuffer(width, height, plane, plane, 0, 2, &b);
}

int MP_calcPixelSoftContrast(int sizex, int sizey, ushort*, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runSoft(false, sizex, sizey, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelSoftRGBContrast(int sizex, int sizey, ushort*, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params)
{
    return runSoft(true, sizex, sizey, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelNeonLight(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels == 0)
        return 0;
    if (pixels > SIZE_MAX / 6)
        return -1;
    NeonArgs a;
    a.plane = static_cast<short*>(MP_UpdateBuffer(pixels * 6));
    if (!a.plane)
        return -1;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return e;
    const float dark = finiteOr(params->p[2][0], 0.0f);
    a.P = 1.0f + 10.0f * dark * dark;
    a.hue = {finiteOr(params->p[3][2], 0.0f), finiteOr(params->p[3][3], 0.0f), finiteOr(params->p[3][4], 0.0f)};
    a.I = 5.0f * finiteOr(params->p[0][0], 0.0f);
    const TaskFuncParams tmpl = MP_makeTask(params, &a);
    MP_runTablePass(MP_pre2Task_calcPixelNeonLight, tmpl);
    MP_runBandPass(MP_pre1Task_calcPixelNeonLight, tmpl, sizey, 0);
    const float M = static_cast<float>(MP_imax(sizex, sizey));
    const float radius = MP_max(M * (finiteOr(params->p[1][0], 0.0f) * 0.1f + 0.025f) * 0.48f - 1.0f, 2.0f);
    if (MP_blurGlowPlane(sizex, sizey, a.plane, radius, 2) < 0)
        return -1;
    if (MP_filterCancelled())
        return 0;
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelNeonLight, MP_Task_calcPixelNeonLightReduced, 8);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelSoftContrast", MP_calcPixelSoftContrast},
    {"MP_calcPixelSoftRGBContrast", MP_calcPixelSoftRGBContrast},
    {"MP_calcPixelNeonLight", MP_calcPixelNeonLight},
};
extern const MP_DriverTable MP_drivers_glow = MP_driverTable(kDrivers);
