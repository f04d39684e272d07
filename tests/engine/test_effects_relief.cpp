// Relief lighting filters ("Wachsbild", "Folie", "Weiches Relief",
// "Foto-Reflektor") and drawing filters ("Comic-Stil", "Bleistiftzeichnung").

#include "effectsfixture.h"

#include "engine/effects/drawing.h"

#include <cstdlib>
#include <limits>

namespace {

using Driver = int (*)(int, int, ushort*, ushort*, int, int, MP_Params*);

class ReliefTest : public EffectTest {
protected:
    static MP_Params waxParams(float radius, float sharp, float px = 0.5f, float py = 0.5f)
    {
        MP_Params p = freshParams();
        p.p[0][0] = radius;
        p.p[1][0] = sharp;
        p.p[2][0] = px;
        p.p[2][1] = py;
        p.p[3][1] = 100.0f;
        return p;
    }
    static uint16_t tripped(uint16_t v) { return static_cast<uint16_t>(static_cast<int>(v * MP_k * 65535.0f)); }
};

// Inside a flat image the slope vanishes and the shade is T[65535] =
// 1 + k / 2 = 1.5005 at "Schärfe" 0.5: 32768 becomes 49168.
TEST_F(ReliefTest, FlatGreyUnderACentredLightBrightensByTheTopOfTheShadeTable)
{
    const int w = 40, h = 30;
    for (float opacity : {100.0f, 99.999f}) { // reduced and full worker
        auto src = solidImage(w, h, 32768, 32768, 32768);
        std::vector<uint16_t> dst(src.size());
        MP_Params p = waxParams(0.1f, 0.5f); // R 5
        p.p[3][1] = opacity;
        ASSERT_EQ(MP_calcPixelWaxPaint(w, h, src.data(), dst.data(), 6, 6, &p), 0);
        EXPECT_NEAR(MP_temp_table[65535], 1.5005f, 1e-6f);
        if (opacity == 100.0f)
            EXPECT_EQ(px(dst, w, 20, 15)[0], 49168);
        else
            EXPECT_NEAR(px(dst, w, 20, 15)[0], 49168, 1);
    }
    // One pixel wide or high: the cut direction adds nothing.
    for (auto [cw, ch] : {std::pair{1, 30}, std::pair{30, 1}}) {
        auto src = solidImage(cw, ch, 32768, 32768, 32768);
        std::vector<uint16_t> dst(src.size());
        MP_Params p = waxParams(0.1f, 0.5f);
        ASSERT_EQ(MP_calcPixelWaxPaint(cw, ch, src.data(), dst.data(), 6, 6, &p), 0);
        for (size_t i = 0; i < dst.size(); ++i)
            ASSERT_NEAR(dst[i], 49168, 1) << cw << " x " << ch << " at " << i;
    }
}

TEST_F(ReliefTest, FolieKeepsChannelsBrighterThanTheShade)
{
    const int w = 24, h = 24;
    auto src = solidImage(w, h, 65535, 2000, 30000);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = waxParams(0.1f, 0.0f, 0.5f, 0.5f); // k 0.001: shade about 1
    ASSERT_EQ(MP_calcPixelPlastics(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    const uint16_t* c = px(dst, w, 12, 12);
    EXPECT_EQ(c[0], 65535);
    EXPECT_GE(c[1], 65400); // raised to the shade
    EXPECT_GE(c[2], 65400);
    // Light from the side (flat picture: cosine 0.1 / |L| = 0.196, shade
    // 0.196^2.001 * 2.0005 = 0.077): brighter channels keep their value.
    p = waxParams(0.1f, 1.0f, 0.0f, 0.5f);
    ASSERT_EQ(MP_calcPixelPlastics(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    c = px(dst, w, 12, 12);
    EXPECT_EQ(c[0], 65535);
    EXPECT_NEAR(c[1], 0.0768 * 65535, 20);
    EXPECT_EQ(c[2], tripped(30000));
}

TEST_F(ReliefTest, BlackReflectorLeavesTheImage)
{
    const int w = 31, h = 22;
    auto src = pattern(w, h, 5);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = freshParams();
    p.p[0][0] = 0.3f;
    p.p[0][1] = 0.2f;
    p.p[2][1] = 100.0f; // colour slot 1 stays black
    ASSERT_EQ(MP_calcPixelAddReflector(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_NEAR(dst[i], src[i], 1) << i;
    // A white reflector only adds.
    p.p[1][2] = p.p[1][3] = p.p[1][4] = 1.0f;
    ASSERT_EQ(MP_calcPixelAddReflector(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    size_t brighter = 0;
    for (size_t i = 0; i < src.size(); ++i) {
        ASSERT_GE(dst[i] + 1, src[i]) << i;
        brighter += dst[i] > src[i] + 1 ? 1 : 0;
    }
    EXPECT_GT(brighter, src.size() / 2);
}

TEST_F(ReliefTest, SoftReliefWithoutTintingShowsTheShadedColour)
{
    const int w = 30, h = 20;
    auto src = pattern(w, h, 2);
    std::vector<uint16_t> none(src.size()), tinted(src.size());
    MP_Params p = freshParams();
    p.p[0][0] = 0.1f;
    p.p[1][0] = 0.75f;
    p.p[2][0] = 0.35f;
    p.p[3][0] = 0.0f; // "Farbtonung" 0
    p.p[4][0] = p.p[4][1] = 0.4f;
    p.p[5][2] = 0.47f;
    p.p[5][3] = 0.33f;
    p.p[5][4] = 0.16f;
    p.p[6][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelSoftRelief(w, h, src.data(), none.data(), 6, 6, &p), 0);
    // Every channel is the source times one shade of the pixel.
    for (int i = 0; i < w * h; ++i) {
        const uint16_t* s = &src[size_t(i) * 3];
        const uint16_t* d = &none[size_t(i) * 3];
        if (s[0] < 2000 || s[1] < 2000 || s[2] < 2000 || d[0] == 65535 || d[1] == 65535 || d[2] == 65535)
            continue;
        const double g0 = double(d[0]) / s[0], g1 = double(d[1]) / s[1], g2 = double(d[2]) / s[2];
        ASSERT_NEAR(g0, g1, 0.002) << i;
        ASSERT_NEAR(g0, g2, 0.002) << i;
    }
    p.p[3][0] = 0.5f;
    ASSERT_EQ(MP_calcPixelSoftRelief(w, h, src.data(), tinted.data(), 6, 6, &p), 0);
    EXPECT_NE(none, tinted);
}

// The row table of the block is refilled for the driver's radius: whatever an
// earlier run left in it, the result is the same.
TEST_F(ReliefTest, RowTableLeftoversDoNotChangeTheResult)
{
    const int w = 45, h = 33;
    auto src = pattern(w, h, 7);
    const Driver drivers[] = {MP_calcPixelWaxPaint, MP_calcPixelPlastics, MP_calcPixelSoftRelief,
                              MP_calcPixelAddReflector, MP_calcPixelComicPaint, MP_calcPixelPencilPaint};
    for (Driver d : drivers) {
        MP_Params p = waxParams(0.16f, 0.5f, 0.3f, 0.6f);
        p.p[1][0] = 0.3f;
        p.p[6][1] = p.p[5][1] = p.p[3][1] = p.p[2][1] = 100.0f;
        flatSpline(p, 2, 1.0f);
        MP_Params garbage = p;
        for (int i = 0; i < MP_KERNEL_WIDTH_TABLE; ++i)
            garbage.lx[i] = static_cast<short>((i * 7919) % 1200 - 100);
        std::vector<uint16_t> a(src.size()), b(src.size());
        ASSERT_EQ(d(w, h, src.data(), a.data(), 6, 6, &p), 0);
        ASSERT_EQ(d(w, h, src.data(), b.data(), 6, 6, &garbage), 0);
        EXPECT_EQ(a, b);
    }
}

// Panorama windows wrap columns by a full modulo, however narrow the image.
TEST_F(ReliefTest, PanoramaNarrowerThanTheWindow)
{
    const Driver drivers[] = {MP_calcPixelWaxPaint, MP_calcPixelAddReflector, MP_calcPixelComicPaint,
                              MP_calcPixelPencilPaint};
    MP_UI_SetPanoramaMode(1);
    for (Driver d : drivers) {
        const int w = 5, h = 70;
        auto src = pattern(w, h, 4);
        std::vector<uint16_t> one(src.size()), eight(src.size());
        MP_Params p = waxParams(1.0f, 0.5f, 0.2f, 0.7f); // R 50
        p.p[2][1] = p.p[3][1] = 100.0f;
        flatSpline(p, 2, 1.0f);
        MP_UI_SetIdealThreadCount(1);
        ASSERT_EQ(d(w, h, src.data(), one.data(), 6, 6, &p), 0);
        MP_UI_SetIdealThreadCount(8);
        ASSERT_EQ(d(w, h, src.data(), eight.data(), 6, 6, &p), 0);
        EXPECT_EQ(one, eight);
    }
    // A column of identical pixels wraps onto itself: a picture whose
    // columns are equal has no horizontal slope in panorama mode.
    const int w = 9, h = 40;
    std::vector<uint16_t> src(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                src[(size_t(y) * w + x) * 3 + c] = static_cast<uint16_t>(y * 1500);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = waxParams(0.5f, 0.5f, 0.1f, 0.5f);
    ASSERT_EQ(MP_calcPixelWaxPaint(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 1; x < w; ++x)
            ASSERT_EQ(px(dst, w, x, y)[0], px(dst, w, 0, y)[0]) << x << ", " << y;
    MP_UI_SetPanoramaMode(0);
}

// Eight-pixel runs give each pixel the sums it gets alone: a pixel whose
// window lies inside both images gets the same result from a wide image
// (gathered in a run) and from a narrow one (taken alone).
TEST_F(ReliefTest, RunsOfPixelsMatchSinglePixels)
{
    const int w = 64, h = 40, n = 26;
    auto src = pattern(w, h, 8);
    std::vector<uint16_t> part(size_t(n) * h * 3);
    for (int y = 0; y < h; ++y)
        std::copy_n(&src[size_t(y) * w * 3], n * 3, &part[size_t(y) * n * 3]);
    const Driver drivers[] = {MP_calcPixelWaxPaint, MP_calcPixelComicPaint, MP_calcPixelPencilPaint};
    for (Driver d : drivers) {
        MP_Params p = waxParams(0.5f, 0.4f, 0.3f, 0.3f);
        p.previewscalingfactor = 0.2f; // radius 5 for all three
        p.p[2][1] = p.p[3][1] = p.p[5][1] = 100.0f;
        flatSpline(p, 2, 0.7f);
        std::vector<uint16_t> wide(src.size()), out(part.size());
        ASSERT_EQ(d(w, h, src.data(), wide.data(), 6, 6, &p), 0);
        MP_Params q = p;
        ASSERT_EQ(d(n, h, part.data(), out.data(), 6, 6, &q), 0);
        for (int y = 0; y < h; ++y)
            for (int x = 16; x < 20; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(px(out, n, x, y)[c], px(wide, w, x, y)[c]) << x << ", " << y;
    }
}

// ---- Drawing filters -------------------------------------------------------------------------

TEST_F(ReliefTest, ComicBlackPixelStaysBlack)
{
    const int w = 21, h = 21;
    auto src = pattern(w, h, 3);
    uint16_t* c = &src[(size_t(10) * w + 10) * 3];
    c[0] = c[1] = c[2] = 0;
    std::vector<uint16_t> dst(src.size());
    MP_Params p = freshParams();
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.2f;
    p.p[2][0] = 0.15f;
    p.p[3][0] = 0.48f;
    p.p[4][2] = p.p[4][3] = p.p[4][4] = 0.01f;
    p.p[5][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelComicPaint(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    const uint16_t* d = px(dst, w, 10, 10);
    EXPECT_EQ(d[0] + d[1] + d[2], 0);
    EXPECT_NE(dst, std::vector<uint16_t>(dst.size(), 0));
}

// "Comic-Stil"'s vector effect (fmod by truncation and FMA, logarithms per
// lane), the pixel-by-pixel one and the code before the run rework give the
// same bits: on a picture whose red channel runs through all 65,536 values
// (so the luminance through as many), with slider values that give large
// quotients, the smallest posterising step, a step of zero or below (the
// library's fmod), NaN and huge solarising, in both workers.
TEST_F(ReliefTest, ComicVectorEffectEqualsThePixelByPixelOne)
{
    const int w = 256, h = 256;
    std::vector<uint16_t> src(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* c = &src[(size_t(y) * w + x) * 3];
            c[0] = static_cast<uint16_t>(y * 256 + x);
            c[1] = static_cast<uint16_t>((x * 7919 + y * 104729) & 0xFFFF);
            c[2] = static_cast<uint16_t>(((x ^ y) * 331) & 0xFFFF);
        }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Sliders {
        float strength, level;
    };
    const Sliders cases[] = {{0.15f, 0.48f}, {1.0f, 1.0f},     {0.0f, 0.0f},  {2.5f, 1.0167f},
                             {1e6f, 2.0f},   {-3.0f, 1.0168f}, {nan, nan},    {0.7f, 1e9f}};
    for (const Sliders& k : cases) {
        for (float opacity : {100.0f, 99.999f}) {
            MP_Params p = freshParams();
            p.p[0][0] = 0.1f;
            p.p[1][0] = 0.2f;
            p.p[2][0] = k.strength;
            p.p[3][0] = k.level;
            p.p[4][2] = 0.3f;
            p.p[4][3] = 0.01f;
            p.p[4][4] = 0.6f;
            p.p[5][1] = opacity;
            auto run = [&](bool reference, bool portable) {
                g_comicReference = reference;
                g_comicPortable = portable;
                std::vector<uint16_t> dst(src.size());
                MP_Params q = p;
                EXPECT_EQ(MP_calcPixelComicPaint(w, h, src.data(), dst.data(), 6, 6, &q), 0);
                g_comicReference = g_comicPortable = false;
                return dst;
            };
            const auto reference = run(true, false);
            EXPECT_EQ(run(false, true), reference) << k.strength << " " << k.level << " " << opacity;
            EXPECT_EQ(run(false, false), reference) << k.strength << " " << k.level << " " << opacity;
        }
    }
}

TEST_F(ReliefTest, PencilCurveDecidesWhereTheDrawingShows)
{
    const int w = 26, h = 19;
    auto src = pattern(w, h, 6);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = freshParams();
    p.p[0][0] = 0.75f;
    p.p[1][0] = 0.5f;
    p.p[3][1] = 100.0f;
    flatSpline(p, 2, 0.0f); // the curve lets nothing through
    ASSERT_EQ(MP_calcPixelPencilPaint(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_NEAR(dst[i], src[i], 1) << i;
    // A flat picture has no strokes (mean power below 0.4, u < 0): white
    // wherever the curve is 1.
    auto flat = solidImage(w, h, 20000, 30000, 40000);
    flatSpline(p, 2, 1.0f);
    ASSERT_EQ(MP_calcPixelPencilPaint(w, h, flat.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, std::vector<uint16_t>(dst.size(), 65535));
    // Strokes darken the edges of a busy picture.
    ASSERT_EQ(MP_calcPixelPencilPaint(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_NE(dst, std::vector<uint16_t>(dst.size(), 65535));
}

} // namespace
