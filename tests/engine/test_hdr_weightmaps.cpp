#include "enginefixture.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <iterator>

namespace {

class WeightMaps : public KernelTest {
protected:
    void SetUp() override
    {
        KernelTest::SetUp();
        params.loopstep = 1;
        params.previewscalingfactor = 1.0f;
        params.kernel_exponent = 2.0f;
    }
    // The kernels write a 16-bit weight map.
    int run(const char* name, int w, int h, std::vector<uint16_t>& src, std::vector<uint16_t>& map)
    {
        return KernelTest::run(name, w, h, src, map, 2);
    }
    // A picture with gradients, texture and an edge.
    static std::vector<uint16_t> picture(int w, int h)
    {
        std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint16_t* p = &img[(static_cast<size_t>(y) * w + x) * 3];
                p[0] = static_cast<uint16_t>(x * 65535 / std::max(1, w - 1));
                p[1] = static_cast<uint16_t>((x * 7919 + y * 104729) % 65536);
                p[2] = static_cast<uint16_t>(x < w / 2 ? 3000 : 60000);
            }
        return img;
    }
};

// ---- HDRaverage -----------------------------------------------------------------------

struct AverageCase {
    float weight;
    uint16_t stored;
};
class AverageMap : public WeightMaps, public ::testing::WithParamInterface<AverageCase> {};

TEST_P(AverageMap, FillsEveryPixelWithTheEncodedWeight)
{
    const AverageCase c = GetParam();
    const int w = 5, h = 3; // fewer rows than threads: empty bands
    auto src = solidImage(w, h, 1, 2, 3);
    std::vector<uint16_t> map(w * h + 4, 0);
    params.p[2][0] = c.weight;
    ASSERT_EQ(run("MP_calcPixelHDRaverage", w, h, src, map), 0);
    for (int i = 0; i < w * h; ++i)
        EXPECT_EQ(map[i], c.stored) << i;
    for (int i = w * h; i < w * h + 4; ++i)
        EXPECT_EQ(map[i], 0); // exactly sizex * sizey values
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AverageMap,
    ::testing::Values(AverageCase{0.0f, 1}, AverageCase{0.25f, 16384}, AverageCase{0.5f, 32768},
                      AverageCase{1.0f, 65535}, AverageCase{1.5f, 65535}, AverageCase{-0.5f, 1},
                      AverageCase{std::numeric_limits<float>::quiet_NaN(), 1},
                      // the document's p[2][0] = 0.75 g + 0.25 for global weights 0, 0.5, 1
                      AverageCase{0.75f * 0.0f + 0.25f, 16384}, AverageCase{0.75f * 0.5f + 0.25f, 40959},
                      AverageCase{0.75f * 1.0f + 0.25f, 65535}));

// ---- Threshold and blur -------------------------------------------------------------------

TEST(FocusThreshold, ScalesWithResolutionAndRadius)
{
    EXPECT_NEAR(CalcThresholdByResolution(2000, 1000, 0.1f, 0.45f, 0.75f), 0.0732f, 0.0001f);
    EXPECT_FLOAT_EQ(CalcThresholdByResolution(1000, 1000, 0.1f, 0.45f, 0.75f), 0.1f);
    EXPECT_FLOAT_EQ(CalcThresholdByResolution(1000, 1000, 0.1f, 0.45f, 0.0f), 0.3625f);
    EXPECT_FLOAT_EQ(CalcThresholdByResolution(1000, 1000, 0.1f, 0.45f, 1.0f), 0.055f);
    EXPECT_FLOAT_EQ(CalcThresholdByResolution(100000, 100000, 0.1f, 0.0f, 0.75f), 0.1f); // no overflow of w * h
}

struct BlurCase {
    std::vector<uint16_t> map;
    int w;
    float p0, p1;
    bool panorama;
    std::vector<uint16_t> expected;
};
class WeightBlur : public WeightMaps, public ::testing::WithParamInterface<BlurCase> {};

