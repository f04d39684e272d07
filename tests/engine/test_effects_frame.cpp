// What every effect driver shares: in-place runs, thread independence,
// failures that leave dst untouched, progress cadence.

#include "effectsfixture.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Driver = int (*)(int, int, ushort*, ushort*, int, int, MP_Params*);

struct DriverCase {
    const char* name;
    Driver driver;
    int comboSlot;                      // -1: no blend
    std::function<void(MP_Params&)> setup;
    std::function<void()> textures;     // fills the slots the driver needs
    int progressPeriod;                 // 0: posts none; -1: posts from its own routine
    bool usesScratch;
};

void centre(MP_Params& p, int slot, float x = 0.5f, float y = 0.5f)
{
    p.p[slot][0] = x;
    p.p[slot][1] = y;
}

void fillDustSheet(int id)
{
    EffectTest::fillTexture(id, 512, 512, [](int x, int y, int c) {
        if (c != 1)
            return static_cast<uint16_t>(0);
        const int dx = (x & 127) - 64, dy = (y & 127) - 64;
        return static_cast<uint16_t>(dx * dx + dy * dy < 900 ? (dx * dx + dy * dy) * 60 : 65535);
    });
}

std::vector<DriverCase> cases()
{
    auto none = [] {};
    return {
        {"Horizon", MP_calcPixelHorizon, 3, [](MP_Params& p) { p.p[0][0] = 0.6f; centre(p, 2, 0.4f, 0.6f); }, none, 8, true},
        {"Rotate", MP_calcPixelRotate, 4,
         [](MP_Params& p) { p.p[0][0] = 0.6f; p.p[1][0] = 0.45f; p.p[2][0] = 0.2f; centre(p, 3); }, none, 8, true},
        {"Twirl", MP_calcPixelTwirl, 4,
         [](MP_Params& p) { p.p[0][0] = 0.5f; p.p[1][0] = 0.1f; centre(p, 3); }, none, 8, true},
        {"AddFrame", MP_calcPixelAddFrame, 2, [](MP_Params& p) { p.p[0][0] = 0.5f; centre(p, 1, 0.3f, 0.6f); }, none, 8, true},
        {"Magnet", MP_calcPixelMagnet, 4,
         [](MP_Params& p) { p.p[0][0] = 0.1f; p.p[1][0] = 0.5f; centre(p, 3); }, none, 8, true},
        {"Airbag", MP_calcPixelAirbag, 3, [](MP_Params& p) { p.p[0][0] = 0.7f; centre(p, 2, 0.4f, 0.5f); }, none, 8, true},
        {"LensCorrection", MP_calcPixelLensCorrection, 2, [](MP_Params& p) { p.p[0][0] = 0.6f; centre(p, 1); }, none, 8, true},
        {"ChromaticMove", MP_calcPixelChromaticMove, 5,
         [](MP_Params& p) { p.p[0][0] = 0.8f; p.p[1][0] = 1.0f; p.p[3][0] = 0.4f; centre(p, 4); }, none, 8, true},
        {"Perspective", MP_calcPixelPerspective, 4,
         [](MP_Params& p) { p.p[0][0] = 0.8f; p.p[1][0] = 0.3f; p.p[2][0] = 0.1f; centre(p, 3); }, none, 8, true},
        {"WaveDistort", MP_calcPixelWaveDistort, 6,
         [](MP_Params& p) {
             for (int i = 0; i < 4; ++i)
                 p.p[i][0] = 0.3f;
             EffectTest::flatSpline(p, 5, 0.7f);
             p.anim_count = 3.0f;
         },
         none, 4, true},
        {"GlasStruct", MP_calcPixelGlasStruct, 3,
         [](MP_Params& p) { p.p[0][0] = 0.2f; p.p[1][0] = 0.8f; centre(p, 2, 0.9f, 0.1f); },
         [] { EffectTest::fillPatternTexture(2); }, 4, true},
        {"Warp", MP_calcPixelWarp, 4,
         [](MP_Params& p) { p.p[0][0] = 0.05f; p.p[1][0] = 0.8f; centre(p, 2); EffectTest::flatSpline(p, 3, 0.8f); },
         none, 1, true},
        {"XFlip", MP_calcPixelXFlip, -1, [](MP_Params&) {}, none, 8, true},
        {"YFlip", MP_calcPixelYFlip, -1, [](MP_Params&) {}, none, 8, true},
        {"Cloth", MP_calcPixelStructureCloth, 4,
         [](MP_Params& p) { p.p[1][0] = 0.5f; p.p[2][0] = 0.6f; p.p[3][0] = 0.5f; },
         [] { EffectTest::fillPatternTexture(4); }, 4, true},
        {"Crack", MP_calcPixelStructureCrack, 4,
         [](MP_Params& p) { p.p[0][0] = 1.0f; p.p[1][0] = 0.5f; p.p[2][0] = 0.6f; p.p[3][0] = 0.5f; },
         [] { EffectTest::fillPatternTexture(17); }, 4, true},
        {"Paper", MP_calcPixelStructurePaper, 4,
         [](MP_Params& p) {
             p.p[1][0] = 0.5f;
             p.p[2][0] = 0.6f;
             p.p[3][2] = 0.9f;
             p.p[3][3] = 0.5f;
             p.p[3][4] = 0.2f;
         },
         [] { EffectTest::fillPatternTexture(18); }, 4, true},
        {"Metal", MP_calcPixelStructureMetal, 5,
         [](MP_Params& p) { p.p[1][0] = 0.5f; p.p[2][0] = 0.6f; p.p[3][0] = 0.5f; centre(p, 4, 0.2f, 0.3f); },
         [] { EffectTest::fillPatternTexture(25); }, 4, true},
        {"Puzzle", MP_calcPixelStructurePuzzle, 4,
         [](MP_Params& p) { p.p[1][0] = 0.3f; p.p[2][0] = 0.6f; centre(p, 3, 0.2f, 0.3f); },
         [] { EffectTest::fillPatternTexture(33); }, 4, true},
        {"Stone", MP_calcPixelStructureStone, 6,
         [](MP_Params& p) { p.p[1][0] = 0.5f; p.p[2][0] = 0.6f; p.p[3][0] = 0.5f; p.p[4][0] = 0.3f; centre(p, 5, 0.6f, 0.4f); },
         [] { EffectTest::fillPatternTexture(200); }, 4, true},
        {"Vignette", MP_calcPixelStructureVignette, 4,
         [](MP_Params& p) { p.p[1][0] = 0.9f; p.p[2][0] = 0.4f; centre(p, 3, 0.4f, 0.6f); },
         [] { EffectTest::fillPatternTexture(240); }, 4, true},
        {"Projection", MP_calcPixelStructureProjection, 4,
         [](MP_Params& p) { p.p[1][0] = 0.5f; p.p[2][0] = 0.3f; p.p[3][0] = 0.8f; },
         [] { EffectTest::fillPatternTexture(340); }, 4, true},
        {"Filmframe", MP_calcPixelStructureFilmframe, 2, [](MP_Params& p) { p.p[1][0] = 0.7f; },
         [] { EffectTest::fillPatternTexture(300); }, 4, true},
        {"Light", MP_calcPixelStructureLight, 6,
         [](MP_Params& p) {
             p.p[1][0] = 0.6f;
             p.p[2][0] = 0.7f;
             p.p[3][0] = 0.6f;
             centre(p, 4, 0.4f, 0.6f);
             EffectTest::flatSpline(p, 5, 0.8f);
         },
         [] { EffectTest::fillPatternTexture(110); }, 4, true},
        {"Double", MP_calcPixelStructureDouble, 6,
         [](MP_Params& p) {
             p.p[0][0] = 0.1f;
             p.p[1][0] = 0.8f;
             p.p[2][0] = 0.7f;
             p.p[3][0] = 0.6f;
             centre(p, 4, 0.4f, 0.6f);
             EffectTest::flatSpline(p, 5, 0.7f);
         },
         [] { EffectTest::fillPatternTexture(281); }, 4, true},
        {"Tone", MP_calcPixelStructureTone, 8,
         [](MP_Params& p) {
             p.p[1][0] = 0.7f;
             p.p[2][0] = 0.3f;
             p.p[3][0] = 0.6f;
             p.p[4][0] = 0.6f;
             p.p[5][0] = 0.3f;
             p.p[6][0] = 0.3f;
             EffectTest::flatSpline(p, 7, 0.9f);
         },
         [] { EffectTest::fillPatternTexture(140); }, 4, true},
        {"Dust", MP_calcPixelStructureDust, 6,
         [](MP_Params& p) { p.p[1][0] = 1.0f; p.p[2][0] = 0.5f; p.p[3][0] = 0.9f; p.p[4][0] = 0.003f; centre(p, 5, 0.1f, 0.2f); },
         [] { fillDustSheet(61); }, 0, true},
        {"Oilpaint", MP_calcPixelOilpaint, 1,
         [](MP_Params& p) {
             p.p[0][0] = 0.012f; // R 6, step 1
             for (int ky = -6; ky <= 6; ++ky)
                 p.lx[500 + ky] = static_cast<short>(6 - std::abs(ky) / 2);
         },
         none, 1, true},
        {"WaxPaint", MP_calcPixelWaxPaint, 3,
         [](MP_Params& p) { p.p[0][0] = 0.1f; p.p[1][0] = 0.5f; centre(p, 2, 0.3f, 0.6f); }, none, 1, true},
        {"Plastics", MP_calcPixelPlastics, 3,
         [](MP_Params& p) { p.p[0][0] = 0.1f; p.p[1][0] = 0.6f; centre(p, 2, 0.75f, 0.25f); }, none, 1, true},
        {"SoftRelief", MP_calcPixelSoftRelief, 6,
         [](MP_Params& p) {
             p.p[0][0] = 0.1f;
             p.p[1][0] = 0.75f;
             p.p[2][0] = 0.35f;
             p.p[3][0] = 0.5f;
             centre(p, 4, 0.4f, 0.4f);
             p.p[5][2] = 0.47f;
             p.p[5][3] = 0.33f;
             p.p[5][4] = 0.16f;
         },
         none, 1, true},
        {"AddReflector", MP_calcPixelAddReflector, 2,
         [](MP_Params& p) {
             centre(p, 0, 0.25f, 0.25f);
             p.p[1][2] = p.p[1][3] = 0.9f;
             p.p[1][4] = 0.6f;
         },
         none, 1, true},
        {"ComicPaint", MP_calcPixelComicPaint, 5,
         [](MP_Params& p) {
             p.p[0][0] = 0.1f;
             p.p[1][0] = 0.2f;
             p.p[2][0] = 0.15f;
             p.p[3][0] = 0.48f;
             p.p[4][2] = p.p[4][3] = p.p[4][4] = 0.01f;
         },
         none, 1, true},
        {"PencilPaint", MP_calcPixelPencilPaint, 3,
         [](MP_Params& p) { p.p[0][0] = 0.75f; p.p[1][0] = 0.5f; EffectTest::flatSpline(p, 2, 0.8f); }, none, 1, true},
        {"TiltFog", MP_calcPixelTiltFog, 5,
         [](MP_Params& p) {
             p.p[0][0] = 0.5f;
             p.p[1][0] = 0.8f;
             p.p[2][0] = 0.9f;
             p.p[3][0] = 0.1f;
             p.p[3][1] = 0.4f;
             p.p[3][2] = 0.9f;
             p.p[3][3] = 0.6f;
             p.p[4][2] = p.p[4][3] = p.p[4][4] = 0.9f;
         },
         none, 8, false},
        {"Regenbogen", MP_calcPixelRegenbogen, 6,
         [](MP_Params& p) {
             p.p[0][0] = 0.5f;
             p.p[1][0] = 0.5f;
             p.p[2][0] = 0.4f;
             p.p[3][0] = 0.1f;
             p.p[4][0] = 0.9f;
             centre(p, 5);
         },
         none, 8, false},
        {"Mandelbrot", MP_calcPixelMandelbrot, 5,
         [](MP_Params& p) {
             p.p[0][0] = 0.0241f;
             p.p[2][0] = 0.25f;
             centre(p, 3);
             p.p[4][2] = 0.5f;
             p.p[4][3] = p.p[4][4] = 0.7f;
         },
         none, 1, false},
        {"LensFlare", MP_calcPixelLensFlare, 3,
         [](MP_Params& p) { p.p[0][0] = 0.25f; p.p[1][0] = 0.5f; centre(p, 2, 0.75f, 0.35f); }, none, 8, true},
        {"Cubify", MP_calcPixelCubify, 4,
         [](MP_Params& p) { p.p[0][0] = 0.43f; p.p[2][0] = 0.125f; EffectTest::flatSpline(p, 3, 0.7f); },
         [] { EffectTest::fillCubeSheet(); }, 8, true},
        {"Bubble", MP_calcPixelBubble, 3,
         [](MP_Params& p) { p.p[0][0] = 0.25f; p.p[1][0] = 0.5f; centre(p, 2, 0.65f, 0.35f); }, none, -1, true},
        {"Painting", MP_calcPixelPainting, 2, [](MP_Params& p) { p.p[0][0] = 0.05f; p.p[1][0] = 0.3f; }, none, -1, true},
        {"Oelbild", MP_calcPixelOelbild, 4,
         [](MP_Params& p) { p.p[0][0] = 0.1f; p.p[1][0] = 0.05f; p.p[2][0] = 0.3f; centre(p, 3, 0.2f, 0.2f); }, none, -1,
         true},
        {"Stars", MP_calcPixelStars, 5,
         [](MP_Params& p) {
             p.p[0][0] = 0.3f;
             p.p[1][0] = 0.35f;
             p.p[2][0] = 0.1f;
             centre(p, 3, 0.5f, 0.8f);
             p.p[4][2] = 0.2f;
             p.p[4][3] = 0.3f;
             p.p[4][4] = 0.5f;
         },
         none, 8, true},
        {"Moon", MP_calcPixelMoon, 6,
         [](MP_Params& p) {
             p.p[0][0] = 0.5f;
             p.p[1][0] = 0.4f;
             p.p[2][0] = 0.8f;
             p.p[3][0] = 0.25f;
             p.p[4][0] = 0.3f;
             centre(p, 5, 0.5f, 0.3f);
         },
         [] { EffectTest::fillPatternTexture(1, 40, 40); }, 8, true},
        {"Rain", MP_calcPixelRain, 4,
         [](MP_Params& p) { p.p[0][0] = 0.495f; p.p[1][0] = 0.4f; p.p[2][0] = 0.39f; p.p[3][0] = 0.5f; }, none, -1, true},
        {"Snow", MP_calcPixelSnow, 3,
         [](MP_Params& p) { p.p[0][0] = 0.01f; p.p[1][0] = 0.495f; p.p[2][0] = 0.75f; },
         [] { EffectTest::fillFlakeSheet(); }, -1, true},
        {"PolarLight", MP_calcPixelPolarLight, 6,
         [](MP_Params& p) {
             p.p[0][0] = 0.5f;
             p.p[1][0] = 0.25f;
             p.p[2][0] = 0.7f;
             p.p[3][0] = 0.3f;
             p.p[4][0] = 0.1f;
             p.p[4][1] = 0.15f;
             p.p[4][2] = 0.9f;
             p.p[4][3] = 0.35f;
             p.p[5][2] = 0.55f;
             p.p[5][3] = 0.98f;
             p.p[5][4] = 0.69f;
         },
         none, 0, true},
        {"AirBubbles", MP_calcPixelAirBubbles, 5,
         [](MP_Params& p) { p.p[0][0] = 0.1f; p.p[1][0] = 0.495f; p.p[2][0] = 0.3f; p.p[3][0] = 0.1f; centre(p, 4); },
         [] { EffectTest::fillBubbleSprites(); }, -1, true},
        {"SoapBubbles", MP_calcPixelSoapBubbles, 5,
         [](MP_Params& p) { p.p[0][0] = 0.1f; p.p[1][0] = 0.8f; p.p[2][0] = 0.5f; p.p[3][0] = 0.85f; centre(p, 4); },
         [] { EffectTest::fillBubbleSprites(); }, -1, true},
        {"Border", MP_calcPixelBorder, 3,
         [](MP_Params& p) {
             p.p[0][0] = 0.8f;
             p.p[1][0] = 0.2f;
             p.p[2][2] = 0.9f;
             p.p[2][3] = 0.2f;
             p.p[2][4] = 0.4f;
         },
         none, 8, false},
    };
}

