#include "tonefixture.h"

#include <cmath>

namespace {

// The row table the dispatcher fills for a run at calculation quality 1.
void fillRows(MP_Params& p, int kernelSize)
{
    OpenCLManager::getInstance()->setKernelSuperquadricTable(kernelSize < 1 ? 1 : kernelSize, &p);
}
void lightTunerDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = p.p[2][1] = 0.4f;
    fillRows(p, 25);
}
void blackWhiteDefaults(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    setMask(p.p[2], 1.0f);
    fillRows(p, 250);
}

// LightTuner's reduced worker scales the 16-bit value, the full one the
// working colour: one step of truncation apart.
INSTANTIATE_TEST_SUITE_P(
    LocalLight, ToneFrame,
    ::testing::Values(FrameCase{"MP_calcPixelLightTuner", 3, 4, lightTunerDefaults, 1, "LightTuner"},
                      FrameCase{"MP_calcPixelBlackWhite", 3, 4, blackWhiteDefaults, 0, "BlackWhite"}),
    [](const auto& info) { return info.param.label; });

// Runs through the dispatcher, which fills the row table for the radius, at
// calculation quality 1 and the start-up's sample rate.
class LocalLightTest : public ToneTest {
protected:
    void SetUp() override
    {
        ToneTest::SetUp();
        MP_UI_SetShowExexcuteKernelOutput(0);
        MP_UI_SetKernelSampleRate(0.8f);
        MP_UI_SetCalculationQuality(1.0f);
        params.p[3][1] = 100.0f; // opacity of both
    }
    int dispatch(const char* name, int w, int h, Image& src, Image& dst, MP_Params& p)
    {
        return OpenCLManager::getInstance()->executeKernel(name, w, h, reinterpret_cast<float*>(src.data()),
                                                           reinterpret_cast<float*>(dst.data()), 6, 6, &p, -1, 0.0f,
                                                           1.0f, true, true);
    }
    Image dispatchCopy(const char* name, int w, int h, const Image& src, MP_Params p)
    {
        Image in = src, out(src.size(), 0xABCD);
        EXPECT_EQ(dispatch(name, w, h, in, out, p), 0);
        return out;
    }
    // The gain of a flat area: the cosine of the light direction with the
    // normal (0, 0, 1), to the power le, times 1 + le / 2.
    static double flatGain(float px, float py, float sharpness)
    {
        const double qx = (px - 0.5) * 0.5, qy = (py - 0.5) * 0.5, qz = 0.1;
        const double le = 2.0 * sharpness + 0.001;
        return std::pow(qz / std::sqrt(qx * qx + qy * qy + qz * qz), le) * (1.0 + le / 2.0);
    }
};

TEST_F(LocalLightTest, LightTunerScalesAFlatAreaByTheLightGain)
{
    EXPECT_NEAR(flatGain(0.4f, 0.4f, 0.5f), 1.2249, 0.0001);
    const int w = 16, h = 12;
    const Image flat = solidImage(w, h, 30000, 30000, 30000);
    struct Case {
        float radius, sharpness, px, py;
    };
    // defaults; light straight above; radius 0 (raised to 1); radii beyond
    // the slider's range (held to the weight tables)
    for (const Case c : {Case{0.5f, 0.5f, 0.4f, 0.4f}, Case{0.5f, 0.5f, 0.5f, 0.5f}, Case{0.0f, 1.0f, 0.4f, 0.4f},
                         Case{3.0f, 0.5f, 0.4f, 0.4f}, Case{40.0f, 0.5f, 0.8f, 0.3f}}) {
        MP_Params p = params;
        p.p[0][0] = c.radius;
        p.p[1][0] = c.sharpness;
        p.p[2][0] = c.px;
        p.p[2][1] = c.py;
        const Image out = dispatchCopy("MP_calcPixelLightTuner", w, h, flat, p);
        const double expected = 30000.0 * flatGain(c.px, c.py, c.sharpness);
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_NEAR(out[i], std::min(expected, 65535.0), 0.0005 * expected) << c.radius << " at " << i;
    }
}

