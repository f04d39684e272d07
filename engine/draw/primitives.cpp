#include "engine/draw/primitives.h"

#include <algorithm>
#include <cmath>

namespace {

// A line as its samples see it.
struct Line {
    float x0, y0, dx, dy; // start and unit step
    double steps;         // number of samples (may exceed any int)
};

bool setupLine(float x0, float y0, float x1, float y1, Line& l)
{
    float dx = x1 - x0;
    float dy = y1 - y0;
    const float len = std::sqrt(dx * dx + dy * dy);
    if (!std::isfinite(len) || !std::isfinite(x0) || !std::isfinite(y0))
        return false;
    if (len == 0.0f) {
        l = {x0, y0, 0.0f, 0.0f, 1.0};
        return true;
    }
    if (len < 1.0f)
        return false;
    dx /= len;
    dy /= len;
    l = {x0, y0, dx, dy, std::floor(static_cast<double>(len))};
    return true;
}

inline float sampleX(const Line& l, int64_t i) { return l.x0 + l.dx * (static_cast<float>(i) + 0.5f); }
inline float sampleY(const Line& l, int64_t i) { return l.y0 + l.dy * (static_cast<float>(i) + 0.5f); }

// trunc(p) lies within -margin .. n - 1 + margin.
inline bool near(float p, int n, int margin)
{
    return p > static_cast<float>(-margin - 1) && p < static_cast<float>(n + margin);
}

// Range of the step parameter t for which p0 + d t lies in (lo, hi).
bool axisRange(double p0, double d, double lo, double hi, double& tmin, double& tmax)
{
    if (d == 0.0) {
        if (p0 > lo && p0 < hi) {
            tmin = -1e300;
            tmax = 1e300;
            return true;
        }
        return false;
    }
    const double a = (lo - p0) / d;
    const double b = (hi - p0) / d;
    tmin = std::min(a, b);
    tmax = std::max(a, b);
    return true;
}

int64_t stepRange(const Line& l, int width, int height, int margin, int64_t& first, int64_t& last)
{
    if (width <= 0 || height <= 0)
        return 0;
    double ax0, ax1, ay0, ay1;
    if (!axisRange(l.x0, l.dx, -margin - 1.0, width + margin, ax0, ax1) ||
        !axisRange(l.y0, l.dy, -margin - 1.0, height + margin, ay0, ay1))
        return 0;
    // Sample i sits at t = i + 0.5; a little slack covers single-precision
    // rounding, and the exact test below trims it again.
    const double lo = std::max({ax0, ay0, 0.5}) - 0.5 - 2.0;
    const double hi = std::min({ax1, ay1, l.steps - 0.5}) - 0.5 + 2.0;
    if (lo > hi || lo > 9.0e18)
        return 0;
    int64_t a = static_cast<int64_t>(std::max(0.0, std::ceil(lo)));
    int64_t b = static_cast<int64_t>(std::min(l.steps - 1.0, std::floor(hi)));
    auto inside = [&](int64_t i) { return near(sampleX(l, i), width, margin) && near(sampleY(l, i), height, margin); };
    while (a <= b && !inside(a))
        ++a;
    while (b >= a && !inside(b))
        --b;
    if (a > b)
        return 0;
    first = a;
    last = b;
    return b - a + 1;
}

template <typename PixelFn> int drawLine(float x0, float y0, float x1, float y1, int width, int height, int margin,
                                         PixelFn&& pixel)
{
    Line l;
    if (!setupLine(x0, y0, x1, y1, l))
        return 0;
    int64_t first = 0, last = -1;
    if (stepRange(l, width, height, margin, first, last) == 0)
        return 0;
    for (int64_t i = first; i <= last; ++i)
        pixel(static_cast<int>(sampleX(l, i)), static_cast<int>(sampleY(l, i)));
    return 0;
}

inline void put16(uint16_t* buf, int width, int height, int pitch, int x, int y, int r, int g, int b)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint16_t* p = buf + (static_cast<size_t>(y) * pitch + x) * 3;
    p[0] = static_cast<uint16_t>(r);
    p[1] = static_cast<uint16_t>(g);
    p[2] = static_cast<uint16_t>(b);
}

} // namespace