class EffectDrivers : public EffectTest, public ::testing::WithParamInterface<DriverCase> {
protected:
    // Runs the case on src into dst with a fresh block; opacity in percent.
    int runCase(const DriverCase& c, int w, int h, std::vector<uint16_t>& src, std::vector<uint16_t>& dst,
                float opacity = 100.0f, bool inPlace = false)
    {
        MP_Params p = freshParams();
        if (c.comboSlot >= 0)
            p.p[c.comboSlot][1] = opacity;
        c.setup(p);
        return c.driver(w, h, src.data(), inPlace ? src.data() : dst.data(), 6, 6, &p);
    }
};

std::string caseName(const ::testing::TestParamInfo<DriverCase>& info) { return info.param.name; }

TEST_P(EffectDrivers, InPlaceEqualsSeparateBuffersForBothWorkers)
{
    const DriverCase& c = GetParam();
    c.textures();
    const int w = 37, h = 29;
    for (float opacity : {100.0f, 60.0f}) {
        if (c.comboSlot < 0 && opacity < 100.0f)
            continue;
        auto src = pattern(w, h);
        std::vector<uint16_t> dst(src.size(), 7);
        ASSERT_EQ(runCase(c, w, h, src, dst, opacity), 0);
        EXPECT_EQ(src, pattern(w, h)) << "the source was written";
        c.textures(); // Double's first texture would keep a scaled copy; refilled alike
        auto inPlace = pattern(w, h);
        ASSERT_EQ(runCase(c, w, h, inPlace, inPlace, opacity, true), 0);
        EXPECT_EQ(inPlace, dst) << "opacity " << opacity;
        EXPECT_NE(dst, std::vector<uint16_t>(src.size(), 7));
    }
}

