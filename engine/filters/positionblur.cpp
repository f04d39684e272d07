#include "engine/filters/positionblur.h"

#include "engine/MP_calccl.h"
#include "engine/filters/filterframe.h"

#include <cstdint>

using namespace mp_filters;

namespace {

struct TiltShiftArgs {
    MP_DriverRun run;
    Window win;
    ushort* out = nullptr;
    float wx = 1.0f, qs = 1.0f;
    float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;

    void fillTables(int start, int end) const
    {
        const float norm = 1.0f / MP_pow(MP_log(2.0f), qs);
        for (int i = start; i < end; ++i) {
            const float x = static_cast<float>(i) * MP_k;
            MP_temp_table[i] = MP_pow(MP_log(x + 1.0f), qs) * norm;
            MP_temp2_table[i] = MP_pow(x, wx);
        }
    }

    struct Cache {
        int64_t S[3 * kChunk]; // channel sums (64 bits: large step-1 windows)
        int n[kChunk];         // samples
    };

    // Box sums: every sample of the window counts once.
    void gather(int y, int x0, int n, Cache& c) const
    {
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        const ushort* src = run.src;
        for (int j = 0; j < 3 * n; ++j)
            c.S[j] = 0;
        for (int i = 0; i < n; ++i)
            c.n[i] = 0;
        if (MP_chunkWalkable(win, x0, n)) {
            const bool walked = MP_forEachWindowOffset(win, x0, n, y, [&](ptrdiff_t off, float, int lo, int hi) {
                const ushort* q = src + (static_cast<ptrdiff_t>(base) + off) * 3;
                for (int j = 3 * lo; j < 3 * hi; ++j)
                    c.S[j] += q[j];
                for (int i = lo; i < hi; ++i)
                    ++c.n[i];
            });
            if (walked)
                return;
        }
        for (int i = 0; i < n; ++i) {
            int64_t sr = 0, sg = 0, sb = 0;
            c.n[i] = MP_forEachWindowSample(win, x0 + i, y, [&](size_t j, float) {
                const ushort* px = src + j * 3;
                sr += px[0];
                sg += px[1];
                sb += px[2];
            });
            c.S[3 * i] = sr;
            c.S[3 * i + 1] = sg;
            c.S[3 * i + 2] = sb;
        }
    }

    MP_float3 effect(MP_float3 c, int x, int y, const Cache& cache, int i) const
    {
        const float f = MP_k / static_cast<float>(cache.n[i]);
        const MP_float3 mu{static_cast<float>(cache.S[3 * i]) * f, static_cast<float>(cache.S[3 * i + 1]) * f,
                           static_cast<float>(cache.S[3 * i + 2]) * f};

        // Distance from the line, in fractions of width and height.
        const float px = static_cast<float>(x) * (1.0f / static_cast<float>(run.width));
        const float py = static_cast<float>(y) / static_cast<float>(run.height);
        const float dx = x2 - x1, dy = y2 - y1;
        float m = dx * dx + dy * dy;
        if (!(m > 0.0f))
            m = 0.001f;
        const float lambda = (dx * px + dy * py - (x1 * dx + y1 * dy)) / m;
        const float fx = x1 + lambda * dx, fy = y1 + lambda * dy;
        const float dist = MP_sqrt((px - fx) * (px - fx) + (py - fy) * (py - fy));
        const float b = 2.0f * dist > 1.0f ? MP_temp2_table[65535] : MP_temp2_table[MP_tableIndex(2.0f * dist)];

        MP_float3 v = c;
        const float kb = 1.0f - b;
        for (int round = 0; round < 3; ++round)
            v = {v.x * kb + mu.x * b, v.y * kb + mu.y * b, v.z * kb + mu.z * b};

        const float sr2 = MP_temp_table[MP_tableIndex(v.x)];
        const float sg2 = MP_temp_table[MP_tableIndex(v.y)];
        const float sb2 = MP_temp_table[MP_tableIndex(v.z)];
        const float den = sr2 + sg2 + sb2;
        const float ratio = den > 0.0f ? (v.x + v.y + v.z) / den : 1.0f;
        return {MP_min(1.0f, sr2 * ratio), MP_min(1.0f, sg2 * ratio), MP_min(1.0f, sb2 * ratio)};
    }
};

struct FocusArgs {
    MP_DriverRun run;
    Window win;
    ushort* out = nullptr;
    LumWeights lw;
    float v = 0.0f, cx = 0.5f, cy = 0.5f;

    void fillTables(int start, int end) const
    {
        for (int i = start; i < end; ++i)
            MP_temp3_table[i] = divisor(i, 0.25f);
    }

    using Cache = ColourSums;

    void gather(int y, int x0, int n, Cache& c) const { MP_gatherColourSums<false>(win, run, lw, 0.25f, y, x0, n, c); }

    MP_float3 effect(MP_float3 c, int x, int y, const Cache& cache, int i) const
    {
        const float inv = 1.0f / cache.W[i];
        const MP_float3 mu{cache.SR[i] * inv * MP_k, cache.SG[i] * inv * MP_k, cache.SB[i] * inv * MP_k};
        const float fw = static_cast<float>(run.width), fh = static_cast<float>(run.height);
        const float sm = MP_min(fw, fh);
        const float dx = (static_cast<float>(x) * (1.0f / fw) - cx) * (fw / sm);
        const float dy = (static_cast<float>(y) * (1.0f / fh) - cy) * (fh / sm);
        const float a = MP_focusSharpness(dx, dy, 2.0f - MP_fabs(v));
        const float k = 1.0f - a;
        return {c.x * a + mu.x * k, c.y * a + mu.y * k, c.z * a + mu.z * k};
    }
};

} // namespace

float MP_tiltShiftSaturationExponent(float farbe)
{
    float f = farbe;
    if (f < 0.5f)
        f = f * 0.25f;
    if (f >= 0.5f)
        f = f - 0.375f;
    return f * 10.0f;
}

float MP_focusSharpness(float dx, float dy, float t)
{
    const float q = t / MP_sqrt(dx * dx + dy * dy + t * t);
    const float q2 = q * q;
    return q2 * q2;
}

int MP_calcPixelTiltShift(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    TiltShiftArgs a;
    a.wx = params->p[1][0] * 3.99f + 0.001f;
    a.qs = MP_tiltShiftSaturationExponent(params->p[2][0]);
    a.x1 = params->p[3][0];
    a.y1 = params->p[3][1];
    a.x2 = params->p[3][2];
    a.y2 = params->p[3][3];
    const FilterPlan plan{"MP_calcPixelTiltShift", MP_calcWindowSize(params, 500.0f), 5, 4, false, false, false};
    return MP_runWindowFilter(a, plan, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelFocus(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    FocusArgs a;
    a.lw = LumWeights::of(params);
    a.v = MP_pow(1.0f - params->p[1][0], 0.33f) * 1.99f;
    a.cx = params->p[2][0];
    a.cy = params->p[2][1];
    const FilterPlan plan{"MP_calcPixelFocus", MP_calcWindowSize(params, 500.0f), 4, 3, false, true, false};
    return MP_runWindowFilter(a, plan, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelTiltShift", MP_calcPixelTiltShift},
    {"MP_calcPixelFocus", MP_calcPixelFocus},
};
extern const MP_DriverTable MP_drivers_positionblur = MP_driverTable(kDrivers);
