#include "engine/series/brushes.h"

#include "engine/core/boxblur.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/settings.h"
#include "engine/series/brushcache.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

constexpr int64_t kCoordLimit = 1 << 30; // centres and radii beyond this cover nothing more

inline int16_t clampWeight(int64_t v) { return static_cast<int16_t>(v < -32767 ? -32767 : (v > 32767 ? 32767 : v)); }

// The integer geometry of a stroke; false when it paints nothing.
struct Stroke {
    int64_t cx, cy, r;
    int64_t rowFirst, rowLast, colFirst, colLast;
};

bool strokeOf(int width, int height, const int16_t* map, float x, float y, float radius, Stroke& s)
{
    if (!map || width <= 0 || height <= 0 || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius))
        return false;
    s.cx = MP_safeTrunc(x, -kCoordLimit, kCoordLimit);
    s.cy = MP_safeTrunc(y, -kCoordLimit, kCoordLimit);
    s.r = MP_safeTrunc(radius, -kCoordLimit, kCoordLimit);
    const int64_t H = height - 1;
    s.rowFirst = std::min<int64_t>(std::max<int64_t>(0, s.cy - s.r), H);
    s.rowLast = std::min<int64_t>(std::max<int64_t>(0, s.cy + s.r), H);
    s.colFirst = std::max<int64_t>(0, s.cx - s.r);
    s.colLast = std::min<int64_t>(s.cx + s.r, width - 1);
    return s.rowFirst <= s.rowLast;
}

// Half-width of the disc row at vertical distance dy, or -1 when the row lies
// outside the disc (r^2 - dy^2 < 0).
inline int64_t discHalfWidth(int64_t r, int64_t dy, int64_t* q)
{
    *q = r * r - dy * dy;
    if (*q < 0)
        return -1;
    return static_cast<int64_t>(std::sqrt(static_cast<double>(*q)));
}

// Profile p of the types 1..9 at (dx, dy) inside the square, or a negative
// value outside the type's region. y is the pixel row (types 6 and 7).
float profile(int type, int64_t dx, int64_t dy, int64_t r, float radius, int64_t y, int64_t cy, int64_t x,
              int64_t cx)
{
    const float adx = static_cast<float>(dx < 0 ? -dx : dx);
    const float ady = static_cast<float>(dy < 0 ? -dy : dy);
    const int64_t r2 = r / 2, r8 = r / 8;
    switch (type) {
    case 1:
        return 1.0f - MP_max(adx, ady) / radius;
    case 2:
        return 0.25f;
    case 3:
        if ((dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) < r)
            return (1.0f - (adx + ady) / static_cast<float>(r)) * 0.5f;
        return -1.0f;
    case 4:
        return (dy < 0 ? -dy : dy) <= r2 ? 1.0f - MP_max(adx, 2.0f * ady) / radius : -1.0f;
    case 5:
        return (dx < 0 ? -dx : dx) <= r2 ? 1.0f - MP_max(2.0f * adx, ady) / radius : -1.0f;
    case 6:
        if (y >= cy - r2 && y < cy + r2 && x >= cx + (cy - r2) - y && x <= cx + y - (cy - r2))
            return 0.25f;
        return -1.0f;
    case 7:
        if (y >= cy - r2 && y < cy + r2 && x >= cx + y - (cy + r2) && x <= cx + (cy + r2) - y)
            return 0.25f;
        return -1.0f;
    case 8:
        return (dy < 0 ? -dy : dy) <= r8 ? 1.0f - MP_max(adx, 8.0f * ady) / radius : -1.0f;
    case 9:
        return (dx < 0 ? -dx : dx) <= r8 ? 1.0f - MP_max(8.0f * adx, ady) / radius : -1.0f;
    default:
        return -1.0f;
    }
}

inline int16_t* cell(int16_t* map, int width, int64_t x, int64_t y)
{
    return map + static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
}

// Visits every pixel of the current type's region with its weight factor:
// type 0 gives (q - dx^2) / radius^2 scaled like the stroke (B), the others p.
template <typename Fn> void forRegion(int type, int width, int height, int16_t* map, float x, float y, float radius, Fn&& fn)
{
    Stroke s;
    if (!strokeOf(width, height, map, x, y, radius, s))
        return;
    if (type == 0) {
        for (int64_t row = s.rowFirst; row <= s.rowLast; ++row) {
            int64_t q = 0;
            const int64_t hw = discHalfWidth(s.r, row - s.cy, &q);
            if (hw < 0)
                continue;
            const int64_t c0 = std::max<int64_t>(0, s.cx - hw);
            const int64_t c1 = std::min<int64_t>(s.cx + hw, width - 1);
            if (c0 >= width || s.cx + hw < 0)
                continue;
            for (int64_t col = c0; col <= c1; ++col)
                fn(col, row, static_cast<float>(q - (col - s.cx) * (col - s.cx)), 0.0f);
        }
        return;
    }
    if (!(radius > 0.0f) || type < 1 || type > 9)
        return;
    for (int64_t row = s.rowFirst; row <= s.rowLast; ++row) {
        for (int64_t col = s.colFirst; col <= s.colLast; ++col) {
            const float p = profile(type, col - s.cx, row - s.cy, s.r, radius, row, s.cy, col, s.cx);
            if (p >= 0.0f)
                fn(col, row, 0.0f, p);
        }
    }
}

} // namespace

