// The HSV model and the operators built on it: "Farbton Sättigung
// Belichtung", "Psychedelic" and "Pop-Art".

#include "colourfixture.h"

#include <cmath>
#include <limits>

namespace {

using namespace colourtest;

// ---- Conversions ---------------------------------------------------------------------------

struct HsvCase {
    float r, g, b;
    float h, s, v;
};

TEST(HsvModel, RgbToHsvExamples)
{
    const HsvCase cases[] = {
        {1, 0, 0, 0, 1, 1},
        {0, 1, 0, 120, 1, 1},
        {0, 0, 1, 240, 1, 1},
        {1, 0, 1, 300, 1, 1},   // negative sector hue + 360
        {0.5f, 0.5f, 0.5f, 0, 0.002f, 0.5f}, // grey: the 0.001 floor gives saturation 0.001 / v
        {0, 0, 0, 0, 0, 0},
    };
    for (const HsvCase& c : cases) {
        const MP_hsv hsv = MP_rgbToHsv(c.r, c.g, c.b);
        EXPECT_FLOAT_EQ(hsv.h, c.h) << c.r << " " << c.g << " " << c.b;
        EXPECT_FLOAT_EQ(hsv.s, c.s) << c.r << " " << c.g << " " << c.b;
        EXPECT_FLOAT_EQ(hsv.v, c.v) << c.r << " " << c.g << " " << c.b;
    }
}

TEST(HsvModel, SectorsComeFromTheFloatMultiplierNotADivision)
{
    // 120 * 0.016666666f is just below 2: sector 1 with f just below 1, so
    // red keeps one ulp of (1 - f) instead of 0.
    const MP_float3 green = MP_hsvToRgb(120.0f, 1.0f, 1.0f, {9, 9, 9});
    EXPECT_EQ(green.x, 1.0f - (120.0f * 0.016666666f - 1.0f));
    EXPECT_GT(green.x, 0.0f);
    EXPECT_EQ(green.y, 1.0f);
    EXPECT_EQ(green.z, 0.0f);

    const MP_float3 orange = MP_hsvToRgb(30.0f, 1.0f, 1.0f, {9, 9, 9});
    EXPECT_EQ(orange.x, 1.0f);
    EXPECT_NEAR(orange.y, 0.5f, 1e-6f);
    EXPECT_EQ(orange.z, 0.0f);
}

TEST(HsvModel, HueOutsideTheSectorsGivesTheFallback)
{
    const MP_float3 fallback{0.1f, 0.2f, 0.3f};
    for (float h : {-1.0f, 360.5f, 1e30f, std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN()}) {
        const MP_float3 c = MP_hsvToRgb(h, 0.5f, 0.5f, fallback);
        EXPECT_EQ(c.x, 0.1f) << h;
        EXPECT_EQ(c.y, 0.2f) << h;
        EXPECT_EQ(c.z, 0.3f) << h;
    }
    // 359.9 still lies in sector 5.
    EXPECT_EQ(MP_hsvToRgb(359.9f, 1.0f, 1.0f, fallback).x, 1.0f);
}

TEST(HsvModel, HueWrapMatchesWholeTurnsAndTerminatesForAnyHue)
{
    for (float h : {-1980.0f, -700.25f, -0.5f, 0.0f, 359.75f, 360.0f, 1234.5f, 2339.0f}) {
        float loop = h;
        while (loop < 0.0f)
            loop += 360.0f;
        while (loop >= 360.0f)
            loop -= 360.0f;
        EXPECT_EQ(MP_wrapHueTurns(h), loop) << h;
    }
    for (float h : {1e7f, -1e7f, 1e30f, -3e38f}) {
        const float w = MP_wrapHueTurns(h);
        EXPECT_GE(w, 0.0f) << h;
        EXPECT_LT(w, 360.0f) << h;
    }
    EXPECT_TRUE(std::isnan(MP_wrapHueTurns(std::numeric_limits<float>::infinity())));
    EXPECT_TRUE(std::isnan(MP_wrapHueTurns(std::numeric_limits<float>::quiet_NaN())));
}

TEST(HsvModel, PosteriseRatioTable)
{
    std::vector<float> table(65536);
    MP_posteriseRatioTable(0, 65536, table.data(), 0.302f);
    EXPECT_EQ(table[0], 0.0f);
    // Below the first step the ratio is 0: the factor is 0.005.
    EXPECT_FLOAT_EQ(table[1000], 0.005f);
    EXPECT_FLOAT_EQ(table[19790], 0.005f);
    // Just above the step: 0.302 / x.
    const float x = 20000 * MP_k;
    EXPECT_FLOAT_EQ(table[20000], ((x - std::fmod(x, 0.302f)) / x) * 0.99f + 0.005f);
    EXPECT_NEAR(table[20000], 0.302f / x * 0.99f + 0.005f, 1e-5f);

    // "Abstufungen" 100 (step 0.005): no factor above 0.995.
    MP_posteriseRatioTable(0, 65536, table.data(), 0.005f);
    float largest = 0.0f;
    for (float f : table)
        largest = std::max(largest, f);
    EXPECT_LE(largest, 0.995f);
    EXPECT_GT(largest, 0.99f);
}

// ---- "Farbton Sättigung Belichtung" -------------------------------------------------------

class HslTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelHSL");
    }
};

