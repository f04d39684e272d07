#include "engine/draw/painters.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/settings.h"
#include "engine/hdr/sigmoid.h"

#include <cmath>
#include <vector>

namespace {

constexpr uint32_t kDark = 0xFF2E2E2Eu;

inline uint32_t argbBytes(int r, int g, int b)
{
    return 0xFF000000u | (static_cast<uint32_t>(r & 255) << 16) | (static_cast<uint32_t>(g & 255) << 8) |
           static_cast<uint32_t>(b & 255);
}

inline uint32_t grey(int g) { return static_cast<uint32_t>(g) * 0x010101u + 0xFF000000u; }

inline int byteOf(float c) { return static_cast<int>(c * 255.0f); }

inline uint32_t* rowOf(uint32_t* argb, int pitch, int y) { return argb + static_cast<size_t>(y) * pitch; }
inline uint16_t* rowOf(uint16_t* buf, int pitch, int y) { return buf + static_cast<size_t>(y) * pitch * 3; }

void fill(uint32_t* argb, int width, int height, int pitch, uint32_t colour)
{
    for (int y = 0; y < height; ++y) {
        uint32_t* row = rowOf(argb, pitch, y);
        for (int x = 0; x < width; ++x)
            row[x] = colour;
    }
}

// Hue tables of the style colour selector, in 1/256 units, at sixths of the width.
constexpr float kHueR[7] = {100, 100, 54, 54, 54, 100, 100};
constexpr float kHueG[7] = {54, 100, 100, 100, 54, 54, 54};
constexpr float kHueB[7] = {54, 54, 54, 100, 100, 100, 54};

inline float hueChannel(const float* t, int k, float f, float v, bool bright)
{
    float c = (t[k] * (1.0f - f) + t[k + 1] * f) / 256.0f * (1.0f - v) + 0.4f * v;
    if (bright)
        c *= 1.9f;
    return c;
}

// Selector colour at column fraction u (0..1) and row fraction v.
void selectorColour(float u, float v, bool bright, float& r, float& g, float& b)
{
    const float u6 = u * 6.0f;
    int k = static_cast<int>(u6);
    k = k < 0 ? 0 : (k > 5 ? 5 : k);
    const float f = u6 - static_cast<float>(k);
    r = hueChannel(kHueR, k, f, v, bright);
    g = hueChannel(kHueG, k, f, v, bright);
    b = hueChannel(kHueB, k, f, v, bright);
}

// Every pixel of the colour circle: the colour at its position (column and
// row as fractions of the size), turned into a pixel by `toPixel`.
template <typename ToPixel>
void paintCircle(uint32_t* argb, int width, int height, int pitch, ToPixel toPixel)
{
    for (int i = 0; i < height; ++i) {
        uint32_t* row = rowOf(argb, pitch, i);
        for (int j = 0; j < width; ++j) {
            float r, g, b;
            MP_UI_PostoRGB(&r, &g, &b, static_cast<float>(j) / static_cast<float>(width),
                           static_cast<float>(i) / static_cast<float>(height));
            row[j] = toPixel(r, g, b);
        }
    }
}

// Column or row of a marker at fraction f of n pixels; far outside (or NaN)
// maps to a position that no marker pixel can reach.
inline int markerPos(float f, int n) { return MP_safeTrunc(f * static_cast<float>(n), -8, n + 8); }

} // namespace

// ---- colour circle -------------------------------------------------------------------

