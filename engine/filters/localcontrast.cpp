#include "engine/filters/localcontrast.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

using namespace mp_filters;

namespace {

constexpr int kSplineSlot = 2;
constexpr int kComboSlot = 3;
constexpr int kGeoSlot = 4;

enum class Op { LocalContrast, LocalContour, ColorContrast, VeilingGlare };

struct ContrastArgs {
    MP_DriverRun run;
    Window win;
    Op op = Op::LocalContrast;
    float s = 0.0f;           // derived strength
    const ushort* plane = nullptr; // luminance plane (LocalContrast, LocalContour)
    ushort* out = nullptr;
    LumWeights lw;
    const float* mask = nullptr; // knots of the spline slot

    // Pre1: the operator's tables.
    void fillTables(int start, int end) const
    {
        MP_splineSlotTable(mask, start, end, MP_temp2_table);
        for (int i = start; i < end; ++i) {
            const float fi = static_cast<float>(i);
            MP_temp3_table[i] = divisor(i, kEps10);
            if (op == Op::LocalContrast || op == Op::ColorContrast)
                MP_temp4_table[i] = MP_pow(fi * MP_k, 4.0f * fi * MP_k + 1.0f);
            else if (op == Op::VeilingGlare)
                MP_temp_table[i] = MP_pow(fi * MP_k, 1.0f - 0.5f * s);
        }
        if ((op == Op::LocalContrast || op == Op::ColorContrast) && start == 0 && end > 0)
            MP_temp4_table[0] = 0.0f;
    }

    // The signed power of a difference: +-T[|d|] by the sign of d.
    static float signedPower(const float* table, float d)
    {
        return d >= 0.0f ? table[MP_tableIndex(d)] : -table[MP_tableIndex(-d)];
    }

    struct Cache {
        int I[kChunk];
        float W[kChunk], S[kChunk], SR[kChunk], SG[kChunk], SB[kChunk];
    };

    bool usesPlane() const { return op == Op::LocalContrast || op == Op::LocalContour; }

