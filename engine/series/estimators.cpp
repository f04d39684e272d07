#include "engine/series/estimators.h"

#include "engine/core/boxblur.h"
#include "engine/core/mp_params.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/views/zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int NoiseGridk[MP_NOISEGRID_SIZE];
float NoiseGridx1[MP_NOISEGRID_SIZE];
float NoiseGridx2[MP_NOISEGRID_SIZE];
float NoiseGridy1[MP_NOISEGRID_SIZE];
float NoiseGridy2[MP_NOISEGRID_SIZE];
float NoiseGridv[MP_NOISEGRID_SIZE];
int NoiseGridam = 0;
int NoiseGridkmin = 7;
int NoiseGridkspread = 1;
float VarianceSum = 0.0f;

namespace {

constexpr int kN3[9] = {1, -2, 1, -2, 4, -2, 1, -2, 1};
constexpr int kL3[9] = {-1, -1, -1, -1, 8, -1, -1, -1, -1};
constexpr int kN5[25] = {0, -1, 2, -1, 0, -1, 2, -4, 2, -1, 2, -4, 8, -4, 2, -1, 2, -4, 2, -1, 0, -1, 2, -1, 0};
constexpr int kN7[49] = {0, 0, 1, -2, 1, 0, 0,  0, 1, -2, 4, -2, 1, 0,  1, -2, 4, -8, 4, -2, 1, -2, 4, -8, 12,
                         -8, 4, -2, 1, -2, 4, -8, 4, -2, 1, 0, 1, -2, 4, -2, 1, 0,  0, 0, 1, -2, 1, 0, 0};

inline int channelSum(const uint16_t* px)
{
    return int(px[0]) + int(px[1]) + int(px[2]);
}

// |mask response| of the k x k window centred at (cx, cy).
template <int k>
inline int response(const int (&mask)[k * k], const uint16_t* rgb48, size_t width, int cx, int cy)
{
    constexpr int r = k / 2;
    int sum = 0;
    for (int dy = -r; dy <= r; ++dy) {
        const uint16_t* row = rgb48 + (size_t(cy + dy) * width + size_t(cx - r)) * 3;
        for (int dx = 0; dx < k; ++dx)
            sum += mask[(dy + r) * k + dx] * channelSum(row + size_t(dx) * 3);
    }
    return sum < 0 ? -sum : sum;
}

// Sum of |responses| over the grid of centres (1 + i s, 1 + j s) below
// (w - 1, h - 1), rows outer.
float gridSum(const int (&mask)[9], const uint16_t* rgb48, int w, int h, int s)
{
    float sum = 0.0f;
    for (int y = 1; y < h - 1; y += s)
        for (int x = 1; x < w - 1; x += s)
            sum += float(response<3>(mask, rgb48, size_t(w), x, y));
    return sum;
}

// a / b, 0 when the divisor is not positive.
inline float divideOrZero(float a, float b)
{
    return b > 0.0f ? a / b : 0.0f;
}

// 6 a b, or 0 when a factor is not positive (an image too small for the
// measure).
float divisor6(int a, int b)
{
    return (a > 0 && b > 0) ? 6.0f * float(a) * float(b) : 0.0f;
}

float gridDivisor(int w, int h, int s)
{
    return divisor6((w - 2) / s - 2, (h - 2) / s - 2);
}

// Sum of f(pixel) over every step-th pixel of every step-th row from (0, 0).
template <typename F> float stridedSum(const uint16_t* rgb48, int width, int height, int step, F&& f)
{
    float sum = 0.0f;
    for (int y = 0; rgb48 && y < height; y += step) {
        const uint16_t* row = rgb48 + size_t(y) * size_t(width) * 3;
        for (int x = 0; x < width; x += step)
            sum += f(row + size_t(x) * 3);
    }
    return sum;
}

bool quiet()
{
    return MP_UI_GetAnimMode() == 1;
}

struct BandArgs {
    const uint16_t* rgb48;
    int width;
    int height;
    int step;
    float* bandSums; // one per band
};

template <int k>
void bandNoise(TaskFuncParams p, const int (&mask)[k * k], float factor)
{
    const BandArgs& a = *MP_taskArgs<const BandArgs>(p);
    const int s = std::max(a.step, 1);
    constexpr int r = k / 2;
    const int y0 = std::max(MP_taskStart(p), 3);
    const int y1 = std::min(MP_taskEnd(p), a.height - 3);
    float sum = 0.0f;
    if (a.width - r > r) {
        for (int y = y0; y < y1; y += s)
            for (int x = r; x < a.width - r; x += s)
                sum += float(response<k>(mask, a.rgb48, size_t(a.width), x, y));
    }
    a.bandSums[p.w[0]] = sum * factor;
}

} // namespace

