// "Pinselzeichnung" (Painting) and "Barock Gemälde" (Oelbild): the picture
// painted as patches of flat colour, each a region grown from a seed over
// similar pixels and filled with the region's mean source colour.
//
// Seeds are taken ring by ring around the centre (Chebyshev distance j),
// each ring row by row from the top, left to right; every pixel still
// unlabelled when reached starts the next region. The growing runs on the
// calling thread with an explicit stack (depth from a file may be any
// number) that visits pixels in the order of the recursive rule:
//   Painting: accept, then up, left, right, and on downward in the same step;
//   Oelbild: accept, then the free neighbours by ascending luminance.
// The fill is a band pass writing dst. "Barock Gemälde" then relights the
// painted picture in place with "Wachsbild".

#include "engine/effects/painting.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"
#include "engine/effects/relief.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

// Working buffers of one run: labels in the scratch buffer, sums and counts
// per region (one region at most per pixel).
struct Regions {
    int w = 0, h = 0;
    int32_t* label = nullptr;
    std::unique_ptr<float[]> sums;      // 3 per region
    std::unique_ptr<int32_t[]> counts;
    bool alloc(int width, int height)
    {
        w = width;
        h = height;
        const size_t n = std::max<size_t>(1, static_cast<size_t>(width) * static_cast<size_t>(height));
        sums.reset(new (std::nothrow) float[3 * n]);
        counts.reset(new (std::nothrow) int32_t[n]);
        return sums && counts;
    }
    int32_t& at(int x, int y) { return label[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; }
};

// Calls seed(x, y) for every pixel in the seed order, and ringDone(j) after
// ring j.
template <class Seed, class Ring> void forEachSeed(int w, int h, Seed&& seed, Ring&& ringDone)
{
    const int cx = w >> 1, cy = h >> 1;
    const int rings = MP_imax(w, h) >> 1;
    for (int j = 0; j <= rings; ++j) {
        const int y0 = MP_imax(0, cy - j), y1 = MP_imin(h - 1, cy + j);
        const int x0 = MP_imax(0, cx - j), x1 = MP_imin(w - 1, cx + j);
        for (int y = y0; y <= y1; ++y) {
            if (std::abs(y - cy) == j) {
                for (int x = x0; x <= x1; ++x)
                    seed(x, y);
            } else {
                if (cx - j >= 0)
                    seed(cx - j, y);
                if (j > 0 && cx + j < w)
                    seed(cx + j, y);
            }
        }
        ringDone(j);
    }
}

void ringProgress(int j, int w, int h, float scale)
{
    if (j % 511 == 0 && _category >= 0)
        C_AddMessage(_category, static_cast<float>(j) / static_cast<float>((MP_imax(w, h) >> 1) + 1) * _progressdelta *
                                        scale +
                                    _progressstart);
}

// Region means from the source, pixels in row order.
void accumulate(Regions& r, const ushort* src)
{
    const size_t n = static_cast<size_t>(r.w) * static_cast<size_t>(r.h);
    std::fill_n(r.sums.get(), 3 * n, 0.0f);
    std::fill_n(r.counts.get(), n, 0);
    for (size_t i = 0; i < n; ++i) {
        const size_t k = static_cast<size_t>(r.label[i]);
        r.sums[3 * k] += static_cast<float>(src[3 * i]) * MP_k;
        r.sums[3 * k + 1] += static_cast<float>(src[3 * i + 1]) * MP_k;
        r.sums[3 * k + 2] += static_cast<float>(src[3 * i + 2]) * MP_k;
        ++r.counts[k];
    }
}

struct FillArgs {
    MP_DriverRun run;
    const Regions* regions;
};

inline MP_float3 regionMean(const Regions& r, int x, int y)
{
    const size_t k = static_cast<size_t>(r.label[static_cast<size_t>(y) * static_cast<size_t>(r.w) + static_cast<size_t>(x)]);
    const float inv = 1.0f / static_cast<float>(r.counts[k]);
    return {r.sums[3 * k] * inv, r.sums[3 * k + 1] * inv, r.sums[3 * k + 2] * inv};
}

void MP_Task_calcPixelPainting(TaskFuncParams t)
{
    MP_effectFullTask<FillArgs>(t, [](const FillArgs& a, MP_float3, int x, int y) { return regionMean(*a.regions, x, y); });
}

void MP_Task_calcPixelPaintingReduced(TaskFuncParams t)
{
    MP_effectReducedTask<FillArgs>(t,
                                   [](const FillArgs& a, MP_float3, int x, int y) { return regionMean(*a.regions, x, y); });
}

// ---- "Pinselzeichnung" growing ---------------------------------------------------------

struct PaintGrow {
    Regions* r = nullptr;
    const ushort* src = nullptr;
    int limit = 1;
    bool panorama = false;
    int R0 = 0, G0 = 0, B0 = 0, region = 0;