TEST_P(EffectDrivers, OneAndEightThreadsGiveTheSameBits)
{
    const DriverCase& c = GetParam();
    c.textures();
    const int w = 23, h = 700; // several chunks of bands on 8 threads
    auto src = pattern(w, h, 3);
    std::vector<uint16_t> one(src.size()), eight(src.size());
    MP_UI_SetIdealThreadCount(1);
    ASSERT_EQ(runCase(c, w, h, src, one, 70.0f), 0);
    MP_UI_SetIdealThreadCount(8);
    ASSERT_EQ(runCase(c, w, h, src, eight, 70.0f), 0);
    EXPECT_EQ(one, eight);
    ASSERT_EQ(runCase(c, w, h, src, one), 0);
    MP_UI_SetIdealThreadCount(1);
    ASSERT_EQ(runCase(c, w, h, src, eight), 0);
    EXPECT_EQ(one, eight);
}

TEST_P(EffectDrivers, NoScratchBufferLeavesDstUntouched)
{
    const DriverCase& c = GetParam();
    if (!c.usesScratch)
        GTEST_SKIP() << "writes dst directly";
    c.textures();
    const int w = 16, h = 12;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size(), 4321);
    // A request that cannot be met poisons the scratch buffer for every
    // smaller one until it is cleared.
    ASSERT_EQ(MP_UpdateBuffer(size_t(1) << 62), nullptr);
    EXPECT_EQ(runCase(c, w, h, src, dst), -1);
    EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 4321));
    auto inPlace = src;
    EXPECT_EQ(runCase(c, w, h, inPlace, inPlace, 100.0f, true), -1);
    EXPECT_EQ(inPlace, src);
    MP_ClearBuffer();
}

