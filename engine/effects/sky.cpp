// "Sternenhimmel" (Stars) and "Mond" (Moon): an overlay drawn into the
// scratch image (cleared to 0), then mixed with the source into dst by a
// band pass that reads from src only the pixel it writes.
//
// Stars are drawn on the calling thread from the engine's generator, seeded
// at every run, seven draws a star. The moon's disc and glow are band passes
// over the moon's rows relative to its centre.

#include "engine/effects/sky.h"

#include "engine/MP_calccl.h"
#include "engine/core/random.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {


// ---- "Sternenhimmel" ---------------------------------------------------------------------

constexpr int kMaxStars = 10000;
constexpr float kMaxStarRadius = 40.001f;

struct StarArgs {
    MP_DriverRun run;
    const ushort* stars = nullptr;
    float horizon = 0;
    MP_float3 sky{0, 0, 0}; // normalised
    float sharp = 0;
};

void MP_TaskPre1_calcPixelStars(TaskFuncParams t)
{
    const StarArgs& a = *MP_taskArgs<StarArgs>(t);
    const float e = 1.0f + 46.0f * a.sharp;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp2_table[i] = std::pow(static_cast<float>(i) * MP_k, e);
}

void drawStars(ushort* out, int w, int h, float density, float size)
{
    float count = density * density * 10000.0f;
    count = count < static_cast<float>(kMaxStars) ? count : static_cast<float>(kMaxStars);
    MP_UI_SetRandomSeed(0x12345678);
    for (int j = 0; static_cast<float>(j) < count; ++j) {
        const int x = MP_safeTrunc(static_cast<float>(MP_rand() & 0x7FFF) / 32767.0f * static_cast<float>(w), 0, w);
        const int y = MP_safeTrunc(static_cast<float>(MP_rand() & 0x7FFF) / 32767.0f * static_cast<float>(h), 0, h);
        const float fx = static_cast<float>(MP_rand() & 0x7FFF) / 32767.0f;
        const float fy = static_cast<float>(MP_rand() & 0x7FFF) / 32767.0f;
        (void)MP_rand();
        float C = static_cast<float>(MP_rand() & 0x3FFF) * (1.0f / 16384.0f) * size * 40.0f + 0.001f;
        const float v = static_cast<float>(MP_rand() & 0x3FFF) / 16383.0f * 2.0f;
        // Radii beyond the slider's range stay at its largest; a radius that
        // is not above 0 (a negative size or preview scale, NaN) draws no star.
        if (!(C > 0.0f))
            continue;
        if (!(C < kMaxStarRadius))
            C = kMaxStarRadius;
        float e, fr, fg, fb;
        if (v < 1.0f) {
            e = v;
            fr = 0.2f, fg = 0.3f, fb = 0.5f;
        } else {
            e = 2.0f - v;
            fr = 0.5f, fg = 0.3f, fb = 0.2f;
        }
        const float peak[3] = {std::fmin((fr * (1.0f - e) + e) * 131070.0f, 65535.0f),
                               std::fmin((fg * (1.0f - e) + e) * 131070.0f, 65535.0f),
                               std::fmin((fb * (1.0f - e) + e) * 131070.0f, 65535.0f)};
        const int R = static_cast<int>(C + 1.0f);
        const float C2 = C * C, invC = 1.0f / C;
        for (int k = -R; k < R; ++k) {
            const float dy = static_cast<float>(k) + fy;
            const size_t row = static_cast<size_t>(MP_wrapIndex(y + k, h)) * static_cast<size_t>(w);
            for (int m = -R; m < R; ++m) {
                const float dx = static_cast<float>(m) + fx;
                const float d2 = dx * dx + dy * dy;
                if (!(C2 > d2))
                    continue;
                const float q = 1.0f - std::sqrt(d2) * invC;
                const float Q = q * q * q;
                ushort* p = out + (row + static_cast<size_t>(MP_wrapIndex(x + m, w))) * 3;
                for (int c = 0; c < 3; ++c) {
                    const int s = static_cast<int>(peak[c] * Q);
                    if (s > p[c])
                        p[c] = static_cast<ushort>(s);
                }
            }
        }
    }
}

