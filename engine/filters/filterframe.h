#pragma once
// The frame of the neighbourhood filters: every filter driver is written on
// the common driver frame (engine/core/driverframe.h) with these pieces.
//
// A window filter driver does, in this order (MP_runWindowFilter runs the
// common case from a FilterPlan):
//   1. MP_filterCheck: missing buffers or block, bytes per pixel other than 6
//      (the workers write RGB48): -2, nothing written;
//   2. its size (MP_calcWindowSize) and its scratch buffer (-1 when it cannot
//      be had, before anything else is done);
//   3. MP_beginDriver (blend slot, geometry masks, worker choice);
//   (MP_beginFilter does 1 to 3)
//   4. its prepasses: the luminance plane (MP_runFilterPlanePass), the
//      spatial weights (MP_runWindowWeightsPass), its lookup tables
//      (MP_runTablePass), each waited for;
//   5. the main pass (MP_runDriverBands) with the workers made by
//      MP_filterTask<Args, Full>. Args has `ushort* out`, the image the
//      workers write, and either
//        MP_float3 effect(MP_float3 c0, int x, int y) const
//      or, for a window operator that gathers a run of pixels at once,
//        struct Cache; void gather(int y, int x0, int n, Cache&) const;
//        MP_float3 effect(MP_float3 c0, int x, int y, const Cache&, int i) const
//      giving the operator's colour, its masking curve included (the frame's
//      run.maskTable stays null);
//   6. output scratch only: MP_copyFilterOutput to the destination.
//
// Window walk (MP_forEachWindowSample): rows ascending, columns ascending
// within a row, every `step`-th row and column of the superquadric window.
// Without panorama the first row and column are the first grid offsets from
// -R (-l) inside the image; in panorama mode the rows start at max(-R, -y)
// and the columns -l..l wrap around the width (modulo, however wide the
// window). A window that holds no sample of the image (one-row or one-column
// images with a step above 1) takes the centre as its only sample.
// Runs of pixels (MP_forEachWindowOffset) visit the same samples of each
// pixel in the same order, several pixels per instruction.

#include "engine/core/driverframe.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/core/windowsize.h"
#include "engine/core/windowweights.h"

#include <cmath>
#include <cstddef>