struct HslCase {
    const char* what;
    float hue, sat, val;      // slider fractions
    uint16_t in[3];
    int out[3];
};

TEST_F(HslTest, Examples)
{
    const HslCase cases[] = {
        // Black with a positive value offset: the colour of hue 360 H, saturation max(S, 0.001), value V.
        {"black, S +100 %, V +50 %", 0.5f, 1.0f, 0.75f, {0, 0, 0}, {32767, 0, 0}},
        {"black, no value offset", 0.7f, 1.0f, 0.5f, {0, 0, 0}, {0, 0, 0}},
        // +100 % saturation turns a grey fully saturated (red: its hue is 0).
        {"grey, S +100 %", 0.5f, 1.0f, 0.5f, {30000, 30000, 30000}, {29999, 0, 0}},
        // -100 % clamps saturation to 0.001, not 0.
        {"red, S -100 %", 0.5f, 0.0f, 0.5f, {65535, 0, 0}, {65535, 65469, 65469}},
        // A hue turn of +120 degrees (fraction 0.5 + 1/3) turns red into green.
        {"red, H +120", 0.5f + 1.0f / 3.0f, 0.5f, 0.5f, {65535, 0, 0}, {0, 65535, 0}},
        // -180 degrees: one correction brings the hue back into 0..360.
        {"green, H -180", 0.0f, 0.5f, 0.5f, {0, 65535, 0}, {65535, 0, 65535}},
    };
    for (const HslCase& c : cases) {
        p.p[0][0] = c.hue;
        p.p[1][0] = c.sat;
        p.p[2][0] = c.val;
        const auto out = onePixel(MP_calcPixelHSL, c.in[0], c.in[1], c.in[2], p);
        for (int ch = 0; ch < 3; ++ch)
            EXPECT_NEAR(out[ch], c.out[ch], 1) << c.what << " channel " << ch;
    }
}

TEST_F(HslTest, GreysTurnSlightlyRedWhenNeutral)
{
    // Hue 0 and saturation 0.001 / v: green and blue drop by 0.001, about 65 levels.
    const auto out = onePixel(MP_calcPixelHSL, 40000, 40000, 40000, p);
    EXPECT_NEAR(out[0], 40000, 1);
    EXPECT_EQ(out[1], out[2]);
    EXPECT_NEAR(out[0] - out[1], 65, 1);
}

TEST_F(HslTest, MaskWeightsTheEffectByLuminance)
{
    p.p[1][0] = 1.0f; // saturation +100 %
    // "eSplEffect lights": dark tones keep (nearly) their colour.
    setSpline(p, 3, {0, 0.02f, 0.04f, 0.2f, 0.8f, 1});
    const auto dark = onePixel(MP_calcPixelHSL, 3000, 3000, 3000, p);
    EXPECT_NEAR(dark[1], 3000, 30);
    const auto bright = onePixel(MP_calcPixelHSL, 64000, 64000, 64000, p);
    EXPECT_LT(bright[1], 2000);
}

TEST_F(HslTest, HugeOrNaNSlidersFromAFileLeaveThePixelAsItIs)
{
    for (float v : {1e30f, -1e30f, std::numeric_limits<float>::quiet_NaN()}) {
        p.p[0][0] = v;
        const auto out = onePixel(MP_calcPixelHSL, 20000, 30000, 40000, p);
        EXPECT_NEAR(out[0], 20000, 1) << v;
        EXPECT_NEAR(out[1], 30000, 1) << v;
        EXPECT_NEAR(out[2], 40000, 1) << v;
    }
}

// ---- "Psychedelic" -----------------------------------------------------------------------

class PsychoTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelPsycho");
    }
};

TEST_F(PsychoTest, WithoutSpreadColoursStayAndGreysShiftSlightlyRed)
{
    p.p[2][0] = 0.0f;
    const auto red = onePixel(MP_calcPixelPsycho, 65535, 0, 0, p);
    EXPECT_EQ(red, (std::array<int, 3>{65535, 0, 0}));
    const auto colour = onePixel(MP_calcPixelPsycho, 10000, 30000, 50000, p);
    EXPECT_NEAR(colour[0], 10000, 2);
    EXPECT_NEAR(colour[1], 30000, 2);
    EXPECT_NEAR(colour[2], 50000, 2);
    const auto grey = onePixel(MP_calcPixelPsycho, 40000, 40000, 40000, p);
    EXPECT_NEAR(grey[0] - grey[1], 65, 1);
}

