#include "engine/colour/palettes.h"

#include "engine/colour/hsv.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/progress.h"
#include "engine/core/rgb48avx2.h"
#include "engine/core/textures.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// ---- Farbpalette -------------------------------------------------------------------

namespace {

constexpr int kAnchors = 8;

// Hue anchors before scaling to length 1, in slider order ("Rot" .. "Magenta").
constexpr float kAnchorColour[kAnchors][3] = {
    {1.00f, 0.01f, 0.01f}, {1.00f, 0.50f, 0.01f}, {1.00f, 1.00f, 0.01f}, {0.01f, 1.00f, 0.01f},
    {0.01f, 1.00f, 1.00f}, {0.01f, 0.01f, 1.00f}, {1.00f, 0.01f, 1.00f}, {1.00f, 0.05f, 0.50f},
};

struct ColorPaletteArgs {
    MP_DriverRun run;
    float weight[kAnchors]; // 2 p - 1: -1 weaker .. +1 stronger
};

// The anchor directions of a task.
struct Anchors {
    MP_float3 dir[kAnchors];
};

Anchors anchorsOf()
{
    Anchors a;
    for (int i = 0; i < kAnchors; ++i)
        a.dir[i] = MP_normalize({kAnchorColour[i][0], kAnchorColour[i][1], kAnchorColour[i][2]});
    return a;
}

inline float similarity(MP_float3 n, MP_float3 a)
{
    return 1.0f - 0.3333f * (MP_fabs(n.x - a.x) + MP_fabs(n.y - a.y) + MP_fabs(n.z - a.z));
}

inline float pow4(float s)
{
    const float s2 = s * s;
    return s2 * s2;
}
inline float pow12(float s)
{
    const float s2 = s * s;
    const float s6 = s2 * s2 * s2;
    return s6 * s6;
}

// Sum over the anchors, in table order, of weight times the similarity to the
// anchor raised to the anchor's exponent (how narrowly the anchor acts).
inline float saturationShift(const float* w, const Anchors& an, MP_float3 n)
{
    const float s3 = similarity(n, an.dir[3]);
    const float s4 = similarity(n, an.dir[4]);
    const float s5 = similarity(n, an.dir[5]);
    float sadd = 0.0f;
    sadd += w[0] * pow4(similarity(n, an.dir[0]));
    sadd += w[1] * pow12(similarity(n, an.dir[1]));
    sadd += w[2] * pow12(similarity(n, an.dir[2]));
    sadd += w[3] * (s3 * s3 * s3);
    sadd += w[4] * (s4 * s4 * s4 * s4 * s4 * s4 * s4);
    sadd += w[5] * (s5 * s5);
    sadd += w[6] * pow12(similarity(n, an.dir[6]));
    sadd += w[7] * pow12(similarity(n, an.dir[7]));
    return sadd;
}

// The operator's own HSV round trip: hue sector from a division by 60, a
// sector outside 0..5 gives the source colour back.
inline MP_float3 paletteOf(const ColorPaletteArgs* a, const Anchors& an, MP_float3 c)
{
    const float r = c.x, g = c.y, b = c.z;
    const float sx = r + 0.001f, sy = g + 0.001f, sz = b + 0.001f;
    const float inv = 1.0f / MP_sqrt(sx * sx + sy * sy + sz * sz);
    const float sadd = saturationShift(a->weight, an, {sx * inv, sy * inv, sz * inv});

    const float v = MP_max(MP_max(r, g), b);
    float h = 0.0f, s = 0.0f;
    if (v > 0.0f) {
        float delta = v - MP_min(MP_min(r, g), b);
        if (!(delta > 0.0f))
            delta = 0.001f;
        s = delta / v;
        float h6;
        if (r == v)
            h6 = (g - b) / delta;
        else if (g == v)
            h6 = (b - r) / delta + 2.0f;
        else
            h6 = (r - g) / delta + 4.0f;
        h = h6 * 60.0f;
        if (h < 0.0f)
            h += 360.0f;
        h = h / 60.0f;
    }
    float s2 = s + MP_sqrt(s) * sadd;
    if (s2 > 1.0f)
        s2 = 1.0f;
    if (s2 < 0.001f)
        s2 = 0.001f;
    // h lies in 0..6 here, where truncation is floorf.
    const int sector = static_cast<int>(h);
    const float f = h - static_cast<float>(sector);
    const float p = v * (1.0f - s2);
    const float q = v * (1.0f - s2 * f);
    const float t = v * (1.0f - s2 * (1.0f - f));
    switch (sector) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    case 5:
        return {v, p, q};
    default:
        return c;
    }
}

