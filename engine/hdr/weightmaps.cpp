#include "engine/hdr/weightmaps.h"

#include "engine/MP_calccl.h"
#include "engine/core/boxblur.h"
#include "engine/core/driverframe.h"
#include "engine/core/progress.h"
#include "engine/core/settings.h"
#include "engine/core/tables.h"
#include "engine/core/tasks.h"
#include "engine/core/textures.h"
#include "engine/core/windowweights.h"
#include "engine/openclmanager.h"
#include "engine/views/zoom.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr float MP_HDR_MUL = 65534.0f;
constexpr float MP_HDR_ADD = 1.0f;
constexpr float MP_MAX_HDR_KERNELSIZE = 50.0f;
constexpr float HDR_WEIGHT_POWER = 3.0f;

// ---- Encoding ----------------------------------------------------------------

// A weight 0..1 as stored in a map; NaN counts as 0.
inline uint16_t encodeWeight(float w)
{
    if (!(w > 0.0f))
        w = 0.0f;
    if (w > 1.0f)
        w = 1.0f;
    return static_cast<uint16_t>(static_cast<int>(w * MP_HDR_MUL + MP_HDR_ADD));
}

// A shaped weight: 1 below 0 (and for NaN), 65535 above 1, else the encoding.
inline uint16_t encodeBounded(float v)
{
    if (!(v >= 0.0f))
        return 1;
    if (v > 1.0f)
        return 65535;
    return static_cast<uint16_t>(static_cast<int>(v * MP_HDR_MUL + MP_HDR_ADD));
}

inline float clampUnit(float w)
{
    if (!(w > 0.0f))
        return 0.0f;
    return w > 1.0f ? 1.0f : w;
}

// ---- Luminance -----------------------------------------------------------------

// Fixed-point luminance weights (int)(lum * Q), Q = 16383 or 16384.
struct LumQ {
    int r, g, b;
};
LumQ lumWeights(const MP_Params* p, float q)
{
    return {MP_safeTrunc(p->lumr * q, 0, 16384), MP_safeTrunc(p->lumg * q, 0, 16384),
            MP_safeTrunc(p->lumb * q, 0, 16384)};
}
// The 16-bit luminance of raw channels; weights that sum above 1 cannot push
// it past the tables.
inline int lum16(const uint16_t* px, LumQ q)
{
    const unsigned v = (static_cast<unsigned>(q.r) * px[0] + static_cast<unsigned>(q.g) * px[1] +
                        static_cast<unsigned>(q.b) * px[2]) >> 14;
    return v > 65535u ? 65535 : static_cast<int>(v);
}
// The float luminance 0..1 of a pixel.
inline float lumFloat(const uint16_t* px, const MP_Params* p)
{
    return p->lumr * (static_cast<float>(px[0]) * MP_k) + p->lumg * (static_cast<float>(px[1]) * MP_k) +
           p->lumb * (static_cast<float>(px[2]) * MP_k);
}
inline int absi(int v) { return v < 0 ? -v : v; }

// ---- Scalars of a run --------------------------------------------------------------

struct Scalars {
    int ks = 1;     // window radius, a multiple of the step (at least 1)
    int step = 1;   // window step
    float bp = 1.0f; // bilateral exponent
    float wt = 1.0f; // exposure weight
    float dn = 0.0f; // day/night target
    float g = 1.0f;  // luminance exponent
};

Scalars scalarsOf(const MP_Params* p)
{
    Scalars s;
    int ks = MP_safeTrunc(((p->p[0][0] * MP_MAX_HDR_KERNELSIZE) * p->previewscalingfactor) * p->unit_kernel_multiplier,
                          0, MP_LOCALEXP_RADIUS);
    s.step = MP_calcLoopstep(p->loopstep, ks, p);
    if (s.step < 1)
        s.step = 1;
    ks -= ks % s.step;
    s.ks = ks > 0 ? ks : 1;
    s.bp = (1.0f - p->p[1][0]) * 1.99f + 0.001f;
    s.wt = MP_pow(2.0f * p->p[2][0], HDR_WEIGHT_POWER);
    s.dn = p->p[3][0];
    s.g = p->p[5][0];
    return s;
}

// The window reads the row half-widths lx[500 + ky] for |ky| <= ks. The
// dispatcher writes them for its own radius, which truncates the kernel size
// before applying the kernel multiplier (ks truncates after), so ks can exceed
// it; rows beyond it were not written by this run and are rebuilt for ks.
// Kernels reached by no name always build them.
void prepareWindowRows(const char* name, MP_Params* p, int ks)
{
    int R = 0;
    if (name)
        R = MP_safeTrunc(static_cast<float>(MP_UI_getKernelSize(name, p)) * p->unit_kernel_multiplier, 1,
                         MP_LOCALEXP_RADIUS);
    if (ks > R)
        OpenCLManager::getInstance()->setKernelSuperquadricTable(ks, p);
}

inline int halfWidth(const MP_Params* p, int ky)
{
    return MP_iclamp(p->lx[MP_MAX_KERNEL_HEIGHT + ky], 0, MP_LOCALEXP_COLUMN_RADIUS);
}

// Calls f(sx, sy, kx, ky) for every sample of the window at (x, y): rows from
// max(-ks, -y) to min(ks, h - 1 - y), columns from max(-lx, -x) to
// min(lx, w - 1 - x), both in steps of `step`; cut at the image border.
template <typename F>
inline void forWindow(const MP_Params* p, int w, int h, int ks, int step, int x, int y, F&& f)
{
    const int y1 = std::max(-ks, -y);
    const int y2 = std::min(ks, h - 1 - y);
    for (int ky = y1; ky <= y2; ky += step) {
        const int hw = halfWidth(p, ky);
        const int x1 = std::max(-hw, -x);
        const int x2 = std::min(hw, w - 1 - x);
        for (int kx = x1; kx <= x2; kx += step)
            f(x + kx, y + ky, kx, ky);
    }
}

// ---- Argument block ------------------------------------------------------------------

struct WeightArgs {
    int w = 0, h = 0;
    const uint16_t* src = nullptr;
    uint16_t* dst = nullptr;
    MP_Params* params = nullptr;
    Scalars s;
    LumQ q{};
    void* buf = nullptr;   // per-pixel buffer of the kernel (scratch)
    float* e = nullptr;    // per-pixel values of the 4-sum kernels
    float* f = nullptr;    // their 4-sums
    uint16_t* table = nullptr; // 16-bit result table of the per-pixel kernels
    float thr = 0.0f;      // focus-stacking threshold
    float invks2 = 1.0f;   // 1 / ks^2 of the spatial weights
};

WeightArgs argsOf(int w, int h, const ushort* src, ushort* dst, MP_Params* p)
{
    WeightArgs a;
    a.w = w;
    a.h = h;
    a.src = src;
    a.dst = dst;
    a.params = p;
    a.s = scalarsOf(p);
    return a;
}

inline const uint16_t* pixel(const WeightArgs& a, int x, int y)
{
    return a.src + (static_cast<size_t>(y) * static_cast<size_t>(a.w) + static_cast<size_t>(x)) * 3;
}
inline size_t at(const WeightArgs& a, int x, int y)
{
    return static_cast<size_t>(y) * static_cast<size_t>(a.w) + static_cast<size_t>(x);
}

// Task adapters: a per-index function over a table range, a per-row function
// over a row range.
template <void (*Fn)(const WeightArgs&, int)>
void indexTask(TaskFuncParams t)
{
    const WeightArgs& a = *MP_taskArgs<const WeightArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        Fn(a, i);
}
template <void (*Fn)(const WeightArgs&, int)>
void rowTask(TaskFuncParams t)
{
    const WeightArgs& a = *MP_taskArgs<const WeightArgs>(t);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y)
        Fn(a, y);
}