    struct Frame {
        int x, y, n;
        float tol;
        int stage;
    };
    std::vector<Frame> stack;

    bool accepts(int x, int y, float tol) const
    {
        const ushort* p = src + (static_cast<size_t>(y) * static_cast<size_t>(r->w) + static_cast<size_t>(x)) * 3;
        const int t = MP_safeTrunc(tol, 0, 65535);
        return std::abs(R0 - p[0]) <= t && std::abs(G0 - p[1]) <= t && std::abs(B0 - p[2]) <= t;
    }
    int wrapX(int x) const { return x < 0 ? x + r->w : (x >= r->w ? x - r->w : x); }

    // A step to (x, y) with path length n: the entry tests (limit, label)
    // are made here, before a frame is pushed; they read nothing a frame
    // pushed later could change first.
    void enter(int x, int y, int n, float tol)
    {
        if (panorama)
            x = wrapX(x);
        if (n >= limit || r->at(x, y) != -1)
            return;
        stack.push_back({x, y, n, tol, 0});
    }

    void grow(int sx, int sy, float tol0)
    {
        const int w = r->w, h = r->h;
        stack.clear();
        enter(sx, sy, 0, tol0);
        while (!stack.empty()) {
            Frame& f = stack.back();
            switch (f.stage) {
            case 0: { // accept and label, then up
                if (!accepts(f.x, f.y, f.tol)) {
                    stack.pop_back();
                    continue;
                }
                r->at(f.x, f.y) = region;
                f.tol = 0.998f * f.tol;
                f.n = f.n + 1;
                f.stage = 1;
                const Frame c = f;
                if (c.y > 0)
                    enter(c.x, c.y - 1, c.n, c.tol);
                continue;
            }
            case 1: { // left
                f.stage = 2;
                const Frame c = f;
                if (panorama || c.x > 0)
                    enter(c.x - 1, c.y, c.n, c.tol);
                continue;
            }
            case 2: { // right
                f.stage = 3;
                const Frame c = f;
                if (panorama || c.x + 1 < w)
                    enter(c.x + 1, c.y, c.n, c.tol);
                continue;
            }
            default: // on downward in the same step
                f.y = f.y + 1;
                if (f.y >= h || f.n >= limit || r->at(f.x, f.y) != -1) {
                    stack.pop_back();
                    continue;
                }
                f.stage = 0;
                continue;
            }
        }
    }
};

// ---- "Barock Gemälde" growing ------------------------------------------------------------

struct OelGrow {
    Regions* r = nullptr;
    const uint16_t* lum = nullptr;
    int sharpness = 0, maxiter = 1;
    bool panorama = false;
    int region = 0;

    struct Next {
        int x, y, l;
    };
    struct Frame {
        int x = 0, y = 0, depth = 0;
        int c = 0; // the pixel's luminance
        Next next[8];
        int count = 0, i = 0;
    };
    std::vector<Frame> stack;

    int L(int x, int y) const { return lum[static_cast<size_t>(y) * static_cast<size_t>(r->w) + static_cast<size_t>(x)]; }

    // A step to (x, y) from a pixel of luminance ref: the tests of the
    // recursive rule (inside, depth, label, tolerance) are made here, and a
    // frame is pushed (and its pixel labelled) only when they pass.
    void enter(int x, int y, int depth, int ref)
    {
        const int w = r->w, h = r->h;
        if (panorama && (x < 0 || x >= w))
            x = x < 0 ? x + w : x - w;
        if (x < 0 || x >= w || y < 0 || y >= h || depth >= maxiter || r->at(x, y) != -1)
            return;
        const int c = L(x, y);
        if (std::abs(ref - c) > sharpness - depth)
            return;
        r->at(x, y) = region;
        Frame& f = stack.emplace_back();
        f.x = x;
        f.y = y;
        f.depth = depth;
        f.c = c;
        // The free neighbours, upper left to lower right, then by ascending
        // luminance; equal luminances keep that order.
        static const int kDx[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
        static const int kDy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
        for (int k = 0; k < 8; ++k) {
            int nx = x + kDx[k];
            const int ny = y + kDy[k];
            if (ny < 0 || ny >= h)
                continue;
            if (panorama)
                nx = nx < 0 ? nx + w : (nx >= w ? nx - w : nx);
            else if (nx < 0 || nx >= w)
                continue;
            if (r->at(nx, ny) != -1)
                continue;
            const Next n{nx, ny, L(nx, ny)};
            int i = f.count++;
            for (; i > 0 && f.next[i - 1].l > n.l; --i)
                f.next[i] = f.next[i - 1];
            f.next[i] = n;
        }
    }

    void grow(int sx, int sy)
    {
        stack.clear();
        enter(sx, sy, 0, L(sx, sy));
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.i >= f.count) {
                stack.pop_back();
                continue;
            }
            const Next n = f.next[f.i++];
            const int depth = f.depth + 1, ref = f.c;
            enter(n.x, n.y, depth, ref);
        }
    }
};