void MP_UI_PostoRGB(float* r, float* g, float* b, float px, float py)
{
    const float x = (px - 0.5f) * 2.0f;
    const float y = (py - 0.5f) * 2.0f;
    const float S = std::sqrt(x * x + y * y);
    const float V = 1.0f - S;
    float cr = 0.0f, cg = 0.0f, cb = 0.0f;
    if (S == 0.0f) {
        cr = cg = cb = V;
    } else if (S <= 1.0f) {
        float H = std::atan2(y, x) * 180.0f / 3.1415927f + 90.0f;
        if (H < 0.0f)
            H += 360.0f;
        if (H >= 360.0f)
            H -= 360.0f;
        const float h6 = H / 60.0f;
        int i = static_cast<int>(std::floor(h6));
        float f = h6 - static_cast<float>(i);
        if (i >= 6) {
            i = 0;
            f = h6 - 6.0f;
        }
        const float p = V * (1.0f - S);
        const float q = V * (1.0f - S * f);
        const float t = V * (1.0f - S * (1.0f - f));
        switch (i) {
        case 0: cr = V; cg = t; cb = p; break;
        case 1: cr = q; cg = V; cb = p; break;
        case 2: cr = p; cg = V; cb = t; break;
        case 3: cr = p; cg = q; cb = V; break;
        case 4: cr = t; cg = p; cb = V; break;
        default: cr = V; cg = p; cb = q; break;
        }
    }
    if (r)
        *r = cr;
    if (g)
        *g = cg;
    if (b)
        *b = cb;
}

void MP_UI_RGBtoPos(float* px, float* py, float r, float g, float b)
{
    float best = 1e8f;
    float bx = 0.5f, by = 0.5f;
    auto tryAt = [&](int a, int c) {
        const float x = static_cast<float>(a) / 256.0f;
        const float y = static_cast<float>(c) / 256.0f;
        float cr, cg, cb;
        MP_UI_PostoRGB(&cr, &cg, &cb, x, y);
        const float d = (cr - r) * (cr - r) + (cg - g) * (cg - g) + (cb - b) * (cb - b);
        if (d < best) {
            best = d;
            bx = x;
            by = y;
        }
    };
    for (int c = 0; c <= 252; c += 4)
        for (int a = 0; a <= 252; a += 4)
            tryAt(a, c);
    const int ca = static_cast<int>(bx * 256.0f);
    const int cc = static_cast<int>(by * 256.0f);
    for (int c = MP_imax(0, cc - 4); c <= MP_imin(255, cc + 4); ++c)
        for (int a = MP_imax(0, ca - 4); a <= MP_imin(255, ca + 4); ++a)
            tryAt(a, c);
    if (px)
        *px = bx;
    if (py)
        *py = by;
}

int MP_UI_argb_paintColorCircle(uint32_t* argb, int width, int height, int pitch)
{
    if (!argb)
        return -2;
    paintCircle(argb, width, height, pitch,
                [](float r, float g, float b) { return argbBytes(byteOf(r), byteOf(g), byteOf(b)); });
    return 0;
}

int MP_UI_argb_paintColorCircleGreyscale(uint32_t* argb, int width, int height, int pitch, float weightR,
                                         float weightG, float weightB)
{
    if (!argb)
        return -2;
    paintCircle(argb, width, height, pitch, [=](float r, float g, float b) {
        // Weights that do not sum to 1 could push the grey past a byte.
        return grey(MP_safeTrunc((weightR * r + weightG * g + weightB * b) * 255.0f, 0, 255));
    });
    return 0;
}

// ---- style colour selector -----------------------------------------------------------

