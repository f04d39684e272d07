#pragma once
// Argument checks shared by the zooms and the views: every size and window
// coordinate arrives as a float and becomes an int or an index, so each is
// checked before any pixel is touched.

#include <cmath>
#include <cstdint>

namespace mp_views {

// Largest size or coordinate accepted (2^24 pixels): far beyond any image the
// engine holds, small enough that every derived position fits an int.
constexpr float kMaxExtent = 16777216.0f;

inline bool inRange(float v) { return std::isfinite(v) && v >= -kMaxExtent && v <= kMaxExtent; }

// The window and sizes of one zoom or view call, converted once.
struct Window {
    int dstW = 0, dstH = 0, dstStride = 0; // target pixels and row length
    int srcW = 0, srcH = 0;               // source row length and rows
    float stepX = 0.0f, stepY = 0.0f;     // source pixels per target pixel
};

// True when the floats describe something that can be drawn: every value
// finite and in range, at least one target pixel, a target row length of at
// least one row and a source of at least one pixel.
inline bool checkWindow(float dstW, float dstH, float dstStride, float srcW, float srcH, float x0, float y0,
                        float x1, float y1, Window& w)
{
    const float all[] = {dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1};
    for (float v : all)
        if (!inRange(v))
            return false;
    if (dstW <= 0.0f || dstH <= 0.0f)
        return false;
    w.dstW = static_cast<int>(dstW);
    w.dstH = static_cast<int>(dstH);
    w.dstStride = static_cast<int>(dstStride);
    w.srcW = static_cast<int>(srcW);
    w.srcH = static_cast<int>(srcH);
    if (w.dstW < 1 || w.dstH < 1 || w.dstStride < w.dstW || w.srcW < 1 || w.srcH < 1)
        return false;
    w.stepX = (x1 - x0) / dstW;
    w.stepY = (y1 - y0) / dstH;
    return true;
}

} // namespace mp_views
