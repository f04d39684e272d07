// "Regen" (Rain) and "Schnee" (Snow): seeded particles drawn in a fixed
// order onto a copy of the picture (the weather scheme of effectframe.h).
//
// Rain draws its drops in batches of 65536 (the drop tables are the shared
// 65,536-entry tables), each batch by one task in index order. Snow draws
// ten layers of flakes from the flake sheet of texture 32 on the calling
// thread. Every wrap is a full non-negative modulo; weights and counts from
// slot values are held to what the sliders can give.

#include "engine/effects/weather.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/random.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"

#include <cmath>
#include <cstdint>

namespace {


inline float unitDraw(int d, int mask, float scale) { return static_cast<float>(d & mask) * scale; }

// ---- "Regen" -------------------------------------------------------------------------------

constexpr int kBatch = 65536;
constexpr int kMarker = 65535;

struct RainArgs {
    ushort* picture;
    int w, h;
    float q; // columns per row
};

// v <- (v (16383 - C) + C 52428) >> 14 on the three channels, C in 0..16383.
inline void blendDrop(ushort* p, int64_t C)
{
    for (int c = 0; c < 3; ++c)
        p[c] = static_cast<ushort>((int64_t{p[c]} * (16383 - C) + C * 52428) >> 14);
}

inline int64_t dropWeight(float v) { return MP_safeTrunc(v * 16383.0f, 0, 16383); }

// The drops [start, end) of a batch (table entries), in index order.
void MP_Task_calcPixelRain(TaskFuncParams t)
{
    const RainArgs& a = *MP_taskArgs<RainArgs>(t);
    const size_t w = static_cast<size_t>(a.w);
    for (int j = MP_taskStart(t); j < MP_taskEnd(t); ++j) {
        if (MP_itemp_table[j] != kMarker)
            continue;
        float x = MP_temp_table[j];
        const float a0 = MP_temp3_table[j];
        const float L = MP_temp4_table[j];
        int r = MP_wrapIndex(MP_safeTrunc(MP_temp2_table[j], 0, a.h), a.h);
        const int steps = MP_safeTrunc(L, 0, 1 << 30);
        const float invL = 1.0f / L;
        for (int s = 0; s < steps; ++s) {
            const float tt = static_cast<float>(s) * invL;
            const float u = tt < 0.8f ? 1.25f * tt : 1.0f - 5.0f * (tt - 0.8f);
            const int xi = MP_safeTrunc(x, INT32_MIN + 1, INT32_MAX);
            const int c = MP_wrapIndex(xi, a.w);
            const float f = x - static_cast<float>(xi);
            const float B = (1.0f - f) * a0 * u;
            ushort* row = a.picture + static_cast<size_t>(r) * w * 3;
            blendDrop(row + static_cast<size_t>(c) * 3, dropWeight(B));
            const int c1 = c + 1 == a.w ? 0 : c + 1;
            blendDrop(row + static_cast<size_t>(c1) * 3, dropWeight((1.0f - B) * a0 * u));
            r = r + 1 == a.h ? 0 : r + 1;
            x = x + a.q;
        }
    }
}

// ---- "Schnee" ------------------------------------------------------------------------------

constexpr int kFlakeSheetW = 576, kFlakeSheetH = 640;

void drawSnow(ushort* picture, int w, int h, const MP_EffectTexture& tex, float density, float size, float intensity,
              float s)
{
    const size_t stride = static_cast<size_t>(tex.w) * 3;
    auto green = [&](int row, int col) { return static_cast<int64_t>(tex.px[static_cast<size_t>(row) * stride + static_cast<size_t>(col) * 3 + 1]); };
    const int count = MP_safeTrunc((0.01f + 0.99f * density) * 40000.0f * s, 0, 40000);
    const float I = intensity * 5.065918e-6f;
    const float zs = 0.01f + 0.99f * size;
    for (int layer = 0; layer < 10; ++layer) {
        for (int flake = 0; flake < count; ++flake) {
            const int d1 = MP_rand();
            // Size class 9 - (int)(...), held to the sheet's classes 0..9.
            const int N = 9 - MP_safeTrunc(static_cast<float>(layer) * s * unitDraw(d1, 0x7FFF, 1.0f / 32768.0f) * zs, 0, 9);
            const int m = 3 * N;
            int acol[3], brow[3];
            for (int& v : acol)
                v = (MP_rand() & 7) * 64;
            for (int& v : brow)
                v = (MP_rand() % 10) * 64;
            int64_t W[3];
            for (int64_t& v : W)
                v = MP_safeTrunc(static_cast<float>(MP_rand()) * I * 16384.0f, 0, 1 << 24);
            const int x = MP_safeTrunc(static_cast<float>(MP_rand()) * (static_cast<float>(w) * (1.0f / 32768.0f)), 0, w);
            const int y = MP_safeTrunc(static_cast<float>(MP_rand()) * (static_cast<float>(h) * (1.0f / 32768.0f)), 0, h);
            if (m >= 64 - m)
                continue;
            for (int r = m; r <= 63 - m; ++r) {
                ushort* row = picture + static_cast<size_t>(MP_wrapIndex(y + r, h)) * static_cast<size_t>(w) * 3;
                for (int c = m; c <= 63 - m; ++c) {
                    int64_t v = 0;
                    for (int i = 0; i < 3; ++i) {
                        const int64_t G = green(64 * N + r, acol[i] + c);
                        const int64_t H = green(brow[i] + r, 512 + c);
                        v += (W[i] * (((G >> 1) * (H >> 1)) >> 14)) >> 14;
                    }
                    ushort* p = row + static_cast<size_t>(MP_wrapIndex(x + c, w)) * 3;
                    for (int k = 0; k < 3; ++k) {
                        const int64_t sum = p[k] + v;
                        p[k] = static_cast<ushort>(sum > 65535 ? 65535 : sum);
                    }
                }
            }
        }
        if (_category >= 0)
            C_AddMessage(_category, static_cast<float>(layer) / 9.0f * _progressdelta + _progressstart);
    }
}

} // namespace

