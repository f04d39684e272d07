// Median-threshold bitmaps, their smoothing and the congruence measures.

#include "test_series_fixture.h"

#include <random>

namespace {

class SeriesMtbTest : public EngineTest {};

// Grey pixel of a given key: R = G = B = 4 key gives (R + 2G + B) >> 4 = key.
void setKey(std::vector<uint16_t>& img, size_t i, int key)
{
    img[i * 3] = img[i * 3 + 1] = img[i * 3 + 2] = static_cast<uint16_t>(key * 4);
}

TEST_F(SeriesMtbTest, PercentilesAndLevelsOfThreeKeys)
{
    // 10 % key 1024, 10 % key 1025, 80 % key 2000 on a 100 x 10 image (every pixel sampled).
    const int w = 100, h = 10;
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (size_t i = 0; i < 1000; ++i)
        setKey(img, i, i < 100 ? 1024 : (i < 200 ? 1025 : 2000));
    std::vector<uint8_t> bm(1000, 99);
    float p17 = -1, p50 = -1, p83 = -1;
    MP_convertToMTB(img.data(), bm.data(), w, h, &p17, &p50, &p83);
    EXPECT_FLOAT_EQ(p17, 0.06256485f);
    EXPECT_EQ(p17, 1025.0f * (1.0f / 16383.0f));
    EXPECT_EQ(p50, 2000.0f * (1.0f / 16383.0f));
    EXPECT_EQ(p83, p50);
    // The boundary of bin 1025 is one below it, so key 1024 is already level 1.
    EXPECT_EQ(bm[0], 1);
    EXPECT_EQ(bm[150], 1);
    EXPECT_EQ(bm[999], 3);
}

TEST_F(SeriesMtbTest, UniformAndWhiteImagesAreAllLevelThree)
{
    struct Case {
        uint16_t value;
        float fraction;
    };
    for (const Case& c : {Case{65535, 1.0f}, Case{32768, 8192.0f / 16383.0f}}) {
        const auto img = solidImage(37, 5, c.value, c.value, c.value);
        std::vector<uint8_t> bm(37 * 5);
        float p17 = 0, p50 = 0, p83 = 0;
        MP_convertToMTB4(img.data(), bm.data(), 37, 5, &p17, &p50, &p83);
        EXPECT_EQ(p17, c.fraction);
        EXPECT_EQ(p50, c.fraction);
        EXPECT_EQ(p83, c.fraction);
        for (uint8_t v : bm)
            ASSERT_EQ(v, 3);
    }
}

TEST_F(SeriesMtbTest, VariantsSpanTheirLevelsAndReportTheSameFractions)
{
    // A ramp over every key: each variant uses all its levels in order.
    const int w = 400, h = 41;
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i)
        setKey(img, i, static_cast<int>(i * 16383 / (static_cast<size_t>(w) * h - 1)));
    struct Variant {
        void (*fn)(const uint16_t*, uint8_t*, int, int, float*, float*, float*);
        int levels;
    };
    float ref17 = 0, ref50 = 0, ref83 = 0;
    std::vector<uint8_t> bm(static_cast<size_t>(w) * h);
    MP_convertToMTB4(img.data(), bm.data(), w, h, &ref17, &ref50, &ref83);
    for (const Variant& v : {Variant{MP_convertToMTB2, 2}, Variant{MP_convertToMTB4, 4}, Variant{MP_convertToMTB6, 6},
                             Variant{MP_convertToMTB12, 12}}) {
        float p17 = 0, p50 = 0, p83 = 0;
        v.fn(img.data(), bm.data(), w, h, &p17, &p50, &p83);
        EXPECT_EQ(p17, ref17);
        EXPECT_EQ(p50, ref50);
        EXPECT_EQ(p83, ref83);
        EXPECT_EQ(bm.front(), 0);
        EXPECT_EQ(bm.back(), v.levels - 1);
        for (size_t i = 1; i < bm.size(); ++i)
            ASSERT_LE(bm[i - 1], bm[i]);
    }
    // Null fraction pointers are allowed.
    MP_convertToMTB12(img.data(), bm.data(), w, h, nullptr, nullptr, nullptr);
}