inline MP_float3 starMix(const StarArgs& a, MP_float3 s, int y, const ushort* star)
{
    const MP_Params* pr = a.run.params;
    const MP_float3 s1{s.x + 0.001f, s.y + 0.001f, s.z + 0.001f};
    const float len = MP_length(s1);
    const MP_float3 p{s1.x / len, s1.y / len, s1.z / len};
    const float l = pr->lumr * s.x + pr->lumg * s.y + pr->lumb * s.z;
    const float H = static_cast<float>(a.run.height) * a.horizon;
    float f = 0.0f;
    const float fy = static_cast<float>(y);
    if (H > fy) {
        const float diff = MP_fabs(a.sky.x - p.x) + MP_fabs(a.sky.y - p.y) + MP_fabs(a.sky.z - p.z);
        f = (H - fy) / H * MP_temp2_table[MP_low16((1.0f - diff * 0.33333f) * 65535.0f)];
    }
    const float k = (1.0f - l * l) * f;
    const float keep = 1.0f - k;
    return {s.x * keep + static_cast<float>(star[0]) * MP_k * k, s.y * keep + static_cast<float>(star[1]) * MP_k * k,
            s.z * keep + static_cast<float>(star[2]) * MP_k * k};
}

inline const ushort* overlayAt(const MP_DriverRun& run, const ushort* overlay, int x, int y)
{
    return overlay + (static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x)) * 3;
}

void MP_Task_calcPixelStars(TaskFuncParams t)
{
    MP_effectFullTask<StarArgs>(t, [](const StarArgs& a, MP_float3 s, int x, int y) {
        return starMix(a, s, y, overlayAt(a.run, a.stars, x, y));
    });
}

void MP_Task_calcPixelStarsReduced(TaskFuncParams t)
{
    MP_effectReducedTask<StarArgs>(t, [](const StarArgs& a, MP_float3 s, int x, int y) {
        return starMix(a, s, y, overlayAt(a.run, a.stars, x, y));
    });
}

// ---- "Mond" --------------------------------------------------------------------------------

struct MoonArgs {
    MP_DriverRun run;
    ushort* moon = nullptr;
    MP_EffectTexture tex;
    bool panorama = false;
    int cx = 0, cy = 0;
    float R = 1, Rg = 1;
    int Ri = 1, Rgi = 1;
    float Lx = 0, Ly = 0, Lz = 0, L2 = 0;
    MP_float3 colour{1, 1, 1};
    float G = 0, glow = 0, I = 0;
};

// Image column of offset k: wrapped in panorama mode, else -1 outside.
inline int moonColumn(const MoonArgs& a, int k)
{
    const int x = a.cx + k;
    if (a.panorama)
        return MP_wrapIndex(x, a.run.width);
    return x >= 0 && x < a.run.width ? x : -1;
}

inline float squareSum(int i, int k)
{
    return static_cast<float>(static_cast<int64_t>(i) * i + static_cast<int64_t>(k) * k);
}

// The lit side of a sphere of radius R around the moon's centre, over the
// task's rows i = start - Ri .. end - Ri - 1: for each pixel with
// rho = |(i, k)| / R < 1 and V < 0, lit(i, k, rho, depth, light, p) with the
// sphere's depth term (sqrt(1 - rho)), the light term
// -(V / |normal| |L|) depth 0.99 + 0.01, and the moon picture's pixel p.
template <class Lit> void moonSphere(const MoonArgs& a, TaskFuncParams t, float R, int Ri, Lit&& lit)
{
    const float invR = 1.0f / R;
    for (int r = MP_taskStart(t); r < MP_taskEnd(t); ++r) {
        const int i = r - Ri;
        const int y = a.cy + i;
        if (y < 0 || y >= a.run.height)
            continue;
        const float iy = static_cast<float>(i) / R;
        for (int k = -Ri; k < Ri; ++k) {
            const int x = moonColumn(a, k);
            if (x < 0)
                continue;
            const float rho = std::sqrt(squareSum(i, k)) * invR;
            if (!(rho < 1.0f))
                continue;
            const float z = std::sqrt(1.0f - rho);
            const float kx = static_cast<float>(k) / R;
            const float V = a.Lx * kx + a.Ly * iy + a.Lz * z;
            if (!(V < 0.0f))
                continue;
            const float light = -(V / std::sqrt((kx * kx + iy * iy + z * z) * a.L2)) * z * 0.99f + 0.01f;
            lit(i, k, rho, light,
                a.moon + (static_cast<size_t>(y) * static_cast<size_t>(a.run.width) + static_cast<size_t>(x)) * 3);
        }
    }
}