TEST_P(WeightBlur, BoxAveragesWithTheFixedPointDivision)
{
    const BlurCase& c = GetParam();
    std::vector<uint16_t> src = c.map, dst(c.map.size(), 9);
    params.p[0][0] = c.p0;
    params.p[1][0] = c.p1;
    MP_UI_SetPanoramaMode(c.panorama ? 1 : 0);
    const int h = static_cast<int>(c.map.size()) / c.w;
    EXPECT_EQ(OpenCLManager::getInstance()->executeKernel(
                  "MP_calcPixelHDRlinBlurHorVer", c.w, h, reinterpret_cast<float*>(src.data()),
                  reinterpret_cast<float*>(dst.data()), 2, 2, &params, -1, 0.0f, 1.0f, true, true),
              0);
    EXPECT_EQ(dst, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WeightBlur,
    ::testing::Values(
        // r = 1: the sample and its right neighbour, f = 32768: (32768 * (2000 >> 8)) >> 8 = 896
        BlurCase{{1000, 1000}, 2, 1.0f, 1.0f, false, {896, 896}},
        // the last column reads itself (clamped) or the first column (panorama)
        BlurCase{{0, 0, 0, 4000}, 4, 1.0f, 1.0f, false, {0, 0, 1920, 3968}},
        BlurCase{{0, 0, 0, 4000}, 4, 1.0f, 1.0f, true, {0, 0, 1920, 1920}},
        // p[0][0] below p[1][0]: radius 0, nothing written
        BlurCase{{1000, 1000}, 2, 0.5f, 1.0f, false, {9, 9}},
        // a map one pixel wide has no window: the pass is skipped
        BlurCase{{1000, 2000, 3000}, 1, 3.0f, 1.0f, false, {9, 9, 9}}));

TEST_F(WeightMaps, BlurPassesCompoundOnlyInPlace)
{
    std::vector<uint16_t> map = {0, 0, 0, 0, 0, 0, 0, 40000, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint16_t> once(map.size()), twice(map.size());
    params.p[0][0] = 1.0f;
    params.p[1][0] = 1.0f;
    ASSERT_EQ(MP_calcPixelHDRlinBlurHorVer(4, 4, map.data(), once.data(), 2, 2, &params), 0);
    params.p[0][0] = 2.0f;
    params.p[1][0] = 2.0f; // two passes of radius 1
    ASSERT_EQ(MP_calcPixelHDRlinBlurHorVer(4, 4, map.data(), twice.data(), 2, 2, &params), 0);
    EXPECT_EQ(twice, once); // each pass reads the untouched source
    std::vector<uint16_t> inPlace = map;
    ASSERT_EQ(MP_calcPixelHDRlinBlurHorVer(4, 4, inPlace.data(), inPlace.data(), 2, 2, &params), 0);
    EXPECT_NE(inPlace, once);
}

// ---- The further kernels ------------------------------------------------------------------

const char* const kNamedKernels[] = {
    "MP_calcPixelFastHDRrgrbgb", // needs no scratch buffer: first, outside the scratch cases
    "MP_calcPixelFastHDRentropy",          "MP_calcPixelFastHDRdistance",
    "MP_calcPixelFastHDRabsdist",          "MP_calcPixelHDRlumentropy",          "MP_calcPixelHDRlumrgb",
    "MP_calcPixelHDRlinear",               "MP_calcPixelHDRloglinear",           "MP_calcPixelHDRquadriclinear",
    "MP_calcPixelHDRsatlig",               "MP_calcPixelHDRdetail",              "MP_calcPixelHDRrgbdetail",
    "MP_calcPixelHDRfocusstacklin",        "MP_calcPixelHDRfocusstacklum",       "MP_calcPixelHDRfocusstackrgb",
    "MP_calcPixelHDRfocusstackvar",        "MP_calcPixelHDRfocusstackmse",       "MP_calcPixelHDRfocusstackmce",
    "MP_calcPixelHDRfocusstackpyramidmse", "MP_calcPixelHDRfocusstackpyramidmce"};

class NamedWeightKernel : public WeightMaps, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        WeightMaps::SetUp();
        params.p[0][0] = 0.1f; // radius 5
        params.p[1][0] = 0.5f;
        params.p[2][0] = 0.5f; // wt = 1
        params.p[3][0] = 0.5f;
        params.p[5][0] = 1.0f;
    }
};

