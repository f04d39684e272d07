// Particle overlays: "Regen", "Schnee", "Polarlicht", "Luftblasen" and
// "Seifenblasen".

#include "effectsfixture.h"

namespace {

// The seed after `draws` draws from `seed`.
int seedAfter(int seed, int draws)
{
    MP_UI_SetRandomSeed(seed);
    for (int i = 0; i < draws; ++i)
        MP_rand();
    return MP_UI_GetRandomSeed();
}

class WeatherTest : public EffectTest {
protected:
    static MP_Params rainParams(float density, float length, float direction, float transparency)
    {
        MP_Params p = freshParams();
        p.p[0][0] = density;
        p.p[1][0] = length;
        p.p[2][0] = direction;
        p.p[3][0] = transparency;
        p.p[4][1] = 100.0f;
        return p;
    }
    static MP_Params snowParams(float density, float size, float intensity, float scale = 1.0f)
    {
        MP_Params p = freshParams();
        p.p[0][0] = density;
        p.p[1][0] = size;
        p.p[2][0] = intensity;
        p.p[3][1] = 100.0f;
        p.previewscalingfactor = scale;
        return p;
    }
    static MP_Params auroraParams(float intensity, float x1, float y1, float x2, float y2)
    {
        MP_Params p = freshParams();
        p.p[0][0] = intensity;
        p.p[1][0] = 0.25f;
        p.p[2][0] = 0.7f;
        p.p[3][0] = 0.0f;
        p.p[4][0] = x1;
        p.p[4][1] = y1;
        p.p[4][2] = x2;
        p.p[4][3] = y2;
        p.p[5][2] = 0.55f;
        p.p[5][3] = 0.98f;
        p.p[5][4] = 0.69f;
        p.p[6][1] = 100.0f;
        return p;
    }
    static MP_Params bubbleParams(float density, float size, float intensity, float emitter, float x = 0.5f,
                                  float y = 0.5f)
    {
        MP_Params p = freshParams();
        p.p[0][0] = density;
        p.p[1][0] = size;
        p.p[2][0] = intensity;
        p.p[3][0] = emitter;
        p.p[4][0] = x;
        p.p[4][1] = y;
        p.p[5][1] = 100.0f;
        return p;
    }
    static void uniformSprites(uint16_t v, int w = 16, int h = 16)
    {
        for (int id = 40; id <= 45; ++id)
            fillFlatTexture(id, w, h, v, v, v);
    }
};

// ---- "Regen" -------------------------------------------------------------------------------

TEST_F(WeatherTest, RainCountsDropsFromOne)
{
    // (h + w) 50 (0.01 + 0.99 "Dichte") = 1.5: n = 1, n - 1 = 0 drops.
    auto src = pattern(1, 2, 3);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = rainParams(0.0f, 0.4f, 0.39f, 0.5f);
    ASSERT_EQ(MP_calcPixelRain(1, 2, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src); // no layer pass either: exactly the source
    EXPECT_EQ(MP_UI_GetRandomSeed(), 0x12345678);
    // 40 x 40 at "Dichte" 0: n = 40, 39 drops of three draws each.
    auto big = pattern(40, 40, 3);
    std::vector<uint16_t> out(big.size());
    ASSERT_EQ(MP_calcPixelRain(40, 40, big.data(), out.data(), 6, 6, &p), 0);
    EXPECT_EQ(MP_UI_GetRandomSeed(), seedAfter(0x12345678, 39 * 3));
}

// "Transparenz" 100 %: every weight is 0, yet the 16383 weights lower white
// by 4 wherever a streak passes.
TEST_F(WeatherTest, RainOfZeroWeightLowersWhiteByFour)
{
    const int w = 50, h = 60;
    auto white = solidImage(w, h, 65535, 65535, 65535);
    std::vector<uint16_t> dst(white.size());
    MP_Params p = rainParams(0.495f, 0.4f, 0.39f, 1.0f);
    ASSERT_EQ(MP_calcPixelRain(w, h, white.data(), dst.data(), 6, 6, &p), 0);
    size_t touched = 0;
    for (uint16_t v : dst) {
        ASSERT_TRUE(v == 65535 || v == 65531 || v < 65531) << v;
        touched += v < 65535 ? 1 : 0;
    }
    EXPECT_GT(touched, 0u);
    // A pixel touched once reads 65531.
    EXPECT_NE(std::find(dst.begin(), dst.end(), 65531), dst.end());
}

// Equal parameters and size: equal rain; the layer pass only at a blend, an
// opacity below 100 % or a mask; a separate destination gets the result and
// the source stays.
TEST_F(WeatherTest, RainIsSeededAndLayeredOnlyWhenAsked)
{
    const int w = 37, h = 45;
    auto src = pattern(w, h, 8);
    const auto original = src;
    std::vector<uint16_t> a(src.size()), b(src.size()), layered(src.size());
    MP_Params p = rainParams(0.495f, 0.4f, 0.2f, 0.3f);
    ASSERT_EQ(MP_calcPixelRain(w, h, src.data(), a.data(), 6, 6, &p), 0);
    EXPECT_EQ(src, original);
    ASSERT_EQ(MP_calcPixelRain(w, h, src.data(), b.data(), 6, 6, &p), 0);
    EXPECT_EQ(a, b);
    EXPECT_EQ(hashSamples(a), 14855604324559985639u);
    p.p[4][1] = 99.999f;
    ASSERT_EQ(MP_calcPixelRain(w, h, src.data(), layered.data(), 6, 6, &p), 0);
    for (size_t i = 0; i < a.size(); ++i)
        ASSERT_NEAR(layered[i], a[i], 1) << i;
    // A different size moves every drop.
    auto wider = pattern(w + 1, h, 8);
    std::vector<uint16_t> c(wider.size());
    p.p[4][1] = 100.0f;
    ASSERT_EQ(MP_calcPixelRain(w + 1, h, wider.data(), c.data(), 6, 6, &p), 0);
    EXPECT_NE(hashSamples(c), hashSamples(a));
}

// Streak direction: at "Richtung" 0.5 a streak runs straight down, at 0 and
// 1 it moves one column a row (left, right). Counted over the rain of a
// black picture: a lit pixel's streak goes on below it, below left or below
// right.
TEST_F(WeatherTest, RainDirectionMovesOneColumnPerRowAtTheEnds)
{
    const int w = 120, h = 100; // 110 drops, streaks up to 15 rows
    auto black = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> dst(black.size());
    struct Case {
        float direction;
        int shift;
    };
    for (Case c : {Case{0.5f, 0}, Case{0.0f, -1}, Case{1.0f, 1}}) {
        MP_Params p = rainParams(0.0f, 1.0f, c.direction, 0.0f);
        ASSERT_EQ(MP_calcPixelRain(w, h, black.data(), dst.data(), 6, 6, &p), 0);
        int follows[3] = {0, 0, 0}; // below left, below, below right
        for (int y = 0; y + 1 < h; ++y)
            for (int x = 1; x + 1 < w; ++x) {
                if (px(dst, w, x, y)[0] == 0)
                    continue;
                for (int s = -1; s <= 1; ++s)
                    follows[s + 1] += px(dst, w, x + s, y + 1)[0] > 0 ? 1 : 0;
            }
        const int best = static_cast<int>(std::max_element(follows, follows + 3) - follows) - 1;
        EXPECT_EQ(best, c.shift) << c.direction << ": " << follows[0] << " " << follows[1] << " " << follows[2];
    }
}

// ---- "Schnee" ------------------------------------------------------------------------------

TEST_F(WeatherTest, SnowNeedsAWholeFlakeSheet)
{
    const int w = 100, h = 80;
    auto src = pattern(w, h, 2);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = snowParams(0.01f, 0.495f, 0.05f, 0.01f); // 7 flakes a layer
    ASSERT_EQ(MP_calcPixelSnow(w, h, src.data(), dst.data(), 6, 6, &p), 0); // no sheet
    EXPECT_EQ(dst, src);
    EXPECT_EQ(MP_UI_GetRandomSeed(), 0x12345678);
    fillFlakeSheet(575, 640); // one column short
    ASSERT_EQ(MP_calcPixelSnow(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src);
    fillFlakeSheet();
    ASSERT_EQ(MP_calcPixelSnow(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_NE(dst, src);
    EXPECT_EQ(hashSamples(dst), 18058661037331918829u);
    EXPECT_NE(std::count(dst.begin(), dst.end(), uint16_t(65535)), static_cast<ptrdiff_t>(dst.size()));
}

// At a preview scale where the count is 0 nothing is drawn and no number
// drawn; at one where it is 1, ten flakes of twelve draws each, all of
// class 9 (the layer term truncates to 0): 10 x 10 texels each.
TEST_F(WeatherTest, SnowFlakeCountsAndClasses)
{
    fillFlakeSheet();
    const int w = 300, h = 300;
    auto black = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> dst(black.size());
    MP_Params p = snowParams(1.0f, 1.0f, 1.0f, 0.00002f); // 0.8 flakes
    ASSERT_EQ(MP_calcPixelSnow(w, h, black.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, black);
    EXPECT_EQ(MP_UI_GetRandomSeed(), 0x12345678);
    p.previewscalingfactor = 0.00003f; // 1.2: one flake a layer
    ASSERT_EQ(MP_calcPixelSnow(w, h, black.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(MP_UI_GetRandomSeed(), seedAfter(0x12345678, 10 * 12));
    size_t lit = 0;
    for (size_t i = 0; i < dst.size(); i += 3) {
        ASSERT_EQ(dst[i], dst[i + 1]); // white: the same on every channel
        lit += dst[i] > 0 ? 1 : 0;
    }
    EXPECT_GT(lit, 0u);
    EXPECT_LE(lit, 10u * 100u);
}

// ---- "Polarlicht" --------------------------------------------------------------------------

TEST_F(WeatherTest, AuroraIsSeededAndDrawnAlongItsLine)
{
    const int w = 80, h = 60;
    auto src = solidImage(w, h, 3000, 3000, 6000);
    std::vector<uint16_t> a(src.size()), b(src.size());
    MP_Params p = auroraParams(0.5f, 0.1f, 0.15f, 0.9f, 0.35f);
    ASSERT_EQ(MP_calcPixelPolarLight(w, h, src.data(), a.data(), 6, 6, &p), 0);
    ASSERT_EQ(MP_calcPixelPolarLight(w, h, src.data(), b.data(), 6, 6, &p), 0);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, src);
    EXPECT_EQ(hashSamples(a), 10201491429020314404u);
    // Only adds, and only green-heavy light.
    for (size_t i = 0; i < a.size(); ++i)
        ASSERT_GE(a[i], src[i]);
    // "Variante" picks other frequencies.
    p.p[3][0] = 0.3f;
    ASSERT_EQ(MP_calcPixelPolarLight(w, h, src.data(), b.data(), 6, 6, &p), 0);
    EXPECT_NE(a, b);
    // Drawn from right to left, the same line gives a curtain too.
    p = auroraParams(0.5f, 0.9f, 0.35f, 0.1f, 0.15f);
    ASSERT_EQ(MP_calcPixelPolarLight(w, h, src.data(), b.data(), 6, 6, &p), 0);
    EXPECT_NE(b, src);
}

TEST_F(WeatherTest, AuroraWithoutLineOrIntensityDrawsNothing)
{
    const int w = 50, h = 40;
    auto src = pattern(w, h, 5);
    std::vector<uint16_t> dst(src.size());
    MP_Params p = auroraParams(0.5f, 0.4f, 0.3f, 0.4f, 0.3f); // coincident: C = 1, brightness 0
    ASSERT_EQ(MP_calcPixelPolarLight(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src);
    p = auroraParams(0.0f, 0.1f, 0.15f, 0.9f, 0.35f);
    ASSERT_EQ(MP_calcPixelPolarLight(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src);
}

// ---- Bubbles -----------------------------------------------------------------------------------

// Defaults: 500 bubbles; air 7 draws each with weight 4914, soap 4 draws
// each with weight 8191. Uniform sprites of 16384 add exactly the weight per
// bubble covering a pixel.
TEST_F(WeatherTest, BubbleCountsAndWeightsAtTheDefaults)
{
    uniformSprites(16384);
    const int w = 200, h = 200;
    auto black = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> dst(black.size());
    struct Case {
        bool air;
        float size, intensity, emitter;
        int seed, draws, weight;
    };
    for (Case c : {Case{true, 0.495f, 0.3f, 0.1f, 0x12345678, 7, 4914},
                   Case{false, 0.8f, 0.5f, 0.85f, static_cast<int>(0x86315279u), 4, 8191}}) {
        MP_Params p = bubbleParams(0.495f, c.size, c.intensity, c.emitter);
        p.previewscalingfactor = 0.25f; // small bubbles: some stand alone
        const int r = c.air ? MP_calcPixelAirBubbles(w, h, black.data(), dst.data(), 6, 6, &p)
                            : MP_calcPixelSoapBubbles(w, h, black.data(), dst.data(), 6, 6, &p);
        ASSERT_EQ(r, 0);
        EXPECT_EQ(MP_UI_GetRandomSeed(), seedAfter(c.seed, 500 * c.draws)) << c.air;
        size_t lit = 0;
        for (size_t i = 0; i < dst.size(); ++i) {
            if (dst[i] == 65535)
                continue;
            ASSERT_EQ(dst[i] % c.weight, 0) << i;
            lit += dst[i] > 0 ? 1 : 0;
        }
        EXPECT_GT(lit, 0u) << c.air;
    }
}

// "Emitter" 0: every soap bubble is centred on the emitter; the picture is
// symmetric about it. A bubble at the right edge is cut there, or continues
// at the left edge in panorama mode.
TEST_F(WeatherTest, SoapBubblesAroundTheEmitterAndAcrossTheEdge)
{
    uniformSprites(16384);
    const int w = 60, h = 40;
    auto black = solidImage(w, h, 0, 0, 0);
    std::vector<uint16_t> dst(black.size());
    MP_Params p = bubbleParams(0.01f, 0.3f, 0.05f, 0.0f, 0.5f, 0.5f);
    ASSERT_EQ(MP_calcPixelSoapBubbles(w, h, black.data(), dst.data(), 6, 6, &p), 0);
    for (int d = 1; d < 20; ++d) {
        EXPECT_EQ(px(dst, w, 30 + d, 20)[0], px(dst, w, 30 - d, 20)[0]) << d;
        EXPECT_EQ(px(dst, w, 30, 20 + d)[0], px(dst, w, 30, 20 - d)[0]) << d;
    }
    EXPECT_GT(px(dst, w, 30, 20)[0], 0);
    p = bubbleParams(0.01f, 0.3f, 0.05f, 0.0f, 1.0f, 0.5f); // centred on column 60
    ASSERT_EQ(MP_calcPixelSoapBubbles(w, h, black.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(px(dst, w, 0, 20)[0], 0);
    EXPECT_GT(px(dst, w, w - 1, 20)[0], 0);
    MP_UI_SetPanoramaMode(1);
    ASSERT_EQ(MP_calcPixelSoapBubbles(w, h, black.data(), dst.data(), 6, 6, &p), 0);
    MP_UI_SetPanoramaMode(0);
    EXPECT_GT(px(dst, w, 0, 20)[0], 0);
}

TEST_F(WeatherTest, BubblesThatAddNothing)
{
    const int w = 40, h = 30;
    auto src = pattern(w, h, 9);
    std::vector<uint16_t> dst(src.size());
    // Air-bubble texels of brightness 128 or less add nothing.
    uniformSprites(128);
    MP_Params p = bubbleParams(0.495f, 0.495f, 1.0f, 0.1f);
    ASSERT_EQ(MP_calcPixelAirBubbles(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src);
    // Radius 0 everywhere: a preview scale too small for any pixel.
    uniformSprites(30000);
    p.previewscalingfactor = 0.001f;
    ASSERT_EQ(MP_calcPixelAirBubbles(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src);
    ASSERT_EQ(MP_calcPixelSoapBubbles(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src);
    // A sprite missing or smaller than slot 40: no bubbles, no draws.
    p.previewscalingfactor = 1.0f;
    fillFlatTexture(43, 15, 16, 30000, 30000, 30000);
    ASSERT_EQ(MP_calcPixelSoapBubbles(w, h, src.data(), dst.data(), 6, 6, &p), 0);
    EXPECT_EQ(dst, src);
    EXPECT_EQ(MP_UI_GetRandomSeed(), static_cast<int>(0x86315279u));
}

} // namespace

namespace {

int g_weatherMessages = 0;
void countWeatherMessage(int, float) { ++g_weatherMessages; }

// Rain after each batch of drops, snow after each of its ten layers, air
// bubbles every 256 and soap bubbles every 128 bubbles; their layer passes
// post only for rain (every 8th chunk).
TEST_F(WeatherTest, ProgressOfTheParticles)
{
    fillFlakeSheet();
    uniformSprites(30000);
    const int w = 40, h = 30;
    auto src = pattern(w, h, 1);
    std::vector<uint16_t> dst(src.size());
    C_SetAddMessageHook(countWeatherMessage);
    _category = 3;
    struct Case {
        const char* name;
        int (*driver)(int, int, ushort*, ushort*, int, int, MP_Params*);
        MP_Params params;
        int messages;
    };
    const Case cases[] = {
        {"rain", MP_calcPixelRain, rainParams(0.495f, 0.4f, 0.39f, 0.5f), 1},
        {"snow", MP_calcPixelSnow, snowParams(0.01f, 0.495f, 0.05f, 0.01f), 10},
        {"air", MP_calcPixelAirBubbles, bubbleParams(0.495f, 0.495f, 0.3f, 0.1f), 2},
        {"soap", MP_calcPixelSoapBubbles, bubbleParams(0.495f, 0.8f, 0.5f, 0.85f), 4},
        {"aurora", MP_calcPixelPolarLight, auroraParams(0.5f, 0.1f, 0.15f, 0.9f, 0.35f), 0},
    };
    for (const Case& c : cases) {
        g_weatherMessages = 0;
        MP_Params p = c.params;
        ASSERT_EQ(c.driver(w, h, src.data(), dst.data(), 6, 6, &p), 0) << c.name;
        EXPECT_EQ(g_weatherMessages, c.messages) << c.name;
    }
    _category = -1;
}

} // namespace