TEST_F(LocalLightTest, LightTunerLightsSlopesFromItsDirection)
{
    const int n = 21;
    Image rampX(n * n * 3), rampY(n * n * 3);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            for (int c = 0; c < 3; ++c) {
                rampX[(y * n + x) * 3 + c] = static_cast<uint16_t>(10000 + 2000 * x);
                rampY[(y * n + x) * 3 + c] = static_cast<uint16_t>(10000 + 2000 * y);
            }
    params.p[0][0] = 0.1f; // radius 5
    params.p[1][0] = 0.5f;
    const size_t centre = (10 * n + 10) * 3;
    // light from straight above: a slope darkens the same in x and in y
    // (up to the odd row half-widths, which make the window not quite square)
    params.p[2][0] = params.p[2][1] = 0.5f;
    const Image ax = dispatchCopy("MP_calcPixelLightTuner", n, n, rampX, params);
    const Image ay = dispatchCopy("MP_calcPixelLightTuner", n, n, rampY, params);
    EXPECT_NEAR(ax[centre], ay[centre], 0.001 * ax[centre]);
    EXPECT_LT(ax[centre], 30000 * flatGain(0.5f, 0.5f, 0.5f));
    // a slope rising to the right is lit from the left, not from the right
    params.p[2][1] = 0.5f;
    params.p[2][0] = 0.0f;
    const Image left = dispatchCopy("MP_calcPixelLightTuner", n, n, rampX, params);
    params.p[2][0] = 1.0f;
    const Image right = dispatchCopy("MP_calcPixelLightTuner", n, n, rampX, params);
    EXPECT_GT(left[centre], right[centre] + 1000);
}

struct ThresholdCase {
    int brightPixels; // of 16, at level 200 (51300); the others at level 40 (10300)
    float whitePoint;
    uint16_t darkOut, brightOut;
};

TEST_F(LocalLightTest, BlackWhiteThresholdsAtTheWindowsShare)
{
    // Every window covers the whole 4 x 4 picture (radius 10, step 1).
    params.lumr = params.lumg = params.lumb = 1.0f / 3.0f;
    params.p[0][0] = 0.02f;
    setMask(params.p[2], 1.0f);
    const ThresholdCase cases[] = {
        // three quarters dark: the count passes half at level 40, A = 41/256
        {4, 0.5f, 0, 65535},
        // exactly half: the count at level 40 equals the half, A = 201/256 and
        // both halves turn black
        {8, 0.5f, 0, 0},
        // "Weißpunkt" 1: A = 1, only full white would stay white
        {4, 1.0f, 0, 0},
        // "Weißpunkt" 0: just above the darkest level of the window
        {4, 0.0f, 0, 65535},
        {16, 0.0f, 0, 0},
    };
    for (const ThresholdCase& c : cases) {
        Image src = solidImage(4, 4, 10300, 10300, 10300);
        for (int i = 0; i < c.brightPixels; ++i)
            src[3 * i] = src[3 * i + 1] = src[3 * i + 2] = 51300;
        MP_Params p = params;
        p.p[1][0] = c.whitePoint;
        const Image out = dispatchCopy("MP_calcPixelBlackWhite", 4, 4, src, p);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(out[3 * i], i < c.brightPixels ? c.brightOut : c.darkOut)
                << c.brightPixels << " bright, Weißpunkt " << c.whitePoint << ", pixel " << i;
    }
    // Full white passes even "Weißpunkt" 1.
    Image white = solidImage(4, 4, 65535, 65535, 65535);
    params.p[1][0] = 1.0f;
    EXPECT_EQ(dispatchCopy("MP_calcPixelBlackWhite", 4, 4, white, params), white);
    // A mask of 0 leaves the picture as it is.
    setMask(params.p[2], 0.0f);
    Image src = testPicture(9, 7);
    Image out = dispatchCopy("MP_calcPixelBlackWhite", 9, 7, src, params);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_EQ(out[i], roundTrip(src[i]));
}

