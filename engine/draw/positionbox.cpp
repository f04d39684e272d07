#include "engine/draw/painters.h"

#include "engine/core/luminance.h"
#include "engine/core/mathfuncs.h"
#include "engine/draw/pictures.h"
#include "engine/draw/primitives.h"
#include "engine/draw/services.h"
#include "engine/views/zoom.h"

#include <climits>
#include <cmath>
#include <memory>
#include <new>

namespace {

constexpr int kGuide = 52000; // curve, spline and guide lines

struct Box {
    uint16_t* buf;
    int w, h;
};

inline int posTrunc(float v) { return MP_safeTrunc(v, INT_MIN / 2, INT_MAX / 2); }

void crossHair(const Box& b, float x, float y)
{
    MP_lineToBuffer(b.buf, b.w, b.h, 0xFFFF, 0xFFFF, 0xFFFF, x, y - 8.0f, x, y + 8.0f);
    MP_lineToBuffer(b.buf, b.w, b.h, 0xFFFF, 0xFFFF, 0xFFFF, x - 8.0f, y, x + 8.0f, y);
}

void marker(const Box& b, float x, float y) { MP_paintPoint(posTrunc(x), posTrunc(y), b.w, b.h, b.w, 4, b.buf); }

void picture(const Box& b, const uint16_t* pic, int size)
{
    const float s = static_cast<float>(size);
    MP_UI_zoomPreviewPicture(pic, b.buf, 0, 0, 0, 0, static_cast<float>(b.w), static_cast<float>(b.h),
                             static_cast<float>(b.w), s, s, 0.0f, 0.0f, s, s);
}

void directionRose(const Box& b, float x, float y)
{
    for (int i = 0; i < 64; ++i) {
        const float a = static_cast<float>(i) * 3.1415927f / 32.0f;
        MP_lineToBuffer(b.buf, b.w, b.h, 0, 0, 0, x + static_cast<float>(static_cast<int>(9.0f * std::sin(a))),
                        y + static_cast<float>(static_cast<int>(9.0f * std::cos(a))), x, y);
    }
    for (int i = 0; i < 16; ++i) {
        const float a = static_cast<float>(i) * 3.1415927f / 8.0f;
        MP_lineToBuffer(b.buf, b.w, b.h, 0xFFFF, 0xFFFF, 0, x + static_cast<float>(static_cast<int>(9.0f * std::sin(a))),
                        y + static_cast<float>(static_cast<int>(9.0f * std::cos(a))), x, y);
    }
}

void pointMode(const Box& b, const float* v, int type)
{
    MP_UI_paintGrid(b.buf, b.w, b.h, b.w, 4);
    const float x = v[0] * static_cast<float>(b.w);
    const float y = v[1] * static_cast<float>(b.h);
    switch (type) {
    case 0:
        break;
    case 1:
        directionRose(b, x, y);
        return;
    case 2:
        picture(b, MP_pic_mandelbrot, MP_PIC_MANDELBROT_SIZE);
        break;
    case 3:
        MP_lineToBuffer3x3(b.buf, b.w, b.h, kGuide, kGuide, kGuide, 0.0f, y, static_cast<float>(b.w), y);
        break;
    default:
        return;
    }
    crossHair(b, x, y);
    marker(b, x, y);
}

void lineMode(const Box& b, const float* v)
{
    MP_UI_paintGrid(b.buf, b.w, b.h, b.w, 4);
    const float x0 = v[0] * static_cast<float>(b.w), y0 = v[1] * static_cast<float>(b.h);
    const float x1 = v[2] * static_cast<float>(b.w), y1 = v[3] * static_cast<float>(b.h);
    const float dx = x1 - x0, dy = y1 - y0;
    const float len = std::sqrt(dx * dx + dy * dy);
    // Two coinciding points have no direction: only their markers.
    if (len > 0.0f && std::isfinite(len)) {
        const float ux = dx / len * 1000.0f, uy = dy / len * 1000.0f;
        MP_lineToBuffer3x3(b.buf, b.w, b.h, kGuide, kGuide, kGuide, x0 - ux, y0 - uy, x1 + ux, y1 + uy);
    }
    marker(b, x0, y0);
    marker(b, x1, y1);
}

void threePointMode(const Box& b, const float* v)
{
    float x[3], y[3];
    for (int i = 0; i < 3; ++i) {
        x[i] = v[2 * i] * static_cast<float>(b.w);
        y[i] = v[2 * i + 1] * static_cast<float>(b.h);
    }
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        MP_lineToBuffer(b.buf, b.w, b.h, kGuide, kGuide, kGuide, x[i], y[i], x[j], y[j]);
    }
    for (int i = 0; i < 3; ++i)
        marker(b, x[i], y[i]);
}

