#include "enginefixture.h"

#include <FreeImage.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <thread>

namespace {

struct BitmapDeleter {
    void operator()(FIBITMAP* b) const { FreeImage_Unload(b); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

FIRGBF* line(FIBITMAP* b, int scanLine) { return reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(b, scanLine)); }

// A descriptor over owned buffers of w x h pixels.
class Fusion : public EngineTest {
protected:
    int w = 4, h = 3;
    std::vector<uint16_t> image, output;
    std::vector<uint16_t> autoMap;
    std::vector<int16_t> manualMap;
    std::unique_ptr<MP_FusionParams> desc;

    void make(int width, int height)
    {
        w = width;
        h = height;
        const size_t n = static_cast<size_t>(w) * h;
        image.assign(n * 3, 0);
        output.assign(n * 3, 7); // 7: a row nobody wrote
        autoMap.assign(n, 40959);
        manualMap.assign(n, 0);
        desc = std::make_unique<MP_FusionParams>();
        std::memset(desc.get(), 0, sizeof(MP_FusionParams));
        desc->width = w;
        desc->height = h;
        desc->image = image.data();
        desc->weight_auto = autoMap.data();
        desc->weight_manual = manualMap.data();
        desc->output = output.data();
    }
    void SetUp() override
    {
        EngineTest::SetUp();
        make(4, 3);
    }
};

struct WeightCase {
    uint16_t automatic;
    int16_t manual;
    uint16_t in;
    uint16_t out;
};

class FusionWeights : public Fusion, public ::testing::WithParamInterface<WeightCase> {};

TEST_P(FusionWeights, SingleSlotScalesByItsThirteenBitWeight)
{
    const WeightCase c = GetParam();
    make(1, 1);
    image = {c.in, c.in, c.in};
    autoMap[0] = c.automatic;
    manualMap[0] = c.manual;
    MP_UI_calcHDRfusion(desc.get(), 0, 1);
    EXPECT_EQ(output[0], c.out);
    EXPECT_EQ(output[2], c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FusionWeights,
    ::testing::Values(WeightCase{40959, 0, 65535, 65527},    // internal weight 8191
                      WeightCase{40959, 0, 8192, 8191},      // (v * 8191) >> 13
                      WeightCase{33, 0, 8192, 7943},         // weight 33: internal 7943
                      WeightCase{32, 0, 8192, 8192},         // 32 and 65536 give exactly 8192
                      WeightCase{2, 32767, 8192, 8192},      // 2 + 2 * 32767 = 65536
                      WeightCase{40000, -30000, 8192, 8192}, // -20000 is raised to 32
                      WeightCase{1, 0, 65535, 65535}));

TEST_F(Fusion, OnlyItsRowsAreWritten)
{
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint16_t>(1000 * i);
    MP_UI_calcHDRfusion(desc.get(), 1, 2);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < w * 3; ++i) {
            const size_t k = static_cast<size_t>(y) * w * 3 + i;
            EXPECT_EQ(output[k], y == 1 ? static_cast<uint16_t>((8191 * image[k]) >> 13) : 7) << y;
        }
}

TEST_F(Fusion, MissingSlotFusesBlackAndMissingOutputWritesNothing)
{
    image.assign(image.size(), 30000);
    desc->weight_manual = nullptr; // slot count 0
    EXPECT_EQ(MP_fusionSlotCount(desc.get()), 0);
    MP_UI_calcHDRfusion(desc.get(), 0, h);
    for (uint16_t v : output)
        EXPECT_EQ(v, 0);

    desc->weight_manual = manualMap.data();
    desc->output = nullptr;
    MP_UI_calcHDRfusion(desc.get(), 0, h); // returns without work
    MP_UI_calcHDRfusion(nullptr, 0, h);
    desc->output = output.data();
    MP_UI_calcHDRfusion(desc.get(), -5, 99); // the range is held to the image
    EXPECT_EQ(output[0], (8191 * 30000) >> 13);
}

TEST_F(Fusion, ConcurrentJobsOnDisjointRowsMatchOneCall)
{
    make(37, 64);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
    for (size_t i = 0; i < autoMap.size(); ++i) {
        autoMap[i] = static_cast<uint16_t>(1 + i * 977 % 65535);
        manualMap[i] = static_cast<int16_t>(static_cast<int>(i * 131 % 20000) - 10000);
    }
    MP_UI_calcHDRfusion(desc.get(), 0, h);
    const std::vector<uint16_t> whole = output;
    output.assign(output.size(), 7);

    // The series' split: 32 jobs, job k ending at min(h, (int)(k * h * 0.03125)).
    std::vector<std::thread> jobs;
    int start = 0;
    for (int k = 1; k <= 32; ++k) {
        const int end = std::min(h, static_cast<int>(static_cast<float>(k * h) * 0.03125f));
        jobs.emplace_back([this, start, end] { MP_UI_calcHDRfusion(desc.get(), start, end); });
        start = end;
    }
    for (auto& j : jobs)
        j.join();
    EXPECT_EQ(output, whole);
}

// ---- Float form ---------------------------------------------------------------------

class FusionFloat : public Fusion {
protected:
    Bitmap bitmap;
    void attach()
    {
        bitmap.reset(FreeImage_AllocateT(FIT_RGBF, w, h));
        ASSERT_TRUE(bitmap);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                line(bitmap.get(), y)[x] = FIRGBF{-1.0f, -1.0f, -1.0f};
        desc->fibitmap = bitmap.get();
    }
};

TEST_F(FusionFloat, NormalisesToItsRangeBottomUpWithGamma)
{
    make(3, 2);
    autoMap.assign(autoMap.size(), 32); // weight 8192: the float is v / 65536
    // row 0: 0.2, 0.4, 0.6 of 65536 in red; row 1 mid grey
    const uint16_t lo = 13107, mid = 26214, hi = 39321;
    image = {lo, lo, lo, mid, mid, mid, hi, hi, hi, mid, mid, mid, mid, mid, mid, mid, mid, mid};
    attach();
    MP_UI_SetHDRGammaValue(1.0f);
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, 4);
    const FIRGBF* row0 = line(bitmap.get(), h - 1); // image row 0 is the last scan line
    EXPECT_FLOAT_EQ(row0[0].red, 0.0f);
    EXPECT_NEAR(row0[1].green, 0.5f, 1e-6f);
    EXPECT_NEAR(row0[2].blue, 1.0f, 1e-6f);
    EXPECT_NEAR(line(bitmap.get(), 0)[0].red, 0.5f, 1e-6f);