void MP_Task_calcPixelMoonBase(TaskFuncParams t)
{
    const MoonArgs& a = *MP_taskArgs<MoonArgs>(t);
    moonSphere(a, t, a.R, a.Ri, [&a](int i, int k, float, float shade, ushort* p) {
        const float ty = static_cast<float>(a.tex.h) * (0.5f + 0.5f * static_cast<float>(i) / static_cast<float>(a.Ri));
        const float tx = static_cast<float>(a.tex.w) * (0.5f + 0.5f * static_cast<float>(k) / static_cast<float>(a.Ri));
        const MP_float3 tc = MP_tex2D16intBilinear(a.tex.w, a.tex.h, a.tex.px, tx, ty);
        p[0] = MP_store16(a.colour.x * 65535.0f * tc.x * shade);
        p[1] = MP_store16(a.colour.y * 65535.0f * tc.y * shade);
        p[2] = MP_store16(a.colour.z * 65535.0f * tc.z * shade);
    });
}

void MP_Task_calcPixelMoonGlow(TaskFuncParams t)
{
    const MoonArgs& a = *MP_taskArgs<MoonArgs>(t);
    const float scale = 3.0f * a.glow * 0.25f;
    moonSphere(a, t, a.Rg, a.Rgi, [&a, scale](int, int, float rho, float light, ushort* p) {
        const float J = (1.0f - rho) * a.G * light;
        const float c[3] = {a.colour.x, a.colour.y, a.colour.z};
        for (int j = 0; j < 3; ++j) {
            const int64_t add = MP_safeTrunc(c[j] * 65535.0f * scale * J, -65535, 65535);
            const int64_t v = int64_t{p[j]} + add;
            p[j] = static_cast<ushort>(v < 0 ? 0 : (v > 65535 ? 65535 : v));
        }
    });
}

void MP_Task_calcPixelMoon(TaskFuncParams t)
{
    MP_effectFullTask<MoonArgs>(t, [](const MoonArgs& a, MP_float3 s, int x, int y) {
        const ushort* m = overlayAt(a.run, a.moon, x, y);
        const float I = a.I, keep = 1.0f - a.I;
        MP_float3 e{(static_cast<float>(m[0]) * MP_k + s.x) * I + s.x * keep,
                    (static_cast<float>(m[1]) * MP_k + s.y) * I + s.y * keep,
                    (static_cast<float>(m[2]) * MP_k + s.z) * I + s.z * keep};
        e.x = e.x < 1.0f ? e.x : 1.0f;
        e.y = e.y < 1.0f ? e.y : 1.0f;
        e.z = e.z < 1.0f ? e.z : 1.0f;
        return e;
    });
}

void MP_Task_calcPixelMoonReduced(TaskFuncParams t)
{
    const MoonArgs& a = *MP_taskArgs<MoonArgs>(t);
    const int64_t c = MP_safeTrunc(16384.0f * a.I, 0, 16384);
    const size_t w = static_cast<size_t>(a.run.width);
    MP_forEachRunRow(a.run, MP_taskStart(t), MP_taskEnd(t), [&](int y, const ushort* s, ushort* d) {
        const ushort* m = a.moon + static_cast<size_t>(y) * w * 3;
        for (size_t i = 0; i < w * 3; ++i) {
            const int64_t v = ((16384 - c) * s[i] + c * (int64_t{s[i]} + m[i])) >> 14;
            d[i] = static_cast<ushort>(v > 65535 ? 65535 : v);
        }
    });
}

} // namespace

