#include "engine/hdr/tonemapping.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/progress.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/core/tables.h"
#include "engine/core/textures.h"
#include "engine/core/windowsize.h"
#include "engine/core/windowweights.h"
#include "engine/hdr/tmwindow.h"

#include <cstring>

float MP_litemp_table[MP_LITEMP_TABLE_SIZE];

namespace {

using namespace mp_tm;

constexpr int kGeoSlot = 7;
constexpr int kComboSlot = 6;
constexpr int kSplineSlot = 5;
constexpr int kMaxHalfWidth = MP_LOCALEXP_COLUMN_RADIUS;

// ---- Small helpers ------------------------------------------------------------------

inline MP_float3 scale(MP_float3 c, float s) { return {c.x * s, c.y * s, c.z * s}; }
inline float dot(MP_float3 a, MP_float3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The 14-bit integer weights of the luminance plane, each held to 0..16384.
inline int weight14(float w) { return MP_safeTrunc(w * 16384.0f, 0, 16384); }

// (wr*R + wg*G + wb*B) >> 14; with weights of 0..16384 the sum stays inside
// 32 unsigned bits, and a luminance never exceeds 65535.
inline ushort lum14(const ushort* px, unsigned wr, unsigned wg, unsigned wb)
{
    const unsigned v = (wr * px[0] + wg * px[1] + wb * px[2]) >> 14;
    return static_cast<ushort>(v > 65535u ? 65535u : v);
}

// The pixel's luminance as a table index: (int)(65535 * lum0), held to 0..65535.
inline int lumIndex(float lum0) { return MP_safeTrunc(65535.0f * lum0, 0, 65535); }

inline int taskCount() { return MP_UI_GetIdealThreadCount() < 1 ? 1 : MP_UI_GetIdealThreadCount(); }

// ---- Light-compression table ---------------------------------------------------------

struct LITableArgs {
    float e;
};

void fillLITable(int start, int end, float e)
{
    for (int i = start; i < end; ++i)
        MP_litemp_table[i] = MP_pow(static_cast<float>(i) * MP_k, e);
}

void MP_TaskPre_calcPixelLItable(TaskFuncParams t)
{
    fillLITable(MP_taskStart(t), MP_taskEnd(t), MP_taskArgs<LITableArgs>(t)->e);
}

inline float liExponent(float licomp) { return (licomp * 0.999f + 1.0f) + 0.001f; }

// ---- Luminance plane -----------------------------------------------------------------

// The 16-bit luminance plane with `pad` columns on both sides of every row
// (the wrapped columns in panorama mode, zeros otherwise), so that the window
// walkers read whole vectors without testing each column.
struct LumPlane {
    const ushort* src;
    ushort* plane; // column 0 of row 0
    ptrdiff_t stride;
    int width, pad;
    unsigned wr, wg, wb;
    bool panorama;
};

void fillLumRows(const LumPlane& a, int start, int end)
{
    const int w = a.width;
    for (int y = start; y < end; ++y) {
        const ushort* s = a.src + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        ushort* row = a.plane + static_cast<ptrdiff_t>(y) * a.stride;
        for (int x = 0; x < w; ++x, s += 3)
            row[x] = lum14(s, a.wr, a.wg, a.wb);
        for (int i = 1; i <= a.pad; ++i) {
            row[-i] = a.panorama ? row[((-i % w) + w) % w] : 0;
            row[w - 1 + i] = a.panorama ? row[(w - 1 + i) % w] : 0;
        }
    }
}

// The luminance plane of src for windows reaching `widest` columns to either
// side: its rows padded by widest + kChunk columns each side, in the working
// buffer. False when the buffer cannot be had.
bool obtainLumPlane(LumPlane& plane, const ushort* src, int sizex, int sizey, int widest, bool panorama,
                    const MP_Params* params)
{
    const int pad = widest + kChunk;
    const ptrdiff_t stride = static_cast<ptrdiff_t>(sizex) + 2 * pad;
    ushort* buffer = static_cast<ushort*>(MP_UpdateBuffer(static_cast<size_t>(stride) * sizey * sizeof(ushort)));
    if (!buffer)
        return false;
    plane = LumPlane{src,
                     buffer + pad,
                     stride,
                     sizex,
                     pad,
                     static_cast<unsigned>(weight14(params->lumr)),
                     static_cast<unsigned>(weight14(params->lumg)),
                     static_cast<unsigned>(weight14(params->lumb)),
                     panorama};
    return true;
}

void lumPlaneTask(TaskFuncParams t) { fillLumRows(*MP_taskArgs<LumPlane>(t), MP_taskStart(t), MP_taskEnd(t)); }

// ---- Statistics of one pixel -----------------------------------------------------------

struct Local {
    float lumsum;  // local mean 0..1
    float lumdist; // local distance (absolute or signed)
    float lumdet;  // local detail
    int m16;       // local mean as a 16-bit index
};

// A window that holds no sample of the image (an image narrower or lower
// than the step can leave one) takes the pixel itself as its only sample.
void centreSample(float* lumd, float* mean, float* dist, float* det, int K, int L, bool signedDist)
{
    const int d = K - L;
    const int a = d < 0 ? -d : d;
    const float w = localexp[MP_localexpIndex(0, 0)] * rangeWeight(static_cast<float>(a));
    *lumd = w;
    *mean = static_cast<float>(L) * w;
    *dist = static_cast<float>(signedDist ? d : a) * w;
    const float root = rootDifference(static_cast<float>(a));
    *det = (d < 0 ? -root : root) * w;
}

// ---- The operators ---------------------------------------------------------------------

struct TMArgs {
    MP_DriverRun run;
    int r = 1, step = 1;
    float t = 0.0f;       // strength value
    float detail = 0.0f, microdetail = 0.0f, licomp = 0.0f;
    float B = 0.0f;       // TMmeanlog: log2(1 + v)^v
    Window win{};
    StatsFn stats = nullptr;
    ColourWindow cwin{};
    ColourStatsFn colourStats = nullptr;
    TailFn tail = nullptr;
    const ChunkSteps* steps = nullptr;
    ushort* out = nullptr; // TMmeandiff: the scratch image the worker writes
    int halfWidth[2 * MP_MAX_TM_KERNELSIZE + 1] = {};
};

// Per operator: the sums its statistics need, its spatial profile, its
// damping constant, its strength value, and its gain from the light-compressed
// colour c: gain() per pixel, or with kFormula the lane-by-lane step of
// ChunkSteps that computes it (see FormulaGain).
struct TMfattal {
    static constexpr const char* kName = "MP_calcPixelTMfattal";
    static constexpr unsigned kSums = kSumMean | kSumAbs;
    static constexpr bool kGaussian = false, kReduced = false;
    static constexpr FormulaGain kFormula = FormulaGain::None;
    static constexpr float kDamping = 0.9f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
    static MP_float3 gain(const TMArgs& a, MP_float3 c, float, int, const Local& s)
    {
        const float t = a.t;
        float f = 0.0f;
        if (s.lumsum > 0.0f)
            f = (t / s.lumsum) * MP_pow(s.lumsum * (1.0f / t), s.lumdist + 0.05f);
        return scale(c, f * t + (1.0f - t));
    }
};

struct TMmeanlog {
    static constexpr const char* kName = "MP_calcPixelTMmeanlog";
    static constexpr unsigned kSums = kSumMean;
    static constexpr bool kGaussian = true, kReduced = true;
    static constexpr FormulaGain kFormula = FormulaGain::MeanLog; // the gain lane by lane
    static constexpr float kDamping = 0.8f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
};

struct TMmeanlin {
    static constexpr const char* kName = "MP_calcPixelTMmeanlin";
    static constexpr unsigned kSums = kSumMean;
    static constexpr bool kGaussian = true, kReduced = false;
    static constexpr FormulaGain kFormula = FormulaGain::MeanLin; // the gain lane by lane
    static constexpr float kDamping = 0.8f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
};

struct TMmeanexp {
    static constexpr const char* kName = "MP_calcPixelTMmeanexp";
    static constexpr unsigned kSums = kSumMean;
    static constexpr bool kGaussian = true, kReduced = false;
    static constexpr FormulaGain kFormula = FormulaGain::None;
    static constexpr float kDamping = 0.8f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
    static MP_float3 gain(const TMArgs& a, MP_float3 c, float lum0, int, const Local& s)
    {
        const float v = 0.999f * a.t;
        float q = 1.0f;
        if (s.lumsum > 0.0f)
            q = MP_pow(((lum0 + v) * 0.5f) / s.lumsum, 1.5f * v);
        return scale(c, q);
    }
};

struct TMintense {
    static constexpr const char* kName = "MP_calcPixelTMintense";
    static constexpr unsigned kSums = 0;
    static constexpr bool kGaussian = false, kReduced = false;
    static constexpr FormulaGain kFormula = FormulaGain::None;
    static constexpr float kDamping = 0.9f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
    static MP_float3 gain(const TMArgs& a, MP_float3 c, float lum0, int, const Local& s)
    {
        const float t = a.t;
        const float ga = 0.4f * t + 0.1f;
        const float gb = 1.0f - 0.25f * t;
        const float q1 = lum0 > 0.0f ? ga / lum0 * 1.5f : 0.0f;
        const float q2 = MP_max(0.001f, gb - s.lumdet);
        return {MP_pow(q1 * c.x, q2), MP_pow(q1 * c.y, q2), MP_pow(q1 * c.z, q2)};
    }
};

struct TMgradlum {
    static constexpr const char* kName = "MP_calcPixelTMgradlum";
    static constexpr unsigned kSums = kSumMean | kSumAbs;
    static constexpr bool kGaussian = false, kReduced = false;
    static constexpr FormulaGain kFormula = FormulaGain::GradLum; // the gain lane by lane
    static constexpr float kDamping = 0.8f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
};

struct TMconstgradlum {
    static constexpr const char* kName = "MP_calcPixelTMconstgradlum";
    static constexpr unsigned kSums = kSumMean | kSumAbs;
    static constexpr bool kGaussian = false, kReduced = false;
    static constexpr FormulaGain kFormula = FormulaGain::ConstGradLum; // the gain lane by lane
    static constexpr float kDamping = 0.8f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
};

struct TMsigmoid {
    static constexpr const char* kName = "MP_calcPixelTMsigmoid";
    static constexpr unsigned kSums = kSumSigned;
    static constexpr bool kGaussian = false, kReduced = false;
    static constexpr FormulaGain kFormula = FormulaGain::None;
    static constexpr float kDamping = 0.8f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
    static MP_float3 gain(const TMArgs& a, MP_float3 c, float lum0, int K, const Local& s)
    {
        const float t = a.t;
        const float n = 1.0f / MP_sqrt(dot(c, c) + 0.001f);
        const float z = MP_exp(16.0f * s.lumdist) * MP_exp(-4.0f * (2.0f * MP_log2_table[K] - 1.0f));
        const float v = 1.0f / (1.0f + z);
        const float q = lum0 / v;
        const auto ch = [&](float x) { return x * (1.0f - t) + (x + x * n) * t * 0.5f * q; };
        return {ch(c.x), ch(c.y), ch(c.z)};
    }
};

struct TMlummeangrad {
    static constexpr const char* kName = "MP_calcPixelTMlummeangrad";
    static constexpr unsigned kSums = kSumMean | kSumSigned;
    static constexpr bool kGaussian = false, kReduced = false;
    static constexpr FormulaGain kFormula = FormulaGain::None;
    static constexpr float kDamping = 0.8f;
    static float strength(const MP_Params* p) { return p->p[1][0] + 0.001f; }
    static MP_float3 gain(const TMArgs& a, MP_float3 c, float, int, const Local& s)
    {
        const float t = a.t;
        const float e = 1.0f - 0.5f * t;
        const float g = s.lumdist;
        const float base = 1.0f / (0.01f + s.lumsum);
        const float G = g >= 0.0f ? base + MP_pow(MP_fabs(g), e) : base - MP_pow(MP_fabs(g), e);
        const auto ch = [&](float v) { return v * (1.0f - t) + v * t * G; };
        return {ch(c.x), ch(c.y), ch(c.z)};
    }
};

// The local statistics of pixel i of a chunk (frame, worker step 6).
template <class Op> Local finishStats(const Stats& st, int i, int K, const Window& win, int x, int y)
{
    float lumd = st.lumd[i], mean = st.mean[i], dist = st.dist[i], det = st.det[i];
    if (!(lumd > 0.0f))
        centreSample(&lumd, &mean, &dist, &det, K, win.lum[static_cast<ptrdiff_t>(y) * win.stride + x],
                     (Op::kSums & kSumSigned) != 0);
    const float inv = 1.0f / lumd;
    const float kinv = MP_k * inv;
    Local s;
    s.lumsum = kinv * mean;
    s.lumdist = kinv * dist;
    s.lumdet = inv * det;
    s.m16 = MP_safeTrunc(s.lumsum * 65535.0f, 0, 65535);
    return s;
}

// Whether the full worker's per-pixel end comes down to the reduced one's:
// no geometry (opacity 1, whose blend gives the effect's bits), no blend mode,
// full opacity and a mask table. The mask index of the frame,
// MP_tableIndex(lumr*R + lumg*G + lumb*B), is then the pixel's K.
inline bool plainEnd(const MP_DriverRun& run, bool geometry)
{
    return !geometry && run.mode <= 0 && !(run.opacity < 1.0f) && run.maskTable != nullptr;
}

// The band worker: each row in chunks of kChunk pixels. For a chunk: the
// source colours, the window statistics, each pixel's light compression and
// gain, the common tail of all of them, then per pixel the frame's steps
// (full: geometry opacity, mask, blend, geometry blend; reduced: mask,
// channels clamped to 0..65535). The steps but the gain go lane by lane
// (ChunkSteps), each with the operations of the per-pixel formulas.
template <class Op, bool Full> void tmWorker(TaskFuncParams task)
{
    const TMArgs& a = *MP_taskArgs<TMArgs>(task);
    const MP_DriverRun& run = a.run;
    const MP_Params* p = run.params;
    const ChunkSteps& steps = *a.steps;
    const bool geometry = p->geometry_needed != 0;
    const TailParams tp{p->lumr, p->lumg, p->lumb, Op::kDamping, a.detail, a.microdetail};
    Stats st{};
    TailChunk tc{};
    int K[kChunk] = {};
    for (int y = MP_taskStart(task); y < MP_taskEnd(task); ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        const ushort* s = run.src + row;
        ushort* d = run.dst + row;
        for (int x0 = 0; x0 < run.width; x0 += kChunk) {
            const int n = MP_imin(kChunk, run.width - x0);
            steps.load(s + 3 * x0, n, tp, tc, K);
            a.stats(a.win, y, x0, n, K, st);
            for (uint64_t empty = steps.local(st, n, tc); empty != 0; empty &= empty - 1) {
                const int i = __builtin_ctzll(empty);
                const Local loc = finishStats<Op>(st, i, K[i], a.win, x0 + i, y);
                tc.lumsum[i] = loc.lumsum;
                tc.lumdist[i] = loc.lumdist;
                tc.lumdet[i] = loc.lumdet;
                tc.m16[i] = loc.m16;
            }
            steps.compress(tc, n, a.licomp, MP_litemp_table);
            if constexpr (Op::kFormula == FormulaGain::MeanLog) {
                steps.tableGain(tc, n, a.B, MP_temp4_table);
            } else if constexpr (Op::kFormula != FormulaGain::None) {
                steps.formulaGain(Op::kFormula, tc, n, a.t);
            } else {
                for (int i = 0; i < n; ++i) {
                    const Local loc{tc.lumsum[i], tc.lumdist[i], tc.lumdet[i], tc.m16[i]};
                    const MP_float3 ce =
                        Op::gain(a, {tc.c0b[0][i], tc.c0b[1][i], tc.c0b[2][i]}, tc.lum0[i], K[i], loc);
                    tc.ce[0][i] = ce.x;
                    tc.ce[1][i] = ce.y;
                    tc.ce[2][i] = ce.z;
                }
            }
            a.tail(tc, n, tp);
            if (Full && !plainEnd(run, geometry)) {
                for (int i = 0; i < n; ++i) {
                    const int x = x0 + i;
                    const MP_float3 e{tc.out[0][i], tc.out[1][i], tc.out[2][i]};
                    MP_fullWorkerPixel(run, geometry, x, y, {tc.c0[0][i], tc.c0[1][i], tc.c0[2][i]}, d + 3 * x,
                                       [&] { return e; });
                }
            } else {
                steps.storeBlend(tc, K, Full ? run.maskTable : MP_temp3_table, n, d + 3 * x0);
            }
        }
    }
}

// ---- Lookup-table prepass --------------------------------------------------------------

struct TableArgs {
    const MP_Params* params;
    float v; // TMmeanlog: 0.999 * t
    bool range, root, mask, logGain;
};

void maskTableRange(const MP_Params* p, int start, int end)
{
    const float* k = p->p[kSplineSlot];
    MP_cubicSplineTable(start, end, MP_temp3_table, k[0], k[2], k[4], k[6], k[8], k[10], k[1], k[3], k[5], k[7], k[9],
                        k[11]);
}

void tablesTask(TaskFuncParams t)
{
    const TableArgs& a = *MP_taskArgs<TableArgs>(t);
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    for (int i = start; i < end; ++i) {
        const float fi = static_cast<float>(i);
        if (a.range)
            MP_temp_table[i] = rangeWeight(fi);
        if (a.root)
            MP_temp2_table[i] = rootDifference(fi);
        if (a.logGain)
            MP_temp4_table[i] = 1.0f / MP_pow(MP_log2_table[i], a.v);
    }
    if (a.mask)
        maskTableRange(a.params, start, end);
}

void runTables(const MP_Params* params, float v, bool range, bool root, bool mask, bool logGain)
{
    TableArgs a{params, v, range, root, mask, logGain};
    MP_runTablePass(tablesTask, MP_makeTask(nullptr, &a));
}

// ---- The driver ------------------------------------------------------------------------

// Steps common to every driver: slots, radius, step and spatial scale,
// geometry, the window's row widths. Returns 0 or the frame's error.
int beginTM(TMArgs& a, const char* kernel, int sizex, int sizey, ushort* src, ushort* dst,
            MP_Params* params)
{
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return e;
    MP_calcTMRadius(params, &a.r, &a.step);
    MP_completeRowWidths(kernel, params, a.r);
    for (int ky = -a.r; ky <= a.r; ++ky)
        a.halfWidth[ky + a.r] = MP_windowRowHalfWidth(params, ky);
    return 0;
}

float spatialScale(bool gaussian, int r)
{
    return MP_windowWeightScale(r, gaussian ? MP_WindowWeights::Gaussian : MP_WindowWeights::Box);
}

void finishArgs(TMArgs& a, const MP_Params* params)
{
    a.detail = params->p[3][0];
    a.microdetail = params->p[4][0];
    a.licomp = params->p[2][0];
    a.run.maskTable = MP_temp3_table;
}

template <class Op> int tmDriver(int sizex, int sizey, ushort* src, ushort* dst, MP_Params* params)
{
    TMArgs a;
    if (int e = beginTM(a, Op::kName, sizex, sizey, src, dst, params))
        return e;
    if (sizex == 0 || sizey == 0)
        return 0;

    int widest = 0;
    for (int h : a.halfWidth)
        widest = MP_imax(widest, h);
    // Luminance plane.
    const bool panorama = MP_UI_GetPanoramaMode() != 0;
    LumPlane plane;
    if (!obtainLumPlane(plane, src, sizex, sizey, widest, panorama, params))
        return -1;
    MP_runSinglePass(lumPlaneTask, MP_makeTask(params, &plane), sizey);

    // Spatial weights.
    MP_runWindowWeightsPass(a.r, spatialScale(Op::kGaussian, a.r), params);

    // Lookup tables.
    a.t = Op::strength(params);
    const float v = 0.999f * a.t;
    runTables(params, v, true, true, true, Op::kReduced);
    if constexpr (Op::kReduced)
        a.B = MP_pow(MP_log2_table[MP_tableIndex(v)], v);

    MP_Pre_calcPixelLItable(params->p[2][0]);

    finishArgs(a, params);
    a.win = Window{plane.plane, plane.stride, plane.pad, sizex, sizey, a.r, a.step, panorama, a.halfWidth};
    a.stats = statsFunction(Op::kSums);
    a.tail = tailFunction();
    a.steps = &chunkSteps();
    MP_TaskFunc reduced = nullptr;
    if constexpr (Op::kReduced)
        reduced = tmWorker<Op, false>;
    return MP_runDriverBands(a.run, &a, tmWorker<Op, true>, reduced, 1);
}

// ---- TMmeandiff ------------------------------------------------------------------------

void meandiffWorker(TaskFuncParams task)
{
    const TMArgs& a = *MP_taskArgs<TMArgs>(task);
    const MP_DriverRun& run = a.run;
    const MP_Params* p = run.params;
    const bool geometry = p->geometry_needed != 0;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    const TailParams tp{lr, lg, lb, 0.8f, a.detail, a.microdetail};
    const float s = a.t;
    const ChunkSteps& steps = *a.steps;
    ColourStats st{};
    TailChunk tc{};
    int K[kChunk] = {};
    for (int y = MP_taskStart(task); y < MP_taskEnd(task); ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        const ushort* src = run.src + row;
        ushort* out = (a.out ? a.out : run.dst) + row;
        for (int x0 = 0; x0 < run.width; x0 += kChunk) {
            const int n = MP_imin(kChunk, run.width - x0);
            steps.load(src + 3 * x0, n, tp, tc, K);
            a.colourStats(a.cwin, y, x0, n, K, st);
            steps.compress(tc, n, a.licomp, MP_litemp_table);
            for (uint64_t empty = steps.colourGain(st, n, s, tc); empty != 0; empty &= empty - 1) {
                // No sample in the window: the pixel itself, with the same formulas.
                const int i = __builtin_ctzll(empty);
                const ushort* px = src + 3 * (x0 + i);
                const int L = lum14(px, a.cwin.wr, a.cwin.wg, a.cwin.wb);
                const int d = K[i] - L;
                const int ad = d < 0 ? -d : d;
                const float lumd = localexp[MP_localexpIndex(0, 0)] * rangeWeight(static_cast<float>(ad));
                const float mean = static_cast<float>(L) * lumd;
                const float root = MP_sqrt_table[ad];
                const float det = (d < 0 ? -root : root) * lumd;
                const MP_float3 sum{0.01f + static_cast<float>(px[0]) * lumd, 0.01f + static_cast<float>(px[1]) * lumd,
                                    0.01f + static_cast<float>(px[2]) * lumd};
                const float inv = 1.0f / lumd;
                const float kinv = MP_k * inv;
                const MP_float3 colora = scale(sum, kinv);
                const float meanp = kinv * mean + 0.001f;
                const MP_float3 c{tc.c0b[0][i], tc.c0b[1][i], tc.c0b[2][i]};
                const float q = (tc.lum0[i] + 0.001f) / meanp * s;
                const float len = MP_sqrt(dot(colora, colora) + 0.001f);
                tc.ce[0][i] = (1.0f - s) * c.x + colora.x * q / len;
                tc.ce[1][i] = (1.0f - s) * c.y + colora.y * q / len;
                tc.ce[2][i] = (1.0f - s) * c.z + colora.z * q / len;
                tc.lumdet[i] = inv * det;
            }
            a.tail(tc, n, tp);
            if (plainEnd(run, geometry)) {
                steps.storeBlend(tc, K, run.maskTable, n, out + 3 * x0);
                continue;
            }
            for (int i = 0; i < n; ++i) {
                const int x = x0 + i;
                const MP_float3 e{tc.out[0][i], tc.out[1][i], tc.out[2][i]};
                MP_fullWorkerPixel(run, geometry, x, y, {tc.c0[0][i], tc.c0[1][i], tc.c0[2][i]}, out + 3 * x,
                                   [&] { return e; });
            }
        }
    }
}

void colourPlaneTask(TaskFuncParams t)
{
    fillColourPlaneRows(*MP_taskArgs<ColourWindow>(t), MP_taskStart(t), MP_taskEnd(t));
}

void rangeTableTask(TaskFuncParams t)
{
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = rangeWeight(static_cast<float>(i));
}

void maskTableTask(TaskFuncParams t) { maskTableRange(MP_taskParams(t), MP_taskStart(t), MP_taskEnd(t)); }

// ---- Single-threaded operators ---------------------------------------------------------

// The window rows of row y outside panorama mode.
inline void plainWindowRows(int y, int height, int r, int step, int* y1, int* y2)
{
    int first = -r;
    while (y + first < 0)
        first += step;
    *y1 = first;
    *y2 = MP_imin(r, height - 1 - y);
}

// Progress of the single-threaded operators: at each row that is a multiple
// of max(1, 100000 / (sizey + 1)).
inline void rowProgress(int y, int sizey)
{
    const int period = MP_imax(1, 100000 / (sizey + 1));
    if (y % period == 0)
        MP_postKernelProgress(y, sizey);
}

void fillMaskTableBySpline(const MP_Params* params)
{
    const float* k = params->p[kSplineSlot];
    for (int i = 0; i < 65536; ++i)
        MP_temp3_table[i] = MP_cubicSpline(1, static_cast<float>(i) * MP_k, k[0], k[2], k[4], k[6], k[8], k[10], k[1],
                                           k[3], k[5], k[7], k[9], k[11]);
}

// Mask mix and layer blend against the light-compressed colour c, clamped.
inline MP_float3 finishAgainst(const MP_DriverRun& run, MP_float3 c, MP_float3 out, int K)
{
    const float m = MP_temp3_table[K];
    const float k = 1.0f - m;
    const MP_float3 e{c.x * k + out.x * m, c.y * k + out.y * m, c.z * k + out.z * m};
    return MP_calcLayerMethodOpacity(run.mode, c, e, run.opacity);
}

// Reads the combo slot without the geometry preparation.
void beginPlain(MP_DriverRun& run, int sizex, int sizey, const ushort* src, ushort* dst, MP_Params* params)
{
    run.width = sizex;
    run.height = sizey;
    run.src = src;
    run.dst = dst;
    run.params = params;
    run.mode = MP_safeTrunc(params->p[kComboSlot][0], 0, 1 << 20);
    run.opacity = 0.01f * params->p[kComboSlot][1];
}

} // namespace

// ---- Public pieces -------------------------------------------------------------------------

void MP_calcTMRadius(const MP_Params* params, int* r, int* step)
{
    const MP_WindowSize w = MP_calcWindowSize(params, 500.0f);
    *r = w.R;
    *step = w.step;
}

void MP_Pre_calcPixelLItable(float licomp)
{
    LITableArgs a{liExponent(licomp)};
    MP_runTablePass(MP_TaskPre_calcPixelLItable, MP_makeTask(nullptr, &a));
}

MP_float3 MP_calcTMtonecompressionfromtable(MP_float3 c, float lum0, float licomp)
{
    const float v = licomp * 0.99f + 0.01f;
    float s = lum0 - (1.0f - v);
    if (!(s > 0.0f))
        return c;
    s = s / v;
    const float k = 1.0f - s;
    return {k * c.x + s * MP_litemp_table[MP_tableIndex(c.x)], k * c.y + s * MP_litemp_table[MP_tableIndex(c.y)],
            k * c.z + s * MP_litemp_table[MP_tableIndex(c.z)]};
}

MP_float3 MP_calcTMtonecompression(MP_float3 c, float lum0, float licomp)
{
    const float v = licomp * 0.99f + 0.01f;
    float s = lum0 - (1.0f - v);
    if (!(s > 0.0f))
        return c;
    s = s / v;
    const float e = liExponent(licomp);
    const float k = 1.0f - s;
    return {k * c.x + s * MP_pow(c.x, e), k * c.y + s * MP_pow(c.y, e), k * c.z + s * MP_pow(c.z, e)};
}

namespace {
// 1 / |c|, or 0 for a black colour (which then has no direction to add micro
// detail along).
inline float inverseLength(MP_float3 c)
{
    const float l2 = c.x * c.x + c.y * c.y + c.z * c.z;
    return l2 > 0.0f ? 1.0f / MP_sqrt(l2) : 0.0f;
}

inline float detailFactor(float n, float lumdet, float D, float M)
{
    return (1.0f - D) + D * ((lumdet * MP_TM_MAKRO_MUL + 1.0f) * (1.0f - M) + (n * MP_TM_MIKRO_MUL * lumdet + 1.0f) * M);
}
} // namespace

MP_float3 MP_calcTMdampdetdark(MP_float3 c0b, MP_float3 ce, MP_float3 lumkonv, float l, float lumdet, float detail,
                               float microdetail, float lum0)
{
    const float lume = MP_clamp(ce.x * lumkonv.x + ce.y * lumkonv.y + ce.z * lumkonv.z, 0.0f, 1.0f);
    const float g = 1.0f - lume * l;
    const float H = detailFactor(inverseLength(ce), lumdet, detail, microdetail);
    const float q = (0.5f - lum0) * 2.0f;
    const float q3 = q * q * q;
    const float t6 = q3 * q3;
    const float a0 = (1.0f - g) * H * (1.0f - t6) + t6;
    const float a1 = g * H * (1.0f - t6);
    return {c0b.x * a0 + ce.x * a1, c0b.y * a0 + ce.y * a1, c0b.z * a0 + ce.z * a1};
}

MP_float3 MP_calcTMdampbrightness(MP_float3 c0, MP_float3 ce, MP_float3 lumkonv, float l)
{
    const float lume = MP_clamp(ce.x * lumkonv.x + ce.y * lumkonv.y + ce.z * lumkonv.z, 0.0f, 1.0f);
    const float g = 1.0f - lume * l;
    const float k = 1.0f - g;
    return {ce.x * g + c0.x * k, ce.y * g + c0.y * k, ce.z * g + c0.z * k};
}

MP_float3 MP_calcTMdetail(MP_float3 c, float lumdet, float detail, float microdetail)
{
    return scale(c, detailFactor(inverseLength(c), lumdet, detail, microdetail));
}

MP_float3 MP_calcTMdarkcompression(MP_float3 c0, MP_float3 ce, float lum0)
{
    const float q = (0.5f - lum0) * 2.0f;
    const float q3 = q * q * q;
    const float v = 1.0f - q3 * q3;
    const float k = 1.0f - v;
    return {c0.x * k + ce.x * v, c0.y * k + ce.y * v, c0.z * k + ce.z * v};
}

// ---- Drivers -------------------------------------------------------------------------------

int MP_calcPixelTMfattal(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMfattal>(sizex, sizey, src, dst, params);
}
int MP_calcPixelTMmeanlog(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMmeanlog>(sizex, sizey, src, dst, params);
}
int MP_calcPixelTMmeanexp(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMmeanexp>(sizex, sizey, src, dst, params);
}
int MP_calcPixelTMsigmoid(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMsigmoid>(sizex, sizey, src, dst, params);
}
int MP_calcPixelTMmeanlin(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMmeanlin>(sizex, sizey, src, dst, params);
}
int MP_calcPixelTMgradlum(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMgradlum>(sizex, sizey, src, dst, params);
}
int MP_calcPixelTMconstgradlum(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMconstgradlum>(sizex, sizey, src, dst, params);
}
int MP_calcPixelTMlummeangrad(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMlummeangrad>(sizex, sizey, src, dst, params);
}
int MP_calcPixelTMintense(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    return tmDriver<TMintense>(sizex, sizey, src, dst, params);
}

// TMmeandiff reads its neighbours' colours from planes made of the source
// first (the scratch buffer), so it writes the destination directly, even in
// place. A destination of fewer than 6 bytes per pixel gets the image written
// into the scratch buffer behind the planes, of which it takes no more than
// its bytes.
int MP_calcPixelTMmeandiff(int sizex, int sizey, ushort* src, ushort* dst, int, int dstBpp, MP_Params* params)
{
    TMArgs a;
    if (int e = beginTM(a, "MP_calcPixelTMmeandiff", sizex, sizey, src, dst, params))
        return e;
    if (sizex == 0 || sizey == 0)
        return 0;
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    int widest = 0;
    for (int h : a.halfWidth)
        widest = MP_imax(widest, h);
    const size_t planeValues = colourPlaneSize(sizex, sizey, widest);
    const bool direct = dstBpp >= 6;
    ushort* scratch = static_cast<ushort*>(MP_UpdateBuffer((planeValues + (direct ? 0 : pixels * 3)) * sizeof(ushort)));
    if (!scratch)
        return -1;

    MP_runWindowWeightsPass(a.r, spatialScale(false, a.r), params);
    MP_runTablePass(rangeTableTask, MP_makeTask(params, nullptr));
    MP_runTablePass(maskTableTask, MP_makeTask(params, nullptr));
    MP_Pre_calcPixelLItable(params->p[2][0]);

    finishArgs(a, params);
    a.t = params->p[1][0] * 0.99f + 0.01f;
    a.out = direct ? nullptr : scratch + planeValues;
    a.cwin = ColourWindow{src,
                          sizex,
                          sizey,
                          a.r,
                          a.step,
                          MP_UI_GetPanoramaMode() != 0,
                          a.halfWidth,
                          weight14(params->lumr),
                          weight14(params->lumg),
                          weight14(params->lumb)};
    attachColourPlanes(a.cwin, scratch, widest);
    MP_runSinglePass(colourPlaneTask, MP_makeTask(params, &a.cwin), sizey);
    a.colourStats = colourStatsFunction();
    a.tail = tailFunction();
    a.steps = &chunkSteps();
    a.run.full = true;
    MP_runDriverBands(a.run, &a, meandiffWorker, nullptr, 1);
    if (!direct)
        std::memcpy(dst, a.out, pixels * static_cast<size_t>(MP_iclamp(dstBpp, 0, 6)));
    return 0;
}

// A tone mapping after the bilateral local mean of the pixel's luminance
// (weights from exponentials and the float luminance of the source), in one
// thread, into a scratch image copied to dst at the end.
int MP_calcPixelTMchiu(int sizex, int sizey, ushort* src, ushort* dst, int, int dstBpp, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    if (sizex == 0 || sizey == 0)
        return 0;
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    ushort* scratch = static_cast<ushort*>(MP_UpdateBuffer(pixels * 6));
    if (!scratch)
        return -1;
    MP_DriverRun run;
    beginPlain(run, sizex, sizey, src, dst, params);
    int r, step;
    MP_calcTMRadius(params, &r, &step);
    MP_completeRowWidths("MP_calcPixelTMchiu", params, r);
    fillMaskTableBySpline(params);
    const float licomp = params->p[2][0];
    fillLITable(0, 65536, liExponent(licomp));

    const float lr = params->lumr, lg = params->lumg, lb = params->lumb;
    const float strength = 1.1f - (params->p[1][0] + 0.001f);
    const float rr = static_cast<float>(r * r);
    for (int y = 0; y < sizey; ++y) {
        rowProgress(y, sizey);
        int y1, y2;
        plainWindowRows(y, sizey, r, step, &y1, &y2);
        for (int x = 0; x < sizex; ++x) {
            const MP_float3 c0 = MP_loadRGB48(src + (static_cast<size_t>(y) * sizex + x) * 3);
            const float lum0 = lr * c0.x + lg * c0.y + lb * c0.z;
            float lumd = 0.0f, sum = 0.0f, det = 0.0f;
            for (int ky = y1; ky <= y2; ky += step) {
                const int h = MP_windowRowHalfWidth(params, ky);
                int x1 = -h;
                while (x + x1 < 0)
                    x1 += step;
                const int x2 = MP_imin(h, sizex - 1 - x);
                const ushort* srow = src + static_cast<size_t>(y + ky) * sizex * 3;
                for (int kx = x1; kx <= x2; kx += step) {
                    const MP_float3 c1 = MP_loadRGB48(srow + static_cast<size_t>(x + kx) * 3);
                    const float lum1 = lr * c1.x + lg * c1.y + lb * c1.z;
                    const float diff = lum0 - lum1;
                    const float w = MP_exp(-static_cast<float>(kx * kx + ky * ky) / rr) / (0.001f + MP_fabs(diff));
                    const float root = MP_sqrt(MP_fabs(diff));
                    lumd += w;
                    sum += lum1 * w;
                    det += (diff < 0.0f ? -root : root) * w;
                }
            }
            float lumsum = lum0, lumdet = 0.0f;
            if (lumd > 0.0f) {
                lumsum = sum / lumd;
                lumdet = det / lumd;
            }
            const MP_float3 c = MP_calcTMtonecompressionfromtable(c0, lum0, licomp);
            const float q = lum0 / (lumsum * strength);
            const MP_float3 ce = scale(c, q);
            const MP_float3 out = MP_calcTMdampdetdark(c, ce, {lr, lg, lb}, 0.8f, lumdet, params->p[3][0],
                                                       params->p[4][0], lum0);
            MP_storeRGB48(scratch + (static_cast<size_t>(y) * sizex + x) * 3, finishAgainst(run, c, out, lumIndex(lum0)));
        }
    }
    std::memcpy(dst, scratch, pixels * static_cast<size_t>(MP_iclamp(dstBpp, 0, 6)));
    return 0;
}

// A tone mapping by the power of the local distance, in one thread, with the
// luminance plane, flat spatial weights and tables built inline.
int MP_calcPixelTMgradpowlum(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    if (sizex == 0 || sizey == 0)
        return 0;
    MP_DriverRun run;
    beginPlain(run, sizex, sizey, src, dst, params);
    TMArgs a;
    MP_calcTMRadius(params, &a.r, &a.step);
    MP_completeRowWidths("MP_calcPixelTMgradpowlum", params, a.r);
    int widest = 0;
    for (int ky = -a.r; ky <= a.r; ++ky) {
        a.halfWidth[ky + a.r] = MP_windowRowHalfWidth(params, ky);
        widest = MP_imax(widest, a.halfWidth[ky + a.r]);
    }
    LumPlane plane;
    if (!obtainLumPlane(plane, src, sizex, sizey, widest, false, params))
        return -1;
    fillLumRows(plane, 0, sizey);
    MP_fillWindowWeightRows(-a.r, a.r, a.r, spatialScale(false, a.r), params);
    for (int i = 0; i < 65536; ++i) {
        MP_temp_table[i] = rangeWeight(static_cast<float>(i));
        MP_temp2_table[i] = rootDifference(static_cast<float>(i));
    }
    fillMaskTableBySpline(params);
    const float licomp = params->p[2][0];
    fillLITable(0, 65536, liExponent(licomp));

    const Window win{plane.plane, plane.stride, plane.pad, sizex, sizey, a.r, a.step, false, a.halfWidth};
    const StatsFn stats = statsFunction(kSumMean | kSumAbs);
    const float lr = params->lumr, lg = params->lumg, lb = params->lumb;
    const float strength = 0.001f + params->p[1][0];
    Stats st;
    int K[kChunk] = {};
    MP_float3 c0[kChunk];
    float lum0[kChunk];
    for (int y = 0; y < sizey; ++y) {
        rowProgress(y, sizey);
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(sizex) * 3;
        for (int x0 = 0; x0 < sizex; x0 += kChunk) {
            const int n = MP_imin(kChunk, sizex - x0);
            for (int i = 0; i < n; ++i) {
                c0[i] = MP_loadRGB48(src + row + 3 * (x0 + i));
                lum0[i] = lr * c0[i].x + lg * c0[i].y + lb * c0[i].z;
                K[i] = lumIndex(lum0[i]);
            }
            stats(win, y, x0, n, K, st);
            for (int i = 0; i < n; ++i) {
                const Local s = finishStats<TMfattal>(st, i, K[i], win, x0 + i, y);
                const float M = s.lumdist + 0.001f;
                const float N = s.lumsum + 0.001f;
                const MP_float3 c = MP_calcTMtonecompressionfromtable(c0[i], lum0[i], licomp);
                const float S = MP_pow(M, 0.25f);
                const float U = MP_sqrt(strength / N);
                const MP_float3 ce{c.x * S + U * c.x * (1.0f - S), c.y * S + U * c.y * (1.0f - S),
                                   c.z * S + U * c.z * (1.0f - S)};
                const MP_float3 out =
                    MP_calcTMdampdetdark(c, ce, {lr, lg, lb}, 0.8f, s.lumdet, params->p[3][0], params->p[4][0], lum0[i]);
                MP_storeRGB48(dst + row + 3 * (x0 + i), finishAgainst(run, c, out, K[i]));
            }
        }
    }
    return 0;
}

// ---- Registration ------------------------------------------------------------------------

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelTMfattal", MP_calcPixelTMfattal},
    {"MP_calcPixelTMmeanlog", MP_calcPixelTMmeanlog},
    {"MP_calcPixelTMmeanexp", MP_calcPixelTMmeanexp},
    {"MP_calcPixelTMsigmoid", MP_calcPixelTMsigmoid},
    {"MP_calcPixelTMmeandiff", MP_calcPixelTMmeandiff},
    {"MP_calcPixelTMmeanlin", MP_calcPixelTMmeanlin},
    {"MP_calcPixelTMgradlum", MP_calcPixelTMgradlum},
    {"MP_calcPixelTMconstgradlum", MP_calcPixelTMconstgradlum},
    {"MP_calcPixelTMlummeangrad", MP_calcPixelTMlummeangrad},
    {"MP_calcPixelTMintense", MP_calcPixelTMintense},
};
} // namespace

extern const MP_DriverTable MP_drivers_tonemapping = MP_driverTable(kDrivers);
