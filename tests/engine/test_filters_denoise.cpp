// The noise filters: the 3 x 3 filters (average, median, Min-Max, the chain's
// sub-average) and the variance and iterative filters.

#include "filterfixture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

void averageDefaults(MP_Params& p)
{
    p.p[0][0] = 0.1f;
    setMask(p.p[1], 1.0f);
}
void medianDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    setMask(p.p[1], 1.0f);
}
void varianceDefaults(MP_Params& p)
{
    p.p[0][0] = 0.2f;
    p.p[1][0] = 0.25f;
    setMask(p.p[2], 1.0f);
    OpenCLManager::getInstance()->setKernelSuperquadricTable(10, &p);
}
void iterativeDefaults(MP_Params& p)
{
    p.p[0][0] = 0.2f;
    p.p[1][0] = 0.334f;
    p.p[2][0] = 0.25f;
    setMask(p.p[3], 1.0f);
    OpenCLManager::getInstance()->setKernelSuperquadricTable(10, &p);
}

// Min-Max: the reduced worker works on 16-bit values, the full one on the
// working colour.
INSTANTIATE_TEST_SUITE_P(
    DeNoise, ToneFrame,
    ::testing::Values(FrameCase{"MP_calcPixelDeNoiseAverage", 2, 3, averageDefaults, 0, "Average"},
                      FrameCase{"MP_calcPixelDeNoiseMedian", 2, 3, medianDefaults, 0, "Median"},
                      FrameCase{"MP_calcPixelDeNoiseMinMax", 2, 3, medianDefaults, 1, "MinMax"},
                      FrameCase{"MP_calcPixelDeNoiseVariance", 3, 4, varianceDefaults, 0, "Variance"},
                      FrameCase{"MP_calcPixelDeNoiseIterative", 4, 5, iterativeDefaults, 0, "Iterative"}),
    [](const auto& info) { return info.param.label; });

using DeNoiseTest = FilterTest;

TEST_F(DeNoiseTest, AverageOfAWhiteSpikeOnBlack)
{
    struct Case {
        float lr, lg, lb;
        uint16_t centre;
    };
    for (const Case c : {Case{0.3333f, 0.3334f, 0.3333f, 59062}, Case{0.2125f, 0.7154f, 0.0721f, 59061}}) {
        MP_Params p = blankParams();
        p.lumr = c.lr;
        p.lumg = c.lg;
        p.lumb = c.lb;
        p.p[0][0] = 1.0f;
        p.p[2][1] = 100.0f;
        setMask(p.p[1], 1.0f);
        Image src = solidImage(3, 3, 0, 0, 0);
        src[12] = src[13] = src[14] = 65535;
        const Image out = runCopy("MP_calcPixelDeNoiseAverage", 3, 3, src, p);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                for (int ch = 0; ch < 3; ++ch)
                    EXPECT_EQ(at(out, 3, x, y, ch), x == 1 && y == 1 ? c.centre : 6472) << x << "," << y;
    }
}

TEST_F(DeNoiseTest, MedianNetworks)
{
    // The corner window 4, 3, 2, 1 (row by row) selects 4.
    uint16_t corner[4] = {4, 3, 2, 1};
    EXPECT_EQ(MP_medianSelect(corner, 4), 4);
    // Nine samples: the true median in every order.
    uint16_t base[9] = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    do {
        uint16_t v[9];
        std::copy(base, base + 9, v);
        ASSERT_EQ(MP_medianSelect(v, 9), 50);
    } while (std::next_permutation(base, base + 9));
    uint16_t three[3] = {7, 1, 5};
    EXPECT_EQ(MP_medianSelect(three, 3), 1); // no exchange: entry 1

    // Top-left corner of an image: 4, 3 over 2, 1.
    MP_Params p = blankParams();
    medianDefaults(p);
    p.p[0][0] = 1.0f;
    p.p[2][1] = 100.0f;
    const Image src = {4000, 4000, 4000, 3000, 3000, 3000, 2000, 2000, 2000, 1000, 1000, 1000};
    const Image out = runCopy("MP_calcPixelDeNoiseMedian", 2, 2, src, p);
    EXPECT_NEAR(out[0], 4000, 1);
    p.p[0][0] = 0.0f;
    const Image pic = testPicture(9, 7);
    EXPECT_EQ(runCopy("MP_calcPixelDeNoiseMedian", 9, 7, pic, p), roundTripped(pic));
}