template <void (*Fn)(const WeightArgs&, int)>
void runTables(WeightArgs& a)
{
    MP_runTablePass(indexTask<Fn>, MP_makeTask(a.params, &a));
}
// Buffer prepass: N bands in one chunk.
template <void (*Fn)(const WeightArgs&, int)>
void runBufferPass(WeightArgs& a)
{
    MP_runSinglePass(rowTask<Fn>, MP_makeTask(a.params, &a), a.h);
}
// Main pass: the frame's bands, no progress.
template <void (*Fn)(const WeightArgs&, int)>
void runMainPass(WeightArgs& a)
{
    MP_runBandPass(rowTask<Fn>, MP_makeTask(a.params, &a), a.h, 0);
}

// On the calling thread: progress before row y when y is a multiple of
// 100000 / (h + 1) (at least 1).
void postRowProgress(int y, int h)
{
    if (_category < 0)
        return;
    const int period = std::max(1, 100000 / (h + 1));
    if (y % period == 0)
        C_AddMessage(_category, static_cast<float>(y) / static_cast<float>(h) * _progressdelta + _progressstart);
}

// ---- Spatial weights -------------------------------------------------------------------

// localexp(kx, ky) = exp(-min(65535, (int)((kx^2 + ky^2) / ks^2)) / 65535) for
// every offset a window of radius ks reads, including columns up to the row's
// half-width where it exceeds ks: the engine's shared window-weight fill.
void fillSpatialWeights(WeightArgs& a)
{
    a.invks2 = 1.0f / static_cast<float>(a.s.ks * a.s.ks);
    MP_runWindowWeightsPass(a.s.ks, a.invks2, a.params);
}
void fillSpatialWeightsHere(WeightArgs& a)
{
    a.invks2 = 1.0f / static_cast<float>(a.s.ks * a.s.ks);
    MP_fillWindowWeightRows(-a.s.ks, a.s.ks, a.s.ks, a.invks2, a.params);
}
inline float spatial(int kx, int ky) { return localexp[MP_localexpIndex(kx, ky)]; }

// ---- Common tables ------------------------------------------------------------------

inline float tableValue(int i) { return static_cast<float>(i) * MP_k; }
inline int powIndex(int i, float e) { return MP_safeTrunc(MP_pow(tableValue(i), e) * 65535.0f, 0, 65535); }
inline float reciprocal(int i) { return 1.0f / (tableValue(i) + 0.001f); }

void l16Row(const WeightArgs& a, int y)
{
    uint16_t* out = static_cast<uint16_t*>(a.buf) + at(a, 0, y);
    for (int x = 0; x < a.w; ++x)
        out[x] = static_cast<uint16_t>(lum16(pixel(a, x, y), a.q));
}
inline int l16At(const WeightArgs& a, int x, int y) { return static_cast<const uint16_t*>(a.buf)[at(a, x, y)]; }

int obtainScratch(WeightArgs& a, size_t bytesPerPixel)
{
    a.buf = MP_UpdateBuffer(static_cast<size_t>(a.w) * static_cast<size_t>(a.h) * bytesPerPixel);
    return a.buf ? 0 : -1;
}

int checkArgs(int sizex, int sizey, const ushort* src, const ushort* dst, const MP_Params* p)
{
    if (!src || !dst || !p || sizex < 0 || sizey < 0)
        return -2;
    return 0;
}

// =====================================================================================
// MP_calcPixelHDRaverage
// =====================================================================================

struct AverageArgs {
    int width;
    uint16_t* dst;
    uint16_t value;
};

void MP_Task_calcPixelHDRaverage(TaskFuncParams t)
{
    const AverageArgs* a = MP_taskArgs<const AverageArgs>(t);
    const size_t w = static_cast<size_t>(a->width);
    uint16_t* d = a->dst + static_cast<size_t>(MP_taskStart(t)) * w;
    uint16_t* e = a->dst + static_cast<size_t>(MP_taskEnd(t)) * w;
    std::fill(d, e, a->value);
}

// =====================================================================================
// Per-pixel kernels
// =====================================================================================

// FastHDRrgrbgb: tables (i/65535)^bp and (int)((i/65535)^g * 65535).
void MP_TaskPre1_calcPixelFastHDRrgrbgb(const WeightArgs& a, int i)
{
    MP_temp_table[i] = MP_pow(tableValue(i), a.s.bp);
    MP_itemp_table[i] = powIndex(i, a.s.g);
}
void MP_Task_calcPixelFastHDRrgrbgb(const WeightArgs& a, int y)
{
    uint16_t* out = a.dst + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const uint16_t* px = pixel(a, x, y);
        const int R = px[0], G = px[1], B = px[2];
        const unsigned spread = static_cast<unsigned>(a.q.g) * absi(R - B) + static_cast<unsigned>(a.q.b) * absi(R - G) +
                                static_cast<unsigned>(a.q.r) * absi(G - B);
        const int k = static_cast<int>(std::min(65535u, spread >> 14));
        const int a0 = MP_itemp_table[lum16(px, a.q)];
        const float w = (1.0f - MP_fabs(a.s.dn - static_cast<float>(a0) / 65535.0f)) * MP_temp_table[k] * a.s.wt;
        out[x] = encodeWeight(w);
    }
}

// The per-pixel kernels whose weight depends on the 16-bit luminance only:
// a 65,536-entry table of stored weights, one lookup per pixel.
void MP_TaskPre1_calcPixelFastHDRdistance(const WeightArgs& a, int i)
{
    const float v = MP_pow(MP_log2(2.0f - 2.0f * MP_fabs(0.5f - MP_pow(tableValue(i), a.s.g))), a.s.bp);
    a.table[i] = encodeWeight((1.0f - MP_fabs(a.s.dn - v)) * v * a.s.wt);
}
void MP_TaskPre1_calcPixelFastHDRabsdist(const WeightArgs& a, int i)
{
    const float dn = a.s.dn;
    const float v = tableValue(i);
    const float f = (1.0f - MP_fabs(dn - v)) * a.s.wt * MP_fabs(dn * 0.5f + 1.0f - v) * a.s.g / (dn * 0.5f + 1.0f);
    a.table[i] = encodeBounded(f);
}
void MP_TaskPre1_calcPixelFastHDRentropy(const WeightArgs& a, int i)
{
    const float v = MP_pow((0.999f * static_cast<float>(i) + 0.001f) * MP_k, a.s.g);
    const float e = -v * MP_log2(v);
    a.table[i] = encodeWeight((1.0f - MP_fabs(a.s.dn - e)) * e * a.s.wt);
}
void MP_Task_calcPixelFastHDRtable(const WeightArgs& a, int y)
{
    uint16_t* out = a.dst + at(a, 0, y);
    const uint16_t* px = pixel(a, 0, y);
    for (int x = 0; x < a.w; ++x, px += 3)
        out[x] = a.table[lum16(px, a.q)];
}

template <void (*Pre)(const WeightArgs&, int)>
int runTableKernel(int sizex, int sizey, ushort* src, ushort* dst, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    WeightArgs a = argsOf(sizex, sizey, src, dst, params);
    a.table = static_cast<uint16_t*>(MP_UpdateBuffer(65536 * sizeof(uint16_t)));
    if (!a.table)
        return -1;
    a.q = lumWeights(params, 16383.0f);
    runTables<Pre>(a);
    runMainPass<MP_Task_calcPixelFastHDRtable>(a);
    return 0;
}

// =====================================================================================
// Windowed kernels
// =====================================================================================

