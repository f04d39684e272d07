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

// The weight of a sample of plane luminance P around a centre of index J:
// how much darker (Erode), brighter (Dilate) or different (Doppler) it is.
// Written without branches so that runs of pixels vectorise.
template <Morph Op> inline float morphWeight(int J, int P)
{
    if constexpr (Op == Morph::Erode)
        return static_cast<float>(MP_imax(J - P, 0));
    else if constexpr (Op == Morph::Dilate)
        return static_cast<float>(MP_imax(P - J, 0));
    else
        return static_cast<float>(MP_imax(P - J, J - P));
}

template <Morph Op> struct MorphArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    const ushort* plane = nullptr;
    int R = 1;          // radius
    bool panorama = false;
    float W[kWeightSide * kWeightSide] = {}; // spatial weights times 1/65535, (dy + R) * side + dx + R

    void fillTables(int start, int end) const { MP_splineSlotTable(run.params->p[2], start, end, MP_temp2_table); }

    // The weighted window sums of a run of pixels: for every sample of
    // plane luminance P, w = morphWeight(J, P) * spatial weight; rows
    // ascending, columns ascending within a row (the order of every pixel
    // alike, so a run gives the bits of single pixels).
    struct Cache {
        int J[kChunk];
        float Sw[kChunk], SR[kChunk], SG[kChunk], SB[kChunk];
    };
    void gather(int y, int x0, int n, Cache& c) const
    {
        const int w = run.width, h = run.height;
        const MP_Params* p = run.params;
        const ushort* src = run.src;
        for (int i = 0; i < n; ++i) {
            const MP_float3 col = MP_loadRGB48(src + (static_cast<size_t>(y) * w + x0 + i) * 3);
            c.J[i] = MP_tableIndex(p->lumr * col.x + p->lumg * col.y + p->lumb * col.z);
            c.Sw[i] = c.SR[i] = c.SG[i] = c.SB[i] = 0.0f;
        }
        const int y1 = MP_imax(0, y - R), y2 = MP_imin(h - 1, y + R);
        if (x0 - R >= 0 && x0 + n - 1 + R <= w - 1) {
            // Every window of the run lies inside the rows: no clipping, no wrap.
            for (int yy = y1; yy <= y2; ++yy) {
                const size_t row = static_cast<size_t>(yy) * static_cast<size_t>(w);
                const float* Wr = &W[(yy - y + R) * kWeightSide + R];
                for (int dx = -R; dx <= R; ++dx) {
                    const float wd = Wr[dx];
                    const size_t j0 = row + static_cast<size_t>(x0 + dx);
                    const ushort* pl = plane + j0;
                    const ushort* q = src + j0 * 3;
                    for (int i = 0; i < n; ++i) {
                        const float wt = morphWeight<Op>(c.J[i], pl[i]) * wd;
                        c.Sw[i] += wt;
                        c.SR[i] += wt * static_cast<float>(q[3 * i]);
                        c.SG[i] += wt * static_cast<float>(q[3 * i + 1]);
                        c.SB[i] += wt * static_cast<float>(q[3 * i + 2]);
                    }
                }
            }
            return;
        }
        for (int i = 0; i < n; ++i) {
            const int x = x0 + i;
            int x1 = -R, x2 = R;
            if (!panorama) {
                x1 = MP_imax(0, x - R) - x;
                x2 = MP_imin(w - 1, x + R) - x;
            }
            const int J = c.J[i];
            float Sw = 0.0f, SR = 0.0f, SG = 0.0f, SB = 0.0f;
            for (int yy = y1; yy <= y2; ++yy) {
                const size_t row = static_cast<size_t>(yy) * static_cast<size_t>(w);
                const float* Wr = &W[(yy - y + R) * kWeightSide + R];
                for (int dx = x1; dx <= x2; ++dx) {
                    int xx = x + dx;
                    if (panorama) {
                        xx %= w;
                        if (xx < 0)
                            xx += w;
                    }
                    const size_t j = row + static_cast<size_t>(xx);
                    const float wt = morphWeight<Op>(J, plane[j]) * Wr[dx];
                    const ushort* q = src + j * 3;
                    Sw += wt;
                    SR += wt * static_cast<float>(q[0]);
                    SG += wt * static_cast<float>(q[1]);
                    SB += wt * static_cast<float>(q[2]);
                }
            }
            c.Sw[i] = Sw;
            c.SR[i] = SR;
            c.SG[i] = SG;
            c.SB[i] = SB;
        }
    }
    MP_float3 effect(MP_float3 c, int, int, const Cache& k, int i) const
    {
        MP_float3 m = c;
        const float Sw = k.Sw[i];
        if (Sw > 0.0f)
            m = {k.SR[i] * MP_k / Sw, k.SG[i] * MP_k / Sw, k.SB[i] * MP_k / Sw};
        const float am = MP_temp2_table[k.J[i]];
        const float f = 1.0f - am;
        return MP_float3{c.x * f + m.x * am, c.y * f + m.y * am, c.z * f + m.z * am};
    }
};