    attach();
    MP_UI_SetHDRGammaValue(2.2f);
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, 4);
    EXPECT_NEAR(line(bitmap.get(), h - 1)[1].red, std::pow(0.5f, 2.2f), 1e-6f);
}

TEST_F(FusionFloat, FlatImageStoresZeroInsteadOfNonFiniteValues)
{
    image.assign(image.size(), 20000);
    attach();
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const FIRGBF p = line(bitmap.get(), y)[x];
            EXPECT_EQ(p.red, 0.0f);
            EXPECT_EQ(p.blue, 0.0f);
        }
}

TEST_F(FusionFloat, LightmapOfTheSingleSlotEqualsTheFloatForm)
{
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint16_t>(i * 3001);
    attach();
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, 4);
    std::vector<float> first;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            first.push_back(line(bitmap.get(), y)[x].green);
    attach();
    MP_UI_calcHDRfusionf32toLightmap(desc.get(), 0, h, 4);
    size_t k = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(line(bitmap.get(), y)[x].green, first[k++]);
}

std::vector<std::pair<int, float>> g_messages;
void record(int category, float fraction) { g_messages.emplace_back(category, fraction); }

TEST_F(FusionFloat, ProgressInItsCategoryAndNoneForANegativeOne)
{
    make(2, 300);
    image.assign(image.size(), 100);
    image[5] = 900;
    attach();
    g_messages.clear();
    C_SetAddMessageHook(record);
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, 4);
    // rows 0, 128 and 256 in each pass, 0.25 between the passes, 0.8 at the end
    ASSERT_EQ(g_messages.size(), 8u);
    EXPECT_EQ(g_messages[0], std::make_pair(4, 0.0f));
    EXPECT_FLOAT_EQ(g_messages[1].second, 128.0f / 300.0f * 0.4f);
    EXPECT_EQ(g_messages[3].second, 0.25f);
    EXPECT_FLOAT_EQ(g_messages[4].second, 0.4f);
    EXPECT_EQ(g_messages[7].second, 0.8f);
    g_messages.clear();
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, -1);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(FusionFloat, BitmapOfAnotherSizeOrTypeIsLeftAlone)
{
    image.assign(image.size(), 100);
    Bitmap small(FreeImage_AllocateT(FIT_RGBF, w - 1, h));
    line(small.get(), 0)[0] = FIRGBF{-1.0f, -1.0f, -1.0f};
    desc->fibitmap = small.get();
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, 4);
    EXPECT_EQ(line(small.get(), 0)[0].red, -1.0f);

    Bitmap rgb16(FreeImage_AllocateT(FIT_RGB16, w, h));
    desc->fibitmap = rgb16.get();
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, 4); // not a float bitmap: nothing happens
    desc->fibitmap = nullptr;
    MP_UI_calcHDRfusionf32toFiBitmap(desc.get(), 0, h, 4);
}