// HDRlinear: l16 map (Q 16383); tables (int)((i/65535)^bp * 65535), (int)((i/65535)^g * 65535).
void MP_TaskPre1_calcPixelHDRlinear(const WeightArgs& a, int i)
{
    MP_itemp_table[i] = powIndex(i, a.s.bp);
    MP_itemp2_table[i] = powIndex(i, a.s.g);
}
void MP_Task_calcPixelHDRlinear(const WeightArgs& a, int y)
{
    uint16_t* out = a.dst + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const int a0 = MP_itemp2_table[l16At(a, x, y)];
        int64_t sum = 0;
        int n = 0;
        forWindow(a.params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int, int) {
            sum += MP_itemp_table[absi(MP_itemp2_table[l16At(a, sx, sy)] - a0)];
            ++n;
        });
        const float mean = static_cast<float>(sum) / 65535.0f / static_cast<float>(n);
        const float w = (1.0f - MP_fabs(a.s.dn - static_cast<float>(a0) / 65535.0f)) * mean * a.s.wt;
        out[x] = encodeWeight(w);
    }
}

// HDRloglinear: float map F = (L)^g through a table; spatial weights.
void MP_TaskPre1_calcPixelHDRloglinear(const WeightArgs& a, int i) { MP_temp2_table[i] = MP_pow(tableValue(i), a.s.g); }
void MP_TaskPre2_calcPixelHDRloglinear(const WeightArgs& a, int y)
{
    float* out = static_cast<float*>(a.buf) + at(a, 0, y);
    for (int x = 0; x < a.w; ++x)
        out[x] = MP_temp2_table[MP_tableIndex(lumFloat(pixel(a, x, y), a.params))];
}
void MP_Task_calcPixelHDRloglinear(const WeightArgs& a, int y)
{
    const float* F = static_cast<const float*>(a.buf);
    uint16_t* out = a.dst + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const float E0 = F[at(a, x, y)];
        const float logE0 = MP_log2(E0 + 0.001f);
        float sd = 0.0f, su = 0.0f;
        forWindow(a.params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const float Fs = F[at(a, sx, sy)];
            const float d = spatial(kx, ky) / (MP_fabs(E0 - Fs) + 0.001f);
            const float u = MP_log2(Fs + 0.001f) - logE0;
            sd += d;
            su += d * MP_pow(u * u, a.s.bp);
        });
        const float w = (1.0f - MP_fabs(a.s.dn - E0)) * (su / sd) * a.s.wt * 150.0f;
        out[x] = static_cast<uint16_t>(static_cast<int>(MP_sqrt(MP_sqrt(clampUnit(w))) * MP_HDR_MUL + MP_HDR_ADD));
    }
}

// HDRquadriclinear: l16 map (Q 16384); tables (i)^(4 bp), 1/(i + 0.001), (int)(i^g * 65535).
void MP_TaskPre1_calcPixelHDRquadriclinear(const WeightArgs& a, int i)
{
    MP_temp_table[i] = MP_pow(tableValue(i), 4.0f * a.s.bp);
    MP_temp3_table[i] = reciprocal(i);
    MP_itemp_table[i] = powIndex(i, a.s.g);
}
void MP_Task_calcPixelHDRquadriclinear(const WeightArgs& a, int y)
{
    uint16_t* out = a.dst + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const int a0 = MP_itemp_table[l16At(a, x, y)];
        float sd = 0.0f, sv = 0.0f;
        forWindow(a.params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const int D = absi(MP_itemp_table[l16At(a, sx, sy)] - a0);
            const float d = spatial(kx, ky) * MP_temp3_table[D];
            sd += d;
            sv += d * MP_temp_table[D];
        });
        const float w = (1.0f - MP_fabs(a.s.dn - static_cast<float>(a0) / 65536.0f)) * (sv / sd) * a.s.wt * 150.0f;
        const float root8 = MP_sqrt(MP_sqrt(MP_sqrt(clampUnit(w))));
        out[x] = static_cast<uint16_t>(static_cast<int>(root8 * MP_HDR_MUL + MP_HDR_ADD));
    }
}

// HDRsatlig: per pixel M = max(R, G), T = min(R, G) / max(R, G); tables i^bp, 1/(i + 0.001).
void MP_TaskPre1_calcPixelHDRsatlig(const WeightArgs& a, int i)
{
    MP_temp_table[i] = MP_pow(tableValue(i), a.s.bp);
    MP_temp3_table[i] = reciprocal(i);
}
void MP_TaskPre2_calcPixelHDRsatlig(const WeightArgs& a, int y)
{
    float* out = static_cast<float*>(a.buf) + at(a, 0, y) * 2;
    for (int x = 0; x < a.w; ++x) {
        const uint16_t* px = pixel(a, x, y);
        const float R = static_cast<float>(px[0]) * MP_k;
        const float G = static_cast<float>(px[1]) * MP_k;
        const float M = std::max(R, G);
        out[2 * x] = M;
        out[2 * x + 1] = M > 0.0f ? std::min(R, G) / M : 0.0f;
    }
}
void MP_Task_calcPixelHDRsatlig(const WeightArgs& a, int y)
{
    const float* MT = static_cast<const float*>(a.buf);
    const LumQ q = lumWeights(a.params, 16383.0f);
    uint16_t* out = a.dst + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const float L0 = lumFloat(pixel(a, x, y), a.params);
        const int j0 = MP_tableIndex(L0);
        const float M0 = MT[at(a, x, y) * 2], T0 = MT[at(a, x, y) * 2 + 1];
        float sd = 0.0f, sv = 0.0f;
        forWindow(a.params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const size_t i = at(a, sx, sy) * 2;
            const float d = spatial(kx, ky) * MP_temp3_table[absi(j0 - lum16(pixel(a, sx, sy), q))];
            sd += d;
            sv += d * (MP_temp_table[MP_tableIndex(MP_fabs(MT[i + 1] - T0) * 0.5f)] +
                       MP_temp_table[MP_tableIndex(MP_fabs(MT[i] - M0) * 0.5f)]);
        });
        const float w = (1.0f - MP_fabs(a.s.dn - L0)) * (sv / sd) * a.s.wt * 10.0f;
        out[x] = static_cast<uint16_t>(static_cast<int>(MP_sqrt(clampUnit(w)) * MP_HDR_MUL + MP_HDR_ADD));
    }
}

// HDRlumrgb: per pixel l16 (Q 16384) and the spread of the channels around it.
void MP_TaskPre1_calcPixelHDRlumrgb(const WeightArgs& a, int i)
{
    MP_temp_table[i] = MP_pow(4.0f * tableValue(i), a.s.bp);
    MP_temp3_table[i] = reciprocal(i);
}
void MP_TaskPre2_calcPixelHDRlumrgb(const WeightArgs& a, int y)
{
    float* out = static_cast<float*>(a.buf) + at(a, 0, y) * 2;
    for (int x = 0; x < a.w; ++x) {
        const uint16_t* px = pixel(a, x, y);
        const int l = lum16(px, a.q);
        out[2 * x] = static_cast<float>(l);
        out[2 * x + 1] = static_cast<float>((absi(px[0] - l) + absi(px[1] - l) + absi(px[2] - l)) >> 2);
    }
}
void MP_Task_calcPixelHDRlumrgb(const WeightArgs& a, int y)
{
    const float* LE = static_cast<const float*>(a.buf);
    uint16_t* out = a.dst + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const float L0 = lumFloat(pixel(a, x, y), a.params);
        const int j0 = MP_tableIndex(L0);
        float sd = 0.0f, sv = 0.0f;
        forWindow(a.params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const size_t i = at(a, sx, sy) * 2;
            const float d = spatial(kx, ky) * MP_temp3_table[absi(j0 - static_cast<int>(LE[i]))];
            const float b = MP_temp_table[MP_safeTrunc(LE[i + 1] / (L0 + 0.001f), 0, 65535)];
            sd += d;
            sv += d * b;
        });
        out[x] = encodeWeight((1.0f - MP_fabs(a.s.dn - L0)) * (sv / sd) * a.s.wt);
    }
}

