// Clone correction: copies, forbidden discs, the variation view and the best-match search.

#include "test_series_fixture.h"

#include <cmath>
#include <vector>

namespace {

class SeriesStencilTest : public EngineTest {
protected:
    static uint16_t red(const std::vector<uint16_t>& img, int w, int x, int y)
    {
        return img[(static_cast<size_t>(y) * w + x) * 3];
    }
};

TEST_F(SeriesStencilTest, CopyWeights)
{
    // 100 x 100, radius 0.1: R = 10. At (5, 5) from the centre A = 50 = R^2 / 2:
    // weight trunc((1 - 0.5^3) 4096) = 3584.
    const int w = 100, h = 100;
    auto dst = solidImage(w, h, 0, 0, 0);
    const auto src = solidImage(w, h, 65535, 65535, 65535);
    EXPECT_EQ(MP_UI_StencilCopy(w, h, dst.data(), src.data(), 0.5f, 0.5f, 0.1f, 0.2f, 0.2f), 0);
    EXPECT_EQ(red(dst, w, 55, 55), (65535 * 3584) >> 12);
    EXPECT_EQ(red(dst, w, 50, 50), 65535);
    EXPECT_EQ(red(dst, w, 60, 50), 0); // on the rim
    // Radius 0 copies the centre pixel alone at full weight.
    auto one = solidImage(w, h, 0, 0, 0);
    EXPECT_EQ(MP_UI_StencilCopy(w, h, one.data(), src.data(), 0.3f, 0.3f, 0.0f, 0.7f, 0.7f), 0);
    EXPECT_EQ(red(one, w, 30, 30), 65535);
    EXPECT_EQ(red(one, w, 31, 30), 0);
    EXPECT_EQ(red(one, w, 30, 29), 0);
    EXPECT_EQ(MP_UI_StencilCopy(w, h, nullptr, src.data(), 0.5f, 0.5f, 0.1f, 0.2f, 0.2f), -2);
    // A source disc half outside: only the pixels with both sides inside.
    auto edge = solidImage(w, h, 0, 0, 0);
    EXPECT_EQ(MP_UI_StencilCopy(w, h, edge.data(), src.data(), 0.5f, 0.5f, 0.1f, 0.0f, 0.5f), 0);
    EXPECT_EQ(red(edge, w, 45, 50), 0);
    EXPECT_GT(red(edge, w, 55, 50), 0);
    // Absurd radii stay within the image.
    auto huge = solidImage(w, h, 0, 0, 0);
    EXPECT_EQ(MP_UI_StencilCopy(w, h, huge.data(), src.data(), 0.5f, 0.5f, 1e30f, 0.5f, 0.5f), 0);
    EXPECT_EQ(MP_UI_StencilCopy(w, h, huge.data(), src.data(), 0.5f, 0.5f, std::nanf(""), 0.5f, 0.5f), 0);
}

TEST_F(SeriesStencilTest, CopyAllSkipsUnitsOutsideAndNeverCopiesResults)
{
    const int w = 60, h = 60;
    auto src = solidImage(w, h, 1000, 1000, 1000);
    src[(static_cast<size_t>(10) * w + 10) * 3] = 50000;
    auto dst = src;
    // Unit 0 copies (10, 10) onto (30, 30); unit 1 copies (30, 30) onto (50, 50):
    // from the unretouched image, so (50, 50) gets 1000, not 50000.
    const float dx[3] = {0.5f, 50.0f / 60.0f, 0.5f}, dy[3] = {0.5f, 50.0f / 60.0f, 1.5f};
    const float sx[3] = {10.0f / 60.0f, 0.5f, 0.1f}, sy[3] = {10.0f / 60.0f, 0.5f, 0.1f};
    const float r[3] = {0.0f, 0.0f, 0.2f};
    MP_UI_StencilCopyAll(3, dx, dy, r, sx, sy, w, h, dst.data(), src.data());
    EXPECT_EQ(red(dst, w, 30, 30), 50000);
    EXPECT_EQ(red(dst, w, 50, 50), 1000);
    const auto kept = dst;
    MP_UI_StencilCopyAll(3, nullptr, dy, r, sx, sy, w, h, dst.data(), src.data());
    MP_UI_StencilCopyAll(0, dx, dy, r, sx, sy, w, h, dst.data(), src.data());
    EXPECT_EQ(dst, kept);
}

TEST_F(SeriesStencilTest, ForbiddenDisc)
{
    std::vector<uint8_t> mask(20 * 10, 0);
    EXPECT_EQ(MP_StencilSetForbidden(20, 10, mask.data(), 0.5f, 0.5f, 0.2f), 0); // R = 2
    EXPECT_EQ(mask[5 * 20 + 10], 1);
    EXPECT_EQ(mask[5 * 20 + 11], 1);
    EXPECT_EQ(mask[5 * 20 + 12], 0); // dx^2 < R^2 - dy^2 is strict
    EXPECT_EQ(mask[6 * 20 + 11], 1);
    EXPECT_EQ(MP_StencilSetForbidden(20, 10, nullptr, 0.5f, 0.5f, 0.2f), -2);
    EXPECT_EQ(MP_StencilSetForbidden(20, 10, mask.data(), 0.5f, 0.5f, 1e30f), 0);
    EXPECT_EQ(mask, std::vector<uint8_t>(200, 1));
}

class SeriesStencilSearchTest : public SeriesStencilTest {
protected:
    static constexpr int W = 160, H = 120;
    std::vector<uint16_t> img = series_test::master(W, H);
    float dX[2] = {0.25f, 0.9f}, dY[2] = {0.5f, 0.1f}, rad[2] = {0.08f, 0.02f};
    float ox = 7, oy = 7;

