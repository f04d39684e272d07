// The auto-setting estimators (engine/series/estimators).

#include "engine/enginefixture.h"
#include "engine/series/estimators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class EstimatorTest : public EngineTest {
protected:
    static std::vector<uint16_t> noisy(int w, int h, unsigned seed)
    {
        std::vector<uint16_t> img(size_t(w) * h * 3);
        for (size_t i = 0; i < img.size(); ++i) {
            seed = seed * 1103515245u + 12345u;
            img[i] = uint16_t(20000 + ((seed >> 16) & 0x3FFF));
        }
        return img;
    }
};

} // namespace

TEST_F(EstimatorTest, UniformImagesMeasureNothing)
{
    const auto img = solidImage(64, 48, 30000, 30000, 30000);
    EXPECT_EQ(MP_UI_CalcOptimizeDeNoiseValue(64, 48, img.data(), 2), 0.0f);
    EXPECT_EQ(MP_UI_CalcOptimizeSharpenValue(64, 48, 3, img.data()), 0.0f);
    EXPECT_EQ(MP_UI_CalcOptimizeContrastValue(64, 48, img.data()), 0.0f);
    EXPECT_EQ(MP_UI_CalcDetailValue(64, 48, img.data(), 2), 0.0f);
    for (int mask : {3, 5, 7})
        EXPECT_EQ(MP_MT_CalcOptimizeDeNoiseValue(64, 48, img.data(), 2, mask), 0.0f);
}

TEST_F(EstimatorTest, SinglePointNoiseIsExact)
{
    // One pixel of channel sum 3 in a 5 x 5 black image: responses
    // 12 (centre), 4 x 6 and 4 x 3 -> 48.
    auto img = solidImage(5, 5, 0, 0, 0);
    img[(2 * 5 + 2) * 3] = img[(2 * 5 + 2) * 3 + 1] = img[(2 * 5 + 2) * 3 + 2] = 1;
    const float sigma = 48.0f * MP_ESTIMATE_K / 6.0f;
    EXPECT_EQ(MP_UI_CalcOptimizeDeNoiseValue(5, 5, img.data(), 1), 10.0f * sigma);
    EXPECT_EQ(MP_UI_CalcOptimizeDeNoiseValue(5, 5, img.data(), 0), 10.0f * sigma); // step 0 as step 1
}

TEST_F(EstimatorTest, GreyColourAndMeanLevel)
{
    const int c = 12000;
    const auto grey = solidImage(9, 6, c, c, c);
    const float perSample = 3.0f / (0.33333f * float(3 * c) + 0.001f);
    // 3 x 2 samples over trunc(54 / 9) = 6.
    float sum = 0.0f;
    for (int i = 0; i < 6; ++i)
        sum += perSample;
    EXPECT_EQ(MP_UI_CalcOptimizeColorValue(9, 6, grey.data()), 0.33333f * sum / 6.0f);

    const auto mid = solidImage(8, 8, 32768, 32768, 32768);
    EXPECT_NEAR(MP_UI_CalcOptimizeGammaValue(8, 8, mid.data()), 0.33333f * 3 * 32768 / 65535, 1e-6);
}

TEST_F(EstimatorTest, ContrastCopyIsShrunkBelowTheBudget)
{
    MP_ClearBuffer();
    const auto img = noisy(800, 600, 7);
    const float v = MP_UI_CalcOptimizeContrastValue(800, 600, img.data());
    EXPECT_GT(v, 0.0f);
    EXPECT_EQ(MP_buffer_size, uint64_t(722) * 541 * 6);
}

