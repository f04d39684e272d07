// Tonal colour effects: "Solarize", "Posterize" and "Negativ".

#include "colourfixture.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace colourtest;

// Every 16-bit value once per channel: 256 x 256 pixels, red v, green
// 65535 - v, blue v * 7 mod 65536.
std::vector<uint16_t> allValues()
{
    std::vector<uint16_t> img(65536 * 3);
    for (int v = 0; v < 65536; ++v) {
        img[v * 3] = static_cast<uint16_t>(v);
        img[v * 3 + 1] = static_cast<uint16_t>(65535 - v);
        img[v * 3 + 2] = static_cast<uint16_t>(v * 7);
    }
    return img;
}

// ---- "Solarize" ---------------------------------------------------------------------------

class SolarizeTest : public EngineTest {
protected:
    MP_Params p{};
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelColorSolarize");
    }
};

TEST_F(SolarizeTest, FoldsTheLuminanceAndKeepsTheColourDirection)
{
    // Default strength 1.999: tones up to 0.5 rise linearly, brighter ones fold back.
    const float quarter = 16384 * MP_k;
    const auto grey = onePixel(MP_calcPixelColorSolarize, 16384, 16384, 16384, p);
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_NEAR(grey[ch], static_cast<int>(quarter * 1.999f * 65535.0f), 1);
    // White: L = 2 - 1.999 = 0.001.
    const auto white = onePixel(MP_calcPixelColorSolarize, 65535, 65535, 65535, p);
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_NEAR(white[ch], 65, 1);
    // Pure red stays pure red with red = L.
    const auto red = onePixel(MP_calcPixelColorSolarize, 65535, 0, 0, p);
    EXPECT_NEAR(red[0], static_cast<int>(p.lumr * 1.999f * 65535.0f), 1);
    EXPECT_EQ(red[1], 0);
    EXPECT_EQ(red[2], 0);
    // Ratios between channels are kept.
    const auto mix = onePixel(MP_calcPixelColorSolarize, 40000, 20000, 10000, p);
    EXPECT_NEAR(static_cast<float>(mix[1]) / mix[0], 0.5f, 0.001f);
    EXPECT_NEAR(static_cast<float>(mix[2]) / mix[0], 0.25f, 0.001f);
    // Black keeps its colour.
    EXPECT_EQ(onePixel(MP_calcPixelColorSolarize, 0, 0, 0, p), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(SolarizeTest, StrengthBeyondTheSliderIsClampedNotWrapped)
{
    // "Stärke" 1.5 from a file: strength 8.499; white folds to L = -2.499,
    // which the reduced worker writes as 0 (not as a wrapped 16-bit value).
    p.p[0][0] = 1.5f;
    EXPECT_EQ(onePixel(MP_calcPixelColorSolarize, 65535, 65535, 65535, p), (std::array<int, 3>{0, 0, 0}));
    // A tone that folds into range is unaffected by the clamp.
    const auto grey = onePixel(MP_calcPixelColorSolarize, 19661, 19661, 19661, p);
    const float w = 19661 * MP_k * 8.499f - 2.0f;
    EXPECT_NEAR(grey[0], static_cast<int>(w * 65535.0f), 2);
}

// ---- "Posterize" --------------------------------------------------------------------------

class PosterizeTest : public EngineTest {
protected:
    MP_Params p{};
    std::vector<float> table = std::vector<float>(65536);
    void SetUp() override
    {
        EngineTest::SetUp();
        p = defaults("MP_calcPixelPosterize");
    }
    void useStep(float fraction)
    {
        p.p[0][0] = fraction;
        MP_posteriseRatioTable(0, 65536, table.data(), (-0.3f * fraction + 0.3f) * 0.99f + 0.005f);
    }
    int index(uint16_t r, uint16_t g, uint16_t b) const
    {
        const int wr = static_cast<int>(p.lumr * 16384.0f), wg = static_cast<int>(p.lumg * 16384.0f),
                  wb = static_cast<int>(p.lumb * 16384.0f);
        return (wr * r + wg * g + wb * b) >> 14;
    }
};

TEST_F(PosterizeTest, FivePlanesDarkenEverythingBelowTheFirstStep)
{
    useStep(0.0f); // "Abstufungen" 5: step 0.302
    EXPECT_EQ(onePixel(MP_calcPixelPosterize, 10000, 10000, 10000, p), (std::array<int, 3>{50, 50, 50}));
    EXPECT_EQ(onePixel(MP_calcPixelPosterize, 0, 0, 0, p), (std::array<int, 3>{0, 0, 0}));
    // Above it every channel is scaled by the factor of the 14-bit luminance index.
    const float f = table[index(30000, 20000, 50000)];
    const auto out = onePixel(MP_calcPixelPosterize, 30000, 20000, 50000, p);
    EXPECT_EQ(out[0], static_cast<int>(30000 * f));
    EXPECT_EQ(out[1], static_cast<int>(20000 * f));
    EXPECT_EQ(out[2], static_cast<int>(50000 * f));
}

TEST_F(PosterizeTest, NoFactorReachesOne)
{
    useStep(1.0f); // "Abstufungen" 100: step 0.005
    const auto white = onePixel(MP_calcPixelPosterize, 65535, 65535, 65535, p);
    EXPECT_LE(white[0], static_cast<int>(65535 * 0.995f));
    EXPECT_EQ(white[0], static_cast<int>(65535 * table[index(65535, 65535, 65535)]));
}

TEST_F(PosterizeTest, WeightsThatDoNotSumToOneStayInsideTheTable)
{
    useStep(0.48f);
    p.lumr = p.lumg = p.lumb = 1.5f;
    const auto white = onePixel(MP_calcPixelPosterize, 65535, 65535, 65535, p);
    EXPECT_EQ(white[0], static_cast<int>(65535 * table[65535]));
    p.lumr = -2.0f;
    p.lumg = p.lumb = 0.0f;
    EXPECT_EQ(onePixel(MP_calcPixelPosterize, 65535, 65535, 65535, p), (std::array<int, 3>{0, 0, 0}));
}

// The reduced worker runs several pixels at a time where the processor
// allows; it must give the bits of the per-pixel formula (index, factor,
// product held to 0..65535, NaN as 0): every 16-bit value in each channel,
// rows whose width is no multiple of the group, steps beyond the slider,
// weight sets that take the guarded path, in place and into a second buffer.
TEST_F(PosterizeTest, ReducedWorkerIsBitIdenticalToThePixelFormula)
{
    const std::vector<uint16_t> every = allValues();
    const struct {
        int w, h;
        const uint16_t* src;
    } pictures[] = {{256, 256, every.data()}, {61, 13, every.data() + 3 * 1000}, {5, 3, every.data() + 3 * 40000}};
    const float weights[][3] = {{0, 0, 0}, {0.3f, 0.3f, 0.4f}, {1.0f, 0.0f, 0.0f}, {0.7f, 0.7f, 0.2f}};
    for (float fraction : {0.0f, 0.48f, 1.0f, -0.7f, 1.5f}) {
        for (const auto& wt : weights) {
            for (const auto& pic : pictures) {
                useStep(fraction);
                if (wt[0] != 0.0f) {
                    p.lumr = wt[0];
                    p.lumg = wt[1];
                    p.lumb = wt[2];
                }
                const size_t n = static_cast<size_t>(pic.w) * pic.h * 3;
                std::vector<uint16_t> src(pic.src, pic.src + n), out(n), inPlace = src;
                ASSERT_EQ(MP_calcPixelPosterize(pic.w, pic.h, src.data(), out.data(), 6, 6, &p), 0);
                ASSERT_EQ(MP_calcPixelPosterize(pic.w, pic.h, inPlace.data(), inPlace.data(), 6, 6, &p), 0);
                const int wr = MP_safeTrunc(p.lumr * 16384.0f, -65536, 65536),
                          wg = MP_safeTrunc(p.lumg * 16384.0f, -65536, 65536),
                          wb = MP_safeTrunc(p.lumb * 16384.0f, -65536, 65536);
                std::vector<uint16_t> expected(n);
                for (size_t i = 0; i < n; i += 3) {
                    const int64_t sum = (int64_t{wr} * src[i] + int64_t{wg} * src[i + 1] + int64_t{wb} * src[i + 2]) >> 14;
                    const float f = table[static_cast<size_t>(std::clamp<int64_t>(sum, 0, 65535))];
                    for (int ch = 0; ch < 3; ++ch) {
                        const float v = static_cast<float>(src[i + ch]) * f;
                        expected[i + ch] = static_cast<uint16_t>(v > 0.0f ? (v < 65535.0f ? v : 65535.0f) : 0.0f);
                    }
                }
                EXPECT_EQ(out, expected) << fraction << " " << wt[0] << " width " << pic.w;
                EXPECT_EQ(inPlace, expected) << fraction << " " << wt[0] << " width " << pic.w << " in place";
            }
        }
    }
}

// ---- "Negativ" ----------------------------------------------------------------------------

class NegativeTest : public EngineTest {};

TEST_F(NegativeTest, ReducedWorkerIsExactAndItsOwnInverse)
{
    auto img = allValues();
    const auto original = img;
    MP_Params p = defaults("MP_calcPixelNegative");
    ASSERT_EQ(dispatch("MP_calcPixelNegative", img, img, 256, 256, p), 0);
    for (size_t i = 0; i < img.size(); ++i)
        ASSERT_EQ(img[i], 65535 - original[i]) << i;
    p = defaults("MP_calcPixelNegative");
    ASSERT_EQ(dispatch("MP_calcPixelNegative", img, img, 256, 256, p), 0);
    EXPECT_EQ(img, original);
}

TEST_F(NegativeTest, FullWorkerLosesOneLevelForAFifthOfTheValues)
{
    // Geometry opacity 1, mode 0, 100 %: the float path 1 - c, truncated,
    // gives 65534 - v for 13,557 of the 65,536 values, else 65535 - v.
    auto img = allValues();
    const auto original = img;
    MP_Params p = defaults("MP_calcPixelNegative");
    opaqueGeometry(p, 1);
    ASSERT_EQ(runByName("MP_calcPixelNegative", img, img, 256, 256, p), 0);
    int lower = 0;
    for (int v = 0; v < 65536; ++v) {
        const int out = img[v * 3];
        ASSERT_TRUE(out == 65535 - v || out == 65534 - v) << v;
        lower += out == 65534 - v;
    }
    EXPECT_EQ(lower, 13557);
}

} // namespace
