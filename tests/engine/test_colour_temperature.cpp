// Colour temperature and balance: ColorTemperature, Whitebalance, GammaColor,
// ColorBalance, Sepia and TiltColor.

#include "colourlightfixture.h"

#include <cmath>

namespace {

class ColourTemperatureTest : public ColourTest {};

// ---- Farbtemperatur ----------------------------------------------------------------

struct TemperatureCase {
    const char* what;
    float slider;
    float mask; // height of a flat "Maskierung" curve
    uint16_t in;
    uint16_t out;
};

TEST_F(ColourTemperatureTest, TemperatureFixedPointExamples)
{
    // A temperature below 0 K has the white (0, 0, 0): all three gains are
    // exactly 16384. A zero mask leaves only (32767 C) >> 15, whatever the
    // temperature.
    const TemperatureCase cases[] = {
        {"unit gains, full mask", -0.1f, 1.0f, 65535, 65533},
        {"unit gains, full mask", -0.1f, 1.0f, 32768, 32767},
        {"unit gains, full mask", -0.1f, 1.0f, 1000, 999},
        {"hot light, no mask", 0.9f, 0.0f, 65535, 65533},
        {"cold light, no mask", 0.0f, 0.0f, 1000, 999},
        {"cold light, no mask", 0.0f, 0.0f, 0, 0},
    };
    for (const auto& c : cases) {
        MP_Params p = block();
        p.p[0][0] = c.slider;
        setFlatCurve(p, 1, c.mask);
        setCombo(p, 2);
        auto img = pixels({{c.in, c.in, c.in}});
        ASSERT_EQ(runByName("MP_calcPixelColorTemperature", img, 1, 1, p), 0);
        EXPECT_EQ(img, pixels({{c.out, c.out, c.out}})) << c.what << " " << c.in;
    }
}

// The reduced worker runs several pixels at a time where the processor
// allows; it must give the bits of MP_colorTempPixel taken one pixel at a
// time: rows whose width is no multiple of the group, every 16-bit value in
// each channel, sliders, masks and weights beyond their ranges, in place and
// into a second buffer.
TEST_F(ColourTemperatureTest, ReducedWorkerIsBitIdenticalToThePixelFormula)
{
    struct Case {
        float slider;
        float mask[6];
        float lum[3]; // 0: the engine's weights
    };
    const Case cases[] = {
        {0.2f, {0.2f, 0.5f, 0.7f, 0.9f, 1.0f, 1.0f}, {0, 0, 0}},
        {0.9f, {1.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f}, {0, 0, 0}},
        {0.0f, {1.4f, 1.2f, 0.5f, -0.2f, -0.5f, 2.0f}, {0, 0, 0}},
        {1.3f, {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f}, {0.9f, 0.9f, 0.9f}},
        {-0.4f, {0.0f, 0.3f, 0.6f, 0.8f, 0.9f, 1.0f}, {-0.5f, 1.7f, 0.1f}},
    };
    // 256 x 256 pixels: red v, green 65535 - v, blue v * 7 (mod 65536)
    std::vector<uint16_t> every(65536 * 3);
    for (int v = 0; v < 65536; ++v) {
        every[v * 3] = static_cast<uint16_t>(v);
        every[v * 3 + 1] = static_cast<uint16_t>(65535 - v);
        every[v * 3 + 2] = static_cast<uint16_t>(v * 7);
    }
    const struct {
        int w, h;
        std::vector<uint16_t> src;
    } pictures[] = {{61, 13, picture(61, 13)}, {8, 3, picture(8, 3)}, {3, 5, picture(3, 5)}, {256, 256, every}};
    for (const Case& c : cases) {
        for (const auto& pic : pictures) {
            MP_Params p = block();
            if (c.lum[0] != 0.0f) {
                p.lumr = c.lum[0];
                p.lumg = c.lum[1];
                p.lumb = c.lum[2];
            }
            p.p[0][0] = c.slider;
            setCurve(p, 1, c.mask);
            setCombo(p, 2);
            std::vector<uint16_t> out(pic.src.size());
            auto inPlace = pic.src;
            ASSERT_EQ(MP_calcPixelColorTemperature(pic.w, pic.h, const_cast<uint16_t*>(pic.src.data()), out.data(),
                                                   6, 6, &p),
                      0);
            ASSERT_EQ(MP_calcPixelColorTemperature(pic.w, pic.h, inPlace.data(), inPlace.data(), 6, 6, &p), 0);
            float wr, wg, wb;
            MP_UI_GetRGBFromTemperatur(&wr, &wg, &wb, 15500.0f * c.slider + 1000.0f);
            const MP_ColorTempFixed f = MP_colorTempFixed(p.lumr, p.lumg, p.lumb, wr, wg, wb);
            std::vector<uint16_t> expected(pic.src.size());
            for (size_t i = 0; i < expected.size(); i += 3) {
                uint32_t o[3];
                MP_colorTempPixel<false>(f, MP_itemp_table, nullptr, &pic.src[i], o);
                for (int ch = 0; ch < 3; ++ch)
                    expected[i + ch] = static_cast<uint16_t>(o[ch]);
            }
            EXPECT_EQ(out, expected) << "slider " << c.slider << " width " << pic.w;
            EXPECT_EQ(inPlace, expected) << "slider " << c.slider << " width " << pic.w << " in place";
        }
    }
}

TEST_F(ColourTemperatureTest, EqualWhitesGiveUnitGains)
{
    for (float w : {0.0f, 0.25f, 0.7f, 1.0f}) {
        const MP_ColorTempFixed f = MP_colorTempFixed(0.2126f, 0.7152f, 0.0722f, w, w, w);
        EXPECT_EQ(f.gain[0], 16384u);
        EXPECT_EQ(f.gain[1], 16384u);
        EXPECT_EQ(f.gain[2], 16384u);
    }
}

TEST_F(ColourTemperatureTest, LowTemperaturesCoolAndHighOnesWarm)
{
    // 14950 K is bluish: the gains lower blue and raise red; 1000 K the other way.
    for (float slider : {0.9f, 0.0f}) {
        MP_Params p = block();
        p.p[0][0] = slider;
        setFlatCurve(p, 1, 1.0f);
        setCombo(p, 2);
        auto img = pixels({{30000, 30000, 30000}});
        ASSERT_EQ(runByName("MP_calcPixelColorTemperature", img, 1, 1, p), 0);
        if (slider > 0.5f)
            EXPECT_GT(img[0], img[2]);
        else
            EXPECT_LT(img[0], img[2]);
    }
}

TEST_F(ColourTemperatureTest, MaskCurveOutsideTheUnitRangeIsHeldToIt)
{
    // A flat curve takes the spline's unclamped shortcut: 1.5 would make the
    // Q15 mask 49150 and overflow the products, -0.5 would make it negative.
    const int w = 16, h = 8;
    const auto src = picture(w, h);
    auto run = [&](float mask) {
        MP_Params p = block();
        p.p[0][0] = 0.9f;
        setFlatCurve(p, 1, mask);
        setCombo(p, 2);
        auto img = src;
        EXPECT_EQ(runByName("MP_calcPixelColorTemperature", img, w, h, p), 0);
        return img;
    };
    EXPECT_EQ(run(1.5f), run(1.0f));
    EXPECT_EQ(run(-0.5f), run(0.0f));
    EXPECT_NE(run(1.0f), run(0.0f));
    EXPECT_EQ(MP_colorTempMaskEntry(NAN), 0);
    EXPECT_EQ(MP_colorTempMaskEntry(1.0f), 32767);
    EXPECT_EQ(MP_colorTempMaskEntry(0.5f), 16383);
}

TEST_F(ColourTemperatureTest, MaskFollowsTheLuminance)
{
    // Mask 0 for the darks, 1 for the lights: a pixel on the knot at 0.2 only
    // gets the slight Q15 lowering, one on the knot at 0.8 the full gains.
    MP_Params p = block();
    p.p[0][0] = 0.9f;
    const float y[6] = {0, 0, 0, 1, 1, 1};
    setCurve(p, 1, y);
    setCombo(p, 2);
    auto img = pixels({{13107, 13107, 13107}, {52428, 52428, 52428}});
    ASSERT_EQ(runByName("MP_calcPixelColorTemperature", img, 2, 1, p), 0);
    EXPECT_NEAR(img[0], 13106, 2);
    EXPECT_NEAR(img[2], 13106, 2);
    EXPECT_GT(img[3], img[5] + 10000);
}

// ---- manueller Weißabgleich --------------------------------------------------------

TEST_F(ColourTemperatureTest, WhitebalanceOfWhiteDiffersBetweenTheWorkers)
{
    // The reduced worker's mean is 0.99999 (gain 0.99998); the full worker's
    // is exactly 1, leaving only the round trip through the working colour.
    const uint16_t values[] = {65535, 65534, 1, 257, 40000};
    const uint16_t reduced[] = {65533, 65532, 0, 256, 39999};
    for (bool full : {false, true}) {
        MP_Params p = block();
        p.p[0][2] = p.p[0][3] = p.p[0][4] = 1.0f;
        setCombo(p, 1);
        if (full)
            setInertGeometry(p, 2);
        std::vector<uint16_t> img;
        for (uint16_t v : values)
            img.insert(img.end(), {v, v, v});
        ASSERT_EQ(MP_calcPixelWhitebalance(5, 1, img.data(), img.data(), 6, 6, &p), 0);
        for (int i = 0; i < 5; ++i) {
            const uint16_t expected = full ? roundTrip(values[i]) : reduced[i];
            EXPECT_EQ(img[3 * i], expected) << (full ? "full " : "reduced ") << values[i];
            EXPECT_EQ(img[3 * i + 2], expected);
        }
    }
}

TEST_F(ColourTemperatureTest, WhitebalanceGainsAreSquaredAndClamped)
{
    // Picked colour (0.5, 1, 1): f = 1 + 0.83333, red gain 1.3333^2, green and
    // blue 0.8333^2; red above 1 is written as 65535.
    MP_Params p = block();
    p.p[0][2] = 0.5f;
    p.p[0][3] = 1.0f;
    p.p[0][4] = 1.0f;
    setCombo(p, 1);
    auto img = pixels({{30000, 30000, 30000}, {60000, 60000, 60000}});
    ASSERT_EQ(runByName("MP_calcPixelWhitebalance", img, 2, 1, p), 0);
    EXPECT_NEAR(img[0], 30000 * 1.33333 * 1.33333, 3);
    EXPECT_NEAR(img[1], 30000 * 0.83333 * 0.83333, 3);
    EXPECT_EQ(img[3], 65535);
}

// ---- Farbkanal Gamma and Farbbalance ------------------------------------------------

TEST_F(ColourTemperatureTest, GammaColorAtItsDefaultsIsTheRoundTripOnly)
{
    // Every 16-bit value once per channel: 512 of them come back one lower.
    const int w = 256, h = 256;
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int v = 0; v < 65536; ++v) {
        img[3 * v] = static_cast<uint16_t>(v);
        img[3 * v + 1] = static_cast<uint16_t>(65535 - v);
        img[3 * v + 2] = static_cast<uint16_t>((v * 7) & 0xFFFF);
    }
    const auto src = img;
    MP_Params p = block();
    p.p[0][0] = p.p[1][0] = p.p[2][0] = 0.5f;
    setCombo(p, 3);
    ASSERT_EQ(runByName("MP_calcPixelGammaColor", img, w, h, p), 0);
    int lower[3] = {0, 0, 0};
    for (size_t i = 0; i < img.size(); ++i) {
        ASSERT_EQ(img[i], roundTrip(src[i])) << i;
        lower[i % 3] += img[i] != src[i];
    }
    EXPECT_EQ(lower[0], 512);
    EXPECT_EQ(lower[1], 512);
    EXPECT_EQ(lower[2], 512);
}

