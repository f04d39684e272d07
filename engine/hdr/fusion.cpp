#include "engine/hdr/fusion.h"

#include "engine/core/progress.h"
#include "engine/core/settings.h"

#include <FreeImage.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Per-slot weights come out in 13-bit fixed point (8192 = 1.0): the weight sum
// is inverted as 2^30 / sum and both factors are halved before the product so
// that it stays inside 32 bits.
constexpr int kMinSlotWeight = 32;
constexpr int kInverseOne = 1 << 30;
constexpr float kFloatScale = 1.0f / 536870912.0f; // 2^-29: accumulator to 0..1

// The slot's raw weight at one pixel: automatic + 2 * manual, raised to 32.
inline int slotWeight(uint16_t automatic, int16_t manual)
{
    const int w = static_cast<int>(automatic) + 2 * static_cast<int>(manual);
    return w < kMinSlotWeight ? kMinSlotWeight : w;
}

// The 13-bit weight of a slot with raw weight w_s in a pixel whose weights sum
// to `sum` (sum > 0).
inline int fixedWeight(int ws, int sum)
{
    const int inv = kInverseOne / sum;
    return ((inv >> 1) * (ws >> 1)) >> 15;
}

void post(int category, float fraction)
{
    if (category >= 0)
        C_AddMessage(category, fraction);
}

// The float bitmap the float forms write: FIT_RGBF of the descriptor's size.
FIRGBF* scanLine(FIBITMAP* bitmap, int height, int row)
{
    return reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(bitmap, height - 1 - row));
}

bool bitmapFits(const MP_FusionParams* desc)
{
    FIBITMAP* b = desc->fibitmap;
    return b && FreeImage_HasPixels(b) && FreeImage_GetImageType(b) == FIT_RGBF &&
           FreeImage_GetWidth(b) == static_cast<unsigned>(desc->width) &&
           FreeImage_GetHeight(b) == static_cast<unsigned>(desc->height);
}

// Fuses one row into three floats per pixel of `out`. `lightmap` selects the
// float accumulation of the light map (later slots count less).
void fuseRowFloat(const MP_FusionParams* desc, int slots, int y, bool lightmap, FIRGBF* out)
{
    const int w = desc->width;
    const size_t row = static_cast<size_t>(y) * static_cast<size_t>(w);
    for (int x = 0; x < w; ++x) {
        float r = 0.0f, g = 0.0f, b = 0.0f;
        if (slots > 0) {
            const int ws = slotWeight(desc->weight_auto[row + x], desc->weight_manual[row + x]);
            const int weight = fixedWeight(ws, ws);
            const uint16_t* px = desc->image + (row + x) * 3;
            if (lightmap) {
                // Slot j = 0 of S = 1: the factor (S - j) / S is 1.
                const float f = static_cast<float>(slots - 0) / static_cast<float>(slots);
                r = static_cast<float>(weight * px[0]) * kFloatScale * f;
                g = static_cast<float>(weight * px[1]) * kFloatScale * f;
                b = static_cast<float>(weight * px[2]) * kFloatScale * f;
            } else {
                r = static_cast<float>(weight * px[0]) * kFloatScale;
                g = static_cast<float>(weight * px[1]) * kFloatScale;
                b = static_cast<float>(weight * px[2]) * kFloatScale;
            }
        }
        out[x].red = r;
        out[x].green = g;
        out[x].blue = b;
    }
}

