#include "tonefixture.h"

#include <cmath>

namespace {

void lightShadowDefaults(MP_Params& p)
{
    p.p[0][0] = 1.0f;
    p.p[1][0] = 0.0f;
    p.p[2][0] = 0.5f;
    p.p[3][0] = 0.5f;
}
void colorLightShadowDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
}
void centerLightDefaults(MP_Params& p)
{
    p.p[0][0] = 0.6f;
    p.p[1][0] = 0.4f;
    p.p[2][0] = 0.5f;
    p.p[3][0] = 0.5f;
    p.p[3][1] = 0.5f;
}
void vignetteDefaults(MP_Params& p)
{
    p.p[0][0] = 0.45f;
    p.p[1][0] = 0.1f;
    p.p[2][0] = 0.5f;
    p.p[3][0] = 0.5f;
    p.p[3][1] = 0.5f;
    p.p[4][2] = p.p[4][3] = p.p[4][4] = 1.0f;
}

INSTANTIATE_TEST_SUITE_P(LightShadow, ToneFrame,
                         ::testing::Values(FrameCase{"MP_calcPixelLightShadow", 4, 5, lightShadowDefaults, 0, "LS"},
                                           FrameCase{"MP_calcPixelColorLightShadow", 2, 3, colorLightShadowDefaults,
                                                     0, "CLS"},
                                           FrameCase{"MP_calcPixelCenterLight", 4, 5, centerLightDefaults, 0, "CL"},
                                           FrameCase{"MP_calcPixelVignette", 5, 6, vignetteDefaults, 0, "V"}),
                         [](const auto& info) { return info.param.label; });

class LightShadowTest : public ToneTest {
protected:
    // One grey pixel through "Licht/Schatten anpassen" as a fraction of full scale.
    float grey(float v, float p0, float p1, float p2, float p3)
    {
        MP_Params p = blankParams();
        p.p[0][0] = p0;
        p.p[1][0] = p1;
        p.p[2][0] = p2;
        p.p[3][0] = p3;
        p.p[4][1] = 100.0f;
        const uint16_t g = static_cast<uint16_t>(v * 65535.0f);
        Image out = runCopy("MP_calcPixelLightShadow", 1, 1, solidImage(1, 1, g, g, g), p);
        EXPECT_EQ(out[0], out[1]);
        EXPECT_EQ(out[0], out[2]);
        return out[0] / 65535.0f;
    }
};

struct GreyCase {
    float in, p0, p1, p2, p3, expected, tolerance;
};

TEST_F(LightShadowTest, CeilingFloorAndCurves)
{
    const GreyCase cases[] = {
        // defaults: exponent 1.005 bends lights and shadows by well under 1 %
        {0.9f, 1.0f, 0.0f, 0.5f, 0.5f, 0.9f, 0.009f},
        {0.2f, 1.0f, 0.0f, 0.5f, 0.5f, 0.2f, 0.002f},
        // ceiling 0.5: white is pulled to 0.5, then the light curve (full weight)
        {1.0f, 0.0f, 0.0f, 0.5f, 0.5f, std::pow(0.5f, 1.005f), 0.0001f},
        // floor 0.5: darker pixels are black before the shadow curve, which
        // only lifts them by its 0.001 offset
        {0.3f, 1.0f, 1.0f, 0.5f, 0.5f, 0.4f * std::pow(0.001f, 1.005f), 0.00002f},
        {0.49f, 1.0f, 1.0f, 0.5f, 0.5f, 0.02f * std::pow(0.001f, 1.005f), 0.00002f},
        // "Lichter anpassen" at its top: exponent 0.01 lifts a 0.75 grey half way to 1
        {0.75f, 1.0f, 0.0f, 1.0f, 0.5f, 0.5f * std::pow(0.75f, 0.01f) + 0.5f * 0.75f, 0.0001f},
        // "Schatten anpassen" at its bottom: exponent 2.0 on a 0.25 grey at half weight
        {0.25f, 1.0f, 0.0f, 0.5f, 0.0f, 0.5f * std::pow(0.251f, 2.0f) + 0.5f * 0.25f, 0.0001f},
        // mid-grey is neither light nor shadow
        {0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f, 0.00002f},
    };
    for (const GreyCase& c : cases)
        EXPECT_NEAR(grey(c.in, c.p0, c.p1, c.p2, c.p3), c.expected, c.tolerance)
            << c.in << " " << c.p0 << " " << c.p1 << " " << c.p2 << " " << c.p3;
}