void MP_task3x3_CalcOptimizeDeNoiseValue(TaskFuncParams p)
{
    bandNoise<3>(p, kN3, 1.0f);
}

void MP_task5x5_CalcOptimizeDeNoiseValue(TaskFuncParams p)
{
    bandNoise<5>(p, kN5, 0.6f);
}

void MP_task7x7_CalcOptimizeDeNoiseValue(TaskFuncParams p)
{
    bandNoise<7>(p, kN7, 0.32f);
}

float MP_UI_CalcOptimizeDeNoiseValue(int width, int height, const uint16_t* rgb48, int step)
{
    const double start = MP_UI_GetActualTime();
    const int s = std::max(step, 1);
    float sigma = 0.0f;
    if (rgb48 && width > 2 && height > 2)
        sigma = divideOrZero(gridSum(kN3, rgb48, width, height, s) * MP_ESTIMATE_K, gridDivisor(width, height, s));
    if (!quiet())
        std::printf("%11.4f ms Estimate DeNoise - %f\r\n", MP_UI_CalcTimeDifference(start), sigma);
    return 10.0f * sigma;
}

float MP_UI_CalcOptimizeSharpenValue(int width, int height, int step, const uint16_t* rgb48)
{
    const double start = MP_UI_GetActualTime();
    const int s = std::max(step, 1); // a step of 0 would never end
    float value = 0.0f;
    if (rgb48 && width > 2 && height > 2)
        value = divideOrZero(gridSum(kL3, rgb48, width, height, s) * MP_ESTIMATE_K, gridDivisor(width, height, 3));
    if (!quiet())
        std::printf("%11.4f ms Estimate Sharpen - %f\r\n", MP_UI_CalcTimeDifference(start), value);
    return value;
}

float MP_UI_CalcOptimizeGammaValue(int width, int height, const uint16_t* rgb48)
{
    const double start = MP_UI_GetActualTime();
    const float sum = stridedSum(rgb48, width, height, 2, [](const uint16_t* px) { return float(channelSum(px)); });
    const long long count = (long long)(width / 2) * height / 2;
    const float value = divideOrZero(sum * 0.33333f / 65535.0f, float(count));
    if (!quiet())
        std::printf("%11.4f ms Estimate Gamma - %f\r\n", MP_UI_CalcTimeDifference(start), value);
    return value;
}

float MP_UI_CalcOptimizeColorValue(int width, int height, const uint16_t* rgb48)
{
    const double start = MP_UI_GetActualTime();
    const float sum = stridedSum(rgb48, width, height, 3, [](const uint16_t* px) {
        const float m = 0.33333f * float(channelSum(px));
        const int l = int(m);
        return float(std::abs(l - px[0]) + std::abs(l - px[1]) + std::abs(l - px[2])) / (m + 0.001f);
    });
    const long long count = (long long)width * height / 9;
    const float value = divideOrZero(0.33333f * sum, float(count));
    if (!quiet())
        std::printf("%11.4f ms Estimate Color - %f\r\n", MP_UI_CalcTimeDifference(start), value);
    return value;
}

