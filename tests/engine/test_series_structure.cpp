// Structure detection, its blends and views, the grey conversion.

#include "test_series_fixture.h"

#include <cmath>
#include <vector>

namespace {

class SeriesStructureTest : public EngineTest {
protected:
    static std::vector<int16_t> maskOf(int w, int h, int16_t v)
    {
        return std::vector<int16_t>(static_cast<size_t>(w) * h, v);
    }
};

TEST_F(SeriesStructureTest, RecordOfBlackAndUniformPixels)
{
    const int w = 5, h = 4;
    auto img = solidImage(w, h, 20000, 30000, 40000);
    img[0] = img[1] = img[2] = 0; // one black pixel at (0, 0)
    std::vector<uint16_t> rec(static_cast<size_t>(w) * h * 5);
    MP_calcStructureBuffer(img.data(), w, h, rec.data());
    EXPECT_EQ(rec[0], 0);
    EXPECT_GT(rec[1], 0); // its neighbours differ
    EXPECT_EQ(rec[2], 37836);
    EXPECT_EQ(rec[3], 37836);
    EXPECT_EQ(rec[4], 37836);
    // (2, 2) has no black neighbour; the black pixel's wrap-around neighbours are
    // (4, *) and (*, 3), so (2, 2) keeps D = 0.
    const uint16_t* p = &rec[(static_cast<size_t>(2) * w + 2) * 5];
    EXPECT_EQ(p[0], (20000 + 60000 + 40000) >> 2);
    EXPECT_EQ(p[1], 0);
    const float len = std::sqrt(20000.0f * 20000.0f + 30000.0f * 30000.0f + 40000.0f * 40000.0f);
    EXPECT_EQ(p[4], static_cast<uint16_t>(40000.0f / len * 65535.0f));
    // Wrap-around: the far corner sees the black pixel.
    EXPECT_GT(rec[(static_cast<size_t>(h - 1) * w + (w - 1)) * 5 + 1], 0);
    // The record views.
    std::vector<uint16_t> out(static_cast<size_t>(w) * h * 3);
    MP_showStructureChrominance(nullptr, out.data(), w, h, rec.data());
    EXPECT_EQ(out[0], 37836);
    MP_showStructureLuminance(nullptr, out.data(), w, h, rec.data());
    EXPECT_EQ(out[(2 * w + 2) * 3 + 1], p[0]);
}

TEST_F(SeriesStructureTest, KindsSetMasks)
{
    const int w = 24, h = 16;
    // Top half sky blue, bottom half vegetation green.
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* p = &img[(static_cast<size_t>(y) * w + x) * 3];
            if (y < h / 2) {
                p[0] = 109 * 257; p[1] = 144 * 257; p[2] = 180 * 257;
            } else {
                p[0] = 144 * 257; p[1] = 190 * 257; p[2] = 55 * 257;
            }
        }
    auto m1 = maskOf(w, h, 5), m2 = m1, m3 = m1, m4 = m1;
    MP_calcStructureDetection(1, img.data(), nullptr, w, h, m1.data(), m2.data(), m3.data(), m4.data(), 0.0f);
    // Landscape: vegetation in mask 1, sky in mask 2 (strength 0: no smoothing).
    EXPECT_EQ(m1[static_cast<size_t>(h - 2) * w + 5], 0x7FFF);
    EXPECT_EQ(m2[static_cast<size_t>(h - 2) * w + 5], 0);
    EXPECT_EQ(m2[static_cast<size_t>(1) * w + 5], 0x7FFF);
    EXPECT_EQ(m1[static_cast<size_t>(1) * w + 5], 0);
    // Exactly one mask per pixel for the scene kinds.
    for (int kind = 1; kind <= 7; ++kind) {
        MP_calcStructureDetection(kind, img.data(), nullptr, w, h, m1.data(), m2.data(), m3.data(), m4.data(), 0.0f);
        for (size_t i = 0; i < m1.size(); ++i)
            ASSERT_EQ((m1[i] != 0) + (m2[i] != 0) + (m3[i] != 0) + (m4[i] != 0), 1) << kind;
    }
    // Kinds outside 1..10 leave every mask cleared.
    for (int kind : {0, 11}) {
        MP_calcStructureDetection(kind, img.data(), nullptr, w, h, m1.data(), m2.data(), m3.data(), m4.data(), 0.0f);
        EXPECT_EQ(m1, maskOf(w, h, 0));
        EXPECT_EQ(m4, maskOf(w, h, 0));
    }
    // A black image falls to mask 4 in Landscape.
    const auto black = solidImage(w, h, 0, 0, 0);
    MP_calcStructureDetection(1, black.data(), nullptr, w, h, m1.data(), m2.data(), m3.data(), m4.data(), 0.0f);
    EXPECT_EQ(m4, maskOf(w, h, 0x7FFF));
    // Luminance kind: a mid grey belongs to the 0.4 membership (mask 2).
    const auto grey = solidImage(w, h, 26214, 26214, 26214);
    MP_calcStructureDetection(9, grey.data(), nullptr, w, h, m1.data(), m2.data(), m3.data(), m4.data(), 0.0f);
    EXPECT_EQ(m2, maskOf(w, h, 0x7FFF));
    EXPECT_EQ(m1, maskOf(w, h, 0));
    EXPECT_EQ(m4, maskOf(w, h, 0));
}

