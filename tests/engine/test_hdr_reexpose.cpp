#include "enginefixture.h"

#include <cmath>
#include <thread>

namespace {

class ReExpose : public KernelTest {};

TEST_F(ReExpose, NeutralCurveTruncatesOneThirdOfTheValuesOneLower)
{
    int w, h;
    auto src = allValues(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.5f;
    params.p[1][0] = 0.5f;
    EXPECT_EQ(MP_reExposeExponent(0.5f, 0.5f), 1.0f);
    ASSERT_EQ(run("MP_calcPixelReExposePicture", w, h, src, dst), 0);
    int lower = 0;
    for (int i = 0; i < 65536; ++i) {
        ASSERT_TRUE(dst[i] == i || dst[i] == i - 1) << i;
        lower += dst[i] == i - 1;
    }
    EXPECT_EQ(lower, 33407);
    EXPECT_EQ(dst[1], 0);
}

TEST_F(ReExpose, BrighterCurveAndTheWayBack)
{
    int w, h;
    auto src = allValues(w, h);
    std::vector<uint16_t> bright(src.size()), back(src.size());
    params.p[0][0] = 0.5f;
    params.p[1][0] = 1.0f;
    EXPECT_NEAR(MP_reExposeExponent(0.5f, 1.0f), 0.4061f, 0.0001f);
    ASSERT_EQ(run("MP_calcPixelReExposePicture", w, h, src, bright), 0);
    EXPECT_EQ(bright[16384], 37321);
    EXPECT_EQ(bright[0], 0);
    EXPECT_EQ(bright[65535], 65535);

    params.p[0][0] = 1.0f;
    params.p[1][0] = 0.5f;
    ASSERT_EQ(run("MP_calcPixelReExposePicture", w, h, bright, back), 0);
    for (int i = 1024; i < 65536; i += 997) // restored up to rounding
        EXPECT_NEAR(back[i], i, 3) << i;
}

TEST_F(ReExpose, InPlaceAndThreadCountGiveTheSameImage)
{
    int w, h;
    auto src = allValues(w, h);
    params.p[0][0] = 0.3f;
    params.p[1][0] = 0.8f;
    std::vector<uint16_t> separate(src.size());
    ASSERT_EQ(run("MP_calcPixelReExposePicture", w, h, src, separate), 0);
    auto inPlace = src;
    MP_UI_SetIdealThreadCount(1);
    ASSERT_EQ(run("MP_calcPixelReExposePicture", w, h, inPlace, inPlace), 0);
    EXPECT_EQ(inPlace, separate);
}

TEST_F(ReExpose, SingleThreadedTwinIsTheSameCurveInSinglePrecision)
{
    int w, h;
    auto src = allValues(w, h);
    std::vector<uint16_t> kernel(src.size()), twin(src.size());
    params.p[0][0] = 0.5f;
    params.p[1][0] = 1.0f;
    ASSERT_EQ(run("MP_calcPixelReExposePicture", w, h, src, kernel), 0);
    ASSERT_EQ(MP_calcOptimizeReExposePicture(w, h, src.data(), twin.data(), 6, 6, &params), 0);
    for (int i = 0; i < 65536; ++i)
        ASSERT_NEAR(twin[i], kernel[i], 1) << i;
    EXPECT_EQ(twin[16384], static_cast<uint16_t>(std::pow(16384.0f * MP_k, MP_reExposeExponent(0.5f, 1.0f)) * 65535.0f));
}

TEST_F(ReExpose, OutOfRangeSlidersStayInsideTheTable)
{
    int w, h;
    auto src = allValues(w, h);
    std::vector<uint16_t> dst(src.size());
    for (float p1 : {1.7f, -3.0f, std::nanf("")}) {
        params.p[0][0] = 0.5f;
        params.p[1][0] = p1;
        ASSERT_EQ(run("MP_calcPixelReExposePicture", w, h, src, dst), 0);
        ASSERT_EQ(MP_calcOptimizeReExposePicture(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    }
}

// ---- Exposure optimisation ---------------------------------------------------------------

std::vector<uint16_t> gradientImage(int w, int h, int scale)
{
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                img[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<uint16_t>((x + y + c) * scale);
    return img;
}

TEST_F(ReExpose, OptimisationMovesTheMeanTowardTheTarget)
{
    const int w = 32, h = 24;
    auto full = gradientImage(w, h, 400);
    auto preview = full;
    const float current = MP_UI_GetAverageLuminanceFull(preview.data(), w, h);
    const float target = current + 0.2f;
    ASSERT_EQ(MP_UI_OptimizeSingleExpose(w, h, w, h, full.data(), nullptr, current, target, preview.data()), 0);
    const float after = MP_UI_GetAverageLuminanceFull(preview.data(), w, h);
    EXPECT_LT(std::fabs(after - target), 0.05f);
    EXPECT_EQ(full, preview); // the same curve on both images

    // darker
    auto dark = gradientImage(w, h, 400);
    auto darkPreview = dark;
    ASSERT_EQ(MP_UI_OptimizeSingleExpose(w, h, w, h, dark.data(), nullptr, current, current - 0.1f, darkPreview.data()),
              0);
    EXPECT_LT(MP_UI_GetAverageLuminanceFull(darkPreview.data(), w, h), current - 0.05f);
}

TEST_F(ReExpose, OptimisationWithinToleranceOrOnATinyPreviewLeavesWhatItMust)
{
    auto img = gradientImage(5, 5, 1000);
    const auto before = img;
    const float current = MP_UI_GetAverageLuminanceFull(img.data(), 5, 5);
    EXPECT_EQ(MP_UI_OptimizeSingleExpose(5, 5, 5, 5, img.data(), nullptr, current, current + 0.0005f, img.data()), 0);
    EXPECT_EQ(img, before);
    // widths below 8: the working copy is 2 x 2
    EXPECT_EQ(MP_UI_OptimizeSingleExpose(5, 5, 5, 5, img.data(), nullptr, current, 0.9f, img.data()), 0);
    EXPECT_NE(img, before);
    EXPECT_EQ(MP_UI_OptimizeSingleExpose(5, 5, 5, 5, nullptr, nullptr, current, 0.9f, img.data()), -2);
}

TEST_F(ReExpose, OptimisationIsReentrant)
{
    const int w = 40, h = 30;
    std::vector<std::vector<uint16_t>> images, previews, expected;
    std::vector<float> targets;
    for (int k = 0; k < 6; ++k) {
        images.push_back(gradientImage(w, h, 300 + 40 * k));
        targets.push_back(0.1f + 0.12f * k);
    }
    previews = images;
    expected = images;
    auto expectedPreviews = images;
    for (int k = 0; k < 6; ++k) {
        const float cur = MP_UI_GetAverageLuminanceFull(expectedPreviews[k].data(), w, h);
        ASSERT_EQ(MP_UI_OptimizeSingleExpose(w, h, w, h, expected[k].data(), nullptr, cur, targets[k],
                                             expectedPreviews[k].data()),
                  0);
    }
    std::vector<std::thread> jobs;
    for (int k = 0; k < 6; ++k)
        jobs.emplace_back([&, k] {
            const float cur = MP_UI_GetAverageLuminanceFull(previews[k].data(), w, h);
            MP_UI_OptimizeSingleExpose(w, h, w, h, images[k].data(), nullptr, cur, targets[k], previews[k].data());
        });
    for (auto& j : jobs)
        j.join();
    EXPECT_EQ(images, expected);
    EXPECT_EQ(previews, expectedPreviews);
}

// ---- Synthetic exposure -----------------------------------------------------------------------

TEST_F(ReExpose, SyntheticExposureBrightensLiftsAndDarkensWithoutBlackeningWhite)
{
    auto img = solidImage(2, 1, 0, 0, 0);
    img[3] = img[4] = img[5] = 65535;
    std::vector<uint16_t> out(img.size());

    params.p[0][0] = 0.5f; // c = 0: a plain conversion
    ASSERT_EQ(run("MP_calcPixelSyntheticExposePicture", 2, 1, img, out), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[3], 65535);

    params.p[0][0] = 1.0f; // brighter: offset 0.5, white clips
    ASSERT_EQ(run("MP_calcPixelSyntheticExposePicture", 2, 1, img, out), 0);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[3], 65535);

    params.p[0][0] = 0.0f; // darker: offset -0.125, exponent 3; white keeps 0.875
    ASSERT_EQ(run("MP_calcPixelSyntheticExposePicture", 2, 1, img, out), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[3], 57343);
}

} // namespace
