#include "engine/filters/smalldenoise.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace mp_filters;

namespace {

constexpr int kMaskSlot = 1;
constexpr int kComboSlot = 2;
constexpr int kGeoSlot = 3;

// The clamped 3 x 3 neighbourhood: rows clamped into the image, columns
// wrapped in panorama mode and clamped otherwise.
struct Neighbourhood {
    int rows[3];
    int cols[3];
    Neighbourhood(int x, int y, int w, int h, bool panorama)
    {
        rows[0] = y > 0 ? y - 1 : 0;
        rows[1] = y;
        rows[2] = y + 1 < h ? y + 1 : h - 1;
        cols[1] = x;
        if (panorama) {
            cols[0] = x > 0 ? x - 1 : w - 1;
            cols[2] = x + 1 < w ? x + 1 : 0;
        } else {
            cols[0] = x > 0 ? x - 1 : 0;
            cols[2] = x + 1 < w ? x + 1 : w - 1;
        }
    }
    size_t at(int i, int j, int w) const
    {
        return static_cast<size_t>(rows[i]) * static_cast<size_t>(w) + static_cast<size_t>(cols[j]);
    }
};

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// ---- Average ------------------------------------------------------------------

struct AverageArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    float e = 0.0f; // exponent of the edge power table
    const float* mask = nullptr;
    LumWeights lw;
    bool panorama = false;

    MP_float3 effect(MP_float3 c, int x, int y) const
    {
        const int w = run.width;
        const Neighbourhood nb(x, y, w, run.height, panorama);
        const int Lc = lumIndex(run.params, c);
        float J = 0.0f;
        unsigned sr = 0, sg = 0, sb = 0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                const ushort* px = run.src + nb.at(i, j, w) * 3;
                sr += px[0];
                sg += px[1];
                sb += px[2];
                if (i == 1 && j == 1)
                    continue;
                const int d = Lc - static_cast<int>(lw.of(px));
                J += MP_temp_table[d < 0 ? -d : d];
            }
        J = J * 0.11111111f;
        const float kj = (1.0f - J) * 1.6954469e-06f;
        const MP_float3 e{c.x * J + static_cast<float>(sr) * kj, c.y * J + static_cast<float>(sg) * kj,
                          c.z * J + static_cast<float>(sb) * kj};
        const float a = MP_temp2_table[Lc];
        const float k = 1.0f - a;
        return {c.x * k + e.x * a, c.y * k + e.y * a, c.z * k + e.z * a};
    }
};

void averagePowerTask(TaskFuncParams t)
{
    const AverageArgs* a = MP_taskArgs<AverageArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = MP_pow(static_cast<float>(i) * MP_k, a->e);
}

void maskTask(TaskFuncParams t)
{
    MP_splineSlotTable(MP_taskArgs<const float>(t), MP_taskStart(t), MP_taskEnd(t), MP_temp2_table);
}

void runMaskPass(MP_Params* params, const float* knots)
{
    MP_runTablePass(maskTask, MP_makeTask(params, knots));
}

// ---- Median -------------------------------------------------------------------

struct MedianArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    float p = 0.0f;
    bool panorama = false;

    MP_float3 effect(MP_float3 c, int x, int y) const
    {
        const int w = run.width, h = run.height;
        const int y1 = y - 1 < 0 ? -y : -1;
        const int y2 = y + 1 < h - 1 ? 1 : h - 1 - y;
        int x1 = -1, x2 = 1;
        if (!panorama) {
            x1 = x - 1 < 0 ? -x : -1;
            x2 = x + 1 < w - 1 ? 1 : w - 1 - x;
        }
        ushort r[9], g[9], b[9];
        int n = 0;
        for (int ky = y1; ky <= y2; ++ky)
            for (int kx = x1; kx <= x2; ++kx) {
                int col = x + kx;
                if (panorama)
                    col = ((col % w) + w) % w;
                const ushort* px = run.src + (static_cast<size_t>(y + ky) * static_cast<size_t>(w) + col) * 3;
                r[n] = px[0];
                g[n] = px[1];
                b[n] = px[2];
                ++n;
            }
        const float k = 1.0f - p;
        const float pk = p * MP_k;
        const MP_float3 m{static_cast<float>(MP_medianSelect(r, n)) * pk + c.x * k,
                          static_cast<float>(MP_medianSelect(g, n)) * pk + c.y * k,
                          static_cast<float>(MP_medianSelect(b, n)) * pk + c.z * k};
        const float a = MP_temp2_table[lumIndex(run.params, c)];
        const float ka = 1.0f - a;
        return {c.x * ka + m.x * a, c.y * ka + m.y * a, c.z * ka + m.z * a};
    }
};