// HDRlumentropy: l16 map (Q 16384); five tables.
void MP_TaskPre1_calcPixelHDRlumentropy(const WeightArgs& a, int i)
{
    const float v = tableValue(i);
    MP_temp_table[i] = MP_pow(v, 0.1f);
    MP_temp2_table[i] = -v * MP_log2(v * 0.999f + 0.001f);
    MP_temp3_table[i] = MP_pow(2.0f * v, a.s.bp);
    MP_temp4_table[i] = reciprocal(i);
    MP_itemp_table[i] = powIndex(i, a.s.g);
}
void MP_Task_calcPixelHDRlumentropy(const WeightArgs& a, int y)
{
    const int m = MP_safeTrunc(a.s.dn * 65535.0f, -65535, 2 * 65535);
    uint16_t* out = a.dst + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const int a0 = MP_itemp_table[l16At(a, x, y)];
        float sd = 0.0f, sv = 0.0f;
        forWindow(a.params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const int as = MP_itemp_table[l16At(a, sx, sy)];
            const int D = absi(as - a0);
            const float d = spatial(kx, ky) * MP_temp4_table[D];
            const float q = MP_temp2_table[as] + MP_temp_table[D];
            const int qi = q < 0.0f ? 0 : (q > 2.0f ? 65535 : MP_safeTrunc(q * 32767.5f, 0, 65535));
            sd += d;
            sv += d * MP_temp3_table[qi];
        });
        const float w = (1.0f - static_cast<float>(absi(m - a0)) / 65535.0f) * (sv / sd) * a.s.wt;
        out[x] = encodeWeight(w);
    }
}

// ---- 4-sum maps (detail and focus-stacking kernels) -----------------------------------

// f(x) = e(x) + e(x+1) + e(x+2) + e(x+3) for x < w - 3.
void fourSums(const WeightArgs& a, int y)
{
    const float* e = a.e + at(a, 0, y);
    float* f = a.f + at(a, 0, y);
    for (int x = 0; x + 3 < a.w; ++x)
        f[x] = e[x] + e[x + 1] + e[x + 2] + e[x + 3];
}
// Sum of e over columns [x1, x2] of a row, four columns at a time.
inline float rowSum4(const WeightArgs& a, int y, int x1, int x2)
{
    const float* e = a.e + at(a, 0, y);
    const float* f = a.f + at(a, 0, y);
    float s = 0.0f;
    int c = x1;
    for (; c + 3 <= x2; c += 4)
        s += f[c];
    for (; c <= x2; ++c)
        s += e[c];
    return s;
}
// Sum of e over the window (steps of 1) and the number of samples.
inline float windowSum4(const WeightArgs& a, int x, int y, int& n)
{
    const int ks = a.s.ks;
    const int y1 = std::max(-ks, -y);
    const int y2 = std::min(ks, a.h - 1 - y);
    float S = 0.0f;
    n = 0;
    for (int ky = y1; ky <= y2; ++ky) {
        const int hw = halfWidth(a.params, ky);
        const int x1 = std::max(-hw, -x), x2 = std::min(hw, a.w - 1 - x);
        if (x2 < x1)
            continue;
        S += rowSum4(a, y + ky, x + x1, x + x2);
        n += x2 - x1 + 1;
    }
    return S;
}

// The four direct neighbours (left, right, up, down), coordinates clamped.
struct Neighbours {
    const uint16_t* c;
    const uint16_t* n[4];
};
inline Neighbours neighbours(const WeightArgs& a, int x, int y)
{
    const int xl = x > 0 ? x - 1 : 0, xr = x < a.w - 1 ? x + 1 : a.w - 1;
    const int yu = y > 0 ? y - 1 : 0, yd = y < a.h - 1 ? y + 1 : a.h - 1;
    return {pixel(a, x, y), {pixel(a, xl, y), pixel(a, xr, y), pixel(a, x, yu), pixel(a, x, yd)}};
}
inline float rawLum(const uint16_t* px, const MP_Params* p)
{
    return p->lumr * static_cast<float>(px[0]) + p->lumg * static_cast<float>(px[1]) +
           p->lumb * static_cast<float>(px[2]);
}

void MP_TaskPre2_calcPixelHDRdetail(const WeightArgs& a, int y)
{
    float* e = a.e + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const Neighbours nb = neighbours(a, x, y);
        const float lc = rawLum(nb.c, a.params);
        float s = 0.0f;
        for (const uint16_t* n : nb.n) {
            const float d = rawLum(n, a.params) - lc;
            s += d * d;
        }
        e[x] = s;
    }
    fourSums(a, y);
}
void MP_TaskPre2_calcPixelHDRrgbdetail(const WeightArgs& a, int y)
{
    float* e = a.e + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const Neighbours nb = neighbours(a, x, y);
        float s = 0.0f;
        for (const uint16_t* n : nb.n) {
            const int m = std::max({absi(n[0] - nb.c[0]), absi(n[1] - nb.c[1]), absi(n[2] - nb.c[2])});
            s += static_cast<float>(m);
        }
        e[x] = s;
    }
    fourSums(a, y);
}
void MP_Task_calcPixelHDRdetail(const WeightArgs& a, int y)
{
    uint16_t* out = a.dst + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        int n = 0;
        const float S = windowSum4(a, x, y, n);
        const uint16_t* px = pixel(a, x, y);
        const float grey = static_cast<float>(px[0] + px[1] + px[2]) / 65535.0f * 0.3333f;
        const float w = (1.0f - MP_fabs(a.s.dn - grey)) * MP_sqrt(S / (65535.0f * 65535.0f)) /
                        static_cast<float>(n) * a.s.wt;
        out[x] = encodeWeight(w);
    }
}

// ---- Drivers of the windowed kernels ----------------------------------------------------

enum class Map { None, L16_16383, L16_16384, Float1, Float2, FourSum };

size_t bytesPerPixel(Map m)
{
    switch (m) {
    case Map::None:
        return 0;
    case Map::L16_16383:
    case Map::L16_16384:
        return 2;
    case Map::Float1:
        return 4;
    case Map::Float2:
    case Map::FourSum:
        return 8;
    }
    return 0;
}

struct WindowKernel {
    const char* name;
    Map map;
    bool spatialWeights;
    bool stepOne; // window steps of 1 (the step only corrects the radius)
    void (*tables)(TaskFuncParams);
    void (*buffer)(TaskFuncParams);
    void (*worker)(TaskFuncParams);
};

int runWindowKernel(const WindowKernel& k, int sizex, int sizey, ushort* src, ushort* dst, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    WeightArgs a = argsOf(sizex, sizey, src, dst, params);
    if (sizex == 0 || sizey == 0)
        return 0;
    if (k.map != Map::None) {
        if (obtainScratch(a, bytesPerPixel(k.map)) != 0)
            return -1;
        if (k.map == Map::FourSum) {
            a.e = static_cast<float*>(a.buf);
            a.f = a.e + static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
        }
    }
    if (k.stepOne)
        a.s.step = 1;
    prepareWindowRows(k.name, params, a.s.ks);
    a.q = lumWeights(params, k.map == Map::L16_16383 ? 16383.0f : 16384.0f);
    const TaskFuncParams tmpl = MP_makeTask(params, &a);
    if (k.tables)
        MP_runTablePass(k.tables, tmpl);
    if (k.map == Map::L16_16383 || k.map == Map::L16_16384)
        MP_runSinglePass(rowTask<l16Row>, tmpl, sizey);
    else if (k.buffer)
        MP_runSinglePass(k.buffer, tmpl, sizey);
    if (k.spatialWeights)
        fillSpatialWeights(a);
    MP_runBandPass(k.worker, tmpl, sizey, 0);
    return 0;
}

// =====================================================================================
// Kernels on the calling thread
// =====================================================================================

template <typename PerPixel>
void rowsHere(const WeightArgs& a, PerPixel&& perPixel)
{
    for (int y = 0; y < a.h; ++y) {
        postRowProgress(y, a.h);
        for (int x = 0; x < a.w; ++x)
            a.dst[at(a, x, y)] = perPixel(x, y);
    }
}
inline float gaussianSpatial(int kx, int ky, int ks)
{
    return MP_exp(-static_cast<float>(kx * kx + ky * ky) / static_cast<float>(ks * ks));
}

