#pragma once
// Scalar helpers with the names of the device language's built-ins, so CPU
// kernels read like their device twins. Single precision throughout.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

struct MP_float3 {
    float x, y, z;
};

inline float MP_fabs(float x)
{
    uint32_t u;
    std::memcpy(&u, &x, 4);
    u &= 0x7FFFFFFFu;
    std::memcpy(&x, &u, 4);
    return x;
}
// Nearest integer, halves away from zero.
inline int MP_f2int(float x) { return x >= 0.0f ? static_cast<int>(x + 0.5f) : static_cast<int>(x - 0.5f); }
inline void MP_swapf(float* a, float* b)
{
    const float t = *a;
    *a = *b;
    *b = t;
}
inline float MP_min(float a, float b) { return a < b ? a : b; }
inline float MP_max(float a, float b) { return a > b ? a : b; }
inline int MP_imin(int a, int b) { return a < b ? a : b; }
inline int MP_imax(int a, int b) { return a > b ? a : b; }
inline float MP_sign(float x) { return x == 0.0f ? 0.0f : (x > 0.0f ? 1.0f : -1.0f); }
inline float MP_clamp(float x, float lo, float hi) { return x < lo ? lo : (hi < x ? hi : x); }
inline int MP_iclamp(int x, int lo, int hi) { return x < lo ? lo : (hi <= x ? hi : x); }

inline float MP_dot(MP_float3 a, MP_float3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float MP_length(MP_float3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
inline MP_float3 MP_normalize(MP_float3 v)
{
    const float len = MP_length(v);
    if (len > 0.0f) {
        const float inv = 1.0f / len;
        return {v.x * inv, v.y * inv, v.z * inv};
    }
    return {0.57735f, 0.57735f, 0.57735f};
}

inline float MP_sqrt(float x) { return std::sqrt(x); }
inline float MP_exp(float x) { return std::exp(x); }
inline float MP_log(float x) { return std::log(x); }
inline float MP_log10(float x) { return std::log10(x); }
inline float MP_pow(float base, float power) { return std::pow(base, power); }
inline float MP_floor(float x) { return std::floor(x); }
inline float MP_ceil(float x) { return std::ceil(x); }
inline float MP_sin(float x) { return std::sin(x); }
inline float MP_cos(float x) { return std::cos(x); }
inline float MP_tan(float x) { return std::tan(x); }
inline float MP_atan(float x) { return std::atan(x); }
inline float MP_asin(float x) { return std::asin(x); }
inline float MP_acos(float x) { return std::acos(x); }
inline float MP_tanh(float x) { return std::tanh(x); }
inline float MP_cosh(float x) { return std::cosh(x); }
inline float MP_sinh(float x) { return std::sinh(x); }
inline float MP_log2(float x) { return MP_log(x) / MP_log(2.0f); }
inline float MP_logb(float x, float base) { return MP_log(x) / MP_log(base); }

// Float to int by truncation, with NaN and out-of-range values clamped first:
// the one conversion for values that come from files, sliders or divisions.
inline int MP_safeTrunc(float x, int lo, int hi)
{
    if (!(x == x))
        return lo;
    if (x <= static_cast<float>(lo))
        return lo;
    if (x >= static_cast<float>(hi))
        return hi;
    return static_cast<int>(x);
}

namespace mp_detail {
// Element index of (x, y) for the nearest-element fetches; false when the
// buffer has no element.
inline bool texelIndex(float x, float y, float width, float height, size_t* index)
{
    const int w = MP_safeTrunc(width, 0, 0x7FFFFFFF);
    const int h = MP_safeTrunc(height, 0, 0x7FFFFFFF);
    if (w <= 0 || h <= 0)
        return false;
    const int ix = MP_safeTrunc(x, 0, w - 1);
    const int iy = MP_safeTrunc(y, 0, h - 1);
    *index = static_cast<size_t>(iy) * static_cast<size_t>(w) + static_cast<size_t>(ix);
    return true;
}
} // namespace mp_detail

// Nearest-texel fetch from a buffer of three floats per texel, rows of
// int(width) texels. The coordinates are truncated and held inside the buffer
// (a negative one becomes 0 before the upper bound applies). An empty or
// missing buffer gives zeros.
inline MP_float3 MP_tex2D(const float* texels, float x, float y, float width, float height)
{
    size_t i = 0;
    if (!texels || !mp_detail::texelIndex(x, y, width, height, &i))
        return {0.0f, 0.0f, 0.0f};
    const float* t = texels + i * 3;
    return {t[0], t[1], t[2]};
}

// The same addressing on a buffer of one float per element.
inline float MP_val2D(const float* values, float x, float y, float width, float height)
{
    size_t i = 0;
    if (!values || !mp_detail::texelIndex(x, y, width, height, &i))
        return 0.0f;
    return values[i];
}
