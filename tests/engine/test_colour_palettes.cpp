// Colour palettes: ColorPalette, C64, UnderWater and darktogrey.

#include "colourlightfixture.h"

#include <cmath>
#include <cstdlib>

namespace {

class ColourPaletteTest : public ColourTest {};

MP_Params paletteBlock(float slider = 0.5f)
{
    MP_Params p{};
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    for (int k = 0; k < 8; ++k)
        p.p[k][0] = slider;
    p.p[8][1] = 100.0f;
    return p;
}

// ---- Farbpalette -------------------------------------------------------------------

TEST_F(ColourPaletteTest, PaletteAtDefaultsKeepsColoursButTintsGreys)
{
    // sadd = 0: a colour comes back as it was (up to float rounding); a grey
    // gets s = 0.001 / v and comes back as (v, v - 0.001, v - 0.001); a grey
    // below 0.001 gets s above 1, held to 1: (v, 0, 0). Black stays black.
    MP_Params p = paletteBlock();
    auto img = pixels({{50000, 20000, 10000}, {32768, 32768, 32768}, {30, 30, 30}, {0, 0, 0}});
    ASSERT_EQ(MP_calcPixelColorPalette(4, 1, img.data(), img.data(), 6, 6, &p), 0);
    EXPECT_NEAR(img[0], 50000, 1);
    EXPECT_NEAR(img[1], 20000, 1);
    EXPECT_NEAR(img[2], 10000, 1);
    EXPECT_EQ(img[3], roundTrip(32768));
    EXPECT_NEAR(img[4], 32768 - 65.535, 1);
    EXPECT_EQ(img[4], img[5]);
    EXPECT_EQ(img[7], 0);
    EXPECT_EQ(img[8], 0);
    EXPECT_NEAR(img[6], 30, 1);
    EXPECT_EQ(std::vector<uint16_t>(img.begin() + 9, img.end()), pixels({{0, 0, 0}}));
}

TEST_F(ColourPaletteTest, RedSliderRaisesAndLowersTheSaturationOfReds)
{
    // "Rot" at 1 (weight +1) saturates a red: green and blue fall; at 0
    // (weight -1) they rise toward the red. A blue barely reacts.
    auto run = [](float rot) {
        MP_Params p = paletteBlock();
        p.p[0][0] = rot;
        auto img = pixels({{50000, 20000, 20000}, {5000, 5000, 50000}});
        EXPECT_EQ(runByName("MP_calcPixelColorPalette", img, 2, 1, p), 0);
        return img;
    };
    const auto up = run(1.0f);
    const auto down = run(0.0f);
    EXPECT_NEAR(up[0], 50000, 1);
    EXPECT_LT(up[1], 20000 - 5000);
    EXPECT_GT(down[1], 20000 + 5000);
    EXPECT_LE(down[1], 50000);
    EXPECT_EQ(up[1], up[2]);
    EXPECT_LT(std::abs(up[3] - 5000), (20000 - up[1]) / 5);
    EXPECT_LT(std::abs(down[3] - 5000), (down[1] - 20000) / 5);
}

TEST_F(ColourPaletteTest, PaletteKeepsBlackWhateverTheSliders)
{
    for (float s : {0.0f, 1.0f, 3.0f}) {
        MP_Params p = paletteBlock(s);
        auto img = pixels({{0, 0, 0}});
        ASSERT_EQ(runByName("MP_calcPixelColorPalette", img, 1, 1, p), 0);
        EXPECT_EQ(img, pixels({{0, 0, 0}})) << s;
    }
}

TEST_F(ColourPaletteTest, PaletteSliderThatIsNotANumberWritesNoGarbage)
{
    MP_Params p = paletteBlock();
    p.p[3][0] = NAN;
    auto img = pixels({{40000, 30000, 20000}});
    ASSERT_EQ(MP_calcPixelColorPalette(1, 1, img.data(), img.data(), 6, 6, &p), 0);
    for (uint16_t v : img)
        EXPECT_LE(v, 40000);
}

// ---- C64 Farben --------------------------------------------------------------------

TEST_F(ColourPaletteTest, C64BlockSizes)
{
    struct Case {
        float raster;
        int n;
    };
    const Case cases[] = {{0.0f, 1}, {0.2222f, 3}, {1.0f, 10}, {0.5f, 5},
                          // beyond the range: held to 1..10
                          {-1.0f, 1}, {-100.0f, 1}, {50.0f, 10}, {NAN, 1}, {INFINITY, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(MP_c64BlockSize(c.raster), c.n) << c.raster;
}

TEST_F(ColourPaletteTest, C64PicksTheNearestPaletteColour)
{
    // Each case a 2 x 1 block (Raster minimum) of one colour.
    struct Case {
        const char* what;
        uint16_t in[3];
        uint16_t out[3];
    };
    const Case cases[] = {
        {"white", {65535, 65535, 65535}, {65280, 65280, 65280}},
        {"black", {100, 200, 255}, {0, 0, 0}},
        // (0, 37, 65) is 5594 from black (index 0) and from grey 68 (index 11): the lower index wins
        {"tie", {0, 37 << 8, 65 << 8}, {0, 0, 0}},
        {"grey 108", {108 << 8, 110 << 8, 106 << 8}, {108 << 8, 108 << 8, 108 << 8}},
        {"light green", {150 << 8, 212 << 8, 130 << 8}, {154 << 8, 210 << 8, 132 << 8}},
    };
    for (const auto& c : cases) {
        MP_Params p = block();
        setCombo(p, 1);
        auto img = pixels({{c.in[0], c.in[1], c.in[2]}, {c.in[0], c.in[1], c.in[2]}});
        ASSERT_EQ(runByName("MP_calcPixelC64", img, 2, 1, p), 0);
        EXPECT_EQ(img, pixels({{c.out[0], c.out[1], c.out[2]}, {c.out[0], c.out[1], c.out[2]}})) << c.what;
    }
    EXPECT_EQ(MP_c64Palette[11][0], 68);
    EXPECT_EQ(MP_c64Palette[1][2], 255);
}

TEST_F(ColourPaletteTest, C64BlocksAreSmallerAtTheEdgesAndTakeTheirOwnMean)
{
    // Raster 0.2222: n = 3, blocks 6 x 3. On a 7 x 4 picture the right
    // column and the bottom row are blocks of their own.
    const int w = 7, h = 4;
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3, 0);
    auto at = [&](int x, int y) { return &img[(static_cast<size_t>(y) * w + x) * 3]; };
    for (int y = 0; y < h; ++y) {
        at(6, y)[0] = at(6, y)[1] = at(6, y)[2] = 65535; // white right column
    }
    at(0, 3)[0] = at(0, 3)[1] = at(0, 3)[2] = 65535; // one white pixel in the bottom block
    MP_Params p = block();
    p.p[0][0] = 0.2222f;
    setCombo(p, 1);
    ASSERT_EQ(runByName("MP_calcPixelC64", img, w, h, p), 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(at(x, y)[0], 0) << x << "," << y;
        EXPECT_EQ(at(6, y)[0], 65280) << y; // 1 x 3 block of white
    }
    // The bottom-left 6 x 1 block: one white of six, mean 10922 >> 8 = 42,
    // nearest to grey 68 (distance 2028; black is 5292 away).
    EXPECT_EQ(at(0, 3)[0], 68 << 8);
    EXPECT_EQ(at(5, 3)[0], 68 << 8);
    EXPECT_EQ(at(6, 3)[0], 65280);
}

TEST_F(ColourPaletteTest, C64SliderBeyondItsRangeEndsAndMatchesTheNearestSize)
{
    const int w = 25, h = 13;
    const auto src = picture(w, h);
    auto run = [&](float raster) {
        MP_Params p = block();
        p.p[0][0] = raster;
        setCombo(p, 1);
        auto img = src;
        EXPECT_EQ(runByName("MP_calcPixelC64", img, w, h, p), 0);
        return img;
    };
    EXPECT_EQ(run(-3.0f), run(0.0f));
    EXPECT_EQ(run(40.0f), run(1.0f));
    EXPECT_NE(run(0.0f), run(1.0f));
}

TEST_F(ColourPaletteTest, C64WithOpacityMixesThePaletteColourIn)
{
    MP_Params p = block();
    setCombo(p, 1, 0.0f, 50.0f);
    auto img = pixels({{60000, 60000, 60000}, {60000, 60000, 60000}});
    ASSERT_EQ(runByName("MP_calcPixelC64", img, 2, 1, p), 0);
    // white 65280 at 50 %: (65280 + 60000) / 2
    EXPECT_NEAR(img[0], 62640, 1);
}

// ---- Unter Wasser --------------------------------------------------------------------

TEST_F(ColourPaletteTest, UnderWaterAbsorbsRedThenGreenThenBlue)
{
    struct Case {
        const char* what;
        float depth;
        int row;
        uint16_t out[3]; // of (40000, 40000, 40000)
    };
    // Row y of 10: d = y / 10 * 0.2 + depth; a_c = clamp(1.5 (d - 0, 0.25, 0.5));
    // m_c = 16384 - (int)(a_c * 16384); out = (C * m_c) >> 14.
    const Case cases[] = {
        {"surface, top", 0.0f, 0, {40000, 40000, 40000}},
        // d = 0.18: a_r = 0.27 (m 11961)
        {"surface, bottom", 0.0f, 9, {29201, 40000, 40000}},
        // d = 0.3: a_r = 0.45 (m 9012), a_g = 0.075 (m 15156)
        {"default, top", 0.3f, 0, {22001, 37001, 40000}},
        // d = 1: red and green gone, blue m = 4096: C / 4
        {"deepest, top", 1.0f, 0, {0, 0, 10000}},
    };
    for (const auto& c : cases) {
        MP_Params p = block();
        p.p[0][0] = c.depth;
        setCombo(p, 1);
        auto img = solidImage(1, 10, 40000, 40000, 40000);
        ASSERT_EQ(runByName("MP_calcPixelUnderWater", img, 1, 10, p), 0);
        const uint16_t* px = &img[static_cast<size_t>(c.row) * 3];
        EXPECT_EQ(px[0], c.out[0]) << c.what;
        EXPECT_EQ(px[1], c.out[1]) << c.what;
        EXPECT_EQ(px[2], c.out[2]) << c.what;
    }
}

TEST_F(ColourPaletteTest, UnderWaterDepthThatIsNotANumberIsSafe)
{
    MP_Params p = block();
    p.p[0][0] = NAN;
    setCombo(p, 1);
    auto img = solidImage(2, 3, 40000, 40000, 40000);
    ASSERT_EQ(runByName("MP_calcPixelUnderWater", img, 2, 3, p), 0);
    for (uint16_t v : img)
        EXPECT_LE(v, 40000);
}

// ---- dark to grey ------------------------------------------------------------------

TEST_F(ColourPaletteTest, DarkToGreyDrawsDarkPixelsToTheirGrey)
{
    MP_Params p = block();
    auto src = pixels({{0, 0, 0}, {20000, 2000, 2000}, {60000, 50000, 40000}, {65535, 0, 0}});
    std::vector<uint16_t> dst(src.size(), 7);
    ASSERT_EQ(MP_calcPixeldarktogrey(4, 1, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst[0], 0);
    // lum of (20000, 2000, 2000) is 0.106: t = 0.788, t^2 = 0.62 of the way to grey
    const double lum = (p.lumr * 20000.0 + p.lumg * 2000.0 + p.lumb * 2000.0) / 65535.0;
    const double t2 = ((0.5 - lum) * 2.0) * ((0.5 - lum) * 2.0);
    EXPECT_NEAR(dst[3], 20000 * (1 - t2) + t2 * lum * 65535, 2);
    EXPECT_NEAR(dst[4], 2000 * (1 - t2) + t2 * lum * 65535, 2);
    // bright: unchanged but for the round trip
    EXPECT_EQ(dst[6], roundTrip(60000));
    EXPECT_EQ(dst[7], roundTrip(50000));
    // pure red: lum 0.2126, still dark
    EXPECT_LT(dst[9], 65535);
    EXPECT_GT(dst[10], 0);
    // in place gives the same
    auto img = src;
    ASSERT_EQ(MP_calcPixeldarktogrey(4, 1, img.data(), img.data(), 6, 6, &p), 0);
    EXPECT_EQ(img, dst);
}

int g_posts = 0;
void countPost(int, float) { ++g_posts; }

TEST_F(ColourPaletteTest, DarkToGreyOnATallImagePostsEveryRowInsteadOfDividingByZero)
{
    // 100,000 rows: 100000 / (sizey + 1) is 0; the cadence becomes every row.
    const int w = 1, h = 100000;
    auto img = solidImage(w, h, 1000, 1000, 1000);
    MP_Params p = block();
    C_SetAddMessageHook(countPost);
    _category = 0;
    g_posts = 0;
    ASSERT_EQ(MP_calcPixeldarktogrey(w, h, img.data(), img.data(), 6, 6, &p), 0);
    EXPECT_EQ(g_posts, h);
    // a small image posts every 100000 / (h + 1) rows
    g_posts = 0;
    auto small = solidImage(2, 999, 1000, 1000, 1000);
    ASSERT_EQ(MP_calcPixeldarktogrey(2, 999, small.data(), small.data(), 6, 6, &p), 0);
    EXPECT_EQ(g_posts, 10); // rows 0, 100, ..., 900
}

TEST_F(ColourPaletteTest, DarkToGreyRefusesBadInput)
{
    MP_Params p = block();
    auto img = solidImage(2, 2, 1, 2, 3);
    EXPECT_EQ(MP_calcPixeldarktogrey(2, 2, nullptr, img.data(), 6, 6, &p), -2);
    EXPECT_EQ(MP_calcPixeldarktogrey(2, 2, img.data(), img.data(), 6, 2, &p), -2);
    EXPECT_EQ(MP_calcPixeldarktogrey(2, 2, img.data(), img.data(), 6, 6, nullptr), -2);
    // no scratch buffer for a picture this large (or one whose size overflows)
    EXPECT_EQ(MP_calcPixeldarktogrey(1 << 30, 1 << 30, img.data(), img.data(), 6, 6, &p), -1);
    EXPECT_EQ(MP_calcPixeldarktogrey(0x7FFFFFFF, 0x7FFFFFFF, img.data(), img.data(), 6, 6, &p), -1);
    EXPECT_EQ(img, solidImage(2, 2, 1, 2, 3));
}

} // namespace