namespace mp_filters {

constexpr int kMaxRadius = MP_MAX_WINDOW_RADIUS;

// The bilateral divisor table entry 1 / (i * k + eps).
inline float divisor(int i, float eps) { return 1.0f / (static_cast<float>(i) * MP_k + eps); }

// The single-precision products 10 * 0.001 (0.010000001) and 5 * 0.001 (0.0050000004).
constexpr float kEps10 = 10.0f * 0.001f;
constexpr float kEps5 = 5.0f * 0.001f;

// Step 1. Returns 0, or -2.
int MP_filterCheck(int sizex, int sizey, const ushort* src, const ushort* dst, int srcBpp, int dstBpp,
                   const MP_Params* params);

// Steps 1 to 3 with the scratch buffer of scratchBytes per pixel (*scratch):
// 0 to go on; 1 for an empty image (the driver returns 0); -1 or -2 (the
// driver returns them, nothing written).
int MP_beginFilter(MP_DriverRun& run, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                   MP_Params* params, size_t scratchBytes, int geoSlot, int comboSlot, ushort** scratch);
inline int MP_beginFilterResult(int begin) { return begin < 0 ? begin : 0; }

// A slider value that may be NaN or infinite: `neutral` in its place.
inline float finiteOr(float v, float neutral) { return std::isfinite(v) ? v : neutral; }

inline size_t pixelCount(int sizex, int sizey) { return static_cast<size_t>(sizex) * static_cast<size_t>(sizey); }

// The 14-bit integer luminance weights (lumr * scale, truncated, held to 0..16384):
// scale 16384 for the luminance plane, 16383 for the small-window filters.
struct LumWeights {
    unsigned wr = 0, wg = 0, wb = 0;
    static LumWeights of(const MP_Params* p, float scale = 16384.0f)
    {
        return {static_cast<unsigned>(MP_safeTrunc(p->lumr * scale, 0, 16384)),
                static_cast<unsigned>(MP_safeTrunc(p->lumg * scale, 0, 16384)),
                static_cast<unsigned>(MP_safeTrunc(p->lumb * scale, 0, 16384))};
    }
    // (wr R + wg G + wb B) >> 14: inside 32 unsigned bits, never above 65535.
    unsigned of(const ushort* px) const
    {
        const unsigned v = (wr * px[0] + wg * px[1] + wb * px[2]) >> 14;
        return v > 65535u ? 65535u : v;
    }
};

// The centre pixel's 16-bit luminance index (int)(lum0 * 65535), held to
// 0..65535 (NaN gives 0).
inline int lumIndex(const MP_Params* p, MP_float3 c)
{
    return MP_tableIndex(p->lumr * c.x + p->lumg * c.y + p->lumb * c.z);
}

// The window of one run.
struct Window {
    int width = 0, height = 0;
    int R = 1, step = 1;
    bool panorama = false;
    int widest = 0;                          // largest half-width
    int halfWidth[2 * kMaxRadius + 1] = {}; // index ky + R, 0..501
};

// Fills the window: size, panorama switch, and the row half-widths of the
// block (rows beyond the dispatcher's radius completed with half-width 1).
void MP_prepareFilterWindow(Window& win, const char* kernel, MP_Params* params, const MP_WindowSize& size, int width,
                            int height, bool panorama);

// The window rows y1 .. y2 of row y (step win.step): without panorama the
// first grid row from -R inside the image, in panorama mode max(-R, -y).
inline void MP_windowRows(const Window& win, int y, int* y1, int* y2)
{
    const int R = win.R, s = win.step;
    int first = -R;
    if (win.panorama) {
        if (y - R < 0)
            first = -y;
    } else if (y + first < 0) {
        first += ((-(y + first)) + s - 1) / s * s;
    }
    *y1 = first;
    *y2 = MP_imin(R, win.height - 1 - y);
}

// Calls f(pixelIndex, spatialWeight) for every sample of the window around
// (x, y), in the window's order; pixelIndex = row * width + column. Returns
// the number of samples. With `centreFallback`, an empty window visits the
// centre with the weight of offset (0, 0) instead (and returns 1).
template <bool CentreFallback = true, class F>
inline int MP_forEachWindowSample(const Window& win, int x, int y, F&& f)
{
    const int R = win.R, s = win.step, w = win.width;
    int y1, y2;
    MP_windowRows(win, y, &y1, &y2);
    int n = 0;
    for (int ky = y1; ky <= y2; ky += s) {
        const int l = win.halfWidth[ky + R];
        const float* ws = &localexp[MP_localexpIndex(0, ky)];
        const size_t row = static_cast<size_t>(y + ky) * static_cast<size_t>(w);
        if (!win.panorama) {
            int x1 = -l;
            if (x + x1 < 0)
                x1 += ((-(x + x1)) + s - 1) / s * s;
            const int x2 = MP_imin(l, w - 1 - x);
            for (int kx = x1; kx <= x2; kx += s, ++n)
                f(row + static_cast<size_t>(x + kx), ws[kx]);
        } else {
            int col = (x - l) % w;
            if (col < 0)
                col += w;
            for (int kx = -l; kx <= l; kx += s, ++n) {
                f(row + static_cast<size_t>(col), ws[kx]);
                col += s;
                while (col >= w)
                    col -= w;
            }
        }
    }
    if (CentreFallback && n == 0) {
        f(static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x), localexp[MP_localexpIndex(0, 0)]);
        n = 1;
    }
    return n;
}

// Pixels a worker gathers at once: a run of one row.
constexpr int kChunk = 64;

// True when the pixels x0 .. x0+n-1 can be gathered as one run: always
// without panorama; in panorama mode when no window wraps.
// Tests: false walks every pixel on its own (the reference the runs must equal).
extern bool g_filterRunWalk;
inline bool MP_chunkWalkable(const Window& win, int x0, int n)
{
    return g_filterRunWalk &&
           (!win.panorama || (x0 - win.widest >= 0 && x0 + n - 1 + win.widest <= win.width - 1));
}

