// Painters of custom controls: colour circle, style colour selector, curves,
// kernels, the engine's pictures and the position box.

#include "enginefixture.h"

#include "engine/draw/services.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | r << 16 | g << 8 | b; }

struct Pic {
    int w, h;
    std::vector<uint32_t> px;
    Pic(int w_, int h_) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, 0) {}
    uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

void posToRgb(float x, float y, float out[3]) { MP_UI_PostoRGB(&out[0], &out[1], &out[2], x, y); }

} // namespace

class DrawPaintersTest : public EngineTest {};

TEST_F(DrawPaintersTest, ColourCirclePositions)
{
    struct Case {
        float x, y;
        float r, g, b;
    };
    const Case cases[] = {
        {0.5f, 0.5f, 1, 1, 1},           // centre: white
        {0.5f, 0.0f, 0, 0, 0},           // top, on the rim: black
        {0.5f, 0.25f, 0.5f, 0.25f, 0.25f}, // hue 0 (red at the top), S = V = 0.5
        {0.75f, 0.5f, 0.375f, 0.5f, 0.25f}, // hue 90, clockwise
        {0.0f, 0.0f, 0, 0, 0},           // corners lie outside
        {1.0f, 1.0f, 0, 0, 0},
        {0.0f, 1.0f, 0, 0, 0},
    };
    for (const Case& c : cases) {
        float o[3];
        posToRgb(c.x, c.y, o);
        EXPECT_NEAR(o[0], c.r, 1e-5f) << c.x << "," << c.y;
        EXPECT_NEAR(o[1], c.g, 1e-5f) << c.x << "," << c.y;
        EXPECT_NEAR(o[2], c.b, 1e-5f) << c.x << "," << c.y;
    }
    float o[3] = {7, 7, 7};
    posToRgb(std::nanf(""), 0.5f, o);
    EXPECT_EQ(o[0] + o[1] + o[2], 0.0f);
    MP_UI_PostoRGB(nullptr, nullptr, nullptr, 0.3f, 0.3f); // must not crash
}

TEST_F(DrawPaintersTest, ColourToPositionFindsTheColourAgain)
{
    for (int a : {40, 100, 128, 200}) {
        for (int b : {60, 128, 188}) { // positions of the coarse grid
            float target[3];
            posToRgb(a / 256.0f, b / 256.0f, target);
            float x = -1, y = -1;
            MP_UI_RGBtoPos(&x, &y, target[0], target[1], target[2]);
            float found[3];
            posToRgb(x, y, found);
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(found[k], target[k], 1e-6f) << a << "," << b;
        }
    }
    float x = 0;
    MP_UI_RGBtoPos(&x, nullptr, 1, 1, 1);
    EXPECT_NEAR(x, 0.5f, 1e-6f);
}