TEST_F(ColourTemperatureTest, GammaColorExponents)
{
    // "Gamma Rotanteil" at 1: exponent 0.005 lifts every red above black to
    // near 1; at 0: exponent 1.995 darkens; black stays black.
    MP_Params p = block();
    p.p[0][0] = 1.0f;
    p.p[1][0] = 0.0f;
    p.p[2][0] = 0.5f;
    setCombo(p, 3);
    auto img = pixels({{32768, 32768, 32768}, {0, 0, 0}});
    ASSERT_EQ(runByName("MP_calcPixelGammaColor", img, 2, 1, p), 0);
    EXPECT_NEAR(img[0], std::pow(0.5, 0.005) * 65535, 2);
    EXPECT_NEAR(img[1], std::pow(0.5, 1.995) * 65535, 2);
    EXPECT_EQ(img[2], roundTrip(32768));
    EXPECT_EQ(img[3], 0);
    EXPECT_EQ(img[4], 0);
}

TEST_F(ColourTemperatureTest, GammaSliderBeyondItsRangeDoesNotWrap)
{
    // A slider of 2 from a file gives the exponent -1.985: the table holds
    // infinities near black, which are written as white, not wrapped.
    MP_Params p = block();
    p.p[0][0] = p.p[1][0] = p.p[2][0] = 2.0f;
    setCombo(p, 3);
    auto img = pixels({{0, 1, 65535}});
    ASSERT_EQ(runByName("MP_calcPixelGammaColor", img, 1, 1, p), 0);
    EXPECT_EQ(img, pixels({{65535, 65535, 65535}}));
}