TEST_F(DeNoiseTest, MinMax)
{
    float g = 0, b = 0;
    MP_minMaxFactors(MP_pow(1.0f, 0.25f) * 0.99f, &g, &b);
    EXPECT_FLOAT_EQ(g, 1.3940398f);
    EXPECT_FLOAT_EQ(b, 0.9974906f);
    MP_minMaxFactors(MP_pow(0.5f, 0.25f) * 0.99f, &g, &b);
    EXPECT_FLOAT_EQ(g, 6.1970196f);
    EXPECT_FLOAT_EQ(b, 0.9552003f);

    MP_Params p = blankParams();
    medianDefaults(p);
    p.p[2][1] = 100.0f;
    p.p[0][0] = 1.0f;
    const Image flat = solidImage(5, 4, 30000, 20000, 10000);
    EXPECT_EQ(runCopy("MP_calcPixelDeNoiseMinMax", 5, 4, flat, p), flat);
    Image black = testPicture(6, 4);
    black[0] = black[1] = black[2] = 0;
    EXPECT_EQ(runCopy("MP_calcPixelDeNoiseMinMax", 6, 4, black, p)[0], 0);
    // A dark pixel among brighter ones is drawn up.
    Image spot = solidImage(3, 3, 30000, 30000, 30000);
    spot[12] = spot[13] = spot[14] = 29000;
    p.p[0][0] = 0.5f;
    EXPECT_GT(runCopy("MP_calcPixelDeNoiseMinMax", 3, 3, spot, p)[12], 29000);
}

TEST_F(DeNoiseTest, SubDeNoiseAverage)
{
    const Image pic = testPicture(11, 8);
    MP_Params p = blankParams();
    p.p[0][0] = 0.0f;
    p.p[1][0] = 0.7f;
    EXPECT_EQ(runCopy("MP_calcPixelSubDeNoiseAverage", 11, 8, pic, p), pic); // intensity 0
    p.p[0][0] = 1.0f;
    p.p[1][0] = 0.0f;
    EXPECT_LE(maxDifference(runCopy("MP_calcPixelSubDeNoiseAverage", 11, 8, pic, p), pic), 1); // scale 0
    // In place as the chain runs it, on white: the weights sum to 1.
    p.p[1][0] = 0.5f;
    Image white = solidImage(4, 3, 65535, 65535, 65535);
    ASSERT_EQ(run("MP_calcPixelSubDeNoiseAverage", 4, 3, white, white, p), 0);
    for (uint16_t v : white)
        EXPECT_GE(v, 65534);
    // Scale 30 and intensity 1.5 from the chain: clamped, not wrapped.
    p.p[0][0] = 1.5f;
    p.p[1][0] = 30.0f;
    Image spike = solidImage(3, 3, 65535, 65535, 65535);
    spike[12] = spike[13] = spike[14] = 0;
    const Image out = runCopy("MP_calcPixelSubDeNoiseAverage", 3, 3, spike, p);
    EXPECT_EQ(out[12], 65535);
    p.p[1][0] = -40.0f;
    const Image neg = runCopy("MP_calcPixelSubDeNoiseAverage", 3, 3, spike, p);
    EXPECT_EQ(neg[12], 0);
    p.p[1][0] = std::numeric_limits<float>::quiet_NaN();
    runCopy("MP_calcPixelSubDeNoiseAverage", 3, 3, spike, p); // no undefined conversion
}

// The reduced worker's inner columns in 32-bit integers (the chain's blocks:
// scale 0..1, luminance weights summing to at most 1) and in 64 bits
// (scales beyond, heavier weights) give what the pixel walk gives, also in
// place and at the width of a chunk and one more.
TEST_F(DeNoiseTest, SubDeNoiseAverageInnerColumnsEqualThePixelWalk)
{
    struct Weights {
        float r, g, b;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const int w : {3, 4, 65, 66, 131})
        for (const Weights lw : {Weights{0.2126f, 0.7152f, 0.0722f}, Weights{1.0f, 0.0f, 0.0f},
                                 Weights{0.9f, 0.9f, 0.9f}})
            for (float scale : {0.0f, 0.294f, 0.588f, 1.0f, 1.5f, -0.2f})
                for (float intensity : {1.0f, 0.35f, 1.5f, nan}) {
                    const int h = 5;
                    Image src = testPicture(w, h);
                    src[3 * (w + 1)] = 65535; // a clipped channel beside black
                    MP_Params p = blankParams();
                    p.lumr = lw.r;
                    p.lumg = lw.g;
                    p.lumb = lw.b;
                    p.p[0][0] = intensity;
                    p.p[1][0] = scale;
                    mp_filters::g_filterRunWalk = false;
                    const Image walk = runCopy("MP_calcPixelSubDeNoiseAverage", w, h, src, p);
                    mp_filters::g_filterRunWalk = true;
                    for (bool portable : {false, true}) {
                        mp_filters::g_filterPortable = portable;
                        EXPECT_EQ(runCopy("MP_calcPixelSubDeNoiseAverage", w, h, src, p), walk)
                            << w << " weights " << lw.r << " scale " << scale << " i " << intensity << portable;
                        Image inPlace = src;
                        MP_Params q = p;
                        ASSERT_EQ(run("MP_calcPixelSubDeNoiseAverage", w, h, inPlace, inPlace, q), 0);
                        EXPECT_EQ(inPlace, walk) << "in place " << w << " scale " << scale;
                    }
                    mp_filters::g_filterPortable = false;
                }
}

