// Fog and rainbow overlays: "Nebel" (TiltFog) and "Regenbogen" (Regenbogen).
// No scratch image: the band tasks write dst, reading from src only the
// pixel they write.

#include "engine/effects/fogbow.h"

#include "engine/MP_calccl.h"
#include "engine/core/cpuclones.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

// ---- "Nebel" ----------------------------------------------------------------------------

struct FogArgs {
    MP_DriverRun run;
    float s = 0, D = 0, T = 0;
    float x1 = 0, y1 = 0, dx = 0, dy = 0, n = 1, base = 0;
    MP_float3 colour{0, 0, 0};
};

// The fog weight k of pixel (x, y) with source samples px.
inline float fogWeight(const FogArgs& a, int x, int y, const ushort* px)
{
    const float u = static_cast<float>(x) / static_cast<float>(a.run.width);
    const float v = static_cast<float>(y) / static_cast<float>(a.run.height);
    const float lambda = ((u * a.dx + v * a.dy) - a.base) / a.n;
    const float fx = u - (a.x1 + lambda * a.dx);
    const float fy = v - (a.y1 + lambda * a.dy);
    const float delta = std::sqrt(fx * fx + fy * fy);
    const float d = 2.0f * a.s * delta;
    const float f = d > 1.0f ? 0.0f : 1.0f - d * d;
    const MP_Params* p = a.run.params;
    const float l = (p->lumr * static_cast<float>(px[0]) + p->lumg * static_cast<float>(px[1]) +
                     p->lumb * static_cast<float>(px[2])) *
                    MP_k;
    return a.D * f * (1.0f - l * a.T);
}

void MP_Task_calcPixelTiltFog(TaskFuncParams t)
{
    const FogArgs& a = *MP_taskArgs<FogArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width);
    MP_fullWorkerRows(a.run, MP_taskStart(t), MP_taskEnd(t), [&a, w](MP_float3 c, int x, int y) {
        const float k = fogWeight(a, x, y, a.run.src + (static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 3);
        const float keep = 1.0f - k;
        return MP_float3{c.x * keep + a.colour.x * k, c.y * keep + a.colour.y * k, c.z * keep + a.colour.z * k};
    });
}

// One row of the reduced worker, 64 pixels at a time: the samples are
// spread into planes so that the weights vectorise (the same operations in
// the same order as fogWeight, pixel by pixel).
MP_CPU_CLONES void fogRowReduced(const FogArgs& a, int y, const ushort* s, ushort* d)
{
    constexpr int kChunk = 64;
    const float cr = a.colour.x * 65535.0f, cg = a.colour.y * 65535.0f, cb = a.colour.z * 65535.0f;
    const MP_Params* p = a.run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    const float fw = static_cast<float>(a.run.width);
    const float v = static_cast<float>(y) / static_cast<float>(a.run.height);
    const float vdy = v * a.dy;
    const float dx = a.dx, dy = a.dy, x1 = a.x1, y1 = a.y1, base = a.base, n = a.n, s2 = 2.0f * a.s, D = a.D, T = a.T;
    const int w = a.run.width;
    for (int x0 = 0; x0 < w; x0 += kChunk) {
        const int m = w - x0 < kChunk ? w - x0 : kChunk;
        float R[kChunk], G[kChunk], B[kChunk], K[kChunk];
        const ushort* q = s + 3 * x0;
        for (int i = 0; i < m; ++i) {
            R[i] = static_cast<float>(q[3 * i]);
            G[i] = static_cast<float>(q[3 * i + 1]);
            B[i] = static_cast<float>(q[3 * i + 2]);
        }
        for (int i = 0; i < m; ++i) {
            const float u = static_cast<float>(x0 + i) / fw;
            const float lambda = ((u * dx + vdy) - base) / n;
            const float ex = u - (x1 + lambda * dx);
            const float ey = v - (y1 + lambda * dy);
            const float dd = s2 * std::sqrt(ex * ex + ey * ey);
            const float f = dd > 1.0f ? 0.0f : 1.0f - dd * dd;
            const float l = (lr * R[i] + lg * G[i] + lb * B[i]) * MP_k;
            K[i] = D * f * (1.0f - l * T);
        }
        ushort* o = d + 3 * x0;
        for (int i = 0; i < m; ++i) {
            const float keep = 1.0f - K[i];
            o[3 * i] = MP_store16(R[i] * keep + cr * K[i]);
            o[3 * i + 1] = MP_store16(G[i] * keep + cg * K[i]);
            o[3 * i + 2] = MP_store16(B[i] * keep + cb * K[i]);
        }
    }
}