// ---- Min-Max ------------------------------------------------------------------

struct MinMaxArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    const ushort* plane = nullptr;
    float g = 0.0f, b = 0.0f;
    bool panorama = false;

    // The factor f of pixel (x, y), or 1 where the step leaves it.
    static float factor(const ushort* plane, int x, int y, int w, int h, bool panorama, float g, float b, int Lc)
    {
        if (Lc == 0)
            return 1.0f;
        const Neighbourhood nb(x, y, w, h, panorama);
        int mx = 0, mn = 65535, sum = 0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                const int v = plane[nb.at(i, j, w)];
                mx = v > mx ? v : mx;
                mn = v < mn ? v : mn;
                sum += v;
            }
        if (mx - mn <= 0)
            return 1.0f;
        float Y = static_cast<float>(mx - mn) * MP_k * g;
        if (Y > 1.0f)
            Y = 1.0f;
        return 1.0f - b +
               ((static_cast<float>(sum) * 0.111111f) / (static_cast<float>(Lc) + 0.001f) * (1.0f - Y) + Y) * b;
    }

    MP_float3 effect(MP_float3 c, int x, int y) const
    {
        const size_t i = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x);
        const int Lc = plane[i];
        const float f = factor(plane, x, y, run.width, run.height, panorama, g, b, Lc);
        const float a = MP_temp2_table[Lc];
        const float k = 1.0f - a;
        return {c.x * k + c.x * f * a, c.y * k + c.y * f * a, c.z * k + c.z * f * a};
    }
};

void minMaxReducedTask(TaskFuncParams t)
{
    const MinMaxArgs* a = MP_taskArgs<MinMaxArgs>(t);
    const MP_MinMaxStep step{a->run.src, a->plane,  a->out,        a->run.width, a->run.height,
                             a->g,       a->b,      MP_temp2_table, a->panorama};
    MP_minMaxStepRows(step, MP_taskStart(t), MP_taskEnd(t));
}

// ---- SubDeNoiseAverage --------------------------------------------------------

struct SubArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    float intensity = 0.0f, scale = 0.0f;
    int64_t m = 0;
    int64_t vr = 0, vg = 0, vb = 0;
    bool panorama = false;
};

inline ushort clamp16(float v) { return static_cast<ushort>(MP_safeTrunc(v, 0, 65535)); }

