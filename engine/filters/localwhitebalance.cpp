#include "engine/filters/localwhitebalance.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/filters/filterframe.h"

#include <cstdlib>
#include <memory>

using namespace mp_filters;

namespace {

constexpr int kComboSlot = 2;
constexpr int kGeoSlot = 3;

struct WhitebalanceArgs {
    MP_DriverRun run;
    Window win;
    const ushort* plane = nullptr;
    ushort* out = nullptr;
    float s = 0.0f;

    void fillTables(int start, int end) const
    {
        for (int i = start; i < end; ++i) {
            const float x = static_cast<float>(i) * MP_k;
            MP_temp_table[i] = x * x;
            MP_temp3_table[i] = divisor(i, 0.001f);
        }
    }

    using Cache = ColourSums;

    // The bilateral colour sums; a window without a sample keeps W 0.
    void gather(int y, int x0, int n, Cache& c) const
    {
        MP_gatherColourSums<false, false>(win, run, LumWeights{}, 0.001f, y, x0, n, c, plane);
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const float W = cache.W[i], SR = cache.SR[i], SG = cache.SG[i], SB = cache.SB[i];
        float nr = 0.0f, ng = 0.0f, nb = 0.0f;
        if (W > 0.0f) {
            const float f = MP_k / W;
            nr = MP_temp_table[MP_tableIndex(SR * f)];
            ng = MP_temp_table[MP_tableIndex(SG * f)];
            nb = MP_temp_table[MP_tableIndex(SB * f)];
        }
        const float M = MP_max(nr, MP_max(ng, nb));
        if (M > 0.0f) {
            nr = nr / M;
            ng = ng / M;
            nb = nb / M;
        }
        const float L = (nr + ng + nb) * 0.33333f + 1.0f;
        const auto gain = [&](float v) { return (L - v) * (L - v) * s + (1.0f - s); };
        return {c.x * gain(nr), c.y * gain(ng), c.z * gain(nb)};
    }
};

struct AberrationArgs {
    MP_DriverRun run;
    Window win;
    const ushort* plane = nullptr;
    ushort* out = nullptr;
    float g = 0.0f;

    void fillTables(int start, int end) const
    {
        for (int i = start; i < end; ++i)
            MP_temp_table[i] = divisor(i, 0.05f);
    }

    struct Cache {
        int Lc[kChunk];
        float W[kChunk], delta[kChunk];
    };

    // The centre channels as integers, (int)(c * 65535) of the working colour.
    static int channel(ushort v) { return MP_safeTrunc(static_cast<float>(v) * MP_k * 65535.0f, 0, 65535); }

    // The bilateral weight W and the weighted summed channel differences of
    // pixels x0 .. x0+n-1 of row y.
    void gather(int y, int x0, int n, Cache& c) const
    {
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        const ushort* src = run.src;
        int cr[kChunk], cg[kChunk], cb[kChunk];
        for (int i = 0; i < n; ++i) {
            const ushort* px = src + (base + i) * 3;
            c.Lc[i] = plane[base + i];
            cr[i] = channel(px[0]);
            cg[i] = channel(px[1]);
            cb[i] = channel(px[2]);
            c.W[i] = c.delta[i] = 0.0f;
        }
        if (MP_chunkWalkable(win, x0, n)) {
            const bool walked = MP_forEachWindowOffset(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
                const ushort* ql = plane + static_cast<ptrdiff_t>(base) + off;
                const ushort* q = src + (static_cast<ptrdiff_t>(base) + off) * 3;
                for (int i = lo; i < hi; ++i) {
                    const int d = c.Lc[i] - static_cast<int>(ql[i]);
                    const float w = ws * divisor(d < 0 ? -d : d, 0.05f);
                    const ushort* px = q + 3 * i;
                    c.W[i] += w;
                    c.delta[i] +=
                        w * static_cast<float>(std::abs(cg[i] - px[1]) + std::abs(cb[i] - px[2]) + std::abs(cr[i] - px[0]));
                }
            });
            if (walked)
                return;
        }
        for (int i = 0; i < n; ++i) {
            const int Lc = c.Lc[i];
            float W = 0.0f, delta = 0.0f;
            MP_forEachWindowSample(win, x0 + i, y, [&](size_t j, float ws) {
                const int d = Lc - static_cast<int>(plane[j]);
                const float w = ws * MP_temp_table[d < 0 ? -d : d];
                const ushort* px = src + j * 3;
                W += w;
                delta += w * static_cast<float>(std::abs(cg[i] - px[1]) + std::abs(cb[i] - px[2]) + std::abs(cr[i] - px[0]));
            });
            c.W[i] = W;
            c.delta[i] = delta;
        }
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const int Lc = cache.Lc[i];
        const float W = cache.W[i], delta = cache.delta[i];
        const float u = 5.085832e-6f * delta / W - 0.02f;
        const float t = mp_blend_detail::clampUnit(u * g);
        const float grey = static_cast<float>(Lc) * t * MP_k;
        const float k = 1.0f - t;
        return {c.x * k + grey, c.y * k + grey, c.z * k + grey};
    }
};

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

} // namespace

