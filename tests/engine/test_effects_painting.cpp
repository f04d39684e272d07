// Region painting: "Pinselzeichnung" and "Barock Gemälde".

#include "effectsfixture.h"

#include <cmath>

namespace {

class PaintingTest : public EffectTest {
protected:
    static MP_Params paintParams(float brush, float sharp)
    {
        MP_Params p = freshParams();
        p.p[0][0] = brush;
        p.p[1][0] = sharp;
        p.p[2][1] = 100.0f;
        return p;
    }
    static MP_Params oelParams(float relief, float brush, float sharp, float lx = 0.2f, float ly = 0.2f)
    {
        MP_Params p = freshParams();
        p.p[0][0] = relief;
        p.p[1][0] = brush;
        p.p[2][0] = sharp;
        p.p[3][0] = lx;
        p.p[3][1] = ly;
        p.p[4][1] = 100.0f;
        return p;
    }
    static void expectNear(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b, int tol)
    {
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i)
            ASSERT_NEAR(a[i], b[i], tol) << i;
    }
};

// Every region its seed alone: the source, up to the float trip of the fill.
TEST_F(PaintingTest, SeedsAloneGiveTheSource)
{
    const int w = 23, h = 17;
    auto src = pattern(w, h, 4);
    std::vector<uint16_t> dst(src.size());
    struct Case {
        float brush, sharp;
    };
    // "Pinsel" 0 (limit 1), "Schärfe" 0 (exact colour only), negative sliders
    // (limit and tolerance held to 1 and 0: every seed still joins).
    for (Case c : {Case{0.0f, 0.5f}, Case{0.5f, 0.0f}, Case{-1.0f, 0.5f}, Case{0.5f, -1.0f}, Case{NAN, NAN}}) {
        MP_Params p = paintParams(c.brush, c.sharp);
        ASSERT_EQ(MP_calcPixelPainting(w, h, src.data(), dst.data(), 6, 6, &p), 0);
        expectNear(dst, src, 1);
    }
}

// A column of pixels within the tolerance: the first region grows limit
// rows up from the seed (itself included) and limit - 1 down.
TEST_F(PaintingTest, GrowthLimitFollowsTheBrush)
{
    struct Case {
        float brush;
        int limit;
    };
    for (Case c : {Case{0.5f, 436}, Case{1.0f, 1001}}) {
        const int w = 1, h = 2400, cy = h >> 1;
        std::vector<uint16_t> src(size_t(h) * 3);
        for (int y = 0; y < h; ++y)
            src[size_t(y) * 3] = src[size_t(y) * 3 + 1] = src[size_t(y) * 3 + 2] = static_cast<uint16_t>(10000 + y);
        std::vector<uint16_t> dst(src.size());
        MP_Params p = paintParams(c.brush, 1.0f);
        ASSERT_EQ(MP_calcPixelPainting(w, h, src.data(), dst.data(), 6, 6, &p), 0);
        const uint16_t mean = dst[size_t(cy) * 3];
        int top = cy, bottom = cy;
        while (top > 0 && dst[size_t(top - 1) * 3] == mean)
            --top;
        while (bottom + 1 < h && dst[size_t(bottom + 1) * 3] == mean)
            ++bottom;
        EXPECT_EQ(cy - top + 1, c.limit) << c.brush;
        EXPECT_EQ(bottom - cy, c.limit - 1) << c.brush;
        EXPECT_NEAR(mean, 10000 + cy, 2) << c.brush; // the mean of rows cy - limit + 1 .. cy + limit - 1
    }
}

