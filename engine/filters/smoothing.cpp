#include "engine/filters/smoothing.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

using namespace mp_filters;

namespace {

enum class Op { Image, Channel, Colour };

struct SmoothArgs {
    MP_DriverRun run;
    Window win;
    Op op = Op::Image;
    ushort* out = nullptr;
    LumWeights lw;
    float q = 1.0f;              // edge exponent
    const float* mask = nullptr; // ImageSmooth: knots of slot 2
    MP_float3 amount{};          // ChannelSmooth
    MP_float3 target{};          // ColorSmooth: normalised colour direction

    void fillTables(int start, int end) const
    {
        for (int i = start; i < end; ++i)
            if (op != Op::Channel)
                MP_temp_table[i] = MP_pow(static_cast<float>(i) * MP_k, q);
        if (op == Op::Image)
            MP_splineSlotTable(mask, start, end, MP_temp2_table);
        for (int i = start; i < end; ++i) {
            if (op == Op::Colour)
                MP_temp2_table[i] = MP_pow(static_cast<float>(i) * MP_k, 24.0f);
            MP_temp3_table[i] = divisor(i, 0.05f);
        }
    }

    using Cache = ColourSums;

    void gather(int y, int x0, int n, Cache& c) const
    {
        if (op == Op::Channel)
            MP_gatherColourSums<false, false>(win, run, lw, 0.05f, y, x0, n, c);
        else
            MP_gatherColourSums<true>(win, run, lw, 0.05f, y, x0, n, c);
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const int L0 = cache.L0[i];
        const float W = cache.W[i], SR = cache.SR[i], SG = cache.SG[i], SB = cache.SB[i];
        if (op == Op::Channel) {
            MP_float3 mu{0.0f, 0.0f, 0.0f};
            if (W > 0.0f) {
                const float inv = 1.0f / W;
                mu = {SR * inv * MP_k, SG * inv * MP_k, SB * inv * MP_k};
            }
            return {c.x * (1.0f - amount.x) + mu.x * amount.x, c.y * (1.0f - amount.y) + mu.y * amount.y,
                    c.z * (1.0f - amount.z) + mu.z * amount.z};
        }
        const float inv = 1.0f / W;
        const MP_float3 mu{SR * inv * MP_k, SG * inv * MP_k, SB * inv * MP_k};
        const float e = cache.E[i] * inv;
        const float ke = 1.0f - e;
        const MP_float3 s{c.x * e + mu.x * ke, c.y * e + mu.y * ke, c.z * e + mu.z * ke};
        float a;
        if (op == Op::Image) {
            a = MP_temp2_table[L0];
        } else {
            const MP_float3 m0{SR + 0.001f, SG + 0.001f, SB + 0.001f};
            const float r = 1.0f / MP_sqrt(m0.x * m0.x + m0.y * m0.y + m0.z * m0.z);
            const MP_float3 m{m0.x * r, m0.y * r, m0.z * r};
            const float v =
                (MP_fabs(target.x - m.x) + MP_fabs(target.y - m.y) + MP_fabs(target.z - m.z)) * 0.33333f;
            a = MP_temp2_table[MP_tableIndex(1.0f - v)];
        }
        const float k = 1.0f - a;
        return {c.x * k + s.x * a, c.y * k + s.y * a, c.z * k + s.z * a};
    }
};

inline float edgeExponent(const MP_Params* p) { return (p->p[1][0] * 0.999f + 0.001f) * 2.0f; }

int colourSmooth(const char* kernel, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                 MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    SmoothArgs a;
    a.op = Op::Colour;
    a.lw = LumWeights::of(params);
    a.q = edgeExponent(params);
    a.target = MP_normalize({params->p[2][2] + 0.001f, params->p[2][3] + 0.001f, params->p[2][4] + 0.001f});
    return MP_runWindowFilter(a, FilterPlan{kernel, MP_calcWindowSize(params, 500.0f), 4, 3, false}, sizex, sizey, src,
                              dst, srcBpp, dstBpp, params);
}

} // namespace

int MP_runImageSmooth(const char* kernel, const MP_WindowSize& size, float q, int sizex, int sizey, ushort* src,
                      ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    SmoothArgs a;
    a.op = Op::Image;
    a.lw = LumWeights::of(params);
    a.q = q;
    a.mask = params->p[2];
    return MP_runWindowFilter(a, FilterPlan{kernel, size, 4, 3, false}, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelImageSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params)
{
    if (!params)
        return -2;
    return MP_runImageSmooth("MP_calcPixelImageSmooth", MP_calcWindowSize(params, 500.0f), edgeExponent(params),
                             sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelChannelSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    SmoothArgs a;
    a.op = Op::Channel;
    a.lw = LumWeights::of(params);
    a.amount = {params->p[1][0], params->p[2][0], params->p[3][0]};
    return MP_runWindowFilter(a, FilterPlan{"MP_calcPixelChannelSmooth", MP_calcWindowSize(params, 500.0f), 5, 4, false},
                              sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelColorSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params)
{
    return colourSmooth("MP_calcPixelColorSmooth", sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelSkySmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return colourSmooth("MP_calcPixelSkySmooth", sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelImageSmooth", MP_calcPixelImageSmooth},
    {"MP_calcPixelChannelSmooth", MP_calcPixelChannelSmooth},
    {"MP_calcPixelColorSmooth", MP_calcPixelColorSmooth},
    {"MP_calcPixelSkySmooth", MP_calcPixelSkySmooth},
};
extern const MP_DriverTable MP_drivers_smoothing = MP_driverTable(kDrivers);