// For such a run in row y: calls f(offset, spatialWeight, lo, hi) for every
// window offset (offset = ky * width + kx) in the window's order, where the
// pixels lo .. hi-1 of the run have that sample inside the image (at the
// border a pixel's window starts at its first grid column inside the image
// and ends at the last, as in MP_forEachWindowSample). Returns false when a
// pixel of the run got no sample at all (the caller then walks each pixel,
// which takes the centre).
template <class F> inline bool MP_forEachWindowOffset(const Window& win, int x0, int n, int y, F&& f)
{
    const int R = win.R, s = win.step, w = win.width;
    const bool interior = x0 - win.widest >= 0 && x0 + n - 1 + win.widest <= w - 1;
    int y1, y2;
    MP_windowRows(win, y, &y1, &y2);
    bool any = false;
    unsigned char covered[kChunk] = {};
    for (int ky = y1; ky <= y2; ky += s) {
        const int l = win.halfWidth[ky + R];
        const float* ws = &localexp[MP_localexpIndex(0, ky)];
        const ptrdiff_t row = static_cast<ptrdiff_t>(ky) * w;
        for (int kx = -l; kx <= l; kx += s) {
            if (interior) {
                f(row + kx, ws[kx], 0, n);
                any = true;
                continue;
            }
            const int lo = MP_imax(0, -(x0 + kx));
            const int hi = MP_imin(n, w - x0 - kx);
            if (lo >= hi)
                continue;
            f(row + kx, ws[kx], lo, hi);
            for (int i = lo; i < hi; ++i)
                covered[i] = 1;
        }
    }
    if (interior)
        return any;
    for (int i = 0; i < n; ++i)
        if (!covered[i])
            return false;
    return true;
}

// The bilateral colour sums of a run of pixels: for every window sample n
// (its luminance Ln by the 14-bit weights, d = |L0 - Ln| with L0 the centre's
// luminance index) w = spatial weight * MP_temp3_table[d], the divisor table
// 1 / (d k + eps) of the run; W += w, SR/SG/SB += w * the sample's 16-bit
// channels and, with Edge, E += w * MP_temp_table[d].
struct ColourSums {
    int L0[kChunk];
    float W[kChunk], SR[kChunk], SG[kChunk], SB[kChunk], E[kChunk];
};

// The colour sums below without the edge sum in vector code (sixteen lanes on
// AVX-512, g_filterSumLanes 16; windowsums.cpp): true when it filled W, SR,
// SG, SB (c.L0 given); false when it does not apply or a pixel of the run has
// no sample.
bool MP_colourSumsVector(const Window& win, const ushort* src, const ushort* plane, const LumWeights& lw, float eps,
                         int y, int x0, int n, ColourSums& c);

