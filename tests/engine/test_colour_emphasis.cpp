// Colour emphasis operators: "Farbleuchtkraft", "Sin City", "Sin City
// Invers", "Farbton hinzumischen", "graue Tinte" and "Rote Augen".

#include "colourfixture.h"

#include <cmath>

namespace {

using namespace colourtest;

float lumOf(const MP_Params& p, const std::array<int, 3>& c)
{
    return p.lumr * static_cast<float>(c[0]) + p.lumg * static_cast<float>(c[1]) + p.lumb * static_cast<float>(c[2]);
}

// ---- "Farbleuchtkraft" ------------------------------------------------------------------

class ColorIntensityTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelColorIntensity");
    }
};

TEST_F(ColorIntensityTest, MinusHundredPercentGivesTheChannelMean)
{
    p.p[0][0] = 0.0f; // k = 0: every boost entry is 1
    const auto out = onePixel(MP_calcPixelColorIntensity, 60000, 30000, 0, p);
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_NEAR(out[ch], 30000, 1) << ch;
}

TEST_F(ColorIntensityTest, DefaultSpreadsTheChannelsAndKeepsTheirSum)
{
    // 200 % (k = 2.5): the channels move apart, their sum stays.
    const auto out = onePixel(MP_calcPixelColorIntensity, 40000, 30000, 20000, p);
    EXPECT_GT(out[0], 40000 + 1000);
    EXPECT_LT(out[2], 20000 - 1000);
    EXPECT_NEAR(out[0] + out[1] + out[2], 90000, 3);
}

TEST_F(ColorIntensityTest, BlackStaysBlackForEveryExponent)
{
    for (float s : {0.0f, 0.5f, 0.625f, 1.0f}) {
        p.p[0][0] = s;
        EXPECT_EQ(onePixel(MP_calcPixelColorIntensity, 0, 0, 0, p), (std::array<int, 3>{0, 0, 0})) << s;
    }
}

TEST_F(ColorIntensityTest, BrightChannelsAreLimitedToWhite)
{
    p.p[0][0] = 1.0f; // 300 %, k = 6.25
    const auto out = onePixel(MP_calcPixelColorIntensity, 65000, 60000, 1000, p);
    // Red is limited, so the channel sum is no longer kept.
    EXPECT_EQ(out[0], 65535);
    EXPECT_LT(out[0] + out[1] + out[2], 65000 + 60000 + 1000 - 1000);
}

// ---- "Sin City" and "Sin City Invers" ----------------------------------------------------

class SinCityTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelSinCity");
        // A black curve: the output is the boosted colour times its weight.
        setSpline(p, 0, {0, 0, 0, 0, 0, 0});
    }
};

TEST_F(SinCityTest, NeutralGreyAgainstTheDefaultColour)
{
    // Distance d of about 0.211 from (0.43, 0.2, 0.2): colour weight
    // (1 - d)^8 about 0.15, so the grey is 85 % curve grey.
    const auto out = onePixel(MP_calcPixelSinCity, 40000, 40000, 40000, p);
    const float w = static_cast<float>(out[0]) / 40000.0f;
    EXPECT_NEAR(w, 0.15f, 0.005f);
    EXPECT_NEAR(1.0f - std::pow(w, 0.125f), 0.211f, 0.002f);
    EXPECT_EQ(out[1], out[0]);
    EXPECT_EQ(out[2], out[0]);

    // Sin City Invers: grey weight (1 - (1.2 d - 0.2))^4, about 0.80.
    const auto inv = onePixel(MP_calcPixelInvSinCity, 40000, 40000, 40000, p);
    EXPECT_NEAR(1.0f - static_cast<float>(inv[0]) / 40000.0f, 0.80f, 0.01f);
}

TEST_F(SinCityTest, TheChosenColourKeepsItsColourInSinCityAndTurnsGreyInInvers)
{
    setColour(p, 1, 0.5f, 0.5f, 0.5f);
    const auto kept = onePixel(MP_calcPixelSinCity, 30000, 30000, 30000, p);
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_NEAR(kept[ch], 30000, 2) << ch;
    EXPECT_EQ(onePixel(MP_calcPixelInvSinCity, 30000, 30000, 30000, p), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(SinCityTest, FarColoursBecomeTheCurveGrey)
{
    linearCurve(p, 0);
    // Green is far from the default reddish colour: almost pure curve grey.
    const auto out = onePixel(MP_calcPixelSinCity, 0, 40000, 0, p);
    const float lum = p.lumg * 40000.0f;
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_NEAR(out[ch], lum, 0.02f * lum) << ch;
    EXPECT_NEAR(out[0], out[2], 1);
}

// ---- "Farbton hinzumischen" ----------------------------------------------------------------

class ColorMixTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelColorMix");
    }
};

