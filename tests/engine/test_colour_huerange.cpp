// Hue-range operators: "Farbtöne anpassen" and "Farbtöne belichten".

#include "colourfixture.h"

#include <cmath>
#include <limits>

namespace {

using namespace colourtest;

TEST(HueRanges, RangeAndDistanceToItsCentre)
{
    struct Case {
        float h;
        int range;
        float d;
    };
    const Case cases[] = {
        {0, 0, 0},    {15, 0, 15},   {345, 0, 15},  {330, 0, 30}, {29.5f, 0, 29.5f}, {30, 1, 30},
        {60, 1, 0},   {90, 2, 30},   {130, 2, 10},  {150, 3, 30}, {200, 3, 20},      {240, 4, 0},
        {269, 4, 29}, {270, 5, 30},  {300, 5, 0},   {329, 5, 29},
    };
    for (const Case& c : cases) {
        float d = -1.0f;
        EXPECT_EQ(MP_hueRange(c.h, &d), c.range) << c.h;
        EXPECT_FLOAT_EQ(d, c.d) << c.h;
    }
    float d = 7.0f;
    EXPECT_EQ(MP_hueRange(std::numeric_limits<float>::quiet_NaN(), &d), -1);
    EXPECT_EQ(d, 7.0f);
}

// ---- "Farbtöne anpassen" -----------------------------------------------------------------

class HueShiftTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelHueShift");
    }
    // Slider fraction of a hue shift in degrees.
    static float shift(float degrees) { return (degrees + 180.0f) / 360.0f; }
};

struct ShiftCase {
    const char* what;
    int slot;
    float degrees;
    uint16_t in[3];
    int out[3];
};

TEST_F(HueShiftTest, Examples)
{
    const ShiftCase cases[] = {
        {"red +120 becomes green", 0, 120, {65535, 0, 0}, {0, 65535, 0}},
        {"blue +120 wraps once to red", 4, 120, {0, 0, 65535}, {65535, 0, 0}},
        {"green untouched by the red slider", 0, 120, {0, 65535, 0}, {0, 65535, 0}},
        {"black stays black", 0, 90, {0, 0, 0}, {0, 0, 0}},
    };
    for (const ShiftCase& c : cases) {
        p = defaults("MP_calcPixelHueShift");
        p.p[c.slot][0] = shift(c.degrees);
        const auto out = onePixel(MP_calcPixelHueShift, c.in[0], c.in[1], c.in[2], p);
        for (int ch = 0; ch < 3; ++ch)
            EXPECT_NEAR(out[ch], c.out[ch], 1) << c.what << " channel " << ch;
    }
}

TEST_F(HueShiftTest, VeryDarkGreyTakesTheTurnedHueAtFullWeight)
{
    // The delta floor gives a saturation above 1, held at 1 (weight 1): the
    // grey turns cyan. The root of the squares comes from the table, so such
    // dark tones come back quantised.
    p.p[0][0] = shift(180);
    const float c = 655 * MP_k;
    const int squareIndex = static_cast<int>(c * c * 65535.0f);
    const int root = static_cast<int>(std::sqrt(static_cast<float>(squareIndex) * MP_k) * 65535.0f);
    const auto out = onePixel(MP_calcPixelHueShift, 655, 655, 655, p);
    EXPECT_EQ(out[0], 0);
    EXPECT_NEAR(out[1], root, 1);
    EXPECT_NEAR(out[2], root, 1);
    EXPECT_LT(root, 655);
}

TEST_F(HueShiftTest, GreysCountAsRedWeightedBySaturationToTheTenth)
{
    // Grey 0.5: squared 0.25, saturation 0.001 / 0.25 = 0.004, weight
    // 0.004^0.1 (about 0.58); turned by 180 degrees the squared colour is
    // (0.996 * 0.25, 0.25, 0.25), whose root lowers red slightly.
    p.p[0][0] = 1.0f;
    const float c = 32768 * MP_k;
    const float w = std::pow(0.001f / (c * c), 0.1f);
    EXPECT_NEAR(w, 0.58f, 0.01f);
    const float red = std::sqrt((1.0f - 0.001f / (c * c)) * c * c);
    const auto out = onePixel(MP_calcPixelHueShift, 32768, 32768, 32768, p);
    EXPECT_NEAR(out[0], static_cast<int>((c * (1.0f - w) + red * w) * 65535.0f), 2);
    EXPECT_LT(out[0], 32768 - 30);
    EXPECT_NEAR(out[1], 32768, 2);
    EXPECT_NEAR(out[2], 32768, 2);
}

