// Local light and threshold operators: "Lichttuner" and "Schwarz-Weiß".

#include "engine/tone/locallight.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/core/windowsize.h"
#include "engine/core/splines.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int kTunerMaxRadius = 50;                    // extent of the weight tables
constexpr int kTunerTable = 2 * kTunerMaxRadius + 1;   // 101 entries, index j + 50
constexpr int kMaxRows = MP_MAX_KERNEL_HEIGHT;         // extent of lx

// Half-width of window row ky, held to what a window of radius `limit` can use.
inline int rowHalfWidth(const MP_Params* params, int ky, int limit)
{
    const int hw = params->lx[MP_MAX_KERNEL_HEIGHT + ky];
    return hw < 0 ? 0 : (hw > limit ? limit : hw);
}

// Column x + kx wrapped into 0..sizex-1 (panorama).
inline int wrapColumn(int c, int sizex)
{
    c %= sizex;
    return c < 0 ? c + sizex : c;
}

// Luminance-map prepass of both operators: integer weights of 1/16384.
struct LumWeights {
    int64_t wr, wg, wb;
    void init(const MP_Params* p)
    {
        wr = MP_safeTrunc(p->lumr * 16384.0f, 0, 1 << 16);
        wg = MP_safeTrunc(p->lumg * 16384.0f, 0, 1 << 16);
        wb = MP_safeTrunc(p->lumb * 16384.0f, 0, 1 << 16);
    }
    int64_t sum(const ushort* px) const { return (wr * px[0] + wg * px[1] + wb * px[2]) >> 14; }
};

// ---- "Lichttuner" ------------------------------------------------------------------

struct LightTunerArgs {
    MP_DriverRun run;
    int rad;             // window radius, 1..50
    float le;            // light exponent
    float qx, qy, qz;    // light direction
    float qlen;          // its length
    bool panorama;
    LumWeights w;
    float* lum;          // luminance map, one float per pixel
    float wt[kTunerTable]; // Gaussian-derivative weights, index j + 50
    float aw[kTunerTable]; // their absolute values
};

void MP_TaskPre2_calcPixelLightTuner(TaskFuncParams t)
{
    const LightTunerArgs* a = MP_taskArgs<LightTunerArgs>(t);
    const size_t width = static_cast<size_t>(a->run.width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a->run.src + static_cast<size_t>(y) * width * 3;
        float* l = a->lum + static_cast<size_t>(y) * width;
        for (size_t x = 0; x < width; ++x, s += 3)
            l[x] = static_cast<float>(a->w.sum(s)) * MP_k;
    }
}

void MP_TaskPre1_calcPixelLightTuner(TaskFuncParams t)
{
    const LightTunerArgs* a = MP_taskArgs<LightTunerArgs>(t);
    const float le = a->le;
    const float scale = le * 0.5f + 1.0f;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = std::pow(static_cast<float>(i) * MP_k, le) * scale;
}

// The gain of pixel (x, y): the cosine between the surface normal from the
// local luminance slope and the light direction, through the light table.
inline float lightTunerGain(const LightTunerArgs& a, const ushort* px, int x, int y)
{
    const MP_Params* p = a.run.params;
    const int w = a.run.width, h = a.run.height;
    const float lum0 = (p->lumr * px[0] + p->lumg * px[1] + p->lumb * px[2]) * MP_k;
    const int rad = a.rad;
    const int y0 = MP_imax(-rad, -y), y1 = MP_imin(rad, h - 1 - y);
    float sx = 0.0f, sy = 0.0f, nx = 0.0f, ny = 0.0f;
    for (int ky = y0; ky <= y1; ++ky) {
        // the weights are defined for -rad..rad: the row is held to that
        const int hw = rowHalfWidth(p, ky, rad);
        const float* row = a.lum + static_cast<size_t>(y + ky) * static_cast<size_t>(w);
        const float wy = a.wt[ky + kTunerMaxRadius];
        int columns = 0;
        if (a.panorama) {
            for (int kx = -hw; kx <= hw; ++kx) {
                const float dl = lum0 - row[wrapColumn(x + kx, w)];
                sx += dl * a.wt[kx + kTunerMaxRadius];
                sy += dl * wy;
                nx += a.aw[kx + kTunerMaxRadius];
            }
            columns = 2 * hw + 1;
        } else {
            const int x0 = MP_imax(-hw, -x), x1 = MP_imin(hw, w - 1 - x);
            for (int kx = x0; kx <= x1; ++kx) {
                const float dl = lum0 - row[x + kx];
                sx += dl * a.wt[kx + kTunerMaxRadius];
                sy += dl * wy;
                nx += a.aw[kx + kTunerMaxRadius];
            }
            columns = x1 >= x0 ? x1 - x0 + 1 : 0;
        }
        ny += static_cast<float>(columns) * a.aw[ky + kTunerMaxRadius];
    }
    if (nx > 0.0f)
        sx = sx / nx;
    if (ny > 0.0f)
        sy = sy / ny;
    const float cosine = (a.qx * sx + a.qy * sy + a.qz) / (std::sqrt(sx * sx + sy * sy + 1.0f) * a.qlen);
    return MP_temp_table[MP_safeTrunc(MP_fabs(cosine) * 65535.0f, 0, 65535)];
}