// With a plane (the luminance plane of the source, same weights) the samples'
// luminance is read from it instead.
template <bool Edge, bool CentreFallback = true>
inline void MP_gatherColourSums(const Window& win, const MP_DriverRun& run, const LumWeights& lw, float eps, int y,
                                int x0, int n, ColourSums& c, const ushort* plane = nullptr)
{
    const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
    const ushort* src = run.src;
    for (int i = 0; i < n; ++i) {
        c.L0[i] = lumIndex(run.params, MP_loadRGB48(src + (base + i) * 3));
        c.W[i] = c.SR[i] = c.SG[i] = c.SB[i] = c.E[i] = 0.0f;
    }
    if constexpr (!Edge) {
        if (MP_chunkWalkable(win, x0, n) && MP_colourSumsVector(win, src, plane, lw, eps, y, x0, n, c))
            return;
        for (int i = 0; i < n; ++i)
            c.W[i] = c.SR[i] = c.SG[i] = c.SB[i] = 0.0f;
    }
    if (MP_chunkWalkable(win, x0, n)) {
        // The divisor computed as the table holds it (the same bits).
        const bool walked = MP_forEachWindowOffset(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
            const ushort* q = src + (static_cast<ptrdiff_t>(base) + off) * 3;
            const ushort* ql = plane ? plane + static_cast<ptrdiff_t>(base) + off : nullptr;
            for (int i = lo; i < hi; ++i) {
                const ushort* px = q + 3 * i;
                const int d0 = c.L0[i] - static_cast<int>(ql ? ql[i] : lw.of(px));
                const int d = d0 < 0 ? -d0 : d0;
                const float w = ws * divisor(d, eps);
                c.W[i] += w;
                c.SR[i] += w * static_cast<float>(px[0]);
                c.SG[i] += w * static_cast<float>(px[1]);
                c.SB[i] += w * static_cast<float>(px[2]);
                if constexpr (Edge)
                    c.E[i] += w * MP_temp_table[d];
            }
        });
        if (walked)
            return;
    }
    for (int i = 0; i < n; ++i) {
        const int L0 = c.L0[i];
        float W = 0.0f, SR = 0.0f, SG = 0.0f, SB = 0.0f, E = 0.0f;
        MP_forEachWindowSample<CentreFallback>(win, x0 + i, y, [&](size_t j, float ws) {
            const ushort* px = src + j * 3;
            const int d0 = L0 - static_cast<int>(plane ? plane[j] : lw.of(px));
            const int d = d0 < 0 ? -d0 : d0;
            const float w = ws * MP_temp3_table[d];
            W += w;
            SR += w * static_cast<float>(px[0]);
            SG += w * static_cast<float>(px[1]);
            SB += w * static_cast<float>(px[2]);
            if constexpr (Edge)
                E += w * MP_temp_table[d];
        });
        c.W[i] = W;
        c.SR[i] = SR;
        c.SG[i] = SG;
        c.SB[i] = SB;
        c.E[i] = E;
    }
}

// How the window sums of a run (MP_gatherPlaneSums, MP_gatherColourSums) are
// taken: 16 the sixteen-lane code on AVX-512
// processors (windowsums.cpp), 0 the compiler's loop with the division (the
// code the vector sums replaced, which other processors run; tests and
// benchmarks compare them).
extern int g_filterSumLanes;

// The plane sums below in vector code (windowsums.cpp): true when it filled
// W and S; false when it does not apply or a pixel of the run has no sample
// (W and S are then undefined).
bool MP_planeSumsVector(const Window& win, const ushort* plane, float eps, int y, int x0, int n, const int* I,
                        float* W, float* S);

// The bilateral plane sums of a run of pixels: for every window sample of
// plane luminance L, w = spatial weight * MP_temp3_table[|I - L|] (the divisor
// table 1 / (d k + eps) of the run), W += w, S += w * L; I[i] the centre
// index of pixel x0 + i.
inline void MP_gatherPlaneSums(const Window& win, const ushort* plane, float eps, int y, int x0, int n, const int* I,
                               float* W, float* S)
{
    const size_t base = static_cast<size_t>(y) * static_cast<size_t>(win.width) + static_cast<size_t>(x0);
    if (MP_chunkWalkable(win, x0, n) && MP_planeSumsVector(win, plane, eps, y, x0, n, I, W, S))
        return;
    for (int i = 0; i < n; ++i)
        W[i] = S[i] = 0.0f;
    if (MP_chunkWalkable(win, x0, n)) {
        const bool walked = MP_forEachWindowOffset(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
            const ushort* q = plane + static_cast<ptrdiff_t>(base) + off;
            for (int i = lo; i < hi; ++i) {
                const int L = q[i];
                const int d = I[i] - L;
                const float w = ws * divisor(d < 0 ? -d : d, eps);
                W[i] += w;
                S[i] += w * static_cast<float>(L);
            }
        });
        if (walked)
            return;
    }
    for (int i = 0; i < n; ++i) {
        const int Ii = I[i];
        float w0 = 0.0f, s0 = 0.0f;
        MP_forEachWindowSample(win, x0 + i, y, [&](size_t j, float ws) {
            const int L = plane[j];
            const int d = Ii - L;
            const float w = ws * MP_temp3_table[d < 0 ? -d : d];
            w0 += w;
            s0 += w * static_cast<float>(L);
        });
        W[i] = w0;
        S[i] = s0;
    }
}