TEST_F(HueShiftTest, WeightFallsTowardsTheRangeBorder)
{
    // Orange (hue of the squares about 15 degrees: half-way to the red
    // range's border) moves about half as far as pure red.
    p.p[0][0] = shift(60);
    const auto red = onePixel(MP_calcPixelHueShift, 65535, 0, 0, p);
    const auto orange = onePixel(MP_calcPixelHueShift, 65535, 32768, 0, p);
    EXPECT_NEAR(red[1], 65535, 1); // red turned to yellow
    EXPECT_GT(orange[1], 32768 + 5000);
    EXPECT_LT(orange[1], 65535 - 5000);
}

// ---- "Farbtöne belichten" ----------------------------------------------------------------

class HueExposeTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelHueExpose");
    }
};

TEST_F(HueExposeTest, VeryDarkGreyUsesItsUnclampedSaturation)
{
    // c = 0.01: saturation of the squares about 10, so red +100 % multiplies
    // the pixel by about 10 and -100 % turns it black.
    const float c = 655 * MP_k;
    const float lum = p.lumr * c + p.lumg * c + p.lumb * c;
    const float s = 0.001f / (c * c);
    const float factor = (s + 1.0f) * lum / (lum + 0.001f);
    EXPECT_NEAR(factor, 10.0f, 0.1f);
    p.p[0][0] = 1.0f;
    const auto brighter = onePixel(MP_calcPixelHueExpose, 655, 655, 655, p);
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_NEAR(brighter[ch], static_cast<int>(c * factor * 65535.0f), 1);
    p.p[0][0] = 0.0f;
    EXPECT_EQ(onePixel(MP_calcPixelHueExpose, 655, 655, 655, p), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(HueExposeTest, PixelsOutsideTheMovedRangeLoseLumOverLumPlusAThousandth)
{
    p.p[1][0] = 1.0f; // "Gelb" +100 %
    struct Case {
        uint16_t v;
        float lossPercent;
    };
    // Greys count as red, whose slider is neutral.
    for (const Case& c : {Case{655, 9.0f}, Case{32768, 0.2f}}) {
        const auto out = onePixel(MP_calcPixelHueExpose, c.v, c.v, c.v, p);
        EXPECT_NEAR(100.0f * (c.v - out[0]) / c.v, c.lossPercent, 0.2f) << c.v;
    }
    const auto blue = onePixel(MP_calcPixelHueExpose, 0, 0, 65535, p);
    const float f = p.lumb / (p.lumb + 0.001f);
    EXPECT_NEAR(blue[2], static_cast<int>(65535 * MP_k * f * 65535.0f), 1);
}

TEST_F(HueExposeTest, ARangeBrightensByItsAmountTimesSaturation)
{
    // Pure green at the centre of its range: factor (1 + 0.5) * lum / (lum + 0.001).
    p.p[2][0] = 0.75f; // "Grün" +50 %
    const auto out = onePixel(MP_calcPixelHueExpose, 0, 40000, 0, p);
    const float c = 40000 * MP_k;
    const float lumMid = p.lumg * c;
    EXPECT_NEAR(out[1], static_cast<int>(std::min(1.0f, c * 1.5f * lumMid / (lumMid + 0.001f)) * 65535.0f), 1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 0);
    // Bright green clamps at 65535; black stays black.
    EXPECT_EQ(onePixel(MP_calcPixelHueExpose, 0, 60000, 0, p)[1], 65535);
    EXPECT_EQ(onePixel(MP_calcPixelHueExpose, 0, 0, 0, p), (std::array<int, 3>{0, 0, 0}));
}

} // namespace