// Float luminance map of the source in a.buf, on the calling thread.
void luminanceMapHere(const WeightArgs& a, bool progress)
{
    float* L = static_cast<float*>(a.buf);
    for (int y = 0; y < a.h; ++y) {
        if (progress)
            postRowProgress(y, a.h);
        for (int x = 0; x < a.w; ++x)
            L[at(a, x, y)] = lumFloat(pixel(a, x, y), a.params);
    }
}

// =====================================================================================
// Focus stacking
// =====================================================================================

void MP_TaskPre2_calcPixelHDRfocusstackrgb(const WeightArgs& a, int y)
{
    float* e = a.e + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const Neighbours nb = neighbours(a, x, y);
        int s = 0;
        for (const uint16_t* n : nb.n)
            s += absi(n[0] - nb.c[0]) + absi(n[1] - nb.c[1]) + absi(n[2] - nb.c[2]);
        e[x] = static_cast<float>(s / 12);
    }
    fourSums(a, y);
}
void MP_TaskPre2_calcPixelHDRfocusstackvar(const WeightArgs& a, int y)
{
    float* e = a.e + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const Neighbours nb = neighbours(a, x, y);
        const int l[5] = {lum16(nb.c, a.q), lum16(nb.n[0], a.q), lum16(nb.n[1], a.q), lum16(nb.n[2], a.q),
                          lum16(nb.n[3], a.q)};
        const int mean = (l[0] + l[1] + l[2] + l[3] + l[4]) / 5;
        int s = 0;
        for (int v : l)
            s += absi(v - mean);
        e[x] = static_cast<float>(s / 5);
    }
    fourSums(a, y);
}
void MP_TaskPre2_calcPixelHDRfocusstackmse(const WeightArgs& a, int y)
{
    float* e = a.e + at(a, 0, y);
    for (int x = 0; x < a.w; ++x) {
        const Neighbours nb = neighbours(a, x, y);
        int64_t s = 0;
        for (const uint16_t* n : nb.n)
            for (int c = 0; c < 3; ++c) {
                const int64_t d = static_cast<int64_t>(n[c]) - nb.c[c];
                s += d * d;
            }
        e[x] = static_cast<float>(s);
    }
    fourSums(a, y);
}
void MP_TaskPre2_calcPixelHDRfocusstackmce(const WeightArgs& a, int y)
{
    float* e = a.e + at(a, 0, y);
    const int xs[8] = {-1, 1, 0, 0, -1, 1, -1, 1};
    const int ys[8] = {0, 0, -1, 1, -1, -1, 1, 1};
    for (int x = 0; x < a.w; ++x) {
        const uint16_t* c = pixel(a, x, y);
        const int S = c[0] + c[1] + c[2];
        float direct = 0.0f, diagonal = 0.0f;
        for (int i = 0; i < 8; ++i) {
            const uint16_t* n = pixel(a, MP_iclamp(x + xs[i], 0, a.w - 1), MP_iclamp(y + ys[i], 0, a.h - 1));
            const float d = MP_fabs(static_cast<float>(n[0] + n[1] + n[2] - S) / 65535.0f * 0.33333f);
            (i < 4 ? direct : diagonal) += d * d * d;
        }
        e[x] = MP_sqrt((2.0f * direct + diagonal) / 12.0f);
    }
    fourSums(a, y);
}

inline void storeFocus(const WeightArgs& a, uint16_t* out, float F)
{
    *out = encodeBounded(F * a.s.wt - a.thr);
}

void MP_Task_calcPixelHDRfocusstacklin(const WeightArgs& a, int y)
{
    for (int x = 0; x < a.w; ++x) {
        int64_t sum = 0;
        int n = 0;
        forWindow(a.params, a.w, a.h, a.s.ks, 1, x, y, [&](int sx, int sy, int, int) {
            sum += l16At(a, sx, sy);
            ++n;
        });
        const int64_t diff = static_cast<int64_t>(l16At(a, x, y)) * n - sum;
        const float F = static_cast<float>(diff < 0 ? -diff : diff) / 65535.0f / static_cast<float>(n);
        storeFocus(a, a.dst + at(a, x, y), F);
    }
}
void MP_Task_calcPixelHDRfocusstacklum(const WeightArgs& a, int y)
{
    for (int x = 0; x < a.w; ++x) {
        const int c = l16At(a, x, y);
        int64_t sum = 0;
        int n = 0;
        forWindow(a.params, a.w, a.h, a.s.ks, 1, x, y, [&](int sx, int sy, int, int) {
            sum += absi(c - l16At(a, sx, sy));
            ++n;
        });
        storeFocus(a, a.dst + at(a, x, y), static_cast<float>(sum) / 65535.0f / static_cast<float>(n));
    }
}
void MP_Task_calcPixelHDRfocusstackrgb(const WeightArgs& a, int y)
{
    for (int x = 0; x < a.w; ++x) {
        int n = 0;
        const float S = windowSum4(a, x, y, n);
        const float L0 = lumFloat(pixel(a, x, y), a.params);
        const float F = (1.0f / (L0 + 0.001f)) * 0.3333f * (12.0f * S) / 65535.0f / static_cast<float>(4 * n);
        storeFocus(a, a.dst + at(a, x, y), F);
    }
}
void MP_Task_calcPixelHDRfocusstackvar(const WeightArgs& a, int y)
{
    for (int x = 0; x < a.w; ++x) {
        int n = 0;
        const float S = windowSum4(a, x, y, n);
        const float L0 = lumFloat(pixel(a, x, y), a.params);
        const float F = (1.0f / (L0 + 0.001f)) * (5.0f * S) / 65535.0f / static_cast<float>(5 * n);
        storeFocus(a, a.dst + at(a, x, y), F);
    }
}
void MP_Task_calcPixelHDRfocusstackmse(const WeightArgs& a, int y)
{
    for (int x = 0; x < a.w; ++x) {
        int n = 0;
        const float S = windowSum4(a, x, y, n);
        storeFocus(a, a.dst + at(a, x, y), MP_sqrt(S / (65535.0f * 65535.0f)) / static_cast<float>(n));
    }
}
void MP_Task_calcPixelHDRfocusstackmce(const WeightArgs& a, int y)
{
    for (int x = 0; x < a.w; ++x) {
        int n = 0;
        const float S = windowSum4(a, x, y, n);
        storeFocus(a, a.dst + at(a, x, y), S / static_cast<float>(n));
    }
}

struct FocusKernel {
    const char* name;
    float c, e;
    Map map;
    void (*buffer)(TaskFuncParams);
    void (*worker)(TaskFuncParams);
};

// Prepass and worker of one focus-stacking scale: a.src, a.w, a.h and a.dst
// describe the image of that scale.
void runFocusScale(const FocusKernel& k, WeightArgs& a)
{
    const TaskFuncParams tmpl = MP_makeTask(a.params, &a);
    if (k.map == Map::L16_16384)
        MP_runSinglePass(rowTask<l16Row>, tmpl, a.h);
    else
        MP_runSinglePass(k.buffer, tmpl, a.h);
    MP_runBandPass(k.worker, tmpl, a.h, 0);
}

WeightArgs focusArgs(const FocusKernel& k, int sizex, int sizey, ushort* src, ushort* dst, MP_Params* params)
{
    WeightArgs a = argsOf(sizex, sizey, src, dst, params);
    a.s.step = 1;
    a.thr = CalcThresholdByResolution(sizex, sizey, k.c * params->p[3][0], k.e, params->p[0][0]);
    a.q = lumWeights(params, 16384.0f);
    return a;
}