// The fill pass: full or reduced, no progress.
int fill(Regions& regions, MP_DriverRun& run)
{
    FillArgs a{run, &regions};
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelPainting, MP_Task_calcPixelPaintingReduced, 0);
}

// Growth limit (int)(powf(v, 1.2) 1000 s^2 + 1), at least 1.
int growthLimit(float v, float s)
{
    return MP_safeTrunc(std::pow(v, 1.2f) * 1000.0f * (s * s) + 1.0f, 1, INT32_MAX);
}

} // namespace

int MP_calcPixelPainting(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    // Limit and tolerance at least 1 and 0, so that every seed joins its own region.
    const int limit = growthLimit(params->p[0][0], params->previewscalingfactor);
    float tol0 = 0.6f * params->p[1][0] * 65535.0f;
    if (!(tol0 >= 0.0f))
        tol0 = 0.0f;
    Regions regions;
    regions.label = static_cast<int32_t*>(MP_UpdateBuffer(MP_effectScratchBytes(sizex, sizey, 4)));
    if (!regions.label || !regions.alloc(sizex, sizey))
        return -1;
    MP_DriverRun run;
    if (int r = MP_beginDriver(run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    std::fill_n(regions.label, pixels, -1);
    PaintGrow grow;
    grow.r = &regions;
    grow.src = src;
    grow.limit = limit;
    grow.panorama = MP_UI_GetPanoramaMode() != 0;
    forEachSeed(
        sizex, sizey,
        [&](int x, int y) {
            if (regions.at(x, y) != -1)
                return;
            const ushort* p = src + (static_cast<size_t>(y) * static_cast<size_t>(sizex) + static_cast<size_t>(x)) * 3;
            grow.R0 = p[0];
            grow.G0 = p[1];
            grow.B0 = p[2];
            grow.grow(x, y, tol0);
            ++grow.region;
        },
        [&](int j) { ringProgress(j, sizex, sizey, 1.0f); });
    accumulate(regions, src);
    return fill(regions, run);
}

int MP_calcPixelOelbild(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    const int maxiter = growthLimit(params->p[1][0], params->previewscalingfactor);
    const int sharpness = MP_safeTrunc(0.04f * params->p[2][0] * 3.0f * 65535.0f, 0, INT32_MAX);
    Regions regions;
    regions.label = static_cast<int32_t*>(MP_UpdateBuffer(MP_effectScratchBytes(sizex, sizey, 4)));
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    std::unique_ptr<uint16_t[]> lum(new (std::nothrow) uint16_t[pixels > 0 ? pixels : 1]);
    if (!regions.label || !regions.alloc(sizex, sizey) || !lum)
        return -1;
    // The relief pass's block: the caller's, with its geometry slot as it
    // came (before the preparation normalises it).
    auto relief = std::make_unique<MP_Params>(*params);
    MP_DriverRun run;
    if (int r = MP_beginDriver(run, sizex, sizey, src, dst, params, 5, 4))
        return r;
    for (size_t i = 0; i < pixels; ++i) {
        const ushort* p = src + 3 * i;
        lum[i] = static_cast<uint16_t>((p[0] + 2 * p[1] + p[2]) >> 2);
    }
    std::fill_n(regions.label, pixels, -1);
    OelGrow grow;
    grow.r = &regions;
    grow.lum = lum.get();
    grow.sharpness = sharpness;
    grow.maxiter = maxiter;
    grow.panorama = MP_UI_GetPanoramaMode() != 0;
    forEachSeed(
        sizex, sizey,
        [&](int x, int y) {
            if (regions.at(x, y) != -1)
                return;
            grow.grow(x, y);
            ++grow.region;
        },
        [&](int j) { ringProgress(j, sizex, sizey, 0.5f); });
    accumulate(regions, src);
    fill(regions, run);
    lum.reset();
    regions.sums.reset();
    regions.counts.reset();
    C_AddMessage(_category, 0.75f * _progressdelta + _progressstart);

    MP_Params& b = *relief;
    b.p[1][0] = 0.5f;
    b.p[2][0] = 0.35f + 0.3f * params->p[3][0];
    b.p[2][1] = 0.35f + 0.3f * params->p[3][1];
    b.p[3][0] = static_cast<float>(MP_safeTrunc(params->p[4][0], INT32_MIN + 1, INT32_MAX));
    b.p[3][1] = params->p[4][1] * 0.01f * 100.0f;
    std::copy_n(relief->p[5], MP_MAX_PARAMETERSETS, b.p[4]);
    MP_calcPixelWaxPaint(sizex, sizey, dst, dst, srcBpp, dstBpp, &b);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelPainting", MP_calcPixelPainting},
    {"MP_calcPixelOelbild", MP_calcPixelOelbild},
};
} // namespace
extern const MP_DriverTable MP_drivers_painting = MP_driverTable(kDrivers);
