#pragma once
// Samplers of RGB48 images (three unsigned 16-bit values per pixel, rows
// packed top-down) at float coordinates, for kernels and the alignment.
// Pixel centres lie on integer coordinates: x = 2.5 mixes columns 2 and 3
// half and half.
//
//   clamped   coordinates are held inside the image: a negative (or NaN)
//             coordinate samples the first row / column, one at or beyond the
//             last row / column samples that one;
//   wrapped   ("Seemless") the image repeats in both directions;
//   align     bilinear with the weights of the zoom table MP_izoomtable, so
//             the interpolation curve follows the table's type.
//
// Bilinear samples use 14-bit integer weights (16384 = 1.0): per channel
//   left  = (fy * P(x0, y1) + (16384 - fy) * P(x0, y0)) >> 14
//   right = (fy * P(x1, y1) + (16384 - fy) * P(x1, y0)) >> 14
//   value = (fx * right + (16384 - fx) * left) >> 14
// with fx = (int)((x - (int)x) * 16384). Float results are value * MP_k
// (0..1), int results the value itself (0..65535). An empty or missing
// image samples as black. No sampler reads or writes outside the image.

#include "engine/core/driverframe.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/tables.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

struct MP_float2 {
    float x, y;
};

namespace mp_sampler_detail {

// Neighbours i0, i1 along one axis of n elements and the weight of i1.
struct Axis {
    int i0, i1, f;
};

// Clamped axis with a 14-bit fraction. A coordinate that is not above 0
// (NaN included) takes element 0 whole and one at or beyond n - 1 element
// n - 1 whole: that is what the two neighbours give there anyway (both are
// the same element, or the fraction is 0), except left of 0, where the
// negative fraction would extrapolate past the first element.
inline Axis clampedAxis(float c, int n)
{
    if (!(c > 0.0f))
        return {0, 0, 0};
    if (c >= static_cast<float>(n - 1))
        return {n - 1, n - 1, 0};
    const int i = static_cast<int>(c);
    return {i, i + 1, static_cast<int>((c - static_cast<float>(i)) * 16384.0f)};
}

// Wrapped axis: n is added while c is negative, then the truncated
// coordinate and its right neighbour are reduced into [0, n); the fraction
// comes from c after the additions. The reductions use fmod, which gives the
// same values as repeated addition and subtraction without looping over huge
// coordinates; NaN and infinity count as 0.
inline Axis wrappedAxis(float c, int n)
{
    const float fn = static_cast<float>(n);
    if (!std::isfinite(c))
        c = 0.0f;
    if (c < 0.0f) {
        c += fn;
        if (c < 0.0f) {
            c = std::fmod(c, fn);
            if (c < 0.0f)
                c += fn;
        }
    }
    int i;
    float frac;
    if (c < 2147483648.0f) {
        i = static_cast<int>(c);
        frac = c - static_cast<float>(i);
        if (i >= n)
            i %= n;
    } else {
        // Floats this large are whole numbers.
        i = static_cast<int>(std::fmod(c, fn));
        frac = 0.0f;
    }
    const int i1 = i + 1 < n ? i + 1 : 0;
    return {i, i1, static_cast<int>(frac * 16384.0f)};
}

// Truncated coordinate reduced into [0, n) (nearest wrapped sample).
inline int wrappedIndex(float c, int n)
{
    if (!std::isfinite(c))
        return 0;
    int i;
    if (c > -2147483648.0f && c < 2147483648.0f)
        i = static_cast<int>(c) % n;
    else
        i = static_cast<int>(std::fmod(c, static_cast<float>(n)));
    return i < 0 ? i + n : i;
}

// Alignment axis: neighbours of the truncated coordinate clamped into
// [0, n); the weight is the zoom-table entry of the fraction, its index
// taken modulo 65536 (so a negative fraction f weighs like 1 + f).
inline Axis alignAxis(float c, int n)
{
    int i = 0;
    float frac = 0.0f;
    if (c >= -2147483648.0f && c < 2147483648.0f) { // NaN fails both tests
        i = static_cast<int>(c);
        frac = c - static_cast<float>(i);
    } else if (c > 0.0f) {
        i = n - 1;
    }
    const int i0 = MP_iclamp(i, 0, n - 1);
    const int i1 = MP_iclamp(i0 + 1, 0, n - 1);
    const int index = static_cast<uint16_t>(static_cast<int>(frac * 65535.0f));
    return {i0, i1, MP_izoomtable[index]};
}

// The four neighbours of a bilinear sample and its two weights.
struct Taps {
    const uint16_t *p00, *p10, *p01, *p11; // (x0,y0), (x1,y0), (x0,y1), (x1,y1)
    int fx, fy;
};

inline Taps taps(int w, const uint16_t* img, Axis ax, Axis ay)
{
    const uint16_t* r0 = img + static_cast<size_t>(ay.i0) * static_cast<size_t>(w) * 3;
    const uint16_t* r1 = img + static_cast<size_t>(ay.i1) * static_cast<size_t>(w) * 3;
    const size_t c0 = static_cast<size_t>(ax.i0) * 3;
    const size_t c1 = static_cast<size_t>(ax.i1) * 3;
    return {r0 + c0, r0 + c1, r1 + c0, r1 + c1, ax.f, ay.f};
}

inline int value(const Taps& t, int ch)
{
    const int left = (t.fy * t.p01[ch] + (16384 - t.fy) * t.p00[ch]) >> 14;
    const int right = (t.fy * t.p11[ch] + (16384 - t.fy) * t.p10[ch]) >> 14;
    return (t.fx * right + (16384 - t.fx) * left) >> 14;
}

inline bool usable(int w, int h, const uint16_t* img) { return img && w > 0 && h > 0; }

inline Taps clampedTaps(int w, int h, const uint16_t* img, float x, float y)
{
    return taps(w, img, clampedAxis(x, w), clampedAxis(y, h));
}
inline Taps wrappedTaps(int w, int h, const uint16_t* img, float x, float y)
{
    return taps(w, img, wrappedAxis(x, w), wrappedAxis(y, h));
}

inline const uint16_t* pixel(int w, const uint16_t* img, int x, int y)
{
    return img + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
}

} // namespace mp_sampler_detail