void MP_Task_calcPixelTiltFogReduced(TaskFuncParams t)
{
    const FogArgs& a = *MP_taskArgs<FogArgs>(t);
    MP_forEachRunRow(a.run, MP_taskStart(t), MP_taskEnd(t),
                     [&a](int y, const ushort* s, ushort* d) { fogRowReduced(a, y, s, d); });
}

// ---- "Regenbogen" -------------------------------------------------------------------------

constexpr float kPi = 3.1415927f;

// The spectrum across the band, inner edge (violet) to outer edge, x 256.
constexpr unsigned char kRed[23] = {0,   135, 125, 69,  18,  8,   4,   5,   9,   27,  70, 135,
                                    196, 235, 250, 253, 254, 254, 253, 253, 250, 176, 0};
constexpr unsigned char kGreen[23] = {0,   2,   6,   21,  57,  118, 183, 229, 248, 253, 254, 254,
                                      252, 247, 234, 209, 172, 126, 83,  49,  26,  12,  0};
constexpr unsigned char kBlue[23] = {0, 127, 182, 228, 244, 249, 238, 203, 143, 78, 31, 10,
                                     5, 4,   4,   4,   5,   11,  19,  25,  21,  12, 0};

struct BowArgs {
    MP_DriverRun run;
    float E = 0, R = 0, W = 0, L = 0, Q = 0, px = 0, py = 0;
    // derived once per run
    float cx = 0, cy = 0, G = 0, ri2 = 0, ro2 = 0, q = 1, k = 1;
    float red[23], green[23], blue[23];
};

void MP_TaskPre1_calcPixelRegenbogen(TaskFuncParams t)
{
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp2_table[i] = std::pow(static_cast<float>(i) * MP_k, 0.85f);
}

// The rainbow's light at (x, y): false outside the arc; else the brightness
// a times E (ea) and the colour mixed with white, c (1 - A) + 0.5 A.
inline bool bowLight(const BowArgs& a, int x, int y, float& ea, MP_float3& mix)
{
    const float ax = a.cx - static_cast<float>(x);
    const float ay = a.cy - static_cast<float>(y);
    const float m = ax * ax + ay * ay;
    if (!(a.ri2 < m && m < a.ro2))
        return false;
    const float th = std::atan2(ay, ax) / kPi;
    if (th < a.L || th > 1.0f - a.Q)
        return false;
    const float r = (std::sqrt(m * a.q) * a.G - a.W) * a.k;
    const float e = (std::sin(6.35f * th * kPi) + std::cos(5.39f * th * kPi)) * 0.03f + 1.0f;
    float u;
    if (r - 0.5f > 0.0f)
        u = std::pow(2.0f * (r - 0.5f), e) * 0.5f + 0.5f;
    else
        u = 0.5f - 0.5f * std::pow(2.0f * (0.5f - r), e);
    const float v = 22.0f * u;
    float bright = MP_temp2_table[MP_low16((1.0f - MP_fabs(v - 11.0f) * 0.0909091f) * 65535.0f)];
    // Entry i + 1 must exist: v = 22 is entry 21 with weight 1 (entry 22).
    const int i = MP_safeTrunc(v, 0, 21);
    const float f = v - static_cast<float>(i);
    const float g = 1.0f - f;
    const MP_float3 c{a.red[i] * g + a.red[i + 1] * f, a.green[i] * g + a.green[i + 1] * f,
                      a.blue[i] * g + a.blue[i + 1] * f};
    if (th < a.L + 0.1f)
        bright = bright * std::pow(10.0f * (th - a.L), 0.75f);
    if (th > 0.9f - a.Q) {
        // At th = 1 - Q the base rounds to a tiny negative value: no light.
        const float base = 10.0f * ((0.9f - a.Q) - th) + 1.0f;
        bright = bright * std::pow(base > 0.0f ? base : 0.0f, 0.75f);
    }
    const float A = ((std::cos(5.73f * th * kPi) + std::sin(7.31f * th * kPi)) * 0.5f * 0.29f + 0.3f) * bright;
    ea = a.E * bright;
    const float keep = 1.0f - A, white = 0.5f * A;
    mix = {c.x * keep + white, c.y * keep + white, c.z * keep + white};
    return true;
}

