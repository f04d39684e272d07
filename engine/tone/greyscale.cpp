// Greyscale conversions: "Graustufenumwandlung" and "Bleach Bypass".

#include "engine/tone/greyscale.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/pointrows.h"
#include "engine/core/splines.h"

#include <cmath>
#include <cstring>

namespace {

// ---- "Graustufenumwandlung" ------------------------------------------------------

struct GreyscaleArgs {
    MP_DriverRun run;
    float wR, wY, wG, wC, wB, wV; // hue coefficients 0..2 (1: plain grey)
};

// Grey of one pixel on the 16-bit scale (hue and saturation do not depend on
// the scale). The weight of each hue range is 60 minus the angular distance
// from its centre; the six sum to 60 for every hue, so coefficients of 1 give
// the plain grey, and the weights act in proportion to the saturation.
inline float greyscaleValue(const GreyscaleArgs& a, float R, float G, float B)
{
    const float mx = MP_max(MP_max(R, G), B);
    float h = 0.0f;
    float s = 0.0f;
    if (mx > 0.0f) {
        float delta = mx - MP_min(MP_min(R, G), B);
        if (!(delta > 0.0f))
            delta = 0.001f;
        s = delta / mx;
        float h6;
        if (R == mx)
            h6 = (G - B) / delta;
        else if (G == mx)
            h6 = (B - R) / delta + 2.0f;
        else
            h6 = (R - G) / delta + 4.0f;
        h = 60.0f * h6;
        if (h < 0.0f)
            h += 360.0f;
    }
    const float red = h <= 60.0f ? 60.0f - h : (h >= 300.0f ? h - 300.0f : 0.0f);
    const float yellow = (h >= 0.0f && h < 60.0f) ? h : ((h >= 60.0f && h < 120.0f) ? 120.0f - h : 0.0f);
    const float green = (h >= 60.0f && h < 120.0f) ? h - 60.0f : ((h >= 120.0f && h < 180.0f) ? 180.0f - h : 0.0f);
    const float cyan = (h >= 120.0f && h < 180.0f) ? h - 120.0f : ((h >= 180.0f && h < 240.0f) ? 240.0f - h : 0.0f);
    const float blue = (h >= 180.0f && h < 240.0f) ? h - 180.0f : ((h >= 240.0f && h < 300.0f) ? 300.0f - h : 0.0f);
    const float violet = (h >= 240.0f && h < 300.0f) ? h - 240.0f : ((h >= 300.0f && h < 360.0f) ? 360.0f - h : 0.0f);
    s = MP_clamp(s, 0.0f, 1.0f);
    const float lum = (R + G + B) * 0.3333f;
    const float weighted = a.wR * red + a.wY * yellow + a.wG * green + a.wC * cyan + a.wB * blue + a.wV * violet;
    return (1.0f - s) * lum + s * lum * weighted * 0.016666668f;
}

// greyscaleValue over planes of raw values, the branches as selects: the
// hue and saturation are computed for every pixel and replaced by 0 where the
// maximum is 0; the three hue quotients are computed and one chosen.
MP_POINT_BODY void greyscaleRowsBody(const GreyscaleArgs& a, int start, int end)
{
    constexpr int N = MP_POINT_BLOCK;
    const MP_DriverRun& run = a.run;
    const float wR = a.wR, wY = a.wY, wG = a.wG, wC = a.wC, wB = a.wB, wV = a.wV;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        for (int x0 = 0; x0 < run.width; x0 += N) {
            const int n = run.width - x0 < N ? run.width - x0 : N;
            const ushort* s = run.src + row + 3 * static_cast<size_t>(x0);
            ushort* d = run.dst + row + 3 * static_cast<size_t>(x0);
            float Rs[N], Gs[N], Bs[N];
            int V[N];
            for (int i = 0; i < n; ++i) {
                Rs[i] = static_cast<float>(s[3 * i]);
                Gs[i] = static_cast<float>(s[3 * i + 1]);
                Bs[i] = static_cast<float>(s[3 * i + 2]);
            }
            for (int i = 0; i < n; ++i) {
                const float R = Rs[i], G = Gs[i], B = Bs[i];
                // MP_max, MP_min and MP_clamp written out: the helpers are
                // not inlined into a function of other options.
                const float rg = R > G ? R : G;
                const float mx = rg > B ? rg : B;
                const float rgn = R < G ? R : G;
                float delta = mx - (rgn < B ? rgn : B);
                delta = delta > 0.0f ? delta : 0.001f;
                const float sv = delta / mx;
                // one division: the numerator chosen first, the offset after
                const float num = R == mx ? G - B : (G == mx ? B - R : R - G);
                const float q = num / delta;
                const float q2 = q + 2.0f, q4 = q + 4.0f;
                const float h6 = R == mx ? q : (G == mx ? q2 : q4);
                const float hv0 = 60.0f * h6;
                const float hv1 = hv0 + 360.0f;
                const float hv = hv0 < 0.0f ? hv1 : hv0;
                const float h = mx > 0.0f ? hv : 0.0f;
                float sat = mx > 0.0f ? sv : 0.0f;
                const float red = h <= 60.0f ? 60.0f - h : (h >= 300.0f ? h - 300.0f : 0.0f);
                // The ranges as cascades of one comparison each (the same
                // value for every h, NaN included).
                const float yellow = h < 0.0f ? 0.0f : (h < 60.0f ? h : (h < 120.0f ? 120.0f - h : 0.0f));
                const float green = h < 60.0f ? 0.0f : (h < 120.0f ? h - 60.0f : (h < 180.0f ? 180.0f - h : 0.0f));
                const float cyan = h < 120.0f ? 0.0f : (h < 180.0f ? h - 120.0f : (h < 240.0f ? 240.0f - h : 0.0f));
                const float blue = h < 180.0f ? 0.0f : (h < 240.0f ? h - 180.0f : (h < 300.0f ? 300.0f - h : 0.0f));
                const float violet =
                    h < 240.0f ? 0.0f : (h < 300.0f ? h - 240.0f : (h < 360.0f ? 360.0f - h : 0.0f));
                sat = sat < 0.0f ? 0.0f : (1.0f < sat ? 1.0f : sat);
                const float lum = (R + G + B) * 0.3333f;
                const float weighted = wR * red + wY * yellow + wG * green + wC * cyan + wB * blue + wV * violet;
                float grey = (1.0f - sat) * lum + sat * lum * weighted * 0.016666668f;
                grey = grey > 0.0f ? grey : 0.0f; // MP_safeTrunc(grey, 0, 65535)
                grey = grey < 65535.0f ? grey : 65535.0f;
                V[i] = static_cast<int>(grey);
            }
            for (int i = 0; i < n; ++i) {
                const ushort g = static_cast<ushort>(V[i]);
                d[3 * i] = g;
                d[3 * i + 1] = g;
                d[3 * i + 2] = g;
            }
        }
    }
}
MP_POINT_ROWS_COPIES(greyscaleRows, GreyscaleArgs)