TEST_P(EffectDrivers, PixelSizesOtherThanSixBytesAreRefused)
{
    const DriverCase& c = GetParam();
    c.textures();
    const int w = 8, h = 8;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size(), 99);
    MP_Params p = freshParams();
    c.setup(p);
    EXPECT_EQ(c.driver(w, h, src.data(), dst.data(), 6, 4, &p), -2);
    EXPECT_EQ(c.driver(w, h, src.data(), dst.data(), 8, 6, &p), -2);
    EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 99));
}

// The mask lives in the geometry slot after the blend slot: where it is off
// the pixel keeps its source colour (after the float trip), where it is on
// the effect shows.
TEST_P(EffectDrivers, GeometryMaskInTheSlotAfterTheBlend)
{
    const DriverCase& c = GetParam();
    if (c.comboSlot < 0)
        GTEST_SKIP() << "no mask";
    if (std::string(c.name) == "Light")
        GTEST_SKIP() << "stretches its result afterwards";
    c.textures();
    const int w = 21, h = 17;
    auto src = pattern(w, h, 9);
    std::vector<uint16_t> tripped(src.size());
    for (size_t i = 0; i < src.size(); ++i)
        tripped[i] = static_cast<uint16_t>(src[i] * MP_k * 65535.0f);
    std::vector<uint16_t> masked(src.size());
    for (float intensity : {0.0f, 1.0f}) {
        c.textures();
        MP_Params p = freshParams();
        p.p[c.comboSlot][1] = 100.0f;
        c.setup(p);
        wholeMask(p, c.comboSlot + 1);
        p.p[c.comboSlot + 1][5] = intensity;
        ASSERT_EQ(c.driver(w, h, src.data(), masked.data(), 6, 6, &p), 0);
        if (intensity == 0.0f)
            EXPECT_EQ(masked, tripped);
        else
            EXPECT_NE(masked, tripped);
    }
}

