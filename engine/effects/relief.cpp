// Relief lighting filters: "Wachsbild" (WaxPaint), "Folie" (Plastics),
// "Weiches Relief" (SoftRelief) and "Foto-Reflektor" (AddReflector).
//
// Per pixel: L0 from the pixel itself; over the window rows ky (cut at the top
// and bottom) and columns kx (cut at the sides, or wrapped in panorama mode)
// d = L0 - lum(x + kx, y + ky), gx += d W[kx], gy += d W[ky], nx += |W[kx]|;
// after each row ny += columns * |W[ky]|. The slope (gx F / nx, gy F / ny, z)
// against the light vector gives a cosine, its shade sh a power of it.
//
// Row half-widths come from lx, refilled for the driver's own radius (the
// dispatcher's rows may belong to another radius or an earlier run) and held
// to the radius: the weight tables have entries for -R..R only.
//
// Pixels whose window lies inside their row are gathered eight at a time,
// each with its samples in the same order as alone.

#include "engine/effects/relief.h"

#include "engine/MP_calccl.h"
#include "engine/core/boxblur.h"
#include "engine/core/cpuclones.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"
#include "engine/filters/filterframe.h"
#include "engine/openclmanager.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

namespace {

constexpr int kMaxR = 50;
constexpr int kTable = 2 * kMaxR + 1; // index j + 50
constexpr int kRun = 8;

enum class Kind { Wax, Plastics, Soft, Reflector };

struct ReliefArgs {
    MP_DriverRun run;
    Kind kind = Kind::Wax;
    int R = 1;
    bool panorama = false;
    int widest = 0;
    int hw[kTable] = {};  // row half-widths 0..R, index ky + 50
    float W[kTable] = {}; // signed weights
    float M[kTable] = {}; // their magnitudes
    float F = 10.0f;
    float z = 1.0f;
    float Lx = 0, Ly = 0, Lz = 0, Llen = 1;
    float k = 1.0f;       // shade exponent
    // "Weiches Relief"
    float tint = 0;
    MP_float3 tintColour{0, 0, 0};
    // "Foto-Reflektor"
    MP_float3 q{0, 0, 0};
    mp_filters::LumWeights lw;
    const int16_t* half = nullptr; // "Weiches Relief": half-scale luminance
    float* lum = nullptr;          // luminance plane 0..1
};

// Radius (int)(base * s * u), held to 1..50 (NaN gives 1).
int reliefRadius(float product)
{
    return MP_imax(1, MP_safeTrunc(product, 0, kMaxR));
}

// Row half-widths of radius R, refilled into lx for R and held to 0..R.
void prepareRows(ReliefArgs& a, MP_Params* params)
{
    OpenCLManager::getInstance()->setKernelSuperquadricTable(a.R, params);
    a.widest = 0;
    for (int ky = -a.R; ky <= a.R; ++ky) {
        const int h = MP_imin(MP_imax(params->lx[MP_MAX_KERNEL_HEIGHT + ky], 0), a.R);
        a.hw[ky + kMaxR] = h;
        a.widest = MP_imax(a.widest, h);
    }
}

void MP_TaskPre2_calcPixelRelief(TaskFuncParams t)
{
    const ReliefArgs& a = *MP_taskArgs<ReliefArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a.run.src + static_cast<size_t>(y) * w * 3;
        float* l = a.lum + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x, s += 3)
            l[x] = static_cast<float>(a.lw.of(s)) * MP_k;
    }
}

// "Weiches Relief": the half-scale luminance (>> 15, 0..32767).
void MP_TaskPre3_calcPixelSoftRelief(TaskFuncParams t)
{
    const ReliefArgs& a = *MP_taskArgs<ReliefArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width);
    int16_t* half = const_cast<int16_t*>(a.half);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a.run.src + static_cast<size_t>(y) * w * 3;
        int16_t* l = half + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x, s += 3)
            l[x] = static_cast<int16_t>(MP_imin(
                static_cast<int>((a.lw.wr * unsigned{s[0]} + a.lw.wg * unsigned{s[1]} + a.lw.wb * unsigned{s[2]}) >> 15),
                32767));
    }
}

// "Weiches Relief": the smoothed half-scale luminance as floats (x 2^-15).
void MP_TaskPre2_calcPixelSoftRelief(TaskFuncParams t)
{
    const ReliefArgs& a = *MP_taskArgs<ReliefArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const int16_t* h = a.half + static_cast<size_t>(y) * w;
        float* l = a.lum + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x)
            l[x] = static_cast<float>(h[x]) * (1.0f / 32768.0f);
    }
}

