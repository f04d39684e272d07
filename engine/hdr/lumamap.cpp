#include "engine/hdr/lumamap.h"

#include "engine/core/mathfuncs.h"

#include <cmath>

float EVmax = 0.0f;
float EVmin = 0.0f;
float EVmin2 = 0.0f;

namespace {

constexpr float kAnchors[6][3] = {
    {1.0f, 0.0f, 1.0f}, // magenta
    {0.0f, 0.0f, 1.0f}, // blue
    {0.0f, 1.0f, 1.0f}, // cyan
    {0.0f, 1.0f, 0.0f}, // green
    {1.0f, 1.0f, 0.0f}, // yellow
    {1.0f, 0.0f, 0.0f}, // red
};

} // namespace

void MP_HDRLuminancePaletteEntry(int i, uint16_t rgb[3])
{
    const float t = static_cast<float>(MP_iclamp(i, 0, 255)) * (1.0f / 256.0f) * 5.0f;
    const int k = static_cast<int>(std::floor(t));
    const float f = t - static_cast<float>(k);
    for (int c = 0; c < 3; ++c)
        rgb[c] = static_cast<uint16_t>(static_cast<int>(((1.0f - f) * kAnchors[k][c] + f * kAnchors[k + 1][c]) * 65535.0f));
}

void MP_UI_calcHDRLuminanceMap(MP_FusionParams* desc, int rowStart, int rowEnd)
{
    if (!desc || !desc->output)
        return;
    int start = rowStart, end = rowEnd;
    if (!MP_fusionClampRows(desc, start, end))
        return;
    uint16_t palette[256][3];
    for (int i = 0; i < 256; ++i)
        MP_HDRLuminancePaletteEntry(i, palette[i]);
    const int slots = desc->image ? 1 : 0;
    const size_t w = static_cast<size_t>(desc->width);
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * w * 3;
        uint16_t* out = desc->output + row;
        for (size_t x = 0; x < w; ++x) {
            int index = 0;
            if (slots == 1) {
                const uint16_t* px = desc->image + row + x * 3;
                const int a = (px[0] + px[1] + px[2]) / 3;
                index = MP_iclamp(((a >> 8) * (65536 / slots)) >> 16, 0, 255);
            }
            out[x * 3] = palette[index][0];
            out[x * 3 + 1] = palette[index][1];
            out[x * 3 + 2] = palette[index][2];
        }
    }
}

double MP_UI_calcHDRDynamik(MP_FusionParams* desc, float* low, float* high)
{
    float n = 1.0f;
    if (desc && desc->weight_auto && desc->weight_manual)
        n = static_cast<float>((desc->image ? 1 : 0) + 1);
    const double span = static_cast<double>(EVmax) - static_cast<double>(EVmin);
    const double d = (static_cast<double>(MP_log2(n)) + 1.5) / span;
    const double e = (static_cast<double>(EVmin2) - static_cast<double>(EVmin)) * d;
    const double lo = std::pow(0.25 * e + 0.75 * (std::exp(e) - 1.0), 1.39);
    const double hi = std::pow(0.75 * (std::exp(span * d) - 1.0) + 0.25 * span * d, 1.39);
    if (low)
        *low = static_cast<float>(lo);
    if (high)
        *high = static_cast<float>(hi);
    return lo > 0.0 ? hi / lo : 1.0;
}

void MP_UI_calcDepthMapFusion(MP_FusionParams* desc, int rowStart, int rowEnd, int invert)
{
    if (!desc || !desc->output || !desc->image || !desc->weight_auto || !desc->weight_manual || !desc->depthmap)
        return;
    int start = rowStart, end = rowEnd;
    if (!MP_fusionClampRows(desc, start, end))
        return;
    // The depth is the index of the slot that weighs most at the pixel; with
    // the single slot it is 0 everywhere.
    const size_t w = static_cast<size_t>(desc->width);
    const uint16_t value = invert ? 65535 : 0;
    for (int y = start; y < end; ++y) {
        uint16_t* out = desc->depthmap + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x)
            out[x] = value;
    }
}
