// "Würfel" (Cubify) and "Bubble-Tea" (Bubble): the picture rebuilt from
// tiles, each taking the mean colour of the area it covers.
//
// Cubify tiles a brick pattern of cube sprites from texture 3 into the
// scratch image on the calling thread, then a band pass mixes it with the
// photograph through the "Maskierung" curve into dst. Bubble draws a grid of
// shaded hemispheres into the scratch image on the calling thread, keeping
// the highest dome at every pixel, and copies it to dst.

#include "engine/effects/cubes.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

namespace {

// ---- "Würfel" ------------------------------------------------------------------------------

struct CubeArgs {
    MP_DriverRun run;
    const ushort* cubes = nullptr; // the cube picture
};

struct CubeLayout {
    int S, E, T, U;
};

CubeLayout cubeLayout(const MP_Params* params)
{
    CubeLayout l;
    l.S = MP_safeTrunc(7.0f * params->p[0][0] + 1.0f, 1, 8);
    l.E = MP_safeTrunc(8.0f * params->p[2][0] + 0.05f, 0, 8);
    l.T = l.E + 2 * l.S + 1;
    l.U = 2 * l.T;
    return l;
}

// The cube picture: rows of cubes top to bottom, left to right within a
// row; a later cube replaces what an earlier one left.
void tileCubes(const CubeLayout& l, float a, const ushort* src, ushort* out, int w, int h, const MP_EffectTexture& tex)
{
    const int S = l.S, T = l.T, U = l.U;
    const float keep = 1.0f - a;
    const size_t texStride = static_cast<size_t>(tex.w) * 3;
    for (int k = 0, Y = -U; Y < h + U; ++k, Y += U - S) {
        const int shift = (k % 2) * T;
        const int y0 = MP_imax(0, Y - T), y1 = MP_imin(h, Y + T);
        if (y0 >= y1)
            continue;
        for (int X = shift - U; X < shift + U + w; X += U) {
            const int x0 = MP_imax(0, X - T), x1 = MP_imin(w, X + T);
            if (x0 >= x1)
                continue;
            auto texel = [&](int x, int y) {
                return tex.px + static_cast<size_t>(y - (Y - T) + 64 * (S - 1)) * texStride +
                       static_cast<size_t>(x - (X - T)) * 3;
            };
            uint32_t sum[3] = {0, 0, 0};
            uint32_t count = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    if (texel(x, y)[0] == 0)
                        continue;
                    const ushort* s = src + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
                    sum[0] += s[0];
                    sum[1] += s[1];
                    sum[2] += s[2];
                    ++count;
                }
            if (count == 0)
                continue;
            const float avg[3] = {static_cast<float>(sum[0] / count), static_cast<float>(sum[1] / count),
                                  static_cast<float>(sum[2] / count)};
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const ushort* t = texel(x, y);
                    if (t[0] == 0)
                        continue;
                    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
                    for (int c = 0; c < 3; ++c)
                        out[i + c] = MP_store16((static_cast<float>(src[i + c]) * a + keep * avg[c]) *
                                             (static_cast<float>(t[c]) * 2.2888533e-5f));
                }
        }
    }
}

inline float cubeCurve(const ushort* s)
{
    const float sum = static_cast<float>(s[0]) + static_cast<float>(s[1]) + static_cast<float>(s[2]);
    return MP_temp_table[MP_low16(sum * 0.33333f)];
}

void MP_Task_calcPixelCubify(TaskFuncParams t)
{
    const CubeArgs& a = *MP_taskArgs<CubeArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width);
    MP_fullWorkerRows(a.run, MP_taskStart(t), MP_taskEnd(t), [&a, w](MP_float3, int x, int y) {
        const size_t i = (static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 3;
        const ushort* s = a.run.src + i;
        const ushort* c = a.cubes + i;
        const float v = cubeCurve(s), k = 1.0f - v;
        float o[3];
        for (int j = 0; j < 3; ++j) {
            o[j] = (static_cast<float>(s[j]) * k + static_cast<float>(c[j]) * v) * MP_k;
            o[j] = o[j] < 1.0f ? o[j] : 1.0f;
        }
        return MP_float3{o[0], o[1], o[2]};
    });
}

void MP_Task_calcPixelCubifyReduced(TaskFuncParams t)
{
    const CubeArgs& a = *MP_taskArgs<CubeArgs>(t);
    const size_t w = static_cast<size_t>(a.run.width);
    MP_forEachRunRow(a.run, MP_taskStart(t), MP_taskEnd(t), [&](int y, const ushort* s, ushort* d) {
        const ushort* c = a.cubes + static_cast<size_t>(y) * w * 3;
        for (size_t x = 0; x < w; ++x, s += 3, d += 3, c += 3) {
            const float v = cubeCurve(s), k = 1.0f - v;
            for (int j = 0; j < 3; ++j)
                d[j] = MP_store16((static_cast<float>(s[j]) * k + static_cast<float>(c[j]) * v) * MP_k * 65535.0f);
        }
    });
}