TEST_P(NamedWeightKernel, WritesEveryPixelTheSameOnOneOrFourThreads)
{
    const int w = 23, h = 17;
    auto src = picture(w, h);
    std::vector<uint16_t> four(w * h, 0), one(w * h, 0);
    ASSERT_EQ(run(GetParam(), w, h, src, four), 0);
    for (uint16_t v : four)
        ASSERT_GE(v, 1); // every stored weight lies in 1..65535
    MP_UI_SetIdealThreadCount(1);
    const MP_Params saved = params;
    params = saved;
    ASSERT_EQ(run(GetParam(), w, h, src, one), 0);
    EXPECT_EQ(one, four);
}

class ScratchWeightKernel : public NamedWeightKernel {};

TEST_P(ScratchWeightKernel, NoScratchMeansNothingWritten)
{
    const int w = 8, h = 6;
    auto src = picture(w, h);
    std::vector<uint16_t> map(w * h, 0);
    ASSERT_EQ(MP_UpdateBuffer(size_t(1) << 62), nullptr); // every later request fails
    EXPECT_EQ(run(GetParam(), w, h, src, map), -1);
    for (uint16_t v : map)
        EXPECT_EQ(v, 0);
    MP_ClearBuffer();
}

INSTANTIATE_TEST_SUITE_P(Kernels, NamedWeightKernel, ::testing::ValuesIn(kNamedKernels));
// Every named kernel but FastHDRrgrbgb, which needs no scratch buffer.
INSTANTIATE_TEST_SUITE_P(Kernels, ScratchWeightKernel,
                         ::testing::ValuesIn(std::begin(kNamedKernels) + 1, std::end(kNamedKernels)));

TEST_F(WeightMaps, AbsoluteDistanceFollowsItsCurve)
{
    // dn = 0, wt = 1, g = 1: f = (1 - v)^2 of the 16-bit luminance v
    params.p[2][0] = 0.5f;
    params.p[5][0] = 1.0f;
    const uint16_t greys[] = {0, 16384, 32768, 65535};
    for (uint16_t grey : greys) {
        auto src = solidImage(3, 2, grey, grey, grey);
        std::vector<uint16_t> map(6, 0);
        ASSERT_EQ(run("MP_calcPixelFastHDRabsdist", 3, 2, src, map), 0);
        const int q = static_cast<int>(params.lumr * 16383.0f) + static_cast<int>(params.lumg * 16383.0f) +
                      static_cast<int>(params.lumb * 16383.0f);
        const float v = static_cast<float>((q * grey) >> 14) / 65535.0f;
        EXPECT_NEAR(map[5], (1.0f - v) * (1.0f - v) * 65534.0f + 1.0f, 2.0f) << grey;
    }
}

TEST_F(WeightMaps, FocusStackingPrefersTheSharpPicture)
{
    params.p[0][0] = 0.04f;
    params.p[2][0] = 0.5f;
    const int w = 16, h = 16;
    auto flat = solidImage(w, h, 30000, 30000, 30000);
    auto sharp = flat;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x + y) % 2)
                for (int c = 0; c < 3; ++c)
                    sharp[(static_cast<size_t>(y) * w + x) * 3 + c] = 50000;
    for (const char* name : {"MP_calcPixelHDRfocusstackmse", "MP_calcPixelHDRfocusstacklum",
                             "MP_calcPixelHDRfocusstackpyramidmce"}) {
        std::vector<uint16_t> a(w * h), b(w * h);
        ASSERT_EQ(run(name, w, h, flat, a), 0);
        ASSERT_EQ(run(name, w, h, sharp, b), 0);
        EXPECT_EQ(a[5 * w + 5], 1) << name; // no sharpness: below the threshold
        EXPECT_GT(b[5 * w + 5], 1000) << name;
    }
}