int g_messages = 0;
void countMessage(int, float) { ++g_messages; }

TEST_P(EffectDrivers, ProgressFollowsTheCadence)
{
    const DriverCase& c = GetParam();
    if (c.progressPeriod < 0)
        GTEST_SKIP() << "posts from its own routine, not after chunks";
    c.textures();
    MP_UI_SetIdealThreadCount(1);
    const int w = 3, h = 64 * 16; // 16 chunks of one band
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    C_SetAddMessageHook(countMessage);
    _category = 2;
    g_messages = 0;
    ASSERT_EQ(runCase(c, w, h, src, dst), 0);
    EXPECT_EQ(g_messages, c.progressPeriod ? 16 / c.progressPeriod : 0);
    _category = -1;
    g_messages = 0;
    ASSERT_EQ(runCase(c, w, h, src, dst), 0);
    EXPECT_EQ(g_messages, 0);
}

TEST_P(EffectDrivers, CancelRequestKeepsDstUnchanged)
{
    const DriverCase& c = GetParam();
    if (!c.usesScratch)
        GTEST_SKIP() << "writes dst directly";
    c.textures();
    const int w = 16, h = 12;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size(), 555);
    MP_UI_SetIsCalculatingCancelRequest(1);
    const int r = runCase(c, w, h, src, dst);
    MP_UI_SetIsCalculatingCancelRequest(0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 555));
}

