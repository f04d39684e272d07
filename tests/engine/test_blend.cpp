#include "engine/MP_calc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

MP_float3 grey(float v) { return {v, v, v}; }

struct ModeCase {
    int mode;
    float c; // source channel
    float v; // effect channel (the effect is grey, so its mean is v too)
    double expected;
};

class LayerMethodCase : public ::testing::TestWithParam<ModeCase> {};

TEST_P(LayerMethodCase, GivesTheModesFormula)
{
    const ModeCase& k = GetParam();
    const MP_float3 r = MP_calcLayerMethod(k.mode, grey(k.c), grey(k.v));
    const double tol = 4e-6 * std::max(1.0, std::fabs(k.expected));
    EXPECT_NEAR(r.x, k.expected, tol);
    EXPECT_NEAR(r.y, k.expected, tol);
    EXPECT_NEAR(r.z, k.expected, tol);
}

// Values worked out by hand from the formulas (c = source, v = effect).
INSTANTIATE_TEST_SUITE_P(
    AllModes, LayerMethodCase,
    ::testing::Values(ModeCase{1, 0.2f, 0.7f, 0.7}, ModeCase{2, 0.2f, 0.7f, 0.2}, ModeCase{3, 0.2f, 0.7f, 0.14},
                      ModeCase{4, 0.2f, 0.7f, 0.45}, ModeCase{5, 0.2f, 0.7f, 0.250998008},
                      ModeCase{6, 0.2f, 0.7f, 1.2}, ModeCase{7, 0.2f, 0.7f, 0.5}, ModeCase{7, 0.7f, 0.2f, 0.5},
                      ModeCase{8, 0.2f, 0.7f, 0.9}, ModeCase{9, 0.2f, 0.7f, 0.76}, ModeCase{10, 0.2f, 0.7f, 0.62},
                      ModeCase{11, 0.2f, 0.7f, 0.0570613409}, ModeCase{11, 0.7f, 0.2f, 0.0570613409},
                      ModeCase{12, 0.2f, 0.7f, 0.574}, ModeCase{12, 0.8f, 0.7f, 0.781996},
                      ModeCase{12, 0.2f, -0.5f, 0.0}, ModeCase{13, 0.2f, 0.7f, 0.28}, ModeCase{13, 0.8f, 0.7f, 0.88},
                      ModeCase{14, 0.2f, 0.7f, 0.873907615}, ModeCase{15, 0.2f, 0.7f, -0.492537313},
                      ModeCase{16, 0.2f, 0.7f, 0.9}, ModeCase{17, 0.2f, 0.7f, -0.1}, ModeCase{17, 0.2f, 0.3f, -0.5},
                      ModeCase{18, 0.2f, 0.7f, 0.1}, ModeCase{19, 0.2f, 0.7f, 0.251870324},
                      ModeCase{19, 0.8f, 0.7f, 1.745635910}, ModeCase{20, 0.2f, 0.7f, 0.4},
                      ModeCase{20, 0.9f, 0.7f, 0.8}, ModeCase{20, 0.5f, 0.7f, 0.7}, ModeCase{21, 0.2f, 0.7f, 0.0},
                      ModeCase{21, 0.5f, 0.5f, 1.0}, ModeCase{22, 0.2f, 0.7f, 0.611735331},
                      ModeCase{23, 0.2f, 0.7f, 0.132890365}, ModeCase{24, 0.2f, 0.7f, 0.5},
                      ModeCase{25, 0.2f, 0.7f, 3.482587065}, ModeCase{26, 0.2f, 0.7f, 0.592452529},
                      ModeCase{27, 0.2f, 0.7f, 0.514781507}, ModeCase{28, 0.2f, 0.7f, 0.45035},
                      ModeCase{29, 0.2f, 0.7f, 0.94965}, ModeCase{30, 0.8f, 0.7f, 0.88},
                      ModeCase{30, 0.8f, 0.4f, 0.64}, ModeCase{31, 0.2f, 0.7f, 0.41}, ModeCase{32, 0.2f, 0.7f, 0.7},
                      ModeCase{0, 0.2f, 0.7f, 0.7}, ModeCase{-3, 0.2f, 0.7f, 0.7}));