int MP_UI_paintStyleColorSelect(uint32_t* argb, int width, int height, int pitch, int bright, float fx, float fy)
{
    if (!argb || width <= 0 || height <= 0)
        return 0x5F5F5F;
    // The selector colour splits into a hue blend per column and a fade per
    // row; both are computed once, in the order of selectorColour, so every
    // pixel gets the same bits at a fraction of the cost (the field is
    // repainted on every mouse move).
    std::vector<float> hue(static_cast<size_t>(width) * 3);
    float* hr = hue.data();
    float* hg = hr + width;
    float* hb = hg + width;
    for (int c = 0; c < width; ++c) {
        const float u6 = static_cast<float>(c) / static_cast<float>(width) * 6.0f;
        int k = static_cast<int>(u6);
        k = k < 0 ? 0 : (k > 5 ? 5 : k);
        const float f = u6 - static_cast<float>(k);
        hr[c] = (kHueR[k] * (1.0f - f) + kHueR[k + 1] * f) / 256.0f;
        hg[c] = (kHueG[k] * (1.0f - f) + kHueG[k + 1] * f) / 256.0f;
        hb[c] = (kHueB[k] * (1.0f - f) + kHueB[k + 1] * f) / 256.0f;
    }
    const float gain = bright ? 1.9f : 1.0f; // times 1 leaves every bit as it is
    for (int r = 0; r < height; ++r) {
        uint32_t* row = rowOf(argb, pitch, r);
        const float v = static_cast<float>(r) / static_cast<float>(height);
        const float keep = 1.0f - v;
        const float grey = 0.4f * v;
        for (int c = 0; c < width; ++c) {
            const float cr = (hr[c] * keep + grey) * gain;
            const float cg = (hg[c] * keep + grey) * gain;
            const float cb = (hb[c] * keep + grey) * gain;
            row[c] = argbBytes(byteOf(cr), byteOf(cg), byteOf(cb));
        }
    }
    const int mx = markerPos(fx, width);
    const int my = markerPos(fy, height);
    int result = 0x5F5F5F;
    if (mx >= 0 && mx < width && my >= 0 && my < height)
        result = static_cast<int>(rowOf(argb, pitch, my)[mx] & 0xFFFFFFu);
    // The 7 x 7 marker: a dark ring around a light core.
    for (int dr = -3; dr <= 3; ++dr) {
        const int r = my + dr;
        if (r < 0 || r >= height)
            continue;
        uint32_t* row = rowOf(argb, pitch, r);
        for (int dc = -3; dc <= 3; ++dc) {
            const int c = mx + dc;
            if (c >= 0 && c < width)
                row[c] = (dc == -3 || dc == 3 || dr == -3 || dr == 3) ? 0xFF191919u : 0xFFE5E5E5u;
        }
    }
    return result;
}

void MP_UI_getStyleColorSelectPos(int width, int height, int colour, int bright, float* fx, float* fy)
{
    if (!fx || !fy)
        return;
    const float tr = static_cast<float>((colour >> 16) & 255) / 256.0f;
    const float tg = static_cast<float>((colour >> 8) & 255) / 256.0f;
    const float tb = static_cast<float>(colour & 255) / 256.0f;
    float best = 100.0f;
    float bx = 0.5f, by = 0.5f;
    for (int r = 0; r < height; ++r) {
        const float v = static_cast<float>(r) / static_cast<float>(height);
        for (int c = 0; c < width; ++c) {
            const float u = static_cast<float>(c) / static_cast<float>(width);
            float cr, cg, cb;
            selectorColour(u, v, bright != 0, cr, cg, cb);
            const float d = std::fabs(cr - tr) + std::fabs(cg - tg) + std::fabs(cb - tb);
            if (d < best) {
                best = d;
                bx = u;
                by = v;
            }
        }
    }
    *fx = bx;
    *fy = by;
}

// ---- curves and kernels -----------------------------------------------------------------

int MP_UI_argb_paintHDRsigmoidCurve(uint32_t* argb, int width, int height, int pitch, float x)
{
    if (!argb)
        return -2;
    float k, s, lo, hi;
    MP_calcHDRSigmoidCoefficients(&k, &s, &lo, &hi, x);
    fill(argb, width, height, pitch, 0xFF000000u | static_cast<uint32_t>(MP_UI_GetBackgroundColor()));
    if (width <= 0 || height <= 0)
        return 0;
    for (int i = 0; i <= 4; ++i) {
        const int gy = static_cast<int>(static_cast<float>(height - 1) -
                                        static_cast<float>(i) * static_cast<float>(height - 1) * 0.25f);
        const int gx = static_cast<int>(static_cast<float>(i) * static_cast<float>(width - 1) * 0.25f);
        if (gy >= 0 && gy < height)
            for (int c = 0; c < width; c += 2)
                rowOf(argb, pitch, gy)[c] = 0xFF808080u;
        if (gx >= 0 && gx < width)
            for (int r = 0; r < height; r += 2)
                rowOf(argb, pitch, r)[gx] = 0xFF808080u;
    }
    for (int j = 0; j < width; ++j) {
        // A picture one column wide shows the start of the curve.
        const float u = width > 1 ? static_cast<float>(j) / static_cast<float>(width - 1) : 0.0f;
        const float t = u * 10.0f - 5.0f;
        const float y = 1.0f / (s * std::exp(-k * t) + 1.0f);
        const int top = height - MP_safeTrunc((y - lo) / (hi - lo) * static_cast<float>(height), 0, height);
        const uint32_t g = grey(static_cast<int>(static_cast<float>(j) / static_cast<float>(width) * 255.0f));
        for (int r = top; r < height; ++r)
            rowOf(argb, pitch, r)[j] = g;
    }
    return 0;
}