int MP_calcPixelStars(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    StarArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6))
        return r;
    ushort* stars = a.run.dst;
    a.run.dst = dst;
    a.stars = stars;
    a.sharp = params->p[2][0];
    a.horizon = params->p[3][1];
    a.sky = MP_normalize({params->p[4][2] + 0.001f, params->p[4][3] + 0.001f, params->p[4][4] + 0.001f});
    MP_runTablePass(MP_TaskPre1_calcPixelStars, MP_makeTask(params, &a));
    std::memset(stars, 0, static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 6);
    if (sizex > 0 && sizey > 0)
        drawStars(stars, sizex, sizey, params->p[0][0], params->p[1][0] * params->previewscalingfactor);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelStars, MP_Task_calcPixelStarsReduced, 8);
}

int MP_calcPixelMoon(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    MoonArgs a;
    a.tex = MP_effectTextureAt(1);
    if (!a.tex.px)
        return -1;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 7))
        return r;
    a.moon = a.run.dst;
    a.run.dst = dst;
    std::memset(a.moon, 0, static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 6);
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    // Radii beyond the sliders' ranges stay at their largest.
    const float half = 0.5f * static_cast<float>(MP_imin(sizex, sizey));
    a.R = 1.0f + half * params->p[0][0];
    if (!(a.R <= 1.0f + half))
        a.R = std::isnan(a.R) ? 1.0f : 1.0f + half;
    if (!(a.R >= 1.0f))
        a.R = 1.0f;
    a.Ri = static_cast<int>(a.R + 1.0f);
    const float phase = params->p[1][0];
    const float phi = 2.0f * 3.1415927f * phase;
    a.Lx = 2.0f * std::sin(phi);
    a.Ly = -0.4f * std::sin(phi);
    a.Lz = 2.0f * std::cos(phi);
    a.L2 = a.Lx * a.Lx + a.Ly * a.Ly + a.Lz * a.Lz;
    const float q = 2.0f * params->p[3][0];
    if (q < 1.0f)
        a.colour = {1.0f, (240.0f * q + 255.0f * (1.0f - q)) / 255.0f, (96.0f * q + 255.0f * (1.0f - q)) / 255.0f};
    else {
        const float g = q - 1.0f;
        a.colour = {1.0f, (240.0f * (1.0f - g) + 96.0f * g) / 255.0f, (96.0f * (1.0f - g) + 32.0f * g) / 255.0f};
    }
    a.cx = MP_safeTrunc(static_cast<float>(sizex) * params->p[5][0], -sizex, 2 * sizex);
    a.cy = MP_safeTrunc(static_cast<float>(sizey) * params->p[5][1], -sizey, 2 * sizey);
    a.glow = params->p[4][0];
    a.Rg = (6.0f * a.glow + 1.0f) * a.R;
    if (!(a.Rg <= 7.0f * a.R))
        a.Rg = std::isnan(a.Rg) ? a.R : 7.0f * a.R;
    if (!(a.Rg >= 1.0f))
        a.Rg = 1.0f;
    a.Rgi = static_cast<int>(a.Rg + 1.0f);
    a.G = (1.0f - 2.0f * MP_fabs(phase - 0.5f)) * 1.5f;
    a.I = params->p[2][0];
    const TaskFuncParams task = MP_makeTask(params, &a);
    if (sizex > 0 && sizey > 0) {
        MP_runBandPass(MP_Task_calcPixelMoonBase, task, 2 * a.Ri, 0);
        MP_runBandPass(MP_Task_calcPixelMoonGlow, task, 2 * a.Rgi, 0);
    }
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelMoon, MP_Task_calcPixelMoonReduced, 8);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelStars", MP_calcPixelStars},
    {"MP_calcPixelMoon", MP_calcPixelMoon},
};
} // namespace
extern const MP_DriverTable MP_drivers_sky = MP_driverTable(kDrivers);