// ---- "Bubble-Tea" -------------------------------------------------------------------------

struct BubbleRun {
    int w, h;
    const ushort* src;
    ushort* out;
    float* heights;
    float b, lx, ly, lz, c;
    int n;
    // full form
    bool full;
    int mode;
    float opacity;
    int geoSlot;
    const MP_Params* params;
};

// Both forms of the bubble routine, cell by cell over the whole image.
void bubbleCells(const BubbleRun& r)
{
    const int w = r.w, h = r.h, n = r.n;
    const float l2 = r.lz * r.lz + r.ly * r.ly + r.lx * r.lx;
    const bool geometry = r.full && r.params->geometry_needed != 0;
    for (int y0 = 0; y0 < h; y0 += n) {
        const int ye = MP_imin(h, y0 + n);
        for (int x0 = 0; x0 < w; x0 += n) {
            const int xe = MP_imin(w, x0 + n);
            float acc[3] = {0, 0, 0};
            for (int y = y0; y < ye; ++y) {
                int64_t rs[3] = {0, 0, 0};
                const ushort* s = r.src + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x0)) * 3;
                for (int x = x0; x < xe; ++x, s += 3) {
                    rs[0] += s[0];
                    rs[1] += s[1];
                    rs[2] += s[2];
                }
                for (int c = 0; c < 3; ++c)
                    acc[c] += static_cast<float>(rs[c]);
            }
            const float f = MP_k / static_cast<float>((ye - y0) * (xe - x0));
            const float m[3] = {acc[0] * f, acc[1] * f, acc[2] * f};
            const float rho = (m[0] + m[1] + m[2] + 0.5f) * 0.3333f * r.c;
            const float q = rho / r.c * 0.5f;
            const int cx = (x0 + (xe - 1)) >> 1, cy = (y0 + (ye - 1)) >> 1;
            const int bx0 = MP_imax(0, x0 - MP_safeTrunc(static_cast<float>(n) * q, 0, w));
            const int bx1 = MP_imin(w, x0 + MP_safeTrunc(static_cast<float>(n) * (q + 1.0f), 0, w));
            const int by0 = MP_imax(0, y0 - MP_safeTrunc(q * static_cast<float>(n), 0, h));
            const int by1 = MP_imin(h, y0 + MP_safeTrunc((q + 1.0f) * static_cast<float>(n), 0, h));
            const float rho2 = rho * rho;
            const float invR = 1.0f / (rho + 0.001f);
            for (int y = by0; y < by1; ++y) {
                const int dy = y - cy;
                const float dy2 = static_cast<float>(int64_t{dy} * dy);
                if (!(dy2 < rho2))
                    continue;
                for (int x = bx0; x < bx1; ++x) {
                    const int dx = x - cx;
                    if (!(static_cast<float>(int64_t{dx} * dx) < rho2 - dy2))
                        continue;
                    const size_t p = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
                    const float z = 1.0f - invR * std::sqrt(static_cast<float>(int64_t{dx} * dx + int64_t{dy} * dy));
                    if (!(r.heights[p] < z))
                        continue;
                    const ushort* s = r.src + p * 3;
                    ushort* d = r.out + p * 3;
                    float J = 1.0f;
                    if (geometry) {
                        J = MP_calcGeometryMethodOpacity(x, y, w, h, r.geoSlot, r.params);
                        if (!(J > 0.0f)) {
                            MP_storeRGB48(d, MP_loadRGB48(s));
                            continue;
                        }
                    }
                    r.heights[p] = z;
                    const float Z = std::sqrt(z);
                    const float nx = static_cast<float>(dx) / static_cast<float>(n);
                    const float ny = static_cast<float>(dy) / static_cast<float>(n);
                    const float k = (r.lx * nx + r.ly * ny + r.lz * Z) / (std::sqrt(nx * nx + ny * ny + Z * Z) * l2);
                    const float k4 = k * k * k * k;
                    const float shade = k4 * k4 * k4 * k4 + Z;
                    const float keep = 1.0f - r.b;
                    const MP_float3 col{(static_cast<float>(s[0]) * MP_k * r.b + m[0] * keep) * shade,
                                        (static_cast<float>(s[1]) * MP_k * r.b + m[1] * keep) * shade,
                                        (static_cast<float>(s[2]) * MP_k * r.b + m[2] * keep) * shade};
                    if (!r.full) {
                        MP_storeRGB48Clamped(d, col);
                        continue;
                    }
                    const MP_float3 c0 = MP_loadRGB48(s);
                    MP_float3 l = MP_calcLayerMethodOpacity(r.mode, c0, col, r.opacity);
                    if (J < 1.0f)
                        l = MP_calcGeometryMethodBlend(c0, l, J);
                    MP_storeRGB48Clamped(d, l);
                }
            }
        }
        if (y0 % (8 * n) == 0 && _category >= 0)
            C_AddMessage(_category, static_cast<float>(y0) / static_cast<float>(h) * _progressdelta + _progressstart);
    }
}

