// Tile effects: "Würfel" (cube sprites from texture 3) and "Bubble-Tea".

#include "effectsfixture.h"

namespace {

class TileTest : public EffectTest {
protected:
    // Cubes from a sheet whose sprites are whole squares of U - 1 columns
    // (the last column of each sprite empty), sample 43690 in every channel.
    static void fillSquareSheet(int U)
    {
        fillTexture(3, 64, 512, [U](int x, int, int) { return static_cast<uint16_t>(x < U - 1 ? 43690 : 0); });
    }
    static MP_Params cubeParams(float size, float rand, float curve, float transparency = 0.0f)
    {
        MP_Params p = freshParams();
        p.p[0][0] = size;
        p.p[1][0] = transparency;
        p.p[2][0] = rand;
        flatSpline(p, 3, curve);
        p.p[4][1] = 100.0f;
        return p;
    }
    // A horizontal ramp: every column its own grey.
    static std::vector<uint16_t> ramp(int w, int h)
    {
        std::vector<uint16_t> img(size_t(w) * h * 3);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c)
                    img[(size_t(y) * w + x) * 3 + c] = static_cast<uint16_t>(1000 + 900 * x);
        return img;
    }
    // Columns [a, b] of row y share one value, which differs from column b + 1.
    static void expectRun(const std::vector<uint16_t>& img, int w, int y, int a, int b)
    {
        for (int x = a; x <= b; ++x)
            EXPECT_EQ(px(img, w, x, y)[0], px(img, w, a, y)[0]) << "row " << y << " column " << x;
        if (b + 1 < w) {
            EXPECT_NE(px(img, w, b + 1, y)[0], px(img, w, a, y)[0]) << "row " << y << " after " << b;
        }
    }
};

