#include "engine/filters/variancedenoise.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"
#include "engine/filters/smalldenoise.h"
#include "engine/filters/smoothing.h"

#include <cstdlib>
#include <cstring>
#include <memory>

using namespace mp_filters;

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

struct IterativeArgs {
    MP_DriverRun run;
    MP_MinMaxStep step{};
    const ushort* image = nullptr; // image A, blended onto the source
};

void iterativeMaskTask(TaskFuncParams t)
{
    MP_splineSlotTable(MP_taskArgs<const float>(t), MP_taskStart(t), MP_taskEnd(t), MP_temp2_table);
}

void iterativeStepTask(TaskFuncParams t)
{
    MP_minMaxStepRows(MP_taskArgs<IterativeArgs>(t)->step, MP_taskStart(t), MP_taskEnd(t));
}

void iterativeBlendTask(TaskFuncParams t)
{
    const IterativeArgs* a = MP_taskArgs<IterativeArgs>(t);
    const MP_DriverRun& run = a->run;
    const bool geometry = run.params->geometry_needed != 0;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        for (int x = 0; x < run.width; ++x) {
            const size_t i = row + static_cast<size_t>(x) * 3;
            const MP_float3 c = MP_loadRGB48(run.src + i);
            const MP_float3 e = MP_loadRGB48(a->image + i);
            MP_float3 r = c;
            float o = 1.0f;
            if (geometry)
                o = MP_calcGeometryMethodOpacity(x, y, run.width, run.height, run.geoSlot, run.params);
            if (o > 0.0f) {
                r = MP_calcLayerMethodOpacity(run.mode, c, e, run.opacity);
                if (o < 1.0f)
                    r = MP_calcGeometryMethodBlend(c, r, o);
            }
            MP_storeRGB48(run.dst + i, r);
        }
    }
}

} // namespace

int MP_deNoiseIterations(float p) { return MP_safeTrunc(p * 9.0f + 1.0f, 1, 10); }

int MP_calcPixelDeNoiseVariance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params)
{
    if (!params)
        return -2;
    const MP_WindowSize size = MP_calcWindowSize(params, 50.0f, MP_WindowStep::One);
    return MP_runImageSmooth("MP_calcPixelDeNoiseVariance", size, params->p[1][0] * 0.999f + 0.001f, sizex, sizey,
                             src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelDeNoiseIterative(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    std::unique_ptr<MP_Params> own(new (std::nothrow) MP_Params);
    if (!own)
        return -1;
    MP_Params& priv = *own;
    std::memcpy(&priv, params, sizeof(MP_Params));
    priv.p[1][0] = params->p[2][0];
    std::memcpy(priv.p[2], params->p[3], sizeof(priv.p[2]));
    std::memset(priv.p[3], 0, sizeof(priv.p[3]));
    priv.p[3][1] = 100.0f;
    std::memset(priv.p[4], 0, sizeof(priv.p[4]));

    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels > SIZE_MAX / 14)
        return -1;
    std::unique_ptr<ushort, FreeDeleter> work(static_cast<ushort*>(std::malloc(pixels > 0 ? pixels * 14 : 1)));
    if (!work)
        return -1;
    ushort* A = work.get();
    ushort* B = A + pixels * 3;
    ushort* plane = B + pixels * 3;

    const float start = _progressstart, delta = _progressdelta;
    _progressdelta = delta * 0.5f;
    if (int e = MP_calcPixelDeNoiseVariance(sizex, sizey, src, A, srcBpp, dstBpp, &priv)) {
        _progressstart = start;
        _progressdelta = delta;
        return e;
    }
    _progressstart = _progressstart + _progressdelta;

    IterativeArgs a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return e;
    if (pixels == 0)
        return 0;
    MP_runTablePass(iterativeMaskTask, MP_makeTask(params, params->p[3]));
    const int m = MP_deNoiseIterations(params->p[1][0]);
    const float v = 0.99f * params->p[2][0];
    a.step = MP_MinMaxStep{A, plane, B, sizex, sizey, 1.0f, 0.0f, MP_temp2_table, MP_UI_GetPanoramaMode() != 0};
    for (int i = 0; i < m; ++i) {
        MP_runFilterPlanePass(A, plane, sizex, sizey, params);
        const float s = v - (static_cast<float>(i) * v / static_cast<float>(m));
        MP_minMaxFactors(s, &a.step.g, &a.step.b);
        MP_runBandPass(iterativeStepTask, MP_makeTask(params, &a), sizey, 0);
        std::memcpy(A, B, pixels * 6);
        MP_postKernelProgress(i + 1, m);
    }
    if (MP_filterCancelled())
        return 0;
    a.image = A;
    MP_runBandPass(iterativeBlendTask, MP_makeTask(params, &a), sizey, 0);
    return 0;
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelDeNoiseVariance", MP_calcPixelDeNoiseVariance},
    {"MP_calcPixelDeNoiseIterative", MP_calcPixelDeNoiseIterative},
};
extern const MP_DriverTable MP_drivers_variancedenoise = MP_driverTable(kDrivers);
