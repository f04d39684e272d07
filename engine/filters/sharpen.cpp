#include "engine/filters/sharpen.h"

#include "engine/MP_calccl.h"
#include "engine/core/pointrows.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>

using namespace mp_filters;

namespace {

// The smallest and largest of the nine plane values around (x, y).
struct Neighbourhood {
    const ushort* plane;
    int width, height;
    bool panorama;

    void minMax(int x, int y, int* mn, int* mx) const
    {
        const size_t w = static_cast<size_t>(width);
        const ushort* rows[3] = {plane + static_cast<size_t>(MP_imax(y - 1, 0)) * w, plane + static_cast<size_t>(y) * w,
                                 plane + static_cast<size_t>(MP_imin(y + 1, height - 1)) * w};
        int xl = x - 1, xr = x + 1;
        if (panorama) {
            xl = xl < 0 ? width - 1 : xl;
            xr = xr >= width ? 0 : xr;
        } else {
            xl = MP_imax(xl, 0);
            xr = MP_imin(xr, width - 1);
        }
        int lo = 65535, hi = 0;
        for (const ushort* r : rows)
            for (int c : {xl, x, xr}) {
                const int v = r[c];
                lo = v < lo ? v : lo;
                hi = v > hi ? v : hi;
            }
        *mn = lo;
        *mx = hi;
    }
};

struct SharpenArgs {
    MP_DriverRun run;
    Neighbourhood nb{};
    float s = 0.0f;

