// Radial distortions: "Magnet", "Airbag", "Linsenkorrektur" (LensCorrection)
// and "Chromatische Verschiebung" (ChromaticMove).

#include "engine/effects/radialdistort.h"

#include "engine/MP_calccl.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

// ---- "Magnet": 0 "Stärke", 1 "Größe", 2 "Zoom", 3 "Zentrum", 4 combo, 5 geometry ---------

struct MagnetArgs {
    MP_DriverRun run;
    float g = 0.0f;   // strength
    float S = 0.0f;   // ring size in pixels
    float iZ = 1.0f;  // 1 / zoom
    float cx = 0.0f, cy = 0.0f;
};

inline void magnetPoint(const MagnetArgs& a, int x, int y, float& xs, float& ys)
{
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    float dx = a.cx - fx, dy = a.cy - fy;
    const float d2 = dx * dx + dy * dy;
    float x1 = fx, y1 = fy;
    if (a.S * a.S >= d2) {
        const float l = std::sqrt(d2);
        // At the centre itself the direction is undefined and the
        // displacement 0 (with a ring of size 0 the formula gives 0 / 0).
        if (l > 0.0f) {
            dx = dx / l;
            dy = dy / l;
            const float f = MP_fabs((l * (1.0f / a.S) - 0.5f) * 2.0f);
            const float f2 = f * f, f4 = f2 * f2;
            const float m = (1.0f - f4 * f4) * (a.g * a.S);
            x1 = fx + dx * m;
            y1 = fy + dy * m;
        }
    }
    xs = (x1 - a.cx) * a.iZ + a.cx;
    ys = (y1 - a.cy) * a.iZ + a.cy;
}

void MP_Task_calcPixelMagnet(TaskFuncParams t) { MP_resampleFullTask<MagnetArgs>(t, magnetPoint); }
void MP_Task_calcPixelMagnetReduced(TaskFuncParams t) { MP_resampleReducedTask<MagnetArgs>(t, magnetPoint); }

// ---- "Airbag": 0 "Verzerrung", 1 "Zoom", 2 "Position", 3 combo, 4 geometry ----------------
// Table: MP_temp_table[i] = (2 i / 65535)^P.

struct AirbagArgs {
    MP_DriverRun run;
    float P = 1.0f;
    float iZ = 1.0f;
    float u = 0.5f, v = 0.5f;
};

void MP_TaskPre1_calcPixelAirbag(TaskFuncParams t)
{
    const AirbagArgs* a = MP_taskArgs<AirbagArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = std::pow(2.0f * static_cast<float>(i) * MP_k, a->P);
}

inline void airbagPoint(const AirbagArgs& a, int x, int y, float& xs, float& ys)
{
    const float w = static_cast<float>(a.run.width), h = static_cast<float>(a.run.height);
    const float dy = (static_cast<float>(y) - a.v * h) * (1.0f / h);
    const float dx = (1.0f / w) * (static_cast<float>(x) - a.u * w);
    const float len = std::sqrt(dx * dx + dy * dy);
    const float f = a.iZ * MP_temp_table[MP_low16(32767.0f * len)] / (len + 0.0001f);
    xs = dx * f * w + a.u * w;
    ys = dy * f * h + a.v * h;
}

void MP_Task_calcPixelAirbag(TaskFuncParams t) { MP_resampleFullTask<AirbagArgs>(t, airbagPoint); }
void MP_Task_calcPixelAirbagReduced(TaskFuncParams t) { MP_resampleReducedTask<AirbagArgs>(t, airbagPoint); }

// ---- "Linsenkorrektur": 0 "Stärke", 1 "Position", 2 combo, 3 geometry ---------------------
// ---- "Chromatische Verschiebung": 0 "Beugung", 1 "Rot", 2 "Grün", 3 "Blau", 4 "Position",
//      5 combo, 6 geometry ----------------------------------------------------------------

struct LensArgs {
    MP_DriverRun run;
    float k = 0.0f;
    float e[3] = {0.0f, 0.0f, 0.0f}; // ChromaticMove: per-channel shift
    float u = 0.5f, v = 0.5f;
};


inline void lensAB(const LensArgs& a, int x, int y, float& A, float& B)
{
    const float w = static_cast<float>(a.run.width), h = static_cast<float>(a.run.height);
    const float s = MP_min(w, h);
    A = (w / s) * ((1.0f / w) * static_cast<float>(x) - a.u);
    B = (h / s) * ((1.0f / h) * static_cast<float>(y) - a.v);
}

// The integer bilinear sample at the contraction alpha about the image
// centre; 0 <= xs < w is tested on the float (NaN or a huge alpha fails).
inline bool lensSample(const MP_DriverRun& run, float alpha, int x, int y, int* r, int* g, int* b)
{
    const float hw = static_cast<float>(run.width) * 0.5f, hh = static_cast<float>(run.height) * 0.5f;
    const float xs = (static_cast<float>(x) - hw) * alpha + hw;
    const float ys = (static_cast<float>(y) - hh) * alpha + hh;
    if (!MP_insideImage(run, xs, ys))
        return false;
    MP_tex2D16intBilinearToInt(run.width, run.height, run.src, r, g, b, xs, ys);
    return true;
}

