// Tone curves: "Helligkeit Kontrast Gamma", "Gradationskurve" and
// "Histogramm Abgleich". The gamma power and the gradation curve are evaluated
// 65,536 times per run into tables, never per pixel.

#include "engine/tone/curves.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/pointrows.h"
#include "engine/core/textures.h"
#include "engine/core/splines.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace {

// ---- "Helligkeit Kontrast Gamma" -------------------------------------------------

struct BasicToolsArgs {
    MP_DriverRun run;
    float b;     // brightness -1..1
    float c;     // contrast 0..2
    float g;     // gamma exponent
    const float* mask; // "Maskierung" knots (slot 3)
    float* gamma;      // pow(i / 65535, g), kept between runs
    float* maskTable;  // the "Maskierung" curve, kept between runs
};

// Both tables depend on the sliders only: kept while they stay.
MP_KeptTable<1> s_basicGamma;
MP_KeptTable<12> s_basicMask;

void MP_TaskPre1_calcPixelBasicTools(TaskFuncParams t)
{
    const BasicToolsArgs* a = MP_taskArgs<BasicToolsArgs>(t);
    const float g = a->g;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        a->gamma[i] = std::pow(static_cast<float>(i) * MP_k, g);
}

void MP_TaskPre2_calcPixelBasicTools(TaskFuncParams t)
{
    const BasicToolsArgs* a = MP_taskArgs<BasicToolsArgs>(t);
    MP_splineSlotTable(a->mask, MP_taskStart(t), MP_taskEnd(t), a->maskTable);
}

inline float basicToolsChannel(const BasicToolsArgs& a, float x, float m)
{
    // brightness weighted by m, the contrast result mixed with the input by m
    const float y = ((x + a.b * m - 0.5f) * a.c + 0.5f) * m + x * (1.0f - m);
    // then the gamma result mixed with the input by m again
    return x * (1.0f - m) + m * a.gamma[MP_safeTrunc(y * 65535.0f, 0, 65535)];
}

inline MP_float3 basicToolsEffect(const BasicToolsArgs& a, MP_float3 c0, float lr, float lg, float lb)
{
    const float m = a.maskTable[MP_tableIndex(lr * c0.x + lg * c0.y + lb * c0.z)];
    return {basicToolsChannel(a, c0.x, m), basicToolsChannel(a, c0.y, m), basicToolsChannel(a, c0.z, m)};
}

// The reduced worker's rows in blocks: the same operations as
// basicToolsEffect, the table lookups in loops of their own.
MP_POINT_BODY void basicToolsRowsBody(const BasicToolsArgs& a, int start, int end)
{
    constexpr int N = MP_POINT_BLOCK;
    const MP_DriverRun& run = a.run;
    const float lr = run.params->lumr, lg = run.params->lumg, lb = run.params->lumb;
    const float b = a.b, c = a.c;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        for (int x0 = 0; x0 < run.width; x0 += N) {
            const int n = run.width - x0 < N ? run.width - x0 : N;
            float C[3][N], M[N], T[3][N];
            int J[N], I[3][N];
            MP_pointLoad(run.src + row + 3 * static_cast<size_t>(x0), n, C[0], C[1], C[2]);
            for (int i = 0; i < n; ++i)
                J[i] = MP_pointIndex(lr * C[0][i] + lg * C[1][i] + lb * C[2][i]);
            MP_pointLookup(a.maskTable, J, M, n);
            for (int k = 0; k < 3; ++k) {
                const float* x = C[k];
                int* ik = I[k];
                for (int i = 0; i < n; ++i) {
                    const float m = M[i];
                    const float yv = ((x[i] + b * m - 0.5f) * c + 0.5f) * m + x[i] * (1.0f - m);
                    ik[i] = MP_pointTrunc(yv * 65535.0f, 0, 65535);
                }
                MP_pointLookup(a.gamma, ik, T[k], n);
                float* xo = C[k];
                const float* t = T[k];
                for (int i = 0; i < n; ++i) {
                    const float m = M[i];
                    xo[i] = xo[i] * (1.0f - m) + m * t[i];
                }
            }
            MP_pointStore(run.dst + row + 3 * static_cast<size_t>(x0), n, C[0], C[1], C[2]);
        }
    }
}
MP_POINT_ROWS_COPIES(basicToolsRows, BasicToolsArgs)

