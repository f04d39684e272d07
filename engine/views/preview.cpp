#include "engine/views/preview.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/settings.h"
#include "engine/views/viewargs.h"

#include <climits>
#include <cmath>
#include <memory>
#include <new>

using mp_views::Window;

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

inline uint32_t argb(int r, int g, int b)
{
    return kOpaque | (static_cast<uint32_t>(r & 255) << 16) | (static_cast<uint32_t>(g & 255) << 8) |
           static_cast<uint32_t>(b & 255);
}

inline int clampIndex(int v, int n) { return v < 0 ? 0 : (v >= n ? n - 1 : v); }

// Nearest-sample walk over the target: calls pixel(out, sourceIndex) for each
// target pixel, the source index counted in pixels (row * srcStride + column).
template <typename PixelFn>
void sampleWindow(uint32_t* dst, const Window& w, float x0, float y0, PixelFn&& pixel)
{
    const int64_t xStart = static_cast<int64_t>(x0 * 16384.0f);
    const int64_t xStep = static_cast<int64_t>(w.stepX * 16384.0f);
    for (int r = 0; r < w.dstH; ++r) {
        const int sy = clampIndex(static_cast<int>(static_cast<float>(r) * w.stepY + y0), w.srcH);
        const size_t rowBase = static_cast<size_t>(sy) * static_cast<size_t>(w.srcW);
        uint32_t* out = dst + static_cast<size_t>(w.dstStride) * r;
        int64_t xfix = xStart;
        for (int c = 0; c < w.dstW; ++c, xfix += xStep) {
            int64_t sx = xfix >> 14;
            sx = sx < 0 ? 0 : (sx >= w.srcW ? w.srcW - 1 : sx);
            out[c] = pixel(rowBase + static_cast<size_t>(sx));
        }
    }
}

inline uint32_t plainPixel(const uint16_t* p) { return argb(p[0] >> 8, p[1] >> 8, p[2] >> 8); }

// Clipping highlight of the limit-pixel mode.
inline uint32_t limitPixel(const uint16_t* p)
{
    const int s = p[0] + 2 * p[1] + p[2];
    const int L = s >> 2;
    if (L > 57343)
        return argb(255, (255 - (s >> 7)) & 255, 0);
    if (L > 8191) {
        const int g = s >> 10;
        return argb(g, g, g);
    }
    return argb(s >> 7, 0, 255);
}

// The gamma table of the colour view: T[i] = (int)(powf(i / 65535, g) * 65535).
std::unique_ptr<int[]> gammaTable()
{
    std::unique_ptr<int[]> t(new (std::nothrow) int[65536]);
    if (!t)
        return t;
    const float g = MP_UI_GetHDRGammaValue();
    t[0] = static_cast<int>(std::pow(0.0f, g) * 65535.0f);
    for (int i = 1; i < 65536; ++i)
        t[i] = static_cast<int>(std::pow(static_cast<float>(i) / 65535.0f, g) * 65535.0f);
    return t;
}

inline uint32_t gammaPixel(const uint16_t* p, const int* t)
{
    return argb((t[p[0]] >> 8) & 255, (t[p[1]] >> 8) & 255, (t[p[2]] >> 8) & 255);
}

} // namespace

void MP_UI_previewColor(const uint16_t* src, uint32_t* dst, int gamma, float dstW, float dstH, float dstStride,
                        float srcStride, float srcH, float x0, float y0, float x1, float y1)
{
    Window w;
    if (!src || !dst || !mp_views::checkWindow(dstW, dstH, dstStride, srcStride, srcH, x0, y0, x1, y1, w))
        return;
    if (MP_UI_GetLimitPixelMode()) {
        sampleWindow(dst, w, x0, y0, [src](size_t i) { return limitPixel(src + i * 3); });
    } else if (gamma) {
        const std::unique_ptr<int[]> table = gammaTable();
        if (!table)
            return;
        const int* t = table.get();
        sampleWindow(dst, w, x0, y0, [src, t](size_t i) { return gammaPixel(src + i * 3, t); });
    } else {
        sampleWindow(dst, w, x0, y0, [src](size_t i) { return plainPixel(src + i * 3); });
    }
}

void MP_UI_previewColorSimple(const uint16_t* src, uint32_t* dst, float dstW, float dstH, float dstStride,
                              float srcStride, float srcH, float x0, float y0, float x1, float y1)
{
    Window w;
    if (!src || !dst || !mp_views::checkWindow(dstW, dstH, dstStride, srcStride, srcH, x0, y0, x1, y1, w))
        return;
    sampleWindow(dst, w, x0, y0, [src](size_t i) { return plainPixel(src + i * 3); });
}

void MP_UI_previewWeightmap(const uint16_t* weightAuto, const int16_t* weightManual, uint32_t* dst, float dstW,
                            float dstH, float dstStride, float srcStride, float srcH, float x0, float y0, float x1,
                            float y1)
{
    Window w;
    if (!weightAuto || !weightManual || !dst ||
        !mp_views::checkWindow(dstW, dstH, dstStride, srcStride, srcH, x0, y0, x1, y1, w))
        return;
    sampleWindow(dst, w, x0, y0, [weightAuto, weightManual](size_t i) {
        const int v = (static_cast<int>(weightAuto[i]) + 2 * static_cast<int>(weightManual[i])) >> 8;
        if (v < 0)
            return kOpaque;
        if (v > 255)
            return 0xFFFFFFFFu;
        return argb(v, v, v);
    });
}