TEST_F(SeriesStructureTest, MaskSmoothingWrapsInPanoramaMode)
{
    // Luminance kind: the white first column is mask 1, the grey rest mask 2.
    // Smoothing spreads mask 1 a few pixels; in panorama mode across the seam too.
    const int w = 40, h = 20;
    auto img = solidImage(w, h, 26214, 26214, 26214);
    for (int y = 0; y < h; ++y)
        for (int c = 0; c < 3; ++c)
            img[static_cast<size_t>(y) * w * 3 + c] = 65535;
    for (int panorama : {0, 1}) {
        MP_UI_SetPanoramaMode(panorama);
        auto m1 = maskOf(w, h, 0), m2 = m1, m3 = m1, m4 = m1;
        MP_calcStructureDetection(9, img.data(), nullptr, w, h, m1.data(), m2.data(), m3.data(), m4.data(), 1.0f);
        EXPECT_GT(m1[static_cast<size_t>(10) * w + 1], 0) << panorama;
        EXPECT_EQ(m1[static_cast<size_t>(10) * w + w / 2], 0) << panorama;
        if (panorama) {
            EXPECT_GT(m1[static_cast<size_t>(10) * w + w - 1], 0);
        } else {
            EXPECT_EQ(m1[static_cast<size_t>(10) * w + w - 1], 0);
        }
    }
}

TEST_F(SeriesStructureTest, DetectionIsTheSameForEveryThreadCount)
{
    const int w = 90, h = 70;
    const auto img = series_test::master(w, h);
    std::vector<std::vector<int16_t>> first;
    for (int threads : {1, 4, 7}) {
        MP_UI_SetIdealThreadCount(threads);
        auto m1 = maskOf(w, h, 0), m2 = m1, m3 = m1, m4 = m1;
        MP_calcStructureDetection(8, img.data(), nullptr, w, h, m1.data(), m2.data(), m3.data(), m4.data(), 0.6f);
        if (first.empty())
            first = {m1, m2, m3, m4};
        else
            EXPECT_EQ((std::vector<std::vector<int16_t>>{m1, m2, m3, m4}), first) << threads;
    }
}