void MP_Task_calcPixelColorPalette(TaskFuncParams t)
{
    const ColorPaletteArgs* a = MP_taskArgs<ColorPaletteArgs>(t);
    const Anchors an = anchorsOf();
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a, &an](MP_float3 c, int, int) { return paletteOf(a, an, c); });
}

#ifdef MP_HAS_X86_SIMD
// similarity, pow4 and pow12 of eight pixels.
__attribute__((target("avx2"))) inline __m256 sim8(__m256 nx, __m256 ny, __m256 nz, const __m256* dir)
{
    const __m256 absMask = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
    const __m256 dx = _mm256_and_ps(_mm256_sub_ps(nx, dir[0]), absMask);
    const __m256 dy = _mm256_and_ps(_mm256_sub_ps(ny, dir[1]), absMask);
    const __m256 dz = _mm256_and_ps(_mm256_sub_ps(nz, dir[2]), absMask);
    return _mm256_sub_ps(_mm256_set1_ps(1.0f),
                         _mm256_mul_ps(_mm256_set1_ps(0.3333f), _mm256_add_ps(_mm256_add_ps(dx, dy), dz)));
}
__attribute__((target("avx2"))) inline __m256 pow4x8(__m256 x)
{
    const __m256 x2 = _mm256_mul_ps(x, x);
    return _mm256_mul_ps(x2, x2);
}
__attribute__((target("avx2"))) inline __m256 pow12x8(__m256 x)
{
    const __m256 x2 = _mm256_mul_ps(x, x);
    const __m256 x6 = _mm256_mul_ps(_mm256_mul_ps(x2, x2), x2);
    return _mm256_mul_ps(x6, x6);
}