TEST_F(EstimatorTest, TinyImagesGiveZeroAndSharpnessStepZeroEnds)
{
    const auto img = noisy(6, 6, 3);
    EXPECT_EQ(MP_UI_CalcOptimizeDeNoiseValue(6, 6, img.data(), 2), 0.0f);
    EXPECT_EQ(MP_MT_CalcOptimizeDeNoiseValue(6, 6, img.data(), 2, 3), 0.0f);
    EXPECT_EQ(MP_CalcOptimizeDeNoiseValuePattern3x3(0, 4, 0, 4, 6, 6, 1, img.data()), 0.0f);
    EXPECT_EQ(MP_UI_CalcOptimizeContrastValue(4, 4, img.data()), 0.0f);
    const auto big = noisy(30, 20, 5);
    EXPECT_EQ(MP_UI_CalcOptimizeSharpenValue(30, 20, 0, big.data()),
              MP_UI_CalcOptimizeSharpenValue(30, 20, 1, big.data()));
}

TEST_F(EstimatorTest, MultiThreadedNoiseRepeatsExactly)
{
    const auto img = noisy(301, 257, 11);
    const float first = MP_MT_CalcOptimizeDeNoiseValue(301, 257, img.data(), 1, 5);
    EXPECT_GT(first, 0.0f);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(MP_MT_CalcOptimizeDeNoiseValue(301, 257, img.data(), 1, 5), first);
    // Another thread count splits the rows differently; the sum is the same
    // up to float rounding.
    MP_UI_SetIdealThreadCount(3);
    EXPECT_NEAR(MP_MT_CalcOptimizeDeNoiseValue(301, 257, img.data(), 1, 5), first, first * 1e-5f);
}

TEST_F(EstimatorTest, TileSearch)
{
    // All tiles below level 3200: nothing found.
    const auto dark = solidImage(250, 200, 1000, 1000, 1000);
    MP_UI_FindBestDeNoiseRectangles(250, 200, dark.data());
    EXPECT_EQ(NoiseGridam, 0);
    EXPECT_EQ(NoiseGridkmin, 7);
    EXPECT_EQ(NoiseGridkspread, 1);

    // Perfectly flat tiles (E = 0) fit no category.
    const auto flat = solidImage(250, 200, 30000, 30000, 30000);
    MP_UI_FindBestDeNoiseRectangles(250, 200, flat.data());
    EXPECT_EQ(NoiseGridam, 0);

    // Slight noise at mid level: every tile of category 1.
    const auto grain = noisy(250, 200, 9); // 20000 .. 36383: E below 6400? no: spread 16383
    std::vector<uint16_t> fine(size_t(250) * 200 * 3);
    for (size_t i = 0; i < fine.size(); ++i)
        fine[i] = uint16_t(30000 + (grain[i] & 0xFF));
    MP_UI_FindBestDeNoiseRectangles(250, 200, fine.data());
    EXPECT_EQ(NoiseGridam, (250 / 10) * (200 / 10));
    EXPECT_EQ(NoiseGridkmin, 1);
    EXPECT_EQ(NoiseGridkspread, 0);
    EXPECT_FLOAT_EQ(NoiseGridx1[0], 0.0f);
    EXPECT_FLOAT_EQ(NoiseGridx2[0], 10.0f / 250.0f);

    const float level = MP_MT_GetOptimizeDeNoiseValue(250, 200, fine.data(), 1);
    EXPECT_GT(level, 0.0f);
    EXPECT_LE(level, 0.999f);

    // The display dims everything outside the chosen tiles: here nothing.
    std::vector<uint16_t> shown = fine;
    MP_UI_ShowDeNoiseRectangles(250, 200, shown.data());
    EXPECT_EQ(shown[(100 * 250 + 125) * 3], fine[(100 * 250 + 125) * 3]);
}

TEST_F(EstimatorTest, TileDisplayOnTinyImages)
{
    auto img = noisy(20, 10, 1);
    NoiseGridam = 1;
    NoiseGridk[0] = 1;
    NoiseGridkmin = 1;
    NoiseGridkspread = 0;
    NoiseGridx1[0] = NoiseGridy1[0] = 0.0f;
    NoiseGridx2[0] = NoiseGridy2[0] = 0.5f;
    MP_UI_ShowDeNoiseRectangles(20, 10, img.data()); // no blur pass below 25 pixels
    MP_UI_FindBestDeNoiseRectangles(20, 10, img.data());
    EXPECT_EQ(NoiseGridam, 0);
}