void MP_Task_calcPixelBubbleReduced(const BubbleRun& r) { bubbleCells(r); }

void MP_Task_calcPixelBubble(const BubbleRun& r)
{
    bubbleCells(r);
    // Pixels no bubble reached: the layer blend of the source with black.
    const bool geometry = r.params->geometry_needed != 0;
    for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x) {
            const size_t p = static_cast<size_t>(y) * static_cast<size_t>(r.w) + static_cast<size_t>(x);
            if (r.heights[p] != 0.0f)
                continue;
            const MP_float3 c0 = MP_loadRGB48(r.src + p * 3);
            float J = 1.0f;
            if (geometry)
                J = MP_calcGeometryMethodOpacity(x, y, r.w, r.h, r.geoSlot, r.params);
            if (!(J > 0.0f)) {
                MP_storeRGB48(r.out + p * 3, c0);
                continue;
            }
            MP_float3 l = MP_calcLayerMethodOpacity(r.mode, c0, {0.0f, 0.0f, 0.0f}, r.opacity);
            if (J < 1.0f)
                l = MP_calcGeometryMethodBlend(c0, l, J);
            MP_storeRGB48Clamped(r.out + p * 3, l);
        }
}

} // namespace

int MP_calcPixelCubify(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    const CubeLayout l = cubeLayout(params);
    // The sprite of class S: rows 64 (S - 1) .. 64 (S - 1) + U - 1, columns
    // 0 .. U - 1; a smaller sheet counts as missing.
    const MP_EffectTexture tex = MP_effectTextureAt(3);
    if (!tex.px || tex.w < l.U || tex.h < 64 * (l.S - 1) + l.U)
        return -1;
    CubeArgs a;
    if (int r = MP_beginEffectDriver(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 5))
        return r;
    ushort* cubes = a.run.dst;
    a.run.dst = dst;
    a.cubes = cubes;
    MP_runSplineTablePass(params, 3, MP_temp_table);
    std::memset(cubes, 0, static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 6);
    tileCubes(l, params->p[1][0], src, cubes, sizex, sizey, tex);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelCubify, MP_Task_calcPixelCubifyReduced, 8);
}

int MP_calcPixelBubble(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    MP_DriverRun run;
    if (int r = MP_beginEffectDriver(run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 4))
        return r;
    const size_t pixels = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    std::unique_ptr<float[]> heights(new (std::nothrow) float[pixels > 0 ? pixels : 1]);
    if (!heights)
        return -1;
    std::memset(run.dst, 0, pixels * 6);
    std::memset(heights.get(), 0, pixels * sizeof(float));
    BubbleRun r{};
    r.w = sizex;
    r.h = sizey;
    r.src = src;
    r.out = run.dst;
    r.heights = heights.get();
    r.c = params->p[0][0] * static_cast<float>(MP_imin(sizex, sizey)) * 0.05f + 3.0f;
    // A cell step below 1 would never advance.
    r.n = MP_safeTrunc(r.c + 0.05f, 1, MP_imax(1, MP_imax(sizex, sizey)));
    r.b = params->p[1][0];
    r.lx = params->p[2][0] - 0.5f;
    r.ly = params->p[2][1] - 0.5f;
    r.lz = 1.0f;
    r.full = run.full;
    r.mode = run.mode;
    r.opacity = run.opacity;
    r.geoSlot = 4;
    r.params = params;
    if (pixels > 0) {
        if (run.full)
            MP_Task_calcPixelBubble(r);
        else
            MP_Task_calcPixelBubbleReduced(r);
    }
    return MP_finishEffectDriver(run, dst);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelCubify", MP_calcPixelCubify},
    {"MP_calcPixelBubble", MP_calcPixelBubble},
};
} // namespace
extern const MP_DriverTable MP_drivers_cubes = MP_driverTable(kDrivers);
