#include "engine/filters/bokeh.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/rotation.h"
#include "engine/core/samplers.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/filters/filterframe.h"
#include "engine/views/zoom.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

using namespace mp_filters;

namespace {

constexpr int kFirstAperture = 68;
constexpr int kApertures = 31; // ids 68..99

bool byteTables(int tw, int th) { return tw <= 255 && th <= tw; }

} // namespace

size_t MP_bokehMaskBytes(int tw, int th)
{
    if (tw < 1 || th < 1)
        return 0;
    const size_t shape = static_cast<size_t>(tw) * static_cast<size_t>(th);
    if (byteTables(tw, th))
        return shape + 2 * static_cast<size_t>(tw);
    return shape + 2 * static_cast<size_t>(th) * sizeof(int32_t);
}

int MP_bokehRowStart(const unsigned char* mask, int tw, int th, int row)
{
    const size_t shape = static_cast<size_t>(tw) * static_cast<size_t>(th);
    if (byteTables(tw, th))
        return mask[shape + static_cast<size_t>(row)];
    int32_t v;
    std::memcpy(&v, mask + shape + static_cast<size_t>(row) * sizeof(int32_t), sizeof v);
    return v;
}

int MP_bokehRowEnd(const unsigned char* mask, int tw, int th, int row)
{
    const size_t shape = static_cast<size_t>(tw) * static_cast<size_t>(th);
    if (byteTables(tw, th))
        return mask[shape + static_cast<size_t>(tw) + static_cast<size_t>(row)];
    int32_t v;
    std::memcpy(&v, mask + shape + (static_cast<size_t>(th) + static_cast<size_t>(row)) * sizeof(int32_t), sizeof v);
    return v;
}

void MP_prepare_calcPixelBokehBlur(const ushort* turned, unsigned char* mask, int tw, int th)
{
    if (tw < 1 || th < 1 || !turned || !mask)
        return;
    const size_t shape = static_cast<size_t>(tw) * static_cast<size_t>(th);
    // Entry (x, y) is texel (tw - 1 - x, th - 1 - y): the picture turned by 180 degrees.
    for (size_t i = 0; i < shape; ++i)
        mask[shape - 1 - i] = static_cast<unsigned char>(turned[i * 3 + 1] >> 8);
    const bool bytes = byteTables(tw, th);
    for (int r = 0; r < th; ++r) {
        const unsigned char* row = mask + static_cast<size_t>(r) * static_cast<size_t>(tw);
        int first = tw, last = 0;
        for (int x = 0; x < tw; ++x)
            if (row[x] >= 9) {
                first = x;
                break;
            }
        for (int x = tw - 1; x >= 0; --x)
            if (row[x] >= 9) {
                last = x;
                break;
            }
        if (bytes) {
            mask[shape + static_cast<size_t>(r)] = static_cast<unsigned char>(first);
            mask[shape + static_cast<size_t>(tw) + static_cast<size_t>(r)] = static_cast<unsigned char>(last);
        } else {
            const int32_t f = first, l = last;
            std::memcpy(mask + shape + static_cast<size_t>(r) * sizeof(int32_t), &f, sizeof f);
            std::memcpy(mask + shape + (static_cast<size_t>(th) + static_cast<size_t>(r)) * sizeof(int32_t), &l,
                        sizeof l);
        }
    }
}

namespace {

struct BokehArgs {
    MP_Params* params = nullptr;
    int width = 0, height = 0; // full size
    int ws = 0, hs = 0;        // working size
    const ushort* src = nullptr;
    ushort* dst = nullptr;
    const ushort* working = nullptr;
    ushort* blurred = nullptr;
    float* records = nullptr; // planes of ws * hs floats: R, G, B (raw), brightness weight
    const unsigned char* mask = nullptr;
    int tw = 0, th = 0;
    int maxSize = 0;      // the largest bokeh size whose texel step stays above 1
    float exponent = 0.0f; // 2 x "Leuchten"
    float z = 0.0f;       // size scale
    float sigma = 0.0f;
    int mode = 0;
    float opacity = 1.0f;
    LumWeights lw;
};

void powerTask(TaskFuncParams t)
{
    const BokehArgs* a = MP_taskArgs<BokehArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = powf(static_cast<float>(i) * MP_k, a->exponent);
}

void recordTask(TaskFuncParams t)
{
    const BokehArgs* a = MP_taskArgs<BokehArgs>(t);
    const size_t w = static_cast<size_t>(a->ws);
    const size_t n = w * static_cast<size_t>(a->hs);
    float* R = a->records;
    float* G = R + n;
    float* B = G + n;
    float* A = B + n;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        const ushort* s = a->working + row * 3;
        for (size_t x = 0; x < w; ++x, s += 3) {
            R[row + x] = static_cast<float>(s[0]);
            G[row + x] = static_cast<float>(s[1]);
            B[row + x] = static_cast<float>(s[2]);
            A[row + x] = MP_temp_table[a->lw.of(s)];
        }
    }
}

