#include "engine/filters/localcontrast.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <cstring>
#include <new>

using namespace mp_filters;

namespace {

constexpr int kPowerEntries = 65536;

// pow(i k, 4 i k + 1) with entry 0 set to 0: the same for every run of the
// local and colour contrast, so computed once (null when memory is short;
// each run then computes its own).
const float* contrastPowers()
{
    static const float* const table = [] {
        float* t = new (std::nothrow) float[kPowerEntries];
        if (t) {
            for (int i = 0; i < kPowerEntries; ++i) {
                const float fi = static_cast<float>(i);
                t[i] = MP_pow(fi * MP_k, 4.0f * fi * MP_k + 1.0f);
            }
            t[0] = 0.0f;
        }
        return t;
    }();
    return table;
}

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
        const bool power = op == Op::LocalContrast || op == Op::ColorContrast;
        const float* powers = power && start >= 0 && end <= kPowerEntries ? contrastPowers() : nullptr;
        if (powers && start < end)
            std::memcpy(MP_temp4_table + start, powers + start, static_cast<size_t>(end - start) * sizeof(float));
        for (int i = start; i < end; ++i) {
            const float fi = static_cast<float>(i);
            MP_temp3_table[i] = divisor(i, kEps10);
            if (power && !powers)
                MP_temp4_table[i] = MP_pow(fi * MP_k, 4.0f * fi * MP_k + 1.0f);
            else if (op == Op::VeilingGlare)
                MP_temp_table[i] = MP_pow(fi * MP_k, 1.0f - 0.5f * s);
        }
        if (power && start == 0 && end > 0)
            MP_temp4_table[0] = 0.0f;
    }

    // The signed power of a difference: +-T[|d|] by the sign of d.
    static float signedPower(const float* table, float d)
    {
        return d >= 0.0f ? table[MP_tableIndex(d)] : -table[MP_tableIndex(-d)];
    }

    struct Cache : ColourSums {
        float S[kChunk]; // plane operators: the weighted plane luminance
    };

    bool usesPlane() const { return op == Op::LocalContrast || op == Op::LocalContour; }

    // The window sums of pixels x0 .. x0+n-1 of row y: of the plane (W, S),
    // or of the neighbours' colours (W, SR, SG, SB).
    void gather(int y, int x0, int n, Cache& c) const
    {
        if (!usesPlane()) {
            MP_gatherColourSums<false>(win, run, lw, kEps10, y, x0, n, c);
            return;
        }
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
        for (int i = 0; i < n; ++i)
            c.L0[i] = lumIndex(run.params, MP_loadRGB48(run.src + (base + i) * 3));
        MP_gatherPlaneSums(win, plane, kEps10, y, x0, n, c.L0, c.W, c.S);
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const MP_Params* p = run.params;
        const float lum0 = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
        const int I = cache.L0[i];
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
    if (!params)
        return -2;
    ContrastArgs a;
    a.op = op;
    a.lw = LumWeights::of(params);
    a.mask = params->p[kSplineSlot];
    switch (op) {
    case Op::LocalContrast: a.s = (params->p[1][0] - 0.25f) * 5.0f; break;
    case Op::LocalContour: a.s = (params->p[1][0] - 0.5f) * 3.0f; break;
    case Op::ColorContrast: a.s = (params->p[1][0] - 0.25f) * 8.0f; break;
    case Op::VeilingGlare: a.s = params->p[1][0]; break;
    }
    const FilterPlan plan{kernel, MP_calcWindowSize(params, 500.0f), kGeoSlot, kComboSlot, a.usesPlane()};
    return MP_runWindowFilter(a, plan, sizex, sizey, src, dst, srcBpp, dstBpp, params);
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
