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

    MP_float3 effect(MP_float3 c, int x, int y) const
    {
        const int L0 = lumIndex(run.params, c);
        const ushort* src = run.src;
        float W = 0.0f, SR = 0.0f, SG = 0.0f, SB = 0.0f;
        const int n = MP_forEachWindowSample<false>(win, x, y, [&](size_t i, float ws) {
            const int d = L0 - static_cast<int>(plane[i]);
            const float w = ws * MP_temp3_table[d < 0 ? -d : d];
            const ushort* px = src + i * 3;
            W += w;
            SR += w * static_cast<float>(px[0]);
            SG += w * static_cast<float>(px[1]);
            SB += w * static_cast<float>(px[2]);
        });
        float nr = 0.0f, ng = 0.0f, nb = 0.0f;
        if (n > 0) {
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

    MP_float3 effect(MP_float3 c, int x, int y) const
    {
        const size_t centre = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x);
        const int Lc = plane[centre];
        const int cr = MP_safeTrunc(c.x * 65535.0f, 0, 65535);
        const int cg = MP_safeTrunc(c.y * 65535.0f, 0, 65535);
        const int cb = MP_safeTrunc(c.z * 65535.0f, 0, 65535);
        const ushort* src = run.src;
        float W = 0.0f, delta = 0.0f;
        MP_forEachWindowSample(win, x, y, [&](size_t i, float ws) {
            const int d = Lc - static_cast<int>(plane[i]);
            const float w = ws * MP_temp_table[d < 0 ? -d : d];
            const ushort* px = src + i * 3;
            W += w;
            delta += w * static_cast<float>(std::abs(cg - px[1]) + std::abs(cb - px[2]) + std::abs(cr - px[0]));
        });
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
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    ushort* scratch = static_cast<ushort*>(MP_UpdateBuffer(pixels * 8));
    if (!scratch)
        return -1;
    AberrationArgs a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return e;
    if (pixels == 0)
        return 0;
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
