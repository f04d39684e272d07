#include "engine/filters/grain.h"

#include "engine/MP_calccl.h"
#include "engine/core/pointrows.h"
#include "engine/core/random.h"
#include "engine/core/splines.h"
#include "engine/core/textures.h"
#include "engine/filters/filterframe.h"
#include "engine/filters/glow.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

using namespace mp_filters;

namespace {

struct GrainArgs {
    MP_DriverRun run;
    short* plane = nullptr;
    int A = 1;
    int seed = 0;
    LumWeights lw;
};

void MP_TaskPre1_calcPixelAddGrain(TaskFuncParams t)
{
    MP_splineSlotTable(MP_taskParams(t)->p[2], MP_taskStart(t), MP_taskEnd(t), MP_temp_table);
}

// The noise plane's rows with MP_grainNoise's arithmetic, the row's terms
// hoisted: h1 and h2 are linear in x for a row. The amplitude's product
// n * 2 * A stays below 2^31 for A in 1..32767 (n < 32768), so it is taken
// in 32 bits with the same value as MP_grainNoise's 64-bit one.
struct GrainNoiseRows {
    short* rows; // row `start`
    int width;
    int seed;
    int A; // 1..32767
};

MP_POINT_BODY void grainNoiseRowsBody(const GrainNoiseRows& a, int start, int end)
{
    const int w = a.width;
    const int A = a.A;
    const uint32_t seedTerm = static_cast<uint32_t>(a.seed) * 2134756169u;
    for (int y = start; y < end; ++y) {
        short* p = a.rows + static_cast<size_t>(y - start) * static_cast<size_t>(w);
        const uint32_t uy = static_cast<uint32_t>(y);
        const uint32_t a1 = 7u * uy + 236u, b1 = uy + 17u;
        const uint32_t a2 = 667927u * uy + 12639234u, b2 = 51379u * uy + 565169u;
        for (int x = 0; x < w; ++x) {
            const uint32_t ux = static_cast<uint32_t>(x);
            const uint32_t h1 = a1 + ux * b1;
            const uint32_t h2 = a2 + ux * b2;
            const int n = static_cast<int>(((h1 * h2 + seedTerm) >> 16) & 32767u);
            p[x] = static_cast<short>(((n * 2 * A) >> 15) - A);
        }
    }
}
MP_POINT_ROWS_COPIES(grainNoiseRows, GrainNoiseRows)

void MP_TaskPre2_calcPixelAddGrain(TaskFuncParams t)
{
    const GrainArgs* a = MP_taskArgs<GrainArgs>(t);
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    short* rows = a->plane + static_cast<size_t>(start) * static_cast<size_t>(a->run.width);
    if (!MP_plainPointLoops()) {
        MP_grainNoiseRows(rows, a->run.width, start, end, a->seed, a->A);
        return;
    }
    const size_t w = static_cast<size_t>(a->run.width);
    for (int y = start; y < end; ++y) {
        short* p = a->plane + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x)
            p[x] = static_cast<short>(MP_grainNoise(static_cast<int>(x), y, a->seed, a->A));
    }
}

inline int clamp16(int v) { return v < 0 ? 0 : (v > 65535 ? 65535 : v); }

template <bool Full> void grainRows(const GrainArgs& a, int start, int end)
{
    const MP_DriverRun& run = a.run;
    const bool geometry = run.params->geometry_needed != 0;
    MP_forEachRawPixel(run, start, end, [&](int x, int y, size_t i, const ushort* s, ushort* d) {
        const int q = a.plane[i];
        const float m = MP_temp_table[a.lw.of(s)];
        const float k = 1.0f - m;
        const float n0 = static_cast<float>(clamp16(s[0] + q)), n1 = static_cast<float>(clamp16(s[1] + q)),
                    n2 = static_cast<float>(clamp16(s[2] + q));
        if constexpr (Full) {
            const MP_float3 c0 = MP_loadRGB48(s);
            MP_fullWorkerPixel(run, geometry, x, y, c0, d, [&] {
                return MP_float3{c0.x * k + n0 * m * MP_k, c0.y * k + n1 * m * MP_k, c0.z * k + n2 * m * MP_k};
            });
        } else {
            d[0] = static_cast<ushort>(static_cast<int>(static_cast<float>(s[0]) * k + n0 * m));
            d[1] = static_cast<ushort>(static_cast<int>(static_cast<float>(s[1]) * k + n1 * m));
            d[2] = static_cast<ushort>(static_cast<int>(static_cast<float>(s[2]) * k + n2 * m));
        }
    });
}

