// "Polarlicht" (PolarLight): a glowing curtain hanging from a line, its
// position, height and brightness wavering along the line as sums of sines
// whose frequencies come from seeded draws ("Variante" reseeds). Drawn onto a
// copy of the picture by tasks that each own a range of rows (the weather
// scheme of effectframe.h); no progress at all.

#include "engine/effects/polarlight.h"

#include "engine/MP_calccl.h"
#include "engine/core/random.h"
#include "engine/core/settings.h"
#include "engine/effects/effectframe.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr float kPi = 3.1415927f;
constexpr int kProfile[13] = {1, 7, 18, 35, 56, 81, 102, 119, 134, 145, 152, 112, 1};
constexpr float kBases[9] = {2.97f, 5.77f, 1.79f, 7.53f, 5.34f, 13.97f, 37.33f, 3.75f, 11.11f};

struct AuroraArgs {
    ushort* picture = nullptr;
    int w = 0, h = 0;
    float C = 1;
    float f[9] = {};
    float F = 0, Hs = 0, I = 0;
    float X1 = 0, Y1 = 0, ax = 0, ay = 0;
    MP_float3 colour{0, 0, 0};
};

// The curtain's height at row0 and the vertical wobble of sample phase phi.
inline int curtainHeight(const AuroraArgs& a, float phi, int row0, bool scaled)
{
    const float wave = 0.1f * std::sin(phi * a.f[2]) + 0.05f * std::sin(phi * a.f[3]) + 0.7f;
    const float slope = scaled ? static_cast<float>(row0) * (1.0f / static_cast<float>(a.h))
                               : static_cast<float>(row0) / static_cast<float>(a.h);
    // At most about 1.5 image heights for slider values in range.
    return MP_safeTrunc(wave * a.Hs * (slope * -0.8f + 1.0f), INT32_MIN / 4, 4 * MP_imax(a.h, 1));
}
inline int verticalWobble(const AuroraArgs& a, float phi)
{
    return MP_safeTrunc((a.ay * std::sin(phi * a.f[7]) * 0.05f + std::sin(phi * a.f[8]) * a.ay * 0.03f) * 0.5f * a.F,
                        INT32_MIN / 4, INT32_MAX / 4);
}
inline int rowOf(float v) { return MP_safeTrunc(v, INT32_MIN / 4, INT32_MAX / 4); }

void MP_Task_calcPixelPolarLight(TaskFuncParams t)
{
    const AuroraArgs& a = *MP_taskArgs<AuroraArgs>(t);
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    const size_t w = static_cast<size_t>(a.w);
    float xp = a.ax > 0.0f ? -1e9f : (a.ax < 0.0f ? 1e9f : 0.0f);
    const float Ch = 0.5f * a.C;
    const float cw[3] = {a.colour.x * a.I, a.colour.y * a.I, a.colour.z * a.I};
    for (int n = 0; static_cast<float>(n) < a.C; ++n) {
        const float fn = static_cast<float>(n);
        const float tt = fn / a.C;
        const float phi = kPi * tt * a.F;
        const float x = a.ax * tt + a.X1 + a.ax * std::sin(phi * a.f[0]) * 0.05f + std::sin(phi * a.f[1]) * a.ax * 0.03f;
        if (a.ax > 0.0f && !(x > xp))
            continue;
        if (a.ax < 0.0f && !(x < xp))
            continue;
        const int col = MP_safeTrunc(x, INT32_MIN / 4, INT32_MAX / 4);
        if (col <= 0 || col >= a.w - 1)
            continue;
        const float e = MP_fabs(Ch - fn) * (1.0f / Ch);
        const float K = (1.0f - e * e) * (std::sin(phi * a.f[4]) * 0.15f + std::sin(phi * a.f[5]) * 0.1f +
                                         std::sin(phi * a.f[6]) * 0.05f + 0.4f);
        if (!(K * a.I > 0.05f)) {
            xp = x;
            continue;
        }
        const int row0 = rowOf(a.ay * tt + a.Y1);
        int height = curtainHeight(a, phi, row0, true);
        float s;
        int half;
        if (height <= 0) {
            height = 1;
            s = 12.0f;
            half = 0;
        } else {
            s = 12.0f / static_cast<float>(height);
            half = height >> 1;
        }
        const float fr = x - static_cast<float>(col);
        int64_t lw[3], rw[3];
        for (int c = 0; c < 3; ++c) {
            lw[c] = MP_safeTrunc(cw[c] * K * 256.0f * (1.0f - fr), -(1 << 24), 1 << 24);
            rw[c] = MP_safeTrunc(cw[c] * K * 256.0f * fr, -(1 << 24), 1 << 24);
        }
        const int top = row0 + verticalWobble(a, phi) - half;
        const int j1 = MP_imin(height, end - top);
        for (int j = MP_imax(0, start - top); j < j1; ++j) {
            const float p = static_cast<float>(j) * s;
            const int i = MP_imin(MP_safeTrunc(p, 0, 11), 11);
            const int64_t q = MP_safeTrunc((p - static_cast<float>(i)) * 256.0f, 0, 256);
            const int64_t g = (256 - q) * kProfile[i] + q * kProfile[i + 1];
            ushort* px = a.picture + (static_cast<size_t>(top + j) * w + static_cast<size_t>(col)) * 3;
            for (int c = 0; c < 3; ++c) {
                const int64_t l = px[c] + ((lw[c] * g) >> 16);
                const int64_t r = px[c + 3] + ((rw[c] * g) >> 16);
                px[c] = static_cast<ushort>(l < 0 ? 0 : (l > 65535 ? 65535 : l));
                px[c + 3] = static_cast<ushort>(r < 0 ? 0 : (r > 65535 ? 65535 : r));
            }
        }
        xp = x;
    }
}

} // namespace