    void SetUp() override
    {
        SeriesStencilTest::SetUp();
        // The destination's surroundings repeated around (110, 70): the best source.
        for (int y = -20; y <= 20; ++y)
            for (int x = -20; x <= 20; ++x)
                for (int c = 0; c < 3; ++c)
                    img[(static_cast<size_t>(70 + y) * W + 110 + x) * 3 + c] =
                        img[(static_cast<size_t>(60 + y) * W + 40 + x) * 3 + c];
    }
    int search(float quality, int index = 0)
    {
        return MP_MT_StencilFindBestMatch(2, index, dX, dY, rad, W, quality, H, img.data(), &ox, &oy);
    }
};

TEST_F(SeriesStencilSearchTest, FindsTheRepeatedSurroundings)
{
    testing::internal::CaptureStdout();
    ASSERT_EQ(search(1.0f), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("MP_StencilFindBestMatch - ME: 0.000000"), std::string::npos);
    EXPECT_EQ(ox, 110.0f / W);
    EXPECT_EQ(oy, 70.0f / H);
    // Every thread count gives the same answer.
    for (int threads : {1, 3, 8}) {
        MP_UI_SetIdealThreadCount(threads);
        float x = -5, y = -5;
        ASSERT_EQ(MP_MT_StencilFindBestMatch(2, 0, dX, dY, rad, W, 1.0f, H, img.data(), &x, &y), 0);
        EXPECT_EQ(x, ox);
        EXPECT_EQ(y, oy);
    }
    // A reduced search lands close by.
    ASSERT_EQ(search(0.0f), 0);
    EXPECT_NEAR(ox, 110.0f / W, 0.03f);
    EXPECT_NEAR(oy, 70.0f / H, 0.03f);
}

TEST_F(SeriesStencilTest, ReducedSearchImageSize)
{
    // Quality 0 on 400 x 300: both sides times 0.99 until the area is at most a
    // quarter (69 steps): the search image is 199 x 149, so the answer lies on
    // its grid.
    const int w = 400, h = 300;
    const auto img = series_test::master(w, h);
    const float dX[1] = {0.3f}, dY[1] = {0.4f}, rad[1] = {0.03f};
    float x = -5, y = -5;
    ASSERT_EQ(MP_MT_StencilFindBestMatch(1, 0, dX, dY, rad, w, 0.0f, h, img.data(), &x, &y), 0);
    EXPECT_EQ(x, static_cast<float>(static_cast<int>(std::lround(x * 199.0f))) / 199.0f);
    EXPECT_EQ(y, static_cast<float>(static_cast<int>(std::lround(y * 149.0f))) / 149.0f);
}

TEST_F(SeriesStencilSearchTest, ArgumentsAndNoCandidate)
{
    EXPECT_EQ(search(1.0f, 5), -2); // index outside the units
    EXPECT_EQ(search(1.0f, -1), -2);
    EXPECT_EQ(ox, 7.0f);
    EXPECT_EQ(MP_MT_StencilFindBestMatch(2, 0, nullptr, dY, rad, W, 1, H, img.data(), &ox, &oy), -2);
    dX[0] = 1.5f;
    EXPECT_EQ(search(1.0f), -3);
    EXPECT_EQ(ox, -1.0f);
    EXPECT_EQ(oy, -1.0f);
    // Everything forbidden.
    dX[0] = 0.5f;
    rad[0] = 0.5f;
    EXPECT_EQ(search(1.0f), -3);
    EXPECT_EQ(ox, -1.0f / W);
    EXPECT_EQ(oy, -1.0f / H);
    // Qualities that would never end the reduction, and a destination on the last row.
    rad[0] = 0.05f;
    EXPECT_EQ(search(-1.0f), 0);
    EXPECT_EQ(search(std::nanf("")), 0);
    dY[0] = 1.0f;
    const int r = search(1.0f);
    EXPECT_TRUE(r == 0 || r == -3);
}

TEST_F(SeriesStencilTest, VariationView)
{
    // A flat image has no variation: it stays flat.
    const int w = 40, h = 30;
    auto flat = solidImage(w, h, 20000, 20000, 20000);
    MP_UI_StencilCalcVariationToBuffer(w, h, flat.data(), flat.data(), 0.5f);
    for (size_t i = 3; i < flat.size(); ++i)
        ASSERT_EQ(flat[i], flat[i % 3]);
    // An edge: the pixels along it vary most and come out brightest.
    auto edge = solidImage(w, h, 10000, 10000, 10000);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                edge[(static_cast<size_t>(y) * w + x) * 3 + c] = 40000;
    const auto src = edge;
    std::vector<uint16_t> out(edge.size());
    MP_UI_StencilCalcVariationToBuffer(w, h, src.data(), out.data(), 0.5f);
    EXPECT_GT(red(out, w, w / 2, 15), red(out, w, 2, 15));
    EXPECT_GT(red(out, w, w / 2, 15), red(out, w, w - 3, 15));
    // The same buffer in and out gives the same result; intensities beyond 1 stay in range.
    MP_UI_StencilCalcVariationToBuffer(w, h, edge.data(), edge.data(), 0.5f);
    EXPECT_EQ(edge, out);
    // Any thread count gives the same bits.
    for (int threads : {1, 7}) {
        MP_UI_SetIdealThreadCount(threads);
        std::vector<uint16_t> again(src.size());
        MP_UI_StencilCalcVariationToBuffer(w, h, src.data(), again.data(), 0.5f);
        EXPECT_EQ(again, out) << threads;
    }
    for (float s : {1.5f, 5.0f, -3.0f, std::nanf("")}) {
        auto e = src;
        MP_UI_StencilCalcVariationToBuffer(w, h, e.data(), e.data(), s);
    }
    MP_UI_StencilCalcVariationToBuffer(w, h, nullptr, out.data(), 0.5f);
}

TEST_F(SeriesStencilTest, OverlayDrawsInsideTheImage)
{
    const int w = 80, h = 60;
    auto img = solidImage(w, h, 0, 0, 0);
    const float dx[2] = {0.7f, 2.0f}, dy[2] = {0.5f, 0.5f}, sx[2] = {0.2f, 0.1f}, sy[2] = {0.5f, 0.1f};
    const float r[2] = {0.2f, 0.1f};
    MP_UI_StencilPaint2BufferAll(2, dx, dy, r, sx, sy, w, h, img.data());
    EXPECT_EQ(red(img, w, 40, 30), 65535); // the red line between the circles
    EXPECT_NE(img, solidImage(w, h, 0, 0, 0));
}

} // namespace
