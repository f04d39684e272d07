#include "engine/filters/morphology.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <cmath>
#include <memory>
#include <new>

using namespace mp_filters;

namespace {

enum class Morph { Erode, Dilate, Doppler };

constexpr int kMaxMorphRadius = 20;
constexpr int kWeightSide = 2 * kMaxMorphRadius + 1;

struct MorphArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    const ushort* plane = nullptr;
    float sigma = 1.0f; // width of the Gaussian part
    float g = 0.0f;     // Gaussian share
    int o = 1;          // radius
    bool panorama = false;

    void fillTables(int start, int end) const { MP_splineSlotTable(run.params->p[2], start, end, MP_temp2_table); }
};

template <Morph Op> inline float morphWeight(int J, int P)
{
    if constexpr (Op == Morph::Erode)
        return P < J ? static_cast<float>(J - P) : 0.0f;
    else if constexpr (Op == Morph::Dilate)
        return P > J ? static_cast<float>(P - J) : 0.0f;
    else
        return P != J ? static_cast<float>(P > J ? P - J : J - P) : 0.0f;
}

template <Morph Op, bool Full> void morphRows(const MorphArgs& a, int start, int end)
{
    const int R = MP_iclamp(a.o, 0, kMaxMorphRadius);
    float W[kWeightSide * kWeightSide];
    const float s2 = a.sigma * a.sigma;
    for (int dy = -R; dy <= R; ++dy)
        for (int dx = -R; dx <= R; ++dx)
            W[(dy + R) * kWeightSide + dx + R] =
                (std::exp(-static_cast<float>(dx * dx + dy * dy) / s2) * a.g + (1.0f - a.g)) * MP_k;
    const MP_DriverRun& run = a.run;
    const int w = run.width, h = run.height;
    const ushort* src = run.src;
    const MP_Params* p = run.params;
    MP_filterRows<Full>(run, a.out, start, end, [&](MP_float3 c, int x, int y) {
        const int J = MP_tableIndex(p->lumr * c.x + p->lumg * c.y + p->lumb * c.z);
        float Sw = 0.0f, SR = 0.0f, SG = 0.0f, SB = 0.0f;
        const int y1 = MP_imax(0, y - R), y2 = MP_imin(h - 1, y + R);
        int x1 = -R, x2 = R;
        if (!a.panorama) {
            x1 = MP_imax(0, x - R) - x;
            x2 = MP_imin(w - 1, x + R) - x;
        }
        for (int yy = y1; yy <= y2; ++yy) {
            const size_t row = static_cast<size_t>(yy) * static_cast<size_t>(w);
            const float* Wr = &W[(yy - y + R) * kWeightSide + R];
            for (int dx = x1; dx <= x2; ++dx) {
                int xx = x + dx;
                if (a.panorama) {
                    xx %= w;
                    if (xx < 0)
                        xx += w;
                }
                const size_t j = row + static_cast<size_t>(xx);
                const float wt = morphWeight<Op>(J, a.plane[j]) * Wr[dx];
                const ushort* q = src + j * 3;
                Sw += wt;
                SR += wt * static_cast<float>(q[0]);
                SG += wt * static_cast<float>(q[1]);
                SB += wt * static_cast<float>(q[2]);
            }
        }
        MP_float3 m = c;
        if (Sw > 0.0f)
            m = {SR * MP_k / Sw, SG * MP_k / Sw, SB * MP_k / Sw};
        const float am = MP_temp2_table[J];
        const float k = 1.0f - am;
        return MP_float3{c.x * k + m.x * am, c.y * k + m.y * am, c.z * k + m.z * am};
    });
}

template <Morph Op, bool Full> void morphTask(TaskFuncParams t)
{
    morphRows<Op, Full>(*MP_taskArgs<MorphArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}

void MP_Task_calcPixelErode(TaskFuncParams t) { morphTask<Morph::Erode, true>(t); }
void MP_Task_calcPixelErodeReduced(TaskFuncParams t) { morphTask<Morph::Erode, false>(t); }
void MP_Task_calcPixelDilate(TaskFuncParams t) { morphTask<Morph::Dilate, true>(t); }
void MP_Task_calcPixelDilateReduced(TaskFuncParams t) { morphTask<Morph::Dilate, false>(t); }
void MP_Task_calcPixelDoppler(TaskFuncParams t) { morphTask<Morph::Doppler, true>(t); }
void MP_Task_calcPixelDopplerReduced(TaskFuncParams t) { morphTask<Morph::Doppler, false>(t); }

int runMorphology(MP_TaskFunc full, MP_TaskFunc reduced, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp,
                  int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    std::unique_ptr<ushort[]> plane(new (std::nothrow) ushort[pixels > 0 ? pixels : 1]);
    if (!plane)
        return -1;
    MorphArgs a;
    ushort* scratch = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6, 4, 3, &scratch))
        return MP_beginFilterResult(e);
    a.out = scratch;
    a.plane = plane.get();
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_runFilterPlanePass(src, plane.get(), sizex, sizey, params);
    MP_runTablePass(MP_filterTableTask<MorphArgs>, MP_makeTask(params, &a));
    a.o = MP_morphologyRadius(params->p[0][0]);
    const float s = MP_clamp(finiteOr(params->p[1][0], 0.0f), 0.0f, 1.0f);
    a.sigma = static_cast<float>(a.o) * (s * 0.5f + 0.5f);
    a.g = powf(s, 0.75f);
    MP_runBandPass(a.run.full ? full : reduced, MP_makeTask(params, &a), sizey, a.o > 4 ? 4 : 8, 16);
    MP_copyFilterOutput(dst, scratch, pixels);
    return 0;
}

} // namespace

int MP_morphologyRadius(float q) { return MP_safeTrunc(q * 9.0f + 1.01f, 1, 10); }

int MP_calcPixelErode(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runMorphology(MP_Task_calcPixelErode, MP_Task_calcPixelErodeReduced, sizex, sizey, src, dst, srcBpp, dstBpp,
                         params);
}
int MP_calcPixelDilate(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runMorphology(MP_Task_calcPixelDilate, MP_Task_calcPixelDilateReduced, sizex, sizey, src, dst, srcBpp,
                         dstBpp, params);
}
int MP_calcPixelDoppler(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runMorphology(MP_Task_calcPixelDoppler, MP_Task_calcPixelDopplerReduced, sizex, sizey, src, dst, srcBpp,
                         dstBpp, params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelErode", MP_calcPixelErode},
    {"MP_calcPixelDilate", MP_calcPixelDilate},
    {"MP_calcPixelDoppler", MP_calcPixelDoppler},
};
extern const MP_DriverTable MP_drivers_morphology = MP_driverTable(kDrivers);
