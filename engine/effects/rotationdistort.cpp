// Rotation distortions: "Horizont ausrichten" (Horizon), "Drehung" (Rotate),
// "Verwirbeln" (Twirl) and "Motiv verkleinern" (AddFrame).

#include "engine/effects/rotationdistort.h"

#include "engine/MP_calccl.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

// Horizon: 0 "Bogenminuten", 1 "Zoom", 2 "Zentrum", 3 combo, 4 geometry.
// Rotate:  0 "Winkel", 1 "Twist", 2 "Zoom", 3 "Zentrum", 4 combo, 5 geometry.
// Twirl:   0 "Größe", 1 "Twist", 2 "Zoom", 3 "Zentrum", 4 combo, 5 geometry.
enum class Polar { Horizon, Rotate, Twirl };

struct PolarArgs {
    MP_DriverRun run;
    float A = 0.0f;  // angle offset
    float T = 0.0f;  // twist
    float kz = 0.0f; // 1 / Z * 0.9995
    float R = 0.0f;  // swirl radius (Twirl)
    float cx = 0.0f, cy = 0.0f;
};

template <Polar op>
inline void polarPoint(const PolarArgs& a, int x, int y, float& xs, float& ys)
{
    const float dx = static_cast<float>(x) - a.cx;
    const float dy = static_cast<float>(y) - a.cy;
    const float theta = std::atan2(dy, dx);
    const float len = std::sqrt(dx * dx + dy * dy);
    const float r = len * a.kz;
    float phi;
    if constexpr (op == Polar::Horizon) {
        phi = theta + a.A;
    } else if constexpr (op == Polar::Rotate) {
        phi = a.T * r + (theta + a.A);
    } else {
        phi = theta - 1.5707964f;
        if (a.R > len) {
            const float q = 1.0f - len / a.R;
            phi = phi + a.T * len * q * q;
        }
    }
    const int n = MP_turnIndex(phi);
    xs = a.cx - MP_tableSin(n) * r;
    ys = a.cy + MP_tableCos(n) * r;
}

template <Polar op> void polarFull(TaskFuncParams t) { MP_resampleFullTask<PolarArgs>(t, polarPoint<op>); }
template <Polar op> void polarReduced(TaskFuncParams t) { MP_resampleReducedTask<PolarArgs>(t, polarPoint<op>); }

void MP_Task_calcPixelHorizon(TaskFuncParams t) { polarFull<Polar::Horizon>(t); }
void MP_Task_calcPixelHorizonReduced(TaskFuncParams t) { polarReduced<Polar::Horizon>(t); }
void MP_Task_calcPixelRotate(TaskFuncParams t) { polarFull<Polar::Rotate>(t); }
void MP_Task_calcPixelRotateReduced(TaskFuncParams t) { polarReduced<Polar::Rotate>(t); }
void MP_Task_calcPixelTwirl(TaskFuncParams t) { polarFull<Polar::Twirl>(t); }
void MP_Task_calcPixelTwirlReduced(TaskFuncParams t) { polarReduced<Polar::Twirl>(t); }

// The run of a polar operator; `fill` completes the arguments from the block.
template <typename Fill>
int runPolar(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params, int geoSlot,
             MP_TaskFunc full, MP_TaskFunc reduced, Fill&& fill)
{
    PolarArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, geoSlot))
        return r;
    fill(a, static_cast<float>(sizex), static_cast<float>(sizey), params->p);
    MP_runSineTablePass(params);
    MP_runDriverBands(a.run, &a, full, reduced, 8);
    return MP_finishEffectDriver(a.run, dst);
}

using Slots = float (*)[MP_MAX_PARAMETERSETS];

// ---- "Motiv verkleinern": 0 "Zoom", 1 "Zentrum", 2 combo, 3 geometry ----------------------

struct AddFrameArgs {
    MP_DriverRun run;
    float s = 0.0f; // 1 / Z * 0.9995
    float cx = 0.0f, cy = 0.0f;
};

inline void addFramePoint(const AddFrameArgs& a, int x, int y, float& xs, float& ys)
{
    xs = (static_cast<float>(x) - a.cx) * a.s + a.cx;
    ys = (static_cast<float>(y) - a.cy) * a.s + a.cy;
}

