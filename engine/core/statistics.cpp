#include "engine/core/statistics.h"

#include "engine/core/luminance.h"
#include "engine/core/mathfuncs.h"

#include <climits>
#include <cstddef>

namespace {

// Full scale of a 14-bit luminance: 65535 * 16384.
constexpr float kL14Scale = 1073725440.0f;

struct Weights {
    float r, g, b;
};

Weights currentWeights() { return {MP_LuminanzConv[0], MP_LuminanzConv[1], MP_LuminanzConv[2]}; }

// Image side from its float form; NaN, negative and empty sides become 0.
int side(float v) { return MP_safeTrunc(v, 0, INT_MAX); }

// Fixed-point weight, truncated (the setters keep weights in 0..1).
int64_t fixedWeight(float w, float scale) { return MP_safeTrunc(w * scale, 0, static_cast<int>(scale)); }

inline const uint16_t* pixelAt(const uint16_t* rgb48, int w, int x, int y)
{
    return rgb48 + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
}

// The divisor of the sampled means: (H >> 2) * (W >> 2), or the number of
// samples when a side is below 4 pixels (the product is 0 then).
int64_t sampledDivisor(int w, int h)
{
    const int64_t d = static_cast<int64_t>(h >> 2) * static_cast<int64_t>(w >> 2);
    if (d != 0)
        return d;
    return static_cast<int64_t>((h + 3) / 4) * static_cast<int64_t>((w + 3) / 4);
}

// Smallest and largest 14-bit luminance; a value can become the smallest only
// when it is >= lo and the largest only when it is <= hi. With bandOnly a value
// counts only inside [lo, hi] (the same extremes whenever some value lies in
// the band, and none when no value does).
void minMaxL14(const uint16_t* rgb48, float* min, float* max, int w, int h, int64_t lo, int64_t hi,
               bool bandOnly = false)
{
    const Weights wt = currentWeights();
    const int64_t wr = fixedWeight(wt.r, 16384.0f);
    const int64_t wg = fixedWeight(wt.g, 16384.0f);
    const int64_t wb = fixedWeight(wt.b, 16384.0f);
    int64_t smallest = INT_MAX;
    int64_t largest = 0;
    if (rgb48) {
        for (int y = 0; y < h; ++y) {
            const uint16_t* p = pixelAt(rgb48, w, 0, y);
            for (int x = 0; x < w; ++x, p += 3) {
                const int64_t l = wg * p[1] + wr * p[0] + wb * p[2];
                if (bandOnly && (l < lo || l > hi))
                    continue;
                if (l > largest && l <= hi)
                    largest = l;
                if (l < smallest && l >= lo)
                    smallest = l;
            }
        }
    }
    if (min)
        *min = static_cast<float>(smallest) / kL14Scale;
    if (max)
        *max = static_cast<float>(largest) / kL14Scale;
}

} // namespace

float MP_UI_GetAverageLuminance(const uint16_t* rgb48, float width, float height)
{
    if (!rgb48)
        return 0.0f;
    const int w = side(width);
    const int h = side(height);
    const Weights wt = currentWeights();
    const int64_t wr = fixedWeight(wt.r, 256.0f);
    const int64_t wg = fixedWeight(wt.g, 256.0f);
    const int64_t wb = fixedWeight(wt.b, 256.0f);
    float total = 0.0f;
    for (int y = 0; y < h; y += 4) {
        const uint16_t* row = pixelAt(rgb48, w, 0, y);
        int64_t sum = 0;
        for (int x = 0; x < w; x += 4) {
            const uint16_t* p = row + static_cast<size_t>(x) * 3;
            sum += (wg * p[1] + wr * p[0] + wb * p[2]) >> 8;
        }
        total += static_cast<float>(sum) * (1.0f / 65536.0f);
    }
    const int64_t divisor = sampledDivisor(w, h);
    if (divisor == 0)
        return 0.0f;
    return MP_clamp(total / static_cast<float>(divisor), 0.0f, 1.0f);
}

float MP_UI_GetAverageLuminanceFull(const uint16_t* rgb48, float width, float height)
{
    if (!rgb48)
        return 0.0f;
    const int w = side(width);
    const int h = side(height);
    if (w == 0 || h == 0)
        return 0.0f;
    const Weights wt = currentWeights();
    float sum = 0.0f;
    for (int y = 0; y < h; ++y) {
        const uint16_t* p = pixelAt(rgb48, w, 0, y);
        int x = 0;
        // Groups of four pixels, then a tail of one to four single pixels.
        for (; x < w - 4; x += 4, p += 12) {
            const int r = p[0] + p[3] + p[6] + p[9];
            const int g = p[1] + p[4] + p[7] + p[10];
            const int b = p[2] + p[5] + p[8] + p[11];
            sum += static_cast<float>(r) * wt.r + static_cast<float>(g) * wt.g + static_cast<float>(b) * wt.b;
        }
        for (; x < w; ++x, p += 3)
            sum += static_cast<float>(p[0]) * wt.r + static_cast<float>(p[1]) * wt.g + static_cast<float>(p[2]) * wt.b;
    }
    const float pixels = static_cast<float>(static_cast<int64_t>(w) * h);
    return MP_clamp(sum * (1.0f / 65535.0f) / pixels, 0.0f, 1.0f);
}