void MP_paintPixel(int x, int y, int width, int height, int pitch, uint16_t* buf, int red, int green, int blue)
{
    if (buf)
        put16(buf, width, height, pitch, x, y, red, green, blue);
}

void MP_paintPoint(int x, int y, int width, int height, int pitch, int radius, uint16_t* buf)
{
    if (!buf || width <= 0 || height <= 0 || radius < 0)
        return;
    x = std::max(1, std::min(x, width - 2));
    y = std::max(1, std::min(y, height - 2));
    const int ya = std::max(0, y - radius), yb = std::min(height - 1, y + radius);
    const int xa = std::max(0, x - radius), xb = std::min(width - 1, x + radius);
    for (int py = ya; py <= yb; ++py) {
        for (int px = xa; px <= xb; ++px) {
            const bool border = px == x - radius || px == x + radius || py == y - radius || py == y + radius;
            const int v = border ? 0x3FFF : 0xFFFF;
            put16(buf, width, height, pitch, px, py, v, v, v);
        }
    }
}

void MP_UI_paintGrid(uint16_t* buf, int width, int height, int pitch, int divisions)
{
    if (!buf || divisions < 0 || width <= 0 || height <= 0)
        return;
    const float h1 = static_cast<float>(height - 1);
    const float w1 = static_cast<float>(width - 1);
    for (int i = 0; i <= divisions; ++i) {
        // The first lines sit on the bottom row and the left column.
        const float fy = i == 0 ? h1 : h1 - static_cast<float>(i) * h1 / static_cast<float>(divisions);
        const float fx = i == 0 ? 0.0f : static_cast<float>(i) * w1 / static_cast<float>(divisions);
        const int y = static_cast<int>(fy);
        const int x = static_cast<int>(fx);
        if (y >= 0 && y < height)
            for (int px = 0; px < width; px += 2)
                put16(buf, width, height, pitch, px, y, 0xBFFF, 0xBFFF, 0xBFFF);
        if (x >= 0 && x < width)
            for (int py = 0; py < height; py += 2)
                put16(buf, width, height, pitch, x, py, 0xBFFF, 0xBFFF, 0xBFFF);
    }
}

int MP_lineToBuffer(uint16_t* buf, int width, int height, int red, int green, int blue, float x0, float y0, float x1,
                    float y1)
{
    if (!buf)
        return -2;
    return drawLine(x0, y0, x1, y1, width, height, 0,
                    [&](int x, int y) { put16(buf, width, height, width, x, y, red, green, blue); });
}

int MP_lineToBuffer3x3(uint16_t* buf, int width, int height, int red, int green, int blue, float x0, float y0,
                       float x1, float y1)
{
    if (!buf)
        return -2;
    return drawLine(x0, y0, x1, y1, width, height, 1, [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                put16(buf, width, height, width, x + dx, y + dy, red, green, blue);
    });
}

int MP_lineToArgbPitchBuffer(uint32_t* argb, int pitch, int width, int height, int red, int green, float x0,
                             float y0, float x1, float y1, int blue)
{
    if (!argb)
        return -2;
    const uint32_t colour = 0xFF000000u | (static_cast<uint32_t>(red & 255) << 16) |
                            (static_cast<uint32_t>(green & 255) << 8) | static_cast<uint32_t>(blue & 255);
    return drawLine(x0, y0, x1, y1, width, height, 0, [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            argb[static_cast<size_t>(y) * pitch + x] = colour;
    });
}

int64_t MP_lineStepRange(float x0, float y0, float x1, float y1, int width, int height, int margin, int64_t* first,
                         int64_t* last)
{
    Line l;
    if (!setupLine(x0, y0, x1, y1, l))
        return 0;
    int64_t a = 0, b = -1;
    const int64_t n = stepRange(l, width, height, margin, a, b);
    if (n > 0) {
        if (first)
            *first = a;
        if (last)
            *last = b;
    }
    return n;
}