template <bool Full> void subTask(TaskFuncParams t)
{
    const SubArgs* a = MP_taskArgs<SubArgs>(t);
    const int w = a->run.width, h = a->run.height;
    const MP_Params* params = a->run.params;
    const bool geometry = Full && params->geometry_needed != 0;
    const ushort* src = a->run.src;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t ci = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            const ushort* C = src + ci * 3;
            ushort* d = a->out + ci * 3;
            float o = 1.0f;
            if (geometry) {
                o = MP_calcGeometryMethodOpacity(x, y, w, h, 2, params);
                if (!(o > 0.0f)) {
                    d[0] = C[0];
                    d[1] = C[1];
                    d[2] = C[2];
                    continue;
                }
            }
            int64_t sr = 0, sg = 0, sb = 0;
            int n = 0;
            const auto add = [&](int col, int row) {
                const ushort* px = src + (static_cast<size_t>(row) * static_cast<size_t>(w) + col) * 3;
                sr += px[0];
                sg += px[1];
                sb += px[2];
                ++n;
            };
            if (!a->panorama) {
                const int yu = y > 0 ? y - 1 : 0, yd = y + 1 < h ? y + 1 : h - 1;
                const auto column = [&](int col) {
                    add(col, yu);
                    add(col, y);
                    add(col, yd);
                };
                if (x > 0)
                    column(x - 1);
                column(x);
                if (x + 1 < w)
                    column(x + 1);
            } else {
                const int xl = x > 0 ? x - 1 : w - 1, xr = x + 1 < w ? x + 1 : 0;
                const auto row = [&](int r) {
                    add(xl, r);
                    add(x, r);
                    add(xr, r);
                };
                if (y > 0)
                    row(y - 1);
                row(y);
                if (y + 1 < h)
                    row(y + 1);
            }
            const int64_t F = (a->vr * C[0] + a->vg * C[1] + a->vb * C[2]) >> 14;
            const int64_t M = ((a->vr * sr + a->vg * sg + a->vb * sb) / n) >> 14;
            const int64_t B = (a->m * M + (16384 - a->m) * F) >> 14;
            const int64_t D = F - B / n;
            const float inv = 1.0f / static_cast<float>(n);
            const float N = static_cast<float>(D < 0 ? -D : D) * inv * MP_k;
            const float wS = inv * a->scale * (1.0f - N) * a->intensity;
            const float wC = ((1.0f - a->scale) * (1.0f - N) + N) * a->intensity + (1.0f - a->intensity);
            MP_float3 e{static_cast<float>(sr) * wS + static_cast<float>(C[0]) * wC,
                        static_cast<float>(sg) * wS + static_cast<float>(C[1]) * wC,
                        static_cast<float>(sb) * wS + static_cast<float>(C[2]) * wC};
            if (geometry && o < 1.0f)
                e = MP_calcGeometryMethodBlend(
                    {static_cast<float>(C[0]), static_cast<float>(C[1]), static_cast<float>(C[2])}, e, o);
            d[0] = clamp16(e.x);
            d[1] = clamp16(e.y);
            d[2] = clamp16(e.z);
        }
    }
}

} // namespace

// ---- Public pieces ------------------------------------------------------------

ushort MP_medianSelect(ushort* v, int n)
{
    const auto cx = [v](int i, int j) {
        if (v[i] > v[j]) {
            const ushort t = v[i];
            v[i] = v[j];
            v[j] = t;
        }
    };
    switch (n) {
    case 9: {
        static const int pairs[19][2] = {{1, 2}, {4, 5}, {7, 8}, {0, 1}, {3, 4}, {6, 7}, {1, 2}, {4, 5}, {7, 8}, {0, 3},
                                         {5, 8}, {4, 7}, {3, 6}, {1, 4}, {2, 5}, {4, 7}, {4, 2}, {6, 4}, {4, 2}};
        for (const auto& p : pairs)
            cx(p[0], p[1]);
        return v[4];
    }
    case 6:
        cx(0, 1);
        cx(4, 5);
        cx(1, 2);
        cx(3, 4);
        cx(2, 3);
        return v[3];
    case 4:
        cx(0, 1);
        cx(2, 3);
        cx(1, 2);
        return v[2];
    default:
        return n > 0 ? v[n / 2] : 0;
    }
}

void MP_minMaxFactors(float s, float* g, float* b)
{
    *g = 1.0f + (1.0f - MP_pow(s, 4.0f)) * 10.0f;
    *b = MP_pow(s, 0.25f);
}