// paletteOf for eight pixels: the same single-precision operations in the
// same order (products and sums rounded one by one, as -ffp-contract=off
// leaves the per-pixel code), the branches taken as lane selects.
__attribute__((target("avx2"))) void paletteRows8(const ColorPaletteArgs* a, const Anchors& an, int start, int end)
{
    const __m256 zero = _mm256_setzero_ps(), one = _mm256_set1_ps(1.0f), milli = _mm256_set1_ps(0.001f);
    const __m256 two = _mm256_set1_ps(2.0f), four = _mm256_set1_ps(4.0f), sixty = _mm256_set1_ps(60.0f);
    const __m256 full = _mm256_set1_ps(360.0f);
    __m256 dir[kAnchors][3], w[kAnchors];
    for (int i = 0; i < kAnchors; ++i) {
        dir[i][0] = _mm256_set1_ps(an.dir[i].x);
        dir[i][1] = _mm256_set1_ps(an.dir[i].y);
        dir[i][2] = _mm256_set1_ps(an.dir[i].z);
        w[i] = _mm256_set1_ps(a->weight[i]);
    }
    const int width = a->run.width;
    MP_rowsRGB48FloatBy8(
        a->run.src, a->run.dst, width, start, end,
        [&](__m256& r, __m256& g, __m256& b) __attribute__((target("avx2"))) {
            const __m256 sx = _mm256_add_ps(r, milli), sy = _mm256_add_ps(g, milli), sz = _mm256_add_ps(b, milli);
            const __m256 len2 =
                _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(sx, sx), _mm256_mul_ps(sy, sy)), _mm256_mul_ps(sz, sz));
            const __m256 inv = _mm256_div_ps(one, _mm256_sqrt_ps(len2));
            const __m256 nx = _mm256_mul_ps(sx, inv), ny = _mm256_mul_ps(sy, inv), nz = _mm256_mul_ps(sz, inv);
            const __m256 s3 = sim8(nx, ny, nz, dir[3]), s4 = sim8(nx, ny, nz, dir[4]), s5 = sim8(nx, ny, nz, dir[5]);
            __m256 sadd = zero;
            sadd = _mm256_add_ps(sadd, _mm256_mul_ps(w[0], pow4x8(sim8(nx, ny, nz, dir[0]))));
            sadd = _mm256_add_ps(sadd, _mm256_mul_ps(w[1], pow12x8(sim8(nx, ny, nz, dir[1]))));
            sadd = _mm256_add_ps(sadd, _mm256_mul_ps(w[2], pow12x8(sim8(nx, ny, nz, dir[2]))));
            sadd = _mm256_add_ps(sadd, _mm256_mul_ps(w[3], _mm256_mul_ps(_mm256_mul_ps(s3, s3), s3)));
            __m256 s4n = s4;
            for (int k = 1; k < 7; ++k)
                s4n = _mm256_mul_ps(s4n, s4);
            sadd = _mm256_add_ps(sadd, _mm256_mul_ps(w[4], s4n));
            sadd = _mm256_add_ps(sadd, _mm256_mul_ps(w[5], _mm256_mul_ps(s5, s5)));
            sadd = _mm256_add_ps(sadd, _mm256_mul_ps(w[6], pow12x8(sim8(nx, ny, nz, dir[6]))));
            sadd = _mm256_add_ps(sadd, _mm256_mul_ps(w[7], pow12x8(sim8(nx, ny, nz, dir[7]))));

            const __m256 v = _mm256_max_ps(_mm256_max_ps(r, g), b);
            const __m256 lit = _mm256_cmp_ps(v, zero, _CMP_GT_OQ);
            __m256 delta = _mm256_sub_ps(v, _mm256_min_ps(_mm256_min_ps(r, g), b));
            delta = _mm256_blendv_ps(milli, delta, _mm256_cmp_ps(delta, zero, _CMP_GT_OQ));
            const __m256 redMax = _mm256_cmp_ps(r, v, _CMP_EQ_OQ);
            const __m256 greenMax = _mm256_andnot_ps(redMax, _mm256_cmp_ps(g, v, _CMP_EQ_OQ));
            // one division: the numerator of the lane's case first
            const __m256 num = _mm256_blendv_ps(_mm256_blendv_ps(_mm256_sub_ps(r, g), _mm256_sub_ps(b, r), greenMax),
                                                _mm256_sub_ps(g, b), redMax);
            const __m256 q6 = _mm256_div_ps(num, delta);
            const __m256 h6 = _mm256_blendv_ps(
                _mm256_blendv_ps(_mm256_add_ps(q6, four), _mm256_add_ps(q6, two), greenMax), q6, redMax);
            __m256 h = _mm256_mul_ps(h6, sixty);
            h = _mm256_blendv_ps(h, _mm256_add_ps(h, full), _mm256_cmp_ps(h, zero, _CMP_LT_OQ));
            h = _mm256_blendv_ps(zero, _mm256_div_ps(h, sixty), lit);
            const __m256 s = _mm256_blendv_ps(zero, _mm256_div_ps(delta, v), lit);

            __m256 s2 = _mm256_add_ps(s, _mm256_mul_ps(_mm256_sqrt_ps(s), sadd));
            s2 = _mm256_blendv_ps(s2, one, _mm256_cmp_ps(s2, one, _CMP_GT_OQ));
            s2 = _mm256_blendv_ps(s2, milli, _mm256_cmp_ps(s2, milli, _CMP_LT_OQ));
            const __m256i sector = _mm256_cvttps_epi32(h);
            const __m256 f = _mm256_sub_ps(h, _mm256_cvtepi32_ps(sector));
            const __m256 pp = _mm256_mul_ps(v, _mm256_sub_ps(one, s2));
            const __m256 qq = _mm256_mul_ps(v, _mm256_sub_ps(one, _mm256_mul_ps(s2, f)));
            const __m256 tt = _mm256_mul_ps(v, _mm256_sub_ps(one, _mm256_mul_ps(s2, _mm256_sub_ps(one, f))));
            MP_hsvSectorPick8(sector, v, pp, qq, tt, r, g, b); // other sectors: the colour itself
        },
        [&](const ushort* s, ushort* d, int x) {
            for (; x < width; ++x)
                MP_storeRGB48Clamped(d + static_cast<size_t>(x) * 3,
                                     paletteOf(a, an, MP_loadRGB48(s + static_cast<size_t>(x) * 3)));
        });
}
#endif

