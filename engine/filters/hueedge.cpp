#include "engine/filters/hueedge.h"

#include "engine/MP_calccl.h"
#include "engine/filters/colorenhance.h"

using namespace mp_filters;

namespace {

MP_float3 hueEdge(const MP_ColorEnhanceRun& a, MP_float3 tn, MP_float3 s, int x, int y)
{
    // The differences start from the centre's own plane value: the plane's
    // 14-bit weights sum to 16382 / 16384, so a flat area measured from the
    // float luminance index would differ by a unit everywhere and be boosted.
    const int H = a.plane[static_cast<size_t>(y) * static_cast<size_t>(a.run.width) + static_cast<size_t>(x)];
    const ushort* src = a.run.src;
    float W = 0.0001f, SR = 0.0f, SG = 0.0f, SB = 0.0f, L = 0.0f;
    MP_forEachWindowSample<false>(a.win, x, y, [&](size_t j, float ws) {
        const int d = H - static_cast<int>(a.plane[j]);
        const int ad = d < 0 ? -d : d;
        const float w = ws * MP_temp3_table[ad];
        const ushort* c = src + j * 3;
        W += w;
        SR += w * static_cast<float>(c[0]);
        SG += w * static_cast<float>(c[1]);
        SB += w * static_cast<float>(c[2]);
        const float l = w * MP_temp_table[ad];
        L += d < 0 ? -l : l;
    });
    const MP_float3 A{SR / W * MP_k, SG / W * MP_k, SB / W * MP_k};
    const float lambda = L / W;
    const float na = MP_length(A) + 0.001f;
    const float delta = MP_fabs(tn.x - A.x / na) + MP_fabs(tn.y - A.y / na) + MP_fabs(tn.z - A.z / na);
    const float am = MP_temp2_table[MP_tableIndex(1.0f - 0.333333f * delta)];
    const float mu = a.micro;
    const float F = (1.0f - am) + am * ((5.0f * lambda / (MP_length(s) + 0.001f) + 1.0f) * mu + (1.0f + lambda) * (1.0f - mu));
    return {s.x * F, s.y * F, s.z * F};
}

template <bool Full> void hueEdgeTask(TaskFuncParams t)
{
    const MP_ColorEnhanceRun* a = MP_taskArgs<MP_ColorEnhanceRun>(t);
    const MP_float3 tn = MP_normalize({a->hue.x + 0.001f, a->hue.y + 0.001f, a->hue.z + 0.001f});
    MP_filterRows<Full>(a->run, a->out, MP_taskStart(t), MP_taskEnd(t),
                        [a, tn](MP_float3 c, int x, int y) { return hueEdge(*a, tn, c, x, y); });
}

void MP_Task_calcPixelColorEnhance(TaskFuncParams t) { hueEdgeTask<true>(t); }
void MP_Task_calcPixelColorEnhanceReduced(TaskFuncParams t) { hueEdgeTask<false>(t); }

} // namespace

int MP_calcPixelColorEnhance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params)
{
    return MP_runColorEnhance(sizex, sizey, src, dst, srcBpp, dstBpp, params, MP_Task_calcPixelColorEnhance,
                              MP_Task_calcPixelColorEnhanceReduced);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelColorEnhance", MP_calcPixelColorEnhance},
};
extern const MP_DriverTable MP_drivers_hueedge = MP_driverTable(kDrivers);