void MP_UI_GetMinMaxLuminance(const uint16_t* rgb48, float* min, float* max, float width, float height)
{
    minMaxL14(rgb48, min, max, side(width), side(height), INT64_MIN, INT64_MAX);
}

void MP_UI_GetMinMaxLuminancePercent(const uint16_t* rgb48, float* min, float* max, float band, float width,
                                     float height)
{
    const int lo = MP_safeTrunc(band * 16384.0f * 65535.0f, INT_MIN, INT_MAX);
    const int hi = MP_safeTrunc((1.0f - band) * 16384.0f * 65535.0f, INT_MIN, INT_MAX);
    minMaxL14(rgb48, min, max, side(width), side(height), lo, hi, true);
}

void MP_UI_GetMinMaxLuminanceNoBlack(const uint16_t* rgb48, float* min, float* max, float width, float height)
{
    minMaxL14(rgb48, min, max, side(width), side(height), 1, INT64_MAX);
}

void MP_UI_EstimateMinMaxLuminance(const uint16_t* rgb48, float* min, float* max, float width, float height)
{
    const int w = side(width);
    const int h = side(height);
    int smallest = INT_MAX;
    int largest = 0;
    if (rgb48) {
        for (int y = 0; y < h; ++y) {
            const uint16_t* p = pixelAt(rgb48, w, 0, y);
            for (int x = 0; x < w; ++x, p += 3) {
                const int s = p[0] + p[1] + p[2];
                if (s > largest)
                    largest = s;
                if (s < smallest)
                    smallest = s;
            }
        }
    }
    if (min)
        *min = static_cast<float>(smallest) / 196605.0f;
    if (max)
        *max = static_cast<float>(largest) / 196605.0f;
}

void MP_UI_GetBorderColorFromBuffer(int width, int height, const uint32_t* argb, uint8_t* r, uint8_t* g,
                                    uint8_t* b)
{
    if (!argb || width <= 0 || height <= 0)
        return;
    const int bh = MP_iclamp(height / 25, 0, 10);
    const int bw = MP_iclamp(width / 25, 0, 10);
    int64_t sr = 0, sg = 0, sb = 0, count = 0;
    auto add = [&](int x, int y) {
        const uint32_t c = argb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
        sr += (c >> 16) & 0xFF;
        sg += (c >> 8) & 0xFF;
        sb += c & 0xFF;
        ++count;
    };
    auto addRow = [&](int y) {
        if (y < 0 || y >= height)
            return;
        for (int x = 0; x < width; x += 4)
            add(x, y);
    };
    auto addColumn = [&](int x) {
        if (x < 0 || x >= width)
            return;
        for (int y = 0; y < height; y += 4)
            add(x, y);
    };
    for (int i = 0; i < bh; ++i) {
        addRow(i);
        addRow(height - 1 - i);
    }
    for (int i = 0; i < bw; ++i) {
        addColumn(i);
        addColumn(width - 1 - i);
    }
    if (count == 0)
        return;
    if (r)
        *r = static_cast<uint8_t>(sr / count);
    if (g)
        *g = static_cast<uint8_t>(sg / count);
    if (b)
        *b = static_cast<uint8_t>(sb / count);
}

float MP_dotLum(float r, float g, float b)
{
    return MP_LuminanzConv[0] * r + MP_LuminanzConv[1] * g + MP_LuminanzConv[2] * b;
}

namespace {
template <typename Better>
float extremeFloatLuminance(const float* rgb, float width, float height, float start, Better better)
{
    const Weights wt = currentWeights();
    float best = start;
    if (!rgb)
        return best;
    const size_t n = static_cast<size_t>(side(width)) * static_cast<size_t>(side(height));
    for (size_t i = 0; i < n; ++i) {
        const float* p = rgb + i * 3;
        const float l = wt.r * p[0] + wt.g * p[1] + wt.b * p[2];
        if (better(l, best))
            best = l;
    }
    return best;
}
} // namespace

float MP_GetMinLuminance(const float* rgb, float width, float height)
{
    return extremeFloatLuminance(rgb, width, height, 1e8f, [](float l, float best) { return l < best; });
}

float MP_GetMaxLuminance(const float* rgb, float width, float height)
{
    return extremeFloatLuminance(rgb, width, height, 0.0f, [](float l, float best) { return l > best; });
}

float MP_UI_GetAverageLuminanceDistance(const uint16_t* rgb48, float width, float height, float mean)
{
    if (!rgb48)
        return 0.0f;
    const int w = side(width);
    const int h = side(height);
    const Weights wt = currentWeights();
    float sum = 0.0f;
    for (int y = 0; y < h; y += 4) {
        for (int x = 0; x < w; x += 4) {
            const uint16_t* p = pixelAt(rgb48, w, x, y);
            const float l = (static_cast<float>(p[0]) * wt.r + static_cast<float>(p[1]) * wt.g
                             + static_cast<float>(p[2]) * wt.b)
                / 65535.0f;
            const float d = mean - l;
            sum += d * d;
        }
    }
    const int64_t divisor = sampledDivisor(w, h);
    if (divisor == 0)
        return 0.0f;
    return MP_sqrt(sum / static_cast<float>(divisor));
}