TEST_F(PsychoTest, HueTurnsWithLuminance)
{
    // Spread 10 turns per unit of luminance: a luminance of 0.5 + 1/30 turns
    // the hue by a third of a turn; with Rec. 709 weights a pure red of
    // luminance 0.2126 turns by (0.2126 - 0.5) * 10 turns.
    p.p[2][0] = 1.0f;
    const float lum = p.lumr;
    float h = (lum - 0.5f) * 10.0f * 360.0f;
    while (h < 0.0f)
        h += 360.0f;
    const MP_float3 e = MP_hsvToRgb(h, 1.0f, 1.0f, {0, 0, 0});
    const auto out = onePixel(MP_calcPixelPsycho, 65535, 0, 0, p);
    EXPECT_NEAR(out[0], static_cast<int>(e.x * 65535.0f), 1);
    EXPECT_NEAR(out[1], static_cast<int>(e.y * 65535.0f), 1);
    EXPECT_NEAR(out[2], static_cast<int>(e.z * 65535.0f), 1);
    EXPECT_EQ(onePixel(MP_calcPixelPsycho, 0, 0, 0, p), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(PsychoTest, HugeAndInfiniteHuesTerminate)
{
    auto img = testPicture(9, 7);
    for (float spread : {1e9f, 3e38f, std::numeric_limits<float>::infinity()}) {
        p.p[2][0] = spread;
        std::vector<uint16_t> out(img.size());
        EXPECT_EQ(runByName("MP_calcPixelPsycho", img, out, 9, 7, p), 0) << spread;
    }
    // An infinite hue is no hue: the pixel keeps its colour.
    p.p[2][0] = 0.25f;
    p.p[0][0] = std::numeric_limits<float>::infinity();
    const auto out = onePixel(MP_calcPixelPsycho, 10000, 30000, 50000, p);
    EXPECT_NEAR(out[0], 10000, 1);
    EXPECT_NEAR(out[2], 50000, 1);
}

// ---- "Pop-Art" ---------------------------------------------------------------------------

class PopartTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelPopart");
    }
    std::vector<uint16_t> run(std::vector<uint16_t>& img, int w, int h)
    {
        std::vector<uint16_t> out(img.size());
        EXPECT_EQ(MP_calcPixelPopart(w, h, img.data(), out.data(), 6, 6, &p), 0);
        return out;
    }
};

// The expected Pop-Art colour of a solid picture: hue turned by the tile's
// offset, value kept, posterised by the sample's luminance.
std::array<int, 3> popartSolid(const MP_Params& p, float r, float g, float b, float tileTurns)
{
    const MP_hsv hsv = MP_rgbToHsv(r, g, b);
    float h = tileTurns * 360.0f + hsv.h;
    while (h < 0.0f)
        h += 360.0f;
    while (h >= 360.0f)
        h -= 360.0f;
    const MP_float3 e = MP_hsvToRgb(h, std::max(hsv.s, 0.001f), hsv.v, {r, g, b});
    std::vector<float> table(65536);
    const float step = (0.5f - 0.5f * p.p[4][0]) * 0.99f + 0.005f;
    MP_posteriseRatioTable(0, 65536, table.data(), step);
    const float f = table[static_cast<int>((p.lumr * r + p.lumg * g + p.lumb * b) * 65535.0f)];
    auto ch = [f](float c) { return static_cast<int>(std::min(1.0f, c * f) * 65535.0f); };
    return {ch(e.x), ch(e.y), ch(e.z)};
}

TEST_F(PopartTest, OneTileTurnsTheHueByMinus144Degrees)
{
    p.p[0][0] = 0.0f; // n = 1
    auto img = solidImage(5, 4, 65535, 0, 0);
    const auto out = run(img, 5, 4);
    const auto expected = popartSolid(p, 65535 * MP_k, 0.0f, 0.0f, -0.4f);
    // Hue 216: blue full, green 0.4, red 0, times the posterise factor.
    EXPECT_EQ(expected[0], 0);
    EXPECT_GT(expected[2], expected[1]);
    for (size_t i = 0; i < out.size(); i += 3)
        for (int ch = 0; ch < 3; ++ch)
            ASSERT_NEAR(out[i + ch], expected[ch], 1) << i / 3;
}

