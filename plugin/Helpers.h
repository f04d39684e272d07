#pragma once
// Small helpers of the plug-in: argument checks, arithmetic, sample mapping,
// rectangles, bounded C strings and path texts.

#include "plugin/DataGlobal.h"

#include <cstdarg>
#include <string>

namespace _hlp {

// Throws the plug-in's missing-argument error.
[[noreturn]] void ThrowParamMissed();

template <typename T>
inline T* NotNull(T* pointer)
{
    if (pointer == nullptr)
        ThrowParamMissed();
    return pointer;
}

inline void Require(bool condition)
{
    if (!condition)
        ThrowParamMissed();
}

template <typename T>
inline T MathMin(T a, T b) { return b < a ? b : a; }

template <typename T>
inline T MathMax(T a, T b) { return a < b ? b : a; }

template <typename T>
inline T MathClamp(T x, T lo, T hi)
{
    if (x < lo)
        return lo;
    if (x > hi)
        return hi;
    return x;
}

// 8-bit sample to the full 16-bit range: v * 257.
inline unsigned short MapTo16Bit(unsigned char v)
{
    return static_cast<unsigned short>(v * 257u);
}

// 0..1 to 0..65535 in single precision, truncated; out-of-range values clamp
// (a NaN becomes 0).
inline unsigned short MapTo16Bit(float x)
{
    const float clamped = x >= 0.0f ? MathClamp(x, 0.0f, 1.0f) : 0.0f;
    const float scaled = 65535.0f * clamped;
    return static_cast<unsigned short>(scaled);
}

inline unsigned short EndianSwap(unsigned short v)
{
    return static_cast<unsigned short>((v >> 8) | (v << 8));
}

template <typename T>
inline void MiscFill(T* target, unsigned count, T value)
{
    NotNull(target);
    for (unsigned i = 0; i < count; ++i)
        target[i] = value;
}

// Note the argument order: left, right, top, bottom.
inline void SetRect(VRect& r, int32 left, int32 right, int32 top, int32 bottom)
{
    r.left = left;
    r.right = right;
    r.top = top;
    r.bottom = bottom;
}

inline void CopyRect(VRect& target, const VRect& source)
{
    target = source;
}

// Bounded text: at most size - 1 characters, always NUL-terminated.
void StrPrintF(char* buffer, unsigned size, const char* format, ...) __attribute__((format(printf, 3, 4)));
void StrPrintFV(char* buffer, unsigned size, const char* format, va_list args);
void StrCopy(char* target, unsigned size, const char* source);
unsigned StrGetLen(const char* text);

// Path texts.
bool HasSeparator(const std::string& path);
std::string AddSeparator(const std::string& path);
std::string RemoveSeparator(const std::string& path);
std::string CreatePath(const std::string& folder, const std::string& name);
bool CharIsLegal(char c);
std::string RemoveIllegalChars(const std::string& text);

} // namespace _hlp
