#pragma once
// Pictures for the exposure-series tests: a procedural scene (sums of sines
// with unrelated frequencies, so no shift of a few dozen pixels repeats it)
// that can be sampled anywhere, which makes shifted, zoomed, rotated or
// locally displaced exposures exact.

#include "enginefixture.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace series_test {

// Scene luminance 0..1 at a real position.
inline double scene(double x, double y)
{
    double v = std::sin(x * 0.091 + y * 0.023) + 0.8 * std::sin(x * 0.031 - y * 0.077 + 1.3) +
               0.6 * std::sin(x * 0.143 + y * 0.119 + 0.4) + 0.7 * std::sin(y * 0.057 + 2.1) +
               0.5 * std::sin((x - 2.0 * y) * 0.0213 + 0.9);
    return 0.5 + v / 7.2;
}

// An RGB48 exposure: pixel (x, y) shows the scene at where(x, y), scaled by gain.
inline std::vector<uint16_t> picture(int w, int h, const std::function<void(double&, double&)>& where,
                                     double gain = 1.0)
{
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double sx = x, sy = y;
            where(sx, sy);
            double v = scene(sx, sy) * gain * 65535.0;
            v = v < 0.0 ? 0.0 : (v > 65535.0 ? 65535.0 : v);
            uint16_t* p = &img[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint16_t>(v);
            p[1] = static_cast<uint16_t>(v * 0.9);
            p[2] = static_cast<uint16_t>(v * 0.8);
        }
    }
    return img;
}

inline std::vector<uint16_t> master(int w, int h)
{
    return picture(w, h, [](double&, double&) {});
}

// The smoothed four-level bitmap of an image, as the series builds the reference.
inline std::vector<uint8_t> referenceOf(const std::vector<uint16_t>& img, int w, int h)
{
    std::vector<uint8_t> bm(static_cast<size_t>(w) * h), scratch(bm.size());
    MP_convertToMTB(img.data(), bm.data(), w, h, nullptr, nullptr, nullptr);
    MP_smoothMTB(2, w, h, bm.data(), scratch.data());
    return bm;
}

// Mean absolute difference of the first channel over a window.
inline double meanDiff(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b, int w, int x0, int y0, int x1,
                       int y1)
{
    double s = 0.0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n)
            s += std::abs(static_cast<int>(a[(static_cast<size_t>(y) * w + x) * 3]) -
                          static_cast<int>(b[(static_cast<size_t>(y) * w + x) * 3]));
    return n ? s / n : 0.0;
}

} // namespace series_test