TEST_F(LocalLightTest, BlackWhitePanoramaWindowWrapsAroundTheLeftEdge)
{
    // One row: pixel 0 at level 100, 1..3 dark (40), 37..39 bright (200).
    const int w = 40;
    Image src = solidImage(w, 1, 10300, 10300, 10300);
    src[0] = src[1] = src[2] = 25700;
    for (int x = 37; x < w; ++x)
        src[3 * x] = src[3 * x + 1] = src[3 * x + 2] = 51300;
    params.lumr = params.lumg = params.lumb = 1.0f / 3.0f;
    params.p[0][0] = 0.006f; // radius 3
    params.p[1][0] = 0.5f;
    setMask(params.p[2], 1.0f);
    // without panorama the window is 0..3: threshold 41/256, pixel 0 is white
    EXPECT_EQ(dispatchCopy("MP_calcPixelBlackWhite", w, 1, src, params)[0], 65535);
    // with it, -3..3 takes 37..39 too: threshold 101/256, pixel 0 is black
    MP_UI_SetPanoramaMode(1);
    EXPECT_EQ(dispatchCopy("MP_calcPixelBlackWhite", w, 1, src, params)[0], 0);
}

// The dispatcher's radius truncates before the calculation quality applies,
// the driver's after it: at quality 0.99 the driver's window is one row
// larger than the rows the dispatcher fills. The result must not depend on
// what those rows held before the run.
TEST_F(LocalLightTest, WindowRowsBeyondTheDispatchersTableAreFilled)
{
    MP_UI_SetCalculationQuality(0.99f);
    const int w = 30, h = 24;
    const Image src = testPicture(w, h);
    struct Case {
        const char* name;
        float radius; // kernel size 24.9 -> R = 23, rad = 24; 10.9 -> R = 9, rad = 10
    };
    for (const Case c : {Case{"MP_calcPixelLightTuner", 0.498f}, Case{"MP_calcPixelBlackWhite", 0.0218f}}) {
        MP_Params p = params;
        p.p[0][0] = c.radius;
        p.p[1][0] = 0.5f;
        p.p[2][0] = p.p[2][1] = 0.4f;
        if (std::string(c.name) == "MP_calcPixelBlackWhite")
            setMask(p.p[2], 1.0f);
        MP_Params stale = p;
        for (short& v : stale.lx)
            v = 301;
        const Image clean = dispatchCopy(c.name, w, h, src, p);
        EXPECT_EQ(dispatchCopy(c.name, w, h, src, stale), clean) << c.name;
    }
}

// Values a block may carry that the sliders never give: a loop step of 0
// (the window step would be 0 and never advance) and radii far beyond the
// row table. The window stays on a step of at least 1 and inside the table.
TEST_F(LocalLightTest, BlackWhiteWindowStaysFiniteForAnyBlock)
{
    params.lumr = params.lumg = params.lumb = 1.0f / 3.0f;
    params.p[1][0] = 0.5f;
    setMask(params.p[2], 1.0f);
    Image src = solidImage(4, 4, 10300, 10300, 10300);
    for (int i = 0; i < 4; ++i)
        src[3 * i] = src[3 * i + 1] = src[3 * i + 2] = 51300;
    const Image expected = dispatchCopy("MP_calcPixelBlackWhite", 4, 4, src, [&] {
        MP_Params p = params;
        p.p[0][0] = 0.02f;
        return p;
    }());
    MP_Params p = params;
    p.p[0][0] = 0.02f;
    p.loopstep = 0;
    EXPECT_EQ(dispatchCopy("MP_calcPixelBlackWhite", 4, 4, src, p), expected);
    // Radii of 1500 and 50,000 pixels: the window is held to the 500 rows of
    // the table (sampled on its step); every pixel still turns black or white.
    for (float radius : {3.0f, 100.0f}) {
        p = params;
        p.p[0][0] = radius;
        const Image out = dispatchCopy("MP_calcPixelBlackWhite", 4, 4, src, p);
        for (uint16_t v : out)
            EXPECT_TRUE(v == 0 || v == 65535) << radius;
    }
}

TEST_F(LocalLightTest, MissingScratchBufferReturnsMinusOneAndWritesNothing)
{
    ASSERT_EQ(MP_UpdateBuffer(SIZE_MAX / 4), nullptr);
    for (const char* name : {"MP_calcPixelLightTuner", "MP_calcPixelBlackWhite"}) {
        Image src = testPicture(8, 8);
        Image dst(src.size(), 7);
        MP_Params p = params;
        p.p[0][0] = 0.5f;
        EXPECT_EQ(dispatch(name, 8, 8, src, dst, p), -1) << name;
        EXPECT_EQ(dst, Image(src.size(), 7)) << name;
    }
}

} // namespace