void MP_Task_calcPixelGreyscale(TaskFuncParams t)
{
    const GreyscaleArgs* a = MP_taskArgs<GreyscaleArgs>(t);
    const ushort* src = a->run.src;
    const size_t width = static_cast<size_t>(a->run.width);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, src, width](MP_float3, int x, int y) {
        const ushort* px = src + (static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 3;
        const float grey = MP_clamp(greyscaleValue(*a, px[0], px[1], px[2]) * MP_k, 0.0f, 1.0f);
        return MP_float3{grey, grey, grey};
    });
}

void MP_Task_calcPixelGreyscaleReduced(TaskFuncParams t)
{
    const GreyscaleArgs* a = MP_taskArgs<GreyscaleArgs>(t);
    if (!MP_plainPointLoops()) {
        greyscaleRows(*a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    const size_t rowLen = static_cast<size_t>(a->run.width) * 3;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a->run.src + static_cast<size_t>(y) * rowLen;
        ushort* d = a->run.dst + static_cast<size_t>(y) * rowLen;
        for (int x = 0; x < a->run.width; ++x, s += 3, d += 3) {
            const ushort grey = static_cast<ushort>(MP_safeTrunc(greyscaleValue(*a, s[0], s[1], s[2]), 0, 65535));
            d[0] = d[1] = d[2] = grey;
        }
    }
}

// ---- "Bleach Bypass" ------------------------------------------------------------------

struct BleachBypassArgs {
    MP_DriverRun run;
    float knotY[6];     // the S-curve at x = 0, 0.2, ..., 1
    float g;            // share of the toned colour (1 - "Entfärbung")
    float greyShare;    // 1 - g
    const float* mask;  // "Maskierung" knots (slot 2)
    float* gain;        // curve(v) / v, kept between runs
    float* maskTable;   // the "Maskierung" curve, kept between runs
};

// The tables depend on the sliders only: kept while they stay.
MP_KeptTable<6> s_bleachGain;
MP_KeptTable<12> s_bleachMask;

void MP_TaskPre1_calcPixelBleachBypass(TaskFuncParams t)
{
    const BleachBypassArgs* a = MP_taskArgs<BleachBypassArgs>(t);
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    const float* y = a->knotY;
    float* gain = a->gain;
    MP_cubicSplineTable(start, end, gain, 0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f, y[0], y[1], y[2], y[3], y[4], y[5]);
    // gain = curve(v) / v; entry 0 continues entry 1's scale
    for (int i = start; i < end; ++i)
        gain[i] = i == 0 ? gain[i] / MP_k : gain[i] / (static_cast<float>(i) * MP_k);
}

void MP_TaskPre2_calcPixelBleachBypass(TaskFuncParams t)
{
    const BleachBypassArgs* a = MP_taskArgs<BleachBypassArgs>(t);
    MP_splineSlotTable(a->mask, MP_taskStart(t), MP_taskEnd(t), a->maskTable);
}

// One pixel on the scale `full` (65535 in the reduced worker, 1 in the full
// one); j is the table index of its luminance.
inline MP_float3 bleachBypass(const BleachBypassArgs& a, MP_float3 c, int j, float full, float lr, float lg, float lb)
{
    const float gain = a.gain[j];
    const float m = a.maskTable[j];
    const MP_float3 t{MP_min(c.x * gain, full), MP_min(c.y * gain, full), MP_min(c.z * gain, full)};
    const float grey = (lr * t.x + lg * t.y + lb * t.z) * a.greyShare;
    const MP_float3 e{t.x * a.g + grey, t.y * a.g + grey, t.z * a.g + grey};
    const float keep = 1.0f - m;
    return {c.x * keep + e.x * m, c.y * keep + e.y * m, c.z * keep + e.z * m};
}

// The reduced worker's rows in blocks on the raw values: bleachBypass's
// operations with full = 65535, the table lookups in loops of their own.
MP_POINT_BODY void bleachBypassRowsBody(const BleachBypassArgs& a, int start, int end)
{
    constexpr int N = MP_POINT_BLOCK;
    const MP_DriverRun& run = a.run;
    const float lr = run.params->lumr, lg = run.params->lumg, lb = run.params->lumb;
    const float g = a.g, greyShare = a.greyShare;
    constexpr float full = 65535.0f;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        for (int x0 = 0; x0 < run.width; x0 += N) {
            const int n = run.width - x0 < N ? run.width - x0 : N;
            const ushort* s = run.src + row + 3 * static_cast<size_t>(x0);
            ushort* d = run.dst + row + 3 * static_cast<size_t>(x0);
            float C[3][N], GN[N], M[N];
            int J[N];
            for (int i = 0; i < n; ++i) {
                C[0][i] = static_cast<float>(s[3 * i]);
                C[1][i] = static_cast<float>(s[3 * i + 1]);
                C[2][i] = static_cast<float>(s[3 * i + 2]);
            }
            for (int i = 0; i < n; ++i)
                J[i] = MP_pointTrunc(lr * C[0][i] + lg * C[1][i] + lb * C[2][i], 0, 65535);
            MP_pointLookup(a.gain, J, GN, n);
            MP_pointLookup(a.maskTable, J, M, n);
            int O[3][N];
            for (int i = 0; i < n; ++i) {
                const float x = C[0][i], yv = C[1][i], z = C[2][i];
                const float gain = GN[i], m = M[i];
                const float px = x * gain, py = yv * gain, pz = z * gain;
                const float tx = px < full ? px : full, ty = py < full ? py : full, tz = pz < full ? pz : full;
                const float grey = (lr * tx + lg * ty + lb * tz) * greyShare;
                const float keep = 1.0f - m;
                O[0][i] = MP_pointTrunc(x * keep + (tx * g + grey) * m, 0, 65535);
                O[1][i] = MP_pointTrunc(yv * keep + (ty * g + grey) * m, 0, 65535);
                O[2][i] = MP_pointTrunc(z * keep + (tz * g + grey) * m, 0, 65535);
            }
            for (int i = 0; i < n; ++i) {
                d[3 * i] = static_cast<ushort>(O[0][i]);
                d[3 * i + 1] = static_cast<ushort>(O[1][i]);
                d[3 * i + 2] = static_cast<ushort>(O[2][i]);
            }
        }
    }
}
MP_POINT_ROWS_COPIES(bleachBypassRows, BleachBypassArgs)