int MP_calcPixelLocalWhitebalance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const MP_WindowSize size = MP_calcWindowSize(params, 500.0f);
    const size_t pixels = pixelCount(sizex, sizey);
    ushort* out = static_cast<ushort*>(MP_UpdateBuffer(pixels * 6));
    if (!out)
        return -1;
    std::unique_ptr<ushort, FreeDeleter> plane(static_cast<ushort*>(std::malloc(pixels > 0 ? pixels * 2 : 1)));
    if (!plane)
        return -1;
    WhitebalanceArgs a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return e;
    if (pixels == 0)
        return 0;
    MP_prepareFilterWindow(a.win, "MP_calcPixelLocalWhitebalance", params, size, sizex, sizey,
                           MP_UI_GetPanoramaMode() != 0);
    MP_runFilterPlanePass(src, plane.get(), sizex, sizey, params);
    MP_runWindowWeightsPass(a.win.R, size.scale, params);
    MP_runTablePass(MP_filterTableTask<WhitebalanceArgs>, MP_makeTask(params, &a));
    a.s = params->p[1][0] * 0.45f;
    a.plane = plane.get();
    a.out = out;
    MP_runFilterBands(a);
    MP_copyFilterOutput(dst, out, pixels);
    return 0;
}

int MP_calcPixelChromaticAberration(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                    MP_Params* params)
{
    AberrationArgs a;
    ushort* scratch = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 8, kGeoSlot, kComboSlot,
                               &scratch))
        return MP_beginFilterResult(e);
    const size_t pixels = pixelCount(sizex, sizey);
    ushort* plane = scratch;
    ushort* out = scratch + pixels;
    MP_runFilterPlanePass(src, plane, sizex, sizey, params);
    const MP_WindowSize size = MP_calcWindowSize(params, 50.0f, MP_WindowStep::One, MP_WindowWeights::Box);
    MP_prepareFilterWindow(a.win, "MP_calcPixelChromaticAberration", params, size, sizex, sizey,
                           MP_UI_GetPanoramaMode() != 0);
    MP_runWindowWeightsPass(a.win.R, size.scale, params);
    MP_runTablePass(MP_filterTableTask<AberrationArgs>, MP_makeTask(params, &a));
    a.plane = plane;
    a.out = out;
    a.g = params->p[1][0] * 20.0f;
    MP_runFilterBands(a);
    MP_copyFilterOutput(dst, out, pixels);
    return 0;
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelLocalWhitebalance", MP_calcPixelLocalWhitebalance},
    {"MP_calcPixelChromaticAberration", MP_calcPixelChromaticAberration},
};
extern const MP_DriverTable MP_drivers_localwhitebalance = MP_driverTable(kDrivers);
