#include "enginefixture.h"

#include <cmath>

namespace {

class ColourTemperature : public EngineTest {};
class WhiteValue : public EngineTest {};

TEST_F(ColourTemperature, KelvinSamples)
{
    struct Case {
        float kelvin, r, g, b;
    };
    const Case cases[] = {
        {1000.0f, 1.0f, 0.070f, 0.0f},  {3200.0f, 1.0f, 0.520f, 0.216f},  {5000.0f, 1.0f, 0.803f, 0.648f},
        {6500.0f, 1.0f, 0.998f, 1.0f},  {10000.0f, 0.641f, 0.739f, 1.0f}, {500.0f, 0.0f, 0.0f, 0.0f},
        {0.0f, 0.0f, 0.0f, 0.0f},
        // Not a temperature: black, as below the fit's range, rather than NaN.
        {-1.0f, 0.0f, 0.0f, 0.0f},      {std::nanf(""), 0.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        float r = -1, g = -1, b = -1;
        MP_UI_GetRGBFromTemperatur(&r, &g, &b, c.kelvin);
        EXPECT_NEAR(r, c.r, 0.0006f) << c.kelvin;
        EXPECT_NEAR(g, c.g, 0.0006f) << c.kelvin;
        EXPECT_NEAR(b, c.b, 0.0006f) << c.kelvin;
    }
}

TEST_F(ColourTemperature, AboveTheWhitePointRedAndGreenFall)
{
    float r0, g0, b0;
    MP_UI_GetRGBFromTemperatur(&r0, &g0, &b0, 6500.0f);
    EXPECT_NEAR(r0, 1.0f, 0.003f);
    EXPECT_NEAR(g0, 1.0f, 0.003f);
    EXPECT_NEAR(b0, 1.0f, 0.003f);
    for (float k : {7000.0f, 9000.0f, 15000.0f, 40000.0f}) {
        float r, g, b;
        MP_UI_GetRGBFromTemperatur(&r, &g, &b, k);
        EXPECT_LT(r, r0) << k;
        EXPECT_LT(g, g0) << k;
        EXPECT_EQ(b, 1.0f) << k;
        r0 = r;
        g0 = g;
    }
}

TEST_F(ColourTemperature, NullOutputsAreSkipped)
{
    float g = -1;
    MP_UI_GetRGBFromTemperatur(nullptr, &g, nullptr, 3200.0f);
    EXPECT_NEAR(g, 0.520f, 0.0006f);
    MP_UI_GetRGBFromTemperatur(nullptr, nullptr, nullptr, 3200.0f);
}

TEST_F(WhiteValue, GreyWorldMeans)
{
    const auto grey = solidImage(10, 7, 32768, 32768, 32768);
    float r, g, b;
    MP_GetWhiteValueFromPicture(grey.data(), &r, &g, &b, 10, 7);
    EXPECT_EQ(r, 32768.0f * 1.5259022e-05f);
    EXPECT_NEAR(r, 0.50001f, 1e-5f);
    EXPECT_EQ(g, r);
    EXPECT_EQ(b, r);
    MP_UI_GetWhiteValue(grey.data(), &r, &g, &b, -1.0f, 10, 7);
    EXPECT_NEAR(r, 0.25001f, 1e-5f);
    EXPECT_EQ(g, r);
    EXPECT_EQ(b, r);

    // Left half black, right half white, width a multiple of 8.
    auto half = solidImage(16, 9, 65535, 65535, 65535);
    for (int y = 0; y < 9; ++y)
        for (size_t i = 0; i < 8 * 3; ++i)
            half[size_t(y) * 16 * 3 + i] = 0;
    MP_GetWhiteValueFromPicture(half.data(), &r, nullptr, &b, 16, 9);
    EXPECT_FLOAT_EQ(r, 0.5f);
    EXPECT_FLOAT_EQ(b, 0.5f);
    MP_UI_GetWhiteValue(half.data(), &r, &g, &b, -1.0f, 16, 9);
    EXPECT_FLOAT_EQ(r, 0.25f);
    EXPECT_FLOAT_EQ(g, 0.25f);
    EXPECT_FLOAT_EQ(b, 0.25f);
}

TEST_F(WhiteValue, TemperatureDoesNotReadThePicture)
{
    float r, g, b, tr, tg, tb;
    MP_UI_GetWhiteValue(nullptr, &r, &g, &b, 3200.0f, 100, 100);
    MP_UI_GetRGBFromTemperatur(&tr, &tg, &tb, 3200.0f);
    EXPECT_EQ(r, tr);
    EXPECT_EQ(g, tg);
    EXPECT_EQ(b, tb);
    MP_UI_GetWhiteValue(nullptr, &r, &g, &b, 0.0f, 100, 100);
    EXPECT_EQ(r, 0.0f);
    EXPECT_EQ(g, 0.0f);
    EXPECT_EQ(b, 0.0f);
}

TEST_F(WhiteValue, NothingToSampleIsNeutral)
{
    const auto img = solidImage(4, 4, 1000, 2000, 3000);
    struct Case {
        const uint16_t* buffer;
        float w, h;
    };
    const Case cases[] = {{nullptr, 4, 4}, {img.data(), 0, 4}, {img.data(), 4, 0}, {img.data(), -4, 4},
                          {img.data(), 4, std::nanf("")}};
    for (const Case& c : cases) {
        float r = -1, g = -1, b = -1;
        MP_GetWhiteValueFromPicture(c.buffer, &r, &g, &b, c.w, c.h);
        EXPECT_EQ(r, 1.0f);
        EXPECT_EQ(g, 1.0f);
        EXPECT_EQ(b, 1.0f);
        r = g = b = -1;
        MP_UI_GetWhiteValue(c.buffer, &r, &g, &b, -1.0f, c.w, c.h);
        EXPECT_EQ(r, 1.0f);
        EXPECT_EQ(g, 1.0f);
        EXPECT_EQ(b, 1.0f);
    }
    float g = -1;
    MP_UI_GetWhiteValue(img.data(), nullptr, &g, nullptr, -1.0f, 4, 4);
    EXPECT_NEAR(g, (2000.0f / 65535.0f) * (2000.0f / 65535.0f), 1e-7f);
}

} // namespace
