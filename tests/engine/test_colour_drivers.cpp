// What every colour point operator of this family shares: it runs by its
// kernel name at its catalogue defaults, in place as well as between two
// buffers, on any thread count, and its full worker (chosen by a blend
// opacity or a geometry set) applies the same effect as its reduced worker.

#include "colourfixture.h"

#include <cstdlib>

namespace {

using namespace colourtest;

constexpr int W = 23;
constexpr int H = 11;

class ColourDriver : public EngineTest, public ::testing::WithParamInterface<Kernel> {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        MP_UI_SetShowExexcuteKernelOutput(0);
    }
};

TEST_P(ColourDriver, RunsByNameAtItsDefaults)
{
    const Kernel& k = GetParam();
    auto img = testPicture(W, H);
    const auto before = img;
    MP_Params p = defaults(k.name);
    ASSERT_EQ(dispatch(k.name, img, img, W, H, p), 0);
    // Operators that are neutral at their defaults are skipped by the dispatcher.
    EXPECT_EQ(img == before, k.neutralAtDefaults);

    // The driver itself always writes every pixel of its destination.
    auto src = testPicture(W, H);
    std::vector<uint16_t> dst(src.size(), 0xABCD);
    ASSERT_EQ(runByName(k.name, src, dst, W, H, defaults(k.name)), 0);
    size_t untouched = 0;
    for (uint16_t v : dst)
        untouched += v == 0xABCD;
    EXPECT_LT(untouched, dst.size() / 20);
}

TEST_P(ColourDriver, InPlaceEqualsSeparateBuffersAndThreadCountDoesNotMatter)
{
    const Kernel& k = GetParam();
    MP_Params p = defaults(k.name);
    // Off the defaults, so that every operator changes the picture.
    if (std::string(k.name) == "MP_calcPixelHSL")
        p.p[0][0] = 0.7f;
    if (std::string(k.name) == "MP_calcPixelHueShift" || std::string(k.name) == "MP_calcPixelHueExpose")
        p.p[2][0] = p.p[4][0] = 0.8f;

    auto src = testPicture(W, H);
    std::vector<uint16_t> separate(src.size());
    ASSERT_EQ(runByName(k.name, src, separate, W, H, p), 0);
    EXPECT_NE(separate, src);

    auto inPlace = testPicture(W, H);
    ASSERT_EQ(runByName(k.name, inPlace, inPlace, W, H, p), 0);
    EXPECT_EQ(inPlace, separate);

    MP_UI_SetIdealThreadCount(1);
    std::vector<uint16_t> single(src.size());
    ASSERT_EQ(runByName(k.name, src, single, W, H, p), 0);
    EXPECT_EQ(single, separate);
}

// The full worker with geometry opacity 1, mode 0 and 100 % gives the reduced
// worker's picture, and with 50 % opacity the mean of source and effect (to
// within the rounding of the two conversions).
TEST_P(ColourDriver, FullWorkerAppliesTheSameEffect)
{
    const Kernel& k = GetParam();
    MP_Params p = defaults(k.name);
    if (std::string(k.name) == "MP_calcPixelHSL")
        p.p[1][0] = 0.8f;
    auto src = testPicture(W, H);
    std::vector<uint16_t> reduced(src.size()), full(src.size()), half(src.size());
    ASSERT_EQ(runByName(k.name, src, reduced, W, H, p), 0);

    MP_Params withGeometry = p;
    opaqueGeometry(withGeometry, k.geometry);
    ASSERT_EQ(runByName(k.name, src, full, W, H, withGeometry), 0);

    MP_Params halfOpaque = p;
    setCombo(halfOpaque, k.combo, 0.0f, 50.0f);
    ASSERT_EQ(runByName(k.name, src, half, W, H, halfOpaque), 0);

    int worstFull = 0, worstHalf = 0;
    for (size_t i = 0; i < src.size(); ++i) {
        worstFull = std::max(worstFull, std::abs(full[i] - reduced[i]));
        // A clamped channel says nothing of the effect's value: an effect
        // outside 0..1 enters the blend unclamped.
        if (reduced[i] == 0 || reduced[i] == 65535)
            continue;
        const int mean = (src[i] + reduced[i]) / 2;
        worstHalf = std::max(worstHalf, std::abs(half[i] - mean));
    }
    EXPECT_LE(worstFull, 2);
    EXPECT_LE(worstHalf, 2);
}

INSTANTIATE_TEST_SUITE_P(Colour, ColourDriver, ::testing::ValuesIn(kKernels), kernelTestName);

} // namespace
