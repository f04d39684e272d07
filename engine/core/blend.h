#pragma once
// Layer blend modes: an operator's result e laid over its source c0 like a
// layer, with one of 31 per-channel formulas and an opacity. Colours are float
// RGB, nominally 0..1. Both functions are inline: the full band worker calls
// MP_calcLayerMethodOpacity once per pixel.
//
//  1 lighten          9 screen          17 linear burn     25 divide
//  2 darken          10 exclusion       18 linear light    26 cubic
//  3 multiply        11 square divide   19 vivid light     27 euclidean
//  4 average         12 soft light      20 pin light       28 colour expand
//  5 length          13 hard light      21 hard mix        29 colour compress
//  6 double distance 14 colour dodge    22 reflect         30 overlay by effect brightness
//  7 difference      15 colour burn     23 glow            31 inverse add
//  8 negation        16 linear dodge    24 phoenix
// 0, negative and above 31: no blend (the effect itself).

#include "engine/core/mathfuncs.h"

constexpr int MP_LAYER_MODES = 31;

namespace mp_blend_detail {

// Square root of a radicand that is negative only for colours outside 0..1
// (an effect may overshoot before it is clamped): taken as 0 then.
inline float rootOfNonNegative(float r) { return std::sqrt(r > 0.0f ? r : 0.0f); }

inline float vividLight(float c, float v)
{
    if (c <= 0.5f)
        return 1.0f - (1.0f - v) / (2.0f * c + 0.001f);
    return v / (2.0f * (1.0f - c) + 0.001f);
}

inline float hardLight(float c, float v)
{
    if (c <= 0.5f)
        return 2.0f * c * v;
    return 1.0f - 2.0f * (1.0f - c) * (1.0f - v);
}

// One channel of mode `mode` (1..31); m is the effect mean of modes 28..30.
inline float layerChannel(int mode, float c, float v, float m)
{
    switch (mode) {
    case 1:
        return MP_max(c, v);
    case 2:
        return MP_min(c, v);
    case 3:
        return c * v;
    case 4:
        return (c + v) * 0.5f;
    case 5:
        return rootOfNonNegative(c * v * (c + v) * 0.5f);
    case 6:
        return (v - c) * 2.0f + c;
    case 7:
        return MP_fabs(v - c);
    case 8:
        return 1.0f - MP_fabs((1.0f - v) - c);
    case 9:
        return 1.0f - (1.0f - c) * (1.0f - v);
    case 10:
        return c + v - 2.0f * c * v;
    case 11:
        if (c < v)
            return c * c / (v + 0.001f);
        return v * v / (c + 0.001f);
    case 12: {
        const float w = MP_max(0.0f, v);
        if (c <= 0.5f)
            return w + (2.0f * c - 1.0f) * (w - w * w);
        return w + (2.0f * c - 1.0f) * (std::sqrt(w) - w);
    }
    case 13:
        return hardLight(c, v);
    case 14:
        return v / (1.0f - c + 0.001f);
    case 15:
        return 1.0f - (1.0f - v) / (c + 0.001f);
    case 16:
        return c + v;
    case 17:
        return c + v - 1.0f;
    case 18:
        return v + 2.0f * c - 1.0f;
    case 19:
        return vividLight(c, v);
    case 20:
        if (v < 2.0f * c - 1.0f)
            return 2.0f * c - 1.0f;
        if (v > 2.0f * c)
            return 2.0f * c;
        return v;
    case 21:
        return vividLight(c, v) < 0.5f ? 0.0f : 1.0f;
    case 22:
        return v * v / (1.0f - c + 0.001f);
    case 23:
        return c * c / (MP_max(0.0f, 1.0f - v) + 0.001f);
    case 24:
        return MP_min(c, v) - MP_max(c, v) + 1.0f;
    case 25:
        return v / (c + 0.001f);
    case 26:
        return rootOfNonNegative(c * c * c + v * v * v);
    case 27:
        return std::sqrt(0.5f * (c * c + v * v));
    case 28:
        return v - 0.5f * (m - c);
    case 29:
        return v + 0.5f * (m - c);
    case 30:
        return m < 0.5f ? 2.0f * c * v : 1.0f - 2.0f * (1.0f - c) * (1.0f - v);
    case 31:
        return (1.0f - v) * v + c;
    default:
        return v;
    }
}

// 0..1; NaN (from an effect that is not a number) becomes 0, so the result
// can always be turned into a 16-bit value.
inline float clampUnit(float x) { return x > 0.0f ? (x < 1.0f ? x : 1.0f) : 0.0f; }

} // namespace mp_blend_detail

// The raw blend of one mode, not clamped. Modes 0, negative and above 31 give e.
inline MP_float3 MP_calcLayerMethod(int mode, MP_float3 c0, MP_float3 e)
{
    using mp_blend_detail::layerChannel;
    float m = 0.0f;
    if (mode == 28 || mode == 29)
        m = (e.x + e.y + e.z) * 0.333f;
    else if (mode == 30)
        m = (e.x + e.y + e.z) * 0.33333f;
    return {layerChannel(mode, c0.x, e.x, m), layerChannel(mode, c0.y, e.y, m), layerChannel(mode, c0.z, e.z, m)};
}

// Blend (mode > 0), then mix with the source by opacity (when below 1), then
// clamp every channel to 0..1.
inline MP_float3 MP_calcLayerMethodOpacity(int mode, MP_float3 c0, MP_float3 e, float opacity)
{
    using mp_blend_detail::clampUnit;
    if (mode > 0)
        e = MP_calcLayerMethod(mode, c0, e);
    if (opacity < 1.0f) {
        const float keep = 1.0f - opacity;
        e = {e.x * opacity + c0.x * keep, e.y * opacity + c0.y * keep, e.z * opacity + c0.z * keep};
    }
    return {clampUnit(e.x), clampUnit(e.y), clampUnit(e.z)};
}
