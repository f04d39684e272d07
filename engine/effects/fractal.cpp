// "Mandelbrot": z <- z^2 + c over a view of the complex plane stretched to
// the image; a cycle probe (refreshed after 1, 2, 3, ... further iterations)
// ends most inner points early. Escaped points are coloured by their escape
// count through a triangle wave of period 512, the others are black.

#include "engine/effects/fractal.h"

#include "engine/MP_calccl.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

struct FractalArgs {
    MP_DriverRun run;
    int I = 16;           // iteration limit, 16..10000
    float O = 0;          // colour offset
    float left = 0, top = 0, pw = 0, ph = 0;
    MP_float3 tint{1, 1, 1}; // normalised, largest component 1
};

// Escape brightness L of point (cr, ci), or -1 for a black point.
inline float escape(const FractalArgs& a, float cr, float ci)
{
    float zr = 0.0f, zi = 0.0f, zr2 = 0.0f, zi2 = 0.0f;
    float pr = 1.0f, pi = 1.0f;
    int k = 0, P = 1, q = 0;
    for (;;) {
        zi = 2.0f * zr * zi + ci;
        zr = zr2 - zi2 + cr;
        if (MP_fabs(zr - pr) < 1e-8f && MP_fabs(zi - pi) < 1e-8f)
            return -1.0f;
        if (++q == P) {
            ++P;
            q = 0;
            pr = zr;
            pi = zi;
        }
        if (++k >= a.I)
            return -1.0f;
        zr2 = zr * zr;
        zi2 = zi * zi;
        if (!(zr2 + zi2 < 4.0f))
            break;
    }
    float v = std::fmod(static_cast<float>(k) / 256.0f + a.O, 2.0f);
    v = v <= 1.0f ? v : 2.0f - v;
    return 1.0f - v;
}

inline float rowImaginary(const FractalArgs& a, int y)
{
    const float ci = a.top + static_cast<float>(y) * a.ph;
    return MP_fabs(ci) < a.ph / 2.0f ? 0.0f : ci;
}

void MP_Task_calcPixelMandelbrot(TaskFuncParams t)
{
    MP_effectFullTask<FractalArgs>(t, [](const FractalArgs& a, MP_float3, int x, int y) {
        const float L = escape(a, a.left + static_cast<float>(x) * a.pw, rowImaginary(a, y));
        if (L < 0.0f)
            return MP_float3{0.0f, 0.0f, 0.0f};
        return MP_float3{a.tint.x * L, a.tint.y * L, a.tint.z * L};
    });
}

void MP_Task_calcPixelMandelbrotReduced(TaskFuncParams t)
{
    const FractalArgs& a = *MP_taskArgs<FractalArgs>(t);
    MP_forEachRunRow(a.run, MP_taskStart(t), MP_taskEnd(t), [&a](int y, const ushort*, ushort* d) {
        const float ci = rowImaginary(a, y);
        for (int x = 0; x < a.run.width; ++x, d += 3) {
            const float L = escape(a, a.left + static_cast<float>(x) * a.pw, ci);
            if (L < 0.0f) {
                d[0] = d[1] = d[2] = 0;
                continue;
            }
            d[0] = MP_store16(a.tint.x * L * 65535.0f);
            d[1] = MP_store16(a.tint.y * L * 65535.0f);
            d[2] = MP_store16(a.tint.z * L * 65535.0f);
        }
    });
}

} // namespace

int MP_calcPixelMandelbrot(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    FractalArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 6, 5))
        return r;
    a.I = MP_safeTrunc(params->p[0][0] * 9984.0f + 16.0f, 16, 10000);
    const float Z = (params->p[1][0] * 9900.0f + 100.0f) / 100.0f;
    a.O = 2.0f * params->p[2][0];
    const float cx = params->p[3][0] * 3.3f - 2.3f;
    const float cy = params->p[3][1] * 2.6f - 1.3f;
    const float tr = params->p[4][2] + 0.001f, tg = params->p[4][3] + 0.001f, tb = params->p[4][4] + 0.001f;
    float tn = tr > tg ? tr : tg;
    tn = tn > tb ? tn : tb;
    if (!(tn > 0.0f))
        tn = 0.001f;
    a.tint = {tr / tn, tg / tn, tb / tn};
    a.left = cx - 1.65f / Z;
    a.pw = ((cx + 1.65f / Z) - a.left) / static_cast<float>(sizex);
    a.top = cy - 1.3f / Z;
    a.ph = ((cy + 1.3f / Z) - a.top) / static_cast<float>(sizey);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelMandelbrot, MP_Task_calcPixelMandelbrotReduced, 1);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelMandelbrot", MP_calcPixelMandelbrot},
};
} // namespace
extern const MP_DriverTable MP_drivers_fractal = MP_driverTable(kDrivers);