float MP_UI_CalcOptimizeContrastValue(int width, int height, const uint16_t* rgb48)
{
    const double start = MP_UI_GetActualTime();
    float fw = float(width), fh = float(height);
    while (fw * fh > 400000.0f) {
        fw *= 0.95f;
        fh *= 0.95f;
    }
    const int W = int(fw), H = int(fh);
    float value = 0.01f;
    uint16_t* copy = (rgb48 && W > 0 && H > 0) ? static_cast<uint16_t*>(MP_UpdateBuffer(size_t(W) * H * 6)) : nullptr;
    if (copy) {
        MP_UI_zoomPreviewPicture(rgb48, copy, 0, 0, 0, 0, float(W), float(H), float(W), float(width), float(height),
                                 0.0f, 0.0f, float(width), float(height));
        float sum = 0.0f;
        for (int y = 1; y < H - 1; ++y)
            for (int x = 1; x < W - 1; ++x)
                sum += float(response<3>(kN3, copy, size_t(W), x, y));
        value = divideOrZero(sum * MP_ESTIMATE_K, divisor6(W - 4, H - 4));
    }
    if (!quiet())
        std::printf("%11.4f ms Estimate Contrast - %f\r\n", MP_UI_CalcTimeDifference(start), value);
    return value;
}

float MP_UI_CalcDetailValue(int width, int height, const uint16_t* rgb48, int step)
{
    const double start = MP_UI_GetActualTime();
    if (!rgb48 || height < 3 || width < 3) {
        std::printf("%11.4f ms MP_UI_CalcDetailValue - %f L:%f -> %f\r\n", MP_UI_CalcTimeDifference(start), 0.0, 0.0,
                    0.0);
        return 0.0f;
    }
    const int s = std::max(step, 1);
    float sum = 0.0f, lum = 0.0f;
    int n = 0;
    for (int y = 1; y < height - 1; y += s)
        for (int x = 1; x < width - 1; x += s) {
            sum += float(response<3>(kN3, rgb48, size_t(width), x, y));
            lum += float(channelSum(rgb48 + (size_t(y) * width + x) * 3));
            ++n;
        }
    float r = sum / 196605.0f;
    float l = lum / 3.0f / 65535.0f;
    if (n > 0) {
        r /= float(n);
        l /= float(n);
    }
    std::printf("%11.4f ms MP_UI_CalcDetailValue - %f L:%f -> %f\r\n", MP_UI_CalcTimeDifference(start), r, l,
                r / (1.0f - std::fabs(0.5f - l)));
    return r;
}

float MP_MT_CalcOptimizeDeNoiseValue(int width, int height, const uint16_t* rgb48, int step, int maskSize)
{
    const double start = MP_UI_GetActualTime();
    VarianceSum = 0.0f;
    if (maskSize != 5 && maskSize != 7)
        maskSize = 3;
    const int s = std::max(step, 1);
    if (!rgb48 || width < 1 || height < 1)
        return 0.0f;
    const int threads = std::max(MP_idealThreadCount, 1);
    std::vector<float> bandSums(size_t(threads), 0.0f);
    BandArgs args{rgb48, width, height, s, bandSums.data()};
    const MP_TaskFunc fn = maskSize == 5 ? MP_task5x5_CalcOptimizeDeNoiseValue
                           : maskSize == 7 ? MP_task7x7_CalcOptimizeDeNoiseValue
                                           : MP_task3x3_CalcOptimizeDeNoiseValue;
    int bandStart = 0;
    for (int i = 1; i <= threads; ++i) {
        const int bandEnd = std::min(height, int((long long)i * height / threads));
        TaskFuncParams t = MP_makeTask(nullptr, &args, uint64_t(i - 1));
        MP_setTaskRange(t, bandStart, bandEnd);
        C_AddTask(fn, t);
        bandStart = bandEnd;
    }
    C_WaitTasks();
    // Added in band order after the wait: the same image gives the same sum.
    for (float b : bandSums)
        VarianceSum += b;
    const float value =
        divideOrZero(10.0f * VarianceSum * MP_ESTIMATE_K, divisor6((width - 6) / s - 2, (height - 6) / s - 2));
    if (!quiet())
        std::printf("%11.4f ms Estimate DeNoise (%dx%d) - %f\r\n", MP_UI_CalcTimeDifference(start), maskSize, maskSize,
                    50.0f * value);
    return value;
}