// The luminance plane (Pre2): plane[i] = (wr R + wg G + wb B) >> 14 with the
// weights LumWeights::of(params), split in N row bands; waits.
void MP_runFilterPlanePass(const ushort* src, ushort* plane, int width, int height, const MP_Params* params);

// Rows [start, end) of a worker whose Args gathers its window sums a run of
// pixels at a time: for each run, a.gather(y, x0, n, cache) fills the sums of
// pixels x0 .. x0+n-1 (n <= kChunk), then a.effect(c0, x, y, cache, i) gives
// pixel i's colour; full or reduced as below. An Args with
//   bool storeRun(int y, int x0, int n, const Cache&, ushort* out) const
// may write a run's reduced output at once (true), as effect() and
// MP_storeRGB48Clamped would.
template <bool Full, class Args>
inline void MP_filterChunkRows(const Args& a, int start, int end)
{
    const MP_DriverRun& run = a.run;
    const bool geometry = run.params->geometry_needed != 0;
    typename Args::Cache cache;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        for (int x0 = 0; x0 < run.width; x0 += kChunk) {
            const int n = MP_imin(kChunk, run.width - x0);
            a.gather(y, x0, n, cache);
            if constexpr (!Full && requires { a.storeRun(y, x0, n, cache, a.out); }) {
                if (a.storeRun(y, x0, n, cache, a.out))
                    continue;
            }
            for (int i = 0; i < n; ++i) {
                const int x = x0 + i;
                const MP_float3 c0 = MP_loadRGB48(run.src + row + 3 * static_cast<size_t>(x));
                ushort* d = a.out + row + 3 * static_cast<size_t>(x);
                if constexpr (Full)
                    MP_fullWorkerPixel(run, geometry, x, y, c0, d, [&] { return a.effect(c0, x, y, cache, i); });
                else
                    MP_storeRGB48Clamped(d, a.effect(c0, x, y, cache, i));
            }
        }
    }
}

// Rows [start, end) of a worker: full (geometry opacity, effect, blend with
// opacity, geometry blend) or reduced (effect stored clamped to 0..1).
template <bool Full, class Effect>
inline void MP_filterRows(const MP_DriverRun& run, ushort* out, int start, int end, Effect&& effect)
{
    const bool geometry = run.params->geometry_needed != 0;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        const ushort* s = run.src + row;
        ushort* d = out + row;
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            const MP_float3 c0 = MP_loadRGB48(s);
            if constexpr (Full)
                MP_fullWorkerPixel(run, geometry, x, y, c0, d, [&] { return effect(c0, x, y); });
            else
                MP_storeRGB48Clamped(d, effect(c0, x, y));
        }
    }
}

// Rows [start, end) of a worker that works on the raw 16-bit samples: calls
// f(x, y, i, s, d) for every pixel, i its index (y * width + x), s its source
// and d its destination samples (run.src, run.dst).
template <class F> inline void MP_forEachRawPixel(const MP_DriverRun& run, int start, int end, F&& f)
{
    const size_t w = static_cast<size_t>(run.width);
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        const ushort* s = run.src + row * 3;
        ushort* d = run.dst + row * 3;
        for (size_t x = 0; x < w; ++x, s += 3, d += 3)
            f(static_cast<int>(x), y, row + x, s, d);
    }
}

// The worker task of an argument block with effect() and out.
#if defined(__x86_64__) || defined(__i386__)
#define MP_FILTERS_X86 1
// The same rows with everything they call compiled for AVX2 (eight lanes):
// the same operations in the same order, so the same bits.
template <bool Full, class Args>
__attribute__((target("avx2"), flatten)) void MP_filterChunkRowsAvx2(const Args& a, int start, int end)
{
    MP_filterChunkRows<Full>(a, start, end);
}
template <bool Full, class Args>
__attribute__((target("avx2"), flatten)) void MP_filterRowsAvx2(const Args& a, int start, int end)
{
    MP_filterRows<Full>(a.run, a.out, start, end, [&a](MP_float3 c0, int x, int y) { return a.effect(c0, x, y); });
}
#endif