TEST_F(DeNoiseTest, IterationCount)
{
    EXPECT_EQ(MP_deNoiseIterations(0.0f), 1);
    EXPECT_EQ(MP_deNoiseIterations(0.334f), 4);
    EXPECT_EQ(MP_deNoiseIterations(1.0f), 10);
    EXPECT_EQ(MP_deNoiseIterations(std::numeric_limits<float>::quiet_NaN()), 1);
    EXPECT_EQ(MP_deNoiseIterations(1e9f), 10);
}

std::vector<float> g_messages;
void recordMessage(int, float v) { g_messages.push_back(v); }

TEST_F(DeNoiseTest, IterativeProgressAndResult)
{
    MP_Params p = blankParams();
    iterativeDefaults(p);
    p.p[4][1] = 100.0f;
    const Image src = noisy(40, 30, 30000, 28000, 26000, 5000);
    g_messages.clear();
    C_SetAddMessageHook(recordMessage);
    Image in = src, out(src.size());
    ASSERT_EQ(MP_UI_executeKernel("MP_calcPixelDeNoiseIterative", 40, 30, in.data(), out.data(), 6, 6, &p, 3, 0.0f,
                                  1.0f),
              0);
    C_SetAddMessageHook(nullptr);
    ASSERT_FALSE(g_messages.empty());
    EXPECT_FLOAT_EQ(g_messages.back(), 1.0f);
    EXPECT_TRUE(std::find(g_messages.begin(), g_messages.end(), 0.5f) != g_messages.end());
    EXPECT_LT(spread(out, 0), spread(src, 0));
    // "Schärfe" 0: every Min-Max pass has strength 0; the result is the
    // variance pass alone (through the blend's float round trip).
    p = blankParams();
    iterativeDefaults(p);
    p.p[4][1] = 100.0f;
    p.p[2][0] = 0.0f;
    MP_Params v = blankParams();
    varianceDefaults(v);
    v.p[1][0] = 0.0f;
    v.p[3][1] = 100.0f;
    EXPECT_EQ(runCopy("MP_calcPixelDeNoiseIterative", 40, 30, src, p), roundTripped(runCopy("MP_calcPixelDeNoiseVariance", 40, 30, src, v)));
}

TEST_F(DeNoiseTest, HeapAndGeometryFailures)
{
    // A size the heap refuses: -1 before anything is written.
    Image src(12, 1), dst(12, 7);
    MP_Params p = blankParams();
    for (const char* name : {"MP_calcPixelDeNoiseMedian", "MP_calcPixelDeNoiseIterative"}) {
        EXPECT_EQ(MP_UI_executeKernel(name, 1 << 30, 1 << 28, src.data(), dst.data(), 6, 6, &p, -1, 0.0f, 1.0f), -1)
            << name;
        EXPECT_EQ(dst, Image(12, 7));
    }
    // Iterative's masks cannot be prepared: -1, destination untouched.
    iterativeDefaults(p);
    setInertGeometry(p, 5);
    const Image pic = testPicture(8, 6);
    Image in = pic, out(pic.size(), 7);
    MP_geometryTestFailAllocation(0);
    EXPECT_EQ(MP_UI_executeKernel("MP_calcPixelDeNoiseIterative", 8, 6, in.data(), out.data(), 6, 6, &p, -1, 0.0f,
                                  1.0f),
              -1);
    MP_geometryTestFailAllocation(-1);
    EXPECT_EQ(out, Image(pic.size(), 7));
}

} // namespace
