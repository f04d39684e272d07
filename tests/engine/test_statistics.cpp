#include "enginefixture.h"

#include <cmath>
#include <limits>

namespace {

class LuminanceWeights : public EngineTest {};

class Statistics : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        MP_UI_SetLuminanzConv(1); // the weights after engine start
    }
};

class BorderColour : public EngineTest {
protected:
    static std::vector<uint32_t> view(int w, int h, uint32_t colour) { return std::vector<uint32_t>(size_t(w) * h, colour); }
};

// 14-bit full scale and the minimum that no pixel lowered.
constexpr float kL14Scale = 1073725440.0f;
const float kNoMinimum = 2147483648.0f / kL14Scale; // 2.0000305

void expectWeights(float r, float g, float b)
{
    float wr = -1, wg = -1, wb = -1;
    MP_UI_GetLuminanzConvRGB(&wr, &wg, &wb);
    EXPECT_EQ(wr, r);
    EXPECT_EQ(wg, g);
    EXPECT_EQ(wb, b);
}

TEST_F(LuminanceWeights, Types)
{
    expectWeights(0.2125f, 0.7154f, 0.0721f); // before the engine start
    MP_UI_SetLuminanzConv(1);
    expectWeights(0.3333f, 0.3334f, 0.3333f);
    MP_UI_SetLuminanzConv(5);
    expectWeights(0.3333f, 0.3334f, 0.3333f);
    MP_UI_SetLuminanzConv(3);
    expectWeights(0.299f, 0.587f, 0.114f);

    float r = -1, g = -1, b = -1;
    MP_UI_GetLuminanzConvFromType(1, &r, &g, &b);
    EXPECT_EQ(r, 0.3333f);
    EXPECT_EQ(g, 0.3333f);
    EXPECT_EQ(b, 0.3333f);
    MP_UI_GetLuminanzConvFromType(2, nullptr, &g, nullptr);
    EXPECT_EQ(g, 0.7154f);
    r = g = b = -1;
    MP_UI_GetLuminanzConvFromType(0, &r, &g, &b);
    EXPECT_EQ(r, -1.0f);
    EXPECT_EQ(g, -1.0f);
    EXPECT_EQ(b, -1.0f);
    MP_UI_GetLuminanzConvRGB(nullptr, nullptr, nullptr);
}

TEST_F(LuminanceWeights, FreeWeightsAreNormalised)
{
    MP_UI_SetLuminanzConvRGB(1.0f, 1.0f, 2.0f);
    expectWeights(0.25f, 0.25f, 0.5f);
    MP_UI_SetLuminanzConvRGB(0.3333f, 0.3333f, 0.3333f);
    expectWeights(0.33333334f, 0.33333334f, 0.33333334f);
    MP_UI_SetLuminanzConvRGB(0.0f, 0.0f, 0.0f);
    expectWeights(0.0f, 0.0f, 0.0f);
}

TEST_F(LuminanceWeights, InvalidWeightsKeepThePreviousOnes)
{
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    const float huge = std::numeric_limits<float>::max();
    struct Case {
        float r, g, b;
    };
    const Case cases[] = {
        {-0.1f, 0.6f, 0.5f}, {0.5f, -1e-6f, 0.5f}, {0.5f, 0.5f, -2.0f}, {nan, 0.5f, 0.5f},
        {0.5f, inf, 0.5f},   {0.5f, 0.5f, -inf},   {huge, huge, huge},
    };
    MP_UI_SetLuminanzConv(3);
    for (const Case& c : cases) {
        MP_UI_SetLuminanzConvRGB(c.r, c.g, c.b);
        expectWeights(0.299f, 0.587f, 0.114f);
    }
}

TEST_F(Statistics, WhiteImage)
{
    const auto img = solidImage(8, 8, 65535, 65535, 65535);
    EXPECT_FLOAT_EQ(MP_UI_GetAverageLuminance(img.data(), 8, 8), 0.99607849f);
    EXPECT_EQ(MP_UI_GetAverageLuminance(img.data(), 8, 8), 65279.0f / 65536.0f);
    EXPECT_EQ(MP_UI_GetAverageLuminanceFull(img.data(), 8, 8), 1.0f);
    float mn = -1, mx = -1;
    MP_UI_GetMinMaxLuminance(img.data(), &mn, &mx, 8, 8);
    EXPECT_FLOAT_EQ(mn, 0.99987793f);
    EXPECT_FLOAT_EQ(mx, 0.99987793f);
}