// ---- Tiles ---------------------------------------------------------------------

void MP_UI_FindBestDeNoiseRectangles(int width, int height, const uint16_t* rgb48)
{
    const double start = MP_UI_GetActualTime();
    NoiseGridam = 0;
    const int M = std::max(width, height);
    const int cell = M / 25;
    const int half = M / 50;
    const int r = std::max(half - 1, 0);
    if (rgb48 && cell > 0) {
        const int left = (width % cell) / 2;
        const int top = (height % cell) / 2;
        for (int j = 0; j < height / cell; ++j) {
            for (int i = 0; i < width / cell; ++i) {
                const int cx = left + half + i * cell;
                const int cy = top + half + j * cell;
                const uint16_t* c = rgb48 + (size_t(cy) * width + cx) * 3;
                const int v = channelSum(c) / 3;
                if (v < 3200 || v > 62335)
                    continue;
                int E = 0;
                for (int y = std::max(cy - r, 0); y <= std::min(cy + r, height - 1); ++y)
                    for (int x = std::max(cx - r, 0); x <= std::min(cx + r, width - 1); ++x) {
                        const uint16_t* q = rgb48 + (size_t(y) * width + x) * 3;
                        for (int ch = 0; ch < 3; ++ch)
                            E = std::max(E, std::abs(int(q[ch]) - int(c[ch])));
                    }
                for (int k = 1; k <= 7; ++k) {
                    const int F = int(float(k) * 25.6f) * 256;
                    if (v >= F / 2 && v < 65536 - F / 2 && E > 0 && E < F) {
                        if (NoiseGridam < MP_NOISEGRID_MAX) {
                            const int n = NoiseGridam++;
                            NoiseGridk[n] = k;
                            NoiseGridx1[n] = float(cx - half) / float(width);
                            NoiseGridx2[n] = float(cx + half) / float(width);
                            NoiseGridy1[n] = float(cy - half) / float(height);
                            NoiseGridy2[n] = float(cy + half) / float(height);
                            NoiseGridv[n] = 0.0f;
                        }
                        break;
                    }
                }
            }
        }
    }
    NoiseGridkmin = 7;
    for (int n = 0; n < NoiseGridam; ++n)
        NoiseGridkmin = std::min(NoiseGridkmin, NoiseGridk[n]);
    int best = 0;
    for (int n = 0; n < NoiseGridam; ++n)
        if (NoiseGridk[n] == NoiseGridkmin)
            ++best;
    NoiseGridkspread = (NoiseGridam > 0 && best >= 10) ? 0 : 1;
    std::printf("%11.4f ms Best Rectangle - Found: %d - best Category: %d\r\n", MP_UI_CalcTimeDifference(start),
                NoiseGridam, NoiseGridkmin);
}

