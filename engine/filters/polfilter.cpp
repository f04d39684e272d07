#include "engine/filters/polfilter.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/statistics.h"
#include "engine/filters/filterframe.h"

#include <cstring>
#include <memory>
#include <new>

using namespace mp_filters;

namespace {

// Full effect in the midtones, none at black and white.
constexpr float kContrastMask[12] = {0.0f, 0.0f, 0.2f, 0.8f, 0.4f, 1.0f, 0.6f, 1.0f, 0.8f, 0.8f, 1.0f, 0.0f};

void setSpline(MP_Params& p, int slot, const float (&knots)[12]) { std::memcpy(p.p[slot], knots, sizeof knots); }
void setCombo(MP_Params& p, int slot)
{
    p.p[slot][0] = 0.0f;
    p.p[slot][1] = 100.0f;
}
void clearGeometry(MP_Params& p, int slot) { std::memset(p.p[slot], 0, sizeof p.p[slot]); }

struct PolArgs {
    MP_DriverRun run;
    const ushort* temp = nullptr;
};

void MP_Task_calcPixelPolfilter(TaskFuncParams t)
{
    const PolArgs* a = MP_taskArgs<PolArgs>(t);
    const size_t w = static_cast<size_t>(a->run.width);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, w](MP_float3, int x, int y) {
        return MP_loadRGB48(a->temp + (static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 3);
    });
}

// Runs one operator of the chain by name with the progress range of the run.
int step(const char* kernel, int sizex, int sizey, ushort* in, ushort* out, MP_Params& p)
{
    return MP_UI_executeKernel(kernel, sizex, sizey, in, out, 6, 6, &p, _category, _progressstart, _progressdelta);
}

} // namespace

MP_PolfilterSettings MP_polfilterSettings(float D, float H, float F)
{
    return {0.75f * D + 0.25f, 0.5f - 0.15f * D, H, F, 1.0f - 0.4f * H};
}

int MP_calcPixelPolfilter(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels == 0)
        return 0;
    if (pixels > SIZE_MAX / 3)
        return -1;
    std::unique_ptr<ushort[]> temp(new (std::nothrow) ushort[pixels * 3]);
    std::unique_ptr<MP_Params> priv(new (std::nothrow) MP_Params(*params));
    if (!temp || !priv)
        return -1;
    const MP_PolfilterSettings s = MP_polfilterSettings(params->p[0][0], params->p[1][0], params->p[2][0]);
    MP_Params& p = *priv;
    ushort* t = temp.get();
    const int category = _category;
    const float start = _progressstart, delta = _progressdelta;

    // 1. Local contrast at the largest radius. The dispatcher wrote the row
    // widths for the "Details" radius; the rows beyond it get half-width 1.
    {
        const float d = p.p[0][0]; // "Details", which the dispatcher's radius came from
        p.p[0][0] = 1.0f;
        const int R = MP_calcWindowSize(&p, 500.0f).R;
        p.p[0][0] = d;
        MP_completeRowWidths("MP_calcPixelPolfilter", &p, R);
    }
    p.p[0][0] = 1.0f;
    p.p[1][0] = s.localContrast;
    setSpline(p, 2, kContrastMask);
    setCombo(p, 3);
    clearGeometry(p, 4);
    int r = step("MP_calcPixelLocalContrast", sizex, sizey, src, t, p);
    // 2. Soft contrast, in place on the result of step 1.
    if (r >= 0) {
        p.p[0][0] = 1.0f;
        p.p[1][0] = s.softContrast;
        setSpline(p, 2, kContrastMask);
        setCombo(p, 3);
        clearGeometry(p, 4);
        r = step("MP_calcPixelSoftContrast", sizex, sizey, src, t, p);
    }
    // 3. Light and shadow: only the lights.
    if (r >= 0) {
        p.p[0][0] = 1.0f;
        p.p[1][0] = 0.0f;
        p.p[2][0] = s.lights;
        p.p[3][0] = 0.5f;
        setCombo(p, 4);
        clearGeometry(p, 5);
        r = step("MP_calcPixelLightShadow", sizex, sizey, t, t, p);
    }
    // 4. Colouring of the lights.
    if (r >= 0) {
        p.p[0][0] = s.colour;
        p.p[1][0] = 0.5f;
        setCombo(p, 2);
        clearGeometry(p, 3);
        r = step("MP_calcPixelColorLightShadow", sizex, sizey, t, t, p);
    }
    // 5. A tone curve lowering everything but black and white by b.
    if (r >= 0) {
        const float b = s.curve;
        const float curve[12] = {0.0f, 0.0f, 0.2f, 0.2f * b, 0.4f, 0.4f * b, 0.6f, 0.6f * b, 0.8f, 0.8f * b, 1.0f, 1.0f};
        std::memcpy(p.p[0], curve, sizeof curve);
        setCombo(p, 1);
        clearGeometry(p, 2);
        r = step("MP_calcPixelGradationLagrange", sizex, sizey, t, t, p);
    }
    // 6. The black and white point stretch of the temporary image.
    if (r >= 0) {
        setCombo(p, 0);
        clearGeometry(p, 1);
        MP_UI_GetMinMaxLuminance(t, &p.lummin, &p.lummax, static_cast<float>(sizex), static_cast<float>(sizey));
        r = step("MP_calcPixelautomaticbwpoint", sizex, sizey, t, t, p);
    }
    _category = category;
    _progressstart = start;
    _progressdelta = delta;
    if (r < 0)
        return r;

    // The masks act once, here.
    PolArgs a;
    a.temp = t;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3))
        return e;
    if (MP_filterCancelled())
        return 0;
    if (a.run.full)
        return MP_runDriverBands(a.run, &a, MP_Task_calcPixelPolfilter, nullptr, 0);
    std::memcpy(dst, t, pixels * 6);
    return 0;
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelPolfilter", MP_calcPixelPolfilter},
};
extern const MP_DriverTable MP_drivers_polfilter = MP_driverTable(kDrivers);