TEST_F(WeightMaps, WindowReadsOnlyWeightsOfThisRun)
{
    // Radius 2 with odd row half-widths reaches column offset 3 in the centre
    // row: those spatial weights must be written by the run, not left over.
    params.p[0][0] = 0.04f;
    params.unit_kernel_multiplier = 1.0f;
    params.cpu_loopstep_mulitplier = 14.0f;
    params.p[1][0] = 0.5f;
    params.p[2][0] = 0.5f;
    params.p[3][0] = 0.5f;
    params.p[5][0] = 1.0f;
    OpenCLManager::getInstance()->setKernelSuperquadricTable(2, &params);
    ASSERT_EQ(params.lx[500], 3);
    const int w = 12, h = 9;
    auto src = picture(w, h);
    std::vector<uint16_t> clean(w * h), stale(w * h);
    for (float& v : localexp)
        v = 1.0f;
    MP_Params p = params;
    ASSERT_EQ(MP_calcPixelHDRquadriclinear(w, h, src.data(), clean.data(), 6, 2, &p), 0);
    for (float& v : localexp)
        v = std::numeric_limits<float>::quiet_NaN();
    p = params;
    ASSERT_EQ(MP_calcPixelHDRquadriclinear(w, h, src.data(), stale.data(), 6, 2, &p), 0);
    EXPECT_EQ(stale, clean);
}

using DirectKernel = int (*)(int, int, ushort*, ushort*, int, int, MP_Params*);

std::vector<std::pair<int, float>> g_progress;
void recordProgress(int category, float fraction) { g_progress.emplace_back(category, fraction); }

TEST_F(WeightMaps, UnnamedKernelsRunAndPostProgressPerRowCadence)
{
    params.p[0][0] = 0.04f;
    params.unit_kernel_multiplier = 1.0f;
    params.cpu_loopstep_mulitplier = 14.0f;
    params.p[1][0] = 0.5f;
    params.p[2][0] = 0.5f;
    params.p[3][0] = 0.5f;
    const DirectKernel kernels[] = {MP_calcPixelHDRdistance, MP_calcPixelHDRrgrbgb, MP_calcPixelHDRgradient,
                                    MP_calcPixelHDRentropy};
    const int w = 9, h = 7;
    auto src = picture(w, h);
    for (DirectKernel k : kernels) {
        std::vector<uint16_t> map(w * h, 0);
        MP_Params p = params;
        ASSERT_EQ(k(w, h, src.data(), map.data(), 6, 2, &p), 0);
        for (uint16_t v : map)
            EXPECT_GE(v, 1);
    }

    // From 100,000 rows on the period 100000 / (h + 1) would be 0: every row posts.
    const int tall = 100000;
    auto column = solidImage(1, tall, 1000, 2000, 3000);
    std::vector<uint16_t> map(tall, 0);
    g_progress.clear();
    C_SetAddMessageHook(recordProgress);
    _category = 3;
    MP_Params p = params;
    ASSERT_EQ(MP_calcPixelHDRgradient(1, tall, column.data(), map.data(), 6, 2, &p), 0);
    EXPECT_EQ(g_progress.size(), static_cast<size_t>(tall));
    EXPECT_EQ(g_progress.front(), std::make_pair(3, 0.0f));

    g_progress.clear();
    p = params;
    ASSERT_EQ(MP_calcPixelHDRgradient(w, h, src.data(), map.data(), 6, 2, &p), 0);
    EXPECT_EQ(g_progress.size(), 1u); // period 100000 / 8: row 0 only
    _category = -1;
    g_progress.clear();
    p = params;
    ASSERT_EQ(MP_calcPixelHDRentropy(w, h, src.data(), map.data(), 6, 2, &p), 0);
    EXPECT_TRUE(g_progress.empty());
}

TEST_F(WeightMaps, DetailOfAFlatPictureIsZeroWeight)
{
    params.p[0][0] = 0.1f;
    params.p[2][0] = 0.5f;
    auto flat = solidImage(10, 10, 20000, 20000, 20000);
    std::vector<uint16_t> map(100, 0);
    ASSERT_EQ(run("MP_calcPixelHDRdetail", 10, 10, flat, map), 0);
    for (uint16_t v : map)
        EXPECT_EQ(v, 1);
}

} // namespace
