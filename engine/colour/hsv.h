#pragma once
// The HSV colour model of the hue and saturation operators, and the drivers
// built directly on it: "Farbton Sättigung Belichtung" (MP_calcPixelHSL),
// "Psychedelic" (MP_calcPixelPsycho) and "Pop-Art" (MP_calcPixelPopart).
//
// Colours are single-precision channels 0..1 (v * MP_k of the 16-bit value);
// hue in degrees 0 <= h < 360, saturation and value 0..1. The conversions are
// inline because every worker calls them once per pixel. The hue-range
// operators use them on squared channels; Posterize uses the posterise ratio
// table.

#include "engine/core/driverframe.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/rgb48avx2.h"

#include <cmath>

struct MP_hsv {
    float h, s, v;
};

// RGB to HSV. The difference of the largest and smallest channel is floored at
// 0.001, so a grey pixel of value v > 0 comes out with hue 0 and saturation
// 0.001 / v (not 0); black gives (0, 0, 0).
inline MP_hsv MP_rgbToHsv(float r, float g, float b)
{
    const float v = MP_max(MP_max(r, g), b);
    float delta = v - MP_min(MP_min(r, g), b);
    if (delta <= 0.0f)
        delta = 0.001f;
    if (v == 0.0f)
        return {0.0f, 0.0f, 0.0f};
    const float s = delta / v;
    // (g - b) / delta when red is the largest channel, (b - r) / delta + 2
    // when green is, (r - g) / delta + 4 otherwise; written as selects so that
    // the compiler need not branch on the colour.
    const bool redMax = r == v;
    const bool greenMax = !redMax && g == v;
    const float q = (redMax ? g - b : (greenMax ? b - r : r - g)) / delta;
    const float h6 = redMax ? q : (greenMax ? q + 2.0f : q + 4.0f);
    float h = 60.0f * h6;
    if (h < 0.0f)
        h += 360.0f;
    return {h, s, v};
}

// HSV to RGB by sectors of 60 degrees (the hue times the float 0.016666666,
// not divided by 60). A hue whose sector is not 0..5 (outside 0..360, or NaN)
// gives `fallback`, the caller's input colour.
inline MP_float3 MP_hsvToRgb(float h, float s, float v, MP_float3 fallback)
{
    if (s == 0.0f)
        return {v, v, v};
    const float x = h * 0.016666666f;
    const float fi = std::floor(x);
    const float f = x - fi;
    // Compared as a float: a huge hue never becomes an int. Row 6: the fallback.
    const int i = (fi >= 0.0f && fi <= 5.0f) ? static_cast<int>(fi) : 6;
    const float p = (1.0f - s) * v;
    const float q = (1.0f - s * f) * v;
    const float t = (1.0f - (1.0f - f) * s) * v;
    // The sector picks its channels from a table instead of a jump: sectors
    // change from pixel to pixel, and mispredicted jumps cost more than the loads.
    const float pick[7] = {v, t, p, q, fallback.x, fallback.y, fallback.z};
    static constexpr unsigned char kSector[7][3] = {{0, 1, 2}, {3, 0, 2}, {2, 0, 1}, {2, 3, 0},
                                                    {1, 2, 0}, {0, 2, 3}, {4, 5, 6}};
    return {pick[kSector[i][0]], pick[kSector[i][1]], pick[kSector[i][2]]};
}

#ifdef MP_HAS_X86_SIMD
// The sector pick of MP_hsvToRgb for eight pixels: in the lanes of sectors
// 0..5 the colour (r, g, b) becomes (v t p) (q v p) (p v t) (p q v) (t p v)
// (v p q); lanes of any other sector keep it.
__attribute__((target("avx2"))) inline void MP_hsvSectorPick8(__m256i sector, __m256 v, __m256 p, __m256 q, __m256 t,
                                                              __m256& r, __m256& g, __m256& b)
{
    __m256 sec[6];
    for (int k = 0; k < 6; ++k)
        sec[k] = _mm256_castsi256_ps(_mm256_cmpeq_epi32(sector, _mm256_set1_epi32(k)));
    r = _mm256_blendv_ps(r, v, _mm256_or_ps(sec[0], sec[5]));
    r = _mm256_blendv_ps(r, q, sec[1]);
    r = _mm256_blendv_ps(r, p, _mm256_or_ps(sec[2], sec[3]));
    r = _mm256_blendv_ps(r, t, sec[4]);
    g = _mm256_blendv_ps(g, t, sec[0]);
    g = _mm256_blendv_ps(g, v, _mm256_or_ps(sec[1], sec[2]));
    g = _mm256_blendv_ps(g, q, sec[3]);
    g = _mm256_blendv_ps(g, p, _mm256_or_ps(sec[4], sec[5]));
    b = _mm256_blendv_ps(b, p, _mm256_or_ps(sec[0], sec[1]));
    b = _mm256_blendv_ps(b, t, sec[2]);
    b = _mm256_blendv_ps(b, v, _mm256_or_ps(sec[3], sec[4]));
    b = _mm256_blendv_ps(b, q, sec[5]);
}
#endif

// Brings a hue into 0..360 by whole turns. Within 64 turns this is exactly the
// repeated "+= 360 while below 0, -= 360 while 360 or above" (which covers
// every hue the slider ranges produce); a hue further out is reduced with
// fmodf, so a huge hue cannot stall the worker. Infinite and NaN hues come out
// NaN, which MP_hsvToRgb answers with its fallback colour.
inline float MP_wrapHueTurns(float h)
{
    for (int i = 0; i < 64 && h < 0.0f; ++i)
        h += 360.0f;
    for (int i = 0; i < 64 && h >= 360.0f; ++i)
        h -= 360.0f;
    if (h < 0.0f || h >= 360.0f) {
        h = std::fmod(h, 360.0f);
        if (h < 0.0f)
            h += 360.0f;
        if (h >= 360.0f)
            h = 0.0f;
    }
    return h;
}

// Posterise ratio table, entries start..end-1: entry 0 = 0, entry i =
// ((x - fmodf(x, step)) / x) * 0.99 + 0.005 at x = i * MP_k: the factor that
// lowers luminance x to the step below it, compressed into 0.005..0.995.
void MP_posteriseRatioTable(int start, int end, float* table, float step);

// Drivers (signature of every kernel driver; 0, -1 without working memory,
// -2 for missing buffers).
int MP_calcPixelHSL(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelPsycho(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelPopart(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
