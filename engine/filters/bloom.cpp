#include "engine/filters/bloom.h"

#include "engine/MP_calccl.h"
#include "engine/core/colortemp.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <cmath>

using namespace mp_filters;

namespace {

struct BloomArgs {
    MP_DriverRun run;
    Window win;
    ushort* out = nullptr;
    const ushort* plane = nullptr;
    float s = 0.0f;      // strength 0.5 * "Stärke"
    MP_float3 tint{};    // the temperature's colour
    float N = 1.0f;      // (tr + tg + tb) * 0.33333 + 1

    void fillTables(int start, int end) const { MP_splineSlotTable(run.params->p[3], start, end, MP_temp2_table); }

    struct Cache {
        float W[kChunk], S[kChunk];
    };

    // Flat-window sums of the plane: W the weights, S the weighted luminances.
    void gather(int y, int x0, int n, Cache& c) const
    {
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        for (int i = 0; i < n; ++i)
            c.W[i] = c.S[i] = 0.0f;
        if (MP_chunkWalkable(win, x0, n)) {
            const bool walked = MP_forEachWindowOffset(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
                const ushort* q = plane + static_cast<ptrdiff_t>(base) + off;
                for (int i = lo; i < hi; ++i) {
                    c.W[i] += ws;
                    c.S[i] += ws * static_cast<float>(q[i]);
                }
            });
            if (walked)
                return;
        }
        for (int i = 0; i < n; ++i) {
            float W = 0.0f, S = 0.0f;
            MP_forEachWindowSample(win, x0 + i, y, [&](size_t j, float ws) {
                W += ws;
                S += ws * static_cast<float>(plane[j]);
            });
            c.W[i] = W;
            c.S[i] = S;
        }
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const float mean = cache.S[i] / cache.W[i] * MP_k;
        const MP_Params* p = run.params;
        const float L = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
        const float w = MP_temp2_table[MP_tableIndex(L)];
        const float q = MP_sqrt(L);
        const float inv = 1.0f / (0.001f + L);
        const float k = 1.0f - w, ks = 1.0f - s;
        auto channel = [&](float ch, float t) {
            const float X = (ch * mean * inv * q + (1.0f - q) * mean) * (N - t);
            return ch * k + (ch * ks + X * (1.7f * X) * s) * w;
        };
        return {channel(c.x, tint.x), channel(c.y, tint.y), channel(c.z, tint.z)};
    }
};

} // namespace

int MP_calcPixelImageBloom(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    static const char* const kKernel = "MP_calcPixelImageBloom";
    BloomArgs a;
    ushort* scratch = nullptr;
    // The output image (6 bytes a pixel) followed by the luminance plane (2).
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 8, 5, 4, &scratch))
        return MP_beginFilterResult(e);
    const size_t pixels = pixelCount(sizex, sizey);
    const MP_WindowSize size = MP_calcWindowSize(params, 500.0f, MP_WindowStep::Loopstep, MP_WindowWeights::Box);
    MP_prepareFilterWindow(a.win, kKernel, params, size, sizex, sizey, MP_UI_GetPanoramaMode() != 0);
    a.out = scratch;
    ushort* plane = scratch + pixels * 3;
    a.plane = plane;
    MP_runWindowWeightsPass(a.win.R, size.scale, params);
    MP_runTablePass(MP_filterTableTask<BloomArgs>, MP_makeTask(params, &a));
    MP_runFilterPlanePass(src, plane, sizex, sizey, params);
    a.s = 0.5f * finiteOr(params->p[1][0], 0.0f);
    MP_UI_GetRGBFromTemperatur(&a.tint.x, &a.tint.y, &a.tint.z, 1000.0f + 15500.0f * finiteOr(params->p[2][0], 0.0f));
    a.N = (a.tint.x + a.tint.y + a.tint.z) * 0.33333f + 1.0f;
    MP_runFilterBands(a);
    MP_copyFilterOutput(dst, scratch, pixels);
    return 0;
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelImageBloom", MP_calcPixelImageBloom},
};
extern const MP_DriverTable MP_drivers_bloom = MP_driverTable(kDrivers);
