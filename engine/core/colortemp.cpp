#include "engine/core/colortemp.h"

#include "engine/core/mathfuncs.h"

#include <climits>
#include <cmath>
#include <cstddef>

namespace {

// A channel of the fit in the 0..255 scale to its weight: clipped, normalised
// and squared (the square in double precision). NaN (a negative kelvin) is
// black, as everything below the fit's range is.
float channelWeight(float c)
{
    const float clipped = c == c ? MP_clamp(c, 0.0f, 255.0f) : 0.0f;
    const float n = clipped / 255.0f;
    return static_cast<float>(static_cast<double>(n) * static_cast<double>(n));
}

float squared(float m) { return static_cast<float>(static_cast<double>(m) * static_cast<double>(m)); }

} // namespace

void MP_UI_GetRGBFromTemperatur(float* r, float* g, float* b, float kelvin)
{
    const float t = kelvin;
    const float p = static_cast<float>(std::pow(static_cast<double>(t), -1.5));
    const float l = MP_log(t);
    const float red = t >= 800.0f ? p * 56100000.0f + 148.0f : l * 36.09f - 2204.0f;
    const float green = t > 6500.0f ? p * 35200000.0f + 184.0f : l * 100.04f - 623.6f;
    const float blue = l * 194.18f - 1448.6f;
    if (r)
        *r = channelWeight(red);
    if (g)
        *g = channelWeight(green);
    if (b)
        *b = channelWeight(blue);
}

void MP_GetWhiteValueFromPicture(const uint16_t* rgb48, float* r, float* g, float* b, float width, float height)
{
    const int w = MP_safeTrunc(width, 0, INT_MAX);
    const int h = MP_safeTrunc(height, 0, INT_MAX);
    float total[3] = {0.0f, 0.0f, 0.0f};
    int64_t count = 0;
    if (rgb48) {
        for (int y = 0; y < h; y += 4) {
            const uint16_t* row = rgb48 + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
            int64_t sr = 0, sg = 0, sb = 0;
            for (int x = 0; x < w; x += 4) {
                const uint16_t* px = row + static_cast<size_t>(x) * 3;
                sr += px[0];
                sg += px[1];
                sb += px[2];
                ++count;
            }
            total[0] += static_cast<float>(sr);
            total[1] += static_cast<float>(sg);
            total[2] += static_cast<float>(sb);
        }
    }
    float mean[3] = {1.0f, 1.0f, 1.0f};
    if (count > 0) {
        const float k = 1.0f / 65535.0f;
        for (int c = 0; c < 3; ++c)
            mean[c] = total[c] * k / static_cast<float>(count);
    }
    if (r)
        *r = mean[0];
    if (g)
        *g = mean[1];
    if (b)
        *b = mean[2];
}

void MP_UI_GetWhiteValue(const uint16_t* rgb48, float* r, float* g, float* b, float kelvin, float width,
                         float height)
{
    if (kelvin >= 0.0f) {
        MP_UI_GetRGBFromTemperatur(r, g, b, kelvin);
        return;
    }
    float m[3];
    MP_GetWhiteValueFromPicture(rgb48, &m[0], &m[1], &m[2], width, height);
    if (r)
        *r = squared(m[0]);
    if (g)
        *g = squared(m[1]);
    if (b)
        *b = squared(m[2]);
}