void MP_Task_calcPixelErode(TaskFuncParams t) { MP_filterTask<MorphArgs<Morph::Erode>, true>(t); }
void MP_Task_calcPixelErodeReduced(TaskFuncParams t) { MP_filterTask<MorphArgs<Morph::Erode>, false>(t); }
void MP_Task_calcPixelDilate(TaskFuncParams t) { MP_filterTask<MorphArgs<Morph::Dilate>, true>(t); }
void MP_Task_calcPixelDilateReduced(TaskFuncParams t) { MP_filterTask<MorphArgs<Morph::Dilate>, false>(t); }
void MP_Task_calcPixelDoppler(TaskFuncParams t) { MP_filterTask<MorphArgs<Morph::Doppler>, true>(t); }
void MP_Task_calcPixelDopplerReduced(TaskFuncParams t) { MP_filterTask<MorphArgs<Morph::Doppler>, false>(t); }

template <Morph Op>
int runMorphology(MP_TaskFunc full, MP_TaskFunc reduced, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp,
                  int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    std::unique_ptr<ushort[]> plane(new (std::nothrow) ushort[pixels > 0 ? pixels : 1]);
    if (!plane)
        return -1;
    auto args = std::make_unique<MorphArgs<Op>>();
    MorphArgs<Op>& a = *args;
    ushort* scratch = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6, 4, 3, &scratch))
        return MP_beginFilterResult(e);
    a.out = scratch;
    a.plane = plane.get();
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_runFilterPlanePass(src, plane.get(), sizex, sizey, params);
    MP_runTablePass(MP_filterTableTask<MorphArgs<Op>>, MP_makeTask(params, &a));
    const int o = MP_morphologyRadius(params->p[0][0]);
    const float s = MP_clamp(finiteOr(params->p[1][0], 0.0f), 0.0f, 1.0f);
    const float sigma = static_cast<float>(o) * (s * 0.5f + 0.5f); // width of the Gaussian part
    const float g = powf(s, 0.75f);                                 // Gaussian share
    a.R = MP_iclamp(o, 0, kMaxMorphRadius);
    const float s2 = sigma * sigma;
    for (int dy = -a.R; dy <= a.R; ++dy)
        for (int dx = -a.R; dx <= a.R; ++dx)
            a.W[(dy + a.R) * kWeightSide + dx + a.R] =
                (std::exp(-static_cast<float>(dx * dx + dy * dy) / s2) * g + (1.0f - g)) * MP_k;
    MP_runBandPass(a.run.full ? full : reduced, MP_makeTask(params, &a), sizey, o > 4 ? 4 : 8, 16);
    MP_copyFilterOutput(dst, scratch, pixels);
    return 0;
}

} // namespace

int MP_morphologyRadius(float q) { return MP_safeTrunc(q * 9.0f + 1.01f, 1, 10); }

int MP_calcPixelErode(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runMorphology<Morph::Erode>(MP_Task_calcPixelErode, MP_Task_calcPixelErodeReduced, sizex, sizey, src, dst, srcBpp, dstBpp,
                         params);
}
int MP_calcPixelDilate(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runMorphology<Morph::Dilate>(MP_Task_calcPixelDilate, MP_Task_calcPixelDilateReduced, sizex, sizey, src, dst, srcBpp,
                         dstBpp, params);
}
int MP_calcPixelDoppler(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return runMorphology<Morph::Doppler>(MP_Task_calcPixelDoppler, MP_Task_calcPixelDopplerReduced, sizex, sizey, src, dst, srcBpp,
                         dstBpp, params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelErode", MP_calcPixelErode},
    {"MP_calcPixelDilate", MP_calcPixelDilate},
    {"MP_calcPixelDoppler", MP_calcPixelDoppler},
};
extern const MP_DriverTable MP_drivers_morphology = MP_driverTable(kDrivers);
