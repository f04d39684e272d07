#include "engine/filters/artifacts.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/settings.h"
#include "engine/filters/filterframe.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

using namespace mp_filters;

namespace {

constexpr float kThird = 5.085832e-06f; // 0.3333 / 65535
constexpr int kMaxLevels = 30;

struct ArtifactArgs {
    MP_DriverRun run;      // src = dst: the input picture
    ushort* work = nullptr;
    ushort* flat = nullptr;
    float* third = nullptr; // (R + G + B) * 0.3333 / 65535 of every input pixel
    int n = 1;
    float E[kMaxLevels + 1] = {};
};

// The stride of the level with half-size D.
inline int64_t levelStride(int64_t D)
{
    if (D <= 3)
        return 1;
    if (D <= 7)
        return 2;
    if (D <= 15)
        return 4;
    if (D <= 31)
        return 8;
    if (D <= 63)
        return 16;
    if (D <= 127)
        return 32;
    if (D <= 255)
        return 64;
    if (D < 512)
        return 128;
    return 256;
}

// The levels of the layer pass: half-size D, stride F, samples per side M
// and the level weight E[l] / (M * M); the same for every pixel.
struct Levels {
    int count = 0;
    int64_t D[kMaxLevels + 1], F[kMaxLevels + 1], M[kMaxLevels + 1];
    float m[kMaxLevels + 1];
    int64_t samples = 0; // sum of M * M
    float wsum = 0.0f;   // sum of E[l]
    bool narrowSums = true; // every level's channel sum fits 32 bits
};

Levels levelsOf(const ArtifactArgs& a)
{
    Levels v;
    const int w = a.run.width;
    const int64_t limit = int64_t(1) << a.n;
    for (int l = 0;; ++l) {
        const int64_t D = (int64_t(1) << l) - 1;
        const int64_t F = levelStride(D);
        const int64_t M = 2 * D / F + 1;
        v.D[l] = D;
        v.F[l] = F;
        v.M[l] = M;
        v.m[l] = a.E[l] / static_cast<float>(M * M);
        v.samples += M * M;
        v.wsum += a.E[l];
        v.narrowSums = v.narrowSums && M * M * 65535 < (int64_t(1) << 31);
        v.count = l + 1;
        const int64_t next = (int64_t(1) << (l + 1)) - 1;
        if (l + 1 > kMaxLevels || next > limit || next >= w)
            break;
    }
    return v;
}

// Writes the flatness and the softened colour of pixel i from its sums.
inline void finishPixel(const ArtifactArgs* a, const Levels& v, size_t i, const ushort* c0, float sq, float wr,
                        float wg, float wb)
{
    const float tv = sq / static_cast<float>(v.samples);
    a->flat[i] = static_cast<ushort>(MP_safeTrunc((1.0f - tv) * 65535.0f, 0, 65535));
    const float d = MP_min(1.5f * MP_sqrt(tv), 1.0f), kd = 1.0f - d;
    const float avg[3] = {wr / v.wsum, wg / v.wsum, wb / v.wsum};
    ushort* o = a->work + i * 3;
    for (int c = 0; c < 3; ++c)
        o[c] = static_cast<ushort>(MP_safeTrunc(static_cast<float>(c0[c]) * d + avg[c] * kd, 0, 65535));
}

// One pixel, its windows clamped to the picture.
void layerPixel(const ArtifactArgs* a, const Levels& v, int x, int y)
{
    const int w = a->run.width, h = a->run.height;
    const ushort* in = a->run.src;
    const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
    const ushort* c0 = in + i * 3;
    const float b0 = a->third[i];
    float sq = 0.0f, wr = 0.0f, wg = 0.0f, wb = 0.0f;
    for (int l = 0; l < v.count; ++l) {
        const int64_t D = v.D[l], F = v.F[l];
        int64_t SR = 0, SG = 0, SB = 0;
        for (int64_t dy = -D; dy <= D; dy += F) {
            const int64_t yy = y + dy < 0 ? 0 : (y + dy > h - 1 ? h - 1 : y + dy);
            const size_t row = static_cast<size_t>(yy) * static_cast<size_t>(w);
            for (int64_t dx = -D; dx <= D; dx += F) {
                const int64_t xx = x + dx < 0 ? 0 : (x + dx > w - 1 ? w - 1 : x + dx);
                const ushort* s = in + (row + static_cast<size_t>(xx)) * 3;
                SR += s[0];
                SG += s[1];
                SB += s[2];
                const float d = a->third[row + static_cast<size_t>(xx)] - b0;
                sq += d * d;
            }
        }
        wr += v.m[l] * static_cast<float>(SR);
        wg += v.m[l] * static_cast<float>(SG);
        wb += v.m[l] * static_cast<float>(SB);
    }
    finishPixel(a, v, i, c0, sq, wr, wg, wb);
}

// Pixels the layer pass handles side by side.
constexpr int kLayerRun = 8;

// The pixels x .. x + kLayerRun - 1 of row y, whose windows stay inside the
// row: each pixel sums its samples in the order of layerPixel, so the run
// gives the same bits.
void layerRun(const ArtifactArgs* a, const Levels& v, int x, int y)
{
    constexpr int N = kLayerRun;
    const int w = a->run.width, h = a->run.height;
    const ushort* in = a->run.src;
    const float* third = a->third;
    const size_t i0 = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
    float b0[N], sq[N] = {}, wr[N] = {}, wg[N] = {}, wb[N] = {};
    for (int i = 0; i < N; ++i)
        b0[i] = third[i0 + i];
    for (int l = 0; l < v.count; ++l) {
        const int D = static_cast<int>(v.D[l]), F = static_cast<int>(v.F[l]);
        int32_t S[3 * N] = {}; // the channel sums, interleaved as the pixels
        for (int dy = -D; dy <= D; dy += F) {
            const int yy = y + dy < 0 ? 0 : (y + dy > h - 1 ? h - 1 : y + dy);
            const size_t row = static_cast<size_t>(yy) * static_cast<size_t>(w);
            for (int dx = -D; dx <= D; dx += F) {
                const ushort* s = in + (row + static_cast<size_t>(x + dx)) * 3;
                for (int k = 0; k < 3 * N; ++k)
                    S[k] += s[k];
                const float* t = third + row + static_cast<size_t>(x + dx);
                for (int i = 0; i < N; ++i) {
                    const float d = t[i] - b0[i];
                    sq[i] += d * d;
                }
            }
        }
        for (int i = 0; i < N; ++i) {
            wr[i] += v.m[l] * static_cast<float>(S[3 * i]);
            wg[i] += v.m[l] * static_cast<float>(S[3 * i + 1]);
            wb[i] += v.m[l] * static_cast<float>(S[3 * i + 2]);
        }
    }
    for (int i = 0; i < N; ++i)
        finishPixel(a, v, i0 + i, in + (i0 + i) * 3, sq[i], wr[i], wg[i], wb[i]);
}

void layerRows(const ArtifactArgs* a, int start, int end)
{
    const Levels v = levelsOf(*a);
    const int w = a->run.width;
    const int reach = static_cast<int>(v.D[v.count - 1]);
    for (int y = start; y < end; ++y) {
        int x = 0;
        while (x < w) {
            if (v.narrowSums && x - reach >= 0 && x + kLayerRun - 1 + reach <= w - 1) {
                layerRun(a, v, x, y);
                x += kLayerRun;
            } else {
                layerPixel(a, v, x, y);
                ++x;
            }
        }
    }
}

#ifdef MP_FILTERS_X86
__attribute__((target("avx2"), flatten)) void layerRowsAvx2(const ArtifactArgs* a, int start, int end)
{
    layerRows(a, start, end);
}
#endif

// The brightness of every input pixel as the layer pass compares it.
void thirdTask(TaskFuncParams t)
{
    const ArtifactArgs* a = MP_taskArgs<ArtifactArgs>(t);
    const size_t w = static_cast<size_t>(a->run.width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        const ushort* s = a->run.src + row * 3;
        for (size_t x = 0; x < w; ++x, s += 3)
            a->third[row + x] = static_cast<float>(s[0] + s[1] + s[2]) * kThird;
    }
}

void MP_TaskLayer_calcPixelRemoveArtifacts(TaskFuncParams t)
{
    const ArtifactArgs* a = MP_taskArgs<ArtifactArgs>(t);
#ifdef MP_FILTERS_X86
    if (MP_filterHasAvx2()) {
        layerRowsAvx2(a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
#endif
    layerRows(a, MP_taskStart(t), MP_taskEnd(t));
}

inline void diffuse(ushort* target, int e, int phi, int W)
{
    const int v = static_cast<int>(*target) + ((e * (phi * W)) >> 11);
    *target = static_cast<ushort>(v > 65535 ? 65535 : v);
}

// The error diffusion over every pixel, on the calling thread.
void quantise(const ArtifactArgs& a, float H)
{
    const MP_DriverRun& run = a.run;
    const int w = run.width, h = run.height;
    const bool geometry = run.params->geometry_needed != 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            ushort* d = run.dst + i * 3;
            const MP_float3 c0 = MP_loadRGB48(d);
            float o = 1.0f;
            if (geometry) {
                o = MP_calcGeometryMethodOpacity(x, y, w, h, run.geoSlot, run.params);
                if (!(o > 0.0f)) {
                    MP_storeRGB48(d, c0);
                    continue;
                }
            }
            const ushort* v = a.work + i * 3;
            float q[3];
            int e[3];
            for (int c = 0; c < 3; ++c) {
                const float vk = static_cast<float>(v[c]) * MP_k;
                q[c] = MP_artifactQuantise(H, v[c]);
                e[c] = static_cast<int>((vk - q[c]) * 128.0f);
            }
            const bool right = x < w - 1, below = y < h - 1;
            auto spread = [&](int tx, int ty, int W) {
                const size_t j = static_cast<size_t>(ty) * static_cast<size_t>(w) + static_cast<size_t>(tx);
                ushort* tgt = a.work + j * 3;
                for (int c = 0; c < 3; ++c)
                    diffuse(tgt + c, e[c], a.flat[j], W);
            };
            if (right)
                spread(x + 1, y, 7);
            if (x >= 1 && below)
                spread(x - 1, y + 1, 3);
            if (below)
                spread(x, y + 1, 5);
            if (right && below)
                spread(x + 1, y + 1, 1);
            const MP_float3 eff = MP_calcLayerMethodOpacity(run.mode, c0, {q[0], q[1], q[2]}, run.opacity);
            MP_storeRGB48Clamped(d, MP_calcGeometryMethodBlend(c0, eff, o));
        }
        if (y % 1024 == 0 && _category >= 0)
            C_AddMessage(_category, (static_cast<float>(y) / static_cast<float>(h) * 0.3f + 0.7f) * _progressdelta +
                                        _progressstart);
    }
}

} // namespace

