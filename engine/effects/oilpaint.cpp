// "Gemälde" (Oilpaint): 0 "Radius", 1 combo, 2 geometry.
//
// The window of pixel (x, y) samples rows y + ky and columns x + kx on the
// loop-step grid: ky from -R, kx from -lx[ky] (the row's half-width), both
// raised onto the image by whole steps. The samples of one window row are
// the columns c0, c0 + step, ... of one image row, that is one run of
// consecutive entries in the row's columns sorted by their remainder modulo
// the step. The prepass writes every image row in that order (three planes
// of 16-bit channels behind the scratch image), so that a window row is a
// contiguous loop the compiler vectorises. Panorama windows wrap their
// columns and sample the source directly.

#include "engine/effects/oilpaint.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/core/windowsize.h"
#include "engine/core/windowweights.h"
#include "engine/effects/effectframe.h"

#include <cstdint>
#include <memory>
#include <new>

namespace {

struct OilArgs {
    MP_DriverRun run;
    int R = 1;
    int step = 1;
    bool panorama = false;
    // Columns of a row in remainder order: plane p of row y starts at
    // planes + (p * height + y) * width; column c is at entry
    // offset[c % step] + c / step.
    ushort* planes = nullptr;
    const int* offset = nullptr; // min(step, width) entries
    int halfWidth[2 * MP_MAX_WINDOW_RADIUS + 1] = {}; // index ky + R
};

void MP_TaskPre2_calcPixelOilpaint(TaskFuncParams t)
{
    const OilArgs& a = *MP_taskArgs<OilArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width), h = static_cast<size_t>(a.run.height);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a.run.src + static_cast<size_t>(y) * w * 3;
        for (int p = 0; p < 3; ++p) {
            ushort* d = a.planes + (static_cast<size_t>(p) * h + static_cast<size_t>(y)) * w;
            for (int r = 0; r < a.step; ++r) {
                ushort* o = d + a.offset[r];
                for (size_t c = static_cast<size_t>(r), j = 0; c < w; c += static_cast<size_t>(a.step), ++j)
                    o[j] = s[c * 3 + static_cast<size_t>(p)];
            }
        }
    }
}

struct Sums {
    int64_t r = 0, g = 0, b = 0;
    int n = 0, darker = 0;
};

// One window row of consecutive entries [j0, j1] of the remainder-ordered row.
inline void addRun(const ushort* R, const ushort* G, const ushort* B, int j0, int j1, int T, Sums& s)
{
    int32_t sr = 0, sg = 0, sb = 0, dk = 0;
    for (int j = j0; j <= j1; ++j) {
        const int32_t r = R[j], g = G[j], b = B[j];
        sr += r;
        sg += g;
        sb += b;
        dk += (r + g + b < T) ? 1 : 0;
    }
    s.r += sr;
    s.g += sg;
    s.b += sb;
    s.n += j1 - j0 + 1;
    s.darker += dk;
}

inline void windowSums(const OilArgs& a, int x, int y, int T, Sums& s)
{
    const int w = a.run.width, h = a.run.height, step = a.step, R = a.R;
    const size_t W = static_cast<size_t>(w), H = static_cast<size_t>(h);
    int ky = -R;
    if (y + ky < 0)
        ky += ((-(y + ky) + step - 1) / step) * step;
    const int kyEnd = MP_imin(R, h - 1 - y);
    for (; ky <= kyEnd; ky += step) {
        const int hw = a.halfWidth[ky + R];
        int kx = -hw;
        if (x + kx < 0)
            kx += ((-(x + kx) + step - 1) / step) * step;
        const int kxEnd = MP_imin(hw, w - 1 - x);
        if (kx > kxEnd)
            continue;
        const int c0 = x + kx;
        const int count = (kxEnd - kx) / step;
        const int j0 = a.offset[c0 % step] + c0 / step;
        const size_t row = static_cast<size_t>(y + ky) * W;
        addRun(a.planes + row, a.planes + H * W + row, a.planes + 2 * H * W + row, j0, j0 + count, T, s);
    }
}