void bindScratch(const FocusKernel& k, WeightArgs& a, void* buf, size_t pixels)
{
    a.buf = buf;
    if (k.map == Map::FourSum) {
        a.e = static_cast<float*>(buf);
        a.f = a.e + pixels;
    }
}

int runFocusKernel(const FocusKernel& k, int sizex, int sizey, ushort* src, ushort* dst, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    if (sizex == 0 || sizey == 0)
        return 0;
    WeightArgs a = focusArgs(k, sizex, sizey, src, dst, params);
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    void* buf = MP_UpdateBuffer(pixels * bytesPerPixel(k.map));
    if (!buf)
        return -1;
    bindScratch(k, a, buf, pixels);
    prepareWindowRows(k.name, params, a.s.ks);
    runFocusScale(k, a);
    return 0;
}

struct SumArgs {
    int w;
    int32_t* acc;
    uint16_t* map;
};
void MP_Tasksum_calcPixelHDRfocusstackpyramid(TaskFuncParams t)
{
    const SumArgs* a = MP_taskArgs<const SumArgs>(t);
    const size_t w = static_cast<size_t>(a->w);
    for (size_t i = MP_taskStart(t) * w; i < MP_taskEnd(t) * w; ++i)
        a->acc[i] += a->map[i];
}
void MP_Taskdiv_calcPixelHDRfocusstackpyramid(TaskFuncParams t)
{
    const SumArgs* a = MP_taskArgs<const SumArgs>(t);
    const size_t w = static_cast<size_t>(a->w);
    for (size_t i = MP_taskStart(t) * w; i < MP_taskEnd(t) * w; ++i)
        a->map[i] = static_cast<uint16_t>(a->acc[i] / 3);
}

int runPyramidKernel(const FocusKernel& k, int sizex, int sizey, ushort* src, ushort* dst, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    if (sizex == 0 || sizey == 0)
        return 0;
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    const int halfW = static_cast<int>(0.5f * static_cast<float>(sizex));
    const int halfH = static_cast<int>(0.5f * static_cast<float>(sizey));
    const size_t halfPixels = static_cast<size_t>(halfW) * static_cast<size_t>(halfH);
    void* scratch = MP_UpdateBuffer(pixels * bytesPerPixel(k.map));
    int32_t* acc = static_cast<int32_t*>(std::calloc(pixels, sizeof(int32_t)));
    // The reduced image (RGB48) with its reduced map behind it.
    uint16_t* reduced = static_cast<uint16_t*>(std::malloc(std::max<size_t>(1, halfPixels * 4 * sizeof(uint16_t))));
    if (!scratch || !acc || !reduced) {
        std::free(acc);
        std::free(reduced);
        return -1;
    }
    prepareWindowRows(k.name, params, focusArgs(k, sizex, sizey, src, dst, params).s.ks);

    SumArgs sum{sizex, acc, dst};
    const TaskFuncParams sumTask = MP_makeTask(params, &sum);
    const float scales[3] = {1.0f, 0.5f, 0.25f};
    for (float b : scales) {
        const int Db = static_cast<int>(b * static_cast<float>(sizex));
        const int Hb = static_cast<int>(b * static_cast<float>(sizey));
        if (b == 1.0f) {
            WeightArgs a = focusArgs(k, sizex, sizey, src, dst, params);
            bindScratch(k, a, scratch, pixels);
            runFocusScale(k, a);
        } else if (Db > 0 && Hb > 0) {
            // The same radius and threshold on a smaller picture: the window
            // covers more of it. Too small a picture keeps the previous map.
            const size_t bp = static_cast<size_t>(Db) * static_cast<size_t>(Hb);
            uint16_t* map = reduced + bp * 3;
            MP_MT_zoomPreviewPicture(src, reduced, 0, 0, 0, 0, static_cast<float>(Db), static_cast<float>(Hb),
                                     static_cast<float>(Db), static_cast<float>(sizex), static_cast<float>(sizey), 0.0f,
                                     0.0f, static_cast<float>(sizex), static_cast<float>(sizey));
            WeightArgs a = focusArgs(k, sizex, sizey, src, dst, params);
            a.w = Db;
            a.h = Hb;
            a.src = reduced;
            a.dst = map;
            bindScratch(k, a, scratch, bp);
            runFocusScale(k, a);
            MP_MT_zoomWeightBufferInterpolate(map, dst, 0, 0, 0, 0, static_cast<float>(sizex), static_cast<float>(sizey),
                                              static_cast<float>(sizex), static_cast<float>(Db), static_cast<float>(Hb),
                                              0.0f, 0.0f, static_cast<float>(Db), static_cast<float>(Hb));
        }
        MP_runBandPass(MP_Tasksum_calcPixelHDRfocusstackpyramid, sumTask, sizey, 0);
    }
    MP_runBandPass(MP_Taskdiv_calcPixelHDRfocusstackpyramid, sumTask, sizey, 0);
    std::free(acc);
    std::free(reduced);
    return 0;
}

const FocusKernel kFocusLin{"MP_calcPixelHDRfocusstacklin", 0.13f, 0.0f, Map::L16_16384, nullptr,
                            rowTask<MP_Task_calcPixelHDRfocusstacklin>};
const FocusKernel kFocusLum{"MP_calcPixelHDRfocusstacklum", 0.29f, 0.01f, Map::L16_16384, nullptr,
                            rowTask<MP_Task_calcPixelHDRfocusstacklum>};
const FocusKernel kFocusRgb{"MP_calcPixelHDRfocusstackrgb", 0.32f, 0.05f, Map::FourSum,
                            rowTask<MP_TaskPre2_calcPixelHDRfocusstackrgb>, rowTask<MP_Task_calcPixelHDRfocusstackrgb>};
const FocusKernel kFocusVar{"MP_calcPixelHDRfocusstackvar", 0.2f, 0.05f, Map::FourSum,
                            rowTask<MP_TaskPre2_calcPixelHDRfocusstackvar>, rowTask<MP_Task_calcPixelHDRfocusstackvar>};
const FocusKernel kFocusMse{"MP_calcPixelHDRfocusstackmse", 0.05f, 0.45f, Map::FourSum,
                            rowTask<MP_TaskPre2_calcPixelHDRfocusstackmse>, rowTask<MP_Task_calcPixelHDRfocusstackmse>};
const FocusKernel kFocusMce{"MP_calcPixelHDRfocusstackmce", 0.006f, 0.11f, Map::FourSum,
                            rowTask<MP_TaskPre2_calcPixelHDRfocusstackmce>, rowTask<MP_Task_calcPixelHDRfocusstackmce>};
const FocusKernel kFocusPyramidMse{"MP_calcPixelHDRfocusstackpyramidmse", 0.08f, 0.45f, Map::FourSum,
                                   rowTask<MP_TaskPre2_calcPixelHDRfocusstackmse>,
                                   rowTask<MP_Task_calcPixelHDRfocusstackmse>};
const FocusKernel kFocusPyramidMce{"MP_calcPixelHDRfocusstackpyramidmce", 0.007f, 0.11f, Map::FourSum,
                                   rowTask<MP_TaskPre2_calcPixelHDRfocusstackmce>,
                                   rowTask<MP_Task_calcPixelHDRfocusstackmce>};

// =====================================================================================
// Weight-map blur
// =====================================================================================

inline int wrapIndex(int i, int n)
{
    const int m = i % n;
    return m < 0 ? m + n : m;
}

} // namespace

// =====================================================================================
// Public drivers
// =====================================================================================

int MP_calcPixelHDRaverage(int sizex, int sizey, ushort*, ushort* dst, int, int, MP_Params* params)
{
    if (!dst || !params || sizex < 0 || sizey < 0)
        return -2;
    AverageArgs a{sizex, dst, encodeWeight(params->p[2][0])};
    MP_runBandPass(MP_Task_calcPixelHDRaverage, MP_makeTask(params, &a), sizey, 0);
    return 0;
}