float MP_artifactLevels(float dither)
{
    const float H = (1.0f - powf(dither, 0.001f)) * 65521.0f + 14.0f;
    if (!(H == H))
        return 65535.0f;
    return MP_clamp(H, 1.0f, 65535.0f);
}

int MP_artifactLevelCount(float s) { return MP_safeTrunc(1.0f + 8.0f * s, 1, kMaxLevels); }

int MP_calcPixelRemoveArtifacts(int sizex, int sizey, ushort*, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, dst, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels == 0)
        return 0;
    if (pixels > SIZE_MAX / 8)
        return -1;
    std::unique_ptr<ushort[]> work(new (std::nothrow) ushort[pixels * 3]);
    std::unique_ptr<ushort[]> flat(new (std::nothrow) ushort[pixels]);
    float* third = static_cast<float*>(MP_UpdateBuffer(pixels * sizeof(float)));
    if (!work || !flat || !third)
        return -1;
    ArtifactArgs a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, dst, dst, params, 4, 3))
        return e;
    a.work = work.get();
    a.flat = flat.get();
    a.third = third;
    a.n = MP_artifactLevelCount(params->p[1][0]);
    const float c = finiteOr(params->p[0][0], 0.0f);
    for (int l = 0; l <= a.n; ++l)
        a.E[l] = powf(1.0f - static_cast<float>(l) / static_cast<float>(2 * a.n + 1), 1.0f + 8.0f * (1.0f - c));
    TaskFuncParams tmpl = MP_makeTask(params, &a);
    MP_runSinglePass(thirdTask, tmpl, sizey);
    MP_forEachBand(
        sizey, MP_idealThreadCount,
        [&](int start, int end) {
            MP_setTaskRange(tmpl, start, end);
            C_AddTask(MP_TaskLayer_calcPixelRemoveArtifacts, tmpl);
        },
        [&](int, int end) {
            C_WaitTasks();
            if (_category >= 0)
                C_AddMessage(_category, static_cast<float>(end) / static_cast<float>(sizey) * 0.7f * _progressdelta +
                                            _progressstart);
        });
    if (MP_filterCancelled())
        return 0;
    quantise(a, MP_artifactLevels(params->p[2][0]));
    return 0;
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelRemoveArtifacts", MP_calcPixelRemoveArtifacts},
};
extern const MP_DriverTable MP_drivers_artifacts = MP_driverTable(kDrivers);