TEST(LayerMethodOpacity, MultiplyAtFullAndHalfOpacity)
{
    const MP_float3 full = MP_calcLayerMethodOpacity(3, grey(0.5f), grey(0.5f), 1.0f);
    EXPECT_EQ(full.x, 0.25f);
    EXPECT_EQ(full.y, 0.25f);
    EXPECT_EQ(full.z, 0.25f);
    const MP_float3 half = MP_calcLayerMethodOpacity(3, grey(0.5f), grey(0.5f), 0.5f);
    EXPECT_EQ(half.x, 0.375f);
    EXPECT_EQ(half.y, 0.375f);
    EXPECT_EQ(half.z, 0.375f);
}

TEST(LayerMethodOpacity, HardMixOfMidGreyIsWhite)
{
    // vivid light 1 - 0.5 / 1.001 = 0.5005, not below 0.5
    const MP_float3 r = MP_calcLayerMethodOpacity(21, grey(0.5f), grey(0.5f), 1.0f);
    EXPECT_EQ(r.x, 1.0f);
    EXPECT_EQ(r.z, 1.0f);
}

TEST(LayerMethodOpacity, LinearBurnBelowZeroIsClamped)
{
    EXPECT_NEAR(MP_calcLayerMethod(17, grey(0.2f), grey(0.3f)).x, -0.5f, 1e-6f);
    EXPECT_EQ(MP_calcLayerMethodOpacity(17, grey(0.2f), grey(0.3f), 1.0f).x, 0.0f);
}

TEST(LayerMethodOpacity, OverlayByEffectBrightnessSwitchesOnTheEffectMean)
{
    const MP_float3 c0 = {0.8f, 0.3f, 0.6f};
    // mean (0.6 + 0.6 + 0.3) * 0.33333 = 0.499995: every channel takes 2 c v
    const MP_float3 below = MP_calcLayerMethod(30, c0, {0.6f, 0.6f, 0.3f});
    EXPECT_FLOAT_EQ(below.x, 2.0f * 0.8f * 0.6f);
    EXPECT_FLOAT_EQ(below.y, 2.0f * 0.3f * 0.6f);
    EXPECT_FLOAT_EQ(below.z, 2.0f * 0.6f * 0.3f);
    // mean above 0.5: every channel takes 1 - 2 (1 - c)(1 - v)
    const MP_float3 above = MP_calcLayerMethod(30, c0, {0.7f, 0.6f, 0.3f});
    EXPECT_FLOAT_EQ(above.x, 1.0f - 2.0f * 0.2f * 0.3f);
    EXPECT_FLOAT_EQ(above.y, 1.0f - 2.0f * 0.7f * 0.4f);
    EXPECT_FLOAT_EQ(above.z, 1.0f - 2.0f * 0.4f * 0.7f);
}

TEST(LayerMethodOpacity, ExpandAndCompressUseTheEffectMeanOnEveryChannel)
{
    const MP_float3 c0 = {0.1f, 0.5f, 0.9f};
    const MP_float3 e = {0.3f, 0.6f, 0.9f}; // mean 1.8 * 0.333 = 0.5994
    const MP_float3 expand = MP_calcLayerMethod(28, c0, e);
    const MP_float3 compress = MP_calcLayerMethod(29, c0, e);
    EXPECT_NEAR(expand.x, 0.3 - 0.5 * (0.5994 - 0.1), 2e-6);
    EXPECT_NEAR(expand.z, 0.9 - 0.5 * (0.5994 - 0.9), 2e-6);
    EXPECT_NEAR(compress.y, 0.6 + 0.5 * (0.5994 - 0.5), 2e-6);
}

TEST(LayerMethodOpacity, ModeZeroClampsTheEffect)
{
    const MP_float3 r = MP_calcLayerMethodOpacity(0, grey(0.4f), {1.5f, -0.2f, 0.5f}, 1.0f);
    EXPECT_EQ(r.x, 1.0f);
    EXPECT_EQ(r.y, 0.0f);
    EXPECT_EQ(r.z, 0.5f);
}

