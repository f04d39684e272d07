// Tinted texture overlays.
//
// Light:  0 "Typ", 1 "Intensität", 2 "Farbton", 3 "Sättigung", 4 "Position", 5 spline
//         "Maskierung", 6 combo, 7 geometry
// Double: 0 "Typ", 1 "Intensität", 2 "Kontrast", 3 "Sättigung", 4 "Position", 5 spline
//         "Maskierung", 6 combo, 7 geometry
// Tone:   0 "Typ", 1 "Intensität", 2 "Winkel", 3 "Farbton", 4 "Sättigung", 5 "Schatten",
//         6 "Lichter", 7 spline "Maskierung", 8 combo, 9 geometry
// Table: the "Maskierung" curve in MP_temp2_table.

#include "engine/effects/tinted.h"

#include "engine/MP_calccl.h"
#include "engine/core/statistics.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"
#include "engine/tone/bwpoint.h"
#include "engine/views/zoom.h"

#include <cmath>
#include <cstring>

MP_float3 MP_recolourTexel(MP_float3 c, float H, float sigma)
{
    const float M = MP_max(MP_max(c.x, c.y), c.z);
    const float m = MP_min(MP_min(c.x, c.y), c.z);
    float delta = M - m;
    if (!(delta > 0.0f))
        delta = 0.001f;
    float hue = 0.0f, sat = 0.0f, V = 0.0f;
    if (M != 0.0f) {
        sat = delta / M;
        if (c.x == M)
            hue = 60.0f * (c.y - c.z) / delta;
        else if (c.y == M)
            hue = 60.0f * ((c.z - c.x) / delta + 2.0f);
        else
            hue = 60.0f * ((c.x - c.y) / delta + 4.0f);
        if (hue < 0.0f)
            hue += 360.0f;
        V = MP_clamp(M, 0.0f, 1.0f);
    }
    const float S = MP_clamp(sat + sigma, 0.001f, 1.0f);
    hue = hue + H;
    if (hue < 0.0f)
        hue += 360.0f;
    if (hue >= 360.0f)
        hue -= 360.0f;
    // A hue far outside a turn (or NaN) lands in no sector: the texel stays.
    const float jf = std::floor(hue / 60.0f);
    const int j = (jf >= 0.0f && jf < 6.0f) ? static_cast<int>(jf) : -1;
    const float f = hue / 60.0f - jf;
    const float p = V * (1.0f - S), q = V * (1.0f - S * f), t = V * (1.0f - S * (1.0f - f));
    switch (j) {
    case 0: return {V, t, p};
    case 1: return {q, V, p};
    case 2: return {p, V, t};
    case 3: return {p, q, V};
    case 4: return {t, p, V};
    case 5: return {V, p, q};
    default: return c;
    }
}

float MP_toneWindowZoom(float W)
{
    return 0.95f - 0.85f * (0.5f - MP_fabs(0.5f - 4.0f * std::fmod(MP_fabs(0.5f - W), 0.25f)));
}