// True when the processor has AVX2 and tests have not asked for the
// portable code (g_filterPortable).
extern bool g_filterPortable;
bool MP_filterHasAvx2();

template <class Args, bool Full> void MP_filterTask(TaskFuncParams t)
{
    const Args* a = MP_taskArgs<Args>(t);
    if constexpr (requires { typename Args::Cache; }) {
#ifdef MP_FILTERS_X86
        if (MP_filterHasAvx2()) {
            MP_filterChunkRowsAvx2<Full>(*a, MP_taskStart(t), MP_taskEnd(t));
            return;
        }
#endif
        MP_filterChunkRows<Full>(*a, MP_taskStart(t), MP_taskEnd(t));
    } else {
#ifdef MP_FILTERS_X86
        if (MP_filterHasAvx2()) {
            MP_filterRowsAvx2<Full>(*a, MP_taskStart(t), MP_taskEnd(t));
            return;
        }
#endif
        MP_filterRows<Full>(a->run, a->out, MP_taskStart(t), MP_taskEnd(t),
                            [a](MP_float3 c0, int x, int y) { return a->effect(c0, x, y); });
    }
}

// The table task of an argument block with fillTables(start, end).
template <class Args> void MP_filterTableTask(TaskFuncParams t)
{
    MP_taskArgs<Args>(t)->fillTables(MP_taskStart(t), MP_taskEnd(t));
}

// Main pass of an argument block with its full and reduced workers.
template <class Args> int MP_runFilterBands(const Args& a, int progressPeriod = 1)
{
    return MP_runDriverBands(a.run, &a, MP_filterTask<Args, true>, MP_filterTask<Args, false>, progressPeriod);
}

// Copies the output image to the destination (bytes = pixels * 6); a
// cancelled run keeps the destination as it was.
void MP_copyFilterOutput(ushort* dst, const ushort* out, size_t pixels);

// True while the engine's cancel request is raised.
bool MP_filterCancelled();

// How a window filter runs in the frame (steps 2 to 6 above).
struct FilterPlan {
    const char* kernel;    // its name (the dispatcher's row table)
    MP_WindowSize size;
    int geoSlot, comboSlot;
    bool plane;            // the scratch buffer holds the luminance plane and the
                           // workers write the destination; otherwise it is the
                           // output scratch, copied to the destination at the end
    bool weights = true;   // the spatial weights prepass
    bool panorama = true;  // the window follows the panorama switch
};

// Runs a window filter: scratch (-1 when it cannot be had), MP_beginDriver,
// the window, Pre2 (plane), Pre3 (weights), Pre1 (a.fillTables), the main
// pass with progress after every chunk, the copy. Scalars the tables read are
// set in `a` before. Returns 0, -1 or -2.
template <class Args>
int MP_runWindowFilter(Args& a, const FilterPlan& plan, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp,
                       int dstBpp, MP_Params* params)
{
    ushort* scratch = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, plan.plane ? 2 : 6, plan.geoSlot,
                               plan.comboSlot, &scratch))
        return MP_beginFilterResult(e);
    const size_t pixels = pixelCount(sizex, sizey);
    MP_prepareFilterWindow(a.win, plan.kernel, params, plan.size, sizex, sizey,
                           plan.panorama && MP_UI_GetPanoramaMode() != 0);
    a.out = plan.plane ? dst : scratch;
    if constexpr (requires { a.plane; }) {
        if (plan.plane) {
            MP_runFilterPlanePass(src, scratch, sizex, sizey, params);
            a.plane = scratch;
        }
    }
    if (plan.weights)
        MP_runWindowWeightsPass(a.win.R, plan.size.scale, params);
    MP_runTablePass(MP_filterTableTask<Args>, MP_makeTask(params, &a));
    MP_runFilterBands(a);
    if (!plan.plane)
        MP_copyFilterOutput(dst, scratch, pixels);
    return 0;
}

} // namespace mp_filters