int MP_calcPixelFastHDRentropy(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runTableKernel<MP_TaskPre1_calcPixelFastHDRentropy>(sizex, sizey, src, dst, params);
}

int MP_calcPixelFastHDRdistance(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runTableKernel<MP_TaskPre1_calcPixelFastHDRdistance>(sizex, sizey, src, dst, params);
}

int MP_calcPixelFastHDRabsdist(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runTableKernel<MP_TaskPre1_calcPixelFastHDRabsdist>(sizex, sizey, src, dst, params);
}

int MP_calcPixelFastHDRrgrbgb(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    WeightArgs a = argsOf(sizex, sizey, src, dst, params);
    a.q = lumWeights(params, 16384.0f);
    runTables<MP_TaskPre1_calcPixelFastHDRrgrbgb>(a);
    runMainPass<MP_Task_calcPixelFastHDRrgrbgb>(a);
    return 0;
}

int MP_calcPixelHDRlinear(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    static const WindowKernel k{"MP_calcPixelHDRlinear", Map::L16_16383, false, false,
                                indexTask<MP_TaskPre1_calcPixelHDRlinear>, nullptr,
                                rowTask<MP_Task_calcPixelHDRlinear>};
    return runWindowKernel(k, sizex, sizey, src, dst, params);
}

int MP_calcPixelHDRloglinear(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    static const WindowKernel k{"MP_calcPixelHDRloglinear", Map::Float1, true, false,
                                indexTask<MP_TaskPre1_calcPixelHDRloglinear>,
                                rowTask<MP_TaskPre2_calcPixelHDRloglinear>, rowTask<MP_Task_calcPixelHDRloglinear>};
    return runWindowKernel(k, sizex, sizey, src, dst, params);
}

int MP_calcPixelHDRquadriclinear(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    static const WindowKernel k{"MP_calcPixelHDRquadriclinear", Map::L16_16384, true, false,
                                indexTask<MP_TaskPre1_calcPixelHDRquadriclinear>, nullptr,
                                rowTask<MP_Task_calcPixelHDRquadriclinear>};
    return runWindowKernel(k, sizex, sizey, src, dst, params);
}

int MP_calcPixelHDRsatlig(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    static const WindowKernel k{"MP_calcPixelHDRsatlig", Map::Float2, true, false,
                                indexTask<MP_TaskPre1_calcPixelHDRsatlig>, rowTask<MP_TaskPre2_calcPixelHDRsatlig>,
                                rowTask<MP_Task_calcPixelHDRsatlig>};
    return runWindowKernel(k, sizex, sizey, src, dst, params);
}

int MP_calcPixelHDRlumrgb(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    static const WindowKernel k{"MP_calcPixelHDRlumrgb", Map::Float2, true, false,
                                indexTask<MP_TaskPre1_calcPixelHDRlumrgb>, rowTask<MP_TaskPre2_calcPixelHDRlumrgb>,
                                rowTask<MP_Task_calcPixelHDRlumrgb>};
    return runWindowKernel(k, sizex, sizey, src, dst, params);
}

int MP_calcPixelHDRlumentropy(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    static const WindowKernel k{"MP_calcPixelHDRlumentropy", Map::L16_16384, true, false,
                                indexTask<MP_TaskPre1_calcPixelHDRlumentropy>, nullptr,
                                rowTask<MP_Task_calcPixelHDRlumentropy>};
    return runWindowKernel(k, sizex, sizey, src, dst, params);
}

int MP_calcPixelHDRdetail(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    static const WindowKernel k{"MP_calcPixelHDRdetail", Map::FourSum, false, true, nullptr,
                                rowTask<MP_TaskPre2_calcPixelHDRdetail>, rowTask<MP_Task_calcPixelHDRdetail>};
    return runWindowKernel(k, sizex, sizey, src, dst, params);
}

int MP_calcPixelHDRrgbdetail(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    static const WindowKernel k{"MP_calcPixelHDRrgbdetail", Map::FourSum, false, true, nullptr,
                                rowTask<MP_TaskPre2_calcPixelHDRrgbdetail>, rowTask<MP_Task_calcPixelHDRdetail>};
    return runWindowKernel(k, sizex, sizey, src, dst, params);
}

int MP_calcPixelHDRdistance(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    WeightArgs a = argsOf(sizex, sizey, src, dst, params);
    if (sizex == 0 || sizey == 0)
        return 0;
    if (obtainScratch(a, sizeof(float)) != 0)
        return -1;
    prepareWindowRows(nullptr, params, a.s.ks);
    fillSpatialWeightsHere(a);
    const float e = 0.001f + 1.99f * params->p[1][0];
    for (int i = 0; i < 65536; ++i)
        MP_temp_table[i] = tableValue(i) * MP_pow(1.0f - tableValue(i), e);
    luminanceMapHere(a, false);
    const float* L = static_cast<const float*>(a.buf);
    rowsHere(a, [&](int x, int y) {
        const float L0 = L[at(a, x, y)];
        float sd = 0.0f, sv = 0.0f;
        forWindow(params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const float Ls = L[at(a, sx, sy)];
            const float d = spatial(kx, ky) / (MP_fabs(L0 - Ls) + 0.001f);
            sd += d;
            sv += d * MP_temp_table[MP_tableIndex(Ls)];
        });
        return encodeWeight((1.0f - MP_fabs(a.s.dn - L0)) * (sv / sd) * a.s.wt);
    });
    return 0;
}

int MP_calcPixelHDRrgrbgb(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    WeightArgs a = argsOf(sizex, sizey, src, dst, params);
    prepareWindowRows(nullptr, params, a.s.ks);
    const float lr = params->lumr, lg = params->lumg, lb = params->lumb;
    rowsHere(a, [&](int x, int y) {
        const float L0 = lumFloat(pixel(a, x, y), params);
        float sd = 0.0f, sv = 0.0f;
        forWindow(params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const uint16_t* px = pixel(a, sx, sy);
            const float R = static_cast<float>(px[0]) * MP_k, G = static_cast<float>(px[1]) * MP_k,
                        B = static_cast<float>(px[2]) * MP_k;
            const float d = gaussianSpatial(kx, ky, a.s.ks) / (MP_fabs(L0 - lumFloat(px, params)) + 0.001f);
            sd += d;
            sv += d * MP_pow(MP_fabs(R - G) * lb + MP_fabs(R - B) * lg + MP_fabs(G - B) * lr, a.s.bp);
        });
        return encodeWeight((1.0f - MP_fabs(a.s.dn - L0)) * (sv / sd) * a.s.wt);
    });
    return 0;
}

int MP_calcPixelHDRgradient(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    WeightArgs a = argsOf(sizex, sizey, src, dst, params);
    prepareWindowRows(nullptr, params, a.s.ks);
    rowsHere(a, [&](int x, int y) {
        const uint16_t* c = pixel(a, x, y);
        const MP_float3 c0 = MP_loadRGB48(c);
        const float L0 = lumFloat(c, params);
        float sd = 0.0f, mr = 0.0f, mg = 0.0f, mb = 0.0f;
        forWindow(params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const uint16_t* px = pixel(a, sx, sy);
            const MP_float3 cs = MP_loadRGB48(px);
            const float d = gaussianSpatial(kx, ky, a.s.ks) / (MP_fabs(L0 - lumFloat(px, params)) + 0.001f);
            sd += d;
            mr += d * MP_fabs(cs.x - c0.x);
            mg += d * MP_fabs(cs.y - c0.y);
            mb += d * MP_fabs(cs.z - c0.z);
        });
        const float M = (mr / sd) * params->lumr + (mg / sd) * params->lumg + (mb / sd) * params->lumb;
        return encodeWeight((1.0f - MP_fabs(a.s.dn - L0)) * M * a.s.wt);
    });
    return 0;
}

