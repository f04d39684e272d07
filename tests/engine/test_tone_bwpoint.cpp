#include "enginefixture.h"

#include <cmath>
#include <string>

namespace {

std::vector<uint16_t> picture(int w, int h)
{
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* p = &img[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint16_t>(5000 + x * 50000 / std::max(1, w - 1));
            p[1] = static_cast<uint16_t>(8000 + y * 40000 / std::max(1, h - 1));
            p[2] = static_cast<uint16_t>((x * 7919 + y * 3571) % 50000 + 2000);
        }
    return img;
}

class BWPoint : public KernelTest {
protected:
    // Catalogue defaults of a kernel, full opacity in its combo slot.
    void defaults(const std::string& name)
    {
        params = MP_Params{};
        MP_UI_GetLuminanzConvRGB(&params.lumr, &params.lumg, &params.lumb);
        params.lummin = 0.1f;
        params.lummax = 0.8f;
        if (name == "MP_calcPixelautomaticbwpoint") {
            params.p[0][1] = 100.0f;
        } else if (name == "MP_calcPixelmanualbwpoint") {
            params.p[0][0] = 0.2f; // the defaults are neutral and skipped by the dispatcher
            params.p[1][0] = 1.0f;
            params.p[2][1] = 100.0f;
        } else if (name == "MP_calcPixelManualRGBpoint") {
            params.p[0][0] = 0.2f;
            for (int c = 0; c < 3; ++c)
                params.p[2 * c + 1][0] = 1.0f;
            params.p[6][1] = 100.0f;
        } else if (name == "MP_calcPixelpercentbwpoint") {
            params.p[1][0] = 0.5f;
            params.p[2][0] = 1.0f;
            params.p[3][1] = 100.0f;
        } else if (name == "MP_calcPixelWeighedBW") {
            params.p[1][1] = 100.0f;
        }
    }
};

// ---- The stretch table -------------------------------------------------------------------

struct StretchCase {
    uint16_t in, out;
};

TEST_F(BWPoint, StretchBetweenAQuarterAndThreeQuarters)
{
    int w, h;
    auto src = allValues(w, h);
    std::vector<uint16_t> dst(src.size());
    params.lummin = 0.25f;
    params.lummax = 0.75f;
    ASSERT_EQ(run("MP_calcPixelbwpoint", w, h, src, dst), 0);
    const StretchCase cases[] = {{0, 0},         {16384, 0},     {16385, 2},     {32767, 32766},
                                 {32768, 32768}, {49151, 65534}, {49152, 65535}, {65535, 65535}};
    for (const StretchCase& c : cases)
        EXPECT_EQ(dst[c.in], c.out) << c.in;
}

TEST_F(BWPoint, FullRangeIsTheIdentityBut512Values)
{
    int w, h;
    auto src = allValues(w, h);
    std::vector<uint16_t> dst(src.size());
    params.lummin = 0.0f;
    params.lummax = 1.0f;
    ASSERT_EQ(run("MP_calcPixelbwpoint", w, h, src, dst), 0);
    int lower = 0;
    for (int i = 0; i < 65536; ++i) {
        ASSERT_TRUE(dst[i] == i || dst[i] == i - 1) << i;
        lower += dst[i] != i;
    }
    EXPECT_EQ(lower, 512);
    EXPECT_EQ(dst[257], 256);
}

TEST_F(BWPoint, EmptyRangeShiftsWithoutStretching)
{
    auto src = solidImage(1, 1, 40000, 20000, 10000);
    std::vector<uint16_t> dst(3);
    params.lummin = 0.25f;
    params.lummax = 0.2f; // f = 1
    ASSERT_EQ(MP_calcPixelbwpoint(1, 1, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_NEAR(dst[0], 40000 - 16384, 1);
    EXPECT_EQ(dst[2], 0);
}

// ---- Manual points ---------------------------------------------------------------------------

TEST_F(BWPoint, ManualDefaultsGiveTheIdentityTableAndStayInTheBlock)
{
    int w, h;
    auto src = allValues(w, h);
    std::vector<uint16_t> dst(src.size()), identity(src.size());
    params.p[0][0] = 0.0f;
    params.p[1][0] = 1.0f;
    params.p[2][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelmanualbwpoint(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(params.lummin, 0.0f);
    EXPECT_EQ(params.lummax, 1.0f); // 0.501 + 0.499 is exactly 1 in single precision
    MP_Params plain{};
    plain.lummax = 1.0f;
    ASSERT_EQ(MP_calcPixelbwpoint(w, h, src.data(), identity.data(), 6, 6, &plain), 0);
    EXPECT_EQ(dst, identity);
}

TEST_F(BWPoint, ManualRGBPointOnlyDarkRed)
{
    auto src = solidImage(2, 1, 30000, 30000, 30000);
    src[3] = 40000;
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 1.0f; // "Dunkelrot"
    for (int c = 0; c < 3; ++c)
        params.p[2 * c + 1][0] = 1.0f;
    params.p[6][1] = 100.0f;
    ASSERT_EQ(run("MP_calcPixelManualRGBpoint", 2, 1, src, dst), 0);
    EXPECT_EQ(dst[0], 0); // below 0.499 of full scale
    EXPECT_GT(dst[3], 0);
    EXPECT_NEAR(dst[1], 30000, 1);
    EXPECT_NEAR(dst[2], 30000, 1);
    EXPECT_EQ(params.lummin, 0.0f); // the blue pair stays in the block
    EXPECT_EQ(params.lummax, 1.0f);
}

// ---- Percentiles --------------------------------------------------------------------------------

TEST_F(BWPoint, PercentilesOfAFlatGreyAndOfBlack)
{
    params.p[1][0] = 0.5f;
    params.p[2][0] = 1.0f;
    params.p[3][1] = 100.0f;
    const uint16_t v = 30000;
    auto grey = solidImage(6, 5, v, v, v);
    std::vector<uint16_t> dst(grey.size());
    ASSERT_EQ(run("MP_calcPixelpercentbwpoint", 6, 5, grey, dst), 0);
    // every pixel on the light point: w about 1, so v / (v + 65.535) of full scale
    const float expected = static_cast<float>(v) / (static_cast<float>(v) + 65.535f) * 65535.0f;
    EXPECT_NEAR(dst[0], expected, 20.0f);
    EXPECT_EQ(dst[0], dst[dst.size() - 1]);

    auto black = solidImage(3, 3, 0, 0, 0);
    std::vector<uint16_t> out(black.size(), 1);
    ASSERT_EQ(run("MP_calcPixelpercentbwpoint", 3, 3, black, out), 0);
    for (uint16_t c : out)
        EXPECT_EQ(c, 0);
}

TEST(BWPercentile, LightThresholdAboveAnInexactCountTakesTheHighestOccupiedBin)
{
    std::vector<uint64_t> cumulative(65536, 0);
    const int64_t count = 16777219; // 2^24 + 3: single precision rounds it up to 16777220
    for (int i = 100; i < 65536; ++i)
        cumulative[i] = i < 40000 ? 5000 : static_cast<uint64_t>(count);
    const float n = static_cast<float>(count);
    EXPECT_GT(static_cast<int64_t>((0.33f * 1.0f + 0.67f) * n), count);
    EXPECT_EQ(MP_bwPercentileBin(cumulative.data(), (0.33f * 1.0f + 0.67f) * n, count), 40000);
    EXPECT_EQ(MP_bwPercentileBin(cumulative.data(), 0.0f, count), 0); // "Schatten" 0: bin 0
    EXPECT_EQ(MP_bwPercentileBin(cumulative.data(), 4000.0f, count), 100);
    EXPECT_EQ(MP_bwPercentileBin(cumulative.data(), std::nanf(""), count), 0);
}

// ---- Weighted points --------------------------------------------------------------------------------

std::vector<std::pair<int, float>> g_messages;
void record(int category, float fraction) { g_messages.emplace_back(category, fraction); }

TEST_F(BWPoint, WeightedOnATinyImageStretchesNothingAndPostsTenMessages)
{
    auto src = picture(9, 20); // narrower than 10 pixels: no copy qualifies
    std::vector<uint16_t> dst(src.size()), identity(src.size());
    params.p[1][1] = 100.0f;
    g_messages.clear();
    C_SetAddMessageHook(record);
    _category = 2;
    _progressstart = 0.5f;
    _progressdelta = 0.5f;
    ASSERT_EQ(MP_calcPixelWeighedBW(9, 20, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(params.lummin, 0.0f);
    EXPECT_EQ(params.lummax, 1.0f);
    ASSERT_EQ(g_messages.size(), 10u);
    EXPECT_EQ(g_messages[0], std::make_pair(2, 0.5f));
    EXPECT_FLOAT_EQ(g_messages[9].second, 0.9f * 0.5f + 0.5f);
    MP_Params plain{};
    plain.lummax = 1.0f;
    ASSERT_EQ(MP_calcPixelbwpoint(9, 20, src.data(), identity.data(), 6, 6, &plain), 0);
    EXPECT_EQ(dst, identity);

    g_messages.clear();
    _category = -1; // a negative category posts nothing
    ASSERT_EQ(MP_calcPixelWeighedBW(9, 20, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(BWPoint, WeightedAtHalfOpacityIsHalfSourceHalfStretched)
{
    const int w = 60, h = 40;
    auto src = picture(w, h);
    std::vector<uint16_t> stretched(src.size()), half(src.size());
    params.p[0][0] = 0.5f;
    params.p[1][1] = 100.0f;
    ASSERT_EQ(run("MP_calcPixelWeighedBW", w, h, src, stretched), 0);
    EXPECT_GT(params.lummin, 0.0f);
    EXPECT_LT(params.lummax, 1.0f);
    EXPECT_NE(stretched, src);
    params.p[1][1] = 50.0f;
    ASSERT_EQ(run("MP_calcPixelWeighedBW", w, h, src, half), 0);
    for (size_t i = 0; i < src.size(); i += 37)
        EXPECT_NEAR(half[i], (src[i] + stretched[i]) / 2.0, 1.5) << i;
}

// ---- Missing scratch buffer ------------------------------------------------------------------------

class BWNoScratch : public BWPoint, public ::testing::WithParamInterface<const char*> {};

TEST_P(BWNoScratch, ReturnsMinusOneAndLeavesDestinationAndPointsAlone)
{
    const std::string name = GetParam();
    defaults(name);
    auto src = picture(12, 12);
    std::vector<uint16_t> dst(src.size(), 3);
    ASSERT_EQ(MP_UpdateBuffer(size_t(1) << 62), nullptr); // every later request fails
    EXPECT_EQ(run(name.c_str(), 12, 12, src, dst), -1);
    EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 3));
    if (name != "MP_calcPixelWeighedBW") { // the weighted driver measures its points first
        EXPECT_EQ(params.lummin, 0.1f);
        EXPECT_EQ(params.lummax, 0.8f);
    }
}

INSTANTIATE_TEST_SUITE_P(Drivers, BWNoScratch,
                         ::testing::Values("MP_calcPixelbwpoint", "MP_calcPixelautomaticbwpoint",
                                           "MP_calcPixelmanualbwpoint", "MP_calcPixelManualRGBpoint",
                                           "MP_calcPixelWeighedBW"));

// ---- Every driver: defaults, in place, threads, blend -------------------------------------------------

class BWDriver : public BWPoint, public ::testing::WithParamInterface<const char*> {};

TEST_P(BWDriver, InPlaceAndThreadCountGiveTheSameImage)
{
    const std::string name = GetParam();
    const int w = 40, h = 30;
    auto src = picture(w, h);
    defaults(name);
    std::vector<uint16_t> separate(src.size());
    ASSERT_EQ(run(name.c_str(), w, h, src, separate), 0);
    EXPECT_NE(separate, src) << name;
    defaults(name);
    auto inPlace = src;
    MP_UI_SetIdealThreadCount(1);
    ASSERT_EQ(run(name.c_str(), w, h, inPlace, inPlace), 0);
    EXPECT_EQ(inPlace, separate) << name;
}

class BWBlendDriver : public BWDriver {};

TEST_P(BWBlendDriver, OpacityOrGeometryRunTheFullWorkerWithTheSameEffect)
{
    const std::string name = GetParam();
    const int w = 20, h = 10;
    auto src = picture(w, h);
    defaults(name);
    const int combo = MP_UI_getKernelGeometryIndex(name.c_str()) - 1;
    std::vector<uint16_t> reduced(src.size()), full(src.size());
    ASSERT_EQ(run(name.c_str(), w, h, src, reduced), 0);

    // A geometry set selects the full worker: each pixel is the reduced
    // worker's colour mixed with the source by the mask's opacity there.
    defaults(name);
    float* g = params.p[combo + 1];
    g[0] = 1;
    g[1] = g[2] = 0.4f;
    g[4] = 0.5f;
    g[5] = 1.0f;
    g[6] = g[7] = 0.5f;
    ASSERT_EQ(run(name.c_str(), w, h, src, full), 0);
    ASSERT_GT(params.geometry_needed, 0);
    int masked = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float a = MP_calcGeometryMethodOpacity(x, y, w, h, combo + 1, &params);
            masked += a < 1.0f;
            for (int c = 0; c < 3; ++c) {
                const size_t i = (static_cast<size_t>(y) * w + x) * 3 + c;
                const float expected = a > 0.0f ? reduced[i] * a + src[i] * (1.0f - a) : src[i];
                ASSERT_NEAR(full[i], expected, 1.5f) << name << " " << x << "," << y;
            }
        }
    EXPECT_GT(masked, 0);

    defaults(name);
    params.p[combo][1] = 0.0f; // opacity 0: the source
    ASSERT_EQ(run(name.c_str(), w, h, src, full), 0);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_NEAR(full[i], src[i], 1) << name << " " << i;
}

INSTANTIATE_TEST_SUITE_P(Drivers, BWDriver,
                         ::testing::Values("MP_calcPixelbwpoint", "MP_calcPixelautomaticbwpoint",
                                           "MP_calcPixelmanualbwpoint", "MP_calcPixelManualRGBpoint",
                                           "MP_calcPixelpercentbwpoint", "MP_calcPixelWeighedBW"));
// The internal stretch has no blend.
INSTANTIATE_TEST_SUITE_P(Drivers, BWBlendDriver,
                         ::testing::Values("MP_calcPixelautomaticbwpoint", "MP_calcPixelmanualbwpoint",
                                           "MP_calcPixelManualRGBpoint", "MP_calcPixelpercentbwpoint",
                                           "MP_calcPixelWeighedBW"));

} // namespace
