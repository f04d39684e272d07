// Night-sky overlays: "Sternenhimmel" and "Mond".

#include "effectsfixture.h"

#include <limits>

namespace {

class SkyTest : public EffectTest {
protected:
    static MP_Params starParams(float density, float size, float horizonY)
    {
        MP_Params p = freshParams();
        p.p[0][0] = density;
        p.p[1][0] = size;
        p.p[2][0] = 0.0f; // "Himmelschärfe" 0: every hue is sky
        p.p[3][0] = 0.5f;
        p.p[3][1] = horizonY;
        p.p[4][2] = 0.2f;
        p.p[4][3] = 0.3f;
        p.p[4][4] = 0.5f;
        p.p[5][1] = 100.0f;
        return p;
    }
    static MP_Params moonParams(float size, float phase, float colour, float glow)
    {
        MP_Params p = freshParams();
        p.p[0][0] = size;
        p.p[1][0] = phase;
        p.p[2][0] = 1.0f;
        p.p[3][0] = colour;
        p.p[4][0] = glow;
        p.p[5][0] = 0.5f;
        p.p[5][1] = 0.5f;
        p.p[6][1] = 100.0f;
        return p;
    }
};

// No stars, no draws. The sky is still mixed with the (empty) star picture:
// it darkens where it matches the sky colour, and nothing brightens.
TEST_F(SkyTest, StarsWithoutDensityDrawNothing)
{
    const int w = 40, h = 30;
    auto src = pattern(w, h, 2);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = starParams(0.0f, 0.35f, 1.0f);
    ASSERT_EQ(MP_calcPixelStars(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(MP_UI_GetRandomSeed(), 0x12345678); // reseeded, not one draw
    const auto same = tripped(src);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_LE(dst[i], same[i]) << i;
    // Below the horizon (row h at y = 1: everywhere above) nothing changes:
    // with the horizon at the top the picture passes unchanged.
    p = starParams(0.0f, 0.35f, 0.0f);
    ASSERT_EQ(MP_calcPixelStars(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, same);
}

TEST_F(SkyTest, StarsAreSeededAndShowAboveTheHorizonOnly)
{
    const int w = 60, h = 40;
    auto black = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> a(black.size()), b(black.size());
    MP_Params p = starParams(0.3f, 0.35f, 0.5f); // 900 stars, horizon at row 20
    ASSERT_EQ(MP_calcPixelStars(w, h, black.data(), a.data(), 6, 6, &p), 0);
    EXPECT_EQ(MP_UI_GetRandomSeed(), [] {
        MP_UI_SetRandomSeed(0x12345678);
        for (int i = 0; i < 900 * 7; ++i)
            MP_rand();
        return MP_UI_GetRandomSeed();
    }());
    MP_UI_SetRandomSeed(99);
    ASSERT_EQ(MP_calcPixelStars(w, h, black.data(), b.data(), 6, 6, &p), 0);
    EXPECT_EQ(a, b);
    size_t lit = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint16_t* c = px(a, w, x, y);
            if (y >= 20)
                ASSERT_EQ(c[0] + c[1] + c[2], 0) << x << ", " << y;
            else
                lit += c[0] + c[1] + c[2] > 0 ? 1 : 0;
        }
    EXPECT_GT(lit, 100u);
    // Horizon at the top: no stars anywhere.
    p = starParams(0.3f, 0.35f, 0.0f);
    ASSERT_EQ(MP_calcPixelStars(w, h, black.data(), a.data(), 6, 6, &p), 0);
    EXPECT_EQ(a, black);
    // Seeded output of a small picture.
    auto src = pattern(24, 18, 4);
    std::vector<uint16_t> out(src.size());
    p = starParams(0.15f, 0.35f, 0.5f);
    p.p[2][0] = 0.5f;
    ASSERT_EQ(MP_calcPixelStars(24, 18, src.data(), out.data(), 6, 6, &p), 0);
    EXPECT_EQ(hashSamples(out), 16653727049991099591u);
}

// A star size below zero, or a preview scale of -Inf or NaN, leaves no
// radius: no star is drawn (and no -Inf reaches an integer), the draws go on
// as before and the sky is mixed with the empty star picture.
TEST_F(SkyTest, StarsWithoutARadiusDrawNothing)
{
    const int w = 40, h = 30;
    auto src = pattern(w, h, 2);
    std::vector<uint16_t> none(src.size()), dst(src.size());
    MP_Params p = starParams(0.0f, 0.35f, 1.0f);
    ASSERT_EQ(MP_calcPixelStars(w, h, src.data(), none.data(), 6, 6, &p), 0);
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float size, scale;
    };
    for (const Case c : {Case{-1.0f, 1.0f}, Case{-1e30f, 1.0f}, Case{-inf, 1.0f}, Case{nan, 1.0f},
                         Case{0.35f, -inf}, Case{0.35f, nan}, Case{1.0f, -1e38f}}) {
        SCOPED_TRACE(testing::Message() << c.size << " x " << c.scale);
        p = starParams(0.3f, c.size, 1.0f); // 900 stars
        p.previewscalingfactor = c.scale;
        ASSERT_EQ(MP_calcPixelStars(w, h, src.data(), dst.data(), 6, 6, &p), 0);
        EXPECT_EQ(dst, none);
        EXPECT_EQ(MP_UI_GetRandomSeed(), [] {
            MP_UI_SetRandomSeed(0x12345678);
            for (int i = 0; i < 900 * 7; ++i)
                MP_rand();
            return MP_UI_GetRandomSeed();
        }());
    }
}

// A star crossing an edge continues at the opposite edge: a picture of one
// column and of one row gets the stars of every column and row.
TEST_F(SkyTest, StarsWrapAroundTheEdges)
{
    const int w = 3, h = 3;
    auto black = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> dst(black.size());
    MP_Params p = starParams(0.1f, 1.0f, 1.0f); // 100 stars, radii up to 40
    ASSERT_EQ(MP_calcPixelStars(w, h, black.data(), dst.data(), 6, 6, &p), 0);
    // Every pixel lies within the wrapped star (the top row has the full weight).
    for (int x = 0; x < w; ++x)
        EXPECT_GT(px(dst, w, x, 0)[2], 0) << x;
}

// ---- "Mond" --------------------------------------------------------------------------------

TEST_F(SkyTest, MoonWithoutItsTextureFails)
{
    const int w = 20, h = 20;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size(), 77);
    MP_Params p = moonParams(0.5f, 0.5f, 0.25f, 0.2f);
    EXPECT_EQ(MP_calcPixelMoon(w, h, src.data(), dst.data(), 6, 6, &p), -1);
    EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 77));
}