void MP_Task_calcPixelBleachBypass(TaskFuncParams t)
{
    const BleachBypassArgs* a = MP_taskArgs<BleachBypassArgs>(t);
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    // The mask is part of the formula: the frame does not apply it again.
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, lr, lg, lb](MP_float3 c0, int, int) {
        const int j = MP_tableIndex(lr * c0.x + lg * c0.y + lb * c0.z);
        return bleachBypass(*a, c0, j, 1.0f, lr, lg, lb);
    });
}

void MP_Task_calcPixelBleachBypassReduced(TaskFuncParams t)
{
    const BleachBypassArgs* a = MP_taskArgs<BleachBypassArgs>(t);
    if (!MP_plainPointLoops()) {
        bleachBypassRows(*a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    const size_t rowLen = static_cast<size_t>(a->run.width) * 3;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a->run.src + static_cast<size_t>(y) * rowLen;
        ushort* d = a->run.dst + static_cast<size_t>(y) * rowLen;
        for (int x = 0; x < a->run.width; ++x, s += 3, d += 3) {
            const MP_float3 c{static_cast<float>(s[0]), static_cast<float>(s[1]), static_cast<float>(s[2])};
            const int j = MP_safeTrunc(lr * c.x + lg * c.y + lb * c.z, 0, 65535);
            const MP_float3 o = bleachBypass(*a, c, j, 65535.0f, lr, lg, lb);
            // within 0..65535 for sliders in range; held there before it becomes an int
            d[0] = static_cast<ushort>(MP_safeTrunc(o.x, 0, 65535));
            d[1] = static_cast<ushort>(MP_safeTrunc(o.y, 0, 65535));
            d[2] = static_cast<ushort>(MP_safeTrunc(o.z, 0, 65535));
        }
    }
}

} // namespace

