#include "enginefixture.h"

#include <cmath>

namespace {

class ColourSpace : public KernelTest {
protected:
    void SetUp() override
    {
        KernelTest::SetUp();
        setMatrix(3, {1, 0, 0, 0, 1, 0, 0, 0, 1});
        setMatrix(4, {1, 0, 0, 0, 1, 0, 0, 0, 1});
        params.p[0][0] = -1.0f; // no noise reduction
        params.p[2][0] = params.p[2][1] = params.p[2][2] = 1.0f;
    }
    void setMatrix(int slot, std::initializer_list<float> m)
    {
        int i = 0;
        for (float v : m)
            params.p[slot][i++] = v;
    }
    static std::vector<uint16_t> sweep(int& w, int& h)
    {
        w = 64;
        h = 32;
        std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
        for (size_t i = 0; i < img.size(); ++i)
            img[i] = static_cast<uint16_t>(i * 10 + (i % 3) * 7);
        img[0] = 65535;
        return img;
    }
};

TEST_F(ColourSpace, IdentityMatricesKeepEveryValue)
{
    int w, h;
    auto src = sweep(w, h);
    std::vector<uint16_t> dst(src.size());
    ASSERT_EQ(run("MP_calcPixelColorSpaceConversion", w, h, src, dst), 0);
    EXPECT_EQ(dst, src);
}

TEST_F(ColourSpace, CoefficientsHaveTenBitsAndResultsAreClamped)
{
    auto src = solidImage(3, 1, 65535, 65535, 65535);
    src[3] = 40000;
    std::vector<uint16_t> dst(src.size());
    setMatrix(3, {0.41246f, 0, 0, 0, 1, 0, 0, 0, 1}); // 0.41246 becomes 422 / 1024
    setMatrix(4, {1, 0, 0, 0, -1, 0, 0, 0, 2});
    ASSERT_EQ(run("MP_calcPixelColorSpaceConversion", 3, 1, src, dst), 0);
    EXPECT_EQ(dst[0], ((65535 * 422) >> 8) * 1024 >> 12);
    EXPECT_EQ(dst[3], ((40000 * 422) >> 8) * 1024 >> 12);
    EXPECT_EQ(dst[1], 0);     // negative
    EXPECT_EQ(dst[2], 65535); // above 2^28 - 1

    // Coefficients from a broken file cannot overflow the integer products.
    setMatrix(3, {1e6f, 1e6f, 1e6f, -1e6f, 0, 0, 0, 0, 1e6f});
    setMatrix(4, {1e6f, 0, 0, 0, 1e6f, 0, 1e6f, 1e6f, 1e6f});
    ASSERT_EQ(run("MP_calcPixelColorSpaceConversion", 3, 1, src, dst), 0);
    EXPECT_EQ(dst[0], 65535);
    EXPECT_EQ(dst[1], 0);
}

TEST_F(ColourSpace, NeutralPrePassReturnsTheImageUnchanged)
{
    int w, h;
    auto src = sweep(w, h);
    std::vector<uint16_t> dst(src.size());
    for (float s : {-1.0f, 0.0f}) { // off, and strength 0 (evaluated, changes nothing)
        params.p[0][0] = s;
        ASSERT_EQ(run("MP_calcPixelCombinedPrePass", w, h, src, dst), 0);
        EXPECT_EQ(dst, src) << s;
    }
}

TEST_F(ColourSpace, DarkAreasMoveTowardTheirGrey)
{
    params.lumr = params.lumg = params.lumb = 1.0f / 3.0f;
    params.p[1][0] = 1.0f;
    auto src = solidImage(2, 1, 9830, 6553, 3277); // N about 0.1
    src[3] = src[4] = src[5] = 0;
    std::vector<uint16_t> dst(src.size());
    ASSERT_EQ(run("MP_calcPixelCombinedPrePass", 2, 1, src, dst), 0);
    const float N = (9830.0f + 6553.0f + 3277.0f) / 3.0f / 65535.0f;
    const float wgt = ((0.5f - N) * 2.0f) * ((0.5f - N) * 2.0f); // 0.64: 36 % of the colour stays
    const float grey = N * 65535.0f;
    EXPECT_NEAR(dst[0], 9830.0f * (1.0f - wgt) + wgt * grey, 1.0f);
    EXPECT_NEAR(dst[2] - grey, 0.36f * (3277.0f - grey), 2.0f);
    EXPECT_EQ(dst[3], 0); // black stays black
    EXPECT_EQ(dst[5], 0);
}

TEST_F(ColourSpace, WhiteBalanceGains)
{
    params.p[2][0] = 2.0f; // m = 4/3 + 1: red * 1/3, green and blue * 4/3
    auto src = solidImage(1, 1, 30000, 30000, 30000);
    std::vector<uint16_t> dst(3);
    ASSERT_EQ(run("MP_calcPixelCombinedPrePass", 1, 1, src, dst), 0);
    EXPECT_NEAR(dst[0], 10000, 1);
    EXPECT_NEAR(dst[1], 40000, 1);
    EXPECT_NEAR(dst[2], 40000, 1);
}

TEST_F(ColourSpace, NoiseReductionPullsAnOutlierTowardTheWindowMean)
{
    params.p[0][0] = 1.0f;
    auto src = solidImage(5, 5, 20000, 20000, 20000);
    uint16_t* centre = &src[(2 * 5 + 2) * 3];
    centre[0] = centre[1] = centre[2] = 21000;
    std::vector<uint16_t> dst(src.size());
    ASSERT_EQ(run("MP_calcPixelCombinedPrePass", 5, 5, src, dst), 0);
    const uint16_t out = dst[(2 * 5 + 2) * 3];
    EXPECT_LT(out, 21000);
    EXPECT_GT(out, 20000);
    EXPECT_EQ(dst[0], 20000); // a flat window is left alone
}

TEST_F(ColourSpace, WindowWrapsAroundInPanoramaMode)
{
    params.p[0][0] = 1.0f;
    auto src = solidImage(6, 3, 20000, 20000, 20000);
    for (int y = 0; y < 3; ++y)
        for (int c = 0; c < 3; ++c)
            src[(y * 6 + 5) * 3 + c] = 40000; // last column bright
    std::vector<uint16_t> plain(src.size()), wrapped(src.size());
    MP_UI_SetPanoramaMode(0);
    ASSERT_EQ(run("MP_calcPixelCombinedPrePass", 6, 3, src, plain), 0);
    MP_UI_SetPanoramaMode(1);
    ASSERT_EQ(run("MP_calcPixelCombinedPrePass", 6, 3, src, wrapped), 0);
    EXPECT_EQ(plain[3], 20000); // column 0 sees only its flat neighbours
    EXPECT_NE(wrapped[0], plain[0]); // column 0 sees the last column
}

TEST_F(ColourSpace, PrePassInPlaceMatchesAndNeedsItsScratchBuffer)
{
    int w, h;
    auto src = sweep(w, h);
    params.p[0][0] = 0.7f;
    params.p[1][0] = 1.0f;
    params.p[2][1] = 1.2f;
    setMatrix(3, {0.41246f, 0.35758f, 0.18044f, 0.21267f, 0.71515f, 0.07217f, 0.01933f, 0.11919f, 0.95030f});
    setMatrix(4, {3.24045f, -1.53714f, -0.49853f, -0.96927f, 1.87601f, 0.04156f, 0.05564f, -0.20403f, 1.05723f});
    std::vector<uint16_t> separate(src.size());
    ASSERT_EQ(run("MP_calcPixelCombinedPrePass", w, h, src, separate), 0);
    auto inPlace = src;
    MP_UI_SetIdealThreadCount(1);
    ASSERT_EQ(run("MP_calcPixelCombinedPrePass", w, h, inPlace, inPlace), 0);
    EXPECT_EQ(inPlace, separate);

    std::vector<uint16_t> untouched(src.size(), 3);
    ASSERT_EQ(MP_UpdateBuffer(size_t(1) << 62), nullptr);
    EXPECT_EQ(run("MP_calcPixelCombinedPrePass", w, h, src, untouched), -1);
    EXPECT_EQ(untouched, std::vector<uint16_t>(src.size(), 3));
}

} // namespace
