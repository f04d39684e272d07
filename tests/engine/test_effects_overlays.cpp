// Procedural overlays: "Nebel", "Regenbogen" and "Mandelbrot".

#include "effectsfixture.h"

#include <cmath>
#include <cstring>

namespace {

class OverlayTest : public EffectTest {
protected:
    static MP_Params fogParams(float breite, float dichte, float struktur, float x1, float y1, float x2, float y2)
    {
        MP_Params p = freshParams();
        p.p[0][0] = breite;
        p.p[1][0] = dichte;
        p.p[2][0] = struktur;
        p.p[3][0] = x1;
        p.p[3][1] = y1;
        p.p[3][2] = x2;
        p.p[3][3] = y2;
        p.p[4][2] = p.p[4][3] = p.p[4][4] = 0.9f;
        p.p[5][1] = 100.0f;
        return p;
    }
    static MP_Params bowParams(float radius, float links, float rechts, float x, float y)
    {
        MP_Params p = freshParams();
        p.p[0][0] = 0.5f;
        p.p[1][0] = radius;
        p.p[2][0] = 0.4f;
        p.p[3][0] = links;
        p.p[4][0] = rechts;
        p.p[5][0] = x;
        p.p[5][1] = y;
        p.p[6][1] = 100.0f;
        return p;
    }
    static MP_Params fractalParams()
    {
        MP_Params p = freshParams();
        p.p[0][0] = 0.0241f;
        p.p[2][0] = 0.25f;
        p.p[3][0] = p.p[3][1] = 0.5f;
        p.p[4][2] = 0.5f;
        p.p[4][3] = p.p[4][4] = 0.7f;
        p.p[5][1] = 100.0f;
        return p;
    }
};

// ---- "Nebel" -------------------------------------------------------------------------------

TEST_F(OverlayTest, FogWithoutDensityOrOnWhiteLeavesThePicture)
{
    const int w = 33, h = 25;
    auto src = pattern(w, h, 3);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = fogParams(0.5f, 0.0f, 0.9f, 0.1f, 0.95f, 0.9f, 0.95f);
    ASSERT_EQ(MP_calcPixelTiltFog(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src); // reduced worker: exact
    p.p[5][1] = 99.999f;
    ASSERT_EQ(MP_calcPixelTiltFog(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_NEAR(dst[i], src[i], 1);
    // "Struktur" 100 %: white takes no fog.
    auto white = solidImage(w, h, 65535, 65535, 65535);
    p = fogParams(1.0f, 1.0f, 1.0f, 0.5f, 0.5f, 0.5f, 0.5f);
    p.p[4][2] = p.p[4][3] = p.p[4][4] = 0.0f; // black fog would show
    ASSERT_EQ(MP_calcPixelTiltFog(w, h, white.data(), dst.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < dst.size(); ++i)
        ASSERT_GE(dst[i], 65534);
}

TEST_F(OverlayTest, FogOfOnePointIsARoundPatch)
{
    const int n = 41;
    auto src = solidImage(n, n, 10000, 10000, 10000);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = fogParams(0.5f, 1.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.5f); // s = 2: radius 1/4
    ASSERT_EQ(MP_calcPixelTiltFog(n, n, src.data(), dst.data(), 6, 6, &p), 0);
    // Densest at the point, fading to nothing a quarter of the side away.
    EXPECT_GT(px(dst, n, 20, 20)[0], 55000);
    EXPECT_EQ(px(dst, n, 20, 35)[0], 10000);
    EXPECT_EQ(px(dst, n, 35, 20)[0], 10000);
    EXPECT_EQ(px(dst, n, 0, 0)[0], 10000);
    // Equal distances, equal fog (up to rounding).
    for (int d : {3, 6, 8}) {
        const int a = px(dst, n, 20 + d, 20)[0];
        EXPECT_NEAR(px(dst, n, 20, 20 + d)[0], a, 2) << d;
        EXPECT_NEAR(px(dst, n, 21 - d, 20)[0], a, 2) << d; // u = x / w: the patch is centred on 20.5
        EXPECT_GT(a, 10000);
    }
}

TEST_F(OverlayTest, FogBandFollowsAHorizontalLine)
{
    const int w = 30, h = 40;
    auto src = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = fogParams(0.5f, 0.8f, 0.9f, 0.1f, 0.5f, 0.9f, 0.5f); // band 1/4 high each side
    ASSERT_EQ(MP_calcPixelTiltFog(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    // On the line: k = 0.8, grey 0.9 * 0.8 * 65535.
    EXPECT_EQ(px(dst, w, 3, 20)[0], static_cast<int>(0.9f * 65535.0f * 0.8f));
    EXPECT_EQ(px(dst, w, 27, 20)[0], px(dst, w, 3, 20)[0]);
    EXPECT_EQ(px(dst, w, 3, 9)[0], 0);
    EXPECT_EQ(px(dst, w, 3, 31)[0], 0);
    EXPECT_GT(px(dst, w, 3, 15)[0], 0);
}

// ---- "Regenbogen" --------------------------------------------------------------------------

TEST_F(OverlayTest, RainbowAtRadiusZeroLeavesThePicture)
{
    const int w = 40, h = 30;
    auto src = pattern(w, h, 2);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = bowParams(0.0f, 0.1f, 0.9f, 0.5f, 0.5f);
    ASSERT_EQ(MP_calcPixelRegenbogen(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, tripped(src));
}

// "Bogen links" 0 and "Bogen rechts" 100 %: the whole upper half circle,
// fading in and out at both ends. The centre row (theta 0 and 1) gets no
// light (the fade-out base rounds just below 0 there: not black), and
// nothing below the centre is painted.
TEST_F(OverlayTest, RainbowSpansTheUpperHalfCircleAndFadesAtItsEnds)
{
    const int w = 120, h = 80;
    auto src = solidImage(w, h, 20000, 20000, 20000);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = bowParams(0.25f, 0.0f, 1.0f, 0.5f, 0.2f); // centre (60, 40)
    ASSERT_EQ(MP_calcPixelRegenbogen(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    const auto same = tripped(src);
    for (int y = 40; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(px(dst, w, x, y)[c], px(same, w, x, y)[c]) << x << ", " << y;
    // The arc's band lies between ri and ro around the centre: straight up it
    // is brightest, towards both ends of the half circle it fades.
    int top = 0, nearEnds = 0;
    for (int y = 0; y < 40; ++y)
        top = std::max<int>(top, px(dst, w, 60, y)[0]);
    for (int x = 0; x < w; ++x)
        nearEnds = std::max<int>(nearEnds, px(dst, w, x, 39)[0]);
    EXPECT_GT(top, 21000);
    EXPECT_LT(nearEnds, top);
    // Only brightens.
    for (size_t i = 0; i < dst.size(); ++i)
        ASSERT_GE(dst[i], same[i]);
}

// ---- "Linsenreflexion" ----------------------------------------------------------------------

TEST_F(OverlayTest, FlareWithoutSizeOrIntensityLeavesThePicture)
{
    const int w = 37, h = 23;
    auto src = pattern(w, h, 4);
    for (auto [I, G] : {std::pair{0.25f, 0.0f}, std::pair{0.0f, 0.5f}}) {
        std::vector<uint16_t> dst(src.size());
        MP_Params p = freshParams();
        p.p[0][0] = I;
        p.p[1][0] = G;
        p.p[2][0] = 0.75f;
        p.p[2][1] = 0.35f;
        p.p[3][1] = 100.0f;
        ASSERT_EQ(MP_calcPixelLensFlare(w, h, src.data(), dst.data(), 6, 6, &p), 0);
        EXPECT_EQ(dst, tripped(src)) << I << ", " << G;
    }
}

TEST_F(OverlayTest, FlareOfACentredLightIsConcentric)
{
    const int n = 40; // the light on pixel (20, 20)
    auto src = solidImage(n, n, 8000, 8000, 8000);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = freshParams();
    p.p[0][0] = 0.8f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = p.p[2][1] = 0.5f;
    p.p[3][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelLensFlare(n, n, src.data(), dst.data(), 6, 6, &p), 0);
    for (int y = 0; y < n; ++y)
        for (int x = 1; x < n; ++x)
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(px(dst, n, x, y)[c], px(dst, n, n - x, y)[c]) << x << ", " << y;
                ASSERT_EQ(px(dst, n, x, y)[c], px(dst, n, y, x)[c]) << x << ", " << y;
            }
    EXPECT_GT(px(dst, n, 20, 20)[0], 8000 + 0.3 * 65535); // the glow's middle
}

// ---- "Mandelbrot" ----------------------------------------------------------------------------

// Escape count of c = (cr, 0) as the kernel counts it (the imaginary part
// stays 0 on the real axis), or -1 when it does not escape within I.
int realAxisEscape(float cr, int I)
{
    float zr = 0.0f;
    float pr = 1.0f, pi = 1.0f;
    int k = 0, P = 1, q = 0;
    for (;;) {
        zr = zr * zr + cr;
        if (std::fabs(zr - pr) < 1e-8f && std::fabs(0.0f - pi) < 1e-8f)
            return -1;
        if (++q == P) {
            ++P;
            q = 0;
            pr = zr;
            pi = 0.0f;
        }
        if (++k >= I)
            return -1;
        if (!(zr * zr < 4.0f))
            return k;
    }
}

// A 1 x 1 picture shows the upper left corner of the view: cr = (x 3.3 -
// 2.3) - 1.65 / Z, ci = (y 2.6 - 1.3) - 1.3 / Z (the real axis at y = 1).
TEST_F(OverlayTest, FractalViewLimitsAndEscapeCounts)
{
    uint16_t px1[3];
    // "Zoom" 0 at the default centre: the view starts at -2.3 - 1.3i, which
    // escapes at once (k = 1): L = 1 - (1/256 + 0.5).
    MP_Params p = fractalParams();
    ASSERT_EQ(MP_calcPixelMandelbrot(1, 1, px1, px1, 6, 6, &p), 0);
    const float L = 1.0f - (1.0f / 256.0f + 0.5f);
    const float t = 0.701f;
    EXPECT_EQ(px1[0], static_cast<int>((0.501f / t) * L * 65535.0f));
    EXPECT_EQ(px1[1], static_cast<int>((0.701f / t) * L * 65535.0f));

    // A tint of 0 is white.
    p.p[4][2] = p.p[4][3] = p.p[4][4] = 0.0f;
    ASSERT_EQ(MP_calcPixelMandelbrot(1, 1, px1, px1, 6, 6, &p), 0);
    EXPECT_EQ(px1[0], static_cast<int>(L * 65535.0f));
    EXPECT_EQ(px1[2], px1[0]);

    // Iteration limits: 16 at 0, 256 at the default. A point that escapes
    // on the I-th iteration is black, one that escapes a step earlier is
    // coloured.
    auto render = [&](float slider, float x) {
        MP_Params q = fractalParams();
        q.p[0][0] = slider;
        q.p[3][0] = x;
        q.p[3][1] = 1.0f;
        EXPECT_EQ(MP_calcPixelMandelbrot(1, 1, px1, px1, 6, 6, &q), 0);
        return px1[0] + px1[1] + px1[2];
    };
    struct Limit {
        float slider;
        int I;
        bool atLimit, below;
    };
    Limit limits[] = {{0.0f, 16, false, false}, {0.0241f, 256, false, false}};
    float slow = 0.0f; // a point escaping after 1000 to 9000 iterations
    for (float x = 1.2727f; x < 1.3f; x = std::nextafter(x, 2.0f)) {
        const int k = realAxisEscape((x * 3.3f - 2.3f) - 1.65f / 1.0f, 20000);
        if (k > 1000 && k < 9000 && slow == 0.0f)
            slow = x;
        for (Limit& lim : limits) {
            if (k == lim.I && !lim.atLimit) {
                EXPECT_EQ(render(lim.slider, x), 0) << "I " << lim.I;
                lim.atLimit = true;
            } else if (k == lim.I - 1 && !lim.below) {
                EXPECT_GT(render(lim.slider, x), 0) << "I " << lim.I;
                lim.below = true;
            }
        }
        if (k > 0 && k < 15)
            break;
    }
    for (const Limit& lim : limits)
        EXPECT_TRUE(lim.atLimit && lim.below) << "no test point for I " << lim.I;
    // 10000 at 1, and no more for sliders beyond it.
    ASSERT_GT(slow, 0.0f);
    EXPECT_EQ(render(0.0241f, slow), 0);
    EXPECT_GT(render(1.0f, slow), 0);
    EXPECT_GT(render(1e30f, slow), 0);
}

TEST_F(OverlayTest, FractalOfTheEngineStartHasItsPicture)
{
    MP_UI_Init("", 3);
    const uint64_t h = hashSamples(MP_pic_mandelbrot, sizeof(MP_pic_mandelbrot) / sizeof(MP_pic_mandelbrot[0]));
    // The set's body in the middle-left is black, the far left escapes.
    auto at = [](int x, int y, int c) { return MP_pic_mandelbrot[(size_t(y) * 250 + x) * 3 + c]; };
    EXPECT_EQ(at(125, 125, 0) + at(125, 125, 1) + at(125, 125, 2), 0); // c = -0.65: inside
    EXPECT_GT(at(0, 0, 1), 0);
    EXPECT_EQ(h, 4357042389095365593u);
}

} // namespace