void fuseToBitmap(MP_FusionParams* desc, int rowStart, int rowEnd, int category, bool lightmap)
{
    if (!desc)
        return;
    const float gamma = MP_UI_GetHDRGammaValue();
    if (!desc->fibitmap || !bitmapFits(desc))
        return;
    int start = rowStart, end = rowEnd;
    if (!MP_fusionClampRows(desc, start, end))
        return;
    const int slots = MP_fusionSlotCount(desc);
    const int h = desc->height;
    const int w = desc->width;

    float lo = 100000.0f;
    float hi = 0.0f;
    for (int y = start; y < end; ++y) {
        if (y % 128 == 0)
            post(category, static_cast<float>(y) / static_cast<float>(h) * 0.4f);
        FIRGBF* line = scanLine(desc->fibitmap, h, y);
        fuseRowFloat(desc, slots, y, lightmap, line);
        for (int x = 0; x < w; ++x) {
            const float v[3] = {line[x].red, line[x].green, line[x].blue};
            for (float c : v) {
                if (c < lo)
                    lo = c;
                if (c > hi)
                    hi = c;
            }
        }
    }

    // A flat result (every value equal) has no range to stretch: it stores 0
    // instead of the non-finite quotient.
    const float scale = 1.0f / (hi - lo);
    const bool flat = !(hi - lo > 0.0f) || !std::isfinite(scale);
    post(category, 0.25f);

    for (int y = start; y < end; ++y) {
        if (y % 128 == 0)
            post(category, static_cast<float>(y) / static_cast<float>(h) * 0.4f + 0.4f);
        FIRGBF* line = scanLine(desc->fibitmap, h, y);
        for (int x = 0; x < w; ++x) {
            if (flat) {
                line[x].red = line[x].green = line[x].blue = 0.0f;
                continue;
            }
            line[x].red = std::pow((line[x].red - lo) * scale, gamma);
            line[x].green = std::pow((line[x].green - lo) * scale, gamma);
            line[x].blue = std::pow((line[x].blue - lo) * scale, gamma);
        }
    }
    post(category, 0.8f);
}

} // namespace

bool MP_fusionClampRows(const MP_FusionParams* desc, int& start, int& end)
{
    if (desc->width <= 0 || desc->height <= 0)
        return false;
    if (start < 0)
        start = 0;
    if (end > desc->height)
        end = desc->height;
    return start < end;
}

int MP_fusionSlotCount(const MP_FusionParams* desc)
{
    return desc && desc->image && desc->weight_auto && desc->weight_manual ? 1 : 0;
}

void MP_UI_calcHDRfusion(MP_FusionParams* desc, int rowStart, int rowEnd)
{
    if (!desc || !desc->output)
        return;
    int start = rowStart, end = rowEnd;
    if (!MP_fusionClampRows(desc, start, end))
        return;
    const int slots = MP_fusionSlotCount(desc);
    const size_t w = static_cast<size_t>(desc->width);
    if (slots == 0) {
        // No slot contributes: the weight sum is 0 and the rows are black.
        std::memset(desc->output + static_cast<size_t>(start) * w * 3, 0,
                    static_cast<size_t>(end - start) * w * 3 * sizeof(uint16_t));
        return;
    }
    // With the single slot the 13-bit weight depends on the raw weight alone,
    // and neighbouring pixels mostly share it (the automatic map is constant,
    // painted strokes are wide): the division runs only where it changes.
    int lastRaw = -1;
    int weight = 0;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        const uint16_t* wa = desc->weight_auto + row;
        const int16_t* wm = desc->weight_manual + row;
        const uint16_t* px = desc->image + row * 3;
        uint16_t* out = desc->output + row * 3;
        for (size_t x = 0; x < w; ++x, px += 3, out += 3) {
            const int ws = slotWeight(wa[x], wm[x]);
            if (ws != lastRaw) {
                lastRaw = ws;
                weight = fixedWeight(ws, ws);
            }
            for (int c = 0; c < 3; ++c) {
                // weight <= 8192, so weight * 65535 fits 32 bits and is never negative.
                const int v = (weight * px[c]) >> 13;
                out[c] = static_cast<uint16_t>(v > 65535 ? 65535 : v);
            }
        }
    }
}

void MP_UI_calcHDRfusionf32toFiBitmap(MP_FusionParams* desc, int rowStart, int rowEnd, int category)
{
    fuseToBitmap(desc, rowStart, rowEnd, category, false);
}

void MP_UI_calcHDRfusionf32toLightmap(MP_FusionParams* desc, int rowStart, int rowEnd, int category)
{
    fuseToBitmap(desc, rowStart, rowEnd, category, true);
}

void MP_UI_normalizeWeightmaps(MP_FusionParams*, int, int, int) {}
