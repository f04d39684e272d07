// "Gemälde" (Oilpaint): 0 "Radius", 1 combo, 2 geometry.
//
// The window of pixel (x, y) samples rows y + ky and columns x + kx on the
// loop-step grid: ky from -R, kx from -lx[ky] (the row's half-width), both
// raised onto the image by whole steps. The prepass writes, behind the
// scratch image, the third of each channel sum, Q = (R + G + B) / 3 (a sum is
// below T = 3 t exactly when its third, rounded down, is below t; stored and
// compared less 32768, as signed 16-bit values, which the processor compares
// in one step), and the
// running sums of R, G and B along every row in steps of the loop step
// (P[c] = v[c] + P[c - step]). A window row's channel sums are then two
// lookups, and its darker count a comparison of Q that sixteen neighbouring
// pixels make at once: their samples at the same offset are sixteen
// neighbouring columns. Pixels whose window reaches past the left or right
// edge, and panorama windows (which wrap their columns), are counted one at
// a time.

#include "engine/effects/oilpaint.h"

#include "engine/MP_calccl.h"
#include "engine/core/cpuclones.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/core/windowsize.h"
#include "engine/core/windowweights.h"
#include "engine/effects/effectframe.h"
#include "engine/filters/filterframe.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

constexpr int kBlock = 16;

struct OilArgs {
    MP_DriverRun run;
    mp_filters::Window win;   // radius, step, panorama switch, row half-widths
    bool narrowSums = false;  // a window's sums fit 32 bits
    int16_t* third = nullptr; // Q - 32768, width x height
    uint32_t* sums = nullptr; // running R, G, B sums, 3 x width x height, wrapping around 2^32
};

void MP_TaskPre2_calcPixelOilpaint(TaskFuncParams t)
{
    const OilArgs& a = *MP_taskArgs<OilArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width), plane = w * static_cast<size_t>(a.run.height);
    const size_t step = static_cast<size_t>(a.win.step);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        const ushort* s = a.run.src + row * 3;
        int16_t* q = a.third + row;
        uint32_t* pr = a.sums + row;
        uint32_t* pg = pr + plane;
        uint32_t* pb = pg + plane;
        for (size_t c = 0; c < w; ++c) {
            const ushort* p = s + c * 3;
            q[c] = static_cast<int16_t>((p[0] + p[1] + p[2]) / 3 - 32768);
            pr[c] = p[0];
            pg[c] = p[1];
            pb[c] = p[2];
            if (c >= step) {
                pr[c] += pr[c - step];
                pg[c] += pg[c - step];
                pb[c] += pb[c - step];
            }
        }
    }
}

// Window sums of one pixel; a window holds at most 1001 x 1003 samples, so
// the wrapped differences of the running sums are exact.
struct Sums {
    int64_t r = 0, g = 0, b = 0;
    int n = 0, darker = 0;
};

// Samples c0, c0 + step, ..., c1 of image row `row` (sums and count).
inline void addRowRun(const OilArgs& a, size_t row, int c0, int c1, int16_t t, Sums& s)
{
    const size_t plane = static_cast<size_t>(a.run.width) * static_cast<size_t>(a.run.height);
    const uint32_t* pr = a.sums + row;
    const uint32_t* pg = pr + plane;
    const uint32_t* pb = pg + plane;
    uint32_t rr = pr[c1], rg = pg[c1], rb = pb[c1];
    if (c0 >= a.win.step) {
        rr -= pr[c0 - a.win.step];
        rg -= pg[c0 - a.win.step];
        rb -= pb[c0 - a.win.step];
    }
    s.r += rr;
    s.g += rg;
    s.b += rb;
    const int16_t* q = a.third + row;
    for (int c = c0; c <= c1; c += a.win.step) {
        ++s.n;
        s.darker += q[c] < t ? 1 : 0;
    }
}