void MP_Task_calcPixelBasicTools(TaskFuncParams t)
{
    const BasicToolsArgs* a = MP_taskArgs<BasicToolsArgs>(t);
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    // The mask is part of the formula: the frame does not apply it again.
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a, lr, lg, lb](MP_float3 c0, int, int) { return basicToolsEffect(*a, c0, lr, lg, lb); });
}

void MP_Task_calcPixelBasicToolsReduced(TaskFuncParams t)
{
    const BasicToolsArgs* a = MP_taskArgs<BasicToolsArgs>(t);
    if (!MP_plainPointLoops()) {
        basicToolsRows(*a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a, lr, lg, lb](MP_float3 c0, int, int) { return basicToolsEffect(*a, c0, lr, lg, lb); });
}

// ---- "Gradationskurve" -------------------------------------------------------------

struct GradationArgs {
    MP_DriverRun run;
    float* gain;        // curve(v) / v, 65,536 entries (the scratch buffer)
    const float* knots; // slot 0
};

void MP_TaskPre1_calcPixelGradationLagrange(TaskFuncParams t)
{
    const GradationArgs* a = MP_taskArgs<GradationArgs>(t);
    float* gain = a->gain;
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    MP_splineSlotTable(a->knots, start, end, gain);
    for (int i = start; i < end; ++i)
        gain[i] = i == 0 ? 0.0f : gain[i] / (static_cast<float>(i) * MP_k);
}

// A grey pixel becomes curve(lum); a coloured one keeps its channel ratios
// until a channel clips at full scale.
inline MP_float3 gradationEffect(const float* gainTable, MP_float3 c0, float lr, float lg, float lb)
{
    const float gain = gainTable[MP_tableIndex(lr * c0.x + lg * c0.y + lb * c0.z)];
    return {MP_min(1.0f, c0.x * gain), MP_min(1.0f, c0.y * gain), MP_min(1.0f, c0.z * gain)};
}

void MP_Task_calcPixelGradationLagrange(TaskFuncParams t)
{
    const GradationArgs* a = MP_taskArgs<GradationArgs>(t);
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    const float* gain = a->gain;
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [gain, lr, lg, lb](MP_float3 c0, int, int) { return gradationEffect(gain, c0, lr, lg, lb); });
}