namespace {

enum class Op { Light, Double, Tone };

struct TintArgs {
    MP_DriverRun run;
    MP_EffectTexture tex;
    float k = 0.0f, H = 0.0f, sigma = 0.0f, kappa = 1.0f;
    float sh = 0.0f, hl = 0.0f;
    float px = 0.5f, py = 0.5f;
    float z = 1.0f;
};

inline float luminance(const MP_Params* p, MP_float3 c) { return p->lumr * c.x + p->lumg * c.y + p->lumb * c.z; }

// The tinted colour y and the mask of pixel (x, y) with source colour s.
template <Op op>
inline MP_float3 tintColour(const TintArgs& a, MP_float3 s, int ix, int iy, float& mask)
{
    const MP_Params* p = a.run.params;
    const float w = static_cast<float>(a.run.width), h = static_cast<float>(a.run.height);
    const float x = static_cast<float>(ix), y = static_cast<float>(iy);
    const float tw = static_cast<float>(a.tex.w), th = static_cast<float>(a.tex.h);
    const float Ls = luminance(p, s);
    mask = MP_temp2_table[MP_low16(Ls * 65535.0f)];
    if constexpr (op == Op::Tone) {
        const float tx = (x / w * a.z + 0.5f * (1.0f - a.z)) * tw;
        const float ty = (y / h * a.z + 0.5f * (1.0f - a.z)) * th;
        const MP_float3 R = MP_recolourTexel(MP_tex2D16intBilinear(a.tex.w, a.tex.h, a.tex.px, tx, ty), a.H, a.sigma);
        const MP_float3 R1{R.x * Ls, R.y * Ls, R.z * Ls};
        const float Lr = luminance(p, R1);
        const float G = Lr > 0.0f ? Ls / Lr : 1.0f;
        const float k1 = 1.0f - a.k;
        MP_float3 o{s.x * k1 + R1.x * G * a.k, s.y * k1 + R1.y * G * a.k, s.z * k1 + R1.z * G * a.k};
        float X = luminance(p, o) + 0.001f;
        if (X < 0.5f) {
            const float F = ((1.0f - a.sh) * X + 0.5f * a.sh) * 0.999f / X;
            o = {(o.x + 0.001f) * F, (o.y + 0.001f) * F, (o.z + 0.001f) * F};
            X = luminance(p, o) + 0.001f;
        }
        if (X > 0.5f) {
            const float F = ((1.0f - a.hl) * X + 0.5f * a.hl) * 0.999f / X;
            o = {(o.x + 0.001f) * F, (o.y + 0.001f) * F, (o.z + 0.001f) * F};
        }
        return o;
    } else {
        const float tx = (x * 0.5f / w + 0.5f * (1.0f - a.px)) * tw;
        const float ty = (y / h * 0.5f + 0.5f * (1.0f - a.py)) * th;
        const MP_float3 R = MP_recolourTexel(MP_tex2D16intBilinear(a.tex.w, a.tex.h, a.tex.px, tx, ty), a.H, a.sigma);
        if constexpr (op == Op::Light) {
            // s (1 - mask) + (k R + s) mask, returned whole.
            const float m1 = 1.0f - mask;
            MP_float3 o{s.x * m1 + (a.k * R.x + s.x) * mask, s.y * m1 + (a.k * R.y + s.y) * mask,
                        s.z * m1 + (a.k * R.z + s.z) * mask};
            mask = 1.0f;
            return o;
        } else {
            const float k1 = 1.0f - a.k;
            return {s.x * k1 + ((R.x - 0.5f) * a.kappa + 0.5f) * a.k, s.y * k1 + ((R.y - 0.5f) * a.kappa + 0.5f) * a.k,
                    s.z * k1 + ((R.z - 0.5f) * a.kappa + 0.5f) * a.k};
        }
    }
}

// Mixed with the mask; `clampFirst`: the tint is held to 0..1 before the mix.
inline float mixMask(float s, float y, float mask, bool clampFirst)
{
    if (clampFirst)
        y = MP_clamp(y, 0.0f, 1.0f);
    return s * (1.0f - mask) + y * mask;
}

template <Op op> MP_float3 tintEffect(const TintArgs& a, MP_float3 s, int x, int y, bool reduced)
{
    float mask = 0.0f;
    const MP_float3 o = tintColour<op>(a, s, x, y, mask);
    if constexpr (op == Op::Light)
        return o;
    // Double's reduced worker clamps the tint before the mix, its full worker
    // after: they differ where the tint leaves 0..1 under a partial mask.
    const bool clampFirst = op == Op::Double && reduced;
    return {mixMask(s.x, o.x, mask, clampFirst), mixMask(s.y, o.y, mask, clampFirst),
            mixMask(s.z, o.z, mask, clampFirst)};
}

// Double and Tone lower values above 1 before the blend; Light hands its
// colour on as it is.
template <Op op> void tintFull(TaskFuncParams t)
{
    MP_effectFullTask<TintArgs>(t, [](const TintArgs& a, MP_float3 c, int x, int y) {
        const MP_float3 e = tintEffect<op>(a, c, x, y, false);
        if constexpr (op == Op::Light)
            return e;
        else
            return MP_float3{MP_min(e.x, 1.0f), MP_min(e.y, 1.0f), MP_min(e.z, 1.0f)};
    });
}
template <Op op> void tintReduced(TaskFuncParams t)
{
    MP_effectReducedTask<TintArgs>(t,
                                   [](const TintArgs& a, MP_float3 c, int x, int y) { return tintEffect<op>(a, c, x, y, true); });
}

void MP_Task_calcPixelStructureLight(TaskFuncParams t) { tintFull<Op::Light>(t); }
void MP_Task_calcPixelStructureLightReduced(TaskFuncParams t) { tintReduced<Op::Light>(t); }
void MP_Task_calcPixelStructureDouble(TaskFuncParams t) { tintFull<Op::Double>(t); }
void MP_Task_calcPixelStructureDoubleReduced(TaskFuncParams t) { tintReduced<Op::Double>(t); }
void MP_Task_calcPixelStructureTone(TaskFuncParams t) { tintFull<Op::Tone>(t); }
void MP_Task_calcPixelStructureToneReduced(TaskFuncParams t) { tintReduced<Op::Tone>(t); }

} // namespace