void MP_UI_BrushPaintType(int type, int width, int height, int16_t* map, float x, float y, float radius,
                          float strength)
{
    if (type == 0) {
        const float B = radius > 0.0f ? strength / (radius * radius) : strength;
        forRegion(0, width, height, map, x, y, radius, [&](int64_t col, int64_t row, float qd, float) {
            int16_t* c = cell(map, width, col, row);
            const int v = MP_safeTrunc(qd * B * 32767.0f, -65535, 65535);
            *c = clampWeight(static_cast<int64_t>(*c) + v);
        });
        return;
    }
    forRegion(type, width, height, map, x, y, radius, [&](int64_t col, int64_t row, float, float p) {
        int16_t* c = cell(map, width, col, row);
        const int v = MP_safeTrunc(p * strength * 32767.0f, -65535, 65535);
        *c = clampWeight(static_cast<int64_t>(*c) + v);
    });
}

void MP_UI_BrushPaint(int width, int height, int16_t* map, float x, float y, float radius, float strength)
{
    MP_UI_BrushPaintType(MP_UI_GetBrushTypeMode(), width, height, map, x, y, radius, strength);
}

void MP_UI_BrushFlat(int width, int height, int16_t* map, float x, float y, float radius)
{
    int type = MP_UI_GetBrushTypeMode();
    if (type == 1 || type == 2)
        type = 2; // the whole square
    forRegion(type, width, height, map, x, y, radius,
              [&](int64_t col, int64_t row, float, float) { *cell(map, width, col, row) = 0; });
}

void MP_UI_BrushSmooth(int width, int height, int16_t* map, float x, float y, float radius)
{
    Stroke s;
    if (!strokeOf(width, height, map, x, y, radius, s) || s.r < 0)
        return;
    const int type = MP_UI_GetBrushTypeMode();
    const int64_t n64 = 2 * s.r + 70;
    if (n64 > 65535)
        return; // larger than any weight map a patch is meant for
    const int n = static_cast<int>(n64);
    std::unique_ptr<int16_t[]> patch(new (std::nothrow) int16_t[static_cast<size_t>(n) * static_cast<size_t>(n)]);
    if (!patch)
        return;
    const int64_t ox = s.cx - s.r - 35, oy = s.cy - s.r - 35;
    const bool wrap = MP_UI_GetPainterPanoramaMode() == 1;
    for (int i = 0; i < n; ++i) {
        const int64_t row = std::min<int64_t>(std::max<int64_t>(oy + i, 0), height - 1);
        for (int k = 0; k < n; ++k) {
            int64_t col = ox + k;
            if (wrap) {
                col %= width;
                if (col < 0)
                    col += width;
            } else {
                col = std::min<int64_t>(std::max<int64_t>(col, 0), width - 1);
            }
            patch[static_cast<size_t>(i) * n + k] = *cell(map, width, col, row);
        }
    }
    MP_Params p{};
    p.p[0][0] = 35.0f;
    p.p[1][0] = 1.0f;
    MP_BlurSignedShortBuffer(n, n, patch.get(), patch.get(), 2, 2, &p);
    auto blend = [&](int64_t col, int64_t row, float F) {
        if (col < 0 || col >= width || row < 0 || row >= height)
            return;
        const int64_t pi = row - oy, pk = col - ox;
        if (pi < 0 || pi >= n || pk < 0 || pk >= n)
            return;
        int16_t* c = cell(map, width, col, row);
        const float blurred = patch[static_cast<size_t>(pi) * n + static_cast<size_t>(pk)];
        *c = clampWeight(MP_safeTrunc(static_cast<float>(*c) * (1.0f - F) + blurred * F, -32767, 32767));
    };
    if (type == 0) {
        if (!(radius > 0.0f))
            return;
        const float r2 = radius * radius;
        for (int64_t row = s.cy - s.r; row <= s.cy + s.r - 1; ++row) {
            const int64_t dy = row - s.cy;
            int64_t q = 0;
            const int64_t hw = discHalfWidth(s.r, dy, &q);
            if (hw < 0)
                continue;
            for (int64_t col = s.cx - hw; col <= s.cx + hw - 1; ++col) {
                const int64_t dx = col - s.cx;
                blend(col, row, static_cast<float>(s.r * s.r - dy * dy - dx * dx) / r2);
            }
        }
        return;
    }
    // Type 3's profile already holds its factor 0.5; types 2, 6 and 7 blend by half.
    forRegion(type, width, height, map, x, y, radius, [&](int64_t col, int64_t row, float, float p) {
        float F = 0.5f * p;
        if (type == 3)
            F = p;
        else if (type == 2 || type == 6 || type == 7)
            F = 0.5f;
        blend(col, row, F);
    });
}