// "Pinsel" from a file far beyond its range: deep growth, no crash.
TEST_F(PaintingTest, HugeBrushGrowsWithoutRecursion)
{
    const int w = 300, h = 300;
    auto src = solidImage(w, h, 20000, 30000, 40000);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = paintParams(1e6f, 1.0f);
    ASSERT_EQ(MP_calcPixelPainting(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < dst.size(); i += 3) // one region
        ASSERT_TRUE(dst[i] == dst[0] && dst[i + 1] == dst[1] && dst[i + 2] == dst[2]) << i;
    EXPECT_NEAR(dst[0], 20000, 20); // its mean (a float sum over 90,000 pixels)
    p = oelParams(0.1f, 1e6f, 1.0f);
    ASSERT_EQ(MP_calcPixelOelbild(w, h, src.data(), dst.data(), 6, 6, &p), 0);
}

// A region touching the right edge continues at the left edge in panorama
// mode: the two edge blocks become one region with one mean.
TEST_F(PaintingTest, PanoramaRegionsCrossTheEdge)
{
    const int w = 20, h = 6;
    std::vector<uint16_t> src(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint16_t v = x < 3 ? 30000 : (x >= w - 3 ? 30100 : 5000);
            for (int c = 0; c < 3; ++c)
                src[(size_t(y) * w + x) * 3 + c] = v;
        }
    std::vector<uint16_t> plain(src.size()), wrapped(src.size());
    for (auto driver : {MP_calcPixelPainting, MP_calcPixelOelbild}) {
        MP_Params p = driver == MP_calcPixelPainting ? paintParams(1.0f, 0.01f) : oelParams(0.0f, 1.0f, 0.02f);
        ASSERT_EQ(driver(w, h, src.data(), plain.data(), 6, 6, &p), 0);
        MP_UI_SetPanoramaMode(1);
        ASSERT_EQ(driver(w, h, src.data(), wrapped.data(), 6, 6, &p), 0);
        MP_UI_SetPanoramaMode(0);
        if (driver == MP_calcPixelPainting) {
            EXPECT_NE(px(plain, w, 0, 2)[0], px(plain, w, w - 1, 2)[0]);
            EXPECT_EQ(px(wrapped, w, 0, 2)[0], px(wrapped, w, w - 1, 2)[0]);
            EXPECT_NEAR(px(wrapped, w, 0, 2)[0], 30050, 1); // the mean of both blocks
        } else {
            EXPECT_NE(wrapped, plain);
        }
    }
}

// "Barock Gemälde" with "Schärfe" 0: every region is its seed alone, and only
// the relief pass ("Wachsbild" with the pulled-in light, "Schärfe" 0.5 and
// the same blend) changes the picture.
TEST_F(PaintingTest, OelbildWithoutSharpnessIsTheReliefAlone)
{
    const int w = 29, h = 21;
    auto src = pattern(w, h, 6);
    for (float opacity : {100.0f, 70.0f}) {
        std::vector<uint16_t> dst(src.size());
        MP_Params p = oelParams(0.1f, 0.5f, 0.0f, 0.2f, 0.9f);
        p.p[4][1] = opacity;
        ASSERT_EQ(MP_calcPixelOelbild(w, h, src.data(), dst.data(), 6, 6, &p), 0);
        // The fill at opacity o mixes the source with itself.
        auto painted = tripped(src);
        MP_Params q = freshParams();
        q.p[0][0] = 0.1f;
        q.p[1][0] = 0.5f;
        q.p[2][0] = 0.35f + 0.3f * 0.2f;
        q.p[2][1] = 0.35f + 0.3f * 0.9f;
        q.p[3][1] = opacity * 0.01f * 100.0f;
        std::vector<uint16_t> expected(src.size());
        ASSERT_EQ(MP_calcPixelWaxPaint(w, h, painted.data(), expected.data(), 6, 6, &q), 0);
        expectNear(dst, expected, opacity < 100.0f ? 3 : 0);
    }
}

int g_paintMessages = 0;
float g_lastPaintMessage = 0.0f;
void countPaintMessage(int, float f)
{
    ++g_paintMessages;
    g_lastPaintMessage = f;
}

TEST_F(PaintingTest, ProgressOfTheGrowing)
{
    const int w = 30, h = 20;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    C_SetAddMessageHook(countPaintMessage);
    _category = 2;
    g_paintMessages = 0;
    MP_Params p = paintParams(0.1f, 0.2f);
    ASSERT_EQ(MP_calcPixelPainting(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(g_paintMessages, 1); // ring 0 only (rings 0..15); the fill posts none
    // "Barock Gemälde": ring 0, 3/4, then the relief pass after every chunk (one).
    g_paintMessages = 0;
    p = oelParams(0.1f, 0.1f, 0.2f);
    ASSERT_EQ(MP_calcPixelOelbild(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(g_paintMessages, 3);
    _category = -1;
}

} // namespace