TEST_F(LightShadowTest, CeilingKeepsTheHueAndTheBlockIsOnlyReadBack)
{
    // A light orange above the ceiling 0.75 keeps its channel ratios.
    params.p[0][0] = 0.5f; // L = 0.75
    params.p[2][0] = 0.5f;
    params.p[3][0] = 0.5f;
    params.p[4][1] = 100.0f;
    const MP_Params before = params;
    Image out = runCopy("MP_calcPixelLightShadow", 1, 1, solidImage(1, 1, 65535, 60000, 40000), params);
    EXPECT_NEAR(double(out[1]) / out[0], 60000.0 / 65535.0, 0.002);
    EXPECT_NEAR(double(out[2]) / out[0], 40000.0 / 65535.0, 0.002);
    // its luminance is pulled down to the ceiling
    const float lum = (params.lumr * out[0] + params.lumg * out[1] + params.lumb * out[2]) / 65535.0f;
    EXPECT_NEAR(lum, 0.75f, 0.005f);
    // Nothing of a block without geometry is changed by the run.
    EXPECT_EQ(std::memcmp(before.p, params.p, sizeof params.p), 0);
}

// The reduced worker runs several pixels at a time; it must give the very
// bits of the per-pixel effect (the full worker with a mask that hides
// nothing), with lights pulled to the ceiling, shadows cut, sliders out of
// range and rows whose width is no multiple of the group.
TEST_F(LightShadowTest, ReducedWorkerIsBitIdenticalToThePerPixelEffect)
{
    const float settings[][4] = {
        {1.0f, 0.0f, 0.5f, 0.5f},   {0.4f, 0.3f, 0.9f, 0.1f},   {0.0f, 1.0f, 0.0f, 1.0f},
        {0.8f, 0.1f, 0.7f, 0.3f},   {-0.5f, 1.4f, 1.2f, -0.3f}, {3.0f, -1.0f, 1.01f, 1.02f},
    };
    for (int w : {61, 8, 3}) {
        const int h = 13;
        Image src = testPicture(w, h);
        src[0] = src[1] = src[2] = 0;
        for (const auto& v : settings) {
            MP_Params p = blankParams();
            for (int k = 0; k < 4; ++k)
                p.p[k][0] = v[k];
            p.p[4][1] = 100.0f;
            const Image reduced = runCopy("MP_calcPixelLightShadow", w, h, src, p);
            setInertGeometry(p, 5);
            EXPECT_EQ(runCopy("MP_calcPixelLightShadow", w, h, src, p), reduced)
                << "width " << w << " settings " << v[0] << " " << v[1] << " " << v[2] << " " << v[3];
        }
    }
}

TEST_F(LightShadowTest, ColourLightShadowKeepsGreyAndPullsLightsTogether)
{
    params.p[2][1] = 100.0f;
    // A grey stays grey (all three tables equal) at any strength.
    for (float q : {0.0f, 0.5f, 1.0f}) {
        params.p[0][0] = params.p[1][0] = q;
        for (uint16_t g : {uint16_t(5000), uint16_t(30000), uint16_t(60000)}) {
            Image out = runCopy("MP_calcPixelColorLightShadow", 1, 1, solidImage(1, 1, g, g, g), params);
            EXPECT_NEAR(out[0], g, 1);
            EXPECT_EQ(out[0], out[1]);
            EXPECT_EQ(out[0], out[2]);
        }
    }
    // "Lichter färben" at 0 (k = 0.025): a saturated light colour turns
    // almost grey of the same channel sum.
    params.p[0][0] = 0.0f;
    params.p[1][0] = 0.5f;
    Image out = runCopy("MP_calcPixelColorLightShadow", 1, 1, solidImage(1, 1, 65535, 62000, 50000), params);
    const int spreadIn = 65535 - 50000;
    const int spreadOut = std::max({out[0], out[1], out[2]}) - std::min({out[0], out[1], out[2]});
    EXPECT_LT(spreadOut, spreadIn / 4);
    EXPECT_NEAR(out[0] + out[1] + out[2], 65535 + 62000 + 50000, 6);
    // At 1 (k = 6.25) the same colour is driven apart.
    params.p[0][0] = 1.0f;
    out = runCopy("MP_calcPixelColorLightShadow", 1, 1, solidImage(1, 1, 60000, 55000, 50000), params);
    EXPECT_GT(std::max({out[0], out[1], out[2]}) - std::min({out[0], out[1], out[2]}), 10000);
}

