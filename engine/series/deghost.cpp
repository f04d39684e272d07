#include "engine/series/deghost.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/settings.h"
#include "engine/hdr/fusion.h"
#include "engine/series/brushes.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kBins = 16384;

inline int globalCode(const uint16_t* p) { return (p[0] + 2 * p[1] + p[2]) >> 4; }
inline int localCode(const uint16_t* p) { return (p[0] + 2 * p[1] + p[2]) >> 10; }

// The 45th and 55th percentile of the sampled global codes (defaults 0 and 1).
void globalPercentiles(const uint16_t* img, int w, int h, float* p45, float* p55)
{
    static thread_local uint32_t hist[kBins];
    std::memset(hist, 0, sizeof(hist));
    const int sx = MP_imax(1, w / 400), sy = MP_imax(1, h / 400);
    int64_t a = 0;
    for (int y = 0; y < h; y += sy)
        for (int x = 0; x < w; x += sx, ++a)
            ++hist[globalCode(img + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3)];
    const int64_t A45 = a * 45 / 100, A55 = a * 55 / 100;
    float q45 = 0.0f, q55 = 1.0f;
    int64_t before = 0;
    for (int j = 0; j < kBins - 1; ++j) {
        before += hist[j];
        const int64_t after = before + hist[j + 1];
        if (before < A45 && A45 <= after)
            q45 = static_cast<float>(j) / 16383.0f;
        if (before < A55 && A55 <= after)
            q55 = static_cast<float>(j) / 16383.0f;
    }
    if (p45)
        *p45 = q45;
    if (p55)
        *p55 = q55;
}

} // namespace

void MP_convertToDeGhostMTB(const uint16_t* rgb48, uint8_t* classes, int width, int height, float* p45, float* p55)
{
    if (!rgb48 || !classes || width <= 0 || height <= 0)
        return;
    float q45 = 0.0f, q55 = 1.0f;
    globalPercentiles(rgb48, width, height, &q45, &q55);
    const int lo = static_cast<int>(q45 * 16383.0f), hi = static_cast<int>(16383.0f * q55);
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < n; ++i) {
        const int code = globalCode(rgb48 + i * 3);
        classes[i] = code > hi ? 1 : (code < lo ? 0 : 2);
    }
    if (p45)
        *p45 = q45;
    if (p55)
        *p55 = q55;
}

void MP_convertToDeGhostMTBlocal(const uint16_t* rgb48, uint8_t* classes, int width, int height, float* p45,
                                 float* p55)
{
    if (!rgb48 || !classes || width <= 0 || height <= 0)
        return;
    globalPercentiles(rgb48, width, height, p45, p55);
    const size_t W = static_cast<size_t>(width);
    // The codes once, then a histogram slid along each row: moving right
    // drops the diamond's left rim and adds its new right rim.
    std::unique_ptr<uint8_t[]> codes(new (std::nothrow) uint8_t[W * static_cast<size_t>(height)]);
    if (!codes)
        return;
    for (size_t i = 0; i < W * static_cast<size_t>(height); ++i)
        codes[i] = static_cast<uint8_t>(localCode(rgb48 + i * 3));
    for (int y = 0; y < height; ++y) {
        uint32_t hist[256] = {};
        int t = 0;
        const int dy0 = MP_imax(-7, -y), dy1 = MP_imin(7, height - 1 - y);
        for (int dy = dy0; dy <= dy1; ++dy) {
            const int a = 7 - (dy < 0 ? -dy : dy);
            const uint8_t* row = codes.get() + static_cast<size_t>(y + dy) * W;
            for (int x = 0; x <= MP_imin(a, width - 1); ++x, ++t)
                ++hist[row[x]];
        }
        for (int x = 0; x < width; ++x) {
            if (x > 0) {
                for (int dy = dy0; dy <= dy1; ++dy) {
                    const int a = 7 - (dy < 0 ? -dy : dy);
                    const uint8_t* row = codes.get() + static_cast<size_t>(y + dy) * W;
                    const int out = x - 1 - a, in = x + a;
                    if (out >= 0) {
                        --hist[row[out]];
                        --t;
                    }
                    if (in < width) {
                        ++hist[row[in]];
                        ++t;
                    }
                }
            }
            const int L45 = t * 45 / 100, L55 = t * 55 / 100;
            int m45 = -1, m55 = -1;
            int acc = 0;
            for (int m = 0; m <= 254; ++m) {
                acc += static_cast<int>(hist[m]);
                if (m45 < 0 && acc > L45)
                    m45 = m;
                if (m45 >= 0 && acc > L55) {
                    m55 = m;
                    break;
                }
            }
            float lo = 1.0f, hi = 1.0f;
            if (m45 >= 0) {
                lo = static_cast<float>(m45) / 255.0f;
                if (m55 >= 0)
                    hi = static_cast<float>(m55) / 255.0f;
            }
            const int loT = static_cast<int>(lo * 255.0f), hiT = static_cast<int>(hi * 255.0f);
            const int v = codes[static_cast<size_t>(y) * W + static_cast<size_t>(x)];
            uint8_t c = (v < loT && v > 8) ? 0 : 2;
            if (v > hiT && v <= 247)
                c = 1;
            classes[static_cast<size_t>(y) * W + static_cast<size_t>(x)] = c;
        }
    }
}