TEST_F(Statistics, AverageSamplesEveryFourthPixel)
{
    // Type-1 8-bit weights (85, 85, 85): grey 16384 samples as 16320 / 65536.
    const float sample = 16320.0f / 65536.0f;
    struct Case {
        int w, h;
        float expected;
    };
    const Case cases[] = {
        {8, 8, sample},               // 4 samples, divisor 4
        {9, 9, sample * 9.0f / 4.0f}, // 9 samples, divisor still 4
        {12, 5, sample * 6.0f / 3.0f},
        {3, 1000, sample}, // a side below 4: divided by the 250 samples
        {1000, 3, sample},
        {1, 1, sample},
    };
    for (const Case& c : cases) {
        const auto img = solidImage(c.w, c.h, 16384, 16384, 16384);
        EXPECT_FLOAT_EQ(MP_UI_GetAverageLuminance(img.data(), float(c.w), float(c.h)), c.expected)
            << c.w << " x " << c.h;
    }
    // 9/4 of a bright mean is clamped to 1.
    const auto white = solidImage(9, 9, 65535, 65535, 65535);
    EXPECT_EQ(MP_UI_GetAverageLuminance(white.data(), 9, 9), 1.0f);
    // Fractional sizes are truncated.
    const auto grey = solidImage(8, 8, 16384, 16384, 16384);
    EXPECT_FLOAT_EQ(MP_UI_GetAverageLuminance(grey.data(), 8.9f, 8.9f), sample);
}

TEST_F(Statistics, AverageReadsOnlyTheSampleGrid)
{
    auto img = solidImage(8, 8, 0, 0, 0);
    auto set = [&img](int x, int y) {
        for (int c = 0; c < 3; ++c)
            img[(size_t(y) * 8 + x) * 3 + c] = 65535;
    };
    set(3, 3);
    set(7, 5);
    EXPECT_EQ(MP_UI_GetAverageLuminance(img.data(), 8, 8), 0.0f);
    set(4, 4);
    EXPECT_FLOAT_EQ(MP_UI_GetAverageLuminance(img.data(), 8, 8), 65279.0f / 65536.0f / 4.0f);
}

TEST_F(Statistics, AverageWithoutPixels)
{
    const auto img = solidImage(4, 4, 30000, 30000, 30000);
    EXPECT_EQ(MP_UI_GetAverageLuminance(nullptr, 8, 8), 0.0f);
    EXPECT_EQ(MP_UI_GetAverageLuminance(img.data(), 0, 4), 0.0f);
    EXPECT_EQ(MP_UI_GetAverageLuminance(img.data(), 4, -4), 0.0f);
    EXPECT_EQ(MP_UI_GetAverageLuminance(img.data(), std::nanf(""), 4), 0.0f);
    EXPECT_EQ(MP_UI_GetAverageLuminanceFull(nullptr, 4, 4), 0.0f);
    EXPECT_EQ(MP_UI_GetAverageLuminanceFull(img.data(), 0, 4), 0.0f);
    EXPECT_EQ(MP_UI_GetAverageLuminanceFull(img.data(), 4, -1), 0.0f);
}

TEST_F(Statistics, FullAverageOverEveryRowLength)
{
    // Pure red with the Rec. 709 weights is 0.2125 at any width (groups of
    // four and the tail of single pixels).
    MP_UI_SetLuminanzConv(2);
    for (int w = 1; w <= 9; ++w) {
        const auto img = solidImage(w, 3, 65535, 0, 0);
        EXPECT_NEAR(MP_UI_GetAverageLuminanceFull(img.data(), float(w), 3), 0.2125f, 1e-6f) << w;
    }
    // Half the pixels black.
    auto img = solidImage(6, 2, 0, 65535, 0);
    for (size_t i = 0; i < img.size() / 2; ++i)
        img[i] = 0;
    EXPECT_NEAR(MP_UI_GetAverageLuminanceFull(img.data(), 6, 2), 0.7154f / 2.0f, 1e-6f);
}

