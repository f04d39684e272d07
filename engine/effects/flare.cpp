// "Linsenreflexion" (LensFlare): 19 elements on the line from the light
// (t = 0) through the image centre (t = 1), each a disc or ring of its own
// profile, added to the picture. The input is kept in the scratch image for
// the blend pass, so src and dst may be one buffer.

#include "engine/effects/flare.h"

#include "engine/MP_calccl.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

struct Element {
    float t, radius;
    int type;
    float r, g, b;
};

constexpr int kElements = 19;
constexpr Element kFlare[kElements] = {
    {-0.72f, 0.11f, 3, 0.12f, 0.12f, 0.26f}, {-0.55f, 0.04f, 2, 0.12f, 0.28f, 0.16f},
    {-0.3f, 0.15f, 1, 0.16f, 0.15f, 0.10f},  {0.0f, 1.0f, 2, 0.4f, 0.4f, 0.4f},
    {0.0f, 0.43f, 4, 0.08f, 0.04f, 0.04f},   {0.55f, 0.1f, 3, 0.1f, 0.1f, 0.26f},
    {0.6f, 0.2f, 3, 0.12f, 0.12f, 0.26f},    {0.65f, 0.13f, 3, 0.15f, 0.2f, 0.25f},
    {0.9f, 0.11f, 3, 0.18f, 0.17f, 0.12f},   {1.05f, 0.01f, 2, 0.1f, 0.3f, 0.1f},
    {1.2f, 0.02f, 2, 0.1f, 0.2f, 0.1f},      {1.35f, 0.12f, 3, 0.18f, 0.17f, 0.12f},
    {1.45f, 0.17f, 3, 0.18f, 0.17f, 0.12f},  {1.48f, 0.08f, 3, 0.18f, 0.17f, 0.12f},
    {1.7f, 0.09f, 3, 0.08f, 0.14f, 0.06f},   {1.73f, 0.04f, 2, 0.06f, 0.08f, 0.16f},
    {2.1f, 0.28f, 3, 0.19f, 0.17f, 0.04f},   {2.4f, 0.5f, 4, 0.1f, 0.1f, 0.1f},
    {2.9f, 0.9f, 4, 0.09f, 0.05f, 0.03f},
};

struct FlareArgs {
    MP_DriverRun run;
    float I = 0, G = 0, px = 0, py = 0;
};

struct Placed {
    float cx, cy, r2, inv;
    int type;
    float r, g, b;
};

inline float profile(int type, float rho)
{
    switch (type) {
    case 1:
        return rho < 0.9f ? rho / 0.9f : 1.0f - 10.0f * (rho - 0.9f);
    case 2: {
        const float q = 1.0f - rho;
        return q * q;
    }
    case 3: {
        const float q = 1.0f - rho;
        const float g = 1.0f - std::sqrt(std::sqrt(q * q * q));
        return g < 0.9f ? g / 0.9f : 1.0f - 10.0f * (g - 0.9f);
    }
    default:
        if (rho < 0.9f)
            return 0.0f;
        return rho < 0.95f ? 20.0f * (rho - 0.9f) : 1.0f - 20.0f * (rho - 0.95f);
    }
}

void MP_Task_calcPixelLensFlare(TaskFuncParams t)
{
    const FlareArgs& a = *MP_taskArgs<FlareArgs>(t);
    const int w = a.run.width, h = a.run.height;
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    const float lx = a.px * static_cast<float>(w), ly = a.py * static_cast<float>(h);
    const float ax = 0.5f * static_cast<float>(w) - lx, ay = 0.5f * static_cast<float>(h) - ly;
    const float half = 0.5f * static_cast<float>(MP_imin(w, h));
    Placed active[kElements];
    int n = 0;
    for (const Element& e : kFlare) {
        Placed p;
        p.cx = lx + e.t * ax;
        p.cy = ly + e.t * ay;
        const float r = half * e.radius * (2.0f * a.G);
        p.r2 = r * r;
        p.inv = p.r2 <= 0.0f ? 1.0f : 1.0f / p.r2;
        p.type = e.type;
        p.r = e.r * a.I;
        p.g = e.g * a.I;
        p.b = e.b * a.I;
        if (static_cast<float>(start) > p.cy + r || p.cy - r >= static_cast<float>(end))
            continue;
        active[n++] = p;
    }
    MP_forEachRunRow(a.run, start, end, [&](int y, const ushort* s, ushort* d) {
        const float fy = static_cast<float>(y);
        for (int x = 0; x < w; ++x, s += 3, d += 3) {
            MP_float3 c = MP_loadRGB48(s);
            const float fx = static_cast<float>(x);
            for (int k = 0; k < n; ++k) {
                const Placed& p = active[k];
                const float dx = p.cx - fx, dy = p.cy - fy;
                const float d2 = dx * dx + dy * dy;
                if (p.r2 > d2) {
                    const float H = profile(p.type, std::sqrt(d2 * p.inv));
                    c.x += H * p.r;
                    c.y += H * p.g;
                    c.z += H * p.b;
                }
            }
            MP_storeRGB48Clamped(d, c);
        }
    });
}

// run.src is the saved input, run.dst the rendered flare (and the output).
void MP_Task_blendPixelLensFlare(TaskFuncParams t)
{
    const MP_DriverRun& run = *MP_taskArgs<MP_DriverRun>(t);
    MP_fullWorkerRows(run, MP_taskStart(t), MP_taskEnd(t), [&run](MP_float3, int x, int y) {
        return MP_loadRGB48(run.dst + (static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x)) * 3);
    });
}

} // namespace

int MP_calcPixelLensFlare(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    FlareArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 4))
        return r;
    ushort* saved = a.run.dst;
    a.I = params->p[0][0];
    a.G = params->p[1][0];
    a.px = params->p[2][0];
    a.py = params->p[2][1];
    MP_copyImageBanded(src, saved, sizex, sizey);
    MP_DriverRun blend = a.run;
    a.run.dst = dst;
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelLensFlare, nullptr, 8);
    if (!a.run.full)
        return 0;
    blend.src = saved;
    blend.dst = dst;
    MP_runDriverBands(blend, &blend, MP_Task_blendPixelLensFlare, nullptr, 0);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelLensFlare", MP_calcPixelLensFlare},
};
} // namespace
extern const MP_DriverTable MP_drivers_flare = MP_driverTable(kDrivers);