TEST_F(SkyTest, MoonPhaseLightsTheDisc)
{
    const int n = 41;
    fillFlatTexture(1, 16, 16, 65535, 65535, 65535);
    auto black = solidImage(n, n, 0, 0, 0);
    std::vector<uint16_t> dst(black.size());
    // Full moon: the whole disc (radius 1 + 20.5 * 0.5 = 11.25) is lit.
    MP_Params p = moonParams(0.5f, 0.5f, 0.0f, 0.0f);
    ASSERT_EQ(MP_calcPixelMoon(n, n, black.data(), dst.data(), 6, 6, &p), 0);
    for (int d : {0, 5, 10})
        for (auto [x, y] : {std::pair{20 + d, 20}, std::pair{20 - d, 20}, std::pair{20, 20 + d}, std::pair{20, 20 - d}})
            EXPECT_GT(px(dst, n, x, y)[0], 0) << x << ", " << y;
    EXPECT_EQ(px(dst, n, 20, 33)[0], 0);
    EXPECT_NEAR(px(dst, n, 20, 20)[0], 65535, 2); // white moon, shade 0.99 + 0.01 at the middle
    // New moon at 0 and 100 %: nothing lit, no glow.
    for (float phase : {0.0f, 1.0f}) {
        p = moonParams(0.5f, phase, 0.0f, 1.0f);
        ASSERT_EQ(MP_calcPixelMoon(n, n, black.data(), dst.data(), 6, 6, &p), 0);
        EXPECT_EQ(dst, black) << phase;
    }
    // The glow reaches beyond the disc at full moon.
    p = moonParams(0.2f, 0.5f, 0.0f, 0.5f);
    ASSERT_EQ(MP_calcPixelMoon(n, n, black.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_GT(px(dst, n, 20, 32)[0], 0);
}

TEST_F(SkyTest, MoonColours)
{
    const int n = 21;
    fillFlatTexture(1, 16, 16, 65535, 65535, 65535);
    auto black = solidImage(n, n, 0, 0, 0);
    std::vector<uint16_t> dst(black.size());
    struct Case {
        float farbe;
        int g, b; // of 255, red 255
    };
    for (Case c : {Case{0.0f, 255, 255}, Case{0.5f, 240, 96}, Case{1.0f, 96, 32}}) {
        MP_Params p = moonParams(0.5f, 0.5f, c.farbe, 0.0f);
        ASSERT_EQ(MP_calcPixelMoon(n, n, black.data(), dst.data(), 6, 6, &p), 0);
        const uint16_t* m = px(dst, n, 10, 10);
        EXPECT_EQ(m[0], 65535) << c.farbe;
        EXPECT_NEAR(m[1], c.g * 257, 300) << c.farbe;
        EXPECT_NEAR(m[2], c.b * 257, 300) << c.farbe;
    }
}

// The reduced worker mixes in 14-bit fixed point, the full one in float.
TEST_F(SkyTest, MoonWorkersAgree)
{
    const int n = 33;
    fillPatternTexture(1, 20, 20);
    auto src = pattern(n, n, 3);
    std::vector<uint16_t> reduced(src.size()), full(src.size());
    MP_Params p = moonParams(0.6f, 0.4f, 0.25f, 0.3f);
    p.p[2][0] = 0.8f;
    ASSERT_EQ(MP_calcPixelMoon(n, n, src.data(), reduced.data(), 6, 6, &p), 0);
    p.p[6][1] = 99.9999f;
    ASSERT_EQ(MP_calcPixelMoon(n, n, src.data(), full.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_NEAR(full[i], reduced[i], 3) << i;
    EXPECT_NE(reduced, src);
}

// A moon at the right edge continues at the left edge in panorama mode.
TEST_F(SkyTest, MoonWrapsInPanoramaMode)
{
    const int w = 40, h = 30;
    fillFlatTexture(1, 16, 16, 65535, 65535, 65535);
    auto black = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> dst(black.size());
    MP_Params p = moonParams(0.5f, 0.5f, 0.0f, 0.0f);
    p.p[5][0] = 1.0f; // centre on column 40
    ASSERT_EQ(MP_calcPixelMoon(w, h, black.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(px(dst, w, 2, 15)[0], 0);
    MP_UI_SetPanoramaMode(1);
    ASSERT_EQ(MP_calcPixelMoon(w, h, black.data(), dst.data(), 6, 6, &p), 0);
    MP_UI_SetPanoramaMode(0);
    EXPECT_GT(px(dst, w, 2, 15)[0], 0);
    EXPECT_NEAR(px(dst, w, 2, 15)[0], px(dst, w, 38, 15)[0], 1); // offsets +2 and -2
}

} // namespace