TEST_F(ColourTemperatureTest, ColorBalanceRedFullyTurnsRedToWhite)
{
    // "Cyan-Rot" 1, "Magenta-Grün" 0, "Gelb-Blau" 0.5: the red exponent
    // -0.4925 is clamped to 0 and powf(x, 0) = 1 everywhere, black included.
    MP_Params p = block();
    p.p[0][0] = 1.0f;
    p.p[1][0] = 0.0f;
    p.p[2][0] = 0.5f;
    setCombo(p, 3);
    const int w = 9, h = 7;
    auto img = picture(w, h);
    const auto src = img;
    ASSERT_EQ(runByName("MP_calcPixelColorBalance", img, w, h, p), 0);
    for (size_t i = 0; i < img.size(); i += 3) {
        EXPECT_EQ(img[i], 65535) << i;
        // green's exponent is 1.4975: darker; blue's is 1: the round trip
        EXPECT_LE(img[i + 1], src[i + 1]);
        EXPECT_EQ(img[i + 2], roundTrip(src[i + 2]));
    }
    EXPECT_EQ(img[1], 0);
}

// ---- Sepia Tönung ------------------------------------------------------------------

TEST_F(ColourTemperatureTest, SepiaWithAGreyToneGivesTheLuminance)
{
    MP_Params p = block();
    setFlatCurve(p, 0, 1.0f);
    p.p[1][2] = p.p[1][3] = p.p[1][4] = 0.4f;
    setCombo(p, 2);
    const int w = 8, h = 6;
    auto img = picture(w, h);
    ASSERT_EQ(runByName("MP_calcPixelSepia", img, w, h, p), 0);
    for (size_t i = 0; i < img.size(); i += 3) {
        EXPECT_EQ(img[i], img[i + 1]);
        EXPECT_EQ(img[i], img[i + 2]);
    }
    auto grey = pixels({{20000, 20000, 20000}});
    ASSERT_EQ(runByName("MP_calcPixelSepia", grey, 1, 1, p), 0);
    EXPECT_NEAR(grey[0], 20000, 1);
}

