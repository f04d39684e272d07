#include "engine/core/samplers.h"

using namespace mp_sampler_detail;

namespace {

// Shared loop of the two row samplers: the row pair and its weight are found
// once, x steps by dx per output pixel. With clip, pixels whose truncated x
// lies outside [0, w) (or whose x is NaN) are skipped.
template <bool clip>
void alignRow(int w, int h, const uint16_t* img, uint16_t* outRow, float x0, float dx, float y)
{
    if (!usable(w, h, img) || !outRow)
        return;
    const Axis ay = alignAxis(y, h);
    float x = x0;
    uint16_t* out = outRow;
    for (int i = 0; i < w; ++i, x += dx, out += 3) {
        if (clip && !(x > -1.0f && x < static_cast<float>(w)))
            continue;
        const Taps t = taps(w, img, alignAxis(x, w), ay);
        out[0] = static_cast<uint16_t>(value(t, 0));
        out[1] = static_cast<uint16_t>(value(t, 1));
        out[2] = static_cast<uint16_t>(value(t, 2));
    }
}

float addVar(int r, int g, int b, float mean)
{
    const float d = (static_cast<float>(r) * MP_k + static_cast<float>(g) * MP_k + static_cast<float>(b) * MP_k) * 0.3333f - mean;
    return d * d;
}

} // namespace

void MP_line2D16intAlignToUShort(int w, int h, const uint16_t* img, uint16_t* outRow, float x0, float dx, float y)
{
    alignRow<false>(w, h, img, outRow, x0, dx, y);
}

void MP_lineclip2D16intAlignToUShort(int w, int h, const uint16_t* img, uint16_t* outRow, float x0, float dx,
                                     float y)
{
    alignRow<true>(w, h, img, outRow, x0, dx, y);
}

int MP_tex2D16intGreenToInt(int w, int h, const uint16_t* img, float x, float y)
{
    if (!usable(w, h, img))
        return 0;
    return pixel(w, img, MP_safeTrunc(x, 0, w - 1), MP_safeTrunc(y, 0, h - 1))[1];
}

MP_float3 MP_tex2D16intClip(int x, int y, int w, int h, const uint16_t* img)
{
    if (!usable(w, h, img))
        return {0.0f, 0.0f, 0.0f};
    const uint16_t* p = pixel(w, img, MP_iclamp(x, 0, w - 1), MP_iclamp(y, 0, h - 1));
    return {static_cast<float>(p[0]) * MP_k, static_cast<float>(p[1]) * MP_k, static_cast<float>(p[2]) * MP_k};
}

float MP_tex2D16intBilinearAddVar(int w, int h, const uint16_t* img, float mean, float x, float y)
{
    int r = 0, g = 0, b = 0;
    MP_tex2D16intBilinearToInt(w, h, img, &r, &g, &b, x, y);
    return addVar(r, g, b, mean);
}

float MP_tex2D16intClipAddVar(int x, int y, int w, int h, const uint16_t* img, float mean)
{
    if (!usable(w, h, img))
        return addVar(0, 0, 0, mean);
    const uint16_t* p = pixel(w, img, MP_iclamp(x, 0, w - 1), MP_iclamp(y, 0, h - 1));
    return addVar(p[0], p[1], p[2], mean);
}