inline void windowSums(const OilArgs& a, int x, int y, int16_t t, Sums& s)
{
    const int w = a.run.width, step = a.win.step;
    int ky, kyEnd;
    mp_filters::MP_windowRows(a.win, y, &ky, &kyEnd);
    for (; ky <= kyEnd; ky += step) {
        const int hw = a.win.halfWidth[ky + a.win.R];
        int kx = -hw;
        if (x + kx < 0)
            kx += ((-(x + kx) + step - 1) / step) * step;
        const int kxEnd = MP_imin(hw, w - 1 - x);
        if (kx > kxEnd)
            continue;
        const int c0 = x + kx;
        addRowRun(a, static_cast<size_t>(y + ky) * static_cast<size_t>(w), c0, c0 + ((kxEnd - kx) / step) * step, t,
                  s);
    }
}

// Panorama: rows from max(-R, -y) exactly, columns -hw..hw wrapped around.
inline void panoramaSums(const OilArgs& a, int x, int y, int16_t t, Sums& s)
{
    const int w = a.run.width, step = a.win.step, R = a.win.R;
    int ky, kyEnd;
    mp_filters::MP_windowRows(a.win, y, &ky, &kyEnd);
    for (; ky <= kyEnd; ky += step) {
        const int hw = a.win.halfWidth[ky + R];
        const size_t rowIndex = static_cast<size_t>(y + ky) * static_cast<size_t>(w);
        const ushort* row = a.run.src + rowIndex * 3;
        const int16_t* q = a.third + rowIndex;
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
            s.darker += q[c] < t ? 1 : 0;
            c += cstep;
            if (c >= w)
                c -= w;
        }
    }
}

// Sixteen pixels x0.. whose windows lie inside the row, at least one step
// from its left edge: one comparison per sample offset for all of them.
// Acc holds a window's channel sums: 32 bits while n * 65535 fits, else 64.
template <typename Acc>
__attribute__((always_inline)) inline void blockSumsT(const OilArgs& a, int x0, int y, const int16_t* t, Sums* s)
{
    const int w = a.run.width, step = a.win.step;
    const size_t plane = static_cast<size_t>(w) * static_cast<size_t>(a.run.height);
    int ky, kyEnd;
    mp_filters::MP_windowRows(a.win, y, &ky, &kyEnd);
    int32_t darker[kBlock] = {};
    Acc sr[kBlock] = {}, sg[kBlock] = {}, sb[kBlock] = {};
    int n = 0;
    for (; ky <= kyEnd; ky += step) {
        const int hw = a.win.halfWidth[ky + a.win.R];
        const int c0 = x0 - hw;
        const int m = (2 * hw) / step;
        const size_t row = static_cast<size_t>(y + ky) * static_cast<size_t>(w);
        const int16_t* q = a.third + row + c0;
        uint16_t count[kBlock] = {}; // at most 1003 samples a row
        for (int k = 0; k <= m; ++k, q += step)
            for (int i = 0; i < kBlock; ++i)
                count[i] = static_cast<uint16_t>(count[i] + (q[i] < t[i] ? 1 : 0));
        for (int i = 0; i < kBlock; ++i)
            darker[i] += count[i];
        n += m + 1;
        // Running sums: the row's run is P[c1] - P[c0 - step] (wrapped, exact).
        const uint32_t* pr = a.sums + row + (c0 + m * step);
        const uint32_t* pg = pr + plane;
        const uint32_t* pb = pg + plane;
        const ptrdiff_t back = static_cast<ptrdiff_t>(m + 1) * step;
        const uint32_t *br = pr - back, *bg = pg - back, *bb = pb - back;
        for (int i = 0; i < kBlock; ++i) {
            sr[i] += static_cast<uint32_t>(pr[i] - br[i]);
            sg[i] += static_cast<uint32_t>(pg[i] - bg[i]);
            sb[i] += static_cast<uint32_t>(pb[i] - bb[i]);
        }
    }
    for (int i = 0; i < kBlock; ++i)
        s[i] = {static_cast<int64_t>(sr[i]), static_cast<int64_t>(sg[i]), static_cast<int64_t>(sb[i]), n, darker[i]};
}

MP_CPU_CLONES void blockSums(const OilArgs& a, int x0, int y, const int16_t* t, Sums* s)
{
    if (a.narrowSums)
        blockSumsT<uint32_t>(a, x0, y, t, s);
    else
        blockSumsT<int64_t>(a, x0, y, t, s);
}

