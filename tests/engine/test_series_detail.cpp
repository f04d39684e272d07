// Detail-mesh alignment.

#include "test_series_fixture.h"

#include <algorithm>
#include <cmath>

namespace {

using series_test::master;
using series_test::meanDiff;
using series_test::picture;
using series_test::referenceOf;

class SeriesDetailTest : public EngineTest {};

TEST_F(SeriesDetailTest, MeshAndPatchSizes)
{
    struct Nodes {
        int w, h, cell, n;
    };
    for (const Nodes& c : {Nodes{100, 100, 64, 2}, Nodes{4000, 3000, 10, 101}, Nodes{6000, 4000, 64, 76},
                           Nodes{10200, 100, 10, 101}, Nodes{500, 500, 0, 101}, Nodes{500, 500, -3, 101}}) {
        EXPECT_EQ(MP_alignDetailNodeCount(c.w, c.h, c.cell), c.n) << c.w << "x" << c.h << "/" << c.cell;
    }
    struct Patch {
        float strength;
        int K, S, e0;
    };
    for (const Patch& c : {Patch{0.0f, 10, 18, 16}, Patch{1.0f, 64, 545, 490}}) {
        const int K = MP_alignDetailPatchRadius(c.strength);
        EXPECT_EQ(K, c.K);
        const int S = MP_alignDetailSampleCount(K);
        EXPECT_EQ(S, c.S);
        EXPECT_EQ(static_cast<int>(static_cast<float>(S) * 0.9f), c.e0);
    }
    // Out-of-range strengths keep the patch within 0..64.
    EXPECT_EQ(MP_alignDetailPatchRadius(-3.0f), 0);
    EXPECT_EQ(MP_alignDetailPatchRadius(50.0f), 64);
    EXPECT_EQ(MP_alignDetailPatchRadius(std::nanf("")), 0);
    EXPECT_EQ(MP_alignDetailSampleCount(0), 1);
}

TEST_F(SeriesDetailTest, LocalDisplacementIsCorrectedAndBordersStay)
{
    // 400 x 400, cell 64: 6 x 6 nodes 80 px apart. Around the centre the
    // exposure shows the scene displaced by 3 px to the right (the four nodes
    // nearest to it lie in the displaced plateau); the border is untouched.
    const int w = 400, h = 400;
    const auto src = master(w, h);
    const auto ref = referenceOf(src, w, h);
    auto shiftAt = [](double x, double y) {
        const double d = std::hypot(x - 200.0, y - 200.0);
        return 3.0 * std::clamp((180.0 - d) / 60.0, 0.0, 1.0);
    };
    for (int interpolation : {0, 1}) {
        auto img = picture(w, h, [&](double& x, double& y) { x -= shiftAt(x, y); });
        const auto original = img;
        float before = -1, after = -1;
        ASSERT_EQ(MP_UI_buildAlignmentDetail(nullptr, src.data(), img.data(), w, h, interpolation, 0.5f, 5.0f, 0.9f,
                                             64, &before, &after, ref.data()),
                  0)
            << interpolation;
        EXPECT_GT(after, before);
        // Near the node the warp brings the exposure back onto the master.
        EXPECT_LT(meanDiff(img, src, w, 150, 150, 250, 250), 0.5 * meanDiff(original, src, w, 150, 150, 250, 250));
        // The first row and column lie on fixed border nodes.
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(img[static_cast<size_t>(x) * 3], original[static_cast<size_t>(x) * 3]) << x;
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(img[static_cast<size_t>(y) * w * 3], original[static_cast<size_t>(y) * w * 3]) << y;
    }
}

TEST_F(SeriesDetailTest, ResultCodes)
{
    const int w = 100, h = 100;
    const auto src = master(w, h);
    const auto ref = referenceOf(src, w, h);
    float before = -1, after = -1;
    // Only the four corner nodes exist at cell 64, and none may move.
    auto img = picture(w, h, [](double& x, double&) { x -= 2; });
    const auto original = img;
    EXPECT_EQ(MP_UI_buildAlignmentDetail(nullptr, src.data(), img.data(), w, h, 1, 0.5f, 5.0f, 0.9f, 64, &before,
                                         &after, ref.data()),
              -5);
    EXPECT_EQ(after, before);
    EXPECT_EQ(img, original);
    auto same = src;
    EXPECT_EQ(MP_UI_buildAlignmentMicroDetail(nullptr, src.data(), same.data(), w, h, 0, &before, &after, ref.data()),
              -4);
    auto black = solidImage(w, h, 0, 0, 0);
    EXPECT_EQ(MP_UI_buildAlignmentMicroDetail(nullptr, src.data(), black.data(), w, h, 0, &before, &after, ref.data()),
              -3);
    EXPECT_EQ(MP_UI_buildAlignmentMicroDetail(nullptr, nullptr, img.data(), w, h, 0, &before, &after, ref.data()), -2);
    EXPECT_EQ(MP_UI_buildAlignmentMicroDetail(nullptr, src.data(), img.data(), w, h, 0, &before, &after, nullptr), -1);
}

TEST_F(SeriesDetailTest, DegenerateMeshesStayInsideTheImage)
{
    // A micro-detail run on a strip 100 px high: rows of cells with no height,
    // node columns at x = w, cell height below one pixel.
    const int w = 10200, h = 100;
    const auto src = master(w, h);
    const auto ref = referenceOf(src, w, h);
    auto img = picture(w, h, [](double& x, double& y) { x -= 1.0; y += 0.5; });
    float before = -1, after = -1;
    for (int interpolation : {0, 1}) {
        auto copy = img;
        const int r = MP_UI_buildAlignmentMicroDetail(nullptr, src.data(), copy.data(), w, h, interpolation, &before,
                                                      &after, ref.data());
        EXPECT_TRUE(r == 0 || r == -5) << r;
    }
    // Cell size 0 (the finest mesh) and absurd settings: no division by zero, no fault.
    const int s = 101;
    const auto src2 = master(s, s);
    const auto ref2 = referenceOf(src2, s, s);
    auto img2 = picture(s, s, [](double& x, double&) { x -= 1.5; });
    for (float v : {std::nanf(""), -5.0f, 1e30f}) {
        auto copy = img2;
        const int r = MP_UI_buildAlignmentDetail(nullptr, src2.data(), copy.data(), s, s, 0, v, v, v, 0, &before,
                                                 &after, ref2.data());
        EXPECT_TRUE(r == 0 || r == -5) << r;
    }
}

} // namespace