void MP_UI_ShowDeNoiseRectangles(int width, int height, uint16_t* rgb48)
{
    const double start = MP_UI_GetActualTime();
    const size_t n = (rgb48 && width > 0 && height > 0) ? size_t(width) * height : 0;
    int16_t* mask = n ? static_cast<int16_t*>(std::calloc(n, sizeof(int16_t))) : nullptr;
    if (mask) {
        for (int e = 0; e < NoiseGridam; ++e) {
            if (NoiseGridk[e] < NoiseGridkmin || NoiseGridk[e] > NoiseGridkmin + NoiseGridkspread)
                continue;
            const int x1 = std::clamp(int(NoiseGridx1[e] * float(width)), 0, width - 1);
            const int x2 = std::clamp(int(NoiseGridx2[e] * float(width)), 0, width - 1);
            const int y1 = std::clamp(int(NoiseGridy1[e] * float(height)), 0, height - 1);
            const int y2 = std::clamp(int(NoiseGridy2[e] * float(height)), 0, height - 1);
            for (int y = y1; y <= y2; ++y)
                for (int x = x1; x <= x2; ++x)
                    mask[size_t(y) * width + x] = 0x7FFF;
        }
        const int M = std::max(width, height);
        const int passes = std::min(5, M / 25);
        // Below 25 pixels there is no pass to divide the radius by.
        if (passes > 0) {
            MP_Params p;
            std::memset(&p, 0, sizeof(p));
            p.p[0][0] = float(M / 25);
            p.p[1][0] = float(passes);
            MP_BlurSignedShortBuffer(width, height, mask, mask, 2, 2, &p);
        }
        for (size_t i = 0; i < n; ++i) {
            if (mask[i] > 0x2FFF)
                continue;
            for (int c = 0; c < 3; ++c) {
                const float v = (float(rgb48[i * 3 + c]) / 65535.0f - 0.5f) * 0.125f + 0.125f;
                rgb48[i * 3 + c] = v < 0.0f ? 0 : (v > 1.0f ? 65535 : uint16_t(v * 65535.0f));
            }
        }
        const int b = M / 2000;
        for (int y = 1; y < height - 1; ++y)
            for (int x = 1; x < width - 1; ++x) {
                const size_t i = size_t(y) * width + x;
                const int above = (mask[i] > 0x2FFF) + (mask[i - 1] > 0x2FFF) + (mask[i + 1] > 0x2FFF) +
                                  (mask[i - width] > 0x2FFF) + (mask[i + width] > 0x2FFF);
                if (above < 1 || above > 4)
                    continue;
                for (int yy = std::max(y - b - 1, 0); yy <= std::min(y + b + 1, height - 1); ++yy)
                    for (int xx = std::max(x - b - 1, 0); xx <= std::min(x + b + 1, width - 1); ++xx) {
                        uint16_t* q = rgb48 + (size_t(yy) * width + xx) * 3;
                        q[0] = q[1] = q[2] = 53739;
                    }
            }
        std::free(mask);
    }
    std::printf("%11.4f ms MP_UI_ShowDeNoiseRectangles\r\n", MP_UI_CalcTimeDifference(start));
}

float MP_CalcOptimizeDeNoiseValuePattern3x3(int x1, int x2, int y1, int y2, int width, int height, int step,
                                            const uint16_t* rgb48)
{
    x1 = std::max(x1, 1);
    x2 = std::min(x2, width - 1);
    y1 = std::max(y1, 1);
    y2 = std::min(y2, height - 1);
    const int s = std::max(step, 1);
    if (!rgb48)
        return 0.0f;
    float sum = 0.0f;
    for (int y = y1; y < y2; y += s)
        for (int x = x1; x < x2; x += s)
            sum += float(response<3>(kN3, rgb48, size_t(width), x, y));
    const int a = (y2 - y1 - 2) / s - 2, b = (x2 - x1 - 2) / s - 2;
    return divideOrZero(10.0f * sum * MP_ESTIMATE_K, (a > 0 && b > 0) ? float(a) * 6.0f * float(b) : 0.0f);
}