TEST_F(DrawPaintersTest, ColourCirclePainters)
{
    Pic p(40, 40);
    EXPECT_EQ(MP_UI_argb_paintColorCircle(p.px.data(), 40, 40, 40), 0);
    EXPECT_EQ(p.at(20, 20), rgb(255, 255, 255));
    EXPECT_EQ(p.at(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(p.at(20, 10), rgb(127, 63, 63));

    Pic g(40, 40);
    EXPECT_EQ(MP_UI_argb_paintColorCircleGreyscale(g.px.data(), 40, 40, 40, 0.3333f, 0.3334f, 0.3333f), 0);
    EXPECT_EQ(g.at(20, 10), rgb(84, 84, 84)); // 0.333325 * 255
    // Weights summing past 1 used to overflow the grey into the other
    // channels and the alpha; the grey is kept within a byte.
    EXPECT_EQ(MP_UI_argb_paintColorCircleGreyscale(g.px.data(), 40, 40, 40, 2, 2, 2), 0);
    EXPECT_EQ(g.at(20, 20), 0xFFFFFFFFu);
    EXPECT_EQ(MP_UI_argb_paintColorCircle(nullptr, 40, 40, 40), -2);
    EXPECT_EQ(MP_UI_argb_paintColorCircleGreyscale(nullptr, 40, 40, 40, 1, 0, 0), -2);
}

TEST_F(DrawPaintersTest, ColourCirclePictureOfTheEngine)
{
    MP_UI_buildColorCirclePicture();
    auto at = [](int x, int y, int k) { return MP_pic_colorcicle[(y * 80 + x) * 3 + k]; };
    EXPECT_EQ(at(40, 40, 0), 65535);
    EXPECT_EQ(at(0, 0, 1), 0);
    EXPECT_EQ(at(40, 20, 0), 32767);
    EXPECT_EQ(at(40, 20, 1), 16383);
}

TEST_F(DrawPaintersTest, StyleColourSelector)
{
    Pic p(350, 150);
    // Top-left: the first hue (100, 54, 54)/256 -> bytes 99, 53, 53.
    EXPECT_EQ(MP_UI_paintStyleColorSelect(p.px.data(), 350, 150, 350, 0, 0.0f, 0.0f), 0x633535);
    EXPECT_EQ(p.at(0, 0), 0xFFE5E5E5u); // inside of the marker
    EXPECT_EQ(p.at(3, 0), 0xFF191919u); // its ring
    // Bottom rows fade towards grey 0.4 (0.76 bright).
    MP_UI_paintStyleColorSelect(p.px.data(), 350, 150, 350, 0, 0.5f, 0.5f);
    const uint32_t bottom = p.at(100, 149);
    EXPECT_NEAR(static_cast<int>(bottom >> 16 & 255), 102, 2);
    MP_UI_paintStyleColorSelect(p.px.data(), 350, 150, 350, 1, 0.5f, 0.5f);
    EXPECT_NEAR(static_cast<int>(p.at(100, 149) >> 8 & 255), 194, 2);
    // A marker outside the picture or no buffer: 0x5F5F5F.
    EXPECT_EQ(MP_UI_paintStyleColorSelect(p.px.data(), 350, 150, 350, 0, 0.5f, 1.0f), 0x5F5F5F);
    EXPECT_EQ(MP_UI_paintStyleColorSelect(p.px.data(), 350, 150, 350, 0, std::nanf(""), 0.5f), 0x5F5F5F);
    EXPECT_EQ(MP_UI_paintStyleColorSelect(nullptr, 350, 150, 350, 0, 0.5f, 0.5f), 0x5F5F5F);
}

TEST_F(DrawPaintersTest, StyleColourSelectorMatchesTheFieldFormulaAtEveryPixel)
{
    // The field colour written out pixel by pixel: the hue position of the
    // column blends two of the seven key colours, the row fades to grey 0.4.
    const float keys[7][3] = {{100, 54, 54}, {100, 100, 54}, {54, 100, 54}, {54, 100, 100},
                              {54, 54, 100}, {100, 54, 100}, {100, 54, 54}};
    for (int bright = 0; bright <= 1; ++bright) {
        for (const auto [w, h] : {std::pair{350, 150}, std::pair{37, 11}}) {
            Pic p(w, h);
            MP_UI_paintStyleColorSelect(p.px.data(), w, h, w, bright, -1.0f, -1.0f); // marker outside
            int wrong = 0;
            for (int j = 0; j < h; ++j) {
                for (int l = 0; l < w; ++l) {
                    const float u = static_cast<float>(l) / static_cast<float>(w) * 6.0f;
                    const int k = std::min(5, static_cast<int>(u));
                    const float f = u - static_cast<float>(k);
                    const float v = static_cast<float>(j) / static_cast<float>(h);
                    uint32_t expected = 0xFF000000u;
                    for (int ch = 0; ch < 3; ++ch) {
                        float c = (keys[k][ch] * (1.0f - f) + keys[k + 1][ch] * f) / 256.0f * (1.0f - v) + 0.4f * v;
                        if (bright)
                            c *= 1.9f;
                        expected |= static_cast<uint32_t>(static_cast<int>(c * 255.0f) & 255) << (16 - 8 * ch);
                    }
                    wrong += p.at(l, j) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << w << " x " << h << " bright " << bright;
        }
    }
}

TEST_F(DrawPaintersTest, StyleColourPositionIsTheNearestCell)
{
    // A colour the selector paints is found again near its position.
    Pic p(400, 100);
    const int colour = MP_UI_paintStyleColorSelect(p.px.data(), 400, 100, 400, 0, 0.3f, 0.4f);
    float fx = -1, fy = -1;
    MP_UI_getStyleColorSelectPos(400, 100, colour, 0, &fx, &fy);
    Pic q(400, 100);
    const int again = MP_UI_paintStyleColorSelect(q.px.data(), 400, 100, 400, 0, fx, fy);
    for (int shift : {16, 8, 0})
        EXPECT_NEAR((again >> shift) & 255, (colour >> shift) & 255, 2);
    // Every distance stays below the start value 100, so the start position
    // (0.5, 0.5) stands only for an empty grid.
    MP_UI_getStyleColorSelectPos(0, 0, 0x0000FF, 0, &fx, &fy);
    EXPECT_EQ(fx, 0.5f);
    EXPECT_EQ(fy, 0.5f);
    fx = 9;
    MP_UI_getStyleColorSelectPos(400, 100, colour, 0, &fx, nullptr);
    EXPECT_EQ(fx, 9.0f);
}

TEST_F(DrawPaintersTest, SigmoidCoefficients)
{
    float k, q, lo, hi;
    MP_calcHDRSigmoidCoefficients(&k, &q, &lo, &hi, 0.5f);
    EXPECT_FLOAT_EQ(k, 0.1f);
    EXPECT_FLOAT_EQ(q, 0.871f);
    EXPECT_FLOAT_EQ(lo, 1.0f / (0.871f * std::exp(0.5f) + 1.0f));
    EXPECT_FLOAT_EQ(hi, 1.0f / (0.871f * std::exp(-0.5f) + 1.0f));
    MP_calcHDRSigmoidCoefficients(&k, &q, &lo, &hi, 1.0f);
    EXPECT_FLOAT_EQ(k, 0.8f);
    EXPECT_NEAR(q, 0.01f, 1e-6f);
    // The curve runs from 0 at t = 0 to 1 at t = 1.
    for (float s : {0.0f, 0.3f, 0.9f}) {
        MP_calcHDRSigmoidCoefficients(&k, &q, &lo, &hi, s);
        auto curve = [&](float t) { return (1.0f / (q * std::exp(-k * (10.0f * t - 5.0f)) + 1.0f) - lo) / (hi - lo); };
        EXPECT_NEAR(curve(0.0f), 0.0f, 1e-5f);
        EXPECT_NEAR(curve(1.0f), 1.0f, 1e-5f);
    }
    MP_calcHDRSigmoidCoefficients(nullptr, nullptr, nullptr, nullptr, 0.5f); // must not crash
}

TEST_F(DrawPaintersTest, SigmoidCurvePicture)
{
    MP_UI_SetBackgroundColor(0x102030);
    Pic p(255, 150);
    EXPECT_EQ(MP_UI_argb_paintHDRsigmoidCurve(p.px.data(), 255, 150, 255, 0.5f), 0);
    EXPECT_EQ(p.at(1, 1), rgb(0x10, 0x20, 0x30)); // background
    EXPECT_EQ(p.at(2, 0), 0xFF808080u);           // dotted top grid row
    EXPECT_EQ(p.at(63, 2), 0xFF808080u);          // grid column trunc(254 / 4)
    EXPECT_EQ(p.at(0, 149), 0xFF808080u);         // column 0 holds no curve (t = -5 gives lo)
    const int last = static_cast<int>(254.0f / 255.0f * 255.0f);
    EXPECT_EQ(p.at(254, 149), rgb(last, last, last));
    EXPECT_EQ(p.at(254, 5), rgb(last, last, last)); // t = 5 gives hi: the full column
    // The filled height grows from left to right.
    auto filled = [&](int x) {
        int n = 0;
        for (int y = 0; y < 150; ++y)
            n += p.at(x, y) == p.at(x, 149);
        return n;
    };
    EXPECT_LT(filled(51), filled(201));
    // One column, NaN slider, missing buffer.
    Pic one(1, 10);
    EXPECT_EQ(MP_UI_argb_paintHDRsigmoidCurve(one.px.data(), 1, 10, 1, 0.5f), 0);
    EXPECT_EQ(MP_UI_argb_paintHDRsigmoidCurve(p.px.data(), 255, 150, 255, std::nanf("")), 0);
    EXPECT_EQ(MP_UI_argb_paintHDRsigmoidCurve(nullptr, 255, 150, 255, 0.5f), -2);
}

TEST_F(DrawPaintersTest, LatitudeExponentColumns)
{
    Pic p(10, 10);
    EXPECT_EQ(MP_UI_argb_paintOptimizeLatitudeExponent(p.px.data(), 10, 10, 10, 1.0f), 0);
    EXPECT_EQ(p.at(0, 9), 0xFF2E2E2Eu); // column 0: top 10, nothing
    EXPECT_EQ(p.at(5, 4), 0xFF2E2E2Eu);
    EXPECT_EQ(p.at(5, 5), rgb(127, 127, 127));
    EXPECT_EQ(p.at(9, 1), rgb(229, 229, 229));
    EXPECT_EQ(p.at(9, 0), 0xFF2E2E2Eu);

    std::vector<uint16_t> b(10 * 10 * 3, 1);
    EXPECT_EQ(MP_UI_paintOptimizeLatitudeExponent(b.data(), 10, 10, 10, 1.0f), 0);
    EXPECT_EQ(b[(5 * 10 + 5) * 3], 32767);
    EXPECT_EQ(b[(4 * 10 + 5) * 3], 1); // no background
    // Exponents that make the power infinite or NaN fill nothing wrongly.
    EXPECT_EQ(MP_UI_argb_paintOptimizeLatitudeExponent(p.px.data(), 10, 10, 10, -3.0f), 0);
    EXPECT_EQ(MP_UI_argb_paintOptimizeLatitudeExponent(nullptr, 10, 10, 10, 1.0f), -2);
    EXPECT_EQ(MP_UI_paintOptimizeLatitudeExponent(nullptr, 10, 10, 10, 1.0f), -2);
}

TEST_F(DrawPaintersTest, SuperquadricKernel)
{
    Pic p(21, 20);
    EXPECT_EQ(MP_UI_argb_paintSuperquadricKernel(p.px.data(), 21, 20, 21, 1.0f), 0);
    // Top row (q = 1): only the white centre column.
    for (int x = 0; x < 21; ++x)
        EXPECT_EQ(p.at(x, 0), x == 10 ? 0xFFFFFFFFu : 0xFF2E2E2Eu) << x;
    // Centre row: white across columns 0..w-2 (and the kernel).
    EXPECT_EQ(p.at(0, 10), 0xFFFFFFFFu);
    // Exponent 1: a disc; row 5 (q = 0.5) half = trunc(10.5 * sqrt(0.75)) = 9.
    EXPECT_EQ(p.at(1, 5), 0xFFFFFFFFu);
    EXPECT_EQ(p.at(0, 5), 0xFF2E2E2Eu);
    EXPECT_EQ(p.at(19, 5), 0xFF2E2E2Eu);

    // Exponent 0: a rectangle, every row full width.
    Pic r(21, 20);
    MP_UI_argb_paintSuperquadricKernel(r.px.data(), 21, 20, 21, 0.0f);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(r.at(x, y), 0xFFFFFFFFu);

    std::vector<uint16_t> b(21 * 20 * 3, 0);
    EXPECT_EQ(MP_UI_paintSuperquadricKernel(b.data(), 21, 20, 21, 1.0f), 0);
    EXPECT_EQ(b[(0 * 21 + 10) * 3], 0); // no cross in the 16-bit form
    EXPECT_EQ(b[(5 * 21 + 1) * 3], 0xFFFF);
    Pic tiny(3, 1);
    EXPECT_EQ(MP_UI_argb_paintSuperquadricKernel(tiny.px.data(), 3, 1, 3, -1.0f), 0);
    EXPECT_EQ(MP_UI_argb_paintSuperquadricKernel(nullptr, 3, 1, 3, 1.0f), -2);
}

TEST_F(DrawPaintersTest, ColourTemperatureStrip)
{
    Pic p(100, 30);
    EXPECT_FLOAT_EQ(MP_UI_paintColorTemperatur(p.px.data(), 100, 30, 100, 1000, 16500, 0.5f), 8750.0f);
    float r, g, b;
    MP_UI_GetRGBFromTemperatur(&r, &g, &b, 1000 + 10 / 100.0f * 15500);
    EXPECT_EQ(p.at(10, 0), rgb(int(r * 255), int(g * 255), int(b * 255)));
    EXPECT_EQ(p.at(10, 29), p.at(10, 0));
    MP_UI_GetRGBFromTemperatur(&r, &g, &b, 1000 + 50 / 100.0f * 15500);
    EXPECT_EQ(p.at(50, 3), rgb(int((1 - r) * 255), int((1 - g) * 255), int((1 - b) * 255)));
    // Position 0: column 0 inverse, nothing lightened to its left; 1: last column.
    MP_UI_paintColorTemperatur(p.px.data(), 100, 30, 100, 1000, 16500, 0.0f);
    MP_UI_GetRGBFromTemperatur(&r, &g, &b, 1000);
    EXPECT_EQ(p.at(0, 0), rgb(int((1 - r) * 255), int((1 - g) * 255), int((1 - b) * 255)));
    MP_UI_paintColorTemperatur(p.px.data(), 100, 30, 100, 1000, 16500, 1.0f);
    MP_UI_GetRGBFromTemperatur(&r, &g, &b, 1000 + 99 / 100.0f * 15500);
    EXPECT_EQ(p.at(99, 0), rgb(int((1 - r) * 255), int((1 - g) * 255), int((1 - b) * 255)));
    EXPECT_EQ(MP_UI_paintColorTemperatur(nullptr, 100, 30, 100, 1000, 16500, 0.5f), -2.0f);
}

TEST_F(DrawPaintersTest, GradationSplineWithWarningColours)
{
    std::vector<uint16_t> b(100 * 50 * 3, 0);
    const float identity[12] = {0, 0, 0.2f, 0.2f, 0.4f, 0.4f, 0.6f, 0.6f, 0.8f, 0.8f, 1, 1};
    EXPECT_EQ(MP_UI_paintGradationsSpline(b.data(), 100, 50, 100, identity), 0);
    // Column 50: y = 0.5 -> row 25.
    EXPECT_EQ(b[(25 * 100 + 50) * 3], 52000);
    EXPECT_EQ(b[(26 * 100 + 50) * 3], 52000);
    const float low[12] = {0, -0.5f, 0.2f, -0.5f, 0.4f, -0.5f, 0.6f, -0.5f, 0.8f, -0.5f, 1, -0.4f};
    std::vector<uint16_t> c(100 * 50 * 3, 0);
    MP_UI_paintGradationsSpline(c.data(), 100, 50, 100, low);
    EXPECT_EQ(c[(49 * 100 + 50) * 3 + 2], 52000); // blue on the bottom row
    EXPECT_EQ(c[(49 * 100 + 50) * 3 + 0], 16000);
    EXPECT_EQ(MP_UI_paintGradationsSpline(nullptr, 100, 50, 100, low), -2);
}

// ---- position box ----------------------------------------------------------------

namespace {

struct BoxCall {
    int w = 41, h = 41;
    std::vector<float> values = std::vector<float>(12, 0.5f);
    int fill = 1, showPhoto = 0, point = 0, line = 0, three = 0, spline = 0, colour = 0, type = 0;
    const uint16_t* photo = nullptr;
    int pw = 0, ph = 0;
    Pic out{41, 41};
    int run()
    {
        out = Pic(w, h);
        return MP_UI_positionBox(pw, ph, photo, w, h, out.px.data(), values.data(), 0x2E00, 0x2E00, 0x2E00, fill,
                                 showPhoto, point, line, three, spline, colour, type);
    }
};

constexpr uint32_t kFill = 0xFF2E2E2Eu;

} // namespace

TEST_F(DrawPaintersTest, PositionBoxFillAndPhotograph)
{
    BoxCall b;
    EXPECT_EQ(b.run(), 0);
    for (uint32_t v : b.out.px)
        EXPECT_EQ(v, kFill);

    const std::vector<uint16_t> photo = solidImage(8, 6, 0x1234, 0x5678, 0x9ABC);
    b.fill = 0;
    b.showPhoto = 1;
    b.photo = photo.data();
    b.pw = 8;
    b.ph = 6;
    EXPECT_EQ(b.run(), 0);
    EXPECT_EQ(b.out.at(20, 20), rgb(0x12, 0x56, 0x9A));

    EXPECT_EQ(MP_UI_positionBox(0, 0, nullptr, 10, 10, nullptr, nullptr, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0), -2);
    std::vector<uint32_t> one(1);
    EXPECT_EQ(MP_UI_positionBox(0, 0, nullptr, 0, 10, one.data(), nullptr, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0), -2);
    EXPECT_EQ(MP_UI_positionBox(0, 0, nullptr, 10, 10, nullptr, nullptr, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0), -2);
}

TEST_F(DrawPaintersTest, PositionBoxPointModes)
{
    BoxCall b;
    b.point = 1;
    b.values[0] = 0.5f; // x = 20.5
    b.values[1] = 0.25f; // y = 10.25
    EXPECT_EQ(b.run(), 0);
    EXPECT_EQ(b.out.at(20, 10), 0xFFFFFFFFu);  // marker inside
    EXPECT_EQ(b.out.at(16, 10), 0xFF3F3F3Fu);  // marker border
    EXPECT_EQ(b.out.at(20, 17), 0xFFFFFFFFu);  // cross hair below the marker
    EXPECT_EQ(b.out.at(27, 10), 0xFFFFFFFFu);  // cross hair right of it
    EXPECT_EQ(b.out.at(29, 10), kFill);
    EXPECT_EQ(b.out.at(0, 40), 0xFFBFBFBFu);   // grid

    b.type = 1; // light direction: spokes, no marker
    EXPECT_EQ(b.run(), 0);
    EXPECT_EQ(b.out.at(20, 18), rgb(255, 255, 0)); // spoke at a = 0 points down
    EXPECT_NE(b.out.at(16, 10), 0xFF3F3F3Fu);

    b.type = 3; // horizon: a 3-pixel band across the box
    EXPECT_EQ(b.run(), 0);
    EXPECT_EQ(b.out.at(2, 9), rgb(0xCB, 0xCB, 0xCB));
    EXPECT_EQ(b.out.at(38, 11), rgb(0xCB, 0xCB, 0xCB));

    b.type = 7; // unknown type: the grid alone
    EXPECT_EQ(b.run(), 0);
    EXPECT_EQ(b.out.at(20, 10), 0xFFBFBFBFu);
    EXPECT_EQ(b.out.at(21, 11), kFill);
}

TEST_F(DrawPaintersTest, PositionBoxLineAndThreePointModes)
{
    BoxCall b;
    b.line = 1;
    b.values = {0.25f, 0.5f, 0.75f, 0.5f, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(b.run(), 0);
    // The line runs through both points and beyond them to the box's edges.
    EXPECT_EQ(b.out.at(1, 19), rgb(0xCB, 0xCB, 0xCB));
    EXPECT_EQ(b.out.at(39, 21), rgb(0xCB, 0xCB, 0xCB));
    // Coinciding points: markers only.
    b.values = {0.5f, 0.5f, 0.5f, 0.5f, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(b.run(), 0);
    EXPECT_EQ(b.out.at(1, 21), kFill);
    EXPECT_EQ(b.out.at(20, 20), 0xFFFFFFFFu);

    BoxCall t;
    t.three = 1;
    t.values = {0.1f, 0.1f, 0.9f, 0.1f, 0.5f, 0.9f, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(t.run(), 0);
    EXPECT_EQ(t.out.at(20, 4), rgb(0xCB, 0xCB, 0xCB)); // edge 0 -> 1
    EXPECT_EQ(t.out.at(20, 20), kFill);                // no grid inside
}

TEST_F(DrawPaintersTest, PositionBoxColourModeCorners)
{
    MP_UI_buildColorCirclePicture();
    BoxCall b;
    b.w = 80;
    b.h = 80;
    b.colour = 1;
    b.values = {0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(b.run(), 0);
    const uint32_t red = rgb(255, 0, 0);
    // Legs of 31 pixels at the top left, 30 at the top right and bottom left,
    // 29 at the bottom right.
    EXPECT_EQ(b.out.at(30, 0), red);
    EXPECT_NE(b.out.at(31, 0), red);
    EXPECT_EQ(b.out.at(50, 0), red);
    EXPECT_NE(b.out.at(49, 0), red);
    EXPECT_EQ(b.out.at(0, 50), red);
    EXPECT_EQ(b.out.at(79, 51), red);
    EXPECT_NE(b.out.at(79, 50), red);
    EXPECT_EQ(b.out.at(40, 40), 0xFFFFFFFFu); // marker at the centre
}

TEST_F(DrawPaintersTest, PositionBoxSplineModeShowsTheCurveOverTheMappedBox)
{
    BoxCall b;
    b.w = b.h = 101;
    b.spline = 1;
    b.values = {0, 0, 0.2f, 0.2f, 0.4f, 0.4f, 0.6f, 0.6f, 0.8f, 0.8f, 1, 1};
    EXPECT_EQ(b.run(), 0);
    // The fill (grey 0x2E00) goes through the curve at about 0.18, times 32767.
    const uint32_t p = b.out.at(3, 3);
    EXPECT_EQ(p >> 16 & 255, p & 255);
    EXPECT_EQ(p >> 8 & 255, p & 255);
    EXPECT_NEAR(static_cast<int>(p & 255), 0x16, 1);
    int curve = 0; // the curve between the knot markers
    for (uint32_t v : b.out.px)
        curve += v == rgb(0xCB, 0xCB, 0xCB);
    EXPECT_GT(curve, 20);
}
