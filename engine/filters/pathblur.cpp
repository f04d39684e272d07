#include "engine/filters/pathblur.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <climits>
#include <cmath>
#include <cstdint>

using namespace mp_filters;

namespace {

enum class Path { DirBlur, DirSharpen, Radial };

// One turn of the sine table in fixed-point units (8 fractional bits of an entry) per radian.
constexpr float kRadian = 2670136.0f;

struct PathArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    Path op = Path::DirBlur;
    bool panorama = false;
    // Line: its offset from the pixel to the first sample, the increment per
    // sample, the sample step and length.
    float x0 = 0.0f, y0 = 0.0f, ix = 0.0f, iy = 0.0f, add = 1.0f;
    int step = 1, len = 1;
    float amount = 0.0f; // DirBlur glow, DirSharpen strength
    // Arc: samples and angle step.
    int K = 0;
    int64_t C = 0;

    void fillTables(int start, int end) const
    {
        if (op == Path::Radial) {
            for (int i = start; i < end; ++i)
                MP_temp_table[i] = std::sin((static_cast<float>(i) * MP_k) * 2.0f * 3.1415927f);
            return;
        }
        MP_splineSlotTable(run.params->p[2], start, end, MP_temp_table);
        if (op == Path::DirSharpen)
            for (int i = start; i < end; ++i)
                MP_temp2_table[i] = powf(static_cast<float>(i) * MP_k, 0.65f);
    }

    // Column of a line sample: clamped, or wrapped around in panorama mode.
    int column(float px) const
    {
        const int w = run.width;
        int sx = MP_safeTrunc(px, INT_MIN / 2, INT_MAX / 2);
        if (panorama) {
            sx %= w;
            return sx < 0 ? sx + w : sx;
        }
        return MP_iclamp(sx, 0, w - 1);
    }

    MP_float3 lineMean(int x, int y) const
    {
        const ushort* src = run.src;
        const size_t w = static_cast<size_t>(run.width);
        float px = static_cast<float>(x) + x0, py = static_cast<float>(y) + y0;
        int64_t sr = 0, sg = 0, sb = 0;
        for (int P = step;; P += step) {
            const int sy = MP_iclamp(MP_safeTrunc(py, INT_MIN / 2, INT_MAX / 2), 0, run.height - 1);
            const ushort* s = src + (static_cast<size_t>(sy) * w + static_cast<size_t>(column(px))) * 3;
            sr += s[0];
            sg += s[1];
            sb += s[2];
            if (P >= len)
                break;
            px += ix;
            py += iy;
        }
        const float f = MP_k * add;
        return {static_cast<float>(sr) * f, static_cast<float>(sg) * f, static_cast<float>(sb) * f};
    }

    MP_float3 arcMean(MP_float3 c, int x, int y) const
    {
        if (K < 1)
            return c;
        const int w = run.width, h = run.height;
        const float cx = 0.5f * static_cast<float>(w), cy = 0.5f * static_cast<float>(h);
        const float dx = static_cast<float>(x) - cx, dy = static_cast<float>(y) - cy;
        const float rho = MP_sqrt(dx * dx + dy * dy);
        int64_t J = static_cast<int64_t>((std::atan2(dy, dx) - 1.5707964f) * kRadian);
        int64_t sr = 0, sg = 0, sb = 0, n = 0;
        for (int i = 0; i < K; ++i, J += C) {
            const int64_t e = J >> 8;
            const float sinv = MP_temp_table[e & 65535], cosv = MP_temp_table[(e + 16384) & 65535];
            const int sx = static_cast<int>(cx - rho * sinv);
            if (sx < 0 || sx >= w)
                continue;
            const int sy = static_cast<int>(cosv * rho + cy);
            if (sy < 0 || sy >= h)
                continue;
            const ushort* s = run.src + (static_cast<size_t>(sy) * static_cast<size_t>(w) + static_cast<size_t>(sx)) * 3;
            sr += s[0];
            sg += s[1];
            sb += s[2];
            ++n;
        }
        if (n == 0)
            return c;
        const float f = MP_k / static_cast<float>(n);
        return {static_cast<float>(sr) * f, static_cast<float>(sg) * f, static_cast<float>(sb) * f};
    }

