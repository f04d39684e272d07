#include "engine/draw/painters.h"

#include "engine/core/mathfuncs.h"
#include "engine/draw/primitives.h"
#include "engine/draw/services.h"

#include <climits>

float MP_UI_paintColorTemperatur(uint32_t* argb, int width, int height, int pitch, float low, float high,
                                 float position)
{
    if (!argb)
        return -2.0f;
    const int m = MP_safeTrunc(static_cast<float>(width) * position, -8, width - 1);
    for (int i = 0; i < width; ++i) {
        const float t = low + static_cast<float>(i) / static_cast<float>(width) * (high - low);
        float c[3];
        MP_UI_GetRGBFromTemperatur(&c[0], &c[1], &c[2], t);
        for (float& v : c) {
            if (i == m)
                v = 1.0f - v;
            else if (i == m - 1 || i == m - 2)
                v = (v + 0.7f) / 2.0f;
            else if (i == m + 1 || i == m + 2)
                v = (v + 0.3f) / 2.0f;
        }
        const uint32_t colour = 0xFF000000u | (static_cast<uint32_t>(static_cast<int>(c[0] * 255.0f) & 255) << 16) |
                                (static_cast<uint32_t>(static_cast<int>(c[1] * 255.0f) & 255) << 8) |
                                static_cast<uint32_t>(static_cast<int>(c[2] * 255.0f) & 255);
        for (int r = 0; r < height; ++r)
            argb[static_cast<size_t>(r) * pitch + i] = colour;
    }
    return low + (high - low) * position;
}

int MP_UI_paintGradationsSpline(uint16_t* buf, int width, int height, int pitch, const float* knots)
{
    if (!buf || !knots)
        return -2;
    if (width <= 0 || height <= 0)
        return 0;
    MP_UI_paintGrid(buf, width, height, pitch, 5);
    const float* k = knots;
    for (int i = 0; i < width; ++i) {
        const float y = MP_cubicSpline(0, static_cast<float>(i) / static_cast<float>(width), k[0], k[2], k[4], k[6],
                                       k[8], k[10], k[1], k[3], k[5], k[7], k[9], k[11]);
        const int e = MP_iclamp(height - MP_safeTrunc(y * static_cast<float>(height), -height - 2, 2 * height + 2), 0,
                                height - 1);
        int r = 52000, g = 52000, b = 52000;
        if (y < 0.0f) {
            r = 16000;
            g = 16000;
        } else if (y > 1.0f) {
            g = 22000;
            b = 16000;
        }
        for (int d = -1; d <= 1; ++d)
            MP_paintPixel(i, MP_iclamp(e + d, 0, height - 1), width, height, pitch, buf, r, g, b);
    }
    for (int n = 0; n < 6; ++n) {
        const int px = MP_safeTrunc(static_cast<float>(width) * k[2 * n], INT_MIN / 2, INT_MAX / 2);
        const int py = height - MP_safeTrunc(static_cast<float>(height) * k[2 * n + 1], INT_MIN / 2, INT_MAX / 2);
        MP_paintPoint(px, py, width, height, pitch, 4, buf);
    }
    return 0;
}