namespace {

// First row of column i of the latitude painter.
inline int latitudeTop(int i, int width, int height, float exponent)
{
    const float a = std::pow(static_cast<float>(i) / static_cast<float>(width), exponent);
    return MP_safeTrunc((1.0f - a) * static_cast<float>(height), 0, height);
}

// Half width of row i of the superquadric kernel.
inline int superquadricHalf(int i, int width, int height, float n)
{
    const int h2 = height / 2;
    const double q = h2 > 0 ? std::fabs(static_cast<double>(i - h2)) / static_cast<double>(h2) : 0.0;
    const double e = std::pow(1.0 - std::pow(q, 2.0 / static_cast<double>(n)), static_cast<double>(n) / 2.0);
    const double half = 0.5 * static_cast<double>(width) * e;
    if (!(half >= 0.0))
        return 0;
    return half >= static_cast<double>(width) ? width : static_cast<int>(half);
}

} // namespace

int MP_UI_argb_paintOptimizeLatitudeExponent(uint32_t* argb, int width, int height, int pitch, float exponent)
{
    if (!argb)
        return -2;
    fill(argb, width, height, pitch, kDark);
    for (int i = 0; i < width; ++i) {
        const uint32_t g = grey(static_cast<int>(static_cast<float>(i) / static_cast<float>(width) * 255.0f));
        for (int r = latitudeTop(i, width, height, exponent); r < height; ++r)
            rowOf(argb, pitch, r)[i] = g;
    }
    return 0;
}

int MP_UI_paintOptimizeLatitudeExponent(uint16_t* buf, int width, int height, int pitch, float exponent)
{
    if (!buf)
        return -2;
    for (int i = 0; i < width; ++i) {
        const uint16_t g = static_cast<uint16_t>(static_cast<float>(i) / static_cast<float>(width) * 65535.0f);
        for (int r = latitudeTop(i, width, height, exponent); r < height; ++r) {
            uint16_t* p = rowOf(buf, pitch, r) + static_cast<size_t>(i) * 3;
            p[0] = p[1] = p[2] = g;
        }
    }
    return 0;
}

int MP_UI_argb_paintSuperquadricKernel(uint32_t* argb, int width, int height, int pitch, float n)
{
    if (!argb)
        return -2;
    fill(argb, width, height, pitch, kDark);
    const int w2 = width / 2;
    const int h2 = height / 2;
    for (int i = 0; i < height; ++i) {
        const int half = superquadricHalf(i, width, height, n);
        uint32_t* row = rowOf(argb, pitch, i);
        for (int c = MP_imax(0, w2 - half); c < MP_imin(width, w2 + half); ++c)
            row[c] = 0xFFFFFFFFu;
        if (w2 < width)
            row[w2] = 0xFFFFFFFFu;
    }
    if (h2 < height)
        for (int c = 0; c <= width - 2; ++c)
            rowOf(argb, pitch, h2)[c] = 0xFFFFFFFFu;
    return 0;
}

int MP_UI_paintSuperquadricKernel(uint16_t* buf, int width, int height, int pitch, float n)
{
    if (!buf)
        return -2;
    const int w2 = width / 2;
    for (int i = 0; i < height; ++i) {
        const int half = superquadricHalf(i, width, height, n);
        uint16_t* row = rowOf(buf, pitch, i);
        for (int c = MP_imax(0, w2 - half); c < MP_imin(width, w2 + half); ++c)
            row[c * 3] = row[c * 3 + 1] = row[c * 3 + 2] = 0xFFFF;
    }
    return 0;
}