void MP_TaskPre1_calcPixelRelief(TaskFuncParams t)
{
    const ReliefArgs& a = *MP_taskArgs<ReliefArgs>(t);
    const float k = a.k;
    const float scale = k * 0.5f + 1.0f;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = std::pow(static_cast<float>(i) * MP_k, k) * scale;
}

// Slope sums of one pixel, its window cut or wrapped at the sides.
struct Slope {
    float gx = 0, gy = 0, nx = 0, ny = 0;
};

Slope pixelSlope(const ReliefArgs& a, float L0, int x, int y)
{
    const int w = a.run.width;
    const int y0 = MP_imax(-a.R, -y), y1 = MP_imin(a.R, a.run.height - 1 - y);
    Slope s;
    for (int ky = y0; ky <= y1; ++ky) {
        const int h = a.hw[ky + kMaxR];
        const float* row = a.lum + static_cast<size_t>(y + ky) * static_cast<size_t>(w);
        const float wy = a.W[ky + kMaxR];
        int columns = 0;
        if (a.panorama) {
            int c = (x - h) % w;
            if (c < 0)
                c += w;
            for (int kx = -h; kx <= h; ++kx) {
                const float d = L0 - row[c];
                s.gx += d * a.W[kx + kMaxR];
                s.gy += d * wy;
                s.nx += a.M[kx + kMaxR];
                if (++c == w)
                    c = 0;
            }
            columns = 2 * h + 1;
        } else {
            const int x0 = MP_imax(-h, -x), x1 = MP_imin(h, w - 1 - x);
            for (int kx = x0; kx <= x1; ++kx) {
                const float d = L0 - row[x + kx];
                s.gx += d * a.W[kx + kMaxR];
                s.gy += d * wy;
                s.nx += a.M[kx + kMaxR];
            }
            columns = x1 >= x0 ? x1 - x0 + 1 : 0;
        }
        s.ny += static_cast<float>(columns) * a.M[ky + kMaxR];
    }
    return s;
}

// Eight neighbouring pixels x0.. whose windows lie inside their rows.
MP_CPU_CLONES void runSlopes(const ReliefArgs& a, int x0, int y, const float* L0, float* gx, float* gy, float& nx,
                             float& ny)
{
    const int w = a.run.width;
    const int y0 = MP_imax(-a.R, -y), y1 = MP_imin(a.R, a.run.height - 1 - y);
    float sx[kRun] = {}, sy[kRun] = {};
    float n1 = 0.0f, n2 = 0.0f;
    for (int ky = y0; ky <= y1; ++ky) {
        const int h = a.hw[ky + kMaxR];
        const float* row = a.lum + static_cast<size_t>(y + ky) * static_cast<size_t>(w) + x0;
        const float wy = a.W[ky + kMaxR];
        for (int kx = -h; kx <= h; ++kx) {
            const float wx = a.W[kx + kMaxR];
            const float* r = row + kx;
            for (int i = 0; i < kRun; ++i) {
                const float d = L0[i] - r[i];
                sx[i] += d * wx;
                sy[i] += d * wy;
            }
            n1 += a.M[kx + kMaxR];
        }
        n2 += static_cast<float>(2 * h + 1) * a.M[ky + kMaxR];
    }
    for (int i = 0; i < kRun; ++i) {
        gx[i] = sx[i];
        gy[i] = sy[i];
    }
    nx = n1;
    ny = n2;
}

// Shade of one pixel from its slope sums.
inline float shade(const ReliefArgs& a, float gx, float gy, float nx, float ny)
{
    if (nx > 0.0f)
        gx = gx * a.F / nx;
    if (ny > 0.0f)
        gy = gy * a.F / ny;
    const float c = (gx * a.Lx + gy * a.Ly + a.z * a.Lz) / (std::sqrt(gx * gx + gy * gy + a.z * a.z) * a.Llen);
    if (a.kind == Kind::Reflector)
        return std::pow(MP_fabs(c), 8.001f) * (1.0f + 8.001f * 0.5f);
    return MP_temp_table[MP_tableIndex(MP_fabs(c))];
}

inline float maxf(float a, float b) { return a > b ? a : b; }

inline float lumOf(const MP_Params* p, MP_float3 c) { return p->lumr * c.x + p->lumg * c.y + p->lumb * c.z; }