TEST_F(PopartTest, TilesAreNumberedFromTheTopLeft)
{
    // Default "Anzahl" 0.12 gives n = 2; with "Farbabstand" 0 the tiles turn
    // by -0.4, -0.2, 0 and +0.2 turns.
    auto img = solidImage(8, 6, 65535, 0, 0);
    const auto out = run(img, 8, 6);
    struct Probe {
        int x, y;
        float turns;
    };
    for (const Probe& pr : {Probe{1, 1, -0.4f}, Probe{6, 0, -0.2f}, Probe{0, 5, 0.0f}, Probe{7, 4, 0.2f}}) {
        const auto expected = popartSolid(p, 65535 * MP_k, 0.0f, 0.0f, pr.turns);
        const uint16_t* px = &out[(static_cast<size_t>(pr.y) * 8 + pr.x) * 3];
        for (int ch = 0; ch < 3; ++ch)
            EXPECT_NEAR(px[ch], expected[ch], 1) << pr.x << "," << pr.y << " channel " << ch;
    }
}

TEST_F(PopartTest, EachTileShowsTheWholePictureAndTheEdgeWrapsToColumnZero)
{
    // A grey ramp 4 x 1 with n = 2: column 2 lies at tile coordinate 4 =
    // sizex, which the wrapping sampler takes from column 0; column 3 from 2.
    std::vector<uint16_t> img;
    for (uint16_t v : {10000, 20000, 30000, 40000})
        img.insert(img.end(), {v, v, v});
    const auto out = run(img, 4, 1);
    auto brightest = [&](int x) { return std::max({out[x * 3], out[x * 3 + 1], out[x * 3 + 2]}); };
    EXPECT_EQ(brightest(2), brightest(0));
    EXPECT_EQ(brightest(3), brightest(1));
    EXPECT_LT(brightest(0), brightest(1));
}

TEST_F(PopartTest, DarkTonesBelowTheStepTurnNearlyBlack)
{
    p.p[4][0] = 0.0f; // "Abstufungen" 5: step 0.5 * 0.99 + 0.005
    auto img = solidImage(2, 2, 20000, 20000, 20000);
    const auto out = run(img, 2, 2);
    for (uint16_t v : out)
        EXPECT_LE(v, static_cast<uint16_t>(20000 * 0.005f + 1));
    auto black = solidImage(2, 2, 0, 0, 0);
    EXPECT_EQ(run(black, 2, 2), black);
}

TEST_F(PopartTest, TileCountFromAFileIsHeldInRange)
{
    auto img = testPicture(6, 6);
    for (float v : {-5.0f, 40.0f, 1e30f, std::numeric_limits<float>::quiet_NaN()}) {
        p.p[0][0] = v;
        std::vector<uint16_t> out(img.size());
        EXPECT_EQ(MP_calcPixelPopart(6, 6, img.data(), out.data(), 6, 6, &p), 0) << v;
    }
    // Beyond 10 tiles: the picture is that of 10 tiles.
    p.p[0][0] = 40.0f;
    const auto many = run(img, 6, 6);
    p.p[0][0] = 1.0f;
    EXPECT_EQ(run(img, 6, 6), many);
}

TEST_F(PopartTest, HugeAndInfiniteHuesTerminate)
{
    auto img = testPicture(6, 6);
    const float inf = std::numeric_limits<float>::infinity();
    for (float hue : {1e12f, -3e38f, inf})
        for (float spread : {0.0f, 1e30f, inf}) {
            p.p[1][0] = hue;
            p.p[3][0] = spread;
            std::vector<uint16_t> out(img.size());
            EXPECT_EQ(MP_calcPixelPopart(6, 6, img.data(), out.data(), 6, 6, &p), 0) << hue << " " << spread;
        }
}

// ---- Scratch buffer of Psycho and Pop-Art ---------------------------------------------------

class ScratchDrivers : public EngineTest {};

TEST_F(ScratchDrivers, WithoutScratchBufferReturnMinusOneAndWriteNothing)
{
    // A failed request makes every smaller one fail until the buffer is cleared.
    ASSERT_EQ(MP_UpdateBuffer(std::numeric_limits<size_t>::max() / 2), nullptr);
    auto src = testPicture(5, 5);
    std::vector<uint16_t> dst(src.size(), 7);
    MP_Params psycho = defaults("MP_calcPixelPsycho");
    MP_Params popart = defaults("MP_calcPixelPopart");
    EXPECT_EQ(MP_calcPixelPsycho(5, 5, src.data(), dst.data(), 6, 6, &psycho), -1);
    EXPECT_EQ(MP_calcPixelPopart(5, 5, src.data(), dst.data(), 6, 6, &popart), -1);
    EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 7));
    EXPECT_EQ(MP_calcPixelPsycho(5, 5, nullptr, dst.data(), 6, 6, &psycho), -2);
    EXPECT_EQ(MP_calcPixelPopart(5, 5, src.data(), nullptr, 6, 6, &popart), -2);
    MP_ClearBuffer();
    EXPECT_EQ(MP_calcPixelPsycho(5, 5, src.data(), dst.data(), 6, 6, &psycho), 0);
    EXPECT_NE(dst, std::vector<uint16_t>(src.size(), 7));
}

} // namespace