TEST(LayerMethodOpacity, UnknownAndNegativeModesBehaveLikeModeZero)
{
    const MP_float3 c0 = {0.1f, 0.5f, 0.9f};
    const MP_float3 e = {0.3f, 1.2f, 0.05f};
    const MP_float3 none = MP_calcLayerMethodOpacity(0, c0, e, 0.7f);
    for (int mode : {32, 33, 1000, -1, -31}) {
        const MP_float3 r = MP_calcLayerMethodOpacity(mode, c0, e, 0.7f);
        EXPECT_EQ(r.x, none.x) << mode;
        EXPECT_EQ(r.y, none.y) << mode;
        EXPECT_EQ(r.z, none.z) << mode;
    }
}

TEST(LayerMethodOpacity, OpacityAboveOneMixesNothing)
{
    const MP_float3 r = MP_calcLayerMethodOpacity(3, grey(0.5f), grey(0.5f), 1.5f);
    EXPECT_EQ(r.x, 0.25f);
}

TEST(LayerMethodOpacity, EveryModeAtOpacityZeroReturnsTheSource)
{
    const float values[] = {0.0f, 0.001f, 0.25f, 0.5f, 0.7f, 0.999f, 1.0f};
    for (int mode = -1; mode <= MP_LAYER_MODES + 2; ++mode) {
        for (float c : values) {
            for (float v : values) {
                const MP_float3 c0 = {c, 1.0f - c, c * 0.5f};
                const MP_float3 e = {v, v * 0.3f, 1.0f - v};
                const MP_float3 r = MP_calcLayerMethodOpacity(mode, c0, e, 0.0f);
                ASSERT_EQ(r.x, c0.x) << "mode " << mode << " c " << c << " v " << v;
                ASSERT_EQ(r.y, c0.y) << "mode " << mode << " c " << c << " v " << v;
                ASSERT_EQ(r.z, c0.z) << "mode " << mode << " c " << c << " v " << v;
            }
        }
    }
}

// An effect may overshoot 0..1 before the layer step clamps it; the result must
// still be a number in 0..1 for every mode, so it can become a 16-bit value.
TEST(LayerMethodOpacity, OvershootingEffectsStayNumbersInRange)
{
    const float sources[] = {0.0f, 0.3f, 0.5f, 1.0f};
    const float effects[] = {-2.0f, -0.5f, -0.001f, 0.0f, 0.5f, 1.0f, 1.7f, 40.0f};
    for (int mode = 0; mode <= MP_LAYER_MODES; ++mode) {
        for (float c : sources) {
            for (float v : effects) {
                for (float opacity : {1.0f, 0.4f}) {
                    const MP_float3 r = MP_calcLayerMethodOpacity(mode, grey(c), {v, 0.5f, -v}, opacity);
                    for (float ch : {r.x, r.y, r.z}) {
                        ASSERT_FALSE(std::isnan(ch)) << "mode " << mode << " c " << c << " v " << v;
                        ASSERT_GE(ch, 0.0f);
                        ASSERT_LE(ch, 1.0f);
                    }
                }
            }
        }
    }
}

TEST(LayerMethod, RootModesTakeNoRootOfANegativeNumber)
{
    // length: 0.5 * -0.2 * 0.3 * 0.5 < 0; cubic: 0.125 - 1 < 0
    const MP_float3 length = MP_calcLayerMethod(5, grey(0.5f), grey(-0.2f));
    const MP_float3 cubic = MP_calcLayerMethod(26, grey(0.5f), grey(-1.0f));
    EXPECT_EQ(length.x, 0.0f);
    EXPECT_EQ(cubic.x, 0.0f);
    // inside 0..1 the roots are untouched
    EXPECT_NEAR(MP_calcLayerMethod(26, grey(0.5f), grey(0.5f)).x, 0.5, 1e-6);
}

TEST(LayerMethodOpacity, NotANumberBecomesZero)
{
    const float nan = std::nanf("");
    const MP_float3 r = MP_calcLayerMethodOpacity(0, grey(0.5f), {nan, 0.5f, nan}, 1.0f);
    EXPECT_EQ(r.x, 0.0f);
    EXPECT_EQ(r.y, 0.5f);
    EXPECT_EQ(r.z, 0.0f);
}

} // namespace