void MP_Task_calcPixelLightTuner(TaskFuncParams t)
{
    const LightTunerArgs* a = MP_taskArgs<LightTunerArgs>(t);
    const ushort* src = a->run.src;
    const size_t width = static_cast<size_t>(a->run.width);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, src, width](MP_float3 c0, int x, int y) {
        const float g = lightTunerGain(*a, src + (static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 3, x, y);
        return MP_float3{c0.x * g, c0.y * g, c0.z * g};
    });
}

void MP_Task_calcPixelLightTunerReduced(TaskFuncParams t)
{
    const LightTunerArgs* a = MP_taskArgs<LightTunerArgs>(t);
    const size_t rowLen = static_cast<size_t>(a->run.width) * 3;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a->run.src + static_cast<size_t>(y) * rowLen;
        ushort* d = a->run.dst + static_cast<size_t>(y) * rowLen;
        for (int x = 0; x < a->run.width; ++x, s += 3, d += 3) {
            const float g = lightTunerGain(*a, s, x, y);
            // the map is read, not the source: writing in place is safe
            d[0] = static_cast<ushort>(MP_safeTrunc(static_cast<float>(s[0]) * g, 0, 65535));
            d[1] = static_cast<ushort>(MP_safeTrunc(static_cast<float>(s[1]) * g, 0, 65535));
            d[2] = static_cast<ushort>(MP_safeTrunc(static_cast<float>(s[2]) * g, 0, 65535));
        }
    }
}

// ---- "Schwarz-Weiß" --------------------------------------------------------------------

struct BlackWhiteArgs {
    MP_DriverRun run;
    int rad;           // window radius, a multiple of d (at least 1)
    int d;             // sampling step of the window
    float wp;          // "Weißpunkt" share
    bool panorama;
    LumWeights w;
    ushort* level;     // 8-bit luminance level per pixel
    const float* mask; // "Maskierung" knots (slot 2)
};

void MP_TaskPre2_calcPixelBlackWhite(TaskFuncParams t)
{
    const BlackWhiteArgs* a = MP_taskArgs<BlackWhiteArgs>(t);
    const size_t width = static_cast<size_t>(a->run.width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a->run.src + static_cast<size_t>(y) * width * 3;
        ushort* l = a->level + static_cast<size_t>(y) * width;
        for (size_t x = 0; x < width; ++x, s += 3)
            l[x] = static_cast<ushort>((a->w.sum(s) & 0xFFFF) >> 8);
    }
}

void MP_TaskPre1_calcPixelBlackWhite(TaskFuncParams t)
{
    const BlackWhiteArgs* a = MP_taskArgs<BlackWhiteArgs>(t);
    MP_splineSlotTable(a->mask, MP_taskStart(t), MP_taskEnd(t), MP_temp2_table);
}

// The threshold A of pixel (x, y): (b + 1) / 256 for the first level b at
// which the window's running count exceeds its "Weißpunkt" share, 1 when none
// does.
inline float blackWhiteThreshold(const BlackWhiteArgs& a, int x, int y)
{
    const MP_Params* p = a.run.params;
    const int w = a.run.width, h = a.run.height;
    const int rad = a.rad, d = a.d;
    uint32_t counter[256] = {};
    int n = 0;
    const int yEnd = MP_imin(rad, h - 1 - y);
    // Without panorama the rows stay on the grid -rad + n d; with it the
    // first row is the first inside the image.
    int ky = a.panorama ? MP_imax(-rad, -y) : -rad;
    for (; ky <= yEnd; ky += d) {
        if (y + ky < 0)
            continue;
        const int hw = rowHalfWidth(p, ky, kMaxRows + 1);
        const ushort* row = a.level + static_cast<size_t>(y + ky) * static_cast<size_t>(w);
        if (a.panorama) {
            for (int kx = -hw; kx <= hw; kx += d) {
                ++counter[row[wrapColumn(x + kx, w)]];
                ++n;
            }
        } else {
            const int xEnd = MP_imin(hw, w - 1 - x);
            for (int kx = -hw; kx <= xEnd; kx += d) {
                if (x + kx < 0)
                    continue;
                ++counter[row[x + kx]];
                ++n;
            }
        }
    }
    const int share = MP_safeTrunc(static_cast<float>(n) * a.wp, INT32_MIN / 2, INT32_MAX / 2);
    int64_t sum = 0;
    for (int b = 0; b < 256; ++b) {
        sum += counter[b];
        if (sum > share)
            return static_cast<float>(b + 1) / 256.0f;
    }
    return 1.0f;
}