int MP_calcPixelHDRentropy(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    WeightArgs a = argsOf(sizex, sizey, src, dst, params);
    if (sizex == 0 || sizey == 0)
        return 0;
    if (obtainScratch(a, sizeof(float)) != 0)
        return -1;
    prepareWindowRows(nullptr, params, a.s.ks);
    luminanceMapHere(a, true);
    const float* L = static_cast<const float*>(a.buf);
    rowsHere(a, [&](int x, int y) {
        const float L0 = L[at(a, x, y)];
        float sd = 0.0f, sv = 0.0f;
        forWindow(params, a.w, a.h, a.s.ks, a.s.step, x, y, [&](int sx, int sy, int kx, int ky) {
            const float Ls = L[at(a, sx, sy)];
            const float d = gaussianSpatial(kx, ky, a.s.ks) / (MP_fabs(L0 - Ls) + 0.001f);
            sd += d;
            sv += d * Ls * MP_log2(0.999f * Ls + 0.001f);
        });
        return encodeWeight((1.0f - MP_fabs(a.s.dn - L0)) * (-sv / sd) * a.s.wt);
    });
    return 0;
}

int MP_calcPixelHDRfocusstacklin(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runFocusKernel(kFocusLin, sizex, sizey, src, dst, params);
}
int MP_calcPixelHDRfocusstacklum(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runFocusKernel(kFocusLum, sizex, sizey, src, dst, params);
}
int MP_calcPixelHDRfocusstackrgb(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runFocusKernel(kFocusRgb, sizex, sizey, src, dst, params);
}
int MP_calcPixelHDRfocusstackvar(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runFocusKernel(kFocusVar, sizex, sizey, src, dst, params);
}
int MP_calcPixelHDRfocusstackmse(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runFocusKernel(kFocusMse, sizex, sizey, src, dst, params);
}
int MP_calcPixelHDRfocusstackmce(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runFocusKernel(kFocusMce, sizex, sizey, src, dst, params);
}
int MP_calcPixelHDRfocusstackpyramidmse(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runPyramidKernel(kFocusPyramidMse, sizex, sizey, src, dst, params);
}
int MP_calcPixelHDRfocusstackpyramidmce(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return runPyramidKernel(kFocusPyramidMce, sizex, sizey, src, dst, params);
}

float CalcThresholdByResolution(int width, int height, float threshold, float exponent, float radius)
{
    const float mp = static_cast<float>(static_cast<int64_t>(width) * static_cast<int64_t>(height)) / 1000000.0f;
    if (mp > 1.0f)
        threshold = threshold / MP_pow(mp, exponent);
    if (radius > 0.75f)
        return ((0.75f - radius) * 1.8f + 1.0f) * threshold;
    return ((0.75f - radius) * 3.5f + 1.0f) * threshold;
}

int MP_calcPixelHDRlinBlurHorVer(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (int r = checkArgs(sizex, sizey, src, dst, params))
        return r;
    int r = MP_safeTrunc(params->p[0][0] / params->p[1][0], 0, 1 << 20);
    const int passes = MP_safeTrunc(params->p[1][0], 0, MP_MAX_BLUR_PASSES);
    if (r <= 0 || passes < 1 || sizex == 0 || sizey == 0)
        return 0;
    const size_t w = static_cast<size_t>(sizex);
    uint16_t* scratch = static_cast<uint16_t*>(std::malloc(w * static_cast<size_t>(sizey) * sizeof(uint16_t)));
    int64_t* acc = static_cast<int64_t*>(std::malloc(w * sizeof(int64_t)));
    if (!scratch || !acc) {
        std::free(scratch);
        std::free(acc);
        return -1;
    }
    const bool panorama = MP_UI_GetPanoramaMode() != 0;
    const int h = sizey;
    for (int pass = 0; pass < passes; ++pass) {
        r = std::min(r, sizex - 1);
        if (r < 1)
            break; // a map one pixel wide has no window to average
        const int64_t f = 65536 / (2 * r);
        auto column = [&](int i) { return panorama ? wrapIndex(i, sizex) : MP_iclamp(i, 0, sizex - 1); };
        // Horizontal, source to scratch: the 2r samples x - r + 1 .. x + r.
        for (int y = 0; y < h; ++y) {
            const uint16_t* in = src + static_cast<size_t>(y) * w;
            uint16_t* out = scratch + static_cast<size_t>(y) * w;
            int64_t sum = 0;
            for (int i = -r; i < r; ++i)
                sum += in[column(i)];
            for (int x = 0; x < sizex; ++x) {
                sum += in[column(x + r)];
                sum -= in[column(x - r)];
                out[x] = static_cast<uint16_t>((f * (sum >> 8)) >> 8);
            }
        }
        // Vertical, scratch to destination; rows always clamped.
        for (size_t x = 0; x < w; ++x)
            acc[x] = 0;
        for (int i = -r; i < r; ++i) {
            const uint16_t* in = scratch + static_cast<size_t>(MP_iclamp(i, 0, h - 1)) * w;
            for (size_t x = 0; x < w; ++x)
                acc[x] += in[x];
        }
        for (int y = 0; y < h; ++y) {
            const uint16_t* add = scratch + static_cast<size_t>(std::min(y + r, h - 1)) * w;
            const uint16_t* sub = scratch + static_cast<size_t>(std::max(y - r, 0)) * w;
            uint16_t* out = dst + static_cast<size_t>(y) * w;
            for (size_t x = 0; x < w; ++x) {
                acc[x] += add[x];
                acc[x] -= sub[x];
                out[x] = static_cast<uint16_t>((f * (acc[x] >> 8)) >> 8);
            }
        }
    }
    std::free(scratch);
    std::free(acc);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelHDRaverage", MP_calcPixelHDRaverage},
    {"MP_calcPixelFastHDRentropy", MP_calcPixelFastHDRentropy},
    {"MP_calcPixelFastHDRdistance", MP_calcPixelFastHDRdistance},
    {"MP_calcPixelFastHDRrgrbgb", MP_calcPixelFastHDRrgrbgb},
    {"MP_calcPixelFastHDRabsdist", MP_calcPixelFastHDRabsdist},
    {"MP_calcPixelHDRlumentropy", MP_calcPixelHDRlumentropy},
    {"MP_calcPixelHDRlumrgb", MP_calcPixelHDRlumrgb},
    {"MP_calcPixelHDRlinear", MP_calcPixelHDRlinear},
    {"MP_calcPixelHDRloglinear", MP_calcPixelHDRloglinear},
    {"MP_calcPixelHDRquadriclinear", MP_calcPixelHDRquadriclinear},
    {"MP_calcPixelHDRsatlig", MP_calcPixelHDRsatlig},
    {"MP_calcPixelHDRdetail", MP_calcPixelHDRdetail},
    {"MP_calcPixelHDRrgbdetail", MP_calcPixelHDRrgbdetail},
    {"MP_calcPixelHDRfocusstacklin", MP_calcPixelHDRfocusstacklin},
    {"MP_calcPixelHDRfocusstacklum", MP_calcPixelHDRfocusstacklum},
    {"MP_calcPixelHDRfocusstackrgb", MP_calcPixelHDRfocusstackrgb},
    {"MP_calcPixelHDRfocusstackvar", MP_calcPixelHDRfocusstackvar},
    {"MP_calcPixelHDRfocusstackmse", MP_calcPixelHDRfocusstackmse},
    {"MP_calcPixelHDRfocusstackmce", MP_calcPixelHDRfocusstackmce},
    {"MP_calcPixelHDRfocusstackpyramidmse", MP_calcPixelHDRfocusstackpyramidmse},
    {"MP_calcPixelHDRfocusstackpyramidmce", MP_calcPixelHDRfocusstackpyramidmce},
    {"MP_calcPixelHDRlinBlurHorVer", MP_calcPixelHDRlinBlurHorVer},
};
} // namespace

extern const MP_DriverTable MP_drivers_hdrweights = MP_driverTable(kDrivers);