// ---- Clamped bilinear ---------------------------------------------------------

inline MP_float3 MP_tex2D16intBilinear(int w, int h, const uint16_t* img, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img))
        return {0.0f, 0.0f, 0.0f};
    const Taps t = clampedTaps(w, h, img, x, y);
    return {static_cast<float>(value(t, 0)) * MP_k, static_cast<float>(value(t, 1)) * MP_k,
            static_cast<float>(value(t, 2)) * MP_k};
}

// Channels R and G only.
inline MP_float2 MP_tex2D16intBilinearRG(int w, int h, const uint16_t* img, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img))
        return {0.0f, 0.0f};
    const Taps t = clampedTaps(w, h, img, x, y);
    return {static_cast<float>(value(t, 0)) * MP_k, static_cast<float>(value(t, 1)) * MP_k};
}

inline void MP_tex2D16intBilinearToInt(int w, int h, const uint16_t* img, int* r, int* g, int* b, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img)) {
        *r = *g = *b = 0;
        return;
    }
    const Taps t = clampedTaps(w, h, img, x, y);
    *r = value(t, 0);
    *g = value(t, 1);
    *b = value(t, 2);
}

inline int MP_tex2D16intBilinearGreenToInt(int w, int h, const uint16_t* img, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img))
        return 0;
    return value(clampedTaps(w, h, img, x, y), 1);
}

// ---- Clamped nearest ------------------------------------------------------------

// The pixel at the truncated coordinates, held inside the image.
inline void MP_tex2D16intToInt(int w, int h, const uint16_t* img, int* r, int* g, int* b, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img)) {
        *r = *g = *b = 0;
        return;
    }
    const uint16_t* p = pixel(w, img, MP_safeTrunc(x, 0, w - 1), MP_safeTrunc(y, 0, h - 1));
    *r = p[0];
    *g = p[1];
    *b = p[2];
}

// ---- Wrapped ----------------------------------------------------------------------

// Nearest: the truncated coordinates reduced into the image.
inline MP_float3 MP_tex2D16intSeemless(int w, int h, const uint16_t* img, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img))
        return {0.0f, 0.0f, 0.0f};
    const uint16_t* p = pixel(w, img, wrappedIndex(x, w), wrappedIndex(y, h));
    return {static_cast<float>(p[0]) * MP_k, static_cast<float>(p[1]) * MP_k, static_cast<float>(p[2]) * MP_k};
}

inline MP_float3 MP_tex2D16intBilinearSeemless(int w, int h, const uint16_t* img, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img))
        return {0.0f, 0.0f, 0.0f};
    const Taps t = wrappedTaps(w, h, img, x, y);
    return {static_cast<float>(value(t, 0)) * MP_k, static_cast<float>(value(t, 1)) * MP_k,
            static_cast<float>(value(t, 2)) * MP_k};
}

// Channel G only.
inline float MP_tex2D16intBilinearSeemlessG(int w, int h, const uint16_t* img, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img))
        return 0.0f;
    return static_cast<float>(value(wrappedTaps(w, h, img, x, y), 1)) * MP_k;
}

// ---- Alignment (zoom-table weights) --------------------------------------------

// One pixel into out[0..2].
inline void MP_tex2D16intAlignToUShort(int w, int h, const uint16_t* img, uint16_t* out, float x, float y)
{
    using namespace mp_sampler_detail;
    if (!usable(w, h, img)) {
        out[0] = out[1] = out[2] = 0;
        return;
    }
    const Taps t = taps(w, img, alignAxis(x, w), alignAxis(y, h));
    out[0] = static_cast<uint16_t>(value(t, 0));
    out[1] = static_cast<uint16_t>(value(t, 1));
    out[2] = static_cast<uint16_t>(value(t, 2));
}

// One output row of w pixels, pixel i sampled at (x, y) with x starting at x0
// and growing by dx per pixel; the row pair and its weight are found once.
void MP_line2D16intAlignToUShort(int w, int h, const uint16_t* img, uint16_t* outRow, float x0, float dx, float y);
// The same, but output pixels whose truncated x lies outside [0, w) are left
// as they are.
void MP_lineclip2D16intAlignToUShort(int w, int h, const uint16_t* img, uint16_t* outRow, float x0, float dx,
                                     float y);

// ---- Further samplers (no caller in the program) ----------------------------------

// Nearest, clamped, channel G.
int MP_tex2D16intGreenToInt(int w, int h, const uint16_t* img, float x, float y);
// The pixel at integer coordinates held inside the image, as floats 0..1.
MP_float3 MP_tex2D16intClip(int x, int y, int w, int h, const uint16_t* img);
// ((R + G + B) * 0.3333 - mean)^2 of the clamped bilinear sample.
float MP_tex2D16intBilinearAddVar(int w, int h, const uint16_t* img, float mean, float x, float y);
// The same of the pixel at clamped integer coordinates.
float MP_tex2D16intClipAddVar(int x, int y, int w, int h, const uint16_t* img, float mean);