inline MP_float3 blackWhiteEffect(const BlackWhiteArgs& a, MP_float3 c0, int x, int y, float lr, float lg, float lb)
{
    const float lum0 = lr * c0.x + lg * c0.y + lb * c0.z;
    const float m = MP_temp2_table[MP_tableIndex(lum0)];
    const float s = lum0 >= blackWhiteThreshold(a, x, y) ? 1.0f : 0.0f;
    const float keep = 1.0f - m;
    return {c0.x * keep + s * m, c0.y * keep + s * m, c0.z * keep + s * m};
}

void MP_Task_calcPixelBlackWhite(TaskFuncParams t)
{
    const BlackWhiteArgs* a = MP_taskArgs<BlackWhiteArgs>(t);
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    // The mask is part of the formula: the frame does not apply it again.
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, lr, lg, lb](MP_float3 c0, int x, int y) {
        return blackWhiteEffect(*a, c0, x, y, lr, lg, lb);
    });
}

void MP_Task_calcPixelBlackWhiteReduced(TaskFuncParams t)
{
    const BlackWhiteArgs* a = MP_taskArgs<BlackWhiteArgs>(t);
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, lr, lg, lb](MP_float3 c0, int x, int y) {
        return blackWhiteEffect(*a, c0, x, y, lr, lg, lb);
    });
}

} // namespace

// ---- Drivers ------------------------------------------------------------------------------

int MP_calcPixelLightTuner(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    // Radius 1..50; a radius from an out-of-range slider keeps its Gaussian
    // width, but the window stays inside the weight tables.
    int rad = MP_safeTrunc(50.0f * params->p[0][0] * params->previewscalingfactor * params->unit_kernel_multiplier,
                           0, 1 << 20);
    float radsq = static_cast<float>(rad) * static_cast<float>(rad);
    if (rad < 1) {
        rad = 1;
        radsq = 1.0f;
    }
    if (rad > kTunerMaxRadius)
        rad = kTunerMaxRadius;

    float* lum = static_cast<float*>(MP_UpdateBuffer(static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 4));
    if (!lum)
        return -1;
    LightTunerArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3))
        return r;
    a.rad = rad;
    a.le = 2.0f * params->p[1][0] + 0.001f;
    a.qx = (params->p[2][0] - 0.5f) * 0.5f;
    a.qy = (params->p[2][1] - 0.5f) * 0.5f;
    a.qz = 0.1f;
    a.qlen = std::sqrt(a.qx * a.qx + a.qy * a.qy + a.qz * a.qz);
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    a.w.init(params);
    a.lum = lum;
    MP_fillWindowRows("MP_calcPixelLightTuner", params, rad, true);

    const TaskFuncParams task = MP_makeTask(params, &a);
    MP_runSinglePass(MP_TaskPre2_calcPixelLightTuner, task, sizey);
    for (int j = -kTunerMaxRadius; j <= kTunerMaxRadius; ++j) {
        float wt = 0.0f;
        if (j >= -rad && j <= rad) {
            const float fj = static_cast<float>(j);
            wt = MP_sign(fj) / (3.1415927f * radsq) * MP_exp(-fj * fj / radsq);
        }
        a.wt[j + kTunerMaxRadius] = wt;
        a.aw[j + kTunerMaxRadius] = MP_fabs(wt);
    }
    MP_runTablePass(MP_TaskPre1_calcPixelLightTuner, task);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelLightTuner, MP_Task_calcPixelLightTunerReduced, 1);
}

int MP_calcPixelBlackWhite(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    // The window's size rule (step at least 1, radius inside the row table).
    const MP_WindowSize size = MP_calcWindowSize(params, 500.0f);
    const int rad = size.R, d = size.step;

    ushort* level = static_cast<ushort*>(MP_UpdateBuffer(static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 4));
    if (!level)
        return -1;
    BlackWhiteArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3))
        return r;
    a.rad = rad;
    a.d = d;
    a.wp = params->p[1][0];
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    a.w.init(params);
    a.level = level;
    a.mask = params->p[2];
    MP_fillWindowRows("MP_calcPixelBlackWhite", params, rad, false);

    const TaskFuncParams task = MP_makeTask(params, &a);
    MP_runSinglePass(MP_TaskPre2_calcPixelBlackWhite, task, sizey);
    MP_runTablePass(MP_TaskPre1_calcPixelBlackWhite, task);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelBlackWhite, MP_Task_calcPixelBlackWhiteReduced, 4);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelLightTuner", MP_calcPixelLightTuner},
    {"MP_calcPixelBlackWhite", MP_calcPixelBlackWhite},
};
extern const MP_DriverTable MP_drivers_locallight = MP_driverTable(kDrivers);