inline int taskLane(const TaskFuncParams& t) { return static_cast<int32_t>(static_cast<uint32_t>(t.w[2])); }
inline int taskLanes(const TaskFuncParams& t)
{
    const int n = static_cast<int32_t>(static_cast<uint32_t>(t.w[2] >> 32));
    return n < 1 ? 1 : n;
}

// Walks the aperture of working pixel (x, y) at bokeh size S (> 1): for
// every square row whose mask row has opaque texels, f(mask row, records of
// the square row's first column (R, G, B, A planes), k1, k2, pos, d16): the
// columns k1 .. k2-1 of the square, the texel position of k1 in 16.16 fixed
// point and its step per column.
struct ApertureRecords {
    const float *R, *G, *B, *A;
};
template <class F> void forEachApertureSpan(const BokehArgs& a, int x, int y, int S, F&& f)
{
    const float sx = static_cast<float>(a.tw) * (1.0f / static_cast<float>(S));
    const int half = S / 2;
    const int x0 = x - half, y0 = y - half;
    const int kmin = MP_imax(0, -x0), kmax = MP_imin(S, a.ws - x0);
    const int jmin = MP_imax(0, -y0), jmax = MP_imin(S, a.hs - y0);
    const int d16 = static_cast<int>(sx * 65536.0f);
    const int64_t i15 = static_cast<int64_t>(2147483648.0f / static_cast<float>(d16));
    const int t0 = static_cast<int>(static_cast<float>(kmin) * sx);
    const int tR = static_cast<int>(static_cast<float>(kmax) * sx);
    const float invS = 1.0f / static_cast<float>(S);
    const size_t plane = static_cast<size_t>(a.ws) * static_cast<size_t>(a.hs);
    for (int jj = jmin; jj < jmax; ++jj) {
        const int ty = MP_imin(a.th - 1, static_cast<int>(static_cast<float>(jj) * static_cast<float>(a.th) * invS));
        const int rs = MP_bokehRowStart(a.mask, a.tw, a.th, ty);
        if (rs >= a.tw)
            continue;
        const int re = MP_bokehRowEnd(a.mask, a.tw, a.th, ty);
        int k1 = kmin;
        int64_t pos = static_cast<int64_t>(t0) << 16;
        if (t0 < rs) {
            k1 = static_cast<int>((static_cast<int64_t>(rs - t0) * i15) >> 15) + kmin;
            pos = static_cast<int64_t>(static_cast<int>(static_cast<float>(k1) * sx)) << 16;
        }
        int k2 = kmax;
        if (re < tR)
            k2 = kmax - static_cast<int>((static_cast<int64_t>(tR - re) * i15) >> 15);
        const unsigned char* row = a.mask + static_cast<size_t>(ty) * static_cast<size_t>(a.tw);
        const float* R = a.records + static_cast<size_t>(y0 + jj) * static_cast<size_t>(a.ws) + static_cast<size_t>(x0);
        f(row, ApertureRecords{R, R + plane, R + 2 * plane, R + 3 * plane}, k1, k2, pos, d16);
    }
}

// The mask byte at texel position pos (16.16).
inline float apertureByte(const BokehArgs& a, const unsigned char* row, int64_t pos)
{
    const int64_t col = pos >> 16;
    return static_cast<float>(row[col < a.tw ? col : a.tw - 1]);
}