void MP_UI_previewWeightmapFusion(float dstW, float dstH, float dstStride, float srcW, float srcH,
                                  const uint16_t* image, float x0, float y0, float x1, float y1, float amount,
                                  const uint16_t* auto1, const uint16_t* auto2, const uint16_t* auto3,
                                  const int16_t* manual1, const int16_t* manual2, const int16_t* manual3,
                                  uint32_t* dst, int gamma)
{
    Window w;
    if (!image || !dst || !mp_views::checkWindow(dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, w))
        return;
    std::unique_ptr<int[]> table;
    if (gamma) {
        table = gammaTable();
        if (!table)
            return;
    }
    const int A = MP_safeTrunc(MP_clamp(amount, 0.0f, 1.0f) * 255.0f, 0, 255);
    const uint16_t* autos[3] = {auto1, auto2, auto3};
    const int16_t* manuals[3] = {manual1, manual2, manual3};
    bool present[3];
    for (int k = 0; k < 3; ++k)
        present[k] = autos[k] && manuals[k];
    const int* t = table.get();
    sampleWindow(dst, w, x0, y0, [&](size_t i) {
        const uint16_t* p = image + i * 3;
        int ch[3];
        for (int k = 0; k < 3; ++k) {
            int v = t ? (t[p[k]] >> 8) & 255 : p[k] >> 8;
            if (present[k]) {
                int wk = static_cast<int>(autos[k][i]) + 2 * static_cast<int>(manuals[k][i]);
                wk = wk < 0 ? 0 : (wk > 65535 ? 65535 : wk);
                v = ((255 - A) * v + A * (wk >> 8)) / 255;
            }
            ch[k] = v;
        }
        return argb(ch[0], ch[1], ch[2]);
    });
}

void MP_UI_previewPixelGrid(int outW, int outH, int cellsX, int cellsY, const uint32_t* cells, uint32_t* out)
{
    if (!cells || !out || cellsX <= 0 || cellsY <= 0 || outW <= 0 || outH <= 0)
        return;
    const int cellW = outW / cellsX;
    const int cellH = outH / cellsY;
    const int centreX = cellsX >> 1;
    const int centreY = cellsY >> 1;
    for (int cy = 0; cy < cellsY; ++cy) {
        for (int cx = 0; cx < cellsX; ++cx) {
            const uint32_t colour = cells[cy * cellsX + cx] | 0xFF000000u;
            const uint32_t frame = (cx == centreX && cy == centreY) ? 0xFFFFFFFFu : 0xFF2E2E2Eu;
            for (int j = 0; j < cellH; ++j) {
                const int y = cy * cellH + j;
                uint32_t* row = out + static_cast<size_t>(y) * outW;
                for (int i = 0; i < cellW; ++i) {
                    const int x = cx * cellW + i;
                    if (i > 0 && i < cellW - 1 && j > 0 && j < cellH - 1)
                        row[x] = colour;
                    else if (x == 0 || y == 0 || x == outW - 1 || y == outH - 1)
                        row[x] = 0xFFFFFFFFu;
                    else
                        row[x] = frame;
                }
            }
        }
    }
}

void MP_UI_calcPreviewResolution(float* outW, float* outH, float* factor, float w, float h, float megapixels)
{
    float f = 1.0f;
    MP_UI_calcPreviewResolutionSize(outW, outH, &f, w, h, megapixels);
    if (factor)
        *factor = f;
    MP_UI_SetPreviewScalingFactor(f);
}

void MP_UI_calcPreviewResolutionSize(float* outW, float* outH, float* factor, float w, float h, float megapixels)
{
    const float limit = megapixels * 1000000.0f;
    float pw = w;
    float ph = h;
    float f = 1.0f;
    const bool valid = std::isfinite(w) && std::isfinite(h) && w > 0.0f && h > 0.0f;
    if (valid && w * h > limit) {
        float s = 0.999f;
        for (int i = 0; i < 980; ++i) {
            pw = w * s;
            ph = h * s;
            if (pw * ph <= limit)
                break;
            s = s - 0.001f;
        }
        f = pw / w;
    }
    if (outW)
        *outW = static_cast<float>(MP_safeTrunc(pw, 0, INT_MAX));
    if (outH)
        *outH = static_cast<float>(MP_safeTrunc(ph, 0, INT_MAX));
    if (factor)
        *factor = f;
}

float MP_UI_GetPreviewScalingFactorFromResolution(int w1, int h1, int w2, int h2)
{
    const float m1 = MP_max(static_cast<float>(w1), static_cast<float>(h1));
    const float m2 = MP_max(static_cast<float>(w2), static_cast<float>(h2));
    if (!(m1 > 0.0f))
        return 1.0f;
    return m2 / m1;
}