TEST_P(EffectDrivers, EmptyImagesHaveNothingToDo)
{
    const DriverCase& c = GetParam();
    c.textures();
    std::vector<uint16_t> one(3, 5), out(3, 9);
    for (auto [w, h] : {std::pair{0, 0}, std::pair{5, 0}, std::pair{0, 7}})
        EXPECT_EQ(runCase(c, w, h, one, out), 0) << w << " x " << h;
    EXPECT_EQ(out, std::vector<uint16_t>(3, 9));
}

// Damaged presets: every slot value NaN, infinite or far outside its range.
// Drivers run (or find no texture) and read nothing outside their tables.
TEST_P(EffectDrivers, SlotsOutsideTheirRangesAreSurvived)
{
    const DriverCase& c = GetParam();
    c.textures();
    const int w = 23, h = 17;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size());
    for (float v : {NAN, INFINITY, -INFINITY, 1e30f, -1e30f, 7.5f, -3.0f}) {
        MP_Params p = freshParams();
        c.setup(p);
        for (int s = 0; s < MP_MAX_PARAMETER; ++s) {
            if (s == c.comboSlot + 1 && c.comboSlot >= 0)
                continue; // the mask sets are the geometry's own business
            for (int j = 0; j < 12; ++j)
                p.p[s][j] = v;
        }
        const int r = c.driver(w, h, src.data(), dst.data(), 6, 6, &p);
        EXPECT_TRUE(r == 0 || r == -1) << v << " gave " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(All, EffectDrivers, ::testing::ValuesIn(cases()), caseName);

// ---- Texture slots -----------------------------------------------------------------------

struct TextureCase {
    const char* name;
    Driver driver;
    int base, n;
    int comboSlot;
};

class EffectTextures : public EffectTest, public ::testing::WithParamInterface<TextureCase> {};

TEST_P(EffectTextures, EmptySlotFailsBeforeAnyWrite)
{
    const TextureCase& c = GetParam();
    const int w = 12, h = 9;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size(), 1234);
    params.p[c.comboSlot][1] = 100.0f;
    params.p[0][0] = 0.5f;
    const MP_Params before = params;
    EXPECT_EQ(c.driver(w, h, src.data(), dst.data(), 6, 6, &params), -1);
    EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 1234));
    EXPECT_EQ(std::memcmp(&before, &params, sizeof params), 0) << "the block was changed";
}