// The aperture gather of working pixel (x, y) with colour c.
MP_float3 gatherPixel(const BokehArgs& a, bool geometry, int x, int y, MP_float3 c)
{
    float m = 1.0f;
    if (geometry)
        m = MP_calcGeometryMethodOpacity(x, y, a.ws, a.hs, 7, a.params);
    const int S = MP_safeTrunc(static_cast<float>(a.tw) * m * m * a.z, 0, a.maxSize) & ~1;
    if (S <= 1)
        return c;
    float W = 0.0f, SR = 0.0f, SG = 0.0f, SB = 0.0f;
    forEachApertureSpan(a, x, y, S,
                        [&](const unsigned char* row, ApertureRecords r, int k1, int k2, int64_t pos, int d16) {
                            for (int k = k1; k < k2; ++k, pos += d16) {
                                const float wt = apertureByte(a, row, pos) * r.A[k];
                                SR += wt * r.R[k];
                                SG += wt * r.G[k];
                                SB += wt * r.B[k];
                                W += wt;
                            }
                        });
    MP_float3 r = c;
    if (W > 0.0f) {
        const float f = MP_k / W;
        r = {SR * f, SG * f, SB * f};
    }
    if (m < 1.0f)
        r = MP_calcGeometryMethodBlend(c, r, m);
    return r;
}

// Pixels the gather handles side by side.
constexpr int kBokehRun = 8;

// The gather of the pixels x .. x + kBokehRun - 1 of row y without masks,
// whose apertures all lie inside the row: every pixel walks the same texel
// spans (those of pixel x), so the lanes share positions and each sums in
// the order of gatherPixel (the same bits).
void gatherRun(const BokehArgs& a, int x, int y, int S)
{
    constexpr int N = kBokehRun;
    typedef float v8 __attribute__((vector_size(32)));
    static_assert(N == 8);
    auto load = [](const float* p) {
        v8 v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    v8 W = {}, SR = {}, SG = {}, SB = {};
    forEachApertureSpan(a, x, y, S,
                        [&](const unsigned char* row, ApertureRecords r, int k1, int k2, int64_t pos, int d16) {
                            for (int k = k1; k < k2; ++k, pos += d16) {
                                const v8 wt = apertureByte(a, row, pos) * load(r.A + k);
                                SR += wt * load(r.R + k);
                                SG += wt * load(r.G + k);
                                SB += wt * load(r.B + k);
                                W += wt;
                            }
                        });
    for (int i = 0; i < N; ++i) {
        const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(a.ws) + static_cast<size_t>(x + i)) * 3;
        const MP_float3 c = MP_loadRGB48(a.working + at);
        MP_float3 r = c;
        if (W[i] > 0.0f) {
            const float f = MP_k / W[i];
            r = {SR[i] * f, SG[i] * f, SB[i] * f};
        }
        MP_storeRGB48Clamped(a.blurred + at, r);
    }
}

// The columns of a task: the lane-th of `lanes` equal blocks of the row.
inline void laneColumns(int width, int lane, int lanes, int* x0, int* x1)
{
    *x0 = static_cast<int>(static_cast<int64_t>(width) * lane / lanes);
    *x1 = static_cast<int>(static_cast<int64_t>(width) * (lane + 1) / lanes);
}

void gatherRows(const BokehArgs* a, int lane, int lanes, int start, int end)
{
    const bool geometry = a->params->geometry_needed != 0;
    int c0, c1;
    laneColumns(a->ws, lane, lanes, &c0, &c1);
    // Without masks every pixel has the same bokeh size.
    const int S = MP_safeTrunc(static_cast<float>(a->tw) * 1.0f * 1.0f * a->z, 0, a->maxSize) & ~1;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(a->ws);
        int x = c0;
        while (x < c1) {
            if (g_filterRunWalk && !geometry && S > 1 && x + kBokehRun <= c1 && x - S / 2 >= 0 &&
                x + kBokehRun - 1 - S / 2 + S <= a->ws) {
                gatherRun(*a, x, y, S);
                x += kBokehRun;
                continue;
            }
            const size_t i = (row + static_cast<size_t>(x)) * 3;
            MP_storeRGB48Clamped(a->blurred + i, gatherPixel(*a, geometry, x, y, MP_loadRGB48(a->working + i)));
            ++x;
        }
    }
}

#ifdef MP_FILTERS_X86
__attribute__((target("avx2"), flatten)) void gatherRowsAvx2(const BokehArgs* a, int lane, int lanes, int start,
                                                              int end)
{
    gatherRows(a, lane, lanes, start, end);
}
#endif

