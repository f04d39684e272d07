// Global alignment builders: shift, zoom and rotation.

#include "test_series_fixture.h"

#include <cmath>

namespace {

using series_test::master;
using series_test::picture;
using series_test::referenceOf;

class SeriesAlignTest : public EngineTest {
protected:
    static constexpr int W = 400, H = 300;
    std::vector<uint16_t> src = master(W, H);
    std::vector<uint8_t> ref = referenceOf(src, W, H);
    float before = -1.0f, after = -1.0f;
    int l = -7, t = -7, r = -7, b = -7;

    int shift(std::vector<uint16_t>& img, float factor, void* work = nullptr)
    {
        return MP_UI_buildAlignmentScroll(work, src.data(), img.data(), W, H, &before, 0.0f, factor, &after, &l, &t, &r,
                                          &b, ref.data());
    }
    int zoom(std::vector<uint16_t>& img, int interpolation)
    {
        l = 0, t = 0, r = W, b = H;
        return MP_UI_buildAlignmentZoom(0, nullptr, src.data(), img.data(), W, H, 0, 0, 0, interpolation, &before,
                                        &after, &l, &t, &r, &b, ref.data());
    }
    int rotate(std::vector<uint16_t>& img, int interpolation)
    {
        l = 0, t = 0, r = W, b = H;
        return MP_UI_buildAlignmentRotate(0, nullptr, src.data(), img.data(), W, H, 0, 0, 0, interpolation, &before,
                                          &after, &l, &t, &r, &b, ref.data());
    }
};

TEST_F(SeriesAlignTest, ShiftFoundAndApplied)
{
    // exposure(x, y) = master(x - 3, y + 2), darker: the bitmaps do not care.
    auto img = picture(W, H, [](double& x, double& y) { x -= 3; y += 2; }, 0.7);
    const auto original = img;
    ASSERT_EQ(shift(img, 1.0f), 0);
    EXPECT_LT(before, 0.9f);
    EXPECT_GT(after, before);
    EXPECT_EQ(l, -3);
    EXPECT_EQ(t, 2);
    EXPECT_EQ(r, W - 3);
    EXPECT_EQ(b, H + 2);
    // shifted(x, y) = image(x + 3, y - 2); the last three columns repeat the last one.
    auto at = [&](const std::vector<uint16_t>& v, int x, int y) { return v[(static_cast<size_t>(y) * W + x) * 3]; };
    EXPECT_EQ(at(img, 10, 20), at(original, 13, 18));
    EXPECT_EQ(at(img, W - 1, 20), at(original, W - 1, 18));
    EXPECT_EQ(at(img, W - 2, 20), at(original, W - 1, 18));
    EXPECT_EQ(at(img, 5, 0), at(original, 8, 0));
}

TEST_F(SeriesAlignTest, ShiftAtTheEdgeOfTheRangeAndWithAWorkArea)
{
    // Factor 1 at quality 1: R = 2 trunc(700 x 0.5 x 0.1) = 70, offsets up to 35.
    auto img = picture(W, H, [](double& x, double&) { x -= 35; });
    std::vector<uint8_t> work(static_cast<size_t>(W) * H * 8);
    ASSERT_EQ(shift(img, 1.0f, work.data()), 0);
    EXPECT_EQ(l, -35);
    EXPECT_EQ(t, 0);
}

TEST_F(SeriesAlignTest, ShiftResultCodes)
{
    auto same = src;
    EXPECT_EQ(shift(same, 1.0f), -4);
    EXPECT_EQ(before, 1.0f);
    EXPECT_EQ(same, src);

    auto grey = solidImage(W, H, 30000, 30000, 30000);
    before = -1.0f;
    EXPECT_EQ(shift(grey, 1.0f), -3);
    EXPECT_EQ(before, -1.0f); // not written for a flat image

    // Factor 0: only (0, 0) is scored.
    auto img = picture(W, H, [](double& x, double&) { x -= 3; });
    const auto original = img;
    EXPECT_EQ(shift(img, 0.0f), -5);
    EXPECT_EQ(img, original);
    // Not finite or absurd factors behave like the largest range, no crash.
    EXPECT_EQ(shift(img, std::nanf("")), -5);
    EXPECT_EQ(shift(img, -4.0f), -5);
    EXPECT_EQ(shift(img, 1e30f), 0);

    EXPECT_EQ(MP_UI_buildAlignmentScroll(nullptr, nullptr, img.data(), W, H, nullptr, 0, 1, &after, &l, &t, &r, &b,
                                         ref.data()),
              -2);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(r, W);
    EXPECT_EQ(MP_UI_buildAlignmentScroll(nullptr, src.data(), img.data(), W, H, nullptr, 0, 1, &after, &l, &t, &r, &b,
                                         nullptr),
              -1);
}

TEST_F(SeriesAlignTest, NullBeforeUsesTheFirstCongruence)
{
    auto img = picture(W, H, [](double& x, double& y) { x -= 4; y -= 1; });
    EXPECT_EQ(MP_UI_buildAlignmentScroll(nullptr, src.data(), img.data(), W, H, nullptr, 0, 1, &after, &l, &t, &r, &b,
                                         ref.data()),
              0);
    EXPECT_EQ(l, -4);
    EXPECT_EQ(t, -1);
}

TEST_F(SeriesAlignTest, ZoomFound)
{
    const double cx = 0.5 * W, cy = 0.5 * H;
    for (int interpolation : {0, 1}) {
        // image(p) = master(c + (p - c) / 1.05): the candidate scale 1.05 maps it back.
        auto img = picture(W, H, [&](double& x, double& y) {
            x = cx + (x - cx) / 1.05;
            y = cy + (y - cy) / 1.05;
        });
        ASSERT_EQ(zoom(img, interpolation), 0) << interpolation;
        EXPECT_GT(after, before + 0.1f);
        EXPECT_GT(after, 0.8f);
        EXPECT_GT(l, 0); // scale above 1: the rectangle shrinks
        EXPECT_LT(r, W);
    }
}

TEST_F(SeriesAlignTest, RotationFound)
{
    const double cx = 0.5 * W, cy = 0.5 * H;
    const double a = 2.0 * 3.14159265358979 / 180.0;
    for (int interpolation : {0, 1}) {
        auto img = picture(W, H, [&](double& x, double& y) {
            const double dx = x - cx, dy = y - cy;
            x = cx + dx * std::cos(a) + dy * std::sin(a);
            y = cy - dx * std::sin(a) + dy * std::cos(a);
        });
        ASSERT_EQ(rotate(img, interpolation), 0) << interpolation;
        EXPECT_GT(after, before + 0.05f);
        EXPECT_GE(l, 0);
        EXPECT_LE(r, W);
        EXPECT_GT(t, 0);
        EXPECT_LT(b, H);
    }
}

TEST_F(SeriesAlignTest, ZoomAndRotationCodes)
{
    // Zoom and rotation know only the two-fraction flat test: black and white.
    auto black = solidImage(W, H, 0, 0, 0);
    auto white = solidImage(W, H, 65535, 65535, 65535);
    EXPECT_EQ(zoom(black, 1), -3);
    EXPECT_EQ(rotate(white, 1), -3);
    auto same = src;
    EXPECT_EQ(zoom(same, 1), -4);
    EXPECT_EQ(rotate(same, 0), -4);
    // A pure shift is neither a zoom nor a rotation about any candidate centre.
    auto img = picture(W, H, [](double& x, double&) { x -= 2; });
    const auto original = img;
    const int z = zoom(img, 1);
    EXPECT_TRUE(z == -5 || z == 0);
    if (z == -5) {
        EXPECT_EQ(img, original);
    }
}

TEST_F(SeriesAlignTest, SingleCandidateScorers)
{
    std::vector<int> map(W);
    std::vector<float> pairs(2 * W);
    const float cx = 0.5f * W, cy = 0.5f * H;
    EXPECT_EQ(MP_buildAlignmentZoomSingle(map.data(), ref.data(), ref.data(), W, H, 1.0f, cx, cy, 0.0f), 1.0f);
    // The corners come back from sine and cosine a hair off, so some positions
    // truncate to the neighbouring column even at angle 0.
    EXPECT_GT(MP_buildAlignmentRotateSingle(pairs.data(), ref.data(), ref.data(), W, H, 0.0f, cx, cy, 0.0f), 0.9f);
    // A threshold only lets the scorer give up early on hopeless candidates.
    const float full = MP_buildAlignmentZoomSingle(map.data(), ref.data(), ref.data(), W, H, 1.1f, cx, cy, 0.0f);
    EXPECT_LE(MP_buildAlignmentZoomSingle(map.data(), ref.data(), ref.data(), W, H, 1.1f, cx, cy, 0.99f), full);
    EXPECT_LT(full, 0.99f);
}

} // namespace