void MP_minMaxStepRows(const MP_MinMaxStep& st, int start, int end)
{
    const int w = st.width;
    for (int y = start; y < end; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            const int Lc = st.plane[i];
            const float f = MinMaxArgs::factor(st.plane, x, y, w, st.height, st.panorama, st.g, st.b, Lc);
            const float a = st.mask[Lc];
            const float k = 1.0f - a;
            const ushort* s = st.src + i * 3;
            ushort* d = st.out + i * 3;
            for (int ch = 0; ch < 3; ++ch) {
                const float c = static_cast<float>(s[ch]);
                d[ch] = clamp16(c * k + c * f * a);
            }
        }
}

int MP_calcPixelDeNoiseAverage(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    ushort* out = static_cast<ushort*>(MP_UpdateBuffer(pixels * 6));
    if (!out)
        return -1;
    AverageArgs a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return e;
    if (pixels == 0)
        return 0;
    a.out = out;
    a.e = params->p[0][0] + kEps5;
    a.lw = LumWeights::of(params, 16383.0f);
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_runTablePass(averagePowerTask, MP_makeTask(params, &a));
    runMaskPass(params, params->p[kMaskSlot]);
    MP_runFilterBands(a, 4);
    MP_copyFilterOutput(dst, out, pixels);
    return 0;
}

int MP_calcPixelDeNoiseMedian(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels > SIZE_MAX / 6)
        return -1;
    std::unique_ptr<ushort, FreeDeleter> result(static_cast<ushort*>(std::malloc(pixels > 0 ? pixels * 6 : 1)));
    if (!result)
        return -1;
    MedianArgs a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return e;
    if (pixels == 0)
        return 0;
    a.out = result.get();
    a.p = params->p[0][0];
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    runMaskPass(params, params->p[kMaskSlot]);
    MP_runFilterBands(a, 8);
    MP_copyFilterOutput(dst, a.out, pixels);
    return 0;
}

int MP_calcPixelDeNoiseMinMax(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    ushort* scratch = static_cast<ushort*>(MP_UpdateBuffer(pixels * 8));
    if (!scratch)
        return -1;
    MinMaxArgs a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return e;
    if (pixels == 0)
        return 0;
    a.out = scratch;
    ushort* plane = scratch + pixels * 3;
    a.plane = plane;
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_minMaxFactors(MP_pow(params->p[0][0], 0.25f) * 0.99f, &a.g, &a.b);
    MP_runFilterPlanePass(src, plane, sizex, sizey, params);
    runMaskPass(params, params->p[kMaskSlot]);
    MP_runDriverBands(a.run, &a, MP_filterTask<MinMaxArgs, true>, minMaxReducedTask, 8);
    MP_copyFilterOutput(dst, a.out, pixels);
    return 0;
}

int MP_calcPixelSubDeNoiseAverage(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    SubArgs a;
    // The masks first, then the scratch buffer.
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, -1))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    ushort* out = static_cast<ushort*>(MP_UpdateBuffer(pixels * 6));
    if (!out)
        return -1;
    if (pixels == 0)
        return 0;
    a.out = out;
    a.intensity = params->p[0][0];
    a.scale = params->p[1][0];
    a.m = MP_safeTrunc(a.scale * 16384.0f, -(1 << 30), 1 << 30);
    const LumWeights lw = LumWeights::of(params, 16383.0f);
    a.vr = lw.wr;
    a.vg = lw.wg;
    a.vb = lw.wb;
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_runDriverBands(a.run, &a, subTask<true>, subTask<false>, 8);
    MP_copyFilterOutput(dst, out, pixels);
    return 0;
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelDeNoiseAverage", MP_calcPixelDeNoiseAverage},
    {"MP_calcPixelDeNoiseMedian", MP_calcPixelDeNoiseMedian},
    {"MP_calcPixelDeNoiseMinMax", MP_calcPixelDeNoiseMinMax},
    {"MP_calcPixelSubDeNoiseAverage", MP_calcPixelSubDeNoiseAverage},
};
extern const MP_DriverTable MP_drivers_smalldenoise = MP_driverTable(kDrivers);