int MP_calcPixelRain(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    MP_DriverRun run;
    if (int r = MP_beginWeather(run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 5))
        return r;
    const float density = params->p[0][0], length = params->p[1][0];
    const float opacity = 1.0f - params->p[3][0];
    RainArgs a{run.dst, sizex, sizey, (params->p[2][0] - 0.5f) * 2.0f};
    const float fw = static_cast<float>(sizex), fh = static_cast<float>(sizey);
    const float E = std::pow(fh, 0.6f) * (0.01f + 0.99f * length);
    const float maxE = std::pow(fh, 0.6f);
    // Counts and lengths beyond the sliders' ranges stay at their largest.
    const int n = MP_safeTrunc((fh + fw) * 50.0f * (0.01f + 0.99f * density), 0,
                               MP_safeTrunc((fh + fw) * 50.0f, 0, INT32_MAX));
    MP_UI_SetRandomSeed(0x12345678);
    if (sizex > 0 && sizey > 0) {
        for (int64_t i = 0; i < n; i += kBatch) {
            const int end = n > i + kBatch ? static_cast<int>(i + kBatch) : n - 1;
            for (int k = static_cast<int>(i); k < end; ++k) {
                const int j = k - static_cast<int>(i);
                MP_temp_table[j] = unitDraw(MP_rand(), 0x7FFF, 1.0f / 32768.0f) * fw;
                MP_temp2_table[j] = static_cast<float>(k) / static_cast<float>(n) * fh;
                MP_temp3_table[j] = unitDraw(MP_rand(), 0x7FFF, 1.0f / 32768.0f) * 0.4f * opacity;
                float L = (unitDraw(MP_rand(), 0x7FFF, 1.0f / 32768.0f) * 0.5f + 0.5f) * E;
                L = L > 1.0f ? L : 1.0f;
                MP_temp4_table[j] = L < maxE ? L : (maxE > 1.0f ? maxE : 1.0f);
                MP_itemp_table[j] = kMarker;
            }
            if (end > i) {
                TaskFuncParams task = MP_makeTask(params, &a);
                MP_setTaskRange(task, 0, end - static_cast<int>(i));
                C_AddTask(MP_Task_calcPixelRain, task);
                C_WaitTasks();
            }
            if (_category >= 0)
                C_AddMessage(_category, static_cast<float>(i) / static_cast<float>(n) * _progressdelta + _progressstart);
        }
    }
    return MP_finishWeather(run, dst, 8);
}

int MP_calcPixelSnow(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    MP_DriverRun run;
    if (int r = MP_beginWeather(run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 4))
        return r;
    MP_UI_SetRandomSeed(0x12345678);
    // The flake sheet is read to row 639 and column 575: a smaller sheet
    // counts as missing.
    const MP_EffectTexture tex = MP_effectTextureAt(32);
    if (tex.px && tex.w >= kFlakeSheetW && tex.h >= kFlakeSheetH && sizex > 0 && sizey > 0)
        drawSnow(run.dst, sizex, sizey, tex, params->p[0][0], params->p[1][0], params->p[2][0],
                 params->previewscalingfactor);
    return MP_finishWeather(run, dst, 0);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelRain", MP_calcPixelRain},
    {"MP_calcPixelSnow", MP_calcPixelSnow},
};
} // namespace
extern const MP_DriverTable MP_drivers_weather = MP_driverTable(kDrivers);