// The reduced worker a run of a row at a time: first the gains of the run's
// pixels, then every channel of the run with the operations of
// gradationEffect and MP_storeRGB48Clamped, so that both loops vectorise.
template <int = 0> inline void gradationRuns(const GradationArgs& a, int start, int end)
{
    constexpr int kRun = 256;
    const MP_Params* p = a.run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    const float* gainTable = a.gain;
    const size_t rowLen = static_cast<size_t>(a.run.width) * 3;
    int index[kRun];
    float gain[kRun];
    float gain3[3 * kRun];
    float c[3 * kRun]; // the run's channels (the destination may be the source)
    for (int y = start; y < end; ++y) {
        const ushort* srow = a.run.src + static_cast<size_t>(y) * rowLen;
        ushort* drow = a.run.dst + static_cast<size_t>(y) * rowLen;
        for (int x0 = 0; x0 < a.run.width; x0 += kRun) {
            const int n = MP_imin(kRun, a.run.width - x0);
            const ushort* s = srow + static_cast<size_t>(x0) * 3;
            ushort* d = drow + static_cast<size_t>(x0) * 3;
            for (int j = 0; j < 3 * n; ++j)
                c[j] = static_cast<float>(s[j]) * MP_k;
            for (int i = 0; i < n; ++i) {
                float l = lr * c[3 * i] + lg * c[3 * i + 1] + lb * c[3 * i + 2];
                // MP_tableIndex, one selection after the other.
                l = l * 65535.0f;
                l = l > 0.0f ? l : 0.0f;
                l = l < 65535.0f ? l : 65535.0f;
                index[i] = static_cast<int>(l);
            }
            for (int i = 0; i < n; ++i)
                gain[i] = gainTable[index[i]];
            for (int i = 0; i < n; ++i)
                gain3[3 * i] = gain3[3 * i + 1] = gain3[3 * i + 2] = gain[i];
            // MP_min(1, v) and clampUnit, then * 65535, as v * 65535 held
            // to 0..65535 (NaN: 0): the same value, as a rounded product is
            // monotonic in v and 1 * 65535 is exact. One selection after the
            // other and the product first, so that the loop vectorises.
            for (int j = 0; j < 3 * n; ++j) {
                float v = c[j] * gain3[j] * 65535.0f;
                v = v == v ? v : 0.0f;
                v = v > 0.0f ? v : 0.0f;
                v = v < 65535.0f ? v : 65535.0f;
                d[j] = static_cast<ushort>(static_cast<int>(v));
            }
        }
    }
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"), flatten)) void gradationRunsAvx2(const GradationArgs& a, int start, int end)
{
    gradationRuns(a, start, end);
}
#endif
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define MP_GRADATION_AVX512 1
// The same runs sixteen lanes wide: the same operations in the same order.
__attribute__((target("avx512f,avx512bw,avx512dq,avx512vl"), flatten)) void
gradationRunsAvx512(const GradationArgs& a, int start, int end)
{
    gradationRuns(a, start, end);
}
#endif

} // namespace

// Tests: false walks the reduced gradation pixel by pixel (the reference of the runs).
bool g_gradationRunWalk = true;

namespace {

void MP_Task_calcPixelGradationLagrangeReduced(TaskFuncParams t)
{
    const GradationArgs* a = MP_taskArgs<GradationArgs>(t);
    if (g_gradationRunWalk && !MP_plainPointLoops()) {
#ifdef MP_GRADATION_AVX512
        if (MP_pointVectorLevel() >= 2) {
            gradationRunsAvx512(*a, MP_taskStart(t), MP_taskEnd(t));
            return;
        }
#endif
#if defined(__x86_64__) || defined(__i386__)
        static const bool avx2 = __builtin_cpu_supports("avx2");
        if (avx2 && MP_pointVectorLevel() >= 1) {
            gradationRunsAvx2(*a, MP_taskStart(t), MP_taskEnd(t));
            return;
        }
#endif
        gradationRuns(*a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    const MP_Params* p = a->run.params;
    const float lr = p->lumr, lg = p->lumg, lb = p->lumb;
    const float* gain = a->gain;
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [gain, lr, lg, lb](MP_float3 c0, int, int) {
        return gradationEffect(gain, c0, lr, lg, lb);
    });
}

// ---- "Histogramm Abgleich" ----------------------------------------------------------

constexpr int kHistogramBins = 16384; // 14-bit luminance
constexpr int kFirstBin = 10;         // the ten darkest bins are left out
constexpr int kTotalBin = 16374;      // and the nine brightest

} // namespace

// ---- Drivers ------------------------------------------------------------------------

int MP_calcPixelBasicTools(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    BasicToolsArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return r;
    a.b = (params->p[0][0] - 0.5f) * 2.0f;
    a.c = params->p[1][0] * 2.0f;
    a.g = (1.0f - params->p[2][0]) * 1.99f + 0.005f;
    if (a.g >= 1.0f)
        a.g = a.g * a.g;
    a.mask = params->p[3];
    a.gamma = s_basicGamma.table;
    a.maskTable = s_basicMask.table;
    const TaskFuncParams task = MP_makeTask(params, &a);
    const float gammaKey[1] = {a.g};
    if (s_basicGamma.needsFill(gammaKey)) {
        MP_runTablePass(MP_TaskPre1_calcPixelBasicTools, task);
        s_basicGamma.filled();
    }
    float maskKey[12];
    std::memcpy(maskKey, a.mask, sizeof maskKey);
    if (s_basicMask.needsFill(maskKey)) {
        MP_runTablePass(MP_TaskPre2_calcPixelBasicTools, task);
        s_basicMask.filled();
    }
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelBasicTools, MP_Task_calcPixelBasicToolsReduced, 8);
}