void MP_UI_BrushGenerateToBuffer(int width, int height, int red, int green, int blue)
{
    const int type = MP_UI_GetBrushTypeMode();
    if (MP_Brush_buffer && MP_Brush_type == type && MP_Brush_sx == width && MP_Brush_sy == height &&
        MP_Brush_red == red && MP_Brush_grn == green && MP_Brush_blu == blue)
        return;
    MP_UI_BrushReleaseBuffer();
    if (width <= 0 || height <= 0)
        return;
    auto* buf = static_cast<uint32_t*>(std::malloc(static_cast<size_t>(width) * static_cast<size_t>(height) * 4));
    if (!buf)
        return;
    MP_Brush_buffer = buf;
    MP_Brush_type = type;
    MP_Brush_sx = width;
    MP_Brush_sy = height;
    MP_Brush_red = red;
    MP_Brush_grn = green;
    MP_Brush_blu = blue;
    const uint32_t rgb = (static_cast<uint32_t>(red & 255) << 16) | (static_cast<uint32_t>(green & 255) << 8) |
                         static_cast<uint32_t>(blue & 255);
    auto px = [&](int alpha) { return (static_cast<uint32_t>(MP_iclamp(alpha, 0, 255)) << 24) | rgb; };
    if (type == 0) {
        const float half = static_cast<float>(width > height ? width : height) * 0.5f;
        const float A = half * half;
        for (int i = 0; i < height; ++i) {
            for (int k = 0; k < width; ++k) {
                const float dx = static_cast<float>(width) * 0.5f - static_cast<float>(k);
                const float dy = static_cast<float>(height) * 0.5f - static_cast<float>(i);
                const float D = dx * dx + dy * dy;
                uint32_t v = 0;
                if (D < A)
                    v = px(MP_imax(1, (255 - static_cast<int>(D / A * 255.0f)) >> 3));
                buf[static_cast<size_t>(i) * width + k] = v;
            }
        }
        return;
    }
    const int e = width >> 1, f = height >> 1;
    const float m = e > 0 ? static_cast<float>(e) : 1.0f;
    auto a = [&](int d) { return MP_safeTrunc((1.0f - static_cast<float>(d) / m) * 32.0f, 0, 255); };
    for (int i = 0; i < height; ++i) {
        for (int k = 0; k < width; ++k) {
            const int dk = std::abs(k - e), di = std::abs(i - f);
            int alpha = 0;
            switch (type) {
            case 1: alpha = a(MP_imax(dk, di)); break;
            case 2: alpha = 8; break;
            case 3: alpha = dk + di < e ? a(dk + di) : 0; break;
            case 4: alpha = (i >= height / 4 && i <= 3 * height / 4) ? a(MP_imax(dk, 2 * di)) : 0; break;
            case 5: alpha = (k >= width / 4 && k <= 3 * width / 4) ? a(MP_imax(2 * dk, di)) : 0; break;
            case 6:
                alpha = (i >= height / 4 && i < 3 * height / 4 && k >= e - (i - height / 4) && k <= e + (i - height / 4)) ? 8 : 0;
                break;
            case 7:
                alpha = (i >= height / 4 && i < 3 * height / 4 && k >= e + i - 3 * height / 4 && k <= e + 3 * height / 4 - i) ? 8 : 0;
                break;
            case 8: alpha = (i >= 7 * height / 16 && i <= 9 * height / 16) ? a(MP_imax(dk, 8 * di)) : 0; break;
            case 9: alpha = (k >= 7 * width / 16 && k <= 9 * width / 16) ? a(MP_imax(8 * dk, di)) : 0; break;
            default: alpha = 0; break;
            }
            buf[static_cast<size_t>(i) * width + k] = px(alpha);
        }
    }
}

void MP_paintCircle(int dash, int width, int height, uint16_t* rgb48, int red, int green, float x, float y,
                    float radius, int blue)
{
    if (!rgb48 || width <= 0 || height <= 0)
        return;
    const float s = static_cast<float>(width < height ? width : height);
    const float twoPi = 6.28318548f;
    const float m = twoPi * radius * s * 0.5f + 1.0f;
    const float R = s * 0.5f * radius;
    const float fx = static_cast<float>(width) * x, fy = static_cast<float>(height) * y;
    const int steps = MP_safeTrunc(m, 0, 1 << 24);
    const int d = dash > 1 ? dash : 1;
    const uint16_t cr = static_cast<uint16_t>(red << 8), cg = static_cast<uint16_t>((green & 255) << 8),
                   cb = static_cast<uint16_t>((blue & 255) << 8);
    for (int i = 0; i < steps; ++i) {
        if (i % d > (d >> 1))
            continue;
        const float a = twoPi * static_cast<float>(i) / m;
        const float px = std::sin(a) * R + fx;
        const float py = std::cos(a) * R + fy;
        if (!(px > -1.0f && px < static_cast<float>(width) && py > -1.0f && py < static_cast<float>(height)))
            continue;
        uint16_t* p = rgb48 + (static_cast<size_t>(static_cast<int>(py)) * static_cast<size_t>(width) +
                               static_cast<size_t>(static_cast<int>(px))) * 3;
        p[0] = cr;
        p[1] = cg;
        p[2] = cb;
    }
}
