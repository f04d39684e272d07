#include "engine/views/histogramimage.h"

#include "engine/core/luminance.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/results.h"
#include "engine/draw/primitives.h"

#include <memory>
#include <new>


namespace {

constexpr uint32_t kBackground = 0xFF202020u; // grey 32
constexpr uint32_t kGridColour = 0xFF606060u; // grey 96

enum Channel { kLum = 0, kRed = 1, kGreen = 2, kBlue = 3, kChannels = 4 };

inline uint32_t opaqueGrey(int k)
{
    const uint32_t v = static_cast<uint32_t>(k);
    return 0xFF000000u | (v << 16) | (v << 8) | v;
}

// Count / scale x rows in single precision, truncated; the clamp only keeps
// values far outside the picture representable.
inline int scaledHeight(int value, int m, int rows, float offset, int hi)
{
    return MP_safeTrunc(static_cast<float>(value) / static_cast<float>(m) * static_cast<float>(rows) - offset, 0, hi);
}

} // namespace

int MP_UI_calcHistogram(const uint16_t* rgb48, uint32_t* argb, int pitch, int width, int height, int bins, int rows,
                        int luminance, int red, int green, int blue, int cumulative)
{
    if (!rgb48 || !argb || bins < 1 || rows < 1 || pitch < bins || width < 1 || height < 1)
        return MP_ERR_INPUT;

    const size_t stride = static_cast<size_t>(bins) + 1;
    std::unique_ptr<int[]> memory(new (std::nothrow) int[stride * 5]());
    if (!memory)
        return MP_ERR_NOMEMORY;
    int* hist[kChannels];
    for (int c = 0; c < kChannels; ++c)
        hist[c] = memory.get() + stride * c;
    int* temp = memory.get() + stride * 4;
    const bool enabled[kChannels] = {luminance != 0, red != 0, green != 0, blue != 0};

    // 1.-3. Count on a grid of about 150 x 150 samples.
    float wr = 0.0f, wg = 0.0f, wb = 0.0f;
    MP_UI_GetLuminanzConvRGB(&wr, &wg, &wb);
    const int64_t w8r = MP_safeTrunc(wr * 256.0f, 0, 256);
    const int64_t w8g = MP_safeTrunc(wg * 256.0f, 0, 256);
    const int64_t w8b = MP_safeTrunc(wb * 256.0f, 0, 256);
    const int xs = MP_imax(4, width / 150);
    const int ys = MP_imax(4, height / 150);
    const int64_t nb = bins;
    auto bin = [&](int64_t v) { return static_cast<int>(MP_imin(static_cast<int>((v * nb) >> 16), bins - 1)); };
    for (int y = 0; y < height; y += ys) {
        const uint16_t* row = rgb48 + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
        for (int x = 0; x < width; x += xs) {
            const int64_t r = row[3 * x], g = row[3 * x + 1], b = row[3 * x + 2];
            ++hist[kRed][bin(r)];
            ++hist[kGreen][bin(g)];
            ++hist[kBlue][bin(b)];
            ++hist[kLum][bin((w8g * g + w8r * r + w8b * b) >> 8)];
        }
    }

    // 4. Box average of width 2e + 1, in units of 1/64 count.
    int e = 0;
    if (bins >= 50) {
        e = MP_imax(1, bins / 150);
        for (int c = 0; c < kChannels; ++c) {
            int* h = hist[c];
            for (int i = 0; i < bins; ++i)
                temp[i] = h[i];
            for (int i = 0; i < bins; ++i) {
                int sum = 0;
                for (int k = -e; k <= e; ++k)
                    sum += temp[MP_iclamp(i + k, 0, bins - 1)] * 64;
                h[i] = sum / (2 * e + 1);
            }
        }
    }

    // 5. Running sums.
    if (cumulative) {
        for (int c = 0; c < kChannels; ++c) {
            for (int i = 1; i < bins; ++i)
                hist[c][i] += hist[c][i - 1];
        }
    }

    // 6. Scale from the enabled channels, leaving out the bins at both ends.
    int first = e + 1;
    int last = bins - e - 2;
    if (last < first)
        last = first;
    int m = 1;
    for (int c = 0; c < kChannels; ++c) {
        if (!enabled[c])
            continue;
        for (int i = first; i <= last; ++i)
            m = MP_imax(m, hist[c][i]);
    }

    // 7., 8. Background and grid (steps at least 1, so small pictures end).
    const size_t pp = static_cast<size_t>(pitch);
    for (int y = 0; y < rows; ++y) {
        uint32_t* line = argb + static_cast<size_t>(y) * pp;
        for (int x = 0; x < bins; ++x)
            line[x] = kBackground;
    }
    const int gy = MP_imax(1, rows / 5);
    for (int y = rows - 1; y >= 0; y -= gy) {
        for (int x = 0; x < bins; x += 2)
            argb[static_cast<size_t>(y) * pp + x] = kGridColour;
    }
    const int gx = MP_imax(1, bins / 5);
    for (int x = 0; x < bins; x += gx) {
        for (int y = 0; y < rows; y += 2)
            argb[static_cast<size_t>(y) * pp + x] = kGridColour;
    }

    // 9. Areas: colour channels tint what lies above the luminance area, which
    // is a grey ramp from black at the left to white at the right.
    const int hi = rows < INT32_MAX ? rows + 1 : rows;
    for (int x = 0; x < bins; ++x) {
        int top[kChannels];
        for (int c = 0; c < kChannels; ++c)
            top[c] = enabled[c] ? rows - scaledHeight(hist[c][x], m, rows, 0.0f, hi) : rows;
        const int k = static_cast<int>(static_cast<float>(x) / static_cast<float>(bins) * 255.0f);
        int highest = rows;
        for (int c = 0; c < kChannels; ++c)
            highest = MP_imin(highest, top[c]);
        highest = MP_imax(highest, 0);
        const int tl = MP_imax(top[kLum], 0);
        for (int y = highest; y < tl; ++y) {
            uint32_t& px = argb[static_cast<size_t>(y) * pp + x];
            int cr = (px >> 16) & 0xFF, cg = (px >> 8) & 0xFF, cb = px & 0xFF;
            if (top[kRed] < y)
                cr = MP_imin(255, cr + k);
            if (top[kGreen] < y)
                cg = MP_imin(255, cg + k);
            if (top[kBlue] < y)
                cb = MP_imin(255, cb + k);
            px = 0xFF000000u | (static_cast<uint32_t>(cr) << 16) | (static_cast<uint32_t>(cg) << 8) |
                 static_cast<uint32_t>(cb);
        }
        for (int y = tl; y < rows; ++y)
            argb[static_cast<size_t>(y) * pp + x] = opaqueGrey(k);
    }

    // 10. Curves in the order red, green, blue, luminance.
    struct Curve {
        Channel channel;
        int r, g, b;
    };
    static constexpr Curve kCurves[] = {
        {kRed, 255, 0, 0}, {kGreen, 0, 255, 0}, {kBlue, 0, 0, 255}, {kLum, 255, 255, 255}};
    constexpr int kFar = 1 << 30;
    for (int x = 0; x + 1 < bins; ++x) {
        for (const Curve& c : kCurves) {
            if (!enabled[c.channel])
                continue;
            const int y0 = scaledHeight(hist[c.channel][x], m, rows, 0.9f, kFar);
            const int y1 = scaledHeight(hist[c.channel][x + 1], m, rows, 0.9f, kFar);
            MP_lineToArgbPitchBuffer(argb, pitch, bins, rows, c.r, c.g, static_cast<float>(x),
                                     static_cast<float>(rows - y0), static_cast<float>(x + 1),
                                     static_cast<float>(rows - y1), c.b);
        }
    }
    return MP_OK;
}