void gatherTask(TaskFuncParams t)
{
    const BokehArgs* a = MP_taskArgs<BokehArgs>(t);
#ifdef MP_FILTERS_X86
    if (MP_filterHasAvx2()) {
        gatherRowsAvx2(a, taskLane(t), taskLanes(t), MP_taskStart(t), MP_taskEnd(t));
        return;
    }
#endif
    gatherRows(a, taskLane(t), taskLanes(t), MP_taskStart(t), MP_taskEnd(t));
}

void blendTask(TaskFuncParams t)
{
    const BokehArgs* a = MP_taskArgs<BokehArgs>(t);
    const bool geometry = a->params->geometry_needed != 0;
    int x0, x1;
    laneColumns(a->width, taskLane(t), taskLanes(t), &x0, &x1);
    const float fx = static_cast<float>(a->ws) / static_cast<float>(a->width);
    const float sigma = a->sigma, keep = 1.0f - sigma;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(a->width);
        for (int x = x0; x < x1; ++x) {
            const size_t i = (row + static_cast<size_t>(x)) * 3;
            const MP_float3 c = MP_loadRGB48(a->src + i);
            float m = 1.0f, l = 0.0f;
            if (geometry) {
                m = MP_calcGeometryMethodOpacity(x, y, a->width, a->height, 7, a->params);
                if (!(m > 0.0f)) {
                    MP_storeRGB48(a->dst + i, c);
                    continue;
                }
                l = 1.0f - m;
            }
            const MP_float3 b =
                MP_tex2D16intBilinear(a->ws, a->hs, a->blurred, fx * static_cast<float>(x),
                                      static_cast<float>(y) * static_cast<float>(a->hs) / static_cast<float>(a->height));
            const float D = (b.x + b.y + b.z) * 0.3333f * sigma;
            const MP_float3 e{c.x * l + (b.x * keep + D) * m, c.y * l + (b.y * keep + D) * m,
                              c.z * l + (b.z * keep + D) * m};
            MP_float3 o = MP_calcLayerMethodOpacity(a->mode, c, e, a->opacity);
            if (m < 1.0f)
                o = MP_calcGeometryMethodBlend(c, o, m);
            MP_storeRGB48Clamped(a->dst + i, o);
        }
    }
}

// The column-split pass: max(1, h / (64 N)) chunks of rows, each handed
// whole to N tasks that take one of N column blocks; progress after each.
void runInterleaved(MP_TaskFunc fn, BokehArgs* a, int h)
{
    const int N = MP_imax(1, MP_idealThreadCount);
    const int n = MP_imax(1, static_cast<int>(static_cast<float>(h) / static_cast<float>(64 * N)));
    for (int c = 1; c <= n; ++c) {
        const int start = MP_imin(h, static_cast<int>(static_cast<float>(c - 1) / static_cast<float>(n) * h));
        const int end = c == n ? h : MP_imin(h, static_cast<int>(static_cast<float>(c) / static_cast<float>(n) * h));
        if (start < end) {
            for (int j = 0; j < N; ++j) {
                TaskFuncParams t = MP_makeTask(a->params, a,
                                               0, static_cast<uint64_t>(static_cast<uint32_t>(j)) |
                                                      (static_cast<uint64_t>(static_cast<uint32_t>(N)) << 32));
                MP_setTaskRange(t, start, end);
                C_AddTask(fn, t);
            }
            C_WaitTasks();
        }
        MP_postKernelProgress(end, h);
    }
}

} // namespace

void MP_TaskPre1_calcPixelBokehBlur(TaskFuncParams t) { powerTask(t); }
void MP_TaskPre2_calcPixelBokehBlur(TaskFuncParams t) { recordTask(t); }
void MP_Task_calcPixelBokehBlur(TaskFuncParams t) { gatherTask(t); }
void MP_TaskBlend_calcPixelBokehBlur(TaskFuncParams t) { blendTask(t); }

