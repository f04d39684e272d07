#include "tonefixture.h"

#include <cmath>

namespace {

void greyscaleDefaults(MP_Params& p)
{
    for (int k = 0; k < 6; ++k)
        p.p[k][0] = 0.5f;
}
void bleachDefaults(MP_Params& p)
{
    p.p[0][0] = 0.25f;
    p.p[1][0] = 0.5f;
    setMask(p.p[2], 1.0f);
}

// The full worker converts the grey (Greyscale) or works on 0..1 instead of
// the 16-bit scale (Bleach Bypass): one step of truncation apart.
INSTANTIATE_TEST_SUITE_P(
    Greyscale, ToneFrame,
    ::testing::Values(FrameCase{"MP_calcPixelGreyscale", 6, 7, greyscaleDefaults, 1, "Greyscale"},
                      FrameCase{"MP_calcPixelBleachBypass", 3, 4, bleachDefaults, 2, "BleachBypass"}),
    [](const auto& info) { return info.param.label; });

struct HueCase {
    uint16_t r, g, b;
    int slot;       // the coefficient raised to 2 ("Rotanteil" .. "Violettanteil"), -1: defaults
    float slider;   // its slider value
    int expected;   // grey of the reduced worker
};

class GreyscaleTest : public ToneTest {
protected:
    Image grey(const HueCase& c)
    {
        MP_Params p = blankParams();
        greyscaleDefaults(p);
        p.p[6][1] = 100.0f;
        if (c.slot >= 0)
            p.p[c.slot][0] = c.slider;
        return runCopy("MP_calcPixelGreyscale", 1, 1, solidImage(1, 1, c.r, c.g, c.b), p);
    }
};

TEST_F(GreyscaleTest, EachHueRangeHasItsOwnFilter)
{
    const HueCase cases[] = {
        // pure red: s = 1, h = 0, red weight 60, lum = 21842.814
        {65535, 0, 0, -1, 0.0f, 21842},
        {65535, 0, 0, 0, 1.0f, 43685},
        {65535, 0, 0, 0, 0.0f, 0},
        {65535, 0, 0, 2, 1.0f, 21842}, // the green filter leaves red alone
        // the centres of the other ranges
        {0, 65535, 0, 2, 1.0f, 43685},
        {0, 0, 65535, 4, 1.0f, 43685},
        {0, 65535, 65535, 3, 0.0f, 0},
        {65535, 0, 65535, 5, 0.75f, 65528}, // 43685.6 * 1.5
        {65535, 65535, 0, 1, 1.0f, 65535}, // 87371 clamped
        // half way between red and yellow (h = 30): half a weight each,
        // lum 32764.4 * (2 * 30 + 30) / 60
        {65535, 32768, 0, 0, 1.0f, 49146},
        // greys stay grey: only the red filter acts, with the weight 0.001 / max
        {30000, 30000, 30000, -1, 0.0f, 29997},
        {30000, 30000, 30000, 0, 1.0f, 29997},
        {30000, 30000, 30000, 2, 1.0f, 29997},
        // black stays black
        {0, 0, 0, 0, 1.0f, 0},
    };
    for (const HueCase& c : cases) {
        const Image out = grey(c);
        EXPECT_EQ(out[0], c.expected) << c.r << "," << c.g << "," << c.b << " slot " << c.slot;
        EXPECT_EQ(out[1], out[0]);
        EXPECT_EQ(out[2], out[0]);
    }
}

TEST_F(GreyscaleTest, SaturationScalesTheFilter)
{
    // (65535, 32768, 32768): s = 32767 / 65535, h = 0, red weight 60; with
    // "Rotanteil" 1 the grey is lum * (1 + s).
    const Image out = grey({65535, 32768, 32768, 0, 1.0f, 0});
    const float lum = (65535.0f + 32768.0f + 32768.0f) * 0.3333f;
    EXPECT_NEAR(out[0], lum * (1.0f + 32767.0f / 65535.0f), 1.0f);
}

class BleachBypassTest : public ToneTest {
protected:
    Image bleach(float strength, float decolour, float mask, uint16_t r, uint16_t g, uint16_t b)
    {
        MP_Params p = blankParams();
        p.p[0][0] = strength;
        p.p[1][0] = decolour;
        setMask(p.p[2], mask);
        p.p[3][1] = 100.0f;
        return runCopy("MP_calcPixelBleachBypass", 1, 1, solidImage(1, 1, r, g, b), p);
    }
};

TEST_F(BleachBypassTest, SCurveDesaturationAndMask)
{
    // "Stärke" 1: knots 0.04 and 0.16 below the middle; a grey of 0.2 becomes
    // about 0.04 (scaled by 0.2; the desaturation keeps the luminance).
    const uint16_t g02 = 13107;
    for (float decolour : {0.0f, 0.5f, 1.0f}) {
        const Image out = bleach(1.0f, decolour, 1.0f, g02, g02, g02);
        EXPECT_NEAR(out[0] / 65535.0f, 0.04f, 0.002f);
        EXPECT_EQ(out[0], out[2]);
    }
    // "Stärke" 0: the knots lie on the diagonal, the gain is about 1
    EXPECT_NEAR(bleach(0.0f, 0.0f, 1.0f, 32768, 32768, 32768)[0], 32768, 100);
    // "Entfärbung" 0 keeps the colour, 1 gives the grey luminance of the toned colour
    const Image coloured = bleach(0.0f, 0.0f, 1.0f, 50000, 30000, 10000);
    EXPECT_GT(coloured[0] - coloured[2], 35000);
    const Image greyed = bleach(0.0f, 1.0f, 1.0f, 50000, 30000, 10000);
    EXPECT_EQ(greyed[0], greyed[1]);
    EXPECT_EQ(greyed[1], greyed[2]);
    const float lum = params.lumr * 50000 + params.lumg * 30000 + params.lumb * 10000;
    EXPECT_NEAR(greyed[0], lum, 0.02f * lum);
    // a mask of 0 leaves the picture as it is; half a mask goes half way
    EXPECT_EQ(bleach(1.0f, 1.0f, 0.0f, 50000, 30000, 10000), (Image{50000, 30000, 10000}));
    const Image half = bleach(1.0f, 1.0f, 0.5f, 50000, 30000, 10000);
    const Image fully = bleach(1.0f, 1.0f, 1.0f, 50000, 30000, 10000);
    EXPECT_NEAR(half[0], (50000 + fully[0]) / 2.0, 2.0);
    EXPECT_NEAR(half[2], (10000 + fully[2]) / 2.0, 2.0);
}

} // namespace