void MP_Task_calcPixelColorPaletteReduced(TaskFuncParams t)
{
    const ColorPaletteArgs* a = MP_taskArgs<ColorPaletteArgs>(t);
    const Anchors an = anchorsOf();
#ifdef MP_HAS_X86_SIMD
    if (MP_hasAvx2()) {
        paletteRows8(a, an, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
#endif
    // Within range every channel stays in 0..v; the clamped store only
    // guards weights that are not numbers.
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a, &an](MP_float3 c, int, int) { return paletteOf(a, an, c); });
}

} // namespace

int MP_calcPixelColorPalette(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    ColorPaletteArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 9, 8))
        return r;
    for (int k = 0; k < kAnchors; ++k)
        a.weight[k] = 2.0f * params->p[k][0] - 1.0f;
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelColorPalette, MP_Task_calcPixelColorPaletteReduced, 4);
}

// ---- C64 Farben --------------------------------------------------------------------

const unsigned char MP_c64Palette[16][3] = {
    {0, 0, 0},       {255, 255, 255}, {104, 55, 43},  {112, 164, 178}, {111, 61, 134}, {88, 141, 67},
    {53, 40, 121},   {184, 199, 111}, {111, 79, 37},  {67, 57, 0},     {154, 103, 89}, {68, 68, 68},
    {108, 108, 108}, {154, 210, 132}, {108, 94, 181}, {149, 149, 149},
};

int MP_c64BlockSize(float raster)
{
    // Beyond 1..10 a block would be empty (an endless loop) or its 32-bit
    // sums would overflow.
    return MP_safeTrunc(9.0f * raster + 1.0f + 0.05f, 1, 10);
}

