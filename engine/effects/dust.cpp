// "Struktur (Staub)": 0 "Typ", 1 "Dichte", 2 "Größe", 3 "Intensität", 4 "Zufall",
// 5 "Position", 6 combo, 7 geometry.

#include "engine/effects/dust.h"

#include "engine/MP_calccl.h"
#include "engine/core/random.h"
#include "engine/core/settings.h"
#include "engine/effects/effectframe.h"

#include <memory>
#include <new>

namespace {

constexpr int kTile = 128;
constexpr int kMaxSpecks = 128;

struct DustArgs {
    MP_DriverRun run;   // src: the source, dst: the scratch image
    MP_EffectTexture tex;
    int count = 0;      // specks
    int n = 0;          // speck side in pixels
    int C = 0;          // strength, 0..1024
    bool white = false;
    int px[kMaxSpecks] = {};
    int py[kMaxSpecks] = {};
    unsigned char rowFlag[16][kTile] = {};
    ushort* out = nullptr; // layer pass: the destination
    // The sheet's column neighbours and weight of speck column m in tile
    // column tc (0..3): entry tc * n + m, as the clamped sampler finds them.
    const mp_sampler_detail::Axis* columns = nullptr;
};

inline int green(const MP_EffectTexture& t, int x, int y)
{
    return t.px[(static_cast<size_t>(y) * static_cast<size_t>(t.w) + static_cast<size_t>(x)) * 3 + 1];
}

void buildRowFlags(DustArgs& a)
{
    for (int t = 0; t < 16; ++t) {
        const int ox = (t & 3) * kTile, oy = (t >> 2) * kTile;
        for (int r = 0; r < kTile; ++r) {
            int flag = 0;
            for (int c = 0; c < kTile && !flag; ++c) {
                if (green(a.tex, ox + c, oy + r) <= 64999 || (c < kTile - 1 && green(a.tex, ox + c + 1, oy + r) < 65000) ||
                    (r < kTile - 1 && green(a.tex, ox + c, oy + r + 1) < 65000))
                    flag = 1;
            }
            a.rowFlag[t][r] = static_cast<unsigned char>(flag);
        }
    }
}

void MP_Task_calcPixelDust(TaskFuncParams t)
{
    const DustArgs& a = *MP_taskArgs<DustArgs>(t);
    const int y0 = MP_taskStart(t), y1 = MP_taskEnd(t);
    const int w = a.run.width, n = a.n;
    if (n <= 0)
        return;
    const int half = n / 2;
    const float D = 128.0f / static_cast<float>(n);
    const int C = a.C;
    for (int i = 0; i < a.count; ++i) {
        const int tile = i & 15;
        const float oy = static_cast<float>((tile >> 2) * kTile);
        const mp_sampler_detail::Axis* columns = a.columns + static_cast<size_t>(tile & 3) * static_cast<size_t>(n);
        // Columns of the speck inside the image: specks are cut, never wrapped.
        const int m0 = MP_imax(0, half - a.px[i]);
        const int m1 = MP_imin(n, w - a.px[i] + half);
        for (int k = 0; k < n; ++k) {
            const int y = a.py[i] - half + k;
            if (y < y0 || y >= y1 || !a.rowFlag[tile][MP_safeTrunc(static_cast<float>(k) * D, 0, kTile - 1)])
                continue;
            ushort* row = a.run.dst + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
            const float ty = oy + 128.0f * static_cast<float>(k) / static_cast<float>(n);
            const mp_sampler_detail::Axis ay = mp_sampler_detail::clampedAxis(ty, a.tex.h);
            for (int m = m0; m < m1; ++m) {
                const int x = a.px[i] - half + m;
                // The green sample of the sheet at (ox + m D, ty), as MP_tex2D16intBilinearGreenToInt.
                const int T = mp_sampler_detail::value(mp_sampler_detail::taps(a.tex.w, a.tex.px, columns[m], ay), 1);
                if (T > 64999)
                    continue;
                ushort* d = row + static_cast<size_t>(x) * 3;
                if (!a.white) {
                    const int I = ((C * T) >> 16) - C + 1024;
                    for (int ch = 0; ch < 3; ++ch)
                        d[ch] = static_cast<ushort>((d[ch] * I) >> 10);
                } else {
                    const int K = 65000 - T;
                    for (int ch = 0; ch < 3; ++ch) {
                        const int v = d[ch];
                        d[ch] = static_cast<ushort>(MP_imin(((1024 - C) * v >> 10) + ((v + K) * C >> 10), 65535));
                    }
                }
            }
        }
    }
}

// Blend, opacity and mask of the speck image (the scratch) over the source.
void MP_TaskLayer_calcPixelDust(TaskFuncParams t)
{
    const DustArgs& a = *MP_taskArgs<DustArgs>(t);
    MP_DriverRun layer = a.run;
    layer.dst = a.out;
    const ushort* specks = a.run.dst;
    const size_t w = static_cast<size_t>(a.run.width);
    MP_fullWorkerRows(layer, MP_taskStart(t), MP_taskEnd(t), [specks, w](MP_float3, int x, int y) {
        return MP_loadRGB48(specks + (static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 3);
    });
}

} // namespace

int MP_calcPixelStructureDust(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    auto a = std::make_unique<DustArgs>();
    a->tex = MP_effectTexture(params->p[0][0], 61, 6);
    // The sheet holds 4 x 4 tiles of 128 x 128 texels; a smaller one cannot
    // be cut.
    if (!a->tex.px || a->tex.w < 4 * kTile || a->tex.h < 4 * kTile)
        return -1;
    if (int r = MP_beginEffectDriver(a->run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 7))
        return r;
    MP_copyImageBanded(src, a->run.dst, sizex, sizey);

    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    const float w = static_cast<float>(sizex), h = static_cast<float>(sizey);
    a->count = MP_safeTrunc(1.0f + 127.0f * p[1][0], 0, kMaxSpecks);
    const float sigma = MP_max(w, h) * p[2][0] / 640.0f;
    a->n = MP_safeTrunc(sigma * 128.0f, 0, 1 << 20);
    const float iota = 2.0f * p[3][0] - 1.0f;
    a->white = iota < 0.0f;
    a->C = MP_safeTrunc((a->white ? -iota : iota) * 1024.0f, 0, 1024);

    MP_UI_SetRandomSeed(0x12345678);
    const int reseeds = MP_safeTrunc(p[4][0] * 1000.0f, 0, 1000);
    for (int i = 0; i < reseeds; ++i) {
        const int r1 = MP_rand();
        const int r2 = MP_rand();
        MP_UI_SetRandomSeed((r1 & 0x7FFF) * 65536 + (r2 & 0x7FFF));
    }
    buildRowFlags(*a);
    const float offx = p[5][0] * w, offy = p[5][1] * h;
    for (int i = 0; i < a->count; ++i) {
        int x = MP_safeTrunc(static_cast<float>(MP_rand() & 0x7FFF) / 32767.0f * w + offx, -(1 << 30), 1 << 30);
        if (x >= sizex)
            x -= sizex;
        int y = MP_safeTrunc(static_cast<float>(MP_rand() & 0x7FFF) / 32767.0f * h + offy, -(1 << 30), 1 << 30);
        if (y >= sizey)
            y -= sizey;
        a->px[i] = x;
        a->py[i] = y;
    }

    // The sheet columns of every speck column, once for the run.
    std::unique_ptr<mp_sampler_detail::Axis[]> columns;
    if (a->n > 0) {
        columns.reset(new (std::nothrow) mp_sampler_detail::Axis[4 * static_cast<size_t>(a->n)]);
        if (!columns)
            return -1;
        const float D = 128.0f / static_cast<float>(a->n);
        for (int tc = 0; tc < 4; ++tc)
            for (int m = 0; m < a->n; ++m)
                columns[static_cast<size_t>(tc) * static_cast<size_t>(a->n) + static_cast<size_t>(m)] =
                    mp_sampler_detail::clampedAxis(static_cast<float>(tc * kTile) + static_cast<float>(m) * D, a->tex.w);
        a->columns = columns.get();
    }
    const TaskFuncParams tmpl = MP_makeTask(params, a.get());
    MP_runBandPass(MP_Task_calcPixelDust, tmpl, sizey, 0);
    if (!a->run.full)
        return MP_finishEffectDriver(a->run, dst);
    if (MP_isCalculatingCancelRequest != 0)
        return 0;
    a->out = dst;
    MP_runBandPass(MP_TaskLayer_calcPixelDust, tmpl, sizey, 0);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelStructureDust", MP_calcPixelStructureDust},
};
} // namespace
extern const MP_DriverTable MP_drivers_dust = MP_driverTable(kDrivers);