namespace {

struct PatternArgs {
    const uint16_t* rgb48;
    int width;
    int height;
    int step;
};

// Measures every entry with a category on an image of w x h; weights
// e^(factor (7 - k)).
float weightedTileLevel(const uint16_t* rgb48, int w, int h, int step, float factor)
{
    PatternArgs args{rgb48, w, h, step};
    int queued = 0;
    for (int e = 0; e < NoiseGridam; ++e) {
        if (NoiseGridk[e] <= 0)
            continue;
        TaskFuncParams t = MP_makeTask(nullptr, &args);
        const int x1 = int(float(w) * NoiseGridx1[e]), x2 = int(float(w) * NoiseGridx2[e]);
        const int y1 = int(float(h) * NoiseGridy1[e]), y2 = int(float(h) * NoiseGridy2[e]);
        t.w[0] = (uint64_t(uint32_t(x2)) << 32) | uint32_t(x1);
        MP_setTaskRange(t, y1, y2);
        t.w[2] = uint64_t(e);
        C_AddTask(MP_MT_CalcOptimizeDeNoiseValuePattern3x3, t);
        if (++queued % std::max(MP_idealThreadCount, 1) == 0)
            C_WaitTasks();
    }
    C_WaitTasks();
    float num = 0.0f, den = 0.0f;
    for (int e = 0; e < NoiseGridam; ++e) {
        if (NoiseGridk[e] <= 0)
            continue;
        const float weight = std::exp(factor * float(7 - NoiseGridk[e]));
        num += weight * NoiseGridv[e];
        den += weight;
    }
    return den != 0.0f ? num / den : 0.0f;
}

} // namespace

void MP_MT_CalcOptimizeDeNoiseValuePattern3x3(TaskFuncParams p)
{
    const PatternArgs& a = *MP_taskArgs<const PatternArgs>(p);
    const int x1 = int32_t(uint32_t(p.w[0]));
    const int x2 = int32_t(uint32_t(p.w[0] >> 32));
    const size_t e = size_t(p.w[2]);
    if (e < size_t(MP_NOISEGRID_SIZE))
        NoiseGridv[e] = MP_CalcOptimizeDeNoiseValuePattern3x3(x1, x2, MP_taskStart(p), MP_taskEnd(p), a.width,
                                                              a.height, a.step, a.rgb48);
}

float MP_MT_GetOptimizeDeNoiseValue(int width, int height, const uint16_t* rgb48, int step)
{
    const double start = MP_UI_GetActualTime();
    if (!rgb48 || width < 1 || height < 1)
        return 0.0f;
    const int w3 = int(0.333f * float(width));
    const int h3 = int(0.333f * float(height));
    uint16_t* copy = static_cast<uint16_t*>(std::malloc(size_t(width) * height * 6));
    if (copy && w3 > 0 && h3 > 0)
        MP_MT_zoomPreviewPicture(rgb48, copy, 0, 0, 0, 0, float(w3), float(h3), float(w3), float(width),
                                 float(height), 0.0f, 0.0f, float(width), float(height));
    float level100;
    if (NoiseGridam > 0) {
        level100 = weightedTileLevel(rgb48, width, height, step, 1.0f);
        std::printf("Estimate DeNoise (100%%) - %f\r\n", 50.0f * level100);
        if (copy && w3 > 0 && h3 > 0) {
            const float level33 = weightedTileLevel(copy, w3, h3, step, 1.25f);
            std::printf("Estimate DeNoise ( 33%%) - %f\r\n", 50.0f * level33);
            if (level33 > 2.0f * level100) {
                std::printf("Adapting Noise value from %f to ", 50.0f * level100);
                level100 = level100 + 0.333f * (level33 - 2.0f * level100);
                std::printf("%f\n", 50.0f * level100);
            }
        }
    } else {
        level100 = MP_MT_CalcOptimizeDeNoiseValue(width, height, rgb48, step, 3);
        if (copy && w3 > 0 && h3 > 0) {
            const float level33 = MP_MT_CalcOptimizeDeNoiseValue(w3, h3, copy, step, 3);
            if (level33 > level100)
                level100 = 0.5f * level100 + 0.5f * level33;
        }
    }
    std::free(copy);
    const float result = std::clamp(0.5f * level100, 0.0f, 0.999f);
    std::printf("%11.4f ms Estimate DeNoise (All) - %f\r\n", MP_UI_CalcTimeDifference(start), 100.0f * result);
    return result;
}