TEST_F(LightShadowTest, CenterLightZones)
{
    const int w = 10, h = 10;
    params.p[2][0] = 0.5f;
    params.p[3][0] = params.p[3][1] = 0.5f;
    params.p[4][1] = 100.0f;
    // "Mitte" at 1: the exponent at the centre is 0, black becomes white.
    params.p[0][0] = 1.0f;
    params.p[1][0] = 0.5f;
    Image out = runCopy("MP_calcPixelCenterLight", w, h, solidImage(w, h, 0, 0, 0), params);
    EXPECT_EQ(at(out, w, 5, 5, 0), 65535);
    EXPECT_EQ(at(out, w, 0, 0, 0), 0);
    // "Mitte" and "Ränder" at 0.5: no change anywhere (but the round trip).
    params.p[0][0] = 0.5f;
    const Image src = testPicture(w, h);
    out = runCopy("MP_calcPixelCenterLight", w, h, src, params);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_EQ(out[i], roundTrip(src[i]));
    // Defaults: the centre is brightened, the corners darkened.
    centerLightDefaults(params);
    out = runCopy("MP_calcPixelCenterLight", w, h, solidImage(w, h, 30000, 30000, 30000), params);
    EXPECT_GT(at(out, w, 5, 5, 1), 30000);
    EXPECT_LT(at(out, w, 0, 0, 1), 30000);
}

TEST_F(LightShadowTest, VignetteFadesTowardTheTintedLuminance)
{
    const int w = 21, h = 21;
    vignetteDefaults(params);
    params.p[5][1] = 100.0f;
    params.p[0][0] = 0.5f; // v = 0: only the tint step
    const Image src = solidImage(w, h, 60000, 20000, 10000);
    Image out = runCopy("MP_calcPixelVignette", w, h, src, params);
    // in the middle P is about 1: the colour stays
    EXPECT_EQ(at(out, w, 10, 10, 0), roundTrip(60000));
    EXPECT_EQ(at(out, w, 10, 10, 2), roundTrip(10000));
    // toward the corners the colour gives way to its grey luminance
    const float lum = (params.lumr * 60000 + params.lumg * 20000 + params.lumb * 10000);
    EXPECT_LT(std::abs(at(out, w, 0, 0, 0) - lum), std::abs(60000 - lum));
    EXPECT_LT(std::abs(at(out, w, 0, 0, 2) - lum), std::abs(10000 - lum));
    // a black tint turns the borders black even at v = 0
    params.p[4][2] = params.p[4][3] = params.p[4][4] = 0.0f;
    params.p[1][0] = 1.0f;
    out = runCopy("MP_calcPixelVignette", w, h, src, params);
    EXPECT_EQ(at(out, w, 0, 0, 0), 0);
    EXPECT_EQ(at(out, w, 10, 10, 0), roundTrip(60000));
    // "dunkel" darkens and "hell" brightens the borders
    vignetteDefaults(params);
    const Image grey = solidImage(w, h, 30000, 30000, 30000);
    params.p[0][0] = 0.0f;
    EXPECT_LT(at(runCopy("MP_calcPixelVignette", w, h, grey, params), w, 0, 0, 0), 25000);
    params.p[0][0] = 1.0f;
    EXPECT_GT(at(runCopy("MP_calcPixelVignette", w, h, grey, params), w, 0, 0, 0), 35000);
}

// At "Intensität" 1 and "Schärfe" 1 the corner's a^(3h) underflows to 0; the
// brightening must still saturate to white (and leave black black) in every
// worker and blend mode instead of dividing by zero.
TEST_F(LightShadowTest, VignetteStrongBrighteningSaturatesInsteadOfDividingByZero)
{
    const int w = 20, h = 20;
    vignetteDefaults(params);
    params.p[0][0] = 1.0f;
    params.p[1][0] = 1.0f;
    Image src = solidImage(w, h, 40000, 40000, 40000);
    src[0] = src[1] = src[2] = 0; // a black corner
    for (float mode : {0.0f, 9.0f, 12.0f}) {
        MP_Params p = params;
        p.p[5][0] = mode;
        p.p[5][1] = 100.0f;
        setInertGeometry(p, 6);
        Image out = runCopy("MP_calcPixelVignette", w, h, src, p);
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(at(out, w, w - 1, h - 1, c), 65535) << "mode " << mode;
            EXPECT_EQ(at(out, w, w - 1, 0, c), 65535) << "mode " << mode;
            if (mode != 12.0f) { // black stays black
                EXPECT_EQ(at(out, w, 0, 0, c), 0) << "mode " << mode;
            }
        }
    }
}

} // namespace