TEST_F(Statistics, MinMaxAndTheirBand)
{
    // One row of grey levels at 0, 5 %, 50 %, 95 % and 100 %.
    const uint16_t levels[] = {0, 3277, 32768, 62258, 65535};
    std::vector<uint16_t> img;
    for (uint16_t v : levels)
        img.insert(img.end(), {v, v, v});
    const float mid = 536805376.0f / kL14Scale; // 32768 * 16382

    float mn = -1, mx = -1;
    MP_UI_GetMinMaxLuminance(img.data(), &mn, &mx, 5, 1);
    EXPECT_EQ(mn, 0.0f);
    EXPECT_FLOAT_EQ(mx, 0.99987793f);

    float pmn = -1, pmx = -1;
    MP_UI_GetMinMaxLuminancePercent(img.data(), &pmn, &pmx, 0.0f, 5, 1);
    EXPECT_EQ(pmn, mn);
    EXPECT_EQ(pmx, mx);
    MP_UI_GetMinMaxLuminancePercent(img.data(), &pmn, &pmx, 0.1f, 5, 1);
    EXPECT_EQ(pmn, mid);
    EXPECT_EQ(pmx, mid);
    // No pixel inside the band: a band wider than half the scale, or every
    // pixel outside it.
    MP_UI_GetMinMaxLuminancePercent(img.data(), &pmn, &pmx, 0.6f, 5, 1);
    EXPECT_EQ(pmn, kNoMinimum);
    EXPECT_EQ(pmx, 0.0f);
    const uint16_t outside[] = {3277, 3277, 3277, 62258, 62258, 62258};
    MP_UI_GetMinMaxLuminancePercent(outside, &pmn, &pmx, 0.1f, 1, 1);
    EXPECT_EQ(pmn, kNoMinimum);
    EXPECT_EQ(pmx, 0.0f);
    MP_UI_GetMinMaxLuminancePercent(outside, &pmn, &pmx, 0.1f, 2, 1);
    EXPECT_EQ(pmn, kNoMinimum);
    EXPECT_EQ(pmx, 0.0f);
    MP_UI_GetMinMaxLuminancePercent(img.data(), &pmn, &pmx, std::nanf(""), 5, 1);
    EXPECT_TRUE(std::isfinite(pmn));

    MP_UI_GetMinMaxLuminanceNoBlack(img.data(), &mn, &mx, 5, 1);
    EXPECT_EQ(mn, 3277.0f * 16382.0f / kL14Scale);
    EXPECT_FLOAT_EQ(mx, 0.99987793f);

    MP_UI_GetMinMaxLuminance(nullptr, &mn, &mx, 5, 1);
    EXPECT_FLOAT_EQ(mn, 2.0000305f);
    EXPECT_EQ(mx, 0.0f);
    MP_UI_GetMinMaxLuminance(img.data(), &mn, &mx, 5, 0);
    EXPECT_EQ(mn, kNoMinimum);
    EXPECT_EQ(mx, 0.0f);
    MP_UI_GetMinMaxLuminance(img.data(), nullptr, nullptr, 5, 1);
}

TEST_F(Statistics, EstimateUsesTheChannelSum)
{
    const std::vector<uint16_t> img = {65535, 0, 0, 100, 200, 300, 0, 65535, 65535};
    float mn = -1, mx = -1;
    MP_UI_EstimateMinMaxLuminance(img.data(), &mn, &mx, 3, 1);
    EXPECT_EQ(mn, 600.0f / 196605.0f);
    EXPECT_EQ(mx, 131070.0f / 196605.0f);
    MP_UI_EstimateMinMaxLuminance(nullptr, &mn, &mx, 3, 1);
    EXPECT_EQ(mn, 2147483647.0f / 196605.0f);
    EXPECT_EQ(mx, 0.0f);
}

TEST_F(Statistics, AverageDistance)
{
    const auto img = solidImage(9, 9, 32768, 32768, 32768);
    const float l = MP_dotLum(32768.0f, 32768.0f, 32768.0f) / 65535.0f;
    EXPECT_NEAR(MP_UI_GetAverageLuminanceDistance(img.data(), 8, 8, l), 0.0f, 1e-6f);
    EXPECT_NEAR(MP_UI_GetAverageLuminanceDistance(img.data(), 8, 8, l + 0.25f), 0.25f, 1e-6f);
    // 9 samples over the divisor 4.
    EXPECT_NEAR(MP_UI_GetAverageLuminanceDistance(img.data(), 9, 9, l + 0.25f), 0.375f, 1e-6f);
    // A side below 4: the real number of samples.
    const auto thin = solidImage(3, 20, 32768, 32768, 32768);
    EXPECT_NEAR(MP_UI_GetAverageLuminanceDistance(thin.data(), 3, 20, l - 0.5f), 0.5f, 1e-6f);
    EXPECT_EQ(MP_UI_GetAverageLuminanceDistance(nullptr, 8, 8, 0.5f), 0.0f);
    EXPECT_EQ(MP_UI_GetAverageLuminanceDistance(img.data(), 0, 8, 0.5f), 0.0f);
}