// The reduced worker's rows in blocks: grainRows<false>'s operations, the
// mask lookup in a loop of its own.
MP_POINT_BODY void grainRowsPlanesBody(const GrainArgs& a, int start, int end)
{
    constexpr int N = MP_POINT_BLOCK;
    const MP_DriverRun& run = a.run;
    const unsigned wr = a.lw.wr, wg = a.lw.wg, wb = a.lw.wb;
    const size_t w = static_cast<size_t>(run.width);
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        for (int x0 = 0; x0 < run.width; x0 += N) {
            const int n = run.width - x0 < N ? run.width - x0 : N;
            const ushort* s = run.src + (row + static_cast<size_t>(x0)) * 3;
            ushort* d = run.dst + (row + static_cast<size_t>(x0)) * 3;
            const short* q = a.plane + row + static_cast<size_t>(x0);
            int S[3][N], J[N];
            float M[N];
            for (int i = 0; i < n; ++i) {
                S[0][i] = s[3 * i];
                S[1][i] = s[3 * i + 1];
                S[2][i] = s[3 * i + 2];
            }
            for (int i = 0; i < n; ++i) {
                // LumWeights::of
                const unsigned v = (wr * static_cast<unsigned>(S[0][i]) + wg * static_cast<unsigned>(S[1][i]) +
                                    wb * static_cast<unsigned>(S[2][i])) >>
                                   14;
                J[i] = static_cast<int>(v > 65535u ? 65535u : v);
            }
            MP_pointLookup(MP_temp_table, J, M, n);
            int O[3][N];
            for (int k = 0; k < 3; ++k)
                for (int i = 0; i < n; ++i) {
                    const float m = M[i];
                    const float keep = 1.0f - m;
                    const int sum = S[k][i] + q[i];
                    const int c = sum < 0 ? 0 : (sum > 65535 ? 65535 : sum); // clamp16
                    O[k][i] = static_cast<int>(static_cast<float>(S[k][i]) * keep + static_cast<float>(c) * m);
                }
            for (int i = 0; i < n; ++i) {
                d[3 * i] = static_cast<ushort>(O[0][i]);
                d[3 * i + 1] = static_cast<ushort>(O[1][i]);
                d[3 * i + 2] = static_cast<ushort>(O[2][i]);
            }
        }
    }
}
MP_POINT_ROWS_COPIES(grainRowsPlanes, GrainArgs)

void MP_Task_calcPixelAddGrain(TaskFuncParams t)
{
    grainRows<true>(*MP_taskArgs<GrainArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}
void MP_Task_calcPixelAddGrainReduced(TaskFuncParams t)
{
    if (!MP_plainPointLoops()) {
        grainRowsPlanes(*MP_taskArgs<GrainArgs>(t), MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    grainRows<false>(*MP_taskArgs<GrainArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}

} // namespace

int MP_grainAmplitude(float g, int longSide)
{
    return MP_safeTrunc(1.0f + g * 32766.0f * static_cast<float>(longSide) / 4000.0f, 1, 32767);
}

void MP_grainNoiseRows(short* rows, int width, int y0, int y1, int seed, int A)
{
    if (A >= 1 && A <= 32767) {
        grainNoiseRows(GrainNoiseRows{rows, width, seed, A}, y0, y1);
        return;
    }
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < width; ++x)
            rows[static_cast<size_t>(y - y0) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                static_cast<short>(MP_grainNoise(x, y, seed, A));
}

int MP_grainNoise(int x, int y, int seed, int A)
{
    // 32-bit arithmetic that wraps around; bits 16..30 of the hash.
    const uint32_t ux = static_cast<uint32_t>(x), uy = static_cast<uint32_t>(y);
    const uint32_t h1 = 7u * uy + 236u + ux * (uy + 17u);
    const uint32_t h2 = 667927u * uy + 12639234u + ux * (51379u * uy + 565169u);
    const uint32_t n = ((h1 * h2 + static_cast<uint32_t>(seed) * 2134756169u) >> 16) & 32767u;
    return static_cast<int>((static_cast<int64_t>(n) * 2 * A) >> 15) - A;
}

int MP_calcPixelAddGrain(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    MP_ClearBuffer();
    std::srand(static_cast<unsigned>(MP_UI_GetRandomSeed()));
    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels == 0)
        return 0;
    std::unique_ptr<short[]> plane(new (std::nothrow) short[pixels]);
    if (!plane)
        return -1;
    GrainArgs a;
    a.plane = plane.get();
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3))
        return e;
    const int M = MP_imax(sizex, sizey);
    a.A = MP_grainAmplitude(params->p[0][0], M);
    a.seed = MP_UI_GetRandomSeed();
    a.lw = LumWeights::of(params, 16383.0f);
    const TaskFuncParams tmpl = MP_makeTask(params, &a);
    MP_runTablePass(MP_TaskPre1_calcPixelAddGrain, tmpl);
    MP_runBandPass(MP_TaskPre2_calcPixelAddGrain, tmpl, sizey, 0);
    const float smooth = finiteOr(params->p[1][0], 0.0f);
    const float R = MP_max(0.05f * smooth * static_cast<float>(M) * 0.48f - 1.0f, 1.0f);
    const int passes = R >= 3.0f ? 3 : (R >= 2.0f ? 2 : 1);
    if (MP_blurGlowPlane(sizex, sizey, a.plane, R, passes) < 0)
        return -1;
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelAddGrain, MP_Task_calcPixelAddGrainReduced, 8);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelAddGrain", MP_calcPixelAddGrain},
};
extern const MP_DriverTable MP_drivers_grain = MP_driverTable(kDrivers);