    void fillTables(int start, int end) const { MP_splineSlotTable(run.params->p[1], start, end, MP_temp2_table); }
};

template <bool Full> void sharpenRows(const SharpenArgs& a, int start, int end)
{
    const size_t w = static_cast<size_t>(a.run.width);
    const float s = a.s;
    MP_filterRows<Full>(a.run, a.run.dst, start, end, [&a, w, s](MP_float3 c, int x, int y) {
        const int A = a.nb.plane[static_cast<size_t>(y) * w + static_cast<size_t>(x)];
        int mn, mx;
        a.nb.minMax(x, y, &mn, &mx);
        float g = 1.0f;
        if (mx - mn > 0) {
            const float q = MP_min(static_cast<float>(mx - mn) * 0.00030518044f, 1.0f);
            const int lo = mn >> 1, hi = (mx >> 1) + 32768;
            const float ratio = static_cast<float>(A - lo) /
                                ((static_cast<float>(A) * MP_k + 0.001f) * static_cast<float>(hi - lo));
            g = 1.0f - s + (ratio * q + (1.0f - q)) * s;
        }
        const float m = MP_temp2_table[A];
        const float k = 1.0f - m;
        return MP_float3{c.x * k + c.x * g * m, c.y * k + c.y * g * m, c.z * k + c.z * g * m};
    });
}

// The reduced worker's rows in blocks: sharpenRows<false>'s operations. The
// 3 x 3 minimum and maximum come from the column extremes of the three rows
// (the same values as Neighbourhood::minMax), the gain's branch is a select
// (hi - lo is at least 32768, so the unchosen quotient is finite), the mask
// lookup a loop of its own.
MP_POINT_BODY void sharpenRowsPlanesBody(const SharpenArgs& a, int start, int end)
{
    constexpr int N = MP_POINT_BLOCK;
    const int w = a.run.width, h = a.run.height;
    const size_t rowLen = static_cast<size_t>(w);
    const ushort* plane = a.nb.plane;
    const float s = a.s;
    for (int y = start; y < end; ++y) {
        const ushort* up = plane + static_cast<size_t>(y - 1 > 0 ? y - 1 : 0) * rowLen;
        const ushort* mid = plane + static_cast<size_t>(y) * rowLen;
        const ushort* down = plane + static_cast<size_t>(y + 1 < h - 1 ? y + 1 : h - 1) * rowLen;
        const ushort* srow = a.run.src + static_cast<size_t>(y) * rowLen * 3;
        ushort* drow = a.run.dst + static_cast<size_t>(y) * rowLen * 3;
        for (int x0 = 0; x0 < w; x0 += N) {
            const int n = w - x0 < N ? w - x0 : N;
            // Column extremes of columns x0 - 1 .. x0 + n (entry j: column x0 - 1 + j).
            int cmn[N + 2], cmx[N + 2];
            for (int j = 1; j <= n; ++j) {
                const int c = x0 - 1 + j;
                const int u = up[c], m = mid[c], d = down[c];
                const int um = u < m ? u : m, uM = u > m ? u : m;
                cmn[j] = um < d ? um : d;
                cmx[j] = uM > d ? uM : d;
            }
            // Beyond the picture: the edge column again, or the column
            // across the seam in panorama mode.
            const int cl = x0 > 0 ? x0 - 1 : (a.nb.panorama ? w - 1 : 0);
            const int cr = x0 + n < w ? x0 + n : (a.nb.panorama ? 0 : w - 1);
            for (const auto& [j, c] : {std::pair<int, int>{0, cl}, std::pair<int, int>{n + 1, cr}}) {
                const int u = up[c], m = mid[c], d = down[c];
                const int um = u < m ? u : m, uM = u > m ? u : m;
                cmn[j] = um < d ? um : d;
                cmx[j] = uM > d ? uM : d;
            }
            int A[N];
            float G[N], M[N];
            for (int j = 0; j < n; ++j) {
                const int m01 = cmn[j] < cmn[j + 1] ? cmn[j] : cmn[j + 1];
                const int mn = m01 < cmn[j + 2] ? m01 : cmn[j + 2];
                const int M01 = cmx[j] > cmx[j + 1] ? cmx[j] : cmx[j + 1];
                const int mx = M01 > cmx[j + 2] ? M01 : cmx[j + 2];
                const int Aj = mid[x0 + j];
                A[j] = Aj;
                const float q0 = static_cast<float>(mx - mn) * 0.00030518044f;
                const float q = q0 < 1.0f ? q0 : 1.0f; // MP_min(q0, 1)
                const int lo = mn >> 1, hi = (mx >> 1) + 32768;
                const float ratio = static_cast<float>(Aj - lo) /
                                    ((static_cast<float>(Aj) * MP_k + 0.001f) * static_cast<float>(hi - lo));
                const float g = 1.0f - s + (ratio * q + (1.0f - q)) * s;
                G[j] = mx - mn > 0 ? g : 1.0f;
            }
            MP_pointLookup(MP_temp2_table, A, M, n);
            float C[3][N];
            MP_pointLoad(srow + static_cast<size_t>(x0) * 3, n, C[0], C[1], C[2]);
            for (int k = 0; k < 3; ++k)
                for (int j = 0; j < n; ++j) {
                    const float c = C[k][j], m = M[j];
                    const float keep = 1.0f - m;
                    C[k][j] = c * keep + c * G[j] * m;
                }
            MP_pointStore(drow + static_cast<size_t>(x0) * 3, n, C[0], C[1], C[2]);
        }
    }
}
MP_POINT_ROWS_COPIES(sharpenRowsPlanes, SharpenArgs)

void MP_Task_calcPixelSharpen(TaskFuncParams t)
{
    sharpenRows<true>(*MP_taskArgs<SharpenArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}
void MP_Task_calcPixelSharpenReduced(TaskFuncParams t)
{
    if (!MP_plainPointLoops()) {
        sharpenRowsPlanes(*MP_taskArgs<SharpenArgs>(t), MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    sharpenRows<false>(*MP_taskArgs<SharpenArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}

struct SubSharpenArgs {
    MP_DriverRun run;
    Neighbourhood nb{};
    int S = 0;        // (int)(sigma * 16384)
    float i = 0.0f;   // intensity
};

// The sharpened raw channels of the pixel (x, y), or false to keep it.
inline bool subSharpen(const SubSharpenArgs& a, const ushort* px, int x, int y, float out[3])
{
    const int L0 = a.nb.plane[static_cast<size_t>(y) * static_cast<size_t>(a.run.width) + static_cast<size_t>(x)];
    int mn, mx;
    a.nb.minMax(x, y, &mn, &mx);
    const int64_t S = a.S;
    const int64_t Y = (16384 - S) * L0;
    constexpr float kappa = 4.656684e-10f;
    const float lo = static_cast<float>(Y + S * mn) * kappa;
    const float hi = static_cast<float>(Y + S * mx) * kappa + 0.5f;
    const float l = static_cast<float>(L0) * MP_k;
    const float g = 1.0f - a.i + (l - lo) / ((hi - lo) * (l + 0.001f)) * a.i;
    if (!std::isfinite(g))
        return false;
    for (int c = 0; c < 3; ++c)
        out[c] = MP_clamp(static_cast<float>(px[c]) * g, 0.0f, 65535.0f);
    return true;
}

void MP_Task_calcPixelSubSharpen(TaskFuncParams t)
{
    const SubSharpenArgs* a = MP_taskArgs<SubSharpenArgs>(t);
    MP_filterRows<true>(a->run, a->run.dst, MP_taskStart(t), MP_taskEnd(t), [a](MP_float3 c, int x, int y) {
        const ushort* px = a->run.src + (static_cast<size_t>(y) * static_cast<size_t>(a->run.width) + x) * 3;
        float v[3];
        if (!subSharpen(*a, px, x, y, v))
            return c;
        return MP_float3{static_cast<float>(static_cast<int>(v[0])) * MP_k,
                         static_cast<float>(static_cast<int>(v[1])) * MP_k,
                         static_cast<float>(static_cast<int>(v[2])) * MP_k};
    });
}

// The reduced worker pixel by pixel: every scale, and the reference of the
// row walk below.
void subSharpenPixels(const SubSharpenArgs& a, int start, int end)
{
    MP_forEachRawPixel(a.run, start, end, [&a](int x, int y, size_t, const ushort* s, ushort* d) {
        float v[3];
        if (!subSharpen(a, s, x, y, v)) {
            d[0] = s[0], d[1] = s[1], d[2] = s[2];
            return;
        }
        for (int c = 0; c < 3; ++c)
            d[c] = static_cast<ushort>(static_cast<int>(v[c]));
    });
}

// The reduced worker a run of a row at a time, for scales of -1..1
// (|S| <= 16384): then Y + S * mn and Y + S * mx stay inside 32 signed bits
// (for S >= 0 they are weighted means of 16-bit values times 16384, for
// S < 0 at most 32768 * 65535), so the sums are taken in int, whose
// conversion to float gives the same value as the 64-bit one. The 3 x 3
// minimum and maximum come from the column extremes of the three rows. A gain
// without a value becomes 1, which stores every channel unchanged as the
// pixel walk keeps it.
template <int = 0> inline void subSharpenRuns(const SubSharpenArgs& a, int start, int end)
{
    constexpr int kRun = 256;
    const int w = a.run.width, h = a.run.height;
    const size_t rowLen = static_cast<size_t>(w);
    const ushort* plane = a.nb.plane;
    const int S = a.S;
    const int Sc = 16384 - S;
    const float i = a.i, keep = 1.0f - a.i;
    constexpr float kappa = 4.656684e-10f;
    int cmn[kRun + 2], cmx[kRun + 2];
    float g[kRun];
    float g3[3 * kRun];
    float c[3 * kRun]; // the run's channels (the destination may be the source)
    for (int y = start; y < end; ++y) {
        const ushort* up = plane + static_cast<size_t>(MP_imax(y - 1, 0)) * rowLen;
        const ushort* mid = plane + static_cast<size_t>(y) * rowLen;
        const ushort* down = plane + static_cast<size_t>(MP_imin(y + 1, h - 1)) * rowLen;
        const ushort* srow = a.run.src + static_cast<size_t>(y) * rowLen * 3;
        ushort* drow = a.run.dst + static_cast<size_t>(y) * rowLen * 3;
        for (int x0 = 0; x0 < w; x0 += kRun) {
            const int n = MP_imin(kRun, w - x0);
            // Column extremes of columns x0 - 1 .. x0 + n (entry j: column x0 - 1 + j).
            for (int j = 1; j <= n; ++j) {
                const int c = x0 - 1 + j;
                const int u = up[c], m = mid[c], d = down[c];
                cmn[j] = MP_imin(MP_imin(u, m), d);
                cmx[j] = MP_imax(MP_imax(u, m), d);
            }
            const auto edge = [&](int j, int c) {
                const int u = up[c], m = mid[c], d = down[c];
                cmn[j] = MP_imin(MP_imin(u, m), d);
                cmx[j] = MP_imax(MP_imax(u, m), d);
            };
            // Beyond the picture: the edge column again, or the column
            // across the seam in panorama mode.
            edge(0, x0 > 0 ? x0 - 1 : (a.nb.panorama ? w - 1 : 0));
            edge(n + 1, x0 + n < w ? x0 + n : (a.nb.panorama ? 0 : w - 1));
            for (int j = 0; j < n; ++j) {
                const int mn = MP_imin(MP_imin(cmn[j], cmn[j + 1]), cmn[j + 2]);
                const int mx = MP_imax(MP_imax(cmx[j], cmx[j + 1]), cmx[j + 2]);
                const int L0 = mid[x0 + j];
                const int Y = Sc * L0;
                const float lo = static_cast<float>(Y + S * mn) * kappa;
                const float hi = static_cast<float>(Y + S * mx) * kappa + 0.5f;
                const float l = static_cast<float>(L0) * MP_k;
                const float gj = keep + (l - lo) / ((hi - lo) * (l + 0.001f)) * i;
                g[j] = std::fabs(gj) <= std::numeric_limits<float>::max() ? gj : 1.0f;
            }
            for (int j = 0; j < n; ++j)
                g3[3 * j] = g3[3 * j + 1] = g3[3 * j + 2] = g[j];
            const ushort* s = srow + static_cast<size_t>(x0) * 3;
            ushort* d = drow + static_cast<size_t>(x0) * 3;
            for (int j = 0; j < 3 * n; ++j)
                c[j] = static_cast<float>(s[j]);
            // MP_clamp(v, 0, 65535) with both comparisons made for every
            // value, so that the loop vectorises.
            for (int j = 0; j < 3 * n; ++j) {
                const float v = c[j] * g3[j];
                const float belowTop = 65535.0f < v ? 65535.0f : v;
                d[j] = static_cast<ushort>(static_cast<int>(v < 0.0f ? 0.0f : belowTop));
            }
        }
    }
}

#ifdef MP_FILTERS_X86
__attribute__((target("avx2"), flatten)) void subSharpenRunsAvx2(const SubSharpenArgs& a, int start, int end)
{
    subSharpenRuns(a, start, end);
}
// Sixteen lanes wide: the same operations in the same order.
__attribute__((target("avx512f,avx512bw,avx512dq,avx512vl"), flatten)) void
subSharpenRunsAvx512(const SubSharpenArgs& a, int start, int end)
{
    subSharpenRuns(a, start, end);
}
#endif

void MP_Task_calcPixelSubSharpenReduced(TaskFuncParams t)
{
    const SubSharpenArgs* a = MP_taskArgs<SubSharpenArgs>(t);
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    if (!g_filterRunWalk || MP_plainPointLoops() || a->S < -16384 || a->S > 16384) {
        subSharpenPixels(*a, start, end);
        return;
    }
#ifdef MP_FILTERS_X86
    if (MP_filterHasAvx2() && MP_pointVectorLevel() >= 2) {
        subSharpenRunsAvx512(*a, start, end);
        return;
    }
    if (MP_filterHasAvx2() && MP_pointVectorLevel() >= 1) {
        subSharpenRunsAvx2(*a, start, end);
        return;
    }
#endif
    subSharpenRuns(*a, start, end);
}

} // namespace

int MP_calcPixelSharpen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    SharpenArgs a;
    ushort* plane = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 2, 3, 2, &plane))
        return MP_beginFilterResult(e);
    a.nb = {plane, sizex, sizey, MP_UI_GetPanoramaMode() != 0};
    a.s = finiteOr(params->p[0][0], 0.0f);
    MP_runFilterPlanePass(src, plane, sizex, sizey, params);
    MP_runTablePass(MP_filterTableTask<SharpenArgs>, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelSharpen, MP_Task_calcPixelSharpenReduced, 8);
}

int MP_calcPixelSubSharpen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params)
{
    SubSharpenArgs a;
    ushort* plane = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 2, 2, -1, &plane))
        return MP_beginFilterResult(e);
    a.nb = {plane, sizex, sizey, MP_UI_GetPanoramaMode() != 0};
    a.i = finiteOr(params->p[0][0], 0.0f);
    // Held well inside 64-bit products (sigma up to +-1024).
    a.S = MP_safeTrunc(params->p[1][0] * 16384.0f, -(1 << 24), 1 << 24);
    MP_runFilterPlanePass(src, plane, sizex, sizey, params);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelSubSharpen, MP_Task_calcPixelSubSharpenReduced, 8);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelSharpen", MP_calcPixelSharpen},
    {"MP_calcPixelSubSharpen", MP_calcPixelSubSharpen},
};
extern const MP_DriverTable MP_drivers_sharpen = MP_driverTable(kDrivers);