TEST_F(ColourTemperatureTest, SepiaTintsAndItsMaskWeighs)
{
    // Tone (0.9, 0.8, 0.6): t = (1.1333, 1.0333, 0.8333); mask 0 keeps the
    // colour (round trip), mask 1 gives lum * t.
    auto run = [this](float mask) {
        MP_Params p = block();
        setFlatCurve(p, 0, mask);
        p.p[1][2] = 0.9f;
        p.p[1][3] = 0.8f;
        p.p[1][4] = 0.6f;
        setCombo(p, 2);
        auto img = pixels({{32768, 32768, 32768}, {50000, 10000, 3000}});
        EXPECT_EQ(runByName("MP_calcPixelSepia", img, 2, 1, p), 0);
        return img;
    };
    const auto full = run(1.0f);
    EXPECT_NEAR(full[0], 32768 * 1.133333, 3);
    EXPECT_NEAR(full[1], 32768 * 1.033333, 3);
    EXPECT_NEAR(full[2], 32768 * 0.833333, 3);
    const auto none = run(0.0f);
    EXPECT_EQ(none, pixels({{roundTrip(32768), roundTrip(32768), roundTrip(32768)},
                            {roundTrip(50000), roundTrip(10000), roundTrip(3000)}}));
}

// ---- Farbverlauf -------------------------------------------------------------------