// "Typ" picks base + (int)(n t + 0.05), held to base..base + n (NaN: base).
TEST_P(EffectTextures, TypPicksTheSlotHeldToItsRange)
{
    const TextureCase& c = GetParam();
    if (c.n == 0)
        GTEST_SKIP();
    struct Pick {
        float typ;
        int index;
    };
    const float step = 1.0f / static_cast<float>(c.n);
    for (const Pick& pick : {Pick{0.0f, 0}, Pick{1.0f, c.n}, Pick{step - 0.04f * step, 1}, Pick{5.0f, c.n},
                             Pick{-3.0f, 0}, Pick{NAN, 0}, Pick{1e30f, c.n}}) {
        MP_ResetTexturesAndBuffer();
        fillPatternTexture(c.base + pick.index, 32, 32);
        if (c.base == 61)
            fillTexture(c.base + pick.index, 512, 512, [](int, int, int) { return uint16_t(65535); });
        const int w = 12, h = 9;
        auto src = pattern(w, h);
        std::vector<uint16_t> dst(src.size());
        MP_Params p = freshParams();
        p.p[c.comboSlot][1] = 100.0f;
        p.p[0][0] = pick.typ;
        EXPECT_EQ(c.driver(w, h, src.data(), dst.data(), 6, 6, &p), 0) << "Typ " << pick.typ;
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, EffectTextures,
    ::testing::Values(TextureCase{"Cloth", MP_calcPixelStructureCloth, 4, 6, 4},
                      TextureCase{"Crack", MP_calcPixelStructureCrack, 11, 6, 4},
                      TextureCase{"Paper", MP_calcPixelStructurePaper, 18, 6, 4},
                      TextureCase{"Metal", MP_calcPixelStructureMetal, 25, 6, 5},
                      TextureCase{"Puzzle", MP_calcPixelStructurePuzzle, 33, 6, 4},
                      TextureCase{"Stone", MP_calcPixelStructureStone, 200, 27, 6},
                      TextureCase{"Vignette", MP_calcPixelStructureVignette, 240, 20, 4},
                      TextureCase{"Projection", MP_calcPixelStructureProjection, 340, 5, 4},
                      TextureCase{"Filmframe", MP_calcPixelStructureFilmframe, 300, 23, 2},
                      TextureCase{"Light", MP_calcPixelStructureLight, 110, 23, 6},
                      TextureCase{"Double", MP_calcPixelStructureDouble, 280, 11, 6},
                      TextureCase{"Tone", MP_calcPixelStructureTone, 140, 31, 8},
                      TextureCase{"Dust", MP_calcPixelStructureDust, 61, 6, 6},
                      TextureCase{"GlasStruct", MP_calcPixelGlasStruct, 2, 0, 3}),
    [](const ::testing::TestParamInfo<TextureCase>& info) { return std::string(info.param.name); });

TEST_F(EffectTest, TurnedTextureCopiesFailWhenTheRotationCannotAllocate)
{
    const int w = 12, h = 9;
    auto src = pattern(w, h);
    fillPatternTexture(200);
    fillPatternTexture(140);
    for (Driver d : {Driver(MP_calcPixelStructureStone), Driver(MP_calcPixelStructureTone)}) {
        std::vector<uint16_t> dst(src.size(), 77);
        MP_rotationTestFailAllocation(true);
        EXPECT_EQ(d(w, h, src.data(), dst.data(), 6, 6, &params), -1);
        MP_rotationTestFailAllocation(false);
        EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 77));
    }
}