// "Größe" and "Rand" at 0: S 1, E 0, T 3: cubes 6 wide on a 6-pixel pitch,
// rows 5 pixels apart, every other row shifted by 3.
TEST_F(TileTest, SmallestCubesLayOnASixPixelBrickPattern)
{
    const int w = 30, h = 20;
    fillTexture(3, 64, 512, [](int, int, int) { return uint16_t(43690); });
    auto src = ramp(w, h);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = cubeParams(0.0f, 0.0f, 1.0f);
    ASSERT_EQ(MP_calcPixelCubify(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    // Cube row 2 (centre row 4, unshifted) shows in rows 1..5: columns 0..2
    // (clipped), 3..8, 9..14; cube row 3 (centre row 9, shifted) in rows
    // 6..10: columns 0..5, 6..11.
    for (int y = 1; y <= 5; ++y) {
        expectRun(dst, w, y, 0, 2);
        expectRun(dst, w, y, 3, 8);
        expectRun(dst, w, y, 9, 14);
    }
    for (int y = 6; y <= 10; ++y) {
        expectRun(dst, w, y, 0, 5);
        expectRun(dst, w, y, 6, 11);
    }
    // The cube of columns 3..8 takes their mean: 1000 + 900 * 5.5 = 5950.
    EXPECT_NEAR(px(dst, w, 4, 3)[0], 5950, 2);
}

// Defaults: S 4, E 1, T 10, U 20: rows 16 apart, cubes 20 wide.
TEST_F(TileTest, DefaultCubesAreTwentyPixelsWide)
{
    const int w = 60, h = 40;
    fillTexture(3, 64, 512, [](int, int, int) { return uint16_t(43690); });
    auto src = ramp(w, h);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = cubeParams(0.43f, 0.125f, 1.0f);
    ASSERT_EQ(MP_calcPixelCubify(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    // Cube row 2 (centre 12, unshifted): rows 6..17 alone; columns 0..9, 10..29, 30..49.
    for (int y : {6, 10, 17}) {
        expectRun(dst, w, y, 0, 9);
        expectRun(dst, w, y, 10, 29);
        expectRun(dst, w, y, 30, 49);
    }
    // Cube row 3 (centre 28, shifted by 10): rows 18..33; columns 0..19, 20..39.
    for (int y : {18, 25, 33}) {
        expectRun(dst, w, y, 0, 19);
        expectRun(dst, w, y, 20, 39);
    }
}

TEST_F(TileTest, CurveMixesCubesWithThePhotograph)
{
    const int w = 30, h = 20;
    fillSquareSheet(6);
    auto src = pattern(w, h, 5);
    std::vector<uint16_t> dst(src.size());
    // Curve 0: the photograph (through the float trip).
    MP_Params p = cubeParams(0.0f, 0.0f, 0.0f);
    ASSERT_EQ(MP_calcPixelCubify(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_NEAR(dst[i], src[i], 1) << i;
    // Curve 1: the cubes, black where no cube was painted (the empty last
    // column of every unshifted cube: columns 2, 8, 14 of rows 1..5).
    p = cubeParams(0.0f, 0.0f, 1.0f);
    ASSERT_EQ(MP_calcPixelCubify(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    for (int x : {2, 8, 14})
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(px(dst, w, x, 3)[c], 0) << x;
    EXPECT_GT(px(dst, w, 4, 3)[0], 0);
    // Full worker at opacity 99.999 % gives the same (up to one step).
    std::vector<uint16_t> full(src.size());
    p.p[4][1] = 99.999f;
    ASSERT_EQ(MP_calcPixelCubify(w, h, src.data(), full.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_NEAR(full[i], dst[i], 1) << i;
}

TEST_F(TileTest, ImageSmallerThanACubeStillGetsItsCube)
{
    const int w = 4, h = 3;
    fillTexture(3, 64, 512, [](int, int, int) { return uint16_t(43690); });
    auto src = pattern(w, h, 2);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = cubeParams(0.43f, 0.125f, 1.0f);
    ASSERT_EQ(MP_calcPixelCubify(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    for (int i = 0; i < w * h; ++i)
        EXPECT_EQ(dst[size_t(i) * 3], dst[0]); // one cube, one mean
    EXPECT_GT(dst[0], 0);
}

TEST_F(TileTest, MissingOrSmallCubeSheetFailsBeforeAnyWrite)
{
    const int w = 12, h = 9;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size(), 77);
    MP_Params p = cubeParams(0.43f, 0.125f, 1.0f);
    EXPECT_EQ(MP_calcPixelCubify(w, h, src.data(), dst.data(), 6, 6, &p), -1); // empty slot
    fillPatternTexture(3, 32, 32);
    EXPECT_EQ(MP_calcPixelCubify(w, h, src.data(), dst.data(), 6, 6, &p), -1);
    // Class 8 needs rows up to 64 * 7 + U - 1: a sheet of 7 bands serves
    // the smaller classes only.
    fillCubeSheet(3, 64, 448);
    EXPECT_EQ(MP_calcPixelCubify(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    p.p[0][0] = 1.0f;
    std::vector<uint16_t> untouched(src.size(), 77);
    EXPECT_EQ(MP_calcPixelCubify(w, h, src.data(), untouched.data(), 6, 6, &p), -1);
    EXPECT_EQ(untouched, std::vector<uint16_t>(src.size(), 77));
}

// ---- "Bubble-Tea" --------------------------------------------------------------------------

MP_Params bubbleParams(float raster, float structure, float lx, float ly)
{
    MP_Params p = EffectTest::freshParams();
    p.p[0][0] = raster;
    p.p[1][0] = structure;
    p.p[2][0] = lx;
    p.p[2][1] = ly;
    p.p[3][1] = 100.0f;
    return p;
}

TEST_F(TileTest, BubblesOfABlackImageAreBlack)
{
    const int w = 40, h = 30;
    auto src = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> dst(src.size(), 5);
    MP_Params p = bubbleParams(0.25f, 0.5f, 0.65f, 0.35f);
    ASSERT_EQ(MP_calcPixelBubble(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, std::vector<uint16_t>(dst.size(), 0));
}

// A grey cell, lit from straight above: one dome, round and centred.
TEST_F(TileTest, BubbleLitFromAboveIsRound)
{
    const int n = 23; // c = 1 * 23 * 0.05 + 3 = 4.15: cells of 4 (clipped at the end)
    auto src = solidImage(n, n, 30000, 30000, 30000);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = bubbleParams(1.0f, 0.0f, 0.5f, 0.5f);
    ASSERT_EQ(MP_calcPixelBubble(n, n, src.data(), dst.data(), 6, 6, &p), 0);
    // Cell (0, 0) has its centre at (1, 1); its dome is symmetric.
    EXPECT_EQ(px(dst, n, 1, 0)[0], px(dst, n, 0, 1)[0]);
    EXPECT_EQ(px(dst, n, 1, 0)[0], px(dst, n, 2, 1)[0]);
    EXPECT_EQ(px(dst, n, 1, 0)[0], px(dst, n, 1, 2)[0]);
    EXPECT_GT(px(dst, n, 1, 1)[0], px(dst, n, 1, 0)[0]);
}

// "Struktur" 100 %: each bubble shows the photograph shaded, so the ratio of
// two channels is the photograph's.
TEST_F(TileTest, BubbleStructureShowsThePhotograph)
{
    const int w = 30, h = 30;
    std::vector<uint16_t> src(size_t(w) * h * 3);
    for (int i = 0; i < w * h; ++i) {
        src[size_t(i) * 3] = static_cast<uint16_t>(4000 + 40 * i);
        src[size_t(i) * 3 + 1] = static_cast<uint16_t>(2000 + 20 * i);
        src[size_t(i) * 3 + 2] = 100;
    }
    std::vector<uint16_t> dst(src.size());
    MP_Params p = bubbleParams(0.5f, 1.0f, 0.65f, 0.35f);
    ASSERT_EQ(MP_calcPixelBubble(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    int lit = 0;
    for (int i = 0; i < w * h; ++i) {
        const uint16_t* d = &dst[size_t(i) * 3];
        if (d[1] < 500 || d[0] == 65535)
            continue;
        ++lit;
        EXPECT_NEAR(double(d[0]) / d[1], 2.0, 0.01) << i;
    }
    EXPECT_GT(lit, w * h / 3);
}

int g_bubbleMessages = 0;
void countBubbleMessage(int, float) { ++g_bubbleMessages; }

TEST_F(TileTest, BubbleProgressEveryEightRowsOfCells)
{
    const int w = 10, h = 200; // c = 1 * 10 * 0.05 + 3 = 3.5: cells of 3, 67 rows of cells
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = bubbleParams(1.0f, 0.5f, 0.65f, 0.35f);
    C_SetAddMessageHook(countBubbleMessage);
    _category = 1;
    g_bubbleMessages = 0;
    ASSERT_EQ(MP_calcPixelBubble(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(g_bubbleMessages, 9); // y0 = 0, 24, ..., 192
    _category = -1;
}

// The reduced and the full form agree at blend mode 0, opacity 100 % and no
// mask (the full form runs here at an opacity a hair below 100 %).
TEST_F(TileTest, BubbleFullFormMatchesTheReducedForm)
{
    const int w = 31, h = 27;
    auto src = pattern(w, h, 7);
    std::vector<uint16_t> reduced(src.size()), full(src.size());
    MP_Params p = bubbleParams(0.3f, 0.4f, 0.3f, 0.8f);
    ASSERT_EQ(MP_calcPixelBubble(w, h, src.data(), reduced.data(), 6, 6, &p), 0);
    p.p[3][1] = 99.999f;
    ASSERT_EQ(MP_calcPixelBubble(w, h, src.data(), full.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_NEAR(full[i], reduced[i], 1) << i;
}

} // namespace