int MP_calcPixelStructureLight(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    TintArgs a;
    a.tex = MP_effectTexture(params->p[0][0], 110, 23);
    if (!a.tex.px)
        return -1;
    // The stretch afterwards needs 131,072 bytes of the scratch buffer: had
    // up front, so that it cannot fail after the pass.
    if (!MP_UpdateBuffer(131072))
        return -1;
    float geometry[MP_MAX_PARAMETERSETS];
    std::memcpy(geometry, params->p[7], sizeof geometry);
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 7))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    a.k = p[1][0];
    a.H = 360.0f * (p[2][0] - 0.5f);
    a.sigma = 2.0f * p[3][0] - 1.0f;
    a.px = p[4][0];
    a.py = p[4][1];
    MP_runSplineTablePass(params, 5, MP_temp2_table);
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelStructureLight, MP_Task_calcPixelStructureLightReduced, 4);
    MP_finishEffectDriver(a.run, dst);

    // The stretch of the result, through the operator's own blend and mask.
    const int mode = a.run.mode;
    const float opacity = p[6][1] * 0.01f * 100.0f;
    std::memset(params->p, 0, sizeof params->p);
    params->p[0][0] = static_cast<float>(mode);
    params->p[0][1] = opacity;
    std::memcpy(params->p[1], geometry, sizeof geometry);
    MP_UI_GetMinMaxLuminance(dst, &params->lummin, &params->lummax, static_cast<float>(sizex),
                             static_cast<float>(sizey));
    MP_calcPixelautomaticbwpoint(sizex, sizey, dst, dst, srcBpp, dstBpp, params);
    return 0;
}

int MP_calcPixelStructureDouble(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    TintArgs a;
    const int index = MP_effectTextureIndex(params->p[0][0], 11);
    a.tex = MP_effectTextureAt(280 + index);
    if (!a.tex.px)
        return -1;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 7))
        return r;
    if (index == 0) {
        // The photograph itself, scaled to the slot's size, is the second picture.
        const float tw = static_cast<float>(a.tex.w), th = static_cast<float>(a.tex.h);
        MP_MT_zoomPreviewPicture(src, MP_UI_GetTexturePointer(280), 0, 0, 0, 0, tw, th, tw,
                                 static_cast<float>(sizex), static_cast<float>(sizey), 0.0f, 0.0f,
                                 static_cast<float>(sizex), static_cast<float>(sizey));
    }
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    a.k = 0.5f * p[1][0];
    a.kappa = 2.0f * p[2][0];
    a.sigma = 2.0f * p[3][0] - 1.0f;
    a.px = p[4][0];
    a.py = p[4][1];
    MP_runSplineTablePass(params, 5, MP_temp2_table);
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelStructureDouble, MP_Task_calcPixelStructureDoubleReduced, 4);
    return MP_finishEffectDriver(a.run, dst);
}

int MP_calcPixelStructureTone(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    const MP_EffectTexture tex = MP_effectTexture(params->p[0][0], 140, 31);
    if (!tex.px)
        return -1;
    const float W = params->p[2][0];
    const std::unique_ptr<ushort[]> turned = MP_turnedTexture(tex, 0, 1.0f - W);
    if (!turned)
        return -1;
    TintArgs a;
    a.tex = tex;
    a.tex.px = turned.get();
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 9))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    a.k = p[1][0];
    a.H = 360.0f * (p[3][0] - 0.5f);
    a.sigma = 2.0f * p[4][0] - 1.0f;
    a.sh = p[5][0];
    a.hl = p[6][0];
    a.z = MP_toneWindowZoom(W);
    MP_runSplineTablePass(params, 7, MP_temp2_table);
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelStructureTone, MP_Task_calcPixelStructureToneReduced, 4);
    return MP_finishEffectDriver(a.run, dst);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelStructureLight", MP_calcPixelStructureLight},
    {"MP_calcPixelStructureDouble", MP_calcPixelStructureDouble},
    {"MP_calcPixelStructureTone", MP_calcPixelStructureTone},
};
} // namespace
extern const MP_DriverTable MP_drivers_tinted = MP_driverTable(kDrivers);