TEST_F(Statistics, FloatLuminance)
{
    MP_UI_SetLuminanzConv(2);
    EXPECT_EQ(MP_dotLum(1.0f, 0.0f, 0.0f), 0.2125f);
    const float px[] = {1.0f, 1.0f, 1.0f, 0.5f, 0.2f, 0.1f, 2.0f, 0.0f, 0.0f};
    const float dark = 0.2125f * 0.5f + 0.7154f * 0.2f + 0.0721f * 0.1f;
    EXPECT_FLOAT_EQ(MP_GetMinLuminance(px, 3, 1), dark);
    EXPECT_FLOAT_EQ(MP_GetMaxLuminance(px, 3, 1), 1.0f);
    EXPECT_EQ(MP_GetMinLuminance(nullptr, 3, 1), 1e8f);
    EXPECT_EQ(MP_GetMaxLuminance(nullptr, 3, 1), 0.0f);
    EXPECT_EQ(MP_GetMinLuminance(px, 0, 1), 1e8f);
}

TEST_F(BorderColour, StripsOfAHundredByFifty)
{
    // Strips are 4 columns and 2 rows wide. Blue marks the strips, red their
    // innermost line (row 1, row 48, column 3, column 96).
    const int w = 100, h = 50;
    auto img = view(w, h, 0xFF000000u);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t& p = img[size_t(y) * w + x];
            if (y < 2 || y >= 48 || x < 4 || x >= 96)
                p |= 0xFFu;
            if (y == 1 || y == 48 || x == 3 || x == 96)
                p |= 0xFF0000u;
        }
    uint8_t r = 1, g = 1, b = 1;
    MP_UI_GetBorderColorFromBuffer(w, h, img.data(), &r, &g, &b);
    EXPECT_EQ(b, 255);
    EXPECT_EQ(g, 0);
    // 204 samples (4 rows x 25, 8 columns x 13), 84 of them red.
    EXPECT_EQ(r, 84 * 255 / 204);
}

TEST_F(BorderColour, StripsAreAtMostTenPixels)
{
    // 1000 x 500: strips of 10 columns and 10 rows; green marks the right one.
    const int w = 1000, h = 500;
    auto img = view(w, h, 0xFF000000u);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t& p = img[size_t(y) * w + x];
            if (y < 10 || y >= 490 || x < 10 || x >= 990)
                p |= 0xFFu;
            if (x >= 990)
                p |= 0xFF00u;
        }
    uint8_t r = 1, g = 1, b = 1;
    MP_UI_GetBorderColorFromBuffer(w, h, img.data(), &r, &g, &b);
    EXPECT_EQ(b, 255);
    EXPECT_EQ(r, 0);
    // 7500 samples (20 rows x 250, 20 columns x 125), 1290 in the right strip.
    EXPECT_EQ(g, 1290 * 255 / 7500);

    // Null outputs are skipped.
    MP_UI_GetBorderColorFromBuffer(w, h, img.data(), nullptr, &g, nullptr);
}

TEST_F(BorderColour, NothingSampledLeavesTheOutputs)
{
    const auto img = view(20, 20, 0xFFFFFFFFu);
    uint8_t r = 7, g = 8, b = 9;
    MP_UI_GetBorderColorFromBuffer(20, 20, img.data(), &r, &g, &b);
    MP_UI_GetBorderColorFromBuffer(100, 100, nullptr, &r, &g, &b);
    MP_UI_GetBorderColorFromBuffer(-100, 100, img.data(), &r, &g, &b);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(g, 8);
    EXPECT_EQ(b, 9);
    // One side of 25 pixels is enough.
    const auto wide = view(25, 10, 0xFF102030u);
    MP_UI_GetBorderColorFromBuffer(25, 10, wide.data(), &r, &g, &b);
    EXPECT_EQ(r, 0x10);
    EXPECT_EQ(g, 0x20);
    EXPECT_EQ(b, 0x30);
}

} // namespace