// The colour of one tint step: D from U = C + X, then D A + (1 - t) P.
inline MP_float3 tintStep(const ReliefArgs& a, const MP_Params* p, MP_float3 X, MP_float3 P)
{
    const MP_float3 U{a.tintColour.x + X.x, a.tintColour.y + X.y, a.tintColour.z + X.z};
    const float sq = U.x * U.x + U.y * U.y + U.z * U.z;
    MP_float3 D{0.57735f, 0.57735f, 0.57735f};
    if (sq > 0.0f) {
        const float len = std::sqrt(sq);
        D = {U.x / len, U.y / len, U.z / len};
    }
    const float A = lumOf(p, X) / (lumOf(p, D) + 0.001f) * a.tint;
    const float keep = 1.0f - a.tint;
    return {D.x * A + keep * P.x, D.y * A + keep * P.y, D.z * A + keep * P.z};
}

inline MP_float3 reliefEffect(const ReliefArgs& a, MP_float3 c, float L0, float sh)
{
    switch (a.kind) {
    case Kind::Wax:
        return {c.x * sh, c.y * sh, c.z * sh};
    case Kind::Plastics:
        return {maxf(c.x, sh), maxf(c.y, sh), maxf(c.z, sh)};
    case Kind::Soft: {
        const MP_Params* p = a.run.params;
        const MP_float3 P{c.x * sh, c.y * sh, c.z * sh};
        const MP_float3 Q = tintStep(a, p, P, P);
        MP_float3 e = tintStep(a, p, Q, P);
        using mp_blend_detail::clampUnit;
        return {clampUnit(e.x), clampUnit(e.y), clampUnit(e.z)};
    }
    case Kind::Reflector: {
        const float J = 0.95f * L0 * sh * a.Llen;
        return {c.x + a.q.x * J, c.y + a.q.y * J, c.z + a.q.z * J};
    }
    }
    return c;
}

template <bool Full> void reliefRows(TaskFuncParams t)
{
    const ReliefArgs& a = *MP_taskArgs<ReliefArgs>(t);
    const MP_Params* p = a.run.params;
    const int w = a.run.width;
    float L0[kRun] = {}, sh[kRun] = {};
    MP_effectRunRows<Full, kRun>(
        a.run, MP_taskStart(t), MP_taskEnd(t),
        [&](int y, int x0, int n, const MP_float3* c) {
            for (int i = 0; i < n; ++i)
                L0[i] = lumOf(p, c[i]);
            if (n == kRun && x0 - a.widest >= 0 && x0 + kRun - 1 + a.widest <= w - 1) {
                float gx[kRun], gy[kRun], nx, ny;
                runSlopes(a, x0, y, L0, gx, gy, nx, ny);
                for (int i = 0; i < kRun; ++i)
                    sh[i] = shade(a, gx[i], gy[i], nx, ny);
            } else {
                for (int i = 0; i < n; ++i) {
                    const Slope s = pixelSlope(a, L0[i], x0 + i, y);
                    sh[i] = shade(a, s.gx, s.gy, s.nx, s.ny);
                }
            }
        },
        [&](int i, MP_float3 c) { return reliefEffect(a, c, L0[i], sh[i]); });
}

void MP_Task_calcPixelRelief(TaskFuncParams t) { reliefRows<true>(t); }
void MP_Task_calcPixelReliefReduced(TaskFuncParams t) { reliefRows<false>(t); }

// W[j] = sign(j) R / (|j| + 1), the relief weights of the painterly filters.
void paintWeights(ReliefArgs& a)
{
    const float fR = static_cast<float>(a.R);
    for (int j = -a.R; j <= a.R; ++j) {
        const float wv = MP_sign(static_cast<float>(j)) * fR / static_cast<float>(std::abs(j) + 1);
        a.W[j + kMaxR] = wv;
        a.M[j + kMaxR] = MP_fabs(wv);
    }
}

void lightFrom(ReliefArgs& a, const float* pos, float scale, float lz)
{
    a.Lx = scale * (pos[0] - 0.5f);
    a.Ly = scale * (pos[1] - 0.5f);
    a.Lz = lz;
    a.Llen = std::sqrt(a.Lx * a.Lx + a.Ly * a.Ly + a.Lz * a.Lz);
}