int MP_calcPixelPolarLight(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    MP_DriverRun run;
    if (int r = MP_beginWeather(run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 7))
        return r;
    AuroraArgs a;
    a.picture = run.dst;
    a.w = sizex;
    a.h = sizey;
    a.I = 25.0f * params->p[0][0];
    a.Hs = params->p[1][0] * static_cast<float>(sizey);
    a.F = 0.7f * params->p[2][0];
    a.X1 = static_cast<float>(sizex) * params->p[4][0];
    a.Y1 = static_cast<float>(sizey) * params->p[4][1];
    a.ax = static_cast<float>(sizex) * params->p[4][2] - a.X1;
    a.ay = static_cast<float>(sizey) * params->p[4][3] - a.Y1;
    a.colour = {params->p[5][2], params->p[5][3], params->p[5][4]};
    // Ten samples per pixel of line length, at most the image's diagonal.
    const float fw = static_cast<float>(sizex), fh = static_cast<float>(sizey);
    const float maxC = 10.0f * std::sqrt(fw * fw + fh * fh);
    float C = 10.0f * std::sqrt(a.ax * a.ax + a.ay * a.ay);
    if (!(C <= maxC))
        C = std::isnan(C) ? 1.0f : maxC;
    a.C = C > 1.0f ? C : 1.0f;

    MP_UI_SetRandomSeed(0x12345678);
    const float reseeds = params->p[3][0] * 100.0f;
    for (int i = 0; static_cast<float>(i) < reseeds && i < 100; ++i) {
        const int da = MP_rand();
        const int db = MP_rand();
        MP_UI_SetRandomSeed((db & 0xFFFF) * 32768 + (da & 0xFFFF));
    }
    for (int k = 0; k < 9; ++k)
        a.f[k] = (1.0f + static_cast<float>(MP_rand() & 0x7FFF) / 26384.0f) * kBases[k];

    if (sizex > 0 && sizey > 0) {
        // The rows some sample's curtain reaches.
        int64_t rmin = sizey, rmax = 0;
        for (int n = 0; static_cast<float>(n) < a.C; ++n) {
            const float fn = static_cast<float>(n);
            const float phi = kPi * (fn / a.C) * a.F;
            const int column = MP_safeTrunc(a.ax * std::sin(phi * a.f[0]) * 0.05f + std::sin(phi * a.f[1]) * a.ax * 0.03f +
                                                (a.ax * fn / a.C + a.X1),
                                            INT32_MIN / 4, INT32_MAX / 4);
            if (column < 0 || column > sizex - 1)
                continue;
            const int row0 = rowOf(fn * a.ay / a.C + a.Y1);
            int height = curtainHeight(a, phi, row0, false);
            int half = 0;
            if (height <= 0)
                height = 1;
            else
                half = height >> 1;
            const int64_t top = int64_t{verticalWobble(a, phi)} + row0 - half;
            rmin = top < rmin ? top : rmin;
            rmax = top + height > rmax ? top + height : rmax;
        }
        const int start = static_cast<int>(rmin > 0 ? rmin : 0);
        const int end = static_cast<int>(rmax < sizey ? rmax : sizey);
        if (start < end) {
            const int N = MP_idealThreadCount;
            TaskFuncParams task = MP_makeTask(params, &a);
            int prev = start;
            for (int i = 1; i <= N; ++i) {
                const int e = MP_imin(end, start + static_cast<int>(static_cast<float>(i) / static_cast<float>(N) *
                                                                     static_cast<float>(end - start)));
                if (e > prev) {
                    MP_setTaskRange(task, prev, e);
                    C_AddTask(MP_Task_calcPixelPolarLight, task);
                    prev = e;
                }
            }
            C_WaitTasks();
        }
    }
    return MP_finishWeather(run, dst, 0);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelPolarLight", MP_calcPixelPolarLight},
};
} // namespace
extern const MP_DriverTable MP_drivers_polarlight = MP_driverTable(kDrivers);