int MP_calcPixelBokehBlur(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    if (sizex == 0 || sizey == 0)
        return 0;
    const int id = kFirstAperture + MP_safeTrunc(static_cast<float>(kApertures) * params->p[0][0] + 0.05f, 0,
                                                 kApertures);
    const int tw = MP_UI_GetTextureSizeX(id), th = MP_UI_GetTextureSizeY(id);
    const ushort* texture = MP_UI_GetTexturePointer(id);
    if (!texture || tw < 1 || th < 1)
        return -1;
    const float g = MP_clamp(0.2f * finiteOr(params->p[5][0], 0.5f) + 0.3f, 0.01f, 1.0f);
    const int ws = MP_imax(1, static_cast<int>(g * static_cast<float>(sizex)));
    const int hs = MP_imax(1, static_cast<int>(g * static_cast<float>(sizey)));
    const size_t working = static_cast<size_t>(ws) * static_cast<size_t>(hs);

    std::unique_ptr<ushort[]> rotated(new (std::nothrow) ushort[static_cast<size_t>(tw) * static_cast<size_t>(th) * 3]);
    std::unique_ptr<unsigned char[]> mask(new (std::nothrow) unsigned char[MP_bokehMaskBytes(tw, th)]);
    std::unique_ptr<ushort[]> small(new (std::nothrow) ushort[working * 3]);
    std::unique_ptr<ushort[]> blurred(new (std::nothrow) ushort[working * 3]);
    float* records = working > SIZE_MAX / 16 ? nullptr : static_cast<float*>(MP_UpdateBuffer(working * 16));
    if (!rotated || !mask || !small || !blurred || !records)
        return -1;

    BokehArgs a;
    a.params = params;
    a.width = sizex;
    a.height = sizey;
    a.ws = ws;
    a.hs = hs;
    a.src = src;
    a.dst = dst;
    a.working = small.get();
    a.blurred = blurred.get();
    a.records = records;
    a.mask = mask.get();
    a.tw = tw;
    a.th = th;
    // The texel step in 16.16 stays at 2 or more, so its 1.15 inverse fits.
    a.maxSize = static_cast<int>(std::min<int64_t>(INT_MAX - 1, static_cast<int64_t>(tw) * 32768));
    a.exponent = 2.0f * finiteOr(params->p[3][0], 0.0f);
    a.z = finiteOr(params->p[1][0], 0.0f) * finiteOr(params->previewscalingfactor, 1.0f) * 5.0f * g;
    a.sigma = (1.0f - finiteOr(params->p[4][0], 0.5f)) * 2.0f - 1.0f;
    a.mode = MP_safeTrunc(params->p[6][0], 0, 1 << 30);
    a.opacity = MP_clamp(finiteOr(params->p[6][1], 100.0f) * 0.01f, 0.0f, 1.0f);
    a.lw = LumWeights::of(params);

    const float angle = 1.0f - finiteOr(params->p[2][0], 0.5f) - 0.0166f;
    if (MP_UI_RotateBuffer(tw, th, texture, rotated.get(), 0, angle, 0.0f, 0.0f, 0.5f, 0.5f) != 0)
        return -1;
    MP_prepare_calcPixelBokehBlur(rotated.get(), mask.get(), tw, th);
    MP_MT_zoomPreviewPicture(src, small.get(), 0, 0, 0, 0, static_cast<float>(ws), static_cast<float>(hs),
                             static_cast<float>(ws), static_cast<float>(sizex), static_cast<float>(sizey), 0.0f, 0.0f,
                             static_cast<float>(sizex), static_cast<float>(sizey));
    MP_runTablePass(MP_TaskPre1_calcPixelBokehBlur, MP_makeTask(params, &a));

    // The masks at the working size, then at the full size: preparing them
    // normalises the slot in place, so the second preparation starts from a
    // copy of the slot as it came.
    float slot[256];
    std::memcpy(slot, params->p[7], sizeof slot);
    if (MP_calcPrepareGeometry(ws, hs, 7, params) != 0) {
        std::memcpy(params->p[7], slot, sizeof slot);
        return -1;
    }
    MP_runSinglePass(MP_TaskPre2_calcPixelBokehBlur, MP_makeTask(params, &a), hs);
    runInterleaved(MP_Task_calcPixelBokehBlur, &a, hs);
    std::memcpy(params->p[7], slot, sizeof slot);
    if (MP_calcPrepareGeometry(sizex, sizey, 7, params) != 0)
        return -1;
    if (MP_filterCancelled())
        return 0;
    runInterleaved(MP_TaskBlend_calcPixelBokehBlur, &a, sizey);
    return 0;
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelBokehBlur", MP_calcPixelBokehBlur},
};
extern const MP_DriverTable MP_drivers_bokeh = MP_driverTable(kDrivers);