struct TiltSetup {
    float breite, intensitaet;
    float line[4];
    float colour[3];
};

MP_Params tiltBlock(const TiltSetup& s)
{
    MP_Params p{};
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.p[0][0] = s.breite;
    p.p[1][0] = s.intensitaet;
    for (int i = 0; i < 4; ++i)
        p.p[2][i] = s.line[i];
    for (int i = 0; i < 3; ++i)
        p.p[3][2 + i] = s.colour[i];
    p.p[4][1] = 100.0f;
    return p;
}

TEST_F(ColourTemperatureTest, TiltColorWithoutWidthOnlyRescalesByTheLuminanceRatio)
{
    // "Breite" 0: v = 0; with "Intensität" 1 each channel is multiplied by
    // lum / (lum + 0.001).
    MP_Params p = tiltBlock({0.0f, 1.0f, {0.1f, 0.4f, 0.9f, 0.6f}, {0.9f, 0.8f, 0.45f}});
    auto img = pixels({{32768, 32768, 32768}, {6554, 6554, 6554}});
    ASSERT_EQ(runByName("MP_calcPixelTiltColor", img, 2, 1, p), 0);
    EXPECT_NEAR(img[0], 32768 * (0.5 / 0.501), 1);
    EXPECT_NEAR(img[3], 6554 * (0.1 / 0.101), 1);
    EXPECT_EQ(img[0], img[2]);
}

TEST_F(ColourTemperatureTest, TiltColorWithBothPointsEqualIsRadial)
{
    // q = 0: lambda = 0 and the tint grows with the distance from the point.
    // A grey picture tinted red: green falls as the distance grows.
    const int w = 21, h = 1;
    MP_Params p = tiltBlock({0.25f, 0.0f, {0.5f, 0.0f, 0.5f, 0.0f}, {1.0f, 0.0f, 0.0f}});
    auto img = solidImage(w, h, 30000, 30000, 30000);
    ASSERT_EQ(runByName("MP_calcPixelTiltColor", img, w, h, p), 0);
    // The point's own column (x = 10.5 is the point; 10 and 11 are nearest).
    EXPECT_NEAR(img[3 * 10 + 1], 30000 * (1 - 0.5 / 21), 3);
    for (int x = 11; x + 1 < w; ++x) {
        EXPECT_GT(img[3 * x + 1], img[3 * (x + 1) + 1]) << x;
        EXPECT_GT(img[3 * x], img[3 * x + 1]);
    }
    for (int x = 10; x > 0; --x)
        EXPECT_GT(img[3 * x + 1], img[3 * (x - 1) + 1]) << x;
}

TEST_F(ColourTemperatureTest, TiltColorFarFromTheLineKeepsTheLuminance)
{
    // v = 1 far from the line: the tone colour times lum, rescaled to the
    // pixel's own luminance by "Intensität" 1.
    MP_Params p = tiltBlock({1.0f, 1.0f, {0.0f, 0.0f, 1.0f, 0.0f}, {0.9f, 0.6f, 0.3f}});
    const int w = 4, h = 4;
    auto img = solidImage(w, h, 30000, 30000, 30000);
    ASSERT_EQ(runByName("MP_calcPixelTiltColor", img, w, h, p), 0);
    const uint16_t* last = &img[img.size() - 3];
    const float lum = p.lumr * last[0] + p.lumg * last[1] + p.lumb * last[2];
    const double lk = 30000.0 / 65535.0 * (p.lumr * 0.9 + p.lumg * 0.6 + p.lumb * 0.3);
    EXPECT_NEAR(lum, 30000.0 * lk / (lk + 0.001), 3.0);
    EXPECT_GT(last[0], last[1]);
    EXPECT_GT(last[1], last[2]);
    // Row 0 lies on the line: v = 0, only the luminance ratio applies.
    EXPECT_NEAR(img[0], 30000 * (0.457771 / 0.458771), 2);
}

} // namespace