inline MP_float3 oilColour(const Sums& s, MP_float3 c)
{
    if (s.n == 0)
        return {0.0f, 0.0f, 0.0f};
    if ((s.n >> 2) < s.darker && s.darker < ((3 * s.n) >> 2))
        return c;
    const float f = MP_k / static_cast<float>(s.n);
    return {static_cast<float>(s.r) * f, static_cast<float>(s.g) * f, static_cast<float>(s.b) * f};
}

template <bool full> void oilRows(TaskFuncParams tp)
{
    const OilArgs& a = *MP_taskArgs<OilArgs>(tp);
    const MP_DriverRun& run = a.run;
    const MP_Params* p = run.params;
    const bool geometry = p->geometry_needed != 0;
    const int w = run.width;
    for (int y = MP_taskStart(tp); y < MP_taskEnd(tp); ++y) {
        const size_t off = static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        for (int x0 = 0; x0 < w; x0 += kBlock) {
            const int nb = MP_imin(kBlock, w - x0);
            MP_float3 c[kBlock];
            int16_t t[kBlock];
            for (int i = 0; i < nb; ++i) {
                c[i] = MP_loadRGB48(run.src + off + static_cast<size_t>(x0 + i) * 3);
                // T = 3 (int)(L0 * 65535); Q < T / 3 exactly when R + G + B < T.
                t[i] = static_cast<int16_t>(
                    MP_tableIndex(p->lumr * c[i].x + p->lumg * c[i].y + p->lumb * c[i].z) - 32768);
            }
            Sums s[kBlock];
            if (!a.win.panorama && nb == kBlock && x0 - a.win.widest - a.win.step >= 0 && x0 + kBlock - 1 + a.win.widest < w) {
                blockSums(a, x0, y, t, s);
            } else {
                for (int i = 0; i < nb; ++i) {
                    if (a.win.panorama)
                        panoramaSums(a, x0 + i, y, t[i], s[i]);
                    else
                        windowSums(a, x0 + i, y, t[i], s[i]);
                }
            }
            for (int i = 0; i < nb; ++i) {
                ushort* d = run.dst + off + static_cast<size_t>(x0 + i) * 3;
                if constexpr (full)
                    MP_fullWorkerPixel(run, geometry, x0 + i, y, c[i], d, [&] { return oilColour(s[i], c[i]); });
                else
                    MP_storeRGB48Clamped(d, oilColour(s[i], c[i]));
            }
        }
    }
}

void MP_Task_calcPixelOilpaint(TaskFuncParams t) { oilRows<true>(t); }
void MP_Task_calcPixelOilpaintReduced(TaskFuncParams t) { oilRows<false>(t); }

} // namespace

int MP_calcPixelOilpaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    auto a = std::make_unique<OilArgs>();
    const MP_WindowSize size = MP_calcWindowSize(params, 500.0f);
    // The image and, behind it, Q and the running sums (2 + 12 bytes a pixel).
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    if (!MP_UpdateBuffer(MP_effectScratchBytes(sizex, sizey, 20)))
        return -1;
    if (int r = MP_beginEffectDriver(a->run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 2))
        return r;
    // Rows past the dispatcher's radius get half-width 1; none above 501.
    mp_filters::Window& win = a->win;
    mp_filters::MP_prepareFilterWindow(win, "MP_calcPixelOilpaint", params, size, sizex, sizey,
                                       MP_UI_GetPanoramaMode() != 0);
    int64_t samples = 0;
    for (int ky = -win.R; ky <= win.R; ky += win.step)
        samples += win.halfWidth[ky + win.R] * 2 / win.step + 1;
    a->narrowSums = samples * 65535 < (int64_t(1) << 32);
    a->third = reinterpret_cast<int16_t*>(a->run.dst + pixels * 3);
    a->sums = reinterpret_cast<uint32_t*>(a->third + pixels);
    const TaskFuncParams tmpl = MP_makeTask(params, a.get());
    MP_runSinglePass(MP_TaskPre2_calcPixelOilpaint, tmpl, sizey);
    MP_runDriverBands(a->run, a.get(), MP_Task_calcPixelOilpaint, MP_Task_calcPixelOilpaintReduced, 1);
    return MP_finishEffectDriver(a->run, dst);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelOilpaint", MP_calcPixelOilpaint},
};
} // namespace
extern const MP_DriverTable MP_drivers_oilpaint = MP_driverTable(kDrivers);
