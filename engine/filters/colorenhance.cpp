#include "engine/filters/colorenhance.h"

#include "engine/core/settings.h"

#include <cstdlib>
#include <memory>

using namespace mp_filters;

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

void colorEnhanceTables(TaskFuncParams t)
{
    const MP_ColorEnhanceRun* a = MP_taskArgs<MP_ColorEnhanceRun>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i) {
        const float x = static_cast<float>(i) * MP_k;
        MP_temp_table[i] = MP_pow(x, a->q);
        MP_temp2_table[i] = MP_pow(x, 24.0f);
        MP_temp3_table[i] = divisor(i, 0.001f);
    }
}

} // namespace

int MP_runColorEnhance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params,
                       MP_TaskFunc full, MP_TaskFunc reduced)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    if (!full)
        return -2;
    const MP_WindowSize size = MP_calcWindowSize(params, 500.0f);
    const size_t pixels = pixelCount(sizex, sizey);
    ushort* plane = static_cast<ushort*>(MP_UpdateBuffer(pixels * 2));
    if (!plane)
        return -1;
    if (pixels > SIZE_MAX / 6)
        return -1;
    std::unique_ptr<ushort, FreeDeleter> out(static_cast<ushort*>(std::malloc(pixels > 0 ? pixels * 6 : 1)));
    if (!out)
        return -1;
    MP_ColorEnhanceRun a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return e;
    if (pixels == 0)
        return 0;
    MP_prepareFilterWindow(a.win, "MP_calcPixelColorEnhance", params, size, sizex, sizey,
                           MP_UI_GetPanoramaMode() != 0);
    MP_runFilterPlanePass(src, plane, sizex, sizey, params);
    MP_runWindowWeightsPass(a.win.R, size.scale, params);
    a.q = 1.0f + params->p[1][0] * -0.5f;
    MP_runTablePass(colorEnhanceTables, MP_makeTask(params, &a));
    a.plane = plane;
    a.out = out.get();
    a.micro = params->p[2][0];
    a.hue = {params->p[3][2], params->p[3][3], params->p[3][4]};
    MP_runDriverBands(a.run, &a, full, reduced, 1);
    MP_copyFilterOutput(dst, a.out, pixels);
    return 0;
}