// Panorama: rows from max(-R, -y) exactly, columns -hw..hw wrapped around.
inline void panoramaSums(const OilArgs& a, int x, int y, int T, Sums& s)
{
    const int w = a.run.width, h = a.run.height, step = a.step, R = a.R;
    for (int ky = MP_imax(-R, -y); ky <= MP_imin(R, h - 1 - y); ky += step) {
        const int hw = a.halfWidth[ky + R];
        const ushort* row = a.run.src + static_cast<size_t>(y + ky) * static_cast<size_t>(w) * 3;
        int c = (x - hw) % w;
        if (c < 0)
            c += w;
        const int cstep = step % w;
        for (int kx = -hw; kx <= hw; kx += step) {
            const ushort* p = row + static_cast<size_t>(c) * 3;
            s.r += p[0];
            s.g += p[1];
            s.b += p[2];
            ++s.n;
            s.darker += (p[0] + p[1] + p[2] < T) ? 1 : 0;
            c += cstep;
            if (c >= w)
                c -= w;
        }
    }
}

inline MP_float3 oilEffect(const OilArgs& a, MP_float3 c, int x, int y)
{
    const MP_Params* p = a.run.params;
    const float L0 = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
    const int T = 3 * MP_tableIndex(L0);
    Sums s;
    if (a.panorama)
        panoramaSums(a, x, y, T, s);
    else
        windowSums(a, x, y, T, s);
    if (s.n == 0)
        return {0.0f, 0.0f, 0.0f};
    if ((s.n >> 2) < s.darker && s.darker < ((3 * s.n) >> 2))
        return c;
    const float f = MP_k / static_cast<float>(s.n);
    return {static_cast<float>(s.r) * f, static_cast<float>(s.g) * f, static_cast<float>(s.b) * f};
}

void MP_Task_calcPixelOilpaint(TaskFuncParams t)
{
    MP_effectFullTask<OilArgs>(t, [](const OilArgs& a, MP_float3 c, int x, int y) { return oilEffect(a, c, x, y); });
}
void MP_Task_calcPixelOilpaintReduced(TaskFuncParams t)
{
    MP_effectReducedTask<OilArgs>(t, [](const OilArgs& a, MP_float3 c, int x, int y) { return oilEffect(a, c, x, y); });
}

} // namespace

int MP_calcPixelOilpaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    auto a = std::make_unique<OilArgs>();
    const MP_WindowSize size = MP_calcWindowSize(params, 500.0f);
    a->R = size.R;
    a->step = size.step;
    a->panorama = MP_UI_GetPanoramaMode() != 0;
    // The image and, behind it, its three planes in remainder order.
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    if (!a->panorama && !MP_UpdateBuffer(pixels * 12))
        return -1;
    if (int r = MP_beginEffectDriver(a->run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 2))
        return r;
    // Rows past the dispatcher's radius get half-width 1; none above 501.
    MP_completeRowWidths("MP_calcPixelOilpaint", params, a->R);
    for (int ky = -a->R; ky <= a->R; ++ky)
        a->halfWidth[ky + a->R] = MP_windowRowHalfWidth(params, ky);
    const TaskFuncParams tmpl = MP_makeTask(params, a.get());
    std::unique_ptr<int[]> offsets;
    if (!a->panorama) {
        a->planes = a->run.dst + pixels * 3;
        const int step = a->step, residues = MP_imin(step, sizex);
        offsets.reset(new (std::nothrow) int[static_cast<size_t>(residues)]);
        if (!offsets)
            return -1;
        for (int r = 0, off = 0; r < residues; ++r) {
            offsets[r] = off;
            off += (sizex - r + step - 1) / step;
        }
        a->offset = offsets.get();
        MP_runSinglePass(MP_TaskPre2_calcPixelOilpaint, tmpl, sizey);
    }
    MP_runDriverBands(a->run, a.get(), MP_Task_calcPixelOilpaint, MP_Task_calcPixelOilpaintReduced, 1);
    return MP_finishEffectDriver(a->run, dst);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelOilpaint", MP_calcPixelOilpaint},
};
} // namespace
extern const MP_DriverTable MP_drivers_oilpaint = MP_driverTable(kDrivers);