TEST_F(SeriesStructureTest, BlendThroughMasks)
{
    const int w = 4, h = 3;
    const auto src = solidImage(w, h, 1000, 1000, 1000);
    const auto full = maskOf(w, h, 0x7FFF), none = maskOf(w, h, 0);
    struct Case {
        float weight;
        uint16_t dstIn, out;
    };
    // m = 16383 (weight 1), 8191 (weight 0.5), 0; weight 2 on all four masks
    // sums beyond 32 bits and is held at m = 32767, far past the destination.
    for (const Case& c : {Case{1.0f, 2000, 1999}, Case{0.5f, 2000, 1499}, Case{0.0f, 2000, 1000}}) {
        auto dst = solidImage(w, h, c.dstIn, c.dstIn, c.dstIn);
        MP_blendStructureDetection(src.data(), dst.data(), w, h, full.data(), none.data(), none.data(), none.data(),
                                   c.weight, 1.0f, 1.0f, 1.0f);
        EXPECT_EQ(dst[0], c.out) << c.weight;
    }
    auto dst = solidImage(w, h, 2000, 2000, 2000);
    MP_blendStructureDetection(src.data(), dst.data(), w, h, full.data(), full.data(), full.data(), full.data(), 2.0f,
                               2.0f, 2.0f, 2.0f);
    EXPECT_EQ(dst[0], (1000 * (16384 - 32767) + 2000 * 32767) >> 14);
    auto bright = solidImage(w, h, 65535, 65535, 65535);
    const auto black = solidImage(w, h, 0, 0, 0);
    MP_blendStructureDetection(black.data(), bright.data(), w, h, full.data(), full.data(), full.data(), full.data(),
                               2.0f, 2.0f, 2.0f, 2.0f);
    EXPECT_EQ(bright[0], 65535);
    MP_blendStructureDetection(black.data(), bright.data(), w, h, full.data(), full.data(), full.data(), full.data(),
                               1e30f, 1e30f, 1e30f, 1e30f);
    EXPECT_EQ(bright[0], 65535);
}

TEST_F(SeriesStructureTest, ShowMasks)
{
    const int w = 3, h = 2;
    const auto full = maskOf(w, h, 0x7FFF), none = maskOf(w, h, 0);
    std::vector<uint16_t> dst(static_cast<size_t>(w) * h * 3, 7);
    MP_showStructureDetection(nullptr, dst.data(), w, h, full.data(), none.data(), none.data(), none.data(), 1.0f,
                              1.0f, 1.0f, 1.0f, 0xFF0000, 0, 0, 0);
    EXPECT_EQ(dst[0], 65535);
    EXPECT_EQ(dst[1], 0);
    EXPECT_EQ(dst[2], 0);
}

TEST_F(SeriesStructureTest, IntensityBlend)
{
    const int w = 2, h = 2;
    const auto src = solidImage(w, h, 1000, 2000, 3000);
    struct Case {
        float intensity;
        uint16_t r;
    };
    for (const Case& c : {Case{0.0f, 1000}, Case{1.0f, 5000}, Case{0.5f, 3000}, Case{100.0f, 65535}, Case{-100.0f, 0}}) {
        auto dst = solidImage(w, h, 5000, 2000, 3000);
        MP_blendBufferIntensity(src.data(), dst.data(), w, h, c.intensity);
        EXPECT_EQ(dst[0], c.r) << c.intensity;
        EXPECT_EQ(dst[1], 2000);
    }
}

TEST_F(SeriesStructureTest, GreyConversion)
{
    const int w = 2, h = 1;
    const auto src = solidImage(w, h, 30000, 3000, 300);
    std::vector<uint16_t> dst(6);
    // Strength 0: equal weights.
    MP_UI_calcGreyConversion(src.data(), dst.data(), w, h, 2.3f, 0.0f);
    EXPECT_EQ(dst[0], 11100);
    EXPECT_EQ(dst[1], 11100);
    // Hue 0 (red filter) at full strength: (30000 + 300 + 30) / 1.2.
    MP_UI_calcGreyConversion(src.data(), dst.data(), w, h, 0.0f, 1.0f);
    EXPECT_EQ(dst[2], static_cast<uint16_t>((30000.0f * 1.0f + 3000.0f * 0.1f + 300.0f * 0.1f) / 1.2f));
    // Hues outside 0..6 wrap around; NaN counts as 0.
    std::vector<uint16_t> wrapped(6), inside(6), nan(6);
    MP_UI_calcGreyConversion(src.data(), wrapped.data(), w, h, -1.5f, 1.0f);
    MP_UI_calcGreyConversion(src.data(), inside.data(), w, h, 4.5f, 1.0f);
    EXPECT_EQ(wrapped, inside);
    MP_UI_calcGreyConversion(src.data(), nan.data(), w, h, std::nanf(""), 1.0f);
    EXPECT_EQ(nan, dst);
}

} // namespace