// The common driver: luminance plane in the scratch buffer (or, "Weiches
// Relief", the smoothed half-scale plane), tables, main pass into dst.
int runRelief(std::unique_ptr<ReliefArgs>& ap, int sizex, int sizey, ushort* src, ushort* dst,
              int srcBpp, int dstBpp, MP_Params* params, int geoSlot)
{
    ReliefArgs& a = *ap;
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    auto* lum = static_cast<float*>(MP_UpdateBuffer(MP_effectScratchBytes(sizex, sizey, 4)));
    if (!lum)
        return -1;
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    std::unique_ptr<int16_t[]> half;
    if (a.kind == Kind::Soft) {
        half.reset(new (std::nothrow) int16_t[pixels > 0 ? pixels : 1]);
        if (!half)
            return -1;
    }
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, geoSlot, geoSlot - 1))
        return r;
    a.lum = lum;
    a.half = half.get();
    a.lw = mp_filters::LumWeights::of(params);
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    prepareRows(a, params);
    const TaskFuncParams task = MP_makeTask(params, &a);
    if (a.kind == Kind::Soft) {
        MP_runSinglePass(MP_TaskPre3_calcPixelSoftRelief, task, sizey);
        const float m0 = static_cast<float>(MP_imax(sizex, sizey)) * (0.001f + 0.05f * params->p[2][0]) * 0.5f;
        const int m = MP_safeTrunc(m0, 0, MP_imax(sizex, sizey));
        auto blur = std::make_unique<MP_Params>();
        blur->p[0][0] = static_cast<float>(2 * m);
        blur->p[1][0] = 2.0f;
        MP_BlurSignedShortBufferNoClip(sizex, sizey, half.get(), half.get(), 0, 2, blur.get());
        MP_runSinglePass(MP_TaskPre2_calcPixelSoftRelief, task, sizey);
    } else {
        MP_runSinglePass(MP_TaskPre2_calcPixelRelief, task, sizey);
    }
    if (a.kind != Kind::Reflector)
        MP_runTablePass(MP_TaskPre1_calcPixelRelief, task);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelRelief, MP_Task_calcPixelReliefReduced, 1);
}

int paintRelief(Kind kind, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                MP_Params* params)
{
    auto a = std::make_unique<ReliefArgs>();
    if (!params)
        return -2;
    a->kind = kind;
    a->R = reliefRadius(50.0f * params->p[0][0] * params->previewscalingfactor * params->unit_kernel_multiplier);
    paintWeights(*a);
    a->F = 10.0f;
    a->k = 2.0f * params->p[1][0] + 0.001f;
    lightFrom(*a, params->p[2], 1.0f, 0.1f); // 1 * v is v
    return runRelief(a, sizex, sizey, src, dst, srcBpp, dstBpp, params, 4);
}

} // namespace

int MP_calcPixelWaxPaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return paintRelief(Kind::Wax, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelPlastics(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return paintRelief(Kind::Plastics, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelSoftRelief(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (!params)
        return -2;
    auto a = std::make_unique<ReliefArgs>();
    a->kind = Kind::Soft;
    a->R = reliefRadius(50.0f * params->p[0][0] * params->previewscalingfactor * params->unit_kernel_multiplier);
    paintWeights(*a);
    a->F = 40.0f;
    a->k = 1.5f * params->p[1][0] + 0.001f;
    a->tint = params->p[3][0];
    a->tintColour = {params->p[5][2], params->p[5][3], params->p[5][4]};
    lightFrom(*a, params->p[4], 0.95f, 0.1f);
    return runRelief(a, sizex, sizey, src, dst, srcBpp, dstBpp, params, 7);
}

int MP_calcPixelAddReflector(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params)
{
    if (!params)
        return -2;
    auto a = std::make_unique<ReliefArgs>();
    a->kind = Kind::Reflector;
    const int r0 = MP_safeTrunc(50.0f * params->previewscalingfactor * params->unit_kernel_multiplier, 0, kMaxR);
    a->R = MP_imax(1, r0);
    // W[j] = sign(j) / (R^2 pi) exp(-j^2 / R^2), R^2 an integer product.
    const float R2 = static_cast<float>(a->R * a->R);
    for (int j = -a->R; j <= a->R; ++j) {
        const float fj = static_cast<float>(j);
        const float wv = MP_sign(fj) / (R2 * 3.1415927f) * MP_exp(-(fj * fj) / R2);
        a->W[j + kMaxR] = wv;
        a->M[j + kMaxR] = MP_fabs(wv);
    }
    a->F = 1.0f;
    a->z = 0.125f;
    lightFrom(*a, params->p[0], 0.5f, 0.15f);
    const MP_float3 col{params->p[1][2], params->p[1][3], params->p[1][4]};
    const float mx = maxf(maxf(col.x, col.y), col.z) + 0.001f;
    a->q = {col.x / mx, col.y / mx, col.z / mx};
    return runRelief(a, sizex, sizey, src, dst, srcBpp, dstBpp, params, 3);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelWaxPaint", MP_calcPixelWaxPaint},
    {"MP_calcPixelPlastics", MP_calcPixelPlastics},
    {"MP_calcPixelSoftRelief", MP_calcPixelSoftRelief},
    {"MP_calcPixelAddReflector", MP_calcPixelAddReflector},
};
} // namespace
extern const MP_DriverTable MP_drivers_relief = MP_driverTable(kDrivers);