int MP_calcPixelC64(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    MP_DriverRun run;
    if (int r = MP_beginDriver(run, sizex, sizey, src, dst, params, 2, 1))
        return r;
    const int n = MP_c64BlockSize(params->p[0][0]);
    const int bw = 2 * n;
    MP_float3 colour[16];
    for (int i = 0; i < 16; ++i)
        colour[i] = {static_cast<float>(MP_c64Palette[i][0] << 8) * MP_k,
                     static_cast<float>(MP_c64Palette[i][1] << 8) * MP_k,
                     static_cast<float>(MP_c64Palette[i][2] << 8) * MP_k};
    const bool geometry = params->geometry_needed != 0;
    const size_t rowLen = static_cast<size_t>(sizex) * 3;

    for (int y0 = 0; y0 < sizey; y0 += n) {
        const int y1 = MP_imin(y0 + n, sizey);
        for (int x0 = 0; x0 < sizex; x0 += bw) {
            const int x1 = MP_imin(x0 + bw, sizex);
            uint32_t sum[3] = {0, 0, 0};
            for (int y = y0; y < y1; ++y) {
                const ushort* s = src + static_cast<size_t>(y) * rowLen + static_cast<size_t>(x0) * 3;
                for (int x = x0; x < x1; ++x, s += 3) {
                    sum[0] += s[0];
                    sum[1] += s[1];
                    sum[2] += s[2];
                }
            }
            const uint32_t count = static_cast<uint32_t>((y1 - y0) * (x1 - x0));
            const int mean[3] = {static_cast<int>(sum[0] / count) >> 8, static_cast<int>(sum[1] / count) >> 8,
                                 static_cast<int>(sum[2] / count) >> 8};
            int best = 0, bestDist = 0x7FFFFFF;
            for (int i = 0; i < 16; ++i) {
                const int dr = mean[0] - MP_c64Palette[i][0];
                const int dg = mean[1] - MP_c64Palette[i][1];
                const int db = mean[2] - MP_c64Palette[i][2];
                const int d = dr * dr + dg * dg + db * db;
                if (d < bestDist) {
                    bestDist = d;
                    best = i;
                }
            }
            for (int y = y0; y < y1; ++y) {
                const ushort* s = src + static_cast<size_t>(y) * rowLen + static_cast<size_t>(x0) * 3;
                ushort* d = dst + static_cast<size_t>(y) * rowLen + static_cast<size_t>(x0) * 3;
                if (!run.full) {
                    const ushort pr = static_cast<ushort>(MP_c64Palette[best][0] << 8);
                    const ushort pg = static_cast<ushort>(MP_c64Palette[best][1] << 8);
                    const ushort pb = static_cast<ushort>(MP_c64Palette[best][2] << 8);
                    for (int x = x0; x < x1; ++x, d += 3) {
                        d[0] = pr;
                        d[1] = pg;
                        d[2] = pb;
                    }
                    continue;
                }
                for (int x = x0; x < x1; ++x, s += 3, d += 3) {
                    float a = 1.0f;
                    if (geometry) {
                        a = MP_calcGeometryMethodOpacity(x, y, sizex, sizey, 2, params);
                        if (!(a > 0.0f)) {
                            d[0] = s[0];
                            d[1] = s[1];
                            d[2] = s[2];
                            continue;
                        }
                    }
                    const MP_float3 c0 = MP_loadRGB48(s);
                    MP_float3 e = MP_calcLayerMethodOpacity(run.mode, c0, colour[best], run.opacity);
                    if (a < 1.0f)
                        e = MP_calcGeometryMethodBlend(c0, e, a);
                    MP_storeRGB48(d, e);
                }
            }
        }
        if (y1 % 1024 == 0)
            MP_postKernelProgress(y1, sizey);
    }
    return 0;
}

// ---- Unter Wasser ------------------------------------------------------------------

namespace {

struct UnderWaterArgs {
    MP_DriverRun run;
    float depth;
};

// Q14 factors of row y: the light left after red, green and blue are absorbed.
struct RowFactors {
    int m[3];
};

RowFactors rowFactorsOf(const UnderWaterArgs* a, int y)
{
    const float d = static_cast<float>(y) / static_cast<float>(a->run.height) * 0.2f + a->depth;
    const float absorb[3] = {MP_clamp(1.5f * d, 0.0f, 1.0f), MP_clamp(1.5f * (d - 0.25f), 0.0f, 1.0f),
                             MP_clamp(1.5f * (d - 0.5f), 0.0f, 1.0f)};
    RowFactors f;
    for (int c = 0; c < 3; ++c)
        f.m[c] = 16384 - MP_safeTrunc(absorb[c] * 16384.0f, 0, 16384);
    return f;
}

void MP_Task_calcPixelUnderWater(TaskFuncParams t)
{
    const UnderWaterArgs* a = MP_taskArgs<UnderWaterArgs>(t);
    int rowOf = -1;
    RowFactors f{};
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, &rowOf, &f](MP_float3 c, int x, int y) {
        if (y != rowOf) {
            f = rowFactorsOf(a, y);
            rowOf = y;
        }
        (void)c;
        const ushort* s = a->run.src + (static_cast<size_t>(y) * static_cast<size_t>(a->run.width) + x) * 3;
        return MP_float3{static_cast<float>((s[0] * f.m[0]) >> 14) * MP_k,
                         static_cast<float>((s[1] * f.m[1]) >> 14) * MP_k,
                         static_cast<float>((s[2] * f.m[2]) >> 14) * MP_k};
    });
}