void MP_Task_calcPixelAddFrame(TaskFuncParams t)
{
    MP_effectFullTask<AddFrameArgs>(t, [](const AddFrameArgs& a, MP_float3, int x, int y) {
        float xs, ys;
        addFramePoint(a, x, y, xs, ys);
        return MP_sampleInside(a.run, xs, ys);
    });
}

// Interpolates in integers and stores the results as they are.
void MP_Task_calcPixelAddFrameReduced(TaskFuncParams t)
{
    const AddFrameArgs& a = *MP_taskArgs<AddFrameArgs>(t);
    const MP_DriverRun& run = a.run;
    MP_forEachRunRow(run, MP_taskStart(t), MP_taskEnd(t), [&](int y, const ushort*, ushort* d) {
        for (int x = 0; x < run.width; ++x, d += 3) {
            float xs, ys;
            addFramePoint(a, x, y, xs, ys);
            int r = 0, g = 0, b = 0;
            if (MP_insideImage(run, xs, ys))
                MP_tex2D16intBilinearToInt(run.width, run.height, run.src, &r, &g, &b, xs, ys);
            d[0] = static_cast<ushort>(r);
            d[1] = static_cast<ushort>(g);
            d[2] = static_cast<ushort>(b);
        }
    });
}

} // namespace

int MP_calcPixelHorizon(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runPolar(sizex, sizey, src, dst, srcBpp, dstBpp, params, 4, MP_Task_calcPixelHorizon,
                    MP_Task_calcPixelHorizonReduced, [](PolarArgs& a, float w, float h, Slots p) {
                        a.A = ((p[0][0] - 0.5f) / -18.0f + 1.0f + 0.5f - 0.75f) * 2.0f * 3.1415927f;
                        a.kz = 1.0f / (1.0f + p[1][0]) * 0.9995f;
                        a.cx = w * p[2][0];
                        a.cy = h * p[2][1];
                    });
}

int MP_calcPixelRotate(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    const float psf = params ? params->previewscalingfactor : 1.0f;
    return runPolar(sizex, sizey, src, dst, srcBpp, dstBpp, params, 5, MP_Task_calcPixelRotate,
                    MP_Task_calcPixelRotateReduced, [psf](PolarArgs& a, float w, float h, Slots p) {
                        a.A = (1.0f - p[0][0] - 0.75f) * 2.0f * 3.1415927f;
                        a.T = ((1.0f - p[1][0]) - 0.5f) * 0.01f / psf;
                        a.kz = 1.0f / (1.0f + p[2][0]) * 0.9995f;
                        a.cx = w * p[3][0];
                        a.cy = h * p[3][1];
                    });
}

int MP_calcPixelTwirl(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    const float psf = params ? params->previewscalingfactor : 1.0f;
    return runPolar(sizex, sizey, src, dst, srcBpp, dstBpp, params, 5, MP_Task_calcPixelTwirl,
                    MP_Task_calcPixelTwirlReduced, [psf](PolarArgs& a, float w, float h, Slots p) {
                        a.R = MP_min(w, h) * (p[0][0] + 0.001f) * 0.5f;
                        a.T = ((1.0f - p[1][0]) - 0.5f) * 0.01f / psf;
                        a.kz = 1.0f / (1.0f + p[2][0]) * 0.9995f;
                        a.cx = w * p[3][0];
                        a.cy = h * p[3][1];
                    });
}

int MP_calcPixelAddFrame(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    AddFrameArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 3))
        return r;
    const float Z = 0.5f + params->p[0][0] * 0.5f;
    a.s = 1.0f / Z * 0.9995f;
    a.cx = static_cast<float>(sizex) * params->p[1][0];
    a.cy = static_cast<float>(sizey) * params->p[1][1];
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelAddFrame, MP_Task_calcPixelAddFrameReduced, 8);
    return MP_finishEffectDriver(a.run, dst);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelHorizon", MP_calcPixelHorizon},
    {"MP_calcPixelRotate", MP_calcPixelRotate},
    {"MP_calcPixelTwirl", MP_calcPixelTwirl},
    {"MP_calcPixelAddFrame", MP_calcPixelAddFrame},
};
} // namespace
extern const MP_DriverTable MP_drivers_rotationdistort = MP_driverTable(kDrivers);