// The source plus the rainbow's light; the full worker's effect is held to
// at most 1 (Limit), the reduced worker stores it clamped.
template <bool Limit> inline MP_float3 bowEffect(const BowArgs& a, MP_float3 s, int x, int y)
{
    float ea;
    MP_float3 mix;
    if (!bowLight(a, x, y, ea, mix))
        return s;
    const MP_float3 o{s.x + ea * mix.x, s.y + ea * mix.y, s.z + ea * mix.z};
    if constexpr (Limit)
        return {o.x < 1.0f ? o.x : 1.0f, o.y < 1.0f ? o.y : 1.0f, o.z < 1.0f ? o.z : 1.0f};
    return o;
}

void MP_Task_calcPixelRegenbogen(TaskFuncParams t) { MP_effectFullTask<BowArgs>(t, bowEffect<true>); }
void MP_Task_calcPixelRegenbogenReduced(TaskFuncParams t) { MP_effectReducedTask<BowArgs>(t, bowEffect<false>); }

} // namespace

int MP_calcPixelTiltFog(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    FogArgs a;
    a.s = 4.0f - 4.0f * params->p[0][0];
    a.D = params->p[1][0];
    a.T = params->p[2][0];
    a.x1 = params->p[3][0];
    a.y1 = params->p[3][1];
    a.dx = params->p[3][2] - a.x1;
    a.dy = params->p[3][3] - a.y1;
    a.n = a.dx * a.dx + a.dy * a.dy;
    if (!(a.n > 0.0f))
        a.n = 0.001f;
    a.base = a.x1 * a.dx + a.y1 * a.dy;
    a.colour = {params->p[4][2], params->p[4][3], params->p[4][4]};
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 6, 5))
        return r;
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelTiltFog, MP_Task_calcPixelTiltFogReduced, 8);
}

int MP_calcPixelRegenbogen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    BowArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 7, 6))
        return r;
    MP_runTablePass(MP_TaskPre1_calcPixelRegenbogen, MP_makeTask(params, &a));
    a.E = params->p[0][0];
    a.R = params->p[1][0];
    a.W = 1.0f - (0.01f + 0.24f * params->p[2][0]);
    a.L = 0.4f * params->p[3][0];
    a.Q = 0.5f - (0.4f * params->p[4][0] + 0.1f);
    a.px = params->p[5][0];
    a.py = params->p[5][1];
    const float M = static_cast<float>(MP_imax(sizex, sizey));
    a.cx = a.px * static_cast<float>(sizex);
    a.cy = (a.py + 0.3f) * static_cast<float>(sizey);
    a.G = 2.0f - a.W;
    const float ri = 0.5f * M * a.W * (2.0f * a.R);
    const float ro = 2.0f * a.R * (0.5f * M * a.G);
    a.ri2 = ri * ri;
    a.ro2 = ro * ro;
    a.q = a.ro2 <= 0.0f ? 1.0f : 1.0f / a.ro2;
    a.k = (a.G - a.W) <= 0.0f ? 1.0f : 1.0f / (a.G - a.W);
    for (int i = 0; i < 23; ++i) {
        a.red[i] = static_cast<float>(kRed[i]) / 256.0f;
        a.green[i] = static_cast<float>(kGreen[i]) / 256.0f;
        a.blue[i] = static_cast<float>(kBlue[i]) / 256.0f;
    }
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelRegenbogen, MP_Task_calcPixelRegenbogenReduced, 8);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelTiltFog", MP_calcPixelTiltFog},
    {"MP_calcPixelRegenbogen", MP_calcPixelRegenbogen},
};
} // namespace
extern const MP_DriverTable MP_drivers_fogbow = MP_driverTable(kDrivers);