    MP_float3 effect(MP_float3 c, int x, int y) const
    {
        if (op == Path::Radial)
            return arcMean(c, x, y);
        const MP_float3 m = lineMean(x, y);
        MP_float3 a;
        if (op == Path::DirBlur) {
            const float g = amount, kg = 1.0f - g;
            auto glow = [](float c, float m) { return MP_min(1.0f, 0.707f * (c * c + m * m)); };
            a = {m.x * kg + glow(c.x, m.x) * g, m.y * kg + glow(c.y, m.y) * g, m.z * kg + glow(c.z, m.z) * g};
        } else {
            const float s = amount, ks = 1.0f - s;
            auto push = [&](float c, float m) {
                const float t = MP_temp2_table[MP_tableIndex(MP_fabs(m - c))];
                return (m < c ? c + t : c - t) * s + c * ks;
            };
            a = {push(c.x, m.x), push(c.y, m.y), push(c.z, m.z)};
        }
        const MP_Params* p = run.params;
        const float w = MP_temp_table[MP_tableIndex(p->lumr * c.x + p->lumg * c.y + p->lumb * c.z)];
        const float k = 1.0f - w;
        return {c.x * k + a.x * w, c.y * k + a.y * w, c.z * k + a.z * w};
    }
};

void MP_Task_calcPixelPath(TaskFuncParams t)
{
    const PathArgs* a = MP_taskArgs<PathArgs>(t);
    MP_filterRows<true>(a->run, a->out, MP_taskStart(t), MP_taskEnd(t),
                        [a](MP_float3 c, int x, int y) { return a->effect(c, x, y); });
}

// The line of slot 1: span, step, length and increment.
void prepareLine(PathArgs& a, const MP_Params* p, int w, int h)
{
    const float vx = (finiteOr(p->p[1][2], 0.0f) - finiteOr(p->p[1][0], 0.0f)) * static_cast<float>(w);
    const float vy = (finiteOr(p->p[1][3], 0.0f) - finiteOr(p->p[1][1], 0.0f)) * static_cast<float>(h);
    const float dx = vx * 0.125f - vx * -0.125f, dy = vy * 0.125f - vy * -0.125f;
    const int len0 = MP_safeTrunc(MP_sqrt(dx * dx + dy * dy), 0, INT_MAX / 2);
    a.step = MP_imax(1, MP_safeTrunc(powf(static_cast<float>(MP_imax(len0 - 1000, 0)), 0.125f), 1, INT_MAX / 2));
    a.len = MP_imax(1, MP_imin(len0, MP_safeTrunc(500.0f * p->previewscalingfactor, 0, 500000)));
    a.add = static_cast<float>(a.step) / static_cast<float>(a.len);
    a.x0 = vx * -0.125f;
    a.y0 = vy * -0.125f;
    a.ix = dx * a.add;
    a.iy = dy * a.add;
}

int runPath(Path op, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    PathArgs a;
    a.op = op;
    ushort* scratch = nullptr;
    const bool radial = op == Path::Radial;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6, radial ? 3 : 4,
                               radial ? 2 : 3, &scratch))
        return MP_beginFilterResult(e);
    a.out = scratch;
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_runTablePass(MP_filterTableTask<PathArgs>, MP_makeTask(params, &a));
    if (radial) {
        const float psf = params->previewscalingfactor;
        a.K = MP_safeTrunc(params->p[0][0] * 200.0f * psf, 0, 1 << 16);
        const float ang = ((1.0f - finiteOr(params->p[1][0], 0.5f)) - 0.5f) * 2.0f * 3.1415927f;
        a.C = MP_safeTrunc((1.0f / psf) * 0.002f * ang * kRadian, -(1 << 30), 1 << 30);
    } else {
        prepareLine(a, params, sizex, sizey);
        a.amount = finiteOr(params->p[0][0], 0.0f);
    }
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelPath, nullptr, 1);
    MP_copyFilterOutput(dst, scratch, pixelCount(sizex, sizey));
    return 0;
}

} // namespace

int MP_calcPixelDirBlur(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runPath(Path::DirBlur, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}
int MP_calcPixelDirSharpen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params)
{
    return runPath(Path::DirSharpen, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}
int MP_calcPixelRadialBlur(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params)
{
    return runPath(Path::Radial, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelDirBlur", MP_calcPixelDirBlur},
    {"MP_calcPixelDirSharpen", MP_calcPixelDirSharpen},
    {"MP_calcPixelRadialBlur", MP_calcPixelRadialBlur},
};
extern const MP_DriverTable MP_drivers_pathblur = MP_driverTable(kDrivers);
