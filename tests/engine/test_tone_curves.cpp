#include "tonefixture.h"

#include "engine/tone/curves.h"

#include <cmath>
#include <cstdint>

namespace {

void setKnots(float* slot, const float* y)
{
    const float x[6] = {0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
    for (int i = 0; i < 6; ++i) {
        slot[2 * i] = x[i];
        slot[2 * i + 1] = y[i];
    }
}
constexpr float kIdentity[6] = {0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
constexpr float kOnes[6] = {1, 1, 1, 1, 1, 1};
constexpr float kHalves[6] = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
constexpr float kZeros[6] = {0, 0, 0, 0, 0, 0};
constexpr float kRaise[6] = {0.0f, 0.35f, 0.6f, 0.78f, 0.9f, 1.0f};

void basicToolsDefaults(MP_Params& p)
{
    p.p[0][0] = p.p[1][0] = p.p[2][0] = 0.5f;
    setKnots(p.p[3], kOnes);
}
void gradationDefaults(MP_Params& p) { setKnots(p.p[0], kIdentity); }
void histogramDefaults(MP_Params& p) { p.p[0][0] = 0.5f; }

INSTANTIATE_TEST_SUITE_P(
    Curves, ToneFrame,
    ::testing::Values(FrameCase{"MP_calcPixelBasicTools", 4, 5, basicToolsDefaults, 0, "BasicTools"},
                      FrameCase{"MP_calcPixelGradationLagrange", 1, 2, gradationDefaults, 0, "Gradation"},
                      FrameCase{"MP_calcPixelHistogramEqualize", 1, 2, histogramDefaults, 0, "Histogram"}),
    [](const auto& info) { return info.param.label; });

class CurvesTest : public ToneTest {
protected:
    void SetUp() override
    {
        ToneTest::SetUp();
        params.p[4][1] = 100.0f; // BasicTools' opacity
        params.p[1][1] = 100.0f; // the gradation curve's opacity
    }
    // Every 16-bit value once, in all three channels of a 256 x 256 picture.
    static Image allValues()
    {
        Image img(65536 * 3);
        for (size_t v = 0; v < 65536; ++v)
            img[3 * v] = img[3 * v + 1] = img[3 * v + 2] = static_cast<uint16_t>(v);
        return img;
    }
    // The knots of slot 0 as a curve.
    static float curve(const float* k, float x)
    {
        return MP_cubicSpline(1, x, k[0], k[2], k[4], k[6], k[8], k[10], k[1], k[3], k[5], k[7], k[9], k[11]);
    }
    // Makes the next scratch-buffer request fail.
    static void exhaustScratchBuffer() { ASSERT_EQ(MP_UpdateBuffer(SIZE_MAX / 4), nullptr); }
};

struct BasicCase {
    float brightness, contrast, gamma;
    const float* mask;
    float in;       // grey, fraction of full scale
    float expected; // fraction of full scale
    float tolerance;
};

TEST_F(CurvesTest, BasicToolsBrightnessContrastGammaUnderTheMask)
{
    const BasicCase cases[] = {
        // "Helligkeit" at 1, contrast and gamma neutral: full mask clips to white
        {1.0f, 0.5f, 0.5f, kOnes, 0.3f, 1.0f, 0.00002f},
        // ... and half a mask lifts black to 0.125 (y = 0.25, then half and half with 0)
        {1.0f, 0.5f, 0.5f, kHalves, 0.0f, 0.125f, 0.00002f},
        // contrast 2 around mid-grey
        {0.5f, 1.0f, 0.5f, kOnes, 0.25f, 0.0f, 0.0f},
        {0.5f, 1.0f, 0.5f, kOnes, 0.625f, 0.75f, 0.00004f},
        // gamma 3.980025 at "Gamma Korrektur" 0 and 0.005 at 1
        {0.5f, 0.5f, 0.0f, kOnes, 0.5f, std::pow(0.5f, 3.980025f), 0.00004f},
        {0.5f, 0.5f, 1.0f, kOnes, 0.5f, std::pow(0.5f, 0.005f), 0.00004f},
        // a mask of 0 leaves everything as it is
        {1.0f, 1.0f, 1.0f, kZeros, 0.4f, 0.4f, 0.00002f},
    };
    for (const BasicCase& c : cases) {
        MP_Params p = params;
        p.p[0][0] = c.brightness;
        p.p[1][0] = c.contrast;
        p.p[2][0] = c.gamma;
        setKnots(p.p[3], c.mask);
        const uint16_t g = static_cast<uint16_t>(c.in * 65535.0f);
        Image out = runCopy("MP_calcPixelBasicTools", 1, 1, solidImage(1, 1, g, g, g), p);
        EXPECT_NEAR(out[0] / 65535.0f, c.expected, c.tolerance)
            << c.brightness << " " << c.contrast << " " << c.gamma << " in " << c.in;
        EXPECT_EQ(out[0], out[2]);
    }
}

TEST_F(CurvesTest, BasicToolsAtItsDefaultsKeepsEveryValueUpToTruncation)
{
    basicToolsDefaults(params);
    const Image src = allValues();
    const Image out = runCopy("MP_calcPixelBasicTools", 256, 256, src, params);
    int lower = 0;
    for (size_t v = 0; v < 65536; ++v) {
        // the index, the table and the output each truncate once
        ASSERT_LE(out[3 * v], v);
        ASSERT_GE(out[3 * v] + 2, int(v));
        lower += out[3 * v] != v;
    }
    EXPECT_GE(lower, 512);
}

TEST_F(CurvesTest, GradationCurveFollowsTheCurveThroughTheLuminance)
{
    setKnots(params.p[0], kRaise);
    // black stays black (gain entry 0 is 0), greys take curve(lum)
    EXPECT_EQ(runCopy("MP_calcPixelGradationLagrange", 1, 1, solidImage(1, 1, 0, 0, 0), params), (Image{0, 0, 0}));
    for (uint16_t g : {uint16_t(6553), uint16_t(21845), uint16_t(45000), uint16_t(65535)}) {
        Image out = runCopy("MP_calcPixelGradationLagrange", 1, 1, solidImage(1, 1, g, g, g), params);
        const float lum = (params.lumr * g + params.lumg * g + params.lumb * g) * MP_k;
        EXPECT_NEAR(out[1], curve(params.p[0], lum) * 65535.0f, 2.0f) << g;
    }
    // a coloured pixel keeps its channel ratios
    Image out = runCopy("MP_calcPixelGradationLagrange", 1, 1, solidImage(1, 1, 20000, 10000, 5000), params);
    EXPECT_GT(out[0], 20000);
    EXPECT_NEAR(double(out[1]) / out[0], 0.5, 0.0005);
    EXPECT_NEAR(double(out[2]) / out[0], 0.25, 0.0005);
    // raised mid-tones: a saturated red of luminance 1/3 clips red, green and blue stay 0
    params.lumr = params.lumg = params.lumb = 1.0f / 3.0f;
    out = runCopy("MP_calcPixelGradationLagrange", 1, 1, solidImage(1, 1, 65535, 0, 0), params);
    EXPECT_EQ(out, (Image{65535, 0, 0}));
    // the identity knots keep the mid-tones (the end knots sit outside 0..1)
    setKnots(params.p[0], kIdentity);
    params.lumr = params.lumg = params.lumb = 1.0f / 3.0f;
    for (uint16_t g : {uint16_t(13107), uint16_t(32768), uint16_t(52428)}) {
        out = runCopy("MP_calcPixelGradationLagrange", 1, 1, solidImage(1, 1, g, g, g), params);
        EXPECT_NEAR(out[0], g, 0.005 * g);
    }
}

// The reduced worker takes a row in runs of pixels: every 16-bit value in
// every channel gives what the pixel walk gives, at the run boundaries (rows
// of 255 .. 257 and 700 pixels), with gains that clip, with luminance
// weights that sum past 1, and in place as the chain runs it.
TEST_F(CurvesTest, GradationRunsEqualThePixelWalk)
{
    struct Weights {
        float r, g, b;
    };
    constexpr float kSteep[6] = {0.0f, 0.9f, 1.0f, 1.0f, 1.0f, 1.0f};
    for (const float* knots : {kRaise, kSteep, kIdentity})
        for (const Weights lw : {Weights{params.lumr, params.lumg, params.lumb}, Weights{0.9f, 0.9f, 0.9f}})
            for (int w : {255, 256, 257, 700, 1}) {
                Image src = allValues();
                for (size_t v = 0; v < 65536; ++v) { // mixed colours besides the greys
                    src[3 * v + 1] = static_cast<uint16_t>((v * 7919u) & 0xFFFF);
                    src[3 * v + 2] = static_cast<uint16_t>(v % 3 == 0 ? 0 : 65535 - v);
                }
                const int h = static_cast<int>(src.size() / 3 / static_cast<size_t>(w));
                src.resize(static_cast<size_t>(w) * h * 3);
                MP_Params p = params;
                setKnots(p.p[0], knots);
                p.lumr = lw.r;
                p.lumg = lw.g;
                p.lumb = lw.b;
                g_gradationRunWalk = false;
                const Image walk = runCopy("MP_calcPixelGradationLagrange", w, h, src, p);
                g_gradationRunWalk = true;
                ASSERT_EQ(runCopy("MP_calcPixelGradationLagrange", w, h, src, p), walk) << w << " " << lw.r;
                Image inPlace = src;
                ASSERT_EQ(run("MP_calcPixelGradationLagrange", w, h, inPlace, inPlace, p), 0);
                ASSERT_EQ(inPlace, walk) << "in place " << w;
            }
}

TEST_F(CurvesTest, MissingGainTableReturnsMinusOneAndWritesNothing)
{
    setKnots(params.p[0], kRaise);
    const Image src = testPicture(8, 8);
    exhaustScratchBuffer();
    Image dst(src.size(), 7);
    Image in = src;
    EXPECT_EQ(run("MP_calcPixelGradationLagrange", 8, 8, in, dst, params), -1);
    EXPECT_EQ(dst, Image(src.size(), 7));
    // Histogram equalisation passes the failure on (it is not hidden behind 0).
    params.p[0][0] = 1.0f;
    EXPECT_EQ(run("MP_calcPixelHistogramEqualize", 8, 8, in, dst, params), -1);
    EXPECT_EQ(dst, Image(src.size(), 7));
    EXPECT_EQ(params.p[0][2], 0.2f); // its knots are written all the same
}

TEST_F(CurvesTest, HistogramEqualizeAtZeroIsTheIdentityCurve)
{
    const int w = 30, h = 24;
    const Image src = testPicture(w, h);
    params.p[0][0] = 0.0f;
    const Image equalised = runCopy("MP_calcPixelHistogramEqualize", w, h, src, params);
    MP_Params identity = blankParams();
    identity.p[1][1] = 100.0f;
    setKnots(identity.p[0], kIdentity);
    EXPECT_EQ(equalised, runCopy("MP_calcPixelGradationLagrange", w, h, src, identity));
}

TEST_F(CurvesTest, HistogramEqualizeSamplesEveryThirdPixelAndWritesItsKnots)
{
    // 2 x 2: only pixel (0, 0) is sampled. It is dark (bin near 1638), so every
    // share is 1 and the knots move toward the top by their pull.
    Image src = solidImage(2, 2, 60000, 60000, 60000);
    src[0] = src[1] = src[2] = 6553;
    params.p[0][0] = 1.0f;
    Image dst = src;
    ASSERT_EQ(run("MP_calcPixelHistogramEqualize", 2, 2, src, dst, params), 0);
    const float* k = params.p[0];
    const float expected[12] = {0.0f, 0.0f,
                                0.2f, 0.2f + 0.35f * 1.0f * (1.0f - 0.2f),
                                0.4f, 0.4f + 0.7f * 1.0f * (1.0f - 0.4f),
                                0.6f, 0.6f + 0.7f * 1.0f * (1.0f - 0.6f),
                                0.8f, 0.8f + 0.35f * 1.0f * (1.0f - 0.8f),
                                1.0f, 1.0f};
    for (int i = 0; i < 12; ++i)
        EXPECT_FLOAT_EQ(k[i], expected[i]) << i;
    EXPECT_GT(dst[0], 6553); // the dark pixel is lifted

    // The same picture three pixels wider samples (3, 0) too: the bright
    // pixel then holds half of the distribution.
    Image wide = solidImage(4, 1, 60000, 60000, 60000);
    wide[0] = wide[1] = wide[2] = 6553;
    params.p[0][0] = 1.0f;
    Image out = wide;
    ASSERT_EQ(run("MP_calcPixelHistogramEqualize", 4, 1, wide, out, params), 0);
    EXPECT_FLOAT_EQ(params.p[0][3], 0.2f + 0.35f * (0.5f - 0.2f));
    EXPECT_FLOAT_EQ(params.p[0][9], 0.8f + 0.35f * (0.5f - 0.8f));
}

// An image whose sampled luminances all lie in the ten darkest or the nine
// brightest bins has no distribution: the curve is the identity, not 0/0.
TEST_F(CurvesTest, HistogramEqualizeOnNearBlackOrNearWhiteUsesTheIdentity)
{
    MP_Params identity = blankParams();
    identity.p[1][1] = 100.0f;
    setKnots(identity.p[0], kIdentity);
    for (uint16_t g : {uint16_t(0), uint16_t(30), uint16_t(65535)}) {
        const Image src = solidImage(6, 6, g, g, g);
        MP_Params p = params;
        p.p[0][0] = 1.0f;
        Image in = src, out(src.size());
        ASSERT_EQ(run("MP_calcPixelHistogramEqualize", 6, 6, in, out, p), 0);
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(p.p[0][i], identity.p[0][i]) << g << " knot value " << i;
        EXPECT_EQ(out, runCopy("MP_calcPixelGradationLagrange", 6, 6, src, identity)) << g;
    }
}

} // namespace