TEST_F(ColorMixTest, StrengthZeroWithABlendModeReturnsTheInput)
{
    p.p[0][0] = 0.0f;
    setCombo(p, 2, 1.0f, 100.0f); // lighten
    const auto out = onePixel(MP_calcPixelColorMix, 10000, 30000, 50000, p);
    EXPECT_NEAR(out[0], 10000, 1);
    EXPECT_NEAR(out[1], 30000, 1);
    EXPECT_NEAR(out[2], 50000, 1);
}

TEST_F(ColorMixTest, FullStrengthTintsAndKeepsTheLuminanceAlmost)
{
    p.p[0][0] = 1.0f;
    const std::array<int, 3> in{30000, 30000, 30000};
    const auto out = onePixel(MP_calcPixelColorMix, 30000, 30000, 30000, p);
    EXPECT_GT(out[0], out[1]); // towards (0.9, 0.7, 0.3)
    EXPECT_GT(out[1], out[2]);
    EXPECT_LE(lumOf(p, out), lumOf(p, in));
    EXPECT_GT(lumOf(p, out), 0.99f * lumOf(p, in));
}

TEST_F(ColorMixTest, ReducedWorkerLimitsChannelsToWhite)
{
    p.p[0][0] = 1.0f;
    const auto out = onePixel(MP_calcPixelColorMix, 65535, 65535, 65535, p);
    EXPECT_EQ(out[0], 65535);
    EXPECT_LT(out[2], 50000);
}

// ---- "graue Tinte" ---------------------------------------------------------------------------

class ColorTintTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelColorTint");
    }
};

TEST_F(ColorTintTest, BleachesTowardsWhite)
{
    // X (1 - b) + b * 65535 with b = 0.1, on raw values.
    EXPECT_EQ(onePixel(MP_calcPixelColorTint, 0, 0, 0, p), (std::array<int, 3>{6553, 6553, 6553}));
    const auto mid = onePixel(MP_calcPixelColorTint, 30000, 10000, 60000, p);
    EXPECT_NEAR(mid[0], 33553, 1);
    EXPECT_NEAR(mid[1], 15553, 1);
    EXPECT_NEAR(mid[2], 60553, 1);
}

TEST_F(ColorTintTest, MaskByRawLuminance)
{
    // "eSplEffect shadows": bright tones keep their values.
    setSpline(p, 1, {1, 0.8f, 0.2f, 0.04f, 0.02f, 0});
    const auto bright = onePixel(MP_calcPixelColorTint, 64000, 64000, 64000, p);
    EXPECT_NEAR(bright[0], 64000, 20);
    const auto dark = onePixel(MP_calcPixelColorTint, 500, 500, 500, p);
    EXPECT_GT(dark[0], 6000);
}

// ---- "Rote Augen" --------------------------------------------------------------------------

class RedEyesTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelRedEyes");
    }
};

struct RedCase {
    const char* what;
    float correction;
    bool full; // the full worker (opaque geometry) instead of the reduced one
    uint16_t in[3];
    int red;
};

TEST_F(RedEyesTest, Examples)
{
    const RedCase cases[] = {
        // T = 0: red at least 4/3 of the green-blue mean is replaced by the mean.
        {"100 %, strong red", 1.0f, false, {52428, 13107, 13107}, 13107},
        // T = 5: ratio 6, v = 0.75.
        {"0 %, ratio 6", 0.0f, false, {60000, 10000, 10000}, 22500},
        {"0 %, ratio 4", 0.0f, false, {40000, 10000, 10000}, 40000},
        // Green = blue = 0: the guard 0.001 counts in raw units in the reduced worker...
        {"reduced, faint red", 0.5f, false, {100, 0, 0}, 0},
        {"reduced, strong red", 0.5f, false, {60000, 0, 0}, 0},
        // ... and in 0..1 in the full one (T = 2.5): unchanged below 0.001 T,
        // lowered partly above it, removed from 0.001 (T + 4/3) on.
        {"full, red below 0.001 T", 0.5f, true, {100, 0, 0}, 100},
        {"full, red between", 0.5f, true, {200, 0, 0}, 117},
        {"full, red above", 0.5f, true, {300, 0, 0}, 0},
    };
    for (const RedCase& c : cases) {
        p = defaults("MP_calcPixelRedEyes");
        p.p[0][0] = c.correction;
        if (c.full)
            opaqueGeometry(p, 2);
        const auto out = onePixel(MP_calcPixelRedEyes, c.in[0], c.in[1], c.in[2], p);
        EXPECT_NEAR(out[0], c.red, 1) << c.what;
        EXPECT_NEAR(out[1], c.in[1], c.full ? 1 : 0) << c.what;
        EXPECT_NEAR(out[2], c.in[2], c.full ? 1 : 0) << c.what;
    }
}

} // namespace