int MP_CalcDeGhost(int width, int height, int fullWidth, int fullHeight, const uint16_t* rgb48,
                   const uint8_t* referenceClasses, float strength, int16_t* weightMap, int16_t* fullWeightMap)
{
    if (!rgb48 || !referenceClasses || width <= 0 || height <= 0)
        return 0;
    const size_t W = static_cast<size_t>(width);
    std::unique_ptr<uint8_t[]> cls(new (std::nothrow) uint8_t[W * static_cast<size_t>(height)]);
    if (!cls)
        return -1;
    float p45 = 0.0f, p55 = 1.0f;
    const bool local = MP_UI_GetDeGhostLocalMode() != 0;
    if (local)
        MP_convertToDeGhostMTBlocal(rgb48, cls.get(), width, height, &p45, &p55);
    else
        MP_convertToDeGhostMTB(rgb48, cls.get(), width, height, &p45, &p55);
    const float T = local ? 0.18f : 0.15f;
    if (p45 <= 0.02f || p45 >= 0.98f || p55 <= 0.02f || p55 >= 0.98f)
        return 0;
    // Preview size / full size; from the sizes when the setting is unusable.
    float k = MP_UI_GetPreviewScalingFactor();
    if (!(k > 0.0f) || !std::isfinite(k))
        k = fullWidth > 0 ? static_cast<float>(width) / static_cast<float>(fullWidth) : 1.0f;
    const bool panorama = MP_UI_GetPainterPanoramaMode() == 1;
    int result = 0;
    for (int f = 16; f >= 4; f -= 2) {
        const float r = std::pow(0.0625f * static_cast<float>(f), 0.8f) * 36.0f;
        for (int y0 = 0; y0 < height; y0 += f) {
            const int y1 = MP_imin(y0 + f, height);
            for (int x0 = 0; x0 < width; x0 += f) {
                const int x1 = MP_imin(x0 + f, width);
                int total = 0, undecided = 0, changed = 0;
                for (int y = y0; y < y1; ++y) {
                    const uint8_t* a = cls.get() + static_cast<size_t>(y) * W;
                    const uint8_t* b = referenceClasses + static_cast<size_t>(y) * W;
                    for (int x = x0; x < x1; ++x) {
                        ++total;
                        if (a[x] == 2 || b[x] == 2)
                            ++undecided;
                        else if (a[x] != b[x])
                            ++changed;
                    }
                }
                if (total <= 0)
                    continue;
                const float share = static_cast<float>(changed) / static_cast<float>(total);
                if (!(share > T && static_cast<float>(undecided) / static_cast<float>(total) < 0.67f))
                    continue;
                for (int y = y0; y < y1; ++y)
                    std::memset(cls.get() + static_cast<size_t>(y) * W + x0, 2, static_cast<size_t>(x1 - x0));
                const float q = -strength * std::sqrt(std::sqrt(share));
                const float cx = static_cast<float>(x0 + f / 2), cy = static_cast<float>(y0 + f / 2);
                MP_UI_BrushPaintType(0, width, height, weightMap, cx, cy, r, q);
                if (panorama) {
                    MP_UI_BrushPaintType(0, width, height, weightMap, cx + static_cast<float>(width), cy, r, q);
                    MP_UI_BrushPaintType(0, width, height, weightMap, cx - static_cast<float>(width), cy, r, q);
                }
                const float fx = cx / k, fy = cy / k, fr = r / k;
                MP_UI_BrushPaintType(0, fullWidth, fullHeight, fullWeightMap, fx, fy, fr, q);
                if (panorama) {
                    MP_UI_BrushPaintType(0, fullWidth, fullHeight, fullWeightMap, fx + static_cast<float>(fullWidth), fy, fr, q);
                    MP_UI_BrushPaintType(0, fullWidth, fullHeight, fullWeightMap, fx - static_cast<float>(fullWidth), fy, fr, q);
                }
                result = 1;
            }
        }
    }
    return result;
}