// ---- Drivers ---------------------------------------------------------------------------

int MP_calcPixelGreyscale(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    GreyscaleArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 7, 6))
        return r;
    a.wR = 2.0f * params->p[0][0];
    a.wY = 2.0f * params->p[1][0];
    a.wG = 2.0f * params->p[2][0];
    a.wC = 2.0f * params->p[3][0];
    a.wB = 2.0f * params->p[4][0];
    a.wV = 2.0f * params->p[5][0];
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelGreyscale, MP_Task_calcPixelGreyscaleReduced, 4);
}

int MP_calcPixelBleachBypass(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    BleachBypassArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3))
        return r;
    const float q2 = MP_pow(0.2f, 1.0f + params->p[0][0]);
    const float q4 = MP_pow(0.4f, 1.0f + params->p[0][0]);
    a.knotY[0] = 0.0f;
    a.knotY[1] = q2;
    a.knotY[2] = q4;
    a.knotY[3] = 1.0f - q4;
    a.knotY[4] = 1.0f - q2;
    a.knotY[5] = 1.0f;
    a.g = 1.0f - params->p[1][0];
    a.greyShare = 1.0f - a.g;
    a.mask = params->p[2];
    a.gain = s_bleachGain.table;
    a.maskTable = s_bleachMask.table;
    const TaskFuncParams task = MP_makeTask(params, &a);
    if (s_bleachGain.needsFill(a.knotY)) {
        MP_runTablePass(MP_TaskPre1_calcPixelBleachBypass, task);
        s_bleachGain.filled();
    }
    float maskKey[12];
    std::memcpy(maskKey, a.mask, sizeof maskKey);
    if (s_bleachMask.needsFill(maskKey)) {
        MP_runTablePass(MP_TaskPre2_calcPixelBleachBypass, task);
        s_bleachMask.filled();
    }
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelBleachBypass, MP_Task_calcPixelBleachBypassReduced, 4);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelGreyscale", MP_calcPixelGreyscale},
    {"MP_calcPixelBleachBypass", MP_calcPixelBleachBypass},
};
extern const MP_DriverTable MP_drivers_greyscale = MP_driverTable(kDrivers);