TEST_F(SeriesMtbTest, EveryPixelGetsTheLevelOfItsKey)
{
    // Random colours on a size that leaves a remainder after groups of eight.
    std::mt19937 rng(3);
    const int w = 37, h = 13;
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (auto& v : img)
        v = static_cast<uint16_t>(rng());
    std::vector<uint8_t> bm(static_cast<size_t>(w) * h);
    float p17 = 0, p50 = 0, p83 = 0;
    MP_convertToMTB4(img.data(), bm.data(), w, h, &p17, &p50, &p83);
    const int b17 = static_cast<int>(p17 * 16383.0f), b50 = static_cast<int>(p50 * 16383.0f),
              b83 = static_cast<int>(p83 * 16383.0f);
    for (size_t i = 0; i < bm.size(); ++i) {
        const int key = (img[i * 3] + 2 * img[i * 3 + 1] + img[i * 3 + 2]) >> 4;
        ASSERT_EQ(bm[i], (key >= b17) + (key >= b50) + (key >= b83)) << i;
    }
}

TEST_F(SeriesMtbTest, CongruenceOfEqualBitmaps)
{
    struct Case {
        int w;
        float sampled;
    };
    for (const Case& c : {Case{400, 1.0f}, Case{401, 1.0074813f}}) {
        std::vector<uint8_t> a(static_cast<size_t>(c.w) * 300, 2);
        EXPECT_FLOAT_EQ(MP_calcMTBcongruence(a.data(), a.data(), c.w, 300), c.sampled);
        EXPECT_EQ(MP_calcMTBcongruenceFull(a.data(), a.data(), c.w, 300), 1.0f);
    }
    std::vector<uint8_t> a(16, 1), b(16, 1);
    b[0] = 0; // a sampled position
    b[1] = 0; // not sampled
    EXPECT_EQ(MP_calcMTBcongruence(a.data(), b.data(), 4, 4), 0.0f);
    EXPECT_EQ(MP_calcMTBcongruenceFull(a.data(), b.data(), 4, 4), 14.0f / 16.0f);
    // Null bitmaps and empty sizes give 0, never 0 / 0.
    EXPECT_EQ(MP_calcMTBcongruence(nullptr, b.data(), 4, 4), 0.0f);
    EXPECT_EQ(MP_calcMTBcongruenceFull(a.data(), nullptr, 4, 4), 0.0f);
    EXPECT_EQ(MP_calcMTBcongruence(a.data(), b.data(), 0, 4), 0.0f);
    EXPECT_EQ(MP_calcMTBcongruenceFull(a.data(), b.data(), 4, 0), 0.0f);
}

TEST_F(SeriesMtbTest, ColourCongruence)
{
    const auto black = solidImage(3, 2, 0, 0, 0);
    const auto white = solidImage(3, 2, 65535, 65535, 65535);
    const auto red = solidImage(3, 2, 65535, 0, 0);
    const auto green = solidImage(3, 2, 0, 65535, 0);
    EXPECT_FLOAT_EQ(MP_calcRGBcongruenceFull(black.data(), white.data(), 3, 2), 0.9999996f);
    EXPECT_FLOAT_EQ(MP_calcRGBcongruenceFull(red.data(), green.data(), 3, 2), -0.41421354f);
    EXPECT_EQ(MP_calcRGBcongruenceFull(nullptr, green.data(), 3, 2), 0.0f);
}

TEST_F(SeriesMtbTest, CongruencePossibleNeedsTonalRange)
{
    struct Case {
        uint16_t v;
        int possible;
    };
    for (const Case& c : {Case{0, 0}, Case{65535, 0}, Case{32768, 1}}) {
        const auto img = solidImage(50, 40, c.v, c.v, c.v);
        EXPECT_EQ(MP_UI_CalcImageCongruencePossible(img.data(), 50, 40), c.possible) << c.v;
    }
    EXPECT_EQ(MP_UI_CalcImageCongruencePossible(nullptr, 50, 40), 0);
}