    // The window sums of pixels x0 .. x0+n-1 of row y.
    void gather(int y, int x0, int n, Cache& c) const
    {
        const MP_Params* p = run.params;
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        const ushort* src = run.src;
        for (int i = 0; i < n; ++i) {
            c.I[i] = lumIndex(p, MP_loadRGB48(src + (base + i) * 3));
            c.W[i] = c.S[i] = c.SR[i] = c.SG[i] = c.SB[i] = 0.0f;
        }
        if (MP_chunkInterior(win, x0, n)) {
            int offsets;
            if (usesPlane()) {
                offsets = MP_forEachWindowOffset(win, y, [&](ptrdiff_t off, float ws) {
                    const ushort* q = plane + static_cast<ptrdiff_t>(base) + off;
                    for (int i = 0; i < n; ++i) {
                        const int L = q[i];
                        const int d = c.I[i] - L;
                        const float w = ws * divisor(d < 0 ? -d : d, kEps10);
                        c.W[i] += w;
                        c.S[i] += w * static_cast<float>(L);
                    }
                });
            } else {
                offsets = MP_forEachWindowOffset(win, y, [&](ptrdiff_t off, float ws) {
                    const ushort* q = src + (static_cast<ptrdiff_t>(base) + off) * 3;
                    for (int i = 0; i < n; ++i) {
                        const ushort* px = q + 3 * i;
                        const int d = c.I[i] - static_cast<int>(lw.of(px));
                        const float w = ws * divisor(d < 0 ? -d : d, kEps10);
                        c.W[i] += w;
                        c.SR[i] += w * static_cast<float>(px[0]);
                        c.SG[i] += w * static_cast<float>(px[1]);
                        c.SB[i] += w * static_cast<float>(px[2]);
                    }
                });
            }
            if (offsets > 0)
                return;
        }
        for (int i = 0; i < n; ++i) {
            const int I = c.I[i];
            float W = 0.0f, S = 0.0f, SR = 0.0f, SG = 0.0f, SB = 0.0f;
            if (usesPlane()) {
                MP_forEachWindowSample(win, x0 + i, y, [&](size_t j, float ws) {
                    const int L = plane[j];
                    const int d = I - L;
                    const float w = ws * MP_temp3_table[d < 0 ? -d : d];
                    W += w;
                    S += w * static_cast<float>(L);
                });
            } else {
                MP_forEachWindowSample(win, x0 + i, y, [&](size_t j, float ws) {
                    const ushort* px = src + j * 3;
                    const int d = I - static_cast<int>(lw.of(px));
                    const float w = ws * MP_temp3_table[d < 0 ? -d : d];
                    W += w;
                    SR += w * static_cast<float>(px[0]);
                    SG += w * static_cast<float>(px[1]);
                    SB += w * static_cast<float>(px[2]);
                });
            }
            c.W[i] = W;
            c.S[i] = S;
            c.SR[i] = SR;
            c.SG[i] = SG;
            c.SB[i] = SB;
        }
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const MP_Params* p = run.params;
        const float lum0 = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
        const int I = cache.I[i];
        const float W = cache.W[i];
        MP_float3 e;
        if (usesPlane()) {
            const float m = (cache.S[i] / 65535.0f) / W;
            if (op == Op::LocalContrast) {
                const float t = lum0 + s * signedPower(MP_temp4_table, lum0 - m);
                const float g = t / (lum0 + 0.001f);
                e = {MP_clamp(c.x * g, 0.0f, 1.0f), MP_clamp(c.y * g, 0.0f, 1.0f), MP_clamp(c.z * g, 0.0f, 1.0f)};
            } else {
                const float k = 1.0f - (1.0f - MP_fabs(lum0 - m) * (s * 20.0f));
                const auto ch = [k](float v) { return MP_clamp(v * k * v + v, 0.0f, 1.0f); };
                e = {ch(c.x), ch(c.y), ch(c.z)};
            }
        } else {
            const float f = (1.0f / W) * MP_k;
            const MP_float3 M{cache.SR[i] * f, cache.SG[i] * f, cache.SB[i] * f};
            if (op == Op::ColorContrast) {
                const float a = s / 7.0f;
                const float b = (1.0f - a) * lum0;
                const float inv = 0.001f + lum0;
                const auto ch = [&](float cc, float mm) {
                    const float P = MP_temp4_table[MP_tableIndex(MP_fabs(cc - mm))];
                    const float u = cc >= mm ? a * mm + b + s * P : a * mm + b - s * P;
                    return MP_clamp(u * cc / inv, 0.0f, 1.0f);
                };
                e = {ch(c.x, M.x), ch(c.y, M.y), ch(c.z, M.z)};
            } else {
                const auto ch = [&](float cc, float mm) {
                    const float q = mm > cc ? cc - MP_temp_table[MP_tableIndex(mm - cc)]
                                            : cc + MP_temp_table[MP_tableIndex(cc - mm)];
                    return MP_clamp(q * s + cc * (1.0f - s), 0.0f, 1.0f);
                };
                e = {ch(c.x, M.x), ch(c.y, M.y), ch(c.z, M.z)};
            }
        }
        const float v = MP_temp2_table[I];
        const float k = 1.0f - v;
        return {c.x * k + e.x * v, c.y * k + e.y * v, c.z * k + e.z * v};
    }
};

int contrastDriver(Op op, const char* kernel, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp,
                   int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const MP_WindowSize size = MP_calcWindowSize(params, 500.0f);
    const size_t pixels = pixelCount(sizex, sizey);
    const bool usesPlane = op == Op::LocalContrast || op == Op::LocalContour;
    void* scratch = MP_UpdateBuffer(usesPlane ? pixels * 2 : pixels * 6);
    if (!scratch)
        return -1;
    ContrastArgs args;
    ContrastArgs* a = &args;
    if (int e = MP_beginDriver(a->run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return e;
    if (pixels == 0)
        return 0;
    a->op = op;
    MP_prepareFilterWindow(a->win, kernel, params, size, sizex, sizey, MP_UI_GetPanoramaMode() != 0);
    a->lw = LumWeights::of(params);
    a->mask = params->p[kSplineSlot];
    switch (op) {
    case Op::LocalContrast: a->s = (params->p[1][0] - 0.25f) * 5.0f; break;
    case Op::LocalContour: a->s = (params->p[1][0] - 0.5f) * 3.0f; break;
    case Op::ColorContrast: a->s = (params->p[1][0] - 0.25f) * 8.0f; break;
    case Op::VeilingGlare: a->s = params->p[1][0]; break;
    }
    if (usesPlane) {
        ushort* plane = static_cast<ushort*>(scratch);
        MP_runFilterPlanePass(src, plane, sizex, sizey, params);
        a->plane = plane;
        a->out = dst;
    } else {
        a->out = static_cast<ushort*>(scratch);
    }
    MP_runWindowWeightsPass(a->win.R, size.scale, params);
    MP_runTablePass(MP_filterTableTask<ContrastArgs>, MP_makeTask(params, a));
    MP_runFilterBands(*a);
    if (!usesPlane)
        MP_copyFilterOutput(dst, a->out, pixels);
    return 0;
}

} // namespace

int MP_calcPixelLocalContrast(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    return contrastDriver(Op::LocalContrast, "MP_calcPixelLocalContrast", sizex, sizey, src, dst, srcBpp, dstBpp,
                          params);
}
int MP_calcPixelLocalContour(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params)
{
    return contrastDriver(Op::LocalContour, "MP_calcPixelLocalContour", sizex, sizey, src, dst, srcBpp, dstBpp,
                          params);
}
int MP_calcPixelColorContrast(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    return contrastDriver(Op::ColorContrast, "MP_calcPixelColorContrast", sizex, sizey, src, dst, srcBpp, dstBpp,
                          params);
}
int MP_calcPixelVeilingGlare(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params)
{
    return contrastDriver(Op::VeilingGlare, "MP_calcPixelVeilingGlare", sizex, sizey, src, dst, srcBpp, dstBpp,
                          params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelLocalContrast", MP_calcPixelLocalContrast},
    {"MP_calcPixelLocalContour", MP_calcPixelLocalContour},
    {"MP_calcPixelColorContrast", MP_calcPixelColorContrast},
    {"MP_calcPixelVeilingGlare", MP_calcPixelVeilingGlare},
};
extern const MP_DriverTable MP_drivers_localcontrast = MP_driverTable(kDrivers);