TEST_F(EffectTest, DustSheetSmallerThanFourTilesIsMissing)
{
    fillPatternTexture(61, 511, 512);
    const int w = 12, h = 9;
    auto src = pattern(w, h);
    std::vector<uint16_t> dst(src.size(), 77);
    params.p[6][1] = 100.0f;
    EXPECT_EQ(MP_calcPixelStructureDust(w, h, src.data(), dst.data(), 6, 6, &params), -1);
    EXPECT_EQ(dst, std::vector<uint16_t>(src.size(), 77));
}

TEST_F(EffectTest, EffectKernelsRunByName)
{
    const int w = 10, h = 8;
    for (const char* name : {"MP_calcPixelHorizon", "MP_calcPixelRotate", "MP_calcPixelTwirl", "MP_calcPixelAddFrame",
                             "MP_calcPixelMagnet", "MP_calcPixelAirbag", "MP_calcPixelLensCorrection",
                             "MP_calcPixelChromaticMove", "MP_calcPixelPerspective", "MP_calcPixelWaveDistort",
                             "MP_calcPixelWarp", "MP_calcPixelOilpaint", "MP_calcPixelXFlip", "MP_calcPixelYFlip", "MP_calcPixelBorder"}) {
        auto src = pattern(w, h);
        std::vector<uint16_t> dst(src.size(), 3);
        MP_Params p = freshParams();
        EXPECT_EQ(MP_UI_executeKernel(name, w, h, src.data(), dst.data(), 6, 6, &p, -1, 0.0f, 1.0f), 0) << name;
        EXPECT_NE(dst, std::vector<uint16_t>(src.size(), 3)) << name << " wrote nothing";
    }
    EXPECT_EQ(MP_firstMismatchedDriverEntry(), nullptr);
}

} // namespace