int MP_calcPixelGradationLagrange(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (!src || !dst || !params)
        return -2;
    float* gain = static_cast<float*>(MP_UpdateBuffer(65536 * sizeof(float)));
    if (!gain)
        return -1;
    GradationArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, 1))
        return r;
    a.gain = gain;
    a.knots = params->p[0];
    MP_runTablePass(MP_TaskPre1_calcPixelGradationLagrange, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelGradationLagrange, MP_Task_calcPixelGradationLagrangeReduced,
                             8);
}

int MP_calcPixelHistogramEqualize(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    const float s = params->p[0][0];
    std::unique_ptr<uint32_t[]> counter(new (std::nothrow) uint32_t[kHistogramBins]());
    if (!counter)
        return -1;

    // Weights summing to 1 keep every bin below 16384; wider ones from a
    // caller's own block are summed in 64 bits and held to the last bin.
    const int64_t wr = MP_safeTrunc(params->lumr * 16383.0f, 0, 1 << 16);
    const int64_t wg = MP_safeTrunc(params->lumg * 16383.0f, 0, 1 << 16);
    const int64_t wb = MP_safeTrunc(params->lumb * 16383.0f, 0, 1 << 16);
    const size_t rowLen = static_cast<size_t>(sizex) * 3;
    for (int y = 0; y < sizey; y += 3) {
        const ushort* row = src + static_cast<size_t>(y) * rowLen;
        for (int x = 0; x < sizex; x += 3) {
            const ushort* px = row + static_cast<size_t>(x) * 3;
            const int64_t bin = (wr * px[0] + wg * px[1] + wb * px[2]) >> 16;
            counter[bin < kHistogramBins ? bin : kHistogramBins - 1] += 1;
        }
    }
    for (int j = kFirstBin; j < kTotalBin; ++j)
        counter[j + 1] += counter[j];
    const uint32_t total = counter[kTotalBin];

    // Shares of the distribution at 0.2, 0.4, 0.6 and 0.8. An image with no
    // sampled luminance inside the counted bins (all near black or near
    // white) has no distribution: its curve is the identity.
    const float xs[4] = {0.2f, 0.4f, 0.6f, 0.8f};
    const float pull[4] = {0.35f, 0.7f, 0.7f, 0.35f};
    float* knots = params->p[0];
    knots[0] = 0.0f;
    knots[1] = 0.0f;
    for (int i = 0; i < 4; ++i) {
        float y = xs[i];
        if (total > 0) {
            const float share = static_cast<float>(counter[static_cast<int>(xs[i] * 16384.0f)]) /
                                static_cast<float>(total);
            y = xs[i] + pull[i] * s * (share - xs[i]);
        }
        knots[2 + 2 * i] = xs[i];
        knots[3 + 2 * i] = y;
    }
    knots[10] = 1.0f;
    knots[11] = 1.0f;

    // Its combo slot 1 and geometry slot 2 are the gradation curve's.
    return MP_calcPixelGradationLagrange(sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelBasicTools", MP_calcPixelBasicTools},
    {"MP_calcPixelGradationLagrange", MP_calcPixelGradationLagrange},
    {"MP_calcPixelHistogramEqualize", MP_calcPixelHistogramEqualize},
};
extern const MP_DriverTable MP_drivers_curves = MP_driverTable(kDrivers);