TEST_F(SeriesMtbTest, SmoothingPathsAgreeAndEdgesHold)
{
    std::mt19937 rng(7);
    for (auto [w, h] : {std::pair{9, 7}, std::pair{64, 33}, std::pair{5, 5}}) {
        std::vector<uint8_t> bm(static_cast<size_t>(w) * h), scratch(bm.size());
        for (auto& v : bm)
            v = static_cast<uint8_t>(rng() % 4);
        auto fast = bm, general = bm;
        MP_smoothMTB4x4(w, h, fast.data(), scratch.data());
        MP_smoothMTBNxN(2, w, h, general.data(), scratch.data());
        EXPECT_EQ(fast, general) << w << "x" << h;
        // Box of the pixel (2, 2): rows and columns 1..4, truncated in two passes.
        int rows[4];
        for (int r = 0; r < 4; ++r) {
            int s = 0;
            for (int c = 1; c <= 4; ++c)
                s += bm[static_cast<size_t>(r + 1) * w + c];
            rows[r] = s >> 2;
        }
        EXPECT_EQ(fast[static_cast<size_t>(2) * w + 2], (rows[0] + rows[1] + rows[2] + rows[3]) >> 2);
    }
    // A 4 x 4 bitmap takes the general path and gives what the fast one gives on it.
    std::vector<uint8_t> small(16), scratch(16);
    for (int i = 0; i < 16; ++i)
        small[i] = static_cast<uint8_t>(i % 4);
    auto viaEntry = small;
    MP_smoothMTB(2, 4, 4, viaEntry.data(), scratch.data());
    auto general = small;
    MP_smoothMTBNxN(2, 4, 4, general.data(), scratch.data());
    EXPECT_EQ(viaEntry, general);
}

TEST_F(SeriesMtbTest, SmoothingUniformLevelsAndDegenerateSizes)
{
    std::vector<uint8_t> bm(30 * 20, 3), scratch(bm.size());
    MP_smoothMTB(2, 30, 20, bm.data(), scratch.data());
    EXPECT_EQ(bm, std::vector<uint8_t>(bm.size(), 3));
    // n = 3: c x 6 falls 4 short of 2^20, each pass loses one.
    MP_smoothMTB(3, 30, 20, bm.data(), scratch.data());
    EXPECT_EQ(bm, std::vector<uint8_t>(bm.size(), 1));
    // One pixel wide: no box fits, the bitmap stays as it is (no division by 0).
    std::vector<uint8_t> column = {0, 3, 1, 2, 3}, colScratch(5);
    const auto before = column;
    MP_smoothMTB(2, 1, 5, column.data(), colScratch.data());
    EXPECT_EQ(column, before);
    MP_smoothMTB(0, 5, 1, column.data(), colScratch.data());
    EXPECT_EQ(column, before);
}

TEST_F(SeriesMtbTest, ImageCongruenceEntryPoints)
{
    const int w = 120, h = 90;
    const auto a = series_test::master(w, h);
    const auto b = series_test::picture(w, h, [](double& x, double&) { x -= 6; });
    EXPECT_EQ(MP_UI_CalcImageCongruence(a.data(), a.data(), w, h), 1.0f);
    const float shifted = MP_UI_CalcImageCongruence(a.data(), b.data(), w, h);
    EXPECT_LT(shifted, 0.9f);
    EXPECT_GT(shifted, 0.0f);
    EXPECT_EQ(MP_UI_CalcImageCongruence(nullptr, b.data(), w, h), 0.0f);
    // The constant-source form against the smoothed reference gives the same figure.
    const auto ref = series_test::referenceOf(a, w, h);
    std::vector<uint8_t> bm(static_cast<size_t>(w) * h), scratch(bm.size());
    EXPECT_EQ(MP_UI_CalcImageCongruenceConstantSrc(ref.data(), scratch.data(), bm.data(), b.data(), w, h), shifted);
}

} // namespace