// ---- Luminance map, dynamics, depth map ------------------------------------------------

TEST(LuminancePalette, AnchorsAndInterpolation)
{
    struct Case {
        int index;
        uint16_t r, g, b;
    };
    const Case cases[] = {{0, 65535, 0, 65535}, {128, 0, 65535, 32767}, {255, 65535, 1279, 0}};
    for (const Case& c : cases) {
        uint16_t rgb[3];
        MP_HDRLuminancePaletteEntry(c.index, rgb);
        EXPECT_EQ(rgb[0], c.r) << c.index;
        EXPECT_EQ(rgb[1], c.g) << c.index;
        EXPECT_EQ(rgb[2], c.b) << c.index;
    }
}

TEST_F(Fusion, LuminanceMapColoursEachPixelByItsGrey)
{
    make(3, 2);
    image = {32768, 32768, 32768, 65535, 65535, 65535, 0, 0, 0, 100, 200, 65535, 1, 1, 1, 256, 256, 256};
    MP_UI_calcHDRLuminanceMap(desc.get(), 0, 1);
    const uint16_t expected[] = {0, 65535, 32767, 65535, 1279, 0, 65535, 0, 65535};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(output[i], expected[i]) << i;
    EXPECT_EQ(output[9], 7); // row 1 not in the range

    desc->image = nullptr; // no exposure: magenta everywhere
    MP_UI_calcHDRLuminanceMap(desc.get(), 0, h);
    for (int i = 0; i < w * h; ++i) {
        EXPECT_EQ(output[i * 3], 65535);
        EXPECT_EQ(output[i * 3 + 1], 0);
    }
}

TEST_F(Fusion, DynamicsOfTheSeriesValuesIsOne)
{
    EVmax = 1e-8f;
    EVmin = 1e10f;
    EVmin2 = 1e10f;
    float low = 1.0f, high = 1.0f;
    EXPECT_EQ(MP_UI_calcHDRDynamik(desc.get(), &low, &high), 1.0);
    EXPECT_EQ(low, 0.0f);
    EXPECT_NEAR(high, 21.24f, 0.01f);
    EXPECT_EQ(MP_UI_calcHDRDynamik(nullptr, nullptr, nullptr), 1.0);

    // A real exposure range gives a ratio above 1.
    EVmin = 0.0f;
    EVmin2 = 2.0f;
    EVmax = 8.0f;
    EXPECT_GT(MP_UI_calcHDRDynamik(desc.get(), &low, &high), 1.0);
    EXPECT_GT(low, 0.0f);
}

TEST_F(Fusion, DepthMapHoldsTheSingleSlotAndNeedsEveryBuffer)
{
    std::vector<uint16_t> depth(static_cast<size_t>(w) * h, 5);
    desc->depthmap = depth.data();
    MP_UI_calcDepthMapFusion(desc.get(), 0, 1, 0);
    EXPECT_EQ(depth[0], 0);
    EXPECT_EQ(depth[w], 5);
    MP_UI_calcDepthMapFusion(desc.get(), 1, h, 1);
    EXPECT_EQ(depth[w], 65535);
    depth.assign(depth.size(), 5);
    desc->weight_auto = nullptr;
    MP_UI_calcDepthMapFusion(desc.get(), 0, h, 0);
    EXPECT_EQ(depth[0], 5);
}

} // namespace