inline void lensEffectInt(const LensArgs& a, int x, int y, int out[3])
{
    float A, B;
    lensAB(a, x, y, A, B);
    const float t = 10.0f - a.k;
    const float alpha = t / std::sqrt(A * A + B * B + t * t);
    if (!lensSample(a.run, alpha, x, y, &out[0], &out[1], &out[2]))
        out[0] = out[1] = out[2] = 0;
}

inline void chromaticEffectInt(const LensArgs& a, int x, int y, int out[3])
{
    float A, B;
    lensAB(a, x, y, A, B);
    for (int c = 0; c < 3; ++c) {
        const float t = a.e[c] + 10.0f - a.k;
        const float alpha = t / std::sqrt(t * t + A * A + B * B);
        int v[3];
        out[c] = lensSample(a.run, alpha, x, y, &v[0], &v[1], &v[2]) ? v[c] : 0;
    }
}

template <void (*Effect)(const LensArgs&, int, int, int*)>
void lensFull(TaskFuncParams t)
{
    MP_effectFullTask<LensArgs>(t, [](const LensArgs& a, MP_float3, int x, int y) {
        int v[3];
        Effect(a, x, y, v);
        return MP_float3{static_cast<float>(v[0]) * MP_k, static_cast<float>(v[1]) * MP_k,
                         static_cast<float>(v[2]) * MP_k};
    });
}

template <void (*Effect)(const LensArgs&, int, int, int*)>
void lensReduced(TaskFuncParams t)
{
    const LensArgs& a = *MP_taskArgs<LensArgs>(t);
    MP_forEachRunRow(a.run, MP_taskStart(t), MP_taskEnd(t), [&](int y, const ushort*, ushort* d) {
        for (int x = 0; x < a.run.width; ++x, d += 3) {
            int v[3];
            Effect(a, x, y, v);
            d[0] = static_cast<ushort>(v[0]);
            d[1] = static_cast<ushort>(v[1]);
            d[2] = static_cast<ushort>(v[2]);
        }
    });
}

void MP_Task_calcPixelLensCorrection(TaskFuncParams t) { lensFull<lensEffectInt>(t); }
void MP_Task_calcPixelLensCorrectionReduced(TaskFuncParams t) { lensReduced<lensEffectInt>(t); }
void MP_Task_calcPixelChromaticMove(TaskFuncParams t) { lensFull<chromaticEffectInt>(t); }
void MP_Task_calcPixelChromaticMoveReduced(TaskFuncParams t) { lensReduced<chromaticEffectInt>(t); }

} // namespace

int MP_calcPixelMagnet(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    MagnetArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 5))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    const float s = MP_min(static_cast<float>(sizex), static_cast<float>(sizey));
    a.g = (p[0][0] * 2.0f - 1.0f) * 0.05f;
    a.S = s * p[1][0];
    a.iZ = 1.0f / (1.0f + p[2][0]);
    a.cx = static_cast<float>(sizex) * p[3][0];
    a.cy = static_cast<float>(sizey) * p[3][1];
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelMagnet, MP_Task_calcPixelMagnetReduced, 8);
    return MP_finishEffectDriver(a.run, dst);
}

int MP_calcPixelAirbag(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    AirbagArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 4))
        return r;
    a.P = 1.0f + params->p[0][0] * 0.5f;
    a.iZ = 1.0f / (1.0f + params->p[1][0]);
    a.u = params->p[2][0];
    a.v = params->p[2][1];
    MP_runTablePass(MP_TaskPre1_calcPixelAirbag, MP_makeTask(params, &a));
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelAirbag, MP_Task_calcPixelAirbagReduced, 8);
    return MP_finishEffectDriver(a.run, dst);
}

int MP_calcPixelLensCorrection(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    LensArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 3))
        return r;
    a.k = MP_pow(params->p[0][0], 0.125f) * 9.9f;
    a.u = params->p[1][0];
    a.v = params->p[1][1];
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelLensCorrection, MP_Task_calcPixelLensCorrectionReduced, 8);
    return MP_finishEffectDriver(a.run, dst);
}

int MP_calcPixelChromaticMove(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    LensArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    a.k = MP_pow(p[0][0] + 0.001f, 0.125f) * 8.0f;
    const float q = a.k * 0.125f;
    a.e[0] = p[1][0] * 0.25f / q;
    a.e[1] = p[2][0] * 0.25f / q;
    a.e[2] = 0.25f * p[3][0] / q;
    a.u = p[4][0];
    a.v = p[4][1];
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelChromaticMove, MP_Task_calcPixelChromaticMoveReduced, 8);
    return MP_finishEffectDriver(a.run, dst);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelMagnet", MP_calcPixelMagnet},
    {"MP_calcPixelAirbag", MP_calcPixelAirbag},
    {"MP_calcPixelLensCorrection", MP_calcPixelLensCorrection},
    {"MP_calcPixelChromaticMove", MP_calcPixelChromaticMove},
};
} // namespace
extern const MP_DriverTable MP_drivers_radialdistort = MP_driverTable(kDrivers);