void MP_Task_calcPixelUnderWaterReduced(TaskFuncParams t)
{
    const UnderWaterArgs* a = MP_taskArgs<UnderWaterArgs>(t);
    const size_t rowLen = static_cast<size_t>(a->run.width) * 3;
    for (int y = MP_taskStart(t), end = MP_taskEnd(t); y < end; ++y) {
        const RowFactors f = rowFactorsOf(a, y);
        const ushort* s = a->run.src + static_cast<size_t>(y) * rowLen;
        ushort* d = a->run.dst + static_cast<size_t>(y) * rowLen;
        for (size_t i = 0; i < rowLen; i += 3) {
            d[i] = static_cast<ushort>((s[i] * f.m[0]) >> 14);
            d[i + 1] = static_cast<ushort>((s[i + 1] * f.m[1]) >> 14);
            d[i + 2] = static_cast<ushort>((s[i + 2] * f.m[2]) >> 14);
        }
    }
}

} // namespace

int MP_calcPixelUnderWater(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    UnderWaterArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, 1))
        return r;
    a.depth = params->p[0][0];
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelUnderWater, MP_Task_calcPixelUnderWaterReduced, 8);
}

// ---- dark to grey ------------------------------------------------------------------

int MP_calcPixeldarktogrey(int sizex, int sizey, ushort* src, ushort* dst, int, int dstBpp, MP_Params* params)
{
    // The operation writes three 16-bit channels per pixel: a smaller
    // destination pixel would make the scratch buffer too small.
    if (!src || !dst || !params || sizex < 0 || sizey < 0 || dstBpp != 6)
        return -2;
    if (sizex > 0 && static_cast<size_t>(sizey) > SIZE_MAX / 6 / static_cast<size_t>(sizex))
        return -1;
    const size_t bytes = static_cast<size_t>(dstBpp) * static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    ushort* out = static_cast<ushort*>(MP_UpdateBuffer(bytes));
    if (!out)
        return -1;
    const float lr = params->lumr, lg = params->lumg, lb = params->lumb;
    // Progress every (100000 / (sizey + 1)) rows, at least every row.
    const int cadence = MP_imax(1, 100000 / (sizey + 1));
    const size_t rowLen = static_cast<size_t>(sizex) * 3;
    for (int y = 0; y < sizey; ++y) {
        if (y % cadence == 0)
            MP_postKernelProgress(y, sizey);
        const ushort* s = src + static_cast<size_t>(y) * rowLen;
        ushort* d = out + static_cast<size_t>(y) * rowLen;
        for (int x = 0; x < sizex; ++x, s += 3, d += 3) {
            MP_float3 c = MP_loadRGB48(s);
            const float lum = lr * c.x + lg * c.y + lb * c.z;
            if (lum < 0.5f) {
                const float t = (0.5f - lum) * 2.0f;
                const float t2 = t * t;
                const float keep = 1.0f - t2;
                c = {c.x * keep + t2 * lum, c.y * keep + t2 * lum, c.z * keep + t2 * lum};
            }
            MP_storeRGB48Clamped(d, c);
        }
    }
    std::memcpy(dst, out, bytes);
    return 0;
}

// ---- Driver table ------------------------------------------------------------------

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelColorPalette", MP_calcPixelColorPalette},
    {"MP_calcPixelC64", MP_calcPixelC64},
    {"MP_calcPixelUnderWater", MP_calcPixelUnderWater},
};
} // namespace
extern const MP_DriverTable MP_drivers_palettes = MP_driverTable(kDrivers);