void splineMode(const Box& b, const float* v)
{
    float table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = MP_cubicSpline(1, static_cast<float>(i) / 255.0f, v[0], v[2], v[4], v[6], v[8], v[10], v[1], v[3],
                                  v[5], v[7], v[9], v[11]);
    float wr, wg, wb;
    MP_UI_GetLuminanzConvRGB(&wr, &wg, &wb);
    const int64_t ir = static_cast<int>(wr * 16384.0f);
    const int64_t ig = static_cast<int>(wg * 16384.0f);
    const int64_t ib = static_cast<int>(wb * 16384.0f);
    const size_t n = static_cast<size_t>(b.w) * b.h;
    for (size_t i = 0; i < n; ++i) {
        uint16_t* p = b.buf + i * 3;
        const int64_t idx = (ir * p[0] + ig * p[1] + ib * p[2]) >> 22;
        const float t = table[idx < 0 ? 0 : (idx > 255 ? 255 : idx)];
        const uint16_t g = static_cast<uint16_t>(MP_safeTrunc(t * 32767.0f, 0, 65535));
        p[0] = p[1] = p[2] = g;
    }
    MP_UI_paintGradationsSpline(b.buf, b.w, b.h, b.w, v);
}

void colourMode(const Box& b, const float* v)
{
    picture(b, MP_pic_colorcicle, MP_PIC_COLORCIRCLE_SIZE);
    const int r = MP_safeTrunc(v[2] * 65535.0f, 0, 65535);
    const int g = MP_safeTrunc(v[3] * 65535.0f, 0, 65535);
    const int bl = MP_safeTrunc(v[4] * 65535.0f, 0, 65535);
    const int corners[4][2] = {{0, 0}, {b.w, 0}, {0, b.h}, {b.w, b.h}};
    for (const auto& c : corners)
        for (int dy = -30; dy <= 30; ++dy)
            for (int dx = -30 + (dy < 0 ? -dy : dy); dx <= 30 - (dy < 0 ? -dy : dy); ++dx)
                MP_paintPixel(c[0] + dx, c[1] + dy, b.w, b.h, b.w, b.buf, r, g, bl);
    const float x = v[0] * static_cast<float>(b.w);
    const float y = v[1] * static_cast<float>(b.h);
    crossHair(b, x, y);
    marker(b, x, y);
}

} // namespace

int MP_UI_positionBox(int photoWidth, int photoHeight, const uint16_t* photo, int boxWidth, int boxHeight,
                      uint32_t* out, const float* values, int fillRed, int fillGreen, int fillBlue, int fill,
                      int showPhoto, int pointMode_, int lineMode_, int threePointMode_, int splineMode_,
                      int colourMode_, int positionType)
{
    if (!out || boxWidth <= 0 || boxHeight <= 0)
        return -2;
    const bool needsValues = pointMode_ || lineMode_ || threePointMode_ || splineMode_ || colourMode_;
    if (needsValues && !values)
        return -2;
    const size_t pixels = static_cast<size_t>(boxWidth) * static_cast<size_t>(boxHeight);
    std::unique_ptr<uint16_t[]> scratch(new (std::nothrow) uint16_t[pixels * 3]());
    if (!scratch)
        return -2;
    const Box b{scratch.get(), boxWidth, boxHeight};

    if (fill) {
        for (size_t i = 0; i < pixels; ++i) {
            b.buf[i * 3] = static_cast<uint16_t>(fillRed);
            b.buf[i * 3 + 1] = static_cast<uint16_t>(fillGreen);
            b.buf[i * 3 + 2] = static_cast<uint16_t>(fillBlue);
        }
    }
    if (showPhoto && photo)
        MP_UI_zoomPreviewPicture(photo, b.buf, 0, 0, 0, 0, static_cast<float>(boxWidth), static_cast<float>(boxHeight),
                                 static_cast<float>(boxWidth), static_cast<float>(photoWidth),
                                 static_cast<float>(photoHeight), 0.0f, 0.0f, static_cast<float>(photoWidth),
                                 static_cast<float>(photoHeight));
    if (pointMode_)
        pointMode(b, values, positionType);
    if (lineMode_)
        lineMode(b, values);
    if (threePointMode_)
        threePointMode(b, values);
    if (splineMode_)
        splineMode(b, values);
    if (colourMode_)
        colourMode(b, values);

    for (size_t i = 0; i < pixels; ++i) {
        const uint16_t* p = b.buf + i * 3;
        out[i] = 0xFF000000u | (static_cast<uint32_t>(p[0] & 0xFF00) << 8) | static_cast<uint32_t>(p[1] & 0xFF00) |
                 static_cast<uint32_t>(p[2] >> 8);
    }
    return 0;
}