void MP_task_CalcDeGhostSumManualWeights(TaskFuncParams t)
{
    const MP_DeGhostTaskArgs* a = MP_taskArgs<MP_DeGhostTaskArgs>(t);
    if (!a || !a->output || a->width <= 0)
        return;
    const int start = MP_imax(0, MP_taskStart(t)), end = MP_imin(a->height, MP_taskEnd(t));
    const int16_t* manual = a->fusion ? a->fusion->weight_manual : nullptr;
    const size_t W = static_cast<size_t>(a->width);
    for (int y = start; y < end; ++y) {
        uint16_t* out = a->output + static_cast<size_t>(y) * W;
        if (!manual) {
            std::memset(out, 0, W * sizeof(uint16_t));
            continue;
        }
        const int16_t* m = manual + static_cast<size_t>(y) * W;
        for (size_t x = 0; x < W; ++x) {
            // One slot: its negative part halved, minus its non-negative value.
            const int v = m[x];
            int neg = v < 0 ? ((-v) >> 1) : 0;
            neg = MP_imin(neg, 32767);
            const int pos = v >= 0 ? v : 0;
            out[x] = static_cast<uint16_t>(MP_imax(0, neg - pos));
        }
    }
}

void MP_task_CalcDeGhostLuminanceBalnce(TaskFuncParams t)
{
    const MP_DeGhostTaskArgs* a = MP_taskArgs<MP_DeGhostTaskArgs>(t);
    if (!a || !a->imageA || !a->imageB || !a->map || a->width <= 0)
        return;
    const int start = MP_imax(0, MP_taskStart(t)), end = MP_imin(a->height, MP_taskEnd(t));
    const size_t W = static_cast<size_t>(a->width);
    for (int y = start; y < end; ++y) {
        for (size_t x = 0; x < W; ++x) {
            const size_t i = static_cast<size_t>(y) * W + x;
            uint16_t* pa = a->imageA + i * 3;
            const uint16_t* pb = a->imageB + i * 3;
            const int SA = pa[0] + pa[1] + pa[2];
            if (SA == 0)
                continue;
            const int SB = pb[0] + pb[1] + pb[2];
            const float w = MP_min(static_cast<float>(a->map[i]) / 16383.0f, 1.0f);
            const float f = (static_cast<float>(SB) / static_cast<float>(SA)) * w + (1.0f - w);
            for (int c = 0; c < 3; ++c)
                pa[c] = static_cast<uint16_t>(MP_safeTrunc(static_cast<float>(pa[c]) * f, 0, 65535));
        }
    }
}

int MP_CalcDeGhostLuminanceBalance() { return 0; }
