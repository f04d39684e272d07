// Time of day and season: Daytime and Yeartime.

#include "colourlightfixture.h"

#include <cmath>

namespace {

class ColourDaytimeTest : public ColourTest {};

MP_Params daytimeBlock(float uhrzeit, float mask)
{
    MP_Params p{};
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.p[0][0] = uhrzeit;
    for (int i = 0; i < 6; ++i) {
        p.p[1][2 * i] = 0.2f * static_cast<float>(i);
        p.p[1][2 * i + 1] = mask;
    }
    p.p[2][1] = 100.0f;
    return p;
}

// ---- Tageszeit ---------------------------------------------------------------------

TEST_F(ColourDaytimeTest, HourTables)
{
    EXPECT_FLOAT_EQ(MP_daytimeGamma[11], 1.01f);
    EXPECT_FLOAT_EQ(MP_daytimeGamma[17], 0.90f);
    EXPECT_FLOAT_EQ(MP_daytimeGamma[24], 0.0f);
    EXPECT_FLOAT_EQ(MP_daytimeTemp[11], 0.3538f);
    EXPECT_FLOAT_EQ(MP_daytimeTemp[17], 0.45f);
    EXPECT_FLOAT_EQ(MP_daytimeTemp[24], 0.13f);
}

TEST_F(ColourDaytimeTest, GammaAndTemperatureOfTheHour)
{
    struct Case {
        const char* what;
        float uhrzeit;
        float gamma;
        float kelvin;
    };
    const Case cases[] = {
        // f = 0.9988 between hours 11 and 12
        {"12 h", 0.5f, 0.99998f, 6483.9f},
        // g = 0: 1.995 squared; 0.13 * 15500 + 1000
        {"0 h", 0.0f, 3.980025f, 3015.0f},
        // time 23.9976: hour 23 toward entry 24
        {"24 h", 1.0f, 3.980025f, 3015.0f},
        // just after 11 h: g = 1.01, a slight brightening
        {"11 h", 0.4584f, 0.99005f, 6483.9f},
        // time 5.9994: g = 0.9, 1.0995 squared; t = 0.43
        {"6 h", 0.25f, 1.2089f, 7664.9f},
        // beyond the slider: the last and first hour pairs are extrapolated
        {"36 h", 1.5f, 3.980025f, 3015.0f},
        {"-12 h", -0.5f, 4.9899f, 3015.0f},
    };
    for (const auto& c : cases) {
        float gamma = 0, kelvin = 0;
        MP_calcDaytimeValues(c.uhrzeit, &gamma, &kelvin);
        EXPECT_NEAR(gamma, c.gamma, 2e-3) << c.what;
        EXPECT_NEAR(kelvin, c.kelvin, 1.0) << c.what;
    }
}

TEST_F(ColourDaytimeTest, NightDarkensMidtonesThroughTheGamma)
{
    // 0 h: 3015 K and gamma 3.98 with a full mask; a channel at 0.5 after the
    // temperature gains becomes about 0.063.
    float white[3];
    MP_UI_GetRGBFromTemperatur(&white[0], &white[1], &white[2], 3015.0f);
    MP_Params p = daytimeBlock(0.0f, 1.0f);
    const MP_ColorTempFixed f = MP_colorTempFixed(p.lumr, p.lumg, p.lumb, white[0], white[1], white[2]);
    // Source channels that the gains bring to 32768.
    uint16_t in[3];
    for (int c = 0; c < 3; ++c)
        in[c] = static_cast<uint16_t>(std::ceil(32768.0 * 16384.0 / f.gain[c]));
    auto img = pixels({{in[0], in[1], in[2]}});
    ASSERT_EQ(runByName("MP_calcPixelDaytime", img, 1, 1, p), 0);
    for (int c = 0; c < 3; ++c) {
        const uint32_t e = (f.gain[c] * in[c]) >> 14;
        const double expected = std::pow(e / 65535.0, 3.980025) * 65535.0 * 32767.0 / 32768.0;
        EXPECT_NEAR(img[c], expected, 2) << c;
        EXPECT_NEAR(img[c] / 65535.0, 0.063, 0.002) << c;
    }
}

TEST_F(ColourDaytimeTest, NoonBarelyChangesAGreyPicture)
{
    MP_Params p = daytimeBlock(0.5f, 1.0f);
    const int w = 8, h = 4;
    auto img = solidImage(w, h, 30000, 30000, 30000);
    ASSERT_EQ(runByName("MP_calcPixelDaytime", img, w, h, p), 0);
    for (uint16_t v : img)
        EXPECT_NEAR(v, 30000, 100);
}

TEST_F(ColourDaytimeTest, ZeroMaskLeavesOnlyTheQ15Lowering)
{
    for (float hour : {0.0f, 0.3f, 0.7f}) {
        MP_Params p = daytimeBlock(hour, 0.0f);
        auto img = pixels({{65535, 32768, 1000}});
        ASSERT_EQ(runByName("MP_calcPixelDaytime", img, 1, 1, p), 0);
        EXPECT_EQ(img, pixels({{65533, 32767, 999}})) << hour;
    }
}

TEST_F(ColourDaytimeTest, MaskAndSliderOutsideTheirRangesStayInBounds)
{
    // A flat mask of 1.5 takes the spline's unclamped shortcut: held to 1.
    const int w = 12, h = 6;
    const auto src = picture(w, h);
    auto run = [&](float hour, float mask) {
        MP_Params p = daytimeBlock(hour, mask);
        auto img = src;
        EXPECT_EQ(runByName("MP_calcPixelDaytime", img, w, h, p), 0);
        return img;
    };
    EXPECT_EQ(run(0.2f, 1.5f), run(0.2f, 1.0f));
    EXPECT_EQ(run(0.2f, -2.0f), run(0.2f, 0.0f));
    // 36 h reads the last hour pair, like 24 h (both night, 3015 K)
    EXPECT_EQ(run(1.5f, 1.0f), run(1.0f, 1.0f));
    // a slider that is not a number: nothing read out of bounds, no garbage
    const auto nan = run(NAN, 1.0f);
    for (size_t i = 0; i < nan.size(); ++i)
        EXPECT_LE(nan[i], src[i]) << i;
}

} // namespace
