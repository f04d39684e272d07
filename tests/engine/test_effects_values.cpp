// The effect drivers' numbers: exact examples and the behaviour at the
// settings where an effect should vanish or saturate.

#include "effectsfixture.h"

#include <cmath>
#include <cstring>

namespace {

// A sample after the float trip of the workers: v / 65535 * 65535, truncated.
int trip(int v) { return static_cast<int>(static_cast<float>(v) * MP_k * 65535.0f); }

// ---- Wrapped indices ------------------------------------------------------------------------

TEST(EffectIndices, TurnIndexWrapsAroundTheFullTurn)
{
    EXPECT_EQ(static_cast<int>(-1.5707964f * 10430.378f), -16384);
    EXPECT_EQ(MP_turnIndex(-1.5707964f), 49152);
    EXPECT_EQ(MP_turnIndex(0.0f), 0);
    EXPECT_EQ(MP_turnIndex(7.0f), static_cast<int>(7.0f * 10430.378f) & 0xFFFF);
    // Beyond the int range, infinity and NaN: the low 16 bits, or 0.
    EXPECT_EQ(MP_low16(65536.0f * 65536.0f * 3.0f + 65536.0f * 4.0f), 0);
    EXPECT_EQ(MP_low16(-3.0e9f), static_cast<int>(static_cast<int64_t>(-3.0e9f) & 0xFFFF));
    EXPECT_EQ(MP_low16(5.0e9f), static_cast<int>(static_cast<int64_t>(5.0e9f) & 0xFFFF));
    EXPECT_EQ(MP_low16(INFINITY), 0);
    EXPECT_EQ(MP_low16(NAN), 0);
    EXPECT_EQ(MP_low16(-1.5f), 0xFFFF);
}

// ---- Rotation distortions -----------------------------------------------------------------

TEST_F(EffectTest, RotateByAQuarterTurnBlackensTheSideBands)
{
    const int w = 40, h = 20;
    auto src = solidImage(w, h, 30000, 40000, 50000);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.75f;
    params.p[1][0] = 0.5f;
    params.p[3][0] = params.p[3][1] = 0.5f;
    params.p[4][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelRotate(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (int y = 0; y < h; ++y) {
        for (int x : {0, 1, 8, 31, 39})
            EXPECT_EQ(px(dst, w, x, y)[1], 0) << x << "," << y;
        EXPECT_EQ(px(dst, w, 20, y)[1], trip(40000)) << y;
    }
}

TEST_F(EffectTest, TwirlLeavesPixelsAtAndBeyondItsRadiusUnswirled)
{
    const int w = 41, h = 41;
    auto src = pattern(w, h);
    std::vector<uint16_t> twisted(src.size()), plain(src.size());
    params.p[0][0] = 0.5f; // R = 41 * 0.501 * 0.5
    params.p[3][0] = params.p[3][1] = 0.5f;
    params.p[4][1] = 100.0f;
    params.p[1][0] = 0.5f;
    ASSERT_EQ(MP_calcPixelTwirl(w, h, src.data(), plain.data(), 6, 6, &params), 0);
    params.p[1][0] = 0.0f;
    ASSERT_EQ(MP_calcPixelTwirl(w, h, src.data(), twisted.data(), 6, 6, &params), 0);
    const float R = 41.0f * (0.5f + 0.001f) * 0.5f, c = 41.0f * 0.5f;
    int inside = 0, changed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float dx = x - c, dy = y - c;
            const float len = std::sqrt(dx * dx + dy * dy);
            const bool same = std::memcmp(px(plain, w, x, y), px(twisted, w, x, y), 6) == 0;
            if (!(R > len)) {
                EXPECT_TRUE(same) << x << "," << y;
            } else {
                ++inside;
                changed += !same;
            }
        }
    EXPECT_GT(changed, inside / 2);
}

TEST_F(EffectTest, AddFrameAtHalfSizeLeavesABlackMargin)
{
    const int w = 40, h = 20;
    auto src = solidImage(w, h, 30000, 40000, 50000);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.0f;
    params.p[1][0] = params.p[1][1] = 0.5f;
    params.p[2][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelAddFrame(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (int x = 0; x < w; ++x) {
        const bool margin = x <= 9 || x >= 31;
        EXPECT_EQ(px(dst, w, x, 10)[0], margin ? 0 : 30000) << x; // integers, no float trip
        EXPECT_EQ(px(dst, w, x, 0)[0], 0) << x;
    }
}

TEST_F(EffectTest, AddFrameFullWorkerIsAtMostOneUnitLower)
{
    const int w = 33, h = 21;
    auto src = pattern(w, h);
    std::vector<uint16_t> reduced(src.size()), full(src.size());
    params.p[0][0] = 0.7f;
    params.p[1][0] = 0.4f;
    params.p[1][1] = 0.6f;
    params.p[2][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelAddFrame(w, h, src.data(), reduced.data(), 6, 6, &params), 0);
    params.p[2][1] = 99.99999f; // full worker, opacity that rounds to 1 in the mix
    ASSERT_EQ(MP_calcPixelAddFrame(w, h, src.data(), full.data(), 6, 6, &params), 0);
    int lower = 0;
    for (size_t i = 0; i < src.size(); ++i) {
        EXPECT_LE(full[i], reduced[i]);
        EXPECT_GE(full[i] + 1, reduced[i]);
        lower += full[i] < reduced[i];
    }
    EXPECT_GT(lower, 0);
}

// ---- Radial distortions ---------------------------------------------------------------------

TEST_F(EffectTest, MagnetAtTheMiddleOnlyResamples)
{
    const int w = 30, h = 20;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.5f;
    params.p[1][0] = 0.5f;
    params.p[3][0] = params.p[3][1] = 0.5f;
    params.p[4][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelMagnet(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, tripped(src));
}

TEST_F(EffectTest, MagnetOfSizeZeroKeepsTheCentrePixel)
{
    const int w = 20, h = 20;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.9f;
    params.p[1][0] = 0.0f;
    params.p[3][0] = params.p[3][1] = 0.5f; // exactly on pixel (10, 10)
    params.p[4][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelMagnet(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, tripped(src));
}

TEST_F(EffectTest, AirbagPositionPixelSamplesItself)
{
    const int w = 30, h = 20;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.8f;
    params.p[2][0] = 0.4f; // pixel (12, 10)
    params.p[2][1] = 0.5f;
    params.p[3][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelAirbag(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(px(dst, w, 12, 10)[c], trip(px(src, w, 12, 10)[c]));
    EXPECT_NE(dst, tripped(src));
}

TEST_F(EffectTest, LensCorrectionAtZeroStrengthStillContracts)
{
    const int w = 40, h = 30;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.0f;
    params.p[1][0] = params.p[1][1] = 0.5f;
    params.p[2][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelLensCorrection(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    // The image centre keeps its bits (integer interpolation); a corner moves inwards.
    EXPECT_EQ(std::memcmp(px(dst, w, 20, 15), px(src, w, 20, 15), 6), 0);
    EXPECT_NE(std::memcmp(px(dst, w, 0, 0), px(src, w, 0, 0), 6), 0);
    EXPECT_GT(px(dst, w, 0, 0)[0], 0);
}

TEST_F(EffectTest, ChromaticMoveWithEqualSlidersKeepsGreyGrey)
{
    const int w = 40, h = 30;
    std::vector<uint16_t> src(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                src[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<uint16_t>(x * 1500 + y * 300);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.7f;
    params.p[1][0] = params.p[2][0] = params.p[3][0] = 0.6f;
    params.p[4][0] = 0.3f;
    params.p[4][1] = 0.6f;
    params.p[5][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelChromaticMove(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (size_t i = 0; i < dst.size(); i += 3) {
        EXPECT_EQ(dst[i], dst[i + 1]);
        EXPECT_EQ(dst[i], dst[i + 2]);
    }
    // At the defaults only red moves: fringes appear.
    params.p[1][0] = 1.0f;
    params.p[2][0] = params.p[3][0] = 0.0f;
    ASSERT_EQ(MP_calcPixelChromaticMove(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_NE(dst[0], dst[1]);
}

// The float test of the source position: a zero "Beugung" far below its
// range makes q 0 and the positions NaN, which read nothing.
TEST_F(EffectTest, ChromaticMoveWithUndefinedPositionsGivesBlack)
{
    const int w = 12, h = 10;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size(), 1);
    params.p[0][0] = -0.001f;
    params.p[1][0] = 1.0f;
    params.p[4][0] = params.p[4][1] = 0.5f;
    params.p[5][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelChromaticMove(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (size_t i = 0; i < dst.size(); i += 3)
        EXPECT_EQ(dst[i], 0);
}

// ---- Warps ------------------------------------------------------------------------------------

TEST_F(EffectTest, WaveDistortLightGainLiesBetween1001And1501)
{
    const int w = 64, h = 48;
    auto src = solidImage(w, h, 20000, 30000, 40000);
    std::vector<uint16_t> dst(src.size()), other(src.size());
    params.p[0][0] = 0.6f;
    params.p[1][0] = 0.4f;
    flatSpline(params, 5, 1.0f); // K = 1
    params.p[6][1] = 100.0f;
    params.anim_count = 1.0f;
    ASSERT_EQ(MP_calcPixelWaveDistort(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    float lo = 10.0f, hi = 0.0f;
    for (size_t i = 0; i < dst.size(); i += 3) {
        const float g = static_cast<float>(dst[i]) / 20000.0f;
        lo = std::min(lo, g);
        hi = std::max(hi, g);
    }
    EXPECT_GE(lo, 1.0009f);
    EXPECT_LE(hi, 1.5011f);
    EXPECT_GT(hi - lo, 0.2f);
    params.anim_count = 2.0f;
    ASSERT_EQ(MP_calcPixelWaveDistort(w, h, src.data(), other.data(), 6, 6, &params), 0);
    EXPECT_NE(dst, other);
    // K = 0: the displaced colours stay (here: a flat picture).
    flatSpline(params, 5, 0.0f);
    ASSERT_EQ(MP_calcPixelWaveDistort(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, tripped(src));
}

TEST_F(EffectTest, GlasStructWithoutRefractionReturnsTheSource)
{
    fillPatternTexture(2, 50, 40);
    const int w = 30, h = 20;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.3f;
    params.p[1][0] = 0.0f;
    params.p[2][0] = 0.9f;
    params.p[2][1] = 0.1f;
    params.p[3][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelGlasStruct(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, tripped(src));
}

TEST_F(EffectTest, WarpCentreTakesOneSampleAndAPositionOfOneIsTheLastColumn)
{
    const int w = 30, h = 20;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size()), ref(src.size());
    params.p[0][0] = 0.5f;
    params.p[1][0] = 0.0f;
    flatSpline(params, 3, 1.0f);
    params.p[2][0] = 0.5f;
    params.p[2][1] = 0.5f;
    params.p[4][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelWarp(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(px(dst, w, 15, 10)[c], px(src, w, 15, 10)[c], 1);
    EXPECT_GT(std::abs(px(dst, w, 0, 0)[2] - px(src, w, 0, 0)[2]), 1);

    params.p[2][0] = 1.0f;
    ASSERT_EQ(MP_calcPixelWarp(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    params.p[2][0] = 29.0f / 30.0f;
    ASSERT_EQ(MP_calcPixelWarp(w, h, src.data(), ref.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, ref);
}

TEST_F(EffectTest, WarpWithCentreOutsideOrHugeLengthStaysInsideTheImage)
{
    const int w = 20, h = 12;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[4][1] = 100.0f;
    flatSpline(params, 3, 1.0f);
    for (float cx : {-5.0f, NAN, 40.0f}) {
        params.p[2][0] = cx;
        params.p[2][1] = -cx;
        params.p[0][0] = 50.0f; // far beyond the slider
        EXPECT_EQ(MP_calcPixelWarp(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    }
}

// ---- Mirrors ------------------------------------------------------------------------------------

TEST_F(EffectTest, MirrorsTwiceGiveTheInputAndKeepTheMiddle)
{
    for (auto flip : {MP_calcPixelXFlip, MP_calcPixelYFlip}) {
        const int w = 7, h = 5;
        auto src = pattern(w, h);
        std::vector<uint16_t> once(src.size()), twice(src.size());
        ASSERT_EQ(flip(w, h, src.data(), once.data(), 6, 6, nullptr), 0);
        ASSERT_EQ(flip(w, h, once.data(), twice.data(), 6, 6, &params), 0);
        EXPECT_EQ(twice, src);
        const bool horizontal = flip == MP_calcPixelXFlip;
        for (int i = 0; i < (horizontal ? h : w); ++i) {
            const int x = horizontal ? 3 : i, y = horizontal ? i : 2;
            EXPECT_EQ(std::memcmp(px(once, w, x, y), px(src, w, x, y), 6), 0);
        }
        EXPECT_EQ(std::memcmp(px(once, w, 0, 0), px(src, w, horizontal ? 6 : 0, horizontal ? 0 : 4), 6), 0);
    }
    auto column = pattern(1, 9), row = pattern(9, 1);
    std::vector<uint16_t> out(column.size());
    ASSERT_EQ(MP_calcPixelXFlip(1, 9, column.data(), out.data(), 6, 6, &params), 0);
    EXPECT_EQ(out, column);
    ASSERT_EQ(MP_calcPixelYFlip(9, 1, row.data(), out.data(), 6, 6, &params), 0);
    EXPECT_EQ(out, row);
}

// ---- Embossed overlays ---------------------------------------------------------------------

TEST_F(EffectTest, PuzzleWithoutEmbossBrightensByATwentieth)
{
    fillPatternTexture(33, 40, 40);
    const int w = 3, h = 1;
    std::vector<uint16_t> src = {40000, 54612, 54613, 0, 10000, 65535, 1, 2, 3}, dst(9);
    params.p[2][0] = 0.0f;
    params.p[3][0] = params.p[3][1] = 0.5f;
    params.p[4][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelStructurePuzzle(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst[0], 48000);
    EXPECT_EQ(dst[1], 65534);
    EXPECT_EQ(dst[2], 65535);
    EXPECT_EQ(dst[3], 0);
    EXPECT_EQ(dst[5], 65535);
}

TEST_F(EffectTest, MetalFlatTexelUnderAnOverheadLightIsFullyLit)
{
    fillFlatTexture(25, 16, 16, 32768, 32768, 32768);
    const int w = 6, h = 4;
    auto src = solidImage(w, h, 30000, 20000, 10000);
    std::vector<uint16_t> dst(src.size());
    params.p[2][0] = 1.0f; // e = 0.4: factor shade * 1 + 0.6 = 1.6
    params.p[3][0] = 0.0f;
    params.p[4][0] = params.p[4][1] = 0.5f;
    params.p[5][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelStructureMetal(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (size_t i = 0; i < dst.size(); i += 3) {
        EXPECT_NEAR(dst[i], 48000, 3);
        EXPECT_NEAR(dst[i + 1], 32000, 3);
        EXPECT_NEAR(dst[i + 2], 16000, 3);
    }
}

TEST_F(EffectTest, ClothAndPaperWithoutEmbossOrBlurKeepTheSource)
{
    fillPatternTexture(4);
    fillPatternTexture(18);
    const int w = 20, h = 14;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[1][0] = 0.4f;
    params.p[3][2] = params.p[3][3] = params.p[3][4] = 1.0f;
    params.p[4][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelStructureCloth(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, tripped(src));
    ASSERT_EQ(MP_calcPixelStructurePaper(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, tripped(src));
}

// ---- Stretched overlays ---------------------------------------------------------------------

TEST_F(EffectTest, VignetteScalesByOneMinusStrengthUnderABlackTexel)
{
    fillFlatTexture(240, 32, 32, 0, 0, 0);
    const int w = 2, h = 1;
    std::vector<uint16_t> src = {10000, 21846, 0, 65535, 1, 7}, dst(6);
    params.p[3][0] = params.p[3][1] = 0.5f;
    params.p[4][1] = 100.0f;
    params.p[1][0] = 0.0f; // v = -2
    ASSERT_EQ(MP_calcPixelStructureVignette(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, (std::vector<uint16_t>{30000, 65535, 0, 65535, 3, 21}));
    params.p[1][0] = 1.0f; // v = 2
    ASSERT_EQ(MP_calcPixelStructureVignette(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, std::vector<uint16_t>(6, 0));
    fillPatternTexture(240);
    auto pic = pattern(17, 11);
    std::vector<uint16_t> out(pic.size());
    params.p[1][0] = 0.5f; // v = 0
    ASSERT_EQ(MP_calcPixelStructureVignette(17, 11, pic.data(), out.data(), 6, 6, &params), 0);
    EXPECT_EQ(out, pic);
}

TEST_F(EffectTest, FilmframeWithoutIntensityKeepsTheImage)
{
    fillPatternTexture(300);
    const int w = 17, h = 11;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[1][0] = 0.0f;
    params.p[2][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelStructureFilmframe(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(dst, tripped(src));
}

TEST_F(EffectTest, ProjectionMirrorsInBothDirectionsAboveTheMiddle)
{
    fillFlatTexture(340, 8, 8, 0, 0, 0); // flat wall: scale 1, no wall colour, light 1
    const int w = 19, h = 13;
    std::vector<uint16_t> src(static_cast<size_t>(w) * h * 3); // smooth: the float positions may round
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* p = &src[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint16_t>(x * 3000);
            p[1] = static_cast<uint16_t>(y * 4000);
            p[2] = static_cast<uint16_t>((x + y) * 1500);
        }
    std::vector<uint16_t> upright(src.size()), mirrored(src.size());
    params.p[1][0] = 0.5f; // c = 0.5
    params.p[2][0] = 0.3f;
    params.p[4][1] = 100.0f;
    params.p[3][0] = 0.5f;
    ASSERT_EQ(MP_calcPixelStructureProjection(w, h, src.data(), upright.data(), 6, 6, &params), 0);
    params.p[3][0] = 0.51f;
    ASSERT_EQ(MP_calcPixelStructureProjection(w, h, src.data(), mirrored.data(), 6, 6, &params), 0);
    for (int y = 1; y < h; ++y)
        for (int x = 1; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const uint16_t s = px(src, w, x, y)[c];
                EXPECT_NEAR(px(upright, w, x, y)[c], static_cast<int>(0.5f * (s * MP_k) * 65535.0f), 1);
                EXPECT_NEAR(px(mirrored, w, w - x, h - y)[c], px(upright, w, x, y)[c], 1);
            }
}

TEST_F(EffectTest, FilmframeAtFullIntensityMultipliesByTheFrame)
{
    fillFlatTexture(300, 8, 8, 65535, 32768, 0);
    const int w = 9, h = 7;
    auto src = solidImage(w, h, 40000, 40000, 40000);
    std::vector<uint16_t> dst(src.size());
    params.p[1][0] = 1.0f;
    params.p[2][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelStructureFilmframe(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (size_t i = 0; i < dst.size(); i += 3) {
        EXPECT_NEAR(dst[i], 40000, 1);
        EXPECT_NEAR(dst[i + 1], 20000, 1);
        EXPECT_EQ(dst[i + 2], 0);
    }
}

// ---- Tinted overlays ------------------------------------------------------------------------

TEST(EffectRecolour, PureColoursAndGreyTexels)
{
    const MP_float3 red = MP_recolourTexel({1.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    EXPECT_EQ(red.x, 1.0f);
    EXPECT_EQ(red.y, 0.0f);
    EXPECT_EQ(red.z, 0.0f);
    const MP_float3 green = MP_recolourTexel({1.0f, 0.0f, 0.0f}, 120.0f, 0.0f);
    EXPECT_NEAR(green.y, 1.0f, 1e-6f);
    EXPECT_NEAR(green.x, 0.0f, 1e-6f);
    // A grey texel takes saturation 0.001 / M and hue 0.
    const MP_float3 grey = MP_recolourTexel({0.5f, 0.5f, 0.5f}, 0.0f, 0.0f);
    EXPECT_NEAR(grey.x, 0.5f, 1e-6f);
    EXPECT_NEAR(grey.z, 0.5f * (1.0f - 0.002f), 1e-6f);
    // A hue shift far outside a turn (preset files) keeps the texel.
    const MP_float3 kept = MP_recolourTexel({0.2f, 0.4f, 0.6f}, 1e9f, 0.0f);
    EXPECT_EQ(kept.x, 0.2f);
    const MP_float3 nan = MP_recolourTexel({0.2f, 0.4f, 0.6f}, NAN, 0.0f);
    EXPECT_EQ(nan.z, 0.6f);
}

TEST_F(EffectTest, ToneWindowZoomFollowsTheAngle)
{
    EXPECT_FLOAT_EQ(MP_toneWindowZoom(0.5f), 0.95f);
    EXPECT_FLOAT_EQ(MP_toneWindowZoom(0.25f), 0.95f);
    EXPECT_FLOAT_EQ(MP_toneWindowZoom(0.75f), 0.95f);
    EXPECT_FLOAT_EQ(MP_toneWindowZoom(0.375f), 0.525f);
    EXPECT_FLOAT_EQ(MP_toneWindowZoom(0.625f), 0.525f);
}

TEST_F(EffectTest, DoubleAtMiddleContrastAveragesPhotographAndTexture)
{
    fillFlatTexture(281, 16, 16, 65535, 0, 0);
    const int w = 5, h = 4;
    auto src = solidImage(w, h, 20000, 20000, 20000);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.1f;
    params.p[1][0] = 1.0f;  // k = 0.5
    params.p[2][0] = 0.5f;  // kappa = 1
    params.p[3][0] = 0.5f;  // no saturation change
    flatSpline(params, 5, 1.0f);
    params.p[6][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelStructureDouble(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (size_t i = 0; i < dst.size(); i += 3) {
        EXPECT_NEAR(dst[i], 42767, 1);
        EXPECT_NEAR(dst[i + 1], 10000, 1);
        EXPECT_NEAR(dst[i + 2], 10000, 1);
    }
}

TEST_F(EffectTest, DoubleWithTheFirstTextureUsesThePhotograph)
{
    fillFlatTexture(280, 10, 8, 0, 0, 0);
    const int w = 10, h = 8;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.0f;
    params.p[1][0] = 1.0f;
    params.p[2][0] = 0.5f;
    params.p[3][0] = 0.5f;
    flatSpline(params, 5, 1.0f);
    params.p[6][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelStructureDouble(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    const uint16_t* slot = MP_UI_GetTexturePointer(280);
    EXPECT_EQ(std::vector<uint16_t>(slot, slot + src.size()), src); // same size: a plain copy, kept
}

TEST_F(EffectTest, LightRewritesTheCallersBlockAndStretches)
{
    fillPatternTexture(110);
    const int w = 16, h = 12;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    params.p[1][0] = 0.0f; // adds nothing: the stretch alone acts
    params.p[4][0] = params.p[4][1] = 0.5f;
    flatSpline(params, 5, 1.0f);
    params.p[6][0] = 0.0f;
    params.p[6][1] = 100.0f;
    params.p[7][0] = 0.0f;
    params.p[7][5] = 0.25f; // an inactive set, kept as it stands
    params.p[9][3] = 5.0f;
    ASSERT_EQ(MP_calcPixelStructureLight(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    EXPECT_EQ(params.p[0][0], 0.0f);
    EXPECT_FLOAT_EQ(params.p[0][1], 100.0f);
    EXPECT_EQ(params.p[1][5], 0.25f);
    EXPECT_EQ(params.p[9][3], 0.0f);
    EXPECT_EQ(params.p[5][1], 0.0f);
    float lo, hi;
    MP_UI_GetMinMaxLuminance(src.data(), &lo, &hi, w, h);
    EXPECT_NEAR(params.lummin, lo, 1e-4f);
    EXPECT_NEAR(params.lummax, hi, 1e-4f);
    EXPECT_NE(dst, tripped(src)); // stretched
}

// ---- Dust ---------------------------------------------------------------------------------------

class DustSpeck : public EffectTest {
protected:
    std::vector<uint16_t> run(float randomness, float iota = 1.0f, float size = 0.5f, float opacity = 100.0f)
    {
        const int w = 100, h = 100;
        auto img = solidImage(w, h, 30000, 30000, 30000);
        MP_Params p = freshParams();
        p.p[1][0] = 0.0f; // one speck
        p.p[2][0] = size;
        p.p[3][0] = (iota + 1.0f) * 0.5f;
        p.p[4][0] = randomness;
        p.p[6][1] = opacity;
        EXPECT_EQ(MP_calcPixelStructureDust(w, h, img.data(), img.data(), 6, 6, &p), 0);
        return img;
    }
    static void expectSquare(const std::vector<uint16_t>& img, int x0, int y0, uint16_t inside)
    {
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool in = x >= x0 && x < x0 + 10 && y >= y0 && y < y0 + 10;
                ASSERT_EQ(px(img, 100, x, y)[1], in ? inside : 30000) << x << "," << y;
            }
    }
    void SetUp() override
    {
        EffectTest::SetUp();
        fillFlatTexture(61, 512, 512, 0, 0, 0); // every texel dust
    }
};

TEST_F(DustSpeck, RandomnessPicksTheArrangement)
{
    expectSquare(run(0.0f), 35, 66, 0);
    expectSquare(run(0.001f), 84, 25, 0);
    EXPECT_EQ(run(0.0f, 0.0f), solidImage(100, 100, 30000, 30000, 30000));
    EXPECT_EQ(run(0.0f, 1.0f, 0.0f), solidImage(100, 100, 30000, 30000, 30000));
    // White dust: the pixel gains C / 1024 * (65000 - T), held to 65535.
    expectSquare(run(0.0f, -1.0f), 35, 66, 65535);
}

TEST_F(DustSpeck, HalfOpacityMixesTheSpecksWithTheSource)
{
    const auto img = run(0.0f, 1.0f, 0.5f, 50.0f);
    EXPECT_EQ(px(img, 100, 40, 70)[0], trip(15000));
    EXPECT_EQ(px(img, 100, 0, 0)[0], trip(30000));
}

TEST_F(DustSpeck, SeedStaysWhereTheDrawEnded)
{
    run(0.0f);
    const int after = MP_UI_GetRandomSeed();
    MP_UI_SetRandomSeed(0x12345678);
    MP_rand();
    MP_rand();
    EXPECT_EQ(after, MP_UI_GetRandomSeed());
}

// Counts, sizes and strengths far outside the sliders stay inside the tables.
TEST_F(DustSpeck, OutOfRangeSlidersAreHeld)
{
    fillPatternTexture(61, 512, 512);
    const int w = 40, h = 30;
    auto img = pattern(w, h);
    for (float v : {-50.0f, 50.0f, NAN}) {
        MP_Params p = freshParams();
        for (int s = 1; s < 6; ++s) // "Typ" keeps the filled sheet
            p.p[s][0] = v;
        p.p[5][1] = v;
        p.p[6][1] = 100.0f;
        EXPECT_EQ(MP_calcPixelStructureDust(w, h, img.data(), img.data(), 6, 6, &p), 0);
    }
}

// ---- Frame ----------------------------------------------------------------------------------------

TEST_F(EffectTest, BorderAtItsDefaults)
{
    const int w = 1000, h = 1000;
    auto src = solidImage(w, h, 30000, 30000, 30000);
    std::vector<uint16_t> dst(src.size());
    params.p[0][0] = 0.4f;  // "Rundung"
    params.p[1][0] = 0.05f; // "Breite"
    params.p[2][2] = params.p[2][3] = params.p[2][4] = 1.0f;
    params.p[3][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelBorder(w, h, src.data(), dst.data(), 6, 6, &params), 0);
    for (int x = 0; x < w; ++x) {
        const int v = px(dst, w, x, 500)[0];
        if (x <= 15 || x >= 982)
            EXPECT_EQ(v, 65535) << x;
        else if (x == 16)
            EXPECT_EQ(v, 54480);
        else
            EXPECT_EQ(v, 30000) << x;
    }
    // NaN sliders from a damaged preset: frame or picture, never a garbage value.
    for (int slot : {0, 1})
        for (float v : {NAN, INFINITY, -INFINITY}) {
            MP_Params q = params;
            q.p[slot][0] = v;
            ASSERT_EQ(MP_calcPixelBorder(w, h, src.data(), dst.data(), 6, 6, &q), 0);
            for (int x : {0, 500, 999})
                EXPECT_TRUE(px(dst, w, x, 500)[0] == 65535 || px(dst, w, x, 500)[0] == 30000)
                    << "slot " << slot << " " << v << " x " << x;
            EXPECT_EQ(px(dst, w, 0, 0)[0], 65535);
        }
    // Out-of-range colours are held to 0..1.
    params.p[1][0] = 1.0f;
    params.p[2][2] = 3.0f;
    params.p[2][3] = -2.0f;
    params.p[2][4] = NAN;
    auto small = pattern(16, 9);
    std::vector<uint16_t> out(small.size());
    ASSERT_EQ(MP_calcPixelBorder(16, 9, small.data(), out.data(), 6, 6, &params), 0);
    for (size_t i = 0; i < out.size(); i += 3) {
        EXPECT_EQ(out[i], 65535);
        EXPECT_EQ(out[i + 1], 0);
        EXPECT_EQ(out[i + 2], 0);
    }
}

} // namespace

// ---- Oil paint --------------------------------------------------------------------------------

namespace {

// The window of the oil paint filter as written out: normal rows and columns
// raised onto the image by whole steps, panorama rows from max(-R, -y) and
// columns wrapped.
std::vector<uint16_t> oilReference(const std::vector<uint16_t>& src, int w, int h, const MP_Params& p, int R,
                                   int step, bool panorama)
{
    std::vector<uint16_t> out(src.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint16_t* c = &src[(static_cast<size_t>(y) * w + x) * 3];
            const MP_float3 f = MP_loadRGB48(c);
            const int T = 3 * static_cast<int>((p.lumr * f.x + p.lumg * f.y + p.lumb * f.z) * 65535.0f);
            int64_t sr = 0, sg = 0, sb = 0;
            int n = 0, darker = 0;
            auto add = [&](int xx, int yy) {
                const uint16_t* s = &src[(static_cast<size_t>(yy) * w + xx) * 3];
                sr += s[0];
                sg += s[1];
                sb += s[2];
                ++n;
                darker += s[0] + s[1] + s[2] < T;
            };
            int ky = panorama ? std::max(-R, -y) : -R;
            while (!panorama && y + ky < 0)
                ky += step;
            for (; ky <= std::min(R, h - 1 - y); ky += step) {
                const int hw = p.lx[500 + ky];
                if (panorama) {
                    for (int kx = -hw; kx <= hw; kx += step)
                        add(((x + kx) % w + w) % w, y + ky);
                } else {
                    int kx = -hw;
                    while (x + kx < 0)
                        kx += step;
                    for (; kx <= std::min(hw, w - 1 - x); kx += step)
                        add(x + kx, y + ky);
                }
            }
            uint16_t* o = &out[(static_cast<size_t>(y) * w + x) * 3];
            MP_float3 e{0.0f, 0.0f, 0.0f};
            if (n > 0 && (n >> 2) < darker && darker < ((3 * n) >> 2)) {
                e = f;
            } else if (n > 0) {
                const float k = MP_k / static_cast<float>(n);
                e = {static_cast<float>(sr) * k, static_cast<float>(sg) * k, static_cast<float>(sb) * k};
            }
            MP_storeRGB48Clamped(o, e);
        }
    return out;
}

} // namespace

class OilPaint : public EffectTest {
protected:
    // A block for radius R with the superquadric-like half-widths hw(ky).
    MP_Params block(float radiusSlider, int loopstep, int maxHalfWidth)
    {
        MP_Params p = freshParams();
        p.p[0][0] = radiusSlider;
        p.p[1][1] = 100.0f;
        p.loopstep = loopstep;
        for (int ky = -500; ky <= 500; ++ky)
            p.lx[500 + ky] = static_cast<short>(std::max(1, maxHalfWidth - std::abs(ky) / 3));
        return p;
    }
};

TEST_F(OilPaint, ThreeByThreeExamples)
{
    struct Case {
        int darkerCount;
        uint16_t centre;
    };
    // Centre 30000 (T = 90000); neighbours 10000 (darker) or 60000.
    for (const Case& c : {Case{4, 30000}, Case{2, 45555}, Case{6, 23333}}) {
        std::vector<uint16_t> img;
        int dark = 0;
        for (int i = 0; i < 9; ++i) {
            uint16_t v = 60000;
            if (i == 4)
                v = 30000;
            else if (dark < c.darkerCount) {
                v = 10000;
                ++dark;
            }
            img.insert(img.end(), {v, v, v});
        }
        MP_Params p = block(0.002f, 1, 1);
        std::vector<uint16_t> out(img.size());
        ASSERT_EQ(MP_calcPixelOilpaint(3, 3, img.data(), out.data(), 6, 6, &p), 0);
        EXPECT_EQ(out[12], c.centre) << c.darkerCount << " darker";
    }
}

TEST_F(OilPaint, LoopStepThreeLeavesTheFirstRowAndColumnWithoutSamples)
{
    const int w = 6, h = 5;
    auto src = solidImage(w, h, 30000, 30000, 30000);
    MP_Params p = block(0.002f, 3, 1);
    std::vector<uint16_t> out(src.size());
    ASSERT_EQ(MP_calcPixelOilpaint(w, h, src.data(), out.data(), 6, 6, &p), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(px(out, w, x, y)[0], (x == 0 || y == 0) ? 0 : 30000) << x << "," << y;
}

TEST_F(OilPaint, MatchesTheWrittenOutWindow)
{
    struct Case {
        float slider;
        int loopstep;
        int halfWidth;
        bool panorama;
    };
    const int w = 97, h = 29; // blocks of sixteen pixels inside, single pixels at the edges
    auto src = pattern(w, h, 5);
    for (const Case& c : {Case{0.01f, 1, 5, false}, Case{0.02f, 2, 12, false}, Case{0.03f, 1, 40, false},
                          Case{0.01f, 1, 5, true}, Case{0.02f, 3, 60, true}, Case{0.05f, 4, 2, false},
                          Case{0.08f, 1, 9, false}, Case{0.3f, 2, 30, false}, Case{0.9f, 1, 3, false}}) {
        MP_UI_SetPanoramaMode(c.panorama ? 1 : 0);
        MP_Params p = block(c.slider, c.loopstep, c.halfWidth);
        const MP_WindowSize size = MP_calcWindowSize(&p, 500.0f);
        std::vector<uint16_t> out(src.size());
        ASSERT_EQ(MP_calcPixelOilpaint(w, h, src.data(), out.data(), 6, 6, &p), 0);
        EXPECT_EQ(out, oilReference(src, w, h, p, size.R, size.step, c.panorama))
            << c.slider << " step " << c.loopstep << (c.panorama ? " panorama" : "");
    }
    MP_UI_SetPanoramaMode(0);
}

// Rows beyond the dispatcher's radius get half-width 1, whatever an earlier
// run left in the block.
TEST_F(OilPaint, RowsPastTheDispatchersRadiusAreCompleted)
{
    MP_Params p = block(0.01f, 1, 300);
    p.unit_kernel_multiplier = 0.99f; // dispatcher radius 4, driver radius 4.95 -> 4
    p.p[0][0] = 0.0102f;              // driver 5.1 * 0.99 = 5; dispatcher (int)(5) * 0.99 = 4
    const int w = 9, h = 9;
    auto src = pattern(w, h);
    std::vector<uint16_t> out(src.size());
    ASSERT_EQ(MP_calcPixelOilpaint(w, h, src.data(), out.data(), 6, 6, &p), 0);
    EXPECT_EQ(p.lx[500 + 5], 1);
    EXPECT_EQ(p.lx[500 - 5], 1);
    EXPECT_EQ(p.lx[500 + 4], 300 - 4 / 3);
}

TEST_F(OilPaint, HugeLoopStepsAndRadiiStayInsideTheImage)
{
    const int w = 13, h = 11;
    auto src = pattern(w, h);
    for (int loopstep : {0, -5, 1000}) {
        for (float slider : {0.5f, 5.0f, NAN}) {
            MP_Params p = block(slider, loopstep, 500);
            p.lx[500] = 32000; // far past the width
            std::vector<uint16_t> out(src.size());
            EXPECT_EQ(MP_calcPixelOilpaint(w, h, src.data(), out.data(), 6, 6, &p), 0);
            MP_UI_SetPanoramaMode(1);
            EXPECT_EQ(MP_calcPixelOilpaint(w, h, src.data(), out.data(), 6, 6, &p), 0);
            MP_UI_SetPanoramaMode(0);
        }
    }
}
